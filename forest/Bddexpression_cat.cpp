// Debug forms of the equations: literals as array elements, and the node dump of the right member.
#include "forest/Bddexpression.h"
#include "utils/Stringpp.h"

namespace {

const struct {
    const char* OR;     // between products
    const char* AND;    // between literals
    const char* NOT;    // before a negative literal
    const char* left;   // before the array element of the defined variable
    const char* open;   // between the array and the position
    const char* close;  // after the position
    const char* end;    // after the sum
    const char* tree;   // after the name in the dump
} words = {" || ", " && ", "!", "   ", "[", "]= ", ";", "="};

} // namespace

void Bddexpression::put_cat(std::ostream& os, const std::string& ARR, int k)
{
    if (!put_ready()) return;
    bddpp_manager* m = wood->manager;
    os << words.left << ARR << words.open << unslong2S((unsigned long)m->Index_var_by_bdd(bdd_var)) << words.close;
    m->Print_cat_sop(words.OR, words.AND, words.NOT, "", os, bdd_exp, ARR, k);
    os << words.end;
}

void Bddexpression::put_tree(std::ostream& os)
{
    if (!put_ready()) return;
    os << put_name() << words.tree << std::endl;
    wood->manager->Print_bdd_structure(os, bdd_exp);
}

void Bddexpressionwood::Put_cat(std::ostream& os, const std::string& ARR, int k)
{
    Put_in_date_order(os, [&](Bddexpression& e) { e.put_cat(os, ARR, k); });
}
