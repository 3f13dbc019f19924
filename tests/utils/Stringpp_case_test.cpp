// Case mapping with the single-byte and UTF-8 accented letters.
#include <gtest/gtest.h>

#include "utils/Stringpp.h"

TEST(Case, AsciiAndDroppedHighBytes)
{
    struct { const char* text; const char* down; const char* up; } cases[] = {
        {"", "", ""},
        {"Ab_1z", "ab_1z", "AB_1Z"},
        {"\xC0" "B", "\xC0" "b", "B"},
        {"\xE9t\xE9", "\xE9t\xE9", "T"},
    };
    for (auto& c : cases) {
        EXPECT_EQ(downcase(c.text), c.down) << c.text;
        EXPECT_EQ(upcase(c.text), c.up) << c.text;
    }
}

TEST(Case, SingleByteAccentTable)
{
    struct { unsigned char byte; const char* capital; } rows[] = {
        {0xE0, "A"}, {0xE2, "A"}, {0xE7, "C"}, {0xE8, "E"}, {0xE9, "E"}, {0xEA, "E"}, {0xF4, "O"},
        {0x8C, "I"}, {0xE1, ""},  {0xC9, ""},  {0xFF, ""},  {0x80, ""},
    };
    for (auto& r : rows)
        EXPECT_EQ(upcase_accent(std::string("x") + static_cast<char>(r.byte) + "y"), std::string("X") + r.capital + "Y")
            << int(r.byte);
}

TEST(Case, Utf8AccentTable)
{
    struct { const char* text; const char* up; } cases[] = {
        {"\xC3\xA1", "A"}, {"\xC3\xA4", "A"}, {"\xC3\xA7", "C"}, {"\xC3\xA8", "E"}, {"\xC3\xA9", "E"},
        {"\xC3\xAB", "E"}, {"\xC3\xAD", "I"}, {"\xC3\xAE", "I"}, {"\xC3\xB4", "O"}, {"\xC3\xB6", "O"},
        {"\xC4\xB1", "I"},
        {"\xC3\xA0", ""},              // not in the table: both bytes dropped
        {"\xC4\xC3\xA9", "E"},         // C4 before C3 leaves C3 to lead
        {"\xC4\x80z", "Z"},            // C4 consumes any other byte
        {"ab\xC3", "AB"},              // lone lead byte at the end
        {"\xC4", ""},
        {"\xE9t\xC3\xA9", "TE"},       // a single-byte letter is dropped
        {"\xC3" "a", ""},              // C3 consumes even an ASCII byte
        {"l'\xC3\xA9t\xC3\xA9", "L'ETE"},
    };
    for (auto& c : cases) EXPECT_EQ(upcase_accent2(c.text), c.up) << c.text;
}
