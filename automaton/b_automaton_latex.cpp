// The LaTeX documentation writer.
#include "automaton/b_automaton.h"

#include <array>
#include <cstring>
#include <streambuf>
#include <string>

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

// TeX reads at most 200000 bytes a line and holds a whole paragraph in its main memory, and the
// sum of products of a wide cover outgrows both. Inside an equation, past FOLD_COLUMN the next
// blank becomes a line end, which TeX reads as a blank again; past PARAGRAPH_SIZE characters of
// one formula, the next blank ends the formula and its paragraph and opens the next ones
// ("$", an empty line, "$"), so the equation goes on in a new paragraph of the same item.
const std::size_t FOLD_COLUMN = 1000;
const std::size_t PARAGRAPH_SIZE = 20000;

class folding_buffer : public std::streambuf {
public:
    explicit folding_buffer(std::ostream& out) : out_(out), column_(0), in_math_(false), formula_(0)
    {
        setp(pending_, pending_ + sizeof pending_ - 1);
    }
    ~folding_buffer() override { fold_pending(); }

protected:
    // The text comes into a buffer of its own and is folded a buffer at a time.
    int overflow(int c) override
    {
        fold_pending();
        if (c == traits_type::eof()) return traits_type::not_eof(c);
        *pptr() = static_cast<char>(c);
        pbump(1);
        return c;
    }
    int sync() override
    {
        fold_pending();
        out_.flush();
        return 0;
    }

private:
    // Writes at out what the character ch becomes; returns the end of what it wrote.
    char* take(char ch, char* out)
    {
        if (ch == '$') {
            in_math_ = !in_math_;
            formula_ = 0;
        }
        if (ch == ' ' && in_math_ && formula_ >= PARAGRAPH_SIZE) {
            *out++ = '$';
            *out++ = '\n';
            *out++ = '\n';
            *out++ = '$';
            column_ = 1;
            formula_ = 0;
            return out;
        }
        if (ch == ' ' && column_ >= FOLD_COLUMN) ch = '\n';
        column_ = ch == '\n' ? 0 : column_ + 1;
        if (in_math_) ++formula_;
        *out++ = ch;
        return out;
    }

    // Folds the buffered text into the document's stream and empties the buffer.
    void fold_pending()
    {
        const std::size_t n = static_cast<std::size_t>(pptr() - pbase());
        if (n == 0) return;
        // a character becomes at most four ("$\n\n$" for a blank)
        folded_.resize(4 * n);
        char* out = &folded_[0];
        // Most characters only move the column on: the runs between the others are copied at
        // once, each found up to a line end put past the text (the buffer keeps a character for
        // it), and counted after it.
        static const std::array<bool, 256> stops = [] {
            std::array<bool, 256> s{};
            for (unsigned char ch : {'$', ' ', '\n'}) s[ch] = true;
            return s;
        }();
        char* const end = pptr();
        *end = '\n';
        for (const char* c = pbase();;) {
            const char* const run = c;
            while (!stops[static_cast<unsigned char>(*c)]) ++c;
            const std::size_t length = static_cast<std::size_t>(c - run);
            std::memcpy(out, run, length);
            out += length;
            column_ += length;
            if (in_math_) formula_ += length;
            if (c == end) break;
            out = take(*c++, out);
        }
        out_.write(folded_.data(), static_cast<std::streamsize>(out - folded_.data()));
        setp(pending_, pending_ + sizeof pending_ - 1);
    }

    char pending_[(1 << 14) + 1]; // text not folded yet, and room for the end mark
    std::string folded_;    // what it becomes
    std::ostream& out_;  // the document's stream
    std::size_t column_; // characters since the last line end
    bool in_math_;       // between the two "$" of an equation
    std::size_t formula_; // characters of the formula's current paragraph
};

// The section of the inputs or of the outputs: one item per name; nothing without names.
void put_interface_section(std::ostream& os, const char* section, const std::string* names, int count,
                           const char* end)
{
    if (count <= 0) return;
    os << section << std::endl << LATEX.list << std::endl;
    for (int i = 0; i < count; ++i) os << LATEX.item << latex_String_filter(names[i]) << end << std::endl;
    os << LATEX.list_end << std::endl << std::endl;
}

} // namespace

// Every name goes through latex_String_filter: an "_" in math mode would be a subscript, and two
// of them do not compile. The module name (the base name of the files) stands in text mode, where
// an "_" does not compile at all.
void b_automaton::LATEX_put(std::ostream& os, int level, const std::string& name)
{
    for (const char* line : LATEX_PREAMBLE) os << line << std::endl;
    os << LATEX.module << latex_String_filter(name) << LATEX.end_module << std::endl;
    os << LATEX.center_end << std::endl;
    put_interface_section(os, LATEX.inputs, input_names, input_count, LATEX.end_input);
    os << std::endl;
    put_interface_section(os, LATEX.outputs, output_names, output_count, LATEX.end_output);
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
        folding_buffer folding(os);
        std::ostream folded(&folding);
        wood->Put_latex(folded, level);
        folded.flush();
        os << std::endl;
    }
    os << LATEX.end << std::endl << std::endl;
}
