// LUSTRE equations: the compatibility line of one sum of products, and the shared-node forms.
#include "forest/Bddexpression.h"

namespace {

const struct {
    const char* OR;     // between products
    const char* AND;    // between literals
    const char* NOT;    // before a negative literal
    const char* left;   // before the name
    const char* equals; // between the name and the sum
    const char* end;    // after the sum
    const char* node_left; // before the name in the shared-node forms
} words = {" or ", " and ", "not ", "  ", "= ", ";", "   "};

const Bddexpression::node_code_form array_form = {
    Bddexpression::emit_array, " or ", " and ", "not ", "false", ";", "= ", ";", "not ", "[", "];", 1};
const Bddexpression::node_code_form arrayless_form = {
    Bddexpression::emit_arrayless, " or ", " and ", "not ", "false", ";", "= ", ";", "not ", "_", ";", 1};

} // namespace

void Bddexpression::put_lustre_compatibilite(std::ostream& os, int k)
{
    if (!put_ready()) return;
    os << words.left << put_name() << words.equals;
    wood->manager->Print_sop(words.OR, words.AND, words.NOT, "", os, bdd_exp, k);
    os << words.end;
}

void Bddexpression::put_lustre(std::ostream& os, const std::string& ARR)
{
    if (!put_ready()) return;
    put_shared_nodes(os, array_form, words.node_left + put_name(), ARR, "", "", "");
}

void Bddexpression::put_lustre_arrayless(std::ostream& os, const std::string& ARR)
{
    if (!put_ready()) return;
    put_shared_nodes(os, arrayless_form, words.node_left + put_name(), ARR, "", "", "");
}

void Bddexpression::Lustre_writing_node_used(int* used)
{
    if (!put_ready() || put_is_copy()) return;
    bdd_exp.node()->Lustre_writing_node_used(used, bdd_exp.node());
}

void Bddexpressionwood::Put_lustre(std::ostream& os, const std::string& ARR)
{
    Put_sharing_nodes(os, [&](Bddexpression& e) { e.put_lustre(os, ARR); });
}

void Bddexpressionwood::Put_lustre_arrayless(std::ostream& os, const std::string& ARR)
{
    Put_sharing_nodes(os, [&](Bddexpression& e) { e.put_lustre_arrayless(os, ARR); });
}

void Bddexpressionwood::Lustre_writing_node_used(long count, int* used)
{
    for (long i = 0; i < count; ++i) used[i] = 0;
    if (!manager) return;
    manager->Bdd_global_clear_marks();
    for (long p : earliest_positions()) exp_table[p]->Lustre_writing_node_used(used);
}
