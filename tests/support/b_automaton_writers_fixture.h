// Test circuits for the automaton's file writers, built the way the BLIF reader builds them.
#ifndef NELVOR_B_AUTOMATON_WRITERS_FIXTURE_H
#define NELVOR_B_AUTOMATON_WRITERS_FIXTURE_H

#include <list>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "automaton/b_automaton.h"
#include "tests/support/b_automaton_tools_fixture.h"

// One .names block: its signals (the last one defined) and its rows ("11 1", "0- 0", ...).
struct test_cover {
    std::vector<std::string> names; // fan-ins, then the defined signal
    std::vector<std::string> rows;  // input plane, a blank, the output value
};

// A circuit as the pre-pass sorts it: registers and next-state signals in .latch order, the
// other names in sets.
struct test_circuit {
    std::list<std::string> states;      // registers
    std::list<std::string> next_states; // their next-state signals
    std::set<std::string> inputs;       // inputs
    std::set<std::string> outputs;      // outputs
    std::set<std::string> locals;       // locals
    std::vector<int> init;              // initial value of each register
    std::vector<test_cover> covers;     // the .names blocks in file order
};

// The cover as the reader converts it: each row the AND of its literals from constant 1, the
// function the OR of the rows (an OFF-set cover complemented), constant 0 without rows.
inline bdd test_cover_function(bddpp_manager* m, const test_cover& c)
{
    bdd f = m->Bdd_zero();
    bool off_set = false;
    for (const std::string& row : c.rows) {
        bdd cube = m->Bdd_one();
        std::string plane = row.substr(0, row.find(' '));
        for (std::size_t i = 0; i < plane.size() && i + 1 < c.names.size(); ++i) {
            bdd x = m->Bdd_var_by_name(c.names[i]);
            if (plane[i] == '0') cube = m->Bdd_and(cube, m->Bdd_not(x));
            if (plane[i] == '1') cube = m->Bdd_and(cube, x);
        }
        off_set = row.size() > 0 && row[row.size() - 1] == '0';
        f = m->Bdd_or(f, cube);
    }
    return off_set ? m->Bdd_not(f) : f;
}

// A new automaton of the circuit, with constant 1 as assertion and constant 0 as invariant.
inline b_automaton* build_automaton(const test_circuit& c)
{
    b_autom_dec* dec = new b_autom_dec(c.states, c.next_states, c.inputs, c.outputs, c.locals);
    bddpp_manager* m = dec->manager_associe();
    for (const test_cover& cover : c.covers) {
        const std::string& defined = cover.names.back();
        new Bddexpression(defined, dec->wood_associee(), m->Bdd_var_by_name(defined), test_cover_function(m, cover),
                          0, 0);
    }
    std::vector<int> init = c.init;
    init.push_back(0);
    b_automaton* a = new b_automaton(dec, init.data(), m->Bdd_one(), m->Bdd_zero());
    delete dec; // the automaton adopted its arrays and its forest
    return a;
}

// Circuit A: one local (t), an output read by another gate (y feeds d), one register q.
inline test_circuit circuit_a()
{
    return {{"q"}, {"d"}, {"a", "b"}, {"y"}, {"t"}, {0},
            {{{"a", "q", "t"}, {"11 1"}}, {{"t", "b", "y"}, {"1- 1", "-1 1"}}, {{"y", "a", "d"}, {"10 1", "01 1"}}}};
}

// Circuit B: circuit A whose register q is also an output.
inline test_circuit circuit_b()
{
    test_circuit c = circuit_a();
    c.outputs = {"q", "y"};
    return c;
}

// Circuit V: a register fed by an input, one fed by a register, a copy of an output, a constant.
inline test_circuit circuit_v()
{
    return {{"r", "s"}, {"a", "r"}, {"a"}, {"y"}, {"k", "z"}, {0, 0},
            {{{"r", "s", "y"}, {"11 1"}}, {{"y", "z"}, {"1 1"}}, {{"k"}, {}}}};
}

// Nothing at all: no signal, no equation.
inline test_circuit circuit_empty()
{
    return {{}, {}, {}, {}, {}, {}, {}};
}

// Combinational, no local: x = a AND b, y = NOT a (an OFF-set cover).
inline test_circuit circuit_comb()
{
    return {{}, {}, {"a", "b"}, {"x", "y"}, {}, {}, {{{"a", "b", "x"}, {"11 1"}}, {{"a", "y"}, {"1 0"}}}};
}

// A register with initial value 1 that is an output fed by an input; no equation.
inline test_circuit circuit_delay()
{
    return {{"r"}, {"a"}, {"a"}, {"r"}, {}, {1}, {}};
}

