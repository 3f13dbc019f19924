// The names a writer gives the variables, kept beside the manager's own.
#include "bdd/bdd_naming.h"

const std::string& bdd_naming::no_name()
{
    static const std::string empty;
    return empty;
}

bdd_naming::bdd_naming(bddpp_manager* m)
    : m(m), names(m->names, m->names + m->nvars), reads(size_t(m->nvars)), has_read(size_t(m->nvars), 0)
{
}

void bdd_naming::name_var(const std::string& var, const std::string& written)
{
    long id = m->Id_var_by_name(var);
    if (id >= 0 && size_t(id) < names.size()) names[size_t(id)] = written;
}

void bdd_naming::read_var(const std::string& var, const std::string& text)
{
    long id = m->Id_var_by_name(var);
    if (id < 0 || size_t(id) >= names.size()) return;
    reads[size_t(id)] = text;
    has_read[size_t(id)] = 1;
}

std::string bdd_naming::name_of(const bdd& f) const
{
    if (f.manager == m && f.node_ptr && f.node_ptr->var >= 0 && size_t(f.node_ptr->var) < names.size())
        return names[size_t(f.node_ptr->var)];
    return m->Name_var_by_bdd(f); // a constant, or the manager's message on a foreign function
}

std::string bdd_naming::operand(long id, const std::string& PRE, const std::string& SUF) const
{
    if (id >= 0 && size_t(id) < names.size() && has_read[size_t(id)]) return reads[size_t(id)];
    return PRE + name(id) + SUF;
}
