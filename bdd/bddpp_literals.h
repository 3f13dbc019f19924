// Cubes as short lists of literals, shared by the cover algorithms and the text writers.
#ifndef NELVOR_BDDPP_LITERALS_H
#define NELVOR_BDDPP_LITERALS_H

#include <cstddef>
#include <cstdint>
#include <unordered_map>
#include <utility>
#include <vector>

#include "bdd/bddpp.h"

// (order position, 1 for a positive literal or 0 for a negative one), ascending positions.
// A cube of a manager with many variables mentions only a few of them, so the list costs
// what the cube holds, where a literal array would cost one entry per variable.
typedef std::vector<std::pair<long, int>> cube_literals;

// The literals along the path that Bdd_node_to_literals follows: those of c when c is a
// cube; nothing for either constant.
cube_literals Cube_literals(bddpp_manager* m, const bdd& c);

// The cube of lits as a function of m.
bdd Literals_cube(bddpp_manager* m, const cube_literals& lits);

// The cover of f of the kind (Bdd_sop) as literal lists, in cover order, without the cubes
// that are constant 0: the writers print an empty cover and the cover (0) alike. Ends the
// process, as Bdd_sop does, for a function of no manager or of another one.
std::vector<cube_literals> Cover_literals(bddpp_manager* m, const bdd& f, int kind);

// While one lives, the covers that the sum-of-products writers ask of its manager are kept by
// function and kind and handed out again: the targets of one run print the same covers, so
// each is computed once. A cover is computed where it was first asked, so the nodes that its
// computation creates come in the same order as without the scope; asking again would create
// none. The functions are told apart by their top node's number, which no other node ever
// takes, so a cover is never handed out for another function; the scope must not outlive a
// reordering of the variables. Scopes nest: the innermost one of the manager answers.
class cover_memo_scope {
public:
    explicit cover_memo_scope(bddpp_manager* m);
    ~cover_memo_scope();
    cover_memo_scope(const cover_memo_scope&) = delete;
    cover_memo_scope& operator=(const cover_memo_scope&) = delete;

    // Cover_literals(m, f, kind), computed the first time only: its cubes are the cubes
    // first to first + count - 1 of the scope.
    void cover(const bdd& f, int kind, std::size_t& first, std::size_t& count);
    // Literals of cube c: position times 2, plus 1 when positive, from lits[ends[c - 1]] (0
    // for the first cube) up to lits[ends[c]].
    const std::vector<std::uint32_t>& literals() const { return lits; }
    const std::vector<std::uint32_t>& cube_ends() const { return ends; }
    // The innermost living scope of m; null when there is none.
    static cover_memo_scope* of(bddpp_manager* m);

private:
    bddpp_manager* m;
    cover_memo_scope* outer; // the scope living when this one began
    // The kept covers in the order they were made, found by number, link and kind through an
    // open-addressed table of their indexes. The writers ask for the covers of the equations in
    // the same order each time: the cover after the last one found is tried first, so that most
    // look-ups read the covers one after the other instead of probing the table. A scope keeps
    // the covers of every equation of a run: the indexes are 32-bit, and a cover's cubes end
    // where the next one's begin.
    std::vector<unsigned long long> keys; // number, link and kind of each kept cover
    std::vector<std::uint32_t> firsts;    // first cube of each kept cover, then the end of the last one
    std::vector<std::uint32_t> slots;     // index + 1 of a kept cover, 0 when empty; a power of two, at most half used
    std::size_t next = 0;                 // the cover after the last one found
    std::uint32_t* find_slot(unsigned long long key);
    void forget(); // drops every kept cover
    std::vector<std::uint32_t> lits; // the literals of every kept cover, one after the other
    std::vector<std::uint32_t> ends; // where each cube ends in lits
};

// The report of a sum of products asked for a function of no manager or of another one;
// ends the process with status 1.
[[noreturn]] void Sop_fatal(const bdd& f);

#endif
