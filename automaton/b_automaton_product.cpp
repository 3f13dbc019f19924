// The synchronous product of automata, the composition by names and the equivalence observer.
#include <iostream>
#include <map>
#include <unordered_map>

#include "automaton/b_automaton.h"
#include "utils/list_templates.h"

namespace {

// The five groups of a product's variables, in layout order.
enum product_group { group_register, group_next_state, group_input, group_output, group_local, group_count };

// A product variable before the positions are known: its group and its index in the group.
struct product_entry {
    int group;  // one of the product_group values; -1: none
    int index;  // index in the group's names
    bool given; // the component gives it no equation: a register or an input (wired or not)
};

const product_entry no_entry = {-1, -1, false};

// The names of the product and, for every component variable, the product variable that stands
// for it, gathered before the manager is made.
struct product_plan {
    std::vector<std::string> names[group_count];         // names of each group, in layout order
    std::vector<bool> repeated[group_count];             // per name: it repeats the name of the
                                                         // variable it stands for, declared before
    std::vector<std::vector<product_entry>> owners;      // per component and component position
    std::vector<std::pair<product_entry, product_entry>> copies; // defined := source, for names that
                                                                 // one component gives to one variable twice
    std::vector<b_automaton*> parts;                     // the components

    // Position of the component variable named name; -1 when there is none.
    long component_position(int j, const std::string& name) const
    {
        Bddexpressionwood* w = parts[j]->wood;
        if (w == nullptr) return -1;
        long p = w->manager->Index_var_by_name(name);
        return p >= 0 && p < static_cast<long>(owners[j].size()) ? p : -1;
    }

    const std::string& name_of(product_entry e) const { return names[e.group][e.index]; }

    // The product variable e stands for the component variable p of component j. A component that
    // declares one variable under two names (a register that is also an output, a register fed
    // directly by an input) gives the product one variable per name, the second one a copy of the
    // one whose value is given. Returns the entry that stands for the component variable.
    product_entry tie(int j, long p, product_entry e)
    {
        if (p < 0) return e;
        product_entry& owner = owners[j][p];
        if (owner.group < 0) {
            owner = e;
        } else if (e.given && !owner.given) {
            copies.push_back({owner, e});
            owner = e;
        } else {
            copies.push_back({e, owner});
        }
        return owner;
    }

    // A new product variable named name in group for the component variable p of component j (p
    // may be -1), returned. A name equal to the product name of the variable that p already stands
    // for (a register fed directly by a register of its component) is declared once, as the
    // component declared it: the name is listed and stands for the same variable.
    product_entry add(int j, long p, int group, const std::string& name, bool given)
    {
        bool repeat = p >= 0 && owners[j][p].group >= 0 && name_of(owners[j][p]) == name;
        product_entry e = {group, static_cast<int>(names[group].size()), given};
        names[group].push_back(name);
        repeated[group].push_back(repeat);
        if (repeat) return owners[j][p];
        tie(j, p, e);
        return e;
    }
};

// The connector that drives input k of component j (input true) or that output k of component j
// drives (input false); null when there is none.
const b_automaton_connector* wire_of(int count, const b_automaton_connector* wires, int j, int k, bool input)
{
    for (int c = 0; c < count; ++c) {
        const b_automaton_connector& w = wires[c];
        if (input ? (w.to_automaton == j && w.to_input == k) : (w.from_automaton == j && w.from_output == k))
            return &w;
    }
    return nullptr;
}

// A new array of the names; null when there is none.
std::string* names_array(const std::vector<std::string>& names)
{
    if (names.empty()) return nullptr;
    std::string* a = new std::string[names.size()];
    for (std::size_t k = 0; k < names.size(); ++k) a[k] = names[k];
    return a;
}

// The position of an entry in the product's manager, once every name is declared.
long entry_position(const product_plan& plan, bddpp_manager* m, product_entry e)
{
    return e.group < 0 ? -1 : m->Index_var_by_name(plan.name_of(e));
}

// var := f in the forest, or var := old OR f when var already has an equation (an output shared
// by two components). The equation is found by its variable's position.
void define_or(Bddexpressionwood* w, const bdd& var, const bdd& f)
{
    long p = w->manager->Bdd_if_index(var);
    Bddexpression* e = p >= 0 && p < w->Nb_bdd_vars() ? w->Exp_table()[p] : nullptr;
    if (e != nullptr)
        e->setBddExp(w->manager->Bdd_or(e->bdd_exp, f), 0, 0);
    else
        new Bddexpression(w, var, f, 0, 0);
}

// The conjunction of the rebuilt functions that are not empty; empty when all are.
bdd conjunction_of(bddpp_manager* m, bdd acc, const bdd& rebuilt)
{
    if (rebuilt.manager == nullptr) return acc;
    return acc.manager == nullptr ? rebuilt : m->Bdd_and(acc, rebuilt);
}

} // namespace

