// Analyses of the dependency graph: right-member setters, closures, critical paths, dependency tree, local substitution.
#include "forest/Bddexpression.h"

#include <algorithm>
#include <iostream>
#include <unordered_map>
#include <vector>

#include "forest/forest_graph.h"

// ---------------------------------------------------------------------------------------------------
// Right-member setters

enum member_change { member_replaced, member_or, member_and };

// The new right member replaces the old one in the reader sets; dates (when given) are the early date and
// the late date; walk: the critical paths of the equation are walked afterwards.
static void change_right_member(Bddexpression* e, const char* op, member_change how, const bdd& g, bool walk,
                                const long* dates)
{
    Bddexpressionwood* w = e->wood;
    if (w == nullptr) {
        std::cerr << "In Bddexpression::" << op << "(): " << std::endl
                  << "   no wood defined! Aborted  ..." << std::endl;
        return;
    }
    bddpp_manager* M = w->manager;
    long a = M->Index_var_by_bdd(e->bdd_var);
    bool slot = a >= 0 && a < w->nb_bdd_vars;
    for (long d : e->dependances)
        if (slot && d >= 0 && d < w->nb_bdd_vars) w->readers[d].erase(a);
    if (how == member_replaced) e->bdd_exp = g;
    if (how == member_or) e->bdd_exp = M->Bdd_or(g, e->bdd_exp);
    if (how == member_and) e->bdd_exp = M->Bdd_and(g, e->bdd_exp);
    if (dates != nullptr) {
        e->early_date = dates[0];
        e->setLateDate(dates[1]);
    }
    e->abstraction = 0;
    e->build_normal_dependances();
    if (walk) w->down_critical_path(a, 0, 0);
    position_set read = e->dependances; // a walk may rewrite the equation
    for (long d : read) {
        if (slot && d >= 0 && d < w->nb_bdd_vars) w->readers[d].insert(a);
        if (walk) w->up_critical_path(a, 0, 1);
    }
}

void Bddexpression::setBddExp(bdd f)
{
    change_right_member(this, "setBddExp", member_replaced, f, true, nullptr);
}

void Bddexpression::setBddExp(bdd f, long early, long late)
{
    const long dates[2] = {early, late};
    change_right_member(this, "setBddExp", member_replaced, f, false, dates);
}

void Bddexpression::append_or_exp(bdd g)
{
    change_right_member(this, "append_or_exp", member_or, g, true, nullptr);
}

void Bddexpression::append_and_exp(bdd g)
{
    change_right_member(this, "append_and_exp", member_and, g, true, nullptr);
}

// ---------------------------------------------------------------------------------------------------
// Closures

// Positions with an equation below the slot count.
static Bddexpression* equation_at(const Bddexpressionwood* w, long x)
{
    return x >= 0 && x < w->nb_bdd_vars ? w->exp_table[x] : nullptr;
}

static const position_set no_position;

static const position_set& readers_of(const Bddexpressionwood* w, long x)
{
    return x >= 0 && x < w->nb_bdd_vars ? w->readers[x] : no_position;
}

static const position_set& dependencies_of(const Bddexpressionwood* w, long x)
{
    Bddexpression* e = equation_at(w, x);
    return e != nullptr ? e->dependances : no_position;
}

// Depth-first closure from i over next(x), each position entered once; past the slot count the descent
// stops with the warning "WARNING in Bddexpressionwood::" who "():" / "   possible infinite " word ....
template <class Next>
static std::set<long> closure(const Bddexpressionwood* w, long i, long depth, const std::set<long>& acc, Next next,
                              const char* who, const char* word)
{
    std::set<long> result = acc;
    std::vector<walk_frame> stack;
    const position_set& first = next(w, i);
    stack.push_back({first.begin(), first.end(), depth});
    walk_frames(stack, [&](long x, long depth) {
        if (!result.insert(x).second) return;
        if (depth < w->nb_bdd_vars) {
            const position_set& n = next(w, x);
            stack.push_back({n.begin(), n.end(), depth + 1});
        } else {
            std::cerr << "WARNING in Bddexpressionwood::" << who << "():" << std::endl
                      << "   possible infinite " << word << " due to a signals cycle" << std::endl;
        }
    });
    return result;
}

