// The text of a forest's equations made in one buffer of the writer's own: each equation appends
// its text and its newline, and the buffer goes to the stream in large pieces, so that writing an
// equation costs no stream call of its own.
#ifndef NELVOR_EQUATION_TEXT_H
#define NELVOR_EQUATION_TEXT_H

#include <ostream>
#include <string>
#include <vector>

#include "bdd/bdd_naming.h"
#include "forest/Bddexpression.h"
#include "utils/text_room.h"

namespace equation_text {

// The buffer of the equations' text, whose room is kept from one writer to the next (the writers
// run one at a time, never one inside another).
inline text_room& buffer()
{
    static text_room text;
    return text;
}

// What the buffer holds goes to the stream once it holds this much.
constexpr std::size_t piece = std::size_t(1) << 16;

// The written name of e's defined variable, as put_name gives it, without a copy when the
// naming or the manager holds it; else made in a room kept from call to call, which the next
// call may overwrite.
inline const std::string& name_of(const Bddexpression& e, const bdd_naming* naming)
{
    const bdd& f = e.bdd_var;
    const bddpp_manager* m = e.wood->manager;
    if (f.manager == m && f.node_ptr && f.node_ptr->var >= 0 && f.node_ptr->var < m->nvars)
        return naming ? naming->name(f.node_ptr->var) : m->names[f.node_ptr->var];
    static std::string spare;
    spare = e.put_name(naming);
    return spare;
}

// Appends the written name of e's defined variable, as put_name does.
template <class Text> void append_name(Text& text, const Bddexpression& e, const bdd_naming* naming)
{
    text += name_of(e, naming);
}

// As Put_in_date_order, the text of each equation appended by append(text, e) before its
// newline.
template <class Append> void put_in_date_order(Bddexpressionwood& w, std::ostream& os, Append append)
{
    text_room& text = buffer();
    text.clear();
    w.for_each_in_date_order([&](Bddexpression& e) {
        append(text, e);
        text += '\n';
        if (text.size() >= piece) text.write_to(os);
    });
    text.write_to(os);
}

// As Put_sharing_nodes: the marks of the nodes cleared, then put_in_date_order.
template <class Append> void put_sharing_nodes(Bddexpressionwood& w, std::ostream& os, Append append)
{
    if (!w.manager) return;
    w.manager->Bdd_global_clear_marks();
    put_in_date_order(w, os, append);
}

} // namespace equation_text

#endif
