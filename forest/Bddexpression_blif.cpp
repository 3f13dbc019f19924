// BLIF equations: one .names block per shared node, then the equation's own block.
#include "forest/Bddexpression.h"

namespace {

const struct {
    const char* names; // opens a block
    const char* node;  // between the node stem and the node number
    const char* plain; // row of a plain (or copied) function
    const char* inverse; // row of a complemented function
} words = {".names ", "_", "1 1", "0 1"};

} // namespace

void Bddexpression::put_blif(std::ostream& os, const std::string& ARR)
{
    if (!put_ready()) return;
    bddpp_manager* m = wood->manager;
    std::string name = put_name();
    if (put_is_copy()) {
        os << words.names << m->Name_var_by_bdd(bdd_exp) << " " << name << std::endl << words.plain << std::endl;
        return;
    }
    bdd_node* top = bdd_exp.node();
    m->Print_node_for_eval_BLIF("", "", ARR, os, top);
    os << words.names << ARR << words.node << top->number << " " << name << std::endl
       << (bdd_exp.link_type() == 1 ? words.plain : words.inverse) << std::endl;
}

void Bddexpressionwood::Put_blif(std::ostream& os, const std::string& ARR, int* sel)
{
    Put_sharing_nodes(os, [&](Bddexpression& e) {
        long p = e.bdd_var.node() ? manager->Bdd_if_index(e.bdd_var) : -1;
        if (!sel || (p >= 0 && sel[p] == 1)) e.put_blif(os, ARR);
    });
}
