// Right-member setters, closures, critical paths, dependency tree, local substitution and fixpoint dating.
#include <algorithm>
#include <sstream>

#include "tests/support/forest_fixture.h"

TEST(Setters, AppendReadsANewVariable)
{
    small_forest f({"a", "b", "x", "n"});
    Bddexpression* x = f.define("x", f.v("a"));
    x->append_or_exp(f.v("n"));
    EXPECT_EQ(x->bdd_exp, f.OR(f.v("n"), f.v("a")));
    EXPECT_EQ(x->dependances, (std::set<long>{0, 3}));
    EXPECT_EQ(f.w.readers[3], (std::set<long>{2}));
    EXPECT_EQ(f.w.readers[0], (std::set<long>{2}));
    x->append_and_exp(f.v("b"));
    EXPECT_EQ(x->bdd_exp, f.AND(f.v("b"), f.OR(f.v("n"), f.v("a"))));
    x->setBddExp(f.v("b"));
    EXPECT_EQ(x->dependances, (std::set<long>{1}));
    EXPECT_TRUE(f.w.readers[0].empty());
    EXPECT_TRUE(f.w.readers[3].empty());
    EXPECT_EQ(f.w.readers[1], (std::set<long>{2}));
}

TEST(Setters, WithoutAForest)
{
    small_forest f({"a"});
    Bddexpression e;
    testing::internal::CaptureStderr();
    e.setBddExp(f.v("a"));
    e.setBddExp(f.v("a"), 1, 2);
    e.append_or_exp(f.v("a"));
    e.append_and_exp(f.v("a"));
    const std::string tail = "(): \n   no wood defined! Aborted  ...\n";
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "In Bddexpression::setBddExp" + tail + "In Bddexpression::setBddExp" + tail +
                  "In Bddexpression::append_or_exp" + tail + "In Bddexpression::append_and_exp" + tail);
    EXPECT_EQ(e.bdd_exp, bdd());
    EXPECT_EQ(e.early_date, 0);
}

TEST(Setters, DatesFormWalksNothing)
{
    or_and_cycle f;
    testing::internal::CaptureStderr();
    f.eq("x")->setBddExp(f.OR(f.v("a"), f.v("y")), 5, 7);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
    EXPECT_EQ(f.early("x"), 5);
    EXPECT_EQ(f.late("x"), 7);
    EXPECT_EQ(f.w.readers[3], (std::set<long>{2}));
}

TEST(SettersDeathTest, WalkThroughACycleStopsOnASelfDependence)
{
    or_and_cycle f;
    EXPECT_EXIT(f.eq("x")->setBddExp(f.OR(f.v("a"), f.v("y"))), testing::ExitedWithCode(1),
                "^ERROR: detected self-dependance about variable : 3 !!!\nin associated expression: ");
}

TEST(UselessLocal, SubstitutesIntoTheReaders)
{
    small_forest f({"a", "b", "c", "x", "y"});
    Bddexpression* x = f.define("x", f.AND(f.v("a"), f.v("b")));
    Bddexpression* y = f.define("y", f.OR(f.v("x"), f.v("c")));
    f.w.useless_local(3);
    EXPECT_EQ(y->bdd_exp, f.OR(f.AND(f.v("a"), f.v("b")), f.v("c")));
    EXPECT_EQ(y->dependances, (std::set<long>{0, 1, 2}));
    EXPECT_TRUE(f.w.readers[3].empty());
    EXPECT_EQ(f.w.readers[0], (std::set<long>{4}));
    EXPECT_EQ(f.w.readers[1], (std::set<long>{4}));
    EXPECT_EQ(f.w.exp_table[3], x);
    EXPECT_EQ(f.w.expression_ids, (std::set<long>{3, 4}));
    bdd before = y->bdd_exp;
    f.w.useless_local(4); // nothing reads y
    EXPECT_EQ(y->bdd_exp, before);
    f.w.useless_local(0); // no equation
}

TEST(UselessLocalDeathTest, SelfDependence)
{
    small_forest f({"a", "x", "y"});
    f.define("x", f.OR(f.v("a"), f.v("x")));
    f.define("y", f.NOT(f.v("x")));
    EXPECT_EXIT(f.w.useless_local(1), testing::ExitedWithCode(1),
                "^ERROR: detected self-dependance about variable : 1 !!!\nin associated expression: \\(.*\n\n"
                "in associated wood:\nwood Bddexpression statistics:\n");
}

