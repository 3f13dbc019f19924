// The BDD engine: value handles, shared nodes with complemented else edges, and their manager.
#ifndef NELVOR_BDDPP_H
#define NELVOR_BDDPP_H

#include <cstddef>
#include <cstdio>
#include <list>
#include <map>
#include <ostream>
#include <set>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "bdd/bdd_name_table.h"

class bddpp_manager;
class bdd_node;
class bdd_unique_table;
class bdd_computed_table;
struct bdd_node_pool;
class bdd_naming; // bdd_naming.h
class text_room;  // utils/text_room.h

// Flushes the standard streams and ends the process with status; every fatal error of the
// engine goes through it.
[[noreturn]] void bdd_exit(int status);

// Node budget: the most nodes one manager's unique table may hold (collected nodes give their
// place back). It starts at Bdd_memory_node_limit(); a program or a test may set it. A node that
// would pass it calls bdd_node_limit_handler with the budget, which must not return; without a
// handler the engine prints one line and ends the process with status 1.
extern long bdd_node_limit;
extern void (*bdd_node_limit_handler)(long limit);
// One node with its share of the unique table and of the operation cache takes about 128 bytes
// at most: the budget is a sixteenth of the memory the process may use (the machine's memory, or
// less under an address-space or data limit) in such nodes, which the reader fills in well
// under a minute when a function has no small BDD.
long Bdd_memory_node_limit();

// A Boolean function of one manager: link times the function of node.
class bdd {
public:
    bddpp_manager* manager; // owner of the node; null only in the empty handle
    int link;               // 1: the node's function, -1: its complement, 0: empty handle
    bdd_node* node_ptr;     // the node; null only in the empty handle

    bdd();
    bdd(bddpp_manager* m, int l, bdd_node* n); // adds one to n's count when n is non-null
    bdd(const bdd& f);
    bdd& operator=(const bdd& f);
    ~bdd(); // removes one from the node's count, frees nothing

    bddpp_manager* manager_ref() const { return manager; }
    int link_type() const { return link; }
    bdd_node* node() const { return node_ptr; }

    // ---- written with the node emitters ----
    std::string vhdl_node_name(const std::string& ARR) const;
};

bool operator==(const bdd& f, const bdd& g); // field-wise: function equality within a manager
bool operator!=(const bdd& f, const bdd& g);
std::ostream& operator<<(std::ostream& os, const bdd& f); // debug text, no newline

// One shared decision node: var ? then : else_link * else, in 32 bytes (two to a cache line).
// The node number, else link and variable id share one word, the count, traversal number and
// mark another; the owner is kept once per block of nodes (owner()) and the signature is
// computed from the fields (signature()).
class bdd_node {
public:
    bdd_node* then_node;   // child for var = 1 (never complemented); null for the terminal
    bdd_node* else_node;   // child for var = 0; null for the terminal
    long number : 38;      // node number from the manager's counter, never reused; terminal: 1
    int else_link : 2;     // 1: plain else edge, -1: complemented else edge
    int var : 24;          // variable id, below 2^23; -1 for the terminal node, -3 in a default node
    int refs;              // parent nodes and live handles pointing to the node
    int trav_number : 31;  // scratch number of the numbering passes; 0 at creation
    unsigned mark : 1;     // traversal mark, 0 or 1

    // Nodes are handed out in blocks of block_bytes aligned on their size; the first slot of a
    // block holds the manager its nodes belong to.
    static const size_t block_bytes = size_t(1) << 21;

    // Manager that created the node: null for a default node and for one made without a manager.
    bddpp_manager* owner() const
    {
        if (var == -3) return nullptr; // a default node may live outside the blocks
        return block_owner();
    }
    // The same for a node known not to be a default node: the header of its block.
    bddpp_manager* block_owner() const { return block_owner(this); }
    // The manager named by the header of the block holding the slot at p.
    static bddpp_manager* block_owner(const void* p)
    {
        return *reinterpret_cast<bddpp_manager* const*>(reinterpret_cast<size_t>(p) & ~(block_bytes - 1));
    }
    // Packed key (bdd_node_signature); -1 for the terminal node, -3 for a default node.
    long long signature() const;

