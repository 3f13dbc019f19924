// Dates, orderings, cycle detection and loop breaking.
#include <iostream>
#include <sstream>

#include "tests/support/forest_fixture.h"

TEST(Dates, EmptyForest)
{
    small_forest f({"a", "b"});
    EXPECT_EQ(f.w.compute_dates(), 0);
    EXPECT_EQ(f.w.Nb_level(), 0);
    EXPECT_TRUE(f.w.loop_detection().empty());
    Bddexpressionwood none;
    EXPECT_EQ(none.compute_dates(), 0);
}

TEST(Dates, AndNotExample)
{
    and_not f;
    EXPECT_EQ(f.w.compute_dates(), 3);
    EXPECT_EQ(f.early("x"), 1);
    EXPECT_EQ(f.early("y"), 2);
    EXPECT_EQ(f.late("y"), 0);
    EXPECT_EQ(f.late("x"), 1);
    EXPECT_EQ(f.late("a"), 2);
    EXPECT_EQ(f.late("b"), 2);
    EXPECT_EQ(f.w.Nb_level(), 3);
    EXPECT_EQ(f.w.earliest_sort(), positions({2, 3}));
    EXPECT_EQ(f.w.latest_sort(), positions({2, 3}));
    EXPECT_TRUE(f.w.loop_detection().empty());
    EXPECT_EQ(PERT(&f.w), 3);
}

TEST(Dates, SecondCallKeepsTheDates)
{
    and_not f;
    f.w.compute_dates();
    f.eq("x")->early_date = 7;
    EXPECT_EQ(f.w.compute_dates(), 3);
    EXPECT_EQ(f.early("x"), 7);
    EXPECT_EQ(f.early("y"), 2);
}

// p = q OR r, q = NOT a, r = a AND b: q and r share date 1, p comes at date 2.
struct tie_forest : small_forest {
    tie_forest() : small_forest({"a", "b", "p", "q", "r"})
    {
        define("r", AND(v("a"), v("b")));
        define("q", NOT(v("a")));
        define("p", OR(v("q"), v("r")));
    }
};

TEST(Dates, TiesByAscendingPosition)
{
    tie_forest f;
    f.w.compute_dates();
    EXPECT_EQ(f.early("q"), 1);
    EXPECT_EQ(f.early("r"), 1);
    EXPECT_EQ(f.early("p"), 2);
    EXPECT_EQ(f.w.earliest_sort(), positions({3, 4, 2}));
    EXPECT_EQ(f.w.latest_sort(), positions({3, 4, 2}));
}

// With far more date levels than positions the sorts order the same way: by date, ties by
// ascending position, the dates past the last level left out.
TEST(Dates, SortsWithFarMoreLevelsThanPositions)
{
    tie_forest f;
    f.w.compute_dates();
    f.w.update_nb_level(100000);
    f.eq("p")->early_date = 70000;
    f.eq("q")->early_date = 70000;
    f.eq("r")->early_date = 100001;
    EXPECT_EQ(f.w.earliest_sort(), positions({2, 3}));
    EXPECT_EQ(f.w.earliest_positions(), (std::vector<long>{2, 3}));
    f.eq("r")->early_date = 5;
    EXPECT_EQ(f.w.earliest_sort(), positions({4, 2, 3}));
}

TEST(Dates, ConstantEquationKeepsItsStartingDate)
{
    small_forest f({"a", "k", "y"});
    new Bddexpression("k", &f.w, f.v("k"), f.m->Bdd_one(), 4, 0);
    f.define("y", f.AND(f.v("a"), f.v("k")));
    f.w.update_nb_level(0);
    EXPECT_EQ(f.w.compute_dates(), 6);
    EXPECT_EQ(f.early("k"), 4);
    EXPECT_EQ(f.early("y"), 5);
    // earliest_sort lists only the dates 0 .. nb_level
    f.eq("k")->early_date = 9;
    EXPECT_EQ(f.w.earliest_sort(), positions({2}));
}

