// Slots of one size handed out from blocks the caller provides: a slot given back is taken again
// first, then the rest of the newest block in ascending addresses. Taking or giving a slot costs a
// few instructions; the blocks belong to the caller.
#ifndef NELVOR_SLOT_POOL_H
#define NELVOR_SLOT_POOL_H

#include <cstddef>

class slot_pool {
public:
    explicit slot_pool(std::size_t slot_bytes) : bytes(slot_bytes) {}

    // A free slot; null when none is left until fill gives a new block.
    void* take()
    {
        if (void* slot = free_list) {
            free_list = *static_cast<void**>(slot);
            return slot;
        }
        if (fresh == fresh_end) return nullptr;
        void* slot = fresh;
        fresh += bytes;
        return slot;
    }
    // Gives slot back; its first word links it to the other free slots.
    void give(void* slot)
    {
        *static_cast<void**>(slot) = free_list;
        free_list = slot;
    }
    // The slots from begin to end (a whole number of slots) become the newest block.
    void fill(char* begin, char* end)
    {
        fresh = begin;
        fresh_end = end;
    }

private:
    std::size_t bytes;         // size of a slot, at least a pointer's
    void* free_list = nullptr; // first slot given back
    char* fresh = nullptr;     // first slot of the newest block never handed out
    char* fresh_end = nullptr; // end of the newest block
};

#endif
