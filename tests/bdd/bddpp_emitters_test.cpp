// Node-network emitters of every target: line shapes, order, marks and node sharing.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "bdd/bddpp.h"

namespace {

// Variables w, x, y, z (nodes 2 to 5); A = x ? y : NOT z (node 6); B = w ? A : y (node 7):
// B shares A and y's node with A.
class Emitters : public ::testing::Test {
protected:
    bddpp_manager m;
    bdd w, x, y, z;
    bdd_node* A;
    bdd_node* B;

    void SetUp() override
    {
        w = m.New_var_last("w");
        x = m.New_var_last("x");
        y = m.New_var_last("y");
        z = m.New_var_last("z");
        int link = 1;
        A = m.Find_or_create_bdd_node(1, 1, -1, y.node(), z.node(), link);
        B = m.Find_or_create_bdd_node(0, 1, 1, A, y.node(), link);
        ASSERT_EQ(A->number, 6);
        ASSERT_EQ(B->number, 7);
        m.Bdd_global_clear_marks();
    }

    std::string c_code(bdd_node* n)
    {
        std::ostringstream out;
        m.Print_node_for_eval(" || ", " && ", "!", "", "", "", "0", ";", "arr", out, n);
        return out.str();
    }
};

} // namespace

TEST(EmitterShapes, DecisionNodeWithAComplementedElseChild)
{
    bddpp_manager m;
    bdd x = m.New_var_last("x"), y = m.New_var_last("y"), z = m.New_var_last("z");
    int link = 1;
    bdd_node* n = m.Find_or_create_bdd_node(0, 1, -1, y.node(), z.node(), link);
    ASSERT_EQ(n->number, 5);
    std::ostringstream out;
    m.Print_node_for_eval(" || ", " && ", "!", "", "", "", "0", ";", "arr", out, n);
    EXPECT_EQ(out.str(), "  arr[3]= y;\n  arr[4]= z;\n  arr[5]= x && arr[3] || !x && !arr[4];\n");
}

TEST_F(Emitters, SharedNodesAreWrittenOnceChildrenFirst)
{
    EXPECT_EQ(c_code(A), "  arr[4]= y;\n  arr[5]= z;\n  arr[6]= x && arr[4] || !x && !arr[5];\n");
    EXPECT_EQ(c_code(B), "  arr[7]= w && arr[6] || !w && arr[4];\n");
    EXPECT_EQ(c_code(B), "");
    m.Bdd_global_clear_marks();
    EXPECT_EQ(c_code(B), R"(  arr[4]= y;
  arr[5]= z;
  arr[6]= x && arr[4] || !x && !arr[5];
  arr[7]= w && arr[6] || !w && arr[4];
)");
}

TEST_F(Emitters, ConstantsVariablesAndTheTerminalLine)
{
    EXPECT_EQ(c_code(m.Bdd_one().node()), "   arr[1]= !0;\n");
    m.Bdd_global_clear_marks();
    EXPECT_EQ(c_code(m.Bdd_zero().node()), "   arr[1]= !0;\n");
    EXPECT_EQ(c_code(x.node()), "  arr[3]= x;\n");
    EXPECT_EQ(c_code(nullptr), "");
    m.Bdd_global_clear_marks();
    bdd x_or_y = m.Bdd_or(x, y); // then child: the terminal
    EXPECT_EQ(c_code(x_or_y.node()), "   arr[1]= !0;\n  arr[4]= y;\n  arr[" + std::to_string(x_or_y.node()->number)
                                         + "]= x && arr[1] || !x && arr[4];\n");
}

