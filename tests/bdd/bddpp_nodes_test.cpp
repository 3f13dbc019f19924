// Handles, reference counts, node creation, the unique table and collection.
#include <gtest/gtest.h>

#include <cstdlib>
#include <iostream>
#include <random>
#include <sstream>

#include "tests/support/bdd_model.h"

namespace {

TEST(BddNodes, NewManagerHoldsOnlyTheTerminal)
{
    bddpp_manager m;
    EXPECT_EQ(m.nvars, 0);
    EXPECT_EQ(m.capacity, 16);
    EXPECT_EQ(m.Bdd_total_size(), 2);
    EXPECT_EQ(m.terminal->number, 1);
    EXPECT_EQ(m.terminal->signature(), -1);
    EXPECT_EQ(m.terminal->refs, 1);
    EXPECT_EQ(m.Table_size(), 0);
    bdd_node n;
    EXPECT_EQ(n.var, -3);
    EXPECT_EQ(n.signature(), -3);
    EXPECT_EQ(bdd_node_signature(-1, 1, nullptr, nullptr), -1);
}

TEST(BddNodes, ComplementAndConstants)
{
    bddpp_manager m;
    bdd x = m.New_var_last("x");
    long size = m.Bdd_total_size();
    EXPECT_EQ(m.Bdd_not(m.Bdd_zero()), m.Bdd_one());
    EXPECT_EQ(m.Bdd_not(m.Bdd_not(x)), x);
    EXPECT_EQ(m.Bdd_total_size(), size);
    EXPECT_EQ(m.Bdd_then(m.Bdd_zero()), m.Bdd_one());
    EXPECT_EQ(m.Bdd_else(m.Bdd_zero()), m.Bdd_one());
    EXPECT_EQ(m.Bdd_then(m.Bdd_not(x)), m.Bdd_zero());
    EXPECT_EQ(m.Bdd_else(m.Bdd_not(x)), m.Bdd_one());
    struct {
        bdd f;
        int var, negvar, taut, taut0, taut1;
    } cases[] = {{m.Bdd_one(), 0, 0, 1, 0, 1}, {m.Bdd_zero(), 0, 0, 1, 1, 0}, {x, 1, 0, 0, 0, 0},
                 {m.Bdd_not(x), 0, 1, 0, 0, 0}, {bdd(), 0, 0, 0, 0, 0}};
    for (const auto& c : cases) {
        EXPECT_EQ(m.Bdd_is_var(c.f), c.var);
        EXPECT_EQ(m.Bdd_is_negvar(c.f), c.negvar);
        EXPECT_EQ(m.Bdd_is_tautology(c.f), c.taut);
        EXPECT_EQ(m.Bdd_is_tautology(c.f, 0), c.taut0);
        EXPECT_EQ(m.Bdd_is_zero_tautologic(c.f), c.taut0);
        EXPECT_EQ(m.Bdd_is_tautology(c.f, 7), c.taut1);
        EXPECT_EQ(m.Bdd_is_one_tautologic(c.f), c.taut1);
    }
}

TEST(BddNodes, FindOrCreateGivesOneNodePerRequest)
{
    bddpp_manager m;
    bdd x = m.New_var_last("x"), y = m.New_var_last("y");
    bdd_node* K = m.terminal;
    int link = 1;
    bdd_node* a = m.Find_or_create_bdd_node(0, -1, 1, y.node_ptr, K, link);
    EXPECT_EQ(link, -1);
    EXPECT_EQ(a->else_link, -1);
    EXPECT_EQ(a->number, 4);
    EXPECT_EQ(y.node_ptr->refs, 2); // y's handle and the new parent
    link = 1;
    EXPECT_EQ(m.Find_or_create_bdd_node(0, -1, 1, y.node_ptr, K, link), a);
    EXPECT_EQ(m.Bdd_total_size(), 5);
    link = 1;
    EXPECT_EQ(m.Find_or_create_bdd_node(1, 1, 1, K, K, link), K);
    link = 1;
    EXPECT_EQ(m.Find_or_create_bdd_node(1, -1, 1, K, K, link), y.node_ptr);
    EXPECT_EQ(link, -1);
    link = 1;
    EXPECT_EQ(m.Find_or_create_bdd_node(-1, 1, 1, y.node_ptr, K, link), K);
    link = 1;
    EXPECT_EQ(m.Find_or_create_bdd_node(-2, 1, 1, y.node_ptr, K, link), nullptr);
    testing::internal::CaptureStderr();
    link = 1;
    EXPECT_EQ(m.Find_or_create_bdd_node(1, 1, -1, x.node_ptr, y.node_ptr, link), nullptr);
    EXPECT_EQ(m.Find_or_create_bdd_node(1, 1, 1, K, y.node_ptr, link), nullptr);
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "FATAL ERROR: Bad call of bddpp_manager::Find_or_create_bdd_node():\n"
              "  index 1 is not less than  its then node index (0)\n"
              "FATAL ERROR: Bad call of bddpp_manager::Find_or_create_bdd_node():\n"
              "  index 1 is not less than  its else node index (1)\n");
    EXPECT_EQ(m.Bdd_total_size(), 5);
}

