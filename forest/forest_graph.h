// Graph helpers of the forest's walks: an explicit-stack depth-first walk and a topological order.
#ifndef NELVOR_FOREST_GRAPH_H
#define NELVOR_FOREST_GRAPH_H

#include <vector>

#include "forest/position_set.h"

// One pending visit of a depth-first walk over a set of positions.
struct walk_frame {
    position_set::const_iterator at;     // next position to visit
    position_set::const_iterator end;    // end of the positions
    long level;                          // the walk's value for the frame (a depth or a date)
};

// Visits the positions of every frame, last frame first; visit(x, level) may push frames. The sets
// walked must not change during the walk. Walks of circuit depth need no call stack.
template <class Visit> void walk_frames(std::vector<walk_frame>& stack, Visit visit)
{
    while (!stack.empty()) {
        walk_frame& f = stack.back();
        if (f.at == f.end) {
            stack.pop_back();
            continue;
        }
        long x = *f.at++;
        long level = f.level;
        visit(x, level);
    }
}

// Kahn's order of the positions p < n with node[p] set, each after the nodes that reach it through
// for_each_next(p, add) (add(q) names one edge p -> q; edges to other positions are ignored).
// False when a cycle leaves nodes out.
template <class ForEachNext>
bool topological_order(long n, const std::vector<char>& node, ForEachNext for_each_next, std::vector<long>& order)
{
    std::vector<long> pending(n, 0);
    long nodes = 0;
    for (long p = 0; p < n; p++) {
        if (!node[p]) continue;
        nodes++;
        for_each_next(p, [&](long q) {
            if (q >= 0 && q < n && node[q]) pending[q]++;
        });
    }
    order.clear();
    for (long p = 0; p < n; p++)
        if (node[p] && pending[p] == 0) order.push_back(p);
    for (size_t k = 0; k < order.size(); k++)
        for_each_next(order[k], [&](long q) {
            if (q >= 0 && q < n && node[q] && --pending[q] == 0) order.push_back(q);
        });
    return static_cast<long>(order.size()) == nodes;
}

#endif
