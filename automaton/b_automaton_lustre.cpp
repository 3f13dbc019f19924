// The LUSTRE node writer.
#include "automaton/b_automaton_writers.h"

#include <iostream>
#include <iterator>

namespace {

// LUSTRE vocabulary of the node frame.
const struct {
    const char* node;        // before the node name
    const char* no_input;    // parameter list of a node without inputs
    const char* typed_in;    // after the input names
    const char* returns;     // before the output names
    const char* typed_out;   // after the output names
    const char* var;         // before the declared signals
    const char* typed_var;   // after them
    const char* let;         // body start
    const char* init;        // between a register and its initial value
    const char* pre;         // between the initial value and the next-state signal
    const char* end_pre;     // after the next-state signal
    const char* definitions; // head of the equations
    const char* tel;         // body end
    const char* true_text;   // constant 1
    const char* false_text;  // constant 0
} LUSTRE = {"node ", "(useless : bool)", ": bool)", "     returns (", ": bool);", "var ", ": bool;", "let",
            "= ", "-> pre(", ");", "  /* internal definitions */", "tel", "true", "false"};

// Keywords of LUSTRE and the parameter of a node without inputs: a signal or node of such a
// name takes "_" until it is free.
const char* const lustre_reserved[] = {
    "and", "assert", "bool", "body", "const", "current", "div", "else", "elsif", "end", "enum", "extern",
    "false", "fby", "function", "if", "include", "int", "is", "let", "merge", "mod", "model", "needs", "node",
    "nor", "not", "of", "operator", "or", "package", "pre", "provides", "real", "returns", "step", "struct",
    "tel", "then", "true", "type", "unsafe", "uses", "var", "when", "with", "xor",
    // the frame
    "useless"};

} // namespace

void b_automaton::LUSTRE_put(std::ostream& os, int level, const std::string& name)
{
    // a name holding '@' or reserved is written in its free form, in the equations too
    std::set<std::string> reserved(std::begin(lustre_reserved), std::end(lustre_reserved));
    taken_names taken = taken_signal_names();
    const std::map<std::string, std::string> written = reserved_free_names(reserved, taken);
    auto W = [&](const std::vector<const std::string*>& names) { return join_names(written_names(written, names)); };
    os << LUSTRE.node << reserved_free_module(name, reserved, taken);
    if (input_count > 0)
        os << "(" << W(name_pointers(input_names, input_count)) << LUSTRE.typed_in;
    else
        os << LUSTRE.no_input;
    os << std::endl;
    if (output_count > 0) os << LUSTRE.returns << W(name_pointers(output_names, output_count)) << LUSTRE.typed_out;
    os << std::endl << std::endl;
    std::cerr << "nb_var locale detecte: " << local_count << std::endl;
    std::cout << "nb_var locale detecte: " << local_count << std::endl;

    // every signal of the node is declared once: outputs in the returns line, the rest here
    std::vector<const std::string*> vars = declared_once({{local_names, local_count}, {state_names, state_count},
                                                         {next_state_names, state_count}});
    if (!vars.empty()) os << LUSTRE.var << W(vars) << LUSTRE.typed_var;
    os << std::endl;
    os << LUSTRE.let << std::endl;
    for (int i = 0; i < state_count; ++i)
        os << "  " << written_as(written, state_names[i]) << LUSTRE.init
           << (init_values[i] == 1 ? LUSTRE.true_text : LUSTRE.false_text) << LUSTRE.pre
           << written_as(written, next_state_names[i]) << LUSTRE.end_pre << std::endl;
    os << std::endl;
    if (has_equations()) {
        os << LUSTRE.definitions << std::endl;
        const bdd_naming naming = naming_of(written);
        wood->Put_basic_doc(os, level, 1, &naming); // a constant is the boolean false or true, not 0 or 1
        os << std::endl;
    }
    os << LUSTRE.tel << std::endl << std::endl;
}
