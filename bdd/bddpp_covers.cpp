// Prime implicants, the ternary decision tree and the sum-of-products covers of every kind.
#include <algorithm>
#include <cassert>
#include <cmath>
#include <cstdint>
#include <deque>
#include <iostream>
#include <map>
#include <queue>
#include <unordered_map>
#include <unordered_set>

#include "bdd/bddpp.h"
#include "bdd/bddpp_literals.h"

// Fixed covers of kind 3 over the variables a, b, c, d at order positions 0 to 3; a quote
// marks a negative literal. Each row is the OR of its products, in this order.
static const char* const fixed_covers[26][6] = {
    {"b'c", "b'd", "ac", "a'd", "bc'd'"},
    {"ab'c'", "c'd", "abc", "a'cd'", "b'd"},
    {"bc", "ab'd'", "c'd", "a'c"},
    {"cd", "bc'd'", "ab'", "a'c", "a'd"},
    {"a'c", "a'd", "b'c", "bd", "ac'd'"},
    {"a'bc'", "ab'd'", "a'b'c", "bd", "c'd", "abc"},
    {"ab'd'", "abd", "a'bc'", "a'b'd", "ac", "cd'"},
    {"bd'", "b'c", "ac'd", "a'b"},
    {"b'c", "ac", "ab'd'", "a'bd'", "bc'd"},
    {"ac", "b'c", "a'bc'", "ad'", "b'd"},
    {"bc", "a'b", "a'c", "ab'd'", "b'c'd"},
    {"a'd", "bd'", "ac", "ab'"},
    {"ab", "ac'", "cd'", "a'b'd"},
    {"cd", "a'bd'", "a'b'd", "ab'd'", "abc'"},
    {"b'c", "b'd", "a'bc'", "cd", "ad'"},
    {"c'd", "b'c", "ac", "ab'", "a'bd'"},
    {"b", "ad'", "c'd", "a'c"},
    {"a'b'c", "bd'", "ad", "c'd", "ac'"},
    {"a'b'c", "bd'", "bc'", "ac'd'", "acd"},
    {"ab'", "b'd", "cd'", "bc'"},
    {"a'd", "bc'd'", "ab'", "ac"},
    {"c'd", "a'b'c", "bc'", "bd", "ad'"},
    {"a'b", "b'c'd", "b'cd'", "ac'd'", "bcd"},
    {"a'd", "c'd", "a'b", "bc", "ab'd'"},
    {"a'b", "ac'd'", "acd", "a'c'd", "b'cd'"},
    {"ac'", "bc'", "a'b'c", "ad", "bd'"},
};

// ---- cubes as literal lists ----

cube_literals Cube_literals(bddpp_manager* m, const bdd& c)
{
    cube_literals lits;
    bdd_node* n = c.node_ptr;
    int link = c.link;
    while (n && n != m->terminal) {
        long p = m->Position_of(n);
        if (n->then_node == m->terminal && n->else_node == m->terminal) {
            lits.emplace_back(p, link == 1 ? 1 : 0);
            break;
        }
        if (n->then_node == m->terminal) { // the then side is constant: 0 on a cube
            lits.emplace_back(p, 0);
            link *= n->else_link;
            n = n->else_node;
        } else {
            lits.emplace_back(p, 1);
            n = n->then_node;
        }
    }
    return lits;
}

bdd Literals_cube(bddpp_manager* m, const cube_literals& lits)
{
    bdd r = m->Bdd_one();
    for (cube_literals::const_reverse_iterator l = lits.rbegin(); l != lits.rend(); ++l) {
        bdd v = m->Bdd_var_by_index(l->first);
        r = m->Bdd_and(l->second ? v : m->Bdd_not(v), r); // above r's top: one new node
    }
    return r;
}

void Sop_fatal(const bdd& f)
{
    std::cerr << "ERROR in bddpp_manager::Bdd_sop():" << std::endl;
    std::cerr << "   bdd : " << f << ", is not allocated or associated with a bad BDD manager..."
              << std::endl;
    bdd_exit(1);
}

