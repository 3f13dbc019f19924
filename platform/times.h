// The system time and the process's processor times, asked for the way the time utilities
// expect them: counts of 100-nanosecond intervals.
#ifndef NELVOR_PLATFORM_TIMES_H
#define NELVOR_PLATFORM_TIMES_H

#include <cstdint>

// A count of 100-nanosecond intervals split into two 32-bit words.
struct FILETIME {
    std::uint32_t dwLowDateTime;  // low 32 bits of the count
    std::uint32_t dwHighDateTime; // high 32 bits of the count
};

// The 64-bit count held by t.
std::uint64_t filetime_count(const FILETIME& t);

// The current time as the intervals since 1 January 1601 UTC (clock_gettime, real-time clock).
void GetSystemTimeAsFileTime(FILETIME* time);

// Identifies a process for GetProcessTimes; only the current process is known.
typedef const void* process_handle;

// The handle of the current process (never null).
process_handle GetCurrentProcess();

// The processor time the process has spent in the kernel and in user code so far (getrusage,
// threads that ended included). False, with both times 0, for a handle other than the current
// process's.
bool GetProcessTimes(process_handle process, FILETIME* kernel, FILETIME* user);

#endif
