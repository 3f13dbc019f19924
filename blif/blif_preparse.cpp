// The pre-pass: the signal classes of a BLIF file, read as words, and the declarations built from them.
#include <algorithm>
#include <cstring>
#include <fstream>
#include <iostream>
#include <set>
#include <string_view>
#include <unordered_set>
#include <vector>

#include "blif/blif_parser.h"
#include "utils/list_templates.h"
#include "utils/name_hash.h"

namespace {

// Character classes, as bits of one table entry per byte.
enum : unsigned char {
    blank_class = 1,
    name_start_class = 2,
    name_char_class = 4,
    word_end_class = 8,  // a blank or "#"
    backslash_class = 16,
};

struct character_classes {
    unsigned char of[256];
    constexpr character_classes() : of()
    {
        for (int ch = 0; ch < 256; ++ch)
            if (ch == ' ' || ch == '\t' || ch == '\n' || ch == '\v' || ch == '\f' || ch == '\r')
                of[ch] = blank_class | word_end_class;
            else if (ch == '#')
                of[ch] = word_end_class;
            else if (ch == '\\')
                of[ch] = backslash_class;
            else if ((ch >= 'A' && ch <= 'Z') || (ch >= 'a' && ch <= 'z') || ch == '_' || ch == '@')
                of[ch] = name_start_class | name_char_class;
            else if (ch >= '0' && ch <= '9')
                of[ch] = name_char_class;
    }
};

constexpr character_classes classes_of_bytes;

bool blank(char ch)
{
    return (classes_of_bytes.of[static_cast<unsigned char>(ch)] & blank_class) != 0;
}

// The hash of a name.
struct name_hash {
    size_t operator()(std::string_view s) const { return static_cast<size_t>(name_hash_of(s.data(), s.size())); }
};

// The words of a BLIF text, read whole into one buffer: white-space separated, without comments
// (a "#" ends the line); a lone backslash gives the word after it (that one is not checked
// again). A backslash glued to other characters is a line continuation for the scanner, not a
// part of a name: the word is cut there. Words are views into the buffer.
class blif_words {
public:
    explicit blif_words(std::istream& in)
    {
        // a stream that can seek tells its length first, so that the text is allocated once
        const std::streampos here = in.tellg(); // -1 unless the stream is good
        if (here != std::streampos(-1)) {
            in.seekg(0, std::ios::end);
            const std::streampos last = in.tellg();
            in.clear();
            in.seekg(here);
            if (last != std::streampos(-1) && last > here) text_.reserve(static_cast<size_t>(last - here));
        }
        char chunk[1 << 16];
        while (in.read(chunk, sizeof chunk) || in.gcount() > 0) text_.append(chunk, static_cast<size_t>(in.gcount()));
        at_ = text_.data();
        end_ = at_ + text_.size();
    }

    size_t size() const { return text_.size(); }

    // Whether the last word given is a whole name: a letter, "_" or "@", then letters, digits,
    // "_" and "@".
    bool is_name() const { return is_name_; }

    bool next(std::string_view& word)
    {
        if (!raw(word)) return false;
        if (word == "\\") return raw(word);
        return true;
    }

private:
    std::string text_;     // the whole text
    const char* at_;       // first character not read yet
    const char* end_;      // end of the text
    std::string_view rest_; // the rest of a word cut at its backslashes
    bool is_name_ = false;  // see is_name()

    bool raw(std::string_view& word)
    {
        for (;;) {
            // the next part of a word cut at its backslashes
            while (!rest_.empty()) {
                size_t cut = rest_.find('\\');
                std::string_view part = rest_.substr(0, cut);
                rest_ = cut == std::string_view::npos ? std::string_view() : rest_.substr(cut + 1);
                if (!part.empty()) {
                    word = part;
                    is_name_ = false; // not known: checked in full
                    return true;
                }
            }
            std::string_view w;
            bool backslash = false;
            if (!whole(w, backslash)) return false;
            if (w.size() == 1 || !backslash) {
                word = w;
                return true;
            }
            rest_ = w;
        }
    }

