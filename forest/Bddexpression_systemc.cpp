// SystemC equations: one assignment of a sum of products per equation.
#include "forest/Bddexpression.h"
#include "forest/equation_text.h"

namespace {

const struct {
    const char* OR;     // between products
    const char* AND;    // between literals
    const char* NOT;    // before a negative literal
    const char* end;    // after the sum
    const char* indent; // before each equation of the forest writer
} words = {" || ", " && ", "! ", ";", "    "};

} // namespace

namespace {

// The assignment appended to text.
void append_systemc(std::string& text, const Bddexpression& e, int k, const std::string& assign,
                    const std::string& PRE, const std::string& SUF, const bdd_naming* naming)
{
    text += PRE;
    equation_text::append_name(text, e, naming);
    text += SUF;
    text += assign;
    e.wood->manager->Append_sop(text, words.OR, words.AND, words.NOT, "", e.bdd_exp, PRE.c_str(), SUF.c_str(), k,
                                naming);
    text += words.end;
}

} // namespace

void Bddexpression::put_systemc(std::ostream& os, int k, const std::string& assign, const std::string& PRE,
                                const std::string& SUF, const bdd_naming* naming)
{
    if (!put_ready()) return;
    // the assignment in one piece, in a buffer whose room is kept from one equation to the next
    static std::string text;
    text.clear();
    append_systemc(text, *this, k, assign, PRE, SUF, naming);
    os.write(text.data(), std::streamsize(text.size()));
}

void Bddexpressionwood::Put_systemc(std::ostream& os, int k, const std::string& assign, const std::string& PRE,
                                    const std::string& SUF, const bdd_naming* naming)
{
    equation_text::put_in_date_order(*this, os, [&](std::string& text, const Bddexpression& e) {
        text += words.indent;
        if (e.put_ready()) append_systemc(text, e, k, assign, PRE, SUF, naming);
    });
}
