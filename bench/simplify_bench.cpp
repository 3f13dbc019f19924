// The forest simplifications and the automaton cleanings on circuits read from BLIF files.
// Usage: simplify_bench [-t SECONDS] [-write DIR] FILE.blif [REWRITE ...]   (default: every rewrite,
// 300 s each)
// Each rewrite runs in its own process on a fresh reading of the file, so that the peak memory
// printed is that rewrite's; a rewrite still running after the time limit, or needing more than
// 4 GiB, is reported as such.
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <functional>
#include <iostream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "bench/bench_measure.h"
#include "fuzz/blif_read_once.h"

static const std::list<int> keep_declared{1};

// The rewrites by name; each returns a short figure of what it left.
static const std::vector<std::pair<std::string, std::function<std::string(b_automaton*)>>> rewrites = {
    {"constants_propagation", [](b_automaton* a) { a->wood->constants_propagation(keep_declared); return std::string(); }},
    {"global_tautology", [](b_automaton* a) { return "result " + std::to_string(a->wood->global_tautology()); }},
    {"reduce_care", [](b_automaton* a) {
         bddpp_manager* m = a->manager_associe();
         bdd care = m->Bdd_one();
         for (int i = 0; i < a->input_count; i += 2) care = m->Bdd_and(care, m->Bdd_var_by_name(a->input_names[i]));
         a->wood->reduce_expressions(care, keep_declared);
         return std::string();
     }},
    {"reduce_exist", [](b_automaton* a) {
         if (a->input_count > 0) a->wood->reduce_expressions_when_var_forgotten_by_exist_op(2L * a->state_count);
         return std::string();
     }},
    {"reduce_forall", [](b_automaton* a) {
         if (a->input_count > 0) a->wood->reduce_expressions_when_var_forgotten_by_forall_op(2L * a->state_count);
         return std::string();
     }},
    {"suppress_wires", [](b_automaton* a) { a->wood->suppress_wires(keep_declared); return std::string(); }},
    {"suppress_locals", [](b_automaton* a) { a->wood->suppress_locals(keep_declared); return std::string(); }},
    {"suppress_local", [](b_automaton* a) {
         // the first equation that can be substituted: read, reading something, not kept
         Bddexpressionwood* w = a->wood;
         for (long i = 0; i < w->nb_bdd_vars; ++i) {
             Bddexpression* e = w->exp_table[i];
             if (e == nullptr || e->user_type == 1 || w->readers[i].empty() || e->dependances.empty()) continue;
             w->suppress_local(i);
             return "at " + std::to_string(i);
         }
         return std::string("none");
     }},
    {"reduce_proposition", [](b_automaton* a) {
         bdd c = a->wood->reduce_proposition_by_assertion();
         return std::to_string(a->manager_associe()->set_of_index_depend_on(c).size()) + " literals";
     }},
    {"useless_clean", [](b_automaton* a) {
         std::streambuf* out = std::cout.rdbuf(nullptr);
         std::streambuf* err = std::cerr.rdbuf(nullptr);
         delete[] a->useless_clean();
         std::cout.rdbuf(out);
         std::cerr.rdbuf(err);
         return std::string();
     }},
    {"identify_undef", [](b_automaton* a) { return std::to_string(a->identify_undef_variables().size()) + " undefined"; }},
    {"make_sortable", [](b_automaton* a) {
         std::fstream f;
         return "ok " + std::to_string(a->make_sortable(0, 0, f));
     }},
    {"forget_exist", [](b_automaton* a) { a->forget_exist_inputs(); return std::string(); }},
    {"forget_forall", [](b_automaton* a) { a->forget_forall_inputs(); return std::string(); }},
};

