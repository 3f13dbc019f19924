// Layouts, paging and lamp rules and the poll shared by the simulator panels.
#include "forms/simulator_panel.h"

#include <algorithm>

#include <FL/Fl.H>
#include <FL/Fl_Box.H>
#include <FL/Fl_Browser.H>
#include <FL/Fl_Button.H>
#include <FL/Fl_Check_Browser.H>
#include <FL/Fl_Window.H>
#include <FL/forms.H>

#include "forms/formspp.h"
#include "forms/formspp_copy.h"
#include "forms/formspp_layout.h"

// The lamps stand 16 pixels apart, one per browser row.
static const int row_height = 16;

// A browser whose rows are the lamps' pitch whatever the font's height, so that lamp r stays
// beside row r down the whole page.
class simulator_browser : public Fl_Browser {
public:
    simulator_browser(int x, int y, int w, int h) : Fl_Browser(x, y, w, h) {}

protected:
    int item_height(void*) const override { return row_height; }
};

int simulator_rows_per_page(int h)
{
    return std::min(std::max((h - 85) / row_height, 1), simulator_max_lamps);
}

int simulator_page_of(int output, int rows)
{
    return output / rows;
}

int simulator_row_of(int output, int rows)
{
    return output % rows;
}

int simulator_page_after_add(int page, int before, int rows)
{
    return page < before / rows ? page + 1 : page;
}

int simulator_page_after_next(int page, int outputs, int rows)
{
    return page < (outputs - 1) / rows ? page + 1 : page;
}

int simulator_page_after_previous(int page)
{
    return page > 0 ? page - 1 : page;
}

int simulator_lamp_colour(int value)
{
    return value == 1 ? FL_BLUE : value == 0 ? FL_YELLOW : FL_RED;
}

void simulator_colour_lamp(Fl_Widget* lamp, int value)
{
    Fl_Color c = static_cast<Fl_Color>(simulator_lamp_colour(value));
    if (lamp->color() == c) return;
    lamp->color(c);
    lamp->selection_color(FL_BLACK);
    lamp->redraw();
}

// The current group becomes parent, or a new window of w x h without title or box with its
// flat background box; returns the window.
static Fl_Window* begin_panel(Fl_Window* parent, int w, int h)
{
    if (parent != nullptr) {
        parent->begin();
        return parent;
    }
    Fl_Window* window = fl_bgn_form(FL_NO_BOX, w, h);
    fl_add_box(FL_FLAT_BOX, 0, 0, w, h, "");
    return window;
}

// Own window: ends and shows it under the mouse; embedded: the caller's current group again.
// The layouts are written with the origin at the top left, so the window ends without the Forms
// layer's flip (which would put the buttons above the columns, lamp 0 beside the last row).
static void end_panel(Fl_Window* parent, Fl_Window* window, Fl_Group* saved, const char* title)
{
    if (parent != nullptr) {
        Fl_Group::current(saved);
        return;
    }
    forms_end_form_top_left();
    fl_show_form(window, FL_PLACE_MOUSE, FL_TRANSIENT, title);
    if (title != nullptr) window->copy_label(title); // the caller's title may not outlive the call
}

// A 12-point button in font 8.
static Fl_Button* panel_button(int x, int y, int w, int h, const char* label)
{
    Fl_Button* b = fl_add_button(FL_NORMAL_BUTTON, x, y, w, h, label);
    b->labelfont(8);
    b->labelsize(12);
    return b;
}

simulator_input_widgets simulator_build_input(Fl_Window* parent, int x, int h)
{
    Fl_Group* saved = Fl_Group::current();
    simulator_input_widgets w;
    w.window = begin_panel(parent, 400, h);
    fl_add_Stext(FL_NO_BOX, x + 80, 10, 40, 20, "Signal");
    fl_add_Stext(FL_NO_BOX, x + 280, 10, 40, 20, "Sticky");
    int browser_h = std::max(h - 70, 0); // a panel too low for its columns gets empty ones
    w.signal = new Fl_Check_Browser(x + 10, 30, 180, browser_h);
    w.signal->type(FL_MULTI_BROWSER);
    w.sticky = new Fl_Check_Browser(x + 210, 30, 180, browser_h);
    w.sticky->type(FL_MULTI_BROWSER);
    w.go = panel_button(x + 180, h - 30, 60, 20, "GO");
    w.init = panel_button(x + 10, h - 30, 60, 20, "INIT");
    w.quit = panel_button(x + 330, h - 30, 60, 20, "QUIT");
    end_panel(parent, w.window, saved, "Inputs Pannel");
    return w;
}

