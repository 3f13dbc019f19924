// The list and set templates for long and the global empty list of long.
#include "utils/list_long.h"
#include "utils/list_driver.h"

NELVOR_LIST_UNIT(long, long, 3L, 5L)
