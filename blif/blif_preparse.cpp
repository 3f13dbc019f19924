// The pre-pass: the signal classes of a BLIF file, read as words, and the declarations built from them.
#include <fstream>
#include <iostream>
#include <set>
#include <sstream>

#include "blif/blif_parser.h"
#include "utils/list_templates.h"

namespace {

// The words of a BLIF text: white-space separated, without comments; a lone backslash gives the
// word after it (that one is not checked again). A backslash glued to other characters is a line
// continuation for the scanner, not a part of a name: the word is cut there.
class blif_words {
public:
    explicit blif_words(std::istream& in) : in_(in) {}

    bool next(std::string& word)
    {
        if (!raw(word)) return false;
        if (word == "\\") return raw(word);
        return true;
    }

private:
    std::istream& in_;          // the text
    std::istringstream line_;   // rest of the current line, comment cut off
    std::list<std::string> parts_; // the rest of a word cut at its backslashes

    bool raw(std::string& word)
    {
        while (parts_.empty()) {
            std::string w;
            if (!whole(w)) return false;
            cut(w);
        }
        word = parts_.front();
        parts_.pop_front();
        return true;
    }

    // The parts of w between its backslashes into parts_; a lone backslash stays a word.
    void cut(const std::string& w)
    {
        if (w == "\\" || w.find('\\') == std::string::npos) {
            parts_.push_back(w);
            return;
        }
        std::string part;
        for (char ch : w) {
            if (ch != '\\') {
                part += ch;
                continue;
            }
            if (!part.empty()) parts_.push_back(part);
            part.clear();
        }
        if (!part.empty()) parts_.push_back(part);
    }

    // The next white-space separated word of the text, comments cut off.
    bool whole(std::string& word)
    {
        while (!(line_ >> word)) {
            std::string line;
            if (!std::getline(in_, line)) return false;
            std::string::size_type hash = line.find('#');
            if (hash != std::string::npos) line.erase(hash);
            line_.clear();
            line_.str(line);
        }
        return true;
    }
};

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
bool keyword_target(preparse_state s, const std::string& w, preparse_state& to)
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
    for (const transition& t : table)
        if (t.from == s && w == t.word) {
            to = t.to;
            return true;
        }
    return false;
}

// The keywords of the dialect: a word equal to one is never checked as a name (where the word
// machine takes it as a name, the grammar rejects the file).
bool keyword_word(const std::string& w)
{
    for (const char* k : {".model", ".inputs", ".outputs", ".latch", ".names", ".end"})
        if (w == k) return true;
    return false;
}

bool name_start(unsigned char ch)
{
    return (ch >= 'A' && ch <= 'Z') || (ch >= 'a' && ch <= 'z') || ch == '_' || ch == '@';
}

bool name_char(unsigned char ch)
{
    return name_start(ch) || (ch >= '0' && ch <= '9');
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
std::string name_text(const std::string& name)
{
    static const char hex[] = "0123456789ABCDEF";
    std::string text;
    for (unsigned char ch : name)
        if (ch < 32 || ch == 127) text += std::string("\\x") + hex[ch >> 4] + hex[ch & 15];
        else text += char(ch);
    return text;
}

// Whether the scanner makes no token of w: every character of it is echoed and dropped.
bool unseen_word(const std::string& w)
{
    for (unsigned char ch : w)
        if (name_start(ch) || ch == '0' || ch == '1' || ch == '-') return false;
    return true;
}

// The scanner cuts every word into identifiers (a letter, "_" or "@", then letters, digits, "_"
// and "@") and drops the other characters: a name the pre-pass declares must be one identifier,
// or the two would read different signals. Prints the refusal and returns false otherwise.
bool identifier_word(const std::string& w)
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
bool heading_word(const std::string& w, bool first, const char* filename)
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

// The first register named twice in registers, or "" when each is named once.
std::string repeated_register(const std::list<std::string>& registers)
{
    std::set<std::string> seen;
    for (const std::string& r : registers)
        if (!seen.insert(r).second) return r;
    return "";
}

} // namespace

int class_blif_parser::preparse(const char* filename)
{
    std::ifstream in(filename);
    return preparse(in, filename);
}

int class_blif_parser::preparse(std::istream& in, const char* filename)
{
    std::set<std::string> INPUTS, OUTPUTS, LATCH_IN, LATCH_OUT, INTERNALS;
    std::list<std::string> latch_in_list, latch_out_list;
    blif_words words(in);
    preparse_state s = before_model;
    std::string w;
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
            if (!identifier_word(w)) return ok;
            INPUTS.insert(w);
            break;
        case in_outputs:
            if (!identifier_word(w)) return ok;
            OUTPUTS.insert(w);
            break;
        case in_covers:
            if ((w[0] >= '0' && w[0] <= '9') || w[0] == '-') break;
            if (!identifier_word(w)) return ok;
            if (INPUTS.count(w) || OUTPUTS.count(w) || LATCH_OUT.count(w)) break;
            INTERNALS.insert(w);
            break;
        case after_latch: {
            // a line cut short by the end of the file declares no register, so that the two
            // lists stay paired (the grammar then rejects the file)
            std::string next_state = w;
            if (!identifier_word(next_state)) return ok;
            if (words.next(w)) {
                if (!identifier_word(w)) return ok;
                LATCH_IN.insert(next_state);
                latch_in_list.push_back(next_state);
                LATCH_OUT.insert(w);
                latch_out_list.push_back(w);
                words.next(w); // the initial value
            }
            s = in_covers;
            break;
        }
        default: // the model name, or words before the model
            break;
        }
    }
    INTERNALS = priv(INTERNALS, LATCH_OUT);
    INTERNALS = priv(INTERNALS, LATCH_IN);
    std::set<std::string> common = set_inter(INPUTS, OUTPUTS);
    if (!common.empty()) {
        std::cerr << "PARSING ERROR: sets of inputs and outputs are not exclusive !" << std::endl;
        std::cerr << " --> Found Signal(s): " << common << std::endl << std::endl;
        ok = 0;
        return ok;
    }
    std::string twice = repeated_register(latch_out_list);
    if (!twice.empty()) {
        // the register table and the initial values would disagree on the number of registers
        std::cerr << "PARSING ERROR: register " << twice << " is defined by more than one .latch line !"
                  << std::endl;
        ok = 0;
        return ok;
    }
    std::set<std::string> driven = set_inter(INPUTS, LATCH_OUT);
    if (!driven.empty()) {
        // the input's value would be overwritten by the register transition
        std::cerr << "PARSING ERROR: input " << *driven.begin() << " is driven by a .latch line !" << std::endl;
        ok = 0;
        return ok;
    }
    dec = new b_autom_dec(latch_out_list, latch_in_list, INPUTS, OUTPUTS, INTERNALS);
    init = new int[latch_out_list.size()]();
    ok = 1;
    return ok;
}
