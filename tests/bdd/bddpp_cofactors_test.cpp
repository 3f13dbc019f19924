// Cofactors, quantifiers, composition, renaming, truncation and truth tables against the model.
#include <gtest/gtest.h>

#include "tests/support/bdd_model.h"

namespace {

const int NV = 8;

// f's table with the variable at position p forced to value.
table forced(const table& t, int p, bool value, int nv)
{
    table r;
    for (unsigned a = 0; a < (1u << nv); ++a) r[a] = t[value ? (a | (1u << p)) : (a & ~(1u << p))];
    return r;
}

// A random cube as a literal array (0, 1, 2) and its table.
std::vector<int> random_literals(std::mt19937& rng, int nv)
{
    std::vector<int> vals(nv);
    for (int& x : vals) x = int(rng() % 3);
    return vals;
}

table cofactor_table(const table& t, const std::vector<int>& vals, int nv)
{
    table r;
    for (unsigned a = 0; a < (1u << nv); ++a) {
        unsigned b = a;
        for (int p = 0; p < nv; ++p)
            if (vals[p] != 2) b = vals[p] ? (b | (1u << p)) : (b & ~(1u << p));
        r[a] = t[b];
    }
    return r;
}

struct fixture {
    bddpp_manager m;
    std::vector<bdd> v;
    std::mt19937 rng;
    fixture() : v(make_vars(m, NV)), rng(777) {}
    model_fn random() { return random_fn(m, v, NV, rng, 5); }
};

TEST(BddCofactors, CubeCofactorsAndQuantifiersAgreeWithTheModel)
{
    fixture s;
    bddpp_manager& m = s.m;
    for (int i = 0; i < 200; ++i) {
        model_fn f = s.random();
        std::vector<int> vals = random_literals(s.rng, NV);
        bdd cube = m.Literals_to_bdd(vals.data());
        table expected = cofactor_table(f.t, vals, NV);
        ASSERT_EQ(table_of(m, m.Bdd_cube_reduce(f.f, cube), NV), expected);
        ASSERT_EQ(table_of(m, m.Bdd_eval(f.f, vals.data()), NV), expected);
        ASSERT_EQ(table_of(m, m.Bdd_reduce(f.f, cube), NV), expected);
        int p = int(s.rng() % NV);
        table lo = forced(f.t, p, false, NV), hi = forced(f.t, p, true, NV);
        ASSERT_EQ(table_of(m, m.Bdd_exist(f.f, s.v[p]), NV), lo | hi);
        ASSERT_EQ(table_of(m, m.Bdd_exist(f.f, m.Bdd_not(s.v[p])), NV), lo | hi);
        ASSERT_EQ(table_of(m, m.Bdd_forall(f.f, s.v[p]), NV), lo & hi);
        EXPECT_EQ(m.Variable_true_awaited(f.f, p), lo != hi && hi.any() ? 1 : 0);
        EXPECT_EQ(m.Variable_false_awaited(f.f, p), lo != hi && lo.any() ? 1 : 0);
    }
}

TEST(BddCofactors, CompositionRenamingAndTruncationAgreeWithTheModel)
{
    fixture s;
    bddpp_manager& m = s.m;
    for (int i = 0; i < 100; ++i) {
        model_fn f = s.random(), h = s.random();
        int p = int(s.rng() % NV);
        table composed;
        for (unsigned a = 0; a < (1u << NV); ++a)
            composed[a] = f.t[h.t[a] ? (a | (1u << p)) : (a & ~(1u << p))];
        ASSERT_EQ(table_of(m, m.Bdd_compose(f.f, s.v[p], h.f), NV), composed);
        // a reversal of the order: the variable at p becomes the one at NV - 1 - p
        long map[NV];
        for (int q = 0; q < NV; ++q) map[q] = NV - 1 - q;
        table renamed;
        for (unsigned a = 0; a < (1u << NV); ++a) {
            unsigned b = 0;
            for (int q = 0; q < NV; ++q)
                if ((a >> map[q]) & 1) b |= 1u << q;
            renamed[a] = f.t[b];
        }
        ASSERT_EQ(table_of(m, m.Bdd_replace_vars(f.f, map), NV), renamed);
        // truncation: follow f's path and stop with 1 at the first position >= n
        long n = long(s.rng() % (NV + 1));
        bdd k = m.Bdd_keep_first_variables(f.f, n);
        for (unsigned a = 0; a < (1u << NV); ++a) {
            int link = f.f.link;
            bdd_node* x = f.f.node_ptr;
            while (x != m.terminal && m.id_to_pos[x->var] < n) {
                if ((a >> m.id_to_pos[x->var]) & 1) x = x->then_node;
                else link *= x->else_link, x = x->else_node;
            }
            ASSERT_EQ(eval_bdd(m, k, a), x != m.terminal || link == 1);
        }
    }
}

TEST(BddCofactors, SimplifyStaysDisjointFromTheForbiddenSet)
{
    fixture s;
    bddpp_manager& m = s.m;
    for (int i = 0; i < 60; ++i) {
        model_fn f = s.random(), g = s.random();
        bdd fd = m.Bdd_and(f.f, m.Bdd_not(g.f)); // disjoint from g
        bdd r = m.Bdd_simplify(fd, g.f);
        EXPECT_TRUE(m.Bdds_excl(r, g.f));
        EXPECT_TRUE(m.Bdd_imply(fd, r));
        EXPECT_EQ(m.Bdd_simplify2(fd, g.f), fd);
        if (!m.Bdds_excl(f.f, g.f)) {
            EXPECT_EQ(m.Bdd_simplify(f.f, g.f), f.f);
        }
    }
    EXPECT_EQ(m.Bdd_simplify(m.Bdd_one(), s.v[0]), m.Bdd_one());
}

TEST(BddCofactors, EdgeCases)
{
    bddpp_manager m;
    bdd x = m.New_var_last("x"), y = m.New_var_last("y"), z = m.New_var_last("z"), w = m.New_var_last("w");
    bdd xy = m.Bdd_and(x, y);
    EXPECT_EQ(m.Bdd_cube_reduce(xy, m.Bdd_one()), xy);
    EXPECT_EQ(m.Bdd_cube_reduce(xy, m.Bdd_zero()), xy);
    EXPECT_EQ(m.Bdd_cube_reduce(xy, x), y);
    EXPECT_EQ(m.Bdd_cube_reduce(xy, m.Bdd_not(x)), m.Bdd_zero());
    bdd f = m.Bdd_or(m.Bdd_and(x, m.Bdd_and(y, z)), m.Bdd_and(m.Bdd_not(x), m.Bdd_and(y, w)));
    long size = m.Bdd_total_size();
    EXPECT_EQ(m.Bdd_cube_reduce(f, m.Bdd_and(z, w)), y); // y's own node, no node on x
    EXPECT_EQ(m.Bdd_total_size(), size + 1);             // only the cube z AND w is new
    EXPECT_EQ(m.Bdd_exist(xy, x), y);
    EXPECT_EQ(m.Bdd_forall(m.Bdd_or(x, y), x), y);
    EXPECT_EQ(m.Bdd_exist(f, xy), f);
    EXPECT_EQ(m.Bdd_exist(xy, z), xy);
    EXPECT_EQ(m.Bdd_reduce(xy, m.Bdd_and(z, w)), xy);
    bdd x_or_y = m.Bdd_or(x, y);
    EXPECT_EQ(m.Bdd_reduce(f, x_or_y),
              m.Bdd_and(m.Bdd_cube_reduce(f, x), m.Bdd_cube_reduce(f, m.Bdd_and(m.Bdd_not(x), y))));
    EXPECT_EQ(m.Bdd_compose(x, x, f), f);
    EXPECT_EQ(m.Bdd_compose(f, x, x), f);
    long id[4] = {0, 1, 2, 3};
    EXPECT_EQ(m.Bdd_replace_vars(f, id), f);
    EXPECT_EQ(m.Bdd_replace_vars(m.Bdd_zero(), id), m.Bdd_zero());
    EXPECT_EQ(m.Bdd_keep_first_variables(m.Bdd_not(f), 0), m.Bdd_one());
    EXPECT_EQ(m.Bdd_keep_first_variables(m.Bdd_zero(), 0), m.Bdd_zero());
    EXPECT_EQ(m.Variable_true_awaited(xy, 0), 1);
    EXPECT_EQ(m.Variable_false_awaited(xy, 0), 0);
    EXPECT_EQ(m.Variable_true_awaited(xy, 2), 0);
    EXPECT_EQ(m.Variable_true_awaited(xy, 9), 0);
    bdd xz = m.Bdd_and(x, z);
    char out[3] = {'-', '-', '-'};
    m.Truth_table(xz, 1, &x, out);
    EXPECT_EQ(std::string(out, 3), "0?-");
    bdd vars[2] = {x, y};
    bdd cells[4];
    m.Bdd_truth_table(m.Bdd_or(xz, y), 2, vars, cells);
    EXPECT_EQ(cells[0], m.Bdd_zero());
    EXPECT_EQ(cells[1], z);
    EXPECT_EQ(cells[2], m.Bdd_one());
    EXPECT_EQ(cells[3], m.Bdd_one());
}

TEST(BddCofactors, ComposeWithANonVariableWarnsAndGivesZero)
{
    bddpp_manager m;
    bdd x = m.New_var_last("x"), y = m.New_var_last("y");
    testing::internal::CaptureStderr();
    bdd r = m.Bdd_compose(y, m.Bdd_not(x), y);
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "Warning in bddpp_manager::Bdd_compose(): second parametre is not a variable!\n");
    EXPECT_EQ(r, m.Bdd_zero());
}

