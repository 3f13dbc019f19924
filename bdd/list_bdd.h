// Lists of BDD handles: the list and set templates over bdd and the global empty list.
#ifndef NELVOR_LIST_BDD_H
#define NELVOR_LIST_BDD_H

#include "bdd/bddpp.h"
#include "utils/list_templates.h"

typedef std::list<bdd> list_bdd;

extern std::list<bdd> empty_list_bdd; // built empty before main, never read or written

// Makes the instantiations for bdd exist; nobody calls it.
void list_bdd_inutile();

#endif
