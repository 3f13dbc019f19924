// The list and set templates for std::string and the global empty list of std::string.
#include "list_String.h"
#include "list_driver.h"

NELVOR_LIST_UNIT(std::string, String, "3", "5")
