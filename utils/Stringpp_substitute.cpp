// Substitutions, trimming and the RTF and LaTeX filters.
#include "utils/Stringpp.h"

std::string substitute_string(const std::string& s, const std::string& pattern, const std::string& replacement)
{
    if (pattern.empty()) return s;
    std::string r;
    std::string::size_type i = 0;
    while (i < s.length()) {
        if (s.compare(i, pattern.length(), pattern) == 0) {
            r += replacement;
            i += pattern.length();
        } else {
            r += s[i++];
        }
    }
    return r;
}

std::string substitute_char(const std::string& s, char c, const std::string& replacement)
{
    std::string r;
    for (char b : s) {
        if (b == c) r += replacement;
        else r += b;
    }
    return r;
}

std::string substitute_char(const std::string& s, char c1, char c2)
{
    return substitute_char(s, c1, std::string(1, c2));
}

std::string substitute_token(const std::string& s, const std::string& token, const std::string& replacement)
{
    if (token.empty()) return s;
    std::string r;
    std::string::size_type i = 0;
    while (i < s.length()) {
        std::string::size_type p = s.find(token, i);
        if (p == std::string::npos) break;
        std::string::size_type end = p + token.length();
        bool alone = (p == 0 || !est_lc(s[p - 1])) && (end == s.length() || !est_lc(s[end]));
        r += s.substr(i, p - i);
        r += alone ? replacement : token;
        i = end;
    }
    if (i < s.length()) r += s.substr(i);
    return r;
}

std::string bdelete(const std::string& s)
{
    if (s.length() <= 2) return "";
    return s.substr(1, s.length() - 2);
}

std::string cancel_begin_end_spaces(const std::string& s)
{
    std::string::size_type first = s.find_first_not_of(' ');
    if (first == std::string::npos) return "";
    return s.substr(first, s.find_last_not_of(' ') - first + 1);
}

std::string clever_substitute_space(const std::string& s, char c)
{
    return substitute_char(cancel_begin_end_spaces(s), ' ', c);
}

std::string latex_String_filter(const std::string& s)
{
    std::string r;
    append_latex_filtered(r, s);
    return r;
}

struct rtf_pass {
    const char* pattern;     // UTF-8 bytes
    const char* replacement; // RTF text
};

// Applied in this order: the apostrophe first, so the apostrophes written later stay.
static const rtf_pass rtf_table[] = {
    {"'", "\\'91"},
    {"\xE2\x80\x99", "\\'27"},
    {"\xC2\xAB", "\\'ab"},
    {"\xC2\xBB", "\\'bb"},
    {"\xE2\x80\x93", "-"},
    {"\xC3\x89", "\\'c9"},
    {"\xC3\x88", "\\'c8"},
    {"\xC3\x8A", "\\'ca"},
    {"\xC3\x8B", "\\'cb"},
    {"\xC3\x87", "\\'c7"},
    {"\xC3\xA9", "\\'e9"},
    {"\xC3\xA8", "\\'e8"},
    {"\xC3\xAA", "\\'ea"},
    {"\xC3\xAB", "\\'eb"},
    {"\xC3\xA7", "\\'e7"},
    {"\xC3\xA0", "\\'e0"},
    {"\xC3\xB6", "\\'f6"},
    {"\xC3\xB4", "\\'f4"},
    {"\xC3\xAE", "\\'ee"},
    {"\xC3\xAF", "\\'ef"},
    {"\xC3\x97", "x"},
    {"#", "\\'23"},
    {"$", "\\'24"},
};

std::string rtf_String_filter(const std::string& s)
{
    std::string r(s);
    for (const rtf_pass& p : rtf_table) r = substitute_string(r, p.pattern, p.replacement);
    return r;
}
