// Sum-of-products covers, prime and essential implicants, the ternary tree, Bdd_simplify3.
#include <gtest/gtest.h>

#include <algorithm>
#include <list>
#include <random>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "bdd/bddpp.h"
#include "tests/support/bdd_model.h"

namespace {

// The function of a truth table over the first nv positions: the OR of its minterms.
bdd function_of_table(bddpp_manager& m, const std::vector<bdd>& v, int nv, const table& t)
{
    bdd f = m.Bdd_zero();
    for (unsigned a = 0; a < (1u << nv); ++a) {
        if (!t[a]) continue;
        bdd c = m.Bdd_one();
        for (int p = 0; p < nv; ++p) c = m.Bdd_and(c, (a >> p) & 1 ? v[p] : m.Bdd_not(v[p]));
        f = m.Bdd_or(f, c);
    }
    return f;
}

bdd or_of(bddpp_manager& m, const std::list<bdd>& cubes)
{
    bdd s = m.Bdd_zero();
    for (const bdd& c : cubes) s = m.Bdd_or(s, c);
    return s;
}

// Products written as in the table of fixed covers: "ab'+c" over a, b, c, d.
bdd parse_sop(bddpp_manager& m, const std::vector<bdd>& v, const std::string& text, std::list<bdd>* products)
{
    bdd s = m.Bdd_zero();
    std::stringstream in(text);
    std::string product;
    while (std::getline(in, product, '+')) {
        bdd p = m.Bdd_one();
        for (size_t i = 0; i < product.size(); ++i) {
            if (product[i] == '\'') continue;
            bdd x = v[product[i] - 'a'];
            p = m.Bdd_and(p, i + 1 < product.size() && product[i + 1] == '\'' ? m.Bdd_not(x) : x);
        }
        if (products) products->push_back(p);
        s = m.Bdd_or(s, p);
    }
    return s;
}

// ---- the covers as the algorithms state them, on whole functions ----

std::list<bdd> ref_sop_0(bddpp_manager& m, const bdd& f)
{
    std::list<bdd> cover;
    for (bdd r = f; !m.Bdd_is_zero_tautologic(r); r = m.Bdd_and(r, m.Bdd_not(cover.back())))
        cover.push_back(m.Bdd_satisfy(r));
    return cover;
}

std::list<bdd> ref_sop_1(bddpp_manager& m, const bdd& f)
{
    if (m.Bdd_is_tautology(f)) return std::list<bdd>(1, f);
    std::vector<bdd> T;
    std::vector<int> vals(m.nvars);
    for (const bdd& c : ref_sop_0(m, f)) {
        m.Present_variables(c, vals.data());
        bdd b = c;
        for (long p = 0; p < m.nvars; ++p) {
            if (!vals[p]) continue;
            bdd e = m.Bdd_exist(b, m.Bdd_var_by_index(p));
            if (m.Bdd_is_one_tautologic(m.Bdd_reduce(f, e))) b = e;
        }
        T.push_back(b);
    }
    for (size_t i = 0; i < T.size(); ++i) {
        bdd s = m.Bdd_zero();
        for (size_t j = 0; j < T.size(); ++j)
            if (j != i) s = m.Bdd_or(s, T[j]);
        if (m.Bdd_equiv(s, f)) T[i] = m.Bdd_zero();
    }
    std::list<bdd> cover;
    for (const bdd& t : T)
        if (!m.Bdd_is_zero_tautologic(t)) cover.push_back(t);
    return cover;
}

void ref_essential(bddpp_manager& m, const bdd& f, std::list<bdd>& E, std::list<bdd>& R)
{
    std::list<bdd> primes;
    Tdd(&m, f).Bdd_prime_implicants(primes);
    for (const bdd& p : primes) {
        bdd s = m.Bdd_zero();
        for (const bdd& q : primes)
            if (&q != &p) s = m.Bdd_or(s, q);
        (m.Bdd_equiv(s, f) ? R : E).push_back(p);
    }
}

std::list<bdd> ref_sop_2(bddpp_manager& m, const bdd& f)
{
    std::list<bdd> E, R;
    ref_essential(m, f, E, R);
    std::list<bdd> cover = E;
    bdd e = or_of(m, E);
    for (bool found = true; e != f && found;) {
        found = false;
        for (const bdd& r : R) {
            if (m.Bdds_excl(r, e)) {
                cover.push_back(r);
                e = m.Bdd_or(e, r);
                found = true;
                break;
            }
        }
    }
    for (const bdd& r : R) {
        if (e == f) break;
        if (m.Bdd_or(r, e) != e) {
            cover.push_back(r);
            e = m.Bdd_or(r, e);
        }
    }
    std::list<bdd> irredundant = ref_sop_1(m, f);
    return irredundant.size() < cover.size() ? irredundant : cover;
}

std::list<bdd> sop(bddpp_manager& m, const bdd& f, int kind)
{
    std::list<bdd> cover(3, m.Bdd_one()); // the operation clears it first
    m.Bdd_sop(f, cover, kind);
    return cover;
}

// Random functions of 1 to 8 variables: uniform truth tables and random expressions.
class RandomCovers : public ::testing::Test {
protected:
    bddpp_manager m;
    std::vector<bdd> v;
    std::vector<bdd> functions;