namespace {

// r AND NOT c, c being the first path to 1 of r (then before else): the cube Bdd_satisfy
// gives, whose literals are appended to path. Only the nodes on the path are rebuilt: off the
// path NOT c is 1, so that is what the conjunction would build. r is not constant 0.
bdd without_first_path(bddpp_manager* m, const bdd& r, cube_literals& path)
{
    // terminal case: the end of the path, where r is 1
    if (r.node_ptr == m->terminal) return m->Bdd_zero();
    // cofactors, then recursion on the side the path takes
    long p = m->Position_of(r.node_ptr);
    bdd t = m->Bdd_then(r), e = m->Bdd_else(r);
    if (!m->Bdd_is_zero_tautologic(t)) { // a non-constant child is satisfiable
        path.emplace_back(p, 1);
        t = without_first_path(m, t, path);
    } else {
        path.emplace_back(p, 0);
        e = without_first_path(m, e, path);
    }
    // new node, unless both sides agree
    if (t == e) return t;
    int link = 1;
    bdd_node* n = m->Find_or_create_bdd_node(p, t.link, e.link, t.node_ptr, e.node_ptr, link);
    return bdd(m, link, n);
}

// Whether two cubes are disjoint: they hold opposite literals of one variable.
bool cubes_conflict(const cube_literals& a, const cube_literals& b)
{
    size_t i = 0, j = 0;
    while (i < a.size() && j < b.size()) {
        if (a[i].first < b[j].first) ++i;
        else if (b[j].first < a[i].first) ++j;
        else if (a[i].second != b[j].second) return true;
        else ++i, ++j;
    }
    return false;
}

// The cubes of F that survive the literal (p, v), without their literal on p.
std::vector<cube_literals> cofactor(const std::vector<cube_literals>& F, long p, int v)
{
    std::vector<cube_literals> out;
    for (const cube_literals& c : F) {
        cube_literals kept;
        bool alive = true;
        for (const std::pair<long, int>& l : c) {
            if (l.first != p) kept.push_back(l);
            else if (l.second != v) alive = false;
        }
        if (alive) out.push_back(kept);
    }
    return out;
}

// Whether the OR of the cubes is constant 1: a variable met in one polarity only can be set
// against it (the cubes holding it go), a binate one splits the list.
bool cubes_tautology(std::vector<cube_literals> F)
{
    for (;;) {
        if (F.empty()) return false;
        double weight = 0; // share of the minterms that the cubes can cover at most
        for (const cube_literals& c : F) {
            if (c.empty()) return true;
            weight += std::ldexp(1.0, -int(std::min<size_t>(c.size(), 1000)));
        }
        if (weight < 0.999) return false;
        std::map<long, std::pair<int, int>> seen; // position -> (negative, positive) counts
        for (const cube_literals& c : F)
            for (const std::pair<long, int>& l : c)
                (l.second ? seen[l.first].second : seen[l.first].first)++;
        std::vector<cube_literals> binate;
        for (const cube_literals& c : F) {
            bool unate = false;
            for (const std::pair<long, int>& l : c)
                unate = unate || !seen[l.first].first || !seen[l.first].second;
            if (!unate) binate.push_back(c);
        }
        if (binate.size() == F.size()) {
            long split = -1;
            int best = -1;
            for (const std::pair<const long, std::pair<int, int>>& s : seen) {
                if (s.second.first + s.second.second > best) {
                    best = s.second.first + s.second.second;
                    split = s.first;
                }
            }
            return cubes_tautology(cofactor(F, split, 1)) && cubes_tautology(cofactor(F, split, 0));
        }
        F.swap(binate);
    }
}

// Whether cube c lies inside the OR of the listed cubes.
bool cube_in_union(const cube_literals& c, const std::vector<const cube_literals*>& cubes)
{
    // a cube holding c, or a weight of the rests too small to cover c, is the first answer
    // cubes_tautology would give: it comes without the rest of the list
    std::vector<cube_literals> F;
    double weight = 0;
    for (const cube_literals* d : cubes) {
        if (cubes_conflict(*d, c)) continue;
        cube_literals rest;
        for (const std::pair<long, int>& l : *d)
            if (!std::binary_search(c.begin(), c.end(), l)) rest.push_back(l);
        if (rest.empty()) return true;
        weight += std::ldexp(1.0, -int(std::min<size_t>(rest.size(), 1000)));
        F.push_back(std::move(rest));
    }
    if (weight < 0.999) return false;
    return cubes_tautology(std::move(F));
}

// Whether cube i of T lies inside the OR of the other live cubes.
bool covered_by_others(const std::vector<cube_literals>& T, const std::vector<bool>& live, size_t i)
{
    std::vector<const cube_literals*> others;
    for (size_t j = 0; j < T.size(); ++j)
        if (j != i && live[j]) others.push_back(&T[j]);
    return cube_in_union(T[i], others);
}

// The expansion of the paths of f: each path loses its literals one by one in ascending
// position, every time the cube left still implies f (the cofactor of f by it is constant 1).
// The walk below f remembers what it has answered for each (node, link). When the literal at
// position p is tried, the cube's literals below p are still those of the path, so an answer
// for a node below p holds for every later try on the same path; the others are of the try
// that made them. Stamps of path and try stand for clearing the table.
class path_expansion {
public:
    path_expansion(bddpp_manager* m, const bdd& f) : m(m), f(f), memo(64) {}

    cube_literals operator()(const cube_literals& path)
    {
        if (++path_stamp == 0) { // the stamps went round: clear for real
            std::fill(memo.begin(), memo.end(), entry());
            path_stamp = 1;
        }
        count = 0;
        // b implies f throughout, so b without l does exactly when b with l negated does: a
        // walk that branches at l's position no more than b's own
        cube_literals b = path;
        cube = &b;
        size_t at = 0; // where l stands in b: the path's literals from there on are all in b
        for (const std::pair<long, int>& l : path) {
            b[at].second = 1 - l.second;
            pivot = l.first;
            ++try_stamp;
            if (holds(f.node_ptr, f.link)) {
                b.erase(b.begin() + long(at));
            } else {
                b[at].second = l.second;
                ++at;
            }
        }
        return b;
    }

private:
    struct entry {
        uintptr_t key = 0;
        std::uint32_t path = 0; // the entry is of the current path when equal to path_stamp
        std::uint32_t made = 0; // the try that made it
        long position = 0;      // of its node
        bool value = false;
    };
    bddpp_manager* m;                 // manager of f
    bdd f;                            // the function
    std::vector<entry> memo;          // (node, link) -> whether the cofactor is 1; a power of two
    std::uint32_t path_stamp = 0;     // the current path's stamp
    std::uint32_t try_stamp = 0;      // the current try's stamp
    size_t count = 0;                 // entries of the current path
    const cube_literals* cube = nullptr; // the cube tried, ascending positions
    long pivot = 0;                   // position of the literal left out of it

