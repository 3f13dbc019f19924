// A set of order positions kept as a sorted array: the forest's dependency and reader sets.
#ifndef NELVOR_POSITION_SET_H
#define NELVOR_POSITION_SET_H

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <initializer_list>
#include <iterator>
#include <new>
#include <ostream>
#include <set>
#include <utility>
#include <vector>

// The members of std::set<long> that the forest uses, over one sorted array of distinct values:
// 16 bytes per set and 8 per element, where a tree spends 48 per element. Iteration is ascending.
// Unlike a tree's, iterators are pointers into the array: any insertion or erasure invalidates them
// (erase(iterator) returns the one to go on with).
class position_set {
public:
    typedef long key_type;
    typedef long value_type;
    typedef std::size_t size_type;
    typedef std::ptrdiff_t difference_type;
    typedef const long& reference;
    typedef const long& const_reference;
    typedef const long* iterator;
    typedef const long* const_iterator;

    position_set() noexcept : data_(nullptr), size_(0), capacity_(0) {}
    position_set(const position_set& s) : position_set() { assign_sorted(s.begin(), s.end()); }
    position_set(position_set&& s) noexcept : data_(s.data_), size_(s.size_), capacity_(s.capacity_)
    {
        s.data_ = nullptr;
        s.size_ = s.capacity_ = 0;
    }
    position_set(const std::set<long>& s) : position_set() { assign_range(s.begin(), s.end()); }
    position_set(std::initializer_list<long> l) : position_set() { insert(l.begin(), l.end()); }
    template <class It> position_set(It first, It last) : position_set() { insert(first, last); }
    ~position_set() { std::free(data_); }

    position_set& operator=(const position_set& s)
    {
        if (this != &s) assign_sorted(s.begin(), s.end());
        return *this;
    }
    position_set& operator=(position_set&& s) noexcept
    {
        swap(s);
        return *this;
    }
    position_set& operator=(const std::set<long>& s)
    {
        assign_range(s.begin(), s.end());
        return *this;
    }
    // The same values in a tree, for the interfaces that hand sets out.
    operator std::set<long>() const { return std::set<long>(begin(), end()); }

    void swap(position_set& s) noexcept
    {
        std::swap(data_, s.data_);
        std::swap(size_, s.size_);
        std::swap(capacity_, s.capacity_);
    }

    const_iterator begin() const { return data_; }
    const_iterator end() const { return data_ + size_; }
    const_iterator cbegin() const { return begin(); }
    const_iterator cend() const { return end(); }
    size_type size() const { return size_; }
    bool empty() const { return size_ == 0; }
    void clear() { size_ = 0; }

    const_iterator lower_bound(long v) const { return std::lower_bound(begin(), end(), v); }
    const_iterator upper_bound(long v) const { return std::upper_bound(begin(), end(), v); }
    const_iterator find(long v) const
    {
        const_iterator p = lower_bound(v);
        return p != end() && *p == v ? p : end();
    }
    size_type count(long v) const { return find(v) != end() ? 1 : 0; }

    std::pair<iterator, bool> insert(long v)
    {
        if (size_ == 0 || data_[size_ - 1] < v) return {append(v), true}; // ascending insertions
        long* p = const_cast<long*>(lower_bound(v));
        if (*p == v) return {p, false};
        return {insert_at(p - data_, v), true};
    }
    // The hint is only a guess: the end hint makes appending in ascending order cheap.
    iterator insert(const_iterator, long v) { return insert(v).first; }
    // Ascending runs past the last value are appended; anything else is merged in one pass.
    template <class It> void insert(It first, It last)
    {
        for (; first != last; ++first) {
            if (size_ != 0 && !(data_[size_ - 1] < *first)) break;
            append(*first);
        }
        if (first == last) return;
        std::vector<long> more(first, last);
        if (!std::is_sorted(more.begin(), more.end())) std::sort(more.begin(), more.end());
        more.erase(std::unique(more.begin(), more.end()), more.end());
        merge(more.data(), more.data() + more.size());
    }