    void SetUp() override
    {
        v = make_vars(m, 8);
        std::mt19937 rng(4242);
        for (int nv = 1; nv <= 8; ++nv) {
            for (int k = 0; k < 12; ++k) {
                table t;
                for (unsigned a = 0; a < (1u << nv); ++a) t[a] = (rng() % 100) < (k % 2 ? 30u : 60u);
                functions.push_back(function_of_table(m, v, nv, t));
                functions.push_back(random_fn(m, v, nv, rng, 4).f);
            }
        }
    }
};

} // namespace

TEST_F(RandomCovers, EveryKindCoversTheFunctionWithCubesThatImplyIt)
{
    for (const bdd& f : functions) {
        for (int kind : {0, 1, 2, 3, 7, -1}) {
            std::list<bdd> cover = sop(m, f, kind);
            EXPECT_EQ(or_of(m, cover), f) << "kind " << kind;
            for (const bdd& c : cover) {
                EXPECT_TRUE(m.Bdd_is_cube(c));
                EXPECT_TRUE(m.Bdd_imply(c, f));
            }
        }
    }
}

TEST_F(RandomCovers, Kind0CubesArePairwiseDisjointPaths)
{
    for (const bdd& f : functions) {
        std::list<bdd> cover = sop(m, f, 0);
        EXPECT_EQ(cover, ref_sop_0(m, f));
        for (std::list<bdd>::iterator i = cover.begin(); i != cover.end(); ++i)
            for (std::list<bdd>::iterator j = std::next(i); j != cover.end(); ++j) EXPECT_TRUE(m.Bdds_excl(*i, *j));
        EXPECT_EQ(sop(m, f, 7), cover);
        EXPECT_EQ(sop(m, f, -1), cover);
    }
}

TEST_F(RandomCovers, Kind1IsIrredundantAndMadeOfPrimes)
{
    for (const bdd& f : functions) {
        std::list<bdd> cover = sop(m, f, 1);
        EXPECT_EQ(cover, ref_sop_1(m, f));
        if (m.Bdd_is_tautology(f)) continue;
        for (const bdd& c : cover) {
            std::list<bdd> others;
            for (const bdd& d : cover)
                if (&d != &c) others.push_back(d);
            EXPECT_NE(or_of(m, others), f) << "redundant cube";
            for (long id : c.node()->support_set())
                EXPECT_FALSE(m.Bdd_imply(m.Bdd_exist(c, m.Bdd_var_by_id(id)), f)) << "not expanded";
        }
    }
}

