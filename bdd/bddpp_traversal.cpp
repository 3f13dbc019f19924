// Marks, depth-first numbering, node lists, structure dumps, the self-check and statistics.
#include <iostream>
#include <unordered_set>
#include <vector>

#include "bdd/bddpp.h"
#include "bdd/bddpp_tables.h"

namespace {

// Preorder walk (node, then subtree, else subtree) over the unmarked nodes below n; visit
// marks each node it is given. Null children are handed to on_null.
template <class Visit, class OnNull> void preorder_unmarked(bdd_node* n, Visit visit, OnNull on_null)
{
    std::vector<bdd_node*> todo(1, n);
    while (!todo.empty()) {
        bdd_node* m = todo.back();
        todo.pop_back();
        if (!m) {
            on_null();
            continue;
        }
        if (m->mark) continue;
        visit(m);
        if (m->var >= 0) {
            todo.push_back(m->else_node);
            todo.push_back(m->then_node);
        }
    }
}

long child_number(const bdd_node* c) { return c ? c->trav_number : -3; }

} // namespace

// ---- marks and numbering ----

int bddpp_manager::Bdd_clear_marks(bdd_node* n)
{
    // every node below n once: the same marks as walking every path, in linear time
    std::unordered_set<bdd_node*> seen;
    std::vector<bdd_node*> todo(1, n);
    while (!todo.empty()) {
        bdd_node* m = todo.back();
        todo.pop_back();
        if (!m || !seen.insert(m).second) continue;
        m->mark = 0;
        if (m->owner() && m->var >= 0 && m->var < m->owner()->nvars) {
            long p = m->owner()->id_to_pos[m->var];
            if (p >= 0 && p < m->owner()->nvars) {
                todo.push_back(m->else_node);
                todo.push_back(m->then_node);
            }
        }
    }
    return 0;
}

int bddpp_manager::Bdd_clear_marks(const bdd& f) { return Bdd_clear_marks(f.node_ptr); }

void bddpp_manager::Bdd_global_clear_marks()
{
    if (!unique_table) return;
    terminal->mark = 0;
    unique_table->for_each([](bdd_node* n) { n->mark = 0; });
}

long bddpp_manager::Bdd_incremental_id(bdd_node* n, long k)
{
    auto warn = [] { std::cerr << "Warning: call bddpp_manager::Bdd_incremental_id() with null reference!" << std::endl; };
    preorder_unmarked(n, [&k](bdd_node* m) {
        m->mark = 1;
        m->trav_number = k++;
    }, warn);
    return k;
}

long bddpp_manager::Bdd_node_size(bdd_node* n)
{
    Bdd_clear_marks(n);
    return Bdd_incremental_id(n, 0);
}

long bddpp_manager::Bdd_size(const bdd& f) { return Bdd_node_size(f.node_ptr); }

// ---- node lines ----

void bddpp_manager::Print_bdd_node_with_adress(std::ostream& os, bdd_node* n)
{
    if (!n) return;
    os << static_cast<const void*>(n) << ": " << Position_of(n) << ":";
    if (n->then_node) os << static_cast<const void*>(n->then_node);
    else os << -3;
    os << ":";
    if (n->else_node) os << static_cast<const void*>(n->else_node);
    else os << -3;
    os << "," << n->else_link;
}

void bddpp_manager::Print_bdd_node(std::ostream& os, bdd_node* n) { Print_bdd_node(os, n, nullptr); }

void Print_bdd_node(std::ostream& os, bdd_node* n)
{
    if (n && n->owner()) n->owner()->Print_bdd_node(os, n);
}

// A null map writes the plain line.
void bddpp_manager::Print_bdd_node(std::ostream& os, bdd_node* n, long* map)
{
    if (!n) return;
    long p = Position_of(n);
    os << n->trav_number << ": " << (p >= 0 && map ? map[p] : p) << ":" << child_number(n->then_node) << ":"
       << child_number(n->else_node) << "," << n->else_link;
}

void bddpp_manager::Print_bdd_by_nodes_list_loc(std::ostream& os, bdd_node* n)
{
    Print_bdd_by_nodes_list_loc(os, n, nullptr);
}

