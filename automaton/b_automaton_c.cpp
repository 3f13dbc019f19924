// The C writer: a source with the reset and step functions, and their header.
#include "automaton/b_automaton_writers.h"

namespace {

// C vocabulary of the frame.
const struct {
    const char* reset_fn;    // after N in the reset function's name
    const char* step_fn;     // after N in the step function's name
    const char* node_array;  // after N + "_" in the node array's name
    const char* next;        // after a register's name in its next-value variable
    const char* in_param;    // before an input parameter
    const char* out_param;   // before an output parameter
    const char* out_suffix;  // after the parameter of an output that is also a register
    const char* extern_fn;   // header line start
    const char* definitions; // head of the equations
    const char* transitions; // head of the register transitions
    const char* unused;      // before a variable that nothing reads
} C = {"_reset_automaton(", "_automaton(", "def_node", "next", "int ", "int *", "_out", "extern void ",
       "  /* internal definitions */", "  /* internal transitions */", "  (void)"};

} // namespace

// ---- the C writer ----

void b_automaton::C_put(std::ostream& source, std::ostream& header, int, const std::string& name)
{
    const std::string P = name + "_";
    const bool with_forest = wood != nullptr;
    const long T = with_forest ? wood->manager->Bdd_total_size() : 0;

    // A name holding '@' is written in its at-free form, in the equations too; the node array
    // takes a name of its own when a signal has its name.
    taken_names taken = taken_signal_names();
    taken.insert({"automaton", "reset_automaton"});
    std::map<std::string, std::string> written = at_free_names(taken);
    // a register P + name would be one of the two functions: such a signal takes "_" (a name
    // holding '@' is written with "_at_", so only the two names themselves are concerned)
    for (const char* fn : {"automaton", "reset_automaton"})
        if (has_name(fn)) {
            written[fn] = fresh_name(std::string(fn) + "_", taken);
            taken.insert(written[fn]);
        }
    auto W = [&](const std::string& n) { return written_as(written, n); };
    const std::string A = P + fresh_name(C.node_array, taken);
    taken.insert(A.substr(P.size()));
    // the next value of a register, the name followed by "next", takes "_" while a signal has
    // that name
    std::vector<std::string> next_value;
    for (int i = 0; i < state_count; ++i) {
        next_value.push_back(fresh_name(W(state_names[i]) + C.next, taken));
        taken.insert(next_value.back());
    }

    // An output that is also a register gets a parameter of its own name, so that the parameter
    // does not hide the register; every other output is read through its pointer.
    std::vector<std::string> out_param(static_cast<size_t>(output_count));
    std::map<std::string, std::string> reads; // output -> its read, "*" and the parameter
    const std::vector<int> registers = output_registers();
    for (int k = 0; k < output_count; ++k) {
        if (registers[size_t(k)] >= 0) {
            out_param[size_t(k)] = fresh_name(W(output_names[k]) + C.out_suffix, taken);
            taken.insert(out_param[size_t(k)]);
        } else {
            out_param[size_t(k)] = W(output_names[k]);
            reads[output_names[k]] = "*" + P + W(output_names[k]);
        }
    }
    std::string params;
    for (int j = 0; j < input_count; ++j) params += (j > 0 ? ", " : "") + std::string(C.in_param) + P + W(input_names[j]);
    if (input_count > 0 && output_count > 0) params += ", ";
    for (int k = 0; k < output_count; ++k)
        params += (k > 0 ? ", " : "") + std::string(C.out_param) + P + out_param[size_t(k)];

    if (state_count > 0) {
        source << "int " << P << W(state_names[0]) << "," << std::endl;
        for (int i = 1; i < state_count; ++i) source << "    " << P << W(state_names[i]) << "," << std::endl;
        for (int i = 0; i < state_count; ++i)
            source << "    " << P << next_value[size_t(i)] << (i + 1 < state_count ? "," : ";") << std::endl;
        source << std::endl;
    }
    source << "void " << name << C.reset_fn << params << ")" << std::endl;
    header << C.extern_fn << name << C.reset_fn << params << ");" << std::endl << std::endl;
    source << "{" << std::endl;
    for (int i = 0; i < state_count; ++i)
        source << "  " << P << W(state_names[i]) << "= " << (init_values[i] == 1 ? "!0" : "0") << ";" << std::endl;
    source << "}" << std::endl << std::endl;
    source << "void " << name << C.step_fn << params << ")" << std::endl;
    header << C.extern_fn << name << C.step_fn << params << ");" << std::endl << std::endl;
    source << "{" << std::endl;
    // the locals, then the next-state signals that nothing else declares
    std::vector<const std::string*> locals = name_pointers(local_names, local_count);
    const std::vector<std::string> next = next_states_undeclared();
    for (const std::string& x : next) locals.push_back(&x);
    if (!locals.empty()) {
        source << "  int ";
        put_declarations(source, locals, written, P, ", ");
        source << ";" << std::endl << std::endl;
    }
    source << "  int " << A << "[" << T << "];" << std::endl;
    if (has_equations()) {
        source << C.definitions << std::endl;
        std::list<std::string> outputs;
        for (const std::string& out : outputs_list()) outputs.push_back(W(out));
        bdd_naming naming = naming_of(written);
        for (const auto& r : reads) naming.read_var(r.first, r.second);
        wood->Put_c(source, A, outputs, P, "", &naming);
        source << std::endl;
    }
    for (int k = 0; k < output_count; ++k)
        if (registers[size_t(k)] >= 0)
            source << "  *" << P << out_param[size_t(k)] << "= " << P << W(output_names[k]) << ";" << std::endl;
    // -Wall: a local that nothing reads, and a node array that no equation uses
    bool array_read = false;
    for (const std::string& l : unread_signals(names_of(local_names, local_count), array_read))
        source << C.unused << P << W(l) << ";" << std::endl;
    if (!array_read) source << C.unused << A << ";" << std::endl;
    if (state_count > 0) {
        const bool chained = registers_chained();
        source << C.transitions << std::endl;
        for (int i = 0; i < state_count; ++i) {
            auto r = reads.find(next_state_names[i]);
            source << "  " << P << (chained ? next_value[size_t(i)] : W(state_names[i])) << "= "
                   << (r != reads.end() ? r->second : P + W(next_state_names[i])) << ";" << std::endl;
        }
        for (int i = 0; chained && i < state_count; ++i)
            source << "  " << P << W(state_names[i]) << "= " << P << next_value[size_t(i)] << ";" << std::endl;
        source << std::endl;
    }
    source << "}" << std::endl << std::endl;
}
