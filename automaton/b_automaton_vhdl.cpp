// The VHDL writer: an entity with the inputs, reset and clk, and the outputs as ports, and an
// architecture with the clocked process and the equations over a signal array of BDD nodes.
#include "automaton/b_automaton.h"

#include <cctype>
#include <iterator>

namespace {

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
    std::set<std::string> reserved(std::begin(vhdl_reserved), std::end(vhdl_reserved)), seen, twice;
    auto frame_name = [&](const std::string& n) {
        return basic_identifier(n) && reserved.count(lower(n)) == 0 ? n : "\\" + n + "\\";
    };
    const std::string TYPE = level != 0 ? "std_logic" : "bit", A = frame_name(name + "_node"),
                      ENTITY = frame_name(name), ARCH = frame_name(name + "_a"),
                      ARRAY = frame_name("array_" + name + "_node");
    const long T = wood != nullptr ? wood->manager->Bdd_total_size() : 0;

    // A signal whose name is no basic identifier, is reserved, names a part of the frame or
    // differs from another signal only in case is written as an extended identifier \name\.
    for (const std::string& frame : {name, name + "_a", name + "_node", "array_" + name + "_node"})
        reserved.insert(lower(frame));
    std::set<std::string> names = all_names();
    for (const std::string& n : names)
        if (!seen.insert(lower(n)).second) twice.insert(lower(n));
    std::map<std::string, std::string> written;
    for (const std::string& n : names) {
        bool plain = basic_identifier(n) && reserved.count(lower(n)) == 0 && twice.count(lower(n)) == 0;
        written[n] = plain ? n : "\\" + n + "\\";
    }

    os << "-- VHDL generation from " << name << std::endl << std::endl;
    if (level != 0) os << "LIBRARY ieee;" << std::endl << "USE ieee.std_logic_1164.all;" << std::endl;
    os << "entity " << ENTITY << " is" << std::endl;
    os << "  port(";
    for (int j = 0; j < input_count; ++j) os << written[input_names[j]] << ", ";
    // the last port declaration takes no ";" before the closing parenthesis
    os << " reset, clk: in " << TYPE << (output_count > 0 ? ";" : "") << std::endl;
    if (output_count > 0) {
        os << "       ";
        for (int k = 0; k < output_count; ++k) os << (k > 0 ? ", " : "") << written[output_names[k]];
        os << ": out " << TYPE << ");" << std::endl;
    } else
        os << "     );" << std::endl;
    os << "end " << ENTITY << ";" << std::endl << std::endl;
    os << "architecture " << ARCH << " of " << ENTITY << " is" << std::endl;
    os << "TYPE " << ARRAY << " IS ARRAY (" << T << " downto 0) OF " << TYPE << " ;" << std::endl;
    // every register, next-state signal and local once, by name, leaving out the ports
    for (const std::string& s : declared_once({names_of(state_names, state_count),
                                               names_of(next_state_names, state_count),
                                               names_of(local_names, local_count)}))
        os << "signal " << written[s] << " : " << TYPE << ";" << std::endl;
    os << "signal " << A << " : " << ARRAY << ";" << std::endl << std::endl;
    os << "begin" << std::endl << "-- state and output computation" << std::endl;

    // The network reads every variable through its node's element: the process keeps each
    // register's element beside the register, and a register that is an output shows its
    // element, the state of the cycle, like the other outputs. No output port is read.
    std::list<std::string> inputs, outputs, resets, updates;
    for (int j = 0; j < input_count; ++j) inputs.push_back(written[input_names[j]]);
    for (int k = 0; k < output_count; ++k) outputs.push_back(written[output_names[k]]);
    std::set<std::string> out_ports(output_names, output_names + output_count);
    for (int i = 0; i < state_count && wood != nullptr; ++i) {
        const std::string& s = state_names[i];
        const std::string& x = next_state_names[i];
        std::string element = A + "(" + std::to_string(variable_node_number(s)) + ")";
        std::string value = init_values[i] == 1 ? "'1'" : "'0'";
        std::string next = out_ports.count(x) ? A + "(" + std::to_string(variable_node_number(x)) + ")" : written[x];
        resets.push_back("  " + written[s] + " <= " + value);
        resets.push_back("  " + element + " <= " + value);
        updates.push_back("  " + written[s] + " <= " + (out_ports.count(s) ? element : next));
        updates.push_back("  " + element + " <= " + next);
    }
    if (wood != nullptr) {
        const bdd_naming naming = naming_of(written);
        wood->Put_vhdl(os, A, inputs, outputs, resets, updates, 1, &naming);
    }
    os << "end " << ARCH << ";" << std::endl << std::endl;
}
