// The simulator's output panel over the variables of a BDD manager, coloured from a state cube.
#include "forms/bddforms.h"

#include <iostream>
#include <vector>

#include <FL/Fl_Box.H>
#include <FL/Fl_Window.H>

#include "forms/simulator_panel.h"

void OFD_bdd_simulator_output_callback_plus(Fl_Widget*, void* panel)
{
    static_cast<OFD_bdd_simulator_output*>(panel)->next_page();
}

void OFD_bdd_simulator_output_callback_moins(Fl_Widget*, void* panel)
{
    static_cast<OFD_bdd_simulator_output*>(panel)->previous_page();
}

// Copies the built widgets into the panel's fields; no output yet, the state constant 1.
static void take_widgets(OFD_bdd_simulator_output& p, bddpp_manager* m, int x, const simulator_output_widgets& w)
{
    simulator_take_output_widgets(p, x, w);
    p.manager = m;
    p.state = m->Bdd_one();
}

OFD_bdd_simulator_output::OFD_bdd_simulator_output(bddpp_manager* m, int h, const char* title)
{
    take_widgets(*this, m, 0,
                 simulator_build_output(nullptr, 0, h, title, lamps, OFD_bdd_simulator_output_callback_plus,
                                        OFD_bdd_simulator_output_callback_moins, this));
}

OFD_bdd_simulator_output::OFD_bdd_simulator_output(Fl_Window* parent, bddpp_manager* m, int x, int h,
                                                   const char* name)
{
    take_widgets(*this, m, x,
                 simulator_build_output(parent, x, h, name, lamps, OFD_bdd_simulator_output_callback_plus,
                                        OFD_bdd_simulator_output_callback_moins, this));
}

OFD_bdd_simulator_output::~OFD_bdd_simulator_output()
{
    window->hide();
    simulator_detach_buttons(plus_button, moins_button);
    delete[] names;
}

// The literal array of state over m's variables: all 2 for constant 1.
static std::vector<int> state_literals(bddpp_manager* m, const bdd& state)
{
    std::vector<int> vals(static_cast<size_t>(m->nvars), 2);
    if (!m->Bdd_is_tautology(state, 1) && m->nvars > 0) m->Bdd_to_literals(state, vals.data());
    return vals;
}

// Colours the lamp from the literal of the output's variable, found by its name; a name that is
// no variable of the manager leaves the lamp as it is.
static void colour_from_literals(bddpp_manager* m, Fl_Box* lamp, const std::string& name,
                                 const std::vector<int>& vals)
{
    long p = m->Index_var_by_name(name);
    if (p >= 0 && p < static_cast<long>(vals.size())) simulator_colour_lamp(lamp, vals[static_cast<size_t>(p)]);
}

void OFD_bdd_simulator_output::redisplay()
{
    std::vector<int> vals = state_literals(manager, state);
    simulator_show_page(simulator_output_widgets_of(*this), lamps, current_page, nb_outputs, names,
                        [&](int r, int a) { colour_from_literals(manager, lamps[r], names[a], vals); });
}

void OFD_bdd_simulator_output::add(bdd v)
{
    long p = simulator_bdd_position(manager, v, "OFD_bdd_simulator_output::add");
    if (p < 0) return;
    simulator_append(names, nb_outputs, manager->Name_var_by_index(p));
    current_page = simulator_page_after_add(current_page, nb_outputs, rows_per_page);
    ++nb_outputs;
    redisplay();
}

void OFD_bdd_simulator_output::bdds_eval(bdd new_state)
{
    if (new_state.manager != manager) {
        std::cerr << "ERROR in OFD_bdd_simulator_output::bdds_eval(): state of another manager or not "
                     "initialized, lamps unchanged"
                  << std::endl;
        return;
    }
    state = new_state;
    std::vector<int> vals = state_literals(manager, state);
    simulator_colour_visible(simulator_output_widgets_of(*this), lamps, current_page, nb_outputs,
                             [&](int r, int a) { colour_from_literals(manager, lamps[r], names[a], vals); });
}

void OFD_bdd_simulator_output::next_page()
{
    current_page = simulator_page_after_next(current_page, nb_outputs, rows_per_page);
    redisplay();
}

void OFD_bdd_simulator_output::previous_page()
{
    current_page = simulator_page_after_previous(current_page);
    redisplay();
}

void OFD_bdd_simulator_output::check() {}

Fl_Button* OFD_bdd_simulator_output::my_plus_button()
{
    return plus_button;
}

Fl_Button* OFD_bdd_simulator_output::my_moins_button()
{
    return moins_button;
}

int OFD_bdd_simulator_output::bdd_true(bdd b)
{
    return manager->Bdd_is_tautology(manager->Bdd_and(state, manager->Bdd_not(b)), 0);
}
