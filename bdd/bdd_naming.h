// How a writer names the variables of one manager: the name it writes for each variable, and
// the text an operand that reads the variable becomes. The emitters that take a naming write
// these texts; the manager's own names are never touched.
#ifndef NELVOR_BDD_NAMING_H
#define NELVOR_BDD_NAMING_H

#include <string>
#include <string_view>
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
        return id >= 0 && size_t(id) < names.size() ? names[size_t(id)] : no_name();
    }
    // The written name of f's top variable: "1" or "0" for a constant, as Name_var_by_bdd.
    std::string name_of(const bdd& f) const;
    // An operand reading the variable of that id.
    std::string operand(long id, const std::string& PRE, const std::string& SUF) const;
    // The same operand appended to text.
    void append_operand(std::string& text, long id, std::string_view PRE, std::string_view SUF) const
    {
        if (id >= 0 && size_t(id) < names.size() && has_read[size_t(id)]) {
            text += reads[size_t(id)];
            return;
        }
        // most writers have neither PRE nor SUF
        if (!PRE.empty()) text += PRE;
        text += name(id);
        if (!SUF.empty()) text += SUF;
    }

private:
    static const std::string& no_name(); // the empty name

    bddpp_manager* m;
    std::vector<std::string> names;  // written name by id
    std::vector<std::string> reads;  // verbatim operand by id, where has_read holds 1
    std::vector<char> has_read;
};

#endif
