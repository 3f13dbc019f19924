// ESTEREL equations: a present statement emitting the defined signal, joined by parallel bars.
#include "forest/Bddexpression.h"

namespace {

const struct {
    const char* present; // before the condition
    const char* then;    // after it
    const char* emit;    // before the signal's name
    const char* end;     // closing line
    const char* bars;    // line between two equations
} words = {"  present [", "] then", "    emit ", "  end present", "  ||"};

} // namespace

void Bddexpression::put_esterel(std::ostream& os, int k, const bdd_naming* naming)
{
    if (!put_ready()) return;
    // the three lines in one piece, in a buffer whose room is kept from one equation to the next
    static std::string text;
    text = words.present;
    text += wood->manager->Print_sop_to_ESTEREL_String(bdd_exp, k, naming);
    text += words.then;
    text += '\n';
    text += words.emit;
    text += put_name(naming);
    text += '\n';
    text += words.end;
    os.write(text.data(), std::streamsize(text.size()));
}

void Bddexpressionwood::Put_esterel(std::ostream& os, int k, const bdd_naming* naming)
{
    bool first = true;
    Put_in_date_order(os, [&](Bddexpression& e) {
        if (!first) os << words.bars << std::endl;
        first = false;
        e.put_esterel(os, k, naming);
    });
}
