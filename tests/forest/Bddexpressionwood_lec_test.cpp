// LEC tables and lea lines of a small forest, against texts worked out by hand.
#include <gtest/gtest.h>

#include <set>
#include <sstream>
#include <string>

#include "forest/Bddexpression.h"

namespace {

// Inputs a, b (nodes 2, 3), then x (node 4), y (node 5), z (node 6):
//   x := a AND NOT b   early 1, late 2; its top node 7 = (a ? b : 1), complemented
//   y := NOT x         early 2, late 3; the complemented variable node 4
//   z abstract "fz" reading a and x; early 3, late 3
// Node list of x and y in that order: 7 gets 0, node 3 gets 1, the terminal 2, node 4 gets 3.
struct lec_forest {
    Bddexpressionwood w;
    bddpp_manager* m;
    long values[5] = {10, 11, 12, 13, 14};

    lec_forest() : m(w.manager)
    {
        bdd a = w.New_var_last("a"), b = w.New_var_last("b"), x = w.New_var_last("x");
        bdd y = w.New_var_last("y");
        w.New_var_last("z");
        new Bddexpression("x", &w, x, m->Bdd_and(a, m->Bdd_not(b)), 1, 2);
        new Bddexpression("y", &w, y, m->Bdd_not(x), 2, 3);
        std::set<long> reads = {0, 2};
        new Bddexpression(4, &w, reads, "fz", 3, 3);
    }
};

const char* const NODE_LIST = "4\n"
                              "0: 10:1:2,1\n"
                              "1: 11:2:2,-1\n"
                              "2: -1:-3:-3,1\n"
                              "3: 12:2:2,-1\n"
                              "expressions:\n";

} // namespace

TEST(LecExport, TablesWithDates)
{
    lec_forest f;
    std::ostringstream plain, commented;
    f.w.Put_lec_0_3_0(plain, f.values, 0, 0);
    EXPECT_EQ(plain.str(), "1 2\n10 11 12:\n1 0  1;\n\n"
                           "2 3\n12 13:\n0  1;\n\n"
                           "\n");
    f.w.Put_lec_0_3_0(commented, f.values, 1, 1);
    EXPECT_EQ(commented.str(), "// expression 2:  x= a and not b;\n1 2\n10 11 12:\n1 0  1;\n\n"
                               "// expression 3:  y= not x;\n2 3\n12 13:\n0  1;\n\n"
                               "// expression 4:\n\n");
    f.values[3] = -1;
    std::ostringstream skipped, silent;
    f.w.Put_lec_0_3_0(skipped, f.values, 0, 1);
    EXPECT_EQ(skipped.str(), "// expression 2:  x= a and not b;\n1 2\n10 11 12:\n1 0  1;\n\n"
                             "// no generate expression about:3:  y= not x;\n\n"
                             "// expression 4:\n\n");
    f.w.Put_lec_0_3_0(silent, f.values, 0, 0);
    EXPECT_EQ(silent.str(), "1 2\n10 11 12:\n1 0  1;\n\n\n");
}

TEST(LecExport, NodeListAndTopNodes)
{
    lec_forest f;
    std::ostringstream plain, commented;
    f.w.Put_lec_2_0_4(plain, f.values, 0);
    EXPECT_EQ(plain.str(), std::string(NODE_LIST) + "1 2 12:0,-1\n2 3 13:3,-1\n3 3 14:-3,-3\n");
    f.w.Put_lec_2_0_4(commented, f.values, 1);
    EXPECT_EQ(commented.str(), std::string(NODE_LIST) +
                                   "// expression 2:  x= a and not b;\n1 2 12:0,-1\n"
                                   "// expression 3:  y= not x;\n2 3 13:3,-1\n"
                                   "// expression 4:\n3 3 14:-3,-3\n");
}

TEST(LecExport, NodeListWithDependencies)
{
    lec_forest f;
    std::ostringstream plain, commented;
    f.w.Put_lec(plain, f.values, 0);
    EXPECT_EQ(plain.str(), std::string(NODE_LIST) + "1 2 12:0,-1,(10 11 )\n2 3 13:3,-1,(12 )\n3 3 14:-3,-3,(10 12 )\n");
    // the node list marked every node it wrote: the comments show the equations' own lines
    f.w.Put_lec(commented, f.values, 1);
    EXPECT_EQ(commented.str(), std::string(NODE_LIST) +
                                   "// expression 2:   x= !node_7\n1 2 12:0,-1,(10 11 )\n"
                                   "// expression 3:   y= !node_4\n2 3 13:3,-1,(12 )\n"
                                   "// expression 4:   z= ???\n3 3 14:-3,-3,(10 12 )\n");
    // y left out (in a forest with no mark set): its comment writes its own node, which the
    // list no longer holds
    lec_forest g;
    g.values[3] = -1;
    std::ostringstream skipped;
    g.w.Put_lec(skipped, g.values, 1);
    EXPECT_EQ(skipped.str(), "3\n"
                             "0: 10:1:2,1\n"
                             "1: 11:2:2,-1\n"
                             "2: -1:-3:-3,1\n"
                             "expressions:\n"
                             "// expression 2:   x= !node_7\n1 2 12:0,-1,(10 11 )\n"
                             "// no generate expression about:3:   node_4:= x;\n   y= !node_4\n\n"
                             "// expression 4:   z= ???\n3 3 14:-3,-3,(10 12 )\n");
}