    // The next white-space separated word of the text, comments cut off; backslash tells whether
    // it holds one.
    bool whole(std::string_view& word, bool& backslash)
    {
        const char* p = at_;
        for (;;) {
            while (p != end_ && blank(*p)) ++p;
            if (p == end_) {
                at_ = p;
                return false;
            }
            if (*p != '#') break;
            while (p != end_ && *p != '\n') ++p;
        }
        const char* b = p;
        unsigned char seen = 0, every = 0xFF; // the classes of some and of every byte of the word
        while (p != end_) {
            unsigned char c = classes_of_bytes.of[static_cast<unsigned char>(*p)];
            if (c & word_end_class) break;
            seen |= c;
            every &= c;
            ++p;
        }
        backslash = (seen & backslash_class) != 0;
        is_name_ = (classes_of_bytes.of[static_cast<unsigned char>(*b)] & name_start_class) != 0 &&
                   (every & name_char_class) != 0;
        word = std::string_view(b, static_cast<size_t>(p - b));
        at_ = p;
        return true;
    }
};

// The classes of the names, as bits, by name: an open-addressing table of views into the text.
class name_classes {
public:
    explicit name_classes(size_t expected)
    {
        size_t capacity = 64;
        while (capacity < 2 * expected) capacity *= 2;
        slots_.resize(capacity);
    }

    // The bits of w, 0 for a name not met yet (which is added). w must not be empty.
    unsigned char& operator[](std::string_view w)
    {
        if (2 * (count_ + 1) > slots_.size()) grow();
        const size_t mask = slots_.size() - 1;
        for (size_t i = name_hash()(w) & mask;; i = (i + 1) & mask) {
            slot& s = slots_[i];
            if (s.text == nullptr) {
                s.text = w.data();
                s.length = static_cast<unsigned int>(w.size());
                ++count_;
                return s.bits;
            }
            if (s.key() == w) return s.bits;
        }
    }

private:
    struct slot {
        const char* text = nullptr; // null: the slot is free
        unsigned int length = 0;
        unsigned char bits = 0;
        std::string_view key() const { return std::string_view(text, length); }
    };
    std::vector<slot> slots_;
    size_t count_ = 0;

