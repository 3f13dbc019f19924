// Numbers to text: decimal, letter-coded octal, binary, hexadecimal and fixed-point.
#include "utils/Stringpp.h"

#include <cstdint>

// The digits of v in the given base, most significant first, written with digits[0..base).
static std::string digits_of(unsigned long v, unsigned long base, const char* digits)
{
    std::string s;
    do {
        s.insert(s.begin(), digits[v % base]);
        v /= base;
    } while (v != 0);
    return s;
}

std::string unslong2S(unsigned long v)
{
    return digits_of(v, 10, "0123456789");
}

std::string long2S(long v)
{
    if (v < 0) return "-" + unslong2S(0UL - static_cast<unsigned long>(v));
    return unslong2S(static_cast<unsigned long>(v));
}

std::string unslongbyS(unsigned long v)
{
    return digits_of(v, 8, "ABCDEFGH");
}

std::string bin8toS(int v)
{
    std::string s;
    for (int k = 0; k < 8; ++k) {
        s.insert(s.begin(), (v & 1) ? '1' : '0');
        v >>= 1;
    }
    return s;
}

std::string hex1toS(int v)
{
    return std::string(1, "0123456789abcdef"[v & 15]);
}

std::string hex2toS(int v)
{
    return hex1toS(v >> 4) + hex1toS(v);
}

std::string hex4toS(int v)
{
    return hex2toS(v >> 8) + hex2toS(v);
}

std::string hex8toS(long v)
{
    std::int32_t w = static_cast<std::int32_t>(v); // the 32-bit value
    return hex4toS(w >> 16) + hex4toS(w);
}

std::string dtoS(double x, int n)
{
    std::string sign;
    if (x < 0) {
        sign = "-";
        x = -x;
    }
    // beyond 32 bits the integer part is not defined; clamping keeps the cast defined
    std::int32_t integer = (x < 2147483647.0) ? static_cast<std::int32_t>(x) : 2147483647;
    long long scale = 1;
    for (int k = 0; k < n && k < 18; ++k) scale *= 10; // past 9 decimals the text is not defined
    // the added 1 keeps the fraction's leading zeros as digits after a leading "1"
    long double g = (static_cast<long double>(x) - integer + 1) * scale;
    if (!(g >= 0 && g <= 2.0L * scale)) g = scale; // NaN or a clamped part: keeps the casts defined
    long long fraction = static_cast<long long>(g);
    if (g - fraction > 0.5L) ++fraction; // an exact half rounds down
    if (fraction == 2 * scale) {
        ++integer;
        fraction -= scale;
    }
    return sign + unslong2S(static_cast<unsigned long>(integer)) + "." + unslong2S(static_cast<unsigned long>(fraction)).substr(1);
}

std::string ctoS(char c)
{
    return std::string(1, c);
}
