// Manager copies, transfers between managers (same order, through a map, by name) and the
// association table.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "bdd/bddpp.h"
#include "tests/support/bdd_model.h"

namespace {

// Random functions of the 6 variables x0 .. x5 of m.
std::vector<model_fn> random_functions(bddpp_manager& m, const std::vector<bdd>& v)
{
    std::mt19937 rng(77);
    std::vector<model_fn> fs;
    for (int k = 0; k < 40; ++k) fs.push_back(random_fn(m, v, 6, rng, 5));
    return fs;
}

// The truth table of g, a function of dst, read in the assignments of the source: source
// position p takes the target position target[p].
table table_through(bddpp_manager& dst, const bdd& g, const std::vector<long>& target)
{
    table t;
    for (unsigned a = 0; a < 64; ++a) {
        unsigned b = 0;
        for (int p = 0; p < 6; ++p)
            if ((a >> p) & 1) b |= 1u << target[p];
        t[a] = eval_bdd(dst, g, b);
    }
    return t;
}

} // namespace

TEST(Copy, ACopyHasTheVariablesAndNoFunctionNode)
{
    bddpp_manager m;
    std::vector<bdd> v = make_vars(m, 17); // past the first growth
    m.New_var_before(3, "inserted");
    bdd f = m.Bdd_and(v[0], v[5]);
    bddpp_manager c(&m);
    EXPECT_EQ(c.nvars, 18);
    EXPECT_EQ(c.capacity, m.capacity);
    EXPECT_EQ(c.Table_size(), 18);
    EXPECT_EQ(c.Bdd_total_size(), 20);
    EXPECT_EQ(c.gc_calls, 0);
    EXPECT_EQ(c.name_map, m.name_map);
    for (long i = 0; i < 18; ++i) {
        EXPECT_EQ(c.Name_var_by_id(i), m.Name_var_by_id(i));
        EXPECT_EQ(c.Index_var_by_name(m.Name_var_by_id(i)), m.Index_var_by_name(m.Name_var_by_id(i)));
        EXPECT_EQ(c.var_nodes[i]->number, 2 + i);
        EXPECT_EQ(c.assoc_table[i], c.var_nodes[i]);
    }
    EXPECT_EQ(Bdd_isomorphe(&c, &m, m.Bdd_var_by_index(3)), c.Bdd_var_by_index(3));
    EXPECT_EQ(Bdd_isomorphe(&c, &m, m.Bdd_zero()), c.Bdd_zero());
    EXPECT_EQ(Bdd_isomorphe(&c, &m, m.Bdd_one()), c.Bdd_one());
    EXPECT_EQ(Bdd_isomorphe(&c, &m, f), c.Bdd_and(c.Bdd_var_by_id(0), c.Bdd_var_by_id(5)));
}

TEST(Copy, SameOrderTransfersKeepEveryFunction)
{
    bddpp_manager m;
    std::vector<bdd> v = make_vars(m, 6);
    std::vector<model_fn> fs = random_functions(m, v);
    bddpp_manager c(&m);
    const std::vector<long> same = {0, 1, 2, 3, 4, 5};
    for (const model_fn& f : fs) {
        bdd g = Bdd_isomorphe(&c, &m, f.f);
        EXPECT_EQ(g.manager, &c);
        EXPECT_EQ(table_through(c, g, same), f.t);
        EXPECT_EQ(Bdd_isomorphe(&c, &m, m.Bdd_not(f.f)), c.Bdd_not(g));
        EXPECT_EQ(bdd(&c, f.f.link, Bdd_isomorphe(&c, &m, f.f.node())), g);
    }
}

