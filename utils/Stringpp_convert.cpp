// Text to numbers: decimal, real, hexadecimal and base-2 parsers, and the new[] C copy.
#include "utils/Stringpp.h"

#include <cstdint>
#include <cstring>
#include <iostream>

// A byte as the parsers count it: a signed 8-bit value.
static int byte_value(char c)
{
    return static_cast<signed char>(c);
}

char* Stoa(const std::string& s)
{
    char* a = new char[s.length() + 1];
    std::memcpy(a, s.data(), s.length());
    a[s.length()] = '\0';
    return a;
}

// The decimal value in the unsigned type U, so the arithmetic wraps in U's width.
template <class U> static U decimal_value(const std::string& s)
{
    if (s.empty()) return 0;
    bool negative = (s[0] == '-');
    U value = negative ? 0 : static_cast<U>(byte_value(s[0]) - '0');
    for (std::string::size_type i = 1; i < s.length(); ++i)
        value = value * 10 + static_cast<U>(byte_value(s[i]) - '0');
    return negative ? static_cast<U>(0) - value : value;
}

int Stoi(std::string s)
{
    return static_cast<std::int32_t>(decimal_value<std::uint32_t>(s));
}

long Stol(std::string s)
{
    return static_cast<std::int32_t>(decimal_value<std::uint32_t>(s));
}

long long Stoll(std::string s)
{
    return static_cast<long long>(decimal_value<std::uint64_t>(s));
}

double Stod(std::string s, char separator)
{
    std::string::size_type i = 0;
    while (i < s.length() && s[i] == ' ') ++i;
    if (i == s.length()) return 0;
    double sign = 1;
    if (s[i] == '-') {
        sign = -1;
        if (++i == s.length()) return -0.0;
    }
    long double value = 0;
    std::uint32_t divisor = 0; // a 32-bit count of the decimals' scale; 0 until a separator
    for (; i < s.length(); ++i) {
        char b = s[i];
        if (b == separator) {
            divisor = 1;
        } else if (b >= '0' && b <= '9') {
            value = value * 10 + (b - '0');
            divisor *= 10;
        } else {
            break;
        }
    }
    std::int32_t d = static_cast<std::int32_t>(divisor);
    if (d >= 2) return static_cast<double>(sign * value / d);
    return static_cast<double>(sign * value);
}

int Stouhex(const std::string& s)
{
    std::uint32_t value = 0;
    for (char b : s) {
        value <<= 4;
        if (b >= '0' && b <= '9') value += static_cast<std::uint32_t>(b - '0');
        else if (b >= 'a' && b <= 'f') value += static_cast<std::uint32_t>(b - 'a' + 10);
        else if (b >= 'A' && b <= 'F') value += static_cast<std::uint32_t>(b - 'A' + 10);
    }
    return static_cast<std::int32_t>(value);
}

int Stoshex(const std::string& s)
{
    std::uint32_t value = static_cast<std::uint32_t>(Stouhex(s));
    if (!s.empty() && byte_value(s[0]) >= '8' && s.length() < 8)
        value -= static_cast<std::uint32_t>(1) << (4 * s.length());
    return static_cast<std::int32_t>(value);
}

// value * 2 + (b - '0') for the bytes of s from position first on, wrapping in 32 bits.
static std::uint32_t binary_value(const std::string& s, std::string::size_type first)
{
    std::uint32_t value = 0;
    for (std::string::size_type i = first; i < s.length(); ++i)
        value = value * 2 + static_cast<std::uint32_t>(byte_value(s[i]) - '0');
    return value;
}

int Stoubin(const std::string& s)
{
    return static_cast<std::int32_t>(binary_value(s, 0));
}

int Stosbin(const std::string& s)
{
    if (s.empty()) return 0;
    if (s[0] == '0') return static_cast<std::int32_t>(binary_value(s, 1));
    std::uint32_t complement = 0;
    for (std::string::size_type i = 1; i < s.length(); ++i)
        complement = complement * 2 + static_cast<std::uint32_t>('1' - byte_value(s[i]));
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(0) - complement - 1);
}

int Stoloruhex(const std::string& marker, const std::string& text)
{
    int p = find(text, marker);
    if (p >= 0) return Stouhex(my_after(text, p));
    return static_cast<int>(Stol(text));
}

int Stohex(const std::string& text, const std::string& marker)
{
    int p = find(text, marker);
    if (p >= 0) return Stouhex(my_before(text, p));
    int value = static_cast<int>(Stol(text));
    std::cerr << "Decimal Conversion " << value << std::endl;
    return value;
}
