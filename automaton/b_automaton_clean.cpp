// Reshaping of the equations: forgetting what no output needs, listing the undefined variables,
// breaking combinational cycles on the inputs, quantifying the inputs away.
#include <iostream>
#include <vector>

#include "automaton/b_automaton.h"

namespace {

// Marks the positions that the equations of the pending positions use, and those that their
// equations use in turn; next_state[p] >= 0 is one more position that a marked p needs.
bool mark_used(Bddexpressionwood* wood, int* marks, std::vector<long>& pending, const std::vector<long>& next_state)
{
    const long n = wood->Nb_bdd_vars();
    bool marked = false;
    while (!pending.empty()) {
        long p = pending.back();
        pending.pop_back();
        auto mark = [&](long q) {
            if (q < 0 || q >= n || marks[q] != 0) return;
            marks[q] = 1;
            marked = true;
            pending.push_back(q);
        };
        if (!next_state.empty()) mark(next_state[p]);
        Bddexpression* e = wood->exp_table[p];
        if (e == nullptr) continue;
        for (long q : e->set_of_index_used_variables()) mark(q);
    }
    return marked;
}

// The positions of the named variables that the forest knows.
std::vector<long> positions_of(bddpp_manager* m, const std::string* names, int count)
{
    std::vector<long> positions;
    for (int i = 0; i < count && names != nullptr; ++i) positions.push_back(m->Index_var_by_name(names[i]));
    return positions;
}

} // namespace

int internal_use_detection(Bddexpressionwood* wood, int* marks, int p)
{
    if (wood == nullptr || p < 0 || p >= wood->Nb_bdd_vars() || wood->exp_table[p] == nullptr) return 0;
    std::vector<long> pending{p};
    return mark_used(wood, marks, pending, std::vector<long>()) ? 1 : 0;
}

int* b_automaton::useless_clean()
{
    std::cerr << "b_automaton::useless_clean() A CONTROLER ..." << std::endl;
    const long n = wood == nullptr ? 0 : wood->Nb_bdd_vars();
    if (n == 0) return nullptr;
    int* marks = new int[n]();
    bddpp_manager* m = wood->manager;
    for (int k = 0; k < output_count; ++k) {
        std::cerr << k << std::endl;
        long p = m->Index_var_by_name(output_names[k]);
        if (p < 0 || p >= n) continue;
        marks[p] = 1;
        internal_use_detection(wood, marks, static_cast<int>(p));
    }
    // A needed register needs its next-state equation: without it the register would lose its
    // transition. One worklist over the marked positions reaches the fixpoint of the passes.
    std::vector<long> next_state(n, -1);
    std::vector<long> registers = positions_of(m, state_names, state_count);
    std::vector<long> nexts = positions_of(m, next_state_names, state_count);
    for (int i = 0; i < state_count; ++i)
        if (registers[i] >= 0 && registers[i] < n) next_state[registers[i]] = nexts[i];
    std::vector<long> pending;
    for (long j = 0; j < n; ++j)
        if (marks[j] == 1) pending.push_back(j);
    mark_used(wood, marks, pending, next_state);
    std::vector<char> latch(n, 0);
    for (long p : nexts)
        if (p >= 0 && p < n) latch[p] = 1;
    long variables = 0, latches = 0;
    std::cout << "useless_clean report:" << std::endl;
    for (long i = 0; i < n; ++i) {
        if (marks[i] != 0) continue;
        std::cout << " variable: " << m->Name_var_by_index(i) << std::endl;
        wood->absolute_forget_expression_by_bddid(i);
        std::cerr << "en particulier ici ..." << std::endl;
        if (latch[i])
            latches++;
        else
            variables++;
    }
    std::cout << std::endl
              << variables << " useless variables identified ... cancelling" << std::endl
              << latches << " useless latches identified ... cancelling" << std::endl;
    return marks;
}

std::list<std::string> b_automaton::identify_undef_variables()
{
    std::list<std::string> undefined;
    if (wood == nullptr) return undefined;
    bddpp_manager* m = wood->manager;
    const long n = wood->Nb_bdd_vars();
    // registers and inputs have no equation by construction; every other variable should
    std::vector<char> free(n, 0);
    for (long p : positions_of(m, state_names, state_count))
        if (p >= 0 && p < n) free[p] = 1;
    for (long p : positions_of(m, input_names, input_count))
        if (p >= 0 && p < n) free[p] = 1;
    for (long p = 0; p < n; ++p)
        if (!free[p] && wood->exp_table[p] == nullptr) undefined.push_back(m->Name_var_by_index(p));
    return undefined;
}

int b_automaton::make_sortable(int verbose, int dump, std::fstream& f)
{
    if (verbose != 0) std::cout << "call make_sortable process " << std::endl;
    if (wood == nullptr) return 1;
    bddpp_manager* m = wood->manager;
    std::set<long> allowed;
    for (long p : positions_of(m, input_names, input_count))
        if (p >= 0) allowed.insert(p);
    clear_dates();
    wood->update_nb_level(0);
    // The breaking expands the equations that its detection lists, those dated past the bound;
    // the dating stops at the bound, so a second cycle can be missed until its select has been
    // used up on the first one. The breaking is then run again with every input allowed, as long
    // as it makes progress and at most once more per input.
    int ok = 0;
    std::set<long> created = wood->loop_breaking(allowed, ok);
    for (int round = 0; ok == 0 && round < input_count; ++round) {
        std::set<long> more = wood->loop_breaking(allowed, ok);
        if (more.empty()) break;
        created.insert(more.begin(), more.end());
    }
    const std::size_t total = local_count + created.size();
    std::string* names = total == 0 ? nullptr : new std::string[total];
    for (int k = 0; k < local_count; ++k) names[k] = local_names[k];
    int count = local_count;
    for (long p : created) names[count++] = m->Name_var_by_index(p);
    delete[] local_names;
    local_names = names;
    local_count = count;
    if (verbose != 0) std::cout << "   terminated ..." << std::endl;
    if (dump != 0) f << "sorted and expanded wood:" << std::endl << *wood << std::endl;
    return ok;
}

// Each input in turn; the keep list holds the user type of the next-state and output equations,
// which must not be deleted when they become constant.
static void forget_inputs(b_automaton* a, int forall)
{
    if (a->wood == nullptr || a->input_count == 0) return;
    std::vector<long> positions;
    for (int i = 0; i < a->input_count; ++i) positions.push_back(a->slot_of(2L * a->state_count + i, a->input_names[i]));
    a->wood->reduce_expressions_when_vars_forgotten(positions, forall, std::list<int>{1});
}

void b_automaton::forget_exist_inputs()
{
    forget_inputs(this, 0);
}

void b_automaton::forget_forall_inputs()
{
    forget_inputs(this, 1);
}
