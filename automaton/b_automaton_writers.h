// What the file writers share and that reads no automaton: name lists and the written forms of
// names. For the writers (automaton/b_automaton_*.cpp) only; the automaton's own helpers are
// with its members in automaton/b_automaton.h.
#ifndef NELVOR_B_AUTOMATON_WRITERS_H
#define NELVOR_B_AUTOMATON_WRITERS_H

#include <initializer_list>
#include <map>
#include <ostream>
#include <set>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "automaton/b_automaton.h"

// A set of names held by pointer (the names must outlive it), in one open-addressed array: no
// allocation per name.
class name_table {
public:
    // Room for n names without growing; for an empty table.
    void reserve(size_t n) { slots.assign(size_t(1) << (n < 32 ? 6 : 64 - __builtin_clzll(2 * n)), nullptr); }
    // false when an equal name is in already.
    bool insert(const std::string& name);
    bool contains(std::string_view name) const;

private:
    std::vector<const std::string*> slots; // a power of two, at most half of them used
    size_t count = 0;
    size_t index_of(std::string_view name) const; // the slot of name, or the empty one where it would go
};

// The names that a file's identifiers must keep out of: the automaton's names, held by pointer
// (they must outlive it) and put into a table at the first look-up only, as most files look
// up none, and the names taken since.
class taken_names {
public:
    explicit taken_names(std::vector<const std::string*> signal_names) : signals(std::move(signal_names)) {}
    bool count(const std::string& name) const;
    void insert(const std::string& name) { added.insert(name); }
    template <class It> void insert(It first, It last) { added.insert(first, last); }
    void insert(std::initializer_list<std::string> names) { added.insert(names); }

private:
    std::vector<const std::string*> signals; // in any order, repeats allowed
    mutable name_table table;                // the signals, once looked up
    mutable bool in_table = false;
    std::set<std::string> added;
};

// Copies of the count names of an array; empty when names is null.
std::vector<std::string> names_of(const std::string* names, int count);
// Pointers to the count names of an array, without copying them; empty when names is null.
std::vector<const std::string*> name_pointers(const std::string* names, int count);
// The module name of a target without verbatim identifiers: name, or name followed by "_" until
// it is neither reserved nor in taken when it is reserved.
std::string reserved_free_module(const std::string& name, const std::set<std::string>& reserved,
                                 const std::set<std::string>& taken);
std::string reserved_free_module(const std::string& name, const std::set<std::string>& reserved,
                                 const taken_names& taken);
// The written forms of names, each through written, without copies: each points to the name
// itself or to its written form in written.
std::vector<const std::string*> written_names(const std::map<std::string, std::string>& written,
                                              const std::vector<const std::string*>& names);
// base, followed by "_" as often as needed to be out of taken.
std::string fresh_name(const std::string& base, const std::set<std::string>& taken);
std::string fresh_name(const std::string& base, const taken_names& taken);
// The written form of name in written, or name itself when it has none.
const std::string& written_as(const std::map<std::string, std::string>& written, const std::string& name);
// The names, each as PRE followed by its written form, separated by separator, in pieces of a
// buffer of their own.
void put_declarations(std::ostream& os, const std::vector<const std::string*>& names,
                      const std::map<std::string, std::string>& written, const std::string& PRE,
                      const char* separator);

#endif