void bddpp_manager::Print_bdd_by_nodes_list_loc(std::ostream& os, bdd_node* n, long* map)
{
    preorder_unmarked(n, [&](bdd_node* m) {
        Print_bdd_node(os, m, map);
        os << "\n";
        m->mark = 1;
    }, [] {});
}

void bddpp_manager::Print_bdd_by_nodes_list(std::ostream& os, const bdd& f)
{
    Bdd_clear_marks(f.node_ptr);
    long k = Bdd_incremental_id(f.node_ptr, 0);
    os << "nombre de noeud trouves: " << k << "\n";
    Bdd_clear_marks(f.node_ptr);
    Print_bdd_by_nodes_list_loc(os, f.node_ptr);
}

void bddpp_manager::Print_bdd_by_nodes_list(std::ostream& os, const bdd& f, long* map)
{
    Bdd_clear_marks(f.node_ptr);
    Bdd_incremental_id(f.node_ptr, 0);
    Bdd_clear_marks(f.node_ptr);
    Print_bdd_by_nodes_list_loc(os, f.node_ptr, map);
}

// Clears the marks below every listed function and numbers them all in list order, each
// continuing the count of the one before; the marks are cleared again afterwards.
static long number_list(bddpp_manager* m, std::list<bdd>& l)
{
    long k = 0;
    for (const bdd& f : l) m->Bdd_clear_marks(f.node_ptr);
    for (const bdd& f : l) k = m->Bdd_incremental_id(f.node_ptr, k);
    for (const bdd& f : l) m->Bdd_clear_marks(f.node_ptr);
    return k;
}

void bddpp_manager::Print_bdds_list_by_nodes_list(std::ostream& os, std::list<bdd>& l)
{
    if (!l.empty()) number_list(this, l);
    os << "bdd_vars: " << "\n";
    for (long i = 0; i < nvars; ++i) os << (i ? "," : "") << names[i];
    os << ";" << "\n" << "bdd_nodes: " << "\n";
    for (const bdd& f : l) Print_bdd_by_nodes_list_loc(os, f.node_ptr);
}

void bddpp_manager::Print_bdds_list_by_nodes_list(std::ostream& os, std::list<bdd>& l, long* map)
{
    long k = number_list(this, l);
    os << k << "\n";
    for (const bdd& f : l) Print_bdd_by_nodes_list_loc(os, f.node_ptr, map);
}

// ---- structure dumps ----

void bddpp_manager::Chars(char c, int k, std::ostream& os)
{
    for (int i = 0; i < k; ++i) os << c;
}

void bddpp_manager::Print_bdd_structure_loc(std::ostream& os, int indent, bdd_node* n)
{
    if (!n) return;
    Chars(' ', indent, os);
    if (n->mark) {
        os << "already found node: " << n->trav_number << "\n";
        return;
    }
    long p = Position_of(n);
    if (n->var < 0) {
        os << "1" << " (node: " << n->trav_number << ",index: " << p << ")" << "\n";
        return;
    }
    const std::string& name = n->owner()->names[n->var];
    if (n->then_node == terminal && n->else_node == terminal && n->else_link == -1) {
        os << name << " (node: " << n->trav_number << ",index: " << p << ")" << "\n";
        return;
    }
    n->mark = 1;
    os << "if " << name << " (node: " << n->trav_number << ",index: " << p << ")" << "\n";
    Print_bdd_structure_loc(os, indent + 2, n->then_node);
    Chars(' ', indent, os);
    os << "else (not " << name << ")" << "\n";
    if (n->else_link == 1) {
        Print_bdd_structure_loc(os, indent + 2, n->else_node);
        return;
    }
    Chars(' ', indent + 2, os);
    os << "not(" << "\n";
    Print_bdd_structure_loc(os, indent + 6, n->else_node);
    Chars(' ', indent + 2, os);
    os << "   )" << "\n";
}

