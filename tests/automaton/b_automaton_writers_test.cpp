// Every writer leaves the manager's variable names as they were: the written forms go to the emitters.
#include <gtest/gtest.h>

#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "automaton/b_automaton.h"
#include "tests/support/b_automaton_writers_fixture.h"

namespace {

// Every variable name of the automaton's manager, in order.
std::vector<std::string> manager_names(b_automaton* a)
{
    std::vector<std::string> names;
    bddpp_manager* m = a->manager_associe();
    for (long p = 0; p < m->nvars; ++p) names.push_back(m->Name_var_by_index(p));
    return names;
}

} // namespace

TEST(BAutomatonWriters, ManagerNamesUntouchedByEveryWriter)
{
    using one_stream = std::function<void(b_automaton&, std::ostream&)>;
    std::list<std::string> pulse;
    const std::vector<std::pair<const char*, one_stream>> writers = {
        {"LUSTRE", [](b_automaton& a, std::ostream& os) { a.LUSTRE_put(os, 0, "w"); }},
        {"ESTEREL", [](b_automaton& a, std::ostream& os) { a.ESTEREL_put(os, 0, "w"); }},
        {"LE", [](b_automaton& a, std::ostream& os) { a.LE_put(os, 0, "w"); }},
        {"DOC", [](b_automaton& a, std::ostream& os) { a.DOC_put(os, 0, "w"); }},
        {"LATEX", [](b_automaton& a, std::ostream& os) { a.LATEX_put(os, 0, "w"); }},
        {"BLIF", [](b_automaton& a, std::ostream& os) { a.BLIF_put(os, 0, "w"); }},
        {"C", [](b_automaton& a, std::ostream& os) { a.C_put(os, os, 0, "w"); }},
        {"CSHARP", [](b_automaton& a, std::ostream& os) { a.CSHARP_put(os, 0, "w"); }},
        {"INO", [&](b_automaton& a, std::ostream& os) { a.INO_put_grafcet(os, 0, "w", pulse); }},
        {"VHDL", [](b_automaton& a, std::ostream& os) { a.VHDL_put(os, 1, "w"); }},
        {"SYSTEMC", [](b_automaton& a, std::ostream& os) { a.SYSTEMC_put(os, os, 0, "w"); }},
    };
    for (test_circuit (*circuit)() : {circuit_awkward, circuit_reserved})
        for (const auto& w : writers) {
            SCOPED_TRACE(w.first);
            b_automaton* a = build_automaton(circuit());
            a->sort();
            const std::vector<std::string> before = manager_names(a);
            std::ostringstream out;
            w.second(*a, out);
            EXPECT_EQ(manager_names(a), before);
            EXPECT_FALSE(out.str().empty());
            delete a;
        }
}