TEST(Covers, Kind1AndKind2OfSumsOfProductsFollowTheirDefinitions)
{
    // sums of a few products over 11 variables: many paths, most of them growing into the same
    // few primes, so that which copy of a cube stays and where decides the cover's order
    bddpp_manager m;
    std::vector<bdd> v = make_vars(m, 11);
    std::mt19937 rng(1717);
    for (int trial = 0; trial < 60; ++trial) {
        bdd f = m.Bdd_zero();
        const int products = 2 + int(rng() % 5);
        for (int i = 0; i < products; ++i) {
            bdd p = m.Bdd_one();
            const int literals = 1 + int(rng() % 4);
            for (int j = 0; j < literals; ++j) {
                bdd x = v[rng() % 11];
                p = m.Bdd_and(p, rng() % 3 ? x : m.Bdd_not(x));
            }
            f = m.Bdd_or(f, p);
        }
        if (m.Bdd_is_zero_tautologic(f)) continue;
        ASSERT_EQ(sop(m, f, 1), ref_sop_1(m, f)) << "trial " << trial;
        ASSERT_EQ(sop(m, f, 2), ref_sop_2(m, f)) << "trial " << trial;
    }
}

TEST_F(RandomCovers, PrimesOfTheWalkAreThoseOfTheTreeInTheSameOrder)
{
    for (const bdd& f : functions) {
        if (m.Bdd_is_tautology(f)) continue; // the manager lists a constant itself, the tree 1 only
        std::list<bdd> fast, tree;
        m.Bdd_prime_implicants(f, fast);
        Tdd(&m, f).Bdd_prime_implicants(tree);
        EXPECT_EQ(fast, tree);
        EXPECT_EQ(or_of(m, fast), f);
        for (const bdd& p : fast)
            for (long id : p.node()->support_set())
                EXPECT_FALSE(m.Bdd_imply(m.Bdd_exist(p, m.Bdd_var_by_id(id)), f)) << "not prime";
    }
}

TEST_F(RandomCovers, EssentialImplicantsAndKind2FollowTheirDefinitions)
{
    for (const bdd& f : functions) {
        std::list<bdd> E, R, refE, refR;
        m.Bdd_essential_implicants(f, E, R);
        if (m.Bdd_is_tautology(f)) continue;
        ref_essential(m, f, refE, refR);
        EXPECT_EQ(E, refE);
        EXPECT_EQ(R, refR);
        EXPECT_EQ(sop(m, f, 2), ref_sop_2(m, f));
    }
}

TEST_F(RandomCovers, WritersPrintTheCoverOfEachKind)
{
    for (const bdd& f : functions) {
        for (int kind : {0, 1, 2, 3}) {
            std::string expected;
            for (const bdd& c : sop(m, f, kind))
                expected += (expected.empty() ? "" : " + ") + m.Print_product_to_String(".", "!", "", c);
            EXPECT_EQ(m.Print_sop_to_String(" + ", ".", "!", "", f, kind), expected.empty() ? "0" : expected);
        }
    }
}

TEST(Covers, ConstantsAndSmallFunctions)
{
    bddpp_manager m;
    std::vector<bdd> v = make_vars(m, 4);
    bdd a = v[0], b = v[1], c = v[2], one = m.Bdd_one(), zero = m.Bdd_zero();
    std::list<bdd> none, just_one(1, one), just_zero(1, zero);
    EXPECT_EQ(sop(m, zero, 0), none);
    EXPECT_EQ(sop(m, zero, 1), just_zero);
    EXPECT_EQ(sop(m, zero, 2), none);
    EXPECT_EQ(sop(m, zero, 3), none);
    for (int kind : {0, 1, 2, 3, 5}) EXPECT_EQ(sop(m, one, kind), just_one);
    bdd a_or_b = m.Bdd_or(a, b);
    EXPECT_EQ(sop(m, a_or_b, 0), (std::list<bdd>{a, m.Bdd_and(m.Bdd_not(a), b)}));
    EXPECT_EQ(sop(m, a_or_b, 1), (std::list<bdd>{a, b}));
    EXPECT_EQ(sop(m, a_or_b, 2), (std::list<bdd>{a, b}));
    EXPECT_EQ(sop(m, m.Bdd_xor(a, b), 0),
              (std::list<bdd>{m.Bdd_and(a, m.Bdd_not(b)), m.Bdd_and(m.Bdd_not(a), b)}));
    std::list<bdd> primes;
    m.Bdd_prime_implicants(a_or_b, primes);
    EXPECT_EQ(primes, (std::list<bdd>{a, b}));
    m.Bdd_prime_implicants(zero, primes);
    EXPECT_EQ(primes, just_zero);
    std::list<bdd> E, R;
    bdd ab = m.Bdd_and(a, b), nac = m.Bdd_and(m.Bdd_not(a), c), bc = m.Bdd_and(b, c);
    m.Bdd_essential_implicants(m.Bdd_or(m.Bdd_or(ab, nac), bc), E, R);
    EXPECT_EQ(E, (std::list<bdd>{ab, nac}));
    EXPECT_EQ(R, (std::list<bdd>{bc}));
    m.Bdd_essential_implicants(one, E, R);
    EXPECT_EQ(E, just_one);
    EXPECT_TRUE(R.empty());
    m.Bdd_essential_implicants(zero, E, R);
    EXPECT_TRUE(E.empty());
    EXPECT_EQ(R, just_zero);
}

