// The settings of one run of the command line and the translation run that uses them.
#ifndef NELVOR_TRANSLATION_RUN_H
#define NELVOR_TRANSLATION_RUN_H

#include <istream>
#include <ostream>
#include <string>

struct run_settings {
    std::string base;      // base name B, verbatim: every file name is B + a suffix
    int awaited = 0;       // "-awaited"
    int bac = 0;           // "-bac"
    int lustre = 0;        // "-lustre"
    int esterel = 0;       // "-esterel"
    int le = 0;            // "-le"
    int c = 0;             // "-c"
    int cs = 0;            // "-cs"
    int vhdl = 0;          // "-vhdl"
    int systemc = 0;       // "-systemc"
    int doc = 0;           // "-doc"
    int latex = 0;         // "-latex"
    int level = 0;         // "-O0", "-O1", "-O2": the last one given wins
};

// Runs the pre-pass, the parser, the sort and the requested writers over the open input stream,
// named input_name in the messages, and the log stream; input must be seekable (it is read twice,
// from the start). The streams stay open: whoever opened them closes them. Returns the process's
// exit status (the caller exits with it).
int translation_run(const run_settings& settings, std::istream& input, const std::string& input_name,
                    std::ostream& log);

#endif
