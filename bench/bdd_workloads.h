// The BDD benchmark workloads, written once over an engine adapter: n-queens, the outputs of an
// n-bit adder and of an n-bit multiplier.
#ifndef NELVOR_BENCH_BDD_WORKLOADS_H
#define NELVOR_BENCH_BDD_WORKLOADS_H

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string>
#include <vector>

// What one workload gave.
struct bench_result {
    double seconds; // processor time of the build
    long nodes;     // distinct nodes of the result (all outputs together), terminal included
    long created;   // nodes the engine created during the build
    double check;   // satisfying assignments summed over the outputs: both engines must agree
    std::string check_text; // the same count in decimal, exact (empty where only check is known)
};

// An engine E gives: typedef fn (a function handle), var(i) (the variable at position i),
// one(), zero(), conj(f, g), disj(f, g), neg(f), imp(f, g), exor(f, g), and collect() (frees
// what no handle holds, or nothing for an engine that collects by itself).

// n-queens over the n*n variables at positions i*n + j: one queen per row, no two attacking.
template <class E> typename E::fn queens(E& e, int n)
{
    typedef typename E::fn fn;
    fn queen = e.one();
    for (int i = 0; i < n; ++i) {
        fn row = e.zero();
        for (int j = 0; j < n; ++j) row = e.disj(row, e.var(i * n + j));
        queen = e.conj(queen, row);
    }
    for (int i = 0; i < n; ++i)
        for (int j = 0; j < n; ++j) {
            fn c = e.one();
            for (int k = 0; k < n; ++k)
                for (int l = 0; l < n; ++l) {
                    if (k == i && l == j) continue;
                    if (k == i || l == j || k - l == i - j || k + l == i + j)
                        c = e.conj(c, e.imp(e.var(i * n + j), e.neg(e.var(k * n + l))));
                }
            queen = e.conj(queen, c);
        }
    return queen;
}

// s := s + t (little-endian, same width, one more bit out), through ripple-carry full adders.
template <class E> void add_into(E& e, std::vector<typename E::fn>& s, const std::vector<typename E::fn>& t)
{
    typename E::fn carry = e.zero();
    for (size_t i = 0; i < s.size(); ++i) {
        typename E::fn half = e.exor(s[i], t[i]);
        typename E::fn next = e.disj(e.conj(s[i], t[i]), e.conj(carry, half));
        s[i] = e.exor(half, carry);
        carry = next;
    }
    s.push_back(carry);
}

// The n + 1 outputs of a + b, operand bits interleaved: a_i at position 2i, b_i at 2i + 1.
template <class E> std::vector<typename E::fn> adder(E& e, int n)
{
    std::vector<typename E::fn> a, b;
    for (int i = 0; i < n; ++i) a.push_back(e.var(2 * i)), b.push_back(e.var(2 * i + 1));
    add_into(e, a, b);
    return a;
}

// The 2n outputs of a * b (same variables), one shifted partial product added per row.
template <class E> std::vector<typename E::fn> multiplier(E& e, int n)
{
    typedef typename E::fn fn;
    std::vector<fn> a, b;
    for (int i = 0; i < n; ++i) a.push_back(e.var(2 * i)), b.push_back(e.var(2 * i + 1));
    std::vector<fn> p(2 * n, e.zero());
    for (int i = 0; i < n; ++i) {
        std::vector<fn> row(2 * n - 1, e.zero());
        for (int j = 0; j < n; ++j) row[i + j] = e.conj(a[j], b[i]);
        std::vector<fn> acc(p.begin(), p.end() - 1);
        add_into(e, acc, row);
        p = acc;
        e.collect(); // the partial sums of earlier rows are garbage now
    }
    return p;
}

// The workloads and sizes of both benches, in the order they are run.
struct workload_size {
    const char* name; // "queens", "adder" or "multiplier"
    int n;            // its size
};
static const workload_size bench_workloads[] = {
    {"queens", 6}, {"queens", 7}, {"queens", 8}, {"queens", 9}, {"queens", 10},
    {"adder", 8}, {"adder", 12}, {"multiplier", 8}, {"multiplier", 10}, {"multiplier", 12},
};

// Processor time of the process: steadier than the wall clock on a loaded machine.
inline double cpu_now()
{
    timespec t;
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return double(t.tv_sec) + 1e-9 * double(t.tv_nsec);
}

// The best (least time) of reps runs of one workload.
inline bench_result best_of(bench_result (*run)(int), int n, int reps)
{
    bench_result best = run(n);
    for (int i = 1; i < reps; ++i) {
        bench_result r = run(n);
        if (r.seconds < best.seconds) best = r;
    }
    return best;
}

// The process's peak resident size so far, in KiB; -1 when it cannot be read.
inline long peak_memory_kb()
{
    FILE* f = std::fopen("/proc/self/status", "r");
    if (!f) return -1;
    char line[256];
    long kb = -1;
    while (std::fgets(line, sizeof line, f))
        if (std::strncmp(line, "VmHWM:", 6) == 0) kb = std::atol(line + 6);
    std::fclose(f);
    return kb;
}

#endif
