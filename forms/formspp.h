// Standard-string wrappers of the GUI toolkit's dialogs, browsers, labels and text drawing.
#ifndef NELVOR_FORMSPP_H
#define NELVOR_FORMSPP_H

#include <string>

#include <FL/Enumerations.H>

class Fl_Widget;
class Fl_Browser;
class Fl_FormsText;

// ---- single toolkit calls with a standard string ----
void fl_set_Sinput(Fl_Widget* input, const std::string& text);
void fl_add_browser_Sline(Fl_Widget* browser, const std::string& line);
void fl_replace_browser_Sline(Fl_Widget* browser, int line, const std::string& text); // line is 1-based
// The label is cut after n characters when 0 <= n < length; the widget keeps its own copy.
void fl_set_object_Slabel(Fl_Widget* w, const std::string& text, int n);
// The new text object keeps the label copy for its whole life.
Fl_FormsText* fl_add_Stext(Fl_Boxtype box, int x, int y, int w, int h, const std::string& label);
void fl_drw_String(unsigned align, int x, int y, int w, int h, unsigned colour, int size, int font,
                   const std::string& text);
// Appends the line unless an equal line is there: 1 when appended, else 0.
int fl_add_browser_Sline_if_new(Fl_Browser* browser, const std::string& line);

// ---- modal dialogs ----
// Without a display the text goes to stderr followed by a newline, and the dialogs that ask
// return what closing or cancelling them returns.
bool forms_display_available(); // true when the toolkit can open a display
void fl_show_Smessages(const std::string& text);
void fl_show_Salert(const std::string& text);
int fl_show_Squestion(const std::string& question, int unused); // 1 for yes; 0 for no or closed
std::string fl_show_Sinput(const std::string& prompt, const std::string& default_text); // "" on cancel
int fl_show_int(const char* prompt, int default_value);          // the default on cancel
double fl_show_double(const char* prompt, double default_value); // the default on cancel
double fl_show_double(const std::string& prompt, double default_value);
void fl_show_ms(); // the credits box

#include "forms/formspp_draw.h"   // the drawing functions and the clipped sheet
#include "forms/formspp_viewer.h" // the paged report viewer and its filters
#include "forms/formspp_simulator.h" // the step-by-step simulator panels
#include "forms/formspp_messages.h"  // the big message window and the wait window
#endif
