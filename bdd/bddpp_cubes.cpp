// Cubes, literal arrays, three-valued evaluation, implicants, minterms and product printers.
#include <iostream>
#include <sstream>
#include <unordered_map>
#include <vector>

#include "bdd/bddpp.h"

// ---- cubes and literal arrays ----

int bddpp_manager::Bdd_is_cube(const bdd& f)
{
    bdd g = f;
    while (g.node_ptr != terminal) {
        bdd t = Bdd_then(g);
        if (Bdd_is_zero_tautologic(t)) {
            g = Bdd_else(g);
            continue;
        }
        bdd e = Bdd_else(g);
        if (!Bdd_is_zero_tautologic(e)) return 0;
        g = t;
    }
    return 1;
}

// In a reduced diagram every decision node has a satisfying path, so the then side succeeds
// unless it is constant 0 itself: the search follows one path without backtracking.
int bddpp_manager::Bdd_OneSat(bdd_node* node, int link, int* vals)
{
    if (!node) {
        std::cerr << "ERROR: call bddpp_manager::Bdd_OneSat() with null reference" << std::endl;
        bdd_exit(1);
    }
    while (node->var >= 0) {
        long p = Position_of(node);
        if (node->then_node == terminal && link == -1) {
            vals[p] = 0;
            link *= node->else_link;
            node = node->else_node;
        } else {
            vals[p] = 1;
            node = node->then_node;
        }
    }
    return link == 1 ? 1 : 0;
}

bdd bddpp_manager::Bdd_satisfy(const bdd& f)
{
    int* vals = new int[nvars];
    for (long p = 0; p < nvars; ++p) vals[p] = 2;
    bdd r = Bdd_OneSat(f.node_ptr, f.link, vals) ? Literals_to_bdd(vals) : Bdd_zero();
    delete[] vals;
    return r;
}

void bddpp_manager::Bdd_node_to_literals(int link, bdd_node* node, int* vals)
{
    for (long p = 0; p < nvars; ++p) vals[p] = 2;
    if (!node) {
        std::cerr << "Warning: bddpp_manager::Bdd_node_to_literals() call with a NULL bdd node !" << std::endl;
        return;
    }
    if (node == terminal) {
        if (link == -1) return;
        std::cerr << "ERROR in  bddpp_manager::Bdd_node_to_literals() :" << std::endl;
        std::cerr << "constant 1 is not a literal ..." << std::endl;
        bdd_exit(1);
    }
    while (node && node != terminal) {
        long p = Position_of(node);
        if (node->then_node == terminal && node->else_node == terminal) {
            vals[p] = link == 1 ? 1 : 0;
            return;
        }
        if (node->then_node == terminal) {
            vals[p] = 0;
            link *= node->else_link;
            node = node->else_node;
        } else {
            vals[p] = 1;
            node = node->then_node;
        }
    }
}

void bddpp_manager::Bdd_to_literals(const bdd& f, int* vals) { Bdd_node_to_literals(f.link, f.node_ptr, vals); }

bdd bddpp_manager::Literals_to_bdd(int* vals)
{
    bdd r = Bdd_one();
    for (long p = 0; p < nvars; ++p) {
        if (vals[p] != 0 && vals[p] != 1) continue;
        bdd x(this, vals[p] == 1 ? 1 : -1, var_nodes[pos_to_id[p]]);
        r = Bdd_and(r, x);
    }
    return r;
}

// ---- evaluation and implicants ----