    bdd_node();
    // Registers itself in owner's unique table when var >= 0 and owner is non-null; the
    // children's counts are raised by the caller (Find_or_create_bdd_node), not here. A node
    // with an owner is made in the owner's blocks: new (owner) bdd_node(owner, ...).
    bdd_node(bddpp_manager* owner, long number, long var, int count, int else_link, bdd_node* then,
             bdd_node* els);
    // The same without entering the unique table, for a caller that places the node itself.
    struct unlisted {};
    bdd_node(unlisted, bddpp_manager* owner, long number, long var, int count, int else_link, bdd_node* then,
             bdd_node* els);
    ~bdd_node(); // lowers the children's counts; frees nothing

    // Nodes come from blocks of nodes, each manager's its own (plain new: the blocks of no
    // manager): allocating one costs a few instructions.
    static void* operator new(size_t size);
    static void* operator new(size_t size, bddpp_manager* owner);
    static void operator delete(void* p, size_t size);
    static void operator delete(void* p, bddpp_manager* owner); // when a constructor throws

    // Ids of every variable of the node's graph, its own included; empty for the terminal.
    // Computed on demand; leaves marks and traversal numbers alone.
    std::set<long> support_set() const;
    // The same ids into ids, ascending (ids is cleared first).
    void support_ids(std::vector<long>& ids) const;
    int is_correct(); // structural self-check, 1 when correct

    // ---- written with the node emitters ----
    void Lustre_writing_node_used(int* used, bdd_node* node);
};

static_assert(sizeof(bdd_node) == 32, "a node is 32 bytes");

// The handles' counting, inline: handles are copied and dropped on every operation.
inline bdd::bdd() : manager(nullptr), link(0), node_ptr(nullptr) {}

inline bdd::bdd(bddpp_manager* m, int l, bdd_node* n) : manager(m), link(l), node_ptr(n)
{
    if (node_ptr) ++node_ptr->refs;
}

inline bdd::bdd(const bdd& f) : manager(f.manager), link(f.link), node_ptr(f.node_ptr)
{
    if (node_ptr) ++node_ptr->refs;
}

inline bdd& bdd::operator=(const bdd& f)
{
    manager = f.manager;
    link = f.link;
    if (node_ptr != f.node_ptr) {
        if (node_ptr) --node_ptr->refs;
        node_ptr = f.node_ptr;
        if (node_ptr) ++node_ptr->refs;
    }
    return *this;
}

inline bdd::~bdd()
{
    if (node_ptr) --node_ptr->refs;
}

bool operator==(const bdd_node& a, const bdd_node& b); // var, else link, then and else pointers
bool operator!=(const bdd_node& a, const bdd_node& b);

// bit 0: else link is 1; bits 1-20: else child's number; bits 21-40: then child's number;
// bits 41-63: the variable id. The terminal's and a default node's signature is their var.
long long bdd_node_signature(long var, int else_link, bdd_node* then, bdd_node* els);

std::string Bdd_version(); // "4.6"

// Sum of the capacities of the first n strings (15 for a short string kept inside its object).
int String_table_memory_size(std::string* names, int n);

// Writes n's plain node line through n's owner; nothing for a null n.
void Print_bdd_node(std::ostream& os, bdd_node* n);

