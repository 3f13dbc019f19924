// The viewer's files: written whole through a sibling temporary file, removed only when still
// the ones written, viewers run as one program without a shell; the viewer without a display.
#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <cstdlib>
#include <string>
#include <vector>

#include <dirent.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <FL/Fl_Window.H>

#include "forms/formspp_files.h"
#include "forms/formspp_viewer.h"
#include "tests/support/test_files.h"

namespace {

using test_files::read;
using test_files::write;

// The names in the current directory, sorted, separated by blanks.
std::string listing()
{
    std::string names;
    DIR* d = opendir(".");
    std::vector<std::string> v;
    while (dirent* e = readdir(d))
        if (std::string(e->d_name) != "." && std::string(e->d_name) != "..") v.push_back(e->d_name);
    closedir(d);
    std::sort(v.begin(), v.end());
    for (auto& n : v) names += (names.empty() ? "" : " ") + n;
    return names;
}

bool is_link(const std::string& name)
{
    struct stat st;
    return lstat(name.c_str(), &st) == 0 && S_ISLNK(st.st_mode);
}

// Each test in a fresh directory of its own, made current.
class Files : public test_files::scratch_directory_test {
protected:
    void SetUp() override { ASSERT_NO_FATAL_FAILURE(enter("nelvor_files_")); }
    void TearDown() override { leave(); }
};

TEST_F(Files, WrittenWholeWithTheUsualMode)
{
    mode_t mask = umask(022);
    EXPECT_EQ(write_whole_file("tmp.txt", "one\ntwo\n"), "");
    umask(mask);
    EXPECT_EQ(read("tmp.txt"), "one\ntwo\n");
    struct stat st;
    ASSERT_EQ(stat("tmp.txt", &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0644u);
    EXPECT_EQ(write_whole_file("tmp.txt", ""), ""); // replaces the old one
    EXPECT_EQ(read("tmp.txt"), "");
    EXPECT_EQ(listing(), "tmp.txt");
}

TEST_F(Files, ASymbolicLinkIsReplacedNeverFollowed)
{
    write("elsewhere.txt", "keep");
    ASSERT_EQ(symlink("elsewhere.txt", "tmp.txt"), 0);
    ASSERT_EQ(symlink("missing.txt", "tmp.pdf"), 0); // a dangling link creates nothing either
    EXPECT_EQ(write_whole_file("tmp.txt", "report\n"), "");
    EXPECT_EQ(write_whole_file("tmp.pdf", "%PDF"), "");
    EXPECT_FALSE(is_link("tmp.txt"));
    EXPECT_FALSE(is_link("tmp.pdf"));
    EXPECT_EQ(read("elsewhere.txt"), "keep");
    EXPECT_EQ(read("tmp.txt"), "report\n");
    EXPECT_EQ(listing(), "elsewhere.txt tmp.pdf tmp.txt");
}

TEST_F(Files, AFileThatCannotBeWrittenGivesTheReasonAndLeavesNothing)
{
    ASSERT_EQ(mkdir("tmp.txt", 0755), 0);
    EXPECT_EQ(write_whole_file("tmp.txt", "x"), "Is a directory");
    EXPECT_EQ(write_whole_file("nowhere/tmp.txt", "x"), "No such file or directory");
    EXPECT_EQ(listing(), "tmp.txt");
    EXPECT_FALSE(remove_written_file("tmp.txt"));
}

TEST_F(Files, AWriteCutShortLeavesTheOldFileWhole)
{
    write("tmp.txt", "old report\n");
    // a file size limit stops the write half-way, as a full disk would
    rlimit old;
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &old), 0);
    rlimit small = old;
    small.rlim_cur = 100;
    auto previous = std::signal(SIGXFSZ, SIG_IGN);
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    std::string error = write_whole_file("tmp.txt", std::string(10000, 'x'));
    setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, previous);
    EXPECT_EQ(error, "File too large");
    EXPECT_EQ(read("tmp.txt"), "old report\n");
    EXPECT_EQ(listing(), "tmp.txt");
}

TEST_F(Files, OnlyTheFileWrittenIsRemoved)
{
    EXPECT_FALSE(remove_written_file("never.txt"));
    write("other.txt", "theirs");
    EXPECT_FALSE(remove_written_file("other.txt"));
    ASSERT_EQ(write_whole_file("mine.txt", "ours"), "");
    EXPECT_TRUE(remove_written_file("mine.txt"));
    EXPECT_FALSE(remove_written_file("mine.txt"));
    // written, then replaced by someone else's file or by a link: kept
    ASSERT_EQ(write_whole_file("a.txt", "ours"), "");
    ASSERT_EQ(rename("other.txt", "a.txt"), 0);
    EXPECT_FALSE(remove_written_file("a.txt"));
    ASSERT_EQ(write_whole_file("b.txt", "ours"), "");
    write("target.txt", "theirs");
    ASSERT_EQ(unlink("b.txt"), 0);
    ASSERT_EQ(symlink("target.txt", "b.txt"), 0);
    EXPECT_FALSE(remove_written_file("b.txt"));
    EXPECT_EQ(listing(), "a.txt b.txt target.txt");
}

