// The simulator's output panel over integer vectors.
#include "forms/formspp_simulator.h"

#include <FL/Fl_Box.H>
#include <FL/Fl_Window.H>

#include "forms/simulator_panel.h"

void OFD_simulator_output_callback_plus(Fl_Widget*, void* panel)
{
    static_cast<OFD_simulator_output*>(panel)->next_page();
}

void OFD_simulator_output_callback_moins(Fl_Widget*, void* panel)
{
    static_cast<OFD_simulator_output*>(panel)->previous_page();
}

// Copies the built widgets into the panel's fields; no output yet.
static void take_widgets(OFD_simulator_output& p, int x, const simulator_output_widgets& w)
{
    simulator_take_output_widgets(p, x, w);
    p.values = nullptr;
}

OFD_simulator_output::OFD_simulator_output(int h, const char* title)
{
    take_widgets(*this, 0,
                 simulator_build_output(nullptr, 0, h, title, lamps, OFD_simulator_output_callback_plus,
                                        OFD_simulator_output_callback_moins, this));
}

OFD_simulator_output::OFD_simulator_output(Fl_Window* parent, int x, int h, const char* name)
{
    take_widgets(*this, x,
                 simulator_build_output(parent, x, h, name, lamps, OFD_simulator_output_callback_plus,
                                        OFD_simulator_output_callback_moins, this));
}

OFD_simulator_output::~OFD_simulator_output()
{
    window->hide();
    simulator_detach_buttons(plus_button, moins_button);
    delete[] names;
    delete[] values;
}

void OFD_simulator_output::redisplay()
{
    simulator_show_page(simulator_output_widgets_of(*this), lamps, current_page, nb_outputs, names,
                        [this](int r, int a) { simulator_colour_lamp(lamps[r], values[a]); });
}

void OFD_simulator_output::add(const std::string& name)
{
    simulator_append(names, nb_outputs, name);
    simulator_append(values, nb_outputs, 2);
    current_page = simulator_page_after_add(current_page, nb_outputs, rows_per_page);
    ++nb_outputs;
    redisplay();
}

void OFD_simulator_output::eval(int* new_values)
{
    for (int a = 0; a < nb_outputs; ++a) values[a] = new_values[a];
    simulator_colour_visible(simulator_output_widgets_of(*this), lamps, current_page, nb_outputs,
                             [this](int r, int a) { simulator_colour_lamp(lamps[r], values[a]); });
}

void OFD_simulator_output::next_page()
{
    current_page = simulator_page_after_next(current_page, nb_outputs, rows_per_page);
    redisplay();
}

void OFD_simulator_output::previous_page()
{
    current_page = simulator_page_after_previous(current_page);
    redisplay();
}

void OFD_simulator_output::check() {}

Fl_Button* OFD_simulator_output::my_plus_button()
{
    return plus_button;
}

Fl_Button* OFD_simulator_output::my_moins_button()
{
    return moins_button;
}
