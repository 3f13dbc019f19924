// Cycle breaking on circuits read from BLIF, with combinational cycles through multiplexers that
// every value of their select opens: afterwards no cycle is left (the automaton's sort finds none
// and ABC reads the written circuit, while it refuses the original for its loop), and every output
// and next state has, for every input and register value where the original settles, the value
// that the original settles on (a three-valued fixpoint of the original equations, computed here).
#include <gtest/gtest.h>

#include <functional>
#include <random>
#include <sstream>

#include "fuzz/blif_read_once.h"
#include "tests/support/b_automaton_tools_fixture.h"

namespace {

// Three-valued value (0, 1, 2 unknown) of f under vals, indexed by position (ids and positions
// coincide in an automaton read from BLIF).
int value3(const bdd_node* n, int link, const std::vector<int>& vals)
{
    if (n->then_node == nullptr) return link == 1 ? 1 : 0;
    int v = vals[n->var];
    int t = v == 0 ? -1 : value3(n->then_node, link, vals);
    int e = v == 1 ? -1 : value3(n->else_node, link * n->else_link, vals);
    if (v == 1) return t;
    if (v == 0) return e;
    return t == e ? t : 2;
}

int value3(const bdd& f, const std::vector<int>& vals)
{
    return value3(f.node_ptr, f.link, vals);
}

// The equations of a forest as (position, right member).
std::vector<std::pair<long, bdd>> equations_of(Bddexpressionwood* w)
{
    std::vector<std::pair<long, bdd>> eqs;
    for (long p : w->expression_ids) eqs.push_back({p, w->exp_table[p]->bdd_exp});
    return eqs;
}

// Least fixpoint from "unknown" of the equations, the other positions taken from free.
std::vector<int> settle(const std::vector<std::pair<long, bdd>>& eqs, std::vector<int> vals)
{
    for (const auto& e : eqs) vals[e.first] = 2;
    for (bool changed = true; changed;) {
        changed = false;
        for (const auto& e : eqs) {
            int v = value3(e.second, vals);
            if (v != vals[e.first]) {
                vals[e.first] = v;
                changed = true;
            }
        }
    }
    return vals;
}

// Rings of multiplexers x_j := s ? in : x_(j+1) and x_j := s ? x_(j+1) : in alternately, so that
// each value of s opens the ring; gates and registers reading the rings; outputs among them. The
// data of the rings are inputs and registers: when a ring reads another one, the detection of the
// breaking (the equations dated past the bound) can miss the cycles of the copies.
std::string mux_rings(unsigned seed, int rings)
{
    std::mt19937 rng(seed);
    std::ostringstream head, body;
    // one select per ring: a ring that the first detection misses still finds its select free
    int inputs = 4, selects = rings;
    std::vector<std::string> pool;
    head << ".model rings" << seed << "\n.inputs";
    for (int i = 0; i < inputs; ++i) {
        head << " a" << i;
        pool.push_back("a" + std::to_string(i));
    }
    for (int i = 0; i < selects; ++i) head << " s" << i;
    pool.push_back("q0");
    pool.push_back("q1");
    std::vector<std::string> outputs;
    for (int r = 0; r < rings; ++r) {
        int length = 2 + rng() % 3;
        std::string s = "s" + std::to_string(r);
        for (int j = 0; j < length; ++j) {
            std::string x = "x" + std::to_string(r) + "_" + std::to_string(j);
            std::string next = "x" + std::to_string(r) + "_" + std::to_string((j + 1) % length);
            std::string in = pool[rng() % pool.size()];
            // mux s p q: 11- 1 and 0-1 1
            std::string p = j % 2 == 0 ? in : next, q = j % 2 == 0 ? next : in;
            body << ".names " << s << " " << p << " " << q << " " << x << "\n11- 1\n0-1 1\n";
        }
        outputs.push_back("x" + std::to_string(r) + "_0");
    }
    for (int r = 0; r < rings; ++r)
        for (int j = 0; j < 2; ++j) pool.push_back("x" + std::to_string(r) + "_" + std::to_string(j));
    for (int g = 0; g < 2 * rings; ++g) {
        std::string name = "g" + std::to_string(g);
        body << ".names " << pool[rng() % pool.size()] << " " << pool[rng() % pool.size()] << " " << name
             << "\n10 1\n01 1\n";
        pool.push_back(name);
        if (g % 2 == 1) outputs.push_back(name);
    }
    head << "\n.outputs";
    for (const std::string& o : outputs) head << " " << o;
    head << "\n.latch n0 q0 0\n.latch n1 q1 1\n";
    body << ".names " << pool.back() << " n0\n1 1\n.names " << pool[pool.size() - 2] << " q0 n1\n11 1\n";
    return head.str() + body.str() + ".end\n";
}

// What one run gave.
struct broken {
    bool read = false;
    int ok = -1;
    std::list<long> cycles_before, cycles_after;
    long created = 0;
    long compared = 0;   // signal values compared
    long mismatches = 0; // of them, the ones that differ
    std::string first_mismatch;
    std::string before_blif, after_blif;
};

// mutate, when given, changes the automaton after the break (a test-only broken break).
broken break_cycles(const std::string& text, const std::function<void(b_automaton*)>& mutate = nullptr)
{
    broken b;
    std::ostringstream log;
    testing::internal::CaptureStderr();
    blif_read_once(text, log, 0, [&](class_blif_parser& p) {
        b_automaton* a = p.automaton;
        if (a == nullptr) return;
        b.read = true;
        bddpp_manager* m = a->manager_associe();
        b.cycles_before = a->sort();
        std::ostringstream before;
        a->BLIF_put(before, 1, "circuit");
        b.before_blif = before.str();
        const long n0 = a->wood->Nb_bdd_vars();
        std::vector<std::pair<long, bdd>> original = equations_of(a->wood);
        std::fstream none;
        int locals = a->local_count;
        b.ok = a->make_sortable(0, 0, none);
        b.created = a->local_count - locals;
        if (mutate) mutate(a);
        b.cycles_after = a->sort();
        std::ostringstream after;
        a->BLIF_put(after, 1, "circuit");
        b.after_blif = after.str();
        // the free positions: registers and inputs
        std::vector<long> free;
        for (long p = 0; p < n0; ++p)
            if (a->wood->exp_table[p] == nullptr) free.push_back(p);
        std::list<long> order = a->wood->earliest_sort();
        const long n = a->wood->Nb_bdd_vars();
        std::mt19937 rng(1);
        const bool exhaustive = free.size() <= 12;
        const unsigned samples = exhaustive ? (1u << free.size()) : 4096;
        for (unsigned code = 0; code < samples; ++code) {
            std::vector<int> vals(n, 0);
            for (size_t k = 0; k < free.size(); ++k) vals[free[k]] = exhaustive ? (code >> k) & 1 : rng() & 1;
            std::vector<int> settled = settle(original, vals);
            // the broken forest in date order, two-valued
            std::vector<int> computed = vals;
            for (long q : order) computed[q] = value3(a->wood->exp_table[q]->bdd_exp, computed);
            for (const auto& e : original) {
                if (settled[e.first] == 2) continue;
                b.compared++;
                if (computed[e.first] != settled[e.first]) {
                    if (b.mismatches++ == 0) b.first_mismatch = m->Name_var_by_index(e.first);
                }
            }
        }
    });
    testing::internal::GetCapturedStderr();
    return b;
}

std::string abc_reads(const std::string& blif)
{
    std::string dir = tool_directory("sortable");
    write_file(dir + "/c.blif", blif);
    std::string out;
    run_command("cd '" + dir + "' && timeout 120 berkeley-abc -c \"read c.blif; strash; print_stats\"", out);
    return out;
}

} // namespace

