// The forest core: construction, growth of the tables, registration, removal, lookups and edits.
#include "forest/Bddexpression.h"

#include <iostream>

#include "utils/list_long.h"

static const long max_bdd_vars = 536870912; // 2^29 slots at most

// Ends the process when count variables cannot be held; who names the writer of the message.
static void check_capacity(long count, const char* who)
{
    if (count <= max_bdd_vars) return;
    std::cerr << who << ": Nb bdd vars reached!" << std::endl << "program aborted ..." << std::endl;
    bdd_exit(1);
}

// Least power of two >= count, doubling from length.
static int grown_length(int length, long count)
{
    long l = length < 1 ? 1 : length;
    while (l < count) l *= 2;
    return static_cast<int>(l);
}

void Bddexpressionwood::allocate_arrays(int length)
{
    arrays_length = length;
    exp_table = new Bddexpression*[length]();
    readers = new position_set[length];
    late_dates = new long[length]();
}

void Bddexpressionwood::release_arrays()
{
    delete[] readers;
    delete[] late_dates;
    for (int i = 0; i < nb_bdd_vars; i++) delete exp_table[i];
    delete[] exp_table;
    readers = nullptr;
    late_dates = nullptr;
    exp_table = nullptr;
}

Bddexpressionwood::Bddexpressionwood() : Bddexpressionwood(new bddpp_manager())
{
}

Bddexpressionwood::Bddexpressionwood(bddpp_manager* m)
    : shared_manager(0), manager(m), nb_bdd_vars(0), arrays_length(1), exp_table(nullptr), readers(nullptr),
      late_dates(nullptr), nb_level(0), ids_index_stale(true), dating_budget(-1)
{
    check_capacity(m->nvars, "in Bddexpression");
    nb_bdd_vars = static_cast<int>(m->nvars);
    allocate_arrays(grown_length(1, nb_bdd_vars));
}

Bddexpressionwood::~Bddexpressionwood()
{
    release_arrays();
    if (shared_manager == 0) delete manager;
}

bdd Bddexpressionwood::New_var_last(const std::string& name)
{
    bdd v = manager->New_var_last(name);
    update_bdd_vars();
    return v;
}

long Bddexpressionwood::Index_new_var_last(const std::string& name)
{
    return manager->Bdd_if_index(New_var_last(name));
}

// The tables follow the insertion of the variable n at position k.
static bdd inserted(Bddexpressionwood* w, const bdd& n, long k)
{
    w->update_bdd_vars(k);
    return n;
}

bdd Bddexpressionwood::New_var_before_by_bdd(bdd v, const std::string& name)
{
    long p = manager->Bdd_if_index(v);
    return inserted(this, manager->New_var_before(v, name), p);
}

bdd Bddexpressionwood::New_var_before_by_index(long p, const std::string& name)
{
    return inserted(this, manager->New_var_before(manager->Bdd_var_by_index(p), name), p);
}

bdd Bddexpressionwood::New_var_after_by_bdd(bdd v, const std::string& name)
{
    long p = manager->Bdd_if_index(v);
    return inserted(this, manager->New_var_after(v, name), p + 1);
}

bdd Bddexpressionwood::New_var_after_by_index(long p, const std::string& name)
{
    return inserted(this, manager->New_var_after(manager->Bdd_var_by_index(p), name), p + 1);
}

// Moving to larger arrays keeps every slot; each equation rebuilds its dependencies.
void Bddexpressionwood::update_bdd_vars()
{
    long m = manager->nvars;
    if (nb_bdd_vars >= m) return;
    check_capacity(m, "in Bddexpressionwood");
    if (arrays_length < m) {
        Bddexpression** old_table = exp_table;
        position_set* old_readers = readers;
        long* old_late = late_dates;
        allocate_arrays(grown_length(arrays_length, m));
        for (int i = 0; i < nb_bdd_vars; i++) {
            exp_table[i] = old_table[i];
            readers[i].swap(old_readers[i]);
            late_dates[i] = old_late[i];
            if (exp_table[i] != nullptr) exp_table[i]->internal_build_dependances();
        }
        delete[] old_table;
        delete[] old_readers;
        delete[] old_late;
    }
    for (long i = nb_bdd_vars; i < m; i++) {
        exp_table[i] = nullptr;
        readers[i].clear();
        late_dates[i] = 0;
    }
    nb_bdd_vars = static_cast<int>(m);
}

