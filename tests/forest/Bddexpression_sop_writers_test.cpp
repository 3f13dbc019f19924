// Sum-of-products equation writers: plain text, LUSTRE compatibility, SystemC, ESTEREL, LaTeX,
// array-indexed literals and the node dump, with the frames of their forest writers.
#include <gtest/gtest.h>

#include <sstream>

#include "tests/support/writers_test_forest.h"

namespace {

// the plain-text lines after the constant
const std::string doc_rest = R"(s = a and b and c;
t = a or not a and b and c;
u = not a;
v = c;
y_1 = c and t;
)";

TEST(SopWritersTest, BasicDocWritesOneLinePerEquationInDateOrder)
{
    writers_forest f;
    std::ostringstream out;
    f.w.Put_basic_doc(out, 0);
    EXPECT_EQ(out.str(), "k = 0;\n" + doc_rest);
}

TEST(SopWritersTest, BasicDocCanWriteConstantsAsBooleans)
{
    writers_forest f;
    std::ostringstream out;
    f.w.Put_basic_doc(out, 0, 1);
    EXPECT_EQ(out.str(), "k = false;\n" + doc_rest);
}

TEST(SopWritersTest, LustreCompatibilityLine)
{
    writers_forest f;
    std::ostringstream out;
    f.w.exp_by_index(4)->put_lustre_compatibilite(out, 0);
    out << "|";
    f.w.exp_by_index(8)->put_lustre_compatibilite(out, 0);
    EXPECT_EQ(out.str(), "  t= a or not a and b and c;|  k= 0;");
}

TEST(SopWritersTest, SystemcWithTheIrredundantCover)
{
    writers_forest f;
    std::ostringstream out;
    f.w.Put_systemc(out, 1);
    EXPECT_EQ(out.str(), R"(    k <= 0;
    s <= a && b && c;
    t <= a || b && c;
    u <= ! a;
    v <= c;
    y_1 <= c && t;
)");
}

TEST(SopWritersTest, SystemcWithAPlainAssignmentOverRenamedSignals)
{
    writers_forest f;
    std::ostringstream out;
    f.w.Put_systemc(out, 0, " = ", "m_", "_v");
    EXPECT_EQ(out.str(), R"(    m_k_v = 0;
    m_s_v = m_a_v && m_b_v && m_c_v;
    m_t_v = m_a_v || ! m_a_v && m_b_v && m_c_v;
    m_u_v = ! m_a_v;
    m_v_v = m_c_v;
    m_y_1_v = m_c_v && m_t_v;
)");
}

TEST(SopWritersTest, EsterelJoinsThePresentStatementsByBars)
{
    writers_forest f;
    std::ostringstream out;
    f.w.Put_esterel(out, 0);
    EXPECT_EQ(out.str(), R"(  present [not tick] then
    emit k
  end present
  ||
  present [a and b and c] then
    emit s
  end present
  ||
  present [a or not a and b and c] then
    emit t
  end present
  ||
  present [not a] then
    emit u
  end present
  ||
  present [c] then
    emit v
  end present
  ||
  present [c and t] then
    emit y_1
  end present
)");
}

TEST(SopWritersTest, LatexFiltersTheNamesAndKeepsTheOverlines)
{
    writers_forest f;
    std::ostringstream out;
    f.w.Put_latex(out, 0);
    EXPECT_EQ(out.str(), R"(\begin{itemize}
\item $k = 0$
\item $s = a.b.c$
\item $t = a + \overline{a}.b.c$
\item $u = \overline{a}$
\item $v = c$
\item $y\_1 = c.t$
\end{itemize}
)");
}

TEST(SopWritersTest, CatWritesLiteralsAsArrayElements)
{
    writers_forest f;
    std::ostringstream out;
    f.w.Put_cat(out, "V", 0);
    EXPECT_EQ(out.str(), R"(   V[8]= 0;
   V[3]= V[0] && V[1] && V[2];
   V[4]= V[0] || !V[0] && V[1] && V[2];
   V[5]= !V[0];
   V[6]= V[2];
   V[7]= V[2] && V[4];
)");
}

TEST(SopWritersTest, TreeDumpsTheRightMember)
{
    writers_forest f;
    std::ostringstream out;
    f.w.exp_by_index(3)->put_tree(out);
    EXPECT_EQ(out.str(), R"(s=
if a (node: 0,index: 0)
  if b (node: 1,index: 1)
    c (node: 2,index: 2)
  else (not b)
    not(
        1 (node: 3,index: -1)
       )
else (not a)
  not(
      1 (node: 3,index: -1)
     )
)");
}

TEST(SopWritersTest, AnAbstractEquationLeavesOnlyTheFrame)
{
    abstract_forest f;
    std::ostringstream doc, systemc, latex, esterel, cat;
    f.w.Put_basic_doc(doc, 0);
    f.w.Put_systemc(systemc, 0);
    f.w.Put_latex(latex, 0);
    f.w.Put_esterel(esterel, 0);
    f.w.Put_cat(cat, "V", 0);
    EXPECT_EQ(doc.str(), ";\ny = not a;\n");
    EXPECT_EQ(systemc.str(), "    \n    y <= ! a;\n");
    EXPECT_EQ(latex.str(), "\\begin{itemize}\n\\item \n\\item $y = \\overline{a}$\n\\end{itemize}\n");
    EXPECT_EQ(esterel.str(), "\n  ||\n  present [not a] then\n    emit y\n  end present\n");
    EXPECT_EQ(cat.str(), "\n   V[2]= !V[0];\n");
}

TEST(SopWritersTest, AForestWithoutEquationWritesOnlyTheLatexList)
{
    empty_forest f;
    std::ostringstream doc, systemc, latex, esterel, cat;
    f.w.Put_basic_doc(doc, 0);
    f.w.Put_systemc(systemc, 0);
    f.w.Put_latex(latex, 0);
    f.w.Put_esterel(esterel, 0);
    f.w.Put_cat(cat, "V", 0);
    EXPECT_EQ(doc.str() + systemc.str() + esterel.str() + cat.str(), "");
    EXPECT_EQ(latex.str(), "\\begin{itemize}\n\\end{itemize}\n");
}

TEST(SopWritersTest, OneEquationHasNoBars)
{
    Bddexpressionwood w;
    bdd a = w.New_var_last("a"), b = w.New_var_last("b"), x = w.New_var_last("x");
    new Bddexpression("x", &w, x, w.manager->Bdd_or(a, b), 0, 0);
    w.compute_dates();
    std::ostringstream out;
    w.Put_esterel(out, 1);
    EXPECT_EQ(out.str(), "  present [a or b] then\n    emit x\n  end present\n");
}

TEST(SopWritersTest, AnEquationOutsideAForestWritesNothing)
{
    writers_forest f;
    Bddexpression free_standing;
    Bddexpression unset(&f.w);
    std::ostringstream out;
    for (Bddexpression* e : {&free_standing, &unset}) {
        e->put_basic_doc(out, 0);
        e->put_lustre_compatibilite(out, 0);
        e->put_systemc(out, 0);
        e->put_esterel(out, 0);
        e->put_latex(out, 0);
        e->put_cat(out, "V", 0);
        e->put_tree(out);
    }
    EXPECT_EQ(out.str(), "");
}

TEST(SopWritersTest, CatNumbersElementsByPosition)
{
    inserted_forest f;
    std::ostringstream out;
    f.w.Put_cat(out, "V", 0);
    EXPECT_EQ(out.str(), "   V[2]= V[0] && V[1];\n   V[3]= !V[2];\n");
}

} // namespace
