// Simplification of a forest in place: constant folding, reduction of every right member, local and
// wire substitution, the tautology test and one implicant of the first open equation.
#include "forest/Bddexpression.h"

#include <algorithm>
#include <unordered_set>
#include <vector>

#include "forest/forest_graph.h"

namespace {

// The equation at x when x is a slot, else null.
Bddexpression* slot_at(const Bddexpressionwood* w, long x)
{
    return x >= 0 && x < w->nb_bdd_vars ? w->exp_table[x] : nullptr;
}

bool has_member(const Bddexpression* e)
{
    return e != nullptr && e->abstraction == 0 && e->bdd_exp.manager != nullptr;
}

bool kept(const std::list<int>& keep, const Bddexpression* e)
{
    return std::find(keep.begin(), keep.end(), e->user_type) != keep.end();
}

// i's readers that hold an abstract equation; an empty slot counts as not abstract.
bool read_by_abstract(const Bddexpressionwood* w, long i)
{
    for (long r : w->readers[i]) {
        const Bddexpression* o = slot_at(w, r);
        if (o != nullptr && o->abstraction != 0) return true;
    }
    return false;
}

// A right member that the manager has replaced, with the reader sets following its new support.
void follow_support(Bddexpressionwood* w, long i, Bddexpression* e, const bdd& f)
{
    position_set before = e->set_of_index_used_variables();
    e->bdd_exp = f;
    e->build_normal_dependances();
    position_set after = e->set_of_index_used_variables();
    if (before == after) return;
    for (long x : after)
        if (before.count(x) == 0 && x >= 0 && x < w->nb_bdd_vars) w->readers[x].insert(i);
    for (long x : before)
        if (after.count(x) == 0 && x >= 0 && x < w->nb_bdd_vars) w->readers[x].erase(i);
}

// Cofactors by one cube over a literal array made once. Bdd_reduce(f, cube) gives the same function
// but makes the array for every call, which costs the variable count each time: over every
// equation of a forest that would be quadratic.
struct cube_cofactor {
    bddpp_manager* m;
    std::vector<int> vals; // per position: 1, 0, or 2 for a variable that the cube leaves free
    explicit cube_cofactor(bddpp_manager* m) : m(m), vals(m->nvars, 2) {}
    bdd of(const bdd& f)
    {
        if (f.node_ptr == nullptr || f.node_ptr == m->terminal) return f;
        int link = f.link;
        bdd_node* n = m->Bdd_cube_reduce(f.link, f.node_ptr, vals.data(), link);
        return bdd(m, link, n);
    }
    // f with the variable at position p set to value
    bdd of(const bdd& f, long p, int value)
    {
        vals[p] = value;
        bdd r = of(f);
        vals[p] = 2;
        return r;
    }
};

enum quantifier { by_care, by_exist, by_forall };

void propagate_constants(Bddexpressionwood* w, const std::list<int>& keep, bool coherent,
                         const position_set* changed = nullptr);

// coherent: as for propagate_constants; only the equations that read x are then visited, and their
// cofactors taken through the literal array.
void reduce_all(Bddexpressionwood* w, quantifier how, const bdd& care, long k, const std::list<int>& keep,
                bool coherent)
{
    bddpp_manager* m = w->manager;
    bdd x;
    if (how != by_care) {
        if (k < 0 || k >= m->nvars || k >= w->nb_bdd_vars) {
            propagate_constants(w, keep, coherent);
            return;
        }
        x = m->Bdd_var_by_index(k);
    }
    // a care cube that is no constant is applied through its literal array
    bool cube = how == by_care && care.node_ptr != nullptr && care.node_ptr != m->terminal && m->Bdd_is_cube(care);
    cube_cofactor cofactor(m);
    if (cube) m->Bdd_node_to_literals(care.link, care.node_ptr, cofactor.vals.data());
    const position_bits& ids = w->expression_ids;
    const position_set visited = coherent && how != by_care ? w->readers[k] : position_set(ids.begin(), ids.end());
    for (long i : visited) {
        Bddexpression* e = slot_at(w, i);
        if (e == nullptr || e->bdd_exp.manager == nullptr) continue;
        bdd f;
        if (cube) {
            f = cofactor.of(e->bdd_exp);
        } else if (how == by_care) {
            f = m->Bdd_reduce(e->bdd_exp, care);
        } else if (coherent) {
            // what Bdd_exist and Bdd_forall give on a function that reads x, the cofactor by x first
            bdd f1 = cofactor.of(e->bdd_exp, k, 1);
            bdd f0 = cofactor.of(e->bdd_exp, k, 0);
            f = how == by_exist ? m->Bdd_or(f0, f1) : m->Bdd_and(f0, f1);
        } else {
            f = how == by_exist ? m->Bdd_exist(e->bdd_exp, x) : m->Bdd_forall(e->bdd_exp, x);
        }
        follow_support(w, i, e, f);
    }
    propagate_constants(w, keep, coherent, coherent && how != by_care ? &visited : nullptr);
}

const std::list<int> no_keep;

// Readers r of i whose slot is empty are noted in missing; the others receive e's function once.
// Each d of e's dependencies then reads through r instead of i.
void substitute_into_readers(Bddexpressionwood* w, long i, Bddexpression* e, const position_set& read)
{
    bddpp_manager* m = w->manager;
    position_set readers = w->readers[i];
    position_set missing;
    for (long r : readers) {
        Bddexpression* o = slot_at(w, r);
        if (o == nullptr) {
            missing.insert(r);
            continue;
        }
        if (has_member(o) && has_member(e)) o->bdd_exp = m->Bdd_compose(o->bdd_exp, e->bdd_var, e->bdd_exp);
        o->dependances.erase(i);
        o->dependances.insert(read.begin(), read.end());
    }
    for (long d : read) {
        if (d < 0 || d >= w->nb_bdd_vars) continue;
        w->readers[d].erase(i);
        w->readers[d].insert(readers.begin(), readers.end());
    }
    for (long r : missing) w->readers[i].erase(r);
}

// Deletes the equation at i after its substitution.
void drop_equation(Bddexpressionwood* w, long i)
{
    delete w->exp_table[i];
    w->exp_table[i] = nullptr;
    w->readers[i].clear();
    w->ids_erase(i);
}

// A reader r stays in the set of i when its slot holds an equation that lists i.
void clean_reader_sets(Bddexpressionwood* w)
{
    for (long i = 0; i < w->nb_bdd_vars; i++) {
        w->readers[i].keep_if([w, i](long r) {
            const Bddexpression* o = slot_at(w, r);
            return o != nullptr && o->dependances.count(i) != 0;
        });
    }
}

// Equations that read their own variable, directly or once a loop of substitutions has closed.
bool reads_itself(const Bddexpressionwood* w, long i, const Bddexpression* e)
{
    return e->dependances.count(i) != 0 || w->readers[i].count(i) != 0;
}

// The substitution of the equation at i, whose guards have been checked, and its deletion.
void suppress(Bddexpressionwood* w, long i)
{
    Bddexpression* e = w->exp_table[i];
    const position_set read = e->dependances;
    substitute_into_readers(w, i, e, read);
    drop_equation(w, i);
}

// New dates after wire suppression: the early date of each equation is up_critical_path(c, 1, 1) and
// the late date of its variable down_critical_path(c, 1, 0). Both are computed for every equation at
// once, in topological order; an equation whose walk would meet a cycle keeps the date it had.
void critical_path_dates(Bddexpressionwood* w)
{
    const long n = w->nb_bdd_vars;
    std::vector<char> node(n, 0);
    for (long c = 0; c < n; c++) node[c] = w->exp_table[c] != nullptr;
    // up: heaviest chain through the dependencies that hold an equation, the equation's weight included
    std::vector<std::vector<long>> read_by(n);
    for (long c = 0; c < n; c++)
        if (node[c])
            for (long d : w->exp_table[c]->dependances)
                if (d >= 0 && d < n && node[d]) read_by[d].push_back(c);
    std::vector<long> order;
    auto before_readers = [&](long p, auto add) {
        for (long q : read_by[p]) add(q);
    };
    topological_order(n, node, before_readers, order);
    std::vector<long> up(n, 0);
    for (long c : order) {
        long best = 0;
        for (long d : w->exp_table[c]->dependances)
            if (d >= 0 && d < n && node[d]) best = std::max(best, up[d]);
        up[c] = w->exp_table[c]->weight + best;
        w->exp_table[c]->early_date = 1 + up[c];
    }
    // down: heaviest chain of readers that hold an equation, below the equation
    std::vector<std::vector<long>> read_from(n);
    for (long c = 0; c < n; c++)
        if (node[c])
            for (long r : w->readers[c])
                if (r >= 0 && r < n && node[r]) read_from[r].push_back(c);
    auto before_dependencies = [&](long p, auto add) {
        for (long q : read_from[p]) add(q);
    };
    topological_order(n, node, before_dependencies, order);
    std::vector<long> down(n, 0);
    for (long c : order) {
        long best = 0;
        for (long r : w->readers[c])
            if (r >= 0 && r < n && node[r]) best = std::max(best, w->exp_table[r]->weight + down[r]);
        down[c] = best;
        w->exp_table[c]->setLateDate(best);
    }
}

// What internal_global_build_dependances() gives (every dependency set from its right member, every
// reader set from the dependencies), written only where it changes: the propagation runs once per
// forgotten input, on a forest that is mostly as it was.
void rebuild_dependances(Bddexpressionwood* w)
{
    bddpp_manager* m = w->manager;
    const long n = w->nb_bdd_vars;
    std::vector<long> support;
    std::vector<const bdd_node*> todo;
    std::unordered_set<const bdd_node*> seen;
    std::vector<long> start(n + 1, 0);
    for (long i = 0; i < n; i++) {
        Bddexpression* e = w->exp_table[i];
        if (e == nullptr) continue;
        if (e->abstraction == 0 && e->bdd_exp.manager == m && e->bdd_exp.node_ptr != nullptr) {
            support.clear();
            seen.clear();
            todo.assign(1, e->bdd_exp.node_ptr);
            while (!todo.empty()) {
                const bdd_node* x = todo.back();
                todo.pop_back();
                if (x == nullptr || x->var < 0 || !seen.insert(x).second) continue;
                support.push_back(m->id_to_pos[x->var]);
                todo.push_back(x->then_node);
                todo.push_back(x->else_node);
            }
            std::sort(support.begin(), support.end());
            support.erase(std::unique(support.begin(), support.end()), support.end());
            if (support.size() != e->dependances.size() ||
                !std::equal(support.begin(), support.end(), e->dependances.begin()))
                e->dependances = position_set(support.begin(), support.end());
        } else {
            e->internal_build_dependances();
        }
        for (long d : e->dependances)
            if (d >= 0 && d < n) start[d + 1]++;
    }
    for (long d = 0; d < n; d++) start[d + 1] += start[d];
    std::vector<long> fill(start.begin(), start.end() - 1), list(start[n]);
    for (long i = 0; i < n; i++) {
        Bddexpression* e = w->exp_table[i];
        if (e == nullptr) continue;
        for (long d : e->dependances)
            if (d >= 0 && d < n) list[fill[d]++] = i;
    }
    for (long d = 0; d < n; d++) {
        position_set& rs = w->readers[d];
        const long* first = list.data() + start[d];
        const long* last = list.data() + start[d + 1];
        if (static_cast<long>(rs.size()) != last - first || !std::equal(first, last, rs.begin()))
            rs = position_set(first, last);
    }
}

// The constant propagation. coherent: the dependency sets are those of the right members and the
// reader sets mirror them, as the rebuild that ends a propagation leaves them; the sets are then
// kept in step fold by fold, which gives what the rebuild gives, without a pass over the forest.
// changed (coherent only): the equations changed since the last propagation; only they can have
// become foldable (a kept constant read by abstract equations folds again into nothing).
void propagate_constants(Bddexpressionwood* w, const std::list<int>& keep, bool coherent,
                         const position_set* changed)
{
    if (w->expression_ids.empty()) return;
    bddpp_manager* m = w->manager;
    auto foldable = [&](long i) {
        Bddexpression* e = slot_at(w, i);
        return has_member(e) && !w->readers[i].empty() && m->Bdd_is_tautology(e->bdd_exp);
    };
    // Every fold is a change: a reader made constant is folded in turn, whatever its position. The
    // pending positions are taken in ascending order; the result does not depend on it, since the
    // cofactors by the folded literals commute.
    std::set<long> pending;
    auto note = [&](long i) {
        if (foldable(i)) pending.insert(pending.end(), i);
    };
    if (changed != nullptr)
        for (long i : *changed) note(i);
    else
        for (long i : w->expression_ids) note(i);
    std::vector<std::pair<long, position_set>> unchanged; // folded positions and their readers left as they were
    std::vector<std::pair<long, long>> dropped;              // (d, r): r no longer reads d
    cube_cofactor cofactor(m);
    while (!pending.empty()) {
        long i = *pending.begin();
        pending.erase(pending.begin());
        if (!foldable(i)) continue;
        Bddexpression* e = w->exp_table[i];
        // Bdd_reduce(f_r, literal of x_i), through the literal array
        int value = m->Bdd_is_tautology(e->bdd_exp, 1) ? 1 : 0;
        position_set left;
        for (long r : w->readers[i]) {
            Bddexpression* o = slot_at(w, r);
            if (o == nullptr || o->abstraction != 0 || o->bdd_exp.manager == nullptr) {
                if (o != nullptr) left.insert(left.end(), r);
                continue;
            }
            position_set before = coherent ? o->dependances : position_set();
            o->bdd_exp = cofactor.of(o->bdd_exp, i, value);
            o->internal_build_dependances();
            // the reader sets are those of before the propagation until it ends
            if (coherent)
                for (long d : before)
                    if (d != i && d >= 0 && d < w->nb_bdd_vars && o->dependances.count(d) == 0) dropped.push_back({d, r});
            if (r != i && foldable(r)) pending.insert(r);
        }
        w->readers[i].clear();
        if (coherent && !left.empty()) unchanged.push_back({i, left});
        if (!kept(keep, e)) {
            delete e;
            w->exp_table[i] = nullptr;
            w->ids_erase(i);
        }
    }
    if (!coherent) {
        rebuild_dependances(w); // as internal_global_build_dependances()
        return;
    }
    for (const std::pair<long, long>& x : dropped) {
        Bddexpression* o = slot_at(w, x.second);
        if (o == nullptr || o->dependances.count(x.first) == 0) w->readers[x.first].erase(x.second);
    }
    for (auto& u : unchanged) w->readers[u.first].insert(u.second.begin(), u.second.end());
}

} // namespace

