// The list and set templates with the global empty list and the instantiations of one type.
#ifndef NELVOR_LIST_INT_H
#define NELVOR_LIST_INT_H
#include "utils/list_templates.h"
#endif
