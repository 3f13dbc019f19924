// The VHDL writer: an entity with the inputs, reset and clk, and the outputs as ports, and an
// architecture with the clocked process and the equations over a signal array of BDD nodes.
#include "automaton/b_automaton.h"
#include "automaton/b_automaton_writers.h"
#include "utils/text_room.h"

#include <cctype>
#include <iterator>

namespace {

// VHDL vocabulary of the entity and its architecture.
const struct {
    const char* head;          // first line, before the name
    const char* library[2];    // the library lines of std_logic
    const char* types[2];      // the signals' type: bit at level 0, std_logic otherwise
    const char* entity;        // before the entity's name
    const char* is;            // after it
    const char* port;          // opens the ports
    const char* frame_ports;   // the reset and clock ports after the inputs, before the type
    const char* outputs;       // before the outputs
    const char* out_type;      // before their type
    const char* no_output;     // closes the ports when there is no output
    const char* end;           // before the name at the end of a unit
    const char* architecture;  // before the architecture's name
    const char* of;            // between it and the entity's name
    const char* array_type;    // before the node array type's name
    const char* array_range;   // before the array's last index
    const char* array_of;      // between the index and the element type
    const char* array_end;     // after the element type
    const char* signal;        // before a signal's name
    const char* typed;         // between a signal and its type
    const char* begin;         // body start
    const char* computation;   // head of the process and the equations
    const char* assign;        // between a target and its value
    const char* one;           // initial value 1
    const char* zero;          // initial value 0
    const char* open;          // between the node array and an element's number
    const char* close;         // after the number
    const char* step;          // before a reset or update statement
    const char* arch_suffix;   // after the name in the architecture's name
    const char* node_suffix;   // after the name in the node array's name
    const char* array_prefix;  // before the node array's name in its type's name
} VHDL = {"-- VHDL generation from ", {"LIBRARY ieee;", "USE ieee.std_logic_1164.all;"}, {"bit", "std_logic"},
          "entity ", " is", "  port(", " reset, clk: in ", "       ", ": out ", "     );", "end ",
          "architecture ", " of ", "TYPE ", " IS ARRAY (", " downto 0) OF ", " ;", "signal ", " : ", "begin",
          "-- state and output computation", " <= ", "'1'", "'0'", "(", ")", "  ", "_a", "_node", "array_"};

// Reserved words of VHDL-93 and VHDL-2008.
const char* const vhdl_reserved[] = {
    "abs", "access", "after", "alias", "all", "and", "architecture", "array", "assert", "assume", "attribute",
    "begin", "block", "body", "buffer", "bus", "case", "component", "configuration", "constant", "context",
    "cover", "default", "disconnect", "downto", "else", "elsif", "end", "entity", "exit", "fairness", "file",
    "for", "force", "function", "generate", "generic", "group", "guarded", "if", "impure", "in", "inertial",
    "inout", "is", "label", "library", "linkage", "literal", "loop", "map", "mod", "nand", "new", "next", "nor",
    "not", "null", "of", "on", "open", "or", "others", "out", "package", "parameter", "port", "postponed",
    "procedure", "process", "property", "protected", "pure", "range", "record", "register", "reject",
    "release", "rem", "report", "restrict", "return", "rol", "ror", "select", "sequence", "severity", "signal",
    "shared", "sla", "sll", "sra", "srl", "strong", "subtype", "then", "to", "transport", "type", "unaffected",
    "units", "until", "use", "variable", "vmode", "vprop", "vunit", "wait", "when", "while", "with", "xnor",
    "xor",
    // names of the frame and of the libraries it uses
    "reset", "clk", "ieee", "std_logic_1164", "std_logic", "bit", "std", "work"};

std::string lower(std::string s)
{
    for (char& ch : s) ch = char(std::tolower(static_cast<unsigned char>(ch)));
    return s;
}

// A basic identifier: a letter, then letters, digits and single inner underscores.
bool basic_identifier(const std::string& s)
{
    if (s.empty() || !std::isalpha(static_cast<unsigned char>(s[0])) || s.back() == '_') return false;
    for (size_t i = 0; i < s.size(); ++i)
        if (!(std::isalnum(static_cast<unsigned char>(s[i])) || s[i] == '_') || (s[i] == '_' && s[i + 1] == '_'))
            return false;
    return true;
}

} // namespace

