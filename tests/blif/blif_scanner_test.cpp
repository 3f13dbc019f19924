// The scanner: token streams of the edge cases, the newline mode, the echo, comments.
#include "tests/support/blif_reader_fixture.h"

namespace {

typedef std::vector<std::string> tokens;

struct scan_case {
    const char* what;   // the edge case
    const char* text;   // input
    tokens expected;    // token stream
    const char* echo;   // echoed characters
};

TEST(BlifScanner, TokenStreams)
{
    const scan_case cases[] = {
        {"names line", ".names a b c\n", {"names", "ident:a", "ident:b", "ident:c", "NL"}, ""},
        {"inputs line", ".inputs a b\n", {"inputs", "ident:a", "ident:b"}, ""},
        {"declaration lines", ".model m\n.inputs a\n.outputs y\n.latch d q 0\n.end\n",
         {"model", "ident:m", "inputs", "ident:a", "outputs", "ident:y", "latch", "ident:d", "ident:q", "0", "end"},
         ""},
        {"continuation", ".names a \\\n b c\n1-1 1\n",
         {"names", "ident:a", "ident:b", "ident:c", "NL", "1", "-", "1", "1", "NL"}, ""},
        {"continued inputs line", ".inputs a \\\n b\n.outputs y \\\n\\\n z\n",
         {"inputs", "ident:a", "ident:b", "outputs", "ident:y", "ident:z"}, ""},
        {"continued row", ".names a b x\n1 \\\n1 1\n", {"names", "ident:a", "ident:b", "ident:x", "NL", "1", "1", "1", "NL"},
         ""},
        {"empty line after a row", ".names a x\n1 1\n\n.end\n",
         {"names", "ident:a", "ident:x", "NL", "1", "1", "NL", "end"}, ""},
        {"line of blanks after a row", ".names a x\n1 1\n \n.end\n",
         {"names", "ident:a", "ident:x", "NL", "1", "1", "NL", "NL", "end"}, ""},
        {"comment behind a row", ".names a x\n1 1 # c\n0 0\n",
         {"names", "ident:a", "ident:x", "NL", "1", "1", "0", "0", "NL"}, ""},
        {"comment on its own line", "# head .names\n.model m # name\n", {"model", "ident:m"}, ""},
        {"keyword prefix", ".names1", {"names", "1"}, ""},
        {"upper-case keyword", ".MODEL", {"ident:MODEL"}, "."},
        {"dot inside a name", "n.1", {"ident:n", "1"}, "."},
        {"values without blanks", "01", {"0", "1"}, ""},
        {"one identifier", "a_1@x", {"ident:a_1@x"}, ""},
        {"digit before a name", "3x", {"ident:x"}, "3"},
        {"brackets and equals", "a[2]=b", {"ident:a", "ident:b"}, "[2]="},
        {"bytes above 127", "\xe9t\xc3\xa9", {"ident:t"}, "\xe9\xc3\xa9"},
        {"carriage returns", ".names a x\r\n1 1\r\n\r\n",
         {"names", "ident:a", "ident:x", "NL", "1", "1", "NL", "NL"}, "\r\r\r"},
        {"first line ends of the file", "\n\n\n.model m\n", {"model", "ident:m"}, ""},
        {"first line end after a declaration", ".inputs a\n \n.end", {"inputs", "ident:a", "NL", "end"}, ""},
        {"tab separators", ".latch\td\tq\t1\n", {"latch", "ident:d", "ident:q", "1"}, ""},
        {"comment at the end of input", ".end # no line end", {"end"}, ""},
    };
    for (const scan_case& c : cases) {
        std::string echo;
        EXPECT_EQ(scan(c.text, &echo), c.expected) << c.what;
        EXPECT_EQ(echo, c.echo) << c.what;
    }
}

// A keyword cut short is its dot, echoed, then what follows read again.
TEST(BlifScanner, KeywordsCutShort)
{
    const scan_case cases[] = {
        {"model", ".mod x\n", {"ident:mod", "ident:x"}, "."},
        {"inputs at the end", ".inpu", {"ident:inpu"}, "."},
        {"outputs before a digit", ".output7", {"ident:output7"}, "."},
        {"latch before a blank and a value", ".latc 1", {"ident:latc", "1"}, "."},
        {"names", ".nam\n", {"ident:nam"}, "."},
        {"end", ".e", {"ident:e"}, "."},
        {"two dots", "..end", {"end"}, "."},
        {"longer than a keyword", ".endx .names", {"end", "ident:x", "names"}, ""},
    };
    for (const scan_case& c : cases) {
        std::string echo;
        EXPECT_EQ(scan(c.text, &echo), c.expected) << c.what;
        EXPECT_EQ(echo, c.echo) << c.what;
    }
}

TEST(BlifScanner, TokenCodes)
{
    EXPECT_EQ(TOKEN_NL, 258);
    EXPECT_EQ(TOKEN_model, 259);
    EXPECT_EQ(TOKEN_inputs, 260);
    EXPECT_EQ(TOKEN_outputs, 261);
    EXPECT_EQ(TOKEN_latch, 262);
    EXPECT_EQ(TOKEN_names, 263);
    EXPECT_EQ(TOKEN_end, 264);
    EXPECT_EQ(TOKEN_ZERO, 265);
    EXPECT_EQ(TOKEN_ONE, 266);
    EXPECT_EQ(TOKEN_indif, 267);
    EXPECT_EQ(TOKEN_ident, 268);
}

// The mode is global and kept between scanners: nothing resets it but the rules.
TEST(BlifScanner, NewlineModeIsKeptBetweenCalls)
{
    lex_blif_newline_mode = 1;
    std::istringstream in("\n.inputs a\n\n");
    std::ostringstream out;
    blifFlexLexer lexer(&in, &out);
    EXPECT_EQ(lexer.yylex(), TOKEN_NL);
    EXPECT_EQ(lexer.yylex(), TOKEN_inputs);
    EXPECT_EQ(lexer.yylex(), TOKEN_ident);
    EXPECT_EQ(lex_blif_newline_mode, 0);
    EXPECT_EQ(lexer.yylex(), 0); // the run after the line is swallowed
    EXPECT_EQ(lex_blif_newline_mode, 1);
    EXPECT_EQ(lexer.yylex(), 0);
}

// A backslash on a declaration line swallows the line end after it and keeps the one of the line.
TEST(BlifScanner, BackslashModes)
{
    const int cases[][2] = {{1, 0}, {0, 2}, {2, 2}};
    for (const auto& c : cases) {
        lex_blif_newline_mode = c[0];
        std::istringstream in("\\");
        std::ostringstream out;
        blifFlexLexer lexer(&in, &out);
        EXPECT_EQ(lexer.yylex(), 0);
        EXPECT_EQ(lex_blif_newline_mode, c[1]) << c[0];
    }
}

TEST(BlifScanner, ContextSetsTheModeAsTheKeywords)
{
    const int cases[][3] = {
        // mode before, token, mode after
        {1, TOKEN_model, 0},  {1, TOKEN_inputs, 0}, {1, TOKEN_outputs, 0}, {1, TOKEN_latch, 0},
        {0, TOKEN_names, 1},  {1, TOKEN_end, 0},    {0, TOKEN_ident, 0},   {1, TOKEN_NL, 1},
        {1, TOKEN_ZERO, 1},   {0, 0, 0},
    };
    for (const auto& c : cases) {
        lex_blif_newline_mode = c[0];
        blif_context(c[1]);
        EXPECT_EQ(lex_blif_newline_mode, c[2]) << c[1];
    }
    EXPECT_EQ(blifwrap(), 1);
}

TEST(BlifScanner, RestartReadsTheStreamAgain)
{
    lex_blif_newline_mode = 0;
    std::istringstream first(".end");
    std::istringstream second(".model");
    std::ostringstream out;
    blifFlexLexer lexer(&first, &out);
    lexer.yyrestart(&second);
    EXPECT_EQ(lexer.yylex(), TOKEN_model);
    EXPECT_EQ(lexer.yylex(), 0);
    EXPECT_EQ(lexer.yywrap(), 1);
}

TEST(BlifScanner, SwitchStreamsChangesTheEcho)
{
    lex_blif_newline_mode = 0;
    std::istringstream in("=");
    std::ostringstream first, second;
    blifFlexLexer lexer(&in, &first);
    lexer.switch_streams(nullptr, &second);
    EXPECT_EQ(lexer.yylex(), 0);
    EXPECT_EQ(first.str(), "");
    EXPECT_EQ(second.str(), "=");
}

// The scanner with its error report made reachable.
class open_lexer : public blifFlexLexer {
public:
    using blifFlexLexer::blifFlexLexer;
    using blifFlexLexer::LexerError;
};

TEST(BlifScannerDeathTest, LexerErrorEndsWithStatusTwo)
{
    std::istringstream in("");
    std::ostringstream out;
    open_lexer lexer(&in, &out);
    EXPECT_EXIT(lexer.LexerError("scanner failure"), testing::ExitedWithCode(2), "^scanner failure\n$");
}

// A long text goes through several refills of the buffer with the same tokens.
TEST(BlifScanner, LongInputsKeepTheirTokens)
{
    std::string text = ".names a x\n";
    for (int i = 0; i < 20000; ++i) text += "1 1\n";
    std::vector<std::string> t = scan(text);
    ASSERT_EQ(t.size(), 4u + 3u * 20000u);
    EXPECT_EQ(t.back(), "NL");
    EXPECT_EQ(t[t.size() - 2], "1");
}

} // namespace
