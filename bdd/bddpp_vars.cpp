// The variable table: creation, ids, order positions, names, supports and manager-wide values.
#include <algorithm>
#include <initializer_list>
#include <iostream>
#include <vector>

#include "bdd/bddpp.h"

std::string Bdd_version() { return "4.6"; }

int String_table_memory_size(std::string* names, int n)
{
    int total = 0;
    for (int i = 0; i < n; ++i) total += int(names[i].capacity());
    return total;
}

// ---- creation ----

void bddpp_manager::Grow_tables()
{
    if (nvars == capacity) Resize_tables(capacity * 2);
}

// The per-variable tables get cap slots (cap > capacity).
void bddpp_manager::Resize_tables(long cap)
{
    std::string* n_names = new std::string[cap];
    bdd_node** n_nodes = new bdd_node*[cap];
    long* n_id_to_pos = new long[cap];
    long* n_pos_to_id = new long[cap];
    bdd_node** n_assoc = new bdd_node*[cap];
    for (long i = 0; i < capacity; ++i) {
        n_names[i] = std::move(names[i]);
        n_nodes[i] = var_nodes[i];
        n_id_to_pos[i] = id_to_pos[i];
        n_pos_to_id[i] = pos_to_id[i];
        n_assoc[i] = assoc_table[i];
    }
    delete[] names;
    delete[] var_nodes;
    delete[] id_to_pos;
    delete[] pos_to_id;
    delete[] assoc_table;
    names = n_names;
    var_nodes = n_nodes;
    id_to_pos = n_id_to_pos;
    pos_to_id = n_pos_to_id;
    assoc_table = n_assoc;
    capacity = cap;
}

// Exactly n slots: the names are constructed in every slot, a rounding up would cost memory.
void bddpp_manager::Reserve_variables(long n)
{
    if (n > capacity) Resize_tables(n);
    name_map.reserve(static_cast<size_t>(n));
}

// A new variable named name at order position p (existing positions from p on move down one); the
// caller has put name in the name map with the id nvars.
bdd_node* bddpp_manager::Add_variable(const std::string& name, long p)
{
    long id = nvars;
    names[id] = name;
    bdd_node* v = new (this) bdd_node(this, next_number, id, 0, -1, terminal, terminal);
    var_nodes[id] = v;
    ++next_number;
    if (p < nvars) { // an insertion: the variables from p on move down one position
        for (long i = 0; i < nvars; ++i)
            if (id_to_pos[i] >= p) ++id_to_pos[i];
        for (long q = nvars; q > p; --q) pos_to_id[q] = pos_to_id[q - 1];
    }
    id_to_pos[id] = p;
    pos_to_id[p] = id;
    assoc_table[id] = v;
    ++nvars;
    return v;
}

bdd_node* bddpp_manager::New_node_var_last(const std::string& name)
{
    Grow_tables();
    auto known = name_map.insert(name, nvars);
    if (!known.second) return var_nodes[known.first];
    return Add_variable(name, nvars);
}

bdd bddpp_manager::New_var_last(const std::string& name) { return bdd(this, 1, New_node_var_last(name)); }

bdd_node* bddpp_manager::New_node_var_before(long p, const std::string& name)
{
    if (p < 0 || p >= nvars) {
        std::cerr << "Error in new_node_var_before(): abnormal index ..." << std::endl;
        return nullptr;
    }
    Grow_tables();
    auto known = name_map.insert(name, nvars);
    if (!known.second) return var_nodes[known.first];
    return Add_variable(name, p);
}

bdd_node* bddpp_manager::New_node_var_after(long p, const std::string& name)
{
    if (p + 1 == nvars) return New_node_var_last(name);
    if (p < nvars) return New_node_var_before(p + 1, name);
    std::cerr << "Error in new_node_var_after(): abnormal id ..." << std::endl;
    return nullptr;
}

bdd bddpp_manager::New_var_before(bdd f, const std::string& name)
{
    return bdd(this, 1, New_node_var_before(Bdd_if_index(f), name));
}

bdd bddpp_manager::New_var_before(long p, const std::string& name)
{
    return bdd(this, 1, New_node_var_before(p, name));
}

bdd bddpp_manager::New_var_after(bdd f, const std::string& name)
{
    return bdd(this, 1, New_node_var_after(Bdd_if_index(f), name));
}

bdd bddpp_manager::New_var_after(long p, const std::string& name)
{
    return bdd(this, 1, New_node_var_after(p, name));
}

// ---- lookups and literals ----

