// Case mapping, with the single-byte and the UTF-8 accented capitals.
#include "utils/Stringpp.h"

std::string downcase(std::string s)
{
    std::string r;
    for (char c : s) r += (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
    return r;
}

static bool is_high(char c)
{
    return static_cast<unsigned char>(c) >= 0x80;
}

static char raised(char c)
{
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

std::string upcase(std::string s)
{
    std::string r;
    for (char c : s)
        if (!is_high(c)) r += raised(c);
    return r;
}

struct accent_capital {
    unsigned char byte;  // the accented letter (single byte, or the second byte after C3)
    char capital;        // what it becomes
};

// single ISO 8859-1 bytes
static const accent_capital single_byte_capitals[] = {
    {0xE0, 'A'}, {0xE2, 'A'}, {0xE7, 'C'}, {0xE8, 'E'}, {0xE9, 'E'}, {0xEA, 'E'}, {0xF4, 'O'}, {0x8C, 'I'},
};

// UTF-8 sequences C3 xx
static const accent_capital c3_capitals[] = {
    {0xA1, 'A'}, {0xA4, 'A'}, {0xA7, 'C'}, {0xA8, 'E'}, {0xA9, 'E'}, {0xAB, 'E'},
    {0xAD, 'I'}, {0xAE, 'I'}, {0xB4, 'O'}, {0xB6, 'O'},
};

// Appends the capital of byte c from the table, or nothing when the table lacks it.
template <int N> static void append_capital(std::string& r, const accent_capital (&table)[N], char c)
{
    for (const accent_capital& a : table)
        if (a.byte == static_cast<unsigned char>(c)) {
            r += a.capital;
            return;
        }
}

std::string upcase_accent(std::string s)
{
    std::string r;
    for (char c : s) {
        if (!is_high(c)) r += raised(c);
        else append_capital(r, single_byte_capitals, c);
    }
    return r;
}

std::string upcase_accent2(std::string s)
{
    std::string r;
    std::string::size_type i = 0;
    while (i < s.length()) {
        unsigned char c = static_cast<unsigned char>(s[i]);
        bool has_next = i + 1 < s.length();
        if (c < 0x80) {
            r += raised(s[i]);
            ++i;
        } else if (c == 0xC4 && has_next) {
            unsigned char next = static_cast<unsigned char>(s[i + 1]);
            if (next == 0xB1) r += 'I';
            i += (next == 0xC3) ? 1 : 2; // a following C3 leads a sequence of its own
        } else if (c == 0xC3 && has_next) {
            append_capital(r, c3_capitals, s[i + 1]);
            i += 2;
        } else {
            ++i; // any other high byte, or a lead byte ending the text, is dropped
        }
    }
    return r;
}
