// Every writer leaves the manager's variable names as they were: the written forms go to the emitters.
#include <gtest/gtest.h>

#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "automaton/b_automaton.h"
#include "automaton/b_automaton_writers.h"
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

// The taken names answer for the signal names, given in any order and with repeats, and for the
// names added since, and for nothing else: a prefix or an extension of a signal name is free.
TEST(BAutomatonWriters, TakenNamesLookUpSignalAndAddedNames)
{
    const std::vector<std::string> names = {"zz", "abcdefgh2", "", "a", "abcdefgh", "abcdefgh1", "b@c", "a"};
    std::vector<const std::string*> signals;
    for (const std::string& n : names) signals.push_back(&n);
    taken_names taken(signals);
    for (const std::string& n : names) EXPECT_TRUE(taken.count(n)) << n;
    for (const char* n : {"ab", "abcdefg", "abcdefgh0", "abcdefgh3", "b", "z", "zzz"}) EXPECT_FALSE(taken.count(n)) << n;
    taken.insert("ab");
    taken.insert({"z", "zzz"});
    EXPECT_TRUE(taken.count("ab"));
    EXPECT_TRUE(taken.count("z"));
    EXPECT_TRUE(taken.count("zzz"));
    EXPECT_EQ(fresh_name("zz", taken), "zz_");
    taken.insert("zz_");
    EXPECT_EQ(fresh_name("zz", taken), "zz__");
    EXPECT_EQ(fresh_name("abcdefgh", taken), "abcdefgh_");
}

// The sorted names of an automaton are its names in ascending order, each once, whatever their
// first eight characters.
TEST(BAutomatonWriters, SortedNamesAreAllNamesInOrder)
{
    test_circuit c = {{"register_long_1", "r"},
                      {"register_long_0", "register_long_1"},
                      {"register_long_2", "a"},
                      {"r", "register_lon"},
                      {"register_long"},
                      {0, 1},
                      {{{"a", "register_long"}, {"1 1"}},
                       {{"register_long_2", "register_lon"}, {"1 1"}},
                       {{"a", "register_long_1", "register_long_0"}, {"11 1"}},
                       {{"register_long", "r"}, {"0 1"}}}};
    b_automaton* a = build_automaton(c);
    std::vector<std::string> sorted;
    for (const std::string* n : a->sorted_names()) sorted.push_back(*n);
    const std::set<std::string> all = a->all_names();
    EXPECT_EQ(sorted, std::vector<std::string>(all.begin(), all.end()));
    EXPECT_EQ(sorted, (std::vector<std::string>{"a", "r", "register_lon", "register_long", "register_long_0",
                                                "register_long_1", "register_long_2"}));
    delete a;
}

// A name table finds every name put in, through its growths, tells equal names apart from their
// pointers, and finds nothing when empty.
TEST(BAutomatonWriters, NameTableInsertsEachNameOnce)
{
    name_table empty;
    EXPECT_FALSE(empty.contains("a"));
    std::vector<std::string> names;
    for (int i = 0; i < 1000; ++i) names.push_back("n" + std::to_string(i));
    const std::vector<std::string> copies = names;
    name_table table;
    for (const std::string& n : names) EXPECT_TRUE(table.insert(n)) << n;
    for (const std::string& n : copies) EXPECT_FALSE(table.insert(n)) << n;
    for (const std::string& n : copies) EXPECT_TRUE(table.contains(n)) << n;
    EXPECT_FALSE(table.contains("n1000"));
    EXPECT_FALSE(table.contains(""));
    name_table reserved;
    reserved.reserve(3);
    const std::string blank;
    EXPECT_TRUE(reserved.insert(blank));
    EXPECT_FALSE(reserved.insert(blank));
    EXPECT_TRUE(reserved.contains(""));
}
