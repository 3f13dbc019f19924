// The ESTEREL and LIGHT ESTEREL module writers.
#include "automaton/b_automaton_writers.h"

#include <iterator>

namespace {

// ESTEREL vocabulary.
const struct {
    const char* module;        // before the module name
    const char* input;         // before the first input
    const char* input_more;    // before each further input, on its own line
    const char* output;        // before the first output
    const char* output_more;   // before each further output
    const char* separator;     // ends a line of the interface that another name follows
    const char* last;          // after the last name of the interface
    const char* signal;        // before the local signals
    const char* in;            // after them
    const char* block;         // opens a register block
    const char* emit;          // emits a register whose initial value is 1
    const char* run;           // runs the delay module on the next-state signal
    const char* run_pre;       // between the next-state signal and the register
    const char* run_end;       // after the register
    const char* block_end;     // closes a register block
    const char* parallel;      // between two blocks
    const char* loop[2];       // opens the equation block
    const char* loop_end[2];   // closes it
    const char* end_signal;    // closes the local signals
    const char* end_module;    // closes the module
} ESTEREL = {"module ", "input ", "       ", "output ", "        ", ", ", ";", "signal ", " in", "  [", "    emit ",
             "    run my_pre [signal ", " / S, ", " / preS]", "  ]", "  ||", {"  loop", "    ["},
             {"    ]", "  each tick"}, "end signal", "end module"};

// LIGHT ESTEREL vocabulary.
const struct {
    const char* module;      // before the module name
    const char* input;       // before the inputs
    const char* output;      // before the outputs
    const char* end_list;    // after the inputs or outputs
    const char* local;       // before the locals
    const char* open;        // opens the local scope
    const char* machine;     // kind of the module
    const char* registers;   // head of the register list
    const char* field;       // between the fields of a register entry
    const char* more;        // after each register entry but the last
    const char* last;        // after the last one
    const char* close;       // closes the local scope
    const char* end;         // closes the module
} LE = {"module ", "Input: ", "Output: ", ";", "local ", "{", "Mealy Machine", "Register: ", " : ", ",", ";", "}", "end"};

// Keywords of ESTEREL and its predefined signal: a signal or module of such a name takes "_"
// until it is free.
const char* const esterel_reserved[] = {
    "abort", "and", "await", "call", "case", "combine", "constant", "copymodule", "do", "each", "else",
    "elsif", "emit", "end", "every", "exec", "exit", "false", "finalize", "function", "halt", "handle", "if",
    "immediate", "in", "input", "inputoutput", "loop", "mod", "module", "not", "nothing", "or", "output",
    "pause", "positive", "pre", "present", "procedure", "relation", "repeat", "return", "run", "sensor",
    "signal", "strong", "suspend", "sustain", "task", "then", "tick", "times", "timeout", "trap", "true",
    "type", "upto", "var", "watching", "weak", "when", "with", "xor"};

// Keywords of LIGHT ESTEREL and the words of its frame.
const char* const le_reserved[] = {
    "abort", "and", "await", "do", "each", "else", "emit", "end", "every", "false", "halt", "if", "in",
    "input", "local", "loop", "module", "not", "nothing", "or", "output", "pause", "pre", "present", "run",
    "signal", "then", "tick", "true", "wait", "when", "xor",
    // the frame
    "Input", "Output", "Mealy", "Machine", "Register"};

// The interface line of one direction: the first name after head, each further one on its own
// line after indent.
void put_interface(std::ostream& os, const char* head, const char* indent, const std::vector<const std::string*>& names)
{
    os << head << *names[0];
    for (size_t i = 1; i < names.size(); ++i) os << ESTEREL.separator << std::endl << indent << *names[i];
    os << ESTEREL.last;
}

} // namespace

