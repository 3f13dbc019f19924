// The token expression checker: operators with their arity, bracketing factors and variables,
// and the check of a text of blank-separated tokens against them.
#ifndef NELVOR_STRINGEXP_H
#define NELVOR_STRINGEXP_H

#include <list>
#include <string>

class expressions_checker {
public:
    int numbers_accepted;                 // 0 at construction, 1 after accept_numbers
    std::list<int> arities;               // arity of each operator, parallel to operators
    std::list<std::string> operators;     // operator tokens in the order of declaration
    std::list<std::string> openers;       // opening tokens of the factors
    std::list<std::string> closers;       // closing tokens, parallel to openers
    std::list<std::string> variables;     // variable tokens

    expressions_checker();
    ~expressions_checker();

    // Arity 1: a prefix operator; 2: an infix one; any other arity is accepted nowhere.
    void add_operator(const std::string& token, int arity);
    void add_variable(const std::string& token);
    void add_factor(const std::string& opener, const std::string& closer);
    // Unsigned decimal tokens become operands too, wherever an operand is expected.
    void accept_numbers();

    // 0 when text is a well-formed expression, else the position reached (from 1, each token
    // counting its length plus one). Writes one trace line per token on the standard error
    // stream.
    int check(const std::string& text);
    // Reads one level of text, the bracketed levels inside it included: returns what follows the
    // level; depth counts the open brackets, error becomes 1 when the level ends in error, and
    // position grows by each token read (the token ending a level excepted). Runs in constant
    // stack space whatever the nesting.
    std::string rec_check(const std::string& text, int* depth, int* error, int* position);
};

// 2 for every text.
int Stringtype(const std::string& s);

#endif
