// Written names handed to the emitters: names and operands of the writer, the manager untouched.
#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "bdd/bdd_naming.h"
#include "bdd/bddpp.h"

namespace {

// Variables a, b, c; a writer writes a as "a_" and reads c as "*q".
class Naming : public ::testing::Test {
protected:
    bddpp_manager m;
    bdd a, b, c;

    void SetUp() override
    {
        a = m.New_var_last("a");
        b = m.New_var_last("b");
        c = m.New_var_last("c");
    }

    bdd_naming written()
    {
        bdd_naming w(&m);
        w.name_var("a", "a_");
        w.read_var("c", "*q");
        return w;
    }

    void expect_names_untouched()
    {
        EXPECT_EQ(m.Name_var_by_index(0), "a");
        EXPECT_EQ(m.Name_var_by_index(1), "b");
        EXPECT_EQ(m.Name_var_by_index(2), "c");
    }
};

} // namespace

TEST_F(Naming, NamesAndOperandsByVariable)
{
    bdd_naming w = written();
    EXPECT_EQ(w.name(m.Id_var_by_name("a")), "a_");
    EXPECT_EQ(w.name(m.Id_var_by_name("c")), "c"); // a read of its own leaves the name
    EXPECT_EQ(w.name_of(b), "b");
    EXPECT_EQ(w.name_of(m.Bdd_one()), "1");
    EXPECT_EQ(w.name_of(m.Bdd_zero()), "0");
    EXPECT_EQ(w.operand(m.Id_var_by_name("a"), "P_", "_s"), "P_a__s");
    EXPECT_EQ(w.operand(m.Id_var_by_name("c"), "P_", "_s"), "*q");
    EXPECT_EQ(w.name(-1), "");
    EXPECT_EQ(w.name(3), "");
    w.name_var("zz", "nothing"); // no such variable: nothing changes
    w.read_var("zz", "nothing");
    EXPECT_EQ(w.operand(1, "", ""), "b");
}

TEST_F(Naming, SumsOfProductsWriteTheWrittenNames)
{
    bdd_naming w = written();
    bdd f = m.Bdd_or(m.Bdd_and(a, m.Bdd_not(b)), c); // a AND NOT b OR c
    EXPECT_EQ(m.Print_sop_to_String_pref_suff(" | ", "&", "~", "", f, "P_", "", 1, &w), "P_a_&~P_b | *q");
    std::ostringstream out;
    m.Print_sop(" + ", ".", "!", "", out, m.Bdd_and(a, b), 0, &w);
    EXPECT_EQ(out.str(), "a_.b");
    EXPECT_EQ(m.Print_sop_to_ESTEREL_String(m.Bdd_not(a), 0, &w), "not a_");
    EXPECT_EQ(m.Print_sop_to_String_pref_suff(" | ", "&", "~", "", f, "P_", "", 1), "P_a&~P_b | P_c");
    expect_names_untouched();
}

TEST_F(Naming, NodeNetworksWriteTheWrittenOperands)
{
    bdd_naming w = written();
    int link = 1;
    bdd_node* n = m.Find_or_create_bdd_node(0, 1, -1, b.node(), c.node(), link); // a ? b : NOT c
    std::ostringstream out;
    m.Print_node_for_eval(" || ", " && ", "!", "", "P_", "", "0", ";", "arr", out, n, &w);
    EXPECT_EQ(out.str(), "  arr[3]= P_b;\n  arr[4]= *q;\n  arr[5]= P_a_ && arr[3] || !P_a_ && !arr[4];\n");
    expect_names_untouched();
}

TEST_F(Naming, VhdlInputsFoundByTheirWrittenName)
{
    bdd_naming w = written();
    std::ostringstream out;
    m.Print_node_for_eval_VHDL_input("", "", "s", out, "a_", &w);
    m.Print_node_for_eval_VHDL_input("", "", "s", out, "a", &w); // the manager's name is not the written one
    m.Print_node_for_eval_VHDL_reset_input("s", out, "a_", &w);
    EXPECT_EQ(out.str(), "      s(2) <= a_;\n      s(2) <= '0';\n");
    expect_names_untouched();
}
