// LEC equation tables and "lea" dependency lines for external analysis tools.
#include "forest/Bddexpression.h"

#include "utils/list_long.h"

namespace {

const struct {
    const char* dates;        // between the early and the late date
    const char* number;       // before the exported number of the defined variable
    const char* link;         // between the top node's number and the link
    const char* abstract;     // the number and the link of an equation without right member
    const char* open_deps;    // before the numbers of the dependencies
    const char* dep_end;      // after each number of a dependency
    const char* close_deps;   // after the dependencies
    const char* comment;      // before an exported equation's comment
    const char* skipped;      // before the comment of an equation that is not exported
    const char* colon;        // after the defined variable's number, and after the position in the comments
    const char* body;         // after the node list of the forest forms
    const char* node_arr;     // the node stem of the put_doc comments
    long not_exported;        // the number of an equation left out
} lec = {" ", " ", ",", "-3,-3", ",(", " ", ")", "// expression ", "// no generate expression about:", ":",
         "expressions:", "node", -1};

const struct {
    const char* after_number; // after the exported number
    const char* cut;          // between the dependency set and its critical path
    const char* between;      // between the two halves
    const char* open;         // before the bracketed name
    const char* file;         // between the name and the number
    const char* close;        // after the bracketed name
    const char* end;          // end of the line
} lea = {" : ", ":", ", ", "[\"", ".lec:", "\"]", ";"};

// The order position of e's defined variable.
long position_of(Bddexpression& e)
{
    return e.wood->manager->Bdd_if_index(e.bdd_var);
}

// The comment text of one equation in the forest forms.
enum comment_text { sop_text, node_text };

// Writes every equation of w in ascending position, each through line when values gives it a
// number and, with flag, after a comment (with text) that names its position.
template <class Line>
void put_numbered(Bddexpressionwood& w, std::ostream& os, long* values, int flag, comment_text text, int k, Line line)
{
    for (long i : w.expression_ids) {
        Bddexpression* e = i >= 0 && i < w.nb_bdd_vars ? w.exp_table[i] : nullptr;
        if (e == nullptr) continue;
        bool exported = values[i] != lec.not_exported;
        if (flag) {
            os << (exported ? lec.comment : lec.skipped) << i << lec.colon;
            if (text == sop_text)
                e->put_lustre_compatibilite(os, k);
            else
                e->put_doc(os, lec.node_arr);
            os << std::endl;
        }
        if (exported) {
            line(*e);
            os << std::endl;
        } else if (flag) {
            os << std::endl;
        }
    }
}

// The node list of the exported right members in position order, then the body's head.
void put_node_list(Bddexpressionwood& w, std::ostream& os, long* values)
{
    std::list<bdd> functions;
    for (long i : w.expression_ids) {
        Bddexpression* e = i >= 0 && i < w.nb_bdd_vars ? w.exp_table[i] : nullptr;
        // an abstract equation has no function to list
        if (e != nullptr && values[i] != lec.not_exported && e->bdd_exp.manager_ref() != nullptr)
            functions.push_back(e->bdd_exp);
    }
    w.manager->Print_bdds_list_by_nodes_list(os, functions, values);
    os << lec.body << std::endl;
}

} // namespace

void Bddexpression::put_lec_0_3_0(std::ostream& os, long* values, int k)
{
    if (!put_ready()) return;
    os << early_date << lec.dates << getLateDate() << std::endl;
    wood->manager->LEC_print(os, values, bdd_var, bdd_exp, k);
}

void Bddexpression::put_lec_2_0_4(std::ostream& os, long* values)
{
    if (!wood || !wood->manager || !bdd_var.manager_ref() || !bdd_var.node()) return;
    os << early_date << lec.dates << getLateDate() << lec.number << values[position_of(*this)] << lec.colon;
    if (bdd_exp.manager_ref() && bdd_exp.node())
        os << bdd_exp.node()->trav_number << lec.link << bdd_exp.link_type();
    else
        os << lec.abstract;
}

void Bddexpression::put_lec(std::ostream& os, long* values)
{
    if (!wood || !wood->manager || !bdd_var.manager_ref() || !bdd_var.node()) return;
    put_lec_2_0_4(os, values);
    os << lec.open_deps;
    for (long d : dependances) os << values[d] << lec.dep_end;
    os << lec.close_deps;
}

void Bddexpressionwood::Put_lec_0_3_0(std::ostream& os, long* values, int k, int flag)
{
    put_numbered(*this, os, values, flag, sop_text, k, [&](Bddexpression& e) { e.put_lec_0_3_0(os, values, k); });
}

void Bddexpressionwood::Put_lec_2_0_4(std::ostream& os, long* values, int flag)
{
    put_node_list(*this, os, values);
    put_numbered(*this, os, values, flag, sop_text, 1, [&](Bddexpression& e) { e.put_lec_2_0_4(os, values); });
}

void Bddexpressionwood::Put_lec(std::ostream& os, long* values, int flag)
{
    put_node_list(*this, os, values);
    put_numbered(*this, os, values, flag, node_text, 1, [&](Bddexpression& e) { e.put_lec(os, values); });
}

// One line per exported variable; bracketed gives the text of the bracketed part of position i,
// which is left out when it is empty.
template <class Bracketed>
static void put_lea_lines(Bddexpressionwood& w, std::ostream& os, long* values, std::set<long>& selection,
                          Bracketed bracketed)
{
    for (long i = 0; i < w.Nb_bdd_vars(); ++i) {
        std::set<long> none;
        std::set<long> up = set_reencoding(set_inter(w.up_dependances(i, 1, none), selection), values);
        std::set<long> down = set_reencoding(set_inter(w.down_dependances(i, 1, none), selection), values);
        if (values[i] < 0) continue;
        os << values[i] << lea.after_number << up << lea.cut << w.up_critical_path(i, 1, 1) << lea.between << down
           << lea.cut << w.down_critical_path(i, 1, 0);
        std::string name = bracketed(i);
        if (!name.empty()) os << lea.open << name << lea.close;
        os << lea.end << std::endl;
    }
}

void Bddexpressionwood::Put_lea(std::ostream& os, long* values, std::set<long>& selection, int,
                                const std::string& name)
{
    put_lea_lines(*this, os, values, selection,
                  [&](long i) { return name + lea.file + std::to_string(values[i]); });
}

void Bddexpressionwood::Put_lea(std::ostream& os, long* values, std::set<long>& selection, int)
{
    put_lea_lines(*this, os, values, selection, [&](long i) {
        Bddexpression* e = exp_table[i];
        return e != nullptr ? e->exp_def : std::string();
    });
}
