// The list and set templates for int and the global empty list of int.
#include "utils/list_int.h"
#include "utils/list_driver.h"

NELVOR_LIST_UNIT(int, int, 3, 5)
