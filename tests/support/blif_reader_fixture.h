// Helpers of the BLIF reader tests: token streams, readings of texts held in strings, truth tables.
#ifndef NELVOR_BLIF_READER_FIXTURE_H
#define NELVOR_BLIF_READER_FIXTURE_H

#include <gtest/gtest.h>

#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "blif/blif_lexer.h"
#include "blif/blif_parser.h"
#include "fuzz/blif_read_once.h"
#include "parse_blif.hpp"

// The tokens of text as short names ("names", "ident:a", "NL", "0", "1", "-"), with what the
// scanner echoed; the newline mode starts at 0.
inline std::vector<std::string> scan(const std::string& text, std::string* echo = nullptr)
{
    static const char* const names[] = {"NL", "model", "inputs", "outputs", "latch", "names",
                                        "end", "0", "1", "-", "ident"};
    lex_blif_newline_mode = 0;
    std::istringstream in(text);
    std::ostringstream out;
    blifFlexLexer lexer(&in, &out);
    std::vector<std::string> tokens;
    for (int t = lexer.yylex(); t != 0; t = lexer.yylex()) {
        std::string name = t >= TOKEN_NL && t <= TOKEN_ident ? names[t - TOKEN_NL] : "?";
        if (t == TOKEN_ident) name += std::string(":") + lexer.YYText();
        tokens.push_back(name);
    }
    if (echo != nullptr) *echo = out.str();
    return tokens;
}

// One reading of a text: what blif_read_once gave, the standard error text, the log, and
// the truth tables asked for before the automaton was freed.
struct reading {
    blif_read_result result;        // statuses
    std::string errors;             // standard error text
    std::string log;                // echo and trace
    std::map<std::string, std::string> tables; // signal -> truth table
    std::vector<std::string> order;  // variable names in order
    std::vector<int> init;           // initial values of the registers
    int state_count = -1;            // registers of the automaton; -1 without automaton
};

// Value of f under the assignment of the named variables (missing names are 0).
inline bool evaluate(bddpp_manager* m, const bdd& f, const std::map<std::string, bool>& values)
{
    int link = f.link;
    bdd_node* n = f.node_ptr;
    while (n != m->terminal) {
        std::map<std::string, bool>::const_iterator v = values.find(m->Name_var_by_id(n->var));
        if (v != values.end() && v->second) {
            n = n->then_node;
        } else {
            link *= n->else_link;
            n = n->else_node;
        }
    }
    return link == 1;
}

// The right member of signal's equation over inputs, as '0'/'1' for every assignment in binary
// order with the first input as the highest bit; "none" when the signal has no equation.
inline std::string truth_table(b_automaton* a, const std::string& signal, const std::vector<std::string>& inputs)
{
    Bddexpressionwood* w = a->wood;
    long p = a->ident_associe(signal);
    if (p < 0 || w->exp_by_index(p) == nullptr) return "none";
    std::string table;
    for (unsigned k = 0; k < (1u << inputs.size()); ++k) {
        std::map<std::string, bool> values;
        for (size_t i = 0; i < inputs.size(); ++i) values[inputs[i]] = (k >> (inputs.size() - 1 - i)) & 1;
        table += evaluate(a->manager_associe(), w->exp_by_index(p)->bdd_exp, values) ? '1' : '0';
    }
    return table;
}

// Reads text; for each (signal, inputs) of wanted, the truth table of the signal.
inline reading read_blif(const std::string& text,
                         const std::map<std::string, std::vector<std::string>>& wanted = {}, int debug = 0)
{
    reading r;
    std::ostringstream log;
    testing::internal::CaptureStderr();
    r.result = blif_read_once(text, log, debug, [&](class_blif_parser& p) {
        if (p.automaton == nullptr) return;
        b_automaton* a = p.automaton;
        r.state_count = a->state_count;
        for (int i = 0; i < a->state_count; ++i) r.init.push_back(a->init_values[i]);
        for (long i = 0; i < a->manager_associe()->nvars; ++i) r.order.push_back(a->nom_associe(i));
        for (const auto& w : wanted) r.tables[w.first] = truth_table(a, w.first, w.second);
    });
    r.errors = testing::internal::GetCapturedStderr();
    r.log = log.str();
    return r;
}

#endif
