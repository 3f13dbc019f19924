// Cofactors by cubes, restriction, quantifiers, composition, renaming, truncation and truth tables.
#include <iostream>
#include <map>
#include <unordered_map>
#include <utility>
#include <vector>

#include "bdd/bddpp.h"
#include "bdd/bddpp_tables.h"

namespace {

// One pending rebuild of the explicit cofactor stack.
struct cofactor_frame {
    bdd_node* n;  // node asked for, taken with link 1
    bdd_node* m;  // first node below n whose variable is free; the rebuilt one
    int acc;      // link gathered from n down to m
    bdd_node* r1; // then result
    int l1;       // then result's link
    int state;    // 0: not started, 1: then side running, 2: else side running
};

[[noreturn]] void null_cofactor()
{
    std::cerr << "Error in Bdd_cube_reduce(): bdd has a Null pointer!" << std::endl;
    bdd_exit(1);
}

} // namespace

// The cofactor of a complement is the complement of the cofactor, so results are kept for the
// regular node; a sub-diagram met again is taken from the memo instead of being rebuilt.
bdd_node* bddpp_manager::Bdd_cube_reduce(int a, bdd_node* n0, int* vals, int& link)
{
    if (!n0) null_cofactor();
    std::unordered_map<bdd_node*, std::pair<bdd_node*, int>> memo;
    std::vector<cofactor_frame> stack(1, cofactor_frame{n0, nullptr, 1, nullptr, 0, 0});
    bdd_node* r = nullptr;
    int l = 1;
    while (!stack.empty()) {
        cofactor_frame& f = stack.back();
        if (f.state == 0) {
            // terminal cases: fixed variables are followed down to a free one or the terminal
            bdd_node* m = f.n;
            int acc = 1;
            while (m != terminal) {
                if (!m) null_cofactor();
                int v = vals[Position_of(m)];
                if (v == 2) break;
                if (v == 1) m = m->then_node;
                else acc *= m->else_link, m = m->else_node;
            }
            if (m == terminal) {
                r = terminal, l = acc;
                stack.pop_back();
                continue;
            }
            // memo lookup
            auto known = memo.find(m);
            if (known != memo.end()) {
                r = known->second.first, l = acc * known->second.second;
                stack.pop_back();
                continue;
            }
            f.m = m;
            f.acc = acc;
            f.state = 1;
            stack.push_back(cofactor_frame{m->then_node, nullptr, 1, nullptr, 0, 0});
            continue;
        }
        if (f.state == 1) {
            f.r1 = r, f.l1 = l, f.state = 2;
            stack.push_back(cofactor_frame{f.m->else_node, nullptr, 1, nullptr, 0, 0});
            continue;
        }
        int l2 = f.m->else_link * l;
        if (f.r1 != r || f.l1 != l2) {
            // new node
            int lk = 1;
            r = Find_or_create_bdd_node(Position_of(f.m), f.l1, l2, f.r1, r, lk);
            l = lk;
        } else {
            l = l2;
        }
        memo[f.m] = std::make_pair(r, l);
        l *= f.acc;
        stack.pop_back();
    }
    link = a * l;
    return r;
}

bdd_node* bddpp_manager::Bdd_cube_reduce(int a, bdd_node* n, int b, bdd_node* c, int& link)
{
    if (!n) null_cofactor();
    if (!c) {
        std::cerr << "Error in Bdd_cube_reduce(): assertion has a Null pointer!" << std::endl;
        bdd_exit(1);
    }
    link = a;
    if (n == terminal || c == terminal) return n;
    int* vals = new int[nvars];
    Bdd_node_to_literals(b, c, vals);
    bdd_node* r = Bdd_cube_reduce(a, n, vals, link);
    delete[] vals;
    return r;
}

bdd bddpp_manager::Bdd_cube_reduce(const bdd& f, const bdd& c)
{
    int link;
    bdd_node* n = Bdd_cube_reduce(f.link, f.node_ptr, c.link, c.node_ptr, link);
    return bdd(this, link, n);
}

bdd bddpp_manager::Bdd_reduce(const bdd& f, const bdd& g)
{
    if (!exists_common_variables(f, g)) return f;
    if (Bdd_is_cube(g)) return Bdd_cube_reduce(f, g);
    bdd rest = g, result = Bdd_one();
    while (!Bdd_is_zero_tautologic(rest)) {
        bdd c = Bdd_satisfy(rest);
        if (!Bdd_is_cube(c)) {
            std::cerr << "ERREUR sur !!!" << std::endl;
            Print_bdd_structure(std::cerr, c);
            bdd_exit(1);
        }
        bdd cofactor = Bdd_cube_reduce(f, c);
        result = Bdd_and(result, cofactor);
        rest = Bdd_and(rest, Bdd_not(c));
    }
    return result;
}