TEST(Dates, CycleFound)
{
    or_and_cycle f;
    int levels = f.w.compute_dates();
    EXPECT_GT(levels, 2 * f.w.Nb_bdd_vars());
    EXPECT_EQ(f.w.loop_detection(), positions({2, 3}));
}

TEST(Dates, ReaderBeyondTheTable)
{
    and_not f;
    f.w.readers[0].insert(99);
    testing::internal::CaptureStderr();
    f.w.compute_dates();
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "ERREUR dans compute_date(): nombre de variables trop grand :99>= 4\n");
    EXPECT_EQ(f.early("y"), 2);
    std::list<long> listed = positions({0});
    testing::internal::CaptureStderr();
    f.w.compute_dates(listed);
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "ERREUR dans compute_date(list ident): numero de variables trop grand :99>= 4\n");
}

TEST(Dates, IncrementalDating)
{
    and_not f;
    f.w.compute_dates();
    f.w.New_var_last("z");
    f.define("z", f.AND(f.v("y"), f.v("a")));
    std::list<long> listed = positions({f.pos("y")});
    EXPECT_EQ(f.w.compute_dates(listed), 4);
    EXPECT_EQ(f.early("z"), 3);
    EXPECT_EQ(f.late("y"), 0); // z is not listed: its dependencies keep their late dates
    listed = positions({f.pos("z")});
    EXPECT_EQ(f.w.compute_dates(listed), 4);
    EXPECT_EQ(f.late("y"), 1);
    EXPECT_EQ(f.late("x"), 2);
    EXPECT_EQ(f.late("a"), 3);
    // with no dates yet the list form computes them all
    and_not g;
    std::list<long> none;
    EXPECT_EQ(g.w.compute_dates(none), 3);
    EXPECT_EQ(g.early("y"), 2);
}

// x := (s AND a) OR (NOT s AND y), y := (s AND x) OR (NOT s AND b)
struct multiplexer_loop : small_forest {
    multiplexer_loop() : small_forest({"s", "a", "b", "x", "y"})
    {
        define("x", OR(AND(v("s"), v("a")), AND(NOT(v("s")), v("y"))));
        define("y", OR(AND(v("s"), v("x")), AND(NOT(v("s")), v("b"))));
    }
};

TEST(LoopBreaking, MultiplexerLoop)
{
    multiplexer_loop f;
    EXPECT_EQ(f.w.loop_detection().size(), 2u);
    int ok = -1;
    std::set<long> created = f.w.loop_breaking({f.pos("s")}, ok);
    EXPECT_EQ(ok, 1);
    EXPECT_EQ(created, (std::set<long>{5, 6, 7, 8}));
    EXPECT_EQ(f.m->Name_var_by_index(5), "x_s");
    EXPECT_EQ(f.m->Name_var_by_index(6), "x_nots");
    EXPECT_EQ(f.m->Name_var_by_index(7), "y_s");
    EXPECT_EQ(f.m->Name_var_by_index(8), "y_nots");
    EXPECT_TRUE(f.w.loop_detection().empty());
    // x_s = a, x_nots = y_nots, y_s = x_s, y_nots = b; x and y select them by s
    EXPECT_EQ(f.eq("x_s")->bdd_exp, f.v("a"));
    EXPECT_EQ(f.eq("x_nots")->bdd_exp, f.v("y_nots"));
    EXPECT_EQ(f.eq("y_s")->bdd_exp, f.v("x_s"));
    EXPECT_EQ(f.eq("y_nots")->bdd_exp, f.v("b"));
    EXPECT_EQ(f.eq("x")->bdd_exp, f.m->Bdd_ite(f.v("s"), f.v("x_s"), f.v("x_nots")));
    EXPECT_EQ(f.eq("y")->bdd_exp, f.m->Bdd_ite(f.v("s"), f.v("y_s"), f.v("y_nots")));
    std::ostringstream check;
    f.w.coherence_dependances_check(check);
    EXPECT_EQ(check.str(), "");
}