void Bddexpressionwood::constants_propagation(const std::list<int>& keep)
{
    propagate_constants(this, keep, false);
}

void Bddexpressionwood::constants_propagation()
{
    constants_propagation(no_keep);
}

int Bddexpressionwood::global_tautology()
{
    constants_propagation();
    for (long i : expression_ids) {
        Bddexpression* e = slot_at(this, i);
        if (e == nullptr) continue;
        if (e->bdd_exp.manager == nullptr || !manager->Bdd_is_tautology(e->bdd_exp)) return 0;
    }
    return 1;
}

void Bddexpressionwood::reduce_expressions(bdd care, const std::list<int>& keep)
{
    reduce_all(this, by_care, care, -1, keep, false);
}

void Bddexpressionwood::reduce_expressions(bdd care)
{
    reduce_all(this, by_care, care, -1, no_keep, false);
}

void Bddexpressionwood::reduce_expressions_when_var_forgotten_by_exist_op(long k)
{
    reduce_all(this, by_exist, bdd(), k, no_keep, false);
}

void Bddexpressionwood::reduce_expressions_when_var_forgotten_by_forall_op(long k)
{
    reduce_all(this, by_forall, bdd(), k, no_keep, false);
}

void Bddexpressionwood::reduce_expressions_when_var_forgotten_by_exist_op(long k, const std::list<int>& keep)
{
    reduce_all(this, by_exist, bdd(), k, keep, false);
}

