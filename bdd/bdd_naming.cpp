// The names a writer gives the variables, kept beside the manager's own.
#include "bdd/bdd_naming.h"

const std::string& bdd_naming::no_name()
{
    static const std::string empty;
    return empty;
}

bdd_naming::bdd_naming(bddpp_manager* m) : m(m), count(m->nvars > 0 ? size_t(m->nvars) : 0) {}

bdd_naming::change& bdd_naming::change_of(long id)
{
    if (changed.empty()) changed.assign(count, 0);
    std::uint32_t& c = changed[size_t(id)];
    if (c == 0) {
        changes.push_back(change{m->names[id], std::string(), false});
        c = std::uint32_t(changes.size());
    }
    return changes[c - 1];
}

void bdd_naming::name_var(const std::string& var, const std::string& written)
{
    long id = m->Id_var_by_name(var);
    if (id >= 0 && size_t(id) < count) change_of(id).name = written;
}

void bdd_naming::read_var(const std::string& var, const std::string& text)
{
    long id = m->Id_var_by_name(var);
    if (id < 0 || size_t(id) >= count) return;
    change& c = change_of(id);
    c.read = text;
    c.has_read = true;
}

std::string bdd_naming::name_of(const bdd& f) const
{
    if (f.manager == m && f.node_ptr && f.node_ptr->var >= 0 && size_t(f.node_ptr->var) < count)
        return name(f.node_ptr->var);
    return m->Name_var_by_bdd(f); // a constant, or the manager's message on a foreign function
}

std::string bdd_naming::operand(long id, const std::string& PRE, const std::string& SUF) const
{
    const std::pair<const std::string*, bool> o = operand_parts(id);
    return o.second ? *o.first : PRE + *o.first + SUF;
}

bool bdd_naming::renamed(std::vector<std::pair<long, std::string>>& names) const
{
    names.clear();
    if (m->nvars < 0 || count != size_t(m->nvars)) return false;
    for (size_t id = 0; id < changed.size(); ++id) {
        if (changed[id] == 0) continue;
        const change& c = changes[changed[id] - 1];
        if (c.has_read) return false;
        if (c.name != m->names[id]) names.emplace_back(long(id), c.name);
    }
    return true;
}
