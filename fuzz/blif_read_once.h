// One run of the BLIF reader over a text held in memory, for the fuzz target and its replay test:
// pre-pass, scanner, grammar, with the reader's exits caught and everything freed afterwards.
#ifndef NELVOR_BLIF_READ_ONCE_H
#define NELVOR_BLIF_READ_ONCE_H

#include <functional>
#include <sstream>
#include <string>

#include "blif/blif_lexer.h"
#include "blif/blif_parser.h"

// Thrown by the exit handler in place of ending the process.
struct blif_read_exit {
    int status; // the status the process would have ended with
};

inline void blif_read_throw_exit(int status)
{
    throw blif_read_exit{status};
}

// What one reading gave.
struct blif_read_result {
    int preparse_ok = 0;   // the pre-pass's result
    int parse_result = -1; // the grammar's result; -1 when the run ended before it returned
    int exit_status = -1;  // status of a reader exit; -1 when there was none
    int equations = 0;     // equations of the automaton, when one was built
};

// Reads text as a BLIF file; the log echo and the trace go to log. The newline mode starts at 0.
// inspect, when given, sees the parser object before anything is freed.
inline blif_read_result blif_read_once(const std::string& text, std::ostream& log, int debug,
                                       const std::function<void(class_blif_parser&)>& inspect = nullptr)
{
    blif_read_result r;
    lex_blif_newline_mode = 0;
    void (*saved_handler)(int) = blif_exit_handler;
    blif_exit_handler = blif_read_throw_exit;
    std::istringstream words(text);
    std::istringstream in(text);
    class_blif_parser parser;
    blifFlexLexer lexer(&in, &log);
    parser.lexer = &lexer;
    try {
        r.preparse_ok = parser.preparse(words);
        lexer.yyrestart(&in);
        r.parse_result = parser.parse(log, debug);
    } catch (const blif_read_exit& e) {
        r.exit_status = e.status;
    }
    blif_exit_handler = saved_handler;
    if (inspect) inspect(parser);
    if (parser.automaton == nullptr && parser.dec != nullptr) {
        // an automaton adopts the declarations' arrays and forest, and frees them with itself
        bddpp_manager* m = parser.dec->manager_associe();
        parser.automaton = new b_automaton(parser.dec, parser.init, m->Bdd_one(), m->Bdd_zero());
    } else if (parser.automaton != nullptr) {
        r.equations = parser.automaton->nb_equ_def();
    }
    delete parser.automaton; // with the arrays, the forest and the manager
    delete parser.dec;
    delete[] parser.init;
    pblif_parser = nullptr;
    return r;
}

#endif
