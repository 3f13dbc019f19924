// The CSharp writer: one class with a property per input and output, React() and Next().
#include "automaton/b_automaton_writers.h"
#include "utils/text_room.h"

#include <set>
#include <string_view>
#include <unordered_set>

namespace {

// CSharp vocabulary of the class: its comments, fields, properties and methods.
const struct {
    const char* libraries;          // comment over the libraries
    const char* using_system;       // the one library
    const char* class_comment;      // comment over the class
    const char* class_head;         // before the class's name
    const char* open;               // opens the class, a property or a method
    const char* attributes;         // comment over the fields
    const char* input_fields;       // comment over the inputs' fields
    const char* no_inputs;          // in their place when there are none
    const char* input_properties;   // comment over the inputs' properties
    const char* output_fields;      // comment over the outputs' fields
    const char* no_outputs;         // in their place when there are none
    const char* register_fields;    // comment over the registers' fields
    const char* field;              // before a field's name
    const char* end;                // ends a declaration or a statement
    const char* comma;              // after each register field but the last
    const char* continued;          // before each further register field
    const char* constructor_comment; // comment over the constructor
    const char* constructor;        // before the class's name in the constructor
    const char* constructor_open;   // opens the constructor's body
    const char* constructor_close;  // closes it
    const char* methods_comment;    // comment over the methods
    const char* output_properties;  // comment over the outputs' properties
    const char* initialisation;     // comment over Reset_Automaton
    const char* private_method;     // before a private method's name
    const char* public_method;      // before a public method's name
    const char* react_method;       // before React's name
    const char* next_method;        // before Next's name
    const char* no_parameters;      // after a method's name
    const char* call;               // before a called method's name
    const char* call_end;           // after it
    const char* close;              // closes a method
    const char* reset_comment;      // comment over an initialisation method, before what it sets
    const char* reset_comment_end;  // after it
    const char* transition_comment; // comment over Automaton
    const char* react_comment;      // comment over React
    const char* next_comment;       // comment over Next
    const char* end_class;          // closes the class
    const char* node_array;         // before the node array's name
    const char* new_array;          // between its name and its size
    const char* new_array_end;      // after its size
    const char* locals;             // before React's locals
    const char* separator;          // between two locals
    const char* equations;          // comment over the equations
    const char* statement;          // before an assigned name in React and Next
    const char* set_input;          // before an input set by Reset_Inputs or Reset_Outputs
    const char* assign;             // between an assigned name and its value
    const char* true_text;          // constant 1
    const char* false_text;         // constant 0
    // the class's members
    const char* automaton;
    const char* react;
    const char* next;
    const char* reset_automaton;
    const char* reset_inputs;
    const char* reset_outputs;
    const char* reset_registers;
    // the property of an input (0) or an output (1)
    const char* prefix[2];          // before the signal's name in the property's name
    const char* property;           // before the property's name
    const char* property_open;      // opens it
    const char* get;                // opens the getter
    const char* get_return;         // before the field's name in the getter
    const char* get_end;            // closes the getter
    const char* set;                // opens the setter
    const char* if_changed[2];      // before the field's name in the setter's test
    const char* if_changed_end;     // after it
    const char* set_field[2];       // before the field's name in the setter's assignment
    const char* set_value;          // after it
    const char* if_end;             // closes the setter's test
    const char* set_end;            // closes the setter
    const char* property_end;       // closes the property
    const char* value;              // the setter's parameter
    // names made up by the writer
    const char* verbatim;           // before a keyword in a verbatim identifier
    const char* node_array_name;    // the node array, after the class's prefix
    const char* next_suffix;        // after a register's name in its next value's field
    const char* name_suffix;        // after a name to set it apart
} CS = {"// Libraries :", " using System; ", "// Class :", " public class ", " {", "// private attributs:",
        "// private input variables :", "// No inputs ...", "// get & set methods for inputs from the FSM inputs :",
        "// private output variables :", "// No output ...", "// private registers variables :", "private bool ", ";",
        ",", "   ", "//The constructor :", "public ", "{", "}", "//The methods :",
        "// get & set methods for outputs from the FSM inputs :", "// Initialisation of the automaton:",
        " private void ", "public void ", "private void  ", "private void ", "()", "  ", "();", " }",
        "// Initialisation methods of the automaton boolean ", ":", "// FSM Transition methods:",
        "// Next state method computing:", "// Changing method X=Xnext", "}", "  bool[] ", " = new bool[", "];",
        "  bool ", ", ", "// internal definitions ", "  ", "   ", " = ", "!false", "false", "Automaton", "React",
        "Next", "Reset_Automaton", "Reset_Inputs", "Reset_Outputs", "Reset_Registers", {"P_", "GS_"},
        " public bool ", " {", "   get {", "   return ", "      }", "   set {",
        {"     if (value != ", "     if (value !=  "}, "){", {"        ", "       "}, " = value;", "      }", "    }",
        "  }", "value", "@", "def_node", "next", "_"};

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
    // the lines in one piece, in a buffer whose room is kept from one call to the next
    static text_room text;
    text.clear();
    for (const std::string& t : texts) {
        text += t;
        text += '\n';
    }
    text.write_to(os);
    os.flush();
}

