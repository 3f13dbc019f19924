// The current directory: its length, and the size it needs when the buffer is too small.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <unistd.h>

#include "platform/directory.h"

TEST(CurrentDirectory, FitsOrTellsTheSizeItNeeds)
{
    char expected[4096];
    ASSERT_NE(getcwd(expected, sizeof expected), nullptr);
    unsigned long length = std::strlen(expected);
    char buffer[4096];
    EXPECT_EQ(GetCurrentDirectoryA(sizeof buffer, buffer), length);
    EXPECT_STREQ(buffer, expected);
    char small[2] = {'x', 'y'};
    EXPECT_EQ(GetCurrentDirectoryA(length, small), length + 1); // no room for the NUL
    EXPECT_EQ(small[0], 'x');
    EXPECT_EQ(GetCurrentDirectoryA(0, nullptr), length + 1);
}