// Names with underscores, a register with initial value 1 and a constant 1.
inline test_circuit circuit_names()
{
    return {{"r_1"}, {"n_q"}, {"in_1", "in_2_"}, {"out_1_2"}, {"one"}, {1},
            {{{"in_1", "r_1", "out_1_2"}, {"11 1"}}, {{"r_1", "in_2_", "n_q"}, {"1- 1", "-1 1"}}, {{"one"}, {"1"}}}};
}

// Signals named like the nodes of the BLIF writer: node_4 and node_8 are circuit signals.
inline test_circuit circuit_clash()
{
    return {{}, {}, {"a", "b"}, {"node_4"}, {"node_8"}, {},
            {{{"a", "b", "node_8"}, {"11 1"}}, {{"node_8", "a", "node_4"}, {"1- 1", "-0 1"}}}};
}

// Names that are reserved words of LUSTRE, ESTEREL or LIGHT ESTEREL, and "@": the register
// signal (initial value 1) fed by @ = input AND node, module = signal OR node, the output
// true = module AND NOT input.
inline test_circuit circuit_reserved()
{
    return {{"signal"}, {"@"}, {"input", "node"}, {"true"}, {"module"}, {1},
            {{{"input", "node", "@"}, {"11 1"}},
             {{"signal", "node", "module"}, {"1- 1", "-1 1"}},
             {{"module", "input", "true"}, {"10 1"}}}};
}

// Names the C-like targets cannot write as they are, for the base name "w": names holding '@'
// (a@b beside a_at_b, its at-free form), the name of the node array (def_node), an input w_x
// named like the copy "w_" + x of the input x, and a local named like the next value of the
// register q@ once written (q_at_ + next).
inline test_circuit circuit_awkward()
{
    return {{"q@"}, {"n@"}, {"a@b", "x", "w_x"}, {"def_node", "q@", "a_at_b"}, {"n@", "q_at_next"}, {1},
            {{{"a@b", "x", "def_node"}, {"11 1"}},
             {{"def_node", "q_at_next", "n@"}, {"0- 1", "-1 1"}},
             {{"x", "q_at_next"}, {"1 1"}},
             {{"a@b", "w_x", "a_at_b"}, {"10 1"}}}};
}

// One golden case: a circuit, the name given to the writer and the text expected.
struct writer_case {
    const char* label;            // what the case shows
    test_circuit (*circuit)();    // the circuit
    const char* name;             // module name passed to the writer
    std::string expected;         // the whole text
};

// text with its first occurrence of each pattern replaced: a golden text told as another one's change.
inline std::string edited(std::string text, const std::vector<std::pair<std::string, std::string>>& changes)
{
    for (const auto& c : changes) text.replace(text.find(c.first), c.first.size(), c.second);
    return text;
}

using file_writer = void (b_automaton::*)(std::ostream&, int, const std::string&);

// The text that the writer gives for the sorted circuit.
inline std::string written(const test_circuit& c, file_writer w, const std::string& name, int level = 0)
{
    b_automaton* a = build_automaton(c);
    a->sort();
    std::ostringstream out;
    (a->*w)(out, level, name);
    delete a;
    return out.str();
}

// The circuit in the accepted BLIF dialect, model name "m".
inline std::string blif_text(const test_circuit& c)
{
    std::ostringstream os;
    os << ".model m" << std::endl << ".inputs";
    for (const std::string& i : c.inputs) os << " " << i;
    os << std::endl << ".outputs";
    for (const std::string& o : c.outputs) os << " " << o;
    os << std::endl;
    std::list<std::string>::const_iterator n = c.next_states.begin();
    std::size_t k = 0;
    for (const std::string& s : c.states) os << ".latch " << *n++ << " " << s << " " << c.init[k++] << std::endl;
    for (const test_cover& cover : c.covers) {
        os << ".names";
        for (const std::string& x : cover.names) os << " " << x;
        os << std::endl;
        for (const std::string& row : cover.rows) os << row << std::endl;
    }
    os << ".end" << std::endl;
    return os.str();
}

// Every test circuit, for the checks by real tools.
inline std::vector<std::pair<const char*, test_circuit>> all_test_circuits()
{
    return {{"ca", circuit_a()},     {"cb", circuit_b()},         {"cv", circuit_v()},
            {"ce", circuit_empty()}, {"cc", circuit_comb()},      {"cd", circuit_delay()},
            {"cn", circuit_names()}, {"cx", circuit_clash()}};
}

#endif