TEST(Covers, The26FixedCoversOfKind3)
{
    static const char* const rows[26] = {
        "b'c+b'd+ac+a'd+bc'd'",     "ab'c'+c'd+abc+a'cd'+b'd",  "bc+ab'd'+c'd+a'c",
        "cd+bc'd'+ab'+a'c+a'd",     "a'c+a'd+b'c+bd+ac'd'",     "a'bc'+ab'd'+a'b'c+bd+c'd+abc",
        "ab'd'+abd+a'bc'+a'b'd+ac+cd'", "bd'+b'c+ac'd+a'b",     "b'c+ac+ab'd'+a'bd'+bc'd",
        "ac+b'c+a'bc'+ad'+b'd",     "bc+a'b+a'c+ab'd'+b'c'd",   "a'd+bd'+ac+ab'",
        "ab+ac'+cd'+a'b'd",         "cd+a'bd'+a'b'd+ab'd'+abc'", "b'c+b'd+a'bc'+cd+ad'",
        "c'd+b'c+ac+ab'+a'bd'",     "b+ad'+c'd+a'c",            "a'b'c+bd'+ad+c'd+ac'",
        "a'b'c+bd'+bc'+ac'd'+acd",  "ab'+b'd+cd'+bc'",          "a'd+bc'd'+ab'+ac",
        "c'd+a'b'c+bc'+bd+ad'",     "a'b+b'c'd+b'cd'+ac'd'+bcd", "a'd+c'd+a'b+bc+ab'd'",
        "a'b+ac'd'+acd+a'c'd+b'cd'", "ac'+bc'+a'b'c+ad+bd'",
    };
    bddpp_manager m;
    std::vector<bdd> v = make_vars(m, 5);
    for (int row = 0; row < 26; ++row) {
        std::list<bdd> products;
        bdd f = parse_sop(m, v, rows[row], &products);
        EXPECT_EQ(sop(m, f, 3), products) << "row " << row + 1;
        EXPECT_EQ(or_of(m, products), f);
    }
    // any other function, of these variables or of others, gets the kind-2 cover
    bdd other = parse_sop(m, v, "ab+cd", nullptr);
    EXPECT_EQ(sop(m, other, 3), sop(m, other, 2));
    bdd fifth = m.Bdd_or(v[4], v[0]);
    EXPECT_EQ(sop(m, fifth, 3), sop(m, fifth, 2));
}

TEST(Covers, TheTernaryTreeAndItsPrinter)
{
    bddpp_manager m;
    std::vector<bdd> v = make_vars(m, 2);
    Tdd t(&m, m.Bdd_and(v[0], v[1]));
    std::ostringstream out;
    t.Print_bdd_structure(out);
    EXPECT_EQ(out.str(), R"(if x0
  if x1
    1
  else if !x1
    0
  dont care x1
    0
else if !x0
  0
dont care x0
  0
)");
    std::ostringstream leaf;
    Tdd(&m, m.Bdd_one()).Print_bdd_structure_loc(leaf, 3);
    EXPECT_EQ(leaf.str(), "   1\n");
}

