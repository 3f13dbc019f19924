// Slices, records and tokens.
#include "utils/Stringpp.h"

std::string my_at(const std::string& s, int from, int to)
{
    if (from < 0) from = 0; // callers never pass one; a negative start counts from the front
    if (static_cast<std::string::size_type>(from) >= s.length() || to <= from) return "";
    return s.substr(static_cast<std::string::size_type>(from), static_cast<std::string::size_type>(to - from));
}

// Splits the copy s at position p (npos: no separator) into the result and rest.
static std::string split_at(const std::string& s, std::string::size_type p, std::string& rest)
{
    if (p == std::string::npos) {
        rest = "";
        return s;
    }
    rest = s.substr(p + 1);
    return s.substr(0, p);
}

std::string next_record(const std::string& s, char separator, std::string& rest)
{
    std::string copy(s); // rest may be s itself
    return split_at(copy, copy.find(separator), rest);
}

std::string next_record(const std::string& s, const char* separators, std::string& rest, char& found)
{
    std::string copy(s);
    found = ' ';
    for (std::string::size_type i = 0; i < copy.length(); ++i)
        for (const char* p = separators; p != nullptr && *p != '\0'; ++p)
            if (copy[i] == *p) {
                found = *p;
                return split_at(copy, i, rest);
            }
    return split_at(copy, std::string::npos, rest);
}

std::string last_record(const std::string& s, char separator, std::string& rest)
{
    std::string copy(s);
    return split_at(copy, copy.rfind(separator), rest);
}

std::string next_Stringtoken(std::string s, char separator, std::string* rest)
{
    std::string token;
    std::string::size_type i = 0;
    if (!s.empty()) {
        while (i + 1 < s.length() && s[i] == separator) ++i; // the last byte stays, separator or not
        std::string::size_type end = i + 1;
        if (est_lc(s[i]))
            while (end < s.length() && est_lc(s[end]) && s[end] != separator) ++end;
        token = s.substr(i, end - i);
        i = end;
    }
    if (rest != nullptr) *rest = s.substr(i);
    return token;
}

// The bytes after an occurrence that make it part of a longer word.
static bool is_word_byte(char c)
{
    unsigned char b = static_cast<unsigned char>(c);
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || b == 0xE0 ||
           b == 0xE2 || b == 0xE7 || b == 0xE8 || b == 0xE9 || b == 0xEA || b == 0xF4 || b == 0x8C;
}

int contains_token(std::string text, std::string token)
{
    std::string::size_type p = text.find(token);
    if (p == std::string::npos) return 0;
    std::string::size_type end = p + token.length();
    return end == text.length() || !is_word_byte(text[end]);
}