TEST(Copy, MappedTransfersFollowTheMap)
{
    bddpp_manager m, t;
    std::vector<bdd> v = make_vars(m, 6);
    std::vector<bdd> tv = make_vars(t, 6);
    long swap[6] = {1, 0, 2, 3, 4, 5};
    bdd f = m.Bdd_and(v[0], m.Bdd_not(v[1]));
    EXPECT_EQ(Bdd_isomorphe(&t, &m, f, swap), t.Bdd_and(tv[1], t.Bdd_not(tv[0])));
    EXPECT_EQ(bdd(&t, f.link, Bdd_isomorphe(&t, &m, f.node(), swap)), t.Bdd_and(tv[1], t.Bdd_not(tv[0])));
    std::vector<model_fn> fs = random_functions(m, v);
    std::mt19937 rng(5);
    std::vector<long> perm = {0, 1, 2, 3, 4, 5};
    for (const model_fn& g : fs) {
        std::shuffle(perm.begin(), perm.end(), rng);
        bdd h = g.f;
        EXPECT_EQ(table_through(t, Bdd_isomorphe(&t, &m, h, perm.data()), perm), g.t);
        bdd through_node(&t, g.f.link, Bdd_isomorphe(&t, &m, g.f.node(), perm.data()));
        EXPECT_EQ(table_through(t, through_node, perm), g.t);
    }
}

TEST(Copy, ByNameTransfersCreateTheMissingNames)
{
    bddpp_manager m, t;
    std::vector<bdd> v = make_vars(m, 6);
    t.New_var_last("x4");
    t.New_var_last("x1");
    bdd f = m.Bdd_or(m.Bdd_and(v[0], v[1]), m.Bdd_and(m.Bdd_not(v[0]), v[4]));
    bdd g = Bdd_isomorphe_by_name(&t, &m, f);
    ASSERT_EQ(t.nvars, 3); // x0 appended; then-first walk meets x1 before x4, both known
    EXPECT_EQ(t.Name_var_by_index(2), "x0");
    EXPECT_EQ(g, t.Bdd_or(t.Bdd_and(t.Bdd_var_by_name("x0"), t.Bdd_var_by_name("x1")),
                          t.Bdd_and(t.Bdd_not(t.Bdd_var_by_name("x0")), t.Bdd_var_by_name("x4"))));
    std::vector<model_fn> fs = random_functions(m, v);
    for (const model_fn& h : fs) {
        bdd r = Bdd_isomorphe_by_name(&t, &m, h.f);
        std::vector<long> target;
        for (int p = 0; p < 6; ++p) target.push_back(t.Index_var_by_name("x" + std::to_string(p)));
        if (std::find(target.begin(), target.end(), -1) != target.end()) continue; // a name not met yet
        EXPECT_EQ(table_through(t, r, target), h.t);
        EXPECT_EQ(bdd(&t, h.f.link, Bdd_isomorphe_by_name(&t, &m, h.f.node())), r);
    }
    EXPECT_EQ(t.nvars, 6);
}

TEST(Copy, BadCallsReportAndGiveNeutralValues)
{
    bddpp_manager m, t;
    make_vars(m, 2);
    long map[2] = {0, 1};
    bdd empty;
    testing::internal::CaptureStderr();
    EXPECT_EQ(Bdd_isomorphe(&t, &m, empty, map), t.Bdd_zero());
    EXPECT_EQ(Bdd_isomorphe(&t, nullptr, m.Bdd_one()), bdd());
    EXPECT_EQ(Bdd_isomorphe_by_name(nullptr, &m, static_cast<bdd_node*>(nullptr)), nullptr);
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "ERROR: Bad call of Bdd_isomorphe() !\nERROR: Bad call of Bdd_isomorphe() !\n"
              "ERROR: Bad call of Bdd_isomorphe_by_name() !\n");
}

