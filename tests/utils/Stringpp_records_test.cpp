// Slices, records and tokens.
#include <gtest/gtest.h>

#include "utils/Stringpp.h"

TEST(MyAt, CutAtTheEnd)
{
    struct { const char* text; int from, to; const char* slice; } cases[] = {
        {"abcdef", 2, 4, "cd"}, {"abcdef", 4, 99, "ef"}, {"abcdef", 6, 9, ""}, {"abcdef", 3, 3, ""},
        {"abcdef", 4, 2, ""},   {"abcdef", 0, 1, "a"},   {"", 0, 5, ""},
    };
    for (auto& c : cases) EXPECT_EQ(my_at(c.text, c.from, c.to), c.slice) << c.text << c.from << c.to;
}

TEST(Records, OneSeparatorFirstAndLast)
{
    struct { const char* text; char sep; const char* next; const char* next_rest; const char* last; const char* last_rest; } cases[] = {
        {"a,b,c", ',', "a", "b,c", "a,b", "c"},
        {"abc,", ',', "abc", "", "abc", ""},
        {",abc", ',', "", "abc", "", "abc"},
        {"abc", ',', "abc", "", "abc", ""},
        {"", ',', "", "", "", ""},
        {"a/b/c", '/', "a", "b/c", "a/b", "c"},
        {"/abc", '/', "", "abc", "", "abc"},
    };
    for (auto& c : cases) {
        std::string rest = "old";
        EXPECT_EQ(next_record(c.text, c.sep, rest), c.next) << c.text;
        EXPECT_EQ(rest, c.next_rest) << c.text;
        EXPECT_EQ(last_record(c.text, c.sep, rest), c.last) << c.text;
        EXPECT_EQ(rest, c.last_rest) << c.text;
    }
}

TEST(Records, RestMayBeTheInput)
{
    std::string text = "x;y;z";
    std::string pieces;
    while (!text.empty()) pieces += "[" + next_record(text, ';', text) + "]";
    EXPECT_EQ(pieces, "[x][y][z]");
}

TEST(Records, SetOfSeparators)
{
    struct { const char* text; const char* seps; const char* record; const char* rest; char found; } cases[] = {
        {"ab;c,d", ",;", "ab", "c,d", ';'},
        {"ab,c;d", ";,", "ab", "c;d", ','},
        {"abc", ",;", "abc", "", ' '},
        {"", ",;", "", "", ' '},
        {"ab", "", "ab", "", ' '},
    };
    for (auto& c : cases) {
        std::string rest = "old";
        char found = 'q';
        EXPECT_EQ(next_record(c.text, c.seps, rest, found), c.record) << c.text;
        EXPECT_EQ(rest, c.rest) << c.text;
        EXPECT_EQ(found, c.found) << c.text;
    }
}

TEST(Tokens, NextStringtoken)
{
    struct { const char* text; char sep; const char* token; const char* rest; } cases[] = {
        {"  ab+c", ' ', "ab", "+c"}, {"+c", ' ', "+", "c"},      {"x_1 y", ' ', "x_1", " y"},
        {"   ", ' ', " ", ""},       {"", ' ', "", ""},          {"abc", ' ', "abc", ""},
        {"a@b(c", ' ', "a@b", "(c"}, {"a_b", '_', "a", "_b"},     {"__a", '_', "a", ""},
        {"((", ' ', "(", "("},       {" \xE9x", ' ', "\xE9", "x"},
    };
    for (auto& c : cases) {
        std::string rest = "old";
        EXPECT_EQ(next_Stringtoken(c.text, c.sep, &rest), c.token) << c.text;
        EXPECT_EQ(rest, c.rest) << c.text;
    }
    std::string text = "a and (b)";
    std::string tokens;
    while (!text.empty()) tokens += "[" + next_Stringtoken(text, ' ', &text) + "]";
    EXPECT_EQ(tokens, "[a][and][(][b][)]");
}

TEST(Tokens, ContainsToken)
{
    struct { const char* text; const char* token; int result; } cases[] = {
        {"abc ab", "ab", 0}, {"x ab", "ab", 1}, {"abc", "bc", 1}, {"ab_", "ab", 1}, {"ab@", "ab", 1},
        {"ab\xE9", "ab", 0}, {"ab\x8C", "ab", 0}, {"ab\xE1", "ab", 1}, {"", "ab", 0}, {"ab+", "ab", 1},
    };
    for (auto& c : cases) EXPECT_EQ(contains_token(c.text, c.token), c.result) << c.text;
}
