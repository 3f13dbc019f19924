// What every equation writer shares: the guard, the defined name, the copy case and the shared-node line.
#include "forest/Bddexpression.h"

#include <charconv>
#include <cstring>
#include <string_view>

int Bddexpression::put_ready() const
{
    return wood && wood->manager && bdd_var.manager_ref() && bdd_var.node() && bdd_exp.manager_ref() &&
           bdd_exp.node();
}

std::string Bddexpression::put_name(const bdd_naming* naming) const
{
    return naming ? naming->name_of(bdd_var) : wood->manager->Name_var_by_bdd(bdd_var);
}

int Bddexpression::put_is_copy() const
{
    return wood->manager->Bdd_is_var(bdd_exp);
}

void Bddexpression::put_shared_nodes(std::ostream& os, const node_code_form& form, const std::string& left,
                                     const std::string& ARR, const std::string& PRE, const std::string& SUF,
                                     const std::string& prefix, const bdd_naming* naming)
{
    bddpp_manager* m = wood->manager;
    int copy = put_is_copy();
    if (copy && form.copy_by_name) {
        os << left << form.assign
           << (naming ? naming->operand(m->Bdd_if_id(bdd_exp), PRE, SUF) : PRE + m->Name_var_by_bdd(bdd_exp) + SUF)
           << form.copy_end;
        return;
    }
    bdd_node* top = bdd_exp.node();
    if (!copy) {
        // the network comes first: the final line reads the element of its top node
        switch (form.emitter) {
        case emit_array:
            m->Print_node_for_eval(form.OR, form.AND, form.NOT, "", PRE, SUF, form.FALSE, form.END, ARR, os, top,
                                   naming);
            break;
        case emit_array_prefix:
            m->Print_node_for_eval(form.OR, form.AND, form.NOT, "", PRE, SUF, form.FALSE, form.END, prefix, ARR, os,
                                   top, naming);
            break;
        case emit_arrayless:
            m->Print_node_for_eval_arrayless(form.OR, form.AND, form.NOT, "", PRE, SUF, form.FALSE, form.END, ARR, os,
                                             top);
            break;
        case emit_nusmv:
            m->Print_node_for_eval_NUSMV(PRE, SUF, prefix, ARR, os, top);
            break;
        default:
            m->Print_node_for_eval_VHDL(ARR, os, top);
            break;
        }
    }
    // the final line in one piece, in a buffer whose room is kept from one equation to the next
    static std::string line;
    const std::string_view assign(form.assign), root_not(form.root_not), root_open(form.root_open),
        root_close(form.root_close);
    const std::size_t most = left.size() + assign.size() + root_not.size() + ARR.size() + root_open.size() + 24 +
                             root_close.size();
    if (line.size() < most) line.resize(2 * most);
    char* p = line.data();
    auto put = [&p](std::string_view piece) {
        std::memcpy(p, piece.data(), piece.size());
        p += piece.size();
    };
    put(left);
    put(assign);
    if (bdd_exp.link_type() == -1) put(root_not);
    put(ARR);
    put(root_open);
    p = std::to_chars(p, p + 24, top->number).ptr;
    put(root_close);
    os.write(line.data(), std::streamsize(p - line.data()));
}