TEST(Closures, TerminateOnACycle)
{
    or_and_cycle f;
    std::set<long> none;
    EXPECT_EQ(f.w.down_dependances(2, 0, none), (std::set<long>{2, 3}));
    EXPECT_EQ(f.w.up_dependances(2, 0, none), (std::set<long>{0, 1, 2, 3}));
    EXPECT_EQ(f.w.down_dependances(0, 0, none), (std::set<long>{2, 3}));
    std::set<long> acc{9};
    EXPECT_EQ(f.w.up_dependances(0, 0, acc), (std::set<long>{9}));
}

TEST(Closures, DepthGuardWarnings)
{
    or_and_cycle f;
    std::set<long> none;
    testing::internal::CaptureStderr();
    EXPECT_EQ(f.w.down_dependances(2, 4, none), (std::set<long>{3}));
    EXPECT_EQ(f.w.up_dependances(2, 4, none), (std::set<long>{0, 3}));
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "WARNING in Bddexpressionwood::down_dependances():\n   possible infinite recusion due to a signals cycle\n"
              "WARNING in Bddexpressionwood::up_dependances():\n   possible infinite recursion due to a signals cycle\n"
              "WARNING in Bddexpressionwood::up_dependances():\n   possible infinite recursion due to a signals cycle\n");
}

TEST(CriticalPaths, SmallExamples)
{
    small_forest f({"a", "b", "x", "y"});
    f.define("x", f.AND(f.v("a"), f.v("b")));
    EXPECT_EQ(f.w.up_critical_path(2, 0, 1), 2);
    f.define("y", f.NOT(f.v("x")));
    EXPECT_EQ(f.w.up_critical_path(3, 0, 1), 3);
    EXPECT_EQ(f.w.up_critical_path(0, 0, 1), 1);
    EXPECT_EQ(f.w.down_critical_path(3, 0, 0), 0);
    EXPECT_EQ(f.w.down_critical_path(2, 0, 0), 1);
    EXPECT_EQ(f.w.down_critical_path(0, 0, 0), 2);
    f.eq("y")->setW(5);
    EXPECT_EQ(f.w.down_critical_path(0, 0, 10), 16);
    EXPECT_EQ(f.w.up_critical_path(3, 0, 0), 6);
}

TEST(CriticalPaths, DownWalkAroundACycle)
{
    or_and_cycle f;
    testing::internal::CaptureStderr();
    EXPECT_EQ(f.w.down_critical_path(2, 0, 0), 4);
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "WARNING in Bddexpressionwood::down_critical_path():\n"
              "   possible infinite recursion due to a signals cycle\n");
}

// Every variable defined: x0 := 1, xk := x(k-1); the chain is one short of the variable count.
TEST(CriticalPaths, DepthGuardAtTheVariableCount)
{
    const long n = 6;
    small_forest f;
    for (long k = 0; k < n; k++) f.w.New_var_last("x" + std::to_string(k));
    new Bddexpression(&f.w, f.m->Bdd_var_by_index(0), f.m->Bdd_one(), 0, 0);
    for (long k = 1; k < n; k++) new Bddexpression(&f.w, f.m->Bdd_var_by_index(k), f.m->Bdd_var_by_index(k - 1), 0, 0);
    testing::internal::CaptureStderr();
    EXPECT_EQ(f.w.down_critical_path(0, 1, 0), n - 1);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
    testing::internal::CaptureStderr();
    EXPECT_EQ(f.w.down_critical_path(0, 2, 0), n - 2);
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "WARNING in Bddexpressionwood::down_critical_path():\n"
              "   possible infinite recursion due to a signals cycle\n");
    // the upward walk reaches x0 at the variable count: the substitution finds nothing to do
    EXPECT_EQ(f.w.up_critical_path(n - 1, 0, 1), n + 1);
    EXPECT_EQ(f.w.up_critical_path(n - 1, 1, 1), n + 1);
    EXPECT_EQ(f.w.exp_table[1]->bdd_exp, f.m->Bdd_var_by_index(0));
}