TEST(LoopBreaking, NoAllowedVariable)
{
    or_and_cycle f;
    bdd x = f.eq("x")->bdd_exp, y = f.eq("y")->bdd_exp;
    int ok = -1;
    EXPECT_TRUE(f.w.loop_breaking({}, ok).empty());
    EXPECT_EQ(ok, 0);
    EXPECT_EQ(f.eq("x")->bdd_exp, x);
    EXPECT_EQ(f.eq("y")->bdd_exp, y);
    EXPECT_GT(f.w.Nb_level(), 0);
    EXPECT_EQ(f.w.Nb_bdd_vars(), 4);
}

TEST(LoopBreaking, TrueCycleStays)
{
    // x := a XOR y, y := x AND b: fixing a leaves x_a := NOT y_a, y_a := x_a AND b
    small_forest f({"a", "b", "x", "y"});
    f.define("x", f.m->Bdd_xor(f.v("a"), f.v("y")));
    f.define("y", f.AND(f.v("x"), f.v("b")));
    int ok = -1;
    std::set<long> created = f.w.loop_breaking({f.pos("a")}, ok);
    EXPECT_EQ(ok, 0);
    EXPECT_EQ(created.size(), 4u);
    EXPECT_FALSE(f.w.loop_detection().empty());
    EXPECT_EQ(f.eq("x_a")->bdd_exp, f.NOT(f.v("y_a")));
    EXPECT_EQ(f.eq("y_a")->bdd_exp, f.AND(f.v("x_a"), f.v("b")));
}

TEST(LoopBreaking, ShannonExpandOfAnUnsetEquation)
{
    small_forest f({"a", "x"});
    Bddexpression free_standing;
    long p1 = 0, p0 = 0;
    free_standing.Shannon_expand(0, p1, p0);
    EXPECT_EQ(p1, -3);
    EXPECT_EQ(p0, -3);
    Bddexpression* x = f.define("x", f.NOT(f.v("a")));
    x->Shannon_expand(5, p1, p0);
    EXPECT_EQ(p1, -3);
    EXPECT_EQ(f.w.Nb_bdd_vars(), 2);
    x->Shannon_expand(0, p1, p0);
    EXPECT_EQ(p1, 2);
    EXPECT_EQ(p0, 3);
    EXPECT_EQ(f.eq("x_a")->bdd_exp, f.m->Bdd_zero());
    EXPECT_EQ(f.eq("x_nota")->bdd_exp, f.m->Bdd_one());
}

// Dates by the longest chains, computed the slow way for comparison.
static void reference_dates(Bddexpressionwood& w, std::vector<long>& early, std::vector<long>& late)
{
    long n = w.nb_bdd_vars;
    early.assign(n, 0);
    late.assign(n, 0);
    for (long i = 0; i < n; i++) // positions are in dependency order
        if (w.exp_table[i] != nullptr)
            for (long d : w.exp_table[i]->dependances) early[i] = std::max(early[i], w.exp_table[d] ? early[d] + 1 : 1);
    for (long i = n - 1; i >= 0; i--)
        if (w.exp_table[i] != nullptr)
            for (long d : w.exp_table[i]->dependances) late[d] = std::max(late[d], late[i] + 1);
}

TEST(DatesProperty, EarliestSortListsReadersAfterWhatTheyRead)
{
    std::mt19937 rng(20261210);
    for (int round = 0; round < 30; round++) {
        small_forest f;
        random_acyclic_forest(f, 1 + rng() % 8, 1 + rng() % 60, rng);
        f.w.compute_dates();
        std::list<long> order = f.w.earliest_sort();
        EXPECT_EQ(order.size(), f.w.expression_ids.size());
        std::vector<long> rank(f.w.nb_bdd_vars, -1);
        long k = 0;
        for (long p : order) rank[p] = k++;
        for (long p : order)
            for (long d : f.w.exp_table[p]->dependances)
                if (f.w.exp_table[d] != nullptr) {
                    EXPECT_LT(rank[d], rank[p]) << "round " << round;
                }
        std::vector<long> early, late;
        reference_dates(f.w, early, late);
        for (long p = 0; p < f.w.nb_bdd_vars; p++) {
            if (f.w.exp_table[p] != nullptr) {
                EXPECT_EQ(f.w.exp_table[p]->early_date, early[p]);
            }
            EXPECT_EQ(f.w.late_dates[p], late[p]);
        }
        EXPECT_TRUE(f.w.loop_detection().empty());
    }
}

