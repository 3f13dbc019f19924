// Handles, nodes, the manager's life cycle, unique table access, node creation and collection.
#include <algorithm>
#include <cstdlib>
#include <iostream>
#include <sys/resource.h>
#include <unistd.h>
#include <unordered_set>
#include <vector>

#include "bdd/bddpp.h"
#include "bdd/bddpp_tables.h"
#include "platform/large_memory.h"
#include "utils/slot_pool.h"

void bdd_exit(int status)
{
    std::cout.flush();
    std::cerr.flush();
    std::exit(status);
}

long Bdd_memory_node_limit()
{
    unsigned long long bytes = 0;
    long pages = sysconf(_SC_PHYS_PAGES), page = sysconf(_SC_PAGESIZE);
    if (pages > 0 && page > 0) bytes = static_cast<unsigned long long>(pages) * static_cast<unsigned long long>(page);
    for (int resource : {RLIMIT_AS, RLIMIT_DATA}) {
        struct rlimit r;
        if (getrlimit(resource, &r) == 0 && r.rlim_cur != RLIM_INFINITY &&
            (bytes == 0 || static_cast<unsigned long long>(r.rlim_cur) < bytes))
            bytes = r.rlim_cur;
    }
    if (bytes == 0) bytes = 1ULL << 32; // the machine says nothing: 4 GiB
    const unsigned long long nodes = bytes / 16 / 128;
    return nodes > 0x7fffffffULL ? 0x7fffffffL : static_cast<long>(nodes);
}

long bdd_node_limit = Bdd_memory_node_limit();
void (*bdd_node_limit_handler)(long limit) = nullptr;

// A node past the budget: the handler, or the engine's own message.
[[noreturn]] static void node_limit_reached()
{
    if (bdd_node_limit_handler != nullptr) bdd_node_limit_handler(bdd_node_limit);
    std::cerr << "ERROR in bddpp_manager::Find_or_create_bdd_node(): more than " << bdd_node_limit
              << " nodes, the memory budget of a manager" << std::endl;
    bdd_exit(1);
}

// ---- bdd ----

bool operator==(const bdd& f, const bdd& g)
{
    return f.manager == g.manager && f.link == g.link && f.node_ptr == g.node_ptr;
}

bool operator!=(const bdd& f, const bdd& g) { return !(f == g); }

std::ostream& operator<<(std::ostream& os, const bdd& f)
{
    os << "adr manager= " << static_cast<const void*>(f.manager) << ", link type =" << f.link
       << ", adr node= " << static_cast<const void*>(f.node_ptr) << ", ";
    if (f.node_ptr) os << "node signature: " << f.node_ptr->signature();
    return os;
}

// ---- bdd_node ----

long long bdd_node_signature(long var, int else_link, bdd_node* then, bdd_node* els)
{
    if (var < 0) return var;
    unsigned long long s = else_link == 1 ? 1 : 0;
    s |= static_cast<unsigned long long>(els ? els->number : 0) << 1;
    s |= static_cast<unsigned long long>(then ? then->number : 0) << 21;
    s |= (static_cast<unsigned long long>(var) & 0x7FFFFFULL) << 41;
    return static_cast<long long>(s);
}

long long bdd_node::signature() const { return bdd_node_signature(var, else_link, then_node, else_node); }

bdd_node::bdd_node()
    : then_node(nullptr), else_node(nullptr), number(0), else_link(1), var(-3), refs(0), trav_number(0), mark(0)
{
}

// A node whose fields do not fit their packed widths, or made outside its owner's blocks.
[[noreturn]] __attribute__((noinline, cold)) static void bad_node(long var, long number)
{
    std::cerr << "FATAL ERROR: bdd_node::bdd_node(): variable id " << var << " or node number " << number
              << " out of range, or node not made in its manager's blocks" << std::endl;
    bdd_exit(1);
}

bdd_node::bdd_node(unlisted, bddpp_manager* o, long num, long v, int count, int el, bdd_node* then,
                   bdd_node* els)
    : then_node(then), else_node(els), number(num), else_link(el), var(static_cast<int>(v)), refs(count),
      trav_number(0), mark(0)
{
    // the packed fields hold ids below 2^23 and numbers below 2^37; a node outside its owner's
    // blocks would answer another owner
    if (__builtin_expect(static_cast<unsigned long>(v + (1L << 23)) >= (1UL << 24) || num >= (1L << 37)
                             || (o && owner() != o), 0))
        bad_node(v, num);
}

