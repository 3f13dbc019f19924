// The token expression checker: one state machine per bracketed level, the levels kept on an
// explicit stack.
#include "utils/Stringexp.h"

#include <iostream>
#include <vector>

#include "utils/Stringpp.h"
#include "utils/list_templates.h"

namespace {

// States of a level.
enum { operand_expected = 1, operand_read = 2, level_ended = 3, level_failed = 4 };

// The text has run out: next_Stringtoken gives the empty token, or the single blank left at
// the end.
bool exhausted(const std::string& token)
{
    return token.empty() || token == " ";
}

// The arity of the first declaration of token, 0 when it is no operator.
int arity_of(const std::list<std::string>& operators, const std::list<int>& arities, const std::string& token)
{
    int k = item_where(operators, token);
    return k == 0 ? 0 : read_number(arities, k);
}

// The next token of text from offset at, as next_Stringtoken at the separator ' ' gives it on
// the text left; at moves past it. The token is taken from a window of the text so that reading
// a long text costs linear time: a token that does not end inside the window is taken again
// from the whole rest.
std::string next_token_at(const std::string& text, std::string::size_type& at)
{
    const std::string::size_type window = 256;
    std::string tail;
    std::string piece = text.substr(at, window);
    std::string token = next_Stringtoken(piece, ' ', &tail);
    if (tail.empty() && at + piece.size() < text.size()) {
        piece = text.substr(at);
        token = next_Stringtoken(piece, ' ', &tail);
    }
    at += piece.size() - tail.size();
    return token;
}

// The end of one token's trace line: " state=", the state, a newline, flushed.
void trace_state(int state)
{
    std::cerr << " state=" << state << std::endl;
}

} // namespace

expressions_checker::expressions_checker() : numbers_accepted(0)
{
}

expressions_checker::~expressions_checker()
{
}

void expressions_checker::add_operator(const std::string& token, int arity)
{
    operators.push_back(token);
    arities.push_back(arity);
}

void expressions_checker::add_variable(const std::string& token)
{
    variables.push_back(token);
}

void expressions_checker::add_factor(const std::string& opener, const std::string& closer)
{
    openers.push_back(opener);
    closers.push_back(closer);
}

void expressions_checker::accept_numbers()
{
    numbers_accepted = 1;
}

// An opener suspends its level while the bracketed level runs: the suspended levels are the
// lengths of their openers, which the position takes in once the inner level is over, so the
// trace and the counters are those of one recursive call per opener.
std::string expressions_checker::rec_check(const std::string& text, int* depth, int* error, int* position)
{
    std::vector<std::string::size_type> suspended; // opener lengths of the levels waiting
    std::string::size_type at = 0;                 // where the rest of the text begins
    int state = operand_expected;
    for (;;) {
        while (state != level_ended && state != level_failed) {
            std::string token = next_token_at(text, at);
            std::cerr << "tok=" << token;
            if (state == operand_expected) {
                if (exhausted(token)) {
                    state = level_failed;
                } else if (numbers_accepted && checkuint(token)) {
                    state = operand_read;
                } else if (item_in(variables, token)) {
                    state = operand_read;
                } else if (item_in(operators, token)) {
                    state = arity_of(operators, arities, token) == 1 ? operand_expected : level_failed;
                } else if (item_in(openers, token)) {
                    ++*depth;
                    suspended.push_back(token.length());
                    continue; // the new level starts in its first state
                } else {
                    state = level_failed;
                }
            } else if (exhausted(token)) {
                state = level_ended;
            } else if (item_in(operators, token)) {
                state = arity_of(operators, arities, token) == 2 ? operand_expected : level_failed;
            } else if (item_in(closers, token)) {
                --*depth;
                state = level_ended;
            } else {
                state = level_failed;
            }
            trace_state(state);
            if (state != level_ended) *position += static_cast<int>(token.length()) + 1;
        }
        if (state != level_ended) *error = 1;
        if (suspended.empty()) return text.substr(at);
        // back in the level of the opener: the bracketed level stands for one operand
        state = *error == 0 ? operand_read : level_failed;
        trace_state(state);
        *position += static_cast<int>(suspended.back()) + 1;
        suspended.pop_back();
    }
}

int expressions_checker::check(const std::string& text)
{
    int depth = 0;
    int error = 0;
    int position = 1;
    std::string rest = rec_check(text, &depth, &error, &position);
    return rest.empty() && error == 0 && depth == 0 ? 0 : position;
}

int Stringtype(const std::string&)
{
    return 2;
}
