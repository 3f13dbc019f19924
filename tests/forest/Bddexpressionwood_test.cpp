// The forest core: capacity, growth, registration, removal, lookups and the reader-set check.
#include <functional>
#include <sstream>

#include "tests/support/forest_fixture.h"

TEST(ForestCapacity, PowerOfTwoAtLeastOne)
{
    const long counts[][2] = {{0, 1}, {1, 1}, {2, 2}, {5, 8}, {8, 8}, {9, 16}};
    for (const auto& c : counts) {
        bddpp_manager* m = new bddpp_manager();
        for (long k = 0; k < c[0]; k++) m->New_var_last("v" + std::to_string(k));
        Bddexpressionwood w(m);
        EXPECT_EQ(w.arrays_length, c[1]) << c[0] << " variables";
        EXPECT_EQ(w.Nb_bdd_vars(), c[0]);
        EXPECT_EQ(w.Nb_level(), 0);
        EXPECT_EQ(w.exp_number(), 0);
    }
}

TEST(ForestCapacity, NinthVariableDoublesAndKeepsTheSlots)
{
    small_forest f({"a", "b", "c", "x", "y", "z", "u", "t"});
    EXPECT_EQ(f.w.arrays_length, 8);
    f.define("x", f.AND(f.v("a"), f.v("b")));
    f.define("t", f.OR(f.v("x"), f.v("c")));
    f.w.late_dates[2] = 5;
    Bddexpression* x = f.eq("x");
    f.w.New_var_last("s");
    EXPECT_EQ(f.w.arrays_length, 16);
    EXPECT_EQ(f.w.Nb_bdd_vars(), 9);
    EXPECT_EQ(f.w.exp_table[3], x);
    EXPECT_EQ(f.w.readers[3], (std::set<long>{7}));
    EXPECT_EQ(f.w.readers[0], (std::set<long>{3}));
    EXPECT_EQ(f.w.late_dates[2], 5);
    EXPECT_EQ(f.w.exp_table[8], nullptr);
    EXPECT_TRUE(f.w.readers[8].empty());
    EXPECT_EQ(f.w.late_dates[8], 0);
    EXPECT_EQ(x->dependances, (std::set<long>{0, 1}));
}

TEST(ForestRegistration, ReplacementKeepsTheOldEquation)
{
    small_forest f({"a", "b", "x"});
    Bddexpression* first = f.define("x", f.NOT(f.v("a")));
    EXPECT_EQ(f.w.readers[0], (std::set<long>{2}));
    Bddexpression* second = f.define("x", f.v("b"));
    EXPECT_EQ(f.w.exp_table[2], second);
    EXPECT_TRUE(f.w.readers[0].empty());
    EXPECT_EQ(f.w.readers[1], (std::set<long>{2}));
    EXPECT_EQ(f.w.expression_ids, (std::set<long>{2}));
    EXPECT_EQ(first->dependances, (std::set<long>{0}));
    delete first; // not owned by the forest any more
}

TEST(ForestRegistration, ConstantRightMemberReadsNothing)
{
    small_forest f({"a", "x"});
    Bddexpression* x = f.define("x", f.m->Bdd_one());
    EXPECT_EQ(f.w.exp_table[1], x);
    EXPECT_TRUE(x->dependances.empty());
    EXPECT_TRUE(f.w.readers[0].empty());
    EXPECT_TRUE(f.w.readers[1].empty());
}

TEST(ForestRegistration, Refusals)
{
    small_forest f({"a", "x"});
    const std::string head = "INTERNAL ERROR in Bddexpressionwood::learn_expression():\n";
    testing::internal::CaptureStderr();
    Bddexpression* constant = new Bddexpression("k", &f.w, f.m->Bdd_one(), f.v("a"), 0, 0);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), head + "no left member in expression\n\n");
    testing::internal::CaptureStderr();
    f.w.learn_expression(nullptr);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), head + "no expression !!!\n\n");
    EXPECT_EQ(f.w.exp_number(), 0);
    delete constant;
}

TEST(ForestRegistration, AbstractEquationsAndLevels)
{
    small_forest f({"a", "b", "x", "y"});
    std::set<long> R{3}, D{0, 1};
    Bddexpression* x = new Bddexpression(2, &f.w, &R, &D, "g", 4, 6);
    EXPECT_EQ(x->name, "x");
    EXPECT_EQ(x->abstraction, 1);
    EXPECT_EQ(x->exp_def, "g");
    EXPECT_EQ(f.w.readers[2], (std::set<long>{3}));
    EXPECT_EQ(f.w.readers[0], (std::set<long>{2}));
    EXPECT_EQ(f.w.late_dates[2], 6);
    EXPECT_EQ(f.w.Nb_level(), 4); // raised at registration, before the late date was set
    EXPECT_EQ(x->getLateDate(), 6);
}

