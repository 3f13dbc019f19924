// Execution of the automaton: the three-valued step, the symbolic successor, the successor
// classes and the input sensitivity searches.
#include <deque>
#include <iostream>
#include <memory>
#include <sstream>

#include "automaton/b_automaton.h"

namespace {

// The text and a newline on the standard error stream, as the dialogs write it without a display.
void report_on_stderr(const std::string& text)
{
    std::cerr << text << std::endl;
}

// Sums of products of the step's report.
std::string report_sop(bddpp_manager* m, const bdd& f)
{
    return m->Print_sop_to_String_pref_suff("+", ".", "!", "", f, "", "", 1);
}

// Sums of products of the sensitivity traces.
void trace_sop(bddpp_manager* m, const bdd& f)
{
    m->Print_sop("+", ".", "!", "", std::cerr, f, 2);
}

const std::list<int> keep_kept = {1}; // the next-state and output equations survive the reductions

// A working copy of the automaton's forest over the automaton's own manager; the shared-manager
// flag is restored, and the copy deleted (leaving the manager alone), when the holder goes.
class working_copy {
public:
    explicit working_copy(Bddexpressionwood* w) : wood(w), saved(w->shared_manager)
    {
        w->shared_manager = 1;
        copies.emplace_back(new Bddexpressionwood(w));
    }
    ~working_copy() { wood->shared_manager = saved; }
    Bddexpressionwood* first() { return copies.front().get(); }
    // A further copy of c, sharing the manager, that lives as long as the holder.
    Bddexpressionwood* copy_of(Bddexpressionwood* c)
    {
        copies.emplace_back(new Bddexpressionwood(c));
        return copies.back().get();
    }
    // Deletes c now (the copies no longer needed in a long search).
    void drop(Bddexpressionwood* c)
    {
        for (std::list<std::unique_ptr<Bddexpressionwood>>::iterator i = copies.begin(); i != copies.end(); ++i)
            if (i->get() == c) {
                copies.erase(i);
                return;
            }
    }

private:
    Bddexpressionwood* wood;                               // the automaton's forest
    int saved;                                             // its flag before the copy
    std::list<std::unique_ptr<Bddexpressionwood>> copies;  // every copy made; each shares the manager
};

// The right member of the equation of the named variable in w; empty when it has none.
bdd right_member(Bddexpressionwood* w, const std::string& name)
{
    long p = w->manager->Index_var_by_name(name);
    if (p < 0 || p >= w->Nb_bdd_vars() || w->Exp_table()[p] == nullptr) return bdd();
    return w->Exp_table()[p]->bdd_exp;
}

// The cube f split into its literals, in ascending order position.
std::vector<bdd> literals_of(bddpp_manager* m, const bdd& f)
{
    std::vector<bdd> literals;
    bdd g = f;
    while (!m->Bdd_is_tautology(g)) {
        bdd x = m->Bdd_if(g);
        bdd t = m->Bdd_then(g);
        if (m->Bdd_is_zero_tautologic(t)) {
            literals.push_back(m->Bdd_not(x));
            g = m->Bdd_else(g);
        } else {
            literals.push_back(x);
            g = t;
        }
    }
    return literals;
}

// The cubes c, NOT l1, l1 AND NOT l2, ..., l1 .. l(k-1) AND NOT lk of the cube c = l1 .. lk:
// pairwise disjoint, covering constant 1, and each one a cube, so that the cofactor by it is the
// function under that condition (the cofactor by a non-cube is not).
std::vector<bdd> cube_split(bddpp_manager* m, const bdd& c)
{
    std::vector<bdd> parts(1, c);
    bdd prefix = m->Bdd_one();
    for (const bdd& l : literals_of(m, c)) {
        parts.push_back(m->Bdd_and(prefix, m->Bdd_not(l)));
        prefix = m->Bdd_and(prefix, l);
    }
    return parts;
}

// A condition handed to a reduction must be a cube; otherwise the line names the operation.
bool cube_or_report(bddpp_manager* m, const bdd& c, const char* operation)
{
    if (c.manager == m && c.node_ptr != nullptr && m->Bdd_is_cube(c)) return true;
    std::cerr << "ERROR in b_automaton::" << operation << "(): the condition is not a cube of the automaton"
              << std::endl;
    return false;
}

// With the values that e fixes, x's right member reduces to r: when r is constant, e is extended
// by x's variable at that value and the result is false; true when x's value stays open (or x
// has no equation to read, false then too).
bool value_open(bddpp_manager* m, const Bddexpression* x, bdd& e, bdd& r)
{
    if (x == nullptr || x->bdd_exp.manager == nullptr || x->bdd_var.manager == nullptr) return false;
    r = m->Bdd_reduce(x->bdd_exp, e);
    if (m->Bdd_is_zero_tautologic(r)) e = m->Bdd_and(e, m->Bdd_not(x->bdd_var));
    else if (m->Bdd_is_one_tautologic(r)) e = m->Bdd_and(e, x->bdd_var);
    else return true;
    return false;
}

} // namespace

