// CSharp equations over a shared bool node array, indented by a count of blanks.
#include "forest/Bddexpression.h"
#include "forest/equation_text.h"

namespace {

const Bddexpression::node_code_form csharp_form = {
    Bddexpression::emit_array_prefix, " || ", " && ", "!", "false", ";", "= ", ";", "!", "[", "];", 1};
const char* const default_indent = "  "; // indentation for a count of 0

} // namespace

void Bddexpression::put_csharp(std::ostream& os, const std::string& ARR, int count)
{
    put_csharp(os, ARR, "", "", count);
}

void Bddexpression::put_csharp(std::ostream& os, const std::string& ARR, const std::string& PRE,
                               const std::string& SUF, int count, const bdd_naming* naming)
{
    if (!put_ready()) return;
    // the indentation and the left side in buffers whose room is kept from one equation to the next
    static std::string indent, left;
    if (count == 0)
        indent = default_indent;
    else
        indent.assign(count > 0 ? std::size_t(count) : 0, ' ');
    left = indent;
    left += PRE;
    equation_text::append_name(left, *this, naming);
    left += SUF;
    put_shared_nodes(os, csharp_form, left, ARR, PRE, SUF, indent, naming);
}

void Bddexpressionwood::Put_csharp(std::ostream& os, const std::string& ARR, int count)
{
    Put_csharp(os, ARR, "", "", count);
}

void Bddexpressionwood::Put_csharp(std::ostream& os, const std::string& ARR, const std::string& PRE,
                                   const std::string& SUF, int count, const bdd_naming* naming)
{
    Put_sharing_nodes(os, [&](Bddexpression& e) { e.put_csharp(os, ARR, PRE, SUF, count, naming); });
}