void bddpp_manager::Print_bdd_structure(std::ostream& os, const bdd& f)
{
    Bdd_clear_marks(f.node_ptr);
    Bdd_incremental_id(f.node_ptr, 0);
    Bdd_clear_marks(f.node_ptr);
    if (f.link == 1) {
        Print_bdd_structure_loc(os, 0, f.node_ptr);
        return;
    }
    os << "not(" << "\n";
    Print_bdd_structure_loc(os, 5, f.node_ptr);
    os << "   )" << "\n";
}

void bddpp_manager::Print_bdd_structure(FILE*, const bdd&)
{
    std::cerr << "bddpp_manager::Print_bdd_structure(FILE * file,bdd f) A FAIRE" << std::endl;
}

// ---- self-check ----

namespace {

// The checks of one node that do not look below its children.
bool locally_correct(const bdd_node* n)
{
    if (!n->owner()) return false;
    if (n->var == -1) return true;
    const bddpp_manager* m = n->owner();
    if (n->var < 0 || n->var >= m->nvars) return false;
    if (!n->then_node || !n->else_node || n->then_node == n || n->else_node == n) return false;
    long p = m->id_to_pos[n->var];
    for (const bdd_node* c : {n->then_node, n->else_node}) {
        if (c->var == -1) continue;
        if (!c->owner() || c->var < 0 || c->var >= c->owner()->nvars) return false;
        if (c->owner()->id_to_pos[c->var] <= p) return false;
    }
    return n->signature() >= 0;
}

} // namespace

int bdd_node::is_correct()
{
    // a node is correct when every node below it passes the local checks
    std::unordered_set<const bdd_node*> seen;
    std::vector<const bdd_node*> todo(1, this);
    while (!todo.empty()) {
        const bdd_node* n = todo.back();
        todo.pop_back();
        if (!seen.insert(n).second) continue;
        if (!locally_correct(n)) return 0;
        if (n->var >= 0) {
            todo.push_back(n->then_node);
            todo.push_back(n->else_node);
        }
    }
    return 1;
}

int bddpp_manager::Bdd_is_correct(const bdd& f)
{
    if (!f.node_ptr) {
        std::cerr << "Warning: call  bddpp_manager::Bdd_is_correct() with a null reference!" << std::endl;
        return 0;
    }
    Bdd_clear_marks(f.node_ptr);
    Bdd_incremental_id(f.node_ptr, 1);
    return f.node_ptr->is_correct();
}

// ---- statistics ----

void bddpp_manager::Bdd_stats(std::ostream& os)
{
    os << "BDD MANAGER statistics:" << "\n";
    os << "memory adress: " << static_cast<const void*>(this) << " Version: " << Bdd_version() << "\n";
    os << "bdd constant number: 1" << "\n";
    os << "-: 1 --> " << terminal->signature() << "\n";
    os << "bdd variables number: " << nvars << "\n";
    if (nvars > 0) {
        os << "Index: name --> signature" << "\n";
        for (long i = 0; i < nvars; ++i)
            os << i << ": " << names[pos_to_id[i]] << " --> " << var_nodes[pos_to_id[i]]->signature() << "\n";
    }
    os << "\n";
    if (!unique_table) {
        os << "internal map undefined ..." << "\n";
    } else {
        os << "Map:" << "\n";
        os << "global id: sign = var_index then_node else_node else_link_type (refs number)" << "\n";
        long useless = 0, references = 0, entries = 0;
        for (const bdd_node* n : Table_nodes_in_key_order()) {
            long long key = n->signature();
            os << n->number << ": " << key << " = " << (key >> 41) << " " << ((key >> 21) & 0xFFFFF) << " "
               << ((key >> 1) & 0xFFFFF) << " " << ((key & 1) ? "normal" : "inverse") << " (" << n->refs << ")"
               << "\n";
            ++entries;
            if (n != terminal) {
                if (n->refs <= 0) ++useless;
                references += n->refs;
            }
        }
        os << "Map Nodes number: " << entries << " --> useless: " << useless << "\n";
        os << "Global references number: " << references << "\n";
        os << "number of garbage collector calls: " << gc_calls << "\n";
    }
    os << std::string(46, '-') << "\n";
}