    static size_t slot_of(uintptr_t key, size_t mask) { return size_t(key * 0x9E3779B97F4A7C15ull >> 24) & mask; }

    // The entry of key on this path, or the free slot where it would go.
    entry& find(uintptr_t key)
    {
        const size_t mask = memo.size() - 1;
        size_t i = slot_of(key, mask);
        while (memo[i].path == path_stamp && memo[i].key != key) i = (i + 1) & mask;
        return memo[i];
    }

    void remember(uintptr_t key, long position, bool value)
    {
        entry* e = &find(key);
        if (e->path != path_stamp) {
            if (2 * (count + 1) > memo.size()) {
                std::vector<entry> old(2 * memo.size());
                old.swap(memo);
                for (const entry& o : old)
                    if (o.path == path_stamp) find(o.key) = o;
                e = &find(key);
            }
            ++count;
        }
        *e = entry{key, path_stamp, try_stamp, position, value};
    }

    bool holds(bdd_node* n, int link)
    {
        if (n == m->terminal) return link == 1;
        uintptr_t key = reinterpret_cast<uintptr_t>(n) | (link == 1 ? 1 : 0); // nodes are aligned
        const entry& known = find(key);
        if (known.path == path_stamp && (known.made == try_stamp || known.position > pivot)) return known.value;
        const long p = m->Position_of(n);
        cube_literals::const_iterator v = std::lower_bound(
            cube->begin(), cube->end(), p,
            [](const std::pair<long, int>& l, long position) { return l.first < position; });
        bool r;
        if (v == cube->end() || v->first != p)
            r = holds(n->then_node, link) && holds(n->else_node, link * n->else_link);
        else if (v->second == 1)
            r = holds(n->then_node, link);
        else
            r = holds(n->else_node, link * n->else_link);
        remember(key, p, r);
        return r;
    }
};

// Puts path in place of the first element of L that implies it, or at the end of L.
template <class List, class Cube, class Implies> void implicant_insert(List& L, const Cube& path, Implies implies)
{
    for (Cube& a : L) {
        if (implies(a, path)) {
            a = path;
            return;
        }
    }
    L.push_back(path);
}

// Passes to keep, in order, the elements of L left once every element that implies an
// earlier surviving one is dropped.
template <class List, class Implies, class Keep> void implicant_filter(const List& L, Implies implies, Keep keep)
{
    std::vector<const typename List::value_type*> items;
    for (const typename List::value_type& a : L) items.push_back(&a);
    std::vector<bool> dropped(items.size(), false);
    for (size_t i = 0; i < items.size(); ++i) {
        if (dropped[i]) continue;
        for (size_t j = i + 1; j < items.size(); ++j)
            if (!dropped[j] && implies(*items[j], *items[i])) dropped[j] = true;
    }
    for (size_t i = 0; i < items.size(); ++i)
        if (!dropped[i]) keep(*items[i]);
}

// The walk of the ternary decision tree of a non-constant function without building it:
// the tree of a subfunction depends on the function alone, so its three children are
// computed once per distinct subfunction; paths are literal lists.
class prime_walk {
public:
    explicit prime_walk(bddpp_manager* m) : m(m) {}

    std::vector<cube_literals> primes(const bdd& f)
    {
        std::vector<cube_literals> literals;
        if (product_sum_primes(f, literals)) return literals;
        root = f;
        walk(f);
        // implicant_filter: the elements after i that hold every literal of found[i]
        std::vector<uint64_t> dropped(words(), 0), hit;
        for (size_t i = 0; i < found.size(); ++i) {
            if (dropped[i >> 6] >> (i & 63) & 1) continue;
            holding_all(found[i], hit);
            for (size_t w = (i + 1) >> 6; w < hit.size(); ++w) {
                uint64_t bits = hit[w] & ~dropped[w];
                if (w == (i + 1) >> 6) bits &= ~uint64_t(0) << ((i + 1) & 63);
                dropped[w] |= bits;
            }
        }
        std::vector<cube_literals> out;
        for (size_t i = 0; i < found.size(); ++i) {
            if (dropped[i >> 6] >> (i & 63) & 1) continue;
            std::map<long, cube_literals>::const_iterator run =
                tail_groups.empty() ? tail_groups.end() : tail_groups.find(found[i].back().first);
            if (run == tail_groups.end()) {
                out.push_back(found[i]);
                continue;
            }
            for (const std::pair<long, int>& l : run->second) { // the literal stands for its group
                out.push_back(found[i]);
                out.back().back() = l;
            }
        }
        return out;
    }

private:
    typedef std::vector<uint64_t> element_set; // bit i: element i of found
    struct children {
        long position; // order position of the top variable
        bdd then_f;    // then-cofactor
        bdd else_f;    // else-cofactor
        bdd both;      // their AND: the don't-care branch
    };
    bddpp_manager* m;                               // manager of the function
    std::unordered_map<uintptr_t, children> memo;   // (node, link) -> its tree's children
    std::vector<cube_literals> found;               // implicants met so far, in tree order
    std::map<std::pair<long, int>, element_set> holders; // literal -> elements of found holding it
    cube_literals path;                             // the literals chosen above the walk
    std::vector<const element_set*> sets;           // scratch of holding_all
    bdd root;                                       // the function walked
    bool tail_sought = false;                       // whether find_tail has run
    bdd tail;                                       // the tail disjunction of find_tail, if any
    cube_literals tail_walked;                      // the literals walked in its place
    std::map<long, cube_literals> tail_groups;        // position walked -> the literals it stands for

