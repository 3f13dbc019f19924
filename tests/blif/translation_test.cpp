// The translation run end to end: the nelvor program on a BLIF file, the files it writes.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "blif/run_writers.h"
#include "blif/targets.h"
#include "tests/support/b_automaton_tools_fixture.h"

namespace {

const std::string NELVOR = std::string(NELVOR_BINARY_DIR) + "/blif/nelvor";

// A register with initial value 1 fed by an OFF-set cover, an AND gate, inputs listed unsorted.
const char E2E_BLIF[] = R"(# end-to-end circuit
.model whatever
.inputs b a
.outputs z
.latch n r 1
.names a r n
1- 0
.names a b z
11 1
.end
)";

const char E2E_LUS[] = R"(node e2e(a, b: bool)
     returns (z: bool);

var r, n: bool;
let
  r= true-> pre(n);

  /* internal definitions */
n = not a;
z = a and b;

tel

)";

const char E2E_STRL[] = R"(module e2e:
input a, 
       b;
output z;

signal r, n in

  [
    emit r;
    run my_pre [signal n / S,   r / preS]
  ]
  ||

  loop
    [
  present [not a] then
    emit n
  end present
  ||
  present [a and b] then
    emit z
  end present

    ]
  each tick

end signal
end module

)";

const char E2E_LE[] = R"(module e2e:
Input: a, b;
Output: z;


Mealy Machine

Register: 
r : 1 : n;

n = not a;
z = a and b;

end

)";

const char E2E_DOC[] = R"(module: e2e

Entree(s) booleenne(s): a, b

Sortie(s) booleenne(s): z

Registre(s):
 - rvaleur initiale: true, prochaine valeur: n

Equation(s):
n = not a;
z = a and b;

fin de la documentation ...

)";

// Every file a run can write besides the log, as suffixes of the base name.
std::vector<std::string> target_suffixes()
{
    std::vector<std::string> suffixes;
    for (std::size_t k = 0; k < TARGET_COUNT; ++k) {
        suffixes.push_back(TARGETS[k].suffix);
        if (TARGETS[k].suffix2) suffixes.push_back(TARGETS[k].suffix2);
    }
    return suffixes;
}

// Runs nelvor in dir on the arguments; returns the status, with its output streams in out.
int nelvor(const std::string& dir, const std::string& arguments, std::string& out)
{
    return run_command("cd '" + dir + "' && DISPLAY= '" + NELVOR + "' " + arguments, out);
}

int occurrences(const std::string& text, const std::string& pattern)
{
    int n = 0;
    for (std::size_t p = text.find(pattern); p != std::string::npos; p = text.find(pattern, p + 1)) ++n;
    return n;
}

// A directory holding e2e.blif.
std::string e2e_directory(const std::string& label)
{
    std::string dir = tool_directory(label);
    write_file(dir + "/e2e.blif", E2E_BLIF);
    return dir;
}

