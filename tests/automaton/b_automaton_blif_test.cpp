// The BLIF model writers; every written model is checked equivalent to its circuit with ABC.
#include <gtest/gtest.h>

#include "tests/support/b_automaton_writers_fixture.h"

namespace {

const writer_case BLIF_CASES[] = {
    {"shared nodes, complemented root", circuit_a, "ca", R"(.model ca
.inputs a b
.outputs y
.latch d q 0

.names a node_4
1 1

.names node_1
1

.names q node_4 node_1 node_8
11- 1
0-0 1

.names node_8 t
1 1

.names t node_7
1 1

.names b node_1 node_7 node_9
11- 1
0-1 1

.names node_9 y
1 1

.names y node_6
1 1

.names a node_6 node_6 node_12
11- 1
0-0 1

.names node_12 d
0 1


.end

)"},
    {"constant, copy, two registers", circuit_v, "cv", R"(.model cv
.inputs a
.outputs y
.latch a r 0
.latch r s 0

.names node_1
1

.names node_1 k
0 1

.names s node_3
1 1

.names r node_3 node_1 node_8
11- 1
0-0 1

.names node_8 y
1 1

.names y z
1 1


.end

)"},
    {"nothing at all: the input line stays", circuit_empty, "e0", ".model e0\n\n\n\n.end\n\n"},
    {"initial value 1, no equation", circuit_delay, "cd", ".model cd\n.inputs a\n.outputs r\n.latch a r 1\n\n\n.end\n\n"},
};

TEST(BlifPut, GoldenModels)
{
    for (const writer_case& c : BLIF_CASES) {
        b_automaton* a = build_automaton(c.circuit());
        a->sort();
        std::ostringstream out;
        a->BLIF_put(out, 0, c.name);
        EXPECT_EQ(out.str(), c.expected) << c.label;
        delete a;
    }
}

TEST(BlifPut, UndeterminedInitialValueIsZero)
{
    test_circuit c = circuit_delay();
    c.init = {2};
    b_automaton* a = build_automaton(c);
    std::ostringstream out;
    a->BLIF_put(out, 0, "cd");
    EXPECT_EQ(out.str(), ".model cd\n.inputs a\n.outputs r\n.latch a r 0\n\n\n.end\n\n");
    delete a;
}

TEST(BlifPut, NodeSignalsDoNotTakeCircuitNames)
{
    b_automaton* a = build_automaton(circuit_clash());
    a->sort();
    std::ostringstream out;
    a->BLIF_put(out, 0, "cx");
    // every signal is defined once: the last name of each .names line
    std::istringstream lines(out.str());
    std::set<std::string> defined;
    for (std::string line; std::getline(lines, line);)
        if (line.compare(0, 7, ".names ") == 0) {
            EXPECT_TRUE(defined.insert(line.substr(line.rfind(' ') + 1)).second) << line << "\n" << out.str();
        }
    EXPECT_EQ(defined.count("node__1"), 1u) << out.str();
    delete a;
}

// BLIF_restrict_put with the given keep entry for every position, and 1 for the inputs or not.
std::string restricted(const test_circuit& c, int inputs_kept)
{
    b_automaton* a = build_automaton(c);
    a->sort();
    std::vector<int> keep(a->wood->Nb_bdd_vars(), 1);
    for (int i = 0; i < a->input_count; ++i) keep[a->ident_associe(a->input_names[i])] = inputs_kept;
    std::ostringstream out;
    a->BLIF_restrict_put(out, 0, "ca", keep.data());
    delete a;
    return out.str();
}

TEST(BlifRestrictPut, EverythingKeptIsBlifPut)
{
    EXPECT_EQ(restricted(circuit_a(), 1), BLIF_CASES[0].expected);
}

TEST(BlifRestrictPut, NoInputKept)
{
    std::string expected = BLIF_CASES[0].expected;
    expected.replace(expected.find(".inputs a b"), 11, ".inputs");
    EXPECT_EQ(restricted(circuit_a(), 0), expected);
}

TEST(BlifRestrictPut, UnkeptRegisterAndEquation)
{
    b_automaton* a = build_automaton(circuit_v());
    a->sort();
    std::vector<int> keep(a->wood->Nb_bdd_vars(), 1);
    keep[a->ident_associe(std::string("s"))] = 0;
    keep[a->ident_associe(std::string("z"))] = 0;
    std::ostringstream out;
    a->BLIF_restrict_put(out, 0, "cv", keep.data());
    EXPECT_EQ(out.str(), ".model cv\n.inputs a\n.outputs y\n.latch a r 0\n\n"
                         ".names node_1\n1\n\n.names node_1 k\n0 1\n\n"
                         ".names s node_3\n1 1\n\n.names r node_3 node_1 node_8\n11- 1\n0-0 1\n\n.names node_8 y\n1 1\n\n"
                         "\n\n.end\n\n");
    delete a;
}

// The ABC command that proves two models equivalent: combinational or sequential.
std::string equivalence_command(const test_circuit& c)
{
    return c.states.empty() ? "cec" : "dsec";
}

TEST(BlifPut, WrittenModelIsEquivalentToTheCircuit)
{
    if (!have_tool("berkeley-abc")) GTEST_SKIP() << "berkeley-abc is not installed";
    std::string dir = tool_directory("blif");
    ASSERT_FALSE(dir.empty());
    for (const auto& named : all_test_circuits()) {
        const test_circuit& c = named.second;
        if (c.inputs.empty() && c.outputs.empty()) continue; // nothing to compare
        b_automaton* a = build_automaton(c);
        a->sort();
        std::ostringstream out;
        a->BLIF_put(out, 0, named.first);
        delete a;
        std::string original = dir + "/" + named.first + ".blif", back = dir + "/" + named.first + "_back.blif";
        write_file(original, blif_text(c));
        write_file(back, out.str());
        std::string log;
        run_command("berkeley-abc -q \"" + equivalence_command(c) + " " + original + " " + back + "\"", log);
        EXPECT_NE(log.find("Networks are equivalent"), std::string::npos) << named.first << ":\n" << log;
    }
}

} // namespace