TEST(MakeSortableBlif, TwoMultiplexersOfOneSelect)
{
    broken b = break_cycles(".model two\n.inputs a b s\n.outputs x y\n.names s a y x\n11- 1\n0-1 1\n"
                            ".names s x b y\n11- 1\n0-1 1\n.end\n");
    ASSERT_TRUE(b.read);
    EXPECT_FALSE(b.cycles_before.empty());
    EXPECT_EQ(b.ok, 1);
    EXPECT_TRUE(b.cycles_after.empty());
    EXPECT_EQ(b.created, 4);
    EXPECT_EQ(b.compared, 16);
    EXPECT_EQ(b.mismatches, 0) << b.first_mismatch;
}

TEST(MakeSortableBlif, RingsOfMultiplexersAgainstTheirFixpoint)
{
    const bool abc = have_tool("berkeley-abc");
    for (unsigned seed = 1; seed <= 12; ++seed) {
        std::string text = mux_rings(seed, 1 + seed % 3);
        broken b = break_cycles(text);
        ASSERT_TRUE(b.read) << text;
        EXPECT_FALSE(b.cycles_before.empty()) << text;
        EXPECT_EQ(b.ok, 1) << text;
        EXPECT_TRUE(b.cycles_after.empty()) << text;
        EXPECT_GT(b.created, 0);
        EXPECT_GT(b.compared, 0);
        EXPECT_EQ(b.mismatches, 0) << b.first_mismatch << "\n" << text;
        if (!abc) continue;
        EXPECT_NE(abc_reads(b.before_blif).find("combinational loop"), std::string::npos);
        std::string read = abc_reads(b.after_blif);
        EXPECT_EQ(read.find("combinational loop"), std::string::npos) << read;
        EXPECT_NE(read.find("lat =    2"), std::string::npos) << read;
    }
}

// The check bites: one created equation complemented after the break is found.
TEST(MakeSortableBlif, ABrokenBreakIsFound)
{
    std::string text = ".model two\n.inputs a b s\n.outputs x y\n.names s a y x\n11- 1\n0-1 1\n"
                       ".names s x b y\n11- 1\n0-1 1\n.end\n";
    broken b = break_cycles(text, [](b_automaton* a) {
        long p = a->manager_associe()->Index_var_by_name(a->local_names[a->local_count - 1]);
        a->wood->append_not_expression(p);
    });
    EXPECT_TRUE(b.cycles_after.empty());
    EXPECT_GT(b.mismatches, 0);
}