bdd_node::bdd_node(bddpp_manager* o, long num, long v, int count, int el, bdd_node* then,
                   bdd_node* els)
    : bdd_node(unlisted(), o, num, v, count, el, then, els)
{
    if (var >= 0 && o) o->Map_integrate(this);
}

bdd_node::~bdd_node()
{
    if (var < 0) return;
    if (then_node) --then_node->refs;
    if (else_node) --else_node->refs;
}

std::set<long> bdd_node::support_set() const
{
    std::vector<long> ids;
    support_ids(ids);
    return std::set<long>(ids.begin(), ids.end());
}

void bdd_node::support_ids(std::vector<long>& ids) const
{
    // the nodes met are kept in a short list while there are few, then in a hash set
    // (scratch vectors kept from call to call, so that a small function allocates nothing)
    const size_t few = 64;
    static std::vector<const bdd_node*> seen, todo;
    seen.clear();
    todo.assign(1, this);
    ids.clear();
    std::unordered_set<const bdd_node*> many;
    while (!todo.empty()) {
        const bdd_node* n = todo.back();
        todo.pop_back();
        if (!n || n->var < 0) continue;
        if (seen.size() < few) {
            if (std::find(seen.begin(), seen.end(), n) != seen.end()) continue;
            seen.push_back(n);
            if (seen.size() == few) many.insert(seen.begin(), seen.end());
        } else if (!many.insert(n).second) {
            continue;
        }
        ids.push_back(n->var);
        todo.push_back(n->then_node);
        todo.push_back(n->else_node);
    }
    std::sort(ids.begin(), ids.end());
    ids.erase(std::unique(ids.begin(), ids.end()), ids.end());
}

// The blocks of one manager (or of nodes made without one) and their slots. The first slot of
// each block holds the owner.
struct bdd_node_pool {
    bddpp_manager* owner;      // the manager whose nodes the blocks hold; null for no manager
    slot_pool slots;           // the free nodes
    std::vector<char*> blocks; // every block taken

    explicit bdd_node_pool(bddpp_manager* o) : owner(o), slots(sizeof(bdd_node)) {}
};

namespace {

const size_t per_block = bdd_node::block_bytes / sizeof(bdd_node);

// Blocks of the managers destroyed, taken again before new ones are mapped: nodes may still be
// read there by stale handles, so the blocks stay mapped.
std::vector<char*>& spare_blocks()
{
    static std::vector<char*>* v = new std::vector<char*>(); // lives to the end of the process
    return *v;
}

bdd_node_pool& ownerless_pool()
{
    static bdd_node_pool* p = new bdd_node_pool(nullptr); // lives to the end of the process
    return *p;
}

// A fresh block is written only in its first slot until its nodes are handed out: its pages
// come in as the nodes are made.
void refill(bdd_node_pool& p)
{
    char* block;
    std::vector<char*>& spare = spare_blocks();
    if (!spare.empty()) {
        block = spare.back();
        spare.pop_back();
    } else {
        // one huge page where the system has them; aligned, so the block's header is found
        // from any node's address and a 32-byte node lies within one cache line
        block = static_cast<char*>(Large_block_allocate(bdd_node::block_bytes));
    }
    *reinterpret_cast<bddpp_manager**>(block) = p.owner;
    p.blocks.push_back(block);
    p.slots.fill(block + sizeof(bdd_node), block + per_block * sizeof(bdd_node));
}

void* take(bdd_node_pool& p)
{
    if (void* slot = p.slots.take()) return slot;
    refill(p);
    return p.slots.take();
}

} // namespace

void* bdd_node::operator new(size_t size)
{
    if (size != sizeof(bdd_node)) return ::operator new(size);
    return take(ownerless_pool());
}

void* bdd_node::operator new(size_t size, bddpp_manager* owner)
{
    if (size != sizeof(bdd_node)) return ::operator new(size);
    return take(owner ? *owner->node_pool : ownerless_pool());
}

void bdd_node::operator delete(void* slot, size_t size)
{
    if (!slot) return;
    if (size != sizeof(bdd_node)) {
        ::operator delete(slot);
        return;
    }
    bddpp_manager* o = block_owner(slot);
    (o ? *o->node_pool : ownerless_pool()).slots.give(slot);
}

