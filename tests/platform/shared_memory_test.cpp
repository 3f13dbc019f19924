// Named shared blocks: names, creation, publication, opening, size, and blocks left behind.
#include <gtest/gtest.h>

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <cstring>
#include <string>
#include <sys/mman.h>
#include <sys/wait.h>
#include <unistd.h>

#include "platform/shared_memory.h"

namespace {

// A block name of this process only, so that tests may run side by side.
std::string own_name(const char* what)
{
    return std::string("nelvor-test/") + what + "." + std::to_string(getpid());
}

bool exists(const std::string& name)
{
    int d = shm_open(shared_memory_name(name).c_str(), O_RDONLY, 0);
    if (d < 0) return false;
    close(d);
    return true;
}

} // namespace

TEST(SharedMemoryName, LeadingSlashAndNoOther)
{
    EXPECT_EQ(shared_memory_name("Global/IOshare"), "/Global_IOshare");
    EXPECT_EQ(shared_memory_name("a\\b/c"), "/a_b_c");
    EXPECT_EQ(shared_memory_name("plain"), "/plain");
}

TEST(SharedMemory, CreatedZeroFilledPublishedOpenedShared)
{
    std::string name = own_name("basic");
    file_mapping* server = CreateFileMappingA(4521, name);
    ASSERT_NE(server, nullptr);
    EXPECT_GE(file_mapping_descriptor(server), 0);
    unsigned char* view = static_cast<unsigned char*>(MapViewOfFile(server, 4521));
    ASSERT_NE(view, nullptr);
    for (int i = 0; i < 4521; ++i) ASSERT_EQ(view[i], 0) << i;

    EXPECT_EQ(OpenFileMappingA(name), nullptr); // still being set up
    EXPECT_EQ(GetLastError(), static_cast<unsigned long>(EAGAIN));
    ASSERT_TRUE(PublishFileMapping(server));

    file_mapping* client = OpenFileMappingA(name);
    ASSERT_NE(client, nullptr);
    unsigned char* other = static_cast<unsigned char*>(MapViewOfFile(client, 4521));
    ASSERT_NE(other, nullptr);
    view[4520] = 7;
    EXPECT_EQ(other[4520], 7);
    EXPECT_EQ(MapViewOfFile(client, 4522), nullptr); // larger than the block
    EXPECT_EQ(GetLastError(), static_cast<unsigned long>(EINVAL));
    EXPECT_TRUE(UnmapViewOfFile(other, 4521));
    EXPECT_TRUE(CloseHandle(client));
    EXPECT_TRUE(exists(name)); // a client's close leaves the block

    EXPECT_TRUE(CloseHandle(server));
    EXPECT_FALSE(exists(name)); // the creator's close removes the name
    EXPECT_EQ(view[4520], 7);   // the view stays
    EXPECT_TRUE(UnmapViewOfFile(view, 4521));
    EXPECT_EQ(OpenFileMappingA(name), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<unsigned long>(ENOENT));
}

TEST(SharedMemory, BlockLeftBehindByAKilledCreator)
{
    std::string name = own_name("stale");
    pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        file_mapping* m = CreateFileMappingA(100, name);
        if (m == nullptr || !PublishFileMapping(m)) _exit(1);
        unsigned char* v = static_cast<unsigned char*>(MapViewOfFile(m, 100));
        if (v == nullptr) _exit(1);
        v[0] = 42;
        raise(SIGKILL);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFSIGNALED(status));
    ASSERT_TRUE(exists(name)); // the name is still there ...
    EXPECT_EQ(OpenFileMappingA(name), nullptr); // ... but nobody holds the block
    EXPECT_EQ(GetLastError(), static_cast<unsigned long>(ENOENT));

    file_mapping* fresh = CreateFileMappingA(100, name); // replaces it
    ASSERT_NE(fresh, nullptr);
    unsigned char* v = static_cast<unsigned char*>(MapViewOfFile(fresh, 100));
    ASSERT_NE(v, nullptr);
    EXPECT_EQ(v[0], 0);
    ASSERT_TRUE(PublishFileMapping(fresh));
    file_mapping* client = OpenFileMappingA(name);
    EXPECT_NE(client, nullptr);
    CloseHandle(client);
    UnmapViewOfFile(v, 100);
    CloseHandle(fresh);
    EXPECT_FALSE(exists(name));
}

TEST(SharedMemory, NewerCreatorKeepsItsName)
{
    std::string name = own_name("newer");
    file_mapping* first = CreateFileMappingA(10, name);
    ASSERT_NE(first, nullptr);
    file_mapping* second = CreateFileMappingA(10, name); // takes the name over
    ASSERT_NE(second, nullptr);
    CloseHandle(first);
    EXPECT_TRUE(exists(name));
    CloseHandle(second);
    EXPECT_FALSE(exists(name));
}

TEST(SharedMemory, MissingBlockAndBadHandles)
{
    EXPECT_EQ(OpenFileMappingA(own_name("missing")), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<unsigned long>(ENOENT));
    EXPECT_EQ(MapViewOfFile(nullptr, 10), nullptr);
    EXPECT_FALSE(PublishFileMapping(nullptr));
    EXPECT_TRUE(CloseHandle(nullptr));
    EXPECT_EQ(file_mapping_descriptor(nullptr), -1);
}
