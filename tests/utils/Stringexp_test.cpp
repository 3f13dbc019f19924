// The token expression checker: results, positions and the trace of every token.
#include <gtest/gtest.h>

#include <string>

#include "utils/Stringexp.h"

namespace {

// + (infix), - (prefix), the factor ( ), the variables a and b.
void declare_sums(expressions_checker& c)
{
    c.add_operator("+", 2);
    c.add_operator("-", 1);
    c.add_factor("(", ")");
    c.add_variable("a");
    c.add_variable("b");
}

struct checked {
    int result;
    std::string trace;
};

checked run_check(expressions_checker& c, const std::string& text)
{
    testing::internal::CaptureStderr();
    int result = c.check(text);
    return {result, testing::internal::GetCapturedStderr()};
}

} // namespace

TEST(ExpressionsChecker, ResultsPositionsAndTraces)
{
    struct { const char* text; int result; const char* trace; } cases[] = {
        {"a + b", 0, "tok=a state=2\ntok=+ state=1\ntok=b state=2\ntok= state=3\n"},
        {"- a", 0, "tok=- state=1\ntok=a state=2\ntok= state=3\n"},
        {"- - a", 0, "tok=- state=1\ntok=- state=1\ntok=a state=2\ntok= state=3\n"},
        {"( a + b )", 0,
         "tok=(tok=a state=2\ntok=+ state=1\ntok=b state=2\ntok=) state=3\n state=2\ntok= state=3\n"},
        {"a + ( - b )", 0,
         "tok=a state=2\ntok=+ state=1\ntok=(tok=- state=1\ntok=b state=2\ntok=) state=3\n state=2\n"
         "tok= state=3\n"},
        {"a + b   ", 0, "tok=a state=2\ntok=+ state=1\ntok=b state=2\ntok=  state=3\n"},
        {"( a + b )  ", 0,
         "tok=(tok=a state=2\ntok=+ state=1\ntok=b state=2\ntok=) state=3\n state=2\ntok=  state=3\n"},
        {"", 2, "tok= state=4\n"},
        {"a +", 6, "tok=a state=2\ntok=+ state=1\ntok= state=4\n"},
        {"a b", 5, "tok=a state=2\ntok=b state=4\n"},
        {"+ a", 3, "tok=+ state=4\n"},
        {"a - b", 5, "tok=a state=2\ntok=- state=4\n"},
        {"( a", 5, "tok=(tok=a state=2\ntok= state=3\n state=2\ntok= state=3\n"},
        {"a )", 3, "tok=a state=2\ntok=) state=3\n"},
        {"( a b )", 7, "tok=(tok=a state=2\ntok=b state=4\n state=4\n"},
        {"( ( a ) ) )", 7,
         "tok=(tok=(tok=a state=2\ntok=) state=3\n state=2\ntok=) state=3\n state=2\ntok=) state=3\n"},
        {"c", 3, "tok=c state=4\n"},
        {"a c", 5, "tok=a state=2\ntok=c state=4\n"},
        {"12", 4, "tok=12 state=4\n"},
        {") a", 3, "tok=) state=4\n"},
        {"( )", 5, "tok=(tok=) state=4\n state=4\n"},
    };
    for (auto& c : cases) {
        expressions_checker checker;
        declare_sums(checker);
        checked r = run_check(checker, c.text);
        EXPECT_EQ(r.result, c.result) << '"' << c.text << '"';
        EXPECT_EQ(r.trace, c.trace) << '"' << c.text << '"';
    }
}

