// Forest inclusion on real circuits: each circuit's forest is copied into another forest under new
// names (a suffix or a renaming map, over the same manager or another one); the copy, written as
// a BLIF model with its names mapped back, must be the circuit, as ABC's cec or dsec proves.
#include <gtest/gtest.h>

#include <cctype>
#include <functional>
#include <map>
#include <sstream>

#include "tests/support/bench_circuits_fixture.h"
#include "tests/support/b_automaton_tools_fixture.h"

namespace {

const long MAX_EQUATIONS = 3000; // circuits up to a few thousand equations
const int ABC_SECONDS = 120;     // one equivalence check

// One way of including: by suffix or by map, over the source's manager or a new one.
struct inclusion {
    const char* label;
    bool by_map;
    bool same_manager;
};
const inclusion INCLUSIONS[] = {
    {"suffix, same manager", false, true},
    {"suffix, other manager", false, false},
    {"map, same manager", true, true},
    {"map, other manager", true, false},
};

// The new name of a signal in the copies.
std::string new_name(const inclusion& how, const std::string& old, long number)
{
    return how.by_map ? "r" + std::to_string(number) + "_" + old : old + "_c";
}

// Every declared name of a, each once.
std::vector<std::string> declared_names(b_automaton* a)
{
    std::vector<std::string> names;
    std::set<std::string> seen;
    const std::string* const arrays[] = {a->state_names, a->next_state_names, a->input_names, a->output_names,
                                         a->local_names};
    const int counts[] = {a->state_count, a->state_count, a->input_count, a->output_count, a->local_count};
    for (int k = 0; k < 5; ++k)
        for (int i = 0; i < counts[k]; ++i)
            if (seen.insert(arrays[k][i]).second) names.push_back(arrays[k][i]);
    return names;
}

// A new array of the count names of old, each renamed; null when count is 0.
std::string* renamed_array(const std::string* old, int count, const std::map<std::string, std::string>& renaming)
{
    if (count == 0) return nullptr;
    std::string* names = new std::string[count];
    for (int i = 0; i < count; ++i) names[i] = renaming.at(old[i]);
    return names;
}

// The BLIF model "copy" written by an automaton with a's interface under the new names over the
// forest w, which stays with the caller.
std::string written_copy(b_automaton* a, Bddexpressionwood* w, const std::map<std::string, std::string>& renaming)
{
    std::list<std::string> none;
    b_autom_dec* dec = new b_autom_dec(none, none, none, none, none);
    delete dec->wood; // with the new manager it made
    dec->wood = w;
    dec->state_names = renamed_array(a->state_names, a->state_count, renaming);
    dec->next_state_names = renamed_array(a->next_state_names, a->state_count, renaming);
    dec->input_names = renamed_array(a->input_names, a->input_count, renaming);
    dec->output_names = renamed_array(a->output_names, a->output_count, renaming);
    dec->local_names = renamed_array(a->local_names, a->local_count, renaming);
    dec->state_count = a->state_count;
    dec->input_count = a->input_count;
    dec->output_count = a->output_count;
    dec->local_count = a->local_count;
    std::ostringstream os;
    {
        b_automaton copy(dec, a->init_values, w->manager->Bdd_one(), w->manager->Bdd_zero());
        copy.BLIF_put(os, 0, "copy");
        copy.wood = nullptr;
    }
    delete dec;
    return os.str();
}

// The text with every word of the lines that start with '.' (the first excepted) replaced by its
// entry in back, when it has one.
std::string mapped_back(const std::string& text, const std::map<std::string, std::string>& back)
{
    std::istringstream lines(text);
    std::string out;
    for (std::string line; std::getline(lines, line);) {
        if (line.empty() || line[0] != '.') {
            out += line + "\n";
            continue;
        }
        std::istringstream words(line);
        std::string word;
        words >> word;
        out += word;
        while (words >> word) {
            std::map<std::string, std::string>::const_iterator b = back.find(word);
            out += " " + (b != back.end() ? b->second : word);
        }
        out += "\n";
    }
    return out;
}

long names_blocks(const std::string& text)
{
    long count = 0;
    for (std::size_t p = text.find(".names"); p != std::string::npos; p = text.find(".names", p + 1))
        if (p == 0 || text[p - 1] == '\n') ++count;
    return count;
}

} // namespace