    void grow()
    {
        std::vector<slot> old(2 * slots_.size());
        old.swap(slots_);
        const size_t mask = slots_.size() - 1;
        for (const slot& s : old) {
            if (s.text == nullptr) continue;
            size_t i = name_hash()(s.key()) & mask;
            while (slots_[i].text != nullptr) i = (i + 1) & mask;
            slots_[i] = s;
        }
    }
};

// Sorts names in ascending order (the order of std::string) by the big-endian value of their
// first eight bytes, then whole. Many names: a radix sort on that value, by sixteen bits at a
// time from the last ones (a step where every name has the same sixteen bits is left out), then
// the names that share their first eight bytes sorted whole.
void sort_names(std::vector<std::string_view>& names)
{
    typedef std::pair<unsigned long long, std::string_view> keyed_name;
    const size_t n = names.size();
    std::vector<keyed_name> keyed;
    keyed.reserve(n);
    for (std::string_view name : names) {
        unsigned long long key = 0;
        for (size_t i = 0; i < 8; ++i)
            key = (key << 8) | (i < name.size() ? static_cast<unsigned char>(name[i]) : 0u);
        keyed.emplace_back(key, name);
    }
    if (n < 4096) {
        // too few names to pay for the counts
        std::sort(keyed.begin(), keyed.end(), [](const keyed_name& a, const keyed_name& b) {
            if (a.first != b.first) return a.first < b.first;
            return a.second < b.second;
        });
        for (size_t i = 0; i < n; ++i) names[i] = keyed[i].second;
        return;
    }
    std::vector<keyed_name> other(n);
    std::vector<size_t> count(1 << 16);
    for (int shift = 0; shift < 64; shift += 16) {
        std::fill(count.begin(), count.end(), 0);
        for (const keyed_name& k : keyed) ++count[(k.first >> shift) & 0xFFFF];
        if (n == 0 || count[(keyed[0].first >> shift) & 0xFFFF] == n) continue; // one digit only
        size_t at = 0;
        for (size_t& c : count) {
            size_t here = c;
            c = at;
            at += here;
        }
        for (const keyed_name& k : keyed) other[count[(k.first >> shift) & 0xFFFF]++] = k;
        keyed.swap(other);
    }
    for (size_t i = 0; i < n;) {
        size_t j = i + 1;
        while (j < n && keyed[j].first == keyed[i].first) ++j;
        if (j - i > 1)
            std::sort(keyed.begin() + static_cast<long>(i), keyed.begin() + static_cast<long>(j),
                      [](const keyed_name& a, const keyed_name& b) { return a.second < b.second; });
        i = j;
    }
    for (size_t i = 0; i < n; ++i) names[i] = keyed[i].second;
}

// States of the word machine.
enum preparse_state {
    before_model, // S0
    after_model,  // S1
    in_inputs,    // S2
    in_outputs,   // S3
    in_covers,    // S4
    after_latch,  // S5
    after_end,    // S6
};

// Whether w is a keyword in state s; to gets the state it leads to.
bool keyword_target(preparse_state s, std::string_view w, preparse_state& to)
{
    struct transition {
        preparse_state from; // state where the keyword counts
        const char* word;    // keyword
        preparse_state to;   // next state
    };
    static const transition table[] = {
        {before_model, ".model", after_model},
        {after_model, ".inputs", in_inputs},   {after_model, ".outputs", in_outputs},
        {after_model, ".names", in_covers},    {after_model, ".latch", after_latch},
        {after_model, ".end", after_end},
        {in_inputs, ".outputs", in_outputs},   {in_inputs, ".names", in_covers},
        {in_inputs, ".latch", after_latch},    {in_inputs, ".end", after_end},
        {in_outputs, ".names", in_covers},     {in_outputs, ".latch", after_latch},
        {in_outputs, ".end", after_end},
        {in_covers, ".end", after_end},        {in_covers, ".latch", after_latch},
        {in_covers, ".names", in_covers},
        {after_latch, ".end", after_end},      {after_latch, ".names", in_covers},
    };
    if (w.empty() || w[0] != '.') return false; // every keyword begins with a dot
    for (const transition& t : table)
        if (t.from == s && w == t.word) {
            to = t.to;
            return true;
        }
    return false;
}

// The keywords of the dialect: a word equal to one is never checked as a name (where the word
// machine takes it as a name, the grammar rejects the file).
bool keyword_word(std::string_view w)
{
    if (w.empty() || w[0] != '.') return false;
    for (const char* k : {".model", ".inputs", ".outputs", ".latch", ".names", ".end"})
        if (w == k) return true;
    return false;
}

bool name_start(unsigned char ch)
{
    return (classes_of_bytes.of[ch] & name_start_class) != 0;
}

bool name_char(unsigned char ch)
{
    return (classes_of_bytes.of[ch] & name_char_class) != 0;
}

// A character of a message: itself between quotes when it is a visible ASCII character, its
// code otherwise.
std::string character_text(unsigned char ch)
{
    static const char hex[] = "0123456789ABCDEF";
    if (ch > 32 && ch < 127) return std::string("the character `") + char(ch) + "'";
    return std::string("the byte 0x") + hex[ch >> 4] + hex[ch & 15];
}

// A name in a message: control bytes written as \xHH.
std::string name_text(std::string_view name)
{
    static const char hex[] = "0123456789ABCDEF";
    std::string text;
    for (unsigned char ch : name)
        if (ch < 32 || ch == 127) text += std::string("\\x") + hex[ch >> 4] + hex[ch & 15];
        else text += char(ch);
    return text;
}

// Whether the scanner makes no token of w: every character of it is echoed and dropped.
bool unseen_word(std::string_view w)
{
    for (unsigned char ch : w)
        if (name_start(ch) || ch == '0' || ch == '1' || ch == '-') return false;
    return true;
}

// The scanner cuts every word into identifiers (a letter, "_" or "@", then letters, digits, "_"
// and "@") and drops the other characters: a name the pre-pass declares must be one identifier,
// or the two would read different signals. Prints the refusal and returns false otherwise.
bool identifier_word(std::string_view w)
{
    if (keyword_word(w)) return true;
    if (w.size() > 1 && w[0] == '.' && name_start(w[1])) {
        size_t end = 2;
        while (end < w.size() && name_char(w[end])) ++end;
        if (end == w.size()) {
            // a keyword of another dialect of BLIF
            std::cerr << "PARSING ERROR: " << w << " is no keyword of the dialect !" << std::endl;
            return false;
        }
    }
    size_t bad = 0;
    while (bad < w.size() && (bad == 0 ? name_start(w[0]) : name_char(w[bad]))) ++bad;
    if (bad == w.size()) return true;
    std::cerr << "PARSING ERROR: the name `" << name_text(w) << "' " << (bad == 0 ? "begins with " : "holds ")
              << character_text(static_cast<unsigned char>(w[bad])) << ", which "
              << (bad == 0 ? "no signal name may begin with" : "no signal name may hold") << " !" << std::endl;
    return false;
}

// Before the model and in the model's line the pre-pass takes no word as a name, but the scanner
// drops the characters it does not know and then reads a keyword glued to them: a word holding
// a keyword and other characters is refused there, and so is a byte-order mark in front of the
// file. Prints the refusal and returns false.
bool heading_word(std::string_view w, bool first, const char* filename)
{
    static const std::string mark = "\xEF\xBB\xBF";
    if (first && w.compare(0, mark.size(), mark) == 0) {
        std::cerr << "PARSING ERROR: " << (filename != nullptr ? "file " + std::string(filename) : std::string("the file"))
                  << " begins with a UTF-8 byte-order mark, which a BLIF file may not hold !" << std::endl;
        return false;
    }
    if (keyword_word(w)) return true;
    for (const char* k : {".model", ".inputs", ".outputs", ".latch", ".names", ".end"})
        if (w.find(k) != std::string::npos) {
            std::cerr << "PARSING ERROR: the word `" << name_text(w) << "' holds " << k
                      << " glued to other characters !" << std::endl;
            return false;
        }
    return true;
}

} // namespace

