// SystemC equations: one assignment of a sum of products per equation.
#include <string_view>

#include "forest/Bddexpression.h"
#include "forest/equation_text.h"

namespace {

const struct {
    std::string_view OR;     // between products
    std::string_view AND;    // between literals
    std::string_view NOT;    // before a negative literal
    std::string_view end;    // after the sum
    std::string_view indent; // before each equation of the forest writer
} words = {" || ", " && ", "! ", ";", "    "};

} // namespace

namespace {

// The assignment appended to text.
void append_systemc(text_room& text, const Bddexpression& e, int k, const std::string& assign,
                    const std::string& PRE, const std::string& SUF, const bdd_naming* naming)
{
    text += PRE;
    equation_text::append_name(text, e, naming);
    text += SUF;
    text += assign;
    e.wood->manager->Append_sop(text, words.OR, words.AND, words.NOT, "", e.bdd_exp, PRE, SUF, k,
                                naming);
    text += words.end;
}

} // namespace

void Bddexpression::put_systemc(std::ostream& os, int k, const std::string& assign, const std::string& PRE,
                                const std::string& SUF, const bdd_naming* naming)
{
    if (!put_ready()) return;
    // the assignment in one piece, in a buffer whose room is kept from one equation to the next
    static text_room text;
    text.clear();
    append_systemc(text, *this, k, assign, PRE, SUF, naming);
    text.write_to(os);
}

void Bddexpressionwood::Put_systemc(std::ostream& os, int k, const std::string& assign, const std::string& PRE,
                                    const std::string& SUF, const bdd_naming* naming)
{
    equation_text::put_in_date_order(*this, os, [&](text_room& text, const Bddexpression& e) {
        text += words.indent;
        if (e.put_ready()) append_systemc(text, e, k, assign, PRE, SUF, naming);
    });
}