// One connector names a component, an input or an output that does not exist: the line and false.
static bool wires_valid(int n, b_automaton** parts, int count, const b_automaton_connector* wires)
{
    for (int c = 0; c < count; ++c) {
        const b_automaton_connector& w = wires[c];
        bool valid = w.from_automaton >= 0 && w.from_automaton < n && w.to_automaton >= 0 && w.to_automaton < n &&
                     parts[w.from_automaton] != nullptr && parts[w.to_automaton] != nullptr &&
                     w.from_output >= 0 && w.from_output < parts[w.from_automaton]->output_count &&
                     w.to_input >= 0 && w.to_input < parts[w.to_automaton]->input_count;
        if (!valid) {
            std::cerr << "ERROR in b_automaton::b_automaton(product): connector " << w.from_automaton << ":"
                      << w.from_output << " --> " << w.to_automaton << ":" << w.to_input
                      << " names no output or input; no product built" << std::endl;
            return false;
        }
    }
    return true;
}

// A name given to two variables of the product would declare one variable for both and move every
// later position: each such name gets a line, and the answer is false.
static bool names_distinct(const product_plan& plan)
{
    std::set<std::string> seen;
    bool distinct = true;
    for (int g = 0; g < group_count; ++g)
        for (std::size_t k = 0; k < plan.names[g].size(); ++k)
            if (!plan.repeated[g][k] && !seen.insert(plan.names[g][k]).second) {
                const std::string& name = plan.names[g][k];
                std::cerr << "ERROR in b_automaton::b_automaton(product): two variables of the product are named `"
                          << name << "'; no product built" << std::endl;
                distinct = false;
            }
    return distinct;
}