class bddpp_manager {
public:
    enum apply_op { apply_and, apply_or, apply_xor }; // the node-level operations
    long nvars;                           // number of variables
    long capacity;                        // slots of each per-variable table; doubles when full
    long next_number;                     // number the next node will receive
    std::string* names;                   // variable names by id
    bdd_node** var_nodes;                 // single-variable node of each variable, by id
    long* id_to_pos;                      // order position of each id
    long* pos_to_id;                      // id at each order position
    bdd_node** assoc_table;               // associated function of each variable, by id
    bdd_unique_table* unique_table;       // every node but the terminal, by full identity
    bdd_name_table name_map;              // name a variable was created with -> id
    long gc_calls;                        // number of Bdd_gc calls
    bdd_node* terminal;                   // the one terminal node (true)
    bdd_computed_table* computed;         // operation cache of and, or and the quantifiers
    bool cache_on;                        // whether the operation cache is used
    bdd_node_pool* node_pool;             // the blocks this manager's nodes come from

    // ---- nodes, handles, unique table, collection ----
    bddpp_manager();
    ~bddpp_manager();
    // Allocates the per-variable tables (cap slots), an empty unique table and operation cache
    // and the terminal node; nvars 0, next node number 2, gc calls 0. Used by the constructors.
    void Construct_tables(long cap);
    // Every node of the unique table in signature order (ties by node number).
    std::list<bdd_node*> Table_nodes_in_key_order() const;
    long Table_size() const; // number of nodes in the unique table
    void Bdd_cache_enable(bool on); // switches the operation cache; results never change

    void Map_integrate(bdd_node* n);
    void Map_suppress(bdd_node* n);
    // The caller sets link (1 as a rule) first; on return it holds the link the handle carries.
    bdd_node* Find_or_create_bdd_node(long position, int then_link, int else_link, bdd_node* then,
                                      bdd_node* els, int& link);
    void Bdd_gc();
    bdd_node* Bdd_node_one() { return terminal; }
    bdd Bdd_one();
    bdd Bdd_zero();
    bdd Bdd_not(const bdd& f);
    bdd Bdd_then(const bdd& f);
    bdd Bdd_else(const bdd& f);
    int Bdd_is_var(const bdd& f);
    int Bdd_is_negvar(const bdd& f);
    int Bdd_is_tautology(const bdd& f, int value);
    int Bdd_is_tautology(const bdd& f);
    int Bdd_is_zero_tautologic(const bdd& f);
    int Bdd_is_one_tautologic(const bdd& f);
    void Bdd_free(const bdd& f);

    // ---- variable table ----
    bdd_node* New_node_var_last(const std::string& name);
    void Reserve_variables(long n); // room for n variables without growing the tables
    bdd New_var_last(const std::string& name);
    bdd_node* New_node_var_before(long position, const std::string& name);
    bdd_node* New_node_var_after(long position, const std::string& name);
    bdd New_var_before(bdd f, const std::string& name);
    bdd New_var_before(long position, const std::string& name);
    bdd New_var_after(bdd f, const std::string& name);
    bdd New_var_after(long position, const std::string& name);
    bdd Bdd_var_by_id(long id);
    bdd Bdd_var_by_index(long position);
    bdd Bdd_var_by_name(const std::string& name);
    bdd Bdd_if(const bdd& f);
    long Bdd_if_id(const bdd& f);
    long Id_var_by_bdd(const bdd& f);
    long Bdd_if_index(const bdd& f);
    long Index_var_by_bdd(const bdd& f);
    long Index_var_by_name(const std::string& name);
    long Id_var_by_name(std::string_view name);
    std::string Name_var_by_id(long id);
    std::string Name_var_by_index(long position);
    std::string Name_var_by_bdd(const bdd& f);
    void Rename_var(const std::string& new_name, const std::string& old_name);
    void Change_name_by_id(long id, const std::string& name);
    void Change_name_by_index(long position, const std::string& name);
    void Replace_char_in_all_names(char c1, char c2);
    void No_begin_underscore_name();
    std::set<long> set_of_id_depend_on(const bdd& f);
    std::set<long> set_of_index_depend_on(const bdd& f);
    // The same positions, ascending, into positions; false (with set_of_index_depend_on's
    // warning, positions empty) when f is not of this manager.
    bool positions_depend_on(const bdd& f, std::vector<long>& positions);
    void Present_variables(const bdd& f, int* vals);
    int exists_common_variables(const bdd& f, const bdd& g);
    int Bdd_node_depends_on(bdd_node* n, bdd_node* v);
    int Bdd_depends_on(const bdd& f, const bdd& g);
    int Variable_awaited(const bdd& f, long position);
    long Bdd_total_size() { return next_number; }
    int Max_number_of_terms() { return 1000000; }
    std::string Bdd_version();
    bdd Bdd_dup(bdd f);
    bdd Bdd_swap_vars(const bdd& f, const bdd& g, const bdd& h);
    void Bdd_var_reorder();
    long Position_of(const bdd_node* n) const; // order position; -1 terminal, -3 without owner

