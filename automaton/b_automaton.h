// The Boolean automaton: its declarations (b_autom_dec), the automaton itself (b_automaton) and the
// wire record of the product (b_automaton_connector).
#ifndef NELVOR_B_AUTOMATON_H
#define NELVOR_B_AUTOMATON_H

#include <fstream>
#include <list>
#include <map>
#include <ostream>
#include <set>
#include <string>
#include <vector>

#include "bdd/bddpp.h"
#include "forest/Bddexpression.h"

// The declared variables of an automaton, in the layout registers, next-state variables, inputs,
// outputs, locals. Never freed: the automaton built from it adopts its arrays and its forest.
class b_autom_dec {
public:
    std::string* state_names;      // register names, state_count entries; null when empty
    std::string* next_state_names; // next-state names, same length and order as state_names
    std::string* input_names;      // input names, input_count entries; null when empty
    std::string* output_names;     // output names, output_count entries; null when empty
    std::string* local_names;      // local names, local_count entries; null when empty
    int state_count;               // number of registers
    int input_count;               // number of inputs
    int output_count;              // number of outputs
    int local_count;               // number of locals
    Bddexpressionwood* wood;       // the forest, over a new manager that it owns

    // Registers and next-state names must have the same length, else the process ends with
    // status 1. A name already declared keeps its first position (no new variable).
    b_autom_dec(const std::list<std::string>& states, const std::list<std::string>& next_states,
                const std::list<std::string>& inputs, const std::list<std::string>& outputs,
                const std::list<std::string>& locals);
    // The same with inputs, outputs and locals in ascending order.
    b_autom_dec(const std::list<std::string>& states, const std::list<std::string>& next_states,
                const std::set<std::string>& inputs, const std::set<std::string>& outputs,
                const std::set<std::string>& locals);
    // The same with inputs, outputs and locals already in ascending order, each name once.
    b_autom_dec(const std::list<std::string>& states, const std::list<std::string>& next_states,
                const std::vector<std::string>& inputs, const std::vector<std::string>& outputs,
                const std::vector<std::string>& locals);
    // The same, the names moved out of the vectors.
    b_autom_dec(const std::list<std::string>& states, const std::list<std::string>& next_states,
                std::vector<std::string>&& inputs, std::vector<std::string>&& outputs,
                std::vector<std::string>&& locals);

    // A new name is appended to the order and to local_names; a declared one changes nothing.
    void add_ident(const std::string& name);

    bddpp_manager* manager_associe();
    Bddexpressionwood* wood_associee();
    long ident_associe(bdd f);                        // position of f's top variable; -1 for a constant
    long ident_associe(const std::string& name);      // position of the variable; -1 when undeclared
    bdd bdd_ident_associe(const std::string& name);   // the variable; constant 0 when undeclared
    std::string nom_ident_associe(bdd f);             // name of f's top variable; "1" / "0" for constants

private:
    void declare_all(); // one New_var_last per name, in the layout order
};

class b_automaton_connector;
class taken_names;

// A synchronous Boolean automaton over one forest: registers with initial values, inputs,
// outputs, locals, an assertion and an invariant.
class b_automaton {
public:
    std::string* state_names;      // register names (adopted from the declarations)
    std::string* next_state_names; // next-state names, paired with state_names
    std::string* input_names;      // input names
    std::string* output_names;     // output names
    std::string* local_names;      // local names
    int state_count;               // number of registers
    int input_count;               // number of inputs
    int output_count;              // number of outputs
    int local_count;               // number of locals
    int level_count;               // number of date levels; 0 until sort
    Bddexpressionwood* wood;       // the forest, owned
    int* init_values;              // state_count initial values: 0, 1 or 2 (undetermined); owned copy
    bdd assertion;                 // assertion (constant 1 from the BLIF reader)
    bdd invariant;                 // invariant (constant 0 from the BLIF reader)

    // Adopts dec's arrays and forest, copies state_count values of init and marks the next-state
    // and output equations to be kept.
    b_automaton(b_autom_dec* dec, int* init, bdd assertion, bdd invariant);
    // Frees the arrays, the forest and its manager.
    ~b_automaton();

    // User type 1 on each next-state and output equation that exists.
    void keep_outputs_registers_equations();
    // Position of the variable that the layout puts at layout and names name (found by its name when
    // a repeated name moved the layout); -1 when the forest has no slot for it.
    long slot_of(long layout, const std::string& name) const;
    // Sets the forest's shared-manager flag when there is a forest; returns the forest.
    Bddexpressionwood* set_common_bdd_manager(int flag);

