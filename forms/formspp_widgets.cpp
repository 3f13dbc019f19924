// Input fields, browser lines, labels and text drawing with standard strings.
#include "forms/formspp.h"

#include <FL/Fl_Browser.H>
#include <FL/Fl_Input_.H>
#include <FL/Fl_Widget.H>
#include <FL/fl_draw.H>

#include "forms/formspp_copy.h"

void fl_set_Sinput(Fl_Widget* input, const std::string& text)
{
    with_copy(text, [&](char* copy) { static_cast<Fl_Input_*>(input)->value(copy); });
}

void fl_add_browser_Sline(Fl_Widget* browser, const std::string& line)
{
    with_copy(line, [&](char* copy) { static_cast<Fl_Browser*>(browser)->add(copy, nullptr); });
}

void fl_replace_browser_Sline(Fl_Widget* browser, int line, const std::string& text)
{
    with_copy(text, [&](char* copy) { static_cast<Fl_Browser*>(browser)->text(line, copy); });
}

void fl_set_object_Slabel(Fl_Widget* w, const std::string& text, int n)
{
    with_copy(text, [&](char* copy) {
        if (n >= 0 && static_cast<std::string::size_type>(n) < text.length()) copy[n] = '\0';
        w->copy_label(copy);
    });
}

void fl_drw_String(unsigned align, int x, int y, int w, int h, unsigned colour, int size, int font,
                   const std::string& text)
{
    fl_font(static_cast<Fl_Font>(font), static_cast<Fl_Fontsize>(size));
    fl_color(static_cast<Fl_Color>(colour));
    with_copy(text, [&](char* copy) { fl_draw(copy, x, y, w, h, static_cast<Fl_Align>(align), nullptr, 1); });
}

int fl_add_browser_Sline_if_new(Fl_Browser* browser, const std::string& line)
{
    for (int i = 1; i <= browser->size(); ++i) {
        const char* t = browser->text(i);
        if (t != nullptr && line == t) return 0;
    }
    fl_add_browser_Sline(browser, line);
    return 1;
}
