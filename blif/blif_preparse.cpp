// The pre-pass: the signal classes of a BLIF file, read as words, and the declarations built from them.
#include <fstream>
#include <iostream>
#include <set>
#include <sstream>

#include "blif_parser.h"
#include "utils/list_templates.h"

namespace {

// The words of a BLIF text: white-space separated, without comments; a lone backslash gives the
// word after it (that one is not checked again).
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

    bool raw(std::string& word)
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
    return preparse(in);
}

int class_blif_parser::preparse(std::istream& in)
{
    std::set<std::string> INPUTS, OUTPUTS, LATCH_IN, LATCH_OUT, INTERNALS;
    std::list<std::string> latch_in_list, latch_out_list;
    blif_words words(in);
    preparse_state s = before_model;
    std::string w;
    while (words.next(w)) {
        if (s == after_end) {
            std::cerr << "preparsing file ..." << std::endl;
            continue;
        }
        if (keyword_target(s, w, s)) continue;
        switch (s) {
        case in_inputs:
            INPUTS.insert(w);
            break;
        case in_outputs:
            OUTPUTS.insert(w);
            break;
        case in_covers:
            if ((w[0] >= '0' && w[0] <= '9') || w[0] == '-') break;
            if (INPUTS.count(w) || OUTPUTS.count(w) || LATCH_OUT.count(w)) break;
            INTERNALS.insert(w);
            break;
        case after_latch: {
            // a line cut short by the end of the file declares no register, so that the two
            // lists stay paired (the grammar then rejects the file)
            std::string next_state = w;
            if (words.next(w)) {
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
    dec = new b_autom_dec(latch_out_list, latch_in_list, INPUTS, OUTPUTS, INTERNALS);
    init = new int[latch_out_list.size()]();
    ok = 1;
    return ok;
}