    size_type erase(long v)
    {
        const_iterator p = find(v);
        if (p == end()) return 0;
        erase(p);
        return 1;
    }
    iterator erase(const_iterator p)
    {
        std::size_t k = static_cast<std::size_t>(p - data_);
        std::memmove(data_ + k, data_ + k + 1, (size_ - k - 1) * sizeof(long));
        size_--;
        return data_ + k;
    }
    iterator erase(const_iterator first, const_iterator last)
    {
        std::size_t k = static_cast<std::size_t>(first - data_), n = static_cast<std::size_t>(last - first);
        std::memmove(data_ + k, data_ + k + n, (size_ - k - n) * sizeof(long));
        size_ -= static_cast<std::uint32_t>(n);
        return data_ + k;
    }
    // Keeps the values for which keep(value) holds, in one pass.
    template <class Keep> void keep_if(Keep keep)
    {
        std::uint32_t n = 0;
        for (std::uint32_t k = 0; k < size_; k++)
            if (keep(data_[k])) data_[n++] = data_[k];
        size_ = n;
    }
    // Room for n values without a move.
    void reserve(size_type n)
    {
        if (n > capacity_) reallocate(n);
    }

    friend bool operator==(const position_set& a, const position_set& b)
    {
        return a.size_ == b.size_ && std::equal(a.begin(), a.end(), b.begin());
    }
    friend bool operator!=(const position_set& a, const position_set& b) { return !(a == b); }
    friend bool operator<(const position_set& a, const position_set& b)
    {
        return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end());
    }
    friend bool operator==(const position_set& a, const std::set<long>& b)
    {
        return a.size_ == b.size() && std::equal(a.begin(), a.end(), b.begin());
    }
    friend bool operator==(const std::set<long>& a, const position_set& b) { return b == a; }
    friend bool operator!=(const position_set& a, const std::set<long>& b) { return !(a == b); }
    friend bool operator!=(const std::set<long>& a, const position_set& b) { return !(b == a); }

private:
    long* data_;
    std::uint32_t size_;
    std::uint32_t capacity_;

    void reallocate(std::size_t n)
    {
        void* p = std::realloc(data_, n * sizeof(long));
        if (p == nullptr) throw std::bad_alloc();
        data_ = static_cast<long*>(p);
        capacity_ = static_cast<std::uint32_t>(n);
    }
    void grow()
    {
        // a malloc chunk of 32 bytes holds three values
        reallocate(capacity_ < 3 ? 3 : std::size_t(capacity_) * 2);
    }
    iterator append(long v)
    {
        if (size_ == capacity_) grow();
        data_[size_] = v;
        return data_ + size_++;
    }
    iterator insert_at(std::size_t k, long v)
    {
        if (size_ == capacity_) grow();
        std::memmove(data_ + k + 1, data_ + k, (size_ - k) * sizeof(long));
        data_[k] = v;
        size_++;
        return data_ + k;
    }
    template <class It> void assign_sorted(It first, It last)
    {
        std::size_t n = static_cast<std::size_t>(std::distance(first, last));
        if (n > capacity_) {
            std::free(data_);
            data_ = nullptr;
            capacity_ = 0;
            reallocate(n);
        }
        std::copy(first, last, data_);
        size_ = static_cast<std::uint32_t>(n);
    }
    template <class It> void assign_range(It first, It last)
    {
        clear();
        reserve(static_cast<std::size_t>(std::distance(first, last)));
        insert(first, last);
    }
    // Union with the sorted distinct values [b, e) in a new array.
    void merge(const long* b, const long* e)
    {
        std::size_t room = size_ + static_cast<std::size_t>(e - b);
        long* out = static_cast<long*>(std::malloc(room * sizeof(long)));
        if (out == nullptr) throw std::bad_alloc();
        long* last = std::set_union(begin(), end(), b, e, out);
        std::free(data_);
        data_ = out;
        size_ = static_cast<std::uint32_t>(last - out);
        capacity_ = static_cast<std::uint32_t>(room);
    }
};

// "{" the positions in ascending order joined by "," "}", as a std::set<long> is printed.
template <class Positions> std::ostream& put_positions(std::ostream& os, const Positions& s)
{
    os << "{";
    for (typename Positions::const_iterator i = s.begin(); i != s.end(); ++i) {
        if (i != s.begin()) os << ",";
        os << *i;
    }
    return os << "}";
}

inline std::ostream& operator<<(std::ostream& os, const position_set& s) { return put_positions(os, s); }

#endif
