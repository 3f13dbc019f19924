// A set of order positions kept as one bit per position: the forest's positions holding an equation.
#ifndef NELVOR_POSITION_BITS_H
#define NELVOR_POSITION_BITS_H

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <iterator>
#include <ostream>
#include <set>
#include <utility>
#include <vector>

#include "forest/position_set.h"

// The members of std::set<long> that the forest uses, over non-negative positions, one bit each:
// insertion and erasure cost a constant, in any order, and iteration is ascending (one word of 64
// positions at a time). The array grows to the greatest position inserted. An iterator stays valid
// across insertions and the erasure of other positions.
class position_bits {
public:
    class const_iterator {
    public:
        typedef std::forward_iterator_tag iterator_category;
        typedef long value_type;
        typedef std::ptrdiff_t difference_type;
        typedef const long* pointer;
        typedef long reference;

        const_iterator() : owner_(nullptr), at_(-1) {}
        long operator*() const { return at_; }
        const_iterator& operator++()
        {
            at_ = owner_->next_from(at_ + 1);
            return *this;
        }
        const_iterator operator++(int)
        {
            const_iterator old = *this;
            ++*this;
            return old;
        }
        bool operator==(const const_iterator& o) const { return at_ == o.at_; }
        bool operator!=(const const_iterator& o) const { return at_ != o.at_; }

    private:
        friend class position_bits;
        const_iterator(const position_bits* owner, long at) : owner_(owner), at_(at) {}
        const position_bits* owner_;
        long at_; // -1 at the end
    };
    typedef long key_type;
    typedef long value_type;
    typedef std::size_t size_type;
    typedef const_iterator iterator;

    position_bits() : size_(0) {}
    position_bits(const std::set<long>& s) : size_(0)
    {
        for (long x : s) insert(x);
    }
    position_bits(std::initializer_list<long> l) : size_(0)
    {
        for (long x : l) insert(x);
    }
    operator std::set<long>() const { return std::set<long>(begin(), end()); }

    const_iterator begin() const { return const_iterator(this, next_from(0)); }
    const_iterator end() const { return const_iterator(this, -1); }
    size_type size() const { return size_; }
    bool empty() const { return size_ == 0; }
    void clear()
    {
        words_.clear();
        size_ = 0;
    }

    size_type count(long v) const
    {
        return v >= 0 && word_of(v) < words_.size() && (words_[word_of(v)] >> bit_of(v) & 1) != 0 ? 1 : 0;
    }
    const_iterator find(long v) const { return count(v) != 0 ? const_iterator(this, v) : end(); }
    const_iterator lower_bound(long v) const { return const_iterator(this, next_from(v < 0 ? 0 : v)); }

    std::pair<iterator, bool> insert(long v)
    {
        if (count(v) != 0) return {const_iterator(this, v), false};
        if (word_of(v) >= words_.size()) words_.resize(word_of(v) + 1, 0);
        words_[word_of(v)] |= std::uint64_t(1) << bit_of(v);
        size_++;
        return {const_iterator(this, v), true};
    }
    iterator insert(const_iterator, long v) { return insert(v).first; }
    template <class It> void insert(It first, It last)
    {
        for (; first != last; ++first) insert(*first);
    }

    size_type erase(long v)
    {
        if (count(v) == 0) return 0;
        words_[word_of(v)] &= ~(std::uint64_t(1) << bit_of(v));
        size_--;
        return 1;
    }
    iterator erase(const_iterator p)
    {
        long v = p.at_;
        erase(v);
        return const_iterator(this, next_from(v + 1));
    }

    friend bool operator==(const position_bits& a, const position_bits& b)
    {
        return a.size_ == b.size_ && std::equal(a.begin(), a.end(), b.begin());
    }
    friend bool operator!=(const position_bits& a, const position_bits& b) { return !(a == b); }
    friend bool operator==(const position_bits& a, const std::set<long>& b)
    {
        return a.size_ == b.size() && std::equal(a.begin(), a.end(), b.begin());
    }
    friend bool operator==(const std::set<long>& a, const position_bits& b) { return b == a; }
    friend bool operator!=(const position_bits& a, const std::set<long>& b) { return !(a == b); }
    friend bool operator!=(const std::set<long>& a, const position_bits& b) { return !(b == a); }

private:
    std::vector<std::uint64_t> words_;
    std::size_t size_;

    static std::size_t word_of(long v) { return static_cast<std::size_t>(v) >> 6; }
    static unsigned bit_of(long v) { return static_cast<unsigned>(v) & 63u; }
    // The least position >= v in the set, -1 when there is none.
    long next_from(long v) const
    {
        std::size_t w = word_of(v);
        if (w >= words_.size()) return -1;
        std::uint64_t bits = words_[w] & (~std::uint64_t(0) << bit_of(v));
        while (bits == 0) {
            if (++w == words_.size()) return -1;
            bits = words_[w];
        }
        return static_cast<long>(w * 64 + static_cast<std::size_t>(__builtin_ctzll(bits)));
    }
};

// printed as a std::set<long> is
inline std::ostream& operator<<(std::ostream& os, const position_bits& s) { return put_positions(os, s); }

#endif
