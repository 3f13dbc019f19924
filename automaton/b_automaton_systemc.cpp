// The SystemC writer: a module header with ports, members, constructor and process, and the
// source of the process.
#include "automaton/b_automaton_writers.h"

#include <iterator>

namespace {

// SystemC vocabulary of the module and its process.
const struct {
    const char* guard;              // the header's guard test, before the name
    const char* define;             // its definition, before the name
    const char* guard_end;          // after the name in the guard
    const char* end_guard;          // the header's last line
    const char* include;            // the library's header
    const char* include_own;        // the module's header, before the name
    const char* include_own_end;    // after it
    const char* module;             // before the module's name
    const char* end_module;         // after the module's body
    const char* ports;              // head of the ports
    const char* in;                 // before an input port
    const char* out;                // before an output port
    const char* frame_ports[2];     // the reset and clock ports
    const char* members;            // head of the members
    const char* state;              // before a register's member
    const char* value;              // before any other member
    const char* state_suffix;       // after an output register's name, in its state member
    const char* constructor;        // head of the constructor
    const char* ctor;               // before the module's name in the constructor
    const char* open;               // opens the constructor's body
    const char* close;              // closes it
    const char* method;             // declares the process
    const char* thread;             // after the module's name in the process's name
    const char* sensitive;          // before an input the process is sensitive to
    const char* sensitive_frame[2]; // to the reset and to the clock's edge
    const char* processes;          // head of the process's declaration
    const char* process;            // before its name
    const char* processes_source;   // head of the source
    const char* process_source;     // before the process's qualified name
    const char* computation;        // first line of the process's body
    const char* if_reset;           // opens the reset branch
    const char* if_clock;           // opens the clock branch
    const char* end_branch;         // closes a branch
    const char* end_process;        // closes the process
    const char* statement;          // before an assigned member or output
    const char* local;              // before the locals of the clock branch
    const char* definitions;        // head of the equations
    const char* port;               // before an output port's assignment
    const char* assign;             // between an assigned name and its value
    const char* true_text;          // constant 1
    const char* false_text;         // constant 0
} SC = {"#ifndef ", "#define ", "_H", "#endif", "#include <systemc.h>", "#include \"", "_sc.h\"", "SC_MODULE(",
        "};", "    // Port Declaration", "    sc_in<bool> ", "    sc_out<bool> ",
        {"    sc_in<bool> reset;", "    sc_in<bool> clk;"}, "   // Data Members", "    sc_signal<bool> ", "    bool ",
        "_state", "    // Constructor", "    SC_CTOR(", "    {", "    }", "      SC_METHOD(", "_thread",
        "      sensitive(", {"      sensitive(reset);", "      sensitive << clk.pos();"}, "    // Processes",
        "    void ", "// Processes", "void ", "  // state and output computation", "  if (reset == !false){",
        "  else if ( clk.event()){ ", "  }", "};", "    ", "    bool ", " //internal definitions", "    this->", " = ",
        "!false", "false"};

// Names the generated module cannot give to a member: C++ keywords and alternative tokens, the
// frame's ports, the names that the module's text and the library's macros use, and macros.
const char* const systemc_reserved[] = {
    "alignas", "alignof", "and", "and_eq", "asm", "auto", "bitand", "bitor", "bool", "break", "case", "catch",
    "char", "char16_t", "char32_t", "char8_t", "class", "compl", "concept", "const", "consteval", "constexpr",
    "constinit", "const_cast", "continue", "co_await", "co_return", "co_yield", "decltype", "default", "delete",
    "do", "double", "dynamic_cast", "else", "enum", "explicit", "export", "extern", "false", "float", "for",
    "friend", "goto", "if", "inline", "int", "long", "mutable", "namespace", "new", "noexcept", "not", "not_eq",
    "nullptr", "operator", "or", "or_eq", "private", "protected", "public", "register", "reinterpret_cast",
    "requires", "return", "short", "signed", "sizeof", "static", "static_assert", "static_cast", "struct",
    "switch", "template", "this", "thread_local", "throw", "true", "try", "typedef", "typeid", "typename",
    "union", "unsigned", "using", "virtual", "void", "volatile", "wchar_t", "while", "xor", "xor_eq",
    // the frame and the library
    "reset", "clk", "sensitive", "sc_in", "sc_out", "sc_signal", "sc_core", "sc_dt", "sc_module_name", "std",
    "SC_MODULE", "SC_CTOR", "SC_METHOD", "SC_CURRENT_USER_MODULE", "sensitive_pos", "sensitive_neg",
    // object-like macros of the C library and of the compiler's GNU mode
    "NULL", "EOF", "errno", "linux", "unix"};

} // namespace

