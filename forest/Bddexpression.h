// The equation forest: one equation (Bddexpression) and every equation over one manager (Bddexpressionwood).
#ifndef NELVOR_BDDEXPRESSION_H
#define NELVOR_BDDEXPRESSION_H

#include <cstddef>
#include <initializer_list>
#include <list>
#include <map>
#include <ostream>
#include <set>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

#include "bdd/bdd_naming.h"
#include "bdd/bddpp.h"
#include "forest/position_bits.h"
#include "forest/position_set.h"
#include "utils/text_room.h"

class Bddexpressionwood;

// One equation lhs := f. A forest owns the equations of its table; an equation without a forest is
// only a value (copies, lists).
class Bddexpression {
public:
    Bddexpressionwood* wood;     // forest holding the equation; null for a free-standing one; not owned
    std::string name;            // equation name (by default the left member's variable name)
    bdd bdd_var;                 // left member: positive literal of the defined variable; empty when unset
    int abstraction;             // 0: bdd_exp is the function; 1: abstract, the function is named by exp_def
    std::string exp_def;         // definition text of an abstract equation; empty for a concrete one
    bdd bdd_exp;                 // right member; empty for an abstract or free-standing equation
    long weight;                 // weight on critical paths; 1 unless copied
    position_set dependances;    // order positions that the right member reads (explicit when abstract)
    long early_date;             // early date; only raised by the date computations
    int user_type;               // free for the user: the automaton sets 1 on next-state and output equations

    // Free-standing: empty name and functions, abstract, early date 0.
    Bddexpression();
    // As the default constructor with wood = w; not registered.
    explicit Bddexpression(Bddexpressionwood* w);
    // Concrete equation var := f registered in w; without w a free-standing abstract value.
    Bddexpression(std::string name, Bddexpressionwood* w, bdd var, bdd f, long early, long late);
    Bddexpression(std::string name, Bddexpressionwood* w, bdd var, bdd f, long early, long late, int user_type);
    // As above, named after var's variable.
    Bddexpression(Bddexpressionwood* w, bdd var, bdd f, long early, long late);
    // Empty def: concrete as above; otherwise abstract, registered with no readers.
    Bddexpression(std::string name, Bddexpressionwood* w, bdd var, bdd f, std::string def, long early, long late,
                  int user_type);
    // Abstract equation of the variable of that id reading D, read by R (R may be null).
    Bddexpression(long id, Bddexpressionwood* w, std::set<long>* R, std::set<long>* D, long early, long late);
    Bddexpression(long id, Bddexpressionwood* w, std::set<long>* R, std::set<long>* D, std::string def, long early,
                  long late);
    Bddexpression(long id, Bddexpressionwood* w, std::set<long>& D, std::string def, long early, long late);
    // Copy of e (of a forest) rebuilt in w's manager; not registered.
    Bddexpression(Bddexpressionwood* w, Bddexpression& e);
    // Copy of e, whose functions live in from's manager, rebuilt in to's manager and registered in to.
    Bddexpression(Bddexpressionwood* from, Bddexpressionwood* to, Bddexpression& e);
    // Copies within e's forest; not registered.
    Bddexpression(const Bddexpression& e);
    Bddexpression(Bddexpression& e);
    // Does not unregister the equation from its forest.
    ~Bddexpression();
    // Equations come from blocks of many, their slots reused after a delete.
    static void* operator new(std::size_t size);
    static void operator delete(void* slot, std::size_t size);

    Bddexpression& operator=(Bddexpression& e);
    Bddexpression& operator=(const Bddexpression& e);
    // Compares abstraction, bdd_var, bdd_exp, user_type, weight, name and exp_def.
    bool operator==(const Bddexpression& e) const;
    bool operator!=(const Bddexpression& e) const;

