// The variable table: creation, growth, insertion, lookups, names and supports.
#include <gtest/gtest.h>

#include "tests/support/bdd_model.h"

namespace {

std::string captured_stderr_of(void (*f)(bddpp_manager&), bddpp_manager& m)
{
    testing::internal::CaptureStderr();
    f(m);
    return testing::internal::GetCapturedStderr();
}

TEST(BddVars, CreationAtTheEndAndExistingNames)
{
    bddpp_manager m;
    bdd a = m.New_var_last("a");
    bdd b = m.New_var_last("b");
    EXPECT_EQ(a.node_ptr->number, 2);
    EXPECT_EQ(b.node_ptr->number, 3);
    EXPECT_EQ(a.node_ptr->then_node, m.terminal);
    EXPECT_EQ(a.node_ptr->else_node, m.terminal);
    EXPECT_EQ(a.node_ptr->else_link, -1);
    EXPECT_EQ(a.node_ptr->refs, 1); // the handle only
    EXPECT_EQ(m.assoc_table[1], b.node_ptr);
    EXPECT_EQ(m.New_var_last("a"), a);
    EXPECT_EQ(m.nvars, 2);
    EXPECT_EQ(m.Bdd_total_size(), 4);
}

TEST(BddVars, TheSeventeenthVariableDoublesTheTables)
{
    bddpp_manager m;
    std::vector<bdd> v = make_vars(m, 16);
    EXPECT_EQ(m.capacity, 16);
    bdd last = m.New_var_last("x16");
    EXPECT_EQ(m.capacity, 32);
    for (int i = 0; i < 17; ++i) {
        EXPECT_EQ(m.Name_var_by_id(i), "x" + std::to_string(i));
        EXPECT_EQ(m.Id_var_by_name("x" + std::to_string(i)), i);
        EXPECT_EQ(m.Index_var_by_name("x" + std::to_string(i)), i);
        EXPECT_EQ(m.Bdd_var_by_id(i), i < 16 ? v[i] : last);
    }
}

TEST(BddVars, InsertionBeforeAndAfterMovesPositionsNotIds)
{
    bddpp_manager m;
    bdd a = m.New_var_last("a"), b = m.New_var_last("b"), c = m.New_var_last("c");
    bdd f = m.Bdd_or(m.Bdd_and(a, b), c);
    table before = table_of(m, f, 3);
    bdd n = m.New_var_before(1, "n");
    EXPECT_EQ(m.Bdd_if_id(n), 3);
    EXPECT_EQ(m.Bdd_if_index(n), 1);
    EXPECT_EQ(m.Bdd_if_index(a), 0);
    EXPECT_EQ(m.Bdd_if_index(b), 2);
    EXPECT_EQ(m.Bdd_if_index(c), 3);
    EXPECT_EQ(m.Name_var_by_index(1), "n");
    EXPECT_TRUE(m.Bdd_is_correct(f));
    // f does not depend on n (position 1): its table over (a, b, c) is unchanged
    for (unsigned x = 0; x < 8; ++x) {
        unsigned spread = (x & 1) | ((x & 6) << 1);
        EXPECT_EQ(eval_bdd(m, f, spread), before[x]);
    }
    bdd top = m.New_var_after(-1, "top");
    EXPECT_EQ(m.Bdd_if_index(top), 0);
    bdd end = m.New_var_after(m.nvars - 1, "end");
    EXPECT_EQ(m.Bdd_if_index(end), m.nvars - 1);
    bdd after_a = m.New_var_after(a, "after_a");
    EXPECT_EQ(m.Bdd_if_index(after_a), 2);
    bddpp_manager empty;
    EXPECT_EQ(empty.Bdd_if_index(empty.New_var_after(-1, "first")), 0);
    testing::internal::CaptureStderr();
    EXPECT_EQ(m.New_node_var_before(m.nvars, "bad"), nullptr);
    EXPECT_EQ(m.New_node_var_before(-1, "bad"), nullptr);
    EXPECT_EQ(m.New_node_var_after(m.nvars, "bad"), nullptr);
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "Error in new_node_var_before(): abnormal index ...\n"
              "Error in new_node_var_before(): abnormal index ...\n"
              "Error in new_node_var_after(): abnormal id ...\n");
}