TEST(Covers, Simplify3WidensThePrimesAwayFromG)
{
    bddpp_manager m;
    std::vector<bdd> v = make_vars(m, 3);
    bdd a = v[0], b = v[1], c = v[2];
    EXPECT_EQ(m.Bdd_simplify3(m.Bdd_and(a, b), m.Bdd_and(m.Bdd_not(a), b)), a);
    EXPECT_EQ(m.Bdd_simplify3(m.Bdd_one(), a), m.Bdd_one());
    EXPECT_EQ(m.Bdd_simplify3(m.Bdd_zero(), a), m.Bdd_zero());
    // not disjoint from g: nothing can be dropped
    bdd f = m.Bdd_or(m.Bdd_and(a, b), c);
    EXPECT_EQ(m.Bdd_simplify3(f, c), f);
}

TEST(Covers, ObsoleteArrayFormWarnsAndFillsTheArray)
{
    bddpp_manager m;
    std::vector<bdd> v = make_vars(m, 2);
    bdd array[4];
    testing::internal::CaptureStderr();
    int n = m.Bdd_sop(m.Bdd_or(v[0], v[1]), array, 1);
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "warning: calling obsolete version of bddpp_manager::Bdd_sop() ...\n");
    ASSERT_EQ(n, 2);
    EXPECT_EQ(array[0], v[0]);
    EXPECT_EQ(array[1], v[1]);
}

TEST(Covers, TreeWithoutManagerReportsAndHoldsNothing)
{
    testing::internal::CaptureStderr();
    Tdd t(nullptr, bdd());
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "in Tdd::Tdd() : error: bdd manager not yet created !\n");
    EXPECT_EQ(t.then_tree, nullptr);
    std::list<bdd> primes(1, bdd());
    t.Bdd_prime_implicants(primes);
    EXPECT_TRUE(primes.empty());
}

TEST(BddCoversDeathTest, ForeignOrEmptyFunctionEndsTheProcess)
{
    bddpp_manager m, other;
    bdd x = other.New_var_last("x");
    std::list<bdd> cover;
    EXPECT_EXIT(m.Bdd_sop(x, cover, 1), ::testing::ExitedWithCode(1),
                "ERROR in bddpp_manager::Bdd_sop\\(\\):\n   bdd : adr manager= .*, is not allocated or "
                "associated with a bad BDD manager...\n");
    EXPECT_EXIT(m.Bdd_sop(bdd(), cover, 0), ::testing::ExitedWithCode(1), "is not allocated");
}

TEST(BddCoversDeathTest, Kind3NeedsFourVariables)
{
    bddpp_manager m;
    std::vector<bdd> v = make_vars(m, 3);
    std::list<bdd> cover;
    EXPECT_EXIT(m.Bdd_sop(v[0], cover, 3), ::testing::ExitedWithCode(1),
                "calling bddpp_manager::Bdd_var_by_index\\(\\) with index= 3 :out of range!\n"
                "ERROR: call bddpp_manager::Bdd_and\\(\\) with null reference");
}

TEST(Covers, AnImplicantTakesThePlaceOfTheFirstCubeThatImpliesIt)
{
    bddpp_manager m;
    std::vector<bdd> v = make_vars(m, 3);
    bdd a = v[0], b = v[1], c = v[2];
    std::list<bdd> L{m.Bdd_and(b, c), m.Bdd_and(a, b), m.Bdd_and(a, c)};
    Tdd(&m, m.Bdd_one()).Bdd_implicants_loc(a, L); // a leaf 1: the path is an implicant
    EXPECT_EQ(L, (std::list<bdd>{m.Bdd_and(b, c), a, m.Bdd_and(a, c)}));
    Tdd(&m, m.Bdd_one()).Bdd_implicants_loc(m.Bdd_not(c), L); // implied by none: appended
    EXPECT_EQ(L.back(), m.Bdd_not(c));
    EXPECT_EQ(L.size(), 4u);
    Tdd(&m, m.Bdd_zero()).Bdd_implicants_loc(b, L); // a leaf 0: nothing
    EXPECT_EQ(L.size(), 4u);
    // a whole tree: the walk goes then, else, don't care
    std::list<bdd> walked;
    Tdd(&m, m.Bdd_or(a, b)).Bdd_implicants_loc(m.Bdd_one(), walked);
    EXPECT_EQ(walked, (std::list<bdd>{a, b}));
}

