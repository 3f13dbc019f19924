// The equation record: constructors, copies within a forest, comparison, accessors, free-standing setters.
#include "forest/Bddexpression.h"

#include <algorithm>
#include <cstddef>
#include <iostream>
#include <utility>
#include <vector>

#include "utils/slot_pool.h"

// Order position of a non-empty handle in w's manager, -3 for an empty handle.
static long position_in(const Bddexpressionwood* w, const bdd& v)
{
    if (v.manager == nullptr) return -3;
    return w->manager->Bdd_if_index(v);
}

// The forest's late date at the left member's position := late, when that position is a slot.
static void set_forest_late_date(Bddexpression* e, long late)
{
    long p = position_in(e->wood, e->bdd_var);
    if (p >= 0 && p < e->wood->nb_bdd_vars) e->wood->late_dates[p] = late;
}

// Concrete equation var := f registered in w, or a free-standing abstract value without w.
static void make_concrete(Bddexpression* e, const bdd& var, const bdd& f, long late)
{
    if (e->wood == nullptr) return;
    e->abstraction = 0;
    e->bdd_var = var;
    e->bdd_exp = f;
    e->build_normal_dependances();
    e->wood->learn_expression(e);
    set_forest_late_date(e, late);
}

// Abstract equation of the variable of that id, read by R, registered in w.
static void make_abstract(Bddexpression* e, long id, std::set<long>* R, long late)
{
    if (e->wood == nullptr) return;
    e->bdd_var = e->wood->manager->Bdd_var_by_id(id);
    e->name = e->wood->manager->Name_var_by_bdd(e->bdd_var);
    e->wood->learn_abstract_expression(e, R);
    set_forest_late_date(e, late);
}

Bddexpression::Bddexpression()
    : wood(nullptr), abstraction(1), weight(1), early_date(0), user_type(0)
{
}

Bddexpression::Bddexpression(Bddexpressionwood* w)
    : wood(w), abstraction(1), weight(1), early_date(0), user_type(0)
{
}

Bddexpression::Bddexpression(std::string n, Bddexpressionwood* w, bdd var, bdd f, long early, long late)
    : wood(w), name(std::move(n)), abstraction(1), weight(1), early_date(early), user_type(0)
{
    make_concrete(this, var, f, late);
}

Bddexpression::Bddexpression(std::string n, Bddexpressionwood* w, bdd var, bdd f, long early, long late, int t)
    : wood(w), name(std::move(n)), abstraction(1), weight(1), early_date(early), user_type(t)
{
    make_concrete(this, var, f, late);
}

Bddexpression::Bddexpression(Bddexpressionwood* w, bdd var, bdd f, long early, long late)
    : wood(w), abstraction(1), weight(1), early_date(early), user_type(0)
{
    if (w == nullptr) return;
    name = w->manager->Name_var_by_bdd(var);
    make_concrete(this, var, f, late);
}

Bddexpression::Bddexpression(std::string n, Bddexpressionwood* w, bdd var, bdd f, std::string def, long early,
                             long late, int t)
    : wood(w), name(n), abstraction(1), exp_def(def), weight(1), early_date(early), user_type(t)
{
    if (w == nullptr) return;
    if (def.empty()) {
        make_concrete(this, var, f, late);
        return;
    }
    bdd_var = var;
    std::set<long> no_readers;
    w->learn_abstract_expression(this, &no_readers);
    set_forest_late_date(this, late);
}

Bddexpression::Bddexpression(long id, Bddexpressionwood* w, std::set<long>* R, std::set<long>* D, long early,
                             long late)
    : wood(w), abstraction(1), weight(1), early_date(early), user_type(0)
{
    if (D != nullptr) dependances = *D;
    make_abstract(this, id, R, late);
}

Bddexpression::Bddexpression(long id, Bddexpressionwood* w, std::set<long>* R, std::set<long>* D, std::string def,
                             long early, long late)
    : wood(w), abstraction(1), exp_def(def), weight(1), early_date(early), user_type(0)
{
    if (D != nullptr) dependances = *D;
    make_abstract(this, id, R, late);
}

Bddexpression::Bddexpression(long id, Bddexpressionwood* w, std::set<long>& D, std::string def, long early,
                             long late)
    : wood(w), abstraction(1), exp_def(def), weight(1), dependances(D), early_date(early), user_type(0)
{
    make_abstract(this, id, nullptr, late);
}

// Copy within e's forest: the functions are shared, the dependencies rebuilt.
static void copy_within(Bddexpression* c, const Bddexpression& e)
{
    if (c->wood == nullptr) return;
    c->abstraction = e.abstraction;
    c->bdd_var = e.bdd_var;
    if (e.abstraction == 0) c->bdd_exp = e.bdd_exp;
    c->build_normal_dependances();
}

Bddexpression::Bddexpression(const Bddexpression& e)
    : wood(e.wood), name(e.name), abstraction(1), exp_def(e.exp_def), weight(e.weight),
      dependances(e.dependances), early_date(e.early_date), user_type(e.user_type)
{
    copy_within(this, e);
}

Bddexpression::Bddexpression(Bddexpression& e) : Bddexpression(static_cast<const Bddexpression&>(e))
{
}

Bddexpression::~Bddexpression()
{
}

namespace {

// The slots of the equations: a forest holds one equation per defined signal, and a block spares
// each the bytes that malloc keeps beside an allocation, and its time.
struct equation_pool {
    static const std::size_t per_block = 1024;
    slot_pool slots{sizeof(Bddexpression)};
    std::vector<char*> blocks; // every block, so that they stay reachable
};

equation_pool& equations()
{
    static equation_pool* p = new equation_pool(); // lives to the end of the process
    return *p;
}

} // namespace

