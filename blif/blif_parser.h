// The BLIF reader: the parser object shared by the pre-pass, the grammar and the translation run,
// one cover of the grammar, and the scanner's free functions.
#ifndef NELVOR_BLIF_PARSER_H
#define NELVOR_BLIF_PARSER_H

#include <istream>
#include <list>
#include <vector>
#include <ostream>
#include <string>

#include "automaton/b_automaton.h"

class blifFlexLexer;

// Token codes: TOKEN_NL (258) to TOKEN_ident (268) in the generated parse_blif.hpp; 0 is the end of
// input.

// 1: a run of line ends is a token; 0: the next run is swallowed (and sets it to 1); 2: a backslash
// on a declaration line: the next run is swallowed and the mode goes back to 0, so the run that
// ends the continued line is swallowed too. Kept between calls of the scanner and never reset.
extern int lex_blif_newline_mode;
// Sets the newline mode as the keyword rules do: 0 for 259 to 262 and 264, 1 for 263.
void blif_context(int token);
int blifwrap(); // 1: there is no further input

// The rows of a cover as the grammar read them: the values (0, 1, 2 for "-") of every row one
// after the other; row i holds values[starts[i]] up to the next row's start, the last one up to
// values[total].
struct blif_cover {
    const int* values;
    const size_t* starts;
    size_t rows;
    size_t total;
};

// The pre-pass, the grammar and the translation run share the scanner, the declarations, the
// initial values and the automaton through it; there is one at a time (pblif_parser).
class class_blif_parser {
public:
    int ok;                // 1 when the pre-pass built the declarations; the model rule sets it back to 0
    int debug;             // 1: every reduction is traced into trace
    std::ostream* trace;   // trace stream (the log file)
    blifFlexLexer* lexer;  // the scanner, set by the driver
    b_autom_dec* dec;      // declarations built by the pre-pass
    b_automaton* automaton; // automaton built by the model rule
    int* init;             // register initial values by register position, filled by the .latch rule

    // The grammar's scratch, kept from line to line so that reading a circuit allocates little:
    // line_names holds the texts of the names of the current line (owned, given back when the
    // next line begins); the current cover's rows are cover_values, row i starting at
    // row_starts[i].
    std::vector<std::string*> line_names;
    std::vector<int> cover_values;
    std::vector<size_t> row_starts;
    std::vector<bdd> line_vars; // the variables of the line's names while its cover is converted

    class_blif_parser(); // becomes the current parser
    ~class_blif_parser(); // frees only the grammar's texts

    // An identifier text holding the length characters at s, taken from the spare ones when there
    // is one; give_text puts it back (a text the grammar drops on an error is deleted instead).
    std::string* take_text(const char* s, size_t length);
    void give_text(std::string* t);
    // Gives back the texts of the line's names: a new line begins.
    void clear_line();
    // Appends t to the line's names, which own it.
    void add_line_name(std::string* t);

    // The grammar's tokens. Without the trace, a run of identifiers right after a .names,
    // .inputs or .outputs keyword and a run of values right after a line end come as their first
    // token, the others kept aside until the grammar has reduced that one: wherever the first is
    // accepted the grammar takes the others one by one and ends in the state it ends in after the
    // first alone, so that the run saves a shift and two reductions per token. The scanner
    // never reads past the token that ends the run, which the grammar would read next anyway.
    int next_token();
    // The text of the identifier the grammar just took (owned by the caller, as take_text's).
    std::string* ident_text();
    // Appends the names and the values kept aside to the line's names and to the cover.
    void add_more_names();
    void add_more_values();
    // The current cover's rows.
    blif_cover cover() const;
    // Whether the variable of that id is one of dec's inputs.
    bool input_id(long id);
    // Marks the ids of dec's inputs (the pre-pass does it for the declarations it builds).
    void mark_inputs();