b_automaton::b_automaton(int n, b_automaton** parts, std::string* instances, int count,
                         b_automaton_connector* wires)
    : state_names(nullptr), next_state_names(nullptr), input_names(nullptr), output_names(nullptr),
      local_names(nullptr), state_count(0), input_count(0), output_count(0), local_count(0), level_count(0),
      wood(nullptr), init_values(nullptr)
{
    // an empty product (no forest, every count 0) stands for a product that cannot be built
    for (int j = 0; j < n; ++j)
        if (parts[j] == nullptr) {
            std::cerr << "ERROR in b_automaton::b_automaton(product): component " << j
                      << " is missing; no product built" << std::endl;
            return;
        }
    if (count > 0 && !wires_valid(n, parts, count, wires)) return;

    product_plan plan;
    plan.parts.assign(parts, parts + n);
    for (int j = 0; j < n; ++j)
        plan.owners.push_back(
            std::vector<product_entry>(parts[j]->wood != nullptr ? parts[j]->wood->Nb_bdd_vars() : 0, no_entry));

    // registers and next-state variables, renamed by instance
    for (int j = 0; j < n; ++j) {
        b_automaton* a = parts[j];
        for (int i = 0; i < a->state_count; ++i) {
            const std::string& r = a->state_names[i];
            const std::string& x = a->next_state_names[i];
            plan.add(j, plan.component_position(j, r), group_register, instances[j] + "_" + r, true);
            plan.add(j, plan.component_position(j, x), group_next_state, instances[j] + "_" + x, false);
        }
    }
    // inputs by name, shared; a wired input becomes a local of its instance
    std::map<std::string, product_entry> shared;
    for (int j = 0; j < n; ++j)
        for (int k = 0; k < parts[j]->input_count; ++k) {
            const std::string& name = parts[j]->input_names[k];
            long p = plan.component_position(j, name);
            if (wire_of(count, wires, j, k, true) != nullptr)
                plan.add(j, p, group_local, instances[j] + "_" + name, true);
            else if (shared.count(name) == 0)
                shared[name] = plan.add(j, p, group_input, name, true);
            else
                plan.tie(j, p, shared[name]);
        }
    // outputs likewise; the wired ones follow the wired inputs among the locals
    shared.clear();
    for (int j = 0; j < n; ++j)
        for (int k = 0; k < parts[j]->output_count; ++k) {
            const std::string& name = parts[j]->output_names[k];
            long p = plan.component_position(j, name);
            if (wire_of(count, wires, j, k, false) != nullptr)
                plan.add(j, p, group_local, instances[j] + "_" + name, false);
            else if (shared.count(name) == 0)
                shared[name] = plan.add(j, p, group_output, name, false);
            else
                plan.tie(j, p, shared[name]);
        }
    // the locals of every component, then any variable of a component that no name array lists
    for (int j = 0; j < n; ++j)
        for (int m = 0; m < parts[j]->local_count; ++m) {
            const std::string& name = parts[j]->local_names[m];
            plan.add(j, plan.component_position(j, name), group_local, instances[j] + "_" + name, false);
        }
    for (int j = 0; j < n; ++j)
        for (long p = 0; p < static_cast<long>(plan.owners[j].size()); ++p)
            if (plan.owners[j][p].group < 0)
                plan.add(j, p, group_local, instances[j] + "_" + parts[j]->wood->manager->Name_var_by_index(p), false);
    if (!names_distinct(plan)) return;

    // the manager and the variables in layout order; a repeated name declares nothing
    wood = new Bddexpressionwood(new bddpp_manager());
    for (int g = 0; g < group_count; ++g)
        for (const std::string& name : plan.names[g]) wood->New_var_last(name);
    state_count = static_cast<int>(plan.names[group_register].size());
    input_count = static_cast<int>(plan.names[group_input].size());
    output_count = static_cast<int>(plan.names[group_output].size());
    local_count = static_cast<int>(plan.names[group_local].size());
    state_names = names_array(plan.names[group_register]);
    next_state_names = names_array(plan.names[group_next_state]);
    input_names = names_array(plan.names[group_input]);
    output_names = names_array(plan.names[group_output]);
    local_names = names_array(plan.names[group_local]);

    // initial values of the registers in order; every other variable undetermined
    init_values = new int[wood->Nb_bdd_vars() > 0 ? wood->Nb_bdd_vars() : 1];
    for (int p = 0; p < wood->Nb_bdd_vars(); ++p) init_values[p] = 2;
    int k = 0;
    for (int j = 0; j < n; ++j)
        for (int i = 0; i < parts[j]->state_count; ++i) init_values[k++] = parts[j]->valeur_initiale_state_var(i);

    // the position maps, then the equations of every component rebuilt in the new manager
    bddpp_manager* m = wood->manager;
    std::vector<std::vector<int>> maps(n);
    for (int j = 0; j < n; ++j)
        for (const product_entry& e : plan.owners[j]) maps[j].push_back(static_cast<int>(entry_position(plan, m, e)));
    for (int j = 0; j < n; ++j) {
        b_automaton* a = parts[j];
        for (int i = 0; i < a->nb_equ_def(); ++i) {
            Bddexpression* e = a->equ_def(i);
            if (e == nullptr || e->abstraction != 0 || e->bdd_var.manager == nullptr || e->bdd_exp.manager == nullptr)
                continue;
            bdd left = a->bdd_isomorphe(m, e->bdd_var, maps[j].data());
            bdd right = a->bdd_isomorphe(m, e->bdd_exp, maps[j].data());
            if (left.manager != nullptr && right.manager != nullptr) define_or(wood, left, right);
        }
    }
    for (const std::pair<product_entry, product_entry>& c : plan.copies)
        define_or(wood, m->Bdd_var_by_index(entry_position(plan, m, c.first)),
                  m->Bdd_var_by_index(entry_position(plan, m, c.second)));
    // the wires: each driven input's local reads the output that drives it
    for (int c = 0; c < count; ++c) {
        const b_automaton_connector& w = wires[c];
        long in = plan.component_position(w.to_automaton, parts[w.to_automaton]->input_names[w.to_input]);
        long out = plan.component_position(w.from_automaton, parts[w.from_automaton]->output_names[w.from_output]);
        if (in < 0 || out < 0) continue;
        define_or(wood, m->Bdd_var_by_index(maps[w.to_automaton][in]),
                  m->Bdd_var_by_index(maps[w.from_automaton][out]));
    }
    // assertion and invariant: the conjunction of the components' own, empty when none has one
    for (int j = 0; j < n; ++j) {
        b_automaton* a = parts[j];
        if (a->assertion.manager != nullptr)
            assertion = conjunction_of(m, assertion, a->bdd_isomorphe(m, a->assertion, maps[j].data()));
        if (a->invariant.manager != nullptr)
            invariant = conjunction_of(m, invariant, a->bdd_isomorphe(m, a->invariant, maps[j].data()));
    }
    keep_outputs_registers_equations();
}

