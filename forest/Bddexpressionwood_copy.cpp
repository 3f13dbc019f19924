// Copies across managers: an equation rebuilt in another forest, and the deep copy of a forest.
#include "forest/Bddexpression.h"

// Fields of e rebuilt in w's manager from the source manager src; not registered.
static void copy_across(Bddexpression* c, Bddexpression& e, bddpp_manager* src)
{
    Bddexpressionwood* w = c->wood;
    if (w == nullptr || src == nullptr) return;
    c->abstraction = e.abstraction;
    if (e.bdd_var.manager != nullptr) c->bdd_var = Bdd_isomorphe(w->manager, src, e.bdd_var);
    if (e.abstraction == 0 && e.bdd_exp.manager != nullptr) c->bdd_exp = Bdd_isomorphe(w->manager, src, e.bdd_exp);
    c->build_normal_dependances();
}

Bddexpression::Bddexpression(Bddexpressionwood* w, Bddexpression& e)
    : wood(w), name(e.name), abstraction(1), exp_def(e.exp_def), weight(e.weight), dependances(e.dependances),
      early_date(e.early_date), user_type(e.user_type)
{
    copy_across(this, e, e.wood != nullptr ? e.wood->manager : nullptr);
}

Bddexpression::Bddexpression(Bddexpressionwood* from, Bddexpressionwood* to, Bddexpression& e)
    : wood(to), name(e.name), abstraction(1), exp_def(e.exp_def), weight(e.weight), dependances(e.dependances),
      early_date(e.early_date), user_type(e.user_type)
{
    if (to == nullptr || from == nullptr) return;
    copy_across(this, e, from->manager);
    to->learn_expression(this);
}

// Fills an unset forest with a deep copy of w: the manager is w's when w shares it, else a clone.
void Bddexpressionwood::copy_from(const Bddexpressionwood& w)
{
    nb_level = w.nb_level;
    shared_manager = w.shared_manager;
    expression_ids = w.expression_ids;
    ids_index_stale = true;
    manager = w.shared_manager != 0 ? w.manager : new bddpp_manager(w.manager);
    nb_bdd_vars = static_cast<int>(manager->nvars);
    int length = w.arrays_length;
    while (length < nb_bdd_vars) length *= 2;
    allocate_arrays(length);
    for (long i = 0; i < nb_bdd_vars && i < w.nb_bdd_vars; i++) {
        readers[i] = w.readers[i];
        late_dates[i] = w.late_dates[i];
    }
    for (long i = 0; i < nb_bdd_vars && i < w.nb_bdd_vars; i++)
        if (w.exp_table[i] != nullptr) exp_table[i] = new Bddexpression(this, *w.exp_table[i]);
}

Bddexpressionwood::Bddexpressionwood(Bddexpressionwood* w)
    : shared_manager(0), manager(nullptr), nb_bdd_vars(0), arrays_length(1), exp_table(nullptr), readers(nullptr),
      late_dates(nullptr), nb_level(0), ids_index_stale(true), dating_budget(-1)
{
    copy_from(*w);
}

Bddexpressionwood::Bddexpressionwood(const Bddexpressionwood& w) : Bddexpressionwood(const_cast<Bddexpressionwood*>(&w))
{
}

Bddexpressionwood::Bddexpressionwood(Bddexpressionwood& w) : Bddexpressionwood(&w)
{
}

Bddexpressionwood& Bddexpressionwood::operator=(const Bddexpressionwood& w)
{
    if (&w == this) return *this;
    bddpp_manager* old_manager = manager;
    int old_shared = shared_manager;
    int old_count = nb_bdd_vars;
    Bddexpression** old_table = exp_table;
    position_set* old_readers = readers;
    long* old_late = late_dates;
    copy_from(w);
    delete[] old_readers;
    delete[] old_late;
    for (int i = 0; i < old_count; i++) delete old_table[i];
    delete[] old_table;
    if (old_shared == 0 && old_manager != manager) delete old_manager;
    return *this;
}

Bddexpressionwood& Bddexpressionwood::operator=(Bddexpressionwood& w)
{
    return *this = static_cast<const Bddexpressionwood&>(w);
}