// ---- quantifiers ----

namespace {

// Exist (is_or) or forall of one variable: the OR (AND) of the cofactors by NOT v and by v,
// the cofactor by v computed first. The cache keys on v's node: both literals of a variable
// quantify the same.
bdd quantify(bddpp_manager* m, bool is_or, const bdd& f, const bdd& v)
{
    if (!m->Bdd_is_var(v) && !m->Bdd_is_negvar(v)) return f;
    int op = is_or ? bdd_computed_table::op_exist : bdd_computed_table::op_forall;
    bdd_node* r;
    int l;
    // a function of no manager or of another one is never cached: the dependence test must
    // report it on every call
    bool cached = m->cache_on && f.node_ptr && f.node_ptr->owner() == m;
    if (cached && m->computed->lookup(op, f.link, f.node_ptr, 1, v.node_ptr, r, l)) return bdd(m, l, r);
    bdd result = f;
    if (m->Bdd_depends_on(f, v)) {
        bdd positive = m->Bdd_cube_reduce(f, v);
        bdd negative = m->Bdd_cube_reduce(f, m->Bdd_not(v));
        result = is_or ? m->Bdd_or(negative, positive) : m->Bdd_and(negative, positive);
    }
    if (cached) m->computed->insert(op, f.link, f.node_ptr, 1, v.node_ptr, result.node_ptr, result.link);
    return result;
}

} // namespace

bdd bddpp_manager::Bdd_exist(const bdd& f, const bdd& v) { return quantify(this, true, f, v); }

bdd bddpp_manager::Bdd_forall(const bdd& f, const bdd& v) { return quantify(this, false, f, v); }

// ---- composition, renaming, truncation ----

namespace {

typedef std::map<std::pair<bdd_node*, int>, bdd> handle_memo; // results by (node, link)

// One pending sub-function of the explicit rebuild stack.
struct rebuild_frame {
    bdd f;     // the sub-function
    bdd pre;   // what was computed for it before its cofactors
    bdd first; // result of the side computed first
    int state; // 0: not started, 1: first side running, 2: second side running
};

// Rebuilds f bottom-up: pre(g) is computed for a sub-function g before its cofactors, then
// build(g, pre, then result, else result) gives g's result from its cofactors' results;
// then_first says which side is computed first. A sub-function met again is taken from the
// memo: rebuilding it anew would only find the same nodes again. The recursion lives on an
// explicit stack, so a diagram as deep as the variable order costs no call depth.
template <class Leaf, class Pre, class Build>
bdd rebuild(bddpp_manager* m, const bdd& f, bool then_first, Leaf leaf, Pre pre, Build build)
{
    handle_memo memo;
    std::vector<rebuild_frame> stack;
    bdd r;
    // true when r holds g's result at once; otherwise g's frame is pushed
    auto start = [&](const bdd& g) {
        if (leaf(g, r)) return true;
        handle_memo::iterator known = memo.find(std::make_pair(g.node_ptr, g.link));
        if (known != memo.end()) {
            r = known->second;
            return true;
        }
        bdd before = pre(g);
        stack.push_back(rebuild_frame{g, before, bdd(), 0});
        return false;
    };
    if (start(f)) return r;
    while (!stack.empty()) {
        rebuild_frame& top = stack.back();
        if (top.state < 2) {
            if (top.state == 1) top.first = r;
            bool first_side = top.state == 0;
            top.state += 1;
            bdd side = first_side == then_first ? m->Bdd_then(top.f) : m->Bdd_else(top.f);
            start(side); // may push a frame: top is not used again in this round
            continue;
        }
        bdd t = then_first ? top.first : r;
        bdd e = then_first ? r : top.first;
        bdd result = build(top.f, top.pre, t, e);
        memo[std::make_pair(top.f.node_ptr, top.f.link)] = result;
        stack.pop_back();
        r = result;
    }
    return r;
}

// A constant is its own result.
bool constant_leaf(const bdd_node* terminal, const bdd& g, bdd& r)
{
    if (g.node_ptr != terminal) return false;
    r = g;
    return true;
}

} // namespace