TEST(BddNodes, HandlesKeepReferenceCounts)
{
    bddpp_manager m;
    bdd x = m.New_var_last("x");
    bdd_node* n = x.node_ptr;
    EXPECT_EQ(n->refs, 1);
    {
        bdd copy(x);
        EXPECT_EQ(n->refs, 2);
        copy = x;
        copy = copy;
        EXPECT_EQ(n->refs, 2);
        bdd other = m.Bdd_not(x);
        other = copy;
        EXPECT_EQ(n->refs, 3);
        other = m.Bdd_one();
        EXPECT_EQ(n->refs, 2);
    }
    EXPECT_EQ(n->refs, 1);
    std::ostringstream out;
    out << bdd();
    EXPECT_EQ(out.str(), "adr manager= 0, link type =0, adr node= 0, ");
}

TEST(BddNodes, GcFreesUnreferencedChainsOnly)
{
    bddpp_manager m;
    std::vector<bdd> v = make_vars(m, 4);
    bdd kept = m.Bdd_and(v[2], v[3]);
    {
        bdd chain = m.Bdd_and(v[0], m.Bdd_and(v[1], m.Bdd_or(v[2], v[3])));
        EXPECT_EQ(m.Table_size(), 4 + 4);
    }
    long numbers = m.Bdd_total_size();
    m.Bdd_gc();
    EXPECT_EQ(m.gc_calls, 1);
    EXPECT_EQ(m.Table_size(), 4 + 1); // the variables and the held node
    EXPECT_EQ(kept.node_ptr->then_node, v[3].node_ptr);
    EXPECT_EQ(table_of(m, kept, 4), var_table(2, 4) & var_table(3, 4));
    // variable nodes survive without handles; numbers are never reused
    bdd_node* x0 = v[0].node_ptr;
    v.clear();
    m.Bdd_gc();
    EXPECT_EQ(m.gc_calls, 2);
    EXPECT_EQ(m.Table_size(), 4 + 1);
    EXPECT_EQ(m.var_nodes[0], x0);
    bdd again = m.Bdd_or(m.Bdd_var_by_id(2), m.Bdd_var_by_id(3));
    EXPECT_EQ(again.node_ptr->number, numbers);
    EXPECT_EQ(m.terminal->refs, 1 + 2); // its own count and the two parents built by operations
}

// Collections that free many of the nodes (one sweep over the table) and few of them (one
// erasure per node) leave every held function as it was and only its nodes in the table.
TEST(BddNodes, GcOfManyOrFewNodesKeepsTheHeldFunctions)
{
    bddpp_manager m;
    const int NV = 10;
    std::vector<bdd> v = make_vars(m, NV);
    std::mt19937 rng(7);
    std::vector<model_fn> held;
    for (int round = 0; round < 6; ++round) {
        {
            std::vector<model_fn> dropped;
            for (int i = 0; i < (round % 2 ? 5 : 400); ++i) dropped.push_back(random_fn(m, v, NV, rng, 5));
            for (int i = 0; i < 40; ++i) held.push_back(random_fn(m, v, NV, rng, 5));
        }
        m.Bdd_gc();
        long live = 0;
        for (const model_fn& f : held) {
            ASSERT_EQ(table_of(m, f.f, NV), f.t);
            ASSERT_TRUE(m.Bdd_is_correct(f.f));
        }
        // the table holds the variables and the nodes below the held functions, nothing else
        m.Bdd_global_clear_marks();
        for (const model_fn& f : held) live = m.Bdd_incremental_id(f.f.node_ptr, live);
        for (const model_fn& f : held) m.Bdd_clear_marks(f.f);
        EXPECT_LE(m.Table_size(), live + NV) << round;
        EXPECT_GE(m.Table_size(), live - 1) << round;
    }
}

TEST(BddNodes, SignaturesPackTheChildrenAndTheVariable)
{
    bddpp_manager m;
    bdd_node t, e;
    t.number = 1048575;
    e.number = 1048574;
    long long s = bdd_node_signature(4194303, 1, &t, &e);
    EXPECT_EQ(s, (4194303LL << 41) | (1048575LL << 21) | (1048574LL << 1) | 1);
    EXPECT_EQ(bdd_node_signature(3, -1, &t, &e) & 1, 0);
    EXPECT_NE(bdd_node_signature(3, 1, &e, &t), bdd_node_signature(3, 1, &t, &e));
}

