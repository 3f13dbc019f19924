// The system time and the process's processor times as 100-nanosecond counts.
#include <gtest/gtest.h>

#include <ctime>

#include "platform/times.h"

TEST(SystemTime, CountsFrom1601)
{
    timespec before, after;
    clock_gettime(CLOCK_REALTIME, &before);
    FILETIME now;
    GetSystemTimeAsFileTime(&now);
    clock_gettime(CLOCK_REALTIME, &after);
    const unsigned long long offset = 116444736000000000ULL; // 1601 to 1970 in 100 ns
    unsigned long long b = offset + before.tv_sec * 10000000ULL + before.tv_nsec / 100;
    unsigned long long a = offset + after.tv_sec * 10000000ULL + after.tv_nsec / 100;
    EXPECT_LE(b, filetime_count(now));
    EXPECT_LE(filetime_count(now), a);
}

TEST(SystemTime, CountOfTheTwoWords)
{
    FILETIME t = {0x89abcdefu, 0x01234567u};
    EXPECT_EQ(filetime_count(t), 0x0123456789abcdefULL);
}

TEST(ProcessTimes, OnlyTheCurrentProcess)
{
    FILETIME kernel, user;
    ASSERT_NE(GetCurrentProcess(), nullptr);
    EXPECT_TRUE(GetProcessTimes(GetCurrentProcess(), &kernel, &user));
    volatile unsigned x = 0;
    for (int i = 0; i < 50000000; ++i) x = x * 3 + 1;
    FILETIME later_kernel, later_user;
    EXPECT_TRUE(GetProcessTimes(GetCurrentProcess(), &later_kernel, &later_user));
    EXPECT_GT(filetime_count(later_user), filetime_count(user));
    int other = 0;
    EXPECT_FALSE(GetProcessTimes(&other, &kernel, &user));
    EXPECT_EQ(filetime_count(kernel), 0u);
    EXPECT_EQ(filetime_count(user), 0u);
}