void bdd_node::operator delete(void* slot, bddpp_manager*) { operator delete(slot, sizeof(bdd_node)); }

bool operator==(const bdd_node& a, const bdd_node& b)
{
    return a.var == b.var && a.else_link == b.else_link && a.then_node == b.then_node
           && a.else_node == b.else_node;
}

bool operator!=(const bdd_node& a, const bdd_node& b) { return !(a == b); }

// ---- the manager's life cycle ----

bddpp_manager::bddpp_manager()
{
    Construct_tables(16);
}

void bddpp_manager::Construct_tables(long cap)
{
    nvars = 0;
    capacity = cap;
    names = new std::string[cap];
    var_nodes = new bdd_node*[cap];
    id_to_pos = new long[cap];
    pos_to_id = new long[cap];
    assoc_table = new bdd_node*[cap];
    unique_table = new bdd_unique_table();
    gc_calls = 0;
    node_pool = new bdd_node_pool(this);
    terminal = new (this) bdd_node(this, 1, -1, 1, 1, nullptr, nullptr);
    next_number = 2;
    computed = new bdd_computed_table();
    cache_on = true;
}

bddpp_manager::~bddpp_manager()
{
    delete[] names;
    delete[] var_nodes;
    delete[] id_to_pos;
    delete[] pos_to_id;
    delete[] assoc_table;
    delete computed;
    if (unique_table) {
        std::vector<bdd_node*> all;
        all.reserve(unique_table->size());
        unique_table->for_each([&all](bdd_node* n) { all.push_back(n); });
        for (bdd_node* n : all) { // children may go first: nobody's count is touched
            n->then_node = nullptr;
            n->else_node = nullptr;
            delete n;
        }
        delete unique_table;
    }
    delete terminal;
    // every node is back in the blocks: they go to the next manager
    spare_blocks().insert(spare_blocks().end(), node_pool->blocks.begin(), node_pool->blocks.end());
    delete node_pool;
}

std::list<bdd_node*> bddpp_manager::Table_nodes_in_key_order() const
{
    std::vector<std::pair<long long, bdd_node*>> all; // signatures computed once
    if (unique_table) unique_table->for_each([&all](bdd_node* n) { all.emplace_back(n->signature(), n); });
    std::sort(all.begin(), all.end(), [](const std::pair<long long, bdd_node*>& a, const std::pair<long long, bdd_node*>& b) {
        return a.first != b.first ? a.first < b.first : a.second->number < b.second->number;
    });
    std::list<bdd_node*> nodes;
    for (const auto& e : all) nodes.push_back(e.second);
    return nodes;
}

long bddpp_manager::Table_size() const { return unique_table ? long(unique_table->size()) : 0; }

void bddpp_manager::Bdd_cache_enable(bool on)
{
    cache_on = on;
    computed->clear();
}

// ---- unique table ----

void bddpp_manager::Map_integrate(bdd_node* n)
{
    if (unique_table) unique_table->insert(n);
}

void bddpp_manager::Map_suppress(bdd_node* n)
{
    if (!unique_table) {
        std::cerr << "warning! map does not exist !!!" << std::endl;
        return;
    }
    unique_table->erase(n);
}

long bddpp_manager::Position_of(const bdd_node* n) const
{
    bddpp_manager* o = n->owner();
    if (!o) return -3;
    if (n->var < 0) return n->var;
    return o->id_to_pos[n->var];
}

bdd_node* bddpp_manager::Find_or_create_bdd_node(long p, int tl, int el, bdd_node* then,
                                                 bdd_node* els, int& link)
{
    link *= tl;
    int L = tl * el;
    if (p == -1) return terminal;
    if (p < -1 || p >= nvars) return nullptr;
    if (then == terminal && els == terminal) return L == 1 ? terminal : var_nodes[pos_to_id[p]];
    // order check: both children must lie strictly below p
    for (int k = 0; k < 2; ++k) {
        bdd_node* c = k == 0 ? then : els;
        if (!c || c->var < 0) continue;
        bddpp_manager* o = c->block_owner(); // var >= 0: not a default node
        if (!o) continue;
        long q = o->id_to_pos[c->var];
        if (p >= q) {
            std::cerr << "FATAL ERROR: Bad call of bddpp_manager::Find_or_create_bdd_node():" << std::endl;
            std::cerr << "  index " << p << " is not less than "
                      << (k == 0 ? " its then node index (" : " its else node index (") << q << ")" << std::endl;
            return nullptr;
        }
    }
    if (!then || !els) return nullptr;
    long id = pos_to_id[p];
    size_t free_slot;
    uint64_t free_tag;
    bdd_node* n = unique_table->find(id, L, then, els, free_slot, free_tag);
    if (n) return n;
    if (static_cast<long>(unique_table->size()) >= bdd_node_limit) node_limit_reached();
    // into the slot where the search stopped: the table is unchanged since
    n = new (this) bdd_node(bdd_node::unlisted(), this, next_number, id, 0, L, then, els);
    unique_table->insert_at(n, free_slot, free_tag);
    ++next_number;
    ++then->refs;
    ++els->refs;
    if (cache_on) computed->fit(unique_table->size());
    return n;
}

