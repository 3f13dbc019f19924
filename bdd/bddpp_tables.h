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
// A slot is one 64-bit word: the node's address (nodes are 32-byte aligned, below 2^47) beside
// the low bits of its hash. A probe reads the node itself only when those bits agree, and the
// table grows without reading any node while its home slots fit in them. Eight bytes a slot keep
// twice as many slots in each cache line and the processor's caches as a pointer and a hash side
// by side would.
class bdd_unique_table {
public:
    bdd_unique_table();
    ~bdd_unique_table();
    bdd_unique_table(const bdd_unique_table&) = delete;
    bdd_unique_table& operator=(const bdd_unique_table&) = delete;
    bdd_node* find(long var, int else_link, const bdd_node* then, const bdd_node* els) const
    {
        size_t free_slot;
        uint64_t free_tag;
        return find(var, else_link, then, els, free_slot, free_tag);
    }
    // The same, leaving on a miss the free slot where the probe stopped and the tag of the
    // identity looked for, for insert_at.
    bdd_node* find(long var, int else_link, const bdd_node* then, const bdd_node* els, size_t& free_slot,
                   uint64_t& free_tag) const;
    void insert(bdd_node* n); // replaces a node of the same identity, if any
    // Inserts n, of the identity the last find missed, where that find left it (the table
    // unchanged since): the slot insert would take, without probing again.
    void insert_at(bdd_node* n, size_t free_slot, uint64_t free_tag)
    {
        slots[free_slot] = slot_of(n, free_tag);
        if (++count * 2 > capacity) grow();
    }
    bool erase(bdd_node* n);  // true when n was in the table
    size_t size() const { return count; }

    // f(node) for every node, in slot order; the nodes a few slots ahead are fetched meanwhile.
    template <class F> void for_each(F f) const
    {
        for (size_t i = 0; i < capacity; ++i) {
            if (i + ahead < capacity && slots[i + ahead]) __builtin_prefetch(node_of(slots[i + ahead]));
            if (slots[i]) f(node_of(slots[i]));
        }
    }
    // Takes out every node for which dead(node) holds, in one pass over the slots: cheaper than
    // erasing them one by one once they are many. dead may delete the node it answers true for;
    // the nodes left in the table must keep their children in place meanwhile.
    template <class F> void erase_if(F dead)
    {
        for (size_t i = 0; i < capacity; ++i) {
            if (i + ahead < capacity && slots[i + ahead]) __builtin_prefetch(node_of(slots[i + ahead]));
            // a following entry may move into the slot freed: it is looked at in turn
            while (slots[i] && dead(node_of(slots[i]))) remove_at(i);
        }
    }

private:
    // A slot: bits 0-41 the node's address divided by 32, bits 42-63 a tag of 22 bits of its
    // hash; 0 in a free slot. Up to tag_slots slots the tag is the hash's low bits, so it holds
    // the home too; past that, where it cannot, the hash's top bits (homes then come from the
    // nodes, which only growth and erasure need).
    typedef uint64_t slot;
    static const int tag_shift = 42;
    static const uint64_t address_mask = (uint64_t(1) << tag_shift) - 1;
    static const size_t tag_slots = size_t(1) << (64 - tag_shift); // capacities whose homes the tags hold

    // The slots: zero bytes make a free slot, so memory fresh from the system is an empty table
    // without a pass of its own. A small table's come from Zeroed_array_allocate (the heap);
    // from region_bytes on they lie at the start of a region reserved for as many slots as the
    // node budget needs, and grow in place there (huge pages from the start). Without a region
    // (the system refused it) they come from Zeroed_array_allocate at every size.
    slot* slots;
    size_t capacity; // number of slots, a power of two; at most half of them are used
    size_t count;    // nodes in the table
    size_t reserved; // slots the region holds; 0 without a region

    static uint64_t hash(long var, int else_link, const bdd_node* then, const bdd_node* els);
    static bdd_node* node_of(slot s) { return reinterpret_cast<bdd_node*>((s & address_mask) << 5); }
    static slot slot_of(const bdd_node* n, uint64_t tag)
    {
        return (static_cast<uint64_t>(reinterpret_cast<uintptr_t>(n)) >> 5) | (tag << tag_shift);
    }
    uint64_t tag(uint64_t h) const { return capacity <= tag_slots ? h & (tag_slots - 1) : h >> tag_shift; }
    size_t home(uint64_t h) const { return h & (capacity - 1); }
    size_t home_of(slot s) const; // the home of a slot's node
    static const size_t ahead = 16; // how many slots ahead a pass over the table fetches nodes
    static const size_t region_bytes = size_t(1) << 18; // from this size on, slots in a region
    void grow();
    void place(slot s);       // into the first free slot from its home
    void place_tagged_anew(slot s); // the same with the tag of the present size
    void remove_at(size_t i); // frees slot i, moving back the entries after it as needed
};

// Direct-mapped cache of node-level results. Entries hold bare node pointers, so the cache is
// emptied whenever nodes are freed (Bdd_gc, the destructor): a hit can only name a live node.
class bdd_computed_table {
public:
    enum op_code { op_and = 1, op_exist = 2, op_forall = 3, op_xor = 4 };

    bdd_computed_table();
    ~bdd_computed_table();
    bdd_computed_table(const bdd_computed_table&) = delete;
    bdd_computed_table& operator=(const bdd_computed_table&) = delete;
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
    // Grows the cache to follow the unique table; called at each new node, so the common case
    // (nothing to do) stays inline.
    void fit(size_t nodes)
    {
        if (nodes > size && size < limit) grow_to(nodes);
    }

private:
    struct entry {
        const bdd_node* x; // first operand node; null in an empty entry
        const bdd_node* y; // second operand node
        int key;           // operation code and the two operand links
        int link;          // link of the result
        bdd_node* r;       // result node
    };
    // The entries, zero bytes in an empty one; a small cache's on the heap. From region_bytes on
    // they lie in a region reserved for the largest cache (one huge page) and grow in place
    // there. A growing cache keeps its entries: they are still right results, found again
    // wherever their new slot falls or overwritten in time.
    entry* entries;
    size_t size;    // number of entries, a power of two
    bool in_region; // whether entries lie in a reserved region of limit entries

    // 2 MiB: the cache stays in the processor's caches; a larger one misses in memory at
    // each lookup, which costs more than the work a hit saves
    static const size_t limit = size_t(1) << 16;
    static const size_t region_bytes = size_t(1) << 18; // from this size on, entries in a region

    static int cache_key(int op, int a, int b) { return op * 16 + (a + 1) * 4 + (b + 1); }
    size_t slot(int key, const bdd_node* x, const bdd_node* y) const
    {
        size_t h = (reinterpret_cast<size_t>(x) >> 4) * 0x9e3779b97f4a7c15ULL
                   + (reinterpret_cast<size_t>(y) >> 4) * 0xc2b2ae3d27d4eb4fULL + static_cast<size_t>(key);
        h ^= h >> 29;
        h *= 0xbf58476d1ce4e5b9ULL;
        h ^= h >> 32;
        return h & (size - 1);
    }
    void grow_to(size_t nodes);
};

#endif
