// Conjunction, disjunction and exclusive or on complement-edge nodes, and the connectives
// derived from them.
#include <functional>
#include <iostream>
#include <utility>
#include <vector>

#include "bdd/bddpp.h"
#include "bdd/bddpp_tables.h"

namespace {

// One pending node-level operation of the explicit recursion stack.
struct apply_frame {
    bdd_node* x;   // first operand
    bdd_node* y;   // second operand
    bdd_node* x2;  // else side: first operand
    bdd_node* y2;  // else side: second operand
    bdd_node* r1;  // then result
    long px;       // order position of x's variable
    long py;       // order position of y's variable
    long pos;      // position of the variable expanded at this level
    int a;         // link of the first operand
    int b;         // link of the second operand
    int a2;        // else side: link of the first operand
    int b2;        // else side: link of the second operand
    int l1;        // then result's link
    int state;     // 0: not started, 1: then side running, 2: else side running
    bool own;      // both operands are the manager's own nodes (their result may be cached)
};

// The order position of n's variable, -1 for the terminal, -3 without an owner; mine tells
// whether n's owner is m.
inline long position_of(const bdd_node* n, const bddpp_manager* m, bool& mine)
{
    const int v = n->var;
    if (v >= 0) {
        const bddpp_manager* o = n->block_owner(); // not a default node
        mine = o == m;
        return o ? o->id_to_pos[v] : -3;
    }
    const bddpp_manager* o = n->owner();
    mine = o == m;
    return o ? v : -3;
}

long position(const bdd_node* n)
{
    bool mine;
    return position_of(n, nullptr, mine);
}

// A null operand ends the process; an exclusive or fails as its first conjunction would.
[[noreturn]] __attribute__((noinline, cold)) void null_operand(bddpp_manager::apply_op op, const bdd_node* x,
                                                               const bdd_node* y)
{
    if (op == bddpp_manager::apply_or) {
        std::cerr << "ERROR: call bddpp_manager::Bdd_or() with null reference" << std::endl;
    } else {
        std::cerr << "ERROR: call bddpp_manager::Bdd_and() with null reference" << std::endl;
        std::cerr << "Bdd_and(" << static_cast<const void*>(x) << "," << static_cast<const void*>(y) << ")"
                  << std::endl;
    }
    bdd_exit(1);
}

// The terminal rules; neutral is the link of the constant that leaves the other operand as it
// is (1 for AND, -1 for OR).
bool terminal_rule(int neutral, bdd_node* k, int a, bdd_node* x, int b, bdd_node* y, bdd_node*& r,
                   int& l)
{
    if (x == k) {
        if (a == neutral) r = y, l = b;
        else r = k, l = -neutral;
        return true;
    }
    if (y == k) {
        if (b == neutral) r = x, l = a;
        else r = k, l = -neutral;
        return true;
    }
    if (x == y) {
        if (a == b) r = x, l = a;
        else r = k, l = -neutral;
        return true;
    }
    return false;
}

// The terminal rules of the exclusive or: a constant operand gives the other one, itself or
// complemented, and equal nodes give a constant.
bool xor_terminal_rule(bdd_node* k, int a, bdd_node* x, int b, bdd_node* y, bdd_node*& r, int& l)
{
    if (x == k) r = y, l = -a * b;
    else if (y == k) r = x, l = -a * b;
    else if (x == y) r = k, l = a == b ? -1 : 1;
    else return false;
    return true;
}

// The cache key of one node-level operation, operands in pointer order. A disjunction is kept
// as the complement of the conjunction of the complements; an exclusive or as the one of the
// plain nodes, times the product of the links.
struct cache_key {
    int op;
    int a;
    const bdd_node* x;
    int b;
    const bdd_node* y;
    int sign; // the cached link times sign is the result's link

    cache_key(bddpp_manager::apply_op o, int fa, const bdd_node* fx, int fb, const bdd_node* fy)
        : op(bdd_computed_table::op_and), a(fa), x(fx), b(fb), y(fy), sign(1)
    {
        if (o == bddpp_manager::apply_or) {
            sign = -1;
            a = -a;
            b = -b;
        } else if (o == bddpp_manager::apply_xor) {
            op = bdd_computed_table::op_xor;
            sign = a * b;
            a = b = 1;
        }
        if (std::less<const bdd_node*>()(y, x)) {
            std::swap(a, b);
            std::swap(x, y);
        }
    }
};

// Whether n is the single-variable node of one of m's variables.
inline bool is_literal_node(const bdd_node* n, const bddpp_manager* m)
{
    return n->var >= 0 && n->then_node == m->terminal && n->else_node == m->terminal && n->block_owner() == m;
}

const char* const apply_names[3] = {"Bdd_and", "Bdd_or", "Bdd_xor"};

} // namespace