bdd bddpp_manager::Var_id_out_of_range(long id)
{
    std::cerr << "calling bddpp_manager::Bdd_var_by_id() with id= " << id << " :out of range!" << std::endl;
    return Bdd_zero();
}

bdd bddpp_manager::Bdd_var_by_index(long p)
{
    if (p == -1) return Bdd_one();
    if (p < 0 || p >= nvars) {
        std::cerr << "calling bddpp_manager::Bdd_var_by_index() with index= " << p
                  << " :out of range!" << std::endl;
        return bdd();
    }
    return bdd(this, 1, var_nodes[pos_to_id[p]]);
}

bdd bddpp_manager::Bdd_var_by_name(const std::string& name)
{
    long id = name_map.find(name);
    if (id < 0) return Bdd_zero();
    return bdd(this, 1, var_nodes[id]);
}

bdd bddpp_manager::Bdd_if(const bdd& f)
{
    long p = f.node_ptr ? Position_of(f.node_ptr) : -3;
    if (p >= 0 && p < nvars) return bdd(this, 1, var_nodes[pos_to_id[p]]);
    std::cerr << std::endl
              << "calling bddpp_manager::Bdd_if() with bdd index= " << p << " :out of range!" << std::endl;
    return Bdd_zero();
}

long bddpp_manager::Bdd_if_id(const bdd& f)
{
    if (f.manager != this || !f.node_ptr) {
        std::cerr << "ERROR in bddpp_manager::Bdd_if_id(): bdd of another manager or not initialized"
                  << std::endl;
        return -3;
    }
    return f.node_ptr->var < 0 ? -1 : f.node_ptr->var;
}

long bddpp_manager::Id_var_by_bdd(const bdd& f) { return Bdd_if_id(f); }

long bddpp_manager::Bdd_if_index(const bdd& f)
{
    if (f.manager != this || !f.node_ptr) {
        std::cerr << "ERROR in bddpp_manager::Bdd_if_index(): bdd of another manager or not initialized"
                  << std::endl;
        return -3;
    }
    long p = Position_of(f.node_ptr);
    return p == -3 ? -3 : (p < 0 ? -1 : p);
}

long bddpp_manager::Index_var_by_bdd(const bdd& f) { return Bdd_if_index(f); }

long bddpp_manager::Index_var_by_name(const std::string& name)
{
    long id = Id_var_by_name(name);
    return id < 0 ? -1 : id_to_pos[id];
}

long bddpp_manager::Id_var_by_name(std::string_view name)
{
    return name_map.find(name);
}

// An id or position outside [0, nvars) gives an empty name.
std::string bddpp_manager::Name_var_by_id(long id)
{
    return id >= 0 && id < nvars ? names[id] : std::string();
}

std::string bddpp_manager::Name_var_by_index(long p)
{
    return p >= 0 && p < nvars ? names[pos_to_id[p]] : std::string();
}

std::string bddpp_manager::Name_var_by_bdd(const bdd& f)
{
    long id = Bdd_if_id(f);
    if (id >= 0 && id < nvars) return names[id];
    if (f.node_ptr == terminal) return f.link == 1 ? "1" : "0";
    std::cerr << "error in bddpp_manager::Name_var_by_bdd()" << std::endl;
    std::cerr << "bdd defined by: " << f << ", is not correct ..." << std::endl;
    std::cerr << "(typebdd = " << (f.node_ptr ? f.node_ptr->var : -3) << ")" << std::endl;
    bdd_exit(1);
}

// ---- names ----

void bddpp_manager::Rename_var(const std::string& new_name, const std::string& old_name)
{
    for (long i = 0; i < nvars; ++i)
        if (names[i] == new_name) {
            std::cerr << "in bdd_manager::Rename_var(): " << "WARNING " << new_name << " ALREADY DEFINED !"
                      << std::endl;
            std::cerr << "renaming process aborted ..." << std::endl;
            return;
        }
    for (long i = 0; i < nvars; ++i)
        if (names[i] == old_name) {
            names[i] = new_name;
            return;
        }
    std::cerr << "in bdd_manager::Rename_var(): " << "WARNING " << old_name << " NOT FOUND !" << std::endl;
    std::cerr << "renaming process aborted ..." << std::endl;
}

void bddpp_manager::Change_name_by_id(long id, const std::string& name)
{
    if (id >= 0 && id < nvars) names[id] = name;
}

void bddpp_manager::Change_name_by_index(long p, const std::string& name)
{
    if (p >= 0 && p < nvars) names[pos_to_id[p]] = name;
}