TEST(ForestRemoval, StillReadThenFree)
{
    small_forest f({"a", "x", "y"});
    f.define("x", f.NOT(f.v("a")));
    f.define("y", f.NOT(f.v("x")));
    f.w.late_dates[1] = 3;
    f.w.forget_expression_by_bddid(1);
    EXPECT_NE(f.w.exp_table[1], nullptr);
    f.w.forget_expression_by_bddid(2);
    EXPECT_EQ(f.w.exp_table[2], nullptr);
    EXPECT_TRUE(f.w.readers[1].empty());
    f.w.forget_expression_by_bddid(1);
    EXPECT_EQ(f.w.exp_table[1], nullptr);
    EXPECT_TRUE(f.w.readers[0].empty());
    EXPECT_EQ(f.w.late_dates[1], 0);
    EXPECT_EQ(f.w.exp_number(), 0);
    testing::internal::CaptureStderr();
    f.w.forget_expression_by_bddid(3);
    f.w.absolute_forget_expression_by_bddid(-1);
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "Error in Bddexpressionwood::forget_expression_by_bddid(): \n3 value not found ...\n"
              "Error in Bddexpressionwood::forget_expression_by_bddid(): \n-1 value not found ...\n");
}

TEST(ForestRemoval, AbsoluteForgetLeavesTheReaderSets)
{
    small_forest f({"a", "b", "x", "y"});
    f.define("x", f.AND(f.v("a"), f.v("b")));
    f.define("y", f.NOT(f.v("x")));
    f.w.late_dates[3] = 2;
    std::ostringstream before;
    f.w.coherence_dependances_check(before);
    EXPECT_EQ(before.str(), "");
    f.w.absolute_forget_expression_by_bddid(3);
    EXPECT_EQ(f.w.exp_table[3], nullptr);
    EXPECT_EQ(f.w.late_dates[3], 2);
    EXPECT_EQ(f.w.expression_ids, (std::set<long>{2}));
    std::ostringstream after;
    f.w.coherence_dependances_check(after);
    EXPECT_EQ(after.str(), "incoherence sur table des amonts pour la variable 2: calcule: {} trouve{3}\n");
}

TEST(ForestRemoval, Clean)
{
    small_forest f({"a", "k", "l", "x"});
    f.define("k", f.m->Bdd_one());
    f.define("l", f.m->Bdd_zero());
    f.define("x", f.v("a"));
    std::list<long> keep{2};
    f.w.clean(keep);
    EXPECT_EQ(f.w.expression_ids, (std::set<long>{2, 3}));
    f.w.expression_ids.insert(0); // an id without its equation
    std::set<long> none;
    testing::internal::CaptureStderr();
    f.w.clean(none);
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "Warning in Bddexpressionwood::clean():  Expression for id var 0 should be existed ...\n");
    EXPECT_EQ(f.w.expression_ids, (std::set<long>{0, 3}));
}

TEST(ForestInsertion, BeforePositionZero)
{
    small_forest f({"x", "a", "y"});
    f.define("x", f.NOT(f.v("a")));
    f.define("y", f.AND(f.v("x"), f.v("a")));
    f.w.compute_dates();
    Bddexpression* x = f.eq("x");
    Bddexpression* y = f.eq("y");
    bdd n = f.w.New_var_before_by_index(0, "n");
    EXPECT_EQ(f.m->Bdd_if_index(n), 0);
    EXPECT_EQ(f.w.Nb_bdd_vars(), 4);
    EXPECT_EQ(f.w.exp_table[0], nullptr);
    EXPECT_EQ(f.w.exp_table[1], x);
    EXPECT_EQ(f.w.exp_table[3], y);
    EXPECT_EQ(f.w.expression_ids, (std::set<long>{1, 3}));
    EXPECT_EQ(f.w.readers[1], (std::set<long>{3}));
    EXPECT_EQ(f.w.readers[2], (std::set<long>{1, 3}));
    EXPECT_EQ(x->dependances, (std::set<long>{2}));
    EXPECT_EQ(y->dependances, (std::set<long>{1, 2}));
    for (long p = 0; p < 4; p++) EXPECT_EQ(f.w.late_dates[p], 0);
    EXPECT_EQ(f.w.exp(1), y);
    std::ostringstream check;
    f.w.coherence_dependances_check(check);
    EXPECT_EQ(check.str(), "");
}

