// The C writer (a source with the reset and step functions, and their header), and the helpers
// that the software and hardware writers share.
#include "b_automaton.h"

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

// ---- helpers of the target writers ----

int b_automaton::output_register(int k) const
{
    for (int i = 0; i < state_count; ++i)
        if (state_names[i] == output_names[k]) return i;
    return -1;
}

std::set<std::string> b_automaton::all_names() const
{
    std::set<std::string> names;
    for (auto group : {std::make_pair(state_names, state_count), std::make_pair(next_state_names, state_count),
                       std::make_pair(input_names, input_count), std::make_pair(output_names, output_count),
                       std::make_pair(local_names, local_count)})
        names.insert(group.first, group.first + group.second);
    return names;
}

std::vector<std::string> b_automaton::next_states_undeclared() const
{
    std::set<std::string> declared;
    for (auto group : {std::make_pair(state_names, state_count), std::make_pair(input_names, input_count),
                       std::make_pair(output_names, output_count), std::make_pair(local_names, local_count)})
        declared.insert(group.first, group.first + group.second);
    std::vector<std::string> next;
    for (int i = 0; i < state_count; ++i)
        if (declared.insert(next_state_names[i]).second) next.push_back(next_state_names[i]);
    return next;
}

std::vector<std::string> b_automaton::unread_signals(const std::vector<std::string>& names,
                                                     bool& node_array_read) const
{
    std::set<long> read;
    node_array_read = false;
    if (wood == nullptr) return names;
    bddpp_manager* m = wood->manager;
    Bddexpression** table = wood->Exp_table();
    for (long p : wood->earliest_sort()) {
        Bddexpression* e = table[p];
        read.insert(e->dependances.begin(), e->dependances.end());
        if (e->bdd_exp.node() != nullptr && !m->Bdd_is_var(e->bdd_exp)) node_array_read = true;
    }
    for (int i = 0; i < state_count; ++i) read.insert(m->Index_var_by_name(next_state_names[i]));
    std::vector<std::string> unread;
    for (const std::string& n : names)
        if (read.count(m->Index_var_by_name(n)) == 0) unread.push_back(n);
    return unread;
}

std::string b_automaton::fresh_name(const std::string& base, const std::set<std::string>& taken)
{
    std::string name = base;
    while (taken.count(name) > 0) name += "_";
    return name;
}

long b_automaton::variable_node_number(const std::string& var)
{
    return wood->manager->Bdd_var_by_name(var).node()->number;
}

std::map<std::string, std::string> b_automaton::at_free_names(std::set<std::string>& taken) const
{
    std::map<std::string, std::string> written;
    for (const std::string& n : all_names()) {
        if (n.find('@') == std::string::npos) continue;
        std::string w;
        for (char ch : n) w += ch == '@' ? std::string("_at_") : std::string(1, ch);
        written[n] = fresh_name(w, taken);
        taken.insert(written[n]);
    }
    return written;
}

bdd_naming b_automaton::naming_of(const std::map<std::string, std::string>& written) const
{
    bdd_naming naming(wood->manager);
    for (const auto& w : written) naming.name_var(w.first, w.second);
    return naming;
}

std::string b_automaton::written_as(const std::map<std::string, std::string>& written, const std::string& name)
{
    auto w = written.find(name);
    return w == written.end() ? name : w->second;
}

bool b_automaton::registers_chained() const
{
    for (int i = 0; i < state_count; ++i)
        for (int j = 0; j < state_count; ++j)
            if (next_state_names[i] == state_names[j]) return true;
    return false;
}

// ---- the C writer ----

void b_automaton::C_put(std::ostream& source, std::ostream& header, int, const std::string& name)
{
    const std::string P = name + "_";
    const bool with_forest = wood != nullptr;
    const long T = with_forest ? wood->manager->Bdd_total_size() : 0;

    // A name holding '@' is written in its at-free form, in the equations too; the node array
    // takes a name of its own when a signal has its name.
    std::set<std::string> taken = all_names();
    taken.insert({"automaton", "reset_automaton"});
    std::map<std::string, std::string> written = at_free_names(taken);
    // a register P + name would be one of the two functions: such a signal takes "_"
    for (const std::string& n : all_names())
        for (const char* fn : {"automaton", "reset_automaton"})
            if (written_as(written, n) == fn) {
                written[n] = fresh_name(std::string(fn) + "_", taken);
                taken.insert(written[n]);
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
    for (int k = 0; k < output_count; ++k) {
        if (output_register(k) >= 0) {
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
    std::vector<std::string> locals = names_of(local_names, local_count), next = next_states_undeclared();
    locals.insert(locals.end(), next.begin(), next.end());
    if (!locals.empty()) {
        source << "  int ";
        for (size_t m = 0; m < locals.size(); ++m) source << (m > 0 ? ", " : "") << P << W(locals[m]);
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
        if (output_register(k) >= 0)
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