TEST(ExpressionsChecker, OperandsAsNumbersAndVariables)
{
    struct { const char* text; int numbers; int result; const char* trace; } cases[] = {
        {"12 + a", 1, 0, "tok=12 state=2\ntok=+ state=1\ntok=a state=2\ntok= state=3\n"},
        {"( a )", 1, 0, "tok=(tok=a state=2\ntok=) state=3\n state=2\ntok= state=3\n"},
        {"- ( 7 )", 1, 0, "tok=- state=1\ntok=(tok=7 state=2\ntok=) state=3\n state=2\ntok= state=3\n"},
        {"a 12", 1, 6, "tok=a state=2\ntok=12 state=4\n"},
        {"x1", 1, 4, "tok=x1 state=4\n"},
        {"12 + a", 0, 4, "tok=12 state=4\n"},
    };
    for (auto& c : cases) {
        expressions_checker checker;
        declare_sums(checker);
        if (c.numbers) checker.accept_numbers();
        checked r = run_check(checker, c.text);
        EXPECT_EQ(r.result, c.result) << '"' << c.text << '"';
        EXPECT_EQ(r.trace, c.trace) << '"' << c.text << '"';
    }
}

TEST(ExpressionsChecker, FirstDeclarationsCount)
{
    expressions_checker c;
    c.add_variable("x");
    c.add_operator("x", 2); // a variable where an operand is expected, the operator after one
    c.add_operator("*", 2);
    c.add_operator("*", 1); // the first arity of * counts
    c.add_operator("?", 3); // accepted nowhere
    c.add_factor("[", "]");
    c.add_factor("<", ">");
    EXPECT_EQ(c.arities, (std::list<int>{2, 2, 1, 3}));
    EXPECT_EQ(c.operators, (std::list<std::string>{"x", "*", "*", "?"}));
    EXPECT_EQ(c.openers, (std::list<std::string>{"[", "<"}));
    EXPECT_EQ(c.closers, (std::list<std::string>{"]", ">"}));
    EXPECT_EQ(c.numbers_accepted, 0);
    struct { const char* text; int result; const char* trace; } cases[] = {
        {"x x x", 0, "tok=x state=2\ntok=x state=1\ntok=x state=2\ntok= state=3\n"},
        {"* x", 3, "tok=* state=4\n"},
        {"x ? x", 5, "tok=x state=2\ntok=? state=4\n"},
        {"[ x >", 0, "tok=[tok=x state=2\ntok=> state=3\n state=2\ntok= state=3\n"},
    };
    for (auto& k : cases) {
        checked r = run_check(c, k.text);
        EXPECT_EQ(r.result, k.result) << '"' << k.text << '"';
        EXPECT_EQ(r.trace, k.trace) << '"' << k.text << '"';
    }
}

TEST(ExpressionsChecker, RecCheckLeavesTheRestAfterTheLevel)
{
    expressions_checker c;
    declare_sums(c);
    int depth = 1, error = 0, position = 10;
    testing::internal::CaptureStderr();
    std::string rest = c.rec_check("a + b ) + a", &depth, &error, &position);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "tok=a state=2\ntok=+ state=1\ntok=b state=2\ntok=) state=3\n");
    EXPECT_EQ(rest, " + a");
    EXPECT_EQ(depth, 0);
    EXPECT_EQ(error, 0);
    EXPECT_EQ(position, 16);
}

TEST(ExpressionsChecker, DeepNestingRunsInConstantStack)
{
    const int n = 100000;
    std::string closed;
    for (int i = 0; i < n; ++i) closed += "( ";
    closed += "a";
    for (int i = 0; i < n; ++i) closed += " )";
    expressions_checker c;
    declare_sums(c);
    checked r = run_check(c, closed);
    EXPECT_EQ(r.result, 0);
    EXPECT_EQ(r.trace.compare(0, 18, "tok=(tok=(tok=(tok"), 0);
    std::string tail = "tok=) state=3\n state=2\ntok= state=3\n";
    EXPECT_EQ(r.trace.compare(r.trace.size() - tail.size(), tail.size(), tail), 0);
    // left open: every opener counts two, the variable two
    std::string open;
    for (int i = 0; i < 1000; ++i) open += "( ";
    r = run_check(c, open + "a");
    EXPECT_EQ(r.result, 1 + 2 * 1000 + 2);
}

TEST(Stringtype, AlwaysTwo)
{
    EXPECT_EQ(Stringtype(""), 2);
    EXPECT_EQ(Stringtype("a + b"), 2);
    EXPECT_EQ(Stringtype("12"), 2);
}