    std::unordered_map<uintptr_t, long> products_memo; // (node, link) -> its products, -1: none
    std::deque<std::vector<cube_literals>> product_lists; // the products of the memo (kept in place)
    size_t products_kept = 0;                              // literals in product_lists

    size_t words() const { return (found.size() + 63) >> 6; }

    // When f is a disjunction of products over pairwise disjoint variables, whose tree has about
    // 4^k leaves for k products of two literals (2^n - 1 for a clause of n literals), its primes
    // are the products, in the order the walk leaves them, without the walk: taking again and
    // again the product whose next literal comes first in the order, a positive literal that is
    // not its last one is passed over, a last positive literal puts the product after those put
    // first so far, a negative literal puts it before those put last so far, and the product
    // left alone at the end goes between the two. For a clause: the positive literals in
    // ascending positions, the last literal, then the negative ones in descending positions.
    // The walk makes no node on such a function: each conjunction of cofactors is a cofactor
    // already.
    bool product_sum_primes(const bdd& f, std::vector<cube_literals>& out)
    {
        const std::vector<cube_literals>* products = disjoint_products(f.node_ptr, f.link);
        if (products == nullptr || products->empty()) return false;
        const std::vector<cube_literals>& c = *products;
        typedef std::pair<long, size_t> next_literal; // its position, its product
        std::priority_queue<next_literal, std::vector<next_literal>, std::greater<next_literal>> next;
        std::vector<size_t> at(c.size(), 0);
        for (size_t i = 0; i < c.size(); ++i) next.push(next_literal(c[i][0].first, i));
        std::vector<size_t> first, last;
        for (size_t left = c.size(); left > 1;) {
            const size_t i = next.top().second;
            next.pop();
            const bool positive = c[i][at[i]].second != 0;
            if (positive && at[i] + 1 < c[i].size()) {
                next.push(next_literal(c[i][++at[i]].first, i));
                continue;
            }
            (positive ? first : last).push_back(i);
            --left;
        }
        for (size_t i : first) out.push_back(c[i]);
        out.push_back(c[next.top().second]);
        for (size_t k = last.size(); k-- > 0;) out.push_back(c[last[k]]);
        return true;
    }

    // The products of the function (n, link) when it is a disjunction of products over pairwise
    // disjoint variables, each product its literals in ascending positions and the products in
    // ascending positions of their first literals: none for constant 0, null for constant 1 and
    // for a function of another form. Read from the nodes, each once: the cofactors of such a
    // function on its top variable x are R and P OR R, P a product without x, and the function
    // is x AND P OR R (or NOT x AND P OR R). Null as well past 4 million literals kept.
    const std::vector<cube_literals>* disjoint_products(const bdd_node* n, int link)
    {
        static const std::vector<cube_literals> none;
        if (n == m->terminal) return link == 1 ? nullptr : &none;
        const uintptr_t key = reinterpret_cast<uintptr_t>(n) | (link == 1 ? 1 : 0);
        std::unordered_map<uintptr_t, long>::const_iterator known = products_memo.find(key);
        if (known != products_memo.end()) return known->second < 0 ? nullptr : &product_lists[size_t(known->second)];
        products_memo[key] = -1;
        const bdd_node* t = n->then_node; // then edges are never complemented
        const bdd_node* e = n->else_node;
        const int else_link = link * n->else_link;
        const bool t_one = t == m->terminal && link == 1, e_one = e == m->terminal && else_link == 1;
        // R, and P OR R unless P is empty (x OR R, NOT x OR R)
        const std::vector<cube_literals>* then_products = t_one ? &none : disjoint_products(t, link);
        const std::vector<cube_literals>* else_products =
            then_products == nullptr ? nullptr : e_one ? &none : disjoint_products(e, else_link);
        if (else_products == nullptr) return nullptr;
        const bool positive = t_one || (!e_one && then_products->size() == else_products->size() + 1);
        const std::vector<cube_literals>& rest = positive ? *else_products : *then_products;
        // the product of x: x's literal, then P, the product that only the other side has
        std::vector<cube_literals> result(1, cube_literals(1, std::make_pair(m->Position_of(n), positive ? 1 : 0)));
        if (!t_one && !e_one) {
            const std::vector<cube_literals>& longer = positive ? *then_products : *else_products;
            if (longer.size() != rest.size() + 1) return nullptr;
            size_t extra = 0;
            while (extra < rest.size() && longer[extra] == rest[extra]) ++extra;
            if (!std::equal(rest.begin() + long(extra), rest.end(), longer.begin() + long(extra) + 1)) return nullptr;
            result[0].insert(result[0].end(), longer[extra].begin(), longer[extra].end());
        }
        result.insert(result.end(), rest.begin(), rest.end());
        for (const cube_literals& product : result) products_kept += product.size();
        if (products_kept > (size_t(1) << 22)) return nullptr;
        products_memo[key] = long(product_lists.size());
        product_lists.push_back(std::move(result));
        return &product_lists.back();
    }

