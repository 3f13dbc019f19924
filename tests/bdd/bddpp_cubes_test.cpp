// Cubes, literal arrays, evaluation, implicants, minterms and the product printers.
#include <gtest/gtest.h>

#include <sstream>

#include "tests/support/bdd_model.h"

namespace {

const int NV = 6;

// The set of satisfying assignments is a sub-cube (or empty).
bool table_is_cube(const table& t, int nv)
{
    if (t.none()) return true;
    unsigned all_and = ~0u, all_or = 0;
    size_t count = 0;
    for (unsigned a = 0; a < (1u << nv); ++a)
        if (t[a]) all_and &= a, all_or |= a, ++count;
    unsigned free_bits = (all_or & ~all_and) & ((1u << nv) - 1);
    return count == (size_t(1) << __builtin_popcount(free_bits));
}

TEST(BddCubes, CubesSatisfyingCubesAndImplicantsAgreeWithTheModel)
{
    bddpp_manager m;
    std::vector<bdd> v = make_vars(m, NV);
    std::mt19937 rng(4242);
    for (int i = 0; i < 300; ++i) {
        model_fn f = random_fn(m, v, NV, rng, 1 + i % 5);
        ASSERT_EQ(m.Bdd_is_cube(f.f), table_is_cube(f.t, NV) ? 1 : 0);
        bdd s = m.Bdd_satisfy(f.f);
        bdd imp = m.Bdd_one_implicant(f.f);
        for (const bdd& c : {s, imp}) {
            ASSERT_TRUE(m.Bdd_is_cube(c));
            ASSERT_TRUE(m.Bdd_imply(c, f.f));
            ASSERT_EQ(m.Bdd_is_zero_tautologic(c), f.t.none() ? 1 : 0);
        }
        // literal arrays round trip on cubes
        int vals[NV];
        if (!m.Bdd_is_one_tautologic(s)) {
            m.Bdd_to_literals(s, vals);
            ASSERT_EQ(m.Literals_to_bdd(vals), m.Bdd_is_zero_tautologic(s) ? m.Bdd_one() : s);
        }
        // three-valued evaluation under a random partial assignment
        for (int& x : vals) x = int(rng() % 3);
        bool seen[2] = {false, false};
        for (unsigned a = 0; a < (1u << NV); ++a) {
            bool fits = true;
            for (int p = 0; p < NV; ++p)
                if (vals[p] != 2 && int((a >> p) & 1) != vals[p]) fits = false;
            if (fits) seen[f.t[a] ? 1 : 0] = true;
        }
        ASSERT_EQ(m.Bdd_eval_for_literal(f.f, vals), seen[0] && seen[1] ? 2 : (seen[1] ? 1 : 0));
    }
}

TEST(BddCubes, MintermsAndTruthTableCodesRoundTrip)
{
    bddpp_manager m;
    std::vector<bdd> v = make_vars(m, 5);
    for (unsigned code : {0u, 1u, 8u, 0x96u, 0xdeadbeefu, 0xffffffffu}) {
        bdd f = m.Bdd_function_by_id(code, 5, v.data());
        EXPECT_EQ(unsigned(m.Id_function_by_bdd(f, 5, v.data())), code);
    }
    EXPECT_EQ(m.Minterm(5, 3, v.data()), m.Bdd_and(m.Bdd_and(v[0], m.Bdd_not(v[1])), v[2]));
    EXPECT_EQ(m.Minterm(-1, 3, v.data()), m.Bdd_zero());
    EXPECT_EQ(m.Minterm(3, 0, v.data()), m.Bdd_one());
    bdd xy = m.Bdd_and(v[0], v[1]);
    EXPECT_EQ(m.Id_function_by_bdd(xy, 2, v.data()), 8);
    EXPECT_EQ(m.Bdd_function_by_id(8, 2, v.data()), xy);
    EXPECT_EQ(m.Bdd_function_by_id(0, 2, v.data()), m.Bdd_zero());
    testing::internal::CaptureStderr();
    EXPECT_EQ(m.Id_function_by_bdd(xy, 6, v.data()), 0);
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "In bddpp_manager::Id_function_by_bdd(): number of variables (6) too big! avorted ...\n");
}

