// The translation run: pre-pass, parse, then the writers of the requested targets.
#include "translation_run.h"

#include "blif_lexer.h"
#include "blif_parser.h"
#include "formspp.h"
#include "run_writers.h"

int translation_run(const run_settings& settings, std::ifstream& input, std::ofstream& log)
{
    const std::string blif_name = settings.base + ".blif";
    class_blif_parser parser;
    // never deleted: nothing is freed before the process ends
    parser.lexer = new blifFlexLexer(&input, &log);
    parser.preparse(blif_name.c_str());
    parser.lexer->yyrestart(&input);
    int status;
    if (parser.parse(log, 0) != 0) {
        fl_show_Smessages("parsing error in file " + blif_name);
        status = 1; // a file that does not parse is a failed run
    } else if (blif_check_signals(parser.automaton) != 0) {
        status = 1; // the targets would read values that nothing sets
    } else {
        status = run_writers(parser.automaton, settings);
    }
    input.close();
    log.close();
    return status;
}
