// How a writer names the variables of one manager: the name it writes for each variable, and
// the text an operand that reads the variable becomes. The emitters that take a naming write
// these texts; the manager's own names are never touched.
#ifndef NELVOR_BDD_NAMING_H
#define NELVOR_BDD_NAMING_H

#include <string>
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
    const std::string& name(long id) const;
    // The written name of f's top variable: "1" or "0" for a constant, as Name_var_by_bdd.
    std::string name_of(const bdd& f) const;
    // An operand reading the variable of that id.
    std::string operand(long id, const std::string& PRE, const std::string& SUF) const;
    // Appends that operand to s.
    void append_operand(std::string& s, long id, const std::string& PRE, const std::string& SUF) const;

private:
    bddpp_manager* m;
    std::vector<std::string> names;  // written name by id
    std::vector<std::string> reads;  // verbatim operand by id, where has_read holds 1
    std::vector<char> has_read;
};

#endif