TEST(TranslationRun, EveryTextTargetEndToEnd)
{
    std::string dir = e2e_directory("e2e");
    std::string out;
    ASSERT_EQ(nelvor(dir, "e2e -lustre -esterel -le -doc -latex -bac -awaited -lustre", out), 0) << out;
    EXPECT_EQ(read_file(dir + "/e2e.lus"), E2E_LUS);
    EXPECT_EQ(read_file(dir + "/e2e.strl"), E2E_STRL);
    EXPECT_EQ(read_file(dir + "/e2e.le"), E2E_LE);
    EXPECT_EQ(read_file(dir + "/e2e.doc"), E2E_DOC);
    EXPECT_TRUE(file_exists(dir + "/e2e.ba"));
    EXPECT_EQ(read_file(dir + "/e2e.ba"), "");
    std::string tex = read_file(dir + "/e2e.tex");
    EXPECT_EQ(tex.substr(0, 38), "\\documentclass[11pt,a4paper]{article}\n");
    EXPECT_NE(tex.find("\n\\item $n = \\overline{a}$\n\\item $z = a.b$\n"), std::string::npos) << tex;
    // each writer once, however often its option is given
    EXPECT_EQ(occurrences(out, "nb_var locale detecte: 0\n"), 2) << out; // standard error and output
    EXPECT_EQ(occurrences(out, "A REVOIR ...\n"), 1) << out;
    EXPECT_EQ(occurrences(out, "to do !\n"), 1) << out;
    // the fixed order, whatever the order of the options: awaited inputs, then BAC, then LUSTRE
    EXPECT_LT(out.find("A REVOIR ...\n"), out.find("to do !\n")) << out;
    EXPECT_LT(out.find("to do !\n"), out.find("nb_var locale detecte: 0\n")) << out;
    for (const char* suffix : {".c", ".h", ".cs", ".vhd", "_sc.cc", "_sc.h"})
        EXPECT_FALSE(file_exists(dir + "/e2e" + suffix)) << suffix;
    if (have_tool("pdflatex")) {
        std::string log;
        EXPECT_EQ(run_command("cd '" + dir + "' && pdflatex -interaction=nonstopmode -halt-on-error e2e.tex", log), 0)
            << log;
    }
}

// The run reads the stream it is given, whatever file it comes from, and leaves both streams
// open to the caller.
TEST(TranslationRun, ReadsTheGivenStreamAndLeavesItOpen)
{
    std::string dir = tool_directory("stream");
    write_file(dir + "/source.txt", E2E_BLIF); // no e2e.blif: the run cannot open its own
    std::ifstream input(dir + "/source.txt");
    std::ofstream log(dir + "/e2e.log");
    run_settings settings;
    settings.base = dir + "/e2e";
    settings.lustre = 1;
    EXPECT_EQ(translation_run(settings, input, "source.txt", log), 0);
    EXPECT_TRUE(input.is_open());
    EXPECT_TRUE(log.is_open());
    EXPECT_EQ(read_file(dir + "/e2e.lus"), E2E_LUS);
    std::istringstream text(E2E_BLIF);
    std::ostringstream text_log;
    settings.base = dir + "/again";
    EXPECT_EQ(translation_run(settings, text, "text", text_log), 0);
    std::string again = E2E_LUS;
    again.replace(again.find("node e2e"), 8, "node again");
    EXPECT_EQ(read_file(dir + "/again.lus"), again);
}

TEST(TranslationRun, CoverKindOption)
{
    std::string dir = e2e_directory("level");
    std::string out;
    ASSERT_EQ(nelvor(dir, "e2e -doc -O2 -O1", out), 0) << out;
    EXPECT_EQ(read_file(dir + "/e2e.doc"), E2E_DOC); // single products: every kind agrees
}

TEST(TranslationRun, VhdlIgnoresTheCoverKind)
{
    std::string dir = e2e_directory("vhdl");
    std::string out;
    ASSERT_EQ(nelvor(dir, "e2e -vhdl -O0", out), 0) << out;
    std::string first = read_file(dir + "/e2e.vhd");
    ASSERT_EQ(nelvor(dir, "e2e -O2 -vhdl", out), 0) << out;
    EXPECT_FALSE(first.empty());
    EXPECT_EQ(read_file(dir + "/e2e.vhd"), first);
}

TEST(TranslationRun, NoOptionWritesNoTarget)
{
    std::string dir = e2e_directory("none");
    std::string out;
    EXPECT_EQ(nelvor(dir, "e2e", out), 0) << out;
    EXPECT_TRUE(file_exists(dir + "/e2e.log"));
    for (const std::string& suffix : target_suffixes()) EXPECT_FALSE(file_exists(dir + "/e2e" + suffix)) << suffix;
}

