// The current directory over getcwd.
#include "platform/directory.h"

#include <cstdlib>
#include <cstring>
#include <unistd.h>

unsigned long GetCurrentDirectoryA(unsigned long size, char* buffer)
{
    char* cwd = getcwd(nullptr, 0); // sized by the C library, whatever the directory's length
    if (cwd == nullptr) return 0;
    unsigned long length = std::strlen(cwd);
    unsigned long result = length + 1;
    if (buffer != nullptr && length < size) {
        std::memcpy(buffer, cwd, length + 1);
        result = length;
    }
    std::free(cwd);
    return result;
}
