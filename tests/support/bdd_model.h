// Truth-table model of BDD functions for the tests: random functions built both ways.
#ifndef NELVOR_TESTS_BDD_MODEL_H
#define NELVOR_TESTS_BDD_MODEL_H

#include <bitset>
#include <random>
#include <string>
#include <vector>

#include "bdd/bddpp.h"

typedef std::bitset<1024> table; // bit a: the value under assignment a (bit p of a: position p)

// Value of f under the assignment a (bit p = value of the variable at position p).
inline bool eval_bdd(bddpp_manager& m, const bdd& f, unsigned a)
{
    int link = f.link;
    bdd_node* n = f.node_ptr;
    while (n != m.terminal) {
        long p = m.id_to_pos[n->var];
        if ((a >> p) & 1) {
            n = n->then_node;
        } else {
            link *= n->else_link;
            n = n->else_node;
        }
    }
    return link == 1;
}

inline table table_of(bddpp_manager& m, const bdd& f, int nv)
{
    table t;
    for (unsigned a = 0; a < (1u << nv); ++a) t[a] = eval_bdd(m, f, a);
    return t;
}

inline table all_ones(int nv)
{
    table t;
    for (unsigned a = 0; a < (1u << nv); ++a) t[a] = true;
    return t;
}

inline table var_table(int p, int nv)
{
    table t;
    for (unsigned a = 0; a < (1u << nv); ++a) t[a] = (a >> p) & 1;
    return t;
}

// A manager with nv variables x0 .. x{nv-1}, ids equal to positions.
inline std::vector<bdd> make_vars(bddpp_manager& m, int nv)
{
    std::vector<bdd> v;
    for (int i = 0; i < nv; ++i) v.push_back(m.New_var_last("x" + std::to_string(i)));
    return v;
}

// A function and its truth table.
struct model_fn {
    bdd f;   // the function
    table t; // its truth table
};

// A random function of the nv variables, from a random expression of the given depth.
inline model_fn random_fn(bddpp_manager& m, const std::vector<bdd>& v, int nv, std::mt19937& rng, int depth)
{
    if (depth == 0 || rng() % 5 == 0) {
        int p = int(rng() % nv);
        if (rng() % 2) return {v[p], var_table(p, nv)};
        return {m.Bdd_not(v[p]), ~var_table(p, nv) & all_ones(nv)};
    }
    model_fn a = random_fn(m, v, nv, rng, depth - 1);
    model_fn b = random_fn(m, v, nv, rng, depth - 1);
    switch (rng() % 3) {
    case 0: return {m.Bdd_and(a.f, b.f), a.t & b.t};
    case 1: return {m.Bdd_or(a.f, b.f), a.t | b.t};
    default: return {m.Bdd_xor(a.f, b.f), a.t ^ b.t};
    }
}

#endif
