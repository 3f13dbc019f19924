// The simulator's input panel over integer vectors.
#include "forms/formspp_simulator.h"

#include <FL/Fl_Check_Browser.H>
#include <FL/Fl_Window.H>

#include "forms/formspp_copy.h"
#include "forms/simulator_panel.h"
#include "utils/g_time.h"

// The panel's widgets as one record for the shared poll.
static simulator_input_widgets widgets_of(const OFD_simulator_input& p)
{
    return {p.window, p.quit_button, p.go_button, p.init_button, p.signal_browser, p.sticky_browser};
}

// Copies the built widgets into the panel's fields.
static void take_widgets(OFD_simulator_input& p, const simulator_input_widgets& w)
{
    p.window = w.window;
    p.quit_button = w.quit;
    p.go_button = w.go;
    p.init_button = w.init;
    p.signal_browser = w.signal;
    p.sticky_browser = w.sticky;
    p.nb_inputs = 0;
}

OFD_simulator_input::OFD_simulator_input(int h)
{
    take_widgets(*this, simulator_build_input(nullptr, 0, h));
}

OFD_simulator_input::OFD_simulator_input(Fl_Window* parent, int x, int h)
{
    take_widgets(*this, simulator_build_input(parent, x, h));
}

OFD_simulator_input::~OFD_simulator_input()
{
    window->hide();
}

void OFD_simulator_input::add(const std::string& name)
{
    input_names.push_back(name);
    with_copy(name, [&](char* copy) {
        signal_browser->add(copy);
        sticky_browser->add(copy);
    });
    ++nb_inputs;
}

void OFD_simulator_input::check(int* init, int* quit, int* values)
{
    simulator_event e;
    do {
        e = simulator_poll(widgets_of(*this));
        *quit = e == simulator_quit;
        if (e != simulator_quit) {
            *init = e == simulator_init;
            if (e == simulator_init) signal_browser->check_none();
            if (e == simulator_go)
                for (int i = 1; i <= nb_inputs; ++i) {
                    values[i - 1] = signal_browser->checked(i) ? 1 : 0;
                    if (!sticky_browser->checked(i)) signal_browser->checked(i, 0);
                }
        }
        g_usleep(1000);
    } while (e == simulator_none);
}

void OFD_simulator_input::eval(int* quit, int* values)
{
    *quit = simulator_poll(widgets_of(*this)) == simulator_quit;
    if (!*quit)
        for (int i = 1; i <= nb_inputs; ++i) signal_browser->checked(i, values[i - 1] != 0);
    g_usleep(1000);
}
