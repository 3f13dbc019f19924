// The Boolean expression parser: the parse object and the manager's entry points with their
// cheap checks of the text.
#include "bdd/parse_exp_bdd.h"

#include <iostream>

#include "utils/Stringpp.h"

class_exp_bdd_parser* pexp_bdd_parser = nullptr;

class_exp_bdd_parser::class_exp_bdd_parser(bddpp_manager* m) : manager(m), priority(0), result(nullptr)
{
    pexp_bdd_parser = this;
}

class_exp_bdd_parser::~class_exp_bdd_parser()
{
    delete result;
    if (pexp_bdd_parser == this) pexp_bdd_parser = nullptr;
}

// The parser runs on itself: it becomes current again, in case another parser was made and
// destroyed since its construction.
int class_exp_bdd_parser::parse(const std::string& text)
{
    pexp_bdd_parser = this;
    rest = text;
    return exp_bddparse();
}

bdd class_exp_bdd_parser::bddexpression()
{
    return result != nullptr ? *result : bdd();
}

int class_exp_bdd_parser::prio()
{
    return priority;
}

namespace {

const char* const head = "PARSING ERROR about expression: \"";

// The message of a text refused before parsing: its end and a newline.
bdd refused(const std::string& text, const char* end, bddpp_manager* m)
{
    std::cerr << head << text << end << std::endl;
    return m->Bdd_zero();
}

} // namespace

// The error out is written only once the parser has run: callers set it before the call.
bdd bddpp_manager::Parse_expression(const std::string& text, int* priority, int* error)
{
    *priority = 0;
    if (text.empty()) return Bdd_zero();
    if (text.find('/') != std::string::npos) return refused(text, "\": / char detection!", this);
    if (char_occurences(text, '(') != char_occurences(text, ')')) return refused(text, "\": bad parenthesing!", this);
    class_exp_bdd_parser parser(this);
    *error = parser.parse(text);
    if (*error != 0) return refused(text, "\"", this);
    *priority = parser.prio();
    return parser.bddexpression();
}

bdd bddpp_manager::Parse_expression(const std::string& text, int* error)
{
    int priority = 0;
    bdd f = Parse_expression(text, &priority, error);
    if (priority != 0) return refused(text, "\": unknown symbols '<' and '>' ", this);
    return f;
}
