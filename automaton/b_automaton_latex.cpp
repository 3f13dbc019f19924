// The LaTeX documentation writer.
#include "b_automaton.h"

#include "utils/Stringpp.h"

namespace {

// Preamble of the document, one line each.
const char* const LATEX_PREAMBLE[] = {
    "\\documentclass[11pt,a4paper]{article}", "\\usepackage[francais]{babel}", "\\usepackage{epsfig}",
    "\\usepackage{float}", "\\usepackage{amsmath}", "\\usepackage{amssymb}", "\\usepackage{times}",
    "\\setlength{\\textheight}{23.5cm}", "\\setlength{\\hoffset}{-2cm}", "\\setlength{\\oddsidemargin}{1cm}",
    "\\setlength{\\voffset}{-1cm}", "\\setlength{\\textwidth}{17cm}", "", "\\pagestyle{empty}", "",
    "\\begin{document}", "{\\bf \\noindent Universit\\'e de Valbreuse}\\", "\\vspace{1cm}", "\\begin{center}"};

// Texts of the body.
const struct {
    const char* module;      // before the module name
    const char* end_module;  // after it
    const char* center_end;  // closes the title
    const char* inputs;      // input section
    const char* outputs;     // output section
    const char* registers;   // register section
    const char* equations;   // equation section
    const char* list;        // opens a list
    const char* list_end;    // closes it
    const char* item;        // before a name
    const char* end_input;   // after an input name
    const char* end_output;  // after an output name
    const char* init;        // between a register and its initial value
    const char* next;        // between the initial value and the next-state signal
    const char* end_math;    // closes a name
    const char* end;         // closes the document
} LATEX = {"{\\huge module: ", "}", "\\end{center}", "\\section{Entr\\'ee(s) bool\\'eenne(s):} ",
           "\\section{Sortie(s) bool\\'eenne(s):} ", "\\section{Registre(s):}", "\\section{\\'Equation(s):}",
           "\\begin{itemize}", "\\end{itemize}", "\\item $", "$: ", "$", "$ valeur initiale: $",
           "$, nouvelle valeur sur front: $", "$", "\\end{document}"};

} // namespace

// Every name goes through latex_String_filter: an "_" in math mode would be a subscript, and two
// of them do not compile.
void b_automaton::LATEX_put(std::ostream& os, int level, const std::string& name)
{
    for (const char* line : LATEX_PREAMBLE) os << line << std::endl;
    os << LATEX.module << name << LATEX.end_module << std::endl;
    os << LATEX.center_end << std::endl;
    if (input_count > 0) {
        os << LATEX.inputs << std::endl << LATEX.list << std::endl;
        for (int i = 0; i < input_count; ++i)
            os << LATEX.item << latex_String_filter(input_names[i]) << LATEX.end_input << std::endl;
        os << LATEX.list_end << std::endl << std::endl;
    }
    os << std::endl;
    if (output_count > 0) {
        os << LATEX.outputs << std::endl << LATEX.list << std::endl;
        for (int j = 0; j < output_count; ++j)
            os << LATEX.item << latex_String_filter(output_names[j]) << LATEX.end_output << std::endl;
        os << LATEX.list_end << std::endl << std::endl;
    }
    // an empty itemize does not compile: without registers the section stands alone
    os << LATEX.registers << std::endl;
    if (state_count > 0) {
        os << LATEX.list << std::endl;
        for (int i = 0; i < state_count; ++i)
            os << LATEX.item << latex_String_filter(state_names[i]) << LATEX.init << init_text(i) << LATEX.next
               << latex_String_filter(next_state_names[i]) << LATEX.end_math << std::endl;
        os << LATEX.list_end << std::endl;
    }
    os << std::endl;
    if (has_equations()) {
        os << LATEX.equations << std::endl;
        wood->Put_latex(os, level);
        os << std::endl;
    }
    os << LATEX.end << std::endl << std::endl;
}