// The full dating and the step-by-step propagation over every position give the same dates.
TEST(DatesProperty, FullDatingEqualsThePropagation)
{
    std::mt19937 rng(7);
    for (int round = 0; round < 30; round++) {
        small_forest f, g;
        twin_random_forests(f, g, 5, 40, rng);
        if (round % 3 == 0) { // a cycle through the first and the last equation
            for (small_forest* h : {&f, &g}) {
                long first = *h->w.expression_ids.begin(), last = h->w.nb_bdd_vars - 1;
                h->w.exp_table[last]->setBddExp(h->m->Bdd_var_by_index(first), 0, 0);
                h->w.exp_table[first]->setBddExp(h->m->Bdd_var_by_index(last), 0, 0);
            }
        }
        f.w.compute_dates();
        g.w.update_nb_level(1);
        std::list<long> all;
        for (long p = 0; p < g.w.nb_bdd_vars; p++) all.push_back(p);
        g.w.compute_dates(all);
        EXPECT_EQ(f.w.Nb_level(), g.w.Nb_level()) << "round " << round;
        for (long p = 0; p < f.w.nb_bdd_vars; p++) {
            if (f.w.exp_table[p] != nullptr) {
                EXPECT_EQ(f.w.exp_table[p]->early_date, g.w.exp_table[p]->early_date);
            }
            EXPECT_EQ(f.w.late_dates[p], g.w.late_dates[p]);
        }
        EXPECT_EQ(f.w.loop_detection(), g.w.loop_detection());
    }
}

// chain x1 := a AND x0 ... ; closed: x0 := x(n-1)
static void chain(small_forest& f, long n, bool closed)
{
    f.w.New_var_last("a");
    for (long k = 0; k < n; k++) f.w.New_var_last("x" + std::to_string(k));
    bdd a = f.m->Bdd_var_by_index(0);
    new Bddexpression(&f.w, f.m->Bdd_var_by_index(1), closed ? f.m->Bdd_var_by_index(n) : a, 0, 0);
    for (long k = 1; k < n; k++)
        new Bddexpression(&f.w, f.m->Bdd_var_by_index(k + 1), f.m->Bdd_and(a, f.m->Bdd_var_by_index(k)), 0, 0);
}

TEST(DatesScale, LongChain)
{
    const long n = 200000;
    small_forest f;
    chain(f, n, false);
    EXPECT_EQ(f.w.compute_dates(), n + 1);
    EXPECT_EQ(f.w.exp_table[n]->early_date, n);
    EXPECT_EQ(f.w.late_dates[0], n);
    EXPECT_EQ(f.w.earliest_sort().size(), static_cast<size_t>(n));
    EXPECT_EQ(f.w.latest_sort().front(), 1);
    // the same dates by propagation from the input, through the whole depth
    for (long p = 1; p <= n; p++) f.w.exp_table[p]->early_date = 0;
    f.w.update_nb_level(1);
    std::list<long> input = positions({0});
    f.w.compute_dates(input);
    EXPECT_EQ(f.w.exp_table[n]->early_date, n);
}

TEST(DatesScale, LongRing)
{
    const long n = 200000;
    small_forest f;
    chain(f, n, true);
    EXPECT_GT(f.w.compute_dates(), 2 * (n + 1));
    EXPECT_EQ(f.w.loop_detection().size(), static_cast<size_t>(n));
}

