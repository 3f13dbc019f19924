// Small forests shared by the equation writer tests, with their node numbers worked out by hand.
#ifndef NELVOR_WRITERS_TEST_FOREST_H
#define NELVOR_WRITERS_TEST_FOREST_H

#include <list>
#include <set>
#include <string>

#include "forest/Bddexpression.h"

// Inputs a, b, c (nodes 2, 3, 4) and the equations, declared in this order:
//   s (node 5)   := a AND (b AND c)      top node 12 over node 11 = b AND c
//   t (node 6)   := a OR (b AND c)       top node 13, sharing node 11 with s
//   u (node 7)   := NOT a                a negated variable: not a copy
//   v (node 8)   := c                    a copy
//   y_1 (node 9) := t AND c              top node 14 = (c ? t : 0), read through t's variable node 6
//   k (node 10)  := 0                    a constant: the terminal, node 1, complemented
// Dates: k 0; s, t, u, v 1; y_1 2, so earliest_sort gives k, s, t, u, v, y_1.
struct writers_forest {
    Bddexpressionwood w;
    bddpp_manager* m;
    std::list<std::string> outputs; // y_1, v, k: a computed, a copied and a constant output

    writers_forest() : m(w.manager), outputs{"y_1", "v", "k"}
    {
        bdd a = w.New_var_last("a"), b = w.New_var_last("b"), c = w.New_var_last("c");
        bdd s = w.New_var_last("s"), t = w.New_var_last("t"), u = w.New_var_last("u");
        bdd v = w.New_var_last("v"), y = w.New_var_last("y_1"), k = w.New_var_last("k");
        bdd bc = m->Bdd_and(b, c);
        new Bddexpression("s", &w, s, m->Bdd_and(a, bc), 0, 0);
        new Bddexpression("t", &w, t, m->Bdd_or(a, bc), 0, 0);
        new Bddexpression("u", &w, u, m->Bdd_not(a), 0, 0);
        new Bddexpression("v", &w, v, c, 0, 0);
        new Bddexpression("y_1", &w, y, m->Bdd_and(t, c), 0, 0);
        new Bddexpression("k", &w, k, m->Bdd_zero(), 0, 0);
        w.compute_dates();
    }
};

// Input a (node 2), x (node 3) abstract, defined by the name fx, and y (node 4) := NOT a.
// Dates: x 0, y 1.
struct abstract_forest {
    Bddexpressionwood w;
    bddpp_manager* m;

    abstract_forest() : m(w.manager)
    {
        bdd a = w.New_var_last("a");
        w.New_var_last("x");
        bdd y = w.New_var_last("y");
        std::set<long> none;
        new Bddexpression(1L, &w, none, "fx", 0, 0);
        new Bddexpression("y", &w, y, m->Bdd_not(a), 0, 0);
        w.compute_dates();
    }
};

// Input a (node 2) and no equation.
struct empty_forest {
    Bddexpressionwood w;

    empty_forest()
    {
        w.New_var_last("a");
        w.compute_dates();
    }
};

// Inputs a (node 2) and b (node 4), b inserted before a after x was declared, so that ids and
// positions differ: b position 0 (id 2), a position 1 (id 0), x position 2 (id 1), y position 3 (id 3).
//   x (node 3) := a AND b      top node 6 = (b ? a : 0)
//   y (node 5) := NOT x        the variable node of x, complemented
// Dates: x 1, y 2.
struct inserted_forest {
    Bddexpressionwood w;
    bddpp_manager* m;

    inserted_forest() : m(w.manager)
    {
        bdd a = w.New_var_last("a");
        bdd x = w.New_var_last("x");
        bdd b = w.New_var_before_by_index(0, "b");
        bdd y = w.New_var_last("y");
        new Bddexpression("x", &w, x, m->Bdd_and(a, b), 0, 0);
        new Bddexpression("y", &w, y, m->Bdd_not(x), 0, 0);
        w.compute_dates();
    }
};

#endif
