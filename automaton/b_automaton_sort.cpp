// Sorting of the equations and the conventions shared by the automaton's file writers.
#include "b_automaton.h"

#include <iostream>
#include <string_view>
#include <unordered_set>

std::list<long> b_automaton::sort()
{
    if (wood == nullptr) return std::list<long>();
    // every call dates the equations afresh: the computation only raises dates
    for (int k = 0; k < wood->exp_number(); ++k) {
        Bddexpression* e = wood->exp(k);
        if (e == nullptr) continue;
        e->early_date = 0;
        e->setLateDate(0);
    }
    wood->update_nb_level(0);
    level_count = wood->compute_dates();
    return wood->loop_detection();
}

void b_automaton::BAC_put(std::ostream&, int, const std::string&)
{
    std::cerr << "to do !" << std::endl;
}

void b_automaton::export_awaited_inputs()
{
    std::cerr << "A REVOIR ..." << std::endl;
}

int b_automaton::has_equations() const
{
    return wood != nullptr && wood->exp_number() > 0;
}

std::string b_automaton::join_names(const std::vector<const std::string*>& names, const std::string& separator)
{
    std::string text;
    for (std::size_t i = 0; i < names.size(); ++i) {
        if (i > 0) text += separator;
        text += *names[i];
    }
    return text;
}

std::string b_automaton::join_names(const std::vector<std::string>& names, const std::string& separator)
{
    return join_names(name_pointers(names.data(), static_cast<int>(names.size())), separator);
}

std::vector<const std::string*> b_automaton::name_pointers(const std::string* names, int count)
{
    std::vector<const std::string*> pointers;
    for (int i = 0; i < count && names != nullptr; ++i) pointers.push_back(names + i);
    return pointers;
}

std::vector<std::string> b_automaton::names_of(const std::string* names, int count)
{
    if (names == nullptr || count <= 0) return std::vector<std::string>();
    return std::vector<std::string>(names, names + count);
}

std::vector<std::string> b_automaton::declared_once(const std::vector<std::vector<std::string>>& groups) const
{
    std::vector<std::pair<const std::string*, int>> arrays;
    for (const std::vector<std::string>& group : groups) arrays.push_back({group.data(), static_cast<int>(group.size())});
    std::vector<std::string> declared;
    for (const std::string* name : declared_once(arrays)) declared.push_back(*name);
    return declared;
}

// A name that stands in two lists (a register that is an output, a next-state signal that is an
// input or a register) would otherwise be declared twice.
std::vector<const std::string*> b_automaton::declared_once(
    const std::vector<std::pair<const std::string*, int>>& groups) const
{
    std::unordered_set<std::string_view> seen;
    seen.reserve(input_count + output_count + 2 * state_count + local_count);
    for (int i = 0; i < input_count; ++i) seen.insert(input_names[i]);
    for (int j = 0; j < output_count; ++j) seen.insert(output_names[j]);
    std::vector<const std::string*> declared;
    for (const std::pair<const std::string*, int>& group : groups)
        for (int k = 0; k < group.second; ++k)
            if (seen.insert(group.first[k]).second) declared.push_back(group.first + k);
    return declared;
}

std::string b_automaton::init_text(int i) const
{
    if (init_values[i] == 1) return "true";
    if (init_values[i] == 0) return "false";
    return "???";
}

std::map<std::string, std::string> b_automaton::reserved_free_names(const std::set<std::string>& reserved,
                                                                     std::set<std::string>& taken) const
{
    taken.insert(reserved.begin(), reserved.end());
    std::map<std::string, std::string> written = at_free_names(taken);
    for (const std::string& n : all_names())
        if (written.count(n) == 0 && reserved.count(n) > 0) {
            written[n] = fresh_name(n + "_", taken);
            taken.insert(written[n]);
        }
    return written;
}

std::string b_automaton::reserved_free_module(const std::string& name, const std::set<std::string>& reserved,
                                              const std::set<std::string>& taken)
{
    if (reserved.count(name) == 0) return name;
    std::string m = name + "_";
    while (reserved.count(m) > 0 || taken.count(m) > 0) m += "_";
    return m;
}

std::vector<std::string> b_automaton::written_names(const std::map<std::string, std::string>& written,
                                                    const std::vector<const std::string*>& names)
{
    std::vector<std::string> w;
    for (const std::string* n : names) w.push_back(written_as(written, *n));
    return w;
}
