// The manager's unique table (hash consing by full node identity) and its operation cache.
#ifndef NELVOR_BDDPP_TABLES_H
#define NELVOR_BDDPP_TABLES_H

#include <cstddef>
#include <cstdint>
#include <vector>

#include "bdd/bddpp.h"
#include "platform/large_memory.h"

// Open-addressing hash table of the nodes (linear probing). A node is found by its variable,
// else link and both child pointers, so distinct nodes never collide, whatever their numbers.
// Each slot keeps the node's hash beside its pointer: a probe reads the node itself only when
// the hashes agree, and the table grows without reading any node.
class bdd_unique_table {
public:
    bdd_unique_table();
    bdd_node* find(long var, int else_link, const bdd_node* then, const bdd_node* els) const;
    void insert(bdd_node* n); // replaces a node of the same identity, if any
    bool erase(bdd_node* n);  // true when n was in the table
    size_t size() const { return count; }

    template <class F> void for_each(F f) const
    {
        for (const entry& e : slots)
            if (e.node) f(e.node);
    }

private:
    struct entry {
        bdd_node* node; // null in a free slot
        uint32_t hash;  // low bits of the node's hash: its home slot and a quick filter
    };
    std::vector<entry, large_block_allocator<entry>> slots; // the size is a power of two, at most half of it used
    size_t count;             // nodes in the table

    static uint32_t hash(long var, int else_link, const bdd_node* then, const bdd_node* els);
    size_t home(uint32_t h) const { return h & (slots.size() - 1); }
    void grow();
};

// Direct-mapped cache of node-level results. Entries hold bare node pointers, so the cache is
// emptied whenever nodes are freed (Bdd_gc, the destructor): a hit can only name a live node.
class bdd_computed_table {
public:
    enum op_code { op_and = 1, op_exist = 2, op_forall = 3, op_xor = 4 };

    bdd_computed_table();
    // The three calls of each node-level step are inline: they cost less than their calls.
    bool lookup(int op, int a, const bdd_node* x, int b, const bdd_node* y, bdd_node*& r,
                int& link) const
    {
        const int key = cache_key(op, a, b);
        const entry& e = entries[slot(key, x, y)];
        if (e.x != x || e.y != y || e.key != key || !e.x) return false;
        r = e.r;
        link = e.link;
        return true;
    }
    void insert(int op, int a, bdd_node* x, int b, bdd_node* y, bdd_node* r, int link)
    {
        const int key = cache_key(op, a, b);
        entries[slot(key, x, y)] = entry{x, y, key, link, r};
    }
    // Starts reading the entry of a lookup to come, so that it is in the processor's cache then.
    void prefetch(int op, int a, const bdd_node* x, int b, const bdd_node* y) const
    {
        __builtin_prefetch(&entries[slot(cache_key(op, a, b), x, y)]);
    }
    void clear();
    // Grows (and empties) the cache to follow the unique table; called at each new node, so
    // the common case (nothing to do) stays inline.
    void fit(size_t nodes)
    {
        if (nodes > entries.size() && entries.size() < limit) grow_to(nodes);
    }

private:
    struct entry {
        const bdd_node* x; // first operand node; null in an empty entry
        const bdd_node* y; // second operand node
        int key;           // operation code and the two operand links
        int link;          // link of the result
        bdd_node* r;       // result node
    };
    std::vector<entry, large_block_allocator<entry>> entries; // the size is a power of two

    // 2 MiB: the cache stays in the processor's caches; a larger one misses in memory at
    // each lookup, which costs more than the work a hit saves
    static const size_t limit = size_t(1) << 16;

    static int cache_key(int op, int a, int b) { return op * 16 + (a + 1) * 4 + (b + 1); }
    size_t slot(int key, const bdd_node* x, const bdd_node* y) const
    {
        size_t h = (reinterpret_cast<size_t>(x) >> 4) * 0x9e3779b97f4a7c15ULL
                   + (reinterpret_cast<size_t>(y) >> 4) * 0xc2b2ae3d27d4eb4fULL + static_cast<size_t>(key);
        h ^= h >> 29;
        h *= 0xbf58476d1ce4e5b9ULL;
        h ^= h >> 32;
        return h & (entries.size() - 1);
    }
    void grow_to(size_t nodes);
};

#endif
