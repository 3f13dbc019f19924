// Substitutions, trimming and the RTF and LaTeX filters.
#include <gtest/gtest.h>

#include "utils/Stringpp.h"

TEST(Substitute, StringsCharactersTokens)
{
    struct { const char* text; const char* pattern; const char* by; const char* result; } strings[] = {
        {"aaa", "aa", "X", "Xa"}, {"abcabc", "bc", "", "aa"}, {"abc", "abcd", "X", "abc"},
        {"", "a", "X", ""},       {"abc", "", "X", "abc"},   {"a.b.c", ".", "::", "a::b::c"},
    };
    for (auto& c : strings) EXPECT_EQ(substitute_string(c.text, c.pattern, c.by), c.result) << c.text;
    struct { const char* text; const char* token; const char* by; const char* result; } tokens[] = {
        {"a+ab a", "a", "X", "X+ab X"}, {"aa", "a", "X", "aa"},     {"x_1+x", "x", "y", "x_1+y"},
        {"@a a", "a", "b", "@a b"},     {"a", "a", "", ""},         {"ab", "", "X", "ab"},
        {"(i)", "i", "j", "(j)"},
    };
    for (auto& c : tokens) EXPECT_EQ(substitute_token(c.text, c.token, c.by), c.result) << c.text;
    EXPECT_EQ(substitute_char("a.b.", '.', "->"), "a->b->");
    EXPECT_EQ(substitute_char("a.b.", '.', '_'), "a_b_");
    EXPECT_EQ(substitute_char("", '.', '_'), "");
}

TEST(Trim, DeleteEndsAndBlanks)
{
    EXPECT_EQ(bdelete("(abc)"), "abc");
    EXPECT_EQ(bdelete("ab"), "");
    EXPECT_EQ(bdelete(""), "");
    EXPECT_EQ(bdelete("abc"), "b");
    struct { const char* text; const char* trimmed; const char* clever; } cases[] = {
        {"  a b  c ", "a b  c", "a_b__c"}, {"   ", "", ""}, {"", "", ""}, {"\ta \t", "\ta \t", "\ta_\t"},
        {"x", "x", "x"},
    };
    for (auto& c : cases) {
        EXPECT_EQ(cancel_begin_end_spaces(c.text), c.trimmed) << c.text;
        EXPECT_EQ(clever_substitute_space(c.text, '_'), c.clever) << c.text;
    }
}

TEST(Filters, Latex)
{
    EXPECT_EQ(latex_String_filter("a_b_c"), R"(a\_b\_c)");
    EXPECT_EQ(latex_String_filter("$x&{}"), "$x&{}");
}

TEST(Filters, RtfTableInOrder)
{
    struct { const char* text; const char* rtf; } cases[] = {
        {"l'\xC3\xA9t\xC3\xA9", R"(l\'91\'e9t\'e9)"},
        {"#1", R"(\'231)"},
        {"{x}\\", "{x}\\"},
        {"\xE2\x80\x99", R"(\'27)"},
        {"\xC2\xAB" "a" "\xC2\xBB", R"(\'aba\'bb)"},
        {"1\xE2\x80\x93" "2", "1-2"},
        {"\xC3\x89\xC3\x88\xC3\x8A\xC3\x8B\xC3\x87", R"(\'c9\'c8\'ca\'cb\'c7)"},
        {"\xC3\xA8\xC3\xAA\xC3\xAB\xC3\xA7\xC3\xA0", R"(\'e8\'ea\'eb\'e7\'e0)"},
        {"\xC3\xB6\xC3\xB4\xC3\xAE\xC3\xAF", R"(\'f6\'f4\'ee\'ef)"},
        {"2\xC3\x97" "3", "2x3"},
        {"$5", R"(\'245)"},
        {"\xC3\xA2\xC3\xB9", "\xC3\xA2\xC3\xB9"},
        {"", ""},
    };
    for (auto& c : cases) EXPECT_EQ(rtf_String_filter(c.text), c.rtf) << c.text;
}