    // Reads the named file as words, collects the signal classes and builds the declarations;
    // returns ok. A file that cannot be opened yields no word.
    int preparse(const char* filename);
    // The same over a stream; filename, when given, names the file in the messages.
    int preparse(std::istream& in, const char* filename = nullptr);
    // Runs the grammar: 0 accepted, 1 syntax error, 2 parser stack exhausted.
    int parse(std::ostream& trace_stream, int debug_flag);

private:
    std::vector<std::string*> spare_texts; // texts given back, reused by take_text
    int held_token;                        // the token that ended a run, not handed out yet; -1: none
    int last_token;                        // the last token handed out; 0 before the first
    std::string* first_name;               // the first identifier of a run, or null
    std::vector<std::string*> more_names;  // the other identifiers of the run
    std::vector<int> more_values;          // the other values of the run (0, 1, 2 for "-")
    b_autom_dec* inputs_of;                 // the declarations input_ids was made for
    std::vector<char> input_ids;            // by variable id: 1 for an input of inputs_of
};

extern class_blif_parser* pblif_parser; // the current parser object

// One .names block: its names (the defined signal last) and its rows of 0, 1, 2 ("-").
class class_equation_blif {
public:
    std::list<std::string> vars;       // names of the .names line; the last one is the defined signal
    std::list<std::list<int>> pla;     // cover rows in file order

    class_equation_blif();
    class_equation_blif(const class_equation_blif& e);
    ~class_equation_blif();

    void add_vars(const std::list<std::string>& l); // vars := a copy of l
    void add_pla(const std::list<std::list<int>>& l); // pla := a copy of l
    std::list<std::string>& my_vars();
    // The defined signal's equation, registered in wood. Ends the process with status 1 on a row
    // longer than the names line and on a cover mixing rows of output 0 and of output 1.
    Bddexpression* bddexpression_convert(Bddexpressionwood* wood);
};

// The equation of a cover over the variables vars (the inputs, then the defined signal last;
// defined is its name), registered in wood; the same ends as bddexpression_convert.
Bddexpression* blif_cover_convert(Bddexpressionwood* wood, const std::vector<bdd>& vars, const std::string& defined,
                                  const std::list<std::list<int>>& rows);
Bddexpression* blif_cover_convert(Bddexpressionwood* wood, const std::vector<bdd>& vars, const std::string& defined,
                                  const std::vector<std::vector<int>>& rows);
Bddexpression* blif_cover_convert(Bddexpressionwood* wood, const std::vector<bdd>& vars, const std::string& defined,
                                  const blif_cover& rows);

// The signal whose cover is being turned into a BDD; empty between covers.
extern std::string blif_current_signal;
// For bdd_node_limit_handler: one line naming the signal whose BDD passed the node budget (or
// the circuit's BDDs after the reading), then blif_exit(1).
[[noreturn]] void blif_node_limit_reached(long limit);
// For std::set_new_handler: one line, written without allocating, naming the signal being built
// when the memory ran out, then the end of the process with status 1.
[[noreturn]] void blif_out_of_memory();

// Actions of the grammar over the current parser object.
// .latch: the register's initial value; a name that is not a register ends the process with
// status 1.
void blif_latch_initial_value(const std::string& register_name, int value);
// .names: the cover's equation in the declarations' forest; *names[0] .. *names[count-1] are the
// line's names, the defined signal last.
void blif_cover_equation(const std::string* const* names, size_t count, const blif_cover& rows);

// Checks of the circuit read, each printing one line on the standard error stream and returning
// 1 on a fault, 0 otherwise. blif_check_signals: a signal read by a cover or a .latch line that
// no cover defines and that is neither an input nor a register, or an output that nothing drives.
int blif_check_signals(b_automaton* automaton);
// After the sort, given the positions it found caught in a cycle: one line per combinational
// cycle, naming its signals.
int blif_report_cycles(b_automaton* automaton, const std::list<long>& caught);

// The grammar and its scanner hook (generated by bison from parse_blif.y).
int blifparse();
void bliferror(const char* msg); // msg and a newline on the standard error stream

// When flag is 1: rule, "," alternative unless it is 1, " --> ", message, a newline, then a flush.
void blif_debuger_law(int rule, int alternative, const char* message, int flag, std::ostream& os);

// Every exit of the reader: flushes the standard streams and the trace stream, then ends the
// process with status (or calls blif_exit_handler when one is set; it must not return).
[[noreturn]] void blif_exit(int status);
extern void (*blif_exit_handler)(int status); // null: end the process

#endif
