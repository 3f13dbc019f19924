// ESTEREL equations: a present statement emitting the defined signal, joined by parallel bars.
#include "forest/Bddexpression.h"
#include "forest/equation_text.h"

namespace {

const struct {
    const char* present; // before the condition
    const char* then;    // after it
    const char* emit;    // before the signal's name
    const char* end;     // closing line
    const char* bars;    // line between two equations
} words = {"  present [", "] then", "    emit ", "  end present", "  ||"};

} // namespace

namespace {

// The three lines of the equation appended to text.
void append_esterel(std::string& text, const Bddexpression& e, int k, const bdd_naming* naming)
{
    bddpp_manager* m = e.wood->manager;
    text += words.present;
    if (m->Bdd_is_zero_tautologic(e.bdd_exp))
        text += "not tick";
    else if (m->Bdd_is_one_tautologic(e.bdd_exp))
        text += "tick";
    else
        m->Append_sop(text, " or ", " and ", "not ", "", e.bdd_exp, "", "", k, naming);
    text += words.then;
    text += '\n';
    text += words.emit;
    equation_text::append_name(text, e, naming);
    text += '\n';
    text += words.end;
}

} // namespace

void Bddexpression::put_esterel(std::ostream& os, int k, const bdd_naming* naming)
{
    if (!put_ready()) return;
    // the three lines in one piece, in a buffer whose room is kept from one equation to the next
    static std::string text;
    text.clear();
    append_esterel(text, *this, k, naming);
    os.write(text.data(), std::streamsize(text.size()));
}

void Bddexpressionwood::Put_esterel(std::ostream& os, int k, const bdd_naming* naming)
{
    bool first = true;
    equation_text::put_in_date_order(*this, os, [&](std::string& text, const Bddexpression& e) {
        if (!first) {
            text += words.bars;
            text += '\n';
        }
        first = false;
        if (e.put_ready()) append_esterel(text, e, k, naming);
    });
}