simulator_event simulator_poll(const simulator_input_widgets& w)
{
    Fl::check();
    Fl_Widget* read = Fl::readqueue();
    if (read == w.quit || read == w.window || !w.window->shown()) return simulator_quit;
    if (read == w.init) return simulator_init;
    if (read == w.go) return simulator_go;
    return simulator_none;
}

void simulator_add_input_row(const simulator_input_widgets& w, const std::string& name)
{
    with_copy(name, [&](char* copy) {
        w.signal->add(copy);
        w.sticky->add(copy);
    });
}

simulator_event simulator_read_buttons(const simulator_input_widgets& w, int* init, int* quit)
{
    simulator_event e = simulator_poll(w);
    *quit = e == simulator_quit;
    if (e != simulator_quit) {
        *init = e == simulator_init;
        if (e == simulator_init) w.signal->check_none();
    }
    return e;
}

bool simulator_take_signal(const simulator_input_widgets& w, int row)
{
    bool ticked = w.signal->checked(row) != 0;
    if (!w.sticky->checked(row)) w.signal->checked(row, 0);
    return ticked;
}

simulator_output_widgets simulator_build_output(Fl_Window* parent, int x, int h, const char* label,
                                                Fl_Box** lamps, void (*plus)(Fl_Widget*, void*),
                                                void (*moins)(Fl_Widget*, void*), void* panel)
{
    Fl_Group* saved = Fl_Group::current();
    simulator_output_widgets w;
    w.window = begin_panel(parent, 240, h);
    if (parent != nullptr) {
        fl_add_Stext(FL_NO_BOX, x + 80, 10, 40, 20, label != nullptr ? label : "");
        w.plus = panel_button(x + 150, h - 30, 20, 20, "+");
        w.moins = panel_button(x + 70, h - 30, 20, 20, "-");
    } else {
        w.plus = panel_button(70, h - 30, 20, 20, "+");
        w.moins = panel_button(30, h - 30, 20, 20, "-");
    }
    w.plus->callback(plus, panel);
    w.moins->callback(moins, panel);
    w.rows = simulator_rows_per_page(h);
    w.browser = new simulator_browser(x + 20, 30, 198, std::max(h - 68, 0));
    for (int r = 0; r < w.rows; ++r) {
        Fl_Box* lamp = new Fl_Box(x + 7, 34 + row_height * r, 10, 12, "");
        lamp->box(FL_FLAT_BOX);
        lamp->labelfont(8);
        lamp->align(FL_ALIGN_INSIDE | FL_ALIGN_LEFT);
        lamp->hide();
        lamps[r] = lamp;
    }
    end_panel(parent, w.window, saved, label);
    return w;
}

void simulator_show_page(const simulator_output_widgets& w, Fl_Box** lamps, int page, int outputs,
                         const std::string* names, const std::function<void(int, int)>& colour)
{
    for (int r = 0; r < w.rows; ++r) lamps[r]->hide();
    w.browser->clear();
    for (int r = 0; r < w.rows; ++r) {
        int a = r + w.rows * page;
        if (a >= outputs) break;
        fl_add_browser_Sline(w.browser, names[a]);
        colour(r, a);
        lamps[r]->show();
    }
}

void simulator_colour_visible(const simulator_output_widgets& w, Fl_Box** lamps, int page, int outputs,
                              const std::function<void(int, int)>& colour)
{
    for (int r = 0; r < w.rows; ++r) {
        int a = r + w.rows * page;
        if (a < outputs && lamps[r]->visible_r()) colour(r, a);
    }
}

void simulator_detach_buttons(Fl_Button* plus, Fl_Button* moins)
{
    plus->callback(Fl_Widget::default_callback, nullptr);
    moins->callback(Fl_Widget::default_callback, nullptr);
}