    // ---- conjunction, disjunction and derived connectives ----
    bdd_node* Bdd_and(int a, bdd_node* x, int b, bdd_node* y, int& link);
    bdd_node* Bdd_or(int a, bdd_node* x, int b, bdd_node* y, int& link);
    bdd Bdd_and(const bdd& f, const bdd& g);
    bdd Bdd_or(const bdd& f, const bdd& g);
    bdd Bdd_nand(const bdd& f, const bdd& g);
    bdd Bdd_nor(const bdd& f, const bdd& g);
    bdd Bdd_xor(const bdd& f, const bdd& g);
    bdd Bdd_xnor(const bdd& f, const bdd& g);
    bdd Bdd_eq(const bdd& f, const bdd& g);
    bdd Bdd_implication(const bdd& f, const bdd& g);
    bdd Bdd_ite(const bdd& f, const bdd& g, const bdd& h);
    bdd Bdd_ite(int link, long position, const bdd& g, const bdd& h);
    int Bdd_equiv(const bdd& f, const bdd& g);
    int Bdd_imply(const bdd& f, const bdd& g);
    int Bdds_excl(const bdd& f, const bdd& g);
    int Bdds_exclude(const bdd& f, const bdd& g);

    // ---- cofactors, substitution and quantifiers ----
    bdd_node* Bdd_cube_reduce(int a, bdd_node* n, int* vals, int& link);
    bdd_node* Bdd_cube_reduce(int a, bdd_node* n, int b, bdd_node* c, int& link);
    bdd Bdd_cube_reduce(const bdd& f, const bdd& c);
    bdd Bdd_reduce(const bdd& f, const bdd& g);
    bdd Bdd_exist(const bdd& f, const bdd& v);
    bdd Bdd_forall(const bdd& f, const bdd& v);
    bdd Bdd_compose(const bdd& f, const bdd& x, const bdd& h);
    bdd Bdd_compose_loc(const bdd& f, const bdd& x, const bdd& h);
    bdd Bdd_replace_vars(const bdd& f, long* map);
    bdd Bdd_keep_first_variables(const bdd& f, long n);
    bdd Bdd_simplify(const bdd& f, const bdd& g);
    bdd Bdd_simplify2(const bdd& f, const bdd& g);
    int Variable_true_awaited(const bdd& f, long position);
    int Variable_false_awaited(const bdd& f, long position);
    bdd Bdd_eval(const bdd& f, int* vals);
    void Truth_table(const bdd& f, int n, bdd* v, char* out);
    void Bdd_truth_table(const bdd& f, int n, bdd* v, bdd* out);

