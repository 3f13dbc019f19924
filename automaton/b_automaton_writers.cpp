// What the file writers share: name lists and declarations, the written forms of the signals
// (reserved names, '@', fresh names) and the naming handed to the equation writers.
#include "automaton/b_automaton_writers.h"
#include "utils/name_hash.h"
#include "utils/text_room.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <string_view>
#include <unordered_map>
#include <unordered_set>

// ---- name lists ----

int b_automaton::has_equations() const
{
    return wood != nullptr && wood->exp_number() > 0;
}

std::vector<const std::string*> name_pointers(const std::string* names, int count)
{
    std::vector<const std::string*> pointers;
    for (int i = 0; i < count && names != nullptr; ++i) pointers.push_back(names + i);
    return pointers;
}

std::vector<std::string> names_of(const std::string* names, int count)
{
    if (names == nullptr || count <= 0) return std::vector<std::string>();
    return std::vector<std::string>(names, names + count);
}

// A name that stands in two lists (a register that is an output, a next-state signal that is an
// input or a register) would otherwise be declared twice.
bool name_table::insert(const std::string& name)
{
    if (2 * (count + 1) > slots.size()) {
        std::vector<const std::string*> old(slots.size() < 64 ? 128 : 2 * slots.size(), nullptr);
        old.swap(slots);
        for (const std::string* n : old)
            if (n) slots[index_of(*n)] = n;
    }
    const size_t i = index_of(name);
    if (slots[i]) return false;
    slots[i] = &name;
    ++count;
    return true;
}

bool name_table::contains(std::string_view name) const
{
    return !slots.empty() && slots[index_of(name)] != nullptr;
}

size_t name_table::index_of(std::string_view name) const
{
    const size_t mask = slots.size() - 1;
    size_t i = size_t(name_hash_of(name.data(), name.size())) & mask;
    while (slots[i] && *slots[i] != name) i = (i + 1) & mask;
    return i;
}

std::vector<const std::string*> b_automaton::declared_once(
    const std::vector<std::pair<const std::string*, int>>& groups) const
{
    name_table seen;
    seen.reserve(size_t(input_count + output_count + 2 * state_count + local_count));
    for (int i = 0; i < input_count; ++i) seen.insert(input_names[i]);
    for (int j = 0; j < output_count; ++j) seen.insert(output_names[j]);
    std::vector<const std::string*> declared;
    for (const std::pair<const std::string*, int>& group : groups)
        for (int k = 0; k < group.second; ++k)
            if (seen.insert(group.first[k])) declared.push_back(group.first + k);
    return declared;
}

std::string b_automaton::init_text(int i) const
{
    if (init_values[i] == 1) return "true";
    if (init_values[i] == 0) return "false";
    return "???";
}

// ---- signals and written forms ----

std::vector<int> b_automaton::output_registers() const
{
    std::vector<int> registers(size_t(output_count > 0 ? output_count : 0), -1);
    if (output_count <= 0) return registers;
    std::unordered_map<std::string_view, int> first; // the first register of each name
    first.reserve(size_t(state_count));
    for (int i = 0; i < state_count; ++i) first.emplace(state_names[i], i);
    for (int k = 0; k < output_count; ++k) {
        auto r = first.find(output_names[k]);
        if (r != first.end()) registers[size_t(k)] = r->second;
    }
    return registers;
}

bool b_automaton::has_name(const std::string& name) const
{
    bool found = false;
    for_each_name([&](const std::string& n) { found = found || n == name; });
    return found;
}

namespace {

// The first eight bytes of a name as one number, zeros past its end: names whose numbers differ
// compare as their numbers do, so that most comparisons of a sort read no name.
unsigned long long name_prefix(const std::string& n)
{
    unsigned long long key = 0;
    const size_t length = n.size() < 8 ? n.size() : 8;
    for (size_t i = 0; i < 8; ++i)
        key = key << 8 | (i < length ? static_cast<unsigned char>(n[i]) : 0u);
    return key;
}

} // namespace

std::vector<const std::string*> b_automaton::sorted_names() const
{
    std::vector<std::pair<unsigned long long, const std::string*>> keyed;
    keyed.reserve(size_t(2 * state_count + input_count + output_count + local_count));
    for_each_name([&](const std::string& n) { keyed.emplace_back(name_prefix(n), &n); });
    std::sort(keyed.begin(), keyed.end(),
              [](const std::pair<unsigned long long, const std::string*>& a,
                 const std::pair<unsigned long long, const std::string*>& b) {
                  return a.first != b.first ? a.first < b.first : *a.second < *b.second;
              });
    std::vector<const std::string*> sorted;
    sorted.reserve(keyed.size());
    for (size_t i = 0; i < keyed.size(); ++i)
        if (i == 0 || keyed[i - 1].first != keyed[i].first || *keyed[i - 1].second != *keyed[i].second)
            sorted.push_back(keyed[i].second);
    return sorted;
}