void b_automaton::ESTEREL_put(std::ostream& os, int level, const std::string& name)
{
    // a name holding '@' or reserved is written in its free form, in the equations too
    std::set<std::string> reserved(std::begin(esterel_reserved), std::end(esterel_reserved));
    taken_names taken = taken_signal_names();
    const std::map<std::string, std::string> written = reserved_free_names(reserved, taken);
    auto W = [&](const std::string& n) { return written_as(written, n); };
    os << ESTEREL.module << reserved_free_module(name, reserved, taken) << ":" << std::endl;
    if (input_count > 0)
        put_interface(os, ESTEREL.input, ESTEREL.input_more, written_names(written, name_pointers(input_names, input_count)));
    os << std::endl;
    if (output_count > 0)
        put_interface(os, ESTEREL.output, ESTEREL.output_more,
                      written_names(written, name_pointers(output_names, output_count)));
    os << std::endl << std::endl;

    // interface signals are not hidden by a local one: an output that is a register is emitted
    // through the interface
    std::vector<const std::string*> signals =
        declared_once({{state_names, state_count}, {next_state_names, state_count}, {local_names, local_count}});
    if (!signals.empty())
        os << ESTEREL.signal << join_names(written_names(written, signals)) << ESTEREL.in << std::endl << std::endl;

    int equations = has_equations();
    for (int i = 0; i < state_count; ++i) {
        os << ESTEREL.block << std::endl;
        if (init_values[i] == 1) os << ESTEREL.emit << W(state_names[i]) << ";" << std::endl;
        os << ESTEREL.run << W(next_state_names[i]) << ESTEREL.run_pre << "  " << W(state_names[i]) << ESTEREL.run_end
           << std::endl;
        os << ESTEREL.block_end << std::endl;
        if (i + 1 < state_count || equations) os << ESTEREL.parallel << std::endl;
    }
    os << std::endl;
    if (equations) {
        os << ESTEREL.loop[0] << std::endl << ESTEREL.loop[1] << std::endl;
        const bdd_naming naming = naming_of(written);
        wood->Put_esterel(os, level, &naming);
        os << std::endl;
        os << ESTEREL.loop_end[0] << std::endl << ESTEREL.loop_end[1] << std::endl;
    }
    os << std::endl;
    if (!signals.empty()) os << ESTEREL.end_signal << std::endl;
    os << ESTEREL.end_module << std::endl << std::endl;
}

void b_automaton::LE_put(std::ostream& os, int level, const std::string& name)
{
    // a name holding '@' or reserved is written in its free form, in the equations too
    std::set<std::string> reserved(std::begin(le_reserved), std::end(le_reserved));
    taken_names taken = taken_signal_names();
    const std::map<std::string, std::string> written = reserved_free_names(reserved, taken);
    auto W = [&](const std::vector<const std::string*>& names) { return join_names(written_names(written, names)); };
    os << LE.module << reserved_free_module(name, reserved, taken) << ":" << std::endl;
    if (input_count > 0) os << LE.input << W(name_pointers(input_names, input_count)) << LE.end_list << std::endl;
    if (output_count > 0) os << LE.output << W(name_pointers(output_names, output_count)) << LE.end_list << std::endl;
    os << std::endl;
    std::vector<const std::string*> locals = declared_once({{local_names, local_count}});
    if (!locals.empty())
        os << LE.local << W(locals) << std::endl << LE.open << std::endl;
    else
        os << std::endl;
    os << LE.machine << std::endl << std::endl;
    if (state_count > 0) {
        os << LE.registers << std::endl;
        for (int i = 0; i < state_count; ++i)
            os << written_as(written, state_names[i]) << LE.field << (init_values[i] == 1 ? "1" : "0") << LE.field
               << written_as(written, next_state_names[i]) << (i + 1 < state_count ? LE.more : LE.last) << std::endl;
        os << std::endl;
    }
    if (has_equations()) {
        const bdd_naming naming = naming_of(written);
        wood->Put_basic_doc(os, level, 0, &naming);
        os << std::endl;
    }
    if (!locals.empty()) os << LE.close << std::endl;
    os << LE.end << std::endl << std::endl;
}