    int getUserType();
    void setUserType(int t);
    long getW();
    void setW(long w);
    void setAbstraction(int a);
    std::string getExpDef();
    // A non-empty text also makes the equation abstract.
    void setExpDef(std::string def);
    // The forest's late date at the left member's position; 0 without forest, left member or slot.
    long getLateDate() const;
    // Writes the forest's late date at the left member's position (when in range).
    void setLateDate(long late);
    // The left member's variable name; "" without forest or left member.
    std::string my_bddname();
    // dependances plus, with a forest, the left member's position.
    position_set set_of_index_used_variables();
    // The forest's reader sets are not touched.
    void add_specific_var_dependance(long p);
    // Concrete equations only: dependances := positions of the right member's support.
    void internal_build_dependances();
    void internal_build_dependances(bddpp_manager* m);
    // Grows the forest's tables first.
    void build_normal_dependances();
    // Sets wood and registers the equation there; w must not be null.
    void setBddexpressionwood(Bddexpressionwood* w);

    // Free-standing equations only (refused with a message when a forest is set).
    void setBddVar(bddpp_manager* m, bdd var);
    void setBddExp(bddpp_manager* m, bdd f);

    // f := NOT f; the support, hence the reader sets, is unchanged.
    void append_not_exp();

    // Replace the right member of an equation of a forest, keeping the reader sets in step. The
    // one-argument forms and the append forms then walk the critical paths of the equation.
    void setBddExp(bdd f);
    // Also sets the early date and the forest's late date; walks no critical path.
    void setBddExp(bdd f, long early, long late);
    void append_or_exp(bdd g);   // f := g OR f
    void append_and_exp(bdd g);  // f := g AND f

    // The stream text without the address and the type.
    std::string debug_in_string();

    // f := ite(x, lhs_x, lhs_notx) with x the variable of id v and two new equations for the
    // cofactors; p1, p0 get their positions, -3 when nothing could be done.
    void Shannon_expand(long v, long& p1, long& p0);

    // ---- equation writers ----
    // Each writes this equation alone, never a final newline, and nothing at all unless the forest's
    // manager and both members are set. k is the cover kind of the sum of products. The shared-node
    // writers first emit the nodes of f that are not marked yet, children first, marking them.
    // A naming gives the names and operands the writer writes (bdd_naming.h); without one they
    // are the manager's names.
    // NAME " = " the sum in words; boolean_constants 1 writes a constant right member false or true.
    void put_basic_doc(std::ostream& os, int k, int boolean_constants = 0, const bdd_naming* naming = nullptr);
    void put_lustre_compatibilite(std::ostream& os, int k);
    // assign " = " in place of " <= " makes a plain assignment; PRE and SUF go around every name.
    void put_systemc(std::ostream& os, int k, const std::string& assign = " <= ", const std::string& PRE = "",
                     const std::string& SUF = "", const bdd_naming* naming = nullptr);
    void put_esterel(std::ostream& os, int k, const bdd_naming* naming = nullptr);
    void put_latex(std::ostream& os, int k);
    void put_cat(std::ostream& os, const std::string& ARR, int k);
    void put_tree(std::ostream& os);
    // An output gets its nodes and a comment only: the process assigns it. drive_elements 1 also
    // writes, on a line of its own, ARR(m) <= [not ]ARR(n) for the element m of the defined
    // variable's node, and reads a copied variable through its element instead of its name.
    void put_vhdl(std::ostream& os, const std::string& ARR, const std::list<std::string>& outputs,
                  int drive_elements = 0, const bdd_naming* naming = nullptr);
    // The same, the outputs looked up in a set that the caller builds once for every equation.
    void put_vhdl_among(std::ostream& os, const std::string& ARR, const std::unordered_set<std::string>& outputs,
                        int drive_elements, const bdd_naming* naming);
    // Non-outputs are written into the element of their own variable's node.
    void put_vhdl_vorix(std::ostream& os, const std::string& ARR, const std::list<std::string>& outputs);
    void put_vhdl_vorix_among(std::ostream& os, const std::string& ARR,
                              const std::unordered_set<std::string>& outputs);
    // An output is written through a pointer ("  *").
    void put_c(std::ostream& os, const std::string& ARR, const std::list<std::string>& outputs,
               const std::string& PRE = "", const std::string& SUF = "", const bdd_naming* naming = nullptr);
    void put_c_among(std::ostream& os, const std::string& ARR, const std::unordered_set<std::string>& outputs,
                     const std::string& PRE, const std::string& SUF, const bdd_naming* naming);
    // As put_c, but an output becomes a test of f calling its action functions: NAME_true() and
    // NAME_false() when kinds at its position is 1, NAME() otherwise. These lines end in newlines.
    void put_ino_grafcet(std::ostream& os, const std::string& ARR, const std::list<std::string>& outputs,
                         const std::string& PRE, const std::string& SUF, int* kinds, const bdd_naming* naming = nullptr);
    // Indented by count blanks, two when count is 0, none when it is negative.
    void put_csharp(std::ostream& os, const std::string& ARR, int count = 0);
    void put_csharp(std::ostream& os, const std::string& ARR, const std::string& PRE, const std::string& SUF,
                    int count = 0, const bdd_naming* naming = nullptr);
    void put_lustre(std::ostream& os, const std::string& ARR);
    // Node n is the signal ARR_n.
    void put_lustre_arrayless(std::ostream& os, const std::string& ARR);
    // Writes "   not defined!" or the "= ???" line for a missing member; only needs the manager.
    void put_doc(std::ostream& os, const std::string& ARR);
    // One .names block per node, each ended by an empty line, then the equation's block with a newline.
    void put_blif(std::ostream& os, const std::string& ARR);
    // used[n] = 1 for every node n of f not yet marked, which it marks; nothing for a copy.
    void Lustre_writing_node_used(int* used);
    // LEC forms; values numbers the variables by order position (those that f reads included).
    // Early date, late date, a newline, then the numbered table of f (cover kind k).
    void put_lec_0_3_0(std::ostream& os, long* values, int k);
    // Early date, late date, the number of the defined variable, ":", then the traversal number
    // of f's top node (as the last node list numbered it), "," and f's link; -3,-3 without right
    // member. Needs only the manager and the left member.
    void put_lec_2_0_4(std::ostream& os, long* values);
    // put_lec_2_0_4, then ",(" the numbers of the dependencies, each followed by a blank, ")".
    void put_lec(std::ostream& os, long* values);