void b_automaton::VHDL_put(std::ostream& os, int level, const std::string& name)
{
    // The entity, its architecture, the node array and its type are named after name: each of
    // them that is no basic identifier or is reserved is written as an extended identifier.
    std::set<std::string> reserved(std::begin(vhdl_reserved), std::end(vhdl_reserved)), twice;
    auto frame_name = [&](const std::string& n) {
        return basic_identifier(n) && reserved.count(lower(n)) == 0 ? n : "\\" + n + "\\";
    };
    const std::string node = name + VHDL.node_suffix, arch = name + VHDL.arch_suffix, array = VHDL.array_prefix + node;
    const std::string TYPE = VHDL.types[level != 0 ? 1 : 0], A = frame_name(node), ENTITY = frame_name(name),
                      ARCH = frame_name(arch), ARRAY = frame_name(array);
    const long T = wood != nullptr ? wood->manager->Bdd_total_size() : 0;

    // A signal whose name is no basic identifier, is reserved, names a part of the frame or
    // differs from another signal only in case is written as an extended identifier \name\.
    for (const std::string& frame : {name, arch, node, array})
        reserved.insert(lower(frame));
    // only the names written otherwise than as they are; the lowered names are let go before
    // the equations are written
    std::map<std::string, std::string> written;
    {
        // every name once, in any order: the forms found do not depend on it
        std::vector<const std::string*> names;
        {
            name_table seen; // let go before the lowered names are made
            seen.reserve(size_t(2 * state_count + input_count + output_count + local_count));
            for_each_name([&](const std::string& n) {
                if (seen.insert(n)) names.push_back(&n);
            });
        }
        std::vector<std::string> lowered;
        lowered.reserve(names.size());
        for (const std::string* n : names) lowered.push_back(lower(*n));
        name_table seen_lower; // holds the lowered names, which stay in place from here on
        seen_lower.reserve(lowered.size());
        for (const std::string& l : lowered)
            if (!seen_lower.insert(l)) twice.insert(l);
        for (size_t i = 0; i < names.size(); ++i) {
            const std::string& n = *names[i];
            bool plain = basic_identifier(n) && reserved.count(lowered[i]) == 0 && twice.count(lowered[i]) == 0;
            if (!plain) written.emplace(n, "\\" + n + "\\");
        }
    }
    auto W = [&](const std::string& n) { return written_as(written, n); };

    os << VHDL.head << name << std::endl << std::endl;
    if (level != 0) os << VHDL.library[0] << std::endl << VHDL.library[1] << std::endl;
    os << VHDL.entity << ENTITY << VHDL.is << std::endl;
    os << VHDL.port;
    for (int j = 0; j < input_count; ++j) os << W(input_names[j]) << ", ";
    // the last port declaration takes no ";" before the closing parenthesis
    os << VHDL.frame_ports << TYPE << (output_count > 0 ? ";" : "") << std::endl;
    if (output_count > 0) {
        os << VHDL.outputs;
        for (int k = 0; k < output_count; ++k) os << (k > 0 ? ", " : "") << W(output_names[k]);
        os << VHDL.out_type << TYPE << ");" << std::endl;
    } else
        os << VHDL.no_output << std::endl;
    os << VHDL.end << ENTITY << ";" << std::endl << std::endl;
    os << VHDL.architecture << ARCH << VHDL.of << ENTITY << VHDL.is << std::endl;
    os << VHDL.array_type << ARRAY << VHDL.array_range << T << VHDL.array_of << TYPE << VHDL.array_end << std::endl;
    // every register, next-state signal and local once, by name, leaving out the ports
    // their lines gathered in one text, written in large pieces
    text_room declarations;
    for (const std::string* s :
         declared_once({{state_names, state_count}, {next_state_names, state_count}, {local_names, local_count}})) {
        declarations += VHDL.signal;
        declarations += written_as(written, *s);
        declarations += VHDL.typed;
        declarations += TYPE;
        declarations += ";\n";
        if (declarations.size() >= (size_t(1) << 16)) declarations.write_to(os);
    }
    declarations.write_to(os);
    os << VHDL.signal << A << VHDL.typed << ARRAY << ";" << std::endl << std::endl;
    os << VHDL.begin << std::endl << VHDL.computation << std::endl;

    // The network reads every variable through its node's element: the process keeps each
    // register's element beside the register, and a register that is an output shows its
    // element, the state of the cycle, like the other outputs. No output port is read.
    std::list<std::string> inputs, outputs, resets, updates;
    for (int j = 0; j < input_count; ++j) inputs.push_back(W(input_names[j]));
    for (int k = 0; k < output_count; ++k) outputs.push_back(W(output_names[k]));
    std::set<std::string> out_ports(output_names, output_names + output_count);
    for (int i = 0; i < state_count && wood != nullptr; ++i) {
        const std::string& s = state_names[i];
        const std::string& x = next_state_names[i];
        auto element_of = [&](const std::string& v) {
            return A + VHDL.open + std::to_string(variable_node_number(v)) + VHDL.close;
        };
        std::string element = element_of(s);
        std::string value = init_values[i] == 1 ? VHDL.one : VHDL.zero;
        std::string next = out_ports.count(x) ? element_of(x) : W(x);
        resets.push_back(VHDL.step + W(s) + VHDL.assign + value);
        resets.push_back(VHDL.step + element + VHDL.assign + value);
        updates.push_back(VHDL.step + W(s) + VHDL.assign + (out_ports.count(s) ? element : next));
        updates.push_back(VHDL.step + element + VHDL.assign + next);
    }
    if (wood != nullptr) {
        const bdd_naming naming = naming_of(written);
        wood->Put_vhdl(os, A, inputs, outputs, resets, updates, 1, &naming);
    }
    os << VHDL.end << ARCH << ";" << std::endl << std::endl;
}
