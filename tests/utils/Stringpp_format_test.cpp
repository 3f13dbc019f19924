// Numbers to text.
#include <gtest/gtest.h>

#include "utils/Stringpp.h"

TEST(Format, DecimalAndLetterOctal)
{
    struct { unsigned long v; const char* dec; const char* oct; } cases[] = {
        {0, "0", "A"}, {7, "7", "H"}, {8, "8", "BA"}, {511, "511", "HHH"}, {4294967295UL, "4294967295", "DHHHHHHHHHH"},
    };
    for (auto& c : cases) {
        EXPECT_EQ(unslong2S(c.v), c.dec);
        EXPECT_EQ(unslongbyS(c.v), c.oct);
    }
    struct { long v; const char* text; } signed_cases[] = {
        {0, "0"}, {-7, "-7"}, {42, "42"}, {2147483647L, "2147483647"}, {-2147483647L - 1, "-2147483648"},
    };
    for (auto& c : signed_cases) EXPECT_EQ(long2S(c.v), c.text);
}

TEST(Format, BinaryAndHexadecimal)
{
    struct { int v; const char* bin; const char* h1; const char* h2; const char* h4; } cases[] = {
        {5, "00000101", "5", "05", "0005"},      {-1, "11111111", "f", "ff", "ffff"},
        {256, "00000000", "0", "00", "0100"},     {0x1234, "00110100", "4", "34", "1234"},
        {10, "00001010", "a", "0a", "000a"},      {0, "00000000", "0", "00", "0000"},
    };
    for (auto& c : cases) {
        EXPECT_EQ(bin8toS(c.v), c.bin) << c.v;
        EXPECT_EQ(hex1toS(c.v), c.h1) << c.v;
        EXPECT_EQ(hex2toS(c.v), c.h2) << c.v;
        EXPECT_EQ(hex4toS(c.v), c.h4) << c.v;
    }
    EXPECT_EQ(hex8toS(-1), "ffffffff");
    EXPECT_EQ(hex8toS(0x1234abcdL), "1234abcd");
    EXPECT_EQ(hex8toS(0), "00000000");
    EXPECT_EQ(hex8toS(-2147483647L - 1), "80000000");
}

TEST(Format, FixedPoint)
{
    struct { double x; int n; const char* text; } cases[] = {
        {3.14159, 2, "3.14"}, {-1.5, 1, "-1.5"}, {0.25, 1, "0.2"},  {0.999, 2, "1.00"},
        {5, 3, "5.000"},      {3.7, 0, "4."},    {3.2, 0, "3."},    {0.05, 3, "0.050"},
        {0, 2, "0.00"},       {-0.04, 1, "-0.0"}, {12.345678, 5, "12.34568"}, {1, -2, "1."},
    };
    for (auto& c : cases) EXPECT_EQ(dtoS(c.x, c.n), c.text) << c.x << " " << c.n;
}

TEST(Format, OneCharacter)
{
    EXPECT_EQ(ctoS('x'), "x");
    EXPECT_EQ(ctoS('\0'), std::string(1, '\0'));
}
