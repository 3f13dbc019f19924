// The microcontroller sketch's equations: C assignments over a shared node array, each output a
// test of its function calling the output's action functions.
#include "forest/Bddexpression.h"
#include "utils/list_templates.h"

namespace {

const struct {
    const char* local;  // left side of a variable that is no output
    const char* open;   // opens an action block
    const char* close;  // closes it
    const char* orelse; // between the two blocks of a level action
    const char* action; // before an action call
    const char* yes;    // action of a level output while its function is true
    const char* no;     // while it is false
    const char* call;   // after a pulse action's name
    const char* test;   // before the test of an output
} words = {"   ", "  {", "  }", "  else", "     ", "_true();", "_false();", "();", "  if("};

// the assignments of the node array and of the variables, as in C
const Bddexpression::node_code_form assignment_form = {
    Bddexpression::emit_array, " || ", " && ", "!", "0", ";", "= ", ";", "!", "[", "];", 1};
// the test of an output: the element of the top node, or the copied variable, then ")"
const Bddexpression::node_code_form condition_form = {
    Bddexpression::emit_array, " || ", " && ", "!", "0", ";", "", ")", "!", "[", "])", 1};

} // namespace

void Bddexpression::put_ino_grafcet(std::ostream& os, const std::string& ARR, const std::list<std::string>& outputs,
                                    const std::string& PRE, const std::string& SUF, int* kinds,
                                    const bdd_naming* naming)
{
    if (!put_ready()) return;
    std::string name = put_name(naming);
    if (!item_in(outputs, name)) {
        put_shared_nodes(os, assignment_form, words.local + PRE + name + SUF, ARR, PRE, SUF, "", naming);
        return;
    }
    put_shared_nodes(os, condition_form, words.test, ARR, PRE, SUF, "", naming);
    os << std::endl << words.open << std::endl;
    long p = wood->manager->Index_var_by_bdd(bdd_var);
    if (kinds && p >= 0 && kinds[p] == 1)
        os << words.action << name << words.yes << std::endl
           << words.close << std::endl
           << words.orelse << std::endl
           << words.open << std::endl
           << words.action << name << words.no << std::endl;
    else
        os << words.action << name << words.call << std::endl;
    os << words.close << std::endl;
}

void Bddexpressionwood::Put_ino_grafcet(std::ostream& os, const std::string& ARR,
                                        const std::list<std::string>& outputs, const std::string& PRE,
                                        const std::string& SUF, int* kinds, const bdd_naming* naming)
{
    Put_sharing_nodes(os, [&](Bddexpression& e) { e.put_ino_grafcet(os, ARR, outputs, PRE, SUF, kinds, naming); });
}
