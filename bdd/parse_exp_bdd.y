/* The Boolean expression grammar: an optional priority in angle brackets, then OR, XOR and XNOR
   over AND over NOT, brackets, constants and the manager's variable names. Every action works on
   the current parser object; an expression value is an owned bdd allocated with new. */
%define api.prefix {exp_bdd}
%define api.pure full
%define parse.error custom
/* the grammar is LALR(1) as it stands: any shift/reduce or reduce/reduce conflict fails the build */
%expect 0

%code requires {
#include "bdd/bddpp.h"
}

%code {
#include <algorithm>
#include <climits>
#include <iostream>

#include "bdd/parse_exp_bdd.h"
#include "utils/Stringpp.h"

/* The parser stack: 200 entries at first, doubled when full up to 10000; beyond, the parse ends
   with "memory exhausted" and code 2. */
#define YYINITDEPTH 200
#define YYMAXDEPTH 10000

/* The unsigned decimal text s as a priority; false past the int range. */
static bool priority_value(const std::string& s, int& value);
}

%union {
    bdd* expression; /* owned by the symbol that carries it */
    int value;       /* a priority */
}

%token TOKEN_OR 258
%token TOKEN_AND 259
%token TOKEN_XOR 260
%token TOKEN_XNOR 261
%token TOKEN_IMPL 262
%token TOKEN_FNOT 263
%token TOKEN_NOT 264
%token TOKEN_PAR_OUVRANTE 265
%token TOKEN_PAR_FERMANTE 266
%token TOKEN_INF 267
%token TOKEN_SUP 268
%token TOKEN_STRING 269
%token TOKEN_ZERO 270
%token TOKEN_ONE 271

%type <expression> bdd_expression_gen bdd_expression bdd_terme bdd_facteur bdd_variable
%type <value> priorite valeur

/* a failed parse pops what it had built */
%destructor { delete $$; } <expression>

%initial-action {
    if (pexp_bdd_parser == nullptr) {
        std::cerr << "ERROR in exp_bddparse(): no current parser" << std::endl;
        YYABORT;
    }
}

%%

/* accepted at the end of the input only */
bdd_final:
    bdd_expression_gen
    {
        delete pexp_bdd_parser->result;
        pexp_bdd_parser->result = $1;
    }
    ;

bdd_expression_gen:
    priorite bdd_expression     { pexp_bdd_parser->priority = $1; $$ = $2; }
    ;

priorite:
    %empty                              { $$ = 0; }
  | TOKEN_INF valeur TOKEN_SUP          { $$ = $2; }
    ;

valeur:
    TOKEN_ZERO
    {
        std::cerr << "parsing error in expression: \"0\" is not a correct priority value ..." << std::endl;
        YYABORT;
    }
  | TOKEN_ONE                           { $$ = 1; }
  | TOKEN_STRING
    {
        const std::string& word = pexp_bdd_parser->token;
        if (word == "other" || word == "default") {
            $$ = -1;
        } else if (!checkuint(word) || !priority_value(word, $$)) {
            std::cerr << "parsing error in expression: name " << "\"" << word << "\""
                      << " is not a correct priority value ..." << std::endl;
            YYABORT;
        }
    }
    ;

bdd_expression:
    bdd_expression TOKEN_OR bdd_terme
    {
        $$ = new bdd(pexp_bdd_parser->manager->Bdd_or(*$1, *$3));
        delete $1;
        delete $3;
    }
  | bdd_expression TOKEN_XOR bdd_terme
    {
        $$ = new bdd(pexp_bdd_parser->manager->Bdd_xor(*$1, *$3));
        delete $1;
        delete $3;
    }
  | bdd_expression TOKEN_XNOR bdd_terme
    {
        $$ = new bdd(pexp_bdd_parser->manager->Bdd_xnor(*$1, *$3));
        delete $1;
        delete $3;
    }
  | bdd_terme                           { $$ = $1; }
    ;

bdd_terme:
    bdd_terme TOKEN_AND bdd_facteur
    {
        $$ = new bdd(pexp_bdd_parser->manager->Bdd_and(*$1, *$3));
        delete $1;
        delete $3;
    }
  | bdd_facteur                         { $$ = $1; }
    ;

