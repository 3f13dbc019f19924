// The CSharp writer: one class with a property per input and output, React() and Next().
#include "automaton/b_automaton_writers.h"

namespace {

const std::string DOTS = "//" + std::string(77, '.');

// Keywords of C#, and await, which is one inside asynchronous code: a field or class of such a
// name is written as a verbatim identifier, "@" + the name.
const char* const csharp_keywords[] = {
    "abstract", "as", "await", "base", "bool", "break", "byte", "case", "catch", "char", "checked", "class", "const",
    "continue", "decimal", "default", "delegate", "do", "double", "else", "enum", "event", "explicit", "extern",
    "false", "finally", "fixed", "float", "for", "foreach", "goto", "if", "implicit", "in", "int", "interface",
    "internal", "is", "lock", "long", "namespace", "new", "null", "object", "operator", "out", "override",
    "params", "private", "protected", "public", "readonly", "ref", "return", "sbyte", "sealed", "short",
    "sizeof", "stackalloc", "static", "string", "struct", "switch", "this", "throw", "true", "try", "typeof",
    "uint", "ulong", "unchecked", "unsafe", "ushort", "using", "virtual", "void", "volatile", "while"};

bool keyword(const std::string& name)
{
    for (const char* k : csharp_keywords)
        if (name == k) return true;
    return false;
}

// Writes each line followed by a newline; an empty text is an empty line.
void lines(std::ostream& os, std::initializer_list<std::string> texts)
{
    for (const std::string& t : texts) os << t << std::endl;
}

// The get and set block of the property X + name over the field Y; in (X "P_") or out (X "GS_")
// differ in two lines.
void property(std::ostream& os, const std::string& X, const std::string& name, const std::string& Y)
{
    bool in = X == "P_";
    lines(os, {" public bool " + X + name, " {", "", "   get {", "   return " + Y + ";", "", "      }", "",
               "   set {", std::string("     if (value != ") + (in ? "" : " ") + Y + "){",
               std::string(in ? "        " : "       ") + Y + " = value;", "", "      }", "    }", "  }", ""});
}

// Inputs and outputs as private bool fields, or the line saying there are none.
void fields(std::ostream& os, const std::vector<std::string>& names, const std::string& none,
            std::map<std::string, std::string>& field)
{
    for (const std::string& n : names) os << "private bool " << field[n] << ";" << std::endl;
    if (names.empty()) lines(os, {none, "", ""});
    else lines(os, {"", "", ""});
}

// One initialisation method: each name set to its value, an empty line after each.
void reset_method(std::ostream& os, const std::string& what, const std::string& method,
                  const std::vector<std::pair<std::string, std::string>>& sets)
{
    lines(os, {"// Initialisation methods of the automaton boolean " + what + ":", "", " private void " + method + "()",
               " {", ""});
    for (const auto& s : sets) lines(os, {s.first + s.second + ";", ""});
    lines(os, {" }", ""});
}

} // namespace

