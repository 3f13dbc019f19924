// The automaton's own step against the reference simulation of the differential harness (yosys
// and Icarus Verilog): generated circuits and a sample of the bench, every output and register at
// every cycle; undetermined inputs against 0/1 completions; the successor classes against the step.
#include <gtest/gtest.h>

#include <random>

#include "tests/support/automaton_tools_fixture.h"

namespace {

const int CYCLES = 64;

// The circuits of the checks: generated ones of every shape of the harness's generator, and
// combinational, sequential and state-machine circuits of the bench.
const std::vector<std::string> STEP_CIRCUITS = {"gen:1:5",
                                     "gen:9:5",
                                     "gen:2:20",
                                     "gen:3:60",
                                     "gen:4:200",
                                     "gen:7:1000",
                                     "mcnc_comb/majority.blif",
                                     "mcnc_comb/C17.blif",
                                     "iscas89/s27.blif",
                                     "iscas89/s208.blif",
                                     "iscas89/s298.blif",
                                     "iscas89/s526.blif",
                                     "itc99/b01.blif",
                                     "itc99/b02.blif",
                                     "mcnc_fsm/dk27.blif",
                                     "mcnc_fsm/bbara.blif",
                                     "lgsynth91_seq/mm4a.blif"};

// The text with the registers that are no outputs listed as outputs too, so that the reference
// shows their values; the line goes before the first .latch.
std::string with_registers_as_outputs(const std::string& text, const diff_circuit& c)
{
    std::string line = ".outputs";
    for (const diff_latch& l : c.latches)
        if (std::find(c.outputs.begin(), c.outputs.end(), l.reg) == c.outputs.end()) line += " " + l.reg;
    std::size_t at = text.find("\n.latch");
    if (line == ".outputs" || at == std::string::npos) return text;
    return text.substr(0, at + 1) + line + "\n" + text.substr(at + 1);
}

// What a check of one circuit needs: its files, its interface with the registers shown, the
// automaton read by the translator's reader.
struct stepped_circuit {
    std::string dir;                 // work directory
    std::string text;                // the circuit
    diff_circuit shown;              // its interface, with the registers among the outputs
    std::unique_ptr<b_automaton> a;  // the automaton
    std::vector<long> positions;     // position of each shown signal in the automaton
};

// Prepares the circuit; false with a message when something cannot be read.
bool prepare(const std::string& circuit, const std::string& label, stepped_circuit& s, std::string& err)
{
    s.dir = tool_directory(label + "-" + circuit_file_label(circuit));
    s.text = circuit_text(circuit);
    diff_circuit plain;
    write_file(s.dir + "/c.blif", s.text);
    if (!diff_read_circuit(s.dir + "/c.blif", plain, err)) return false;
    write_file(s.dir + "/shown.blif", with_registers_as_outputs(s.text, plain));
    if (!diff_read_circuit(s.dir + "/shown.blif", s.shown, err)) return false;
    s.a = read_automaton(s.text);
    if (s.a == nullptr) {
        err = "the reader refused " + circuit;
        return false;
    }
    for (const std::string& name : s.shown.outputs) s.positions.push_back(s.a->ident_associe(name));
    return true;
}

// The value of shown signal j in the cycle: a register's value before the step, any other
// signal's value as the step computed it.
int shown_value(const stepped_circuit& s, std::size_t j, const std::vector<int>& src, const std::vector<int>& dst)
{
    long p = s.positions[j];
    if (p < 0) return 2;
    return p < s.a->state_count ? src[p] : dst[p];
}

// src for the next cycle: the registers of dst (advanced, or taken from their next-state
// variables after a failed step), everything else undetermined until the inputs are set.
std::vector<int> next_source(b_automaton* a, const std::vector<int>& dst, bool advanced)
{
    std::vector<int> src(dst.size(), 2);
    for (int i = 0; i < a->state_count; ++i) {
        long x = a->next_state_position(i);
        src[i] = advanced ? dst[i] : (x >= 0 ? dst[x] : 2);
    }
    return src;
}

// Sets the inputs of the cycle from a vector of '0', '1' and '2' in .inputs order.
void set_inputs(const stepped_circuit& s, const std::string& vec, std::vector<int>& src)
{
    for (std::size_t k = 0; k < s.shown.inputs.size(); ++k) {
        long p = s.a->ident_associe(s.shown.inputs[k]);
        if (p >= 0) src[p] = vec[k] - '0';
    }
}

class IntegerStep : public testing::TestWithParam<std::string> {};

TEST_P(IntegerStep, EqualsTheReferenceAtEveryCycle)
{
    const std::string circuit = GetParam();
    SKIP_WITHOUT_CIRCUIT(circuit);
    if (!have_tool("yosys") || !have_tool("iverilog")) GTEST_SKIP() << "needs yosys and iverilog";
    stepped_circuit s;
    std::string err;
    ASSERT_TRUE(prepare(circuit, "step", s, err)) << err;
    std::vector<std::string> vec = diff_vectors(s.shown, 11, CYCLES);
    diff_trace ref;
    ASSERT_TRUE(diff_reference(s.shown, vec, s.dir, ref, err)) << err;
    ASSERT_EQ(ref.size(), vec.size());
    b_automaton* a = s.a.get();
    std::vector<int> src(a->wood->Nb_bdd_vars());
    a->etat_init(src.data());
    int compared = 0;
    for (int k = 0; k < CYCLES; ++k) {
        set_inputs(s, vec[k], src);
        std::vector<int> dst(src.size());
        ASSERT_EQ(a->evaluation_etat_suivant(src.data(), 0, dst.data()), 1) << circuit << " cycle " << k;
        for (std::size_t j = 0; j < s.shown.outputs.size(); ++j) {
            char expected = ref[k][j];
            if (expected != '0' && expected != '1') continue;
            ++compared;
            EXPECT_EQ(shown_value(s, j, src, dst), expected - '0')
                << circuit << " cycle " << k << " signal " << s.shown.outputs[j];
        }
        src = next_source(a, dst, true);
    }
    EXPECT_GT(compared, 0);
    std::cout << circuit << ": " << CYCLES << " cycles, " << s.shown.outputs.size()
              << " outputs and registers, " << compared << " values equal to the reference" << std::endl;
}

// Inputs undetermined (2) now and then: the three-valued run holds for every completion, so
// whenever the step says it is determined its values are those of the reference on each
// completion tried (and every value it determines is, even on a failed step).
TEST_P(IntegerStep, UndeterminedInputsAgreeWithEveryCompletion)
{
    const std::string circuit = GetParam();
    SKIP_WITHOUT_CIRCUIT(circuit);
    if (!have_tool("yosys") || !have_tool("iverilog")) GTEST_SKIP() << "needs yosys and iverilog";
    stepped_circuit s;
    std::string err;
    ASSERT_TRUE(prepare(circuit, "undetermined", s, err)) << err;
    std::mt19937 random(29);
    std::vector<std::string> vec = diff_vectors(s.shown, 13, CYCLES);
    // every other cycle on average, one input undetermined
    for (std::string& v : vec)
        if (!v.empty() && random() % 2 == 0) v[random() % v.size()] = '2';
    const int COMPLETIONS = 3;
    std::vector<diff_trace> refs;
    for (int c = 0; c < COMPLETIONS; ++c) {
        std::vector<std::string> complete = vec;
        for (std::string& v : complete)
            for (char& x : v)
                if (x == '2') x = char('0' + random() % 2);
        std::string sub = s.dir + "/completion" + std::to_string(c);
        ASSERT_EQ(std::system(("mkdir -p '" + sub + "'").c_str()), 0);
        diff_trace ref;
        ASSERT_TRUE(diff_reference(s.shown, complete, sub, ref, err)) << err;
        ASSERT_EQ(ref.size(), vec.size());
        refs.push_back(ref);
    }
    b_automaton* a = s.a.get();
    std::vector<int> src(a->wood->Nb_bdd_vars());
    a->etat_init(src.data());
    int determined = 0, failed = 0;
    for (int k = 0; k < CYCLES; ++k) {
        set_inputs(s, vec[k], src);
        std::vector<int> dst(src.size());
        int r = a->evaluation_etat_suivant(src.data(), 0, dst.data());
        (r == 1 ? determined : failed)++;
        for (std::size_t j = 0; j < s.shown.outputs.size(); ++j) {
            int v = shown_value(s, j, src, dst);
            // a register shows its value of before the step, which an earlier step may have left open
            if (r == 1 && s.positions[j] >= a->state_count) {
                EXPECT_NE(v, 2) << circuit << " cycle " << k << " signal " << s.shown.outputs[j];
            }
            if (v == 2) continue;
            for (int c = 0; c < COMPLETIONS; ++c) {
                char expected = refs[c][k][j];
                if (expected != '0' && expected != '1') continue;
                EXPECT_EQ(v, expected - '0') << circuit << " cycle " << k << " completion " << c << " signal "
                                             << s.shown.outputs[j];
            }
        }
        src = next_source(a, dst, r == 1);
    }
    std::cout << circuit << ": " << CYCLES << " cycles with undetermined inputs, " << determined
              << " determined steps, " << failed << " undetermined, against " << COMPLETIONS << " completions"
              << std::endl;
}

// The successor classes from the initial state: pairwise disjoint cubes covering constant 1, and
// at sampled points of each class the step gives the class's next state and outputs.
TEST_P(IntegerStep, SuccessorClassesMatchTheStep)
{
    const std::string circuit = GetParam();
    SKIP_WITHOUT_CIRCUIT(circuit);
    std::unique_ptr<b_automaton> owned = read_automaton(circuit_text(circuit));
    ASSERT_NE(owned, nullptr);
    b_automaton* a = owned.get();
    if (a->input_count > 12) GTEST_SKIP() << "up to 2^" << a->input_count << " classes";
    a->sort();
    bddpp_manager* m = a->manager_associe();
    bdd init = a->bdd_etat_init();
    std::vector<bdd> c, n, o;
    testing::internal::CaptureStderr();
    int count = a->evaluation_etats_suivants(init, c, n, o);
    std::string errors = testing::internal::GetCapturedStderr();
    ASSERT_GT(count, 0);
    bdd cover = m->Bdd_zero();
    for (int k = 0; k < count; ++k) {
        EXPECT_TRUE(m->Bdd_is_cube(c[k]));
        EXPECT_TRUE(m->Bdd_is_zero_tautologic(m->Bdd_and(cover, c[k]))) << "class " << k << " meets another";
        cover = m->Bdd_or(cover, c[k]);
    }
    EXPECT_TRUE(m->Bdd_is_one_tautologic(cover));
    EXPECT_EQ(errors, "");
    std::mt19937 random(5);
    const int nv = a->wood->Nb_bdd_vars();
    int points = 0;
    for (int k = 0; k < count; ++k)
        for (int sample = 0; sample < 4; ++sample) {
            std::vector<int> src(nv);
            a->etat_init(src.data());
            for (int i = 0; i < a->state_count; ++i)
                if (src[i] == 2) src[i] = 0; // as the initial cube counts them
            std::vector<int> fixed(nv, 2);
            m->Bdd_to_literals(c[k], fixed.data());
            for (int i = 0; i < a->input_count; ++i) {
                long p = a->ident_associe(a->input_names[i]);
                src[p] = fixed[p] != 2 ? fixed[p] : int(random() % 2);
            }
            std::vector<int> dst(nv);
            ASSERT_EQ(a->evaluation_etat_suivant(src.data(), 0, dst.data()), 1);
            std::vector<int> registers(nv, 2), outputs(nv, 2);
            for (int i = 0; i < a->state_count; ++i) registers[i] = dst[i];
            for (int j = 0; j < a->output_count; ++j) {
                long p = a->output_position(j);
                if (p >= a->state_count) outputs[p] = dst[p];
            }
            EXPECT_TRUE(m->Bdd_is_one_tautologic(m->Bdd_reduce(n[k], m->Literals_to_bdd(registers.data()))))
                << circuit << " class " << k;
            EXPECT_TRUE(m->Bdd_is_one_tautologic(m->Bdd_reduce(o[k], m->Literals_to_bdd(outputs.data()))))
                << circuit << " class " << k;
            ++points;
        }
    std::cout << circuit << ": " << count << " successor classes of the initial state, " << points
              << " points checked" << std::endl;
}

std::string test_name(const testing::TestParamInfo<std::string>& info)
{
    std::string name;
    for (char c : info.param)
        name += std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
    return name;
}

INSTANTIATE_TEST_SUITE_P(circuits, IntegerStep, testing::ValuesIn(STEP_CIRCUITS), test_name);

} // namespace
