// Executing and composing large automata: the three-valued step on b17 and div (steps per second),
// the product and the equivalence observer of div with a copy resynthesised by ABC.
// Usage: simulation_bench [DIALECT_DIR]   (default ../shared/bench/dialect); each case runs in its
// own process so that the peak memory printed is that case's.
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <memory>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "bench/bench_measure.h"
#include "fuzz/blif_read_once.h"

static std::string file_text(const std::string& path)
{
    std::ifstream in(path);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

// The automaton of a BLIF text, kept after the reader's run; null when it does not read.
static b_automaton* read_automaton(const std::string& text)
{
    b_automaton* kept = nullptr;
    std::ostringstream log;
    blif_read_once(text, log, 0, [&](class_blif_parser& p) {
        kept = p.automaton;
        p.automaton = nullptr;
        p.dec = nullptr;
    });
    return kept;
}

// Steps from the initial state on random 0/1 inputs for about two processor seconds.
static void step_case(const std::string& path)
{
    double start = cpu_seconds();
    b_automaton* a = read_automaton(file_text(path));
    if (a == nullptr) {
        std::printf("%s: not read\n", path.c_str());
        return;
    }
    double read = cpu_seconds() - start;
    const int n = a->wood->Nb_bdd_vars();
    std::vector<int> src(n), dst(n);
    a->etat_init(src.data());
    std::mt19937 random(1);
    // the first step computes the dates
    start = cpu_seconds();
    int steps = 0, determined = 0;
    double first = 0;
    while (steps < 5 || cpu_seconds() - start < 2.0) {
        for (int k = 0; k < a->input_count; ++k) src[a->ident_associe(a->input_names[k])] = random() % 2;
        determined += a->evaluation_etat_suivant(src.data(), 0, dst.data());
        if (steps == 0) first = cpu_seconds() - start;
        src.swap(dst);
        ++steps;
    }
    double spent = cpu_seconds() - start;
    std::printf("step %s: %d equations, read %.2f s, first step (with the dates) %.3f s, %d steps in %.2f s: "
                "%.0f steps/s, %d determined, peak %ld MB\n",
                path.c_str(), a->nb_equ_def(), read, first, steps, spent, steps / spent, determined,
                peak_kb() / 1024);
    delete a;
}

// The product of the circuit with its resynthesised copy (plain, then with the observer).
static void product_case(const std::string& path, const std::string& copy, bool with_observer)
{
    b_automaton* a = read_automaton(file_text(path));
    b_automaton* b = read_automaton(file_text(copy));
    if (a == nullptr || b == nullptr) {
        std::printf("%s: not read\n", path.c_str());
        return;
    }
    long before = peak_kb();
    double start = cpu_seconds();
    b_automaton* p;
    if (with_observer) {
        p = observateur_equivalence(a, b);
    } else {
        b_automaton* parts[] = {a, b};
        std::string names[] = {"autom1", "autom2"};
        p = new b_automaton(2, parts, names, 0, nullptr);
    }
    double spent = cpu_seconds() - start;
    if (p == nullptr) {
        std::printf("%s: no product\n", path.c_str());
        return;
    }
    // a few steps of the product
    const int n = p->wood->Nb_bdd_vars();
    std::vector<int> src(n), dst(n);
    p->etat_init(src.data());
    std::mt19937 random(2);
    double step_start = cpu_seconds();
    int steps = 0, equiv_one = 0;
    const long equiv = p->ident_associe(std::string("equiv"));
    while (steps < 5 || cpu_seconds() - step_start < 1.0) {
        for (int k = 0; k < p->input_count; ++k) src[p->ident_associe(p->input_names[k])] = random() % 2;
        p->evaluation_etat_suivant(src.data(), 0, dst.data());
        if (equiv >= 0 && dst[equiv] == 1) ++equiv_one;
        src.swap(dst);
        ++steps;
    }
    double step_spent = cpu_seconds() - step_start;
    std::printf("%s %s: %d + %d equations -> %d, %d variables, built in %.2f s, peak %ld MB (%ld MB before), "
                "%.0f steps/s",
                with_observer ? "observer" : "product", path.c_str(), a->nb_equ_def(), b->nb_equ_def(),
                p->nb_equ_def(), n, spent, peak_kb() / 1024, before / 1024, steps / step_spent);
    if (with_observer) std::printf(", equiv 1 in %d of %d steps", equiv_one, steps);
    std::printf("\n");
    delete p;
    delete a;
    delete b;
}

template <class Case> static void in_child(Case run)
{
    std::fflush(stdout);
    pid_t child = fork();
    if (child == 0) {
        run();
        std::fflush(stdout);
        _exit(0);
    }
    int status = 0;
    waitpid(child, &status, 0);
}

int main(int argc, char** argv)
{
    std::string dir = argc > 1 ? argv[1] : "../shared/bench/dialect";
    const std::string b17 = dir + "/itc99/b17.blif", div = dir + "/epfl/div.blif";
    for (const std::string& f : {b17, div}) in_child([&] { step_case(f); });
    char copy[] = "/tmp/simulation_bench_XXXXXX";
    int fd = mkstemp(copy);
    if (fd < 0) return 1;
    close(fd);
    std::string resynthesised = std::string(copy) + ".blif";
    std::string command = "berkeley-abc -q 'read_blif " + div + "; strash; dc2; write_blif " + resynthesised +
                          "' > /dev/null";
    if (std::system(command.c_str()) != 0) {
        std::printf("berkeley-abc failed on %s\n", div.c_str());
        return 1;
    }
    in_child([&] { product_case(div, resynthesised, false); });
    in_child([&] { product_case(div, resynthesised, true); });
    std::remove(copy);
    std::remove(resynthesised.c_str());
    return 0;
}