void b_automaton::CSHARP_put(std::ostream& os, int, const std::string& name)
{
    const std::string P = name + "_";
    const long T = wood != nullptr ? wood->manager->Bdd_total_size() : 0;

    // A name holding '@' is written in its at-free form, in the equations too; the node array, a
    // local of React, takes a name of its own when a signal has its name.
    std::set<std::string> taken = all_names();
    const std::map<std::string, std::string> written = at_free_names(taken);
    auto W = [&](const std::string& n) { return written_as(written, n); };
    const std::string A = P + fresh_name("def_node", taken);
    // the next value of a register, a field named P + the name + "next", takes "_" after "next"
    // while a signal is named like it
    std::vector<std::string> next_value;
    for (int i = 0; i < state_count; ++i) {
        next_value.push_back(P + fresh_name(W(state_names[i]) + "next", taken));
        taken.insert(next_value.back().substr(P.size()));
    }
    std::vector<std::string> inputs, outputs;
    for (int j = 0; j < input_count; ++j) inputs.push_back(W(input_names[j]));
    for (int k = 0; k < output_count; ++k) outputs.push_back(W(output_names[k]));

    // The field of an input or output: its name, "@" + the name for a keyword, and the name
    // followed by "_" as often as needed when the class has a member of that name already, or
    // when React has a local of that name (the copy P + name of a signal, or the node array).
    // A field named value would be hidden by the parameter of its property's setter.
    std::set<std::string> members = {"React", "Next", "Automaton", "Reset_Automaton", "Reset_Inputs",
                                     "Reset_Outputs", "Reset_Registers", A};
    for (const std::string& in : inputs) members.insert("P_" + in);
    for (const std::string& out : outputs) members.insert("GS_" + out);
    members.insert(next_value.begin(), next_value.end());
    // The class: a keyword as a verbatim identifier, and the name followed by "_" as often as
    // needed when a member has its name.
    taken.insert(members.begin(), members.end());
    const std::string class_name = keyword(name) ? "@" + name : members.count(name) ? fresh_name(name + "_", taken) : name;
    taken.insert(class_name);
    members.insert({name, class_name, "value"});
    for (const std::string& n : all_names()) members.insert(P + W(n));
    taken.insert(members.begin(), members.end());
    std::map<std::string, std::string> field;
    for (const auto& group : {inputs, outputs})
        for (const std::string& n : group) {
            field[n] = members.count(n) ? fresh_name(n + "_", taken) : keyword(n) ? "@" + n : n;
            taken.insert(field[n]);
        }

    lines(os, {DOTS, "// Libraries :", DOTS, "", " using System; ", DOTS, "// Class :", DOTS, ""});
    lines(os, {" public class " + class_name, " {", DOTS, "// private attributs:", DOTS, "", "// private input variables :", ""});
    fields(os, inputs, "// No inputs ...", field);
    lines(os, {"// get & set methods for inputs from the FSM inputs :", ""});
    for (const std::string& in : inputs) property(os, "P_", in, field[in]);
    lines(os, {"", "", "// private output variables :"});
    fields(os, outputs, "// No output ...", field);
    lines(os, {"// private registers variables :", ""});
    if (state_count > 0) {
        os << "private bool " << P << W(state_names[0]) << "," << std::endl;
        for (int i = 1; i < state_count; ++i) os << "   " << P << W(state_names[i]) << "," << std::endl;
        for (int i = 0; i < state_count; ++i)
            os << "   " << next_value[size_t(i)] << (i + 1 < state_count ? "," : ";") << std::endl;
        os << std::endl;
    }
    lines(os, {"", "", DOTS, "//The constructor :", DOTS, ""});
    lines(os, {"public " + class_name + "()", "{", "", "  Reset_Automaton();", "", "}", ""});
    lines(os, {DOTS, "//The methods :", DOTS, "", "// get & set methods for outputs from the FSM inputs :", ""});
    for (const std::string& out : outputs) property(os, "GS_", out, field[out]);
    lines(os, {"", "", "// Initialisation of the automaton:", ""});
    lines(os, {" private void Reset_Automaton()", " {", "", "  Reset_Inputs();", "  Reset_Outputs();",
               "  Reset_Registers();", "", " }", ""});
    std::vector<std::pair<std::string, std::string>> sets;
    for (const std::string& in : inputs) sets.push_back({"   " + field[in], " = false"});
    reset_method(os, "inputs", "Reset_Inputs", sets);
    sets.clear();
    for (const std::string& out : outputs) sets.push_back({"   " + field[out], " = false"});
    reset_method(os, "outputs", "Reset_Outputs", sets);
    sets.clear();
    for (int i = 0; i < state_count; ++i)
        sets.push_back({"  " + P + W(state_names[i]), std::string(" = ") + (init_values[i] == 1 ? "!false" : "false")});
    reset_method(os, "registers", "Reset_Registers", sets);
    lines(os, {"// FSM Transition methods:", "", "public void Automaton()", " {", "", "  React();", "  Next();",
               "  Reset_Inputs();", "", " }", ""});
    lines(os, {"// Next state method computing:", "", "private void  React()", " {", ""});
    os << "  bool[] " << A << " = new bool[" << T << "];" << std::endl;
    // the equations read the inputs under P and write outputs, locals and next-state signals as
    // locals of React; outputs and next register values are published after them
    if (input_count > 0) {
        os << "  bool ";
        for (size_t j = 0; j < inputs.size(); ++j) os << (j > 0 ? ", " : "") << P << inputs[j] << " = " << field[inputs[j]];
        os << ";" << std::endl;
    }
    std::vector<std::string> locals;
    for (int k = 0; k < output_count; ++k)
        if (output_register(k) < 0) locals.push_back(output_names[k]);
    for (const std::string& l : names_of(local_names, local_count)) locals.push_back(l);
    for (const std::string& x : next_states_undeclared()) locals.push_back(x);
    if (!locals.empty()) {
        os << "  bool ";
        for (size_t m = 0; m < locals.size(); ++m) os << (m > 0 ? ", " : "") << P << W(locals[m]);
        os << ";" << std::endl;
    }
    if (has_equations()) {
        os << "// internal definitions " << std::endl;
        const bdd_naming naming = naming_of(written);
        wood->Put_csharp(os, A, P, "", 0, &naming);
        os << std::endl;
    }
    for (const std::string& out : outputs) os << "  " << field[out] << " = " << P << out << ";" << std::endl;
    for (int i = 0; i < state_count; ++i)
        os << "  " << next_value[size_t(i)] << " = " << P << W(next_state_names[i]) << ";" << std::endl;
    lines(os, {" }", "", "// Changing method X=Xnext", "", "private void Next()", " {", ""});
    for (int i = 0; i < state_count; ++i)
        os << "  " << P << W(state_names[i]) << " = " << next_value[size_t(i)] << ";" << std::endl;
    lines(os, {" }", "", "}"});
}