void b_automaton::SYSTEMC_put(std::ostream& source, std::ostream& header, int level, const std::string& name)
{
    // A signal named like a reserved name gets "_" appended until the name is free; a name
    // holding '@' is written in its at-free form.
    // The module takes "_" as well when it is reserved; the header keeps the file's name.
    std::set<std::string> reserved(std::begin(systemc_reserved), std::end(systemc_reserved));
    taken_names taken = taken_signal_names();
    taken.insert(reserved.begin(), reserved.end());
    const std::string M = reserved.count(name) > 0 ? fresh_name(name + "_", taken) : name;
    reserved.insert({M, M + SC.thread, name + SC.guard_end});
    taken.insert({M, M + SC.thread, name + SC.guard_end});
    // only the names written otherwise than as they are: those holding '@', then the reserved ones
    const std::map<std::string, std::string> written = reserved_free_names(reserved, taken);
    auto W = [&](const std::string& n) { return written_as(written, n); };
    // A register that is also an output keeps its state in a member of its own: the port shows
    // the state of the cycle, as the other outputs do.
    std::map<std::string, std::string> state;
    const std::vector<int> register_of = output_registers();
    for (int k = 0; k < output_count; ++k)
        if (register_of[size_t(k)] >= 0) {
            state[output_names[k]] = fresh_name(W(output_names[k]) + SC.state_suffix, taken);
            taken.insert(state[output_names[k]]);
        }
    auto member = [&](const std::string& s) { return state.count(s) ? state[s] : W(s); };

    header << SC.guard << name << SC.guard_end << std::endl << SC.define << name << SC.guard_end << std::endl
           << std::endl << SC.include << std::endl << std::endl;
    header << SC.module << M << ")" << std::endl << "{" << std::endl << SC.ports << std::endl;
    for (int j = 0; j < input_count; ++j) header << SC.in << W(input_names[j]) << ";" << std::endl;
    header << SC.frame_ports[0] << std::endl << SC.frame_ports[1] << std::endl;
    for (int k = 0; k < output_count; ++k) header << SC.out << W(output_names[k]) << ";" << std::endl;
    header << std::endl << SC.members << std::endl;
    // registers are signals (written on the clock event, read at the next one); the other
    // members are computed and read within one event, so they are plain values
    for (int i = 0; i < state_count; ++i) header << SC.state << member(state_names[i]) << ";" << std::endl;
    for (const std::string& x : next_states_undeclared()) header << SC.value << W(x) << ";" << std::endl;
    std::string values; // their lines in one text, written at once
    for (int l = 0; l < local_count; ++l) {
        values += SC.value;
        values += W(local_names[l]);
        values += ";\n";
    }
    header << values;
    header << std::endl << SC.constructor << std::endl << SC.ctor << M << ")" << std::endl << SC.open << std::endl
           << SC.method << M << SC.thread << ");" << std::endl;
    for (int j = 0; j < input_count; ++j) header << SC.sensitive << W(input_names[j]) << ");" << std::endl;
    header << SC.sensitive_frame[0] << std::endl << SC.sensitive_frame[1] << std::endl << SC.close << std::endl
           << std::endl;
    header << SC.processes << std::endl << SC.process << M << SC.thread << "();" << std::endl << SC.end_module
           << std::endl << std::endl << SC.end_guard << std::endl;

    source << SC.include << std::endl << SC.include_own << name << SC.include_own_end << std::endl << std::endl;
    source << SC.processes_source << std::endl << SC.process_source << M << "::" << M << SC.thread << "()" << std::endl
           << "{" << std::endl << SC.computation << std::endl << SC.if_reset << std::endl;
    for (int k = 0; k < output_count; ++k)
        source << SC.statement << W(output_names[k]) << SC.assign << SC.false_text << ";" << std::endl;
    source << std::endl;
    for (int i = 0; i < state_count; ++i)
        source << SC.statement << member(state_names[i]) << SC.assign
               << (init_values[i] == 1 ? SC.true_text : SC.false_text) << ";" << std::endl;
    source << SC.end_branch << std::endl << SC.if_clock << std::endl;
    // the equations compute the outputs into locals of the same names, which later equations
    // read; the ports get them afterwards
    std::vector<std::string> shadows;
    for (int k = 0; k < output_count; ++k)
        if (register_of[size_t(k)] < 0) shadows.push_back(W(output_names[k]));
    if (!shadows.empty()) {
        source << SC.local;
        for (size_t k = 0; k < shadows.size(); ++k) source << (k > 0 ? ", " : "") << shadows[k];
        source << ";" << std::endl;
    }
    for (const auto& s : state) source << SC.local << W(s.first) << SC.assign << s.second << ";" << std::endl;
    if (has_equations()) {
        source << SC.definitions << std::endl;
        const bdd_naming naming = naming_of(written);
        wood->Put_systemc(source, level, SC.assign, "", "", &naming);
        source << std::endl;
    }
    for (int k = 0; k < output_count; ++k)
        source << SC.port << W(output_names[k]) << SC.assign << W(output_names[k]) << ";" << std::endl;
    for (int i = 0; i < state_count; ++i)
        source << SC.statement << member(state_names[i]) << SC.assign << W(next_state_names[i]) << ";"
               << std::endl;
    source << SC.end_branch << std::endl << SC.end_process << std::endl;
}
