// The LaTeX documentation writer; every test circuit's document is compiled with pdflatex.
#include <gtest/gtest.h>

#include <algorithm>

#include "tests/support/b_automaton_writers_fixture.h"

namespace {

// Combinational, no local: x = c AND e, y = NOT c.
test_circuit circuit_gates()
{
    return {{}, {}, {"c", "e"}, {"x", "y"}, {}, {}, {{{"c", "e", "x"}, {"11 1"}}, {{"c", "y"}, {"1 0"}}}};
}

const char PREAMBLE[] = R"(\documentclass[11pt,a4paper]{article}
\usepackage[francais]{babel}
\usepackage{epsfig}
\usepackage{float}
\usepackage{amsmath}
\usepackage{amssymb}
\usepackage{times}
\setlength{\textheight}{23.5cm}
\setlength{\hoffset}{-2cm}
\setlength{\oddsidemargin}{1cm}
\setlength{\voffset}{-1cm}
\setlength{\textwidth}{17cm}

\pagestyle{empty}

\begin{document}
{\bf \noindent Universit\'e de Valbreuse}\
\vspace{1cm}
\begin{center}
)";

const writer_case LATEX_CASES[] = {
    {"registers, locals and equations", circuit_a, "ca", R"({\huge module: ca}
\end{center}
\section{Entr\'ee(s) bool\'eenne(s):} 
\begin{itemize}
\item $a$: 
\item $b$: 
\end{itemize}


\section{Sortie(s) bool\'eenne(s):} 
\begin{itemize}
\item $y$
\end{itemize}

\section{Registre(s):}
\begin{itemize}
\item $q$ valeur initiale: $false$, nouvelle valeur sur front: $d$
\end{itemize}

\section{\'Equation(s):}
\begin{itemize}
\item $t = q.a$
\item $y = b + \overline{b}.t$
\item $d = a.\overline{y} + \overline{a}.y$
\end{itemize}

\end{document}

)"},
    {"every name with \"_\" filtered, initial value 1, constant 1", circuit_names, "cn", R"({\huge module: cn}
\end{center}
\section{Entr\'ee(s) bool\'eenne(s):} 
\begin{itemize}
\item $in\_1$: 
\item $in\_2\_$: 
\end{itemize}


\section{Sortie(s) bool\'eenne(s):} 
\begin{itemize}
\item $out\_1\_2$
\end{itemize}

\section{Registre(s):}
\begin{itemize}
\item $r\_1$ valeur initiale: $true$, nouvelle valeur sur front: $n\_q$
\end{itemize}

\section{\'Equation(s):}
\begin{itemize}
\item $one = 1$
\item $n\_q = r\_1 + \overline{r\_1}.in\_2\_$
\item $out\_1\_2 = r\_1.in\_1$
\end{itemize}

\end{document}

)"},
    {"no register: the section has no empty list", circuit_gates, "cc", R"({\huge module: cc}
\end{center}
\section{Entr\'ee(s) bool\'eenne(s):} 
\begin{itemize}
\item $c$: 
\item $e$: 
\end{itemize}


\section{Sortie(s) bool\'eenne(s):} 
\begin{itemize}
\item $x$
\item $y$
\end{itemize}

\section{Registre(s):}

\section{\'Equation(s):}
\begin{itemize}
\item $x = c.e$
\item $y = \overline{c}$
\end{itemize}

\end{document}

)"},
    {"nothing at all", circuit_empty, "e0", R"({\huge module: e0}
\end{center}

\section{Registre(s):}

\end{document}

)"},
    {"module name with \"_\" filtered: it stands in text mode", circuit_empty, "dir/e_0", R"({\huge module: dir/e\_0}
\end{center}

\section{Registre(s):}

\end{document}

)"},
};

TEST(LatexPut, GoldenDocuments)
{
    for (const writer_case& c : LATEX_CASES)
        EXPECT_EQ(written(c.circuit(), &b_automaton::LATEX_put, c.name), std::string(PREAMBLE) + c.expected)
            << c.label;
}

TEST(LatexPut, UndeterminedInitialValue)
{
    test_circuit c = circuit_a();
    c.init = {2};
    std::string text = written(c, &b_automaton::LATEX_put, "ca");
    EXPECT_NE(text.find("\n\\item $q$ valeur initiale: $???$, nouvelle valeur sur front: $d$\n"), std::string::npos);
}

TEST(LatexPut, EveryTestCircuitCompilesWithPdflatex)
{
    if (!have_tool("pdflatex")) GTEST_SKIP() << "pdflatex is not installed";
    std::string dir = tool_directory("latex");
    ASSERT_FALSE(dir.empty());
    for (const auto& named : all_test_circuits())
        for (int level = 0; level <= 2; ++level) {
            std::string base = std::string(named.first) + "_O" + std::to_string(level);
            // a base name with "_", as the driver passes it
            write_file(dir + "/" + base + ".tex", written(named.second, &b_automaton::LATEX_put, base, level));
            std::string log;
            int status = run_command("cd '" + dir + "' && pdflatex -interaction=nonstopmode -halt-on-error " + base +
                                         ".tex",
                                     log);
            EXPECT_EQ(status, 0) << base << ".tex:\n" << log;
        }
}

// w := the parity of 12 inputs, one cover of 2048 rows: its sum of products is one equation of
// about 200000 characters, more than TeX reads on one line or holds in one paragraph.
test_circuit circuit_wide()
{
    test_cover parity{{}, {}};
    for (int i = 0; i < 12; ++i) parity.names.push_back("x" + std::to_string(i));
    parity.names.push_back("w");
    for (int row = 0; row < 4096; ++row) {
        std::string plane;
        int ones = 0;
        for (int i = 0; i < 12; ++i) {
            plane += (row >> i) & 1 ? '1' : '0';
            ones += (row >> i) & 1;
        }
        if (ones % 2 == 1) parity.rows.push_back(plane + " 1");
    }
    test_circuit c = {{}, {}, {}, {"w"}, {}, {}, {parity}};
    for (int i = 0; i < 12; ++i) c.inputs.insert("x" + std::to_string(i));
    return c;
}

TEST(LatexPut, WideEquationIsFoldedAndCompiles)
{
    std::string text = written(circuit_wide(), &b_automaton::LATEX_put, "cw");
    std::istringstream lines(text);
    std::size_t longest = 0, paragraphs = 0;
    for (std::string line; std::getline(lines, line);) longest = std::max(longest, line.size());
    for (std::size_t p = text.find("$\n\n$"); p != std::string::npos; p = text.find("$\n\n$", p + 1))
        ++paragraphs; // the equation goes on in a new paragraph
    EXPECT_LT(longest, 2000u);
    EXPECT_GE(paragraphs, 5u);
    if (!have_tool("pdflatex")) GTEST_SKIP() << "pdflatex is not installed";
    std::string dir = tool_directory("widetex");
    write_file(dir + "/cw.tex", text);
    std::string log;
    EXPECT_EQ(run_command("cd '" + dir + "' && pdflatex -interaction=nonstopmode -halt-on-error cw.tex", log), 0)
        << log.substr(log.size() > 3000 ? log.size() - 3000 : 0);
}

} // namespace