TEST(BddCofactorsDeathTest, NullPointersEndWithStatusOne)
{
    bddpp_manager m;
    bdd x = m.New_var_last("x");
    int link;
    EXPECT_EXIT(m.Bdd_cube_reduce(x, bdd()), ::testing::ExitedWithCode(1),
                "^Error in Bdd_cube_reduce\\(\\): assertion has a Null pointer!\n$");
    EXPECT_EXIT(m.Bdd_cube_reduce(bdd(), x), ::testing::ExitedWithCode(1),
                "^Error in Bdd_cube_reduce\\(\\): bdd has a Null pointer!\n$");
    int vals[1] = {2};
    EXPECT_EXIT(m.Bdd_cube_reduce(1, nullptr, vals, link), ::testing::ExitedWithCode(1),
                "^Error in Bdd_cube_reduce\\(\\): bdd has a Null pointer!\n$");
    long bad[1] = {5};
    EXPECT_EXIT(m.Bdd_replace_vars(x, bad), ::testing::ExitedWithCode(1),
                "^calling bddpp_manager::Bdd_var_by_index\\(\\) with index= 5 :out of range!\n"
                "ERROR: call bddpp_manager::Bdd_and\\(\\) with null reference\n");
    // each level looks its new variable up before rebuilding its cofactors: both bad entries
    // are reported before the first if-then-else stops the process
    bdd y = m.New_var_last("y");
    long bad2[2] = {5, 7};
    EXPECT_EXIT(m.Bdd_replace_vars(m.Bdd_and(x, y), bad2), ::testing::ExitedWithCode(1),
                "^calling bddpp_manager::Bdd_var_by_index\\(\\) with index= 5 :out of range!\n"
                "calling bddpp_manager::Bdd_var_by_index\\(\\) with index= 7 :out of range!\n"
                "ERROR: call bddpp_manager::Bdd_and\\(\\) with null reference\n");
}

// Rebuilding a diagram as deep as a long variable order runs in no deep call chain.
TEST(BddCofactors, DeepRebuildsNeedNoDeepRecursion)
{
    bddpp_manager m;
    const long N = 200000;
    std::vector<bdd> v;
    for (long i = 0; i < N; ++i) v.push_back(m.New_var_last("v" + std::to_string(i)));
    bdd all = m.Bdd_one(), half = m.Bdd_one();
    for (long p = N - 1; p >= 0; --p) {
        all = m.Bdd_and(v[p], all);
        if (p < N / 2) half = m.Bdd_and(v[p], half);
    }
    long size = m.Bdd_total_size();
    EXPECT_EQ(m.Bdd_compose(all, v[N - 1], v[N - 1]), all);
    EXPECT_EQ(m.Bdd_keep_first_variables(all, N / 2), half);
    EXPECT_EQ(m.Bdd_total_size(), size); // every node was found again
    std::vector<long> identity(N);
    for (long p = 0; p < N; ++p) identity[p] = p;
    EXPECT_EQ(m.Bdd_replace_vars(m.Bdd_not(all), identity.data()), m.Bdd_not(all));
}

} // namespace
