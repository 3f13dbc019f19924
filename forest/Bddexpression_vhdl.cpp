// VHDL equations: the clocked process of the architecture and concurrent assignments over the node array.
#include "forest/Bddexpression.h"
#include "forest/equation_text.h"

#include <charconv>
#include <cstring>
#include <string_view>

namespace {

const struct {
    const char* process;     // first line of the process
    const char* begin;       // second line
    const char* reset;       // opens the reset branch
    const char* rising;      // opens the rising-edge branch
    const char* falling;     // opens the falling-edge branch
    const char* end_if;      // closes the branches
    const char* end_process; // closes the process
    const char* equations;   // heads the concurrent assignments
    const char* statement;   // before each reset or update statement and output reset
    const char* output_zero; // after an output's name in the reset branch
    const char* assign;      // before an output's value on the falling edge
    const char* indent;      // before each assignment line
    const char* in_process;  // comment of an output, before its name
    const char* in_process_end; // after its name
    const char* end;         // after a statement
    const char* open;        // between the array and an element's number
    const char* close;       // after the number
} words = {"process (reset,clk)", "begin", "  if (reset = '0') then ", "  elsif ( clk'event and clk='1') then ",
           "  elsif ( clk'event and clk='0') then ", "   end if;", "end process;", "-- actualisation", "    ",
           " <= '0';", " <= ", "      ", "      -- final output evaluation of ", " in process", ";", "(", ")"};

const Bddexpression::node_code_form by_name_form = {
    Bddexpression::emit_vhdl, "", "", "", "", "", " <= ", ";", "not ", "(", ");", 1};
const Bddexpression::node_code_form by_element_form = {
    Bddexpression::emit_vhdl, "", "", "", "", "", " <= ", ";", "not ", "(", ");", 0};

void put_statements(std::ostream& os, const std::list<std::string>& statements)
{
    for (std::list<std::string>::const_iterator s = statements.begin(); s != statements.end(); ++s)
        os << words.statement << *s << words.end << std::endl;
}

void put_input_resets(std::ostream& os, bddpp_manager* m, const std::string& ARR, const std::list<std::string>& inputs,
                      const bdd_naming* naming)
{
    m->Print_nodes_for_eval_VHDL_reset_inputs(ARR, os, inputs, naming);
}

void put_input_loads(std::ostream& os, bddpp_manager* m, const std::string& ARR, const std::list<std::string>& inputs,
                     const bdd_naming* naming)
{
    m->Print_nodes_for_eval_VHDL_inputs("", "", ARR, os, inputs, naming);
}

// The outputs by ascending position, each from the element of its right member's top node.
void put_output_assignments(std::ostream& os, Bddexpressionwood& w, const std::string& ARR,
                            const std::unordered_set<std::string>& outputs, const bdd_naming* naming)
{
    for (long i = 0; i < w.Nb_bdd_vars(); ++i) {
        Bddexpression* e = w.exp_table[i];
        if (!e || !e->bdd_exp.node()) continue; // an abstract output has no element to read
        std::string name = naming ? naming->name(w.manager->pos_to_id[i]) : w.manager->Name_var_by_index(i);
        if (outputs.count(name) > 0)
            os << words.indent << name << words.assign << e->bdd_exp.vhdl_node_name(ARR) << words.end << std::endl;
    }
}

// The process head and its reset branch, the output resets aside.
void put_process_head(std::ostream& os, bddpp_manager* m, const std::string& ARR, const std::list<std::string>& inputs,
                      const std::list<std::string>& outputs, const std::list<std::string>& resets,
                      const bdd_naming* naming)
{
    os << words.process << std::endl << words.begin << std::endl << words.reset << std::endl;
    for (std::list<std::string>::const_iterator o = outputs.begin(); o != outputs.end(); ++o)
        os << words.statement << *o << words.output_zero << std::endl;
    put_statements(os, resets);
    put_input_resets(os, m, ARR, inputs, naming);
}

void put_process_end(std::ostream& os)
{
    os << words.end_if << std::endl << words.end_process << std::endl << std::endl << words.equations << std::endl;
}

} // namespace

void Bddexpression::put_vhdl(std::ostream& os, const std::string& ARR, const std::list<std::string>& outputs,
                             int drive_elements, const bdd_naming* naming)
{
    put_vhdl_among(os, ARR, std::unordered_set<std::string>(outputs.begin(), outputs.end()), drive_elements, naming);
}

