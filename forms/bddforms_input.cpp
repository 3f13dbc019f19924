// The simulator's input panel over the variables of a BDD manager.
#include "forms/bddforms.h"

#include <FL/Fl_Check_Browser.H>
#include <FL/Fl_Window.H>

#include "forms/formspp_copy.h"
#include "forms/simulator_panel.h"

static simulator_input_widgets widgets_of(const OFD_bdd_simulator_input& p)
{
    return {p.window, p.quit_button, p.go_button, p.init_button, p.signal_browser, p.sticky_browser};
}

static void take_widgets(OFD_bdd_simulator_input& p, bddpp_manager* m, const simulator_input_widgets& w)
{
    p.window = w.window;
    p.quit_button = w.quit;
    p.go_button = w.go;
    p.init_button = w.init;
    p.signal_browser = w.signal;
    p.sticky_browser = w.sticky;
    p.manager = m;
    p.nb_inputs = 0;
}

OFD_bdd_simulator_input::OFD_bdd_simulator_input(bddpp_manager* m, int h)
{
    take_widgets(*this, m, simulator_build_input(nullptr, 0, h));
}

OFD_bdd_simulator_input::OFD_bdd_simulator_input(Fl_Window* parent, bddpp_manager* m, int x, int h)
{
    take_widgets(*this, m, simulator_build_input(parent, x, h));
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
    with_copy(manager->Name_var_by_index(p), [&](char* copy) {
        signal_browser->add(copy);
        sticky_browser->add(copy);
    });
    ++nb_inputs;
}

bdd OFD_bdd_simulator_input::check(int* init, int* quit)
{
    bdd result;
    simulator_event e = simulator_poll(widgets_of(*this));
    *quit = e == simulator_quit;
    if (e == simulator_quit) return result;
    *init = e == simulator_init;
    if (e == simulator_init) {
        signal_browser->check_none();
    } else if (e == simulator_go) {
        result = manager->Bdd_one();
        int row = 1;
        for (long p : positions) {
            bdd v = manager->Bdd_var_by_index(p);
            if (signal_browser->checked(row)) {
                result = manager->Bdd_and(result, v);
                if (!sticky_browser->checked(row)) signal_browser->checked(row, 0);
            } else {
                result = manager->Bdd_and(result, manager->Bdd_not(v));
            }
            ++row;
        }
    }
    return result;
}
