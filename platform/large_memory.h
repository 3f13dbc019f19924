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

// Allocator of large blocks for standard containers (std::vector of table slots). Blocks below
// 256 KiB come from the ordinary heap.
template <class T> struct large_block_allocator {
    typedef T value_type;
    static const size_t small = size_t(1) << 18;

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
