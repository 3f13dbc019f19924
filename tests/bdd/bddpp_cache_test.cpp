// The operation cache changes nothing that can be seen: results, node numbers, statistics.
#include <gtest/gtest.h>

#include <sstream>

#include "tests/support/bdd_model.h"

namespace {

// One workload: random connectives and quantifiers, collections in between; returns the
// node numbers and links of every result, then the statistics without the address line.
std::string workload(bool cache)
{
    bddpp_manager m;
    m.Bdd_cache_enable(cache);
    const int NV = 9;
    std::vector<bdd> v = make_vars(m, NV);
    std::mt19937 rng(2026);
    std::ostringstream trace;
    std::vector<bdd> pool(v.begin(), v.end());
    for (int i = 0; i < 3000; ++i) {
        const bdd& a = pool[rng() % pool.size()];
        const bdd& b = pool[rng() % pool.size()];
        const bdd& x = v[rng() % NV];
        bdd r;
        switch (rng() % 6) {
        case 0: r = m.Bdd_and(a, b); break;
        case 1: r = m.Bdd_or(a, m.Bdd_not(b)); break;
        case 2: r = m.Bdd_xor(a, b); break;
        case 3: r = m.Bdd_exist(a, x); break;
        case 4: r = m.Bdd_forall(a, m.Bdd_not(x)); break;
        default: r = m.Bdd_ite(x, a, b); break;
        }
        trace << r.node_ptr->number << (r.link == 1 ? "+" : "-") << " ";
        if (pool.size() < 60) pool.push_back(r);
        else pool[rng() % pool.size()] = r;
        if (i % 500 == 499) {
            m.Bdd_gc();
            trace << "gc " << m.Table_size() << "\n";
        }
    }
    std::ostringstream stats;
    m.Bdd_stats(stats);
    std::string s = stats.str();
    return trace.str() + s.substr(s.find("bdd constant"));
}

TEST(BddCache, OnAndOffGiveTheSameNodesInTheSameOrder)
{
    std::string with = workload(true);
    std::string without = workload(false);
    EXPECT_GT(with.size(), 10000u);
    EXPECT_EQ(with, without);
}

TEST(BddCache, NoEntrySurvivesACollection)
{
    bddpp_manager m;
    std::vector<bdd> v = make_vars(m, 4);
    long number;
    {
        bdd f = m.Bdd_and(v[0], m.Bdd_or(v[1], v[2]));
        number = f.node_ptr->number;
    }
    m.Bdd_gc(); // frees f's nodes: a cached result would now dangle
    bdd g = m.Bdd_and(v[0], m.Bdd_or(v[1], v[2]));
    EXPECT_GT(g.node_ptr->number, number);
    EXPECT_TRUE(m.Bdd_is_correct(g));
    EXPECT_EQ(table_of(m, g, 4), var_table(0, 4) & (var_table(1, 4) | var_table(2, 4)));
}

// The dependence test of a quantifier reports a function of another manager each time: no
// cached answer may silence the second report.
TEST(BddCache, AForeignFunctionIsReportedOnEveryQuantification)
{
    bddpp_manager m, other;
    bdd x = m.New_var_last("x");
    bdd a = other.New_var_last("a"), b = other.New_var_last("b");
    bdd f = other.Bdd_and(a, b);
    const std::string report =
        "Error in bddpp_manager::Bdd_node_depends_on():  bad Bdd manager or bdd(s) not initialized!\n";
    testing::internal::CaptureStderr();
    EXPECT_EQ(m.Bdd_exist(f, x), f);
    EXPECT_EQ(m.Bdd_exist(f, x), f);
    EXPECT_EQ(m.Bdd_forall(f, x), f);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), report + report + report);
}

} // namespace
