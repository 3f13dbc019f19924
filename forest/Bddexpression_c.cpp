// C equations over a shared node array.
#include <string_view>

#include "forest/Bddexpression.h"
#include "forest/equation_text.h"

namespace {

const struct {
    std::string_view output; // left side of an output, written through its pointer
    std::string_view local;  // left side of any other variable
} words = {"  *", "   "};

const Bddexpression::node_code_form c_form = {
    Bddexpression::emit_array, " || ", " && ", "!", "0", ";", "= ", ";", "!", "[", "];", 1};

} // namespace

namespace {

// The network and the line of e appended to text.
void append_c(text_room& text, Bddexpression& e, const std::string& ARR, const std::unordered_set<std::string>& outputs,
              const std::string& PRE, const std::string& SUF, const bdd_naming* naming)
{
    if (!e.put_ready()) return;
    const std::string& name = equation_text::name_of(e, naming);
    const std::string_view start = outputs.count(name) > 0 ? words.output : words.local;
    e.put_shared_nodes(text, c_form, {start, PRE, name, SUF}, ARR, PRE, SUF, "", naming);
}

} // namespace

void Bddexpression::put_c(std::ostream& os, const std::string& ARR, const std::list<std::string>& outputs,
                          const std::string& PRE, const std::string& SUF, const bdd_naming* naming)
{
    put_c_among(os, ARR, std::unordered_set<std::string>(outputs.begin(), outputs.end()), PRE, SUF, naming);
}

void Bddexpression::put_c_among(std::ostream& os, const std::string& ARR,
                                const std::unordered_set<std::string>& outputs, const std::string& PRE,
                                const std::string& SUF, const bdd_naming* naming)
{
    static text_room text; // its room is kept from one equation to the next
    text.clear();
    append_c(text, *this, ARR, outputs, PRE, SUF, naming);
    text.write_to(os);
}

void Bddexpressionwood::Put_c(std::ostream& os, const std::string& ARR, const std::list<std::string>& outputs,
                              const std::string& PRE, const std::string& SUF, const bdd_naming* naming)
{
    const std::unordered_set<std::string> out(outputs.begin(), outputs.end());
    equation_text::put_sharing_nodes(*this, os, [&](text_room& text, Bddexpression& e) {
        append_c(text, e, ARR, out, PRE, SUF, naming);
    });
}