// The get and set block of the property of an input (out 0) or an output (out 1) over the
// field Y; the two differ in two lines.
void property(std::ostream& os, int out, const std::string& name, const std::string& Y)
{
    lines(os, {CS.property + std::string(CS.prefix[out]) + name, CS.property_open, "", CS.get,
               CS.get_return + Y + CS.end, "", CS.get_end, "", CS.set, CS.if_changed[out] + Y + CS.if_changed_end,
               CS.set_field[out] + Y + CS.set_value, "", CS.if_end, CS.set_end, CS.property_end, ""});
}

// Inputs and outputs as private bool fields, or the line saying there are none.
void fields(std::ostream& os, const std::vector<std::string>& names, const std::string& none,
            std::map<std::string, std::string>& field)
{
    for (const std::string& n : names) os << CS.field << field[n] << CS.end << std::endl;
    if (names.empty()) lines(os, {none, "", ""});
    else lines(os, {"", "", ""});
}

// One initialisation method: each name set to its value, an empty line after each.
void reset_method(std::ostream& os, const std::string& what, const std::string& method,
                  const std::vector<std::pair<std::string, std::string>>& sets)
{
    lines(os, {CS.reset_comment + what + CS.reset_comment_end, "", CS.private_method + method + CS.no_parameters,
               CS.open, ""});
    for (const auto& s : sets) lines(os, {s.first + s.second + CS.end, ""});
    lines(os, {CS.close, ""});
}

} // namespace

