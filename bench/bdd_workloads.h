// The BDD benchmark workloads: n-queens, adder and multiplier outputs, timed on one engine.
#ifndef NELVOR_BENCH_BDD_WORKLOADS_H
#define NELVOR_BENCH_BDD_WORKLOADS_H

#include <cstdio>
#include <cstdlib>
#include <cstring>

// What one workload gave.
struct bench_result {
    double seconds; // processor time of the build
    long nodes;     // distinct nodes of the result (all outputs together), terminal included
    long created;   // nodes the engine created during the build
    double check;   // a function-dependent figure both engines must agree on (satisfying count)
};

// The workloads on this system's engine (bdd_bench.cpp).
bench_result nelvor_queens(int n);
bench_result nelvor_adder(int n);
bench_result nelvor_multiplier(int n);

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