// The walks as recursions, for comparison.
static long reference_up(Bddexpressionwood& w, long i, long depth, long b)
{
    Bddexpression* e = w.exp_table[i];
    if (e == nullptr) return b;
    long best = e->weight;
    for (long d : e->dependances)
        if (w.exp_table[d] != nullptr) best = std::max(best, reference_up(w, d, depth + 1, e->weight));
    return b + best;
}

static long reference_down(Bddexpressionwood& w, long i, long depth, long a)
{
    long best = 0;
    for (long r : w.readers[i])
        if (w.exp_table[r] != nullptr && depth < w.nb_bdd_vars)
            best = std::max(best, reference_down(w, r, depth + 1, w.exp_table[r]->weight));
    return a + best;
}

TEST(CriticalPaths, RandomWeightedForests)
{
    std::mt19937 rng(11);
    for (int round = 0; round < 40; round++) {
        small_forest f;
        random_acyclic_forest(f, 1 + rng() % 4, 1 + rng() % 14, rng);
        long n = f.w.nb_bdd_vars;
        for (long p : f.w.expression_ids) f.w.exp_table[p]->weight = static_cast<long>(rng() % 8) - 2;
        long first = *f.w.expression_ids.begin(), last = n - 1;
        if (round % 2 == 1 && first != last) { // a cycle: only the downward walk stays free of side effects
            f.w.exp_table[last]->setBddExp(f.OR(f.w.exp_table[last]->bdd_exp, f.m->Bdd_var_by_index(first)), 0, 0);
            f.w.exp_table[first]->setBddExp(f.OR(f.w.exp_table[first]->bdd_exp, f.m->Bdd_var_by_index(last)), 0, 0);
        }
        testing::internal::CaptureStderr();
        for (long i = 0; i < n; i++)
            for (long depth : {0L, 1L, n - 3})
                EXPECT_EQ(f.w.down_critical_path(i, depth, 3), reference_down(f.w, i, depth, 3)) << round;
        testing::internal::GetCapturedStderr();
        if (round % 2 == 1) continue;
        for (long i = 0; i < n; i++) EXPECT_EQ(f.w.up_critical_path(i, 0, 1), reference_up(f.w, i, 0, 1)) << round;
    }
}

TEST(DependencyTree, SharedEquationPrintedOnce)
{
    small_forest f({"a", "x", "y", "z"});
    f.define("x", f.NOT(f.v("a")));
    f.define("y", f.AND(f.v("x"), f.v("a")));
    f.define("z", f.OR(f.v("x"), f.v("y")));
    std::ostringstream os;
    f.w.stat_early_dep(os, 3);
    EXPECT_EQ(os.str(), R"(z (3)
   | x (1)
      | a (0)
   | y (2)
      | a (0) -->
      | x (1) -->
)");
}

TEST(DependencyTree, LongChain)
{
    const long n = 3000;
    small_forest f;
    f.w.New_var_last("a");
    for (long k = 1; k <= n; k++) f.w.New_var_last("x" + std::to_string(k));
    for (long k = 1; k <= n; k++) new Bddexpression(&f.w, f.m->Bdd_var_by_index(k), f.m->Bdd_var_by_index(k - 1), 0, 0);
    std::ostringstream os;
    f.w.stat_early_dep(os, n);
    std::string text = os.str();
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), n + 1);
    EXPECT_NE(text.find(std::string(3 * n, ' ') + "| a (0)\n"), std::string::npos);
}

TEST(VariableChoice, FirstReadEquationByDate)
{
    small_forest f({"a", "b", "c", "x", "y", "z"});
    f.define("x", f.AND(f.v("b"), f.v("c")));
    f.define("y", f.NOT(f.v("x")));
    f.define("z", f.AND(f.v("y"), f.v("a")));
    EXPECT_EQ(f.w.reduce_proposition_by_variable(), 1);
    f.w.compute_dates();
    EXPECT_EQ(f.w.reduce_proposition_by_variable(), 1);
    f.eq("x")->early_date = 5; // beyond nb_level: y comes first, its smallest dependency is x
    EXPECT_EQ(f.w.reduce_proposition_by_variable(), 3);
    f.w.update_nb_level(-1);
    EXPECT_EQ(f.w.reduce_proposition_by_variable(), -1);
}

