// The name table: lookups, repeated names, growth of the index, equality.
#include <gtest/gtest.h>

#include <map>
#include <random>
#include <string>

#include "bdd/bdd_name_table.h"

namespace {

TEST(BddNameTable, FindsWhatWasInserted)
{
    bdd_name_table t;
    EXPECT_EQ(t.find("a"), -1);
    EXPECT_EQ(t.insert("a", 0), std::make_pair(0L, true));
    EXPECT_EQ(t.insert("", 1), std::make_pair(1L, true)); // the empty name is a name
    EXPECT_EQ(t.insert("a", 7), std::make_pair(0L, false)); // the first id stays
    EXPECT_EQ(t.find("a"), 0);
    EXPECT_EQ(t.find(""), 1);
    EXPECT_EQ(t.find("ab"), -1);
    EXPECT_EQ(t.size(), 2u);
}

// Names of every length around the hash's cases (3, 4, 8 bytes), many of them sharing their first
// or last bytes, against a map, across several growths of the index.
TEST(BddNameTable, AgreesWithAMapAcrossGrowths)
{
    std::mt19937 random(7);
    bdd_name_table t;
    std::map<std::string, long> model;
    for (long k = 0; k < 20000; ++k) {
        std::string name(random() % 20, 'x');
        for (char& c : name) c = "ab_@0"[random() % 5];
        auto got = t.insert(name, k);
        auto want = model.emplace(name, k);
        ASSERT_EQ(got.second, want.second) << name;
        ASSERT_EQ(got.first, want.first->second) << name;
    }
    EXPECT_EQ(t.size(), model.size());
    for (const auto& n : model) EXPECT_EQ(t.find(n.first), n.second) << n.first;
    EXPECT_EQ(t.find("not there"), -1);
}

TEST(BddNameTable, EqualityIgnoresTheInsertionOrder)
{
    bdd_name_table a, b, c;
    a.insert("x", 0);
    a.insert("y", 1);
    b.reserve(100);
    b.insert("y", 1);
    b.insert("x", 0);
    c.insert("x", 1);
    c.insert("y", 0);
    EXPECT_EQ(a, b);
    EXPECT_NE(a, c);
    bdd_name_table d = a;
    d.insert("z", 2);
    EXPECT_NE(a, d);
    EXPECT_EQ(d.find("x"), 0);
}

} // namespace
