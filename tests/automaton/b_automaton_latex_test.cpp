// The LaTeX documentation writer; every test circuit's document is compiled with pdflatex.
#include <gtest/gtest.h>

#include "b_automaton_writers_fixture.h"

namespace {

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
    {"no register: the section has no empty list", circuit_comb, "cc", R"({\huge module: cc}
\end{center}
\section{Entr\'ee(s) bool\'eenne(s):} 
\begin{itemize}
\item $a$: 
\item $b$: 
\end{itemize}


\section{Sortie(s) bool\'eenne(s):} 
\begin{itemize}
\item $x$
\item $y$
\end{itemize}

\section{Registre(s):}

\section{\'Equation(s):}
\begin{itemize}
\item $x = a.b$
\item $y = \overline{a}$
\end{itemize}

\end{document}

)"},
    {"nothing at all", circuit_empty, "e0", R"({\huge module: e0}
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
            write_file(dir + "/" + base + ".tex", written(named.second, &b_automaton::LATEX_put, named.first, level));
            std::string log;
            int status = run_command("cd '" + dir + "' && pdflatex -interaction=nonstopmode -halt-on-error " + base +
                                         ".tex",
                                     log);
            EXPECT_EQ(status, 0) << base << ".tex:\n" << log;
        }
}

} // namespace
