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

// An input panel's widgets (either kind of panel) as one record.
template <class Panel> simulator_input_widgets simulator_input_widgets_of(const Panel& p)
{
    return {p.window, p.quit_button, p.go_button, p.init_button, p.signal_browser, p.sticky_browser};
}
// Copies the built widgets into the panel's fields; no input yet.
template <class Panel> void simulator_take_input_widgets(Panel& p, const simulator_input_widgets& w)
{
    p.window = w.window;
    p.quit_button = w.quit;
    p.go_button = w.go;
    p.init_button = w.init;
    p.signal_browser = w.signal;
    p.sticky_browser = w.sticky;
    p.nb_inputs = 0;
}
// Adds the input's row to both columns.
void simulator_add_input_row(const simulator_input_widgets& w, const std::string& name);

enum simulator_event { simulator_none, simulator_go, simulator_init, simulator_quit };
// One poll (Fl::check, Fl::readqueue): the button read, if any. The window closed through the
// window manager (queued, or hidden by its default callback) is QUIT, as nothing else could end
// a loop over a window that is gone.
simulator_event simulator_poll(const simulator_input_widgets& w);
// One poll for a panel's check: *quit 1 for QUIT, else *init 1 for INIT (every Signal row
// unticked) and 0 otherwise; *init is left alone on QUIT. Returns the button read.
simulator_event simulator_read_buttons(const simulator_input_widgets& w, int* init, int* quit);
// The Signal tick of the 1-based row for a GO; the tick is taken off unless the row is Sticky.
bool simulator_take_signal(const simulator_input_widgets& w, int row);

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
// An output panel's widgets (either kind of panel) as one record.
template <class Panel> simulator_output_widgets simulator_output_widgets_of(const Panel& p)
{
    return {p.window, p.browser, p.plus_button, p.moins_button, p.rows_per_page};
}
// Copies the built widgets into the panel's fields, x its offset; no output yet, page 0.
template <class Panel> void simulator_take_output_widgets(Panel& p, int x, const simulator_output_widgets& w)
{
    p.window = w.window;
    p.x_offset = x;
    p.names = nullptr;
    p.nb_outputs = 0;
    p.current_page = 0;
    p.rows_per_page = w.rows;
    p.browser = w.browser;
    p.plus_button = w.plus;
    p.moins_button = w.moins;
}
// Replaces the array of n elements by a new one of n + 1: the n, then v.
template <class T> void simulator_append(T*& array, int n, const T& v)
{
    T* more = new T[n + 1];
    for (int a = 0; a < n; ++a) more[a] = array[a];
    more[n] = v;
    delete[] array;
    array = more;
}
// Hides every lamp, then shows the names of page and their lamps; colour(r, a) colours lamp r
// of output a before it is shown.
void simulator_show_page(const simulator_output_widgets& w, Fl_Box** lamps, int page, int outputs,
                         const std::string* names, const std::function<void(int, int)>& colour);
// colour(r, a) for every visible lamp r of page that stands for an output a.
void simulator_colour_visible(const simulator_output_widgets& w, Fl_Box** lamps, int page, int outputs,
                              const std::function<void(int, int)>& colour);
// The buttons no longer call the panel being destroyed (they queue themselves instead).
void simulator_detach_buttons(Fl_Button* plus, Fl_Button* moins);

// The order position of v's top variable for a BDD panel's add, or -1 after a message naming
// operation (a Class::add) when v is a constant or no variable of m.
long simulator_bdd_position(bddpp_manager* m, const bdd& v, const char* operation);

#endif