void Bddexpressionwood::reduce_expressions_when_var_forgotten_by_forall_op(long k, const std::list<int>& keep)
{
    reduce_all(this, by_forall, bdd(), k, keep, false);
}

void Bddexpressionwood::reduce_expressions_when_vars_forgotten(const std::vector<long>& positions, int forall,
                                                               const std::list<int>& keep)
{
    // after the first variable the forest is as the rebuild leaves it
    for (size_t k = 0; k < positions.size(); k++)
        reduce_all(this, forall ? by_forall : by_exist, bdd(), positions[k], keep, k > 0);
}

void Bddexpressionwood::suppress_locals(const std::list<int>& keep)
{
    for (long i = 0; i < nb_bdd_vars; i++) {
        Bddexpression* e = exp_table[i];
        if (e == nullptr || kept(keep, e) || readers[i].empty() || e->dependances.empty()) continue;
        // an equation reading itself cannot be substituted away; nor a function that is only named
        if (reads_itself(this, i, e) || e->abstraction != 0 || read_by_abstract(this, i)) continue;
        suppress(this, i);
    }
    // The kept equations are kept by the propagation too: a kept constant that is read would
    // otherwise leave its variable (a declared output or next state) without an equation.
    constants_propagation(keep);
    clean_reader_sets(this);
}

