// The automaton: construction from the declarations, lookups, names, initial values and lists.
#include <iostream>

#include "automaton/b_automaton.h"

b_automaton::b_automaton(b_autom_dec* dec, int* init, bdd a, bdd i)
    : state_names(dec->state_names), next_state_names(dec->next_state_names), input_names(dec->input_names),
      output_names(dec->output_names), local_names(dec->local_names), state_count(dec->state_count),
      input_count(dec->input_count), output_count(dec->output_count), local_count(dec->local_count),
      level_count(0), wood(dec->wood), init_values(nullptr), assertion(a), invariant(i)
{
    if (state_count > 0) {
        init_values = new int[state_count];
        for (int k = 0; k < state_count; ++k) init_values[k] = init != nullptr ? init[k] : 2;
    }
    keep_outputs_registers_equations();
}

b_automaton::~b_automaton()
{
    delete[] state_names;
    delete[] next_state_names;
    delete[] input_names;
    delete[] output_names;
    delete[] local_names;
    delete[] init_values;
    // the handles point into the manager that the forest deletes: let go of them first
    assertion = bdd();
    invariant = bdd();
    if (wood != nullptr) {
        wood->shared_manager = 0;
        delete wood;
    }
}

// Position of the equation of the variable that the layout puts at layout and names name; -1
// when the forest has no slot for it. A name repeated across the declaration groups was declared
// once, at its first position, and moved the later variables down: then the variable is found by
// its name. A renamed entry of the name arrays is found at its layout position.
long b_automaton::slot_of(long layout, const std::string& name) const
{
    if (wood == nullptr) return -1;
    const long n = wood->Nb_bdd_vars();
    long p = layout;
    if (p >= n || wood->manager->Name_var_by_index(p) != name) {
        long named = wood->manager->Index_var_by_name(name);
        if (named >= 0) p = named;
    }
    return p >= 0 && p < n ? p : -1;
}

void b_automaton::keep_outputs_registers_equations()
{
    if (wood == nullptr) return;
    Bddexpression** table = wood->Exp_table();
    const long ns = state_count;
    for (int i = 0; i < state_count; ++i) {
        long p = slot_of(ns + i, next_state_names[i]);
        if (p >= 0 && table[p] != nullptr) table[p]->setUserType(1);
    }
    for (int j = 0; j < output_count; ++j) {
        long p = slot_of(2 * ns + input_count + j, output_names[j]);
        if (p >= 0 && table[p] != nullptr) table[p]->setUserType(1);
    }
}

Bddexpressionwood* b_automaton::set_common_bdd_manager(int flag)
{
    if (wood != nullptr) wood->shared_manager = flag;
    return wood;
}

bddpp_manager* b_automaton::manager_associe()
{
    return wood != nullptr ? wood->manager : nullptr;
}

Bddexpressionwood* b_automaton::wood_associee()
{
    return wood;
}

// The lookups below answer as for an undeclared name when there is no forest.

long b_automaton::ident_associe(bdd f)
{
    bddpp_manager* m = manager_associe();
    return m != nullptr ? m->Index_var_by_bdd(f) : -3;
}

long b_automaton::ident_associe(const std::string& name)
{
    bddpp_manager* m = manager_associe();
    return m != nullptr ? m->Index_var_by_name(name) : -1;
}

bdd b_automaton::bdd_ident_associe(const std::string& name)
{
    bddpp_manager* m = manager_associe();
    return m != nullptr ? m->Bdd_var_by_name(name) : bdd();
}

std::string b_automaton::nom_ident_associe(bdd f)
{
    bddpp_manager* m = manager_associe();
    return m != nullptr ? m->Name_var_by_bdd(f) : std::string("?");
}

std::string b_automaton::nom_associe(long p)
{
    if (wood == nullptr || p < 0 || p >= wood->manager->nvars) return "?";
    return wood->manager->Name_var_by_index(p);
}

bdd b_automaton::bdd_exp_ident_associe(const std::string& name)
{
    if (wood == nullptr) return bdd();
    long p = wood->manager->Index_var_by_name(name);
    if (p < 0 || p >= wood->Nb_bdd_vars() || wood->Exp_table()[p] == nullptr) return wood->manager->Bdd_zero();
    return wood->Exp_table()[p]->bdd_exp;
}

int b_automaton::nb_state_vars()
{
    return state_count;
}

int b_automaton::nb_inputs()
{
    return input_count;
}

