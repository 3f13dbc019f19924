// The name table of the manager.
#include "bdd/bdd_name_table.h"

#include "utils/name_hash.h"

static std::uint32_t hash_of(std::string_view name)
{
    return static_cast<std::uint32_t>(name_hash_of(name.data(), name.size()));
}

inline std::size_t bdd_name_table::probe(std::string_view name, std::uint32_t h) const
{
    const std::size_t mask = slots_.size() - 1;
    for (std::size_t i = h & mask;; i = (i + 1) & mask) {
        std::uint32_t s = slots_[i];
        if (s == 0) return i;
        const entry& e = entries_[s - 1];
        if (e.hash == h && name_of(e) == name) return i;
    }
}

long bdd_name_table::find(std::string_view name) const
{
    if (slots_.empty()) return -1;
    const std::uint32_t s = slots_[probe(name, hash_of(name))];
    return s == 0 ? -1 : entries_[s - 1].id;
}

std::pair<long, bool> bdd_name_table::insert(std::string_view name, long id)
{
    if (2 * (entries_.size() + 1) > slots_.size()) rehash(slots_.empty() ? 64 : 2 * slots_.size());
    const std::uint32_t h = hash_of(name);
    const std::size_t i = probe(name, h);
    if (slots_[i] != 0) return {entries_[slots_[i] - 1].id, false};
    entries_.push_back(entry{text_.size(), static_cast<std::uint32_t>(name.size()), h, id});
    text_.insert(text_.end(), name.begin(), name.end());
    slots_[i] = static_cast<std::uint32_t>(entries_.size());
    return {id, true};
}

void bdd_name_table::reserve(std::size_t n)
{
    entries_.reserve(n);
    std::size_t capacity = slots_.empty() ? 64 : slots_.size();
    while (capacity < 2 * n) capacity *= 2;
    if (capacity > slots_.size()) rehash(capacity);
}

void bdd_name_table::rehash(std::size_t capacity)
{
    slots_.assign(capacity, 0);
    const std::size_t mask = capacity - 1;
    for (std::size_t k = 0; k < entries_.size(); ++k) {
        std::size_t i = entries_[k].hash & mask;
        while (slots_[i] != 0) i = (i + 1) & mask;
        slots_[i] = static_cast<std::uint32_t>(k + 1);
    }
}

bool bdd_name_table::operator==(const bdd_name_table& t) const
{
    if (size() != t.size()) return false;
    for (const entry& e : entries_)
        if (t.find(name_of(e)) != e.id) return false;
    return true;
}