void (*b_automaton_message_window)(const std::string& text) = report_on_stderr;

// ---- the three-valued step ----

int b_automaton::evaluation_etat_suivant(int* src, int verbose, int* dst)
{
    const long n = wood != nullptr ? wood->Nb_bdd_vars() : 0;
    for (long p = 0; p < n; ++p) dst[p] = src[p];
    if (wood == nullptr) {
        if (verbose) b_automaton_message_window("ERROR IN SORTING EQUATIONS ... ");
        return 0;
    }
    bddpp_manager* m = wood->manager;
    // without dates, the date order would list the equations of date 0 alone
    if (wood->Nb_level() == 0) wood->compute_dates();
    std::list<long> order = wood->earliest_sort();
    if (order.empty()) {
        if (verbose) b_automaton_message_window("ERROR IN SORTING EQUATIONS ... ");
        return 0;
    }
    std::string report;
    bool failed = false;
    Bddexpression** table = wood->Exp_table();
    for (long p : order) {
        Bddexpression* e = table[p];
        // an equation without a function (abstract) gives an undetermined value
        int c = e->bdd_exp.manager != nullptr ? m->Bdd_eval_for_literal(e->bdd_exp, dst) : 2;
        long q = e->bdd_var.manager != nullptr ? m->Bdd_if_index(e->bdd_var) : -1;
        bool left = q >= 0 && q < n;
        if (left) dst[q] = c;
        if (c != 2) continue;
        failed = true;
        if (!verbose) continue;
        report += "ERROR IN EVALUATION: \n\n";
        if (left)
            report += " because the variable " + report_sop(m, e->bdd_var) + "  depends on " +
                      report_sop(m, m->Literals_to_bdd(dst)) + "\n\n and I don't know how to evaluate it!\n";
        else
            report += std::string(" left member of equation ") + " not defined\n";
    }
    if (failed) {
        if (verbose) b_automaton_message_window(report);
        return 0;
    }
    // every register takes the value of its next-state variable, all at once: a register fed
    // directly by another one reads the other's value of before the step
    std::vector<int> next(state_count);
    for (int i = 0; i < state_count; ++i) {
        long x = next_state_position(i);
        next[i] = x >= 0 ? dst[x] : 2;
    }
    for (int i = 0; i < state_count; ++i) dst[i] = next[i];
    return 1;
}

long b_automaton::next_state_position(int i) const
{
    if (wood == nullptr || i < 0 || i >= state_count) return -1;
    long p = wood->manager->Index_var_by_name(next_state_names[i]);
    return p >= 0 && p < wood->Nb_bdd_vars() ? p : -1;
}

long b_automaton::output_position(int k) const
{
    if (wood == nullptr || k < 0 || k >= output_count) return -1;
    long p = wood->manager->Index_var_by_name(output_names[k]);
    return p >= 0 && p < wood->Nb_bdd_vars() ? p : -1;
}

// ---- the symbolic successor and the successor classes ----

// cube AND the literal of the variable at position when f is constant; otherwise cube, after the
// line "no possible evaluation for " what index.
static bdd and_constant_literal(bddpp_manager* m, const bdd& cube, const bdd& f, long position,
                                const char* what, int index)
{
    if (m->Bdd_is_zero_tautologic(f)) return m->Bdd_and(cube, m->Bdd_not(m->Bdd_var_by_index(position)));
    if (m->Bdd_is_one_tautologic(f)) return m->Bdd_and(cube, m->Bdd_var_by_index(position));
    std::cerr << "no possible evaluation for " << what << index << std::endl;
    return cube;
}

