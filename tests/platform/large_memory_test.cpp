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
