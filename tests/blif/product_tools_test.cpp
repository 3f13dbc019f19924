// The equivalence observer against Berkeley ABC: a circuit against a copy resynthesised by ABC and
// against a copy with one cover row changed. The observer, written with the BLIF writer, has
// "equiv" at 1 in every reachable state (ABC's pdr on the negated output) exactly when ABC's
// dsec (cec for a combinational pair) finds the pair equivalent; for a pair that is not, ABC's
// counterexample replayed through the step of the product drops "equiv" to 0.
#include <gtest/gtest.h>

#include <map>

#include "tests/support/automaton_tools_fixture.h"

namespace {

const std::vector<std::string> OBSERVED_CIRCUITS = {
    "mcnc_comb/majority.blif", "mcnc_comb/C17.blif",  "epfl/int2float.blif", "iscas89/s27.blif",
    "iscas89/s208.blif",       "iscas89/s298.blif",   "itc99/b01.blif",      "itc99/b02.blif",
    "mcnc_fsm/dk27.blif",      "mcnc_fsm/lion.blif",  "gen:2:20",            "gen:3:60",
    "gen:4:200"};

// ABC's answer to a command line, in dir.
std::string abc(const std::string& dir, const std::string& commands)
{
    std::string out;
    run_command("cd '" + dir + "' && timeout 300 berkeley-abc -c '" + commands + "'", out);
    return out;
}

// The text with one literal of one cover row changed: the first 0 or 1 in the input plane of the
// first row that has one, in the cover `skip` covers after the middle one of the file (going round).
// Empty when no row has one.
std::string flipped(const std::string& text, std::size_t skip)
{
    std::vector<std::size_t> covers; // start of each .names line
    for (std::size_t at = text.find(".names"); at != std::string::npos; at = text.find(".names", at + 1))
        if (at == 0 || text[at - 1] == '\n') covers.push_back(at);
    for (std::size_t tried = skip; tried < skip + covers.size(); ++tried) {
        std::size_t at = covers[(covers.size() / 2 + tried) % covers.size()];
        std::size_t row = text.find('\n', at);
        while (row != std::string::npos && row + 1 < text.size() && text[row + 1] != '.') {
            std::size_t end = text.find('\n', row + 1);
            std::string line = text.substr(row + 1, end - row - 1);
            std::size_t blank = line.find(' ');
            if (blank != std::string::npos) {
                std::size_t k = line.find_first_of("01");
                if (k < blank) {
                    std::string changed = text;
                    changed[row + 1 + k] = line[k] == '0' ? '1' : '0';
                    return changed;
                }
            }
            row = end;
        }
    }
    return std::string();
}

// The counterexample written by ABC's write_cex -n: for each frame, the named values.
std::vector<std::map<std::string, int>> read_cex(const std::string& path)
{
    std::vector<std::map<std::string, int>> frames;
    std::istringstream in(read_file(path));
    for (std::string line; std::getline(in, line);) {
        std::size_t at = line.rfind('@'), eq = line.rfind('=');
        if (line.empty() || line[0] == '#' || at == std::string::npos || eq == std::string::npos || eq < at) continue;
        std::size_t frame = std::stoul(line.substr(at + 1, eq - at - 1));
        if (frames.size() <= frame) frames.resize(frame + 1);
        frames[frame][line.substr(0, at)] = line[eq + 1] - '0';
    }
    return frames;
}

// The values of "equiv" when the product runs the counterexample from its initial state (the
// registers' values of frame 0 as the counterexample gives them).
std::vector<int> replay(b_automaton* p, const std::vector<std::map<std::string, int>>& frames)
{
    std::vector<int> seen;
    const long equiv = p->ident_associe(std::string("equiv"));
    std::vector<int> src(p->wood->Nb_bdd_vars());
    p->etat_init(src.data());
    for (int i = 0; i < p->state_count; ++i) {
        if (src[i] == 2) src[i] = 0; // as the BLIF writer writes it
        if (frames.empty()) continue;
        std::map<std::string, int>::const_iterator v = frames[0].find(p->state_names[i]);
        if (v != frames[0].end()) src[i] = v->second;
    }
    for (const std::map<std::string, int>& frame : frames) {
        for (int k = 0; k < p->input_count; ++k) {
            std::map<std::string, int>::const_iterator v = frame.find(p->input_names[k]);
            src[p->ident_associe(p->input_names[k])] = v != frame.end() ? v->second : 0;
        }
        std::vector<int> dst(src.size());
        if (p->evaluation_etat_suivant(src.data(), 0, dst.data()) != 1) break;
        seen.push_back(dst[equiv]);
        std::vector<int> next(dst.size(), 2);
        for (int i = 0; i < p->state_count; ++i) next[i] = dst[i];
        src = next;
    }
    return seen;
}

class Observer : public testing::TestWithParam<std::string> {};

// One pair: the verdicts of ABC and of the observer, and the replay of a counterexample.
void check_pair(const std::string& dir, const std::string& circuit, const std::string& label,
                const std::string& copy_text)
{
    write_file(dir + "/" + label + ".blif", copy_text);
    std::string original = read_file(dir + "/c.blif");
    std::unique_ptr<b_automaton> a = read_automaton(original), b = read_automaton(copy_text);
    ASSERT_NE(a, nullptr);
    ASSERT_NE(b, nullptr) << label << " of " << circuit;
    const bool sequential = a->state_count > 0 || b->state_count > 0;
    std::string verdict = abc(dir, std::string(sequential ? "dsec" : "cec") + " c.blif " + label + ".blif");
    const bool equivalent = verdict.find("Networks are equivalent") != std::string::npos;
    ASSERT_TRUE(equivalent || verdict.find("NOT EQUIVALENT") != std::string::npos) << verdict;

    b_automaton* p = observateur_equivalence(a.get(), b.get());
    ASSERT_NE(p, nullptr);
    std::unique_ptr<b_automaton> product(p);
    const int j = p->num_output("equiv");
    ASSERT_GE(j, 0);
    p->reverse_output(j);
    std::ostringstream text;
    p->BLIF_put(text, 0, "observed");
    p->reverse_output(j);
    write_file(dir + "/" + label + "_observer.blif", text.str());
    std::string proof =
        abc(dir, "read_blif " + label + "_observer.blif; strash; pdr; write_cex -n " + label + "_cex.txt");
    const bool proved = proof.find("Property proved") != std::string::npos;
    ASSERT_TRUE(proved || proof.find("was asserted in frame") != std::string::npos) << proof;
    EXPECT_EQ(proved, equivalent) << circuit << " " << label << "\n" << verdict << "\n" << proof;
    std::string replayed = "";
    if (!proved) {
        std::vector<std::map<std::string, int>> frames = read_cex(dir + "/" + label + "_cex.txt");
        ASSERT_FALSE(frames.empty()) << read_file(dir + "/" + label + "_cex.txt");
        std::vector<int> seen = replay(p, frames);
        ASSERT_EQ(seen.size(), frames.size()) << "the step of the product failed on the counterexample";
        EXPECT_EQ(seen.back(), 0) << circuit << " " << label << ": equiv stays 1 on ABC's counterexample";
        for (std::size_t k = 0; k + 1 < seen.size(); ++k) EXPECT_EQ(seen[k], 1) << "frame " << k;
        replayed = ", counterexample of " + std::to_string(frames.size()) + " frames drops equiv to 0";
    }
    std::cout << circuit << " against its " << label << " copy: " << (sequential ? "dsec" : "cec") << " says "
              << (equivalent ? "equivalent" : "not equivalent") << ", pdr on the observer "
              << (proved ? "proves equiv" : "falsifies equiv") << replayed << std::endl;
}

TEST_P(Observer, AgreesWithAbc)
{
    const std::string circuit = GetParam();
    SKIP_WITHOUT_CIRCUIT(circuit);
    if (!have_tool("berkeley-abc")) GTEST_SKIP() << "needs berkeley-abc";
    std::string dir = tool_directory("observer-" + circuit_file_label(circuit));
    std::string text = circuit_text(circuit);
    write_file(dir + "/c.blif", text);
    abc(dir, "read_blif c.blif; strash; dc2; write_blif r.blif");
    std::string resynthesised = read_file(dir + "/r.blif");
    ASSERT_FALSE(resynthesised.empty()) << "ABC wrote no copy of " << circuit;
    check_pair(dir, circuit, "resynthesised", resynthesised);
    // the first of a few changed rows that ABC finds observable (the last one tried otherwise)
    std::unique_ptr<b_automaton> a = read_automaton(text);
    ASSERT_NE(a, nullptr);
    const std::string checker = a->state_count > 0 ? "dsec" : "cec";
    std::string changed;
    for (std::size_t skip = 0; skip < 8; ++skip) {
        changed = flipped(text, skip);
        ASSERT_FALSE(changed.empty());
        write_file(dir + "/flipped.blif", changed);
        if (abc(dir, checker + " c.blif flipped.blif").find("NOT EQUIVALENT") != std::string::npos) break;
    }
    check_pair(dir, circuit, "flipped", changed);
}

std::string test_name(const testing::TestParamInfo<std::string>& info)
{
    std::string name;
    for (char c : info.param) name += std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
    return name;
}

INSTANTIATE_TEST_SUITE_P(circuits, Observer, testing::ValuesIn(OBSERVED_CIRCUITS), test_name);

} // namespace