    // Helpers of the writers.
    enum { emit_array, emit_array_prefix, emit_arrayless, emit_nusmv, emit_vhdl }; // node emitter choice
    // Vocabulary of a shared-node target: the node emitter's strings and the equation's own line.
    struct node_code_form {
        int emitter;                 // one of the emit_ values
        std::string_view OR;         // disjunction of the node lines
        std::string_view AND;        // conjunction of the node lines
        std::string_view NOT;        // negation prefix of the node lines
        std::string_view FALSE;      // constant false of the terminal's line
        std::string_view END;        // end of a node line
        std::string_view assign;     // after the left side
        std::string_view copy_end;   // after a copied variable's name
        std::string_view root_not;   // before the top node's reference when f is complemented
        std::string_view root_open;  // between ARR and the top node's number
        std::string_view root_close; // after the top node's number
        int copy_by_name;            // 1: a copy reads its variable by name and emits no node
    };
    // 1 when the forest's manager and both members are set.
    int put_ready() const;
    // The defined variable's name.
    std::string put_name(const bdd_naming* naming = nullptr) const;
    // 1 when f is a single positive variable.
    int put_is_copy() const;
    // The node network of f then left, assign and the reference of f's top node; a copy by name
    // writes left, assign, PRE, the variable, SUF and copy_end. Needs put_ready().
    void put_shared_nodes(std::ostream& os, const node_code_form& form, const std::string& left,
                          const std::string& ARR, const std::string& PRE, const std::string& SUF,
                          const std::string& prefix, const bdd_naming* naming = nullptr);
    // The same lines appended to text, the left side given in pieces.
    void put_shared_nodes(text_room& text, const node_code_form& form, std::initializer_list<std::string_view> left,
                          std::string_view ARR, std::string_view PRE, std::string_view SUF, std::string_view prefix,
                          const bdd_naming* naming = nullptr);
    // ---- end of equation writers ----
};

std::ostream& operator<<(std::ostream& os, const Bddexpression& e);

