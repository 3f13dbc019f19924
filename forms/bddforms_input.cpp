// The simulator's input panel over the variables of a BDD manager.
#include "forms/bddforms.h"

#include <FL/Fl_Check_Browser.H>
#include <FL/Fl_Window.H>

#include "forms/simulator_panel.h"

OFD_bdd_simulator_input::OFD_bdd_simulator_input(bddpp_manager* m, int h) : manager(m)
{
    simulator_take_input_widgets(*this, simulator_build_input(nullptr, 0, h));
}

OFD_bdd_simulator_input::OFD_bdd_simulator_input(Fl_Window* parent, bddpp_manager* m, int x, int h) : manager(m)
{
    simulator_take_input_widgets(*this, simulator_build_input(parent, x, h));
}

OFD_bdd_simulator_input::~OFD_bdd_simulator_input()
{
    window->hide();
}

void OFD_bdd_simulator_input::add(bdd v)
{
    long p = simulator_bdd_position(manager, v, "OFD_bdd_simulator_input::add");
    if (p < 0) return;
    positions.push_back(p);
    simulator_add_input_row(simulator_input_widgets_of(*this), manager->Name_var_by_index(p));
    ++nb_inputs;
}

bdd OFD_bdd_simulator_input::check(int* init, int* quit)
{
    bdd result;
    simulator_input_widgets w = simulator_input_widgets_of(*this);
    if (simulator_read_buttons(w, init, quit) != simulator_go) return result;
    result = manager->Bdd_one();
    int row = 1;
    for (long p : positions) {
        bdd v = manager->Bdd_var_by_index(p);
        result = manager->Bdd_and(result, simulator_take_signal(w, row) ? v : manager->Bdd_not(v));
        ++row;
    }
    return result;
}