TEST(Covers, Kind3PrintsItsFixedProductsInTheListedOrder)
{
    bddpp_manager m;
    std::vector<bdd> v;
    for (const char* name : {"a", "b", "c", "d"}) v.push_back(m.New_var_last(name));
    bdd row1 = parse_sop(m, v, "b'c+b'd+ac+a'd+bc'd'", nullptr);
    EXPECT_EQ(m.Print_sop_to_String(" + ", "", "", "'", row1, 3), "b'c + b'd + ac + a'd + bc'd'");
    bdd row17 = parse_sop(m, v, "b+ad'+c'd+a'c", nullptr);
    EXPECT_EQ(m.Print_sop_to_String(" + ", "", "", "'", row17, 3), "b + ad' + c'd + a'c");
    std::ostringstream out;
    m.Print_cat_sop("|", "&", "!", "", out, row17, "v", 3);
    EXPECT_EQ(out.str(), "v[1]|v[0]&!v[3]|!v[2]&v[3]|!v[0]&v[2]");
}

TEST(Covers, PositionsNotIdsOrderTheLiterals)
{
    // each variable inserted at the top: order x5 .. x0, ids 0 .. 5
    bddpp_manager m;
    std::vector<bdd> v(1, m.New_var_last("x0"));
    for (int i = 1; i < 6; ++i) v.push_back(m.New_var_before(0L, "x" + std::to_string(i)));
    std::mt19937 rng(99);
    for (int k = 0; k < 40; ++k) {
        bdd f = random_fn(m, v, 6, rng, 4).f;
        EXPECT_EQ(sop(m, f, 0), ref_sop_0(m, f));
        EXPECT_EQ(sop(m, f, 1), ref_sop_1(m, f));
        EXPECT_EQ(sop(m, f, 2), ref_sop_2(m, f));
    }
    EXPECT_EQ(m.Print_sop_to_String(" + ", ".", "!", "", m.Bdd_or(v[0], m.Bdd_and(v[1], m.Bdd_not(v[5]))), 1),
              "!x5.x1 + x0");
}

namespace {

// The OR of the literals of v, negative where polarity has a 0 bit (bit k for v[k]; negative
// from v[32] on).
bdd clause_of(bddpp_manager& m, const std::vector<bdd>& v, unsigned polarity)
{
    bdd f = m.Bdd_zero();
    for (size_t k = 0; k < v.size(); ++k)
        f = m.Bdd_or(f, k < 32 && (polarity >> k) & 1 ? v[k] : m.Bdd_not(v[k]));
    return f;
}

TEST(Covers, PrimesOfADisjunctionOfLiteralsAreThoseOfTheTreeInTheSameOrder)
{
    // every polarity of up to 7 literals, some of 8 and 9, over consecutive variables and over
    // every other variable
    for (int n = 1; n <= 9; ++n) {
        bddpp_manager m;
        std::vector<bdd> v = make_vars(m, 2 * n);
        std::vector<bdd> odd;
        for (int k = 1; k < 2 * n; k += 2) odd.push_back(v[k]);
        v.resize(n);
        for (unsigned polarity = 0; polarity < (1u << n); polarity += n <= 7 ? 1 : 4 * n + 1) {
            for (const std::vector<bdd>* vars : {&v, &odd}) {
                bdd f = clause_of(m, *vars, polarity);
                std::list<bdd> tree, fast;
                Tdd(&m, f).Bdd_prime_implicants(tree);
                long before = m.Bdd_total_size();
                m.Bdd_prime_implicants(f, fast);
                EXPECT_EQ(m.Bdd_total_size(), before) << "the literals exist already";
                ASSERT_EQ(fast, tree) << n << " literals, polarity " << polarity;
            }
        }
    }
}

TEST(Covers, TheKind2CoverOfAWideDisjunctionOfLiteralsIsItsLiterals)
{
    // 2^40 - 1 paths in the ternary tree: the primes come without the walk
    bddpp_manager m;
    std::vector<bdd> v = make_vars(m, 40);
    bdd f = m.Bdd_or(clause_of(m, v, 0x5), m.Bdd_not(v[39])); // x0 and x2 positive only
    std::list<bdd> cover;
    m.Bdd_sop(f, cover, 2);
    std::vector<bdd> expected = {v[0], v[2], m.Bdd_not(v[39])};
    for (int k = 38; k >= 0; --k)
        if (k != 0 && k != 2) expected.push_back(m.Bdd_not(v[k]));
    EXPECT_EQ(std::vector<bdd>(cover.begin(), cover.end()), expected);
    EXPECT_EQ(m.Print_sop_to_String(" or ", " and ", "not ", "", m.Bdd_or(v[0], m.Bdd_or(v[1], v[2])), 2),
              "x0 or x1 or x2");
}

} // namespace

