// Short pieces of text copied to a place that has room for them, without any check of the room.
#ifndef NELVOR_TEXT_PIECES_H
#define NELVOR_TEXT_PIECES_H

#include <cstddef>
#include <cstring>
#include <string>
#include <string_view>

namespace text_pieces {

// Copies the n characters of s to out; returns the end of the copy. Most pieces of a line are a
// few characters long, which a few fixed-size copies write faster than a call of memcpy.
inline char* put(char* out, const char* s, std::size_t n)
{
    if (n >= 8) {
        if (n > 16) {
            std::memcpy(out, s, n);
        } else {
            std::memcpy(out, s, 8);
            std::memcpy(out + n - 8, s + n - 8, 8);
        }
    } else if (n >= 4) {
        std::memcpy(out, s, 4);
        std::memcpy(out + n - 4, s + n - 4, 4);
    } else if (n > 0) {
        out[0] = s[0];
        out[n / 2] = s[n / 2];
        out[n - 1] = s[n - 1];
    }
    return out + n;
}

inline char* put(char* out, std::string_view s) { return put(out, s.data(), s.size()); }
inline char* put(char* out, const std::string& s) { return put(out, s.data(), s.size()); }

} // namespace text_pieces

#endif
