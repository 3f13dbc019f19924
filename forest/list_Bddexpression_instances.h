// The list templates for equations and equation pointers.
#ifndef NELVOR_LIST_BDDEXPRESSION_INSTANCES_H
#define NELVOR_LIST_BDDEXPRESSION_INSTANCES_H

#include "forest/Bddexpression.h"
#include "utils/list_templates.h"

// Makes the instantiations for Bddexpression and Bddexpression* exist; nobody calls it.
void list_Bddexpression_inutile();

#endif