    bddpp_manager* manager_associe();
    Bddexpressionwood* wood_associee();
    long ident_associe(bdd f);
    long ident_associe(const std::string& name);
    bdd bdd_ident_associe(const std::string& name);
    std::string nom_ident_associe(bdd f);
    std::string nom_associe(long p); // name of the variable at position p
    // Right member of the equation defining the variable; constant 0 when the name is not
    // declared or has no equation.
    bdd bdd_exp_ident_associe(const std::string& name);

    int nb_state_vars();
    int nb_inputs();
    int nb_outputs();
    int nb_locals();
    int nb_equ_def();             // the forest's equation count; 0 without a forest
    Bddexpression* equ_def(int k); // the k-th equation in position order

    // Names by number from 0; "?" with a message outside [0, count).
    std::string nom_state_var(int i);
    std::string nom_next_state_var(int i);
    std::string nom_input(int i);
    std::string nom_output(int i);
    std::string nom_local(int i);

    // Replace the array entry only; the manager's variable keeps its name.
    void change_nom_input(int i, const std::string& name);
    void change_nom_output(int i, const std::string& name);

    // Index of the first equal entry; -1 when absent.
    int num_input(const std::string& name);
    int num_output(const std::string& name);
    int num_local(const std::string& name);

    // Complements the equation of output j.
    void reverse_output(int j);

    // Initial value of register i; 2 with a warning out of range.
    int valeur_initiale_state_var(int i);
    // vals[0 .. ns-1] := initial values, vals[ns .. Nb_bdd_vars-1] := 2.
    void etat_init(int* vals);
    // The cube of the initial state; an undetermined register counts as false.
    bdd bdd_etat_init();

    std::list<std::string> state_vars_list();
    std::list<std::string> next_state_vars_list();
    std::list<std::string> inputs_list();
    std::list<std::string> outputs_list();
    std::list<std::string> locals_list();

    // ---- cleaning, undefined variables, cycle breaking, input forgetting ----
    // Forgets the equations of the variables that no output needs, reporting them on the standard
    // output stream; a needed register keeps its next-state equation. Returns the use marks (one
    // per position, 1 for needed; to be freed with delete[]), null when the forest has no slot.
    int* useless_clean();
    // Names of the next-state variables, outputs and locals that have no equation, by position.
    std::list<std::string> identify_undef_variables();
    // Breaks the combinational cycles by expansion on the inputs; the created variables become
    // locals. With dump, writes the forest on f. Returns 1 when no cycle is left.
    int make_sortable(int verbose, int dump, std::fstream& f);
    // Every input quantified out of every equation; the next-state and output equations stay.
    void forget_exist_inputs();
    void forget_forall_inputs();
    // Early dates and late dates 0 before a new dating.
    void clear_dates();
    // ---- end of cleaning ----

