// The system time over clock_gettime and the processor times over getrusage.
#include "platform/times.h"

#include <ctime>
#include <sys/resource.h>

namespace {

const std::uint64_t intervals_per_second = 10000000;
const std::uint64_t seconds_1601_to_1970 = 11644473600ULL; // 369 years, 89 of them leap

FILETIME filetime_of(std::uint64_t count)
{
    FILETIME t;
    t.dwLowDateTime = static_cast<std::uint32_t>(count);
    t.dwHighDateTime = static_cast<std::uint32_t>(count >> 32);
    return t;
}

std::uint64_t intervals_of(const timeval& tv)
{
    return static_cast<std::uint64_t>(tv.tv_sec) * intervals_per_second +
           static_cast<std::uint64_t>(tv.tv_usec) * 10;
}

const char current_process_tag = 0; // its address is the current process's handle

} // namespace

std::uint64_t filetime_count(const FILETIME& t)
{
    return (static_cast<std::uint64_t>(t.dwHighDateTime) << 32) | t.dwLowDateTime;
}

void GetSystemTimeAsFileTime(FILETIME* time)
{
    timespec now;
    clock_gettime(CLOCK_REALTIME, &now);
    std::uint64_t seconds = static_cast<std::uint64_t>(now.tv_sec) + seconds_1601_to_1970;
    *time = filetime_of(seconds * intervals_per_second + static_cast<std::uint64_t>(now.tv_nsec) / 100);
}

process_handle GetCurrentProcess()
{
    return &current_process_tag;
}

bool GetProcessTimes(process_handle process, FILETIME* kernel, FILETIME* user)
{
    rusage usage;
    if (process != GetCurrentProcess() || getrusage(RUSAGE_SELF, &usage) != 0) {
        *kernel = filetime_of(0);
        *user = filetime_of(0);
        return false;
    }
    *kernel = filetime_of(intervals_of(usage.ru_stime));
    *user = filetime_of(intervals_of(usage.ru_utime));
    return true;
}
