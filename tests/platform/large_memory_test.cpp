// Large blocks: zero-filled, aligned on 2 MiB, usable to their last byte; the vector allocator.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

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
