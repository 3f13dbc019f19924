// The toolkit gets a NUL-terminated copy of a standard string, freed after the call.
#ifndef NELVOR_FORMSPP_COPY_H
#define NELVOR_FORMSPP_COPY_H

#include <string>

#include "utils/Stringpp.h"

// Calls call(copy) with a Stoa copy of s, frees the copy and returns what call returned.
template <class F> auto with_copy(const std::string& s, F call) -> decltype(call(static_cast<char*>(nullptr)))
{
    struct owner {
        char* copy; // freed whatever call returns
        ~owner() { delete[] copy; }
    } o{Stoa(s)};
    return call(o.copy);
}

#endif
