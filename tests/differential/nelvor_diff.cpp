// nelvor_diff: translates BLIF circuits with nelvor and checks, cycle by cycle, that every
// generated program computes what a reference simulation of the circuit computes.
//
//   nelvor_diff check [--nelvor PATH] [--targets c,cs,ino,vhdl,systemc] [--levels 0,1,2]
//                     [--cycles N] [--seed S] [--work DIR] [--join] [--bases dut,...] CIRCUIT...
//   nelvor_diff generate [--hw|--at] SEED GATES OUT.blif
//   nelvor_diff sketch FILE.blif BASE LEVEL      (writes the sketch of the circuit)
//
// --join gives the translator the file with its continued lines joined; --bases lists the base
// names under which every circuit is translated (dut by default). A CIRCUIT is a BLIF
// file or gen:SEED:GATES (gen:SEED:GATES:hw for hardware names, gen:SEED:GATES:at for the names
// that the C-like targets cannot write as they are), a circuit of the generator written into the
// work directory.
#include "tests/differential/diff.h"

#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <map>
#include <sstream>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

struct target {
    const char* name;    // as given to --targets
    const char* option;  // translator option, empty for the sketch written in process
    diff_runner run;     // driver, build and run
};

const target targets_table[] = {
    {"c", "-c", diff_run_c},
    {"cs", "-cs", diff_run_csharp},
    {"ino", "", diff_run_sketch},
    {"vhdl", "-vhdl", diff_run_vhdl},
    {"systemc", "-systemc", diff_run_systemc},
};

struct settings {
    std::string nelvor = "nelvor";                 // translator
    std::vector<std::string> targets{"c", "cs", "vhdl", "systemc"};
    std::vector<std::string> levels{"0", "1", "2"};
    int cycles = 64;                               // vectors per circuit
    unsigned seed = 1;                             // vector seed
    std::string work;                              // work directory
    bool join = false;                             // continuation lines joined before translating
    std::vector<std::string> bases{"dut"};         // base names of the translations
};

std::vector<std::string> split(const std::string& s, char sep)
{
    std::vector<std::string> parts;
    std::istringstream in(s);
    for (std::string p; std::getline(in, p, sep);)
        if (!p.empty()) parts.push_back(p);
    return parts;
}

int passed = 0, failed = 0;  // (circuit, target, level) runs

// Compares a target's trace with the reference; prints the first mismatches.
void compare(const diff_circuit& c, const std::string& what, const diff_trace& ref, const diff_trace& got)
{
    int bad = 0, shown = 0;
    for (size_t k = 0; k < ref.size(); k++) {
        std::string g = k < got.size() ? got[k] : std::string();
        bool cycle_bad = false;
        for (size_t j = 0; j < c.outputs.size(); j++) {
            char e = ref[k].size() > j ? ref[k][j] : '?', x = g.size() > j ? g[j] : '?';
            if (e == x) continue;
            cycle_bad = true;
            if (shown++ < 8)
                std::cout << "MISMATCH " << c.path << " " << what << ": cycle " << k << " signal "
                          << c.outputs[j] << ": expected " << e << ", got " << x << std::endl;
        }
        bad += cycle_bad;
    }
    std::cout << (bad ? "FAIL " : "ok   ") << c.path << " " << what << ": " << ref.size() - size_t(bad)
              << "/" << ref.size() << " cycles equal" << std::endl;
    (bad ? failed : passed)++;
}

void report_error(const diff_circuit& c, const std::string& what, const std::string& err)
{
    std::cout << "FAIL " << c.path << " " << what << ": " << err << std::endl;
    failed++;
}

// Hash of a name, so that every circuit gets its own vectors from one seed.
unsigned name_hash(const std::string& s)
{
    unsigned h = 2166136261u;
    for (unsigned char ch : s) h = (h ^ ch) * 16777619u;
    return h;
}

// The translations of circuit c under one base name at every level, each target checked
// against the reference trace ref.
void check_base(const settings& s, const diff_circuit& c, const std::vector<std::string>& vec, const diff_trace& ref,
                const std::string& dir, const std::string& base)
{
    std::string err, first_vhdl; // the VHDL file is the same at every level
    for (const std::string& level : s.levels) {
        std::string ldir = dir + "/O" + level + (base == "dut" ? "" : "_" + base);
        fs::create_directories(ldir);
        std::string text = diff_read_file(c.path);
        if (s.join) text = diff_join_lines(text);
        diff_write_file(ldir + "/" + base + ".blif", text);
        std::string options;
        for (const target& t : targets_table)
            for (const std::string& want : s.targets)
                if (want == t.name && *t.option) options += std::string(" ") + t.option;
        std::string cmd = "cd " + diff_quote(ldir) + " && env -u DISPLAY " + diff_quote(s.nelvor) + " " + base +
                          options + " -O" + level;
        const std::string on = base == "dut" ? "" : " as " + base;
        if (!options.empty() && diff_shell(cmd, ldir + "/nelvor.out", ldir + "/nelvor.err") != 0) {
            report_error(c, "-O" + level + on, "nelvor failed (see " + ldir + "/nelvor.err)");
            continue;
        }
        for (const target& t : targets_table)
            for (const std::string& want : s.targets) {
                if (want != t.name) continue;
                std::string what = std::string(t.name) + " -O" + level + on;
                diff_trace got;
                if (!t.run(c, vec, ldir, base, got, err)) report_error(c, what, err);
                else compare(c, what, ref, got);
                if (want != "vhdl") continue;
                std::string vhdl = diff_read_file(ldir + "/" + base + ".vhd");
                if (first_vhdl.empty()) first_vhdl = vhdl;
                else if (vhdl != first_vhdl) report_error(c, what, "the VHDL file differs from the first level's");
            }
    }
}

