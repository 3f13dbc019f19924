// The runs of names and of cover values that the parser takes as one token: a reading without
// the trace (runs) and one with it (every token alone) give the same result, whatever lies
// around the runs.
#include "tests/support/blif_reader_fixture.h"

namespace {

TEST(BlifTokenRuns, ReadingsWithAndWithoutRunsAgree)
{
    const std::map<std::string, std::vector<std::string>> wanted = {
        {"y", {"a", "b", "c"}}, {"z", {"a", "b", "c"}}, {"q", {"a", "b", "c"}}};
    const char* const texts[] = {
        ".model m\n.inputs a b c\n.outputs y z\n.names a b c y\n1-1 1\n01- 1\n.names c a z\n00 0\n.end\n",
        // line continuations inside a names line, an inputs line and a row
        ".model m\n.inputs a \\\n b c\n.outputs y\n.names a \\\n b c y\n1 \\\n1- 1\n0-0 1\n.end\n",
        // values without blanks, with tabs, and a lone output value
        ".model m\n.inputs a b c\n.outputs y z\n.names a b c y\n111\t1\n0\t0 0 1\n.names z\n1\n.end\n",
        // a comment swallows the line end: the two rows become one, too long for the names
        ".model m\n.inputs a b c\n.outputs y\n.names a b y\n1 1 # c\n0 0\n.end\n",
        // runs ended by a token the grammar refuses
        ".model m\n.inputs a b c\n.outputs y\n.names a b y\n11 x\n.end\n",
        ".model m\n.inputs a b c\n.outputs y\n.names a b 0\n1 1\n.end\n",
        ".model m\n.inputs a b c\n.outputs y\n.names a b y\n\n11 1\n.end\n",
        // rows mixing output values, a register, a constant
        ".model m\n.inputs a b c\n.outputs y q\n.latch y q 1\n.names a b c y\n1-- 0\n-11 0\n.names z\n.end\n",
        // echoed characters between the names and between the values
        ".model m\n.inputs a b c\n.outputs y\n.names a = b y\n1 = 1 1\n.end\n",
    };
    for (const char* text : texts) {
        reading runs = read_blif(text, wanted, 0);
        reading alone = read_blif(text, wanted, 1);
        EXPECT_EQ(runs.result.preparse_ok, alone.result.preparse_ok) << text;
        EXPECT_EQ(runs.result.parse_result, alone.result.parse_result) << text;
        EXPECT_EQ(runs.result.exit_status, alone.result.exit_status) << text;
        EXPECT_EQ(runs.result.equations, alone.result.equations) << text;
        EXPECT_EQ(runs.errors, alone.errors) << text;
        EXPECT_EQ(runs.tables, alone.tables) << text;
        EXPECT_EQ(runs.order, alone.order) << text;
        EXPECT_EQ(runs.init, alone.init) << text;
    }
}

} // namespace
