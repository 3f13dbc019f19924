// Processor time and peak memory of the running benchmark: processor time keeps the figures
// meaningful on a loaded machine.
#ifndef NELVOR_BENCH_MEASURE_H
#define NELVOR_BENCH_MEASURE_H

#include <sys/resource.h>

#include <ctime>

// Processor seconds used by this process so far.
inline double cpu_seconds()
{
    struct timespec t;
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + 1e-9 * static_cast<double>(t.tv_nsec);
}

// Peak resident memory of this process so far, in KiB.
inline long peak_kb()
{
    struct rusage usage;
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

#endif
