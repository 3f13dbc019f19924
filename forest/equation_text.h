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

namespace equation_text {

// The buffer of the equations' text, whose room is kept from one writer to the next (the writers
// run one at a time, never one inside another).
inline std::string& buffer()
{
    static std::string text;
    return text;
}

// What the buffer holds goes to the stream once it holds this much.
constexpr std::size_t piece = std::size_t(1) << 16;

// Appends the written name of e's defined variable, as put_name does.
inline void append_name(std::string& text, const Bddexpression& e, const bdd_naming* naming)
{
    const bdd& f = e.bdd_var;
    const bddpp_manager* m = e.wood->manager;
    if (f.manager == m && f.node_ptr && f.node_ptr->var >= 0 && f.node_ptr->var < m->nvars) {
        if (naming)
            text += naming->name(f.node_ptr->var);
        else
            text += m->names[f.node_ptr->var];
        return;
    }
    text += e.put_name(naming);
}

// As Put_in_date_order, the text of each equation appended by append(text, e) before its
// newline.
template <class Append> void put_in_date_order(Bddexpressionwood& w, std::ostream& os, Append append)
{
    std::string& text = buffer();
    text.clear();
    w.for_each_in_date_order([&](Bddexpression& e) {
        append(text, e);
        text += '\n';
        if (text.size() >= piece) {
            os.write(text.data(), std::streamsize(text.size()));
            text.clear();
        }
    });
    if (!text.empty()) os.write(text.data(), std::streamsize(text.size()));
    text.clear();
}

} // namespace equation_text

#endif
