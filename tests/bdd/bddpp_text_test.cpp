// Sum-of-products text in every syntax and the PLA, BLIF and LEC tables.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "bdd/bddpp.h"
#include "bdd/bdd_naming.h"
#include "bdd/bddpp_literals.h"
#include "bdd/sop_style.h"
#include "utils/text_room.h"

namespace {

// Variables a, b, c at positions 0, 1, 2 and z, the output of the tables, at 3.
class Text : public ::testing::Test {
protected:
    bddpp_manager m;
    bdd a, b, c, z;

    void SetUp() override
    {
        a = m.New_var_last("a");
        b = m.New_var_last("b");
        c = m.New_var_last("c");
        z = m.New_var_last("z");
    }
    bdd n(const bdd& f) { return m.Bdd_not(f); }
    bdd ab_c() { return m.Bdd_or(m.Bdd_and(a, n(b)), c); } // a AND NOT b OR c
};

} // namespace

TEST_F(Text, SumOfProductsStrings)
{
    EXPECT_EQ(m.Print_sop_to_String(" + ", " . ", "!", "", ab_c(), 1), "a . !b + c");
    EXPECT_EQ(m.Print_sop_to_String(" + ", ".", "", "'", ab_c(), 1), "a.b' + c");
    EXPECT_EQ(m.Print_sop_to_String(" + ", " . ", "!", "", m.Bdd_or(a, b), 0), "a + !a . b");
    EXPECT_EQ(m.Print_sop_to_String_pref_suff(" | ", "&", "~(", ")", ab_c(), "in.", "_s", 1),
              "in.a_s&~(in.b_s) | in.c_s");
    std::ostringstream out;
    m.Print_sop(" or ", " and ", "not ", "", out, ab_c(), 1);
    out << "|";
    m.Print_sop_pref_suff("+", "*", "/", "", out, m.Bdd_and(n(a), c), "<", ">", 0);
    EXPECT_EQ(out.str(), "a and not b or c|/<a>*<c>");
}

TEST_F(Text, ConstantsWhateverTheKind)
{
    for (int kind : {0, 1, 2, 3}) {
        std::ostringstream cat;
        EXPECT_EQ(m.Print_sop_to_String(" + ", " . ", "!", "", m.Bdd_zero(), kind), "0");
        EXPECT_EQ(m.Print_sop_to_String(" + ", " . ", "!", "", m.Bdd_one(), kind), "1");
        m.Print_cat_sop(" || ", " && ", "!", "", cat, m.Bdd_zero(), "v", kind);
        m.Print_cat_sop(" || ", " && ", "!", "", cat, m.Bdd_one(), "v", kind);
        EXPECT_EQ(cat.str(), "01");
        EXPECT_EQ(m.Print_sop_to_ESTEREL_String(m.Bdd_zero(), kind), "not tick");
        EXPECT_EQ(m.Print_sop_to_ESTEREL_String(m.Bdd_one(), kind), "tick");
        EXPECT_EQ(m.Print_sop_to_VHDL_String(m.Bdd_zero(), kind), "'0'");
        EXPECT_EQ(m.Print_sop_to_VHDL_String(m.Bdd_one(), kind), "'1'");
    }
}

// Within a scope the covers are kept: the texts are those printed without it, every kind and
// each polarity of a function get their own cover, and asking again creates no node.
TEST_F(Text, KeptCoversPrintAsComputedOnes)
{
    const bdd f = m.Bdd_or(m.Bdd_and(a, m.Bdd_or(b, c)), m.Bdd_and(n(a), m.Bdd_and(n(b), c)));
    const bdd fs[] = {f, n(f), ab_c(), n(ab_c()), m.Bdd_one(), m.Bdd_zero(), a};
    std::vector<std::string> alone;
    for (const bdd& g : fs)
        for (int kind : {0, 1, 2, 3}) alone.push_back(m.Print_sop_to_String(" + ", " . ", "!", "", g, kind));
    bddpp_manager other;
    bdd x = other.New_var_last("x");
    cover_memo_scope outer(&m);
    {
        cover_memo_scope foreign(&other); // the innermost scope of m is still outer
        EXPECT_EQ(cover_memo_scope::of(&m), &outer);
        EXPECT_EQ(cover_memo_scope::of(&other), &foreign);
        EXPECT_EQ(other.Print_sop_to_String(" + ", " . ", "!", "", other.Bdd_not(x), 0), "!x");
        for (int round = 0; round < 2; ++round) {
            long created = m.Bdd_total_size();
            size_t i = 0;
            for (const bdd& g : fs)
                for (int kind : {0, 1, 2, 3})
                    EXPECT_EQ(m.Print_sop_to_String(" + ", " . ", "!", "", g, kind), alone[i++]) << round;
            EXPECT_EQ(m.Bdd_total_size(), created) << round; // the covers were made before the scope
        }
    }
    EXPECT_EQ(cover_memo_scope::of(&other), nullptr);
    // once a.b is taken, what is left of f no longer reads a
    EXPECT_EQ(m.Print_sop_to_ESTEREL_String(f, 0), "a and b or not b and c");
}

