// LaTeX equations: one formula per equation in an itemize list.
#include "forest/Bddexpression.h"
#include "forest/equation_text.h"
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

// The formula appended to line.
void append_latex(std::string& line, const Bddexpression& e, int k)
{
    // the name and the sum are made apart first: their "_" are written "\\_"
    static std::string text;
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
    static std::string line;
    line.clear();
    append_latex(line, *this, k);
    os.write(line.data(), std::streamsize(line.size()));
}

void Bddexpressionwood::Put_latex(std::ostream& os, int k)
{
    os << words.begin << std::endl;
    equation_text::put_in_date_order(*this, os, [&](std::string& text, const Bddexpression& e) {
        text += words.item;
        if (e.put_ready()) append_latex(text, e, k);
    });
    os << words.end << std::endl;
}
