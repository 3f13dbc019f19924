// Files for the tests that check what the forms write: whole files read and written as bytes,
// and a test run in a scratch directory of its own.
#ifndef NELVOR_TESTS_TEST_FILES_H
#define NELVOR_TESTS_TEST_FILES_H

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include <sys/stat.h>
#include <unistd.h>

namespace test_files {

// The file's bytes; "" when it cannot be read.
inline std::string read(const std::string& name)
{
    std::ifstream f(name, std::ios::binary);
    std::stringstream s;
    s << f.rdbuf();
    return s.str();
}

inline void write(const std::string& name, const std::string& bytes)
{
    std::ofstream f(name, std::ios::binary);
    f << bytes;
}

// Whether the name is there (a link counts, even a dangling one).
inline bool exists(const std::string& name)
{
    struct stat st;
    return lstat(name.c_str(), &st) == 0;
}

// A test run in a fresh directory under /tmp, made current; leave() goes back and removes it.
class scratch_directory_test : public testing::Test {
protected:
    std::string dir;  // the test's directory
    std::string home; // the current directory before; "" until entered

    // Makes /tmp/<prefix>XXXXXX and enters it (call through ASSERT_NO_FATAL_FAILURE).
    void enter(const std::string& prefix)
    {
        std::string pattern = "/tmp/" + prefix + "XXXXXX";
        std::vector<char> name(pattern.begin(), pattern.end());
        name.push_back('\0');
        ASSERT_NE(mkdtemp(name.data()), nullptr);
        dir = name.data();
        char here[4096];
        ASSERT_NE(getcwd(here, sizeof here), nullptr);
        home = here;
        ASSERT_EQ(chdir(dir.c_str()), 0);
    }
    void leave()
    {
        EXPECT_EQ(chdir(home.c_str()), 0);
        EXPECT_EQ(std::system(("rm -rf '" + dir + "'").c_str()), 0);
    }
    // An executable shell script in the test's directory; its full name.
    std::string script_file(const std::string& name, const std::string& body)
    {
        write(name, "#!/bin/sh\n" + body);
        chmod(name.c_str(), 0755);
        return dir + "/" + name;
    }
};

} // namespace test_files

#endif