// Every equation of one system over one manager, held by the order position of its left member.
class Bddexpressionwood {
public:
    int shared_manager;             // 0: manager owned (deleted and cloned); else shared with another forest
    bddpp_manager* manager;         // never null
    position_bits expression_ids;   // positions whose slot holds an equation (change it only through the ids_ helpers)
    int nb_bdd_vars;                // slots in use: the manager's variable count after every growth
    int arrays_length;              // capacity of the three arrays: a power of two >= max(1, nb_bdd_vars)
    Bddexpression** exp_table;      // arrays_length slots: the equation of each position or null; owning
    position_set* readers;          // arrays_length sets: positions of the equations that read each position
    long* late_dates;               // arrays_length late dates, one per position
    int nb_level;                   // number of date levels; 0: dates not computed

    // Creates and owns a new manager.
    Bddexpressionwood();
    // Takes ownership of m.
    explicit Bddexpressionwood(bddpp_manager* m);
    // Deep copies: new equations; the manager is shared when the source's flag is set, else cloned.
    explicit Bddexpressionwood(Bddexpressionwood* w);
    Bddexpressionwood(const Bddexpressionwood& w);
    Bddexpressionwood(Bddexpressionwood& w);
    Bddexpressionwood& operator=(const Bddexpressionwood& w);
    Bddexpressionwood& operator=(Bddexpressionwood& w);
    // Deletes the equations, and the manager when it is owned.
    ~Bddexpressionwood();

    // Variables, declared through the manager; the tables follow.
    bdd New_var_last(const std::string& name);
    long Index_new_var_last(const std::string& name);
    bdd New_var_before_by_bdd(bdd v, const std::string& name);
    bdd New_var_before_by_index(long p, const std::string& name);
    bdd New_var_after_by_bdd(bdd v, const std::string& name);
    bdd New_var_after_by_index(long p, const std::string& name);
    // Grows the tables to the manager's variable count.
    void update_bdd_vars();
    // Follows the insertion of one variable at position k: slots at k and below move down one; every
    // late date becomes 0.
    void update_bdd_vars(long k);

    // Puts e into the slot of its left member and links the reader sets; a former equation of that
    // slot is unlinked but not deleted.
    void learn_expression(Bddexpression* e);
    // The same, then the positions of R become readers of e's variable.
    void learn_abstract_expression(Bddexpression* e, std::set<long>* R);

    // Deletes the equation at i when nothing reads it.
    void forget_expression_by_bddid(long i);
    // The same, leaving i in its dependencies' reader sets and its late date.
    void absolute_forget_expression_by_bddid(long i);
    // Deletes every unread equation without dependencies whose position is not kept.
    void clean(std::set<long>& keep);
    void clean(std::list<long>& keep);

    int exp_number();
    int Nb_bdd_vars();
    int Nb_level();
    // Sets nb_level verbatim; 0 makes the next compute_dates recompute every date.
    void update_nb_level(long n);
    Bddexpression** Exp_table();
    // The k-th equation (from 0) in ascending position; null with a message when k is out of range.
    Bddexpression* exp(int k);
    Bddexpression* exp_by_index(long i);
    Bddexpression* exp_by_bdd(bdd v);
    Bddexpression* exp_by_bddname(const std::string& s);
    Bddexpression* exp_by_name(const std::string& s);
    int Index_exp_by_name(const std::string& s);
    std::string Name_exp_by_index(long i);
    std::string Name_exp_by_bdd(bdd v);
    std::string Bddname_exp_by_index(long i);
    std::string Bddname_exp_by_bdd(bdd v);
    std::set<long> Set_of_index_used_variables();

    // f := NOT f for the equation at i, when there is one.
    void append_not_expression(long i);
    void delete_prefixe_names(const std::string& prefix);
    // Rebuilds every equation's dependencies and every reader set.
    void internal_global_build_dependances();

    // Writes every reader set that differs from the dependencies.
    void coherence_dependances_check(std::ostream& os) const;
    void stat(std::ostream& os) const;

