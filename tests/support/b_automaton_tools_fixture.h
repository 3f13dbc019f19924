// Temporary directories, files and command lines for the checks by real tools.
#ifndef NELVOR_B_AUTOMATON_TOOLS_FIXTURE_H
#define NELVOR_B_AUTOMATON_TOOLS_FIXTURE_H

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

// The directories made by tool_directory in this run.
inline std::vector<std::string>& tool_directories()
{
    static std::vector<std::string> made;
    return made;
}

// At the end of a run without failure, the directories go; after a failure they stay for a look.
inline void remove_tool_directories()
{
    if (testing::UnitTest::GetInstance()->Failed()) return;
    for (const std::string& dir : tool_directories()) std::system(("rm -rf '" + dir + "'").c_str());
}

// A new empty directory for the files of one tool check.
inline std::string tool_directory(const std::string& label)
{
    std::string pattern = std::string(NELVOR_BINARY_DIR) + "/tool-" + label + "-XXXXXX";
    std::vector<char> buffer(pattern.begin(), pattern.end());
    buffer.push_back('\0');
    const char* made = mkdtemp(buffer.data());
    if (made == nullptr) return std::string();
    if (tool_directories().empty()) std::atexit(remove_tool_directories);
    tool_directories().push_back(made);
    return made;
}

inline void write_file(const std::string& path, const std::string& text)
{
    std::ofstream out(path.c_str());
    out << text;
}

// Runs the command line; returns its exit status and its standard output in out.
inline int run_command(const std::string& command, std::string& out)
{
    out.clear();
    FILE* pipe = popen((command + " 2>&1").c_str(), "r");
    if (pipe == nullptr) return -1;
    char chunk[4096];
    std::size_t n;
    while ((n = fread(chunk, 1, sizeof chunk, pipe)) > 0) out.append(chunk, n);
    int status = pclose(pipe);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// Whether the program is on the path.
inline bool have_tool(const std::string& program)
{
    std::string out;
    return run_command("command -v " + program, out) == 0;
}

// The whole file; empty when it cannot be read.
inline std::string read_file(const std::string& path)
{
    std::ifstream in(path.c_str());
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

inline bool file_exists(const std::string& path)
{
    std::ifstream in(path.c_str());
    return static_cast<bool>(in);
}

#endif
