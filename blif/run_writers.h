// The second half of a translation: awaited inputs, sort, and the writers of the requested targets.
#ifndef NELVOR_RUN_WRITERS_H
#define NELVOR_RUN_WRITERS_H

#include "translation_run.h"

class b_automaton;

// Runs the awaited-input export (when asked), the sort and each requested writer once, in the
// fixed order; returns 0, or 1 when an output file could not be created.
int run_writers(b_automaton* automaton, const run_settings& settings);

#endif