std::set<long> Bddexpressionwood::down_dependances(long i, long depth, std::set<long>& acc)
{
    return closure(this, i, depth, acc, readers_of, "down_dependances", "recusion");
}

std::set<long> Bddexpressionwood::up_dependances(long i, long depth, std::set<long>& acc)
{
    return closure(this, i, depth, acc, dependencies_of, "up_dependances", "recursion");
}

// ---------------------------------------------------------------------------------------------------
// Critical paths

// What a walk needs to know of a position reached from its start, over the equations only.
struct cone_node {
    long index;    // discovery number of the strongly connected components search
    long low;      // smallest discovery number reachable
    bool stacked;  // on the components stack
    bool acyclic;  // no cycle is reachable from the position
    long height;   // edges of the longest chain from it (when acyclic)
    long gain;     // max(0, greatest sum of the weights of a chain below it) (when acyclic)
};

// Strongly connected components of the positions reachable from start through next(), kept in an
// explicit stack; a position whose reachable part is acyclic gets its height and gain.
template <class Next>
static std::unordered_map<long, cone_node> analyse_cone(const Bddexpressionwood* w, long start, Next next)
{
    std::unordered_map<long, cone_node> cone;
    struct frame {
        long x;
        std::vector<long> succ;
        size_t k;
    };
    auto successors = [&](long x) {
        std::vector<long> s;
        for (long y : next(w, x))
            if (equation_at(w, y) != nullptr) s.push_back(y);
        return s;
    };
    std::vector<frame> stack;
    std::vector<long> component;
    long counter = 0;
    cone[start] = {counter, counter, true, false, 0, 0};
    counter++;
    component.push_back(start);
    stack.push_back({start, successors(start), 0});
    while (!stack.empty()) {
        frame& f = stack.back();
        if (f.k < f.succ.size()) {
            long y = f.succ[f.k++];
            auto found = cone.find(y);
            if (found == cone.end()) {
                cone[y] = {counter, counter, true, false, 0, 0};
                counter++;
                component.push_back(y);
                std::vector<long> s = successors(y);
                stack.push_back({y, std::move(s), 0});
            } else if (found->second.stacked) {
                cone[f.x].low = std::min(cone[f.x].low, found->second.index);
            }
            continue;
        }
        long x = f.x;
        std::vector<long> succ = std::move(f.succ);
        stack.pop_back();
        cone_node& c = cone[x];
        if (!stack.empty()) {
            cone_node& parent = cone[stack.back().x];
            parent.low = std::min(parent.low, c.low);
        }
        if (c.low != c.index) continue;
        if (component.back() == x) { // a single position: acyclic when no successor is itself or cyclic
            component.pop_back();
            c.stacked = false;
            c.acyclic = true;
            for (long y : succ) {
                const cone_node& s = cone[y];
                if (y == x || !s.acyclic) {
                    c.acyclic = false;
                    break;
                }
                c.height = std::max(c.height, s.height + 1);
                c.gain = std::max(c.gain, w->exp_table[y]->weight + s.gain);
            }
            continue;
        }
        long y;
        do {
            y = component.back();
            component.pop_back();
            cone[y].stacked = false;
        } while (y != x);
    }
    return cone;
}

// The walk's value of a position when it is known without walking: acyclic and too shallow for the
// depth guard (guard_margin: 1 when a walk that reaches the guard exactly still acts).
static bool known(const std::unordered_map<long, cone_node>& cone, long x, long depth, long count, long guard_margin)
{
    auto c = cone.find(x);
    return c != cone.end() && c->second.acyclic && depth + c->second.height + guard_margin <= count;
}

// One pending position of a critical-path walk: its value is base plus the best of its weight-carrying
// neighbours.
struct path_frame {
    std::vector<long> next; // neighbours still to visit, from k on
    size_t k;               // next neighbour
    long depth;             // depth of the position
    long base;              // the walk's argument a or b
    long weight;            // the position's weight
    long best;              // best value so far
};

