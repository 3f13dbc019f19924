// The command line: reports byte for byte, exit statuses, file names and the log rules.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fcntl.h>
#include <fstream>
#include <sstream>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

#include "blif/driver.h"
#include "blif/targets.h"

namespace {

const char* const help_text = R"(        nelvor: target generation from blif
        written by the nelvor author, version 1.0.0

   syntax:

         nelvor <filename> [-awaited] [-bac] [-lustre] [-esterel] [-c] [-cs] [-vhdl] [-systemc] [-doc] [-latex]


         or nelvor -v

         or nelvor -h

   options:

      -h : this help

      -v : version

      -Ox : optimisation level of the genereted code (x=0: no, x=2: better)

      -awaited : export the awaited inputs

      -bac : generate a ba file of boolean equations for the BAC analyser

      -lustre : generate a LUSTRE node with an equivalent behavior

      -esterel : genere an ESTEREL module with an equivalent behavior

      -le : generate a LIGHT ESTEREL module with an equivalent behavior

      -c : generate a c function with include

      -cs : generate a CSharp file

      -vhdl : generate a vhdl file

      -systemc : generate a SystemC file with include

      -doc : generate an human readable file

      -latex : generate a doc file in latex format)";

const char* const missing_input_text = R"(missing input filename in parameter !

syntax :

   nelvor <filename> [-awaited] [-bac] [-lustre] [-esterel] [-le] [-c] [-cs] [-systemc] [-vhdl] [-doc] [-latex]


   or nelvor -v

   or nelvor -h)";

const char* const small_circuit = ".model small\n.inputs a b\n.outputs y\n.names a b y\n11 1\n.end\n";

struct run_result {
    int status;       // exit status, or -1 when the program did not exit normally
    std::string out;  // standard output
    std::string err;  // standard error
};

std::string file_text(const std::string& name)
{
    std::ifstream f(name.c_str());
    std::ostringstream s;
    s << f.rdbuf();
    return s.str();
}

bool exists(const std::string& name)
{
    struct stat st;
    return stat(name.c_str(), &st) == 0;
}

void write_file(const std::string& name, const std::string& text)
{
    std::ofstream f(name.c_str());
    f << text;
}

// A fresh directory per test in which nelvor runs without a display.
class Driver : public testing::Test {
protected:
    std::string dir;

    void SetUp() override
    {
        char name[] = "/tmp/nelvor_driver_XXXXXX";
        ASSERT_NE(mkdtemp(name), nullptr);
        dir = name;
    }
    void TearDown() override
    {
        std::string command = "rm -rf '" + dir + "'";
        EXPECT_EQ(std::system(command.c_str()), 0);
    }

    std::string path(const std::string& name) const { return dir + "/" + name; }

    // Runs the built program in dir with the arguments, DISPLAY unset (or set to display).
    run_result run(const std::vector<std::string>& args, const char* display = nullptr) const
    {
        std::string out = path(".stdout"), err = path(".stderr");
        pid_t pid = fork();
        if (pid == 0) {
            if (chdir(dir.c_str()) != 0) _exit(127);
            if (display != nullptr) setenv("DISPLAY", display, 1);
            else unsetenv("DISPLAY");
            int o = open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
            int e = open(err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
            if (o < 0 || e < 0 || dup2(o, 1) < 0 || dup2(e, 2) < 0) _exit(127);
            std::string program = NELVOR_BINARY_DIR "/blif/nelvor";
            std::vector<char*> argv;
            argv.push_back(const_cast<char*>(program.c_str()));
            for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
            argv.push_back(nullptr);
            execv(program.c_str(), argv.data());
            _exit(127);
        }
        int status = 0;
        waitpid(pid, &status, 0);
        run_result r{WIFEXITED(status) ? WEXITSTATUS(status) : -1, file_text(out), file_text(err)};
        unlink(out.c_str());
        unlink(err.c_str());
        return r;
    }
};

TEST_F(Driver, ReportsAndStatuses)
{
    struct { std::vector<std::string> args; int status; std::string report; } cases[] = {
        {{}, 1, missing_input_text},
        {{"-h"}, 0, help_text},
        {{"-h", "-lustre"}, 0, help_text},
        {{"-v"}, 0, "nelvor : version  1.0.0"},
        {{"circ", "-lustre", "-x"}, 1, "`-x' unknown option: try nelvor -h to known the list ..."},
        {{"circ", "-h"}, 1, "`-h' unknown option: try nelvor -h to known the list ..."},
        {{"circ", "-v"}, 1, "`-v' unknown option: try nelvor -h to known the list ..."},
        {{"circ", "-LUSTRE"}, 1, "`-LUSTRE' unknown option: try nelvor -h to known the list ..."},
        {{"circ", "-O3"}, 1, "`-O3' unknown option: try nelvor -h to known the list ..."},
        {{"circ", ""}, 1, "`' unknown option: try nelvor -h to known the list ..."},
        {{"circ", "-c", "%s %d"}, 1, "`%s %d' unknown option: try nelvor -h to known the list ..."},
        {{"nothere"}, 1, "file nothere.blif not found"},
        {{"-lustre"}, 1, "file -lustre.blif not found"},
        {{"sub/x", "-c"}, 1, "file sub/x.blif not found"},
    };
    for (auto& c : cases) {
        run_result r = run(c.args);
        std::string label = c.args.empty() ? "(none)" : c.args[0];
        EXPECT_EQ(r.status, c.status) << label;
        EXPECT_EQ(r.err, c.report + "\n") << label;
        EXPECT_EQ(r.out, "") << label;
    }
}

TEST_F(Driver, ADisplayThatCannotBeOpenedIsNoDisplay)
{
    run_result r = run({"-v"}, ":4093");
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.err, "nelvor : version  1.0.0\n");
    r = run({"x", "-y"}, "");
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "`-y' unknown option: try nelvor -h to known the list ...\n");
}