    // Dates: returns nb_level at once when it is not 0. When cycles would make the step-by-step
    // dating too long, the equations around them are dated past the bound (with a warning).
    int compute_dates();
    // Incremental dating of the listed positions.
    int compute_dates(std::list<long>& positions);
    void early_propagation(long v, long d);
    void late_propagation(long v, long d);
    // Positions of the equations caught in a cycle; empty when there is none.
    std::list<long> loop_detection();
    // Positions holding an equation by ascending early date 0 .. nb_level, ties by ascending position.
    std::list<long> earliest_sort() const;
    // The same positions in an array.
    std::vector<long> earliest_positions() const;
    // Whether a date lies in 0 .. nb_level: the equations the sorts list are those so dated.
    bool in_dates(long d) const { return d >= 0 && d <= nb_level; }
    // By descending late date nb_level .. 0, ties by ascending position.
    std::list<long> latest_sort() const;
    // Shannon expansion on allowed variables until no cycle remains (ok = 1) or none is left (ok = 0);
    // returns the created positions.
    std::set<long> loop_breaking(std::set<long> allowed, int& ok);

    // Closures of the readers below i and of the dependencies above i (callers pass 0 and {}).
    std::set<long> down_dependances(long i, long depth, std::set<long>& acc);
    std::set<long> up_dependances(long i, long depth, std::set<long>& acc);
    // a plus the heaviest chain of readers below i.
    long down_critical_path(long i, long depth, long a);
    // b plus the heaviest chain of dependencies from i upward, i included; past the variable count
    // (a cycle) it substitutes the equations it meets into their readers.
    long up_critical_path(long i, long depth, long b);
    // Dependency tree of i.
    void stat_early_dep(std::ostream& os, long i);
    // Smallest dependency of the first read equation with dependencies by (early date, position); -1.
    long reduce_proposition_by_variable();
    // Substitutes the equation at b into its readers and detaches it; it stays in its slot. Ends the
    // process on a self-dependence.
    void useless_local(long b);
    // Self-dependence report of the equation e at b on the standard error stream, then exit status 1.
    [[noreturn]] void self_dependance_exit(long b, const Bddexpression& e) const;
    // The same report, without ending the process.
    void self_dependance_report(long b, const Bddexpression& e) const;

    // ---- simplification ----
    // The operations taking a keep list never delete an equation whose user type is in it; the
    // others use an empty list. Loops over positions, reader sets and dependencies run ascending.
    // Folds every constant equation that is read into its readers, until none is left with
    // readers; the folded equations are deleted unless kept. Every reader set is rebuilt after.
    void constants_propagation(const std::list<int>& keep);
    void constants_propagation();
    // constants_propagation(), then 1 when every equation left has a constant right member.
    int global_tautology();
    // Every right member f := f restricted by care, then constants_propagation(keep).
    void reduce_expressions(bdd care, const std::list<int>& keep);
    void reduce_expressions(bdd care);
    // Every right member with the variable at position k quantified out, then constants_propagation().
    void reduce_expressions_when_var_forgotten_by_exist_op(long k);
    void reduce_expressions_when_var_forgotten_by_forall_op(long k);
    // The same with constants_propagation(keep), so that the kept equations stay.
    void reduce_expressions_when_var_forgotten_by_exist_op(long k, const std::list<int>& keep);
    void reduce_expressions_when_var_forgotten_by_forall_op(long k, const std::list<int>& keep);
    // The same as the keep-list form of the existential (forall 0) or universal (forall 1) one for
    // each position in turn; from the second position on, the reader sets are kept in step fold by
    // fold instead of being rebuilt, so that each position costs what its readers cost.
    void reduce_expressions_when_vars_forgotten(const std::vector<long>& positions, int forall,
                                                const std::list<int>& keep);
    // Substitutes every non-kept equation that is read and reads something into its readers and
    // deletes it (an equation reading its own variable is left); then constants_propagation(keep).
    void suppress_locals(const std::list<int>& keep);
    void suppress_locals();
    // The same for the equation at b alone, whatever its user type; a self-dependence is reported
    // and changes nothing.
    void suppress_local(long b);
    // One ascending pass substituting and deleting every non-kept equation that reads exactly one
    // other variable; then constants_propagation(keep) and new dates. Equations whose dates a cycle
    // makes infinite keep the dates they had.
    void suppress_wires(const std::list<int>& keep);
    void suppress_wires();
    // One implicant of the first non-constant right member in latest_sort order; constant 1.
    bdd reduce_proposition_by_assertion();
    // ---- end of simplification ----