static std::string read_text(const std::string& path)
{
    std::ifstream in(path.c_str());
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// With -write DIR: the automaton before (DIR/before.blif) and after the rewrite (DIR/NAME.blif), written
// by its BLIF writer; after useless_clean only what the marks keep, every input included.
static std::string write_dir;

static void write_blif(b_automaton* a, const std::string& path, int* keep)
{
    std::ofstream out(path.c_str());
    a->sort();
    if (keep == nullptr)
        a->BLIF_put(out, 1, "circuit");
    else
        a->BLIF_restrict_put(out, 1, "circuit", keep);
}

// Reads the circuit, sorts it and runs the rewrite; prints one line of figures.
static void run(const std::string& file, const std::string& text, const std::string& name,
                const std::function<std::string(b_automaton*)>& rewrite)
{
    std::ostringstream log;
    double start = cpu_seconds();
    blif_read_once(text, log, 0, [&](class_blif_parser& p) {
        if (p.automaton == nullptr) {
            std::printf("%s %s: not read\n", file.c_str(), name.c_str());
            return;
        }
        b_automaton* a = p.automaton;
        a->sort();
        double read = cpu_seconds() - start;
        int before = a->wood->exp_number();
        if (!write_dir.empty()) write_blif(a, write_dir + "/before.blif", nullptr);
        double t0 = cpu_seconds();
        std::string figure;
        std::vector<int> keep;
        if (name == "useless_clean" && !write_dir.empty()) {
            std::streambuf* out = std::cout.rdbuf(nullptr);
            std::streambuf* err = std::cerr.rdbuf(nullptr);
            int* marks = a->useless_clean();
            std::cout.rdbuf(out);
            std::cerr.rdbuf(err);
            keep.assign(marks, marks + a->wood->Nb_bdd_vars());
            delete[] marks;
        } else {
            figure = rewrite(a);
        }
        double t = cpu_seconds() - t0;
        if (!write_dir.empty()) {
            bool registers = false;
            for (int i = 0; i < a->input_count && !keep.empty(); ++i) {
                long p = a->manager_associe()->Index_var_by_name(a->input_names[i]);
                if (p >= 0) keep[p] = 1;
            }
            for (int i = 0; i < a->state_count && !keep.empty(); ++i) registers = registers || keep[i] == 1;
            if (!keep.empty() && a->state_count > 0 && !registers) keep[0] = 1; // a sequential file for dsec
            write_blif(a, write_dir + "/" + name + ".blif", keep.empty() ? nullptr : keep.data());
        }
        std::printf("%-12s %-22s equations %7d -> %7d  read+sort %7.2f s  rewrite %8.3f s  peak %6ld MB  %s\n",
                    file.c_str(), name.c_str(), before, a->wood->exp_number(), read, t, peak_kb() / 1024,
                    figure.c_str());
        std::fflush(stdout);
        std::_Exit(0); // nothing to free: the process ends here
    });
}

int main(int argc, char** argv)
{
    int limit = 300;
    int k = 1;
    for (bool option = true; option && k + 1 < argc;) {
        std::string o = argv[k];
        option = o == "-t" || o == "-write";
        if (o == "-t") limit = std::atoi(argv[k + 1]);
        if (o == "-write") write_dir = argv[k + 1];
        if (option) k += 2;
    }
    if (k >= argc) {
        std::fprintf(stderr, "usage: simplify_bench [-t SECONDS] [-write DIR] FILE.blif [REWRITE ...]\n");
        return 1;
    }
    std::string path = argv[k++];
    std::string text = read_text(path);
    if (text.empty()) {
        std::fprintf(stderr, "simplify_bench: cannot read %s\n", path.c_str());
        return 1;
    }
    std::string file = path.substr(path.find_last_of('/') + 1);
    std::vector<std::string> wanted(argv + k, argv + argc);
    for (const auto& r : rewrites) {
        if (!wanted.empty() && std::find(wanted.begin(), wanted.end(), r.first) == wanted.end()) continue;
        pid_t child = fork();
        if (child == 0) {
            alarm(limit);
            struct rlimit memory = {4096L << 20, 4096L << 20}; // 4 GiB: an exploding BDD ends the child only
            setrlimit(RLIMIT_AS, &memory);
            run(file, text, r.first, r.second);
            std::_Exit(0);
        }
        int status = 0;
        waitpid(child, &status, 0);
        if (WIFSIGNALED(status))
            std::printf("%-12s %-22s %s\n", file.c_str(), r.first.c_str(),
                        WTERMSIG(status) == SIGALRM ? ("over " + std::to_string(limit) + " s").c_str()
                                                    : "ended by a signal (memory limit of 4 GiB)");
        std::fflush(stdout);
    }
    return 0;
}
