// Circuits read into automata that the test keeps, for the checks of the simulation and of the
// product against third-party tools.
#ifndef NELVOR_AUTOMATON_TOOLS_FIXTURE_H
#define NELVOR_AUTOMATON_TOOLS_FIXTURE_H

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "fuzz/blif_read_once.h"
#include "tests/support/b_automaton_tools_fixture.h"
#include "tests/differential/diff.h"

const std::string TOOLS_BENCH = std::string(NELVOR_BENCH_DIR) + "/dialect/";

// The automaton of a BLIF text, taken from the reader before it frees it; null when the text
// does not read. The reader's messages are dropped.
inline std::unique_ptr<b_automaton> read_automaton(const std::string& text)
{
    b_automaton* kept = nullptr;
    std::ostringstream log;
    testing::internal::CaptureStderr();
    blif_read_once(text, log, 0, [&](class_blif_parser& p) {
        if (p.automaton == nullptr) return;
        kept = p.automaton;
        p.automaton = nullptr;
        p.dec = nullptr; // the automaton owns what the declarations held
    });
    testing::internal::GetCapturedStderr();
    return std::unique_ptr<b_automaton>(kept);
}

// A circuit of a check: the text of a generated one ("gen:SEED:GATES") or of a bench file.
inline std::string circuit_text(const std::string& circuit)
{
    if (circuit.compare(0, 4, "gen:") == 0) {
        unsigned seed = static_cast<unsigned>(std::stoul(circuit.substr(4)));
        int gates = std::stoi(circuit.substr(circuit.find(':', 4) + 1));
        return diff_generate(seed, gates, "");
    }
    return diff_read_file(TOOLS_BENCH + circuit);
}

// Skips the test when a bench circuit is absent.
#define SKIP_WITHOUT_CIRCUIT(circuit)                                                                 \
    if ((circuit).compare(0, 4, "gen:") != 0 && !file_exists(TOOLS_BENCH + (circuit)))                 \
    GTEST_SKIP() << "no " << TOOLS_BENCH + (circuit)

// The file name of a circuit inside a directory.
inline std::string circuit_file_label(const std::string& circuit)
{
    std::string label = circuit;
    for (char& c : label)
        if (c == '/' || c == ':') c = '_';
    return label;
}

#endif
