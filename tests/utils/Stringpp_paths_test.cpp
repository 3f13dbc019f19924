// File name extensions, the current directory and relative paths.
#include <gtest/gtest.h>

#include <unistd.h>

#include "utils/Stringpp.h"

TEST(Paths, SupressFilenameExtension)
{
    struct { const char* path; const char* result; } cases[] = {
        {"dir/name.txt", "dir/name"}, {"x.tar.gz", "x.tar"}, {"a/.b", "a/"},     {".profile", ""},
        {"a..b", "a..b"},             {"dir.d/name", "dir.d/name"}, {"a.", "a"}, {".", ""},
        {"..", "."},                  {"a/b.c/d", "a/b.c/d"}, {"name", "name"},   {"", ""},
        {"a.\\b", "a.\\b"},           {"a\\b.c", "a\\b"},
    };
    for (auto& c : cases) EXPECT_EQ(supress_filename_extension(c.path), c.result) << c.path;
}

TEST(Paths, CurrentDirectory)
{
    char buffer[4096];
    ASSERT_NE(getcwd(buffer, sizeof buffer), nullptr);
    EXPECT_EQ(my_current_directory(), buffer);
}

TEST(Paths, RelativeDirectoryPathWithItsTraces)
{
    struct { const char* path; const char* base; const char* result; const char* middle; } cases[] = {
        {"a/x/y", "a/b/c", "../../x/y", "x/y|b/c"},
        {"/x/y", "/a/b", "../../x/y", "x/y|a/b"},
        {"a/b", "a/b/c", "..", "|c"},
        {"a/b/c", "a/b", "c", "c|"},
        {"x/y", "a/b", "x/y", "x/y|a/b"},
        {"a/b/", "a/b", ".", "|"},
    };
    for (auto& c : cases) {
        testing::internal::CaptureStderr();
        EXPECT_EQ(relative_directory_path(c.path, c.base), c.result) << c.path;
        EXPECT_EQ(testing::internal::GetCapturedStderr(), std::string("demarrage ") + c.path + "|" + c.base +
                                                               "\nintermediaire: " + c.middle + "\n--> " +
                                                               c.result + "\n");
    }
    testing::internal::CaptureStderr();
    EXPECT_EQ(relative_directory_path("p/q", "p/q"), ".");
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "demarrage p/q|p/q\n--> .\n");
}

TEST(Paths, EmptyBaseIsTheCurrentDirectory)
{
    std::string here = my_current_directory();
    testing::internal::CaptureStderr();
    EXPECT_EQ(relative_directory_path(here + "/sub/f", ""), "sub/f");
    std::string trace = testing::internal::GetCapturedStderr();
    EXPECT_EQ(trace.substr(0, trace.find('\n')), "demarrage " + here + "/sub/f|" + here);
}
