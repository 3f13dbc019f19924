// Dates of the equations: full and incremental propagation, cycle detection, the two orderings, loop breaking.
#include "forest/Bddexpression.h"

#include <algorithm>
#include <iostream>
#include <vector>

#include "forest/forest_graph.h"
#include "utils/list_long.h"

// The propagations keep their own stack: chains of equations are as deep as the circuit, far deeper than
// the call stack allows. Visits, dates and bound tests are those of the recursive definition; a frame's
// level is the date its position received.
void Bddexpressionwood::early_propagation(long v, long d)
{
    const long bound = 2L * nb_bdd_vars;
    std::vector<walk_frame> stack;
    auto enter = [&](long v, long d) {
        if (dating_budget == 0) return;
        if (dating_budget > 0) dating_budget--;
        Bddexpression* e = v >= 0 && v < nb_bdd_vars ? exp_table[v] : nullptr;
        if (e == nullptr || e->early_date >= d) return;
        e->early_date = d;
        if (nb_level < d + 1) nb_level = static_cast<int>(d + 1);
        if (nb_level <= bound) stack.push_back({readers[v].begin(), readers[v].end(), d});
    };
    enter(v, d);
    walk_frames(stack, [&](long r, long d) { enter(r, d + 1); });
}

void Bddexpressionwood::late_propagation(long v, long d)
{
    const long bound = 2L * nb_bdd_vars;
    std::vector<walk_frame> stack;
    auto enter = [&](long v, long d) {
        if (dating_budget == 0) return;
        if (dating_budget > 0) dating_budget--;
        if (v < 0 || v >= nb_bdd_vars) return;
        if (late_dates[v] != 0 && late_dates[v] >= d) return;
        late_dates[v] = d;
        if (nb_level < d + 1) nb_level = static_cast<int>(d + 1);
        Bddexpression* e = exp_table[v];
        if (e != nullptr && nb_level <= bound) stack.push_back({e->dependances.begin(), e->dependances.end(), d});
    };
    enter(v, d);
    walk_frames(stack, [&](long w, long d) { enter(w, d + 1); });
}

// The dating step of one position: its readers receive its early date + 1, its dependencies its late date + 1.
void Bddexpressionwood::date_position(long i, const char* reader_message)
{
    Bddexpression* e = exp_table[i];
    if (!readers[i].empty()) {
        for (long r : readers[i]) {
            if (r >= nb_bdd_vars)
                std::cerr << reader_message << r << ">= " << nb_bdd_vars << std::endl;
            else
                early_propagation(r, e != nullptr ? e->early_date + 1 : 1);
        }
    } else if (e != nullptr && nb_level <= e->early_date) {
        nb_level = static_cast<int>(e->early_date + 1);
    }
    if (e == nullptr) return;
    for (long d : e->dependances)
        if (d >= 0 && d < nb_bdd_vars) late_propagation(d, e->getLateDate() + 1);
}

static const char* const full_message = "ERREUR dans compute_date(): nombre de variables trop grand :";
static const char* const list_message = "ERREUR dans compute_date(list ident): numero de variables trop grand :";