namespace {

[[noreturn]] void unknown_bdd_type()
{
    std::cerr << "error in bddpp_manager::Bdd_eval(): unknown bdd type ..." << std::endl;
    bdd_exit(1);
}

// The three-valued result v seen through a link: a complement swaps 0 and 1.
int through(int link, int v) { return link == 1 || v == 2 ? v : 1 - v; }

// One pending node of the explicit evaluation stack.
struct eval_frame {
    bdd_node* n; // node asked for, taken with link 1
    bdd_node* m; // first node below n at an undetermined position
    int acc;     // link gathered from n down to m
    int t;       // value of m's then side
    int state;   // 0: not started, 1: then side running, 2: else side running
};

// Determined positions are followed down; at an undetermined one both sides are evaluated
// and give their common value, or 2. A node met again is taken from the memo.
int eval_node(bddpp_manager* m, int link, bdd_node* n0, int* vals)
{
    std::unordered_map<const bdd_node*, int> memo;
    std::vector<eval_frame> stack(1, eval_frame{n0, nullptr, 1, 0, 0});
    int r = 0;
    while (!stack.empty()) {
        eval_frame& f = stack.back();
        if (f.state == 0) {
            bdd_node* n = f.n;
            int acc = 1;
            bool done = false;
            for (;;) {
                if (!n || !n->owner() || n->var < -1 || n->var >= m->nvars) unknown_bdd_type();
                if (n->var == -1) {
                    r = acc == 1 ? 1 : 0;
                    done = true;
                    break;
                }
                long p = m->id_to_pos[n->var];
                if (p < 0 || p >= m->nvars) unknown_bdd_type();
                if (vals[p] == 2) break;
                if (vals[p] == 1) n = n->then_node;
                else acc *= n->else_link, n = n->else_node;
            }
            std::unordered_map<const bdd_node*, int>::iterator known;
            if (!done && (known = memo.find(n)) != memo.end()) r = through(acc, known->second), done = true;
            if (done) {
                stack.pop_back();
                continue;
            }
            f.m = n, f.acc = acc, f.state = 1;
            stack.push_back(eval_frame{n->then_node, nullptr, 1, 0, 0});
        } else if (f.state == 1) {
            f.t = r, f.state = 2;
            stack.push_back(eval_frame{f.m->else_node, nullptr, 1, 0, 0});
        } else {
            int e = through(f.m->else_link, r);
            int v = f.t == e ? e : 2;
            memo[f.m] = v;
            r = through(f.acc, v);
            stack.pop_back();
        }
    }
    return through(link, r);
}

} // namespace

int bddpp_manager::Bdd_eval_for_literal(const bdd& f, int* vals) { return eval_node(this, f.link, f.node_ptr, vals); }

bdd bddpp_manager::Bdd_one_implicant(const bdd& f)
{
    if (f.manager != this || !f.node_ptr) {
        std::cerr << "ERROR in bddpp_manager::Bdd_one_implicant():" << std::endl;
        std::cerr << "   bdd : " << f << ", is not allocated or associated with a bad BDD manager..." << std::endl;
        bdd_exit(1);
    }
    // walk down collecting the literals, then AND them from the bottom up, as the recursion would
    std::list<bdd> literals;
    bdd g = f, base;
    for (;;) {
        if (g.node_ptr == terminal || Bdd_is_var(g)) {
            base = g;
            break;
        }
        bdd x = Bdd_if(g);
        if (Bdd_is_negvar(g)) {
            base = Bdd_not(x);
            break;
        }
        bdd t = Bdd_then(g), e = Bdd_else(g);
        if (Bdd_is_one_tautologic(t)) {
            base = x;
            break;
        }
        if (Bdd_is_one_tautologic(e)) {
            base = Bdd_not(x);
            break;
        }
        bool go_else = Bdd_is_zero_tautologic(t)
                       || (!Bdd_is_zero_tautologic(e)
                           && e.node_ptr->support_set().size() < t.node_ptr->support_set().size());
        literals.push_front(go_else ? Bdd_not(x) : x);
        g = go_else ? e : t;
    }
    for (const bdd& x : literals) base = Bdd_and(x, base);
    return base;
}

// ---- minterms and truth-table codes ----

bdd bddpp_manager::Minterm(int code, int n, bdd* v)
{
    if (code < 0) return Bdd_zero();
    bdd r = Bdd_one();
    for (int j = 0; j < n; ++j) {
        r = Bdd_and(r, (code & 1) ? v[j] : Bdd_not(v[j]));
        code >>= 1;
    }
    return r;
}

