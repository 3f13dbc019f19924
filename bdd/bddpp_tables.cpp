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

bdd_unique_table::bdd_unique_table() : buckets(1 << 10, nullptr), count(0) {}

size_t bdd_unique_table::slot(long var, int else_link, const bdd_node* then, const bdd_node* els) const
{
    size_t h = static_cast<size_t>(var) * 0x9e3779b97f4a7c15ULL;
    h ^= pointer_bits(then) * 0xc2b2ae3d27d4eb4fULL;
    h ^= pointer_bits(els) * 0x165667b19e3779f9ULL + (else_link == 1 ? 1 : 0);
    return mix(h) & (buckets.size() - 1);
}

bdd_node* bdd_unique_table::find(long var, int else_link, const bdd_node* then, const bdd_node* els) const
{
    for (bdd_node* n = buckets[slot(var, else_link, then, els)]; n; n = n->hash_next)
        if (n->var == var && n->then_node == then && n->else_node == els && n->else_link == else_link)
            return n;
    return nullptr;
}

void bdd_unique_table::insert(bdd_node* n)
{
    bdd_node** head = &buckets[slot(n->var, n->else_link, n->then_node, n->else_node)];
    for (bdd_node** p = head; *p; p = &(*p)->hash_next)
        if (**p == *n) { // same identity: the newcomer takes the old node's place
            n->hash_next = (*p)->hash_next;
            *p = n;
            return;
        }
    n->hash_next = *head;
    *head = n;
    if (++count > buckets.size()) grow();
}

bool bdd_unique_table::erase(bdd_node* n)
{
    for (bdd_node** p = &buckets[slot(n->var, n->else_link, n->then_node, n->else_node)]; *p;
         p = &(*p)->hash_next)
        if (*p == n) {
            *p = n->hash_next;
            n->hash_next = nullptr;
            --count;
            return true;
        }
    return false;
}

void bdd_unique_table::grow()
{
    std::vector<bdd_node*> old(buckets.size() * 2, nullptr);
    old.swap(buckets);
    for (bdd_node* b : old)
        for (bdd_node* n = b; n;) {
            bdd_node* next = n->hash_next;
            bdd_node** head = &buckets[slot(n->var, n->else_link, n->then_node, n->else_node)];
            n->hash_next = *head;
            *head = n;
            n = next;
        }
}

bdd_computed_table::bdd_computed_table() : entries(1 << 10, entry{nullptr, nullptr, 0, 0, nullptr}) {}

size_t bdd_computed_table::slot(int key, const bdd_node* x, const bdd_node* y) const
{
    size_t h = pointer_bits(x) * 0x9e3779b97f4a7c15ULL + pointer_bits(y) * 0xc2b2ae3d27d4eb4fULL
               + static_cast<size_t>(key);
    return mix(h) & (entries.size() - 1);
}

static int cache_key(int op, int a, int b) { return op * 16 + (a + 1) * 4 + (b + 1); }

bool bdd_computed_table::lookup(int op, int a, const bdd_node* x, int b, const bdd_node* y,
                                bdd_node*& r, int& link) const
{
    int key = cache_key(op, a, b);
    const entry& e = entries[slot(key, x, y)];
    if (e.x != x || e.y != y || e.key != key || !e.x) return false;
    r = e.r;
    link = e.link;
    return true;
}

void bdd_computed_table::insert(int op, int a, bdd_node* x, int b, bdd_node* y, bdd_node* r, int link)
{
    int key = cache_key(op, a, b);
    entries[slot(key, x, y)] = entry{x, y, key, link, r};
}

void bdd_computed_table::clear()
{
    for (entry& e : entries) e = entry{nullptr, nullptr, 0, 0, nullptr};
}

void bdd_computed_table::fit(size_t nodes)
{
    const size_t limit = size_t(1) << 21; // 64 MiB: beyond it misses cost less than memory
    if (nodes <= entries.size() || entries.size() >= limit) return;
    size_t n = entries.size();
    while (n < nodes && n < limit) n *= 2;
    entries.assign(n, entry{nullptr, nullptr, 0, 0, nullptr});
}
