// Text made in a buffer of its own, whose room is kept from one use to the next: the writers
// copy their pieces in without the checks and calls of a string, and write the text to their
// stream in large pieces.
#ifndef NELVOR_TEXT_ROOM_H
#define NELVOR_TEXT_ROOM_H

#include <cstddef>
#include <ostream>
#include <string_view>
#include <vector>

#include "utils/text_pieces.h"

class text_room {
public:
    // Where the next n characters go; keep() tells how many of them were written.
    char* room(std::size_t n)
    {
        if (buffer.size() - used < n) grow(n);
        return buffer.data() + used;
    }
    // The text written up to end, from the last room(), is kept.
    void keep(char* end) { used = std::size_t(end - buffer.data()); }

    text_room& operator+=(std::string_view s)
    {
        keep(text_pieces::put(room(s.size()), s.data(), s.size()));
        return *this;
    }
    text_room& operator+=(char c)
    {
        char* p = room(1);
        *p = c;
        keep(p + 1);
        return *this;
    }

    const char* data() const { return buffer.data(); }
    std::size_t size() const { return used; }
    bool empty() const { return used == 0; }
    void clear() { used = 0; }
    operator std::string_view() const { return std::string_view(buffer.data(), used); }
    // Writes the text to os and empties the buffer.
    void write_to(std::ostream& os)
    {
        if (used > 0) os.write(buffer.data(), std::streamsize(used));
        used = 0;
    }

private:
    void grow(std::size_t n) { buffer.resize(2 * (used + n) + 256); }

    std::vector<char> buffer;
    std::size_t used = 0; // characters kept
};

#endif