TEST(LecExport, NothingExported)
{
    lec_forest f;
    long none[5] = {-1, -1, -1, -1, -1};
    std::ostringstream a, b, c;
    f.w.Put_lec_0_3_0(a, none, 0, 0);
    f.w.Put_lec_2_0_4(b, none, 0);
    f.w.Put_lec(c, none, 0);
    EXPECT_EQ(a.str(), "");
    EXPECT_EQ(b.str(), "0\nexpressions:\n");
    EXPECT_EQ(c.str(), "0\nexpressions:\n");
}

TEST(LecExport, ConstantRightMembers)
{
    Bddexpressionwood w;
    bddpp_manager* m = w.manager;
    bdd k = w.New_var_last("k"), j = w.New_var_last("j");
    new Bddexpression("k", &w, k, m->Bdd_zero(), 0, 1);
    new Bddexpression("j", &w, j, m->Bdd_one(), 2, 0);
    long values[2] = {5, 6};
    std::ostringstream os;
    w.Put_lec(os, values, 0);
    EXPECT_EQ(os.str(), "1\n0: -1:-3:-3,1\nexpressions:\n0 1 5:0,-1,()\n2 0 6:0,1,()\n");
    std::ostringstream table;
    w.Put_lec_0_3_0(table, values, 0, 0);
    EXPECT_EQ(table.str(), "0 1\n5:\n0;\n\n2 0\n6:\n1;\n\n");
}

TEST(LecExport, OneEquationAlone)
{
    lec_forest f;
    std::ostringstream list;
    f.w.Put_lec(list, f.values, 0); // numbers the nodes
    Bddexpression* x = f.w.exp_table[2];
    Bddexpression* z = f.w.exp_table[4];
    std::ostringstream a, b, c, d;
    x->put_lec_0_3_0(a, f.values, 0);
    x->put_lec_2_0_4(b, f.values);
    x->put_lec(c, f.values);
    z->put_lec(d, f.values);
    EXPECT_EQ(a.str(), "1 2\n10 11 12:\n1 0  1;\n");
    EXPECT_EQ(b.str(), "1 2 12:0,-1");
    EXPECT_EQ(c.str(), "1 2 12:0,-1,(10 11 )");
    EXPECT_EQ(d.str(), "3 3 14:-3,-3,(10 12 )");
    // an abstract equation has no table; a free-standing one writes nothing
    std::ostringstream e, g;
    z->put_lec_0_3_0(e, f.values, 0);
    Bddexpression alone;
    alone.put_lec(g, f.values);
    alone.put_lec_2_0_4(g, f.values);
    alone.put_lec_0_3_0(g, f.values, 0);
    EXPECT_EQ(e.str(), "");
    EXPECT_EQ(g.str(), "");
}

TEST(LeaExport, DependencyLines)
{
    lec_forest f;
    std::set<long> all = {0, 1, 2, 3, 4};
    std::ostringstream named, defined;
    f.w.Put_lea(named, f.values, all, 99, "f");
    EXPECT_EQ(named.str(), "10 : {}:1, {12,13,14}:2[\"f.lec:10\"];\n"
                           "11 : {}:1, {12,13,14}:2[\"f.lec:11\"];\n"
                           "12 : {10,11}:2, {13,14}:1[\"f.lec:12\"];\n"
                           "13 : {10,11,12}:3, {}:0[\"f.lec:13\"];\n"
                           "14 : {10,11,12}:3, {}:0[\"f.lec:14\"];\n");
    f.w.Put_lea(defined, f.values, all, 0);
    EXPECT_EQ(defined.str(), "10 : {}:1, {12,13,14}:2;\n"
                             "11 : {}:1, {12,13,14}:2;\n"
                             "12 : {10,11}:2, {13,14}:1;\n"
                             "13 : {10,11,12}:3, {}:0;\n"
                             "14 : {10,11,12}:3, {}:0[\"fz\"];\n");
}

TEST(LeaExport, SelectionAndLeftOutVariables)
{
    lec_forest f;
    std::set<long> none, some = {1, 3};
    f.values[0] = -1; // a is not exported
    f.values[2] = -1; // nor x
    std::ostringstream empty, selected;
    f.w.Put_lea(empty, f.values, none, 0, "g");
    EXPECT_EQ(empty.str(), "11 : {}:1, {}:2[\"g.lec:11\"];\n"
                           "13 : {}:3, {}:0[\"g.lec:13\"];\n"
                           "14 : {}:3, {}:0[\"g.lec:14\"];\n");
    f.w.Put_lea(selected, f.values, some, 0);
    EXPECT_EQ(selected.str(), "11 : {}:1, {13}:2;\n"
                              "13 : {11}:3, {}:0;\n"
                              "14 : {11}:3, {}:0[\"fz\"];\n");
}
