// The parser object, the grammar's actions on it, its trace lines and the reader's exit.
#include "blif/blif_parser.h"

#include <algorithm>
#include <cstdlib>
#include <iostream>
#include <unistd.h>
#include <vector>

#include "blif/blif_lexer.h"
#include "parse_blif.hpp"

class_blif_parser* pblif_parser = nullptr;
void (*blif_exit_handler)(int status) = nullptr;

class_blif_parser::class_blif_parser()
    : ok(0), debug(0), trace(nullptr), lexer(nullptr), dec(nullptr), automaton(nullptr), init(nullptr),
      held_token(-1), last_token(0), first_name(nullptr), inputs_of(nullptr)
{
    pblif_parser = this;
}

class_blif_parser::~class_blif_parser()
{
    clear_line();
    for (std::string* t : spare_texts) delete t;
    delete first_name;
    for (std::string* t : more_names) delete t;
}

std::string* class_blif_parser::take_text(const char* s, size_t length)
{
    if (spare_texts.empty()) return new std::string(s, length);
    std::string* t = spare_texts.back();
    spare_texts.pop_back();
    // s never lies inside t: a plain append skips the overlap checks of assign
    t->clear();
    t->append(s, length);
    return t;
}

void class_blif_parser::give_text(std::string* t)
{
    spare_texts.push_back(t);
}

void class_blif_parser::clear_line()
{
    spare_texts.insert(spare_texts.end(), line_names.begin(), line_names.end());
    line_names.clear();
}

void class_blif_parser::add_line_name(std::string* t)
{
    line_names.push_back(t);
}

int class_blif_parser::next_token()
{
    int t = held_token;
    if (t >= 0) held_token = -1;
    else t = lexer->yylex();
    // the trace writes one line per reduction as the tokens come: no run then
    if (debug == 0) {
        const bool names_line = last_token == TOKEN_names || last_token == TOKEN_inputs || last_token == TOKEN_outputs;
        if (t == TOKEN_ident && names_line) {
            first_name = take_text(lexer->YYText(), static_cast<size_t>(lexer->YYLeng()));
            while ((held_token = lexer->yylex()) == TOKEN_ident)
                more_names.push_back(take_text(lexer->YYText(), static_cast<size_t>(lexer->YYLeng())));
        } else if ((t == TOKEN_ZERO || t == TOKEN_ONE || t == TOKEN_indif) && last_token == TOKEN_NL) {
            for (;;) {
                held_token = lexer->yylex();
                if (held_token == TOKEN_ZERO) more_values.push_back(0);
                else if (held_token == TOKEN_ONE) more_values.push_back(1);
                else if (held_token == TOKEN_indif) more_values.push_back(2);
                else break;
            }
        }
    }
    last_token = t;
    return t;
}

std::string* class_blif_parser::ident_text()
{
    std::string* t = first_name;
    first_name = nullptr;
    if (t == nullptr) t = take_text(lexer->YYText(), static_cast<size_t>(lexer->YYLeng()));
    return t;
}

void class_blif_parser::add_more_names()
{
    line_names.insert(line_names.end(), more_names.begin(), more_names.end());
    more_names.clear();
}

void class_blif_parser::add_more_values()
{
    cover_values.insert(cover_values.end(), more_values.begin(), more_values.end());
    more_values.clear();
}

blif_cover class_blif_parser::cover() const
{
    return blif_cover{cover_values.data(), row_starts.data(), row_starts.size(), cover_values.size()};
}

int class_blif_parser::parse(std::ostream& trace_stream, int debug_flag)
{
    trace = &trace_stream;
    debug = debug_flag;
    return blifparse();
}

void blif_debuger_law(int rule, int alternative, const char* message, int flag, std::ostream& os)
{
    if (flag != 1) return;
    os << rule;
    if (alternative != 1) os << "," << alternative;
    os << " --> " << message << std::endl;
}

void blif_exit(int status)
{
    // the log gets what the scanner echoed so far
    if (pblif_parser != nullptr && pblif_parser->trace != nullptr) pblif_parser->trace->flush();
    std::cout.flush();
    std::cerr.flush();
    if (blif_exit_handler != nullptr) blif_exit_handler(status);
    std::exit(status);
}

