// A hash of short texts such as signal names, shared by the reader's pre-pass and the variable table.
#ifndef NELVOR_NAME_HASH_H
#define NELVOR_NAME_HASH_H

#include <cstddef>
#include <cstring>

// A hash of the length bytes at s: the length, then the bytes eight at a time (the last eight
// when fewer are left, shorter texts in two overlapping halves), each word mixed in by a
// multiplication; then the whole state mixed so that every bit reaches the low bits.
inline unsigned long long name_hash_of(const char* s, std::size_t length)
{
    const unsigned long long k = 0x9E3779B97F4A7C15ull;
    unsigned long long h = (length + 1) * k;
    auto mix = [&h, k](unsigned long long word) {
        h = (h ^ word) * k;
        h ^= h >> 29;
    };
    unsigned long long word = 0;
    if (length >= 8) {
        std::size_t i = 0;
        for (; i + 8 <= length; i += 8) {
            std::memcpy(&word, s + i, 8);
            mix(word);
        }
        if (i < length) {
            std::memcpy(&word, s + length - 8, 8);
            mix(word);
        }
    } else if (length >= 4) {
        unsigned int first, last;
        std::memcpy(&first, s, 4);
        std::memcpy(&last, s + length - 4, 4);
        mix(static_cast<unsigned long long>(first) << 32 | last);
    } else if (length > 0) {
        mix(static_cast<unsigned long long>(static_cast<unsigned char>(s[0])) << 16 |
            static_cast<unsigned long long>(static_cast<unsigned char>(s[length / 2])) << 8 |
            static_cast<unsigned char>(s[length - 1]));
    }
    h ^= h >> 33;
    h *= 0xFF51AFD7ED558CCDull;
    h ^= h >> 33;
    h *= 0xC4CEB9FE1A85EC53ull;
    return h ^ (h >> 33);
}

#endif