void bddpp_manager::Replace_char_in_all_names(char c1, char c2)
{
    for (long i = 0; i < nvars; ++i)
        if (!names[i].empty()) std::replace(names[i].begin(), names[i].end(), c1, c2);
}

void bddpp_manager::No_begin_underscore_name()
{
    for (long i = 0; i < nvars; ++i)
        if (!names[i].empty() && names[i][0] == '_') names[i] = "v" + names[i];
}

// ---- supports and dependence ----

std::set<long> bddpp_manager::set_of_id_depend_on(const bdd& f)
{
    if (f.manager != this || !f.node_ptr) {
        std::cerr << "Warning: call  bddpp_manager::set_of_index_depend_on() with a bad manager" << std::endl;
        return std::set<long>();
    }
    return f.node_ptr->support_set();
}

bool bddpp_manager::positions_depend_on(const bdd& f, std::vector<long>& positions)
{
    positions.clear();
    if (f.manager != this || !f.node_ptr) {
        std::cerr << "Warning: call  bddpp_manager::set_of_index_depend_on() with a bad manager" << std::endl;
        return false;
    }
    // a node whose children have no variable node below them (most gates): its variable and
    // theirs, without the walk
    const bdd_node* n = f.node_ptr;
    auto bare = [](const bdd_node* c) {
        auto none = [](const bdd_node* d) { return !d || d->var < 0; };
        return none(c) || (none(c->then_node) && none(c->else_node));
    };
    if (n->var < 0) return true;
    if (bare(n->then_node) && bare(n->else_node)) {
        positions.push_back(id_to_pos[n->var]);
        for (const bdd_node* c : {n->then_node, n->else_node})
            if (c && c->var >= 0) positions.push_back(id_to_pos[c->var]);
        std::sort(positions.begin(), positions.end());
        positions.erase(std::unique(positions.begin(), positions.end()), positions.end());
        return true;
    }
    static std::vector<long> ids; // scratch kept from call to call
    n->support_ids(ids);
    for (long id : ids) positions.push_back(id_to_pos[id]);
    std::sort(positions.begin(), positions.end());
    positions.erase(std::unique(positions.begin(), positions.end()), positions.end());
    return true;
}

std::set<long> bddpp_manager::set_of_index_depend_on(const bdd& f)
{
    static std::vector<long> positions; // scratch kept from call to call
    positions_depend_on(f, positions);
    return std::set<long>(positions.begin(), positions.end());
}

void bddpp_manager::Present_variables(const bdd& f, int* vals)
{
    for (long p = 0; p < nvars; ++p) vals[p] = 0;
    for (long p : set_of_index_depend_on(f)) vals[p] = 1;
}

int bddpp_manager::exists_common_variables(const bdd& f, const bdd& g)
{
    std::set<long> a = set_of_id_depend_on(f);
    std::set<long> b = set_of_id_depend_on(g);
    for (long id : a)
        if (b.count(id)) return 1;
    return 0;
}

int bddpp_manager::Bdd_node_depends_on(bdd_node* n, bdd_node* v)
{
    if (!n || !v || n->owner() != this || v->owner() != this) {
        std::cerr << "Error in bddpp_manager::Bdd_node_depends_on():  bad Bdd manager or bdd(s) not initialized!"
                  << std::endl;
        return 0;
    }
    if (n->var == v->var) return 1;
    if (n == terminal) return 0;
    return n->support_set().count(v->var) ? 1 : 0;
}

int bddpp_manager::Bdd_depends_on(const bdd& f, const bdd& g) { return Bdd_node_depends_on(f.node_ptr, g.node_ptr); }

int bddpp_manager::Variable_awaited(const bdd& f, long p)
{
    if (p < 0 || p >= nvars) return 0;
    return Bdd_node_depends_on(f.node_ptr, var_nodes[pos_to_id[p]]);
}

// ---- manager-wide values and stubs ----

std::string bddpp_manager::Bdd_version() { return ::Bdd_version(); }

bdd bddpp_manager::Bdd_dup(bdd f)
{
    std::cerr << "Warning: bddpp_manager::Bdd_dup() is became useless ..." << std::endl;
    return f;
}

bdd bddpp_manager::Bdd_swap_vars(const bdd&, const bdd&, const bdd&)
{
    std::cerr << "bddpp_manager::Bdd_swap_vars(bdd f) A FAIRE" << std::endl;
    return Bdd_zero();
}

void bddpp_manager::Bdd_var_reorder() { std::cerr << "bddpp_manager::Bdd_var_reorder(void) A FAIRE" << std::endl; }
