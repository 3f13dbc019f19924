// Substring primitives, lexical checks and searches.
#include <gtest/gtest.h>

#include "utils/Stringpp.h"

TEST(AfterBefore, PositionsAtAndPastTheEnd)
{
    struct { const char* text; int p; const char* after; const char* before; } cases[] = {
        {"abc", 0, "abc", ""},  {"abc", 1, "bc", "a"}, {"abc", 3, "", "abc"},
        {"abc", 9, "", "abc"},  {"", 0, "", ""},       {"abc", 2, "c", "ab"},
    };
    for (auto& c : cases) {
        EXPECT_EQ(my_after(c.text, c.p), c.after) << c.text << " " << c.p;
        EXPECT_EQ(my_before(c.text, c.p), c.before) << c.text << " " << c.p;
    }
    EXPECT_EQ(my_before("abc", -2), "");
}

// A check and, per text, its expected value.
struct check_case {
    const char* text;
    int uint, sint, begin, hex, bin, intel, var, var_pre;
};

TEST(Checks, LexicalClasses)
{
    const check_case cases[] = {
        //  text     uint int beg hex bin intel var pre
        {"",          0,  0,  0,  1,  1,  0,    0,  0},
        {"0",         1,  1,  1,  1,  1,  0,    0,  0},
        {"123",       1,  1,  1,  1,  0,  0,    0,  0},
        {"-12",       0,  1,  0,  0,  0,  0,    0,  0},
        {"-",         0,  0,  0,  0,  0,  0,    0,  0},
        {"+1",        0,  0,  0,  0,  0,  0,    0,  0},
        {"1a",        0,  0,  1,  1,  0,  0,    0,  0},
        {"aF09",      0,  0,  0,  1,  0,  0,    1,  1},
        {"0FFh",      0,  0,  1,  0,  0,  1,    0,  0},
        {"h",         0,  0,  0,  0,  0,  1,    1,  1},
        {"FF",        0,  0,  0,  1,  0,  0,    1,  1},
        {"g",         0,  0,  0,  0,  0,  0,    1,  1},
        {"a",         0,  0,  0,  1,  0,  0,    1,  1},
        {"a1",        0,  0,  0,  1,  0,  0,    1,  1},
        {"a_b",       0,  0,  0,  0,  0,  0,    1,  1},
        {"a_",        0,  0,  0,  0,  0,  0,    0,  0},
        {"_a",        0,  0,  0,  0,  0,  0,    0,  1},
        {"__a",       0,  0,  0,  0,  0,  0,    0,  1},
        {"_",         0,  0,  0,  0,  0,  0,    0,  0},
        {"a-b",       0,  0,  0,  0,  0,  0,    0,  0},
        {"101",       1,  1,  1,  1,  1,  0,    0,  0},
        {"-1a",       0,  0,  0,  0,  0,  0,    0,  0},
    };
    for (const check_case& c : cases) {
        EXPECT_EQ(checkuint(c.text), c.uint) << c.text;
        EXPECT_EQ(checkint(c.text), c.sint) << c.text;
        EXPECT_EQ(beginbynumber(c.text), c.begin) << c.text;
        EXPECT_EQ(checkhex(c.text), c.hex) << c.text;
        EXPECT_EQ(checkbin(c.text), c.bin) << c.text;
        EXPECT_EQ(checkhexintel(c.text), c.intel) << c.text;
        EXPECT_EQ(checkvarname(c.text), c.var) << c.text;
        EXPECT_EQ(checkvarname_with_pre_underscore(c.text), c.var_pre) << c.text;
    }
}

TEST(Checks, DoubleIsUnwritten)
{
    testing::internal::CaptureStderr();
    EXPECT_EQ(checkdouble("x"), 1);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "checkdouble() a ecrire\n");
}

TEST(Characters, IdentifierBytesAndIsoLetters)
{
    std::string lc;
    std::string iso;
    for (int b = 1; b < 256; ++b) {
        char c = static_cast<char>(b);
        if (est_lc(c)) lc += c;
        if (check_ISO_8859_1_alphabetical_letter(c)) iso += c;
    }
    EXPECT_EQ(lc, "0123456789@ABCDEFGHIJKLMNOPQRSTUVWXYZ_abcdefghijklmnopqrstuvwxyz");
    std::string expected = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz\xB5";
    for (int b = 0xC0; b <= 0xFF; ++b)
        if (b != 0xD7 && b != 0xD8 && b != 0xF7 && b != 0xF8 && b != 0xFE) expected += static_cast<char>(b);
    EXPECT_EQ(iso, expected);
}

TEST(Searches, ContainsFindOccurrences)
{
    struct { const char* text; const char* pattern; int contains; int find; } cases[] = {
        {"abcabc", "ca", 1, 2}, {"abc", "", 1, 0}, {"", "", 1, 0}, {"", "a", 0, -1},
        {"abc", "abcd", 0, -1}, {"abc", "c", 1, 2}, {"aXa", "x", 0, -1},
    };
    for (auto& c : cases) {
        EXPECT_EQ(contains(c.text, c.pattern), c.contains) << c.text << "|" << c.pattern;
        EXPECT_EQ(find(c.text, c.pattern), c.find) << c.text << "|" << c.pattern;
    }
    EXPECT_EQ(char_occurences("((a)(b))", '('), 3);
    EXPECT_EQ(char_occurences("", '('), 0);
    EXPECT_EQ(char_occurences(std::string("a\0\0", 3), '\0'), 2);
}
