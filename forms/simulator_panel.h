// What the integer and BDD simulator panels share: layouts, paging and lamp rules, the poll.
#ifndef NELVOR_SIMULATOR_PANEL_H
#define NELVOR_SIMULATOR_PANEL_H

#include <functional>
#include <string>

class Fl_Box;
class Fl_Browser;
class Fl_Button;
class Fl_Check_Browser;
class Fl_Widget;
class Fl_Window;
class bdd;
class bddpp_manager;

const int simulator_max_lamps = 32768; // lamps of one output panel

// (h - 85) / 16, kept between 1 and simulator_max_lamps: a lower panel still shows one row, so
// the page arithmetic always has something to divide by.
int simulator_rows_per_page(int h);
int simulator_page_of(int output, int rows); // page holding the 0-based output
int simulator_row_of(int output, int rows);  // its row on that page
// The page after adding one output to before outputs: the next one when the new output falls
// beyond the current page, so that filling from empty shows the newest output.
int simulator_page_after_add(int page, int before, int rows);
int simulator_page_after_next(int page, int outputs, int rows); // unchanged on the last page
int simulator_page_after_previous(int page);                    // unchanged on page 0

int simulator_lamp_colour(int value); // 1: FL_BLUE (216), 0: FL_YELLOW (95), else FL_RED (88)
// Sets the lamp's colour, selection colour FL_BLACK and redraws, unless it has that colour.
void simulator_colour_lamp(Fl_Widget* lamp, int value);

// The widgets of an input panel.
struct simulator_input_widgets {
    Fl_Window* window;        // its own, or the caller's
    Fl_Button* quit;          // QUIT
    Fl_Button* go;            // GO
    Fl_Button* init;          // INIT
    Fl_Check_Browser* signal; // "Signal" column
    Fl_Check_Browser* sticky; // "Sticky" column
};
// Null parent: a window of its own, shown with the title "Inputs Pannel". Otherwise the widgets
// go into parent at x offset x, and the current group is left as it was.
simulator_input_widgets simulator_build_input(Fl_Window* parent, int x, int h);

enum simulator_event { simulator_none, simulator_go, simulator_init, simulator_quit };
// One poll (Fl::check, Fl::readqueue): the button read, if any. The window closed through the
// window manager (queued, or hidden by its default callback) is QUIT, as nothing else could end
// a loop over a window that is gone.
simulator_event simulator_poll(const simulator_input_widgets& w);

// The widgets of an output panel; lamps receives rows lamps, hidden.
struct simulator_output_widgets {
    Fl_Window* window;   // its own, or the caller's
    Fl_Browser* browser; // the names of one page
    Fl_Button* plus;     // next page
    Fl_Button* moins;    // previous page
    int rows;            // rows per page
};
// Null parent: a window of its own, 240 x h, shown with the title label. Otherwise the widgets go
// into parent at x offset x under a text object holding label. The buttons call plus and moins
// with panel as user data.
simulator_output_widgets simulator_build_output(Fl_Window* parent, int x, int h, const char* label,
                                                Fl_Box** lamps, void (*plus)(Fl_Widget*, void*),
                                                void (*moins)(Fl_Widget*, void*), void* panel);
// Hides every lamp, then shows the names of page and their lamps; colour(r, a) colours lamp r
// of output a before it is shown.
void simulator_show_page(const simulator_output_widgets& w, Fl_Box** lamps, int page, int outputs,
                         const std::string* names, const std::function<void(int, int)>& colour);
// The buttons no longer call the panel being destroyed (they queue themselves instead).
void simulator_detach_buttons(Fl_Button* plus, Fl_Button* moins);

// The order position of v's top variable for a BDD panel's add, or -1 after a message naming
// operation (a Class::add) when v is a constant or no variable of m.
long simulator_bdd_position(bddpp_manager* m, const bdd& v, const char* operation);

#endif