// Position c after an insertion at k.
static long shifted(long c, long k)
{
    return c < k ? c : c + 1;
}

static position_set shifted(const position_set& s, long k)
{
    position_set r;
    r.reserve(s.size());
    for (long c : s) r.insert(r.end(), shifted(c, k));
    return r;
}

static position_bits shifted(const position_bits& s, long k)
{
    position_bits r;
    for (long c : s) r.insert(shifted(c, k));
    return r;
}

void Bddexpressionwood::update_bdd_vars(long k)
{
    long m = manager->nvars;
    if (m != nb_bdd_vars + 1) {
        std::cerr << "Internal error in update_bdd_vars(nouv_index):" << std::endl
                  << "awaited " << nb_bdd_vars + 1 << " variables, found: " << m << std::endl;
        return;
    }
    check_capacity(m, "in Bddexpressionwood");
    if (k < 0) k = 0;
    if (k > nb_bdd_vars) k = nb_bdd_vars;
    Bddexpression** old_table = exp_table;
    position_set* old_readers = readers;
    long* old_late = late_dates;
    allocate_arrays(grown_length(arrays_length, m)); // every late date 0
    for (long j = 0; j < m; j++) {
        if (j == k) continue;
        long old = j < k ? j : j - 1;
        exp_table[j] = old_table[old];
        readers[j] = shifted(old_readers[old], k);
        if (exp_table[j] != nullptr) exp_table[j]->internal_build_dependances();
    }
    expression_ids = shifted(expression_ids, k);
    ids_index_stale = true;
    delete[] old_table;
    delete[] old_readers;
    delete[] old_late;
    nb_bdd_vars = static_cast<int>(m);
}

void Bddexpressionwood::ids_insert(long i)
{
    expression_ids.insert(i);
    ids_index_stale = true;
}

void Bddexpressionwood::ids_erase(long i)
{
    expression_ids.erase(i);
    ids_index_stale = true;
}

// The registration shared by both forms; R (possibly null) lists the readers of an abstract variable.
static void learn(Bddexpressionwood* w, Bddexpression* e, std::set<long>* R)
{
    if (e == nullptr) {
        std::cerr << "INTERNAL ERROR in Bddexpressionwood::learn_expression():" << std::endl
                  << "no expression !!!" << std::endl << std::endl;
        return;
    }
    bddpp_manager* m = e->wood != nullptr ? e->wood->manager : w->manager;
    long i = e->bdd_var.manager == nullptr ? -3 : m->Bdd_if_index(e->bdd_var);
    if (i < 0 || i >= m->nvars) {
        std::cerr << "INTERNAL ERROR in Bddexpressionwood::learn_expression():" << std::endl
                  << (i < 0 ? "no left member in expression" : "bdd variable doesn't exist in Bdd manager")
                  << std::endl << std::endl;
        return;
    }
    if (i >= w->nb_bdd_vars) w->update_bdd_vars();
    if (i >= w->nb_bdd_vars) return; // the equation's manager is not this forest's
    Bddexpression* o = w->exp_table[i];
    if (o == e) return;
    if (o != nullptr) {
        for (long d : o->dependances)
            if (d >= 0 && d < w->nb_bdd_vars) w->readers[d].erase(i);
    } else {
        w->ids_insert(i);
    }
    w->exp_table[i] = e;
    for (long d : e->dependances)
        if (d >= 0 && d < w->nb_bdd_vars) w->readers[d].insert(w->readers[d].end(), i); // mostly the last
    if (R != nullptr)
        for (long r : *R)
            if (r >= 0 && r < w->nb_bdd_vars) w->readers[i].insert(r);
    if (w->nb_level < e->early_date) w->nb_level = static_cast<int>(e->early_date);
    if (w->nb_level < w->late_dates[i]) w->nb_level = static_cast<int>(w->late_dates[i]);
}