TEST(Association, ChainsAreResolvedBothWays)
{
    bddpp_manager m;
    bdd x = m.New_var_last("x"), y = m.New_var_last("y"), z = m.New_var_last("z"), w = m.New_var_last("w");
    m.Bdd_assoc_bdd_to_var(m.Bdd_and(y, z), x);
    m.Bdd_assoc_bdd_to_var(m.Bdd_not(w), y);
    EXPECT_EQ(m.Bdd_assoc_of(0), m.Bdd_and(m.Bdd_not(w), z));
    EXPECT_EQ(m.Bdd_assoc_of(1), m.Bdd_not(w));
    m.Bdd_assoc_bdd_to_var(m.Bdd_one(), m.Bdd_one());
    m.Bdd_assoc_bdd_to_var(m.Bdd_zero(), m.Bdd_zero());
    int k;
    EXPECT_EQ(m.Bdd_follow_assoc(x, &k), m.Bdd_and(m.Bdd_not(w), z));
    EXPECT_EQ(k, -1);
    EXPECT_EQ(m.Bdd_follow_assoc(z, &k), z); // its own association depends on it
    EXPECT_EQ(k, 2);
    std::ostringstream out;
    m.debug_variables(out);
    EXPECT_EQ(out.str(), "x --> z and not w\ny --> not w\nz --> z\nw --> w\n");
}

TEST(Association, FixedPointsReport)
{
    bddpp_manager m;
    bdd a = m.New_var_last("a"), b = m.New_var_last("b"), c = m.New_var_last("c");
    m.Bdd_assoc_bdd_to_var(m.Bdd_xor(a, b), a);
    m.Bdd_assoc_bdd_to_var(m.Bdd_not(c), b);
    std::ostringstream out;
    m.Print_Fixes_Points(out, b);
    m.Print_Fixes_Points(out, a);
    EXPECT_EQ(out.str(), "b = c'\n\n  ==> oscillation on a  for c'\n  ==> stabilisation when a = c\n");
    bddpp_manager n;
    bdd p = n.New_var_last("p"), q = n.New_var_last("q");
    n.Bdd_assoc_bdd_to_var(n.Bdd_and(p, q), p);
    std::ostringstream stable;
    n.Print_Fixes_Points(stable, p);
    EXPECT_EQ(stable.str(), "\n  ==> two stability points : p'= 0, p''= q");
}

TEST(BddAssociationDeathTest, SecondArgumentMustBeAVariable)
{
    bddpp_manager m;
    bdd a = m.New_var_last("a"), b = m.New_var_last("b"), c = m.New_var_last("c");
    EXPECT_EXIT(m.Bdd_assoc_bdd_to_var(c, m.Bdd_and(a, b)), ::testing::ExitedWithCode(1),
                "error in bddpp_manager::Bdd_assoc_bdd_to_var\\(\\):\n     second parameter is not a var !\n"
                "replace from: a.b by expression: c\n");
    EXPECT_EXIT(m.Bdd_assoc_bdd_to_var(m.Bdd_zero(), m.Bdd_one()), ::testing::ExitedWithCode(1),
                "replace from: 1 by expression: 0\n");
}

TEST(Association, EntriesStayWithTheirVariablesThroughAnInsertion)
{
    bddpp_manager m;
    bdd a = m.New_var_last("a"), b = m.New_var_last("b"), c = m.New_var_last("c");
    m.Bdd_assoc_bdd_to_var(m.Bdd_not(c), b);
    bdd d = m.New_var_before(0, "d"); // order d, a, b, c
    std::ostringstream before;
    m.debug_variables(before);
    EXPECT_EQ(before.str(), "d --> d\na --> a\nb --> not c\nc --> c\n");
    EXPECT_EQ(m.Bdd_assoc_of(2), m.Bdd_not(c));
    m.Bdd_assoc_bdd_to_var(m.Bdd_and(b, d), a);
    EXPECT_EQ(m.Bdd_assoc_of(1), m.Bdd_and(d, m.Bdd_not(c)));
    int k;
    EXPECT_EQ(m.Bdd_follow_assoc(m.Bdd_or(a, b), &k), m.Bdd_or(m.Bdd_and(d, m.Bdd_not(c)), m.Bdd_not(c)));
    EXPECT_EQ(k, -1);
    std::ostringstream after;
    m.debug_variables(after);
    EXPECT_EQ(after.str(), "d --> d\na --> d and not c\nb --> not c\nc --> c\n");
    bddpp_manager copy(&m); // variables only: every entry is the variable again
    std::ostringstream copied;
    copy.debug_variables(copied);
    EXPECT_EQ(copied.str(), "d --> d\na --> a\nb --> b\nc --> c\n");
}