    // ---- target writers ----
    // -- sorting, LUSTRE, description, BAC, awaited inputs --
    // Dates every equation afresh; returns the positions caught in a combinational cycle, ascending.
    std::list<long> sort();
    // Every writer below follows one set of conventions: names in array order, lines flushed,
    // equations in ascending early date; level is the cover kind of the sums of products.
    void LUSTRE_put(std::ostream& os, int level, const std::string& name);
    void DOC_put(std::ostream& os, int level, const std::string& name);
    void BAC_put(std::ostream& os, int level, const std::string& name); // writes nothing to os
    void export_awaited_inputs();                                        // changes nothing
    // -- ESTEREL, LIGHT ESTEREL --
    void ESTEREL_put(std::ostream& os, int level, const std::string& name);
    void LE_put(std::ostream& os, int level, const std::string& name);
    // -- LaTeX, BLIF, text dump --
    void LATEX_put(std::ostream& os, int level, const std::string& name);
    void BLIF_put(std::ostream& os, int level, const std::string& name) const;
    // keep: one int per order position, 1 meaning kept; null keeps everything.
    void BLIF_restrict_put(std::ostream& os, int level, const std::string& name, int* keep) const;
    std::string bddtoString(bdd f, int kind);
    void putbdd(bdd f, std::ostream& os, int kind);
    friend std::ostream& operator<<(std::ostream& os, b_automaton& a); // the text dump
    // -- C, CSharp, sketch, VHDL, SystemC --
    // The C source with its two functions into source, their prototypes into header.
    void C_put(std::ostream& source, std::ostream& header, int level, const std::string& name);
    void CSHARP_put(std::ostream& os, int level, const std::string& name);
    // pulse: the outputs driven by one action function instead of a true/false pair.
    void INO_put_grafcet(std::ostream& os, int level, const std::string& name, std::list<std::string>& pulse);
    // level 0 types the signals as bit, any other value as std_logic.
    void VHDL_put(std::ostream& os, int level, const std::string& name);
    void SYSTEMC_put(std::ostream& source, std::ostream& header, int level, const std::string& name);
    // -- what the writers share (b_automaton_writers.cpp; keep_position and node_stem in
    // b_automaton_blif.cpp, bddtoString and putbdd in b_automaton_doc.cpp; the helpers that read
    // no automaton are in automaton/b_automaton_writers.h) --
    int has_equations() const; // a forest holding at least one equation
    // The names joined by separator; names holds the names themselves or pointers to them (into
    // the name arrays, without copying the names).
    template <class Name>
    static std::string join_names(const std::vector<Name>& names, const std::string& separator = ", ")
    {
        std::string text;
        for (std::size_t i = 0; i < names.size(); ++i) {
            if (i > 0) text += separator;
            text += name_text(names[i]);
        }
        return text;
    }
    static const std::string& name_text(const std::string& name) { return name; }
    static const std::string& name_text(const std::string* name) { return *name; }
    // The names of the groups (name arrays with their lengths) in order, each once, leaving out
    // inputs and outputs.
    std::vector<const std::string*> declared_once(const std::vector<std::pair<const std::string*, int>>& groups) const;
    std::string init_text(int i) const; // "true", "false" or "???" for register i
    int keep_position(const int* keep, const std::string& input) const;
    std::string node_stem() const; // stem of the BLIF node signals, distinct from every signal
    // The written form of every signal that a target without verbatim identifiers cannot write
    // as it is: a name holding '@' as in at_free_names, a reserved name followed by "_" until it
    // is out of taken; taken receives the written forms and the reserved names.
    std::map<std::string, std::string> reserved_free_names(const std::set<std::string>& reserved,
                                                           std::set<std::string>& taken) const;
    std::map<std::string, std::string> reserved_free_names(const std::set<std::string>& reserved,
                                                           taken_names& taken) const;
    // For each output k, the number of the first register that is also output k; -1 when the
    // output is no register. In one pass: writers ask it once, not once per output.
    std::vector<int> output_registers() const;
    // Some signal is called name.
    bool has_name(const std::string& name) const;
    // The next-state names that name no register, input, output or local, each once.
    std::vector<std::string> next_states_undeclared() const;
    // The names that no equation and no register transition reads; node_array_read: some
    // equation reads the node array (its right member is no copy).
    std::vector<std::string> unread_signals(const std::vector<std::string>& names, bool& node_array_read) const;
    // Every declared name of the automaton.
    std::set<std::string> all_names() const;
    // The same names in ascending order, each once, as pointers into the name arrays.
    std::vector<const std::string*> sorted_names() const;
    // visit(name) on every declared name: registers, next states, inputs, outputs and locals,
    // in that order, a name as often as it is declared.
    template <class Visit> void for_each_name(Visit visit) const
    {
        for (auto group : {std::make_pair(state_names, state_count), std::make_pair(next_state_names, state_count),
                           std::make_pair(input_names, input_count), std::make_pair(output_names, output_count),
                           std::make_pair(local_names, local_count)})
            for (int i = 0; i < group.second; ++i) visit(group.first[i]);
    }
    // Node number of the variable node of the named variable.
    long variable_node_number(const std::string& var);
    // The written form of every signal whose name holds '@', which no target takes in an
    // identifier: each '@' becomes "_at_", then "_" is appended until the name is out of taken;
    // taken receives the written forms.
    std::map<std::string, std::string> at_free_names(std::set<std::string>& taken) const;
    std::map<std::string, std::string> at_free_names(taken_names& taken) const;
    // Every declared name, as names taken (automaton/b_automaton_writers.h).
    taken_names taken_signal_names() const;
    // The naming of the equation writers over the forest's manager: each signal of written
    // under its written name, the others under their own. Needs a forest.
    bdd_naming naming_of(const std::map<std::string, std::string>& written) const;
    // Some register is fed directly by a register: the transitions must then all go through the
    // next values, so that none reads a value of after the step.
    bool registers_chained() const;
    // -- end of what the writers share --
    // ---- end of target writers ----

    // ---- simulation, input sensitivity, product and observer (tag simprod) ----
    // The synchronous product of the n components with their instance names, wired by the
    // connectors (count of them; null when count is 0); each component's variables renamed
    // instance "_" name except inputs and outputs, which are shared by name. When two variables of
    // the product would bear one name, or a connector names nothing, a line goes to the standard
    // error stream and the product is left empty: no forest and every count 0.
    b_automaton(int n, b_automaton** components, std::string* instances, int count,
                b_automaton_connector* connectors);
    // f, a function of this automaton, rebuilt in target: the variable at position p becomes the
    // target's variable at map[p]. Each node is rebuilt once. Empty for an empty f, and with a
    // message for a variable whose map entry is no position of target.
    bdd bdd_isomorphe(bddpp_manager* target, bdd f, int* map);