// The sums of a style are kept within a scope and copied by a later style of the same words and
// names; a style of other names or words, or one made outside the scope, writes its own.
TEST_F(Text, KeptSumsFollowTheWordsAndNames)
{
    const bdd fs[] = {ab_c(), n(ab_c()), m.Bdd_and(a, c), m.Bdd_one(), m.Bdd_zero()};
    auto sums = [&](const sop_style& style) {
        text_room text;
        for (const bdd& f : fs) {
            style.append(text, f, 1);
            text += '|';
        }
        return std::string(std::string_view(text));
    };
    bdd_naming same(&m), renamed(&m), verbatim(&m);
    same.name_var("c", "c"); // a change to the manager's own name is no change
    renamed.name_var("c", "c_");
    verbatim.read_var("c", "*c");
    cover_memo_scope scope(&m);
    EXPECT_EQ(sums(sop_style(&m, " or ", " and ", "not ", "", nullptr)),
              "a and not b or c|b and not c or not a and not c|a and c|1|0|");
    EXPECT_EQ(sums(sop_style(&m, " or ", " and ", "not ", "", &same)),
              "a and not b or c|b and not c or not a and not c|a and c|1|0|");
    EXPECT_EQ(sums(sop_style(&m, " or ", " and ", "not ", "", &renamed)),
              "a and not b or c_|b and not c_ or not a and not c_|a and c_|1|0|");
    EXPECT_EQ(sums(sop_style(&m, " or ", " and ", "not ", "", &verbatim)),
              "a and not b or *c|b and not *c or not a and not *c|a and *c|1|0|");
    EXPECT_EQ(sums(sop_style(&m, " + ", ".", "!", "", nullptr)), "a.!b + c|b.!c + !a.!c|a.c|1|0|");
    EXPECT_EQ(sums(sop_style(&m, " or ", " and ", "not ", "", nullptr)),
              "a and not b or c|b and not c or not a and not c|a and c|1|0|");
}

TEST_F(Text, EsterelVhdlAndIndexedForms)
{
    EXPECT_EQ(m.Print_sop_to_ESTEREL_String(ab_c(), 1), "a and not b or c");
    EXPECT_EQ(m.Print_sop_to_VHDL_String(ab_c(), 1), "(a and not b) or (c)");
    EXPECT_EQ(m.Print_sop_to_VHDL_String(m.Bdd_and(n(a), b), 0), "not a and b");
    EXPECT_EQ(m.Print_sop_to_VHDL_String(m.Bdd_or(a, b), 1), "(a) or (b)");
    EXPECT_EQ(m.Print_sop_to_VHDL_String(n(c), 2), "not c");
    std::ostringstream out;
    m.Print_cat_sop(" || ", " && ", "!", "", out, m.Bdd_or(a, b), "v", 1);
    out << "|";
    m.Print_cat_sop(" || ", " && ", "!", "", out, ab_c(), "in", 1);
    EXPECT_EQ(out.str(), "v[0] || v[1]|in[0] && !in[1] || in[2]");
    std::ostringstream debug;
    Print_debug_bdd(debug, m.Bdd_or(a, b));
    EXPECT_EQ(debug.str(), "a + !a . b");
}

TEST_F(Text, BlifAndLecTables)
{
    bdd x = a, y = b;
    bdd xor_xy = m.Bdd_or(m.Bdd_and(x, n(y)), m.Bdd_and(n(x), y));
    std::ostringstream blif;
    m.BLIF_print(blif, z, xor_xy, 0);
    m.BLIF_print(blif, z, m.Bdd_zero(), 0);
    m.BLIF_print(blif, z, m.Bdd_one(), 2);
    EXPECT_EQ(blif.str(), R"(.names  a b z
10 1
01 1
.names  z
0
.names  z
1
)");
    long num[4] = {3, 4, 0, 7};
    std::ostringstream lec;
    m.LEC_print(lec, num, z, xor_xy, 0);
    m.LEC_print(lec, num, z, m.Bdd_zero(), 1);
    EXPECT_EQ(lec.str(), "3 4 7:\n1 0  1,\n0 1  1;\n7:\n0;\n");
}

TEST_F(Text, PlaRowsCoverTheWholeSupport)
{
    std::ostringstream out;
    m.PLA_print_pref_suff(out, z, m.Bdd_or(a, c), "<", ">", "H ", "|", "/", ".", "", 1);
    EXPECT_EQ(out.str(), "H <a> <c> <z>|1- 1/-1 1.");
    long num[4] = {10, 11, 12, 13};
    std::ostringstream renamed;
    m.PLA_print_pref_suff_with_renaming(renamed, z, m.Bdd_and(b, n(c)), "v", "", "", "=", ";", "!",
                                        ",", 1, num);
    EXPECT_EQ(renamed.str(), "v11 v12 v13=1,0, 1!");
}

TEST(TextOrder, TablesNameInputsByOrderPosition)
{
    bddpp_manager m;
    bdd a = m.New_var_last("a");
    bdd b = m.New_var_last("b");
    bdd out = m.New_var_last("out");
    bdd c = m.New_var_before(0, "c"); // order c, a, b, out; ids a 0, b 1, out 2, c 3
    std::ostringstream blif;
    m.BLIF_print(blif, out, m.Bdd_and(b, m.Bdd_and(m.Bdd_not(c), a)), 1);
    EXPECT_EQ(blif.str(), ".names  c a b out\n011 1\n");
    EXPECT_EQ(m.Print_sop_to_String("+", ".", "!", "", m.Bdd_or(b, c), 1), "c+b");
}

TEST(BddTextDeathTest, PrintersNeedAFunctionOfTheirManager)
{
    bddpp_manager m, other;
    bdd x = other.New_var_last("x");
    EXPECT_EXIT(m.Print_sop_to_String("+", ".", "!", "", x, 0), ::testing::ExitedWithCode(1),
                "ERROR in bddpp_manager::Bdd_sop\\(\\):\n   bdd : ");
    std::ostringstream out;
    EXPECT_EXIT(Print_debug_bdd(out, bdd()), ::testing::ExitedWithCode(1), "is not allocated or associated");
}
