// The pre-pass: classes of the signals, declaration order, the messages and the failures.
#include "tests/support/blif_reader_fixture.h"

#include <algorithm>
#include <cstdio>
#include <fstream>

namespace {

typedef std::vector<std::string> names;

// The pre-pass alone over text: its result, its stderr text and the declared order.
struct preparse_run {
    int ok;             // result
    std::string errors; // standard error text
    names order;        // variables of the declarations in order; empty without declarations
    int state_count;    // registers; -1 without declarations
    int local_count;    // locals; -1 without declarations
};

preparse_run preparse_text(const std::string& text)
{
    preparse_run r{0, "", {}, -1, -1};
    class_blif_parser parser;
    std::istringstream in(text);
    testing::internal::CaptureStderr();
    r.ok = parser.preparse(in);
    r.errors = testing::internal::GetCapturedStderr();
    if (parser.dec != nullptr) {
        bddpp_manager* m = parser.dec->manager_associe();
        for (long p = 0; p < m->nvars; ++p) r.order.push_back(m->Name_var_by_index(p));
        r.state_count = parser.dec->state_count;
        r.local_count = parser.dec->local_count;
    }
    pblif_parser = nullptr;
    return r;
}

struct preparse_case {
    const char* what;  // the case
    const char* text;  // the file
    names order;       // declared variables in order
    int state_count;   // registers
    int local_count;   // locals
};

TEST(BlifPreparse, ClassesAndDeclarationOrder)
{
    const preparse_case cases[] = {
        {"inputs sorted, then outputs", ".model m\n.inputs b a\n.outputs y\n.names a b y\n11 1\n.end\n",
         {"a", "b", "y"}, 0, 0},
        {"next-state signal is no local", ".model m\n.inputs a\n.latch d q 0\n.names a q d\n11 1\n.end\n",
         {"q", "d", "a"}, 1, 0},
        {"registers in file order, locals sorted",
         ".model m\n.inputs i\n.outputs o\n.latch n2 r2 0\n.latch n1 r1 1\n.names i t2 t1 n1\n111 1\n"
         ".names i r2 o\n11 1\n.names r1 n2\n1 1\n.names i t2\n0 1\n.names i t1\n1 1\n.end\n",
         {"r2", "r1", "n2", "n1", "i", "o", "t1", "t2"}, 2, 2},
        {"register that is an output", ".model m\n.inputs a\n.outputs q\n.latch a q 1\n.end\n",
         {"q", "a"}, 1, 0},
        {"register fed by a register", ".model m\n.inputs a\n.latch q1 q2 0\n.latch a q1 0\n.end\n",
         {"q2", "q1", "a"}, 2, 0},
        {"comment on the inputs line", ".model m\n.inputs a # b c\n.outputs y\n.end\n", {"a", "y"}, 0, 0},
        {"comment inside a word", ".model m\n.inputs a#b\n.end\n", {"a"}, 0, 0},
        {"continuation word", ".model m\n.inputs a \\\n b\n.end\n", {"a", "b"}, 0, 0},
        {"second .inputs is a name", ".model m\n.inputs a\n.inputs b\n.end\n", {".inputs", "a", "b"}, 0, 0},
        {"second .outputs is a name", ".model m\n.outputs a .outputs\n.end\n", {".outputs", "a"}, 0, 0},
        {"rows are no names", ".model m\n.names a x\n1 1\n-0 1\n0 0\n.end\n", {"a", "x"}, 0, 2},
        {"words before the model", "x y .inputs z\n.model m\n.inputs a\n.end\n", {"a"}, 0, 0},
        {"latch with a type field", ".model m\n.inputs a\n.latch a q re clk 0\n.end\n",
         {"q", "a", "clk"}, 1, 1},
        {"latch cut short by the end of the file", ".model m\n.inputs a\n.latch a", {"a"}, 0, 0},
        {"no model", ".inputs a\n.names a y\n", {}, 0, 0},
    };
    for (const preparse_case& c : cases) {
        preparse_run r = preparse_text(c.text);
        EXPECT_EQ(r.ok, 1) << c.what;
        EXPECT_EQ(r.errors, "") << c.what;
        EXPECT_EQ(r.order, c.order) << c.what;
        EXPECT_EQ(r.state_count, c.state_count) << c.what;
        EXPECT_EQ(r.local_count, c.local_count) << c.what;
    }
}

// Declares the names as inputs and expects the pre-pass to list them in the order of strings.
void expect_string_order(const names& inputs)
{
    std::string text = ".model m\n.inputs";
    for (const std::string& n : inputs) text += " " + n;
    text += "\n.end\n";
    names sorted(inputs);
    std::sort(sorted.begin(), sorted.end());
    preparse_run r = preparse_text(text);
    EXPECT_EQ(r.ok, 1);
    EXPECT_EQ(r.order, sorted);
}

// Names sharing their first eight characters, or differing only past them, in the order of strings.
TEST(BlifPreparse, LongNamesInStringOrder)
{
    const names inputs = {"abcdefgh_", "abcdefg", "abcdefghi", "abcdefgh", "b", "a_long_name_2", "a_long_name_10",
                          "Z", "abcdefgh0"};
    expect_string_order(inputs);
}

// Enough names for the counting sort: names of every length, many sharing their first eight
// bytes, in a scrambled order.
TEST(BlifPreparse, ManyNamesInStringOrder)
{
    names inputs;
    for (int i = 0; i < 6000; ++i) {
        int k = (i * 7919) % 6000; // a scrambled order
        switch (k % 4) {
        case 0: inputs.push_back("n" + std::to_string(k)); break;
        case 1: inputs.push_back("shared_prefix_" + std::to_string(k)); break;
        case 2: inputs.push_back("abcdefgh" + std::to_string(k % 97) + "_" + std::to_string(k)); break;
        default: inputs.push_back(std::string(1 + k % 11, char('a' + k % 26)) + "Z" + std::to_string(k)); break;
        }
    }
    expect_string_order(inputs);
}
TEST(BlifPreparse, InputsAndOutputsSharingNames)
{
    preparse_run one = preparse_text(".model m\n.inputs a\n.outputs a\n.end\n");
    EXPECT_EQ(one.ok, 0);
    EXPECT_EQ(one.errors, "PARSING ERROR: sets of inputs and outputs are not exclusive !\n"
                          " --> Found Signal(s): {a}\n\n");
    EXPECT_EQ(one.state_count, -1); // no declarations
    preparse_run two = preparse_text(".model m\n.inputs y b a c\n.outputs c x y\n.end\n");
    EXPECT_EQ(two.ok, 0);
    EXPECT_EQ(two.errors, "PARSING ERROR: sets of inputs and outputs are not exclusive !\n"
                          " --> Found Signal(s): {c,y}\n\n");
}

TEST(BlifPreparse, RegisterOfTwoLatchLinesIsRefused)
{
    preparse_run r = preparse_text(".model m\n.inputs a b\n.latch a q 0\n.latch b q 1\n.end\n");
    EXPECT_EQ(r.ok, 0);
    EXPECT_EQ(r.errors, "PARSING ERROR: register q is defined by more than one .latch line !\n");
    EXPECT_EQ(r.state_count, -1);
}

TEST(BlifPreparse, WordsAfterTheEnd)
{
    EXPECT_EQ(preparse_text(".model m\n.end\n").errors, "");
    EXPECT_EQ(preparse_text(".model m\n.end\n\n# done\n").errors, "");
    preparse_run r = preparse_text(".model m\n.end\n.names a x\n1 1\n");
    EXPECT_EQ(r.ok, 1);
    EXPECT_EQ(r.errors, "preparsing file ...\npreparsing file ...\npreparsing file ...\n"
                        "preparsing file ...\npreparsing file ...\n");
}

TEST(BlifPreparse, InitialValuesArrayHasOneEntryPerRegister)
{
    class_blif_parser parser;
    std::istringstream in(".model m\n.latch a q 0\n.latch b r 1\n.end\n");
    EXPECT_EQ(parser.preparse(in), 1);
    EXPECT_EQ(parser.ok, 1);
    ASSERT_NE(parser.init, nullptr);
    EXPECT_EQ(parser.dec->state_count, 2);
    EXPECT_EQ(parser.automaton, nullptr);
    pblif_parser = nullptr;
}

TEST(BlifPreparse, ReadsTheNamedFile)
{
    std::string path = std::string(NELVOR_BINARY_DIR) + "/blif_preparse_test.blif";
    {
        std::ofstream out(path.c_str());
        out << ".model m\n.inputs b a\n.end\n";
    }
    class_blif_parser parser;
    EXPECT_EQ(parser.preparse(path.c_str()), 1);
    EXPECT_EQ(parser.dec->input_count, 2);
    EXPECT_EQ(parser.dec->input_names[0], "a");
    std::remove(path.c_str());
    // a file that cannot be opened yields no word
    class_blif_parser missing;
    EXPECT_EQ(missing.preparse((path + ".none").c_str()), 1);
    EXPECT_EQ(missing.dec->manager_associe()->nvars, 0);
    pblif_parser = nullptr;
}

TEST(BlifPreparse, ConstructorMakesTheCurrentParser)
{
    class_blif_parser parser;
    EXPECT_EQ(pblif_parser, &parser);
    EXPECT_EQ(parser.ok, 0);
    EXPECT_EQ(parser.lexer, nullptr);
    EXPECT_EQ(parser.dec, nullptr);
    EXPECT_EQ(parser.automaton, nullptr);
    EXPECT_EQ(parser.init, nullptr);
    pblif_parser = nullptr;
}

} // namespace
