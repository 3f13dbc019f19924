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
    const std::vector<long> order = w.earliest_positions();
    // the equations lie apart in memory and the date order jumps between them: each is fetched
    // a few equations ahead of its turn
    const size_t ahead = 8;
    for (size_t k = 0; k < order.size() && k < ahead; ++k)
        Bddexpressionwood::prefetch_equation(w.exp_table[order[k]]);
    for (size_t k = 0; k < order.size(); ++k) {
        if (k + ahead < order.size()) Bddexpressionwood::prefetch_equation(w.exp_table[order[k + ahead]]);
        // by now the equation half as far ahead is there: its two members' nodes are asked for
        if (k + ahead / 2 < order.size()) {
            const Bddexpression* e = w.exp_table[order[k + ahead / 2]];
            __builtin_prefetch(e->bdd_var.node());
            __builtin_prefetch(e->bdd_exp.node());
        }
        append(text, *w.exp_table[order[k]]);
        text += '\n';
        if (text.size() >= piece) {
            os.write(text.data(), std::streamsize(text.size()));
            text.clear();
        }
    }
    if (!text.empty()) os.write(text.data(), std::streamsize(text.size()));
    text.clear();
}

} // namespace equation_text

#endif
