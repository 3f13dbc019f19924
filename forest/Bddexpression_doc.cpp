// Plain-text equations: the sum of products in words, and the shared-node description.
#include <string_view>

#include "bdd/sop_style.h"
#include "forest/Bddexpression.h"
#include "forest/equation_text.h"

namespace {

const struct {
    std::string_view OR;     // between products
    std::string_view AND;    // between literals
    std::string_view NOT;    // before a negative literal
    std::string_view equals; // between the name and the sum
    std::string_view end;    // after each equation of the forest writer
    std::string_view yes;    // constant 1 with boolean constants
    std::string_view no;     // constant 0 with boolean constants
} words = {" or ", " and ", "not ", " = ", ";", "true", "false"};

const struct {
    const char* left;        // before the name
    const char* undefined;   // no left member
    const char* unknown;     // after the name when there is no right member
    const char* one;         // after the name for constant 1
    const char* zero;        // after the name for constant 0
    const char* node_prefix; // before each node line
} doc = {"   ", "   not defined!", "= ???", "= true;", "= false;", "   "};

const Bddexpression::node_code_form doc_form = {
    Bddexpression::emit_nusmv, "", "", "", "", "", "= ", ";", "!", "_", "", 1};

} // namespace

namespace {

// The equation appended to text: its name, " = " and its sum of products, or its constant with
// boolean constants.
void append_basic_doc(text_room& text, const Bddexpression& e, int k, int boolean_constants,
                      const bdd_naming* naming, const sop_style& sums)
{
    bddpp_manager* m = e.wood->manager;
    equation_text::append_name(text, e, naming);
    text += words.equals;
    if (boolean_constants && m->Bdd_is_tautology(e.bdd_exp))
        text += m->Bdd_is_one_tautologic(e.bdd_exp) ? words.yes : words.no;
    else
        sums.append(text, e.bdd_exp, k);
}

// The sums of the equations in the words above.
sop_style basic_doc_sums(bddpp_manager* m, const bdd_naming* naming)
{
    return sop_style(m, words.OR, words.AND, words.NOT, "", naming);
}

} // namespace

void Bddexpression::put_basic_doc(std::ostream& os, int k, int boolean_constants, const bdd_naming* naming)
{
    if (!put_ready()) return;
    // the equation in one piece, in a buffer whose room is kept from one equation to the next
    static text_room text;
    text.clear();
    append_basic_doc(text, *this, k, boolean_constants, naming, basic_doc_sums(wood->manager, naming));
    text.write_to(os);
}

void Bddexpressionwood::Put_basic_doc(std::ostream& os, int k, int boolean_constants, const bdd_naming* naming)
{
    const sop_style sums = basic_doc_sums(manager, naming);
    equation_text::put_in_date_order(*this, os, [&](text_room& text, const Bddexpression& e) {
        if (e.put_ready()) append_basic_doc(text, e, k, boolean_constants, naming, sums);
        text += words.end;
    });
}

void Bddexpression::put_doc(std::ostream& os, const std::string& ARR)
{
    if (!wood || !wood->manager) return;
    bddpp_manager* m = wood->manager;
    if (!bdd_var.manager_ref() || !bdd_var.node()) {
        os << doc.undefined;
        return;
    }
    std::string left = doc.left + put_name();
    if (!bdd_exp.manager_ref() || !bdd_exp.node())
        os << left << doc.unknown;
    else if (m->Bdd_is_tautology(bdd_exp))
        os << left << (m->Bdd_is_one_tautologic(bdd_exp) ? doc.one : doc.zero);
    else
        put_shared_nodes(os, doc_form, left, ARR, "", "", doc.node_prefix);
}

void Bddexpressionwood::Put_doc(std::ostream& os, const std::string& ARR)
{
    Put_sharing_nodes(os, [&](Bddexpression& e) { e.put_doc(os, ARR); });
}