bdd bddpp_manager::Bdd_compose(const bdd& f, const bdd& x, const bdd& h)
{
    if (!Bdd_is_var(x)) {
        std::cerr << "Warning in bddpp_manager::Bdd_compose(): second parametre is not a variable!" << std::endl;
        return Bdd_zero();
    }
    return Bdd_compose_loc(f, x, h);
}

bdd bddpp_manager::Bdd_compose_loc(const bdd& f, const bdd& x, const bdd& h)
{
    long px = x.node_ptr ? Position_of(x.node_ptr) : -3;
    return rebuild(
        this, f, true, [this](const bdd& g, bdd& r) { return constant_leaf(terminal, g, r); },
        [](const bdd&) { return bdd(); },
        [&](const bdd& g, const bdd&, const bdd& t, const bdd& e) {
            long p = Position_of(g.node_ptr);
            return p == px ? Bdd_ite(h, t, e) : Bdd_ite(1, p, t, e);
        });
}

// The new variable of a level is looked up before its cofactors are rebuilt, the else side
// first.
bdd bddpp_manager::Bdd_replace_vars(const bdd& f, long* map)
{
    return rebuild(
        this, f, false, [this](const bdd& g, bdd& r) { return constant_leaf(terminal, g, r); },
        [&](const bdd& g) { return Bdd_var_by_index(map[Position_of(g.node_ptr)]); },
        [&](const bdd&, const bdd& v, const bdd& t, const bdd& e) { return Bdd_ite(v, t, e); });
}

bdd bddpp_manager::Bdd_keep_first_variables(const bdd& f, long n)
{
    return rebuild(
        this, f, true,
        [&](const bdd& g, bdd& r) {
            if (g.node_ptr == terminal) r = g;
            else if (Position_of(g.node_ptr) >= n) r = Bdd_one();
            else return false;
            return true;
        },
        [](const bdd&) { return bdd(); },
        [&](const bdd& g, const bdd&, const bdd& t, const bdd& e) {
            return Bdd_ite(1, Position_of(g.node_ptr), t, e);
        });
}

// ---- simplification under a forbidden set ----

bdd bddpp_manager::Bdd_simplify(const bdd& f, const bdd& g)
{
    if (f.node_ptr == terminal) return f;
    bdd result = f;
    for (long id : f.node_ptr->support_set()) {
        bdd candidate = Bdd_exist(result, Bdd_var_by_id(id));
        if (Bdds_excl(candidate, g)) result = candidate;
    }
    return result;
}

// Tries the support ids taken as order positions above f's top variable; since the support
// lies at or below the top variable when ids and positions agree, f then comes back unchanged.
bdd bddpp_manager::Bdd_simplify2(const bdd& f, const bdd& g)
{
    if (f.node_ptr == terminal) return f;
    long top = Position_of(f.node_ptr);
    bdd result = f;
    for (long id : f.node_ptr->support_set()) {
        if (id >= top) continue;
        bdd candidate = Bdd_exist(result, Bdd_var_by_index(id));
        if (Bdds_excl(candidate, g)) result = candidate;
    }
    return result;
}

// ---- values a variable can still take, evaluation, truth tables ----

static int awaited(bddpp_manager* m, const bdd& f, long p, int link)
{
    if (p < 0 || p >= m->nvars || !m->Variable_awaited(f, p)) return 0;
    bdd literal(m, link, m->var_nodes[m->pos_to_id[p]]);
    return m->Bdd_is_zero_tautologic(m->Bdd_cube_reduce(f, literal)) ? 0 : 1;
}

int bddpp_manager::Variable_true_awaited(const bdd& f, long p) { return awaited(this, f, p, 1); }

int bddpp_manager::Variable_false_awaited(const bdd& f, long p) { return awaited(this, f, p, -1); }

bdd bddpp_manager::Bdd_eval(const bdd& f, int* vals) { return Bdd_reduce(f, Literals_to_bdd(vals)); }

void bddpp_manager::Truth_table(const bdd& f, int n, bdd* v, char* out)
{
    for (int i = 0; i < (1 << n); ++i) {
        bdd c = Bdd_reduce(f, Minterm(i, n, v));
        out[i] = Bdd_is_one_tautologic(c) ? '1' : (Bdd_is_zero_tautologic(c) ? '0' : '?');
    }
}

void bddpp_manager::Bdd_truth_table(const bdd& f, int n, bdd* v, bdd* out)
{
    for (int i = 0; i < (1 << n); ++i) out[i] = Bdd_reduce(f, Minterm(i, n, v));
}
