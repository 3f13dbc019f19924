// Manager copies, transfers of functions between managers and the association table.
#include <cstdint>
#include <iostream>
#include <string>
#include <unordered_map>

#include "bdd/bddpp.h"

// ---- manager copy ----

bddpp_manager::bddpp_manager(bddpp_manager* m)
{
    Construct_tables(m ? m->capacity : 16);
    if (!m) return;
    nvars = m->nvars;
    for (long i = 0; i < nvars; ++i) {
        names[i] = m->names[i];
        id_to_pos[i] = m->id_to_pos[i];
        pos_to_id[i] = m->pos_to_id[i];
        var_nodes[i] = new (this) bdd_node(this, 2 + i, i, 0, -1, terminal, terminal); // enters the table
        assoc_table[i] = var_nodes[i];
    }
    name_map = m->name_map;
    next_number = 2 + nvars;
}

// ---- transfers ----

namespace {

const char* const bad_call = "ERROR: Bad call of Bdd_isomorphe() !";
const char* const bad_call_by_name = "ERROR: Bad call of Bdd_isomorphe_by_name() !";

// The node of dst for (x ? then : else_link * else) with x the variable v at position q:
// made directly when q lies above both children, otherwise through the connectives, so any
// target order is accepted. Reports a result that is not plain (it cannot be: both managers
// agree on the value of the all-then path).
bdd_node* node_at(bddpp_manager* dst, long q, const bdd& v, int else_link, bdd_node* t, bdd_node* e,
                  const char* report)
{
    int link = 1;
    bdd_node* r;
    if (t == e && else_link == 1) {
        r = t; // two source variables sent to one: the test vanishes
    } else if (t != dst->terminal && e != dst->terminal && q < dst->Position_of(t) && q < dst->Position_of(e)) {
        r = dst->Find_or_create_bdd_node(q, 1, else_link, t, e, link);
    } else {
        bdd f = dst->Bdd_or(dst->Bdd_and(dst->Bdd_not(v), bdd(dst, else_link, e)),
                            dst->Bdd_and(v, bdd(dst, 1, t)));
        link = f.link;
        r = f.node_ptr;
        ++r->refs; // survives the local handles until the caller holds it
    }
    if (link != 1) std::cerr << report << std::endl;
    return r;
}

// One transfer of node forms; each source node is rebuilt once (the target's unique table
// would give the same node on every other path).
class node_transfer {
public:
    enum rule { same_order, through_map, by_name };

    node_transfer(bddpp_manager* dst, bddpp_manager* src, rule how, long* map)
        : dst(dst), src(src), how(how), map(map) {}

    bdd_node* node(bdd_node* n)
    {
        // terminal case, then the memo of this transfer
        if (n == src->terminal) return dst->terminal;
        std::unordered_map<bdd_node*, bdd_node*>::iterator known = done.find(n);
        if (known != done.end()) return known->second;
        long id = -1;
        if (how == by_name) { // names first: missing variables come in then-first walk order
            const std::string& name = src->names[n->var];
            id = dst->Id_var_by_name(name);
            if (id < 0) id = dst->New_node_var_last(name)->var;
        }
        // recursion, then before else, then the new node
        bdd_node* t = node(n->then_node);
        bdd_node* e = node(n->else_node);
        bdd_node* r = nullptr;
        long p = src->Position_of(n);
        if (!t || !e) {
            r = nullptr;
        } else if (how == same_order) {
            int link = 1;
            r = dst->Find_or_create_bdd_node(p, 1, n->else_link, t, e, link);
            if (link != 1) std::cerr << "erreur inattendue dans Bdd_isomorphe() avec correspondance!" << std::endl;
        } else if (how == through_map) {
            r = node_at(dst, map[p], dst->Bdd_var_by_index(map[p]), n->else_link, t, e,
                        "erreur inattendue dans Bdd_isomorphe() avec correspondance!");
        } else {
            r = node_at(dst, dst->id_to_pos[id], dst->Bdd_var_by_id(id), n->else_link, t, e,
                        "erreur inattendue dans Bdd_isomorphe_by_name() !");
        }
        done[n] = r;
        return r;
    }

private:
    bddpp_manager* dst;                              // target manager
    bddpp_manager* src;                              // source manager
    rule how;                                        // how a variable finds its target
    long* map;                                       // source position -> target position
    std::unordered_map<bdd_node*, bdd_node*> done;   // source node -> its target node
};

// The mapped handle form: every subfunction rebuilt with the target's connectives.
class mapped_transfer {
public:
    mapped_transfer(bddpp_manager* dst, bddpp_manager* src, long* map) : dst(dst), src(src), map(map) {}