void bddpp_manager::Bdd_gc()
{
    ++gc_calls;
    computed->clear();
    if (!unique_table) return;
    auto collectible = [this](const bdd_node* n) {
        return n->var != -1 && (n->var >= nvars || var_nodes[n->var] != n) && n->refs <= 0;
    };
    // the nodes without references, then the children left without references by them, and so
    // on: each one's children lose the counts its deletion takes away as soon as it is listed. A
    // count falls to 0 once only, so no node is listed twice.
    std::vector<bdd_node*> dead;
    unique_table->for_each([&](bdd_node* n) {
        if (collectible(n)) dead.push_back(n);
    });
    for (size_t k = 0; k < dead.size(); ++k) {
        bdd_node* n = dead[k];
        --n->then_node->refs;
        --n->else_node->refs;
        // both children are one node when the else edge is the complemented then edge
        bdd_node* kids[2] = {n->then_node, n->else_node == n->then_node ? nullptr : n->else_node};
        for (bdd_node* c : kids)
            if (c && c->var >= 0 && c->refs == 0 && collectible(c)) dead.push_back(c);
    }
    // the children's counts are down already: a node is deleted without touching them
    auto free_node = [](bdd_node* n) {
        n->then_node = nullptr;
        n->else_node = nullptr;
        delete n;
    };
    if (dead.size() * 4 > unique_table->size()) {
        // many: one sweep over the slots takes them out and deletes them as it meets them
        unique_table->erase_if([&](bdd_node* n) {
            if (!collectible(n)) return false;
            free_node(n);
            return true;
        });
        return;
    }
    // few: one by one, out of the table while their children are in place (a node's slot
    // comes from them), then deleted in the order listed
    for (bdd_node* n : dead) Map_suppress(n);
    for (bdd_node* n : dead) free_node(n);
}

// ---- constants and structural predicates ----

bdd bddpp_manager::Bdd_one() { return bdd(this, 1, terminal); }

bdd bddpp_manager::Bdd_zero() { return bdd(this, -1, terminal); }

bdd bddpp_manager::Bdd_then(const bdd& f)
{
    if (f.node_ptr == terminal) return Bdd_one();
    return bdd(this, f.link, f.node_ptr->then_node);
}

bdd bddpp_manager::Bdd_else(const bdd& f)
{
    if (f.node_ptr == terminal) return Bdd_one();
    return bdd(this, f.link * f.node_ptr->else_link, f.node_ptr->else_node);
}

static int is_literal_node(const bdd_node* n, const bdd_node* terminal)
{
    return n && n != terminal && n->then_node == terminal && n->else_node == terminal
           && n->else_link == -1;
}

int bddpp_manager::Bdd_is_var(const bdd& f) { return is_literal_node(f.node_ptr, terminal) && f.link == 1; }

int bddpp_manager::Bdd_is_negvar(const bdd& f)
{
    return is_literal_node(f.node_ptr, terminal) && f.link == -1;
}

int bddpp_manager::Bdd_is_tautology(const bdd& f, int value)
{
    return f.node_ptr == terminal && f.link == (value != 0 ? 1 : -1);
}

int bddpp_manager::Bdd_is_tautology(const bdd& f) { return f.node_ptr == terminal; }

int bddpp_manager::Bdd_is_zero_tautologic(const bdd& f) { return Bdd_is_tautology(f, 0); }

int bddpp_manager::Bdd_is_one_tautologic(const bdd& f) { return Bdd_is_tautology(f, 1); }

void bddpp_manager::Bdd_free(const bdd&)
{
    std::cerr << "bddpp_manager::Bdd_free() is now became useless" << std::endl;
}