void b_automaton::CSHARP_put(std::ostream& os, int, const std::string& name)
{
    const std::string P = name + CS.name_suffix;
    const long T = wood != nullptr ? wood->manager->Bdd_total_size() : 0;

    // A name holding '@' is written in its at-free form, in the equations too; the node array, a
    // local of React, takes a name of its own when a signal has its name.
    taken_names taken = taken_signal_names();
    const std::map<std::string, std::string> written = at_free_names(taken);
    auto W = [&](const std::string& n) { return written_as(written, n); };
    const std::string A = P + fresh_name(CS.node_array_name, taken);
    // the next value of a register, a field named P + the name + "next", takes "_" after "next"
    // while a signal is named like it
    std::vector<std::string> next_value;
    for (int i = 0; i < state_count; ++i) {
        next_value.push_back(P + fresh_name(W(state_names[i]) + CS.next_suffix, taken));
        taken.insert(next_value.back().substr(P.size()));
    }
    std::vector<std::string> inputs, outputs;
    for (int j = 0; j < input_count; ++j) inputs.push_back(W(input_names[j]));
    for (int k = 0; k < output_count; ++k) outputs.push_back(W(output_names[k]));

    // The field of an input or output: its name, "@" + the name for a keyword, and the name
    // followed by "_" as often as needed when the class has a member of that name already, or
    // when React has a local of that name (the copy P + name of a signal, or the node array).
    // A field named value would be hidden by the parameter of its property's setter.
    std::set<std::string> members = {CS.react, CS.next, CS.automaton, CS.reset_automaton, CS.reset_inputs,
                                     CS.reset_outputs, CS.reset_registers, A};
    for (const std::string& in : inputs) members.insert(CS.prefix[0] + in);
    for (const std::string& out : outputs) members.insert(CS.prefix[1] + out);
    members.insert(next_value.begin(), next_value.end());
    // The class: a keyword as a verbatim identifier, and the name followed by "_" as often as
    // needed when a member has its name.
    taken.insert(members.begin(), members.end());
    const std::string class_name = keyword(name)           ? CS.verbatim + name
                                   : members.count(name) ? fresh_name(name + CS.name_suffix, taken)
                                                         : name;
    taken.insert(class_name);
    members.insert({name, class_name, CS.value});
    taken.insert(members.begin(), members.end());
    // React's copies P + the written name of every signal are members too: they are recognised
    // by their form rather than listed. A written name is a signal's name without '@' or the
    // at-free form of one with '@'.
    name_table signals;
    signals.reserve(size_t(2 * state_count + input_count + output_count + local_count));
    for_each_name([&](const std::string& n) { signals.insert(n); });
    std::set<std::string_view> at_free;
    for (const auto& w : written) at_free.insert(w.second);
    auto copy_of_signal = [&](const std::string& s) {
        if (s.size() < P.size() || s.compare(0, P.size(), P) != 0) return false;
        const std::string_view rest = std::string_view(s).substr(P.size());
        return (rest.find('@') == std::string_view::npos && signals.contains(rest)) || at_free.count(rest) > 0;
    };
    auto fresh_member = [&](const std::string& base) {
        std::string m = base;
        while (taken.count(m) > 0 || copy_of_signal(m)) m += "_";
        return m;
    };
    std::map<std::string, std::string> field;
    for (const auto& group : {inputs, outputs})
        for (const std::string& n : group) {
            field[n] = members.count(n) || copy_of_signal(n) ? fresh_member(n + CS.name_suffix)
                       : keyword(n)                          ? CS.verbatim + n
                                                             : n;
            taken.insert(field[n]);
        }
    auto call = [](const char* method) { return CS.call + std::string(method) + CS.call_end; };

    lines(os, {DOTS, CS.libraries, DOTS, "", CS.using_system, DOTS, CS.class_comment, DOTS, ""});
    lines(os, {CS.class_head + class_name, CS.open, DOTS, CS.attributes, DOTS, "", CS.input_fields, ""});
    fields(os, inputs, CS.no_inputs, field);
    lines(os, {CS.input_properties, ""});
    for (const std::string& in : inputs) property(os, 0, in, field[in]);
    lines(os, {"", "", CS.output_fields});
    fields(os, outputs, CS.no_outputs, field);
    lines(os, {CS.register_fields, ""});
    if (state_count > 0) {
        os << CS.field << P << W(state_names[0]) << CS.comma << std::endl;
        for (int i = 1; i < state_count; ++i) os << CS.continued << P << W(state_names[i]) << CS.comma << std::endl;
        for (int i = 0; i < state_count; ++i)
            os << CS.continued << next_value[size_t(i)] << (i + 1 < state_count ? CS.comma : CS.end) << std::endl;
        os << std::endl;
    }
    lines(os, {"", "", DOTS, CS.constructor_comment, DOTS, ""});
    lines(os, {CS.constructor + class_name + CS.no_parameters, CS.constructor_open, "", call(CS.reset_automaton), "",
               CS.constructor_close, ""});
    lines(os, {DOTS, CS.methods_comment, DOTS, "", CS.output_properties, ""});
    for (const std::string& out : outputs) property(os, 1, out, field[out]);
    lines(os, {"", "", CS.initialisation, ""});
    lines(os, {CS.private_method + std::string(CS.reset_automaton) + CS.no_parameters, CS.open, "",
               call(CS.reset_inputs), call(CS.reset_outputs), call(CS.reset_registers), "", CS.close, ""});
    const std::string set_false = CS.assign + std::string(CS.false_text);
    std::vector<std::pair<std::string, std::string>> sets;
    for (const std::string& in : inputs) sets.push_back({CS.set_input + field[in], set_false});
    reset_method(os, "inputs", CS.reset_inputs, sets);
    sets.clear();
    for (const std::string& out : outputs) sets.push_back({CS.set_input + field[out], set_false});
    reset_method(os, "outputs", CS.reset_outputs, sets);
    sets.clear();
    for (int i = 0; i < state_count; ++i)
        sets.push_back({CS.statement + P + W(state_names[i]),
                        CS.assign + std::string(init_values[i] == 1 ? CS.true_text : CS.false_text)});
    reset_method(os, "registers", CS.reset_registers, sets);
    lines(os, {CS.transition_comment, "", CS.public_method + std::string(CS.automaton) + CS.no_parameters, CS.open, "",
               call(CS.react), call(CS.next), call(CS.reset_inputs), "", CS.close, ""});
    lines(os, {CS.react_comment, "", CS.react_method + std::string(CS.react) + CS.no_parameters, CS.open, ""});
    os << CS.node_array << A << CS.new_array << T << CS.new_array_end << std::endl;
    // the equations read the inputs under P and write outputs, locals and next-state signals as
    // locals of React; outputs and next register values are published after them
    if (input_count > 0) {
        os << CS.locals;
        for (size_t j = 0; j < inputs.size(); ++j)
            os << (j > 0 ? CS.separator : "") << P << inputs[j] << CS.assign << field[inputs[j]];
        os << CS.end << std::endl;
    }
    // the names by pointer: a circuit may have millions of locals
    std::vector<const std::string*> locals;
    const std::vector<int> registers = output_registers();
    for (int k = 0; k < output_count; ++k)
        if (registers[size_t(k)] < 0) locals.push_back(&output_names[k]);
    for (int l = 0; l < local_count; ++l) locals.push_back(&local_names[l]);
    const std::vector<std::string> next = next_states_undeclared();
    for (const std::string& x : next) locals.push_back(&x);
    if (!locals.empty()) {
        os << CS.locals;
        put_declarations(os, locals, written, P, CS.separator);
        os << CS.end << std::endl;
    }
    if (has_equations()) {
        os << CS.equations << std::endl;
        const bdd_naming naming = naming_of(written);
        wood->Put_csharp(os, A, P, "", 0, &naming);
        os << std::endl;
    }
    for (const std::string& out : outputs) os << CS.statement << field[out] << CS.assign << P << out << CS.end << std::endl;
    for (int i = 0; i < state_count; ++i)
        os << CS.statement << next_value[size_t(i)] << CS.assign << P << W(next_state_names[i]) << CS.end << std::endl;
    lines(os, {CS.close, "", CS.next_comment, "", CS.next_method + std::string(CS.next) + CS.no_parameters,
               CS.open, ""});
    for (int i = 0; i < state_count; ++i)
        os << CS.statement << P << W(state_names[i]) << CS.assign << next_value[size_t(i)] << CS.end << std::endl;
    lines(os, {CS.close, "", CS.end_class});
}