TEST(BddCubes, EdgeCases)
{
    bddpp_manager m;
    bdd x = m.New_var_last("x"), y = m.New_var_last("y"), z = m.New_var_last("z");
    bdd nx = m.Bdd_not(x);
    for (const bdd& c : {m.Bdd_zero(), m.Bdd_one(), x, nx, m.Bdd_and(x, m.Bdd_not(y))}) EXPECT_EQ(m.Bdd_is_cube(c), 1);
    EXPECT_EQ(m.Bdd_is_cube(m.Bdd_or(x, y)), 0);
    EXPECT_EQ(m.Bdd_satisfy(m.Bdd_or(x, y)), x);
    EXPECT_EQ(m.Bdd_satisfy(m.Bdd_and(nx, y)), m.Bdd_and(nx, y));
    EXPECT_EQ(m.Bdd_satisfy(m.Bdd_one()), m.Bdd_one());
    EXPECT_EQ(m.Bdd_satisfy(m.Bdd_zero()), m.Bdd_zero());
    int vals[3] = {0, 1, 0};
    m.Bdd_to_literals(m.Bdd_zero(), vals);
    EXPECT_EQ(std::vector<int>(vals, vals + 3), std::vector<int>({2, 2, 2}));
    int odd[3] = {3, -1, 2};
    EXPECT_EQ(m.Literals_to_bdd(odd), m.Bdd_one());
    bdd xy = m.Bdd_and(x, y), x_or_y = m.Bdd_or(x, y);
    struct {
        bdd f;
        int x, y, expected;
    } evals[] = {{xy, 0, 2, 0}, {xy, 1, 2, 2}, {x_or_y, 1, 2, 1}, {x_or_y, 0, 0, 0}};
    for (const auto& e : evals) {
        int a[3] = {e.x, e.y, 2};
        EXPECT_EQ(m.Bdd_eval_for_literal(e.f, a), e.expected);
    }
    EXPECT_EQ(m.Bdd_one_implicant(x_or_y), x);
    EXPECT_EQ(m.Bdd_one_implicant(m.Bdd_or(xy, z)), m.Bdd_and(nx, z));
    bdd mux = m.Bdd_or(xy, m.Bdd_and(nx, z));
    EXPECT_EQ(m.Bdd_one_implicant(mux), xy);
    EXPECT_EQ(m.Bdd_one_implicant(nx), nx);
    EXPECT_EQ(m.Bdd_one_implicant(m.Bdd_zero()), m.Bdd_zero());
}

TEST(BddCubes, ProductPrinters)
{
    bddpp_manager m;
    bdd x = m.New_var_last("x"), y = m.New_var_last("y");
    bdd c = m.Bdd_and(x, m.Bdd_not(y));
    EXPECT_EQ(m.Print_product_to_String(" . ", "!", "", c), "x . !y");
    EXPECT_EQ(m.Print_product_to_String_pref_suff(" and ", "not(", ")", c, "s_", "_i"), "s_x_i and not(s_y_i)");
    std::ostringstream out;
    m.Print_product(" . ", "!", "", out, m.Bdd_not(x));
    out << "|";
    m.Print_product_pref_suff("&", "~", "", out, c, "<", ">");
    out << "|";
    m.Print_cat_product(" && ", "!", "", out, c, "v");
    out << "|";
    std::map<long, int> codes = {{0, 5}, {1, 7}};
    m.Print_cat_product(out, c, codes, 10, false);
    out << "|";
    m.Print_cat_product(out, c, codes, 10, true);
    out << "|";
    for (const bdd& k : {m.Bdd_zero(), m.Bdd_one()}) {
        m.Print_product("&", "~", "", out, k);
        m.Print_cat_product("&", "~", "", out, k, "v");
        m.Print_cat_product(out, k, codes, 1, true);
        out << m.Print_product_to_String_pref_suff("&", "~", "", k, "<", ">");
    }
    EXPECT_EQ(out.str(), "!x|<x>&~<y>|v[0] && !v[1]|5,17|25,17|00001111");
}

TEST(BddCubesDeathTest, FatalPathsEndWithStatusOne)
{
    bddpp_manager m;
    bdd x = m.New_var_last("x");
    int vals[1];
    EXPECT_EXIT(m.Bdd_OneSat(nullptr, 1, vals), ::testing::ExitedWithCode(1),
                "^ERROR: call bddpp_manager::Bdd_OneSat\\(\\) with null reference\n$");
    EXPECT_EXIT(m.Bdd_to_literals(m.Bdd_one(), vals), ::testing::ExitedWithCode(1),
                "^ERROR in  bddpp_manager::Bdd_node_to_literals\\(\\) :\nconstant 1 is not a literal ...\n$");
    bdd_node orphan;
    EXPECT_EXIT(m.Bdd_eval_for_literal(bdd(&m, 1, &orphan), vals), ::testing::ExitedWithCode(1),
                "^error in bddpp_manager::Bdd_eval\\(\\): unknown bdd type ...\n$");
    bddpp_manager other;
    bdd foreign = other.New_var_last("x");
    EXPECT_EXIT(m.Bdd_one_implicant(foreign), ::testing::ExitedWithCode(1),
                "^ERROR in bddpp_manager::Bdd_one_implicant\\(\\):\n   bdd : adr manager= 0x[0-9a-f]+, link type =1, "
                "adr node= 0x[0-9a-f]+, node signature: 2097154, is not allocated or associated with a bad BDD "
                "manager...\n$");
    std::map<long, int> codes;
    std::ostringstream out;
    EXPECT_EXIT(m.Print_cat_product(out, x, codes, 0, false), ::testing::ExitedWithCode(1),
                "^\\*\\*\\*\\*error:print_cat_product:0 is not a valid index \n$");
}

TEST(BddCubes, NullNodeToLiteralsWarns)
{
    bddpp_manager m;
    m.New_var_last("x");
    int vals[1] = {0};
    testing::internal::CaptureStderr();
    m.Bdd_node_to_literals(1, nullptr, vals);
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "Warning: bddpp_manager::Bdd_node_to_literals() call with a NULL bdd node !\n");
    EXPECT_EQ(vals[0], 2);
}

} // namespace