void bddpp_manager::Apply_failed(apply_op op, int a, bdd_node* x, int b, bdd_node* y, int link,
                                 bdd_node* r, long pr, long px, long py)
{
    std::cerr << "INTERNAL ERROR in " << apply_names[op] << "(): result has an index (" << pr
              << ") less than the operands (" << px << ") and (" << py << ")!" << std::endl;
    Bdd_global_clear_marks();
    long k = Bdd_incremental_id(x, 0);
    k = Bdd_incremental_id(y, k);
    Bdd_incremental_id(r, k);
    Bdd_clear_marks(x);
    Bdd_clear_marks(y);
    Bdd_clear_marks(r);
    std::cerr << std::endl << std::endl;
    const char* labels[3] = {"x= ", "y=", "result="};
    int links[3] = {a, b, link};
    bdd_node* nodes[3] = {x, y, r};
    for (int i = 0; i < 3; ++i) {
        std::cerr << labels[i] << (links[i] == -1 ? "NOT" : "") << std::endl;
        Print_bdd_structure_loc(std::cerr, 5, nodes[i]);
    }
    bdd_exit(1);
}

bdd_node* bddpp_manager::Apply(apply_op op, int a0, bdd_node* x0, int b0, bdd_node* y0, int& link)
{
    const int neutral = op == apply_and ? 1 : -1;
    bdd_node* r = nullptr; // result of the operation finished last
    int l = 0;             // its link
    // terminal cases and cache lookup: a result found here is one of the operands, a constant
    // or a result already checked, so it needs no frame and passes the self-check
    auto quick = [&](int a, bdd_node* x, int b, bdd_node* y) {
        if (!x || !y) null_operand(op, x, y);
        if (op == apply_xor ? xor_terminal_rule(terminal, a, x, b, y, r, l)
                            : terminal_rule(neutral, terminal, a, x, b, y, r, l))
            return true;
        if (!cache_on) return false;
        cache_key key(op, a, x, b, y);
        if (!computed->lookup(key.op, key.a, key.x, key.b, key.y, r, l)) return false;
        l *= key.sign;
        return true;
    };
    // A conjunction or disjunction of two literals of distinct variables: the expansion below
    // would make (or find) one node, of the variable placed first, with the other literal on one
    // side and a constant on the other; that node straight away.
    if (op != apply_xor && x0 && y0 && x0 != y0 && is_literal_node(x0, this) && is_literal_node(y0, this)) {
        if (id_to_pos[y0->var] < id_to_pos[x0->var]) {
            std::swap(a0, b0);
            std::swap(x0, y0);
        }
        const bool conj = op == apply_and;
        // the side where the first literal is lit_true: the second literal, or the constant
        // that the first one decides
        auto side = [&](bool lit_true, int& sl) {
            if (lit_true == conj) {
                sl = b0;
                return y0;
            }
            sl = conj ? -1 : 1;
            return terminal;
        };
        int tl, el;
        bdd_node* t = side(a0 == 1, tl);
        bdd_node* e = side(a0 == -1, el);
        link = 1;
        return Find_or_create_bdd_node(id_to_pos[x0->var], tl, el, t, e, link);
    }
    if (quick(a0, x0, b0, y0)) {
        link = l;
        return r;
    }
    // the frames live in a buffer kept from call to call; a nested call would find it taken
    // and simply start a buffer of its own. The frames in use are the first top ones; the
    // buffer doubles when full (no frame in hand is used past a push).
    static std::vector<apply_frame> spare;
    std::vector<apply_frame> stack;
    stack.swap(spare);
    if (stack.size() < 64) stack.resize(64);
    apply_frame* frames = stack.data();
    size_t top = 0, room = stack.size();
    auto push = [&](int a, bdd_node* x, int b, bdd_node* y) {
        if (top == room) {
            stack.resize(2 * room);
            frames = stack.data();
            room = stack.size();
        }
        apply_frame& g = frames[top++];
        g.x = x, g.y = y, g.a = a, g.b = b, g.state = 0;
    };
    push(a0, x0, b0, y0);
    while (top > 0) {
        apply_frame& f = frames[top - 1];
        if (f.state == 0) {
            bool mine_x, mine_y;
            f.px = position_of(f.x, this, mine_x);
            f.py = position_of(f.y, this, mine_y);
            f.own = mine_x && mine_y;
            // cofactors: expand the operand with the smaller position, both when equal
            int ta = f.a, tb = f.b;
            bdd_node *tx, *ty;
            if (f.px < f.py) {
                f.pos = f.px;
                tx = f.x->then_node, ty = f.y;
                f.a2 = f.a * f.x->else_link, f.x2 = f.x->else_node, f.b2 = f.b, f.y2 = f.y;
            } else if (f.px > f.py) {
                f.pos = f.py;
                ta = f.b, tx = f.y->then_node, tb = f.a, ty = f.x;
                f.a2 = f.b * f.y->else_link, f.x2 = f.y->else_node, f.b2 = f.a, f.y2 = f.x;
            } else {
                f.pos = f.px;
                tx = f.x->then_node, ty = f.y->then_node;
                f.a2 = f.a * f.x->else_link, f.x2 = f.x->else_node;
                f.b2 = f.b * f.y->else_link, f.y2 = f.y->else_node;
            }
            f.state = 1;
            // the then side's operands are read as soon as its cache lookup misses: their
            // fetches start now and overlap the lookup's
            __builtin_prefetch(tx);
            __builtin_prefetch(ty);
            // the else side's nodes and cache entry are read once the then side is done:
            // fetched meanwhile
            __builtin_prefetch(f.x2);
            __builtin_prefetch(f.y2);
            if (cache_on) {
                cache_key key(op, f.a2, f.x2, f.b2, f.y2);
                computed->prefetch(key.op, key.a, key.x, key.b, key.y);
            }
            // recursion: the then side first
            if (!quick(ta, tx, tb, ty)) push(ta, tx, tb, ty);
            continue;
        }
        if (f.state == 1) {
            f.r1 = r;
            f.l1 = l;
            f.state = 2;
            if (!quick(f.a2, f.x2, f.b2, f.y2)) push(f.a2, f.x2, f.b2, f.y2);
            continue;
        }
        const bool same = f.r1 == r && f.l1 == l;
        if (!same) {
            // new node
            int lk = 1;
            r = Find_or_create_bdd_node(f.pos, f.l1, l, f.r1, r, lk);
            l = lk;
        }
        // cache insert; only results over this manager's own nodes, which only its own
        // collection frees (and that empties the cache)
        if (cache_on && r && f.own) {
            cache_key key(op, f.a, f.x, f.b, f.y);
            computed->insert(key.op, key.a, const_cast<bdd_node*>(key.x), key.b,
                             const_cast<bdd_node*>(key.y), r, l * key.sign);
        }
        // self-check of the result against both operands; a node found or made above lies at
        // pos, the smaller of both positions, and passes
        if (same && r && r != terminal) {
            long pr = position(r);
            if (pr < f.px && pr < f.py) Apply_failed(op, f.a, f.x, f.b, f.y, l, r, pr, f.px, f.py);
        }
        --top;
    }
    spare.swap(stack);
    link = l;
    return r;
}