    // One synchronous step on a valuation of every variable (0, 1, 2 undetermined): dst := src,
    // every equation evaluated in date order (the dates are computed first when they are not),
    // then the registers take their next values. Returns 1 when every equation gave 0 or 1; else
    // 0 with dst holding the partial valuation, the registers not advanced, and with verbose the
    // report shown in the message window. src and dst hold one int per variable.
    int evaluation_etat_suivant(int* src, int verbose, int* dst);
    // Under the cube cond: the cube of the next state over the register positions, and the cube of
    // the outputs through outputs; a function that cond leaves open is reported on the standard
    // error stream and left out. Constant 0 for both under a contradictory cond; a cond that is no
    // cube (its cofactors would not be the functions under it) is refused with a line on the
    // standard error stream, and both are constant 1.
    bdd evaluation_etat_suivant(bdd& cond, int unused, bdd* outputs);
    // The cube cond split into classes whose next state and outputs are fixed: the classes'
    // conditions are pairwise disjoint cubes covering constant 1. Returns the number of classes;
    // 0 for a contradictory cond, and with a line on the standard error stream for one that is no
    // cube.
    int evaluation_etats_suivants(bdd& cond, std::vector<bdd>& conditions, std::vector<bdd>& next_states,
                                  std::vector<bdd>& outputs);
    // The same into arrays that the caller sizes for every class.
    int evaluation_etats_suivants(bdd& cond, bdd* conditions, bdd* next_states, bdd* outputs);
    // The same writing at most room classes; returns the number of classes, which may exceed room.
    int evaluation_etats_suivants(bdd& cond, bdd* conditions, bdd* next_states, bdd* outputs, int room);
    // For the cube state: the conditions under which every equation that the variable at index
    // reads is determined; the search is traced on the standard error stream.
    std::list<bdd> sensibilite_entrees(bdd state, long index);
    // The earlier search over every equation of the forest reduced by the cube state.
    std::list<bdd> old_sensibilite_entrees(bdd state);
    // -- helpers of the simulation (tag simprod) --
    long next_state_position(int i) const; // position of register i's next-state variable; -1
    long output_position(int k) const;     // position of output k's variable; -1
    // The cubes of the registers' next values and of the outputs that w's equations fix.
    bdd next_state_cube(Bddexpressionwood* w);
    bdd output_cube(Bddexpressionwood* w);
    // -- end of tag simprod --
};

// Marks every position that the equation at p needs (its dependencies, p itself, and so on through
// the equations met), on an explicit worklist; 1 when it marked at least one position.
int internal_use_detection(Bddexpressionwood* wood, int* marks, int p);

// A wire of the synchronous product: output from_output of automaton from_automaton drives
// input to_input of automaton to_automaton.
class b_automaton_connector {
public:
    int from_automaton; // number of the driving automaton
    int from_output;    // its output number
    int to_automaton;   // number of the driven automaton
    int to_input;       // its input number

    b_automaton_connector(); // every field -1
    b_automaton_connector(int from_automaton, int from_output, int to_automaton, int to_input);
    b_automaton_connector(const b_automaton_connector& c) = default;
    b_automaton_connector& operator=(const b_automaton_connector& c);
};

// from_automaton ":" from_output " --> " to_automaton ":" to_input, then a newline.
std::ostream& operator<<(std::ostream& os, const b_automaton_connector& c);

// ---- simulation, product and observer (tag simprod) ----
// Shows a report of the automaton meant for the modal message window. The dialog layer installs
// its window here; until then the text and a newline go to the standard error stream, as the
// dialogs do without a display.
extern void (*b_automaton_message_window)(const std::string& text);

// a and b side by side ("inst0", "inst1"), every input wired to the output of the other that
// bears its name; null when a or b is null or the product cannot be built.
b_automaton* merge(b_automaton* a, b_automaton* b);
// An automaton whose output "equiv" is true when each output name common to both lists has equal
// values on its two inputs "equiv_observer_autom1_" name and "equiv_observer_autom2_" name; the
// connectors from automata 0 and 1 to the observer (number 2) go out through the pointers, in a
// new array that the caller deletes.
b_automaton* equiv_observer(std::list<std::string>& outputs1, std::list<std::string>& outputs2, int* count,
                            b_automaton_connector** connectors);
// The product of a ("autom1"), b ("autom2") and their observer ("observer"); null when a or b is
// null or the product cannot be built.
b_automaton* observateur_equivalence(b_automaton* a, b_automaton* b);
// -- end of tag simprod --

#endif
