// Helpers for the tests of the writers that write two files (C, SystemC).
#ifndef NELVOR_B_AUTOMATON_TARGETS_FIXTURE_H
#define NELVOR_B_AUTOMATON_TARGETS_FIXTURE_H

#include <gtest/gtest.h>

#include <cstddef>
#include <sstream>
#include <string>

#include "tests/support/b_automaton_writers_fixture.h"

using two_file_writer = void (b_automaton::*)(std::ostream&, std::ostream&, int, const std::string&);

// One golden case of a two-file writer.
struct two_file_case {
    const char* label;         // what the case shows
    test_circuit (*circuit)(); // the circuit
    const char* name;          // base name passed to the writer
    const char* first;         // the text of the first stream
    const char* second;        // the text of the second stream
};

// The two texts that the writer gives for the sorted circuit.
inline void written_pair(const test_circuit& c, two_file_writer w, const std::string& name, int level,
                         std::string& first, std::string& second)
{
    b_automaton* a = build_automaton(c);
    a->sort();
    std::ostringstream s1, s2;
    (a->*w)(s1, s2, level, name);
    first = s1.str();
    second = s2.str();
    delete a;
}

// Checks every case of the table.
template <std::size_t N> void check_two_file_cases(const two_file_case (&cases)[N], two_file_writer w)
{
    for (const two_file_case& c : cases) {
        SCOPED_TRACE(c.label);
        std::string first, second;
        written_pair(c.circuit(), w, c.name, 0, first, second);
        EXPECT_EQ(first, c.first);
        EXPECT_EQ(second, c.second);
    }
}

#endif
