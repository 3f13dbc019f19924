// The SystemC writer: a module header with ports, members, constructor and process, and the
// source of the process.
#include "automaton/b_automaton.h"

#include <iterator>

namespace {

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
    std::set<std::string> names = all_names(), taken = names;
    taken.insert(reserved.begin(), reserved.end());
    const std::string M = reserved.count(name) > 0 ? fresh_name(name + "_", taken) : name;
    reserved.insert({M, M + "_thread", name + "_H"});
    taken.insert({M, M + "_thread", name + "_H"});
    std::map<std::string, std::string> written = at_free_names(taken);
    for (const std::string& n : names) {
        if (written.count(n) == 0) written[n] = reserved.count(n) > 0 ? fresh_name(n + "_", taken) : n;
        taken.insert(written[n]);
    }
    // A register that is also an output keeps its state in a member of its own: the port shows
    // the state of the cycle, as the other outputs do.
    std::map<std::string, std::string> state;
    for (int k = 0; k < output_count; ++k)
        if (output_register(k) >= 0) {
            state[output_names[k]] = fresh_name(written[output_names[k]] + "_state", taken);
            taken.insert(state[output_names[k]]);
        }
    auto member = [&](const std::string& s) { return state.count(s) ? state[s] : written[s]; };

    header << "#ifndef " << name << "_H" << std::endl << "#define " << name << "_H" << std::endl << std::endl
           << "#include <systemc.h>" << std::endl << std::endl;
    header << "SC_MODULE(" << M << ")" << std::endl << "{" << std::endl << "    // Port Declaration" << std::endl;
    for (int j = 0; j < input_count; ++j) header << "    sc_in<bool> " << written[input_names[j]] << ";" << std::endl;
    header << "    sc_in<bool> reset;" << std::endl << "    sc_in<bool> clk;" << std::endl;
    for (int k = 0; k < output_count; ++k) header << "    sc_out<bool> " << written[output_names[k]] << ";" << std::endl;
    header << std::endl << "   // Data Members" << std::endl;
    // registers are signals (written on the clock event, read at the next one); the other
    // members are computed and read within one event, so they are plain values
    for (int i = 0; i < state_count; ++i) header << "    sc_signal<bool> " << member(state_names[i]) << ";" << std::endl;
    for (const std::string& x : next_states_undeclared()) header << "    bool " << written[x] << ";" << std::endl;
    for (int l = 0; l < local_count; ++l) header << "    bool " << written[local_names[l]] << ";" << std::endl;
    header << std::endl << "    // Constructor" << std::endl << "    SC_CTOR(" << M << ")" << std::endl << "    {"
           << std::endl << "      SC_METHOD(" << M << "_thread);" << std::endl;
    for (int j = 0; j < input_count; ++j) header << "      sensitive(" << written[input_names[j]] << ");" << std::endl;
    header << "      sensitive(reset);" << std::endl << "      sensitive << clk.pos();" << std::endl << "    }"
           << std::endl << std::endl;
    header << "    // Processes" << std::endl << "    void " << M << "_thread();" << std::endl << "};" << std::endl
           << std::endl << "#endif" << std::endl;

    source << "#include <systemc.h>" << std::endl << "#include \"" << name << "_sc.h\"" << std::endl << std::endl;
    source << "// Processes" << std::endl << "void " << M << "::" << M << "_thread()" << std::endl << "{"
           << std::endl << "  // state and output computation" << std::endl << "  if (reset == !false){" << std::endl;
    for (int k = 0; k < output_count; ++k) source << "    " << written[output_names[k]] << " = false;" << std::endl;
    source << std::endl;
    for (int i = 0; i < state_count; ++i)
        source << "    " << member(state_names[i]) << " = " << (init_values[i] == 1 ? "!false" : "false") << ";"
               << std::endl;
    source << "  }" << std::endl << "  else if ( clk.event()){ " << std::endl;
    // the equations compute the outputs into locals of the same names, which later equations
    // read; the ports get them afterwards
    std::vector<std::string> shadows;
    for (int k = 0; k < output_count; ++k)
        if (output_register(k) < 0) shadows.push_back(written[output_names[k]]);
    if (!shadows.empty()) {
        source << "    bool ";
        for (size_t k = 0; k < shadows.size(); ++k) source << (k > 0 ? ", " : "") << shadows[k];
        source << ";" << std::endl;
    }
    for (const auto& s : state) source << "    bool " << written[s.first] << " = " << s.second << ";" << std::endl;
    if (has_equations()) {
        source << " //internal definitions" << std::endl;
        const bdd_naming naming = naming_of(written);
        wood->Put_systemc(source, level, " = ", "", "", &naming);
        source << std::endl;
    }
    for (int k = 0; k < output_count; ++k)
        source << "    this->" << written[output_names[k]] << " = " << written[output_names[k]] << ";" << std::endl;
    for (int i = 0; i < state_count; ++i)
        source << "    " << member(state_names[i]) << " = " << written[next_state_names[i]] << ";" << std::endl;
    source << "  }" << std::endl << "};" << std::endl;
}