    // Copies every equation of source into this forest under new names: each variable that
    // source defines or reads gets a new variable at the end of the order, named by its name
    // followed by suffix, or by renaming[name] (a missing name is inserted into the map with an
    // empty new name, and warned about). source may share this forest's manager or have its own.
    // Refused with a message on the standard error stream, changing nothing, when source is this
    // forest or when a new name is already a variable of this manager or is given to two
    // variables. With a shared manager a defined variable without a new name ends the process
    // with status 1, before anything is changed. Collects the unreferenced nodes afterwards.
    void Include_wood_instance(Bddexpressionwood* source, const std::string& suffix);
    void Include_wood_instance(Bddexpressionwood* source, std::map<std::string, std::string>* renaming);

    // Keep the index behind exp(k) in step; every change of expression_ids goes through them.
    void ids_insert(long i);
    void ids_erase(long i);

    // ---- equation writers ----
    // Every equation in earliest_sort order through its per-equation writer, each followed by a
    // newline, with the target's separators. The shared-node writers (Put_vhdl and below) write
    // nothing without a manager and clear every node mark first, so that a node shared by several
    // equations is written once, by the first one in date order; the marks are left set.
    // Per equation put_basic_doc and ";".
    void Put_basic_doc(std::ostream& os, int k, int boolean_constants = 0, const bdd_naming* naming = nullptr);
    // Per equation four blanks and put_systemc.
    void Put_systemc(std::ostream& os, int k, const std::string& assign = " <= ", const std::string& PRE = "",
                     const std::string& SUF = "", const bdd_naming* naming = nullptr);
    // The equations joined by lines "  ||".
    void Put_esterel(std::ostream& os, int k, const bdd_naming* naming = nullptr);
    // An itemize list, one "\item " per equation.
    void Put_latex(std::ostream& os, int k);
    void Put_cat(std::ostream& os, const std::string& ARR, int k);
    // The clocked process (output resets, the reset statements, input resets; input loads on the
    // rising edge; outputs by ascending position and the update statements on the falling edge),
    // then "-- actualisation" and the equations. Statements are written after four blanks and ended by ";".
    void Put_vhdl(std::ostream& os, const std::string& ARR, const std::list<std::string>& inputs,
                  const std::list<std::string>& outputs, const std::list<std::string>& resets,
                  const std::list<std::string>& updates, int drive_elements = 0, const bdd_naming* naming = nullptr);
    // One-edge process (updates then input loads), outputs as concurrent assignments.
    void Put_vhdl_vorix(std::ostream& os, const std::string& ARR, const std::list<std::string>& inputs,
                        const std::list<std::string>& outputs, const std::list<std::string>& resets,
                        const std::list<std::string>& updates);
    void Put_c(std::ostream& os, const std::string& ARR, const std::list<std::string>& outputs,
               const std::string& PRE = "", const std::string& SUF = "", const bdd_naming* naming = nullptr);
    void Put_ino_grafcet(std::ostream& os, const std::string& ARR, const std::list<std::string>& outputs,
                         const std::string& PRE, const std::string& SUF, int* kinds, const bdd_naming* naming = nullptr);
    void Put_csharp(std::ostream& os, const std::string& ARR, int count = 0);
    void Put_csharp(std::ostream& os, const std::string& ARR, const std::string& PRE, const std::string& SUF,
                    int count = 0, const bdd_naming* naming = nullptr);
    void Put_lustre(std::ostream& os, const std::string& ARR);
    void Put_lustre_arrayless(std::ostream& os, const std::string& ARR);
    void Put_doc(std::ostream& os, const std::string& ARR);
    // With sel, only the equations whose position holds 1 in sel; the others leave an empty line.
    void Put_blif(std::ostream& os, const std::string& ARR, int* sel = nullptr);
    // used[0 .. count-1] = 0, then used[n] = 1 for every node n that the equations' networks use.
    void Lustre_writing_node_used(long count, int* used);

