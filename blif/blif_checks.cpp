// The checks of a circuit once it is read: every signal read is defined, every output driven, and
// the combinational cycles named.
#include <algorithm>
#include <iostream>
#include <vector>

#include "blif/blif_parser.h"

namespace {

// By position: 1 when the variable has a value in every cycle: an input, a register or a signal
// with an equation.
std::vector<char> defined_positions(b_automaton* a)
{
    Bddexpressionwood* w = a->wood;
    const long n = w->Nb_bdd_vars();
    std::vector<char> defined(size_t(n), 0);
    Bddexpression** table = w->Exp_table();
    for (long p = 0; p < n; ++p)
        if (p < a->state_count || table[p] != nullptr) defined[size_t(p)] = 1;
    for (int i = 0; i < a->input_count; ++i) {
        long p = w->manager->Index_var_by_name(a->input_names[i]);
        if (p >= 0 && p < n) defined[size_t(p)] = 1;
    }
    return defined;
}

} // namespace

int blif_check_signals(b_automaton* a)
{
    Bddexpressionwood* w = a->wood;
    if (w == nullptr) return 0;
    bddpp_manager* m = w->manager;
    Bddexpression** table = w->Exp_table();
    const long n = w->Nb_bdd_vars();
    const std::vector<char> defined = defined_positions(a);
    // -1, the position of a name that is not declared, counts as defined
    auto defined_at = [&defined, n](long p) { return p < 0 || p >= n || defined[size_t(p)] != 0; };
    for (long p = 0; p < n; ++p) {
        if (table[p] == nullptr) continue;
        for (long d : table[p]->dependances)
            if (d >= 0 && d < n && !defined_at(d)) {
                std::cerr << "PARSING ERROR: signal " << m->Name_var_by_index(d) << " is read by the .names block of "
                          << m->Name_var_by_index(p) << " but never defined !" << std::endl;
                return 1;
            }
    }
    for (int i = 0; i < a->state_count; ++i)
        if (!defined_at(m->Index_var_by_name(a->next_state_names[i]))) {
            std::cerr << "PARSING ERROR: signal " << a->next_state_names[i] << " is read by the .latch line of register "
                      << a->state_names[i] << " but never defined !" << std::endl;
            return 1;
        }
    for (int k = 0; k < a->output_count; ++k)
        if (!defined_at(m->Index_var_by_name(a->output_names[k]))) {
            std::cerr << "PARSING ERROR: output " << a->output_names[k] << " is driven by nothing !" << std::endl;
            return 1;
        }
    return 0;
}

int blif_report_cycles(b_automaton* a, const std::list<long>& caught)
{
    if (caught.empty() || a->wood == nullptr) return 0;
    // The strongly connected components of the equations (Tarjan's algorithm on an explicit
    // stack): a component of several equations, or of one that reads itself, is a cycle.
    Bddexpressionwood* w = a->wood;
    const long n = w->Nb_bdd_vars();
    Bddexpression** table = w->Exp_table();
    std::vector<long> index(size_t(n), -1), low(size_t(n), 0);
    std::vector<char> on_stack(size_t(n), 0);
    std::vector<long> stack;
    std::vector<std::vector<std::string>> cycles;
    long counter = 0;
    struct frame {
        long p;                          // the equation
        position_set::const_iterator next; // its next dependency to visit
    };
    for (long root = 0; root < n; ++root) {
        if (table[root] == nullptr || index[size_t(root)] >= 0) continue;
        std::vector<frame> calls;
        auto enter = [&](long p) {
            index[size_t(p)] = low[size_t(p)] = counter++;
            stack.push_back(p);
            on_stack[size_t(p)] = 1;
            calls.push_back({p, table[p]->dependances.begin()});
        };
        enter(root);
        while (!calls.empty()) {
            frame& f = calls.back();
            if (f.next != table[f.p]->dependances.end()) {
                long d = *f.next++;
                if (d < 0 || d >= n || table[d] == nullptr) continue;
                if (index[size_t(d)] < 0) enter(d);
                else if (on_stack[size_t(d)]) low[size_t(f.p)] = std::min(low[size_t(f.p)], index[size_t(d)]);
                continue;
            }
            const long p = f.p;
            calls.pop_back();
            if (!calls.empty()) low[size_t(calls.back().p)] = std::min(low[size_t(calls.back().p)], low[size_t(p)]);
            if (low[size_t(p)] != index[size_t(p)]) continue;
            std::vector<std::string> component;
            long q;
            do {
                q = stack.back();
                stack.pop_back();
                on_stack[size_t(q)] = 0;
                component.push_back(w->manager->Name_var_by_index(q));
            } while (q != p);
            if (component.size() > 1 || table[p]->dependances.count(p) > 0) {
                std::sort(component.begin(), component.end());
                cycles.push_back(component);
            }
        }
    }
    std::sort(cycles.begin(), cycles.end());
    for (const std::vector<std::string>& c : cycles)
        std::cerr << "ERROR: combinational cycle through the signals " << b_automaton::join_names(c) << " !"
                  << std::endl;
    return cycles.empty() ? 0 : 1;
}