TEST(BddVars, LookupsAndTheirNeutralResults)
{
    bddpp_manager m;
    bdd x = m.New_var_last("x"), y = m.New_var_last("y");
    testing::internal::CaptureStderr();
    EXPECT_EQ(m.Bdd_var_by_index(-1), m.Bdd_one());
    EXPECT_EQ(m.Bdd_var_by_index(2), bdd());
    EXPECT_EQ(m.Bdd_var_by_id(2), m.Bdd_zero());
    EXPECT_EQ(m.Bdd_if(m.Bdd_one()), m.Bdd_zero());
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "calling bddpp_manager::Bdd_var_by_index() with index= 2 :out of range!\n"
              "calling bddpp_manager::Bdd_var_by_id() with id= 2 :out of range!\n"
              "\ncalling bddpp_manager::Bdd_if() with bdd index= -1 :out of range!\n");
    EXPECT_EQ(m.Bdd_var_by_name("nope"), m.Bdd_zero());
    EXPECT_EQ(m.Bdd_var_by_name("y"), y);
    EXPECT_EQ(m.Index_var_by_name("nope"), -1);
    EXPECT_EQ(m.Id_var_by_name("nope"), -1);
    bdd f = m.Bdd_and(m.Bdd_not(x), y);
    EXPECT_EQ(m.Bdd_if(f), x);
    EXPECT_EQ(m.Bdd_if_id(m.Bdd_zero()), -1);
    EXPECT_EQ(m.Bdd_if_index(m.Bdd_one()), -1);
    EXPECT_EQ(m.Id_var_by_bdd(y), 1);
    EXPECT_EQ(m.Index_var_by_bdd(f), 0);
    EXPECT_EQ(m.Name_var_by_bdd(m.Bdd_one()), "1");
    EXPECT_EQ(m.Name_var_by_bdd(m.Bdd_zero()), "0");
    EXPECT_EQ(m.Name_var_by_bdd(m.Bdd_not(y)), "y");
    bddpp_manager other;
    bdd foreign = other.New_var_last("x");
    testing::internal::CaptureStderr();
    EXPECT_EQ(m.Bdd_if_id(foreign), -3);
    EXPECT_EQ(m.Bdd_if_index(foreign), -3);
    EXPECT_EQ(m.set_of_id_depend_on(foreign), std::set<long>());
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "ERROR in bddpp_manager::Bdd_if_id(): bdd of another manager or not initialized\n"
              "ERROR in bddpp_manager::Bdd_if_index(): bdd of another manager or not initialized\n"
              "Warning: call  bddpp_manager::set_of_index_depend_on() with a bad manager\n");
}

// A function of many nodes: the positions of its support, past the short list of nodes met.
TEST(BddVars, SupportOfALargeFunction)
{
    bddpp_manager m;
    std::vector<bdd> v;
    for (int i = 0; i < 150; ++i) v.push_back(m.New_var_last("v" + std::to_string(i)));
    bdd f = m.Bdd_zero();
    std::set<long> expected;
    for (int i = 0; i + 1 < 150; i += 3) {
        f = m.Bdd_or(f, m.Bdd_and(v[i], m.Bdd_not(v[i + 1])));
        expected.insert(i);
        expected.insert(i + 1);
    }
    EXPECT_EQ(m.set_of_index_depend_on(f), expected);
    EXPECT_EQ(m.set_of_index_depend_on(v[5]), std::set<long>({5}));
}

// Functions of one node over literal nodes and constants, ids out of position order: their
// variable and their children's.
TEST(BddVars, SupportOfANodeOverLiterals)
{
    bddpp_manager m;
    bdd a = m.New_var_last("a"), b = m.New_var_last("b");
    bdd c = m.New_var_before(0, "c"); // id 2 at position 0
    EXPECT_EQ(m.set_of_index_depend_on(m.Bdd_and(a, b)), std::set<long>({1, 2}));
    EXPECT_EQ(m.set_of_index_depend_on(m.Bdd_or(m.Bdd_not(c), a)), std::set<long>({0, 1}));
    EXPECT_EQ(m.set_of_index_depend_on(m.Bdd_xor(c, b)), std::set<long>({0, 2}));
    EXPECT_EQ(m.set_of_index_depend_on(m.Bdd_not(b)), std::set<long>({2}));
    EXPECT_EQ(m.set_of_index_depend_on(m.Bdd_one()), std::set<long>());
    // a node with a literal child and a child of two levels: the whole walk
    bdd f = m.Bdd_ite(c, a, m.Bdd_and(a, b));
    EXPECT_EQ(m.set_of_index_depend_on(f), std::set<long>({0, 1, 2}));
    bdd g = m.Bdd_ite(c, m.Bdd_xor(a, b), b);
    EXPECT_EQ(m.set_of_index_depend_on(g), std::set<long>({0, 1, 2}));
}

