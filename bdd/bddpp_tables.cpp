// The unique table and the operation cache of the manager.
#include "bdd/bddpp_tables.h"

#include <algorithm>
#include <iostream>

namespace {

size_t mix(size_t h)
{
    h ^= h >> 29;
    h *= 0xbf58476d1ce4e5b9ULL;
    h ^= h >> 32;
    return h;
}

size_t pointer_bits(const bdd_node* n) { return reinterpret_cast<size_t>(n) >> 4; }

} // namespace

bdd_unique_table::bdd_unique_table()
    : slots(static_cast<slot*>(Zeroed_array_allocate((size_t(1) << 11) * sizeof(slot)))),
      capacity(size_t(1) << 11), count(0), reserved(0)
{
}

bdd_unique_table::~bdd_unique_table()
{
    if (reserved) Large_region_release(slots, reserved * sizeof(slot));
    else Zeroed_array_free(slots, capacity * sizeof(slot));
}

uint64_t bdd_unique_table::hash(long var, int else_link, const bdd_node* then, const bdd_node* els)
{
    size_t h = static_cast<size_t>(var) * 0x9e3779b97f4a7c15ULL;
    h ^= pointer_bits(then) * 0xc2b2ae3d27d4eb4fULL;
    h ^= pointer_bits(els) * 0x165667b19e3779f9ULL + (else_link == 1 ? 1 : 0);
    return mix(h);
}

size_t bdd_unique_table::home_of(slot s) const
{
    if (capacity <= tag_slots) return home(s >> tag_shift);
    const bdd_node* n = node_of(s);
    return home(hash(n->var, n->else_link, n->then_node, n->else_node));
}

bdd_node* bdd_unique_table::find(long var, int else_link, const bdd_node* then, const bdd_node* els,
                                  size_t& free_slot, uint64_t& free_tag) const
{
    const uint64_t h = hash(var, else_link, then, els);
    const slot tagged = slot_of(nullptr, tag(h));
    const size_t mask = capacity - 1;
    for (size_t i = home(h);; i = (i + 1) & mask) {
        const slot s = slots[i];
        if (!s) {
            free_slot = i;
            free_tag = tagged >> tag_shift;
            return nullptr;
        }
        if ((s & ~address_mask) == tagged) {
            bdd_node* n = node_of(s);
            if (n->var == var && n->then_node == then && n->else_node == els && n->else_link == else_link) return n;
        }
    }
}

void bdd_unique_table::insert(bdd_node* n)
{
    const uintptr_t address = reinterpret_cast<uintptr_t>(n);
    if ((address & 31) != 0 || (address >> (tag_shift + 5)) != 0) {
        std::cerr << "FATAL ERROR: bdd_unique_table::insert(): node address " << static_cast<const void*>(n)
                  << " is not 32-byte aligned below 2^47" << std::endl;
        bdd_exit(1);
    }
    const uint64_t h = hash(n->var, n->else_link, n->then_node, n->else_node);
    const slot mine = slot_of(n, tag(h));
    const size_t mask = capacity - 1;
    size_t i = home(h);
    for (; slots[i]; i = (i + 1) & mask)
        if ((slots[i] & ~address_mask) == (mine & ~address_mask) && *node_of(slots[i]) == *n) { // same identity: the newcomer takes its place
            slots[i] = mine;
            return;
        }
    slots[i] = mine;
    if (++count * 2 > capacity) grow();
}

bool bdd_unique_table::erase(bdd_node* n)
{
    const uint64_t h = hash(n->var, n->else_link, n->then_node, n->else_node);
    const slot mine = slot_of(n, tag(h));
    const size_t mask = capacity - 1;
    size_t i = home(h);
    for (; slots[i] != mine; i = (i + 1) & mask)
        if (!slots[i]) return false;
    remove_at(i);
    return true;
}

void bdd_unique_table::remove_at(size_t i)
{
    const size_t mask = capacity - 1;
    // the hole moves down the run: an entry whose home lies cyclically outside (hole, j]
    // takes it, so every entry stays reachable from its home
    for (size_t j = (i + 1) & mask; slots[j]; j = (j + 1) & mask) {
        size_t k = home_of(slots[j]);
        if (((j - k) & mask) >= ((j - i) & mask)) {
            slots[i] = slots[j];
            i = j;
        }
    }
    slots[i] = 0;
    --count;
}

void bdd_unique_table::place(slot s)
{
    const size_t mask = capacity - 1;
    size_t i = home_of(s);
    while (slots[i]) i = (i + 1) & mask;
    slots[i] = s;
}

void bdd_unique_table::place_tagged_anew(slot s)
{
    const bdd_node* n = node_of(s);
    const uint64_t h = hash(n->var, n->else_link, n->then_node, n->else_node);
    const size_t mask = capacity - 1;
    size_t i = home(h);
    while (slots[i]) i = (i + 1) & mask;
    slots[i] = slot_of(n, tag(h));
}

