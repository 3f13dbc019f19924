// The manager's unique table (hash consing by full node identity) and its operation cache.
#ifndef NELVOR_BDDPP_TABLES_H
#define NELVOR_BDDPP_TABLES_H

#include <cstddef>
#include <vector>

#include "bddpp.h"

// Chained hash table over the nodes themselves (bdd_node::hash_next). A node is found by its
// variable, else link and both child pointers, so distinct nodes never collide, whatever
// their numbers.
class bdd_unique_table {
public:
    bdd_unique_table();
    bdd_node* find(long var, int else_link, const bdd_node* then, const bdd_node* els) const;
    void insert(bdd_node* n); // replaces a node of the same identity, if any
    bool erase(bdd_node* n);  // true when n was in the table
    size_t size() const { return count; }

    template <class F> void for_each(F f) const
    {
        for (bdd_node* b : buckets)
            for (bdd_node* n = b; n; n = n->hash_next) f(n);
    }

private:
    std::vector<bdd_node*> buckets; // heads of the chains; the size is a power of two
    size_t count;                   // nodes in the table

    size_t slot(long var, int else_link, const bdd_node* then, const bdd_node* els) const;
    void grow();
};

// Direct-mapped cache of node-level results. Entries hold bare node pointers, so the cache is
// emptied whenever nodes are freed (Bdd_gc, the destructor): a hit can only name a live node.
class bdd_computed_table {
public:
    enum op_code { op_and = 1, op_exist = 2, op_forall = 3 };

    bdd_computed_table();
    bool lookup(int op, int a, const bdd_node* x, int b, const bdd_node* y, bdd_node*& r,
                int& link) const;
    void insert(int op, int a, bdd_node* x, int b, bdd_node* y, bdd_node* r, int link);
    void clear();
    void fit(size_t nodes); // grows (and empties) the cache to follow the unique table

private:
    struct entry {
        const bdd_node* x; // first operand node; null in an empty entry
        const bdd_node* y; // second operand node
        int key;           // operation code and the two operand links
        int link;          // link of the result
        bdd_node* r;       // result node
    };
    std::vector<entry> entries; // the size is a power of two

    size_t slot(int key, const bdd_node* x, const bdd_node* y) const;
};

#endif