// The packed fields keep their full ranges apart, and a node's owner comes from its block: two
// managers making nodes in turn, over more than one block each, and a manager made after
// another is gone (whose blocks it takes over) each answer for their own nodes.
TEST(BddNodes, PackedFieldsAndOwnersFromTheBlocks)
{
    bdd_node n;
    EXPECT_EQ(n.owner(), nullptr);
    n.number = (1L << 37) - 1;
    n.var = (1 << 23) - 1;
    n.else_link = -1;
    n.trav_number = (1 << 30) - 1;
    n.mark = 1;
    n.refs = -5;
    EXPECT_EQ(n.number, (1L << 37) - 1);
    EXPECT_EQ(n.var, (1 << 23) - 1);
    EXPECT_EQ(n.else_link, -1);
    EXPECT_EQ(n.trav_number, (1 << 30) - 1);
    EXPECT_EQ(n.mark, 1u);
    EXPECT_EQ(n.refs, -5);
    n.var = -3;
    n.else_link = 1;
    n.trav_number = -7;
    EXPECT_EQ(n.var, -3);
    EXPECT_EQ(n.else_link, 1);
    EXPECT_EQ(n.trav_number, -7);
    EXPECT_EQ(n.number, (1L << 37) - 1);
    bdd_node* heap = new bdd_node();
    heap->var = 4; // no manager's blocks: still none
    EXPECT_EQ(heap->owner(), nullptr);
    delete heap;

    for (int round = 0; round < 2; ++round) {
        bddpp_manager a, b;
        std::vector<bdd> va = make_vars(a, 18), vb = make_vars(b, 18);
        std::vector<bdd> fa, fb;
        const int per_block = int(bdd_node::block_bytes / sizeof(bdd_node));
        for (int k = 0; a.Table_size() < per_block + 1000; ++k) {
            bdd ca = a.Bdd_one(), cb = b.Bdd_one();
            for (int i = 0; i < 18; ++i) {
                ca = a.Bdd_and(ca, (k >> (i % 16)) & 1 ? va[i] : a.Bdd_not(va[i]));
                cb = b.Bdd_and(cb, (k >> (i % 16)) & 1 ? b.Bdd_not(vb[i]) : vb[i]);
            }
            fa.push_back(ca);
            fb.push_back(cb);
        }
        EXPECT_EQ(a.terminal->owner(), &a);
        EXPECT_EQ(b.terminal->owner(), &b);
        long checked = 0;
        for (bdd_node* x : a.Table_nodes_in_key_order()) checked += x->owner() == &a;
        for (bdd_node* x : b.Table_nodes_in_key_order()) checked += x->owner() == &b;
        EXPECT_EQ(checked, a.Table_size() + b.Table_size());
        for (size_t i = 0; i < fa.size(); i += 97) EXPECT_EQ(a.Bdd_size(fa[i]), 19) << i;
    }
}

TEST(BddNodes, FreeIsUselessAndSaysSo)
{
    bddpp_manager m;
    testing::internal::CaptureStderr();
    m.Bdd_free(m.Bdd_one());
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "bddpp_manager::Bdd_free() is now became useless\n");
    testing::internal::CaptureStderr();
    m.Map_suppress(m.terminal); // not in the table: nothing happens
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
}

// A node past the budget calls the handler with the budget, or, without one, ends the process
// with one line and status 1; nodes already in the table are still found.
TEST(BddNodesDeathTest, NodeBudget)
{
    EXPECT_GT(Bdd_memory_node_limit(), 0);
    EXPECT_EQ(bdd_node_limit, Bdd_memory_node_limit());
    const long saved = bdd_node_limit;
    EXPECT_EXIT(
        {
            bdd_node_limit = 5;
            bddpp_manager m;
            std::vector<bdd> v = make_vars(m, 8);
            bdd f = m.Bdd_zero();
            for (int i = 0; i + 1 < 8; i += 2) f = m.Bdd_or(f, m.Bdd_and(v[i], v[i + 1]));
        },
        testing::ExitedWithCode(1),
        "^ERROR in bddpp_manager::Find_or_create_bdd_node\\(\\): more than 5 nodes, the memory budget of a manager\n$");
    static long reported = 0;
    EXPECT_EXIT(
        {
            bdd_node_limit = 3;
            bdd_node_limit_handler = [](long limit) {
                std::cerr << "handler " << limit << std::endl;
                std::exit(7);
            };
            bddpp_manager m;
            std::vector<bdd> v = make_vars(m, 8);
            bdd f = m.Bdd_one();
            for (int i = 0; i < 8; ++i) f = m.Bdd_and(f, v[i]);
            reported = 1;
        },
        testing::ExitedWithCode(7), "^handler 3\n$");
    EXPECT_EQ(reported, 0);
    {
        // a full table still finds its nodes
        bddpp_manager m;
        std::vector<bdd> v = make_vars(m, 8);
        bdd f = m.Bdd_and(v[0], v[1]);
        bdd_node_limit = m.Table_size();
        EXPECT_EQ(m.Bdd_and(v[0], v[1]), f);
        EXPECT_EQ(m.Bdd_or(m.Bdd_not(v[0]), m.Bdd_not(v[1])), m.Bdd_not(f));
    }
    bdd_node_limit = saved;
}