namespace {

// The network and the lines of e appended to text.
void append_vhdl(text_room& text, Bddexpression& e, const std::string& ARR,
                 const std::unordered_set<std::string>& outputs, int drive_elements, const bdd_naming* naming)
{
    if (!e.put_ready()) return;
    const std::string& name = equation_text::name_of(e, naming);
    if (outputs.count(name) > 0) {
        e.wood->manager->Append_node_for_eval_VHDL(text, ARR, e.bdd_exp.node());
        text += words.in_process;
        text += name;
        text += words.in_process_end;
    } else {
        e.put_shared_nodes(text, drive_elements ? by_element_form : by_name_form, {words.indent, name}, ARR, "", "",
                           "", naming);
    }
    if (drive_elements) {
        // "ARR(m) <= [not ]ARR(n);" on a line of its own, in one piece
        char* p = text.room(2 * ARR.size() + 96);
        auto put = [&p](std::string_view piece) { p = text_pieces::put(p, piece); };
        put("\n");
        put(words.indent);
        put(ARR);
        put(words.open);
        p = std::to_chars(p, p + 24, e.bdd_var.node()->number).ptr;
        put(words.close);
        put(words.assign);
        if (e.bdd_exp.link_type() == -1) put("not ");
        put(ARR);
        put("(");
        p = std::to_chars(p, p + 24, e.bdd_exp.node()->number).ptr;
        put(")");
        put(words.end);
        text.keep(p);
    }
}

} // namespace

void Bddexpression::put_vhdl_among(std::ostream& os, const std::string& ARR,
                                   const std::unordered_set<std::string>& outputs, int drive_elements,
                                   const bdd_naming* naming)
{
    static text_room text; // its room is kept from one equation to the next
    text.clear();
    append_vhdl(text, *this, ARR, outputs, drive_elements, naming);
    text.write_to(os);
}

void Bddexpression::put_vhdl_vorix(std::ostream& os, const std::string& ARR, const std::list<std::string>& outputs)
{
    put_vhdl_vorix_among(os, ARR, std::unordered_set<std::string>(outputs.begin(), outputs.end()));
}

void Bddexpression::put_vhdl_vorix_among(std::ostream& os, const std::string& ARR,
                                         const std::unordered_set<std::string>& outputs)
{
    if (!put_ready()) return;
    std::string name = put_name();
    if (outputs.count(name) > 0) {
        wood->manager->Print_node_for_eval_VHDL(ARR, os, bdd_exp.node());
        os << words.in_process << name << words.in_process_end;
        return;
    }
    std::string element = words.indent + ARR + words.open + std::to_string(bdd_var.node()->number) + words.close;
    put_shared_nodes(os, by_element_form, element, ARR, "", "", "");
}

void Bddexpressionwood::Put_vhdl(std::ostream& os, const std::string& ARR, const std::list<std::string>& inputs,
                                 const std::list<std::string>& outputs, const std::list<std::string>& resets,
                                 const std::list<std::string>& updates, int drive_elements,
                                 const bdd_naming* naming)
{
    if (!manager) return;
    manager->Bdd_global_clear_marks();
    put_process_head(os, manager, ARR, inputs, outputs, resets, naming);
    os << words.rising << std::endl;
    put_input_loads(os, manager, ARR, inputs, naming);
    os << words.falling << std::endl;
    const std::unordered_set<std::string> out(outputs.begin(), outputs.end());
    put_output_assignments(os, *this, ARR, out, naming);
    put_statements(os, updates);
    put_process_end(os);
    equation_text::put_in_date_order(*this, os, [&](text_room& text, Bddexpression& e) {
        append_vhdl(text, e, ARR, out, drive_elements, naming);
    });
}

void Bddexpressionwood::Put_vhdl_vorix(std::ostream& os, const std::string& ARR, const std::list<std::string>& inputs,
                                       const std::list<std::string>& outputs, const std::list<std::string>& resets,
                                       const std::list<std::string>& updates)
{
    if (!manager) return;
    manager->Bdd_global_clear_marks();
    put_process_head(os, manager, ARR, inputs, std::list<std::string>(), resets, nullptr);
    os << words.rising << std::endl;
    put_statements(os, updates);
    put_input_loads(os, manager, ARR, inputs, nullptr);
    put_process_end(os);
    const std::unordered_set<std::string> out(outputs.begin(), outputs.end());
    put_output_assignments(os, *this, ARR, out, nullptr);
    Put_in_date_order(os, [&](Bddexpression& e) { e.put_vhdl_vorix_among(os, ARR, out); });
}
