// The French plain-text description writer.
#include "automaton/b_automaton_writers.h"

namespace {

// Texts of the description.
const struct {
    const char* module;      // before the module name
    const char* inputs;      // before the input names
    const char* no_input;    // without inputs
    const char* outputs;     // before the output names
    const char* no_output;   // without outputs
    const char* registers;   // head of the register list
    const char* item;        // before a register name
    const char* init;        // between the register name and its initial value
    const char* next;        // between the initial value and the next-state signal
    const char* equations;   // head of the equations
    const char* end;         // last line
} DOC = {"module: ", "Entree(s) booleenne(s): ", "Aucune Entree ...", "Sortie(s) booleenne(s): ", "Aucune Sortie ...",
         "Registre(s):", " - ", "valeur initiale: ", ", prochaine valeur: ", "Equation(s):",
         "fin de la documentation ..."};

} // namespace

void b_automaton::DOC_put(std::ostream& os, int level, const std::string& name)
{
    os << DOC.module << name << std::endl << std::endl;
    if (input_count > 0)
        os << DOC.inputs << join_names(name_pointers(input_names, input_count));
    else
        os << DOC.no_input;
    os << std::endl << std::endl;
    if (output_count > 0)
        os << DOC.outputs << join_names(name_pointers(output_names, output_count));
    else
        os << DOC.no_output;
    os << std::endl << std::endl;
    os << DOC.registers << std::endl;
    for (int i = 0; i < state_count; ++i)
        os << DOC.item << state_names[i] << DOC.init << init_text(i) << DOC.next << next_state_names[i] << std::endl;
    os << std::endl;
    if (has_equations()) {
        os << DOC.equations << std::endl;
        wood->Put_basic_doc(os, level);
        os << std::endl;
    }
    os << DOC.end << std::endl << std::endl;
}

// Without a forest there is no manager to print with: an empty text.
std::string b_automaton::bddtoString(bdd f, int kind)
{
    if (wood == nullptr) return "";
    return wood->manager->Print_sop_to_String(" or ", " and ", " not ", "", f, kind);
}

void b_automaton::putbdd(bdd f, std::ostream& os, int kind)
{
    if (wood == nullptr) return;
    wood->manager->Print_sop(" or ", " and ", "not ", "", os, f, kind);
    os.flush();
}

namespace {

// One line of the dump: head, the names joined by ", ", ";", then an empty line.
void put_dump_list(std::ostream& os, const char* head, const std::vector<const std::string*>& names)
{
    if (names.empty()) return;
    os << head << b_automaton::join_names(names) << ";" << std::endl << std::endl;
}

int is_set(const bdd& f)
{
    return f.manager_ref() != nullptr && f.node() != nullptr;
}

} // namespace

// The "initial" section names each register after its next-state signal, the variable that the
// register's equation defines.
std::ostream& operator<<(std::ostream& os, b_automaton& a)
{
    std::vector<std::string> states;
    for (int i = 0; i < a.state_count; ++i)
        states.push_back(a.state_names[i] + ":" + a.next_state_names[i] + ":" + std::to_string(a.init_values[i]));
    put_dump_list(os, "state ", name_pointers(states.data(), a.state_count));
    put_dump_list(os, "inputs ", name_pointers(a.input_names, a.input_count));
    put_dump_list(os, "outputs ", name_pointers(a.output_names, a.output_count));
    put_dump_list(os, "locals ", name_pointers(a.local_names, a.local_count));
    os << "initial " << std::endl;
    for (int i = 0; i < a.state_count; ++i) os << a.next_state_names[i] << "' = " << a.init_values[i] << std::endl;
    os << std::endl;
    if (a.has_equations()) {
        os << "definitions" << std::endl;
        for (int k = 0; k < a.wood->exp_number(); ++k) {
            Bddexpression* e = a.wood->exp(k);
            os << e->my_bddname() << " = ";
            if (is_set(e->bdd_exp))
                a.putbdd(e->bdd_exp, os, 2);
            else
                os << "???";
            os << ";" << std::endl;
        }
        os << std::endl;
    }
    if (is_set(a.assertion)) os << "assertion " << a.bddtoString(a.assertion, 2) << ";" << std::endl << std::endl;
    if (is_set(a.invariant)) os << "invariant " << a.bddtoString(a.invariant, 2) << ";" << std::endl << std::endl;
    return os;
}