namespace {

TEST(Covers, PrimesOfWideSumsOfProductsAreThoseOfTheTreeInTheSameOrder)
{
    // lists of implicants past 64 elements: the literal index spans several words
    bddpp_manager m;
    std::vector<bdd> v = make_vars(m, 8);
    bdd pairs = m.Bdd_zero(), mixed = m.Bdd_zero();
    for (int i = 0; i < 8; i += 2) {
        pairs = m.Bdd_or(pairs, m.Bdd_and(v[i], v[i + 1]));
        mixed = m.Bdd_or(mixed, m.Bdd_and(m.Bdd_not(v[i]), v[(i + 3) % 8]));
    }
    std::vector<bdd> at_least(5, m.Bdd_zero()); // at_least[k]: k or more of those seen
    at_least[0] = m.Bdd_one();
    for (int i = 0; i < 7; ++i)
        for (int k = 4; k >= 1; --k) at_least[k] = m.Bdd_or(at_least[k], m.Bdd_and(at_least[k - 1], v[i]));
    for (const bdd& f : {pairs, mixed, at_least[4], m.Bdd_or(at_least[2], m.Bdd_not(v[7]))}) {
        std::list<bdd> tree, fast;
        Tdd(&m, f).Bdd_prime_implicants(tree);
        m.Bdd_prime_implicants(f, fast);
        EXPECT_EQ(fast, tree);
    }
}

} // namespace

namespace {

// f0 OR (f1 AND C) for random f0 within f1 over the first variables and a disjunction C of
// literals of random polarities over the variables below them, consecutive or spread: the
// primes are those of the tree in the same order, and so with C under its complement or with a
// variable of the head below C.
TEST(Covers, PrimesOfFunctionsWithADisjunctionOfLiteralsBelowThemAreThoseOfTheTree)
{
    std::mt19937 rng(77);
    for (int trial = 0; trial < 160; ++trial) {
        const int head = 1 + trial % 4, n = 2 + int(rng() % 6);
        const bool spread = trial % 3 == 0;
        bddpp_manager m;
        std::vector<bdd> v = make_vars(m, head + 2 * n + 1);
        table t0, t1;
        for (unsigned a = 0; a < (1u << head); ++a) {
            t1[a] = rng() % 4 != 0;
            t0[a] = t1[a] && rng() % 3 == 0;
        }
        bdd f0 = function_of_table(m, v, head, t0), f1 = function_of_table(m, v, head, t1);
        bdd c = m.Bdd_zero();
        for (int k = 0; k < n; ++k) {
            bdd x = v[head + (spread ? 2 * k + 1 : k)];
            c = m.Bdd_or(c, rng() % 3 ? x : m.Bdd_not(x));
        }
        if (trial % 8 == 7) c = m.Bdd_and(c, rng() % 2 ? v[head + 2 * n] : m.Bdd_not(v[head + 2 * n]));
        if (trial % 10 == 9) c = m.Bdd_not(c);
        bdd f = m.Bdd_or(f0, m.Bdd_and(f1, c));
        if (trial % 12 == 11) f = m.Bdd_or(f, m.Bdd_and(v[0], v[head + 2 * n])); // a head literal below C
        if (m.Bdd_is_tautology(f)) continue;
        std::list<bdd> tree, fast;
        Tdd(&m, f).Bdd_prime_implicants(tree);
        m.Bdd_prime_implicants(f, fast);
        ASSERT_EQ(fast, tree) << "trial " << trial;
    }
}

} // namespace

