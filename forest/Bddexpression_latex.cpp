// LaTeX equations: one formula per equation in an itemize list.
#include "forest/Bddexpression.h"
#include "utils/Stringpp.h"

namespace {

const struct {
    const char* OR;      // between products
    const char* AND;     // between literals
    const char* NOTpre;  // opens a negative literal
    const char* NOTpost; // closes it
    const char* math;    // around the formula
    const char* equals;  // between the name and the sum
    const char* begin;   // first line of the list
    const char* item;    // before each equation
    const char* end;     // last line of the list
} words = {" + ", ".", "\\overline{", "}", "$", " = ", "\\begin{itemize}", "\\item ", "\\end{itemize}"};

} // namespace

void Bddexpression::put_latex(std::ostream& os, int k)
{
    if (!put_ready()) return;
    std::string sum = wood->manager->Print_sop_to_String(words.OR, words.AND, words.NOTpre, words.NOTpost, bdd_exp, k);
    os << words.math << latex_String_filter(put_name()) << words.equals << latex_String_filter(sum) << words.math;
}

void Bddexpressionwood::Put_latex(std::ostream& os, int k)
{
    os << words.begin << std::endl;
    Put_in_date_order(os, [&](Bddexpression& e) {
        os << words.item;
        e.put_latex(os, k);
    });
    os << words.end << std::endl;
}
