// Small forests for the forest tests: named variables, equations by name, captured messages.
#ifndef NELVOR_TESTS_FOREST_FIXTURE_H
#define NELVOR_TESTS_FOREST_FIXTURE_H

#include <gtest/gtest.h>

#include <list>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "forest/Bddexpression.h"

// A forest with its variables declared at the end of the order, and helpers to define equations.
struct small_forest {
    Bddexpressionwood w;
    bddpp_manager* m;

    small_forest() : m(w.manager) {}
    explicit small_forest(const std::vector<std::string>& names) : m(w.manager)
    {
        for (const std::string& n : names) w.New_var_last(n);
    }
    bdd v(const std::string& name) { return m->Bdd_var_by_name(name); }
    long pos(const std::string& name) { return m->Index_var_by_name(name); }
    // Registers name := f (dates 0) and returns the equation.
    Bddexpression* define(const std::string& name, const bdd& f)
    {
        return new Bddexpression(name, &w, v(name), f, 0, 0);
    }
    Bddexpression* eq(const std::string& name) { return w.exp_table[pos(name)]; }
    long early(const std::string& name) { return eq(name)->early_date; }
    long late(const std::string& name) { return w.late_dates[pos(name)]; }
    bdd AND(const bdd& f, const bdd& g) { return m->Bdd_and(f, g); }
    bdd OR(const bdd& f, const bdd& g) { return m->Bdd_or(f, g); }
    bdd NOT(const bdd& f) { return m->Bdd_not(f); }
};

// A random acyclic forest: inputs i0 .. i(inputs-1), then equations e0 .. e(count-1), each the conjunction
// (random polarities) of 2 to 4 distinct variables declared before it.
inline void random_acyclic_forest(small_forest& f, long inputs, long count, std::mt19937& rng)
{
    for (long k = 0; k < inputs; k++) f.w.New_var_last("i" + std::to_string(k));
    for (long k = 0; k < count; k++) f.w.New_var_last("e" + std::to_string(k));
    for (long k = 0; k < count; k++) {
        long before = inputs + k;
        long fan_in = std::min<long>(before, 2 + static_cast<long>(rng() % 3));
        std::set<long> chosen;
        while (static_cast<long>(chosen.size()) < fan_in) chosen.insert(static_cast<long>(rng() % before));
        bdd g = f.m->Bdd_one();
        for (long p : chosen) {
            bdd x = f.m->Bdd_var_by_index(p);
            g = f.m->Bdd_and(g, rng() % 2 ? x : f.m->Bdd_not(x));
        }
        new Bddexpression(&f.w, f.m->Bdd_var_by_index(inputs + k), g, 0, 0);
    }
}

// Two equal random acyclic forests of up to max_inputs inputs and max_count equations.
inline void twin_random_forests(small_forest& f, small_forest& g, long max_inputs, long max_count, std::mt19937& rng)
{
    long inputs = 1 + rng() % max_inputs, count = 1 + rng() % max_count;
    std::mt19937 copy = rng;
    random_acyclic_forest(f, inputs, count, rng);
    random_acyclic_forest(g, inputs, count, copy);
}

// x := a AND b, y := NOT x
struct and_not : small_forest {
    and_not() : small_forest({"a", "b", "x", "y"})
    {
        define("x", AND(v("a"), v("b")));
        define("y", NOT(v("x")));
    }
};

// The same, dated.
struct dated_and_not : and_not {
    dated_and_not() { w.compute_dates(); }
};

// x := a OR y, y := x AND b
struct or_and_cycle : small_forest {
    or_and_cycle() : small_forest({"a", "b", "x", "y"})
    {
        define("x", OR(v("a"), v("y")));
        define("y", AND(v("x"), v("b")));
    }
};

inline std::list<long> positions(std::initializer_list<long> l)
{
    return std::list<long>(l);
}

#endif
