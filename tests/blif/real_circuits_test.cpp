// The whole translation on real circuits: every file of the bench's dialect folder when it is
// present, circuits generated here otherwise; published files that the dialect rejects must end
// with a message and a status, never a crash.
#include <gtest/gtest.h>

#include <algorithm>
#include <initializer_list>
#include <random>
#include <set>
#include <sstream>

#include "tests/support/bench_circuits_fixture.h"
#include "tests/support/b_automaton_tools_fixture.h"

namespace {

const std::string NELVOR = std::string(NELVOR_BINARY_DIR) + "/blif/nelvor";
const std::string BENCH = bench_folder();
const char OPTIONS[] = " -lustre -esterel -le -doc -latex -bac -awaited";
const char* const WRITTEN[] = {".lus", ".strl", ".le", ".doc", ".tex"};

// Copies the circuit into dir as base.blif and translates it; returns the status and the
// program's output streams. A crash or a kill gives -1.
int translate(const std::string& dir, const std::string& base, const std::string& text, std::string& out)
{
    for (const char* suffix : {".ba", ".lus", ".strl", ".le", ".doc", ".tex", ".log"})
        std::remove((dir + "/" + base + suffix).c_str());
    write_file(dir + "/" + base + ".blif", text);
    // a run that does not end within ten minutes counts as failed (status 124)
    return run_command("cd '" + dir + "' && DISPLAY= timeout 600 '" + NELVOR + "' " + base + OPTIONS, out);
}

// A counter of n bits with enable, then a chain of n random gates over its bits and the inputs.
std::string generated_circuit(int n, unsigned seed)
{
    std::mt19937 random(seed);
    std::ostringstream os;
    os << ".model gen" << n << "\n.inputs en x\n.outputs carry g" << n - 1 << "\n";
    for (int i = 0; i < n; ++i) os << ".latch n" << i << " q" << i << " " << (i % 2) << "\n";
    for (int i = 0; i < n; ++i) {
        // n_i = q_i XOR (en AND q_0 .. q_{i-1}), through a carry chain c_i
        os << ".names en " << (i == 0 ? "en" : "c" + std::to_string(i - 1)) << " c" << i << "\n11 1\n";
        os << ".names c" << i << " q" << i << " n" << i << "\n10 1\n01 1\n";
    }
    os << ".names c" << n - 1 << " carry\n1 1\n";
    for (int i = 0; i < n; ++i) {
        std::string left = i == 0 ? "x" : "g" + std::to_string(i - 1);
        std::string right = "q" + std::to_string(random() % n);
        os << ".names " << left << " " << right << " g" << i << "\n";
        os << (random() % 2 ? "11 1\n" : "0- 0\n-0 0\n");
    }
    os << ".end\n";
    return os.str();
}

// The circuits to translate: the dialect folder, or generated ones without it.
std::vector<std::pair<std::string, std::string>> circuits()
{
    std::vector<std::pair<std::string, std::string>> all;
    for (const std::string& file : blif_files(BENCH + "/dialect"))
        if (!left_out(file)) all.push_back({file, read_file(file)});
    if (all.empty())
        for (int n : {1, 2, 5, 17, 64}) all.push_back({"gen" + std::to_string(n), generated_circuit(n, 7u + n)});
    return all;
}

// The names of a list "a, b,\n       c" between head and end, from the first line that starts with
// head; nothing when there is no such line.
std::vector<std::string> listed_names(const std::string& text, const std::string& head, const std::string& end)
{
    std::vector<std::string> names;
    std::size_t start = text.compare(0, head.size(), head) == 0 ? 0 : text.find("\n" + head);
    if (start == std::string::npos) return names;
    start = text.find(head, start) + head.size();
    std::string list = text.substr(start, text.find(end, start) - start);
    for (std::size_t p = 0; p <= list.size();) {
        std::size_t comma = std::min(list.find(',', p), list.size());
        std::string name = list.substr(p, comma - p);
        name.erase(0, name.find_first_not_of(" \n"));
        name.erase(name.find_last_not_of(" \n") + 1);
        names.push_back(name);
        p = comma + 1;
    }
    return names;
}

// The names declared more than once, and the defined ones declared nowhere.
std::string declaration_faults(const std::vector<std::string>& declared, const std::vector<std::string>& defined)
{
    std::string faults;
    std::set<std::string> seen;
    for (const std::string& name : declared)
        if (!seen.insert(name).second) faults += " twice: " + name;
    for (const std::string& name : defined)
        if (seen.count(name) == 0) faults += " undeclared: " + name;
    return faults;
}

// A LUSTRE node declares each signal once, every defined one included.
std::string lustre_faults(const std::string& text)
{
    std::vector<std::string> declared;
    if (text.find("(useless : bool)") == std::string::npos) declared = listed_names(text, "node ", ": bool)");
    if (!declared.empty()) declared[0].erase(0, declared[0].find('(') + 1);
    for (const auto& list : {listed_names(text, "     returns (", ": bool);"), listed_names(text, "var ", ": bool;")})
        declared.insert(declared.end(), list.begin(), list.end());
    std::vector<std::string> defined;
    std::istringstream lines(text.substr(text.find("\nlet\n")));
    for (std::string line; std::getline(lines, line);) {
        std::size_t eq = line.find("= ");
        if (eq != std::string::npos && line.find_first_of("(/") > eq) {
            std::string name = line.substr(0, eq);
            name.erase(0, name.find_first_not_of(' '));
            name.erase(name.find_last_not_of(' ') + 1);
            defined.push_back(name);
        }
    }
    return declaration_faults(declared, defined);
}

// An ESTEREL or LIGHT ESTEREL module declares each signal once, interface or local, never both:
// the names listed between each pair of markers (input, output, local) are all distinct.
std::string module_faults(const std::string& text, std::initializer_list<std::pair<const char*, const char*>> lists)
{
    std::vector<std::string> declared;
    for (const auto& markers : lists) {
        std::vector<std::string> names = listed_names(text, markers.first, markers.second);
        declared.insert(declared.end(), names.begin(), names.end());
    }
    return declaration_faults(declared, {});
}

TEST(RealCircuits, WholeTranslation)
{
    std::string dir = tool_directory("real");
    ASSERT_FALSE(dir.empty());
    for (const auto& circuit : circuits()) {
        std::string out;
        int status = translate(dir, "c", circuit.second, out);
        EXPECT_EQ(status, 0) << circuit.first << ":\n" << out.substr(0, 2000);
        for (const char* suffix : WRITTEN) {
            std::string text = read_file(dir + "/c" + suffix);
            EXPECT_FALSE(text.empty()) << circuit.first << suffix;
            EXPECT_EQ(text.back(), '\n') << circuit.first << suffix;
        }
        EXPECT_TRUE(file_exists(dir + "/c.ba")) << circuit.first;
        EXPECT_EQ(lustre_faults(read_file(dir + "/c.lus")), "") << circuit.first;
        EXPECT_EQ(module_faults(read_file(dir + "/c.strl"), {{"input ", ";"}, {"output ", ";"}, {"signal ", " in\n"}}),
                  "")
            << circuit.first;
        EXPECT_EQ(module_faults(read_file(dir + "/c.le"), {{"Input: ", ";"}, {"Output: ", ";"}, {"local ", "\n"}}), "")
            << circuit.first;
    }
}

TEST(RealCircuits, SmallDocumentsCompile)
{
    if (!have_tool("pdflatex")) GTEST_SKIP() << "pdflatex is not installed";
    std::string dir = tool_directory("realtex");
    for (const auto& circuit : circuits()) {
        if (circuit.second.size() > 40000) continue; // the typesetting of large ones takes minutes
        std::string out;
        ASSERT_EQ(translate(dir, "c", circuit.second, out), 0) << circuit.first;
        EXPECT_EQ(run_command("cd '" + dir + "' && pdflatex -interaction=nonstopmode -halt-on-error c.tex", out), 0)
            << circuit.first << ":\n" << out.substr(out.size() > 3000 ? out.size() - 3000 : 0);
    }
}

// The messages by which a refused file may end.
bool refused_with_message(const std::string& out)
{
    for (const char* message : {"parsing error in file c.blif", "preparsing of blif file failed ! aborting ...",
                                "error in blif definition about "})
        if (out.find(message) != std::string::npos) return true;
    return false;
}

TEST(RealCircuits, PublishedFilesEndWithAMessageOrATranslation)
{
    std::vector<std::string> files = blif_files(BENCH + "/blif");
    if (files.empty()) GTEST_SKIP() << "no bench folder";
    std::string dir = tool_directory("published");
    for (const std::string& file : files) {
        if (left_out(file)) continue;
        std::string out;
        int status = translate(dir, "c", read_file(file), out);
        ASSERT_TRUE(status == 0 || status == 1) << file << " ended with " << status << ":\n" << out.substr(0, 2000);
        bool translated = status == 0 && !refused_with_message(out);
        if (!translated) {
            EXPECT_TRUE(refused_with_message(out)) << file << ":\n" << out.substr(0, 2000);
        }
        for (const char* suffix : WRITTEN) {
            EXPECT_EQ(file_exists(dir + "/c" + suffix), translated) << file << suffix;
        }
    }
}

// The model written back over the shared nodes is the circuit: ABC's cec on the combinational
// part, dsec from the initial state for sequential circuits.
TEST(RealCircuits, BlifWrittenBackIsEquivalent)
{
    if (!have_tool("berkeley-abc")) GTEST_SKIP() << "berkeley-abc is not installed";
    std::string dir = tool_directory("realblif");
    int checked = 0;
    for (const auto& circuit : circuits()) {
        if (circuit.second.size() > 150000) continue; // ABC's sequential check of large ones takes minutes
        std::string original = dir + "/c.blif", back = dir + "/back.blif";
        write_file(original, circuit.second);
        b_automaton* a = read_circuit(original, dir + "/c.log");
        EXPECT_NE(a, nullptr) << circuit.first;
        if (a == nullptr) continue;
        std::ostringstream out;
        a->BLIF_put(out, 0, "back");
        std::string check = a->state_count > 0 ? "dsec" : "cec";
        delete a;
        write_file(back, out.str());
        std::string log;
        run_command("berkeley-abc -q \"" + check + " " + original + " " + back + "\"", log);
        EXPECT_NE(log.find("Networks are equivalent"), std::string::npos) << circuit.first << ":\n" << log;
        ++checked;
    }
    EXPECT_GT(checked, 0);
}

} // namespace