    // LEC and lea exports, by ascending position; values[i] numbers position i, -1 leaves its
    // equation out. flag non-zero adds a comment line per equation, and an empty line after the
    // comment of one left out. The node-list forms first list (and number and mark) the nodes of
    // every exported right member, then write "expressions:".
    void Put_lec_0_3_0(std::ostream& os, long* values, int k, int flag);
    void Put_lec_2_0_4(std::ostream& os, long* values, int flag);
    // The comments are put_doc texts.
    void Put_lec(std::ostream& os, long* values, int flag);
    // One line per position i with values[i] >= 0: its number, the numbers of the positions of
    // selection above and below it with the critical paths, then ["name.lec:number"]. n is not used.
    void Put_lea(std::ostream& os, long* values, std::set<long>& selection, int n, const std::string& name);
    // The same with ["definition"] for an equation with a definition string, nothing otherwise.
    void Put_lea(std::ostream& os, long* values, std::set<long>& selection, int n);

    // write(e) then a newline for each equation e of the earliest_sort order.
    template <class Write> void Put_in_date_order(std::ostream& os, Write write)
    {
        for_each_in_date_order([&](Bddexpression& e) {
            write(e);
            os << '\n';
        });
    }
    // visit(e) on each equation in the order of earliest_positions().
    template <class Visit> void for_each_in_date_order(Visit visit)
    {
        const std::vector<long> order = earliest_positions();
        // the equations lie apart in memory and the date order jumps between them: each is
        // fetched a few equations ahead of its turn
        const size_t ahead = 8;
        for (size_t k = 0; k < order.size() && k < ahead; ++k) prefetch_equation(exp_table[order[k]]);
        for (size_t k = 0; k < order.size(); ++k) {
            if (k + ahead < order.size()) prefetch_equation(exp_table[order[k + ahead]]);
            // by now the equation half as far ahead is there: its two members' nodes are asked for
            if (k + ahead / 2 < order.size()) {
                const Bddexpression* e = exp_table[order[k + ahead / 2]];
                __builtin_prefetch(e->bdd_var.node());
                __builtin_prefetch(e->bdd_exp.node());
            }
            visit(*exp_table[order[k]]);
        }
    }
    // Asks for the memory of the equation's members that every writer reads.
    static void prefetch_equation(const Bddexpression* e)
    {
        const char* p = reinterpret_cast<const char*>(e);
        __builtin_prefetch(p);
        __builtin_prefetch(p + sizeof(Bddexpression) - 1);
    }
    // The same after clearing every node mark; nothing without a manager.
    template <class Write> void Put_sharing_nodes(std::ostream& os, Write write)
    {
        if (!manager) return;
        manager->Bdd_global_clear_marks();
        Put_in_date_order(os, write);
    }
    // ---- end of equation writers ----

private:
    mutable std::vector<long> ids_index;  // expression_ids as an array, for exp(k)
    mutable bool ids_index_stale;         // ids_index must be rebuilt before use
    long dating_budget;                   // propagation steps left to a full dating; -1: no limit

    void allocate_arrays(int length);
    void release_arrays();
    void copy_from(const Bddexpressionwood& w);
    void date_position(long i, const char* reader_message);
    template <class Keep> void clean_kept(Keep& keep);
};

std::ostream& operator<<(std::ostream& os, const Bddexpressionwood& w);

// Returns w's compute_dates().
int PERT(Bddexpressionwood* w);

// { code[x] : x in s }
std::set<long> set_reencoding(const std::set<long>& s, long* code);
// Subtracts each array's minimum; returns the greatest value left (0 when n < 1).
long normalise_min_min(long n, long* a, long* b);
// One line of levels on the standard output stream.
void affiche_level(long n, bddpp_manager* m, long* values);
// One step of the fixpoint dating; 1 when a value changed; cycle is set past 2n.
int learn_upstream_dependance(long n, long* values, Bddexpression& e, int* cycle);
int learn_downstream_dependance(long n, long* values, Bddexpression& e, int* cycle);
// Fixpoint dating of an array of equations: the number of levels, or -1 on a cycle.
long PERT_original_version(long count, Bddexpression** equations);
long PERT_original_version(long count, Bddexpression* equations);

#endif
