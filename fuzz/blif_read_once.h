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

// The reading of blif_read_once on the given parser object, without freeing anything.
inline blif_read_result blif_read_into(const std::string& text, std::ostream& log, int debug, class_blif_parser& parser)
{
    blif_read_result r;
    lex_blif_newline_mode = 0;
    void (*saved_handler)(int) = blif_exit_handler;
    blif_exit_handler = blif_read_throw_exit;
    std::istringstream words(text);
    std::istringstream in(text);
    blifFlexLexer lexer(&in, &log);
    parser.lexer = &lexer;
    try {
        r.preparse_ok = parser.preparse(words);
        lexer.yyrestart(&in);
        r.parse_result = parser.parse(log, debug);
    } catch (const blif_read_exit& e) {
        r.exit_status = e.status;
    }
    parser.lexer = nullptr;
    blif_exit_handler = saved_handler;
    return r;
}

// Frees what the reading left in parser.
inline void blif_free_parser(class_blif_parser& parser, blif_read_result& r)
{
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
    parser.automaton = nullptr;
    parser.dec = nullptr;
    parser.init = nullptr;
    pblif_parser = nullptr;
}

// Reads text as a BLIF file; the log echo and the trace go to log. The newline mode starts at 0.
// inspect, when given, sees the parser object before anything is freed.
inline blif_read_result blif_read_once(const std::string& text, std::ostream& log, int debug,
                                       const std::function<void(class_blif_parser&)>& inspect = nullptr)
{
    class_blif_parser parser;
    blif_read_result r = blif_read_into(text, log, debug, parser);
    if (inspect) inspect(parser);
    blif_free_parser(parser, r);
    return r;
}

// What one whole translation in memory gave.
struct blif_translate_result {
    blif_read_result read;  // the reading
    int check_status = -1;  // the checks of the signals; -1 when the reading failed
    int written = 0;        // 1 when every writer ran
    int internal_text = 0;  // 1 when a written text holds "INTERNAL ERROR"
    int exit_status = -1;   // status of an exit during the checks or the writers; -1 when there was none
};

// The whole run of the translator over text, in memory: the reading, the checks of the signals,
// the sort with the cycle report, then every target writer of the translation and the sketch,
// at the given level, each into a string stream. The reader's exits are caught.
inline blif_translate_result blif_translate_once(const std::string& text, std::ostream& log, int level)
{
    blif_translate_result t;
    class_blif_parser parser;
    t.read = blif_read_into(text, log, 0, parser);
    b_automaton* a = parser.automaton;
    if (t.read.parse_result == 0 && t.read.exit_status < 0 && a != nullptr) {
        void (*saved_handler)(int) = blif_exit_handler;
        blif_exit_handler = blif_read_throw_exit;
        try {
            t.check_status = blif_check_signals(a);
            if (t.check_status == 0) {
                blif_report_cycles(a, a->sort());
                const std::string name = "m";
                std::ostringstream out, out2;
                a->BAC_put(out, level, name);
                a->LUSTRE_put(out, level, name);
                a->ESTEREL_put(out, level, name);
                a->LE_put(out, level, name);
                a->C_put(out, out2, level, name);
                a->CSHARP_put(out, level, name);
                a->VHDL_put(out, 1, name);
                a->SYSTEMC_put(out, out2, level, name);
                a->DOC_put(out, level, name);
                a->LATEX_put(out, level, name);
                std::list<std::string> pulse;
                if (a->output_count > 0) pulse.push_back(a->output_names[0]);
                a->INO_put_grafcet(out, level, name, pulse);
                t.written = 1;
                t.internal_text = (out.str() + out2.str()).find("INTERNAL ERROR") != std::string::npos;
            }
        } catch (const blif_read_exit& e) {
            t.exit_status = e.status;
        }
        blif_exit_handler = saved_handler;
    }
    blif_free_parser(parser, t.read);
    return t;
}

#endif