// Longest-path dates in topological order. Without around_cycles: the result of the propagation whenever
// that result does not depend on the order of the visits (no cycle among the equations, no date past the
// bound); false, changing nothing, otherwise. With around_cycles: the equations on a cycle or reading one
// get the early date 2n + 1, those that a cycle reads (and their variables) the late date 2n + 1, the
// others their longest chains; nb_level becomes 2n + 2. Messages of readers beyond the table are written
// for the positions from messages_from on.
static bool topological_dates(Bddexpressionwood& w, bool around_cycles, long messages_from)
{
    const long n = w.nb_bdd_vars, past = 2 * n + 1;
    std::vector<long> early(n, 0), late(n, 0), order;
    std::vector<char> defined(n, 0);
    // the early dates given, kept so that the equations (far apart in a large forest) are not
    // read again to compare with them
    std::vector<long> given_early(n, 0);
    for (long i = 0; i < n; i++) {
        Bddexpression* e = w.exp_table[i];
        if (e == nullptr) continue;
        bool in_place = e->bdd_var.manager == w.manager && w.manager->Bdd_if_index(e->bdd_var) == i;
        if (!in_place && !around_cycles) return false;
        early[i] = given_early[i] = e->early_date;
        defined[i] = 1;
    }
    // The two graphs as arrays, read many times below: the sets once each.
    std::vector<long> reader_start(n + 1, 0), reader_list, read_start(n + 1, 0), read_list;
    reader_list.reserve(static_cast<size_t>(2 * n));
    read_list.reserve(static_cast<size_t>(2 * n));
    long beyond_from = n; // the first position with a reader beyond the table
    for (long i = 0; i < n; i++) {
        for (long r : w.readers[i])
            if (r >= 0 && r < n) {
                if (defined[r]) reader_list.push_back(r);
            } else if (r >= n && beyond_from == n) {
                beyond_from = i;
            }
        reader_start[i + 1] = static_cast<long>(reader_list.size());
        if (defined[i])
            for (long d : w.exp_table[i]->dependances)
                if (d >= 0 && d < n) read_list.push_back(d);
        read_start[i + 1] = static_cast<long>(read_list.size());
    }
    auto readers = [&](long i, auto add) {
        for (long k = reader_start[i]; k < reader_start[i + 1]; k++) add(reader_list[k]);
    };
    auto dependencies = [&](long i, auto add) {
        for (long k = read_start[i]; k < read_start[i + 1]; k++) add(read_list[k]);
    };
    // Early dates: readers after the positions they read; a variable without equation gives 1.
    bool acyclic = topological_order(n, defined, readers, order);
    if (!acyclic && !around_cycles) return false;
    std::vector<char> placed(n, 0);
    for (long i : order) placed[i] = 1;
    for (long i = 0; i < n; i++)
        if (!defined[i]) readers(i, [&](long r) { early[r] = std::max(early[r], 1L); });
    for (long i : order) readers(i, [&](long r) { early[r] = std::max(early[r], early[i] + 1); });
    for (long i = 0; i < n; i++)
        if (defined[i] && !placed[i]) early[i] = past;
    // Late dates: dependencies after the equations that read them.
    acyclic = topological_order(n, defined, dependencies, order);
    if (!acyclic && !around_cycles) return false;
    std::fill(placed.begin(), placed.end(), 0);
    for (long i : order) {
        placed[i] = 1;
        dependencies(i, [&](long d) { late[d] = std::max(late[d], late[i] + 1); });
    }
    for (long i = 0; i < n; i++)
        if (defined[i] && !placed[i]) {
            late[i] = past;
            dependencies(i, [&](long d) { late[d] = past; });
        }
    // nb_level: one more than every date assigned and than the early date of every unread equation.
    long levels = around_cycles ? past + 1 : w.nb_level;
    for (long i = 0; i < n && !around_cycles; i++) {
        if (late[i] > 0) levels = std::max(levels, late[i] + 1);
        if (defined[i] && (early[i] > given_early[i] || w.readers[i].empty()))
            levels = std::max(levels, early[i] + 1);
    }
    if (levels > 2 * n && !around_cycles) return false;
    for (long i = std::max(messages_from, beyond_from); i < n; i++)
        for (long r : w.readers[i])
            if (r >= n) std::cerr << full_message << r << ">= " << n << std::endl;
    for (long i = 0; i < n; i++) {
        if (defined[i]) w.exp_table[i]->early_date = early[i];
        w.late_dates[i] = late[i];
    }
    w.nb_level = static_cast<int>(levels);
    return true;
}

// Elementary steps that the step-by-step dating of a whole forest may take: on a cycle it re-dates
// everything that the cycle reaches at each turn, a time quadratic in the size of the forest.
static long dating_budget_for(const Bddexpressionwood& w)
{
    long links = 0;
    for (long i = 0; i < w.nb_bdd_vars; i++) links += static_cast<long>(w.readers[i].size());
    return 10000000L + 16L * (w.nb_bdd_vars + links);
}

