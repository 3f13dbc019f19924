// The unique table and the operation cache of the manager.
#include "bdd/bddpp_tables.h"

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

bdd_unique_table::bdd_unique_table() : slots(1 << 11, entry{nullptr, 0}), count(0) {}

uint32_t bdd_unique_table::hash(long var, int else_link, const bdd_node* then, const bdd_node* els)
{
    size_t h = static_cast<size_t>(var) * 0x9e3779b97f4a7c15ULL;
    h ^= pointer_bits(then) * 0xc2b2ae3d27d4eb4fULL;
    h ^= pointer_bits(els) * 0x165667b19e3779f9ULL + (else_link == 1 ? 1 : 0);
    return static_cast<uint32_t>(mix(h));
}

bdd_node* bdd_unique_table::find(long var, int else_link, const bdd_node* then, const bdd_node* els) const
{
    const uint32_t h = hash(var, else_link, then, els);
    const size_t mask = slots.size() - 1;
    for (size_t i = home(h);; i = (i + 1) & mask) {
        const entry& e = slots[i];
        if (!e.node) return nullptr;
        if (e.hash == h && e.node->var == var && e.node->then_node == then && e.node->else_node == els
            && e.node->else_link == else_link)
            return e.node;
    }
}

void bdd_unique_table::insert(bdd_node* n)
{
    const uint32_t h = hash(n->var, n->else_link, n->then_node, n->else_node);
    const size_t mask = slots.size() - 1;
    size_t i = home(h);
    for (; slots[i].node; i = (i + 1) & mask)
        if (slots[i].hash == h && *slots[i].node == *n) { // same identity: the newcomer takes its place
            slots[i].node = n;
            return;
        }
    slots[i] = entry{n, h};
    if (++count * 2 > slots.size()) grow();
}

bool bdd_unique_table::erase(bdd_node* n)
{
    const uint32_t h = hash(n->var, n->else_link, n->then_node, n->else_node);
    const size_t mask = slots.size() - 1;
    size_t i = home(h);
    for (; slots[i].node != n; i = (i + 1) & mask)
        if (!slots[i].node) return false;
    // the hole moves down the run: an entry whose home lies cyclically outside (hole, j]
    // takes it, so every entry stays reachable from its home
    for (size_t j = (i + 1) & mask; slots[j].node; j = (j + 1) & mask) {
        size_t k = home(slots[j].hash);
        if (((j - k) & mask) >= ((j - i) & mask)) {
            slots[i] = slots[j];
            i = j;
        }
    }
    slots[i] = entry{nullptr, 0};
    --count;
    return true;
}

void bdd_unique_table::grow()
{
    std::vector<entry, large_block_allocator<entry>> old(slots.size() * 2, entry{nullptr, 0});
    old.swap(slots);
    const size_t mask = slots.size() - 1;
    for (const entry& e : old) {
        if (!e.node) continue;
        size_t i = home(e.hash);
        while (slots[i].node) i = (i + 1) & mask;
        slots[i] = e;
    }
}

bdd_computed_table::bdd_computed_table() : entries(1 << 10, entry{nullptr, nullptr, 0, 0, nullptr}) {}

void bdd_computed_table::clear()
{
    for (entry& e : entries) e = entry{nullptr, nullptr, 0, 0, nullptr};
}

void bdd_computed_table::grow_to(size_t nodes)
{
    size_t n = entries.size();
    while (n < nodes && n < limit) n *= 2;
    entries.assign(n, entry{nullptr, nullptr, 0, 0, nullptr});
}
