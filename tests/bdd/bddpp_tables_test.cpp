// The unique table on its own: growing in its reserved region or by copying, erasing, and
// finding every node it holds afterwards.
#include <gtest/gtest.h>

#include <vector>

#include "bdd/bddpp.h"
#include "bdd/bddpp_tables.h"

namespace {

// n distinct nodes over a few shared children (none of them registered anywhere).
struct fake_nodes {
    std::vector<bdd_node*> children, nodes;

    explicit fake_nodes(int n)
    {
        for (int i = 0; i < 7; ++i) children.push_back(new bdd_node());
        for (int i = 0; i < n; ++i) {
            bdd_node* x = new bdd_node();
            x->var = i / 98;
            x->then_node = children[i % 7];
            x->else_node = children[(i / 7) % 7];
            x->else_link = (i / 49) % 2 ? 1 : -1;
            nodes.push_back(x);
        }
    }
    ~fake_nodes()
    {
        for (bdd_node* x : nodes) {
            x->then_node = x->else_node = nullptr;
            delete x;
        }
        for (bdd_node* c : children) delete c;
    }
};

void fill_erase_and_check(int n)
{
    fake_nodes f(n);
    bdd_unique_table t;
    for (bdd_node* x : f.nodes) {
        ASSERT_EQ(t.find(x->var, x->else_link, x->then_node, x->else_node), nullptr);
        t.insert(x);
    }
    ASSERT_EQ(t.size(), size_t(n));
    size_t seen = 0;
    t.for_each([&seen](bdd_node*) { ++seen; });
    EXPECT_EQ(seen, size_t(n));
    for (bdd_node* x : f.nodes) ASSERT_EQ(t.find(x->var, x->else_link, x->then_node, x->else_node), x);
    for (int i = 0; i < n; i += 3) ASSERT_TRUE(t.erase(f.nodes[i]));
    EXPECT_FALSE(t.erase(f.nodes[0]));
    for (int i = 0; i < n; ++i) {
        bdd_node* x = f.nodes[i];
        ASSERT_EQ(t.find(x->var, x->else_link, x->then_node, x->else_node), i % 3 ? x : nullptr) << i;
    }
    EXPECT_EQ(t.size(), size_t(n - (n + 2) / 3));
}

} // namespace

// Grown many times in place: every run that went round the end of the smaller table must be
// found again under the larger one.
TEST(BddUniqueTable, GrowsInPlaceAndFindsEveryNode) { fill_erase_and_check(300000); }

// Past 2^22 slots the tags change meaning (the hash's top bits instead of its low ones): the
// growth that crosses that size and the ones after it keep every node found.
TEST(BddUniqueTable, GrowsPastTheTagsReach) { fill_erase_and_check(2200000); }

// A budget too small for the nodes: each region holds only the next size, so past it the slots
// move by copying, into a new region each time.
TEST(BddUniqueTable, GrowsPastItsRegionWhenTheBudgetIsTooSmall)
{
    const long saved = bdd_node_limit;
    bdd_node_limit = 1000;
    fake_nodes f(100000);
    {
        bdd_unique_table t;
        for (bdd_node* x : f.nodes) t.insert(x);
        bdd_node_limit = saved;
        for (bdd_node* x : f.nodes) ASSERT_EQ(t.find(x->var, x->else_link, x->then_node, x->else_node), x);
        for (size_t i = 0; i < f.nodes.size(); i += 2) ASSERT_TRUE(t.erase(f.nodes[i]));
        for (size_t i = 0; i < f.nodes.size(); ++i) {
            bdd_node* x = f.nodes[i];
            ASSERT_EQ(t.find(x->var, x->else_link, x->then_node, x->else_node), i % 2 ? x : nullptr) << i;
        }
    }
    bdd_node_limit = saved;
}