int class_blif_parser::preparse(const char* filename)
{
    std::ifstream in(filename);
    return preparse(in, filename);
}

int class_blif_parser::preparse(std::istream& in, const char* filename)
{
    // the classes a name was put in, as bits
    enum : unsigned char { in_set = 1, out_set = 2, latch_in_set = 4, latch_out_set = 8, internal_set = 16 };
    blif_words words(in);
    name_classes classes(words.size() / 24 + 16);
    std::vector<std::string_view> inputs, outputs, internals; // in order of first sight
    std::list<std::string> latch_in_list, latch_out_list;
    // Puts w in the class c; true when it was not there yet.
    auto put = [&classes](std::string_view w, unsigned char c) {
        unsigned char& k = classes[w];
        if (k & c) return false;
        k = static_cast<unsigned char>(k | c);
        return true;
    };
    preparse_state s = before_model;
    std::string_view w;
    ok = 0;
    for (bool first = true; words.next(w); first = false) {
        if (s == after_end) {
            std::cerr << "preparsing file ..." << std::endl;
            continue;
        }
        if ((s == before_model || s == after_model) && !heading_word(w, first, filename)) return ok;
        if (keyword_target(s, w, s)) continue;
        // a word the scanner drops whole names nothing
        if ((s == in_inputs || s == in_outputs || s == in_covers) && unseen_word(w)) continue;
        switch (s) {
        case in_inputs:
            if (!words.is_name() && !identifier_word(w)) return ok;
            if (put(w, in_set)) inputs.push_back(w);
            break;
        case in_outputs:
            if (!words.is_name() && !identifier_word(w)) return ok;
            if (put(w, out_set)) outputs.push_back(w);
            break;
        case in_covers: {
            if ((w[0] >= '0' && w[0] <= '9') || w[0] == '-') break;
            if (!words.is_name() && !identifier_word(w)) return ok;
            unsigned char& k = classes[w];
            if (k & (in_set | out_set | latch_out_set | internal_set)) break;
            k = static_cast<unsigned char>(k | internal_set);
            internals.push_back(w);
            break;
        }
        case after_latch: {
            // a line cut short by the end of the file declares no register, so that the two
            // lists stay paired (the grammar then rejects the file)
            std::string_view next_state = w;
            if (!words.is_name() && !identifier_word(next_state)) return ok;
            if (words.next(w)) {
                if (!words.is_name() && !identifier_word(w)) return ok;
                put(next_state, latch_in_set);
                latch_in_list.emplace_back(next_state);
                put(w, latch_out_set);
                latch_out_list.emplace_back(w);
                words.next(w); // the initial value
            }
            s = in_covers;
            break;
        }
        default: // the model name, or words before the model
            break;
        }
    }
    sort_names(inputs);
    sort_names(outputs);
    // a register or a next state is no local
    internals.erase(std::remove_if(internals.begin(), internals.end(),
                                   [&classes](std::string_view n) {
                                       return (classes[n] & (latch_in_set | latch_out_set)) != 0;
                                   }),
                    internals.end());
    sort_names(internals);
    std::set<std::string> common;
    for (std::string_view n : inputs)
        if (classes[n] & out_set) common.emplace(n);
    if (!common.empty()) {
        std::cerr << "PARSING ERROR: sets of inputs and outputs are not exclusive !" << std::endl;
        std::cerr << " --> Found Signal(s): " << common << std::endl << std::endl;
        ok = 0;
        return ok;
    }
    std::unordered_set<std::string_view, name_hash> registers;
    for (const std::string& r : latch_out_list)
        if (!registers.insert(r).second) {
            // the register table and the initial values would disagree on the number of registers
            std::cerr << "PARSING ERROR: register " << r << " is defined by more than one .latch line !"
                      << std::endl;
            ok = 0;
            return ok;
        }
    for (std::string_view n : inputs)
        if (classes[n] & latch_out_set) {
            // the input's value would be overwritten by the register transition
            std::cerr << "PARSING ERROR: input " << n << " is driven by a .latch line !" << std::endl;
            ok = 0;
            return ok;
        }
    auto strings = [](const std::vector<std::string_view>& v) { return std::vector<std::string>(v.begin(), v.end()); };
    dec = new b_autom_dec(latch_out_list, latch_in_list, strings(inputs), strings(outputs), strings(internals));
    init = new int[latch_out_list.size()]();
    mark_inputs();
    ok = 1;
    return ok;
}