void Bddexpressionwood::suppress_locals()
{
    suppress_locals(no_keep);
}

void Bddexpressionwood::suppress_local(long b)
{
    Bddexpression* e = slot_at(this, b);
    if (e == nullptr || readers[b].empty() || e->dependances.empty()) return;
    if (reads_itself(this, b, e)) {
        self_dependance_report(b, *e);
        return;
    }
    if (e->abstraction != 0 || read_by_abstract(this, b)) return;
    suppress(this, b);
    constants_propagation();
    clean_reader_sets(this);
}

void Bddexpressionwood::suppress_wires(const std::list<int>& keep)
{
    for (long i = 0; i < nb_bdd_vars; i++) {
        Bddexpression* e = exp_table[i];
        if (e == nullptr || kept(keep, e) || e->abstraction != 0 || readers[i].empty()) continue;
        if (e->dependances.size() != 1 || read_by_abstract(this, i)) continue;
        // x := NOT x, or a loop of wires closed by an earlier substitution: left as it is
        if (reads_itself(this, i, e)) continue;
        ids_erase(i);
        suppress(this, i);
        late_dates[i] = 0;
    }
    constants_propagation(keep); // as in suppress_locals
    clean_reader_sets(this);
    critical_path_dates(this);
}

void Bddexpressionwood::suppress_wires()
{
    suppress_wires(no_keep);
}

bdd Bddexpressionwood::reduce_proposition_by_assertion()
{
    std::list<long> order = latest_sort();
    for (long i : order) {
        Bddexpression* e = slot_at(this, i);
        if (e == nullptr || e->bdd_exp.manager == nullptr || manager->Bdd_is_tautology(e->bdd_exp)) continue;
        return manager->Bdd_one_implicant(e->bdd_exp);
    }
    return manager->Bdd_one();
}