namespace {

// Makes the conjunction of the two cofactors of every function of f's ternary tree, each once,
// as the walk of the tree makes them.
void conjoin_cofactors(bddpp_manager& m, const bdd& f, std::set<std::pair<bdd_node*, int>>& seen)
{
    if (f.node_ptr == m.terminal || !seen.insert(std::make_pair(f.node_ptr, f.link)).second) return;
    bdd t = m.Bdd_then(f), e = m.Bdd_else(f);
    bdd both = m.Bdd_and(t, e);
    conjoin_cofactors(m, t, seen);
    conjoin_cofactors(m, e, seen);
    conjoin_cofactors(m, both, seen);
}

// ORs of products over disjoint variables, spread over the order at random and of random
// polarities: the primes are those of the tree in the same order; the walk would make no node
// (the conjunctions of cofactors are cofactors already) and neither does the shortcut. A
// product sharing a variable with another, or a function of another form, takes the walk.
TEST(Covers, PrimesOfDisjunctionsOfDisjointProductsAreThoseOfTheTree)
{
    std::mt19937 rng(2026);
    for (int trial = 0; trial < 240; ++trial) {
        const int n = 2 + int(rng() % 9);
        bddpp_manager m;
        std::vector<bdd> v = make_vars(m, n);
        std::vector<int> order(n);
        for (int i = 0; i < n; ++i) order[i] = i;
        std::shuffle(order.begin(), order.end(), rng);
        bdd f = m.Bdd_zero();
        for (int i = 0; i < n;) {
            const int width = std::min(n - i, 1 + int(rng() % 4));
            bdd product = m.Bdd_one();
            for (int k = 0; k < width; ++k, ++i)
                product = m.Bdd_and(product, rng() % 2 ? v[order[i]] : m.Bdd_not(v[order[i]]));
            f = m.Bdd_or(f, product);
        }
        const bool other_form = trial % 6 == 5 || trial % 8 == 7;
        if (trial % 6 == 5) f = m.Bdd_or(f, m.Bdd_and(v[order[0]], v[order[n - 1]])); // shared variables
        if (trial % 8 == 7) f = m.Bdd_not(f);
        if (m.Bdd_is_tautology(f)) continue;
        const long before = m.Bdd_total_size();
        if (!other_form) {
            std::set<std::pair<bdd_node*, int>> seen;
            conjoin_cofactors(m, f, seen);
            ASSERT_EQ(m.Bdd_total_size(), before) << "trial " << trial;
        }
        std::list<bdd> fast, tree;
        m.Bdd_prime_implicants(f, fast);
        Tdd(&m, f).Bdd_prime_implicants(tree);
        ASSERT_EQ(fast, tree) << "trial " << trial;
    }
}

TEST(Covers, TheKind2CoverOfManyDisjointProductsComesWithoutTheWalk)
{
    // 12 products of two literals over 24 variables, nested in the order so that they all cross:
    // about 4^12 / 3 leaves in the tree
    const int k = 12;
    bddpp_manager m;
    std::vector<bdd> v = make_vars(m, 2 * k);
    auto product = [&](int i) { return m.Bdd_and(v[i], i % 3 ? v[2 * k - 1 - i] : m.Bdd_not(v[2 * k - 1 - i])); };
    bdd f = m.Bdd_zero();
    for (int i = 0; i < k; ++i) f = m.Bdd_or(f, product(i));
    std::list<bdd> primes;
    m.Bdd_prime_implicants(f, primes);
    // the positive products as their last literals come, then the one left alone (the product
    // of the first and last variables), then the negative ones, the first taken last
    std::vector<bdd> expected;
    for (int i = k - 1; i >= 1; --i)
        if (i % 3) expected.push_back(product(i));
    for (int i = 0; i < k; i += 3) expected.push_back(product(i));
    EXPECT_EQ(std::vector<bdd>(primes.begin(), primes.end()), expected);
}

} // namespace