// Runs the frames; visit(x, f) handles neighbour x of the frame at index f and may push frames.
// Returns the value of the first frame.
template <class Visit> static long path_walk(std::vector<path_frame>& stack, Visit visit)
{
    long result = 0;
    while (!stack.empty()) {
        path_frame& f = stack.back();
        if (f.k == f.next.size()) {
            result = f.base + f.best;
            stack.pop_back();
            if (!stack.empty()) stack.back().best = std::max(stack.back().best, result);
            continue;
        }
        long x = f.next[f.k++];
        visit(x, stack.size() - 1);
    }
    return result;
}

long Bddexpressionwood::down_critical_path(long i, long depth, long a)
{
    if (i < 0 || i >= nb_bdd_vars) return a;
    const long count = nb_bdd_vars;
    std::unordered_map<long, cone_node> cone = analyse_cone(this, i, readers_of);
    // The walk warns at a position deeper than the count that still has a reader.
    if (known(cone, i, depth, count, 0)) return a + cone[i].gain;
    std::vector<path_frame> stack;
    auto enter = [&](long x, long depth, long a, long weight) {
        stack.push_back({std::vector<long>(readers[x].begin(), readers[x].end()), 0, depth, a, weight, 0});
    };
    enter(i, depth, a, 0);
    return path_walk(stack, [&](long r, size_t f) {
        Bddexpression* e = equation_at(this, r);
        if (e == nullptr) return;
        long d = stack[f].depth + 1;
        if (d > count)
            std::cerr << "WARNING in Bddexpressionwood::down_critical_path():" << std::endl
                      << "   possible infinite recursion due to a signals cycle" << std::endl;
        else if (known(cone, r, d, count, 0))
            stack[f].best = std::max(stack[f].best, e->weight + cone[r].gain);
        else
            enter(r, d, e->weight, e->weight);
    });
}

long Bddexpressionwood::up_critical_path(long i, long depth, long b)
{
    Bddexpression* top = equation_at(this, i);
    if (top == nullptr) return b;
    const long count = nb_bdd_vars;
    std::unordered_map<long, cone_node> cone = analyse_cone(this, i, dependencies_of);
    // The walk substitutes at any position it reaches at the count's depth or deeper.
    if (known(cone, i, depth, count, 1)) return b + top->weight + cone[i].gain;
    bool cone_valid = true; // the graph is unchanged since the analysis
    std::vector<path_frame> stack;
    auto enter = [&](long x, long depth, long b) {
        Bddexpression* e = exp_table[x];
        std::vector<long> read(e->dependances.begin(), e->dependances.end());
        if (depth >= count) {
            useless_local(x);
            cone_valid = false;
        }
        stack.push_back({std::move(read), 0, depth, b, e->weight, e->weight});
    };
    enter(i, depth, b);
    return path_walk(stack, [&](long d, size_t f) {
        Bddexpression* e = equation_at(this, d);
        if (e == nullptr) return;
        long weight = stack[f].weight, next_depth = stack[f].depth + 1;
        if (cone_valid && known(cone, d, next_depth, count, 1))
            stack[f].best = std::max(stack[f].best, weight + e->weight + cone[d].gain);
        else
            enter(d, next_depth, weight);
    });
}

// ---------------------------------------------------------------------------------------------------
// Dependency tree, choice of a variable, local substitution

void Bddexpressionwood::stat_early_dep(std::ostream& os, long i)
{
    if (i < 0 || i >= nb_bdd_vars) return;
    std::set<long> visited;
    std::vector<walk_frame> stack;
    auto print = [&](long p, long depth) {
        for (long k = 0; k < depth; k++) os << "   ";
        if (depth > 0) os << "| ";
        os << manager->Name_var_by_index(p) << " (" << p << ")";
        if (!visited.insert(p).second) {
            os << " -->" << std::endl;
            return;
        }
        os << std::endl;
        const position_set& d = dependencies_of(this, p);
        stack.push_back({d.begin(), d.end(), depth + 1});
    };
    print(i, 0);
    walk_frames(stack, print);
}

