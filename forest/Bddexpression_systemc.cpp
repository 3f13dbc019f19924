// SystemC equations: one assignment of a sum of products per equation.
#include "forest/Bddexpression.h"

namespace {

const struct {
    const char* OR;     // between products
    const char* AND;    // between literals
    const char* NOT;    // before a negative literal
    const char* end;    // after the sum
    const char* indent; // before each equation of the forest writer
} words = {" || ", " && ", "! ", ";", "    "};

} // namespace

void Bddexpression::put_systemc(std::ostream& os, int k, const std::string& assign, const std::string& PRE,
                                const std::string& SUF, const bdd_naming* naming)
{
    if (!put_ready()) return;
    // the assignment in one piece, in a buffer whose room is kept from one equation to the next
    static std::string text;
    text = PRE;
    text += put_name(naming);
    text += SUF;
    text += assign;
    text += wood->manager->Print_sop_to_String_pref_suff(words.OR, words.AND, words.NOT, "", bdd_exp, PRE.c_str(),
                                                         SUF.c_str(), k, naming);
    text += words.end;
    os.write(text.data(), std::streamsize(text.size()));
}

void Bddexpressionwood::Put_systemc(std::ostream& os, int k, const std::string& assign, const std::string& PRE,
                                    const std::string& SUF, const bdd_naming* naming)
{
    Put_in_date_order(os, [&](Bddexpression& e) {
        os << words.indent;
        e.put_systemc(os, k, assign, PRE, SUF, naming);
    });
}