namespace {

// The rebuilding of one function into another manager, each node once.
struct isomorphe_rebuild {
    bddpp_manager* source;                              // manager of the function
    bddpp_manager* target;                              // manager of the result
    const int* map;                                     // target position of each source position
    std::unordered_map<const bdd_node*, bdd> done;     // function of each node met, as a node with link 1
    bool failed;                                        // a position without target was met

    // The node's own function (link 1) in the target.
    bdd node(bdd_node* n)
    {
        // terminal case
        if (n == source->Bdd_node_one()) return target->Bdd_one();
        // table lookup: a node reached along several paths is rebuilt once
        std::unordered_map<const bdd_node*, bdd>::const_iterator known = done.find(n);
        if (known != done.end()) return known->second;
        long p = source->Position_of(n);
        int q = p >= 0 ? map[p] : -1;
        if (q < 0 || q >= target->nvars) {
            if (!failed)
                std::cerr << "ERROR in b_automaton::bdd_isomorphe(): no target variable for `"
                          << source->Name_var_by_index(p) << "'" << std::endl;
            failed = true;
            return target->Bdd_zero();
        }
        // cofactors, recursion
        bdd t = node(n->then_node);
        bdd e = node(n->else_node);
        if (n->else_link == -1) e = target->Bdd_not(e);
        // new function: (NOT x AND E) OR (x AND T), in any order of the target
        bdd x = target->Bdd_var_by_index(q);
        bdd r = target->Bdd_or(target->Bdd_and(target->Bdd_not(x), e), target->Bdd_and(x, t));
        done.emplace(n, r);
        return r;
    }
};

} // namespace

bdd b_automaton::bdd_isomorphe(bddpp_manager* target, bdd f, int* map)
{
    if (f.manager == nullptr || f.node_ptr == nullptr) return bdd();
    if (target == nullptr) return bdd();
    if (f.manager->Bdd_is_tautology(f, 0)) return target->Bdd_zero();
    if (f.manager->Bdd_is_tautology(f, 1)) return target->Bdd_one();
    isomorphe_rebuild rebuild = {f.manager, target, map, {}, false};
    bdd r = rebuild.node(f.node_ptr);
    if (rebuild.failed) return bdd();
    return f.link == -1 ? target->Bdd_not(r) : r;
}