long Bddexpressionwood::reduce_proposition_by_variable()
{
    long best = -1;
    for (long i = 0; i < nb_bdd_vars; i++) {
        Bddexpression* e = exp_table[i];
        if (e == nullptr || readers[i].empty() || e->dependances.empty()) continue;
        if (e->early_date < 0 || e->early_date > nb_level) continue;
        if (best < 0 || e->early_date < exp_table[best]->early_date) best = i;
    }
    return best < 0 ? -1 : *exp_table[best]->dependances.begin();
}

void Bddexpressionwood::useless_local(long b)
{
    Bddexpression* e = equation_at(this, b);
    if (e == nullptr || readers[b].empty() || e->dependances.empty()) return;
    e->internal_build_dependances();
    if (e->dependances.count(b) != 0) self_dependance_exit(b, *e);
    position_set missing;
    const position_set read = e->dependances;
    for (long d : read) {
        if (d < 0 || d >= nb_bdd_vars) continue;
        readers[d].erase(b);
        for (long r : readers[b]) {
            Bddexpression* o = equation_at(this, r);
            if (o != nullptr && e->bdd_exp.manager != nullptr && o->bdd_exp.manager != nullptr) {
                o->bdd_exp = manager->Bdd_compose(o->bdd_exp, e->bdd_var, e->bdd_exp);
                o->internal_build_dependances();
            }
            if (o == nullptr) missing.insert(r);
        }
        // every reader of b now reads d, merged in one pass; b itself stays only as the last
        // reader, as when b was erased again before each reader was added
        const position_set& moved = readers[b];
        readers[d].insert(moved.begin(), moved.end());
        if (moved.count(b) != 0 && *(moved.end() - 1) != b) readers[d].erase(b);
    }
    for (long r : missing) readers[b].erase(r);
    readers[b].clear();
}

// ---------------------------------------------------------------------------------------------------
// Free functions and the fixpoint dating

std::set<long> set_reencoding(const std::set<long>& s, long* code)
{
    std::set<long> r;
    for (long x : s) r.insert(code[x]);
    return r;
}

long normalise_min_min(long n, long* a, long* b)
{
    if (n < 1) return 0;
    long min_a = *std::min_element(a, a + n);
    long min_b = *std::min_element(b, b + n);
    long greatest = 0;
    for (long j = 0; j < n; j++) {
        a[j] -= min_a;
        b[j] -= min_b;
        greatest = std::max(greatest, std::max(a[j], b[j]));
    }
    return greatest;
}

void affiche_level(long n, bddpp_manager* m, long* values)
{
    for (long j = 0; j < n; j++) std::cout << m->Name_var_by_index(j) << ":" << values[j] << " ";
    std::cout << std::endl;
}

// Order position of e's left member, -3 without forest or left member.
static long left_position(const Bddexpression& e)
{
    if (e.wood == nullptr || e.bdd_var.manager == nullptr) return -3;
    return e.wood->manager->Bdd_if_index(e.bdd_var);
}

// One fixpoint step over e's dependencies d: upstream raises values[p] above values[d], downstream
// raises values[d] above values[p].
static int learn_dependance(long n, long* values, Bddexpression& e, int* cycle, bool upstream, const char* who)
{
    long p = left_position(e);
    *cycle = 0;
    if (p < 0 || p >= n) {
        std::cerr << "INTERNAL ERROR in " << who << "()" << std::endl;
        return 0;
    }
    int changed = 0;
    for (long d : e.dependances) {
        if (d < 0 || d >= n) continue;
        long& low = upstream ? values[d] : values[p];
        long& high = upstream ? values[p] : values[d];
        if (low < high) continue;
        high = low + 1;
        changed = 1;
        if (high >= 2 * n) *cycle = 1;
    }
    return changed;
}

int learn_upstream_dependance(long n, long* values, Bddexpression& e, int* cycle)
{
    return learn_dependance(n, values, e, cycle, true, "learn_upstream_dependance");
}

int learn_downstream_dependance(long n, long* values, Bddexpression& e, int* cycle)
{
    return learn_dependance(n, values, e, cycle, false, "learn_downstream_dependance");
}

