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

namespace {

// Appends text with every "_" written "\\_", as latex_String_filter does.
void append_filtered(std::string& line, const std::string& text)
{
    std::string::size_type from = 0;
    for (std::string::size_type u = text.find('_'); u != std::string::npos; u = text.find('_', from)) {
        line.append(text, from, u - from);
        line += "\\_";
        from = u + 1;
    }
    line.append(text, from, std::string::npos);
}

} // namespace

void Bddexpression::put_latex(std::ostream& os, int k)
{
    if (!put_ready()) return;
    // the formula in one piece, in a buffer whose room is kept from one equation to the next
    static std::string line;
    line = words.math;
    append_filtered(line, put_name());
    line += words.equals;
    append_filtered(line, wood->manager->Print_sop_to_String(words.OR, words.AND, words.NOTpre, words.NOTpost, bdd_exp, k));
    line += words.math;
    os.write(line.data(), std::streamsize(line.size()));
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