int bddpp_manager::Id_function_by_bdd(bdd f, int n, bdd* v)
{
    if (n < 0 || n > 5) {
        std::cerr << "In bddpp_manager::Id_function_by_bdd(): number of variables (" << n
                  << ") too big! avorted ..." << std::endl;
        return 0;
    }
    unsigned code = 0;
    for (int i = 0; i < (1 << n); ++i)
        if (Bdd_imply(Minterm(i, n, v), f)) code |= 1u << i;
    return int(code);
}

bdd bddpp_manager::Bdd_function_by_id(unsigned long code, int n, bdd* v)
{
    bdd r = Bdd_zero();
    for (int i = 0; code; ++i, code >>= 1)
        if (code & 1) r = Bdd_or(r, Minterm(i, n, v));
    return r;
}

// ---- product printers ----

namespace {

// The text of the cube f: literals in ascending position joined by AND, a negative one framed
// by NOTpre and NOTpost, each literal's own text given by core(position).
template <class Core>
std::string product_text(bddpp_manager* m, const char* AND, const char* NOTpre, const char* NOTpost,
                         const bdd& f, Core core)
{
    if (m->Bdd_is_zero_tautologic(f)) return "0";
    if (m->Bdd_is_one_tautologic(f)) return "1";
    int* vals = new int[m->nvars];
    m->Bdd_to_literals(f, vals);
    std::string s;
    bool first = true;
    for (long p = 0; p < m->nvars; ++p) {
        if (vals[p] == 2) continue;
        if (!first) s += AND;
        first = false;
        if (vals[p] == 0) s += std::string(NOTpre) + core(p) + NOTpost;
        else s += core(p);
    }
    delete[] vals;
    return s;
}

} // namespace

std::string bddpp_manager::Print_product_to_String_pref_suff(const char* AND, const char* NOTpre,
                                                             const char* NOTpost, const bdd& f,
                                                             const char* PRE, const char* SUF)
{
    return product_text(this, AND, NOTpre, NOTpost, f,
                        [&](long p) { return std::string(PRE) + names[pos_to_id[p]] + SUF; });
}

std::string bddpp_manager::Print_product_to_String(const char* AND, const char* NOTpre, const char* NOTpost,
                                                   const bdd& f)
{
    return Print_product_to_String_pref_suff(AND, NOTpre, NOTpost, f, "", "");
}

void bddpp_manager::Print_product(const char* AND, const char* NOTpre, const char* NOTpost, std::ostream& os,
                                  const bdd& f)
{
    os << Print_product_to_String(AND, NOTpre, NOTpost, f);
}

void bddpp_manager::Print_product_pref_suff(const char* AND, const char* NOTpre, const char* NOTpost,
                                            std::ostream& os, const bdd& f, const char* PRE, const char* SUF)
{
    os << Print_product_to_String_pref_suff(AND, NOTpre, NOTpost, f, PRE, SUF);
}

void bddpp_manager::Print_cat_product(const char* AND, const char* NOTpre, const char* NOTpost,
                                      std::ostream& os, const bdd& f, const std::string& ARR)
{
    os << product_text(this, AND, NOTpre, NOTpost, f,
                       [&](long p) { return ARR + "[" + std::to_string(p) + "]"; });
}

void bddpp_manager::Print_cat_product(std::ostream& os, const bdd& f, std::map<long, int>& codes, int offset,
                                      bool shifted)
{
    if (Bdd_is_zero_tautologic(f)) {
        os << "0";
        return;
    }
    if (Bdd_is_one_tautologic(f)) {
        os << "1";
        return;
    }
    int* vals = new int[nvars];
    Bdd_to_literals(f, vals);
    const char* separator = "";
    for (long p = 0; p < nvars; ++p) {
        if (vals[p] == 2) continue;
        os << separator;
        std::map<long, int>::iterator c = codes.find(p);
        if (c == codes.end()) {
            std::cerr << "****error:print_cat_product:" << p << " is not a valid index \n";
            delete[] vals;
            bdd_exit(1);
        }
        int d = c->second;
        if (vals[p] == 1) os << (shifted ? d + 2 * offset : d);
        else os << (d > offset ? d - offset : d + offset);
        separator = ",";
    }
    delete[] vals;
}