void Bddexpressionwood::learn_expression(Bddexpression* e)
{
    learn(this, e, nullptr);
}

void Bddexpressionwood::learn_abstract_expression(Bddexpression* e, std::set<long>* R)
{
    learn(this, e, R);
}

// The equation at i when nothing reads it, else null; i outside the slots gets the removals' message.
static Bddexpression* unread_equation(const Bddexpressionwood* w, long i)
{
    if (i < 0 || i >= w->nb_bdd_vars) {
        std::cerr << "Error in Bddexpressionwood::forget_expression_by_bddid(): " << std::endl
                  << i << " value not found ..." << std::endl;
        return nullptr;
    }
    return w->readers[i].empty() ? w->exp_table[i] : nullptr;
}

// Deletes the equation at i and empties its slot.
static void delete_slot(Bddexpressionwood* w, long i)
{
    delete w->exp_table[i];
    w->exp_table[i] = nullptr;
    w->ids_erase(i);
}

void Bddexpressionwood::forget_expression_by_bddid(long i)
{
    Bddexpression* e = unread_equation(this, i);
    if (e == nullptr) return;
    for (long d : e->dependances)
        if (d >= 0 && d < nb_bdd_vars) readers[d].erase(i);
    delete_slot(this, i);
    late_dates[i] = 0;
}

void Bddexpressionwood::absolute_forget_expression_by_bddid(long i)
{
    if (unread_equation(this, i) != nullptr) delete_slot(this, i);
}

template <class Keep> void Bddexpressionwood::clean_kept(Keep& keep)
{
    std::set<long> kept(keep.begin(), keep.end());
    position_bits ids = expression_ids;
    for (long i : ids) {
        if (i < 0 || i >= nb_bdd_vars) continue;
        Bddexpression* e = exp_table[i];
        if (e == nullptr) {
            std::cerr << "Warning in Bddexpressionwood::clean():" << "  Expression for id var " << i
                      << " should be existed ..." << std::endl;
            continue;
        }
        if (kept.count(i) == 0 && readers[i].empty() && e->dependances.empty()) delete_slot(this, i);
    }
}

void Bddexpressionwood::clean(std::set<long>& keep)
{
    clean_kept(keep);
}

void Bddexpressionwood::clean(std::list<long>& keep)
{
    clean_kept(keep);
}

int Bddexpressionwood::exp_number()
{
    return static_cast<int>(expression_ids.size());
}

int Bddexpressionwood::Nb_bdd_vars()
{
    return nb_bdd_vars;
}

int Bddexpressionwood::Nb_level()
{
    return nb_level;
}

void Bddexpressionwood::update_nb_level(long n)
{
    nb_level = static_cast<int>(n);
}

Bddexpression** Bddexpressionwood::Exp_table()
{
    return exp_table;
}

// The array behind exp(k) is rebuilt only after expression_ids changed, so a walk over k is linear.
Bddexpression* Bddexpressionwood::exp(int k)
{
    if (k < 0 || k >= exp_number()) {
        std::cerr << "ERROR in Bddexpressionwood::exp(): " << k << " bad number ..." << std::endl
                  << "possible: " << expression_ids << std::endl;
        return nullptr;
    }
    if (ids_index_stale || ids_index.size() != expression_ids.size()) {
        ids_index.assign(expression_ids.begin(), expression_ids.end());
        ids_index_stale = false;
    }
    long i = ids_index[k];
    return i >= 0 && i < nb_bdd_vars ? exp_table[i] : nullptr;
}

// The slot at i, or null after the message "ERROR" what "`" i "' not found!" when i is not a slot.
static Bddexpression* slot_or_message(const Bddexpressionwood* w, long i, const char* what, const std::string& key)
{
    if (i >= 0 && i < w->nb_bdd_vars) return w->exp_table[i];
    std::cerr << "ERROR in Bddexpressionwood::" << what << key << std::endl;
    return nullptr;
}

Bddexpression* Bddexpressionwood::exp_by_index(long i)
{
    if (i >= 0 && i < nb_bdd_vars) return exp_table[i]; // (the message's text is made only when needed)
    return slot_or_message(this, i, "exp_by_index : id `", std::to_string(i) + "' not found!");
}

