// Shared-node equation writers: C, the sketch, CSharp, LUSTRE with and without arrays, the
// plain-text description, BLIF and the node-use table.
#include <gtest/gtest.h>

#include <sstream>
#include <vector>

#include "tests/support/writers_test_forest.h"

namespace {

// the lines of s, t and u, the same in C and in the sketch
const std::string c_middle = R"(  A[4]= P_c;
  A[11]= P_b && A[4] || !P_b && !A[1];
  A[12]= P_a && A[11] || !P_a && !A[1];
   P_s= A[12];
  A[13]= P_a && A[1] || !P_a && A[11];
   P_t= A[13];
  A[2]= P_a;
   P_u= !A[2];
)";

const std::string c_text = R"(   A[1]= !0;
  *P_k= !A[1];
)" + c_middle + R"(  *P_v= P_c;
  A[6]= P_t;
  A[14]= P_c && A[6] || !P_c && !A[1];
  *P_y_1= A[14];
)";

// the blocks of s after its variable and terminal nodes, and those of y_1
const std::string blif_s = R"(.names b node_4 node_1 node_11
11- 1
0-0 1

.names a node_11 node_1 node_12
11- 1
0-0 1

.names node_12 s
1 1

)";
const std::string blif_y = R"(.names t node_6
1 1

.names c node_6 node_1 node_14
11- 1
0-0 1

.names node_14 y_1
1 1

)";

const std::string blif_text = R"(.names node_1
1

.names node_1 k
0 1

.names c node_4
1 1

)" + blif_s + R"(.names a node_1 node_11 node_13
11- 1
0-1 1

.names node_13 t
1 1

.names a node_2
1 1

.names node_2 u
0 1

.names c v
1 1

)" + blif_y;

TEST(NodeWritersTest, CSharesNodesAndWritesOutputsThroughPointers)
{
    writers_forest f;
    std::ostringstream out;
    f.w.Put_c(out, "A", f.outputs, "P_", "");
    EXPECT_EQ(out.str(), c_text);
}

TEST(NodeWritersTest, CWithoutPrefixOrOutputs)
{
    writers_forest f;
    std::ostringstream out;
    f.w.Put_c(out, "A", {});
    EXPECT_EQ(out.str(), R"(   A[1]= !0;
   k= !A[1];
  A[4]= c;
  A[11]= b && A[4] || !b && !A[1];
  A[12]= a && A[11] || !a && !A[1];
   s= A[12];
  A[13]= a && A[1] || !a && A[11];
   t= A[13];
  A[2]= a;
   u= !A[2];
   v= c;
  A[6]= t;
  A[14]= c && A[6] || !c && !A[1];
   y_1= A[14];
)");
}

TEST(NodeWritersTest, AForestWriterStartsFromClearedMarks)
{
    writers_forest f;
    std::ostringstream first, second;
    f.w.Put_c(first, "A", f.outputs, "P_", "");
    f.w.Put_c(second, "A", f.outputs, "P_", "");
    EXPECT_EQ(second.str(), first.str());
}

