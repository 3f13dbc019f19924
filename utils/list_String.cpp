// The list and set templates for std::string and the global empty list of std::string.
#include "utils/list_String.h"
#include "utils/list_driver.h"

NELVOR_LIST_UNIT(std::string, String, "3", "5")
