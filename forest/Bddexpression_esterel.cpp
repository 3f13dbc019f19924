// ESTEREL equations: a present statement emitting the defined signal, joined by parallel bars.
#include <string_view>

#include "bdd/sop_style.h"
#include "forest/Bddexpression.h"
#include "forest/equation_text.h"

namespace {

const struct {
    std::string_view present; // before the condition
    std::string_view then;    // after it
    std::string_view emit;    // before the signal's name
    std::string_view end;     // closing line
    std::string_view bars;    // line between two equations
} words = {"  present [", "] then", "    emit ", "  end present", "  ||"};

} // namespace

namespace {

// The three lines of the equation appended to text.
void append_esterel(text_room& text, const Bddexpression& e, int k, const bdd_naming* naming,
                    const sop_style& sums)
{
    bddpp_manager* m = e.wood->manager;
    text += words.present;
    if (m->Bdd_is_zero_tautologic(e.bdd_exp))
        text += "not tick";
    else if (m->Bdd_is_one_tautologic(e.bdd_exp))
        text += "tick";
    else
        sums.append(text, e.bdd_exp, k);
    text += words.then;
    text += '\n';
    text += words.emit;
    equation_text::append_name(text, e, naming);
    text += '\n';
    text += words.end;
}

// The sums of the conditions.
sop_style esterel_sums(bddpp_manager* m, const bdd_naming* naming)
{
    return sop_style(m, " or ", " and ", "not ", "", naming);
}

} // namespace

void Bddexpression::put_esterel(std::ostream& os, int k, const bdd_naming* naming)
{
    if (!put_ready()) return;
    // the three lines in one piece, in a buffer whose room is kept from one equation to the next
    static text_room text;
    text.clear();
    append_esterel(text, *this, k, naming, esterel_sums(wood->manager, naming));
    text.write_to(os);
}

void Bddexpressionwood::Put_esterel(std::ostream& os, int k, const bdd_naming* naming)
{
    bool first = true;
    const sop_style sums = esterel_sums(manager, naming);
    equation_text::put_in_date_order(*this, os, [&](text_room& text, const Bddexpression& e) {
        if (!first) {
            text += words.bars;
            text += '\n';
        }
        first = false;
        if (e.put_ready()) append_esterel(text, e, k, naming, sums);
    });
}