    // ---- cubes, literal arrays and product printers ----
    int Bdd_is_cube(const bdd& f);
    int Bdd_OneSat(bdd_node* node, int link, int* vals);
    bdd Bdd_satisfy(const bdd& f);
    void Bdd_node_to_literals(int link, bdd_node* node, int* vals);
    void Bdd_to_literals(const bdd& f, int* vals);
    bdd Literals_to_bdd(int* vals);
    int Bdd_eval_for_literal(const bdd& f, int* vals);
    bdd Bdd_one_implicant(const bdd& f);
    bdd Minterm(int code, int n, bdd* v);
    int Id_function_by_bdd(bdd f, int n, bdd* v);
    bdd Bdd_function_by_id(unsigned long code, int n, bdd* v);
    std::string Print_product_to_String_pref_suff(const char* AND, const char* NOTpre,
                                                  const char* NOTpost, const bdd& f,
                                                  const char* PRE, const char* SUF);
    std::string Print_product_to_String(const char* AND, const char* NOTpre, const char* NOTpost,
                                        const bdd& f);
    void Print_product(const char* AND, const char* NOTpre, const char* NOTpost, std::ostream& os,
                       const bdd& f);
    void Print_product_pref_suff(const char* AND, const char* NOTpre, const char* NOTpost,
                                 std::ostream& os, const bdd& f, const char* PRE, const char* SUF);
    void Print_cat_product(const char* AND, const char* NOTpre, const char* NOTpost,
                           std::ostream& os, const bdd& f, const std::string& ARR);
    void Print_cat_product(std::ostream& os, const bdd& f, std::map<long, int>& codes, int offset,
                           bool shifted);

    // ---- marks, numbering, dumps and statistics ----
    int Bdd_clear_marks(bdd_node* n);
    int Bdd_clear_marks(const bdd& f);
    void Bdd_global_clear_marks();
    long Bdd_incremental_id(bdd_node* n, long first);
    long Bdd_node_size(bdd_node* n);
    long Bdd_size(const bdd& f);
    void Print_bdd_node_with_adress(std::ostream& os, bdd_node* n);
    void Print_bdd_node(std::ostream& os, bdd_node* n);
    void Print_bdd_node(std::ostream& os, bdd_node* n, long* map);
    void Print_bdd_by_nodes_list_loc(std::ostream& os, bdd_node* n);
    void Print_bdd_by_nodes_list_loc(std::ostream& os, bdd_node* n, long* map);
    void Print_bdd_by_nodes_list(std::ostream& os, const bdd& f);
    void Print_bdd_by_nodes_list(std::ostream& os, const bdd& f, long* map);
    void Print_bdds_list_by_nodes_list(std::ostream& os, std::list<bdd>& l);
    void Print_bdds_list_by_nodes_list(std::ostream& os, std::list<bdd>& l, long* map);
    void Chars(char c, int k, std::ostream& os);
    void Print_bdd_structure_loc(std::ostream& os, int indent, bdd_node* n);
    void Print_bdd_structure(std::ostream& os, const bdd& f);
    void Print_bdd_structure(FILE* file, const bdd& f);
    int Bdd_is_correct(const bdd& f);
    void Bdd_stats(std::ostream& os);

    // ---- covers, sum-of-products and PLA writers, node emitters, manager copy ----
    // Covers (bddpp_covers.cpp). A cover is a list of cubes whose OR is f, in the order the
    // algorithm produced them; every operation clears the list it is given first.
    // kind 1: expanded irredundant, 2: essential primes and greedy, 3: fixed covers of the
    // first four variables, any other value: disjoint paths. Ends the process for a foreign f.
    void Bdd_sop(const bdd& f, std::list<bdd>& cover, int kind);
    int Bdd_sop(const bdd& f, bdd* array, int kind); // obsolete; array must hold the cover
    void Bdd_sop_0(const bdd& f, std::list<bdd>& cover);
    void Bdd_sop_1(const bdd& f, std::list<bdd>& cover);
    void Bdd_sop_2(const bdd& f, std::list<bdd>& cover);
    void Bdd_sop_2plus(const bdd& f, std::list<bdd>& cover);
    void Bdd_prime_implicants(const bdd& f, std::list<bdd>& primes);
    void Bdd_essential_implicants(const bdd& f, std::list<bdd>& essential,
                                  std::list<bdd>& other);
    bdd Bdd_simplify3(const bdd& f, const bdd& g);