    bdd function(const bdd& f)
    {
        if (f.node_ptr == src->terminal) return f.link == 1 ? dst->Bdd_one() : dst->Bdd_zero();
        uintptr_t key = reinterpret_cast<uintptr_t>(f.node_ptr) | (f.link == 1 ? 1 : 0); // nodes are aligned
        std::unordered_map<uintptr_t, bdd>::iterator known = done.find(key);
        if (known != done.end()) return known->second;
        bdd t = src->Bdd_then(f), e = src->Bdd_else(f);
        bdd v = dst->Bdd_var_by_index(map[src->Position_of(f.node_ptr)]);
        bdd t2 = function(t);
        bdd e2 = function(e);
        bdd r = dst->Bdd_or(dst->Bdd_and(dst->Bdd_not(v), e2), dst->Bdd_and(v, t2));
        done[key] = r;
        return r;
    }

private:
    bddpp_manager* dst;                      // target manager
    bddpp_manager* src;                      // source manager
    long* map;                               // source position -> target position
    std::unordered_map<uintptr_t, bdd> done; // (source node, link) -> target function
};

bdd_node* transfer_node(bddpp_manager* dst, bddpp_manager* src, bdd_node* n, node_transfer::rule how,
                        long* map, const char* report)
{
    if (!dst || !src || !n) {
        std::cerr << report << std::endl;
        return nullptr;
    }
    return node_transfer(dst, src, how, map).node(n);
}

bdd transfer_handle(bddpp_manager* dst, bddpp_manager* src, const bdd& f, node_transfer::rule how,
                    const char* report)
{
    bdd_node* n = transfer_node(dst, src, f.node_ptr, how, nullptr, report);
    return n ? bdd(dst, f.link, n) : bdd();
}

} // namespace

bdd Bdd_isomorphe(bddpp_manager* dst, bddpp_manager* src, bdd f)
{
    return transfer_handle(dst, src, f, node_transfer::same_order, bad_call);
}

bdd_node* Bdd_isomorphe(bddpp_manager* dst, bddpp_manager* src, bdd_node* n)
{
    return transfer_node(dst, src, n, node_transfer::same_order, nullptr, bad_call);
}

bdd Bdd_isomorphe(bddpp_manager* dst, bddpp_manager* src, bdd& f, long* map)
{
    if (!dst || !src || !f.node_ptr) {
        std::cerr << bad_call << std::endl;
        return dst ? dst->Bdd_zero() : bdd();
    }
    return mapped_transfer(dst, src, map).function(f);
}

bdd_node* Bdd_isomorphe(bddpp_manager* dst, bddpp_manager* src, bdd_node* n, long* map)
{
    return transfer_node(dst, src, n, node_transfer::through_map, map, bad_call);
}

bdd Bdd_isomorphe_by_name(bddpp_manager* dst, bddpp_manager* src, bdd f)
{
    return transfer_handle(dst, src, f, node_transfer::by_name, bad_call_by_name);
}

bdd_node* Bdd_isomorphe_by_name(bddpp_manager* dst, bddpp_manager* src, bdd_node* n)
{
    return transfer_node(dst, src, n, node_transfer::by_name, nullptr, bad_call_by_name);
}

// ---- association table ----

namespace {

// The table is read by order position but kept in the slot of the variable's id, where every
// variable creation puts the variable itself: an insertion in the middle of the order moves
// positions, never ids, so each entry stays with its variable.

// Makes h the association of position p; the entry holds one reference on h's node.
void set_association(bddpp_manager* m, long p, const bdd& h)
{
    long id = m->pos_to_id[p];
    std::map<long, int>::iterator held = m->assoc_links.find(id);
    if (held != m->assoc_links.end()) --m->assoc_table[id]->refs;
    m->assoc_table[id] = h.node_ptr;
    ++h.node_ptr->refs;
    m->assoc_links[id] = h.link;
}

} // namespace

