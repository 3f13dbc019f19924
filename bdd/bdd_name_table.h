// The manager's table from the name a variable was created with to its id.
#ifndef NELVOR_BDD_NAME_TABLE_H
#define NELVOR_BDD_NAME_TABLE_H

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <utility>
#include <vector>

// Names and ids by insertion, the names' characters one after the other in one buffer, and an
// open-addressing index of the entries: about 24 bytes per name besides its characters, where a
// node map of strings spends some 80. Names are never removed.
class bdd_name_table {
public:
    // The id of name; -1 when it is not there.
    long find(std::string_view name) const;
    // Adds name with that id when it is not there: (id, true); otherwise (its id, false).
    std::pair<long, bool> insert(std::string_view name, long id);
    // Room for n names without growing the index.
    void reserve(std::size_t n);
    std::size_t size() const { return entries_.size(); }
    bool empty() const { return entries_.empty(); }
    // The same names with the same ids, whatever the insertion order.
    bool operator==(const bdd_name_table& t) const;
    bool operator!=(const bdd_name_table& t) const { return !(*this == t); }

private:
    struct entry {
        std::size_t offset;   // first character in text_
        std::uint32_t length; // number of characters
        std::uint32_t hash;   // low bits of the name's hash
        long id;
    };
    std::vector<char> text_;        // every name's characters
    std::vector<entry> entries_;    // by insertion
    std::vector<std::uint32_t> slots_; // entry index + 1, 0 when free; a power of two, at most half full

    std::string_view name_of(const entry& e) const { return std::string_view(text_.data() + e.offset, e.length); }
    void rehash(std::size_t capacity);
    // The slot holding name, of hash h, or the free slot where its probe ends.
    std::size_t probe(std::string_view name, std::uint32_t h) const;
};

#endif