int Bddexpressionwood::compute_dates()
{
    update_bdd_vars();
    if (nb_level != 0 || nb_bdd_vars == 0) return nb_level;
    for (long v = 0; v < nb_bdd_vars; v++) late_dates[v] = 0;
    if (topological_dates(*this, false, 0)) return nb_level;
    std::vector<long> early(nb_bdd_vars, 0);
    for (long i = 0; i < nb_bdd_vars; i++)
        if (exp_table[i] != nullptr) early[i] = exp_table[i]->early_date;
    dating_budget = dating_budget_for(*this);
    long i = 0;
    while (i < nb_bdd_vars && dating_budget != 0) date_position(i++, full_message);
    bool exhausted = dating_budget == 0;
    dating_budget = -1;
    if (!exhausted) return nb_level;
    std::cerr << "Warning in Bddexpressionwood::compute_dates(): cycles too long to date step by step;"
              << " the equations around them are dated past the bound" << std::endl;
    for (long p = 0; p < nb_bdd_vars; p++)
        if (exp_table[p] != nullptr) exp_table[p]->early_date = early[p];
    topological_dates(*this, true, i);
    return nb_level;
}

int Bddexpressionwood::compute_dates(std::list<long>& positions)
{
    update_bdd_vars();
    if (nb_level <= 0) {
        nb_level = compute_dates();
        return nb_level;
    }
    for (long i : positions)
        if (i >= 0 && i < nb_bdd_vars) date_position(i, list_message);
    return nb_level;
}

std::list<long> Bddexpressionwood::loop_detection()
{
    if (nb_level == 0) compute_dates();
    std::list<long> loops;
    if (nb_level <= nb_bdd_vars) return loops;
    for (long i = 0; i < nb_bdd_vars; i++) {
        Bddexpression* e = exp_table[i];
        if (e != nullptr && (e->early_date > nb_bdd_vars || e->getLateDate() > nb_bdd_vars)) loops.push_back(i);
    }
    return loops;
}

// Positions holding an equation whose date lies in [0, nb_level], by date (ascending or descending),
// ties by ascending position. The dates are small integers: one counting pass over the ascending
// positions places every position at once, ties keeping their ascending order.
template <class Date>
static std::vector<long> sorted_by_date(const Bddexpressionwood& w, Date date, bool descending)
{
    const long levels = w.nb_level >= 0 ? long(w.nb_level) + 1 : 0;
    if (levels > 4 * long(w.nb_bdd_vars) + 64) {
        // far more dates than positions: a comparison sort needs no room per date
        std::vector<std::pair<long, long>> keyed;
        for (long i = 0; i < w.nb_bdd_vars; i++) {
            if (w.exp_table[i] == nullptr) continue;
            long d = date(w.exp_table[i]);
            if (w.in_dates(d)) keyed.push_back({descending ? -d : d, i});
        }
        std::sort(keyed.begin(), keyed.end());
        std::vector<long> sorted;
        for (const std::pair<long, long>& k : keyed) sorted.push_back(k.second);
        return sorted;
    }
    // the bucket of each listed position, -1 for the others
    std::vector<long> bucket(size_t(w.nb_bdd_vars > 0 ? w.nb_bdd_vars : 0), -1);
    std::vector<long> start(size_t(levels) + 1, 0);
    for (long i = 0; i < w.nb_bdd_vars; i++) {
        if (w.exp_table[i] == nullptr) continue;
        long d = date(w.exp_table[i]);
        if (!w.in_dates(d)) continue;
        long b = descending ? long(w.nb_level) - d : d;
        bucket[size_t(i)] = b;
        start[size_t(b) + 1]++;
    }
    for (size_t b = 1; b < start.size(); b++) start[b] += start[b - 1];
    std::vector<long> sorted(size_t(start.back()));
    for (long i = 0; i < w.nb_bdd_vars; i++)
        if (bucket[size_t(i)] >= 0) sorted[size_t(start[size_t(bucket[size_t(i)])]++)] = i;
    return sorted;
}

std::vector<long> Bddexpressionwood::earliest_positions() const
{
    return sorted_by_date(*this, [](const Bddexpression* e) { return e->early_date; }, false);
}