TEST(ForestInsertion, AfterAndRefusal)
{
    small_forest f({"a", "x"});
    f.define("x", f.NOT(f.v("a")));
    f.w.New_var_after_by_index(0, "m");
    EXPECT_EQ(f.pos("m"), 1);
    EXPECT_EQ(f.w.exp_table[2]->name, "x");
    EXPECT_EQ(f.w.readers[0], (std::set<long>{2}));
    f.w.New_var_after_by_bdd(f.v("x"), "z");
    EXPECT_EQ(f.pos("z"), 3);
    testing::internal::CaptureStderr();
    f.w.New_var_before_by_bdd(f.v("a"), "m"); // known name: no new variable
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "Internal error in update_bdd_vars(nouv_index):\nawaited 5 variables, found: 4\n");
}

TEST(ForestInsertion, BeforeAVariableGrowsTheCapacity)
{
    small_forest f({"a", "b", "x", "y"});
    EXPECT_EQ(f.w.arrays_length, 4);
    Bddexpression* x = f.define("x", f.AND(f.v("a"), f.v("b")));
    Bddexpression* y = f.define("y", f.NOT(f.v("x")));
    f.w.late_dates[3] = 6;
    bdd n = f.w.New_var_before_by_bdd(f.v("x"), "n");
    EXPECT_EQ(f.m->Bdd_if_index(n), 2);
    EXPECT_EQ(f.w.arrays_length, 8);
    EXPECT_EQ(f.w.Nb_bdd_vars(), 5);
    EXPECT_EQ(f.w.exp_table[2], nullptr);
    EXPECT_EQ(f.w.exp_table[3], x);
    EXPECT_EQ(f.w.exp_table[4], y);
    EXPECT_EQ(f.w.expression_ids, (std::set<long>{3, 4}));
    EXPECT_EQ(f.w.readers[0], (std::set<long>{3}));
    EXPECT_EQ(f.w.readers[3], (std::set<long>{4}));
    EXPECT_EQ(y->dependances, (std::set<long>{3}));
    EXPECT_EQ(f.w.late_dates[4], 0);
    EXPECT_EQ(f.w.Index_new_var_last("z"), 5);
    EXPECT_EQ(f.w.Nb_bdd_vars(), 6);
    EXPECT_EQ(f.w.exp_table[5], nullptr);
    std::ostringstream check;
    f.w.coherence_dependances_check(check);
    EXPECT_EQ(check.str(), "");
}

TEST(ForestLookups, ByNumberPositionAndName)
{
    small_forest f({"x", "a", "y"});
    Bddexpression* x = f.define("x", f.v("a"));
    Bddexpression* y = f.define("y", f.NOT(f.v("a")));
    y->name = "why";
    EXPECT_EQ(f.w.exp(0), x);
    EXPECT_EQ(f.w.exp(1), y);
    EXPECT_EQ(f.w.exp_by_index(2), y);
    EXPECT_EQ(f.w.exp_by_index(1), nullptr);
    EXPECT_EQ(f.w.exp_by_bdd(f.NOT(f.v("y"))), y);
    EXPECT_EQ(f.w.exp_by_bddname("y"), y);
    EXPECT_EQ(f.w.exp_by_name("why"), y);
    EXPECT_EQ(f.w.Index_exp_by_name("why"), 2);
    EXPECT_EQ(f.w.Index_exp_by_name("x"), 0);
    EXPECT_EQ(f.w.Name_exp_by_index(2), "why");
    EXPECT_EQ(f.w.Name_exp_by_index(1), "");
    EXPECT_EQ(f.w.Name_exp_by_bdd(f.v("y")), "why");
    EXPECT_EQ(f.w.Bddname_exp_by_index(2), "y");
    EXPECT_EQ(f.w.Bddname_exp_by_bdd(f.v("a")), "a");
    EXPECT_EQ(f.w.Set_of_index_used_variables(), (std::set<long>{0, 1, 2}));
    EXPECT_EQ(f.w.Exp_table()[0], x);
}