std::set<std::string> b_automaton::all_names() const
{
    // sorted and without repeats first, so that the set is filled from its end in linear time
    std::set<std::string> names;
    for (const std::string* n : sorted_names()) names.emplace_hint(names.end(), *n);
    return names;
}

std::vector<std::string> b_automaton::next_states_undeclared() const
{
    std::vector<std::string> next;
    if (state_count <= 0) return next;
    // the next-state names, each marked once some other group declares it: only they are hashed in
    std::unordered_map<std::string_view, bool> declared;
    declared.reserve(size_t(state_count));
    for (int i = 0; i < state_count; ++i) declared.emplace(next_state_names[i], false);
    for (auto group : {std::make_pair(state_names, state_count), std::make_pair(input_names, input_count),
                       std::make_pair(output_names, output_count), std::make_pair(local_names, local_count)})
        for (int i = 0; i < group.second; ++i) {
            auto d = declared.find(group.first[i]);
            if (d != declared.end()) d->second = true;
        }
    for (int i = 0; i < state_count; ++i) {
        bool& d = declared.find(next_state_names[i])->second;
        if (!d) {
            d = true;
            next.push_back(next_state_names[i]);
        }
    }
    return next;
}

std::vector<std::string> b_automaton::unread_signals(const std::vector<std::string>& names,
                                                     bool& node_array_read) const
{
    node_array_read = false;
    if (wood == nullptr) return names;
    bddpp_manager* m = wood->manager;
    // read[p]: position p is read; positions out of the manager's range kept aside
    std::vector<char> read(size_t(m->nvars > 0 ? m->nvars : 0), 0);
    std::set<long> read_elsewhere;
    auto mark = [&](long p) {
        if (p >= 0 && p < long(read.size()))
            read[size_t(p)] = 1;
        else
            read_elsewhere.insert(p);
    };
    // every equation of earliest_sort(), in any order
    Bddexpression** table = wood->Exp_table();
    for (long p = 0; p < wood->nb_bdd_vars; ++p) {
        Bddexpression* e = table[p];
        if (e == nullptr || !wood->in_dates(e->early_date)) continue;
        for (long d : e->dependances) mark(d);
        // once one is found, the others' nodes (far apart in a large manager) need no reading
        if (!node_array_read && e->bdd_exp.node() != nullptr && !m->Bdd_is_var(e->bdd_exp)) node_array_read = true;
    }
    for (int i = 0; i < state_count; ++i) mark(m->Index_var_by_name(next_state_names[i]));
    std::vector<std::string> unread;
    for (const std::string& n : names) {
        long p = m->Index_var_by_name(n);
        bool is_read = p >= 0 && p < long(read.size()) ? read[size_t(p)] != 0 : read_elsewhere.count(p) > 0;
        if (!is_read) unread.push_back(n);
    }
    return unread;
}

std::string fresh_name(const std::string& base, const std::set<std::string>& taken)
{
    std::string name = base;
    while (taken.count(name) > 0) name += "_";
    return name;
}

std::string fresh_name(const std::string& base, const taken_names& taken)
{
    std::string name = base;
    while (taken.count(name)) name += "_";
    return name;
}

long b_automaton::variable_node_number(const std::string& var)
{
    return wood->manager->Bdd_var_by_name(var).node()->number;
}

namespace {

// at_free_names and reserved_free_names for either form of the taken names.
template <class Taken> std::map<std::string, std::string> at_free_in(const b_automaton& a, Taken& taken)
{
    // the names holding '@', in the order of all_names()
    std::vector<const std::string*> at;
    a.for_each_name([&](const std::string& n) {
        if (std::memchr(n.data(), '@', n.size()) != nullptr) at.push_back(&n);
    });
    std::sort(at.begin(), at.end(), [](const std::string* x, const std::string* y) { return *x < *y; });
    std::map<std::string, std::string> written;
    for (size_t i = 0; i < at.size(); ++i) {
        const std::string& n = *at[i];
        if (i > 0 && *at[i - 1] == n) continue;
        std::string w;
        for (char ch : n) w += ch == '@' ? std::string("_at_") : std::string(1, ch);
        written[n] = fresh_name(w, taken);
        taken.insert(written[n]);
    }
    return written;
}

template <class Taken>
std::map<std::string, std::string> reserved_free_in(const b_automaton& a, const std::set<std::string>& reserved,
                                                    Taken& taken)
{
    taken.insert(reserved.begin(), reserved.end());
    std::map<std::string, std::string> written = at_free_in(a, taken);
    // the reserved names that are signals, in ascending order: the few reserved words are looked
    // up for each signal, rather than every signal sorted
    std::unordered_set<std::string_view> words(reserved.begin(), reserved.end());
    // most signals are told apart from every word by their first character and their length,
    // before they are hashed
    std::array<bool, 256> first{};
    std::uint64_t lengths = 0; // bit l: a word of l characters, l < 63; bit 63: longer ones
    for (const std::string& r : reserved) {
        if (r.empty()) continue;
        first[static_cast<unsigned char>(r[0])] = true;
        lengths |= std::uint64_t(1) << (r.size() < 63 ? r.size() : 63);
    }
    std::set<std::string> signals;
    a.for_each_name([&](const std::string& n) {
        const bool maybe = n.empty() || (first[static_cast<unsigned char>(n[0])] &&
                                         (lengths >> (n.size() < 63 ? n.size() : 63) & 1) != 0);
        if (maybe && words.count(n) > 0) signals.insert(n);
    });
    for (const std::string& n : signals)
        if (written.count(n) == 0) {
            written[n] = fresh_name(n + "_", taken);
            taken.insert(written[n]);
        }
    return written;
}

} // namespace