TEST_F(Emitters, PrefixedAndArraylessForms)
{
    std::ostringstream cs, lus, lus_prefixed;
    m.Print_node_for_eval(" || ", " && ", "!", "", "", "", "false", ";", "\t", "arr", cs, A);
    m.Print_node_for_eval(" || ", " && ", "!", "", "", "", "false", ";", "\t", "arr", cs, m.Bdd_one().node());
    EXPECT_EQ(cs.str(), "\tarr[4]= y;\n\tarr[5]= z;\n\tarr[6]= x && arr[4] || !x && !arr[5];\n\tarr[1]= !false;\n");
    m.Bdd_global_clear_marks();
    m.Print_node_for_eval_arrayless(" or ", " and ", "not ", "", "in.", "_v", "false", ";", "n", lus, A);
    m.Print_node_for_eval_arrayless(" or ", " and ", "not ", "", "", "", "false", ";", "n", lus, m.Bdd_one().node());
    EXPECT_EQ(lus.str(), R"(  n_4= in.y_v;
  n_5= in.z_v;
  n_6= in.x_v and n_4 or not in.x_v and not n_5;
   n_1= not false;
)");
    m.Bdd_global_clear_marks();
    m.Print_node_for_eval_arrayless("|", "&", "~", "", "", "", "F", ".", "> ", "s", lus_prefixed, B);
    EXPECT_EQ(lus_prefixed.str(), "> s_4= y.\n> s_5= z.\n> s_6= x&s_4|~x&~s_5.\n> s_7= w&s_6|~w&s_4.\n");
}

TEST_F(Emitters, PlainTextForm)
{
    std::ostringstream out;
    m.Print_node_for_eval_NUSMV("", "", "   ", "n", out, B);
    m.Print_node_for_eval_NUSMV("", "", "   ", "n", out, m.Bdd_one().node());
    EXPECT_EQ(out.str(), R"(   n_4:= y;
   n_5:= z;
   n_6:= x & n_4 | !x & !n_5;
   n_7:= w & n_6 | !w & n_4;
   n_1:= TRUE;
)");
}

TEST_F(Emitters, VhdlNetworkAndItsInputs)
{
    std::ostringstream out;
    m.Print_node_for_eval_VHDL_reset_input("s", out, "x");
    m.Print_node_for_eval_VHDL_reset_input("s", out, "nobody");
    EXPECT_EQ(x.node()->mark, 0);
    m.Print_node_for_eval_VHDL_input("in_", "_i", "s", out, "x");
    m.Print_node_for_eval_VHDL_input("in_", "_i", "s", out, "nobody");
    EXPECT_EQ(x.node()->mark, 1);
    m.Print_node_for_eval_VHDL("s", out, B);
    m.Print_node_for_eval_VHDL("s", out, m.Bdd_one().node());
    m.Print_node_for_eval_VHDL("s", out, w.node());
    EXPECT_EQ(out.str(), R"(      s(3) <= '0';
      s(3) <= in_x_i;
      s(6) <= (s(3) and s(4)) or (not s(3) and not s(5));
      s(7) <= (s(2) and s(6)) or (not s(2) and s(4));
      s(1) <= '1';
)");
}

TEST_F(Emitters, BlifBlocks)
{
    std::ostringstream out;
    m.Print_node_for_eval_BLIF("", "", "node", out, B);
    m.Print_node_for_eval_BLIF("", "", "node", out, m.Bdd_one().node());
    m.Bdd_global_clear_marks();
    m.Print_node_for_eval_BLIF("<", ">", "n", out, y.node());
    EXPECT_EQ(out.str(), R"(.names y node_4
1 1

.names z node_5
1 1

.names x node_4 node_5 node_6
11- 1
0-0 1

.names w node_6 node_4 node_7
11- 1
0-1 1

.names node_1
1

.names <y> n_4
1 1

)");
}

TEST_F(Emitters, NodeUseAndVhdlNames)
{
    std::vector<int> used(m.Bdd_total_size(), 0);
    B->Lustre_writing_node_used(used.data(), B);
    EXPECT_EQ(used, (std::vector<int>{0, 1, 0, 0, 1, 1, 1, 1}));
    std::vector<int> again(m.Bdd_total_size(), 0);
    A->Lustre_writing_node_used(again.data(), A);
    EXPECT_EQ(again, std::vector<int>(m.Bdd_total_size(), 0));
    EXPECT_EQ(bdd(&m, -1, B).vhdl_node_name("n"), "not n(7)");
    EXPECT_EQ(bdd(&m, 1, A).vhdl_node_name("sig"), "sig(6)");
}