Bddexpression* Bddexpressionwood::exp_by_bdd(bdd v)
{
    return slot_or_message(this, manager->Index_var_by_bdd(v), "exp_by_bdd : bdd not found!", "");
}

Bddexpression* Bddexpressionwood::exp_by_bddname(const std::string& s)
{
    long i = manager->Index_var_by_name(s);
    if (i >= 0 && i < nb_bdd_vars) return exp_table[i];
    return slot_or_message(this, i, "exp_by_bddname : `", s + "' not found!");
}

// Position of the first equation called s, -1 when none.
static long first_named(const Bddexpressionwood* w, const std::string& s)
{
    for (long i = 0; i < w->nb_bdd_vars; i++)
        if (w->exp_table[i] != nullptr && w->exp_table[i]->name == s) return i;
    return -1;
}

Bddexpression* Bddexpressionwood::exp_by_name(const std::string& s)
{
    return slot_or_message(this, first_named(this, s), "exp_by_name : `", s + "' not found!");
}

int Bddexpressionwood::Index_exp_by_name(const std::string& s)
{
    long i = first_named(this, s);
    if (i < 0) std::cerr << "ERROR in Bddexpressionwood::Index_exp_by_name : `" << s << "' not found!" << std::endl;
    return static_cast<int>(i);
}

// Name of the equation at i ("" for an empty slot), or "" after "ERROR: in " what " when i is not a slot.
static std::string name_or_message(const Bddexpressionwood* w, long i, const std::string& what)
{
    if (i >= 0 && i < w->nb_bdd_vars) return w->exp_table[i] != nullptr ? w->exp_table[i]->name : "";
    std::cerr << "ERROR: in Bddexpressionwood::" << what << std::endl;
    return "";
}

std::string Bddexpressionwood::Name_exp_by_index(long i)
{
    return name_or_message(this, i, "Name_exp_by_index(): index " + std::to_string(i) + " not found!");
}

std::string Bddexpressionwood::Name_exp_by_bdd(bdd v)
{
    return name_or_message(this, manager->Index_var_by_bdd(v), "Name_exp_by_bdd(): bdd not found!");
}

std::string Bddexpressionwood::Bddname_exp_by_index(long i)
{
    if (i >= 0 && i < nb_bdd_vars) return exp_table[i] != nullptr ? exp_table[i]->my_bddname() : "";
    std::cerr << "ERROR: in Bddexpressionwood::Bddname_exp_by_index(): id " << i << " not found!" << std::endl;
    return "";
}

std::string Bddexpressionwood::Bddname_exp_by_bdd(bdd v)
{
    return manager->Name_var_by_bdd(v);
}

std::set<long> Bddexpressionwood::Set_of_index_used_variables()
{
    std::set<long> used;
    for (long i : expression_ids) {
        Bddexpression* e = i >= 0 && i < nb_bdd_vars ? exp_table[i] : nullptr;
        if (e == nullptr) {
            std::cerr << "internal error in Bddexpressionwood::Set_of_index_used_variables(): expression not found!!!"
                      << "   about id:" << i << std::endl;
            continue;
        }
        for (long x : e->set_of_index_used_variables()) used.insert(x);
    }
    return used;
}

void Bddexpressionwood::append_not_expression(long i)
{
    if (i >= 0 && i < nb_bdd_vars && exp_table[i] != nullptr) exp_table[i]->append_not_exp();
}

void Bddexpressionwood::delete_prefixe_names(const std::string&)
{
    std::cerr << "a faire" << std::endl;
}

void Bddexpressionwood::internal_global_build_dependances()
{
    for (long i = 0; i < nb_bdd_vars; i++) readers[i].clear();
    for (long i = 0; i < nb_bdd_vars; i++) {
        Bddexpression* e = exp_table[i];
        if (e == nullptr) continue;
        e->internal_build_dependances();
        for (long d : e->dependances)
            if (d >= 0 && d < nb_bdd_vars) readers[d].insert(i);
    }
}