std::list<long> Bddexpressionwood::earliest_sort() const
{
    std::vector<long> sorted = earliest_positions();
    return std::list<long>(sorted.begin(), sorted.end());
}

std::list<long> Bddexpressionwood::latest_sort() const
{
    std::vector<long> sorted = sorted_by_date(*this, [](const Bddexpression* e) { return e->getLateDate(); }, true);
    return std::list<long>(sorted.begin(), sorted.end());
}

std::set<long> Bddexpressionwood::loop_breaking(std::set<long> allowed, int& ok)
{
    std::set<long> forbidden;
    for (long x = 0; x < nb_bdd_vars; x++)
        if (allowed.count(x) == 0) forbidden.insert(forbidden.end(), x);
    std::set<long> created;
    nb_level = 0;
    std::list<long> loops = loop_detection();
    ok = 1;
    while (!loops.empty() && ok == 1) {
        std::vector<long> count(nb_bdd_vars, 0);
        for (long e : loops)
            for (long x : exp_table[e]->dependances)
                if (x >= 0 && x < nb_bdd_vars) count[x]++;
        long v = -1;
        for (long x = 0; x < nb_bdd_vars; x++) {
            if (forbidden.count(x) != 0 || count[x] == 0) continue;
            if (exp_table[x] != nullptr && !exp_table[x]->dependances.empty()) continue;
            if (v < 0 || count[x] > count[v]) v = x;
        }
        if (v < 0) {
            ok = 0;
            break;
        }
        forbidden.insert(v);
        const long old_count = nb_bdd_vars;
        std::vector<long> M1, M0;
        for (long x = 0; x < old_count; x++) M1.push_back(x);
        M0 = M1;
        for (long e : loops) {
            long p1, p0;
            exp_table[e]->Shannon_expand(v, p1, p0);
            if (p1 >= 0) {
                M1[e] = p1;
                forbidden.insert(p1);
                created.insert(p1);
            }
            if (p0 >= 0) {
                M0[e] = p0;
                forbidden.insert(p0);
                created.insert(p0);
            }
        }
        // The copies read only variables of the old order; the maps are the identity above it.
        for (long x = old_count; x < nb_bdd_vars; x++) {
            M1.push_back(x);
            M0.push_back(x);
        }
        for (long q = old_count; q + 1 < nb_bdd_vars; q += 2) {
            Bddexpression* positive = exp_table[q];
            Bddexpression* negative = exp_table[q + 1];
            if (positive != nullptr && positive->bdd_exp.manager != nullptr)
                positive->setBddExp(manager->Bdd_replace_vars(positive->bdd_exp, M1.data()), 0, 0);
            if (negative != nullptr && negative->bdd_exp.manager != nullptr)
                negative->setBddExp(manager->Bdd_replace_vars(negative->bdd_exp, M0.data()), 0, 0);
        }
        nb_level = 0;
        loops = loop_detection();
    }
    return created;
}

void Bddexpression::Shannon_expand(long v, long& p1, long& p0)
{
    p1 = p0 = -3;
    if (wood == nullptr || bdd_exp.manager == nullptr) return;
    bddpp_manager* m = wood->manager;
    if (v < 0 || v >= m->nvars) return;
    bdd x = m->Bdd_var_by_id(v);
    std::string N = m->Name_var_by_index(v);
    bdd positive = wood->New_var_last(name + "_" + N);
    bdd negative = wood->New_var_last(name + "_not" + N);
    bdd f1 = m->Bdd_cube_reduce(bdd_exp, x);
    bdd f0 = m->Bdd_cube_reduce(bdd_exp, m->Bdd_not(x));
    new Bddexpression(wood, positive, f1, 0, 0);
    new Bddexpression(wood, negative, f0, 0, 0);
    setBddExp(m->Bdd_ite(x, positive, negative), 0, 0);
    p1 = m->Bdd_if_index(positive);
    p0 = m->Bdd_if_index(negative);
}

int PERT(Bddexpressionwood* w)
{
    return w->compute_dates();
}