TEST_F(Driver, UnknownOptionLeavesTheLogAlone)
{
    EXPECT_EQ(run({"circ", "-x"}).status, 1);
    EXPECT_FALSE(exists(path("circ.log")));
    write_file(path("circ.log"), "earlier run\n");
    write_file(path("circ.blif"), small_circuit);
    EXPECT_EQ(run({"circ", "-lustre", "-O1", "-lustre2"}).status, 1);
    EXPECT_EQ(file_text(path("circ.log")), "earlier run\n");
    EXPECT_FALSE(exists(path("circ.lus")));
}

TEST_F(Driver, MissingInputStillCreatesOrEmptiesTheLog)
{
    EXPECT_EQ(run({"gone", "-lustre"}).status, 1);
    ASSERT_TRUE(exists(path("gone.log")));
    EXPECT_EQ(file_text(path("gone.log")), "");
    write_file(path("gone.log"), "earlier run\n");
    EXPECT_EQ(run({"gone"}).status, 1);
    EXPECT_EQ(file_text(path("gone.log")), "");
}

TEST_F(Driver, BaseNameWithADirectoryPart)
{
    ASSERT_EQ(mkdir(path("dir").c_str(), 0755), 0);
    write_file(path("dir/circ.blif"), small_circuit);
    run_result r = run({"dir/circ"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_TRUE(exists(path("dir/circ.log")));
    EXPECT_FALSE(exists(path("circ.log")));
    EXPECT_EQ(run({"dir/other"}).err, "file dir/other.blif not found\n");
    EXPECT_TRUE(exists(path("dir/other.log")));
}

// A folder in place of the input, a log that cannot be created and a base name that names no
// module end the run before reading, with a message naming the file or the name and status 1.
TEST_F(Driver, RunsThatCannotTranslate)
{
    ASSERT_EQ(mkdir(path("folder.blif").c_str(), 0755), 0);
    ASSERT_EQ(mkdir(path("nolog.log").c_str(), 0755), 0);
    ASSERT_EQ(mkdir(path("dir").c_str(), 0755), 0);
    const std::string module_rule = " cannot name the module: its last part must be a letter or _ followed by "
                                    "letters, digits and _";
    struct { std::string base; std::string report; } cases[] = {
        {"folder", "file folder.blif is a folder, not a BLIF file"},
        {"nolog", "file nolog.log cannot be created"},
        {"my-circ", "base name my-circ" + module_rule},
        {"9abc", "base name 9abc" + module_rule},
        {"x.y", "base name x.y" + module_rule},
        {"dir/a@b", "base name dir/a@b" + module_rule},
    };
    for (auto& c : cases) {
        if (c.base != "folder" && c.base != "nolog") write_file(path(c.base + ".blif"), small_circuit);
        if (c.base == "nolog") write_file(path("nolog.blif"), small_circuit);
        run_result r = run({c.base, "-c"});
        EXPECT_EQ(r.status, 1) << c.base;
        EXPECT_EQ(r.err, c.report + "\n") << c.base;
        EXPECT_FALSE(exists(path(c.base + ".c"))) << c.base;
    }
    // a read-only folder (which does not stop the superuser)
    ASSERT_EQ(mkdir(path("ro").c_str(), 0755), 0);
    write_file(path("ro/c.blif"), small_circuit);
    ASSERT_EQ(chmod(path("ro").c_str(), 0555), 0);
    if (geteuid() != 0) {
        run_result ro = run({"ro/c"});
        EXPECT_EQ(ro.status, 1);
        EXPECT_EQ(ro.err, "file ro/c.log cannot be created\n");
    }
    ASSERT_EQ(chmod(path("ro").c_str(), 0755), 0);
    // the module name is the last part alone: a directory part may hold any character
    ASSERT_EQ(mkdir(path("my-dir").c_str(), 0755), 0);
    write_file(path("my-dir/_c1.blif"), small_circuit);
    run_result r = run({"my-dir/_c1", "-c"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_TRUE(exists(path("my-dir/_c1.c")));
}

TEST_F(Driver, EveryOptionIsAcceptedAfterTheBaseName)
{
    write_file(path("circ.blif"), small_circuit);
    run_result r = run({"circ", "-O2", "-O0", "-awaited", "-bac", "-lustre", "-esterel", "-le", "-c", "-cs",
                        "-vhdl", "-systemc", "-doc", "-latex", "-O1", "-lustre"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_TRUE(exists(path("circ.log")));
}

// Reads the arguments (the program name first) in-process.
int read(std::vector<std::string> args, run_settings& s, std::string& report)
{
    args.insert(args.begin(), "nelvor");
    std::vector<char*> argv;
    for (std::string& a : args) argv.push_back(&a[0]);
    argv.push_back(nullptr);
    return read_command_line(static_cast<int>(args.size()), argv.data(), s, report);
}

TEST(CommandLine, FlagsAndTheLastLevelWins)
{
    run_settings s;
    std::string report;
    EXPECT_EQ(read({"a.b/c", "-O2", "-O0", "-c", "-c", "-systemc"}, s, report), -1);
    EXPECT_EQ(report, "");
    EXPECT_EQ(s.base, "a.b/c");
    EXPECT_EQ(s.level, 0);
    EXPECT_EQ(s.c, 1);
    EXPECT_EQ(s.systemc, 1);
    EXPECT_EQ(s.lustre + s.esterel + s.le + s.cs + s.vhdl + s.doc + s.latex + s.bac + s.awaited, 0);
    EXPECT_EQ(read({"x", "-awaited", "-bac", "-lustre", "-esterel", "-le", "-cs", "-vhdl", "-doc", "-latex", "-O1"}, s,
                   report),
              -1);
    EXPECT_EQ(s.awaited + s.bac + s.lustre + s.esterel + s.le + s.cs + s.vhdl + s.doc + s.latex, 9);
    EXPECT_EQ(s.c + s.systemc, 0);
    EXPECT_EQ(s.level, 1);
    EXPECT_EQ(read({"x", "-O0", "-O2"}, s, report), -1);
    EXPECT_EQ(s.level, 2);
    EXPECT_EQ(read({"-lustre"}, s, report), -1);
    EXPECT_EQ(s.base, "-lustre");
    EXPECT_EQ(s.lustre, 0);
}

TEST(CommandLine, FileNamesAreTheBaseNameAndASuffix)
{
    run_files f = run_file_names("dir/circ");
    EXPECT_EQ(f.blif, "dir/circ.blif");
    EXPECT_EQ(f.log, "dir/circ.log");
}

// The table that the driver and the translation run use: each target's option, the flag that the
// option sets, its files and the level its writer gets, in the order the files are written.
TEST(CommandLine, TableOfTargets)
{
    struct row {
        const char* option;
        int run_settings::*flag;
        const char* suffix;
        const char* suffix2; // "" for none
        int fixed_level;
    };
    const row expected[] = {
        {"-bac", &run_settings::bac, ".ba", "", -1},         {"-lustre", &run_settings::lustre, ".lus", "", -1},
        {"-esterel", &run_settings::esterel, ".strl", "", -1}, {"-le", &run_settings::le, ".le", "", -1},
        {"-c", &run_settings::c, ".c", ".h", -1},            {"-cs", &run_settings::cs, ".cs", "", -1},
        {"-vhdl", &run_settings::vhdl, ".vhd", "", 1},
        {"-systemc", &run_settings::systemc, "_sc.cc", "_sc.h", -1},
        {"-doc", &run_settings::doc, ".doc", "", -1},        {"-latex", &run_settings::latex, ".tex", "", -1},
    };
    ASSERT_EQ(TARGET_COUNT, sizeof expected / sizeof expected[0]);
    for (std::size_t k = 0; k < TARGET_COUNT; ++k) {
        const target& t = TARGETS[k];
        SCOPED_TRACE(expected[k].option);
        EXPECT_STREQ(t.option, expected[k].option);
        EXPECT_TRUE(t.flag == expected[k].flag);
        EXPECT_STREQ(t.suffix, expected[k].suffix);
        EXPECT_STREQ(t.suffix2 ? t.suffix2 : "", expected[k].suffix2);
        EXPECT_EQ(t.fixed_level, expected[k].fixed_level);
        EXPECT_TRUE(t.suffix2 ? t.write2 != nullptr && t.write == nullptr : t.write != nullptr && t.write2 == nullptr);
        // the option sets its flag and no other
        run_settings s;
        std::string report;
        std::vector<std::string> args = {"nelvor", "x", t.option};
        std::vector<char*> argv;
        for (std::string& a : args) argv.push_back(&a[0]);
        ASSERT_EQ(read_command_line(3, argv.data(), s, report), -1);
        for (std::size_t j = 0; j < TARGET_COUNT; ++j) EXPECT_EQ(s.*TARGETS[j].flag, j == k ? 1 : 0);
    }
    EXPECT_STREQ(INPUT_SUFFIX, ".blif");
    EXPECT_STREQ(LOG_SUFFIX, ".log");
}

} // namespace
