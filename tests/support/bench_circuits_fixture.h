// The bench circuits for the tests that read real files: the .blif files of a folder, and one
// circuit read into a sorted automaton in this process.
#ifndef NELVOR_BENCH_CIRCUITS_FIXTURE_H
#define NELVOR_BENCH_CIRCUITS_FIXTURE_H

#include <dirent.h>

#include <algorithm>
#include <fstream>
#include <string>
#include <vector>

#include "blif/blif_lexer.h"
#include "blif/blif_parser.h"

// The bench folder beside the source tree; absent in a clone without it.
inline const std::string& bench_folder()
{
    static const std::string folder = std::string(NELVOR_BENCH_DIR);
    return folder;
}

// Circuits left out: the single 130-input cover of o64 ORs the products v_i AND v_(i+64), whose BDD
// in the declaration order v0, v1, ... has about 2^64 nodes, so its reading never ends.
inline bool left_out(const std::string& file)
{
    static const char* const LEFT_OUT[] = {"/o64.blif"};
    for (const char* name : LEFT_OUT)
        if (file.size() >= std::string(name).size() && file.compare(file.size() - std::string(name).size(),
                                                                      std::string::npos, name) == 0)
            return true;
    return false;
}

// The .blif files of the folder and of its sub-folders, sorted.
inline std::vector<std::string> blif_files(const std::string& folder)
{
    std::vector<std::string> files;
    DIR* d = opendir(folder.c_str());
    if (d == nullptr) return files;
    while (dirent* entry = readdir(d)) {
        std::string name = entry->d_name;
        if (name == "." || name == "..") continue;
        std::string path = folder + "/" + name;
        if (name.size() > 5 && name.substr(name.size() - 5) == ".blif")
            files.push_back(path);
        else {
            std::vector<std::string> inner = blif_files(path);
            files.insert(files.end(), inner.begin(), inner.end());
        }
    }
    closedir(d);
    std::sort(files.begin(), files.end());
    return files;
}

// The automaton of the BLIF file read in this process, sorted; null when it does not parse.
inline b_automaton* read_circuit(const std::string& path, const std::string& log_path)
{
    std::ifstream input(path.c_str());
    std::ofstream log(log_path.c_str());
    lex_blif_newline_mode = 0; // a new file starts in the mode of a fresh scanner
    class_blif_parser parser;
    blifFlexLexer lexer(&input, &log);
    parser.lexer = &lexer;
    if (!parser.preparse(path.c_str())) return nullptr;
    lexer.yyrestart(&input);
    if (parser.parse(log, 0) != 0 || parser.automaton == nullptr) return nullptr;
    parser.automaton->sort();
    return parser.automaton;
}

#endif
