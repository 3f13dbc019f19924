// The rewrites that must keep a circuit's behaviour, proven by Berkeley ABC: the automaton is written
// with its BLIF writer before and after the rewrite, and ABC's cec (combinational circuits, and the
// next-state functions of sequential ones when the registers stay) and dsec (sequential circuits)
// must call the two equivalent. Circuits: a sample of the bench's dialect folder when it is present,
// and circuits generated here with wires, buffer chains, constants, unread locals and registers that
// no output needs. Test-only broken rewrites must make the check fail.
#include <gtest/gtest.h>

#include <functional>
#include <iostream>
#include <random>
#include <sstream>

#include "fuzz/blif_read_once.h"
#include "tests/support/b_automaton_tools_fixture.h"

namespace {

const std::string BENCH = std::string(NELVOR_BENCH_DIR) + "/dialect/";

enum rewrite_kind { wires, locals, clean, constants };

const char* const kind_names[] = {"suppress_wires", "suppress_locals", "useless_clean", "constants_propagation"};

const std::list<int> keep_declared{1};

// A rewrite of the automaton; clean fills keep with the positions to write.
using rewrite = std::function<void(b_automaton*, std::vector<int>& keep)>;

void run_rewrite(rewrite_kind kind, b_automaton* a, std::vector<int>& keep)
{
    switch (kind) {
    case wires:
        a->wood->suppress_wires(keep_declared);
        break;
    case locals:
        a->wood->suppress_locals(keep_declared);
        break;
    case constants:
        a->wood->constants_propagation(keep_declared);
        break;
    case clean: {
        // the report is checked elsewhere; here it would only fill the test's output
        std::ostringstream report;
        std::streambuf* out = std::cout.rdbuf(report.rdbuf());
        std::streambuf* err = std::cerr.rdbuf(report.rdbuf());
        int* marks = a->useless_clean();
        std::cout.rdbuf(out);
        std::cerr.rdbuf(err);
        const long n = a->wood->Nb_bdd_vars();
        keep.assign(marks, marks + n);
        delete[] marks;
        // the interface stays: every input is written, needed or not
        for (int i = 0; i < a->input_count; ++i) {
            long p = a->manager_associe()->Index_var_by_name(a->input_names[i]);
            if (p >= 0 && p < n) keep[p] = 1;
        }
        // dsec compares sequential circuits only: when no register is needed, the first one stays
        // in the file, unread (its forgotten next state is driven by constant 0)
        bool registers = false;
        for (int i = 0; i < a->state_count; ++i) registers = registers || keep[i] == 1;
        if (a->state_count > 0 && !registers) keep[0] = 1;
        break;
    }
    }
}

// What one check gave: ABC's verdicts and the files.
struct proof {
    bool read = false;       // the circuit was read into an automaton
    bool sequential = false; // it has registers
    std::string cec, dsec;   // "equivalent", "NOT EQUIVALENT" or ABC's text; empty when not run
    int before = 0, after = 0; // equations
};

std::string verdict(const std::string& out)
{
    if (out.find("Networks are equivalent") != std::string::npos) return "equivalent";
    if (out.find("NOT EQUIVALENT") != std::string::npos) return "NOT EQUIVALENT";
    return out;
}

std::string abc(const std::string& dir, const std::string& command)
{
    std::string out;
    run_command("cd '" + dir + "' && timeout 240 berkeley-abc -c \"" + command + " before.blif after.blif\"", out);
    return verdict(out);
}

// Reads the circuit, writes it, rewrites it, writes it again and has ABC compare the two files.
proof prove(const std::string& text, const rewrite& change, bool cec_too)
{
    proof r;
    std::string dir = tool_directory("simplify");
    std::ostringstream log;
    testing::internal::CaptureStderr();
    blif_read_once(text, log, 0, [&](class_blif_parser& p) {
        b_automaton* a = p.automaton;
        if (a == nullptr) return;
        r.read = true;
        r.sequential = a->state_count > 0;
        a->sort();
        std::ostringstream before, after;
        a->BLIF_put(before, 1, "circuit");
        r.before = a->wood->exp_number();
        std::vector<int> keep;
        change(a, keep);
        a->sort();
        if (keep.empty())
            a->BLIF_put(after, 1, "circuit");
        else
            a->BLIF_restrict_put(after, 1, "circuit", keep.data());
        r.after = a->wood->exp_number();
        write_file(dir + "/before.blif", before.str());
        write_file(dir + "/after.blif", after.str());
    });
    testing::internal::GetCapturedStderr();
    if (!r.read) return r;
    if (!r.sequential || cec_too) r.cec = abc(dir, "cec");
    if (r.sequential) r.dsec = abc(dir, "dsec");
    return r;
}

proof prove(const std::string& text, rewrite_kind kind)
{
    return prove(text, [kind](b_automaton* a, std::vector<int>& keep) { run_rewrite(kind, a, keep); }, kind != clean);
}

// ---------------------------------------------------------------------------------------------------
// Generated circuits

// inputs, registers that outputs need, registers that nothing needs, buffer chains (some inverting),
// constants (one of them an output read by a gate), gates of two signals, unread locals; outputs
// through wires.
std::string generated_circuit(unsigned seed, int inputs, int registers, int gates)
{
    std::mt19937 rng(seed);
    std::ostringstream os, body;
    std::vector<std::string> pool; // signals that gates may read
    int outputs = 3 + gates / 8;
    os << ".model gen" << seed << "\n.inputs";
    for (int i = 0; i < inputs; ++i) {
        os << " i" << i;
        pool.push_back("i" + std::to_string(i));
    }
    os << "\n.outputs";
    for (int j = 0; j < outputs; ++j) os << " o" << j;
    os << " oc or\n";
    for (int k = 0; k < registers; ++k) {
        os << ".latch n" << k << " r" << k << " " << rng() % 2 << "\n";
        pool.push_back("r" + std::to_string(k));
    }
    // registers that no output needs: each reads itself and an input only
    for (int k = 0; k < registers / 2 + 1; ++k) {
        os << ".latch m" << k << " s" << k << " " << rng() % 2 << "\n";
        body << ".names s" << k << " i" << k % inputs << " m" << k << "\n10 1\n01 1\n";
    }
    body << ".names c1\n1\n.names c0\n.names oc\n1\n";
    pool.push_back("c1");
    pool.push_back("c0");
    pool.push_back("oc");
    auto pick = [&]() { return pool[rng() % pool.size()]; };
    int wire = 0;
    for (int g = 0; g < gates; ++g) {
        int kind = rng() % 6;
        if (kind == 0) {
            // a buffer chain of 1 to 4 wires, some inverting
            std::string from = pick();
            int length = 1 + rng() % 4;
            for (int k = 0; k < length; ++k) {
                std::string w = "w" + std::to_string(wire++);
                body << ".names " << from << " " << w << "\n" << (rng() % 3 == 0 ? "0 1" : "1 1") << "\n";
                from = w;
            }
            pool.push_back(from);
        } else if (kind == 1) {
            // an unread local
            body << ".names " << pick() << " " << pick() << " u" << g << "\n11 1\n";
        } else {
            std::string a = pick(), b = pick();
            std::string name = "g" + std::to_string(g);
            unsigned table = rng() % 16;
            body << ".names " << a << " " << b << " " << name << "\n";
            for (unsigned row = 0; row < 4; ++row)
                if ((table >> row) & 1) body << ((row >> 1) & 1) << (row & 1) << " 1\n";
            pool.push_back(name);
        }
    }
    for (int j = 0; j < outputs; ++j) body << ".names " << pool[pool.size() - 1 - j] << " o" << j << "\n1 1\n";
    for (int k = 0; k < registers; ++k) body << ".names " << pick() << " n" << k << "\n" << (rng() % 2 ? "1 1" : "0 1") << "\n";
    // an output reading every needed register, so that they stay needed whatever the draw
    body << ".names";
    for (int k = 0; k < registers; ++k) body << " r" << k;
    body << " or\n" << std::string(registers, '1') << " 1\n";
    os << body.str() << ".end\n";
    return os.str();
}

// ---------------------------------------------------------------------------------------------------
// Dialect circuits: a sample that ABC settles in seconds. suppress_locals collapses every local into
// the outputs and next states, whose BDDs over the inputs and registers explode on arithmetic
// (adders, counters, multipliers): it runs on the circuits where they stay small.

struct dialect_case {
    const char* file;
    bool locals; // suppress_locals also runs
};

const dialect_case dialect_cases[] = {
    {"mcnc_comb/C17.blif", true},       {"mcnc_comb/majority.blif", true}, {"mcnc_comb/k2.blif", false},
    {"mcnc_comb/des.blif", false},      {"mcnc_comb/i10.blif", false},     {"mcnc_comb/C6288.blif", false},
    {"epfl/cavlc.blif", true},          {"epfl/ctrl.blif", true},          {"epfl/int2float.blif", true},
    {"epfl/dec.blif", true},            {"epfl/router.blif", false},       {"epfl/adder.blif", false},
    {"epfl/max.blif", false},           {"epfl/voter.blif", false},        {"iscas89/s27.blif", true},
    {"iscas89/s208.blif", true},        {"iscas89/s298.blif", true},       {"iscas89/s382.blif", false},
    {"iscas89/s420.blif", false},       {"iscas89/s444.blif", false},      {"iscas89/s526.blif", false},
    {"iscas89/s641.blif", true},        {"iscas89/s820.blif", true},       {"iscas89/s838.blif", false},
    {"iscas89/s1488.blif", true},       {"iscas89/s1423.blif", false},     {"iscas89/s5378.blif", false},
    {"iscas89/s9234.blif", false},      {"iscas89/s13207.blif", false},    {"itc99/b01.blif", true},
    {"itc99/b02.blif", true},           {"itc99/b04.blif", false},         {"itc99/b07.blif", false},
    {"itc99/b10.blif", true},           {"itc99/b12.blif", false},         {"itc99/b14.blif", false},
    {"itc99/b15.blif", false},          {"lgsynth91_seq/mm4a.blif", true}, {"lgsynth91_seq/mm9a.blif", false},
    {"lgsynth91_seq/mult16b.blif", false}, {"lgsynth91_seq/sbc.blif", true}, {"mcnc_fsm/bbara.blif", true},
    {"mcnc_fsm/dk27.blif", true},       {"mcnc_fsm/donfile.blif", true},   {"mcnc_fsm/lion.blif", true},
    {"mcnc_fsm/planet.blif", true},
};

struct dialect_param {
    std::string file;
    rewrite_kind kind;
};

std::vector<dialect_param> dialect_params()
{
    std::vector<dialect_param> params;
    for (const dialect_case& c : dialect_cases)
        for (rewrite_kind k : {wires, locals, clean, constants})
            if (k != locals || c.locals) params.push_back({c.file, k});
    return params;
}

std::string param_name(const testing::TestParamInfo<dialect_param>& info)
{
    std::string name = info.param.file.substr(info.param.file.find('/') + 1);
    name = name.substr(0, name.size() - 5) + "_" + kind_names[info.param.kind];
    for (char& c : name)
        if (!isalnum(static_cast<unsigned char>(c))) c = '_';
    return name;
}

// One line per check, for the record of which circuits were proven.
void record(const std::string& circuit, rewrite_kind kind, const proof& r)
{
    std::printf("[ proof    ] %s %s: equations %d -> %d, cec %s, dsec %s\n", circuit.c_str(), kind_names[kind],
                r.before, r.after, r.cec.empty() ? "-" : r.cec.c_str(), r.dsec.empty() ? "-" : r.dsec.c_str());
}

void PrintTo(const dialect_param& p, std::ostream* os)
{
    *os << p.file << " " << kind_names[p.kind];
}

class DialectEquivalence : public testing::TestWithParam<dialect_param> {};

} // namespace