bdd bddpp_manager::Bdd_assoc_of(long p)
{
    if (p < 0 || p >= nvars) return bdd();
    long id = pos_to_id[p];
    if (!assoc_table[id]) return bdd();
    std::map<long, int>::iterator held = assoc_links.find(id);
    return bdd(this, held == assoc_links.end() ? 1 : held->second, assoc_table[id]);
}

void bddpp_manager::Bdd_assoc_bdd_to_var(const bdd& g, const bdd& x)
{
    if (Bdd_is_var(x)) {
        if (!g.node_ptr) return; // no function to associate
        long k = Bdd_if_index(x);
        bdd c = g;
        for (long i = 0; i < nvars; ++i) {
            bdd v = Bdd_var_by_index(i);
            bdd A = Bdd_assoc_of(i);
            if (A.node_ptr && Bdd_depends_on(c, v) && !Bdd_depends_on(A, v)) c = Bdd_compose(c, v, A);
        }
        set_association(this, k, c);
        if (Bdd_depends_on(c, x)) return; // x stays self-dependent: nothing to propagate
        for (long j = 0; j < nvars; ++j) {
            bdd A = Bdd_assoc_of(j);
            if (j != k && A.node_ptr && Bdd_depends_on(A, x)) set_association(this, j, Bdd_compose(A, x, c));
        }
        return;
    }
    if ((Bdd_is_one_tautologic(x) && Bdd_is_one_tautologic(g))
        || (Bdd_is_zero_tautologic(x) && Bdd_is_zero_tautologic(g)))
        return;
    std::cerr << "error in bddpp_manager::Bdd_assoc_bdd_to_var():" << std::endl;
    std::cerr << "     second parameter is not a var !" << std::endl;
    std::cerr << "replace from: ";
    Print_sop("+", ".", "!", "", std::cerr, x, 1);
    std::cerr << " by expression: ";
    Print_sop("+", ".", "!", "", std::cerr, g, 1);
    std::cerr << std::endl;
    bdd_exit(1);
}

bdd bddpp_manager::Bdd_follow_assoc(const bdd& f, int* out)
{
    *out = -1;
    if (Bdd_is_var(f)) {
        long k = Bdd_if_index(f);
        bdd A = Bdd_assoc_of(k);
        if (!A.node_ptr) return f;
        if (Bdd_depends_on(A, f)) *out = int(k);
        return A;
    }
    bdd result = f;
    if (!f.node_ptr) return result;
    for (long id : f.node_ptr->support_set()) { // f's own support: substitutions are not followed
        long p = id_to_pos[id];
        bdd v = Bdd_var_by_id(id);
        bdd A = Bdd_assoc_of(p);
        if (!A.node_ptr) continue;
        if (Bdd_depends_on(A, v)) *out = int(p);
        else result = Bdd_compose(result, v, A);
    }
    return result;
}

void bddpp_manager::debug_variables(std::ostream& os)
{
    for (long i = 0; i < nvars; ++i) {
        Print_sop(" or ", " and ", "not ", "", os, Bdd_var_by_index(i), 1);
        os << " --> ";
        bdd A = Bdd_assoc_of(i);
        if (A.node_ptr) Print_sop(" or ", " and ", "not ", "", os, A, 1);
        else os << "NULL";
        os << "\n";
    }
}

void bddpp_manager::Print_Fixes_Points(std::ostream& os, const bdd& f)
{
    int k;
    bdd a = Bdd_follow_assoc(f, &k);
    auto sop = [this](const bdd& g) { return Print_sop_to_String(" + ", ".", "", "'", g, 1); };
    if (k < 0) { // no self-dependent variable: the function under its own top variable's name
        os << Name_var_by_bdd(f) << " = " << sop(a) << "\n";
        return;
    }
    const std::string N = Name_var_by_index(k);
    bdd x = Bdd_var_by_index(k);
    bdd h = Bdd_reduce(a, Bdd_not(x)), o = Bdd_reduce(a, x);
    bdd u = Bdd_and(h, Bdd_not(o));
    os << "\n";
    if (Bdd_is_zero_tautologic(u))
        os << "  ==> two stability points : " << N << "'= " << sop(h) << ", " << N << "''= " << sop(o);
    else
        os << "  ==> oscillation on " << N << "  for " << sop(u) << "\n"
           << "  ==> stabilisation when " << N << " = " << sop(Bdd_not(u)) << "\n";
}
