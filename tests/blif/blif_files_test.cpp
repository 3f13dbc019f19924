// Whole runs of the program on files: exit statuses, messages, the log, published circuits, and the
// replay of the fuzzing corpus.
#include "tests/support/blif_reader_fixture.h"

#include <dirent.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <new>

namespace {

std::string read_whole(const std::string& path)
{
    std::ifstream in(path.c_str(), std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

void write_whole(const std::string& path, const std::string& text)
{
    std::ofstream out(path.c_str(), std::ios::binary);
    out << text;
}

bool exists(const std::string& path)
{
    struct stat st;
    return stat(path.c_str(), &st) == 0;
}

// The regular files of a folder whose names end with suffix, sorted; empty when it is absent.
std::vector<std::string> files_in(const std::string& folder, const std::string& suffix)
{
    std::vector<std::string> found;
    DIR* d = opendir(folder.c_str());
    if (d == nullptr) return found;
    while (dirent* e = readdir(d)) {
        std::string name = e->d_name;
        if (name.size() > suffix.size() && name.compare(name.size() - suffix.size(), suffix.size(), suffix) == 0)
            found.push_back(folder + "/" + name);
    }
    closedir(d);
    std::sort(found.begin(), found.end());
    return found;
}

// One run of the program.
struct run {
    int status;         // exit status; -1 when it did not exit (a signal)
    std::string errors; // standard error text
    std::string log;    // the log file
};

// A fresh folder of the build tree for the runs of one test.
std::string work_folder(const std::string& name)
{
    std::string folder = std::string(NELVOR_BINARY_DIR) + "/blif_files_test_" + name;
    std::system(("rm -rf '" + folder + "' && mkdir -p '" + folder + "'").c_str());
    return folder;
}

// Writes text as folder/base.blif and runs the program on it without a display.
run run_program(const std::string& folder, const std::string& base, const std::string& text,
                const std::string& options = "")
{
    write_whole(folder + "/" + base + ".blif", text);
    std::string command = "cd '" + folder + "' && env -u DISPLAY '" + std::string(NELVOR_BINARY_DIR) +
                          "/blif/nelvor' " + base + " " + options + " >/dev/null 2>" + base + ".err";
    int raw = std::system(command.c_str());
    run r;
    r.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    r.errors = read_whole(folder + "/" + base + ".err");
    r.log = read_whole(folder + "/" + base + ".log");
    return r;
}

struct file_case {
    const char* what;   // the error class
    const char* text;   // the file
    int status;         // exit status
    const char* errors; // standard error text
};

TEST(BlifFiles, StatusAndMessagesOfEachClass)
{
    const file_case cases[] = {
        {"accepted", ".model m\n.inputs a\n.outputs y\n.names a y\n0 1\n.end\n", 0, "parsing terminated ...\n"},
        {"inputs and outputs share a name", ".model m\n.inputs a\n.outputs a\n.end\n", 1,
         "PARSING ERROR: sets of inputs and outputs are not exclusive !\n --> Found Signal(s): {a}\n\n"
         "preparsing of blif file failed ! aborting ...\n"},
        {"syntax error", ".model m\n.inputs a\n.outputs y\n.names a y\n1 1\n \n.end\n", 1,
         "syntax error, unexpected TOKEN_NL, expecting TOKEN_latch or TOKEN_names or TOKEN_end\n"
         "parsing error in file circ.blif\n"},
        {"token after the end", ".model m\n.end\n.end\n", 1,
         "preparsing file ...\nparsing terminated ...\nsyntax error, unexpected TOKEN_end, expecting $end\n"
         "parsing error in file circ.blif\n"},
        {"row longer than the names line", ".model m\n.inputs a\n.outputs x\n.names a x\n1 1 1\n.end\n", 1,
         "error in blif definition about x variable\n"},
        {"mixed cover", ".model m\n.inputs a\n.outputs x\n.names a x\n1 1\n0 0\n.end\n", 1,
         "error in blif definition about x variable: rows of output 0 and rows of output 1 in one cover\n"},
        {"register of two latch lines", ".model m\n.inputs a\n.latch a q 0\n.latch a q 1\n.end\n", 1,
         "PARSING ERROR: register q is defined by more than one .latch line !\n"
         "preparsing of blif file failed ! aborting ...\n"},
        {"initial value 2", ".model m\n.inputs a\n.latch a q 2\n.end\n", 1,
         "syntax error, unexpected TOKEN_end, expecting TOKEN_ZERO or TOKEN_ONE\nparsing error in file circ.blif\n"},
    };
    std::string folder = work_folder("classes");
    for (const file_case& c : cases) {
        run r = run_program(folder, "circ", c.text);
        EXPECT_EQ(r.status, c.status) << c.what;
        EXPECT_EQ(r.errors, c.errors) << c.what;
    }
}

struct broken_case {
    const char* what;    // the fault
    std::string text;    // the file
    int status;          // exit status
    const char* errors;  // standard error text
    bool written;        // whether circ.c and circ.cs are written
};

const char* const aborting = "preparsing of blif file failed ! aborting ...\n";

// Circuits whose targets would be wrong, would not compile or would read values nothing sets:
// each ends with one message naming the file, the name, the character or the signals, and
// status 1; a combinational cycle is reported and the targets are still written.
TEST(BlifFiles, BrokenCircuitsAreNeverASilentSuccess)
{
    const std::string tail = "\n.outputs y\n.names c y\n1 1\n.end\n";
    const broken_case cases[] = {
        {"byte-order mark", "\xEF\xBB\xBF.model m\n.inputs a\n.outputs y\n.names a y\n1 1\n.end\n", 1,
         "PARSING ERROR: file circ.blif begins with a UTF-8 byte-order mark, which a BLIF file may not hold !\n"
         "preparsing of blif file failed ! aborting ...\n", false},
        {"dot inside a name", ".model m\n.inputs a.b c" + tail, 1,
         "PARSING ERROR: the name `a.b' holds the character `.', which no signal name may hold !\n"
         "preparsing of blif file failed ! aborting ...\n", false},
        {"dollar inside a name", ".model m\n.inputs a$b c" + tail, 1,
         "PARSING ERROR: the name `a$b' holds the character `$', which no signal name may hold !\n"
         "preparsing of blif file failed ! aborting ...\n", false},
        {"accented letter inside a name", ".model m\n.inputs a\xC3\xA9 c" + tail, 1,
         "PARSING ERROR: the name `a\xC3\xA9' holds the byte 0xC3, which no signal name may hold !\n"
         "preparsing of blif file failed ! aborting ...\n", false},
        {"NUL byte inside a name", std::string(".model m\n.inputs a\0b c", 22) + tail, 1,
         "PARSING ERROR: the name `a\\x00b' holds the byte 0x00, which no signal name may hold !\n"
         "preparsing of blif file failed ! aborting ...\n", false},
        {"bracket inside a name", ".model m\n.inputs a[0] c" + tail, 1,
         "PARSING ERROR: the name `a[0]' holds the character `[', which no signal name may hold !\n"
         "preparsing of blif file failed ! aborting ...\n", false},
        {"name beginning with a digit", ".model m\n.inputs 9abc c" + tail, 1,
         "PARSING ERROR: the name `9abc' begins with the character `9', which no signal name may begin with !\n"
         "preparsing of blif file failed ! aborting ...\n", false},
        {"keyword of another dialect", ".model m\n.inputs c\n.outputs y\n.default_input_arrival 0 0\n.names c y\n1 1\n.end\n",
         1, "PARSING ERROR: .default_input_arrival is no keyword of the dialect !\n"
            "preparsing of blif file failed ! aborting ...\n", false},
        {"keyword glued to the model name", ".model m.inputs c" + tail, 1,
         "PARSING ERROR: the word `m.inputs' holds .inputs glued to other characters !\n"
         "preparsing of blif file failed ! aborting ...\n", false},
        {"signal defined by two covers", ".model m\n.inputs c\n.outputs y\n.names c y\n1 1\n.names c y\n0 1\n.end\n", 1,
         "PARSING ERROR: signal y is defined by more than one .names block !\n", false},
        {"input driven by a cover", ".model m\n.inputs a c\n.outputs y\n.names c a\n1 1\n.names a y\n1 1\n.end\n", 1,
         "PARSING ERROR: input a is driven by a .names block !\n", false},
        {"input driven by a register", ".model m\n.inputs a c\n.outputs y\n.latch c a 0\n.names a y\n1 1\n.end\n", 1,
         "PARSING ERROR: input a is driven by a .latch line !\npreparsing of blif file failed ! aborting ...\n", false},
        {"register driven by a cover", ".model m\n.inputs c\n.outputs y\n.latch c q 0\n.names c q\n1 1\n.names q y\n1 1\n.end\n",
         1, "PARSING ERROR: register q is driven by a .names block !\n", false},
        {"signal read by a cover, never defined", ".model m\n.inputs c\n.outputs y\n.names c t y\n11 1\n.end\n", 1,
         "parsing terminated ...\nPARSING ERROR: signal t is read by the .names block of y but never defined !\n", false},
        {"signal read by a latch, never defined", ".model m\n.inputs c\n.outputs q\n.latch d q 0\n.end\n", 1,
         "parsing terminated ...\nPARSING ERROR: signal d is read by the .latch line of register q but never defined !\n",
         false},
        {"output driven by nothing", ".model m\n.inputs c\n.outputs y z\n.names c y\n1 1\n.end\n", 1,
         "parsing terminated ...\nPARSING ERROR: output z is driven by nothing !\n", false},
        {"combinational cycle", ".model m\n.inputs a\n.outputs x\n.names a b x\n11 1\n.names x b\n1 1\n.end\n", 1,
         "parsing terminated ...\nERROR: combinational cycle through the signals b, x !\n", true},
        {"cover reading itself", ".model m\n.inputs a\n.outputs x y\n.names a x x\n11 1\n.names a y\n1 1\n.end\n", 1,
         "parsing terminated ...\nERROR: combinational cycle through the signals x !\n", true},
        {"two cycles", ".model m\n.inputs a\n.outputs x y\n.names a p x\n11 1\n.names x p\n1 1\n.names a q y\n11 1\n"
                       ".names y q\n0 1\n.end\n", 1,
         "parsing terminated ...\nERROR: combinational cycle through the signals p, x !\n"
         "ERROR: combinational cycle through the signals q, y !\n", true},
        {"register breaks the loop", ".model m\n.inputs a\n.outputs x\n.latch x q 0\n.names a q x\n11 1\n.end\n", 0,
         "parsing terminated ...\n", true},
        {"word the scanner drops whole", ".model m\n.inputs a = c" + tail, 0, "parsing terminated ...\n", true},
    };
    std::string folder = work_folder("broken");
    for (const broken_case& c : cases) {
        std::system(("rm -f '" + folder + "'/circ.*").c_str());
        run r = run_program(folder, "circ", c.text, "-c -cs");
        EXPECT_EQ(r.status, c.status) << c.what;
        EXPECT_EQ(r.errors, c.errors) << c.what;
        EXPECT_EQ(exists(folder + "/circ.c"), c.written) << c.what;
        EXPECT_EQ(exists(folder + "/circ.cs"), c.written) << c.what;
    }
}

// A backslash glued to a name continues the line, for the pre-pass as for the scanner.
TEST(BlifFiles, BackslashGluedToANameContinuesTheLine)
{
    std::string folder = work_folder("backslash");
    run r = run_program(folder, "circ", ".model m\n.inputs a b\\\n c\n.outputs y\n.names a b c y\n111 1\n.end\n", "-c");
    EXPECT_EQ(r.status, 0) << r.errors;
    EXPECT_EQ(read_whole(folder + "/circ.h"), "extern void circ_reset_automaton(int circ_a, int circ_b, int circ_c, int *circ_y);"
                                              "\n\nextern void circ_automaton(int circ_a, int circ_b, int circ_c, int *circ_y);\n\n");
    r = run_program(folder, "latch", ".model m\n.inputs d\n.outputs q\n.latch d q\\\n1\n.end\n", "-c");
    EXPECT_EQ(r.status, 0) << r.errors;
    EXPECT_NE(read_whole(folder + "/latch.c").find("  latch_q= !0;\n"), std::string::npos);
}

// A cover without a small BDD in the declaration order ends the run, under a memory limit, with
// the name of its signal and status 1, within the limit and well within a minute.
TEST(BlifFiles, CoverTooWideForMemoryIsRefused)
{
    const std::string o64 = std::string(NELVOR_BENCH_DIR) + "/dialect/mcnc_comb/o64.blif";
    if (!exists(o64)) GTEST_SKIP() << "no bench circuits";
    std::string folder = work_folder("o64");
    write_whole(folder + "/o64.blif", read_whole(o64));
    // 2 GiB of address space: the node budget is a sixteenth of it
    std::string command = "cd '" + folder + "' && ulimit -v 2097152 && env -u DISPLAY timeout 60 '" +
                          std::string(NELVOR_BINARY_DIR) + "/blif/nelvor' o64 -c >/dev/null 2>o64.err";
    int raw = std::system(command.c_str());
    ASSERT_TRUE(WIFEXITED(raw));
    EXPECT_EQ(WEXITSTATUS(raw), 1);
    EXPECT_EQ(read_whole(folder + "/o64.err"),
              "ERROR: the BDD of signal v130_0 needs more than 1048576 nodes, the memory budget of the run !\n");
    EXPECT_FALSE(exists(folder + "/o64.c"));
}

// The reader's handlers of a BDD past the node budget and of an allocation that fails name the
// signal being built, and end the run with status 1.
TEST(BlifFilesDeathTest, MemoryFailuresNameTheSignal)
{
    EXPECT_EXIT(
        {
            blif_current_signal = "wide";
            blif_node_limit_reached(42);
        },
        testing::ExitedWithCode(1), "^ERROR: the BDD of signal wide needs more than 42 nodes, the memory budget of the run !\n$");
    EXPECT_EXIT(blif_node_limit_reached(42), testing::ExitedWithCode(1),
                "^ERROR: the BDDs of the circuit need more than 42 nodes, the memory budget of the run !\n$");
    EXPECT_EXIT(
        {
            blif_current_signal = "huge";
            std::set_new_handler(blif_out_of_memory);
            volatile size_t size = size_t(1) << 62;
            char* p = new char[size];
            p[0] = 0;
        },
        testing::ExitedWithCode(1), "^ERROR: out of memory while building the BDD of signal huge !\n$");
}

TEST(BlifFiles, SyntaxErrorWritesNoTarget)
{
    std::string folder = work_folder("no_target");
    run r = run_program(folder, "circ", ".model m\n.inputs a b\n.end\n.names a\n", "-lustre -c");
    EXPECT_EQ(r.status, 1);
    EXPECT_FALSE(exists(folder + "/circ.lus"));
    EXPECT_FALSE(exists(folder + "/circ.c"));
    EXPECT_TRUE(exists(folder + "/circ.log"));
}

TEST(BlifFiles, LogHoldsTheEchoEvenWhenTheRunStopsEarly)
{
    std::string folder = work_folder("log");
    run ok = run_program(folder, "ok", ".model m\r\n.inputs a = b\r\n.end\r\n");
    EXPECT_EQ(ok.status, 0);
    EXPECT_EQ(ok.log, "\r=\r\r");
    run stopped = run_program(folder, "stopped", ".model m\n.inputs a = b\n.outputs x\n.names a x\n1 1 1\n.end\n");
    EXPECT_EQ(stopped.status, 1);
    EXPECT_EQ(stopped.log, "=");
}

TEST(BlifFiles, BaseNameWithAFolder)
{
    std::string folder = work_folder("folder");
    std::system(("mkdir -p '" + folder + "/dir'").c_str());
    run r = run_program(folder, "dir/circ", ".model m\n.inputs a\n.outputs y\n.names a y\n1 1 1\n.end\n");
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.errors, "error in blif definition about y variable\n");
    EXPECT_TRUE(exists(folder + "/dir/circ.log"));
}

const std::string bench = NELVOR_BENCH_DIR;

// The published circuits outside the dialect end with a message and status 1, never a crash.
TEST(BlifFiles, PublishedCircuitsOutsideTheDialect)
{
    std::vector<std::string> all;
    for (const char* suite : {"defective", "epfl", "iscas89", "itc99", "latch_typed", "lgsynth91_seq", "mcnc_comb",
                              "mcnc_fsm"})
        for (const std::string& f : files_in(bench + "/blif/" + suite, ".blif")) all.push_back(f);
    if (all.empty()) GTEST_SKIP() << "no published circuits";
    // a few whose first error follows from their text (read by hand)
    const std::map<std::string, std::string> known = {
        // ".model b01.blif": the dot is echoed and "blif" is a second name
        {"itc99/b01.blif", "syntax error, unexpected TOKEN_ident, expecting TOKEN_latch or TOKEN_names or TOKEN_end\n"},
        // ".names G12 G13 [25]": the brackets and digits 2 to 9 vanish, so the pre-pass skips [25];
        // [30] would scan as the value 0
        {"iscas89/s444.blif",
         "PARSING ERROR: the name `[30]' begins with the character `[', which no signal name may begin with !\n"},
        // the first name in brackets that the scanner would read as a value
        {"latch_typed/s298.blif",
         "PARSING ERROR: the name `[581]' begins with the character `[', which no signal name may begin with !\n"},
        // ".wire_load_slope 0.00" after the outputs
        {"iscas89/s27.blif", "PARSING ERROR: .wire_load_slope is no keyword of the dialect !\n"},
    };
    std::string folder = work_folder("published");
    for (const std::string& path : all) {
        std::string name = path.substr(bench.size() + 6);
        run r = run_program(folder, "circ", read_whole(path));
        // legal names, three-field latches, one model: inside the dialect
        if (name == "mcnc_comb/majority.blif" || name == "mcnc_comb/k2.blif" || name == "epfl/mem_ctrl.blif" ||
            name == "iscas89/s5378.blif") {
            EXPECT_EQ(r.status, 0) << name << "\n" << r.errors;
            continue;
        }
        EXPECT_EQ(r.status, 1) << name << "\n" << r.errors;
        std::map<std::string, std::string>::const_iterator k = known.find(name);
        if (k != known.end()) {
            std::string first = r.errors.substr(0, r.errors.find('\n') + 1);
            EXPECT_EQ(first, k->second) << name;
        }
        bool reported = r.errors.find("parsing error in file circ.blif\n") != std::string::npos ||
                        r.errors.find("error in blif definition about ") != std::string::npos ||
                        r.errors.find("preparsing of blif file failed ! aborting ...\n") != std::string::npos;
        EXPECT_TRUE(reported) << name << "\n" << r.errors;
    }
    std::system(("rm -rf '" + folder + "'").c_str());
}

// Every circuit rewritten in the dialect parses.
class BlifDialectFile : public testing::TestWithParam<std::string> {};

TEST_P(BlifDialectFile, Parses)
{
    std::string path = bench + "/dialect/" + GetParam();
    if (!exists(path)) GTEST_SKIP() << "no dialect circuits";
    std::string base = GetParam().substr(GetParam().find('/') + 1);
    base = base.substr(0, base.size() - 5);
    std::string folder = work_folder("dialect_" + base);
    run r = run_program(folder, base, read_whole(path));
    EXPECT_EQ(r.status, 0) << r.errors;
    EXPECT_EQ(r.errors, "parsing terminated ...\n");
    std::system(("rm -rf '" + folder + "'").c_str());
}

// The dialect circuits; mcnc_comb/o64 is left out: its single cover, an OR of 65 pairs v_i AND
// v_(i+64) over inputs declared in name order, has a BDD too large to build.
std::vector<std::string> dialect_files()
{
    std::vector<std::string> names;
    for (const char* suite : {"epfl", "iscas89", "itc99", "lgsynth91_seq", "mcnc_comb", "mcnc_fsm"})
        for (const std::string& f : files_in(bench + "/dialect/" + suite, ".blif")) {
            std::string name = f.substr(bench.size() + 9);
            if (name != "mcnc_comb/o64.blif") names.push_back(name);
        }
    if (names.empty()) names.push_back("absent/none.blif");
    return names;
}

std::string test_name(const testing::TestParamInfo<std::string>& info)
{
    std::string name = info.param.substr(0, info.param.size() - 5);
    std::replace(name.begin(), name.end(), '/', '_');
    return name;
}

INSTANTIATE_TEST_SUITE_P(published, BlifDialectFile, testing::ValuesIn(dialect_files()), test_name);

// The small inputs kept from fuzzing run through the reader without a crash, and through the
// whole translation without an internal error.
TEST(BlifFiles, FuzzCorpusReplay)
{
    std::vector<std::string> corpus = files_in(std::string(NELVOR_SOURCE_DIR) + "/fuzz/corpus", "");
    ASSERT_FALSE(corpus.empty());
    for (const std::string& path : corpus) {
        std::ostringstream log;
        testing::internal::CaptureStderr();
        blif_read_result r = blif_read_once(read_whole(path), log, 1);
        testing::internal::GetCapturedStderr();
        // it either parsed, failed to parse, or stopped with status 1
        EXPECT_TRUE(r.parse_result == 0 || r.parse_result == 1 || r.exit_status == 1) << path;
        std::ostringstream log2;
        testing::internal::CaptureStderr();
        testing::internal::CaptureStdout();
        blif_translate_result t = blif_translate_once(read_whole(path), log2, 2);
        std::string said = testing::internal::GetCapturedStderr() + testing::internal::GetCapturedStdout();
        EXPECT_EQ(said.find("INTERNAL ERROR"), std::string::npos) << path << "\n" << said;
        EXPECT_EQ(t.internal_text, 0) << path;
        EXPECT_TRUE(t.exit_status == -1 || t.exit_status == 1) << path;
    }
}

} // namespace