TEST_P(DialectEquivalence, KeepsTheBehaviour)
{
    if (!have_tool("berkeley-abc")) GTEST_SKIP() << "berkeley-abc is not installed";
    std::string path = BENCH + GetParam().file;
    if (!file_exists(path)) GTEST_SKIP() << path << " is absent";
    proof r = prove(read_file(path), GetParam().kind);
    ASSERT_TRUE(r.read) << path;
    record(GetParam().file, GetParam().kind, r);
    if (!r.cec.empty()) {
        EXPECT_EQ(r.cec, "equivalent");
    }
    if (r.sequential) {
        EXPECT_EQ(r.dsec, "equivalent");
    }
}

INSTANTIATE_TEST_SUITE_P(Sample, DialectEquivalence, testing::ValuesIn(dialect_params()), param_name);

TEST(GeneratedEquivalence, EveryRewriteOnGeneratedCircuits)
{
    if (!have_tool("berkeley-abc")) GTEST_SKIP() << "berkeley-abc is not installed";
    for (unsigned seed = 1; seed <= 6; ++seed) {
        std::string text = generated_circuit(seed, 3 + seed % 3, 2 + seed % 4, 20 + 10 * seed);
        for (rewrite_kind kind : {wires, locals, clean, constants}) {
            proof r = prove(text, kind);
            ASSERT_TRUE(r.read) << text;
            record("generated " + std::to_string(seed), kind, r);
            EXPECT_EQ(r.cec, kind == clean ? "" : "equivalent") << text;
            EXPECT_EQ(r.dsec, "equivalent") << text;
            EXPECT_LE(r.after, r.before);
        }
    }
}

