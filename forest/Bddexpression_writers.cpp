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
    // the lines in a buffer whose room is kept from one equation to the next, written at once
    static text_room text;
    text.clear();
    put_shared_nodes(text, form, {left}, ARR, PRE, SUF, prefix, naming);
    text.write_to(os);
}

void Bddexpression::put_shared_nodes(text_room& text, const node_code_form& form,
                                     std::initializer_list<std::string_view> left, std::string_view ARR,
                                     std::string_view PRE, std::string_view SUF, std::string_view prefix,
                                     const bdd_naming* naming)
{
    bddpp_manager* m = wood->manager;
    int copy = put_is_copy();
    if (copy && form.copy_by_name) {
        for (std::string_view piece : left) text += piece;
        text += form.assign;
        if (naming) {
            const std::pair<const std::string*, bool> o = naming->operand_parts(m->Bdd_if_id(bdd_exp));
            if (!o.second) text += PRE;
            text += *o.first;
            if (!o.second) text += SUF;
        } else {
            text += PRE;
            text += m->Name_var_by_bdd(bdd_exp);
            text += SUF;
        }
        text += form.copy_end;
        return;
    }
    bdd_node* top = bdd_exp.node();
    if (!copy) {
        // the network comes first: the final line reads the element of its top node
        switch (form.emitter) {
        case emit_array:
            m->Append_node_for_eval(text, form.OR, form.AND, form.NOT, "", PRE, SUF, form.FALSE, form.END, nullptr,
                                    ARR, false, top, naming);
            break;
        case emit_array_prefix:
            m->Append_node_for_eval(text, form.OR, form.AND, form.NOT, "", PRE, SUF, form.FALSE, form.END, &prefix,
                                    ARR, false, top, naming);
            break;
        case emit_arrayless:
            m->Append_node_for_eval(text, form.OR, form.AND, form.NOT, "", PRE, SUF, form.FALSE, form.END, nullptr,
                                    ARR, true, top);
            break;
        case emit_nusmv:
            m->Append_node_for_eval_NUSMV(text, PRE, SUF, prefix, ARR, top);
            break;
        default:
            m->Append_node_for_eval_VHDL(text, ARR, top);
            break;
        }
    }
    // the final line in one piece
    std::size_t most = form.assign.size() + form.root_not.size() + ARR.size() + form.root_open.size() + 24 +
                       form.root_close.size();
    for (std::string_view piece : left) most += piece.size();
    char* p = text.room(most);
    for (std::string_view piece : left) p = text_pieces::put(p, piece);
    p = text_pieces::put(p, form.assign);
    if (bdd_exp.link_type() == -1) p = text_pieces::put(p, form.root_not);
    p = text_pieces::put(p, ARR);
    p = text_pieces::put(p, form.root_open);
    p = std::to_chars(p, p + 24, top->number).ptr;
    p = text_pieces::put(p, form.root_close);
    text.keep(p);
}
