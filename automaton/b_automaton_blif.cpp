// The BLIF model writers: the automaton written back over its shared BDD nodes.
#include "automaton/b_automaton.h"

namespace {

// BLIF vocabulary.
const struct {
    const char* model;    // before the model name
    const char* inputs;   // head of the input line
    const char* outputs;  // head of the output line
    const char* latch;    // before a register's next-state signal
    const char* nodes;    // stem of the node signals
    const char* end;      // closes the model
} BLIF = {".model ", ".inputs", ".outputs", ".latch ", "node", ".end"};

} // namespace

// The input's own position: when a next-state signal is an input, the inputs stand one position
// lower than the layout formula says.
int b_automaton::keep_position(const int* keep, const std::string& input) const
{
    long p = wood == nullptr ? -1 : wood->manager->Index_var_by_name(input);
    return p >= 0 && p < wood->Nb_bdd_vars() && keep[p] == 1;
}

void b_automaton::BLIF_put(std::ostream& os, int level, const std::string& name) const
{
    BLIF_restrict_put(os, level, name, nullptr);
}

// The stem of the node signals: "node", lengthened by "_" while a signal of the circuit could be
// taken for a node signal (stem, "_", digits), which would then be defined twice.
std::string b_automaton::node_stem() const
{
    std::string stem = BLIF.nodes;
    bddpp_manager* m = wood == nullptr ? nullptr : wood->manager;
    for (bool clash = m != nullptr; clash;) {
        clash = false;
        for (long p = 0; p < m->nvars && !clash; ++p) {
            std::string name = m->Name_var_by_index(p);
            std::size_t digits = stem.size() + 1;
            clash = name.size() > digits && name.compare(0, digits, stem + "_") == 0 &&
                    name.find_first_not_of("0123456789", digits) == std::string::npos;
        }
        if (clash) stem += "_";
    }
    return stem;
}

// keep null: everything is kept.
void b_automaton::BLIF_restrict_put(std::ostream& os, int, const std::string& name, int* keep) const
{
    os << BLIF.model << name << std::endl;
    if (input_count > 0) os << BLIF.inputs; // the line is ended in any case
    for (int i = 0; i < input_count; ++i)
        if (keep == nullptr || keep_position(keep, input_names[i])) os << " " << input_names[i];
    os << std::endl;
    if (output_count > 0) {
        os << BLIF.outputs;
        for (int j = 0; j < output_count; ++j) os << " " << output_names[j];
        os << std::endl;
    }
    for (int i = 0; i < state_count; ++i)
        if (keep == nullptr || keep[i] == 1)
            os << BLIF.latch << next_state_names[i] << " " << state_names[i] << " "
               << (init_values[i] == 1 ? "1" : "0") << std::endl;
    os << std::endl;
    if (has_equations()) wood->Put_blif(os, node_stem(), keep);
    os << std::endl << BLIF.end << std::endl << std::endl;
}