    // The literals of a disjunction of literals g, in the order of the positions; false when g
    // is not one.
    bool clause_literals(const bdd& f, cube_literals& out) const
    {
        for (bdd g = f;;) {
            if (g.node_ptr == m->terminal) return false;
            const long p = m->Position_of(g.node_ptr);
            bdd t = m->Bdd_then(g), e = m->Bdd_else(g);
            const bool t_one = m->Bdd_is_one_tautologic(t), e_one = m->Bdd_is_one_tautologic(e);
            if (m->Bdd_is_tautology(t) && m->Bdd_is_tautology(e)) { // the last literal
                if (t_one == e_one) return false;
                out.push_back(std::make_pair(p, t_one ? 1 : 0));
                return true;
            }
            if (!t_one && !e_one) return false;
            out.push_back(std::make_pair(p, t_one ? 1 : 0));
            g = t_one ? e : t;
        }
    }

    // Whether g is a disjunction of literals with two of the same polarity before the last one:
    // a tail that find_tail shortens. Read from the nodes (then edges are never complemented), as
    // it is asked of every function the walk meets.
    bool may_be_tail(const bdd& g) const
    {
        const bdd_node* n = g.node_ptr;
        int link = g.link;
        bool seen[2] = {false, false}, twice = false;
        for (;;) {
            const bool t_constant = n->then_node == m->terminal, e_constant = n->else_node == m->terminal;
            const int else_link = link * n->else_link;
            if (t_constant && e_constant) return twice && link != else_link; // the last literal
            int polarity;
            if (t_constant && link == 1) { // x OR the else side
                polarity = 1;
                n = n->else_node;
                link = else_link;
            } else if (e_constant && else_link == 1) { // NOT x OR the then side
                polarity = 0;
                n = n->then_node;
            } else {
                return false;
            }
            twice = twice || seen[polarity];
            seen[polarity] = true;
        }
    }

    // Looks for a tail of f: a disjunction of literals C below every other node of f and reached
    // only through its top node, always as C itself, so that f = f0 OR (f1 AND C) with f0 and f1
    // over the variables above C. The order of the primes does not change when the first
    // literal of C of each polarity stands for all the literals of that polarity but the last
    // literal of C: the primes q AND l of the literals l it stands for come next to each other,
    // in ascending positions when positive, in descending positions when negative. So the walk
    // takes three literals at most, whose tree has 7 leaves instead of 2^n - 1, and each prime
    // holding a literal that stands for others is then repeated with each of them.
    void find_tail(const bdd& f)
    {
        // the nodes of f with their number of incoming edges and one of their parents
        std::unordered_map<bdd_node*, std::pair<int, bdd_node*>> in;
        std::vector<bdd_node*> stack(1, f.node_ptr);
        in[f.node_ptr] = std::make_pair(0, nullptr);
        bdd_node* bottom = f.node_ptr;
        while (!stack.empty()) {
            bdd_node* n = stack.back();
            stack.pop_back();
            if (m->Position_of(n) > m->Position_of(bottom)) bottom = n;
            for (bdd_node* c : {n->then_node, n->else_node}) {
                if (c == m->terminal) continue;
                std::pair<int, bdd_node*>& e = in[c];
                if (!e.first++) stack.push_back(c);
                e.second = n;
            }
        }
        // up from the bottom node while a node has one parent whose other child is constant
        bdd_node* top = bottom;
        if (top->then_node != m->terminal || top->else_node != m->terminal) return;
        for (;;) {
            const std::pair<int, bdd_node*>& e = in[top];
            if (e.first != 1 || e.second == f.node_ptr) break;
            bdd_node* u = e.second;
            if (u->then_node != m->terminal && u->else_node != m->terminal) break;
            top = u;
        }
        // the other nodes above the top one, every edge into it under one link
        const long top_position = m->Position_of(top);
        int link = 0;
        std::vector<bdd> handles(1, f);
        std::unordered_set<uintptr_t> seen;
        while (!handles.empty()) {
            bdd g = handles.back();
            handles.pop_back();
            if (g.node_ptr == m->terminal) continue;
            if (g.node_ptr == top) {
                if (link && g.link != link) return;
                link = g.link;
                continue;
            }
            if (m->Position_of(g.node_ptr) >= top_position) return;
            uintptr_t key = reinterpret_cast<uintptr_t>(g.node_ptr) | (g.link == 1 ? 1 : 0);
            if (!seen.insert(key).second) continue;
            handles.push_back(bdd(m, g.link, g.node_ptr->then_node));
            handles.push_back(bdd(m, g.link * g.node_ptr->else_link, g.node_ptr->else_node));
        }
        if (!link) return;
        cube_literals lits;
        if (!clause_literals(bdd(m, link, top), lits)) return;
        // the first literal of each polarity before the last one, then the last one
        cube_literals walked;
        std::map<long, cube_literals> groups;
        cube_literals group[2];
        for (size_t a = 0; a + 1 < lits.size(); ++a) group[lits[a].second].push_back(lits[a]);
        for (size_t a = 0; a + 1 < lits.size(); ++a) {
            cube_literals& same = group[lits[a].second];
            if (same.empty() || same[0] != lits[a]) continue;
            walked.push_back(lits[a]);
            if (same.size() > 1) {
                cube_literals& run = groups[lits[a].first];
                run.assign(same.begin(), same.end());
                if (!lits[a].second) std::reverse(run.begin(), run.end());
            }
        }
        walked.push_back(lits.back());
        if (groups.empty()) return;
        tail = bdd(m, link, top);
        tail_walked.swap(walked);
        tail_groups.swap(groups);
    }

