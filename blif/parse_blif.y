/* The BLIF grammar: one model, its inputs and outputs, .latch lines and .names covers, .end. Each
   cover becomes an equation of the declarations' forest; .end builds the automaton. */
%define api.prefix {blif}
%define api.pure full
%define parse.error custom

%code requires {
#include <list>
#include <string>
#include <vector>
}

%code {
#include <iostream>
#include <utility>

#include "blif/blif_lexer.h"
#include "blif/blif_parser.h"

int bliflex(BLIFSTYPE* value);

/* The trace of one reduction, when the parser object asks for it. */
static inline void law(int rule, int alternative, const char* message)
{
    if (pblif_parser->debug == 1 && pblif_parser->trace != nullptr)
        blif_debuger_law(rule, alternative, message, pblif_parser->debug, *pblif_parser->trace);
}
}

%union {
    std::string* text;                 /* identifier or initial value */
    int value;                         /* 0, 1 or 2 for "-" */
}

%token TOKEN_NL 258
%token TOKEN_model 259
%token TOKEN_inputs 260
%token TOKEN_outputs 261
%token TOKEN_latch 262
%token TOKEN_names 263
%token TOKEN_end 264
%token TOKEN_ZERO 265
%token TOKEN_ONE 266
%token TOKEN_indif 267
%token TOKEN_ident 268

%type <text> ident next_var actual_var initial_value nom_circuit
%type <value> value

%destructor { delete $$; } <text>

%%

boolean_automaton:
    {
        if (pblif_parser->ok == 0) {
            std::cerr << "preparsing of blif file failed ! aborting ..." << std::endl;
            blif_exit(1);
        }
    }
    nom_declaration input_declarations output_declarations equations_list TOKEN_end
    {
        law(1, 1, "definition finale");
        b_autom_dec* dec = pblif_parser->dec;
        bddpp_manager* m = dec->manager_associe();
        pblif_parser->automaton = new b_automaton(dec, pblif_parser->init, m->Bdd_one(), m->Bdd_zero());
        std::cerr << "parsing terminated ..." << std::endl;
        pblif_parser->ok = 0;
    }
    ;

nom_declaration:
    TOKEN_model nom_circuit     { law(2, 1, "definition nom declaration"); pblif_parser->give_text($2); }
    ;

input_declarations:
    %empty                      { law(3, 1, "definition liste inputs vide"); }
  | TOKEN_inputs ident_list     { law(3, 2, "definition liste inputs"); }
    ;

output_declarations:
    %empty                      { law(4, 1, "definition liste output vide"); }
  | TOKEN_outputs ident_list    { law(4, 2, "definition liste output"); }
    ;

/* The names of a line go into the parser's line buffer. */
ident_list:
    ident
    {
        law(5, 1, "creation liste ident");
        pblif_parser->clear_line();
        pblif_parser->add_line_name($1);
        pblif_parser->add_more_names();
    }
  | ident_list ident
    {
        law(5, 2, "ajout ident liste");
        pblif_parser->add_line_name($2);
        pblif_parser->add_more_names();
    }
    ;

ident:
    TOKEN_ident
    {
        $$ = pblif_parser->ident_text();
        law(6, 1, $$->c_str());
    }
    ;

equations_list:
    %empty                      { law(7, 1, "equation booleenne gen seule"); }
  | equations_list equation     { law(7, 2, "ajout equation gen liste"); }
    ;

equation:
    equation_latch              { law(8, 1, "equation de latch"); }
  | equation_bool               { law(8, 1, "equation boolenne"); }
    ;

equation_latch:
    TOKEN_latch next_var actual_var initial_value
    {
        law(9, 1, "def equation latch");
        blif_latch_initial_value(*$3, *$4 == "0" ? 0 : 1);
        pblif_parser->give_text($2);
        pblif_parser->give_text($3);
        pblif_parser->give_text($4);
    }
    ;

equation_bool:
    declaration_bool TOKEN_NL prod_list TOKEN_NL
    {
        law(10, 1, "def equation bool");
        blif_cover_equation(pblif_parser->line_names.data(), pblif_parser->line_names.size(), pblif_parser->cover());
    }
  | declaration_bool TOKEN_NL
    {
        law(10, 2, "def equation bool restreinte");
        blif_cover_equation(pblif_parser->line_names.data(), pblif_parser->line_names.size(), pblif_parser->cover());
    }
    ;

/* The rows that follow go into the parser's cover buffer. */
declaration_bool:
    TOKEN_names ident_list
    {
        law(11, 1, "def declaration bool");
        pblif_parser->cover_values.clear();
        pblif_parser->row_starts.clear();
    }
    ;

next_var:
    ident                       { law(12, 1, "def var suivante"); $$ = $1; }
    ;

actual_var:
    ident                       { law(13, 1, "def var actuelle"); $$ = $1; }
    ;

initial_value:
    TOKEN_ZERO                  { law(14, 1, "valeur initiale 0"); $$ = pblif_parser->take_text("0", 1); }
  | TOKEN_ONE                   { law(14, 2, "valeur initiale 1"); $$ = pblif_parser->take_text("1", 1); }
    ;

prod_list:
    prod                        { law(15, 1, "premier produit"); }
  | prod_list TOKEN_NL prod     { law(15, 2, "OR produit"); }
    ;

prod:
    value_list                  { law(16, 1, "produit"); }
    ;

value_list:
    value
    {
        law(17, 1, " liste de var a 1 element");
        pblif_parser->row_starts.push_back(pblif_parser->cover_values.size());
        pblif_parser->cover_values.push_back($1);
        pblif_parser->add_more_values();
    }
  | value_list value
    {
        law(17, 2, " add var liste");
        pblif_parser->cover_values.push_back($2);
        pblif_parser->add_more_values();
    }
    ;

value:
    TOKEN_ZERO                  { law(18, 1, "operateur ``0 logique''"); $$ = 0; }
  | TOKEN_ONE                   { law(18, 2, "operateur ``1 logique''"); $$ = 1; }
  | TOKEN_indif                 { law(18, 3, "indiferent detecte :"); $$ = 2; }
    ;

nom_circuit:
    ident                       { law(19, 1, "nom circuit"); $$ = $1; }
    ;

%%

int bliflex(BLIFSTYPE*)
{
    return pblif_parser->next_token();
}

void bliferror(const char* msg)
{
    std::cerr << msg << std::endl;
}

/* The names of the symbols in messages, by symbol number. */
static const char* blif_symbol_text(yysymbol_kind_t kind)
{
    if (kind == YYSYMBOL_YYEOF) return "$end";
    if (kind == YYSYMBOL_YYUNDEF) return "$undefined";
    return yysymbol_name(kind);
}

/* "syntax error, unexpected " the token, then the acceptable tokens when there are at most four. */
static int yyreport_syntax_error(const yypcontext_t* context)
{
    std::string message = "syntax error, unexpected ";
    message += blif_symbol_text(yypcontext_token(context));
    yysymbol_kind_t expected[4];
    int n = yypcontext_expected_tokens(context, expected, 4);
    for (int i = 0; i < n; ++i) {
        message += i == 0 ? ", expecting " : " or ";
        message += blif_symbol_text(expected[i]);
    }
    bliferror(message.c_str());
    return 0;
}