    // Sum-of-products and PLA writers (bddpp_text.cpp): literals in ascending order
    // position, "0" and "1" for the constants, no newline unless a layout string holds one.
    // A naming gives the written names and operands of the variables; without one they are
    // PRE, the manager's name and SUF.
    std::string Print_sop_to_String_pref_suff(const char* OR, const char* AND,
                                              const char* NOTpre, const char* NOTpost,
                                              const bdd& f, const char* PRE, const char* SUF,
                                              int kind, const bdd_naming* naming = nullptr);
    // The same sum appended to text.
    void Append_sop(text_room& text, std::string_view OR, std::string_view AND, std::string_view NOTpre,
                    std::string_view NOTpost, const bdd& f, std::string_view PRE, std::string_view SUF, int kind,
                    const bdd_naming* naming = nullptr);
    std::string Print_sop_to_String(const char* OR, const char* AND, const char* NOTpre,
                                    const char* NOTpost, const bdd& f, int kind);
    void Print_sop(const char* OR, const char* AND, const char* NOTpre, const char* NOTpost,
                   std::ostream& os, const bdd& f, int kind, const bdd_naming* naming = nullptr);
    void Print_sop_pref_suff(const char* OR, const char* AND, const char* NOTpre,
                             const char* NOTpost, std::ostream& os, const bdd& f,
                             const char* PRE, const char* SUF, int kind,
                             const bdd_naming* naming = nullptr);
    void Print_cat_sop(const char* OR, const char* AND, const char* NOTpre, const char* NOTpost,
                       std::ostream& os, const bdd& f, const std::string& ARR, int kind);
    std::string Print_sop_to_ESTEREL_String(const bdd& f, int kind, const bdd_naming* naming = nullptr);
    std::string Print_sop_to_VHDL_String(const bdd& f, int kind);
    void PLA_print_pref_suff(std::ostream& os, const bdd& out, const bdd& f,
                             const std::string& NAMEpre, const std::string& NAMEsuf,
                             const std::string& HEAD, const std::string& ENDHEAD,
                             const std::string& ROWSEP, const std::string& END,
                             const std::string& LITSEP, int kind);
    void BLIF_print(std::ostream& os, const bdd& out, const bdd& f, int kind);
    // num: a number for every order position of f's support and for out's position.
    void PLA_print_pref_suff_with_renaming(std::ostream& os, const bdd& out, const bdd& f,
                                           const std::string& NAMEpre,
                                           const std::string& NAMEsuf, const std::string& HEAD,
                                           const std::string& ENDHEAD,
                                           const std::string& ROWSEP, const std::string& END,
                                           const std::string& LITSEP, int kind, long* num);
    void LEC_print(std::ostream& os, long* num, const bdd& out, const bdd& f, int kind);