int b_automaton::nb_outputs()
{
    return output_count;
}

int b_automaton::nb_locals()
{
    return local_count;
}

int b_automaton::nb_equ_def()
{
    return wood != nullptr ? wood->exp_number() : 0;
}

Bddexpression* b_automaton::equ_def(int k)
{
    return wood != nullptr ? wood->exp(k) : nullptr;
}

// Entry i of names, or "?" and the out-of-range line naming the operation.
static std::string name_at(const std::string* names, int count, int i, const char* operation)
{
    if (i < 0 || i >= count) {
        std::cerr << "dans b_automaton::" << operation << "() : indice hors limite !" << std::endl;
        return "?";
    }
    return names[i];
}

std::string b_automaton::nom_state_var(int i)
{
    return name_at(state_names, state_count, i, "nom_state_var");
}

std::string b_automaton::nom_next_state_var(int i)
{
    return name_at(next_state_names, state_count, i, "nom_next_state_var");
}

std::string b_automaton::nom_input(int i)
{
    return name_at(input_names, input_count, i, "nom_input");
}

std::string b_automaton::nom_output(int i)
{
    return name_at(output_names, output_count, i, "nom_output");
}

std::string b_automaton::nom_local(int i)
{
    return name_at(local_names, local_count, i, "nom_local");
}

// names[i] := name, or the out-of-range line naming the operation and no change.
static void rename_at(std::string* names, int count, int i, const std::string& name, const char* operation)
{
    if (i < 0 || i >= count) {
        std::cerr << "dans b_automaton::" << operation << "() : indice hors limite !" << std::endl;
        return;
    }
    names[i] = name;
}

void b_automaton::change_nom_input(int i, const std::string& name)
{
    rename_at(input_names, input_count, i, name, "change_nom_input");
}

void b_automaton::change_nom_output(int i, const std::string& name)
{
    rename_at(output_names, output_count, i, name, "change_nom_output");
}

// Index of the first entry equal to name; -1 when there is none.
static int number_of(const std::string* names, int count, const std::string& name)
{
    if (names == nullptr) return -1;
    for (int i = 0; i < count; ++i)
        if (names[i] == name) return i;
    return -1;
}

int b_automaton::num_input(const std::string& name)
{
    return number_of(input_names, input_count, name);
}

int b_automaton::num_output(const std::string& name)
{
    return number_of(output_names, output_count, name);
}

int b_automaton::num_local(const std::string& name)
{
    return number_of(local_names, local_count, name);
}

void b_automaton::reverse_output(int j)
{
    if (wood == nullptr || j < 0 || j >= output_count) return;
    long p = slot_of(2L * state_count + input_count + j, output_names[j]);
    if (p >= 0) wood->append_not_expression(p);
}

int b_automaton::valeur_initiale_state_var(int i)
{
    if (i < 0 || i >= state_count) {
        std::cerr << "Warning: call of b_automaton::valeur_initiale_state_var() with an id out of range ..."
                  << std::endl;
        return 2;
    }
    return init_values[i];
}

void b_automaton::etat_init(int* vals)
{
    for (int i = 0; i < state_count; ++i) vals[i] = init_values[i];
    const int n = wood != nullptr ? wood->Nb_bdd_vars() : state_count;
    for (int p = state_count; p < n; ++p) vals[p] = 2;
}

bdd b_automaton::bdd_etat_init()
{
    bddpp_manager* m = manager_associe();
    if (m == nullptr) return bdd();
    bdd r = m->Bdd_one();
    for (int i = 0; i < state_count; ++i) {
        bdd x = m->Bdd_var_by_index(i);
        r = m->Bdd_and(r, init_values[i] == 1 ? x : m->Bdd_not(x));
    }
    return r;
}

// A new list of the count first names, in array order.
static std::list<std::string> names_list(const std::string* names, int count)
{
    std::list<std::string> l;
    for (int i = 0; i < count; ++i) l.push_back(names[i]);
    return l;
}

std::list<std::string> b_automaton::state_vars_list()
{
    return names_list(state_names, state_count);
}

std::list<std::string> b_automaton::next_state_vars_list()
{
    return names_list(next_state_names, state_count);
}

std::list<std::string> b_automaton::inputs_list()
{
    return names_list(input_names, input_count);
}

std::list<std::string> b_automaton::outputs_list()
{
    return names_list(output_names, output_count);
}

std::list<std::string> b_automaton::locals_list()
{
    return names_list(local_names, local_count);
}