void bdd_unique_table::grow()
{
    slot* const old = slots;
    const size_t old_capacity = capacity;
    if (2 * old_capacity <= reserved) {
        // in place: the upper half comes zero from the region, then every entry moves to its
        // place under the new size. Taken out and placed again one by one, from the first free
        // slot on, an entry only ever passes over entries placed already, which stay: so every
        // entry stays reachable from its home. The run before the first free slot may hold
        // entries whose homes lie at the end (their run went round): they are placed last.
        if (!Large_region_extend(slots, 2 * old_capacity * sizeof(slot))) throw std::bad_alloc();
        capacity = 2 * old_capacity;
        size_t first_free = 0;
        while (slots[first_free]) ++first_free; // at most half of the slots were used
        std::vector<slot> wrapped(slots, slots + first_free);
        std::fill(slots, slots + first_free, slot(0));
        // past the tags' reach each entry is placed from its node's hash and takes the tag of
        // the new size: the nodes a few slots ahead are fetched meanwhile
        const bool reads_nodes = capacity > tag_slots;
        for (size_t j = first_free + 1; j < old_capacity; ++j) {
            if (reads_nodes && j + ahead < old_capacity && slots[j + ahead])
                __builtin_prefetch(node_of(slots[j + ahead]));
            if (const slot s = slots[j]) {
                slots[j] = 0;
                if (reads_nodes) place_tagged_anew(s);
                else place(s);
            }
        }
        for (slot s : wrapped)
            if (reads_nodes) place_tagged_anew(s);
            else place(s);
        return;
    }
    // by copying: into a region once the slots pass the heap's sizes (the first time, or a
    // larger one when the budget was raised past the region), else into a new array
    const size_t bytes = 2 * old_capacity * sizeof(slot);
    slot* larger = nullptr;
    size_t larger_reserved = 0;
    if (bytes >= region_bytes) {
        // room for the node budget at half load, within 64 GiB of address space
        size_t most = 2 * old_capacity;
        while (most / 2 <= static_cast<size_t>(bdd_node_limit) && most < (size_t(1) << 33)) most *= 2;
        if (void* region = Large_region_reserve(most * sizeof(slot))) {
            if (Large_region_extend(region, bytes)) {
                larger = static_cast<slot*>(region);
                larger_reserved = most;
            } else {
                Large_region_release(region, most * sizeof(slot));
            }
        }
    }
    if (!larger) larger = static_cast<slot*>(Zeroed_array_allocate(bytes));
    slots = larger;
    capacity = 2 * old_capacity;
    const bool reads_nodes = capacity > tag_slots;
    for (size_t j = 0; j < old_capacity; ++j) {
        if (reads_nodes && j + ahead < old_capacity && old[j + ahead]) __builtin_prefetch(node_of(old[j + ahead]));
        if (!old[j]) continue;
        if (reads_nodes) place_tagged_anew(old[j]);
        else place(old[j]);
    }
    if (reserved) Large_region_release(old, reserved * sizeof(slot));
    else Zeroed_array_free(old, old_capacity * sizeof(slot));
    reserved = larger_reserved;
}

bdd_computed_table::bdd_computed_table()
    : entries(static_cast<entry*>(Zeroed_array_allocate((size_t(1) << 10) * sizeof(entry)))),
      size(size_t(1) << 10), in_region(false)
{
}

bdd_computed_table::~bdd_computed_table()
{
    if (in_region) Large_region_release(entries, limit * sizeof(entry));
    else Zeroed_array_free(entries, size * sizeof(entry));
}

void bdd_computed_table::clear() { std::fill(entries, entries + size, entry{nullptr, nullptr, 0, 0, nullptr}); }

void bdd_computed_table::grow_to(size_t nodes)
{
    size_t n = size;
    while (n < nodes && n < limit) n *= 2;
    if (in_region) {
        if (!Large_region_extend(entries, n * sizeof(entry))) throw std::bad_alloc();
        size = n;
        return;
    }
    // past the heap's sizes the entries move once to a region for the largest cache; the
    // entries kept are still right results
    entry* larger = nullptr;
    if (n * sizeof(entry) >= region_bytes) {
        if (void* region = Large_region_reserve(limit * sizeof(entry))) {
            if (Large_region_extend(region, n * sizeof(entry))) {
                larger = static_cast<entry*>(region);
                in_region = true;
            } else {
                Large_region_release(region, limit * sizeof(entry));
            }
        }
    }
    if (!larger) larger = static_cast<entry*>(Zeroed_array_allocate(n * sizeof(entry)));
    std::copy(entries, entries + size, larger);
    Zeroed_array_free(entries, size * sizeof(entry));
    entries = larger;
    size = n;
}
