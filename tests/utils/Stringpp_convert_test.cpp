// Decimal, real, hexadecimal and base-2 parsers.
#include <gtest/gtest.h>

#include <cmath>

#include "utils/Stringpp.h"

TEST(Stoa, CopiesBytesAndNul)
{
    std::string s("a\0b", 3);
    char* c = Stoa(s);
    EXPECT_EQ(std::string(c, 4), std::string("a\0b\0", 4));
    delete[] c;
    char* e = Stoa("");
    EXPECT_EQ(e[0], '\0');
    delete[] e;
}

TEST(Decimal, ParsesWithoutValidation)
{
    struct { const char* text; long long value; } cases[] = {
        {"", 0}, {"-", 0}, {"0", 0}, {"7", 7}, {"-12", -12}, {"12a", 169}, {"+5", -45},
        {"2147483647", 2147483647}, {"-2147483648", -2147483648LL},
    };
    for (auto& c : cases) {
        EXPECT_EQ(Stoi(c.text), c.value) << c.text;
        EXPECT_EQ(Stol(c.text), c.value) << c.text;
        EXPECT_EQ(Stoll(c.text), c.value) << c.text;
    }
    EXPECT_EQ(Stoi("2147483648"), -2147483647 - 1); // wraps in 32 bits
    EXPECT_EQ(Stol("2147483648"), -2147483647L - 1);
    EXPECT_EQ(Stol("4294967296"), 0);
    EXPECT_EQ(Stoll("2147483648"), 2147483648LL);
    EXPECT_EQ(Stoll("9223372036854775807"), 9223372036854775807LL);
    EXPECT_EQ(Stoi("1\xff"), 10 + (-1 - '0')); // a high byte counts as negative
}

TEST(Stod, SeparatorBlanksAndSign)
{
    struct { const char* text; char sep; double value; } cases[] = {
        {"", '.', 0},       {"   ", '.', 0},    {"  12.5", '.', 12.5}, {"12.", '.', 12},
        {"-.5", '.', -0.5}, {"12a5", '.', 12},  {"1.2.3", '.', 12.3},  {"3,25", ',', 3.25},
        {"3.25", ',', 3},   {"-7", '.', -7},    {"0.125", '.', 0.125}, {"\t1", '.', 0},
    };
    for (auto& c : cases) EXPECT_DOUBLE_EQ(Stod(c.text, c.sep), c.value) << c.text;
    double z = Stod("  -", '.');
    EXPECT_EQ(z, 0.0);
    EXPECT_TRUE(std::signbit(z));
}

TEST(Hexadecimal, UnsignedAndSigned)
{
    struct { const char* text; int u; int s; } cases[] = {
        {"", 0, 0},         {"F", 15, -1},          {"7F", 127, 127},   {"80", 128, -128},
        {"FFFF", 65535, -1}, {"8", 8, -8},          {"08", 8, 8},       {"1x2", 258, 258},
        {"ff", 255, -1},     {"FFFFFFFF", -1, -1},  {"80000000", -2147483647 - 1, -2147483647 - 1},
        {"123456789", 0x23456789, 0x23456789},
    };
    for (auto& c : cases) {
        EXPECT_EQ(Stouhex(c.text), c.u) << c.text;
        EXPECT_EQ(Stoshex(c.text), c.s) << c.text;
    }
}

TEST(Binary, UnsignedAndSigned)
{
    struct { const char* text; int u; int s; } cases[] = {
        {"", 0, 0}, {"0", 0, 0}, {"1", 1, -1}, {"11", 3, -1}, {"1011", 11, -5}, {"0101", 5, 5},
        {"10", 2, -2}, {"12", 4, 0},
    };
    for (auto& c : cases) {
        EXPECT_EQ(Stoubin(c.text), c.u) << c.text;
        EXPECT_EQ(Stosbin(c.text), c.s) << c.text;
    }
}

TEST(Markers, HexadecimalOrDecimal)
{
    EXPECT_EQ(Stoloruhex("0x", "0x1F"), 31);
    EXPECT_EQ(Stoloruhex("0x", "1F"), Stol("1F"));
    EXPECT_EQ(Stoloruhex("0x", "42"), 42);
    EXPECT_EQ(Stoloruhex("0x", "a0x10"), 16);
    testing::internal::CaptureStderr();
    EXPECT_EQ(Stohex("1Fh", "h"), 31);
    EXPECT_EQ(Stohex("FFh", "h"), 255);
    EXPECT_EQ(Stohex("h", "h"), 0);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
    testing::internal::CaptureStderr();
    EXPECT_EQ(Stohex("FF", "h"), 242);
    EXPECT_EQ(Stohex("-3", "h"), -3);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "Decimal Conversion 242\nDecimal Conversion -3\n");
}