bdd_node* bddpp_manager::Bdd_and(int a, bdd_node* x, int b, bdd_node* y, int& link)
{
    return Apply(apply_and, a, x, b, y, link);
}

bdd_node* bddpp_manager::Bdd_or(int a, bdd_node* x, int b, bdd_node* y, int& link)
{
    return Apply(apply_or, a, x, b, y, link);
}

bdd bddpp_manager::Bdd_and(const bdd& f, const bdd& g)
{
    int link;
    bdd_node* n = Apply(apply_and, f.link, f.node_ptr, g.link, g.node_ptr, link);
    return bdd(this, link, n);
}

bdd bddpp_manager::Bdd_or(const bdd& f, const bdd& g)
{
    int link;
    bdd_node* n = Apply(apply_or, f.link, f.node_ptr, g.link, g.node_ptr, link);
    return bdd(this, link, n);
}

bdd bddpp_manager::Bdd_nand(const bdd& f, const bdd& g) { return Bdd_not(Bdd_and(f, g)); }

bdd bddpp_manager::Bdd_nor(const bdd& f, const bdd& g) { return Bdd_not(Bdd_or(f, g)); }

// The function of Bdd_or(Bdd_and(f, Bdd_not(g)), Bdd_and(Bdd_not(f), g)) in one walk, without
// the nodes of the two conjunctions.
bdd bddpp_manager::Bdd_xor(const bdd& f, const bdd& g)
{
    int link;
    bdd_node* n = Apply(apply_xor, f.link, f.node_ptr, g.link, g.node_ptr, link);
    return bdd(this, link, n);
}

bdd bddpp_manager::Bdd_xnor(const bdd& f, const bdd& g) { return Bdd_not(Bdd_xor(f, g)); }

bdd bddpp_manager::Bdd_eq(const bdd& f, const bdd& g) { return Bdd_xnor(f, g); }

bdd bddpp_manager::Bdd_implication(const bdd& f, const bdd& g) { return Bdd_or(Bdd_not(f), g); }

bdd bddpp_manager::Bdd_ite(const bdd& f, const bdd& g, const bdd& h)
{
    bdd not_f = Bdd_not(f);
    bdd f_and_g = Bdd_and(f, g);
    bdd not_f_and_h = Bdd_and(not_f, h);
    return Bdd_or(f_and_g, not_f_and_h);
}

bdd bddpp_manager::Bdd_ite(int link, long position, const bdd& g, const bdd& h)
{
    bdd_node* n = nullptr;
    if (position == -1) n = terminal;
    else if (position >= 0 && position < nvars) n = var_nodes[pos_to_id[position]];
    else std::cerr << "ERROR: abnormal index in bddpp_manager::Bdd_ite()" << std::endl;
    return Bdd_ite(bdd(this, link, n), g, h);
}

int bddpp_manager::Bdd_equiv(const bdd& f, const bdd& g) { return Bdd_is_one_tautologic(Bdd_xnor(f, g)); }

int bddpp_manager::Bdd_imply(const bdd& f, const bdd& g)
{
    return Bdd_is_one_tautologic(Bdd_or(Bdd_not(f), g));
}

int bddpp_manager::Bdds_excl(const bdd& f, const bdd& g) { return Bdd_is_zero_tautologic(Bdd_and(f, g)); }

int bddpp_manager::Bdds_exclude(const bdd& f, const bdd& g) { return Bdds_excl(f, g); }
