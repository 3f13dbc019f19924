// The simulator's input and output panels over integer vectors (1 true, 0 false, 2 undetermined).
#ifndef NELVOR_FORMSPP_SIMULATOR_H
#define NELVOR_FORMSPP_SIMULATOR_H

#include <list>
#include <string>

class Fl_Box;
class Fl_Browser;
class Fl_Button;
class Fl_Check_Browser;
class Fl_Widget;
class Fl_Window;

// The inputs twice, as a "Signal" column (the values of the next step) and a "Sticky" column
// (inputs that keep their tick after a step), with GO, INIT and QUIT. Polls the toolkit; closing
// the panel's window (or hiding it) counts as QUIT.
class OFD_simulator_input {
public:
    Fl_Window* window;                 // its own, or the caller's for an embedded panel
    Fl_Button* quit_button;            // QUIT
    Fl_Button* go_button;              // GO: take a step
    Fl_Button* init_button;            // INIT: reset
    Fl_Check_Browser* signal_browser;  // the values of the next step
    Fl_Check_Browser* sticky_browser;  // the inputs that keep their tick after GO
    std::list<std::string> input_names; // in the order added
    int nb_inputs;                     // number of inputs

    explicit OFD_simulator_input(int h); // a window of its own, 400 x h, shown
    // The same widgets in parent, shifted right by x; parent is shown by the caller.
    OFD_simulator_input(Fl_Window* parent, int x, int h);
    ~OFD_simulator_input(); // hides the window (the caller's one for an embedded panel)

    void add(const std::string& name);
    // Polls until GO, INIT or QUIT: *quit 1 for QUIT, else *init 1 for INIT (every Signal row
    // unticked), else values[0 .. inputs-1] from the Signal column (GO; rows not Sticky unticked).
    void check(int* init, int* quit, int* values);
    // One poll: *quit 1 for QUIT, else the Signal column shows values (ticked when not 0).
    void eval(int* quit, int* values);
};

// The outputs by name, each with a lamp (blue 1, yellow 0, red otherwise), one page of rows at a
// time, with "+" and "-" to page. Rows per page: (h - 85) / 16, at least one.
class OFD_simulator_output {
public:
    Fl_Window* window;      // its own, or the caller's for an embedded panel
    int x_offset;           // 0 for an own window
    std::string* names;     // one per output; null when there is none
    int nb_outputs;         // number of outputs
    int current_page;       // 0-based
    int rows_per_page;      // lamps and browser rows of one page
    Fl_Box* lamps[32768];   // one per row, rows_per_page of them
    Fl_Browser* browser;    // the names of the page shown
    Fl_Button* plus_button; // next page
    Fl_Button* moins_button; // previous page
    int* values;            // one per output; 2 for a new output

    OFD_simulator_output(int h, const char* title); // a window of its own, 240 x h, shown
    // The same widgets in parent, shifted right by x, under a text object holding name.
    OFD_simulator_output(Fl_Window* parent, int x, int h, const char* name);
    ~OFD_simulator_output(); // hides the window; "+" and "-" no longer reach the panel

    void add(const std::string& name); // value 2; shows the page holding it when filling
    void eval(int* values);            // takes every output's value, colours the visible lamps
    void next_page();                  // unchanged on the last page; redisplays
    void previous_page();              // unchanged on page 0; redisplays
    void check();                      // does nothing
    Fl_Button* my_plus_button();
    Fl_Button* my_moins_button();

private:
    void redisplay(); // the names and lamps of the current page
};

// Installed on the output panel's buttons, the panel as user data.
void OFD_simulator_output_callback_plus(Fl_Widget* button, void* panel);
void OFD_simulator_output_callback_moins(Fl_Widget* button, void* panel);

#endif