    // Node-network emitters (bddpp_emitters.cpp): one line per unmarked node below n,
    // children first, marking each; the caller clears the marks it wants written again.
    // The operands and NAME go through the naming as in the sums of products.
    void Print_node_for_eval(std::string_view OR, std::string_view AND, std::string_view NOTpre,
                             std::string_view NOTpost, std::string_view VARpre, std::string_view VARsuf,
                             std::string_view FALSE, std::string_view END, std::string_view ARR,
                             std::ostream& os, bdd_node* n, const bdd_naming* naming = nullptr);
    void Print_node_for_eval(std::string_view OR, std::string_view AND, std::string_view NOTpre,
                             std::string_view NOTpost, std::string_view VARpre, std::string_view VARsuf,
                             std::string_view FALSE, std::string_view END, std::string_view PREFIX,
                             std::string_view ARR, std::ostream& os, bdd_node* n,
                             const bdd_naming* naming = nullptr);
    void Print_node_for_eval_arrayless(std::string_view OR, std::string_view AND, std::string_view NOTpre,
                                       std::string_view NOTpost, std::string_view VARpre, std::string_view VARsuf,
                                       std::string_view FALSE, std::string_view END, std::string_view ARR,
                                       std::ostream& os, bdd_node* n);
    void Print_node_for_eval_arrayless(std::string_view OR, std::string_view AND, std::string_view NOTpre,
                                       std::string_view NOTpost, std::string_view VARpre, std::string_view VARsuf,
                                       std::string_view FALSE, std::string_view END, std::string_view PREFIX,
                                       std::string_view ARR, std::ostream& os, bdd_node* n);
    void Print_node_for_eval_NUSMV(std::string_view VARpre, std::string_view VARsuf, std::string_view PREFIX,
                                   std::string_view ARR, std::ostream& os, bdd_node* n);
    void Print_node_for_eval_VHDL(std::string_view ARR, std::ostream& os, bdd_node* n);
    // The same networks appended to text. PREFIX starts every line of an assignment network;
    // null: three blanks the terminal's line and two the others. arrayless: node signals ARR_n.
    void Append_node_for_eval(text_room& text, std::string_view OR, std::string_view AND, std::string_view NOTpre,
                              std::string_view NOTpost, std::string_view VARpre, std::string_view VARsuf,
                              std::string_view FALSE, std::string_view END, const std::string_view* PREFIX,
                              std::string_view ARR, bool arrayless, bdd_node* n, const bdd_naming* naming = nullptr);
    void Append_node_for_eval_NUSMV(text_room& text, std::string_view VARpre, std::string_view VARsuf,
                                    std::string_view PREFIX, std::string_view ARR, bdd_node* n);
    void Append_node_for_eval_VHDL(text_room& text, std::string_view ARR, bdd_node* n);
    void Print_node_for_eval_BLIF(const std::string& VARpre, const std::string& VARsuf,
                                  const std::string& ARR, std::ostream& os, bdd_node* n);
    // Loads of the variable node of the input NAME; the second marks it.
    void Print_node_for_eval_VHDL_reset_input(const std::string& ARR, std::ostream& os,
                                              const std::string& NAME, const bdd_naming* naming = nullptr);
    void Print_node_for_eval_VHDL_input(const std::string& PRE, const std::string& SUF,
                                        const std::string& ARR, std::ostream& os,
                                        const std::string& NAME, const bdd_naming* naming = nullptr);
    // The same for every input of NAMES in turn, the variables grouped by name in one pass.
    void Print_nodes_for_eval_VHDL_reset_inputs(const std::string& ARR, std::ostream& os,
                                                const std::list<std::string>& NAMES, const bdd_naming* naming);
    void Print_nodes_for_eval_VHDL_inputs(const std::string& PRE, const std::string& SUF, const std::string& ARR,
                                          std::ostream& os, const std::list<std::string>& NAMES,
                                          const bdd_naming* naming);

    // Manager copy and association table (bddpp_copy.cpp).
    // The same variables (names, ids, positions, name map) and no function node.
    explicit bddpp_manager(bddpp_manager* m);
    // Associates g with the single variable x; ends the process when x is not one.
    void Bdd_assoc_bdd_to_var(const bdd& g, const bdd& x);
    // f with every associated function followed once; *out: position of a self-dependent
    // variable met, else -1.
    bdd Bdd_follow_assoc(const bdd& f, int* out);
    bdd Bdd_assoc_of(long position); // the associated function of a position
    void debug_variables(std::ostream& os);
    void Print_Fixes_Points(std::ostream& os, const bdd& f);
    std::map<long, int> assoc_links; // ids set by Bdd_assoc_bdd_to_var -> link; each
                                     // holds one reference on its node
    // ---- end of covers, writers, emitters, copy ----