    // The tree of the disjunction of the literals of tail_walked from i on, under the path: the
    // branch that makes literal i true is a leaf, the other one and the don't-care one walk the
    // rest; the last literal has its true branch only.
    void walk_tail(size_t i)
    {
        const std::pair<long, int> l = tail_walked[i];
        const bool last = i + 1 == tail_walked.size();
        const bdd one = m->Bdd_one();
        path.push_back(std::make_pair(l.first, 1));
        if (l.second) walk(one);
        else if (!last) walk_tail(i + 1);
        path.back().second = 0;
        if (!l.second) walk(one);
        else if (!last) walk_tail(i + 1);
        path.pop_back();
        if (!last) walk_tail(i + 1);
    }

    // The elements of found that hold every literal of c, which are those that imply c (all
    // of them for the empty cube c), as a bit set of words() words.
    void holding_all(const cube_literals& c, element_set& hit)
    {
        const size_t n = words();
        hit.assign(n, ~uint64_t(0));
        if (n && (found.size() & 63)) hit[n - 1] = (uint64_t(1) << (found.size() & 63)) - 1;
        sets.clear();
        for (const std::pair<long, int>& l : c) {
            std::map<std::pair<long, int>, element_set>::const_iterator h = holders.find(l);
            if (h == holders.end()) {
                hit.assign(n, 0);
                return;
            }
            sets.push_back(&h->second);
        }
        for (const element_set* s : sets)
            for (size_t w = 0; w < n; ++w) hit[w] &= w < s->size() ? (*s)[w] : 0;
    }

    // The first element of found that implies the path, found.size() when none does.
    size_t first_implying()
    {
        const size_t n = words();
        sets.clear();
        for (const std::pair<long, int>& l : path) {
            std::map<std::pair<long, int>, element_set>::const_iterator h = holders.find(l);
            if (h == holders.end()) return found.size();
            sets.push_back(&h->second);
        }
        for (size_t w = 0; w < n; ++w) {
            uint64_t bits = w + 1 == n && (found.size() & 63) ? (uint64_t(1) << (found.size() & 63)) - 1 : ~uint64_t(0);
            for (size_t k = 0; k < sets.size() && bits; ++k)
                bits &= w < sets[k]->size() ? (*sets[k])[w] : 0;
            if (bits) return (w << 6) + size_t(__builtin_ctzll(bits));
        }
        return found.size();
    }

    static void set_bit(element_set& s, size_t i, bool on)
    {
        if (s.size() <= (i >> 6)) s.resize((i >> 6) + 1, 0);
        if (on) s[i >> 6] |= uint64_t(1) << (i & 63);
        else s[i >> 6] &= ~(uint64_t(1) << (i & 63));
    }

    // implicant_insert, with the first element that implies the path taken from the index.
    void insert_path()
    {
        const size_t k = first_implying();
        if (k == found.size()) {
            found.push_back(path);
            for (const std::pair<long, int>& l : path) set_bit(holders[l], k, true);
            return;
        }
        for (const std::pair<long, int>& l : found[k]) // the path holds a part of them only
            if (!std::binary_search(path.begin(), path.end(), l)) set_bit(holders[l], k, false);
        found[k] = path;
    }

