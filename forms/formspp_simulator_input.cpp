// The simulator's input panel over integer vectors.
#include "forms/formspp_simulator.h"

#include <FL/Fl_Check_Browser.H>
#include <FL/Fl_Window.H>

#include "forms/simulator_panel.h"
#include "utils/g_time.h"

OFD_simulator_input::OFD_simulator_input(int h)
{
    simulator_take_input_widgets(*this, simulator_build_input(nullptr, 0, h));
}

OFD_simulator_input::OFD_simulator_input(Fl_Window* parent, int x, int h)
{
    simulator_take_input_widgets(*this, simulator_build_input(parent, x, h));
}

OFD_simulator_input::~OFD_simulator_input()
{
    window->hide();
}

void OFD_simulator_input::add(const std::string& name)
{
    input_names.push_back(name);
    simulator_add_input_row(simulator_input_widgets_of(*this), name);
    ++nb_inputs;
}

void OFD_simulator_input::check(int* init, int* quit, int* values)
{
    simulator_input_widgets w = simulator_input_widgets_of(*this);
    simulator_event e;
    do {
        e = simulator_read_buttons(w, init, quit);
        if (e == simulator_go)
            for (int i = 1; i <= nb_inputs; ++i) values[i - 1] = simulator_take_signal(w, i) ? 1 : 0;
        g_usleep(1000);
    } while (e == simulator_none);
}

void OFD_simulator_input::eval(int* quit, int* values)
{
    *quit = simulator_poll(simulator_input_widgets_of(*this)) == simulator_quit;
    if (!*quit)
        for (int i = 1; i <= nb_inputs; ++i) signal_browser->checked(i, values[i - 1] != 0);
    g_usleep(1000);
}