// A cycle that feeds a long chain declared before it: the step-by-step dating would re-date the whole
// chain at every turn of the cycle.
TEST(DatesScale, CycleBeforeALongChain)
{
    const long n = 20000;
    small_forest f({"a"});
    for (long k = 0; k < n; k++) f.w.New_var_last("x" + std::to_string(k));
    f.w.New_var_last("c1");
    f.w.New_var_last("c2");
    f.define("c1", f.OR(f.v("a"), f.v("c2")));
    f.define("c2", f.v("c1"));
    f.define("x0", f.v("c2"));
    for (long k = 1; k < n; k++) f.define("x" + std::to_string(k), f.v("x" + std::to_string(k - 1)));
    testing::internal::CaptureStderr();
    long count = f.w.Nb_bdd_vars();
    EXPECT_EQ(f.w.compute_dates(), 2 * count + 2);
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "Warning in Bddexpressionwood::compute_dates(): cycles too long to date step by step; the equations"
              " around them are dated past the bound\n");
    EXPECT_EQ(f.w.loop_detection().size(), static_cast<size_t>(n + 2));
    EXPECT_EQ(f.late("a"), 2 * count + 1);
    EXPECT_EQ(f.late("x5"), n - 6);
    EXPECT_EQ(f.w.earliest_sort().size(), static_cast<size_t>(n + 2));
}

// The dating as its recursive definition, on copies of the dates, for small forests.
struct recursive_dating {
    Bddexpressionwood& w;
    long n, level = 0;
    std::vector<long> early, late;

    explicit recursive_dating(Bddexpressionwood& forest) : w(forest), n(forest.nb_bdd_vars), early(n, 0), late(n, 0)
    {
        for (long i = 0; i < n; i++)
            if (w.exp_table[i] != nullptr) early[i] = w.exp_table[i]->early_date;
        for (long i = 0; i < n; i++) {
            Bddexpression* e = w.exp_table[i];
            if (!w.readers[i].empty()) {
                for (long r : w.readers[i]) early_step(r, e != nullptr ? early[i] + 1 : 1);
            } else if (e != nullptr && level <= early[i]) {
                level = early[i] + 1;
            }
            if (e != nullptr)
                for (long d : e->dependances)
                    if (d < n) late_step(d, late[i] + 1);
        }
    }
    void early_step(long v, long d)
    {
        if (v >= n || w.exp_table[v] == nullptr || early[v] >= d) return;
        early[v] = d;
        level = std::max(level, d + 1);
        if (level > 2 * n) return;
        for (long r : w.readers[v]) early_step(r, d + 1);
    }
    void late_step(long v, long d)
    {
        if (late[v] != 0 && late[v] >= d) return;
        late[v] = d;
        level = std::max(level, d + 1);
        if (w.exp_table[v] == nullptr || level > 2 * n) return;
        for (long x : w.exp_table[v]->dependances)
            if (x < n) late_step(x, d + 1);
    }
};

// With or without cycles, the full dating gives the dates of the recursive definition.
TEST(DatesProperty, FullDatingFollowsTheRecursiveDefinition)
{
    std::mt19937 rng(42);
    int cyclic = 0;
    for (int round = 0; round < 40; round++) {
        small_forest f;
        random_acyclic_forest(f, 1 + rng() % 4, 2 + rng() % 12, rng);
        long n = f.w.nb_bdd_vars;
        for (int k = 0; k < round % 3; k++) { // k back edges: an equation reads one declared after it
            std::vector<long> ids(f.w.expression_ids.begin(), f.w.expression_ids.end());
            long from = ids[rng() % ids.size()], to = ids[rng() % ids.size()];
            Bddexpression* e = f.w.exp_table[std::min(from, to)];
            e->setBddExp(f.OR(e->bdd_exp, f.m->Bdd_var_by_index(std::max(from, to))), 0, 0);
        }
        if (round % 5 == 4) f.w.exp_table[n - 1]->early_date = 3; // a starting date
        recursive_dating expected(f.w);
        EXPECT_EQ(f.w.compute_dates(), expected.level) << "round " << round;
        for (long p = 0; p < n; p++) {
            if (f.w.exp_table[p] != nullptr) {
                EXPECT_EQ(f.w.exp_table[p]->early_date, expected.early[p]) << "round " << round << " at " << p;
            }
            EXPECT_EQ(f.w.late_dates[p], expected.late[p]) << "round " << round << " at " << p;
        }
        if (!f.w.loop_detection().empty()) cyclic++;
    }
    EXPECT_GT(cyclic, 5);
}