// Passes in array order, each ending at its first change, until a pass changes nothing or cycle is set.
static void fixpoint_phase(long count, Bddexpression** equations, long n, long* values,
                           int (*learn)(long, long*, Bddexpression&, int*), int& cycle)
{
    cycle = 0;
    for (;;) {
        int changed = 0;
        for (long k = 0; k < count && !changed; k++) {
            changed = learn(n, values, *equations[k], &cycle);
            if (cycle) return;
        }
        if (!changed) return;
    }
}

// The fixpoint in topological order, when it is the result of the passes: distinct positions, no cycle
// and no value raised to 2n or more. False, leaving both arrays alone, otherwise.
static bool fixpoint_in_topological_order(long count, Bddexpression** equations, long n, std::vector<long>& early,
                                          std::vector<long>& late)
{
    std::vector<long> at(n, -1), order;
    std::vector<char> defined(n, 0);
    for (long k = 0; k < count; k++) {
        long p = left_position(*equations[k]);
        if (p < 0 || p >= n || at[p] >= 0) return false;
        at[p] = k;
        defined[p] = 1;
    }
    std::vector<std::vector<long>> readers_of(n);
    for (long k = 0; k < count; k++)
        for (long d : equations[k]->dependances)
            if (d >= 0 && d < n) readers_of[d].push_back(left_position(*equations[k]));
    auto readers = [&](long p, auto add) {
        for (long r : readers_of[p]) add(r);
    };
    if (!topological_order(n, defined, readers, order)) return false;
    std::vector<long> up = early, down = late;
    for (long p : order)
        for (long d : equations[at[p]]->dependances)
            if (d >= 0 && d < n) up[p] = std::max(up[p], up[d] + 1);
    for (auto p = order.rbegin(); p != order.rend(); ++p)
        for (long d : equations[at[*p]]->dependances)
            if (d >= 0 && d < n) down[d] = std::max(down[d], down[*p] + 1);
    for (long p = 0; p < n; p++)
        if ((up[p] > early[p] && up[p] >= 2 * n) || (down[p] > late[p] && down[p] >= 2 * n)) return false;
    early.swap(up);
    late.swap(down);
    return true;
}

long PERT_original_version(long count, Bddexpression** equations)
{
    if (count < 1) return 0;
    Bddexpressionwood* w = equations[0]->wood;
    long n = w != nullptr ? w->manager->nvars : 0;
    std::vector<long> early(n, 0), late(n, 0);
    for (long k = 0; k < count; k++) {
        long p = left_position(*equations[k]);
        if (p < 0 || p >= n) continue;
        early[p] = equations[k]->early_date;
        late[p] = equations[k]->getLateDate();
    }
    int cycle_up = 0, cycle_down = 0;
    if (!fixpoint_in_topological_order(count, equations, n, early, late)) {
        fixpoint_phase(count, equations, n, early.data(), learn_upstream_dependance, cycle_up);
        fixpoint_phase(count, equations, n, late.data(), learn_downstream_dependance, cycle_down);
    }
    if (cycle_up == 0 && cycle_down == 0) {
        long levels = normalise_min_min(n, early.data(), late.data()) + 1;
        for (long k = 0; k < count; k++) {
            long p = left_position(*equations[k]);
            bool in = p >= 0 && p < n;
            if (in) equations[k]->early_date = early[p];
            equations[k]->setLateDate(in ? late[p] : 0);
        }
        return levels;
    }
    std::cout << "CYCLE DE CAUSALITE SUR:" << std::endl;
    for (long k = 0; k < count; k++) {
        long p = left_position(*equations[k]);
        if (p >= 0 && p < n && early[p] >= n && late[p] >= n) std::cout << equations[k]->debug_in_string() << std::endl;
    }
    std::cout << std::endl;
    return -1;
}

long PERT_original_version(long count, Bddexpression* equations)
{
    std::vector<Bddexpression*> pointers;
    for (long k = 0; k < count; k++) pointers.push_back(&equations[k]);
    return PERT_original_version(count, pointers.data());
}
