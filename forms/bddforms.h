// The simulator's input and output panels over the variables of a BDD manager; values travel as
// cubes (conjunctions of literals).
#ifndef NELVOR_BDDFORMS_H
#define NELVOR_BDDFORMS_H

#include <list>
#include <string>

#include "bdd/bddpp.h"

class Fl_Box;
class Fl_Browser;
class Fl_Button;
class Fl_Check_Browser;
class Fl_Widget;
class Fl_Window;

// The input variables twice, as a "Signal" and a "Sticky" column, with GO, INIT and QUIT.
// Closing the panel's window (or hiding it) counts as QUIT.
class OFD_bdd_simulator_input {
public:
    Fl_Window* window;                // its own, or the caller's for an embedded panel
    Fl_Button* quit_button;           // QUIT
    Fl_Button* go_button;             // GO: take a step
    Fl_Button* init_button;           // INIT: reset
    Fl_Check_Browser* signal_browser; // the values of the next step
    Fl_Check_Browser* sticky_browser; // the inputs that keep their tick after GO
    bddpp_manager* manager;           // owner of the input variables
    int nb_inputs;                    // number of inputs
    std::list<long> positions;        // the inputs' order positions, in the order added

    OFD_bdd_simulator_input(bddpp_manager* m, int h); // a window of its own, 400 x h, shown
    // The same widgets in parent, shifted right by x; parent is shown by the caller.
    OFD_bdd_simulator_input(Fl_Window* parent, bddpp_manager* m, int x, int h);
    ~OFD_bdd_simulator_input(); // hides the window (the caller's one for an embedded panel)

    // Adds v's top variable. A constant or a function outside the manager's variables is refused
    // with a message.
    void add(bdd v);
    // One poll, no sleep. QUIT: *quit 1, the empty handle. INIT: *init 1, every Signal row
    // unticked, the empty handle. GO: the cube of the Signal column (rows not Sticky unticked),
    // constant 1 without inputs. Nothing read: the empty handle.
    bdd check(int* init, int* quit);
};

// The outputs by name, each with a lamp coloured from the last state cube, one page at a time.
class OFD_bdd_simulator_output {
public:
    Fl_Window* window;       // its own, or the caller's for an embedded panel
    int x_offset;            // 0 for an own window
    std::string* names;      // one per output; null when there is none
    bddpp_manager* manager;  // owner of the output variables
    int nb_outputs;          // number of outputs
    int current_page;        // 0-based
    int rows_per_page;       // lamps and browser rows of one page
    bdd state;               // the last cube shown; constant 1 at first
    Fl_Box* lamps[32768];    // one per row, rows_per_page of them
    Fl_Browser* browser;     // the names of the page shown
    Fl_Button* plus_button;  // next page
    Fl_Button* moins_button; // previous page

    OFD_bdd_simulator_output(bddpp_manager* m, int h, const char* title); // own window, shown
    // The same widgets in parent, shifted right by x, under a text object holding name.
    OFD_bdd_simulator_output(Fl_Window* parent, bddpp_manager* m, int x, int h, const char* name);
    ~OFD_bdd_simulator_output(); // hides the window; "+" and "-" no longer reach the panel

    // Adds v's top variable (refused with a message as for the input panel); shows the page
    // holding it when filling. Its lamp takes its colour from the kept state.
    void add(bdd v);
    // Keeps the state and colours every visible lamp from its variable's literal in it (2 for
    // all when the state is constant 1). A state of another manager is refused with a message.
    void bdds_eval(bdd state);
    // Pages forward or back; the lamps shown take their colours from the kept state.
    void next_page();
    void previous_page();
    void check(); // does nothing
    Fl_Button* my_plus_button();
    Fl_Button* my_moins_button();
    // 1 when b holds wherever the kept state holds (state AND NOT b is constant 0), else 0.
    int bdd_true(bdd b);

private:
    void redisplay();
};

// Installed on the output panel's buttons, the panel as user data.
void OFD_bdd_simulator_output_callback_plus(Fl_Widget* button, void* panel);
void OFD_bdd_simulator_output_callback_moins(Fl_Widget* button, void* panel);

#endif
