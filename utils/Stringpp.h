// Free functions over byte strings: conversions, checks, formatting, case mapping, slicing,
// records and tokens, substitutions, RTF and LaTeX escaping, paths.
#ifndef NELVOR_STRINGPP_H
#define NELVOR_STRINGPP_H

#include <string>
#include <string_view>

// ---- conversions (no validation, no report) ----
char* Stoa(const std::string& s);          // new[] NUL-terminated copy, owned by the caller
int Stoi(std::string s);                   // decimal, 32-bit wrap
long Stol(std::string s);                  // decimal, 32-bit wrap
long long Stoll(std::string s);            // decimal, 64-bit wrap
double Stod(std::string s, char separator);
int Stouhex(const std::string& s);
int Stoshex(const std::string& s);
int Stoubin(const std::string& s);
int Stosbin(const std::string& s);
int Stoloruhex(const std::string& marker, const std::string& text);
int Stohex(const std::string& text, const std::string& marker); // traces a decimal conversion

// ---- substrings (0-based positions) ----
std::string my_after(const std::string& s, int p);
std::string my_before(std::string s, int n);

// ---- checks and searches (truth values 1 and 0) ----
int checkuint(const std::string& s);
int checkint(const std::string& s);
int beginbynumber(const std::string& s);
int checkdouble(const std::string& s);
int checkhex(const std::string& s);
int checkbin(const std::string& s);
int checkhexintel(const std::string& s);
int checkvarname(const std::string& s);
int checkvarname_with_pre_underscore(const std::string& s);
bool est_lc(char c);
bool check_ISO_8859_1_alphabetical_letter(char c);
int contains(std::string text, std::string pattern);
int find(std::string text, std::string pattern); // -1 when absent
int char_occurences(const std::string& s, char c);

// ---- number formatting ----
std::string unslong2S(unsigned long v);
std::string long2S(long v);
std::string unslongbyS(unsigned long v);
std::string bin8toS(int v);
std::string hex1toS(int v);
std::string hex2toS(int v);
std::string hex4toS(int v);
std::string hex8toS(long v);
std::string dtoS(double x, int n);
std::string ctoS(char c);

// ---- case mapping ----
std::string downcase(std::string s);
std::string upcase(std::string s);
std::string upcase_accent(std::string s);  // single-byte accented letters
std::string upcase_accent2(std::string s); // UTF-8 accented letters

// ---- slicing, records and tokens ----
std::string my_at(const std::string& s, int from, int to);
std::string next_record(const std::string& s, char separator, std::string& rest);
std::string next_record(const std::string& s, const char* separators, std::string& rest, char& found);
std::string last_record(const std::string& s, char separator, std::string& rest);
std::string next_Stringtoken(std::string s, char separator, std::string* rest);
int contains_token(std::string text, std::string token);

// ---- substitution and trimming ----
std::string substitute_string(const std::string& s, const std::string& pattern, const std::string& replacement);
std::string substitute_char(const std::string& s, char c, const std::string& replacement);
std::string substitute_char(const std::string& s, char c1, char c2);
std::string substitute_token(const std::string& s, const std::string& token, const std::string& replacement);
std::string bdelete(const std::string& s);
std::string cancel_begin_end_spaces(const std::string& s);
std::string clever_substitute_space(const std::string& s, char c);

// ---- escaping filters ----
std::string latex_String_filter(const std::string& s);
// latex_String_filter(s) appended to out (a std::string, or any text taking += of a view).
template <class Text> void append_latex_filtered(Text& out, std::string_view s)
{
    for (std::string_view::size_type from = 0;;) {
        const std::string_view::size_type u = s.find('_', from);
        out += s.substr(from, u == std::string_view::npos ? std::string_view::npos : u - from);
        if (u == std::string_view::npos) return;
        out += "\\_";
        from = u + 1;
    }
}
std::string rtf_String_filter(const std::string& s);

// ---- paths ('/' separates directories) ----
std::string supress_filename_extension(const std::string& path);
std::string my_current_directory();
std::string relative_directory_path(const std::string& path, const std::string& base); // traces on stderr

#endif
