// Large zero-filled memory blocks for the tables that grow to tens of megabytes, mapped from the
// system in huge pages where it offers them: one page fault per 2 MiB instead of one per 4 KiB.
#ifndef NELVOR_PLATFORM_LARGE_MEMORY_H
#define NELVOR_PLATFORM_LARGE_MEMORY_H

#include <cstddef>
#include <new>

// A zero-filled block of at least bytes bytes, aligned on 2 MiB; throws std::bad_alloc when the
// system has no memory left.
void* Large_block_allocate(size_t bytes);
// Gives back a block of Large_block_allocate, with the same size.
void Large_block_free(void* block, size_t bytes);

// A zero-filled array of bytes bytes (at least one), from the ordinary heap below 256 KiB and
// from Large_block_allocate above: the fresh pages of the system are zero already, so a large
// array costs no writing pass of its own. Throws std::bad_alloc when memory runs out.
void* Zeroed_array_allocate(size_t bytes);
// Gives back an array of Zeroed_array_allocate, with the same size.
void Zeroed_array_free(void* array, size_t bytes);

// A range of address space for an array that grows in place: reserved whole at first, made
// usable from its start as the array grows, so that growing moves nothing and the pages already
// in use stay. The start is aligned on 2 MiB; from 256 KiB on, the part made usable is whole
// huge pages. Null when the system refuses the range (an address-space limit).
void* Large_region_reserve(size_t max_bytes);
// Makes the first bytes bytes of a region usable (at most its max_bytes); what was usable
// before keeps its contents, the rest reads as zero. False when the system has no memory left.
bool Large_region_extend(void* region, size_t bytes);
// Gives back a whole region of Large_region_reserve, with the same max_bytes.
void Large_region_release(void* region, size_t max_bytes);

// Grows the ordinary heap by about bytes ahead of its use and advises huge pages on that part, so
// that the many small objects of a large run share a few huge pages instead of one small page
// each. Nothing is touched: memory is charged as the heap fills it. At most 768 MiB; nothing
// below 32 MiB, or where the system or its allocator has no such heap. Meant for an allocator
// set as the translation run sets it: requests up to 32 MiB from the heap, and the free top of
// the heap kept up to 1 GiB (otherwise the part grown goes back to the system at once).
void Heap_grow_in_huge_pages(size_t bytes);

// Allocator of large blocks for standard containers (std::vector of table slots). Blocks below
// 256 KiB come from the ordinary heap.
template <class T> struct large_block_allocator {
    typedef T value_type;
    static const size_t small = size_t(1) << 18; // the same bound as Zeroed_array_allocate's

    large_block_allocator() = default;
    template <class U> large_block_allocator(const large_block_allocator<U>&) {}
    T* allocate(size_t n)
    {
        size_t bytes = n * sizeof(T);
        return static_cast<T*>(bytes < small ? ::operator new(bytes) : Large_block_allocate(bytes));
    }
    void deallocate(T* p, size_t n)
    {
        size_t bytes = n * sizeof(T);
        if (bytes < small) ::operator delete(p);
        else Large_block_free(p, bytes);
    }
    template <class U> bool operator==(const large_block_allocator<U>&) const { return true; }
    template <class U> bool operator!=(const large_block_allocator<U>&) const { return false; }
};

#endif
