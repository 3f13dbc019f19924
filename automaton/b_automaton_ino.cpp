// The microcontroller sketch writer: setup() resets the registers, loop() runs one cycle between
// the user's my_before() and my_after(), reading inputs and driving outputs through user functions.
#include "automaton/b_automaton_writers.h"

#include "utils/list_templates.h"

namespace {

// Sketch vocabulary of the frame and of the user's functions.
const struct {
    const char* user[3];     // the user's setup, before and after functions
    const char* frame[2];    // the sketch's own setup and loop functions
    const char* node_array;  // after the prefix in the node array's name
    const char* next;        // after a register's name in its next value
    const char* yes;         // after an output's name in its action while true
    const char* no;          // while false
    const char* extern_int;  // before an input function's name
    const char* extern_void; // before an action or user function's name
    const char* prototype;   // after a declared function's name
    const char* registers;   // before the first register
    const char* locals;      // before the first local of loop()
    const char* more;        // before each further local of loop()
    const char* more_state;  // before each further register
    const char* before;      // comment before the call of the user's before function
    const char* inputs;      // head of the input reads
    const char* definitions; // head of the equations
    const char* transitions; // head of the register transitions
    const char* after;       // comment before the call of the user's after function
    const char* unused;      // before a variable that nothing reads
    const char* test;        // before an output register's test
    const char* open;        // opens an action block
    const char* close;       // closes it
    const char* orelse;      // between the two blocks of a level action
    const char* action;      // before an action call
    const char* call;        // after a function's name in a call
} INO = {{"my_setup", "my_before", "my_after"}, {"setup", "loop"}, "def_node", "next", "_true", "_false",
         "extern int ", "extern void ", "(void);", "int ", "  int ", "      ", "    ",
         "  /* user before() function call */", "  /* inputs reading */", "  /* internal definitions */",
         "  /* internal transitions */", "  /* user after() function call */", "  (void)", "  if(", "  {", "  }",
         "  else", "     ", "();"};

// One declaration, one name a line: first, then each further name after indent, the previous
// line ending in ",", the last in ";"; then an empty line.
void declaration(std::ostream& os, const std::string& first, const std::string& indent,
                 const std::vector<std::string>& names)
{
    for (size_t k = 0; k < names.size(); ++k)
        os << (k == 0 ? first : indent) << names[k] << (k + 1 < names.size() ? "," : ";") << std::endl;
    os << std::endl;
}

} // namespace

