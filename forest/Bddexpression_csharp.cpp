// CSharp equations over a shared bool node array, indented by a count of blanks.
#include "forest/Bddexpression.h"
#include "forest/equation_text.h"

namespace {

const Bddexpression::node_code_form csharp_form = {
    Bddexpression::emit_array_prefix, " || ", " && ", "!", "false", ";", "= ", ";", "!", "[", "];", 1};
const char* const default_indent = "  "; // indentation for a count of 0

} // namespace

namespace {

// The network and the line of e appended to text.
void append_csharp(text_room& text, Bddexpression& e, const std::string& ARR, const std::string& PRE,
                   const std::string& SUF, int count, const bdd_naming* naming)
{
    if (!e.put_ready()) return;
    // the indentation and the left side in buffers whose room is kept from one equation to the next
    static std::string indent, left;
    if (count == 0)
        indent = default_indent;
    else
        indent.assign(count > 0 ? std::size_t(count) : 0, ' ');
    left = indent;
    left += PRE;
    equation_text::append_name(left, e, naming);
    left += SUF;
    e.put_shared_nodes(text, csharp_form, left, ARR, PRE, SUF, indent, naming);
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
    append_csharp(text, *this, ARR, PRE, SUF, count, naming);
    text.write_to(os);
}

void Bddexpressionwood::Put_csharp(std::ostream& os, const std::string& ARR, int count)
{
    Put_csharp(os, ARR, "", "", count);
}

void Bddexpressionwood::Put_csharp(std::ostream& os, const std::string& ARR, const std::string& PRE,
                                   const std::string& SUF, int count, const bdd_naming* naming)
{
    equation_text::put_sharing_nodes(*this, os, [&](text_room& text, Bddexpression& e) {
        append_csharp(text, e, ARR, PRE, SUF, count, naming);
    });
}
