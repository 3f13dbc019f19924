// How a writer names the variables of one manager: the name it writes for each variable, and
// the text an operand that reads the variable becomes. The emitters that take a naming write
// these texts; the manager's own names are never touched.
#ifndef NELVOR_BDD_NAMING_H
#define NELVOR_BDD_NAMING_H

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "bdd/bddpp.h"

class bdd_naming {
public:
    // Every variable of m under its own name, every operand PRE name SUF.
    explicit bdd_naming(bddpp_manager* m);

    // The variable created as var is written as written; nothing when m has no such variable.
    void name_var(const std::string& var, const std::string& written);
    // An operand reading the variable created as var is text, verbatim (no PRE and no SUF).
    void read_var(const std::string& var, const std::string& text);

    // The written name of the variable of that id; an empty name outside the manager's ids.
    const std::string& name(long id) const
    {
        if (id < 0 || size_t(id) >= count) return no_name();
        const change* c = change_at(id);
        return c ? c->name : m->names[id];
    }
    // The written name of f's top variable: "1" or "0" for a constant, as Name_var_by_bdd.
    std::string name_of(const bdd& f) const;
    // The verbatim operand of the variable of that id, null when it has none.
    const std::string* read(long id) const
    {
        const change* c = change_at(id);
        return c && c->has_read ? &c->read : nullptr;
    }
    // An operand reading the variable of that id.
    std::string operand(long id, const std::string& PRE, const std::string& SUF) const;
    // The same in parts: (the verbatim operand, true), or (the written name, false) to be put
    // between PRE and SUF.
    std::pair<const std::string*, bool> operand_parts(long id) const
    {
        const std::string* verbatim = read(id);
        return verbatim ? std::make_pair(verbatim, true) : std::make_pair(&name(id), false);
    }

    // Whether the naming writes every variable of the manager as some text, with no verbatim
    // operand; names gets the variables it names differently, their ids in ascending order.
    bool renamed(std::vector<std::pair<long, std::string>>& names) const;

private:
    static const std::string& no_name(); // the empty name

    // What the writer changed of one variable: its written name, and its verbatim operand.
    struct change {
        std::string name;
        std::string read;
        bool has_read;
    };
    // The change of the variable of that id, null when it has none (or no such variable).
    const change* change_at(long id) const
    {
        if (changed.empty() || id < 0 || size_t(id) >= count) return nullptr;
        const std::uint32_t c = changed[size_t(id)];
        return c != 0 ? &changes[c - 1] : nullptr;
    }
    change& change_of(long id); // made at the first change

    // Most variables keep the manager's name: the changes are kept apart, so that a naming
    // costs a few bytes a variable instead of a copy of every name.
    bddpp_manager* m;
    size_t count;                       // the manager's variables when the naming was made
    std::vector<std::uint32_t> changed; // by id: 1 + the index of its change, 0 for none; empty without changes
    std::vector<change> changes;
};

#endif