TEST(NodeWritersTest, SketchOutputsBecomeActions)
{
    writers_forest f;
    std::vector<int> kinds(9, 1);
    kinds[6] = 0; // v is a pulse action
    std::ostringstream out;
    f.w.Put_ino_grafcet(out, "A", f.outputs, "P_", "", kinds.data());
    EXPECT_EQ(out.str(), std::string(R"(   A[1]= !0;
  if(!A[1])
  {
     k_true();
  }
  else
  {
     k_false();
  }

)" + c_middle + R"(  if(P_c)
  {
     v();
  }

  A[6]= P_t;
  A[14]= P_c && A[6] || !P_c && !A[1];
  if(A[14])
  {
     y_1_true();
  }
  else
  {
     y_1_false();
  }

)"));
}

TEST(NodeWritersTest, CsharpIndentsEveryLine)
{
    writers_forest f;
    std::ostringstream out;
    f.w.Put_csharp(out, "A", "P_", "", 3);
    EXPECT_EQ(out.str(), R"(   A[1]= !false;
   P_k= !A[1];
   A[4]= P_c;
   A[11]= P_b && A[4] || !P_b && !A[1];
   A[12]= P_a && A[11] || !P_a && !A[1];
   P_s= A[12];
   A[13]= P_a && A[1] || !P_a && A[11];
   P_t= A[13];
   A[2]= P_a;
   P_u= !A[2];
   P_v= P_c;
   A[6]= P_t;
   A[14]= P_c && A[6] || !P_c && !A[1];
   P_y_1= A[14];
)");
}

TEST(NodeWritersTest, CsharpIndentationByCount)
{
    Bddexpressionwood w;
    bdd a = w.New_var_last("a"), x = w.New_var_last("x");
    new Bddexpression("x", &w, x, w.manager->Bdd_not(a), 0, 0);
    w.compute_dates();
    struct {
        int count;
        const char* text;
    } cases[] = {
        {0, "  A[2]= a;\n  x= !A[2];\n"},
        {3, "   A[2]= a;\n   x= !A[2];\n"},
        {-2, "A[2]= a;\nx= !A[2];\n"},
    };
    for (const auto& c : cases) {
        std::ostringstream out;
        w.Put_csharp(out, "A", c.count);
        EXPECT_EQ(out.str(), c.text) << "count " << c.count;
    }
    std::ostringstream plain, named;
    w.Put_csharp(plain, "A");
    w.Put_csharp(named, "A", "p", "s");
    EXPECT_EQ(plain.str(), "  A[2]= a;\n  x= !A[2];\n");
    EXPECT_EQ(named.str(), "  A[2]= pas;\n  pxs= !A[2];\n");
}

TEST(NodeWritersTest, LustreWithAnArray)
{
    writers_forest f;
    std::ostringstream out;
    f.w.Put_lustre(out, "L");
    EXPECT_EQ(out.str(), R"(   L[1]= not false;
   k= not L[1];
  L[4]= c;
  L[11]= b and L[4] or not b and not L[1];
  L[12]= a and L[11] or not a and not L[1];
   s= L[12];
  L[13]= a and L[1] or not a and L[11];
   t= L[13];
  L[2]= a;
   u= not L[2];
   v= c;
  L[6]= t;
  L[14]= c and L[6] or not c and not L[1];
   y_1= L[14];
)");
}

TEST(NodeWritersTest, LustreWithNodeSignals)
{
    writers_forest f;
    std::ostringstream out;
    f.w.Put_lustre_arrayless(out, "n");
    EXPECT_EQ(out.str(), R"(   n_1= not false;
   k= not n_1;
  n_4= c;
  n_11= b and n_4 or not b and not n_1;
  n_12= a and n_11 or not a and not n_1;
   s= n_12;
  n_13= a and n_1 or not a and n_11;
   t= n_13;
  n_2= a;
   u= not n_2;
   v= c;
  n_6= t;
  n_14= c and n_6 or not c and not n_1;
   y_1= n_14;
)");
}

TEST(NodeWritersTest, DocWritesConstantsByName)
{
    writers_forest f;
    std::ostringstream out;
    f.w.Put_doc(out, "d");
    EXPECT_EQ(out.str(), R"(   k= false;
   d_4:= c;
   d_1:= TRUE;
   d_11:= b & d_4 | !b & !d_1;
   d_12:= a & d_11 | !a & !d_1;
   s= d_12
   d_13:= a & d_1 | !a & d_11;
   t= d_13
   d_2:= a;
   u= !d_2
   v= c;
   d_6:= t;
   d_14:= c & d_6 | !c & !d_1;
   y_1= d_14
)");
}

TEST(NodeWritersTest, DocOfMissingMembersAndOfConstantOne)
{
    abstract_forest f;
    std::ostringstream out;
    f.w.Put_doc(out, "d");
    Bddexpression unset(&f.w);
    unset.put_doc(out, "d");
    EXPECT_EQ(out.str(), "   x= ???\n   d_2:= a;\n   y= !d_2\n   not defined!");

    Bddexpressionwood w;
    bdd x = w.New_var_last("x");
    new Bddexpression("x", &w, x, w.manager->Bdd_one(), 0, 0);
    w.compute_dates();
    std::ostringstream one, c_one;
    w.Put_doc(one, "d");
    w.Put_c(c_one, "A", {"x"});
    EXPECT_EQ(one.str(), "   x= true;\n");
    EXPECT_EQ(c_one.str(), "   A[1]= !0;\n  *x= A[1];\n");
}

TEST(NodeWritersTest, BlifBlocksPerNode)
{
    writers_forest f;
    std::ostringstream out;
    f.w.Put_blif(out, "node");
    EXPECT_EQ(out.str(), blif_text);
}

TEST(NodeWritersTest, BlifRestrictedToSelectedEquations)
{
    writers_forest f;
    std::vector<int> sel(9, 0);
    sel[3] = 1; // s
    sel[7] = 1; // y_1
    std::ostringstream out;
    f.w.Put_blif(out, "node", sel.data());
    EXPECT_EQ(out.str(), R"(
.names c node_4
1 1

.names node_1
1

)" + blif_s + "\n\n\n" + blif_y);
    std::vector<int> all(9, 1);
    std::ostringstream every;
    f.w.Put_blif(every, "node", all.data());
    EXPECT_EQ(every.str(), blif_text);
}

TEST(NodeWritersTest, AbstractAndEmptyForests)
{
    abstract_forest f;
    std::ostringstream c, blif;
    f.w.Put_c(c, "A", {});
    f.w.Put_blif(blif, "node");
    EXPECT_EQ(c.str(), "\n  A[2]= a;\n   y= !A[2];\n");
    EXPECT_EQ(blif.str(), "\n.names a node_2\n1 1\n\n.names node_2 y\n0 1\n\n");

    empty_forest e;
    std::ostringstream out;
    e.w.Put_c(out, "A", {});
    e.w.Put_csharp(out, "A");
    e.w.Put_lustre(out, "L");
    e.w.Put_lustre_arrayless(out, "n");
    e.w.Put_doc(out, "d");
    e.w.Put_blif(out, "node");
    EXPECT_EQ(out.str(), "");
}

TEST(NodeWritersTest, NodeUseTableMarksTheNodesOfTheNetworks)
{
    writers_forest f;
    long count = f.m->Bdd_total_size();
    ASSERT_EQ(count, 15);
    std::vector<int> used(count + 5, 7);
    f.w.Lustre_writing_node_used(count, used.data());
    std::vector<int> expected(count + 5, 0);
    for (int n : {1, 2, 4, 6, 11, 12, 13, 14}) expected[n] = 1;
    for (long i = count; i < count + 5; ++i) expected[i] = 7;
    EXPECT_EQ(used, expected);
}

TEST(NodeWritersTest, PerVariableArraysAreReadByPosition)
{
    inserted_forest f;
    std::vector<int> by_position{0, 0, 1, 0}; // x is at position 2 but has id 1
    std::ostringstream sketch, blif;
    f.w.Put_ino_grafcet(sketch, "A", {"x"}, "", "", by_position.data());
    f.w.Put_blif(blif, "node", by_position.data());
    EXPECT_EQ(sketch.str(), R"(  A[2]= a;
   A[1]= !0;
  A[6]= b && A[2] || !b && !A[1];
  if(A[6])
  {
     x_true();
  }
  else
  {
     x_false();
  }

  A[3]= x;
   y= !A[3];
)");
    EXPECT_EQ(blif.str(), R"(.names a node_2
1 1

.names node_1
1

.names b node_2 node_1 node_6
11- 1
0-0 1

.names node_6 x
1 1


)");
}

} // namespace