bdd b_automaton::next_state_cube(Bddexpressionwood* w)
{
    bddpp_manager* m = w->manager;
    bdd next = m->Bdd_one();
    for (int i = 0; i < state_count; ++i) {
        bdd f = right_member(w, next_state_names[i]);
        if (f.manager != nullptr) next = and_constant_literal(m, next, f, i, "index ", i);
    }
    return next;
}

bdd b_automaton::output_cube(Bddexpressionwood* w)
{
    bddpp_manager* m = w->manager;
    bdd outputs = m->Bdd_one();
    for (int k = 0; k < output_count; ++k) {
        long q = output_position(k);
        bdd f = right_member(w, output_names[k]);
        if (q >= 0 && f.manager != nullptr) outputs = and_constant_literal(m, outputs, f, q, "output index ", k);
    }
    return outputs;
}

bdd b_automaton::evaluation_etat_suivant(bdd& cond, int, bdd* outputs)
{
    bddpp_manager* m = manager_associe();
    if (m == nullptr) {
        *outputs = bdd();
        return bdd();
    }
    if (!cube_or_report(m, cond, "evaluation_etat_suivant")) {
        *outputs = m->Bdd_one();
        return m->Bdd_one();
    }
    if (m->Bdd_is_zero_tautologic(cond)) {
        // a contradictory condition has no successor
        *outputs = m->Bdd_zero();
        return m->Bdd_zero();
    }
    working_copy copy(wood);
    Bddexpressionwood* w = copy.first();
    w->reduce_expressions(cond);
    bdd next = next_state_cube(w);
    *outputs = output_cube(w);
    return next;
}

int b_automaton::evaluation_etats_suivants(bdd& cond, std::vector<bdd>& conditions, std::vector<bdd>& next_states,
                                           std::vector<bdd>& outputs)
{
    conditions.clear();
    next_states.clear();
    outputs.clear();
    bddpp_manager* m = manager_associe();
    if (m == nullptr || !cube_or_report(m, cond, "evaluation_etats_suivants")) return 0;
    if (m->Bdd_is_zero_tautologic(cond)) return 0;
    working_copy copy(wood);
    Bddexpressionwood* w0 = copy.first();
    w0->reduce_expressions(cond, keep_kept);
    std::deque<std::pair<Bddexpressionwood*, bdd>> queue(1, {w0, m->Bdd_one()});
    while (!queue.empty()) {
        Bddexpressionwood* w = queue.front().first;
        bdd g = queue.front().second;
        queue.pop_front();
        bdd f = w->reduce_proposition_by_assertion();
        if (m->Bdd_is_one_tautologic(f)) {
            conditions.push_back(g);
            next_states.push_back(next_state_cube(w));
            outputs.push_back(output_cube(w));
            copy.drop(w);
            continue;
        }
        // f, then the negation of f one literal at a time: every reduction is by a cube
        for (const bdd& part : cube_split(m, f)) {
            bdd h = m->Bdd_and(part, g);
            if (m->Bdd_is_zero_tautologic(h)) continue; // contradictory: no class
            Bddexpressionwood* branch = copy.copy_of(w);
            branch->reduce_expressions(part, keep_kept);
            queue.push_back({branch, h});
        }
        copy.drop(w);
    }
    return static_cast<int>(conditions.size());
}

int b_automaton::evaluation_etats_suivants(bdd& cond, bdd* conditions, bdd* next_states, bdd* outputs)
{
    std::vector<bdd> c, n, o;
    int count = evaluation_etats_suivants(cond, c, n, o);
    for (int k = 0; k < count; ++k) {
        conditions[k] = c[k];
        next_states[k] = n[k];
        outputs[k] = o[k];
    }
    return count;
}

int b_automaton::evaluation_etats_suivants(bdd& cond, bdd* conditions, bdd* next_states, bdd* outputs, int room)
{
    std::vector<bdd> c, n, o;
    int count = evaluation_etats_suivants(cond, c, n, o);
    for (int k = 0; k < count && k < room; ++k) {
        conditions[k] = c[k];
        next_states[k] = n[k];
        outputs[k] = o[k];
    }
    return count;
}

// ---- input sensitivity ----