    void walk(const bdd& g)
    {
        if (g.node_ptr == m->terminal) {
            if (g.link == 1) insert_path();
            return;
        }
        if (g.node_ptr == tail.node_ptr && g.link == tail.link) {
            walk_tail(0);
            return;
        }
        uintptr_t key = reinterpret_cast<uintptr_t>(g.node_ptr) | (g.link == 1 ? 1 : 0);
        std::unordered_map<uintptr_t, children>::iterator c = memo.find(key);
        if (c == memo.end()) {
            if (!tail_sought && may_be_tail(g)) { // the tail is met as itself before any walk in it
                tail_sought = true;
                find_tail(root);
                if (g.node_ptr == tail.node_ptr && g.link == tail.link) {
                    walk_tail(0);
                    return;
                }
            }
            bdd t = m->Bdd_then(g), e = m->Bdd_else(g);
            c = memo.emplace(key, children{m->Position_of(g.node_ptr), t, e, m->Bdd_and(t, e)}).first;
        }
        const children& k = c->second; // elements of an unordered_map never move
        path.emplace_back(k.position, 1);
        walk(k.then_f);
        path.back().second = 0;
        walk(k.else_f);
        path.pop_back();
        walk(k.both);
    }
};

// Splits the primes of a non-constant f into the essential ones and the others, in order.
void split_primes(bddpp_manager* m, const bdd& f, std::vector<cube_literals>& essential,
                  std::vector<cube_literals>& other)
{
    std::vector<cube_literals> P = prime_walk(m).primes(f);
    std::vector<bool> all(P.size(), true);
    // the primes cover f, so the others give f exactly when they cover prime i
    for (size_t i = 0; i < P.size(); ++i)
        (covered_by_others(P, all, i) ? other : essential).push_back(P[i]);
}

void append_cubes(bddpp_manager* m, const std::vector<cube_literals>& cubes, std::list<bdd>& out)
{
    for (const cube_literals& c : cubes) out.push_back(Literals_cube(m, c));
}

// Kind 0: the disjoint paths, first path first (constant 1 gives the empty cube).
std::vector<cube_literals> disjoint_paths(bddpp_manager* m, const bdd& f)
{
    std::vector<cube_literals> cover;
    for (bdd r = f; !m->Bdd_is_zero_tautologic(r);) {
        cover.emplace_back();
        r = without_first_path(m, r, cover.back());
    }
    return cover;
}

// Kind 1 of a non-constant f: the disjoint paths, each expanded literal by literal in
// ascending position while it implies f, then those the others cover dropped in order.
std::vector<cube_literals> irredundant_cover(bddpp_manager* m, const bdd& f)
{
    path_expansion expanded(m, f);
    std::vector<cube_literals> T;
    for (const cube_literals& lits : disjoint_paths(m, f)) T.push_back(expanded(lits));
    // Every cube implies f and together they cover it, so the others give f exactly when
    // they cover cube i. Cubes are dropped in order, each one covered by the others still
    // there. A cube with a copy further on is dropped (the copy covers it), so of equal cubes
    // only the last can stay; and whether it stays depends on the distinct cubes alone. The
    // distinct cubes, in the order of their last copies, therefore give the same cover.
    std::map<cube_literals, size_t> last;
    for (size_t i = 0; i < T.size(); ++i) last[T[i]] = i;
    std::vector<cube_literals> U;
    U.reserve(last.size());
    for (size_t i = 0; i < T.size(); ++i)
        if (last[T[i]] == i) U.push_back(std::move(T[i]));
    std::vector<bool> live(U.size(), true);
    for (size_t i = 0; i < U.size(); ++i)
        if (covered_by_others(U, live, i)) live[i] = false;
    std::vector<cube_literals> cover;
    for (size_t i = 0; i < U.size(); ++i)
        if (live[i]) cover.push_back(std::move(U[i]));
    return cover;
}

// Kind 2 of a non-constant f: the essential primes, then the first others disjoint from
// what is chosen, then those that still add minterms; the kind-1 cover when strictly shorter.
std::vector<cube_literals> essential_greedy_cover(bddpp_manager* m, const bdd& f)
{
    std::vector<cube_literals> E, R;
    split_primes(m, f, E, R);
    std::vector<cube_literals> chosen = E;
    bdd e = m->Bdd_zero();
    for (const cube_literals& c : E) e = m->Bdd_or(e, Literals_cube(m, c));
    bool disjoint_phase_ended = false;
    while (e != f && !disjoint_phase_ended) {
        disjoint_phase_ended = true;
        for (const cube_literals& r : R) {
            bool disjoint = true; // from e: from every cube chosen
            for (const cube_literals& c : chosen) disjoint = disjoint && cubes_conflict(r, c);
            if (disjoint) {
                chosen.push_back(r);
                e = m->Bdd_or(e, Literals_cube(m, r));
                disjoint_phase_ended = false;
                break;
            }
        }
    }
    for (size_t i = 0; i < R.size() && e != f; ++i) {
        bdd grown = m->Bdd_or(Literals_cube(m, R[i]), e);
        if (grown != e) {
            chosen.push_back(R[i]);
            e = grown;
        }
    }
    assert(e == f);
    std::vector<cube_literals> irredundant = irredundant_cover(m, f);
    return irredundant.size() < chosen.size() ? irredundant : chosen;
}

} // namespace

// ---- the cover of each kind ----

void bddpp_manager::Bdd_sop(const bdd& f, std::list<bdd>& cover, int kind)
{
    if (f.manager != this || !f.node_ptr || f.node_ptr->owner() != this) Sop_fatal(f);
    switch (kind) {
    case 1: Bdd_sop_1(f, cover); break;
    case 2: Bdd_sop_2(f, cover); break;
    case 3: Bdd_sop_2plus(f, cover); break;
    default: Bdd_sop_0(f, cover); break;
    }
}

int bddpp_manager::Bdd_sop(const bdd& f, bdd* array, int kind)
{
    std::cerr << "warning: calling obsolete version of bddpp_manager::Bdd_sop() ..." << std::endl;
    std::list<bdd> cover;
    Bdd_sop(f, cover, kind);
    int k = 0;
    for (const bdd& c : cover) array[k++] = c;
    return k;
}

std::vector<cube_literals> Cover_literals(bddpp_manager* m, const bdd& f, int kind)
{
    if (f.manager != m || !f.node_ptr || f.node_ptr->owner() != m) Sop_fatal(f);
    bool constant = m->Bdd_is_tautology(f);
    std::vector<cube_literals> none, one(1);
    switch (kind) {
    case 1: return constant ? (m->Bdd_is_one_tautologic(f) ? one : none) : irredundant_cover(m, f);
    case 2: return constant ? (m->Bdd_is_one_tautologic(f) ? one : none) : essential_greedy_cover(m, f);
    case 3: {
        std::list<bdd> cover;
        m->Bdd_sop_2plus(f, cover);
        std::vector<cube_literals> lits;
        for (const bdd& c : cover)
            if (!m->Bdd_is_zero_tautologic(c)) lits.push_back(Cube_literals(m, c));
        return lits;
    }
    default: return disjoint_paths(m, f);
    }
}

void bddpp_manager::Bdd_sop_0(const bdd& f, std::list<bdd>& cover)
{
    cover.clear();
    append_cubes(this, disjoint_paths(this, f), cover);
}

void bddpp_manager::Bdd_sop_1(const bdd& f, std::list<bdd>& cover)
{
    cover.clear();
    if (Bdd_is_tautology(f)) cover.push_back(f);
    else append_cubes(this, irredundant_cover(this, f), cover);
}

