// CSharp equations over a shared bool node array, indented by a count of blanks.
#include "forest/Bddexpression.h"

namespace {

const Bddexpression::node_code_form csharp_form = {
    Bddexpression::emit_array_prefix, " || ", " && ", "!", "false", ";", "= ", ";", "!", "[", "];", 1};
const char* const default_indent = "  "; // indentation for a count of 0

std::string indentation(int count)
{
    if (count == 0) return default_indent;
    return count > 0 ? std::string(count, ' ') : std::string();
}

} // namespace

void Bddexpression::put_csharp(std::ostream& os, const std::string& ARR, int count)
{
    put_csharp(os, ARR, "", "", count);
}

void Bddexpression::put_csharp(std::ostream& os, const std::string& ARR, const std::string& PRE,
                               const std::string& SUF, int count, const bdd_naming* naming)
{
    if (!put_ready()) return;
    std::string indent = indentation(count);
    put_shared_nodes(os, csharp_form, indent + PRE + put_name(naming) + SUF, ARR, PRE, SUF, indent, naming);
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
