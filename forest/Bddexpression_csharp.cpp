// CSharp equations over a shared bool node array, indented by a count of blanks.
#include "forest/Bddexpression.h"
#include "forest/equation_text.h"

namespace {

const Bddexpression::node_code_form csharp_form = {
    Bddexpression::emit_array_prefix, " || ", " && ", "!", "false", ";", "= ", ";", "!", "[", "];", 1};
const char* const default_indent = "  "; // indentation for a count of 0

} // namespace

namespace {

// The indentation of a count of blanks.
std::string indentation(int count)
{
    return count == 0 ? std::string(default_indent) : std::string(count > 0 ? std::size_t(count) : 0, ' ');
}

// The network and the line of e appended to text.
void append_csharp(text_room& text, Bddexpression& e, const std::string& ARR, const std::string& PRE,
                   const std::string& SUF, const std::string& indent, const bdd_naming* naming)
{
    if (!e.put_ready()) return;
    const std::string& name = equation_text::name_of(e, naming);
    e.put_shared_nodes(text, csharp_form, {indent, PRE, name, SUF}, ARR, PRE, SUF, indent, naming);
}

} // namespace

void Bddexpression::put_csharp(std::ostream& os, const std::string& ARR, int count)
{
    put_csharp(os, ARR, "", "", count);
}

void Bddexpression::put_csharp(std::ostream& os, const std::string& ARR, const std::string& PRE,
                               const std::string& SUF, int count, const bdd_naming* naming)
{
    static text_room text; // its room is kept from one equation to the next
    text.clear();
    append_csharp(text, *this, ARR, PRE, SUF, indentation(count), naming);
    text.write_to(os);
}

void Bddexpressionwood::Put_csharp(std::ostream& os, const std::string& ARR, int count)
{
    Put_csharp(os, ARR, "", "", count);
}

void Bddexpressionwood::Put_csharp(std::ostream& os, const std::string& ARR, const std::string& PRE,
                                   const std::string& SUF, int count, const bdd_naming* naming)
{
    const std::string indent = indentation(count);
    equation_text::put_sharing_nodes(*this, os, [&](text_room& text, Bddexpression& e) {
        append_csharp(text, e, ARR, PRE, SUF, indent, naming);
    });
}