// Far more nodes than the 20-bit fields of the signature can tell apart: every node is
// found by its whole identity, so functions built after the wrap stay right.
TEST(BddNodes, UniqueTableBeyondTwoToTheTwentyNodes)
{
    bddpp_manager m;
    const int NV = 10, NY = 40, LITS = 20;
    std::vector<bdd> v = make_vars(m, NV);
    std::vector<bdd> y;
    for (int i = 0; i < NY; ++i) y.push_back(m.New_var_last("y" + std::to_string(i)));
    // random cubes over the y variables, built from the bottom up: one node per literal
    std::mt19937 rng(99);
    std::vector<bdd> cubes;
    std::vector<std::vector<int>> literals;
    while (m.Bdd_total_size() < (1L << 20) + 100000) {
        std::vector<int> vals(NY, 2);
        for (int k = 0; k < LITS; ++k) vals[rng() % NY] = int(rng() % 2);
        bdd c = m.Bdd_one();
        for (int p = NY - 1; p >= 0; --p)
            if (vals[p] != 2) c = m.Bdd_and(vals[p] ? y[p] : m.Bdd_not(y[p]), c);
        cubes.push_back(c);
        literals.push_back(vals);
    }
    // functions built now have nodes and children numbered beyond 2^20
    for (int i = 0; i < 300; ++i) {
        model_fn f = random_fn(m, v, NV, rng, 5);
        ASSERT_EQ(table_of(m, f.f, NV), f.t);
        ASSERT_TRUE(m.Bdd_is_correct(f.f));
        ASSERT_GT(m.Bdd_total_size(), 1L << 20);
    }
    // every cube is still the product of its literals
    for (size_t i = 0; i < cubes.size(); i += 101) {
        std::vector<int> back(NV + NY);
        m.Bdd_to_literals(cubes[i], back.data());
        ASSERT_EQ(std::vector<int>(back.begin() + NV, back.end()), literals[i]) << i;
    }
}

// A diagram as deep as a long variable order: no operation may run out of stack on it.
TEST(BddNodes, DeepDiagramsNeedNoDeepRecursion)
{
    bddpp_manager m;
    const long N = 300000;
    std::vector<bdd> v;
    for (long i = 0; i < N; ++i) v.push_back(m.New_var_last("v" + std::to_string(i)));
    bdd all = m.Bdd_one(), any = m.Bdd_zero();
    for (long p = N - 1; p >= 0; --p) {
        all = m.Bdd_and(v[p], all);
        any = m.Bdd_or(v[p], any);
    }
    EXPECT_EQ(m.Bdd_and(all, any), all);
    EXPECT_EQ(m.Bdd_or(all, any), any);
    bdd both = m.Bdd_and(all, m.Bdd_not(any));
    EXPECT_EQ(both, m.Bdd_zero());
    EXPECT_EQ(m.Bdd_cube_reduce(all, v[N - 1]), m.Bdd_exist(all, v[N - 1]));
    EXPECT_EQ(m.Bdd_size(all), N + 1);
    EXPECT_EQ(long(all.node_ptr->support_set().size()), N);
    EXPECT_TRUE(m.Bdd_is_correct(any));
    EXPECT_TRUE(m.Bdd_is_cube(all));
    std::vector<int> vals(N, 2);
    EXPECT_EQ(m.Bdd_OneSat(any.node_ptr, any.link, vals.data()), 1);
    EXPECT_EQ(vals[0], 1);
    vals.assign(N, 2);
    EXPECT_EQ(m.Bdd_eval_for_literal(any, vals.data()), 2);
    vals[N - 1] = 1;
    EXPECT_EQ(m.Bdd_eval_for_literal(any, vals.data()), 1);
}

} // namespace
