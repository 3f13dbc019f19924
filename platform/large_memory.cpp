// Large blocks through anonymous mappings, aligned on 2 MiB so that the system may back them with
// huge pages.
#include "platform/large_memory.h"

#include <sys/mman.h>

#include <cstdint>

namespace {

const size_t huge_page = size_t(1) << 21;

size_t rounded(size_t bytes) { return (bytes + huge_page - 1) & ~(huge_page - 1); }

} // namespace

void* Large_block_allocate(size_t bytes)
{
    const size_t size = rounded(bytes);
    // one huge page more than asked, then the unaligned head and tail go back
    char* raw = static_cast<char*>(
        mmap(nullptr, size + huge_page, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0));
    if (raw == MAP_FAILED) throw std::bad_alloc();
    char* block = reinterpret_cast<char*>((reinterpret_cast<uintptr_t>(raw) + huge_page - 1) & ~(huge_page - 1));
    if (block > raw) munmap(raw, size_t(block - raw));
    if (char* end = raw + size + huge_page; end > block + size) munmap(block + size, size_t(end - block - size));
#ifdef MADV_HUGEPAGE
    madvise(block, size, MADV_HUGEPAGE);
#endif
    return block;
}

void Large_block_free(void* block, size_t bytes)
{
    if (block) munmap(block, rounded(bytes));
}