    // ---- expression parser (parse_exp_bdd.cpp) ----
    // The function of text over the variable names, after an optional priority "<n>" (also
    // "<other>" and "<default>", both -1). Constant 0 for an empty text and, with a message, for a
    // text holding '/', with unbalanced parentheses or that does not parse. *priority is 0 unless
    // the parse succeeds; *error receives the parser's code (0, 1, or 2 when its stack ran out)
    // only when the parser ran.
    bdd Parse_expression(const std::string& text, int* priority, int* error);
    // The same, refusing a text with a priority prefix.
    bdd Parse_expression(const std::string& text, int* error);

private:
    bddpp_manager(const bddpp_manager&);            // not copyable by value
    bddpp_manager& operator=(const bddpp_manager&); // not assignable
    void Grow_tables();
    void Resize_tables(long cap);
    bdd_node* Add_variable(const std::string& name, long position);
    // The node-level conjunction, disjunction or exclusive or, on an explicit stack.
    bdd_node* Apply(apply_op op, int a, bdd_node* x, int b, bdd_node* y, int& link);
    // Ends the process with the dumps of a result placed above both operands.
    [[noreturn]] void Apply_failed(apply_op op, int a, bdd_node* x, int b, bdd_node* y, int link,
                                   bdd_node* r, long pr, long px, long py);
    // Bdd_var_by_id's message and zero for an id out of range.
    bdd Var_id_out_of_range(long id);
};

// The complement and the variable of an id, inline: the reader asks for them on every line.
inline bdd bddpp_manager::Bdd_not(const bdd& f) { return bdd(this, -f.link, f.node_ptr); }

inline bdd bddpp_manager::Bdd_var_by_id(long id)
{
    if (id < 0 || id >= nvars) return Var_id_out_of_range(id);
    return bdd(this, 1, var_nodes[id]);
}

// ---- covers, sum-of-products and PLA writers, node emitters, manager copy ----
// The ternary decision tree of a function: a path chooses each level's variable positive
// (then), negative (else) or absent (dont_care); it reaches a leaf 1 exactly when the product
// of its literals implies the function. The tree owns its subtrees; none is shared.
class Tdd {
public:
    bddpp_manager* manager; // manager of the function; null when construction failed
    bdd value;              // leaf: the constant; inner node: the top variable, positive
    Tdd* then_tree;         // tree of the then-cofactor; null at a leaf
    Tdd* else_tree;         // tree of the else-cofactor; null at a leaf
    Tdd* dont_care_tree;    // tree of the AND of both cofactors; null at a leaf

    Tdd(bddpp_manager* m, bdd f);
    ~Tdd();
    // Adds every implicant met below this tree, path being the product chosen above it.
    void Bdd_implicants_loc(const bdd& path, std::list<bdd>& L);
    void Bdd_prime_implicants(std::list<bdd>& out);
    void Print_bdd_structure(std::ostream& os);
    void Print_bdd_structure_loc(std::ostream& os, int indent);

private:
    Tdd(const Tdd&);            // owns its subtrees: not copyable
    Tdd& operator=(const Tdd&); // not assignable
};

// Print_sop of f on f's own manager with " + ", " . ", "!", "" and kind 0.
void Print_debug_bdd(std::ostream& os, const bdd& f);

// Transfers from the source manager src to the target dst. Same order: dst holds src's
// variables at the same positions (a copy made by bddpp_manager(src) does).
bdd Bdd_isomorphe(bddpp_manager* dst, bddpp_manager* src, bdd f);
bdd_node* Bdd_isomorphe(bddpp_manager* dst, bddpp_manager* src, bdd_node* n);
// Through map: map[p] is the target position of the source position p.
bdd Bdd_isomorphe(bddpp_manager* dst, bddpp_manager* src, bdd& f, long* map);
bdd_node* Bdd_isomorphe(bddpp_manager* dst, bddpp_manager* src, bdd_node* n, long* map);
// By variable name; names missing in dst are appended to its order.
bdd Bdd_isomorphe_by_name(bddpp_manager* dst, bddpp_manager* src, bdd f);
bdd_node* Bdd_isomorphe_by_name(bddpp_manager* dst, bddpp_manager* src, bdd_node* n);
// ---- end of covers, writers, emitters, copy ----

#endif