std::map<std::string, std::string> b_automaton::at_free_names(std::set<std::string>& taken) const
{
    return at_free_in(*this, taken);
}

std::map<std::string, std::string> b_automaton::at_free_names(taken_names& taken) const
{
    return at_free_in(*this, taken);
}

std::map<std::string, std::string> b_automaton::reserved_free_names(const std::set<std::string>& reserved,
                                                                     std::set<std::string>& taken) const
{
    return reserved_free_in(*this, reserved, taken);
}

std::map<std::string, std::string> b_automaton::reserved_free_names(const std::set<std::string>& reserved,
                                                                     taken_names& taken) const
{
    return reserved_free_in(*this, reserved, taken);
}

taken_names b_automaton::taken_signal_names() const
{
    std::vector<const std::string*> names;
    names.reserve(size_t(2 * state_count + input_count + output_count + local_count));
    for_each_name([&](const std::string& n) { names.push_back(&n); });
    return taken_names(std::move(names));
}

bool taken_names::count(const std::string& name) const
{
    if (!in_table) {
        table.reserve(signals.size());
        for (const std::string* n : signals) table.insert(*n);
        in_table = true;
    }
    return table.contains(name) || added.count(name) > 0;
}

namespace {

template <class Taken>
std::string module_free_of(const std::string& name, const std::set<std::string>& reserved, const Taken& taken)
{
    if (reserved.count(name) == 0) return name;
    std::string m = name + "_";
    while (reserved.count(m) > 0 || taken.count(m) > 0) m += "_";
    return m;
}

} // namespace

std::string reserved_free_module(const std::string& name, const std::set<std::string>& reserved,
                                 const std::set<std::string>& taken)
{
    return module_free_of(name, reserved, taken);
}

std::string reserved_free_module(const std::string& name, const std::set<std::string>& reserved,
                                 const taken_names& taken)
{
    return module_free_of(name, reserved, taken);
}

std::vector<const std::string*> written_names(const std::map<std::string, std::string>& written,
                                              const std::vector<const std::string*>& names)
{
    std::vector<const std::string*> w;
    w.reserve(names.size());
    for (const std::string* n : names) w.push_back(&written_as(written, *n));
    return w;
}

bdd_naming b_automaton::naming_of(const std::map<std::string, std::string>& written) const
{
    bdd_naming naming(wood->manager);
    for (const auto& w : written) naming.name_var(w.first, w.second);
    return naming;
}

const std::string& written_as(const std::map<std::string, std::string>& written, const std::string& name)
{
    auto w = written.empty() ? written.end() : written.find(name);
    return w == written.end() ? name : w->second;
}

void put_declarations(std::ostream& os, const std::vector<const std::string*>& names,
                      const std::map<std::string, std::string>& written, const std::string& PRE,
                      const char* separator)
{
    const std::string_view sep(separator);
    text_room list; // its room is kept from one piece to the next
    for (size_t k = 0; k < names.size(); ++k) {
        if (k > 0) list += sep;
        list += PRE;
        list += written_as(written, *names[k]);
        if (list.size() >= (size_t(1) << 16)) list.write_to(os);
    }
    list.write_to(os);
}

bool b_automaton::registers_chained() const
{
    std::unordered_set<std::string_view> registers;
    registers.reserve(size_t(state_count > 0 ? state_count : 0));
    for (int j = 0; j < state_count; ++j) registers.insert(state_names[j]);
    for (int i = 0; i < state_count; ++i)
        if (registers.count(next_state_names[i]) > 0) return true;
    return false;
}