TEST(BddVars, SupportsAndDependence)
{
    bddpp_manager m;
    bdd a = m.New_var_last("a"), b = m.New_var_last("b"), c = m.New_var_last("c");
    bdd n = m.New_var_before(0, "n"); // id 3 at position 0
    bdd f = m.Bdd_or(m.Bdd_and(n, b), c);
    EXPECT_EQ(m.set_of_id_depend_on(f), std::set<long>({1, 2, 3}));
    EXPECT_EQ(m.set_of_index_depend_on(f), std::set<long>({0, 2, 3}));
    int vals[4] = {7, 7, 7, 7};
    m.Present_variables(f, vals);
    EXPECT_EQ(std::vector<int>(vals, vals + 4), std::vector<int>({1, 0, 1, 1}));
    EXPECT_EQ(m.exists_common_variables(f, a), 0);
    EXPECT_EQ(m.exists_common_variables(f, m.Bdd_or(a, c)), 1);
    EXPECT_EQ(m.Bdd_depends_on(f, b), 1);
    EXPECT_EQ(m.Bdd_depends_on(f, m.Bdd_not(a)), 0);
    EXPECT_EQ(m.Bdd_depends_on(m.Bdd_one(), m.Bdd_zero()), 1);
    EXPECT_EQ(m.Bdd_depends_on(m.Bdd_one(), a), 0);
    EXPECT_EQ(m.Variable_awaited(f, 0), 1);
    EXPECT_EQ(m.Variable_awaited(f, 1), 0);
    EXPECT_EQ(m.Variable_awaited(f, 4), 0);
    testing::internal::CaptureStderr();
    EXPECT_EQ(m.Bdd_node_depends_on(nullptr, a.node_ptr), 0);
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "Error in bddpp_manager::Bdd_node_depends_on():  bad Bdd manager or bdd(s) not initialized!\n");
}

TEST(BddVars, Renaming)
{
    bddpp_manager m;
    bdd a = m.New_var_last("a"), b = m.New_var_last("_b");
    m.Rename_var("c", "a");
    EXPECT_EQ(m.Name_var_by_id(0), "c");
    auto clash = [](bddpp_manager& mm) { mm.Rename_var("c", "_b"); };
    EXPECT_EQ(captured_stderr_of(clash, m),
              "in bdd_manager::Rename_var(): WARNING c ALREADY DEFINED !\nrenaming process aborted ...\n");
    auto missing = [](bddpp_manager& mm) { mm.Rename_var("d", "zz"); };
    EXPECT_EQ(captured_stderr_of(missing, m),
              "in bdd_manager::Rename_var(): WARNING zz NOT FOUND !\nrenaming process aborted ...\n");
    EXPECT_EQ(m.Name_var_by_id(1), "_b");
    m.No_begin_underscore_name();
    EXPECT_EQ(m.Name_var_by_index(1), "v_b");
    m.Replace_char_in_all_names('_', '.');
    EXPECT_EQ(m.Name_var_by_id(1), "v.b");
    m.Change_name_by_id(0, "p");
    m.Change_name_by_index(1, "q");
    EXPECT_EQ(m.Name_var_by_bdd(a) + m.Name_var_by_bdd(b), "pq");
    EXPECT_EQ(m.Bdd_var_by_name("a"), a); // the name map keeps the creation names
    std::string names[2] = {"short", std::string(40, 'x')};
    EXPECT_EQ(String_table_memory_size(names, 2), 15 + int(names[1].capacity()));
    EXPECT_EQ(String_table_memory_size(names, 0), 0);
}

TEST(BddVars, ValuesAndStubs)
{
    bddpp_manager m;
    bdd x = m.New_var_last("x");
    EXPECT_EQ(m.Max_number_of_terms(), 1000000);
    EXPECT_EQ(m.Bdd_version(), "4.6");
    EXPECT_EQ(Bdd_version(), "4.6");
    testing::internal::CaptureStderr();
    EXPECT_EQ(m.Bdd_dup(x), x);
    EXPECT_EQ(m.Bdd_swap_vars(x, x, x), m.Bdd_zero());
    m.Bdd_var_reorder();
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "Warning: bddpp_manager::Bdd_dup() is became useless ...\n"
              "bddpp_manager::Bdd_swap_vars(bdd f) A FAIRE\n"
              "bddpp_manager::Bdd_var_reorder(void) A FAIRE\n");
}

TEST(BddVarsDeathTest, NameOfABrokenNodeEndsWithStatusOne)
{
    bddpp_manager m;
    m.New_var_last("x");
    bdd_node* broken = new (&m) bdd_node(&m, m.next_number++, 5, 0, 1, m.terminal, m.terminal);
    bdd b(&m, 1, broken);
    EXPECT_EXIT(m.Name_var_by_bdd(b), ::testing::ExitedWithCode(1),
                "^error in bddpp_manager::Name_var_by_bdd\\(\\)\nbdd defined by: adr manager= 0x[0-9a-f]+, link "
                "type =1, adr node= 0x[0-9a-f]+, node signature: [0-9]+, is not correct ...\n\\(typebdd = 5\\)\n$");
}

} // namespace