// An empty product (one that could not be built) is deleted and null returned.
static b_automaton* built_or_null(b_automaton* product)
{
    if (product->wood != nullptr) return product;
    delete product;
    return nullptr;
}

b_automaton* merge(b_automaton* a, b_automaton* b)
{
    if (a == nullptr || b == nullptr) return nullptr;
    std::list<std::string> outputs_a = a->outputs_list(), outputs_b = b->outputs_list();
    std::vector<b_automaton_connector> wires;
    for (int k = 0; k < a->input_count; ++k) {
        int w = item_where(outputs_b, a->input_names[k]);
        if (w != 0) wires.push_back(b_automaton_connector(1, w - 1, 0, k));
    }
    for (int k = 0; k < b->input_count; ++k) {
        int w = item_where(outputs_a, b->input_names[k]);
        if (w != 0) wires.push_back(b_automaton_connector(0, w - 1, 1, k));
    }
    b_automaton* parts[] = {a, b};
    std::string instances[] = {"inst0", "inst1"};
    return built_or_null(new b_automaton(2, parts, instances, static_cast<int>(wires.size()),
                                         wires.empty() ? nullptr : wires.data()));
}

b_automaton* equiv_observer(std::list<std::string>& outputs1, std::list<std::string>& outputs2, int* count,
                            b_automaton_connector** connectors)
{
    *count = 0;
    b_automaton_connector* wires = new b_automaton_connector[outputs1.size() + outputs2.size()];
    *connectors = wires;
    int c = 0;
    std::list<std::string> compared, inputs;
    int n = 0;
    for (std::list<std::string>::const_iterator o = outputs1.begin(); o != outputs1.end(); ++o, ++n) {
        int w = item_where(outputs2, *o);
        if (w == 0) continue;
        compared.push_back(*o);
        inputs.push_back("equiv_observer_autom1_" + *o);
        inputs.push_back("equiv_observer_autom2_" + *o);
        wires[c] = b_automaton_connector(0, n, 2, c);
        wires[c + 1] = b_automaton_connector(1, w - 1, 2, c + 1);
        c += 2;
    }
    *count = c;
    const std::list<std::string> none, outputs(1, "equiv");
    b_autom_dec* dec = new b_autom_dec(none, none, inputs, outputs, none);
    bddpp_manager* m = dec->manager_associe();
    bdd e = m->Bdd_one();
    for (const std::string& o : compared)
        e = m->Bdd_and(e, m->Bdd_eq(m->Bdd_var_by_name("equiv_observer_autom1_" + o),
                                    m->Bdd_var_by_name("equiv_observer_autom2_" + o)));
    new Bddexpression("equiv", dec->wood, m->Bdd_var_by_index(c), e, 0, 0, 1);
    b_automaton* observer = new b_automaton(dec, nullptr, m->Bdd_zero(), m->Bdd_zero());
    delete dec; // the automaton adopted its arrays and its forest
    return observer;
}

b_automaton* observateur_equivalence(b_automaton* a, b_automaton* b)
{
    if (a == nullptr || b == nullptr) return nullptr;
    std::list<std::string> outputs_a = a->outputs_list(), outputs_b = b->outputs_list();
    int count = 0;
    b_automaton_connector* wires = nullptr;
    b_automaton* observer = equiv_observer(outputs_a, outputs_b, &count, &wires);
    b_automaton* parts[] = {a, b, observer};
    std::string instances[] = {"autom1", "autom2", "observer"};
    b_automaton* product = new b_automaton(3, parts, instances, observer->input_count, wires);
    delete observer;
    delete[] wires;
    return built_or_null(product);
}
