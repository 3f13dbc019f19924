// The second half of a translation: awaited inputs, sort, and the writers of the requested targets.
#ifndef NELVOR_RUN_WRITERS_H
#define NELVOR_RUN_WRITERS_H

#include <list>
#include <ostream>
#include <string>

#include "bdd/bddpp.h"
#include "blif/translation_run.h"

class b_automaton;

// Runs the awaited-input export (when asked), the sort and each requested writer once, in the
// fixed order; returns 0, or 1 when an output file could not be created or written (one line on
// the standard error stream names it; the other writers still run) or when the sort found a
// combinational cycle (one line per cycle names its signals; the writers still run).
int run_writers(b_automaton* automaton, const run_settings& settings);

// The name of the module, node, class or entity inside the target files: the base name without
// its directory part.
std::string module_name(const std::string& base);
// Whether that name is an identifier of every target: a letter or "_", then letters, digits and
// "_" (the writers rename it where it is a keyword of their target).
bool module_name_usable(const std::string& base);

// The cube's positive literals whose variable is named in names, ANDed; constant 0 when there
// is none. f is expected to be a cube of manager.
bdd filtre_sorties(bddpp_manager* manager, bdd f, std::list<std::string>& names);

#endif