TEST(TranslationRun, BaseNameWithDirectory)
{
    std::string dir = tool_directory("subdir");
    std::string sub = dir + "/sub";
    std::string out;
    run_command("mkdir -p '" + sub + "'", out);
    write_file(sub + "/e2e.blif", E2E_BLIF);
    ASSERT_EQ(nelvor(dir, "sub/e2e -lustre -c -systemc", out), 0) << out;
    // the files go beside the input; the module inside them is named without the directory
    std::string lus = read_file(sub + "/e2e.lus");
    EXPECT_EQ(lus.substr(0, lus.find('\n')), "node e2e(a, b: bool)");
    EXPECT_NE(read_file(sub + "/e2e.c").find("void e2e_automaton("), std::string::npos);
    EXPECT_NE(read_file(sub + "/e2e_sc.cc").find("#include \"e2e_sc.h\""), std::string::npos);
    if (have_tool("gcc")) {
        std::string log;
        EXPECT_EQ(run_command("cd '" + sub + "' && gcc -std=c99 -fsyntax-only e2e.c", log), 0) << log;
    }
}

TEST(TranslationRun, FileThatCannotBeCreated)
{
    std::string dir = e2e_directory("blocked");
    std::string out;
    run_command("mkdir '" + dir + "/e2e.lus'", out); // a directory where the node should go
    EXPECT_EQ(nelvor(dir, "e2e -lustre -doc", out), 1) << out;
    EXPECT_NE(out.find("cannot create file `e2e.lus'"), std::string::npos) << out;
    EXPECT_EQ(read_file(dir + "/e2e.doc"), E2E_DOC); // the other writers still run
}

TEST(TranslationRun, FileThatCannotBeWritten)
{
    if (!file_exists("/dev/full")) GTEST_SKIP() << "no /dev/full";
    std::string dir = e2e_directory("full");
    std::string out;
    run_command("ln -s /dev/full '" + dir + "/e2e.strl'", out); // every write fails
    EXPECT_EQ(nelvor(dir, "e2e -esterel -le", out), 1) << out;
    EXPECT_NE(out.find("cannot write file `e2e.strl'"), std::string::npos) << out;
    EXPECT_EQ(read_file(dir + "/e2e.le"), E2E_LE);
}

TEST(TranslationRun, SyntaxErrorWritesNoTarget)
{
    std::string dir = tool_directory("syntax");
    write_file(dir + "/bad.blif", ".model m\n.inputs a\n.outputs q\n.latch a q 2\n.end\n");
    std::string out;
    EXPECT_EQ(nelvor(dir, "bad -lustre -latex", out), 1) << out; // a file that does not parse is a failed run
    EXPECT_NE(out.find("parsing error in file bad.blif"), std::string::npos) << out;
    EXPECT_FALSE(file_exists(dir + "/bad.lus"));
    EXPECT_FALSE(file_exists(dir + "/bad.tex"));
}

TEST(TranslationRun, InputsAndOutputsSharingANameStop)
{
    std::string dir = tool_directory("shared");
    write_file(dir + "/io.blif", ".model m\n.inputs a\n.outputs a\n.end\n");
    std::string out;
    EXPECT_EQ(nelvor(dir, "io -lustre", out), 1) << out;
    EXPECT_NE(out.find("preparsing of blif file failed ! aborting ..."), std::string::npos) << out;
    EXPECT_FALSE(file_exists(dir + "/io.lus"));
}

TEST(FiltreSorties, ListedPositiveLiterals)
{
    bddpp_manager m;
    bdd a = m.New_var_last("a"), b = m.New_var_last("b"), c = m.New_var_last("c");
    bdd cube = m.Bdd_and(m.Bdd_and(a, m.Bdd_not(b)), c);
    std::list<std::string> both = {"a", "b"}, only_b = {"b"}, a_and_c = {"c", "a"};
    EXPECT_EQ(filtre_sorties(&m, m.Bdd_and(a, m.Bdd_not(b)), both), a);
    EXPECT_EQ(filtre_sorties(&m, m.Bdd_and(a, m.Bdd_not(b)), only_b), m.Bdd_zero());
    EXPECT_EQ(filtre_sorties(&m, cube, a_and_c), m.Bdd_and(a, c));
}

} // namespace
