// Dating and sorting large forests: a chain of equations, a random acyclic forest of fan-in 2 to 4, and
// the same forest with one combinational cycle.
// Usage: forest_bench [n ...]   (default 20000 200000); each case runs in its own process so that the
// peak memory printed is that case's.
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <ctime>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include "bench/bench_measure.h"
#include "forest/Bddexpression.h"

static double seconds_since(double start)
{
    return cpu_seconds() - start;
}

// chain: x0 := a, xk := a AND x(k-1)
static void build_chain(Bddexpressionwood& w, long n)
{
    bddpp_manager* m = w.manager;
    w.New_var_last("a");
    for (long k = 0; k < n; k++) w.New_var_last("x" + std::to_string(k));
    bdd a = m->Bdd_var_by_index(0);
    new Bddexpression(&w, m->Bdd_var_by_index(1), a, 0, 0);
    for (long k = 1; k < n; k++) new Bddexpression(&w, m->Bdd_var_by_index(k + 1), m->Bdd_and(a, m->Bdd_var_by_index(k)), 0, 0);
}

// random: n / 100 inputs, then n equations, each the conjunction of 2 to 4 earlier variables with random
// polarities, half of them among the 100 variables just before it (so that the forest is deep)
static void build_random(Bddexpressionwood& w, long n)
{
    bddpp_manager* m = w.manager;
    std::mt19937 rng(42);
    long inputs = n / 100 + 4;
    for (long k = 0; k < inputs; k++) w.New_var_last("i" + std::to_string(k));
    for (long k = 0; k < n; k++) w.New_var_last("e" + std::to_string(k));
    for (long k = 0; k < n; k++) {
        long before = inputs + k;
        long fan_in = 2 + static_cast<long>(rng() % 3);
        bdd g = m->Bdd_one();
        for (long j = 0; j < fan_in; j++) {
            long p = rng() % 2 ? static_cast<long>(rng() % before) : before - 1 - static_cast<long>(rng() % std::min(before, 100L));
            bdd x = m->Bdd_var_by_index(p);
            g = m->Bdd_and(g, rng() % 2 ? x : m->Bdd_not(x));
        }
        new Bddexpression(&w, m->Bdd_var_by_index(before), g, 0, 0);
    }
}

// Early date of the equation at p, -1 without equation.
static long early_at(Bddexpressionwood& w, long p)
{
    return w.exp_table[p] != nullptr ? w.exp_table[p]->early_date : -1;
}

// Dates w again by the propagation over every position; prints a line when the dates differ.
static double compare_with_propagation(Bddexpressionwood& w, int levels)
{
    const long n = w.Nb_bdd_vars();
    std::vector<long> early(n), late(w.late_dates, w.late_dates + n);
    std::list<long> all;
    for (long p = 0; p < n; p++) {
        early[p] = early_at(w, p);
        if (w.exp_table[p] != nullptr) w.exp_table[p]->early_date = 0;
        w.late_dates[p] = 0;
        all.push_back(p);
    }
    double start = cpu_seconds();
    w.update_nb_level(1);
    w.compute_dates(all);
    double propagated = seconds_since(start);
    long differences = 0;
    for (long p = 0; p < n; p++) differences += early[p] != early_at(w, p) || late[p] != w.late_dates[p];
    if (differences != 0 || w.Nb_level() != levels) std::printf("DIFFERENT DATES at %ld positions\n", differences);
    return propagated;
}

// looped: the random forest with one combinational cycle between the middle and the last equation,
// which the dating must find
static void build_looped(Bddexpressionwood& w, long n)
{
    build_random(w, n);
    bddpp_manager* m = w.manager;
    long last = w.Nb_bdd_vars() - 1, middle = last - n / 2;
    Bddexpression* a = w.exp_table[last];
    Bddexpression* b = w.exp_table[middle];
    a->setBddExp(m->Bdd_or(a->bdd_exp, m->Bdd_var_by_index(middle)), 0, 0);
    b->setBddExp(m->Bdd_or(b->bdd_exp, m->Bdd_var_by_index(last)), 0, 0);
}

static void run_case(const char* label, void (*build)(Bddexpressionwood&, long), long n, bool walk)
{
    double start = cpu_seconds();
    Bddexpressionwood w;
    build(w, n);
    double built = seconds_since(start);

    start = cpu_seconds();
    int levels = w.compute_dates();
    double dated = seconds_since(start);

    // the same dates by the step-by-step propagation over every position, for comparison; it dates
    // a chain in quadratic time, so only the small cases run it
    double propagated = -1;
    if (n <= 20000) propagated = compare_with_propagation(w, levels);

    start = cpu_seconds();
    size_t loops = w.loop_detection().size();
    size_t listed = w.earliest_sort().size() + w.latest_sort().size();
    long walked = 0;
    for (int k = 0; k < w.exp_number(); k++) walked += w.exp(k)->early_date > 0;
    double sorted = seconds_since(start);

    // a critical path through a cycle walks every path up to the variable count: not on looped forests
    start = cpu_seconds();
    long last = w.Nb_bdd_vars() - 1, critical = 0;
    size_t closure = 0;
    if (walk) {
        std::set<long> none;
        critical = w.up_critical_path(last, 0, 1) + w.down_critical_path(0, 0, 0);
        closure = w.down_dependances(0, 0, none).size() + w.up_dependances(last, 0, none).size();
    }
    double walks = seconds_since(start);

    std::printf("%-7s n=%7ld  levels=%7d  cpu: build %6.2f s  dates %6.3f s (propagation %6.3f s)  loops+sorts+exp(k) %6.3f s"
                "  paths+closures %6.3f s  peak %7ld kB  (loops %zu, listed %zu, walked %ld, %ld, %zu)\n",
                label, n, levels, built, dated, propagated, sorted, walks, peak_kb(), loops, listed, walked, critical, closure);
    std::fflush(stdout);
}

int main(int argc, char** argv)
{
    std::vector<long> sizes;
    for (int i = 1; i < argc; i++) sizes.push_back(std::atol(argv[i]));
    if (sizes.empty()) sizes = {20000, 200000};
    struct {
        const char* label;
        void (*build)(Bddexpressionwood&, long);
        bool walk; // run the critical paths and closures
    } cases[] = {{"chain", build_chain, true}, {"random", build_random, true}, {"looped", build_looped, false}};
    for (auto& c : cases)
        for (long n : sizes) {
            pid_t child = fork();
            if (child == 0) {
                run_case(c.label, c.build, n, c.walk);
                std::_Exit(0);
            }
            int status = 0;
            waitpid(child, &status, 0);
        }
    return 0;
}