// The dialect circuits up to MAX_EQUATIONS equations; one empty name without the bench folder,
// whose test is skipped.
std::vector<std::string> inclusion_circuits()
{
    std::vector<std::string> chosen;
    for (const std::string& file : blif_files(bench_folder() + "/dialect"))
        if (!left_out(file) && names_blocks(read_file(file)) <= MAX_EQUATIONS) chosen.push_back(file);
    if (chosen.empty()) chosen.push_back("");
    return chosen;
}

class ForestInclusion : public testing::TestWithParam<std::string> {};

TEST_P(ForestInclusion, CopiesAreTheCircuit)
{
    const std::string& file = GetParam();
    if (file.empty()) GTEST_SKIP() << "no bench folder";
    if (!have_tool("berkeley-abc")) GTEST_SKIP() << "berkeley-abc is not installed";
    std::string dir = tool_directory("inclusion");
    ASSERT_FALSE(dir.empty());
    testing::internal::CaptureStderr(); // the reader's progress lines
    b_automaton* a = read_circuit(file, dir + "/c.log");
    testing::internal::GetCapturedStderr();
    ASSERT_NE(a, nullptr) << file;
    Bddexpressionwood* source = a->wood;
    std::vector<std::string> names = declared_names(a);
    std::string check = a->state_count > 0 ? "dsec" : "cec";
    for (const inclusion& how : INCLUSIONS) {
        std::map<std::string, std::string> renaming, back;
        for (std::size_t k = 0; k < names.size(); ++k) {
            renaming[names[k]] = new_name(how, names[k], static_cast<long>(k));
            back[renaming[names[k]]] = names[k];
        }
        Bddexpressionwood* copy = how.same_manager ? new Bddexpressionwood(source->manager) : new Bddexpressionwood();
        if (how.same_manager) copy->shared_manager = 1;
        std::map<std::string, std::string> given = renaming;
        testing::internal::CaptureStderr();
        if (how.by_map)
            copy->Include_wood_instance(source, &given);
        else
            copy->Include_wood_instance(source, "_c");
        std::string errors = testing::internal::GetCapturedStderr();
        EXPECT_EQ(errors, how.by_map && how.same_manager ? "WOOD A INTEGRER avec meme Bdd_manager \n" : "")
            << how.label;
        EXPECT_EQ(given, renaming) << how.label;
        EXPECT_EQ(copy->exp_number(), source->exp_number()) << how.label;
        std::string copied = dir + "/copy.blif", log;
        write_file(copied, mapped_back(written_copy(a, copy, renaming), back));
        delete copy;
        run_command("timeout " + std::to_string(ABC_SECONDS) + " berkeley-abc -q \"" + check + " " + file + " " +
                        copied + "\"",
                    log);
        EXPECT_NE(log.find("Networks are equivalent"), std::string::npos) << how.label << ":\n" << log;
    }
    delete a;
}

INSTANTIATE_TEST_SUITE_P(Dialect, ForestInclusion, testing::ValuesIn(inclusion_circuits()),
                         [](const testing::TestParamInfo<std::string>& info) {
                             std::string name = info.param.empty() ? "none" : info.param;
                             std::size_t dialect = name.find("dialect/");
                             if (dialect != std::string::npos) name = name.substr(dialect + 8);
                             if (name.size() > 5 && name.compare(name.size() - 5, 5, ".blif") == 0)
                                 name.erase(name.size() - 5);
                             for (char& c : name)
                                 if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
                             return name;
                         });
