// The targets of the translation: for each its option, its files and its writer. The driver reads
// the options from this table, the translation run writes the files it names, and their tests
// check both against it.
#ifndef NELVOR_TARGETS_H
#define NELVOR_TARGETS_H

#include <cstddef>
#include <ostream>
#include <string>

#include "blif/translation_run.h"

class b_automaton;

// One target: the option that requests it, the flag of the settings that it sets, its file
// suffix(es) and how to call its writer. Targets with two files have a second suffix and use
// write2.
struct target {
    const char* option;                                              // "-lustre", ...
    int run_settings::*flag;                                         // set by the option
    const char* suffix;                                              // first file: B + suffix
    const char* suffix2;                                             // second file, or null
    int fixed_level;                                                 // level passed, or -1 for the run's
    void (*write)(b_automaton&, std::ostream&, int, const std::string&);                  // one file
    void (*write2)(b_automaton&, std::ostream&, std::ostream&, int, const std::string&); // two files
};

// Every target, in the order in which the files are written. A new target is one more row
// (and one more flag in run_settings).
extern const target TARGETS[];
extern const std::size_t TARGET_COUNT;

// The input and the log of a run: B + suffix as well.
extern const char* const INPUT_SUFFIX; // ".blif"
extern const char* const LOG_SUFFIX;   // ".log"

#endif