std::list<bdd> b_automaton::sensibilite_entrees(bdd state, long index)
{
    std::list<bdd> result;
    bddpp_manager* m = manager_associe();
    std::cerr << "call sensibilite_entrees()" << std::endl;
    std::cerr << "SENSIBILITE ENTREES pour ETAT:" << std::endl;
    if (m == nullptr || !cube_or_report(m, state, "sensibilite_entrees")) return result;
    if (index < 0 || index >= wood->Nb_bdd_vars()) {
        std::cerr << "ERROR in b_automaton::sensibilite_entrees(): no variable at index " << index << std::endl;
        return result;
    }
    trace_sop(m, state);
    std::cerr << std::endl;
    std::list<long> order = wood->latest_sort();
    std::set<long> none;
    std::set<long> deps = wood->up_dependances(index, 0, none);
    Bddexpression** table = wood->Exp_table();
    std::deque<bdd> queue(1, m->Bdd_one());
    while (!queue.empty()) {
        bdd g = queue.front();
        queue.pop_front();
        bdd e = m->Bdd_and(g, state);
        std::cerr << "---> " << queue.size() << ": ";
        trace_sop(m, g);
        std::cerr << std::endl;
        bool blocked = false;
        for (long p : order) {
            if (deps.count(p) == 0) continue;
            // a condition that contradicts the values it implies (or the state) holds nowhere
            if (m->Bdd_is_zero_tautologic(e)) {
                blocked = true;
                break;
            }
            Bddexpression* x = table[p];
            bdd r;
            if (!value_open(m, x, e, r)) continue;
            std::cerr << "exp bloquante:" << *x << std::endl;
            std::cerr << "apres reduction: ";
            trace_sop(m, r);
            std::cerr << std::endl;
            bdd v = m->Bdd_if(r);
            queue.push_back(m->Bdd_and(v, g));
            queue.push_back(m->Bdd_and(m->Bdd_not(v), g));
            blocked = true;
            break;
        }
        if (!blocked && !m->Bdd_is_zero_tautologic(e)) result.push_back(g);
    }
    std::cerr << "sensibilite terminee ..." << std::endl;
    return result;
}

std::list<bdd> b_automaton::old_sensibilite_entrees(bdd state)
{
    std::list<bdd> result;
    std::cerr << "call sensibilite_entrees()" << std::endl;
    bddpp_manager* m = manager_associe();
    if (m == nullptr || !cube_or_report(m, state, "old_sensibilite_entrees")) return result;
    if (m->Bdd_is_zero_tautologic(state)) return result;
    working_copy copy(wood);
    Bddexpressionwood* w = copy.first();
    w->reduce_expressions(state);
    if (w->global_tautology()) {
        result.push_back(m->Bdd_one());
        return result;
    }
    std::list<long> order = w->latest_sort();
    Bddexpression** table = w->Exp_table();
    std::deque<bdd> queue(1, m->Bdd_one());
    while (!queue.empty()) {
        bdd g = queue.front();
        queue.pop_front();
        bdd e = g;
        std::cerr << "---> " << queue.size() << ": ";
        trace_sop(m, g);
        std::cerr << std::endl;
        bool blocked = false;
        for (long p : order) {
            if (m->Bdd_is_zero_tautologic(e)) {
                blocked = true; // contradictory: dropped
                break;
            }
            Bddexpression* x = table[p];
            bdd r;
            if (!value_open(m, x, e, r)) continue;
            std::cerr << "evaluation impossible pour: ";
            Print_debug_bdd(std::cerr, r);
            std::cerr << std::endl;
            bdd v = m->Bdd_one_implicant(r);
            // v, then its negation one literal at a time, so that every condition stays a cube
            for (const bdd& part : cube_split(m, v)) {
                bdd h = m->Bdd_and(part, g);
                if (m->Bdd_is_zero_tautologic(h)) continue;
                queue.push_back(h);
                std::cerr << "   empilement de ";
                trace_sop(m, h);
                std::cerr << std::endl;
            }
            blocked = true;
            break;
        }
        if (!blocked && !m->Bdd_is_zero_tautologic(e)) {
            std::cerr << "Adding :";
            trace_sop(m, g);
            std::cerr << std::endl;
            result.push_back(g);
        }
    }
    return result;
}