bdd_facteur:
    TOKEN_PAR_OUVRANTE bdd_expression TOKEN_PAR_FERMANTE    { $$ = $2; }
  | TOKEN_NOT bdd_facteur
    {
        $$ = new bdd(pexp_bdd_parser->manager->Bdd_not(*$2));
        delete $2;
    }
  | bdd_variable                        { $$ = $1; }
  | TOKEN_ZERO                          { $$ = new bdd(pexp_bdd_parser->manager->Bdd_zero()); }
  | TOKEN_ONE                           { $$ = new bdd(pexp_bdd_parser->manager->Bdd_one()); }
    ;

bdd_variable:
    TOKEN_STRING
    {
        bddpp_manager* m = pexp_bdd_parser->manager;
        const std::string& name = pexp_bdd_parser->token;
        if (m->Index_var_by_name(name) < 0) {
            std::cerr << "parsing error in expression: name " << "\"" << name << "\""
                      << " not identificated ..." << std::endl;
            YYABORT;
        }
        $$ = new bdd(m->Bdd_var_by_name(name));
    }
    ;

%%

static bool priority_value(const std::string& s, int& value)
{
    std::string digits = s.substr(std::min(s.find_first_not_of('0'), s.size()));
    const std::string largest = std::to_string(INT_MAX);
    if (digits.size() > largest.size() || (digits.size() == largest.size() && digits > largest)) return false;
    value = static_cast<int>(Stol(s));
    return true;
}

/* The words of the operators and constants with their tokens; every other word is a name. */
static const struct {
    const char* word;
    int token;
} exp_bdd_words[] = {
    {"or", TOKEN_OR},     {"OR", TOKEN_OR},     {"+", TOKEN_OR},      {"|", TOKEN_OR},
    {"and", TOKEN_AND},   {"AND", TOKEN_AND},   {".", TOKEN_AND},     {"&", TOKEN_AND},
    {"xor", TOKEN_XOR},   {"XOR", TOKEN_XOR},   {"xnor", TOKEN_XNOR}, {"XNOR", TOKEN_XNOR},
    {"not", TOKEN_NOT},   {"NOT", TOKEN_NOT},   {"!", TOKEN_NOT},     {"~", TOKEN_NOT},
    {"(", TOKEN_PAR_OUVRANTE}, {"[", TOKEN_PAR_OUVRANTE}, {")", TOKEN_PAR_FERMANTE}, {"]", TOKEN_PAR_FERMANTE},
    {"<", TOKEN_INF},     {">", TOKEN_SUP},     {"0", TOKEN_ZERO},    {"1", TOKEN_ONE},
};

int exp_bddlex(EXP_BDDSTYPE*)
{
    class_exp_bdd_parser* p = pexp_bdd_parser;
    if (p == nullptr) return 0;
    p->token = next_Stringtoken(p->rest, ' ', &p->rest);
    if (p->token.empty()) return 0;
    for (const auto& w : exp_bdd_words)
        if (p->token == w.word) return w.token;
    return TOKEN_STRING;
}

void exp_bdderror(const char* message)
{
    std::cerr << message << std::endl;
}


/* The names of the symbols in messages: the token names, "$end" for the end of the input. */
static const char* exp_bdd_symbol_text(yysymbol_kind_t kind)
{
    if (kind == YYSYMBOL_YYEOF) return "$end";
    if (kind == YYSYMBOL_YYUNDEF) return "$undefined";
    return yysymbol_name(kind);
}

/* "syntax error, unexpected " the token, then the tokens that could have followed when there are
   one to four of them, in ascending code. */
static int yyreport_syntax_error(const yypcontext_t* context)
{
    std::string message = "syntax error, unexpected ";
    message += exp_bdd_symbol_text(yypcontext_token(context));
    yysymbol_kind_t expected[4];
    int n = yypcontext_expected_tokens(context, expected, 4);
    for (int i = 0; i < n; ++i) {
        message += i == 0 ? ", expecting " : " or ";
        message += exp_bdd_symbol_text(expected[i]);
    }
    exp_bdderror(message.c_str());
    return 0;
}
