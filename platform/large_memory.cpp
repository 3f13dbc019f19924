// Large blocks through anonymous mappings, aligned on 2 MiB so that the system may back them with
// huge pages.
#include "platform/large_memory.h"

#include <sys/mman.h>
#include <unistd.h>
#if defined(__GLIBC__)
#include <malloc.h>
#endif

#include <cstdint>
#include <cstdlib>

namespace {

const size_t huge_page = size_t(1) << 21;
const size_t small_array = size_t(1) << 18; // below it, arrays come from the heap

size_t rounded(size_t bytes) { return (bytes + huge_page - 1) & ~(huge_page - 1); }
// The first huge-page boundary at or after p.
char* rounded(char* p) { return reinterpret_cast<char*>(rounded(reinterpret_cast<uintptr_t>(p))); }

// An anonymous mapping of size bytes (a multiple of huge_page) aligned on huge_page, with the
// protection prot and huge pages advised; null when the system refuses it.
char* aligned_mapping(size_t size, int prot, int flags)
{
    // one huge page more than asked, then the unaligned head and tail go back
    char* raw = static_cast<char*>(mmap(nullptr, size + huge_page, prot, MAP_PRIVATE | MAP_ANONYMOUS | flags, -1, 0));
    if (raw == MAP_FAILED) return nullptr;
    char* block = rounded(raw);
    if (block > raw) munmap(raw, size_t(block - raw));
    if (char* end = raw + size + huge_page; end > block + size) munmap(block + size, size_t(end - block - size));
#ifdef MADV_HUGEPAGE
    madvise(block, size, MADV_HUGEPAGE);
#endif
    return block;
}

} // namespace

void* Large_block_allocate(size_t bytes)
{
    char* block = aligned_mapping(rounded(bytes), PROT_READ | PROT_WRITE, 0);
    if (!block) throw std::bad_alloc();
    return block;
}

void Large_block_free(void* block, size_t bytes)
{
    if (block) munmap(block, rounded(bytes));
}

void* Zeroed_array_allocate(size_t bytes)
{
    if (bytes >= small_array) return Large_block_allocate(bytes);
    void* array = std::calloc(bytes ? bytes : 1, 1);
    if (!array) throw std::bad_alloc();
    return array;
}

void Zeroed_array_free(void* array, size_t bytes)
{
    if (bytes >= small_array) Large_block_free(array, bytes);
    else std::free(array);
}

void* Large_region_reserve(size_t max_bytes)
{
    // no access and no memory charged until a part is made usable
    return aligned_mapping(rounded(max_bytes ? max_bytes : 1), PROT_NONE, MAP_NORESERVE);
}

bool Large_region_extend(void* region, size_t bytes)
{
    // below the heap's bound, whole small pages (a small array keeps a small footprint); above,
    // whole huge pages, each taken at its first touch
    static const size_t page = size_t(sysconf(_SC_PAGESIZE));
    const size_t size = bytes < small_array ? (bytes + page - 1) / page * page : rounded(bytes);
    return mprotect(region, size, PROT_READ | PROT_WRITE) == 0;
}

void Large_region_release(void* region, size_t max_bytes)
{
    if (region) munmap(region, rounded(max_bytes ? max_bytes : 1));
}

void Heap_grow_in_huge_pages(size_t bytes)
{
#if defined(__GLIBC__) && (__GLIBC__ > 2 || __GLIBC_MINOR__ >= 33) && defined(MADV_HUGEPAGE) && \
    !defined(__SANITIZE_ADDRESS__)
    const size_t most = size_t(768) << 20; // below the trim threshold of the run, kept by the heap
    if (bytes < 16 * huge_page) return;
    if (bytes > most) bytes = most;
    // One request just larger than the free top of the heap, with a top pad of bytes: the heap
    // grows by bytes past the request in one step. Requests below the mapping threshold of the
    // run (32 MiB) come from the heap.
    const size_t top = mallinfo2().keepcost;
    if (top >= (size_t(32) << 20) - 4096) return;
    mallopt(M_TOP_PAD, static_cast<int>(bytes));
    char* probe = static_cast<char*>(std::malloc(top + 4096));
    char* end = static_cast<char*>(sbrk(0));
    mallopt(M_TOP_PAD, 128 * 1024); // the allocator's own pad again
    if (!probe) return;
    // only a heap that ends just past the request is the one just grown
    if (probe < end && size_t(end - probe) <= top + 4096 + bytes + huge_page) {
        char* from = rounded(probe);
        char* to = rounded(end + 1) - huge_page; // the last boundary at or before end
        if (to > from) madvise(from, size_t(to - from), MADV_HUGEPAGE);
    }
    std::free(probe);
#else
    (void)bytes;
#endif
}
