// The declarations of an automaton: name arrays, the forest and its manager, the variable layout.
#include <algorithm>
#include <iostream>
#include <utility>
#include <vector>

#include "automaton/b_automaton.h"
#include "utils/list_templates.h"

// New array (delete[] by the caller) of the names in their order; null when there is none.
static std::string* names_array(const std::vector<std::string>& v)
{
    if (v.empty()) return nullptr;
    std::string* a = new std::string[v.size()];
    std::copy(v.begin(), v.end(), a);
    return a;
}

// The same, the names moved out of v.
static std::string* names_array(std::vector<std::string>&& v)
{
    if (v.empty()) return nullptr;
    std::string* a = new std::string[v.size()];
    std::move(v.begin(), v.end(), a);
    return a;
}

template <class Names> static std::string* names_array(const Names& c)
{
    return array_convert(c);
}

// The counts of the five containers, their arrays, then the variables in layout order.
template <class Names>
static void fill_declarations(b_autom_dec& d, const std::list<std::string>& states,
                              const std::list<std::string>& next_states, Names&& inputs, Names&& outputs,
                              Names&& locals, const char* form)
{
    if (states.size() != next_states.size()) {
        std::cerr << "Parameters error in b_autom_dec::b_autom_dec(" << form << ")" << std::endl;
        bdd_exit(1);
    }
    d.state_count = static_cast<int>(states.size());
    d.input_count = static_cast<int>(inputs.size());
    d.output_count = static_cast<int>(outputs.size());
    d.local_count = static_cast<int>(locals.size());
    d.state_names = array_convert(states);
    d.next_state_names = array_convert(next_states);
    d.input_names = names_array(std::forward<Names>(inputs));
    d.output_names = names_array(std::forward<Names>(outputs));
    d.local_names = names_array(std::forward<Names>(locals));
}

b_autom_dec::b_autom_dec(const std::list<std::string>& states, const std::list<std::string>& next_states,
                         const std::list<std::string>& inputs, const std::list<std::string>& outputs,
                         const std::list<std::string>& locals)
{
    fill_declarations(*this, states, next_states, inputs, outputs, locals, "lists");
    declare_all();
}

b_autom_dec::b_autom_dec(const std::list<std::string>& states, const std::list<std::string>& next_states,
                         const std::set<std::string>& inputs, const std::set<std::string>& outputs,
                         const std::set<std::string>& locals)
{
    fill_declarations(*this, states, next_states, inputs, outputs, locals, "sets");
    declare_all();
}

b_autom_dec::b_autom_dec(const std::list<std::string>& states, const std::list<std::string>& next_states,
                         const std::vector<std::string>& inputs, const std::vector<std::string>& outputs,
                         const std::vector<std::string>& locals)
{
    fill_declarations(*this, states, next_states, inputs, outputs, locals, "sets");
    declare_all();
}

b_autom_dec::b_autom_dec(const std::list<std::string>& states, const std::list<std::string>& next_states,
                         std::vector<std::string>&& inputs, std::vector<std::string>&& outputs,
                         std::vector<std::string>&& locals)
{
    fill_declarations(*this, states, next_states, std::move(inputs), std::move(outputs), std::move(locals), "sets");
    declare_all();
}

void b_autom_dec::declare_all()
{
    bddpp_manager* m = new bddpp_manager();
    m->Reserve_variables(2L * state_count + input_count + output_count + local_count);
    wood = new Bddexpressionwood(m);
    const std::string* const arrays[] = {state_names, next_state_names, input_names, output_names, local_names};
    const int counts[] = {state_count, state_count, input_count, output_count, local_count};
    // the variables through the manager, then the forest's tables grown once to their number
    for (int a = 0; a < 5; ++a)
        for (int i = 0; i < counts[a]; ++i) m->New_node_var_last(arrays[a][i]);
    wood->update_bdd_vars();
}

void b_autom_dec::add_ident(const std::string& name)
{
    if (manager_associe()->Index_var_by_name(name) >= 0) return;
    wood->New_var_last(name);
    std::string* names = new std::string[local_count + 1];
    for (int i = 0; i < local_count; ++i) names[i] = local_names[i];
    names[local_count] = name;
    // the old array may be adopted by an automaton built earlier: it stays
    local_names = names;
    ++local_count;
}

bddpp_manager* b_autom_dec::manager_associe()
{
    return wood->manager;
}

Bddexpressionwood* b_autom_dec::wood_associee()
{
    return wood;
}

long b_autom_dec::ident_associe(bdd f)
{
    return manager_associe()->Index_var_by_bdd(f);
}

long b_autom_dec::ident_associe(const std::string& name)
{
    return manager_associe()->Index_var_by_name(name);
}

bdd b_autom_dec::bdd_ident_associe(const std::string& name)
{
    return manager_associe()->Bdd_var_by_name(name);
}

std::string b_autom_dec::nom_ident_associe(bdd f)
{
    return manager_associe()->Name_var_by_bdd(f);
}