void check_circuit(const settings& s, std::string circuit_arg)
{
    std::string name = fs::path(circuit_arg).stem().string();
    if (circuit_arg.rfind("gen:", 0) == 0) {
        std::vector<std::string> f = split(circuit_arg.substr(4), ':');
        if (f.size() < 2) {
            std::cout << "FAIL " << circuit_arg << ": expected gen:SEED:GATES[:hw|:at]\n";
            failed++;
            return;
        }
        name = "gen_" + f[0] + "_" + f[1] + (f.size() > 2 ? "_" + f[2] : "");
        fs::create_directories(s.work);
        circuit_arg = s.work + "/" + name + ".blif";
        diff_write_file(circuit_arg, diff_generate(unsigned(std::stoul(f[0])), std::stoi(f[1]), f.size() > 2 ? f[2] : ""));
    }
    circuit_arg = fs::absolute(circuit_arg).string();
    diff_circuit c;
    std::string err;
    if (!diff_read_circuit(circuit_arg, c, err)) {
        std::cout << "FAIL " << circuit_arg << ": " << err << "\n";
        failed++;
        return;
    }
    std::string dir = s.work + "/" + name;
    fs::create_directories(dir);
    std::vector<std::string> vec = diff_vectors(c, s.seed ^ name_hash(name), s.cycles);
    diff_trace ref;
    if (!diff_reference(c, vec, dir, ref, err)) {
        report_error(c, "reference", err);
        return;
    }
    if (ref.size() != vec.size()) {
        report_error(c, "reference", "the reference trace has " + std::to_string(ref.size()) + " cycles");
        return;
    }
    for (const std::string& base : s.bases) check_base(s, c, vec, ref, dir, base);
}

}  // namespace

std::string diff_self()
{
    return fs::read_symlink("/proc/self/exe").string();
}

namespace {

int usage()
{
    std::cerr << "usage: nelvor_diff check [--nelvor PATH] [--targets c,cs,ino,vhdl,systemc] [--levels 0,1,2]\n"
                 "                         [--cycles N] [--seed S] [--work DIR] [--join] [--bases dut,...]\n"
                 "                         CIRCUIT...\n"
                 "       nelvor_diff generate [--hw|--at] SEED GATES OUT.blif\n";
    return 2;
}

}  // namespace

int main(int argc, char** argv)
{
    std::vector<std::string> args(argv + 1, argv + argc);
    if (args.empty()) return usage();
    if (args[0] == "generate") {
        std::string names = args.size() > 1 && (args[1] == "--hw" || args[1] == "--at") ? args[1].substr(2) : "";
        size_t a = names.empty() ? 1 : 2;
        if (args.size() != a + 3) return usage();
        diff_write_file(args[a + 2], diff_generate(unsigned(std::stoul(args[a])), std::stoi(args[a + 1]), names));
        return 0;
    }
    if (args[0] == "sketch" && args.size() == 4) return diff_write_sketch(args[1], args[2], std::stoi(args[3]), std::cout);
    if (args[0] != "check") return usage();
    settings s;
    std::vector<std::string> circuits;
    for (size_t i = 1; i < args.size(); i++) {
        const std::string& a = args[i];
        bool has_value = i + 1 < args.size();
        if (a == "--nelvor" && has_value) s.nelvor = args[++i];
        else if (a == "--targets" && has_value) s.targets = split(args[++i], ',');
        else if (a == "--levels" && has_value) s.levels = split(args[++i], ',');
        else if (a == "--cycles" && has_value) s.cycles = std::atoi(args[++i].c_str());
        else if (a == "--seed" && has_value) s.seed = unsigned(std::stoul(args[++i]));
        else if (a == "--work" && has_value) s.work = args[++i];
        else if (a == "--join") s.join = true;
        else if (a == "--bases" && has_value) s.bases = split(args[++i], ',');
        else if (a.rfind("--", 0) == 0) return usage();
        else circuits.push_back(a);
    }
    for (const std::string& t : s.targets) {
        bool known = false;
        for (const target& k : targets_table) known |= t == k.name;
        if (!known) {
            std::cerr << "nelvor_diff: unknown target " << t << "\n";
            return 2;
        }
    }
    if (s.work.empty()) s.work = (fs::temp_directory_path() / ("nelvor_diff." + std::to_string(getpid()))).string();
    if (s.nelvor.find('/') != std::string::npos) s.nelvor = fs::absolute(s.nelvor).string();
    s.work = fs::absolute(s.work).string();
    for (const std::string& c : circuits) check_circuit(s, c);
    std::cout << "work directory: " << s.work << "\n" << passed << " passed, " << failed << " failed\n";
    return failed ? 1 : 0;
}