void bddpp_manager::Bdd_prime_implicants(const bdd& f, std::list<bdd>& primes)
{
    primes.clear();
    if (Bdd_is_tautology(f)) {
        primes.push_back(f);
        return;
    }
    append_cubes(this, prime_walk(this).primes(f), primes);
}

void bddpp_manager::Bdd_essential_implicants(const bdd& f, std::list<bdd>& essential,
                                             std::list<bdd>& other)
{
    essential.clear();
    other.clear();
    if (Bdd_is_tautology(f)) {
        (Bdd_is_one_tautologic(f) ? essential : other).push_back(f);
        return;
    }
    std::vector<cube_literals> E, R;
    split_primes(this, f, E, R);
    append_cubes(this, E, essential);
    append_cubes(this, R, other);
}

void bddpp_manager::Bdd_sop_2(const bdd& f, std::list<bdd>& cover)
{
    cover.clear();
    if (Bdd_is_tautology(f)) { // the primes are (f): essential for 1, not for 0
        if (Bdd_is_one_tautologic(f)) cover.push_back(f);
        return;
    }
    append_cubes(this, essential_greedy_cover(this, f), cover);
}

void bddpp_manager::Bdd_sop_2plus(const bdd& f, std::list<bdd>& cover)
{
    bdd v[4];
    for (int i = 0; i < 4; ++i) v[i] = Bdd_var_by_index(i);
    std::vector<std::list<bdd>> products(26);
    std::vector<bdd> functions(26);
    for (int row = 0; row < 26; ++row) {
        functions[row] = Bdd_zero();
        for (int k = 0; k < 6 && fixed_covers[row][k]; ++k) {
            bdd p = Bdd_one();
            for (const char* s = fixed_covers[row][k]; *s; ++s) {
                if (*s == '\'') continue;
                bdd x = v[*s - 'a'];
                p = Bdd_and(p, s[1] == '\'' ? Bdd_not(x) : x);
            }
            products[row].push_back(p);
            functions[row] = Bdd_or(functions[row], p);
        }
    }
    for (int row = 0; row < 26; ++row) {
        if (Bdd_equiv(f, functions[row])) {
            cover = products[row];
            return;
        }
    }
    Bdd_sop_2(f, cover);
}

bdd bddpp_manager::Bdd_simplify3(const bdd& f, const bdd& g)
{
    if (Bdd_is_tautology(f)) return f;
    std::list<bdd> primes;
    Bdd_prime_implicants(f, primes);
    bdd result = Bdd_zero();
    for (bdd& p : primes) {
        for (long id : p.node_ptr->support_set()) { // each id taken as an order position
            bdd candidate = Bdd_exist(p, Bdd_var_by_index(id));
            if (Bdds_excl(candidate, g)) p = candidate;
        }
        result = Bdd_or(result, p);
    }
    return result;
}

// ---- the ternary decision tree ----

Tdd::Tdd(bddpp_manager* m, bdd f)
    : manager(m), then_tree(nullptr), else_tree(nullptr), dont_care_tree(nullptr)
{
    if (!m) {
        std::cerr << "in Tdd::Tdd() : error: bdd manager not yet created !" << std::endl;
        return;
    }
    if (m->Bdd_is_tautology(f)) {
        value = f;
        return;
    }
    value = m->Bdd_if(f);
    bdd t = m->Bdd_then(f), e = m->Bdd_else(f);
    then_tree = new Tdd(m, t);
    else_tree = new Tdd(m, e);
    dont_care_tree = new Tdd(m, m->Bdd_and(t, e));
}

Tdd::~Tdd()
{
    if (!manager || manager->Bdd_is_tautology(value)) return;
    delete then_tree;
    delete else_tree;
    delete dont_care_tree;
}

void Tdd::Bdd_implicants_loc(const bdd& path, std::list<bdd>& L)
{
    if (!manager) return;
    if (manager->Bdd_is_tautology(value)) {
        if (manager->Bdd_is_one_tautologic(value))
            implicant_insert(L, path, [this](const bdd& a, const bdd& b) { return manager->Bdd_imply(a, b); });
        return;
    }
    then_tree->Bdd_implicants_loc(manager->Bdd_and(path, value), L);
    else_tree->Bdd_implicants_loc(manager->Bdd_and(path, manager->Bdd_not(value)), L);
    dont_care_tree->Bdd_implicants_loc(path, L);
}

void Tdd::Bdd_prime_implicants(std::list<bdd>& out)
{
    out.clear();
    if (!manager) return;
    std::list<bdd> found;
    Bdd_implicants_loc(manager->Bdd_one(), found);
    implicant_filter(found, [this](const bdd& a, const bdd& b) { return manager->Bdd_imply(a, b); },
                     [&out](const bdd& c) { out.push_back(c); });
}

void Tdd::Print_bdd_structure(std::ostream& os) { Print_bdd_structure_loc(os, 0); }

void Tdd::Print_bdd_structure_loc(std::ostream& os, int indent)
{
    if (!manager) return;
    const std::string blanks(indent, ' ');
    const std::string x = manager->Name_var_by_bdd(value);
    if (manager->Bdd_is_tautology(value)) {
        os << blanks << x << "\n";
        return;
    }
    os << blanks << "if " << x << "\n";
    then_tree->Print_bdd_structure_loc(os, indent + 2);
    os << blanks << "else if !" << x << "\n";
    else_tree->Print_bdd_structure_loc(os, indent + 2);
    os << blanks << "dont care " << x << "\n";
    dont_care_tree->Print_bdd_structure_loc(os, indent + 2);
}
