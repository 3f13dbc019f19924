// LaTeX equations: one formula per equation in an itemize list.
#include <string_view>

#include "forest/Bddexpression.h"
#include "forest/equation_text.h"
#include "utils/Stringpp.h"

namespace {

const struct {
    std::string_view OR;      // between products
    std::string_view AND;     // between literals
    std::string_view NOTpre;  // opens a negative literal
    std::string_view NOTpost; // closes it
    std::string_view math;    // around the formula
    std::string_view equals;  // between the name and the sum
    std::string_view begin;   // first line of the list
    std::string_view item;    // before each equation
    std::string_view end;     // last line of the list
} words = {" + ", ".", "\\overline{", "}", "$", " = ", "\\begin{itemize}", "\\item ", "\\end{itemize}"};

// The formula appended to line.
void append_latex(text_room& line, const Bddexpression& e, int k)
{
    // the name and the sum are made apart first: their "_" are written "\\_"
    static text_room text;
    line += words.math;
    text.clear();
    equation_text::append_name(text, e, nullptr);
    append_latex_filtered(line, text);
    line += words.equals;
    text.clear();
    e.wood->manager->Append_sop(text, words.OR, words.AND, words.NOTpre, words.NOTpost, e.bdd_exp, "", "", k);
    append_latex_filtered(line, text);
    line += words.math;
}

} // namespace

void Bddexpression::put_latex(std::ostream& os, int k)
{
    if (!put_ready()) return;
    // the formula in one piece, in a buffer whose room is kept from one equation to the next
    static text_room line;
    line.clear();
    append_latex(line, *this, k);
    line.write_to(os);
}

void Bddexpressionwood::Put_latex(std::ostream& os, int k)
{
    os << words.begin << std::endl;
    equation_text::put_in_date_order(*this, os, [&](text_room& text, const Bddexpression& e) {
        text += words.item;
        if (e.put_ready()) append_latex(text, e, k);
    });
    os << words.end << std::endl;
}