// The generated circuits give each rewrite something to do.
TEST(GeneratedEquivalence, TheRewritesChangeTheGeneratedCircuits)
{
    if (!have_tool("berkeley-abc")) GTEST_SKIP() << "berkeley-abc is not installed";
    std::string text = generated_circuit(5, 4, 3, 60);
    for (rewrite_kind kind : {wires, locals, clean, constants}) {
        proof r = prove(text, kind);
        EXPECT_LT(r.after, r.before) << kind_names[kind];
    }
}

namespace {

// The first equation of the automaton with readers whose user type is not 1 and that pick accepts.
long first_local(b_automaton* a, const std::function<bool(Bddexpression*)>& pick)
{
    Bddexpressionwood* w = a->wood;
    for (long i = 0; i < w->nb_bdd_vars; ++i) {
        Bddexpression* e = w->exp_table[i];
        if (e != nullptr && e->user_type != 1 && !w->readers[i].empty() && pick(e)) return i;
    }
    return -1;
}

} // namespace

// Broken rewrites: each one must be caught.
TEST(GeneratedEquivalence, BrokenRewritesAreCaught)
{
    if (!have_tool("berkeley-abc")) GTEST_SKIP() << "berkeley-abc is not installed";
    // a buffer chain from an input to an output: its wire substituted inverted
    std::string chain = ".model chain\n.inputs a b\n.outputs y z\n.names a w1\n1 1\n.names w1 w2\n1 1\n"
                        ".names w2 b y\n11 1\n.names c\n1\n.names c b z\n11 1\n.end\n";
    proof r = prove(chain, [](b_automaton* a, std::vector<int>&) {
        long i = first_local(a, [](Bddexpression* e) { return e->dependances.size() == 1; });
        ASSERT_GE(i, 0);
        a->wood->append_not_expression(i);
        a->wood->suppress_wires(keep_declared);
    }, true);
    EXPECT_EQ(r.cec, "NOT EQUIVALENT");
    // a local substituted inverted
    r = prove(chain, [](b_automaton* a, std::vector<int>&) {
        long i = first_local(a, [](Bddexpression* e) { return !e->dependances.empty(); });
        ASSERT_GE(i, 0);
        a->wood->append_not_expression(i);
        a->wood->suppress_locals(keep_declared);
    }, true);
    EXPECT_EQ(r.cec, "NOT EQUIVALENT");
    // a constant folded with the wrong value
    r = prove(chain, [](b_automaton* a, std::vector<int>&) {
        long i = first_local(a, [&](Bddexpression* e) { return a->manager_associe()->Bdd_is_tautology(e->bdd_exp); });
        ASSERT_GE(i, 0);
        a->wood->append_not_expression(i);
        a->wood->constants_propagation(keep_declared);
    }, true);
    EXPECT_EQ(r.cec, "NOT EQUIVALENT");
    // the cleaning without the next-state equation of a needed register
    std::string counter = ".model counter\n.inputs en\n.outputs y\n.latch n q 0\n.names q en n\n10 1\n01 1\n"
                          ".names q y\n1 1\n.end\n";
    r = prove(counter, [](b_automaton* a, std::vector<int>& keep) {
        run_rewrite(clean, a, keep);
        keep[a->manager_associe()->Index_var_by_name("n")] = 0;
    }, false);
    EXPECT_EQ(r.dsec, "NOT EQUIVALENT");
    // the same cleaning, unbroken, keeps it
    r = prove(counter, clean);
    EXPECT_EQ(r.dsec, "equivalent");
}