TEST(ForestLookups, Messages)
{
    small_forest f({"x", "a"});
    f.define("x", f.v("a"));
    struct {
        std::function<bool()> call; // true when the neutral result came back
        std::string message;
    } cases[] = {
        {[&] { return f.w.exp(1) == nullptr; },
         "ERROR in Bddexpressionwood::exp(): 1 bad number ...\npossible: {0}\n"},
        {[&] { return f.w.exp(-1) == nullptr; },
         "ERROR in Bddexpressionwood::exp(): -1 bad number ...\npossible: {0}\n"},
        {[&] { return f.w.exp_by_index(2) == nullptr; }, "ERROR in Bddexpressionwood::exp_by_index : id `2' not found!\n"},
        {[&] { return f.w.exp_by_bdd(f.m->Bdd_one()) == nullptr; },
         "ERROR in Bddexpressionwood::exp_by_bdd : bdd not found!\n"},
        {[&] { return f.w.exp_by_bddname("q") == nullptr; },
         "ERROR in Bddexpressionwood::exp_by_bddname : `q' not found!\n"},
        {[&] { return f.w.exp_by_name("q") == nullptr; }, "ERROR in Bddexpressionwood::exp_by_name : `q' not found!\n"},
        {[&] { return f.w.Index_exp_by_name("q") == -1; },
         "ERROR in Bddexpressionwood::Index_exp_by_name : `q' not found!\n"},
        {[&] { return f.w.Name_exp_by_index(7) == ""; },
         "ERROR: in Bddexpressionwood::Name_exp_by_index(): index 7 not found!\n"},
        {[&] { return f.w.Name_exp_by_bdd(f.m->Bdd_zero()) == ""; },
         "ERROR: in Bddexpressionwood::Name_exp_by_bdd(): bdd not found!\n"},
        {[&] { return f.w.Bddname_exp_by_index(-2) == ""; },
         "ERROR: in Bddexpressionwood::Bddname_exp_by_index(): id -2 not found!\n"},
        {[&] {
             f.w.delete_prefixe_names("p_");
             return true;
         },
         "a faire\n"},
    };
    for (auto& c : cases) {
        testing::internal::CaptureStderr();
        EXPECT_TRUE(c.call());
        EXPECT_EQ(testing::internal::GetCapturedStderr(), c.message);
    }
}

TEST(ForestLookups, UsedVariablesWithAMissingEquation)
{
    small_forest f({"a", "x"});
    f.define("x", f.v("a"));
    f.w.expression_ids.insert(0);
    testing::internal::CaptureStderr();
    EXPECT_EQ(f.w.Set_of_index_used_variables(), (std::set<long>{0, 1}));
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "internal error in Bddexpressionwood::Set_of_index_used_variables(): expression not found!!!"
              "   about id:0\n");
}

TEST(ForestEdits, ComplementAndGlobalRebuild)
{
    small_forest f({"a", "b", "x"});
    Bddexpression* x = f.define("x", f.AND(f.v("a"), f.v("b")));
    f.w.append_not_expression(2);
    f.w.append_not_expression(0);
    f.w.append_not_expression(9);
    EXPECT_EQ(x->bdd_exp, f.NOT(f.AND(f.v("a"), f.v("b"))));
    x->bdd_exp = f.v("b"); // behind the forest's back
    f.w.readers[0].insert(1);
    f.w.internal_global_build_dependances();
    EXPECT_EQ(x->dependances, (std::set<long>{1}));
    EXPECT_TRUE(f.w.readers[0].empty());
    EXPECT_EQ(f.w.readers[1], (std::set<long>{2}));
}

TEST(ForestCheck, ReportsEveryDifference)
{
    small_forest f({"a", "b", "x"});
    f.define("x", f.AND(f.v("a"), f.v("b")));
    f.w.readers[1].clear();
    f.w.readers[2].insert(0);
    std::ostringstream os;
    f.w.coherence_dependances_check(os);
    EXPECT_EQ(os.str(),
              "incoherence sur table des amonts pour la variable 1: calcule: {2} trouve{}\n"
              "incoherence sur table des amonts pour la variable 2: calcule: {} trouve{0}\n");
}

TEST(ForestExpIndex, FollowsEveryChange)
{
    std::mt19937 rng(3);
    small_forest f;
    random_acyclic_forest(f, 3, 50, rng);
    for (int k = 0; k < 20; k++) f.w.forget_expression_by_bddid(3 + rng() % 50);
    std::vector<Bddexpression*> expected;
    for (long p : f.w.expression_ids) expected.push_back(f.w.exp_table[p]);
    ASSERT_EQ(f.w.exp_number(), static_cast<int>(expected.size()));
    for (int k = 0; k < f.w.exp_number(); k++) EXPECT_EQ(f.w.exp(k), expected[k]);
}
