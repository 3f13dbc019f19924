// Conjunction, disjunction and the derived connectives against a truth-table model.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>

#include "tests/support/bdd_model.h"

namespace {

const int NV = 10;

TEST(BddConnectives, CanonicalAndAgreesWithTheModel)
{
    bddpp_manager m;
    std::vector<bdd> v = make_vars(m, NV);
    std::mt19937 rng(12345);
    std::vector<model_fn> fns;
    for (int i = 0; i < 300; ++i) fns.push_back(random_fn(m, v, NV, rng, 1 + i % 6));
    std::map<std::string, bdd> by_table;
    for (const model_fn& g : fns) {
        ASSERT_EQ(table_of(m, g.f, NV), g.t);
        ASSERT_TRUE(m.Bdd_is_correct(g.f));
        std::string key = g.t.to_string();
        std::map<std::string, bdd>::iterator known = by_table.find(key);
        if (known == by_table.end()) by_table[key] = g.f;
        else ASSERT_EQ(known->second, g.f); // equal tables give equal handles
    }
    // distinct tables give distinct handles
    std::set<std::pair<bdd_node*, int>> handles;
    for (const auto& e : by_table) handles.insert(std::make_pair(e.second.node_ptr, e.second.link));
    EXPECT_EQ(handles.size(), by_table.size());
    const table ones = all_ones(NV);
    for (size_t i = 0; i + 1 < fns.size(); i += 2) {
        const model_fn& a = fns[i];
        const model_fn& b = fns[i + 1];
        struct {
            bdd r;
            table t;
        } cases[] = {
            {m.Bdd_and(a.f, b.f), a.t & b.t},
            {m.Bdd_or(a.f, b.f), a.t | b.t},
            {m.Bdd_nand(a.f, b.f), ~(a.t & b.t) & ones},
            {m.Bdd_nor(a.f, b.f), ~(a.t | b.t) & ones},
            {m.Bdd_xor(a.f, b.f), a.t ^ b.t},
            {m.Bdd_xnor(a.f, b.f), ~(a.t ^ b.t) & ones},
            {m.Bdd_eq(a.f, b.f), ~(a.t ^ b.t) & ones},
            {m.Bdd_implication(a.f, b.f), (~a.t | b.t) & ones},
            {m.Bdd_ite(a.f, b.f, fns[i / 2].f), (a.t & b.t) | (~a.t & fns[i / 2].t)},
            {m.Bdd_not(a.f), ~a.t & ones},
        };
        for (const auto& c : cases) ASSERT_EQ(table_of(m, c.r, NV), c.t) << i;
        EXPECT_EQ(m.Bdd_equiv(a.f, b.f), a.t == b.t ? 1 : 0);
        EXPECT_EQ(m.Bdd_imply(a.f, b.f), (a.t & ~b.t).none() ? 1 : 0);
        EXPECT_EQ(m.Bdds_excl(a.f, b.f), (a.t & b.t).none() ? 1 : 0);
        EXPECT_EQ(m.Bdds_exclude(a.f, b.f), m.Bdds_excl(a.f, b.f));
    }
}

TEST(BddConnectives, TerminalRulesReturnOperandsWithoutNewNodes)
{
    bddpp_manager m;
    bdd x = m.New_var_last("x"), y = m.New_var_last("y");
    bdd f = m.Bdd_or(x, y);
    long before = m.Bdd_total_size();
    EXPECT_EQ(m.Bdd_and(f, m.Bdd_not(f)), m.Bdd_zero());
    EXPECT_EQ(m.Bdd_or(f, m.Bdd_not(f)), m.Bdd_one());
    EXPECT_EQ(m.Bdd_and(m.Bdd_one(), f), f);
    EXPECT_EQ(m.Bdd_or(m.Bdd_zero(), f), f);
    EXPECT_EQ(m.Bdd_and(m.Bdd_zero(), f), m.Bdd_zero());
    EXPECT_EQ(m.Bdd_or(m.Bdd_one(), f), m.Bdd_one());
    EXPECT_EQ(m.Bdd_ite(1, -1, x, y), x);
    EXPECT_EQ(m.Bdd_ite(-1, -1, x, y), y);
    EXPECT_EQ(m.Bdd_equiv(f, f), 1);
    EXPECT_EQ(m.Bdd_imply(m.Bdd_zero(), f), 1);
    EXPECT_EQ(m.Bdd_total_size(), before);
}

TEST(BddConnectives, AndAndOrOfTwoVariablesHaveTheCanonicalShape)
{
    bddpp_manager m;
    bdd x = m.New_var_last("x"), y = m.New_var_last("y");
    bdd a = m.Bdd_and(x, y);
    EXPECT_EQ(a.link, 1);
    EXPECT_EQ(a.node_ptr->var, 0);
    EXPECT_EQ(a.node_ptr->then_node, y.node_ptr);
    EXPECT_EQ(a.node_ptr->else_node, m.terminal);
    EXPECT_EQ(a.node_ptr->else_link, -1);
    EXPECT_EQ(a.node_ptr->number, 4); // terminal 1, x 2, y 3
    bdd o = m.Bdd_or(x, y);
    EXPECT_EQ(o.link, 1);
    EXPECT_EQ(o.node_ptr->then_node, m.terminal);
    EXPECT_EQ(o.node_ptr->else_node, y.node_ptr);
    EXPECT_EQ(o.node_ptr->else_link, 1);
    long size = m.Bdd_total_size();
    EXPECT_EQ(m.Bdd_and(x, y), a); // the second call finds every node
    EXPECT_EQ(m.Bdd_total_size(), size);
}

// Two literals, plain or complemented, in both operand orders, with ids out of position order:
// one node (or none when it exists) on the variable placed first, and the model's function.
TEST(BddConnectives, AndAndOrOfTwoLiteralsMakeOneNodeOnTheFirstVariable)
{
    bddpp_manager m;
    bdd a = m.New_var_last("a"), b = m.New_var_last("b");
    bdd c = m.New_var_before(0, "c"); // id 2 at position 0
    bdd d = m.New_var_after(1, "d");  // id 3 at position 2
    const int nv = 4;
    std::vector<bdd> v = {a, b, c, d};
    for (const bdd& x : v)
        for (const bdd& y : v) {
            if (x == y) continue;
            for (int lx : {1, -1})
                for (int ly : {1, -1}) {
                    bdd fx = lx == 1 ? x : m.Bdd_not(x), fy = ly == 1 ? y : m.Bdd_not(y);
                    table tx = table_of(m, fx, nv), ty = table_of(m, fy, nv);
                    for (int conj : {1, 0}) {
                        long before = m.Bdd_total_size();
                        bdd r = conj ? m.Bdd_and(fx, fy) : m.Bdd_or(fx, fy);
                        EXPECT_LE(m.Bdd_total_size(), before + 1);
                        ASSERT_EQ(table_of(m, r, nv), conj ? (tx & ty) : (tx | ty));
                        ASSERT_TRUE(m.Bdd_is_correct(r));
                        long first = std::min(m.Bdd_if_index(x), m.Bdd_if_index(y));
                        EXPECT_EQ(m.Bdd_if_index(r), first);
                        // the same handle again, and from the operands swapped
                        EXPECT_EQ(conj ? m.Bdd_and(fy, fx) : m.Bdd_or(fy, fx), r);
                    }
                }
        }
}

TEST(BddConnectives, ExclusiveOrCreatesOnlyTheNodesOfItsResult)
{
    bddpp_manager m;
    std::vector<bdd> v = make_vars(m, 8);
    long before = m.Bdd_total_size();
    bdd x = m.Bdd_xor(v[0], v[1]); // one node on v0 whose both children are v1
    EXPECT_EQ(m.Bdd_total_size(), before + 1);
    EXPECT_EQ(x.node_ptr->then_node, v[1].node_ptr);
    EXPECT_EQ(x.node_ptr->else_node, v[1].node_ptr);
    // the parity of k + 1 variables has one node per variable, the last one v[k] itself: step
    // k makes k nodes, except the first, which finds x
    bdd p = v[0];
    for (int k = 1; k < 8; ++k) p = m.Bdd_xor(p, v[k]);
    EXPECT_EQ(m.Bdd_total_size(), before + 1 + 2 + 3 + 4 + 5 + 6 + 7);
    EXPECT_EQ(m.Bdd_size(p), 9); // 8 levels and the terminal
    EXPECT_EQ(m.Bdd_xnor(p, v[7]), m.Bdd_not(m.Bdd_xor(p, v[7])));
    EXPECT_EQ(m.Bdd_xor(p, p), m.Bdd_zero());
    EXPECT_EQ(m.Bdd_xor(p, m.Bdd_not(p)), m.Bdd_one());
    EXPECT_EQ(m.Bdd_xor(m.Bdd_one(), p), m.Bdd_not(p));
    EXPECT_EQ(m.Bdd_xor(p, m.Bdd_zero()), p);
}

TEST(BddConnectivesDeathTest, NullOperandsEndWithStatusOne)
{
    bddpp_manager m;
    bdd x = m.New_var_last("x");
    EXPECT_EXIT(m.Bdd_and(bdd(), x), ::testing::ExitedWithCode(1),
                "ERROR: call bddpp_manager::Bdd_and\\(\\) with null reference\nBdd_and\\(0,0x[0-9a-f]+\\)\n");
    EXPECT_EXIT(m.Bdd_or(x, bdd()), ::testing::ExitedWithCode(1),
                "^ERROR: call bddpp_manager::Bdd_or\\(\\) with null reference\n$");
    EXPECT_EXIT(m.Bdd_xor(x, bdd()), ::testing::ExitedWithCode(1), "Bdd_and\\(\\) with null reference");
    EXPECT_EXIT(m.Bdd_ite(1, 7, x, x), ::testing::ExitedWithCode(1),
                "^ERROR: abnormal index in bddpp_manager::Bdd_ite\\(\\)\n"
                "ERROR: call bddpp_manager::Bdd_and\\(\\) with null reference\n");
}

TEST(BddConnectivesDeathTest, SelfCheckDumpsTheOperandsAndEnds)
{
    // a corrupted node on y whose two children are the same node on x, above it in the order
    bddpp_manager m;
    bdd x = m.New_var_last("x"), y = m.New_var_last("y"), z = m.New_var_last("z");
    bdd_node* bad = new (&m) bdd_node(&m, m.next_number++, 1, 0, 1, x.node_ptr, x.node_ptr);
    bdd b(&m, 1, bad);
    EXPECT_EXIT(m.Bdd_and(b, z), ::testing::ExitedWithCode(1),
                "^INTERNAL ERROR in Bdd_and\\(\\): result has an index \\(0\\) less than the operands "
                "\\(1\\) and \\(2\\)!\n\n\nx= \n     if y \\(node: 0,index: 1\\)\n       x \\(node: 1,index: 0\\)\n"
                "     else \\(not y\\)\n       x \\(node: 1,index: 0\\)\ny=\n     z \\(node: 3,index: 2\\)\n"
                "result=\n     if x \\(node: 4,index: 0\\)\n       z \\(node: 3,index: 2\\)\n"
                "     else \\(not x\\)\n       not\\(\n           1 \\(node: 2,index: -1\\)\n          \\)\n$");
}

} // namespace
