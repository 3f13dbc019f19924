// Large blocks: zero-filled, aligned on 2 MiB, usable to their last byte; the vector allocator.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>
#if defined(__GLIBC__)
#include <malloc.h>
#endif

#include "platform/large_memory.h"

TEST(LargeBlocks, AreZeroFilledAlignedAndWritable)
{
    for (size_t bytes : {size_t(1), size_t(1) << 21, (size_t(5) << 20) + 3}) {
        unsigned char* p = static_cast<unsigned char*>(Large_block_allocate(bytes));
        ASSERT_NE(p, nullptr);
        EXPECT_EQ(reinterpret_cast<uintptr_t>(p) % (uintptr_t(1) << 21), 0u) << bytes;
        EXPECT_EQ(p[0], 0);
        EXPECT_EQ(p[bytes - 1], 0);
        p[0] = 1;
        p[bytes - 1] = 2;
        EXPECT_EQ(p[bytes - 1], 2);
        Large_block_free(p, bytes);
    }
    Large_block_free(nullptr, 10); // nothing to give back
}

TEST(LargeBlocks, HoldTheElementsOfAVectorSmallOrLarge)
{
    std::vector<long, large_block_allocator<long>> v(10, 7);
    EXPECT_EQ(v[9], 7);
    v.assign(1 << 20, 3); // 8 MiB: a large block
    EXPECT_EQ(v[(1 << 20) - 1], 3);
    std::vector<long, large_block_allocator<long>> w(v);
    EXPECT_EQ(w, v);
    v.clear();
    v.shrink_to_fit();
    EXPECT_EQ(w.size(), size_t(1) << 20);
}

TEST(LargeBlocks, ZeroedArraysSmallOrLarge)
{
    for (size_t bytes : {size_t(0), size_t(100), size_t(1) << 18, size_t(3) << 20}) {
        unsigned char* p = static_cast<unsigned char*>(Zeroed_array_allocate(bytes));
        ASSERT_NE(p, nullptr);
        for (size_t i = 0; i < bytes; i += 4093) EXPECT_EQ(p[i], 0) << bytes;
        if (bytes) {
            EXPECT_EQ(p[bytes - 1], 0);
            p[bytes - 1] = 1;
        }
        Zeroed_array_free(p, bytes);
    }
}

TEST(LargeBlocks, RegionsGrowInPlaceKeepingTheirContents)
{
    const size_t most = size_t(64) << 20;
    unsigned char* p = static_cast<unsigned char*>(Large_region_reserve(most));
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(reinterpret_cast<uintptr_t>(p) % (uintptr_t(1) << 21), 0u);
    size_t used = 0;
    for (size_t bytes : {size_t(100), size_t(5000), size_t(1) << 20, size_t(3) << 20, most}) {
        ASSERT_TRUE(Large_region_extend(p, bytes));
        // one byte every 4093 written as it becomes usable, and read back at each step
        for (size_t i = 0; i < bytes; i += 4093) {
            if (i < used) {
                ASSERT_EQ(p[i], static_cast<unsigned char>(i % 251 + 1));
            } else {
                ASSERT_EQ(p[i], 0);
                p[i] = static_cast<unsigned char>(i % 251 + 1);
            }
        }
        used = bytes;
    }
    Large_region_release(p, most);
    Large_region_release(nullptr, most); // nothing to give back
}

// The heap grown ahead: only under glibc's allocator, which the sanitizers replace.
#if defined(__GLIBC__) && (__GLIBC__ > 2 || __GLIBC_MINOR__ >= 33) && !defined(__SANITIZE_ADDRESS__)
#define HEAP_GROWN_AHEAD 1
namespace {

// The VmFlags of the mapping of /proc/self/smaps that holds address; empty when none does.
std::string mapping_flags(const void* address)
{
    std::ifstream smaps("/proc/self/smaps");
    const uintptr_t a = reinterpret_cast<uintptr_t>(address);
    bool inside = false;
    for (std::string line; std::getline(smaps, line);) {
        uintptr_t from = 0, to = 0;
        char dash = 0;
        std::istringstream range(line);
        if (range >> std::hex >> from >> dash >> to && dash == '-' && line.find(':') > line.find(' ')) {
            inside = from <= a && a < to;
        } else if (inside && line.compare(0, 8, "VmFlags:") == 0) {
            return line;
        }
    }
    return "";
}

bool huge_pages_offered()
{
    std::ifstream mode("/sys/kernel/mm/transparent_hugepage/enabled");
    std::string text;
    std::getline(mode, text);
    return text.find("[always]") != std::string::npos || text.find("[madvise]") != std::string::npos;
}

} // namespace
#endif

// The heap grown ahead is advised huge pages (where the system offers them) and serves the small
// requests that follow, written and freed as usual.
TEST(LargeBlocks, TheHeapGrownAheadServesSmallRequestsOnHugePages)
{
#ifdef HEAP_GROWN_AHEAD
    // as the translation run sets the allocator
    mallopt(M_MMAP_THRESHOLD, 32 * 1024 * 1024);
    mallopt(M_TRIM_THRESHOLD, 1024 * 1024 * 1024);
    Heap_grow_in_huge_pages(size_t(64) << 20);
    std::vector<unsigned char*> pieces;
    for (int i = 0; i < 512; i++) { // 16 MiB in pieces of 32 KiB
        pieces.push_back(static_cast<unsigned char*>(std::malloc(32 * 1024)));
        ASSERT_NE(pieces.back(), nullptr);
        pieces.back()[0] = pieces.back()[32 * 1024 - 1] = static_cast<unsigned char>(i);
    }
    if (huge_pages_offered()) {
        const std::string flags = mapping_flags(pieces.back());
        EXPECT_NE(flags.find(" hg"), std::string::npos) << flags;
    }
    for (int i = 0; i < 512; i++) {
        EXPECT_EQ(pieces[i][0], static_cast<unsigned char>(i));
        std::free(pieces[i]);
    }
#endif
    Heap_grow_in_huge_pages(1000); // below the bound: nothing to do
}
