// Forest integration: every equation of another forest copied into this one under new names,
// over the same manager or across managers.
#include "forest/Bddexpression.h"

#include <iostream>
#include <vector>

namespace {

const char* const refusal = "ERROR in Bddexpressionwood::Include_wood_instance(): ";

// How the new names are made: the old name followed by a suffix, or a renaming map.
class naming {
public:
    naming(const std::string* suffix, std::map<std::string, std::string>* renaming)
        : suffix(suffix), renaming(renaming) {}

    bool by_map() const { return renaming != nullptr; }
    // The new name of old, the map left as it is ("" for a name it lacks).
    std::string peek(const std::string& old) const
    {
        if (!by_map()) return old + *suffix;
        std::map<std::string, std::string>::const_iterator known = renaming->find(old);
        return known == renaming->end() ? std::string() : known->second;
    }
    // The new name of old through the map's subscript, which inserts a missing old name with an
    // empty new name; an empty new name is warned about.
    std::string take(const std::string& old) const
    {
        if (!by_map()) return old + *suffix;
        std::string name = (*renaming)[old];
        if (name.empty()) std::cerr << "Warning: no renaming for : " << old << std::endl;
        return name;
    }

private:
    const std::string* suffix;                     // the suffix; null with a map
    std::map<std::string, std::string>* renaming;  // old name -> new name; null with a suffix
};

// The source equation at position i, null for an empty slot.
Bddexpression* source_equation(Bddexpressionwood* source, long i)
{
    return i >= 0 && i < source->nb_bdd_vars ? source->exp_table[i] : nullptr;
}

// The positions of s that were copied, as the positions of their copies.
std::set<long> mapped(const position_set& s, const std::map<long, long>& copies)
{
    std::set<long> r;
    for (long x : s) {
        std::map<long, long>::const_iterator c = copies.find(x);
        if (c != copies.end()) r.insert(c->second);
    }
    return r;
}

} // namespace

// Whether the inclusion of source may go on: the refusals leave both forests and the map as
// they are. used holds the positions that source defines or reads.
static bool inclusion_allowed(Bddexpressionwood* w, Bddexpressionwood* source, const naming& names,
                              const std::set<long>& used)
{
    if (source == nullptr) {
        std::cerr << refusal << "no forest to include, nothing included" << std::endl;
        return false;
    }
    if (source == w) {
        std::cerr << refusal << "a forest cannot include itself, nothing included" << std::endl;
        return false;
    }
    bddpp_manager* from = source->manager;
    if (names.by_map() && from == w->manager) {
        // a defined variable needs its new name: the process ends before anything is copied
        for (long i : source->expression_ids) {
            Bddexpression* e = source_equation(source, i);
            if (e == nullptr) continue;
            std::string old = e->my_bddname();
            if (names.peek(old).empty()) {
                std::cerr << "Error: no renaming for : " << old << std::endl;
                bdd_exit(1);
            }
        }
    }
    // two variables under one name would be one variable: every new name must be new and distinct
    std::map<std::string, std::string> given; // new name -> the old name it was given to
    for (long x : used) {
        std::string old = from->Name_var_by_index(x);
        std::string name = names.peek(old);
        if (w->manager->Index_var_by_name(name) >= 0) {
            std::cerr << refusal << "`" << name << "' (new name of `" << old
                      << "') is already a variable, nothing included" << std::endl;
            return false;
        }
        std::pair<std::map<std::string, std::string>::iterator, bool> first = given.insert({name, old});
        if (!first.second) {
            std::cerr << refusal << "`" << name << "' would be the new name of both `" << first.first->second
                      << "' and `" << old << "', nothing included" << std::endl;
            return false;
        }
    }
    return true;
}

// Copies source into w (inclusion_allowed said yes): the new variables first, then the
// equations in ascending position.
static void include_wood(Bddexpressionwood* w, Bddexpressionwood* source, const naming& names,
                         const std::set<long>& used)
{
    bddpp_manager* m = w->manager;
    bddpp_manager* from = source->manager;
    bool same = from == m;
    w->update_bdd_vars();
    long slots = w->nb_bdd_vars; // with a shared manager, the source equations held below it are copied
    std::map<long, long> created; // source position -> position of its new variable
    for (long x : used) {
        long p = w->Index_new_var_last(names.take(from->Name_var_by_index(x)));
        if (names.by_map()) w->late_dates[p] = x < source->nb_bdd_vars ? source->late_dates[x] : 0;
        created[x] = p;
    }
    // the index map: with a shared manager the identity but for the copied variables; across
    // managers, only the source positions that are copied
    std::vector<long> map(same ? m->nvars : from->nvars, -1);
    if (same)
        for (long p = 0; p < m->nvars; ++p) map[p] = p;
    for (const std::pair<const long, long>& c : created) map[c.first] = c.second;
    for (long i : source->expression_ids) {
        Bddexpression* e = source_equation(source, i);
        if (e == nullptr || (same && i >= slots)) continue;
        std::string name = names.take(e->name);
        if (names.by_map() && !same) names.take(e->my_bddname()); // its warning, when it has no new name
        bdd v = m->Bdd_var_by_index(map[i]);
        if (e->abstraction != 0 || e->bdd_exp.manager_ref() == nullptr) {
            std::set<long> deps = mapped(e->dependances, created);
            std::set<long> readers = mapped(source->readers[i], created);
            Bddexpression* c = new Bddexpression(m->Bdd_if_id(v), w, &readers, &deps, e->exp_def, e->early_date,
                                                 e->getLateDate());
            c->setUserType(e->user_type);
            continue;
        }
        bdd f = same ? m->Bdd_replace_vars(e->bdd_exp, map.data()) : Bdd_isomorphe(m, from, e->bdd_exp, map.data());
        new Bddexpression(name, w, v, f, e->exp_def, e->early_date, e->getLateDate(), e->user_type);
    }
    source->update_bdd_vars();
    if (w->nb_level < source->nb_level) w->nb_level = source->nb_level;
    m->Bdd_gc();
}

// The inclusion under names: checked first, then carried out.
static void include_under(Bddexpressionwood* w, Bddexpressionwood* source, const naming& names)
{
    if (names.by_map() && source != nullptr && source != w && source->manager == w->manager)
        std::cerr << "WOOD A INTEGRER avec meme Bdd_manager " << std::endl;
    if (source == nullptr || source == w) {
        inclusion_allowed(w, source, names, std::set<long>());
        return;
    }
    std::set<long> used = source->Set_of_index_used_variables();
    if (inclusion_allowed(w, source, names, used)) include_wood(w, source, names, used);
}

void Bddexpressionwood::Include_wood_instance(Bddexpressionwood* source, const std::string& suffix)
{
    include_under(this, source, naming(&suffix, nullptr));
}

void Bddexpressionwood::Include_wood_instance(Bddexpressionwood* source, std::map<std::string, std::string>* renaming)
{
    if (renaming == nullptr) {
        std::cerr << refusal << "no renaming map, nothing included" << std::endl;
        return;
    }
    include_under(this, source, naming(nullptr, renaming));
}