TEST(FreeFunctions, Helpers)
{
    long code[] = {5, 6, 7};
    EXPECT_EQ(set_reencoding({0, 2}, code), (std::set<long>{5, 7}));
    long a[] = {3, 4, 9}, b[] = {2, 2, 5};
    EXPECT_EQ(normalise_min_min(0, a, b), 0);
    EXPECT_EQ(a[0], 3);
    EXPECT_EQ(normalise_min_min(3, a, b), 6);
    EXPECT_EQ(a[2], 6);
    EXPECT_EQ(b[2], 3);
    small_forest f({"a", "b"});
    long values[] = {4, -1};
    testing::internal::CaptureStdout();
    affiche_level(2, f.m, values);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "a:4 b:-1 \n");
}

TEST(FixpointDating, AndNotExample)
{
    small_forest f({"a", "b", "x", "y"});
    Bddexpression* eqs[] = {f.define("x", f.AND(f.v("a"), f.v("b"))), f.define("y", f.NOT(f.v("x")))};
    EXPECT_EQ(PERT_original_version(2, eqs), 3);
    EXPECT_EQ(f.early("x"), 1);
    EXPECT_EQ(f.early("y"), 2);
    EXPECT_EQ(f.late("x"), 1);
    EXPECT_EQ(f.late("y"), 0);
    Bddexpression copies[2];
    copies[0] = *eqs[0];
    copies[1] = *eqs[1];
    copies[0].early_date = copies[1].early_date = 0;
    EXPECT_EQ(PERT_original_version(2, copies), 3);
    EXPECT_EQ(copies[1].early_date, 2);
    EXPECT_EQ(PERT_original_version(0, eqs), 0);
}

TEST(FixpointDating, Cycle)
{
    or_and_cycle f;
    Bddexpression* eqs[] = {f.eq("x"), f.eq("y")};
    testing::internal::CaptureStdout();
    EXPECT_EQ(PERT_original_version(2, eqs), -1);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "CYCLE DE CAUSALITE SUR:\n" + eqs[0]->debug_in_string() + "\n" +
                                                          eqs[1]->debug_in_string() + "\n\n");
    EXPECT_EQ(f.early("x"), 0);
    EXPECT_EQ(f.late("y"), 0);
}

TEST(FixpointDating, Messages)
{
    small_forest f({"a", "x"});
    Bddexpression free_standing;
    long values[2] = {0, 0};
    int cycle = 7;
    testing::internal::CaptureStderr();
    EXPECT_EQ(learn_upstream_dependance(2, values, free_standing, &cycle), 0);
    EXPECT_EQ(learn_downstream_dependance(2, values, free_standing, &cycle), 0);
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "INTERNAL ERROR in learn_upstream_dependance()\nINTERNAL ERROR in learn_downstream_dependance()\n");
    EXPECT_EQ(cycle, 0);
}

// The passes (forced by a repeated equation) and the topological fixpoint give the same dates.
TEST(FixpointDating, RandomForests)
{
    std::mt19937 rng(5);
    for (int round = 0; round < 20; round++) {
        small_forest f, g;
        twin_random_forests(f, g, 4, 30, rng);
        std::vector<Bddexpression*> fe, ge;
        for (long p : f.w.expression_ids) fe.push_back(f.w.exp_table[p]);
        for (long p : g.w.expression_ids) ge.push_back(g.w.exp_table[p]);
        std::shuffle(fe.begin(), fe.end(), rng);
        ge = fe;
        for (Bddexpression*& e : ge) e = g.w.exp_table[f.m->Bdd_if_index(e->bdd_var)];
        ge.push_back(ge.front());
        EXPECT_EQ(PERT_original_version(fe.size(), fe.data()), PERT_original_version(ge.size(), ge.data()));
        for (long p : f.w.expression_ids) {
            EXPECT_EQ(f.w.exp_table[p]->early_date, g.w.exp_table[p]->early_date);
            EXPECT_EQ(f.w.late_dates[p], g.w.late_dates[p]);
        }
    }
}
