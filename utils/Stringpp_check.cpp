// Substring primitives, lexical checks and searches.
#include "utils/Stringpp.h"

#include <iostream>

std::string my_after(const std::string& s, int p)
{
    if (p < 0) return s; // callers pass 0 or more; a negative position keeps the whole text
    if (static_cast<std::string::size_type>(p) >= s.length()) return "";
    return s.substr(static_cast<std::string::size_type>(p));
}

std::string my_before(std::string s, int n)
{
    if (n <= 0) return "";
    if (static_cast<std::string::size_type>(n) >= s.length()) return s;
    return s.substr(0, static_cast<std::string::size_type>(n));
}

static bool is_digit(char c)
{
    return c >= '0' && c <= '9';
}

static bool is_letter(char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

static bool is_hex_digit(char c)
{
    return is_digit(c) || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

// 1 when every byte of s from position first up to, not including, end passes the test.
static int all_bytes(const std::string& s, std::string::size_type first, std::string::size_type end,
                     bool (*test)(char))
{
    for (std::string::size_type i = first; i < end; ++i)
        if (!test(s[i])) return 0;
    return 1;
}

int checkuint(const std::string& s)
{
    return !s.empty() && all_bytes(s, 0, s.length(), is_digit);
}

int checkint(const std::string& s)
{
    if (s.empty()) return 0;
    if (s[0] == '-') return checkuint(s.substr(1));
    return checkuint(s);
}

int beginbynumber(const std::string& s)
{
    return !s.empty() && is_digit(s[0]);
}

int checkdouble(const std::string&)
{
    std::cerr << "checkdouble() a ecrire" << std::endl;
    return 1;
}

int checkhex(const std::string& s)
{
    return all_bytes(s, 0, s.length(), is_hex_digit);
}

static bool is_bin_digit(char c)
{
    return c == '0' || c == '1';
}

int checkbin(const std::string& s)
{
    return all_bytes(s, 0, s.length(), is_bin_digit);
}

int checkhexintel(const std::string& s)
{
    return !s.empty() && s[s.length() - 1] == 'h' && all_bytes(s, 0, s.length() - 1, is_hex_digit);
}

static bool is_alnum(char c)
{
    return is_letter(c) || is_digit(c);
}

static bool is_alnum_or_underscore(char c)
{
    return is_alnum(c) || c == '_';
}

// An identifier whose first byte passes first_ok: last byte a letter or digit, letters, digits
// and '_' between.
static int identifier(const std::string& s, bool (*first_ok)(char))
{
    if (s.empty() || !first_ok(s[0]) || !is_alnum(s[s.length() - 1])) return 0;
    return s.length() < 2 || all_bytes(s, 1, s.length() - 1, is_alnum_or_underscore);
}

static bool is_letter_or_underscore(char c)
{
    return is_letter(c) || c == '_';
}

int checkvarname(const std::string& s)
{
    return identifier(s, is_letter);
}

int checkvarname_with_pre_underscore(const std::string& s)
{
    return identifier(s, is_letter_or_underscore);
}

bool est_lc(char c)
{
    return is_alnum_or_underscore(c) || c == '@';
}

bool check_ISO_8859_1_alphabetical_letter(char c)
{
    unsigned char b = static_cast<unsigned char>(c);
    return is_letter(c) || b == 0xB5 || (b >= 0xC0 && b <= 0xD6) || (b >= 0xD9 && b <= 0xF6) ||
           (b >= 0xF9 && b <= 0xFD) || b == 0xFF;
}

int contains(std::string text, std::string pattern)
{
    return text.find(pattern) != std::string::npos;
}

int find(std::string text, std::string pattern)
{
    std::string::size_type p = text.find(pattern);
    return p == std::string::npos ? -1 : static_cast<int>(p);
}

int char_occurences(const std::string& s, char c)
{
    int n = 0;
    for (char b : s)
        if (b == c) ++n;
    return n;
}