TEST_F(Files, ProgramsRunWithOneArgumentAndNoShell)
{
    // a program name full of shell characters runs that program and nothing else
    std::string odd = script_file("view $(touch bad1) `touch bad2` 'q\";touch bad3.sh",
                             "printf '%s|%s\\n' \"$#\" \"$1\" > args.txt\n");
    EXPECT_EQ(run_program(odd, "my $HOME `x` 'y\" file.pdf"), "");
    EXPECT_EQ(read("args.txt"), "1|my $HOME `x` 'y\" file.pdf\n");
    EXPECT_EQ(access("bad1", F_OK), -1);
    EXPECT_EQ(access("bad2", F_OK), -1);
    EXPECT_EQ(access("bad3.sh", F_OK), -1);
    EXPECT_EQ(run_program(dir + "/absent", "x"), "No such file or directory");
    EXPECT_EQ(run_program("nelvor-no-such-viewer", "x"), "No such file or directory");
    EXPECT_EQ(run_program("", "x"), "No such file or directory");
    write("plain", "#!/bin/sh\n");
    EXPECT_EQ(run_program(dir + "/plain", "x"), "Permission denied");
}

// Sets PATH for one test.
struct path_for_test {
    std::string old;
    explicit path_for_test(const std::string& path) : old(std::getenv("PATH") ? std::getenv("PATH") : "")
    {
        setenv("PATH", path.c_str(), 1);
    }
    ~path_for_test() { setenv("PATH", old.c_str(), 1); }
};

TEST_F(Files, PostScriptViewerAndItsFile)
{
    Fl_Window parent(100, 100);
    parent.end();
    OFD_afficheur french(&parent, 0);
    OFD_afficheur english(&parent, 1);
    {
        path_for_test p(dir + "/nothing-here");
        write("tmp.ps", "%!PS\n");
        testing::internal::CaptureStderr();
        french.imprime_tmp_ps();
        english.imprime_tmp_ps();
        EXPECT_EQ(testing::internal::GetCapturedStderr(),
                  "impossible de lancer ghostview : No such file or directory ; le fichier tmp.ps est conserve\n"
                  "cannot run ghostview: No such file or directory; the file tmp.ps is kept\n");
        EXPECT_EQ(read("tmp.ps"), "%!PS\n");
    }
    ASSERT_EQ(mkdir("bin", 0755), 0);
    script_file("bin/ghostview", "printf '%s|%s\\n' \"$1\" \"$(cat \"$1\")\" >> seen.txt\n");
    path_for_test p(dir + "/bin:/usr/bin:/bin");
    testing::internal::CaptureStderr();
    french.imprime_tmp_ps(); // shown, then kept: this program did not write it
    EXPECT_EQ(read("tmp.ps"), "%!PS\n");
    ASSERT_EQ(write_whole_file("tmp.ps", "%!PS ours\n"), "");
    french.imprime_tmp_ps(); // shown, then removed
    EXPECT_EQ(access("tmp.ps", F_OK), -1);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
    EXPECT_EQ(read("seen.txt"), "tmp.ps|%!PS\ntmp.ps|%!PS ours\n");
}

TEST_F(Files, PdfViewerOutsideARun)
{
    Fl_Window parent(100, 100);
    parent.end();
    OFD_afficheur v(&parent, 1);
    v.viewer = "nelvor-no-such-viewer";
    ASSERT_EQ(write_whole_file("tmp.pdf", "%PDF"), "");
    testing::internal::CaptureStderr();
    v.imprime_tmp_pdf();
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "cannot run nelvor-no-such-viewer: No such file or directory; the file tmp.pdf is kept\n");
    EXPECT_EQ(read("tmp.pdf"), "%PDF");
    v.viewer = script_file("show", "test -f \"$1\" && echo there > seen.txt\n");
    v.imprime_tmp_pdf();
    EXPECT_EQ(read("seen.txt"), "there\n");
    EXPECT_EQ(access("tmp.pdf", F_OK), -1);
    // exports and paging do nothing outside a run
    v.fichier_pdf();
    v.fichier_texte();
    v.page_suivante();
    v.page_numero(0);
    EXPECT_EQ(listing(), "seen.txt show");
}

TEST_F(Files, WithoutADisplayTheViewerSaysSoAndReturns)
{
    Fl_Window parent(100, 100);
    parent.end();
    OFD_afficheur v(&parent, 0);
    std::string lines[] = {"#C 5 ", "abc"};
    testing::internal::CaptureStderr();
    v.activation(lines, 2, "Report", "");
    v.activation(nullptr, 0, "Nothing", "");
    std::list<std::string> none;
    v.activation(none, "Empty", "");
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "OFD_afficheur::activation(): no display to show Report\n");
    EXPECT_TRUE(parent.active());
    EXPECT_EQ(v.display, nullptr);
}

} // namespace
