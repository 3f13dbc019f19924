// File name extensions, the current directory and relative paths.
#include "utils/Stringpp.h"

#include <iostream>
#include <vector>

#include "platform/directory.h"

std::string supress_filename_extension(const std::string& path)
{
    std::string::size_type slash = path.rfind('/');
    std::string::size_type name = (slash == std::string::npos) ? 0 : slash + 1;
    std::string::size_type dot = path.rfind('.');
    if (dot == std::string::npos || dot < name) return path;
    if (dot + 1 == path.length()) return path.substr(0, dot);
    if (path[dot + 1] == '\\') return path;
    if (dot == 0) return "";
    if (path[dot - 1] == '.') return path;
    return path.substr(0, dot);
}

std::string my_current_directory()
{
    std::vector<char> buffer(1025);
    unsigned long n = GetCurrentDirectoryA(static_cast<unsigned long>(buffer.size()), buffer.data());
    if (n >= buffer.size()) { // a longer directory: ask again with the size it needs
        buffer.resize(n);
        n = GetCurrentDirectoryA(static_cast<unsigned long>(buffer.size()), buffer.data());
        if (n >= buffer.size()) return "";
    }
    return substitute_char(std::string(buffer.data(), n), '\\', '/');
}

// The relative path once the common leading components are gone; path_prev and base_prev are
// the remainders from the first differing component on.
static std::string relative_from_rests(const std::string& path, const std::string& path_prev,
                                       const std::string& base_prev)
{
    std::string up;
    if (!base_prev.empty()) {
        up = "..";
        for (char c : base_prev)
            if (c == '/') up = "../" + up;
    }
    if (path_prev == path && (path.empty() || path[0] != '/')) return path;
    if (path_prev.empty()) return up;
    if (base_prev.empty()) return path_prev;
    return up + "/" + path_prev;
}

std::string relative_directory_path(const std::string& path, const std::string& base_in)
{
    std::string base = base_in.empty() ? my_current_directory() : base_in;
    std::cerr << "demarrage " << path << "|" << base << std::endl;
    std::string result;
    if (path == base) {
        result = ".";
    } else {
        std::string path_rest = path, base_rest = base, path_prev, base_prev;
        bool exhausted = false; // every component equal, the texts differing only in a '/'
        for (;;) {
            path_prev = path_rest;
            base_prev = base_rest;
            if (path_prev.empty() && base_prev.empty()) {
                exhausted = true;
                break;
            }
            std::string p = next_record(path_rest, '/', path_rest);
            std::string b = next_record(base_rest, '/', base_rest);
            if (p != b) break;
        }
        std::cerr << "intermediaire: " << path_prev << "|" << base_prev << std::endl;
        result = exhausted ? "." : relative_from_rests(path, path_prev, base_prev);
    }
    std::cerr << "--> " << result << std::endl;
    return result;
}