void* Bddexpression::operator new(std::size_t size)
{
    if (size != sizeof(Bddexpression)) return ::operator new(size);
    equation_pool& p = equations();
    if (void* slot = p.slots.take()) return slot;
    char* block = static_cast<char*>(::operator new(p.per_block * sizeof(Bddexpression)));
    p.blocks.push_back(block);
    p.slots.fill(block, block + p.per_block * sizeof(Bddexpression));
    return p.slots.take();
}

void Bddexpression::operator delete(void* slot, std::size_t size)
{
    if (slot == nullptr) return;
    if (size != sizeof(Bddexpression)) {
        ::operator delete(slot);
        return;
    }
    equations().slots.give(slot);
}

Bddexpression& Bddexpression::operator=(const Bddexpression& e)
{
    name = e.name;
    abstraction = e.abstraction;
    exp_def = e.exp_def;
    weight = e.weight;
    dependances = e.dependances;
    early_date = e.early_date;
    user_type = e.user_type;
    wood = e.wood;
    if (e.wood != nullptr) {
        bdd_var = e.bdd_var;
        bdd_exp = e.abstraction == 0 ? e.bdd_exp : bdd();
    } else {
        bdd_var = bdd();
        bdd_exp = bdd();
    }
    return *this;
}

Bddexpression& Bddexpression::operator=(Bddexpression& e)
{
    return *this = static_cast<const Bddexpression&>(e);
}

bool Bddexpression::operator==(const Bddexpression& e) const
{
    return abstraction == e.abstraction && bdd_var == e.bdd_var && bdd_exp == e.bdd_exp &&
           user_type == e.user_type && weight == e.weight && name == e.name && exp_def == e.exp_def;
}

bool Bddexpression::operator!=(const Bddexpression& e) const
{
    return !(*this == e);
}

int Bddexpression::getUserType()
{
    return user_type;
}

void Bddexpression::setUserType(int t)
{
    user_type = t;
}

long Bddexpression::getW()
{
    return weight;
}

void Bddexpression::setW(long w)
{
    weight = w;
}

void Bddexpression::setAbstraction(int a)
{
    abstraction = a;
}

std::string Bddexpression::getExpDef()
{
    return exp_def;
}

void Bddexpression::setExpDef(std::string def)
{
    exp_def = def;
    if (!def.empty()) abstraction = 1;
}

long Bddexpression::getLateDate() const
{
    if (wood == nullptr) return 0;
    long p = position_in(wood, bdd_var);
    if (p < 0 || p >= wood->nb_bdd_vars) return 0;
    return wood->late_dates[p];
}

void Bddexpression::setLateDate(long late)
{
    if (wood == nullptr) {
        std::cerr << "internal error in Bddexpression::setLateDate(): no wood found!" << std::endl;
        return;
    }
    set_forest_late_date(this, late);
}

std::string Bddexpression::my_bddname()
{
    if (wood == nullptr || bdd_var.manager == nullptr) return "";
    return wood->manager->Name_var_by_bdd(bdd_var);
}

position_set Bddexpression::set_of_index_used_variables()
{
    position_set s = dependances;
    if (wood != nullptr && bdd_var.manager != nullptr) s.insert(wood->manager->Bdd_if_index(bdd_var));
    return s;
}

void Bddexpression::add_specific_var_dependance(long p)
{
    dependances.insert(p);
}

void Bddexpression::internal_build_dependances()
{
    if (wood != nullptr) internal_build_dependances(wood->manager);
}

// What m->set_of_index_depend_on(f) gives, written into s without a tree in between.
static void support_positions(bddpp_manager* m, const bdd& f, position_set& s)
{
    static std::vector<long> positions; // scratch kept from call to call
    m->positions_depend_on(f, positions);
    s.clear();
    s.reserve(positions.size());
    s.insert(positions.begin(), positions.end());
}

void Bddexpression::internal_build_dependances(bddpp_manager* m)
{
    if (abstraction == 0 && m != nullptr) support_positions(m, bdd_exp, dependances);
}

void Bddexpression::build_normal_dependances()
{
    if (wood != nullptr) wood->update_bdd_vars();
    internal_build_dependances();
}

void Bddexpression::setBddexpressionwood(Bddexpressionwood* w)
{
    wood = w;
    if (w != nullptr) w->learn_expression(this);
}

void Bddexpression::setBddVar(bddpp_manager*, bdd var)
{
    if (wood != nullptr) {
        std::cerr << "In Bddexpression::setBddVar(bddpp_manager *, bdd): " << std::endl
                  << "   wood already defined! Aborted  ..." << std::endl;
        return;
    }
    bdd_var = var;
}

void Bddexpression::setBddExp(bddpp_manager* m, bdd f)
{
    if (wood != nullptr) {
        std::cerr << "In Bddexpression::setBddExp(bddpp_manager *, bdd): " << std::endl
                  << "   wood already defined! Aborted  ..." << std::endl
                  << "   use only Bddexpression::setBddExp(bdd) !!!" << std::endl;
        return;
    }
    bdd_exp = f;
    abstraction = 0;
    internal_build_dependances(m);
}

void Bddexpression::append_not_exp()
{
    if (wood == nullptr) {
        std::cerr << "In Bddexpression::append_not_exp(): " << std::endl
                  << "   no wood defined! Aborted  ..." << std::endl;
        return;
    }
    if (bdd_exp.manager != nullptr) bdd_exp = wood->manager->Bdd_not(bdd_exp);
}
