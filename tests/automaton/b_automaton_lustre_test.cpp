// The LUSTRE node writer.
#include <gtest/gtest.h>

#include "tests/support/b_automaton_writers_fixture.h"

namespace {

const writer_case LUSTRE_CASES[] = {
    {"next-state signal declared in var", circuit_a, "ca", R"(node ca(a, b: bool)
     returns (y: bool);

var t, q, d: bool;
let
  q= false-> pre(d);

  /* internal definitions */
t = q and a;
y = b or not b and t;
d = a and not y or not a and y;

tel

)"},
    {"register that is an output stays out of var", circuit_b, "cb", ""},
    {"constant written false, overlapping names declared once", circuit_v, "cv", R"(node cv(a: bool)
     returns (y: bool);

var k, z, r, s: bool;
let
  r= false-> pre(a);
  s= false-> pre(r);

  /* internal definitions */
k = false;
y = r and s;
z = y;

tel

)"},
    {"no input, output, register, local or equation", circuit_empty, "e0", "node e0(useless : bool)\n\n\n\nlet\n\ntel\n\n"},
    {"combinational: empty var line", circuit_comb, "cc", R"(node cc(a, b: bool)
     returns (x, y: bool);


let

  /* internal definitions */
x = a and b;
y = not a;

tel

)"},
    {"register initial value 1, nothing to declare", circuit_delay, "cd", R"(node cd(a: bool)
     returns (r: bool);


let
  r= true-> pre(a);

tel

)"},
    {"constant true, names with underscores", circuit_names, "cn", R"(node cn(in_1, in_2_: bool)
     returns (out_1_2: bool);

var one, r_1, n_q: bool;
let
  r_1= true-> pre(n_q);

  /* internal definitions */
one = true;
n_q = r_1 or not r_1 and in_2_;
out_1_2 = r_1 and in_1;

tel

)"},
    {"reserved names and @ take the renaming, the node too", circuit_reserved, "node", R"(node node__(input, node_: bool)
     returns (true_: bool);

var module, signal, _at_: bool;
let
  signal= true-> pre(_at_);

  /* internal definitions */
_at_ = input and node_;
module = signal or not signal and node_;
true_ = not input and module;

tel

)"},
};

TEST(LustrePut, GoldenNodes)
{
    for (const writer_case& c : LUSTRE_CASES) {
        // circuit B is circuit A with q among the outputs
        std::string expected = c.circuit != circuit_b ? c.expected
                                                      : edited(LUSTRE_CASES[0].expected,
                                                               {{"node ca", "node cb"},
                                                                {"returns (y", "returns (q, y"},
                                                                {"var t, q, d", "var t, d"}});
        EXPECT_EQ(written(c.circuit(), &b_automaton::LUSTRE_put, c.name), expected) << c.label;
    }
}

TEST(LustrePut, LocalCountOnBothStreams)
{
    testing::internal::CaptureStderr();
    testing::internal::CaptureStdout();
    written(circuit_v(), &b_automaton::LUSTRE_put, "cv");
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "nb_var locale detecte: 2\n");
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "nb_var locale detecte: 2\n");
}

TEST(LustrePut, UndeterminedInitialValueIsFalse)
{
    test_circuit c = circuit_a();
    c.init = {2};
    std::string text = written(c, &b_automaton::LUSTRE_put, "ca");
    EXPECT_NE(text.find("\n  q= false-> pre(d);\n"), std::string::npos) << text;
}

TEST(LustrePut, CoverKindReachesTheSumsOfProducts)
{
    // kind 1 expands the disjoint path cover of b OR t
    std::string text = written(circuit_a(), &b_automaton::LUSTRE_put, "ca", 1);
    EXPECT_NE(text.find("\ny = b or t;\n"), std::string::npos) << text;
}

} // namespace