std::string blif_current_signal;

void blif_node_limit_reached(long limit)
{
    if (!blif_current_signal.empty())
        std::cerr << "ERROR: the BDD of signal " << blif_current_signal << " needs more than " << limit
                  << " nodes, the memory budget of the run !" << std::endl;
    else
        std::cerr << "ERROR: the BDDs of the circuit need more than " << limit
                  << " nodes, the memory budget of the run !" << std::endl;
    blif_exit(1);
}

void blif_out_of_memory()
{
    // no allocation here: the message is written straight to the descriptor
    static const char head[] = "ERROR: out of memory", signal[] = " while building the BDD of signal ",
                      tail[] = " !\n";
    ssize_t ignored = write(2, head, sizeof head - 1);
    if (!blif_current_signal.empty()) {
        ignored = write(2, signal, sizeof signal - 1);
        ignored = write(2, blif_current_signal.data(), blif_current_signal.size());
    }
    ignored = write(2, tail, sizeof tail - 1);
    (void)ignored;
    std::_Exit(1);
}

void blif_latch_initial_value(const std::string& register_name, int value)
{
    b_autom_dec* dec = pblif_parser->dec;
    long p = dec->ident_associe(register_name);
    if (p < 0 || p >= dec->state_count) {
        // the pre-pass saw other words on this line: no register slot to fill
        std::cerr << "error in blif definition about " << register_name << " register" << std::endl;
        blif_exit(1);
    }
    pblif_parser->init[p] = value;
}

void class_blif_parser::mark_inputs()
{
    inputs_of = dec;
    input_ids.clear();
    if (dec == nullptr) return;
    bddpp_manager* m = dec->manager_associe();
    input_ids.assign(static_cast<size_t>(m->nvars), 0);
    for (int i = 0; i < dec->input_count; ++i) {
        long k = m->Id_var_by_name(dec->input_names[i]);
        if (k >= 0 && static_cast<size_t>(k) < input_ids.size()) input_ids[static_cast<size_t>(k)] = 1;
    }
}

bool class_blif_parser::input_id(long id)
{
    if (inputs_of != dec) mark_inputs();
    return id >= 0 && static_cast<size_t>(id) < input_ids.size() && input_ids[static_cast<size_t>(id)] != 0;
}

void blif_cover_equation(const std::string* const* names, size_t count, const blif_cover& rows)
{
    b_autom_dec* dec = pblif_parser->dec;
    bddpp_manager* m = dec->manager_associe();
    std::vector<bdd>& vars = pblif_parser->line_vars; // the variables of the names, in their order
    vars.clear();
    long id = -1;
    for (size_t k = 0; k < count; ++k) {
        const std::string& n = *names[k];
        id = m->Id_var_by_name(n);
        if (id < 0) {
            // the pre-pass and the scanner read the file differently
            std::cerr << "PARSING ERROR: signal " << n << " of a .names line was not declared !" << std::endl;
            blif_exit(1);
        }
        vars.push_back(m->Bdd_var_by_id(id));
    }
    const std::string& defined = *names[count - 1];
    const long p = m->id_to_pos[id];
    const char* conflict = nullptr;
    if (pblif_parser->input_id(id)) conflict = "input ";
    else if (p < dec->state_count) conflict = "register ";
    if (conflict != nullptr) {
        // the input's value, or the register's state, would be replaced by the cover's
        std::cerr << "PARSING ERROR: " << conflict << defined << " is driven by a .names block !" << std::endl;
        blif_exit(1);
    }
    if (dec->wood_associee()->exp_by_index(p) != nullptr) {
        std::cerr << "PARSING ERROR: signal " << defined << " is defined by more than one .names block !"
                  << std::endl;
        blif_exit(1);
    }
    blif_current_signal = defined;
    blif_cover_convert(dec->wood_associee(), vars, defined, rows);
    blif_current_signal.clear();
    vars.clear();
}