void b_automaton::INO_put_grafcet(std::ostream& os, int, const std::string& name, std::list<std::string>& pulse)
{
    const std::string P = name + "_";
    bddpp_manager* m = wood != nullptr ? wood->manager : nullptr;
    const long T = m != nullptr ? m->Bdd_total_size() : 0;
    // A name holding '@' is written in its at-free form, the user functions' names included.
    std::set<std::string> taken = all_names();
    const std::map<std::string, std::string> written = at_free_names(taken);
    auto W = [&](const std::string& n) { return written_as(written, n); };
    // The user functions carry the signals' names: a variable P + name that one of them has,
    // the node array and the next value of a register (the name followed by "next") take "_"
    // until the name is free. An output that is no register has no variable.
    std::set<std::string> functions = {INO.frame[0], INO.frame[1], INO.user[0], INO.user[1], INO.user[2]};
    for (int j = 0; j < input_count; ++j) functions.insert(W(input_names[j]));
    for (int k = 0; k < output_count; ++k)
        functions.insert({W(output_names[k]), W(output_names[k]) + INO.yes, W(output_names[k]) + INO.no});
    for (const std::string& f : functions)
        if (f.compare(0, P.size(), P) == 0) taken.insert(f.substr(P.size()));
    std::map<std::string, std::string> stem(written.begin(), written.end());
    std::set<std::string> plain_outputs;
    const std::vector<int> register_of = output_registers();
    for (int k = 0; k < output_count; ++k)
        if (register_of[size_t(k)] < 0) plain_outputs.insert(output_names[k]);
    for (const std::string& n : all_names())
        if (plain_outputs.count(n) == 0 && functions.count(P + W(n)) > 0) {
            stem[n] = fresh_name(W(n) + "_", taken);
            taken.insert(stem[n]);
        }
    auto S = [&](const std::string& n) { return written_as(stem, n); };
    const std::string A = P + fresh_name(INO.node_array, taken);

    for (const char* user : INO.user) os << INO.extern_void << user << INO.prototype << std::endl;
    for (int j = 0; j < input_count; ++j) os << INO.extern_int << W(input_names[j]) << INO.prototype << std::endl;
    for (int k = 0; k < output_count; ++k)
        if (item_in(pulse, output_names[k]))
            os << INO.extern_void << W(output_names[k]) << INO.prototype << std::endl;
        else
            os << INO.extern_void << W(output_names[k]) << INO.yes << INO.prototype << std::endl
               << INO.extern_void << W(output_names[k]) << INO.no << INO.prototype << std::endl;
    os << std::endl;
    std::vector<std::string> registers, nexts;
    for (int i = 0; i < state_count; ++i) {
        registers.push_back(P + S(state_names[i]));
        nexts.push_back(P + fresh_name(S(state_names[i]) + INO.next, taken));
        taken.insert(nexts.back().substr(P.size()));
    }
    if (state_count > 0) declaration(os, INO.registers, INO.more_state, registers);
    os << "void " << INO.frame[0] << "()" << std::endl
       << "{" << std::endl
       << "  " << INO.user[0] << INO.call << std::endl;
    for (int i = 0; i < state_count; ++i)
        os << "  " << registers[size_t(i)] << "= " << (init_values[i] == 1 ? "!0" : "0") << ";" << std::endl;
    os << "}" << std::endl << std::endl << "void " << INO.frame[1] << "()" << std::endl << "{" << std::endl;
    if (state_count > 0) declaration(os, INO.locals, INO.more, nexts);
    // the locals, the inputs, then the next-state signals that nothing else declares
    std::vector<std::string> variables;
    for (auto group : {names_of(local_names, local_count), names_of(input_names, input_count), next_states_undeclared()})
        for (const std::string& v : group) variables.push_back(P + S(v));
    if (!variables.empty()) declaration(os, INO.locals, INO.more, variables);
    os << INO.locals << A << "[" << T << "];" << std::endl << std::endl;
    os << INO.before << std::endl
       << "  " << INO.user[1] << INO.call << std::endl
       << std::endl
       << INO.inputs << std::endl;
    for (int j = 0; j < input_count; ++j)
        os << "  " << P << S(input_names[j]) << "=" << W(input_names[j]) << INO.call << std::endl;
    os << std::endl;

    // An output has no variable of its own: its value is its test, read where the output is read.
    std::vector<int> kinds(size_t(input_count + 2 * state_count + output_count + local_count), 1);
    for (const std::string& p : pulse) {
        long position = m != nullptr ? m->Index_var_by_name(p) : -1;
        if (position >= 0 && size_t(position) < kinds.size()) kinds[size_t(position)] = 0;
    }
    std::map<std::string, std::string> reads; // P + output -> what reading it reads
    std::map<std::string, std::string> read_outputs; // P + output -> output
    for (int k = 0; k < output_count && m != nullptr; ++k) {
        Bddexpression* e = wood->exp_by_bddname(output_names[k]);
        if (register_of[size_t(k)] >= 0 || e == nullptr || e->bdd_exp.node() == nullptr) continue;
        std::string value = m->Bdd_is_var(e->bdd_exp) ? P + S(m->Name_var_by_bdd(e->bdd_exp))
                                                      : std::string(e->bdd_exp.link_type() == 1 ? "" : "!") + A + "[" +
                                                            std::to_string(e->bdd_exp.node()->number) + "]";
        reads[P + W(output_names[k])] = value;
        read_outputs[P + W(output_names[k])] = output_names[k];
    }
    for (auto& r : reads) // a copy of an output reads what that output reads
        for (auto s = reads.find(r.second); s != reads.end() && s->first != r.first; s = reads.find(r.second))
            r.second = s->second;
    if (has_equations()) {
        os << INO.definitions << std::endl;
        std::list<std::string> outputs;
        for (const std::string& out : outputs_list()) outputs.push_back(W(out));
        bdd_naming naming = naming_of(stem);
        for (const auto& r : reads) naming.read_var(read_outputs[r.first], r.second);
        wood->Put_ino_grafcet(os, A, outputs, P, "", kinds.data(), &naming);
        os << std::endl;
    }
    // a register that is an output drives its actions from its current value
    for (int k = 0; k < output_count; ++k) {
        if (register_of[size_t(k)] < 0) continue;
        const std::string out = W(output_names[k]);
        os << INO.test << P << S(output_names[k]) << ")" << std::endl << INO.open << std::endl;
        if (m != nullptr && kinds[size_t(m->Index_var_by_name(output_names[k]))] == 1)
            os << INO.action << out << INO.yes << INO.call << std::endl << INO.close << std::endl << INO.orelse
               << std::endl << INO.open << std::endl << INO.action << out << INO.no << INO.call << std::endl;
        else
            os << INO.action << out << INO.call << std::endl;
        os << INO.close << std::endl;
    }
    bool array_read = false;
    std::vector<std::string> declared = names_of(local_names, local_count), inputs = names_of(input_names, input_count);
    declared.insert(declared.end(), inputs.begin(), inputs.end());
    for (const std::string& v : unread_signals(declared, array_read))
        os << INO.unused << P << S(v) << ";" << std::endl;
    if (!array_read) os << INO.unused << A << ";" << std::endl;
    // without chained registers the next values are read by nothing
    const bool chained = registers_chained();
    for (int i = 0; !chained && i < state_count; ++i) os << INO.unused << nexts[size_t(i)] << ";" << std::endl;
    if (state_count > 0) {
        os << INO.transitions << std::endl;
        for (int i = 0; i < state_count; ++i) {
            auto r = reads.find(P + S(next_state_names[i]));
            os << "  " << (chained ? nexts[size_t(i)] : registers[size_t(i)]) << "= "
               << (r != reads.end() ? r->second : P + S(next_state_names[i])) << ";" << std::endl;
        }
        for (int i = 0; chained && i < state_count; ++i)
            os << "  " << registers[size_t(i)] << "= " << nexts[size_t(i)] << ";" << std::endl;
        os << std::endl;
    }
    os << INO.after << std::endl << "  " << INO.user[2] << INO.call << std::endl << "}" << std::endl
       << std::endl;
}
