// The drawing sheet: shapes clipped to its rectangle.
#include "forms/formspp_draw.h"

#include <FL/Enumerations.H>
#include <FL/fl_draw.H>

#include "forms/formspp_copy.h"

OFL_vision_sheet::OFL_vision_sheet() : x0(0), y0(0), x1(0), y1(0), colour(FL_BLACK) {}

void OFL_vision_sheet::define(int x, int y, int w, int h, int c)
{
    resize(x, y, w, h);
    colour = c;
}

void OFL_vision_sheet::resize(int x, int y, int w, int h)
{
    x0 = x;
    y0 = y;
    x1 = x + w;
    y1 = y + h;
}

bool OFL_vision_sheet::push_clip()
{
    if (x0 >= x1 || y0 >= y1) return false; // an empty rectangle clips nothing
    fl_push_clip(x0, y0, x1 - x0, y1 - y0);
    return true;
}

void OFL_vision_sheet::pop_clip(bool pushed)
{
    if (pushed) fl_pop_clip();
}

void OFL_vision_sheet::ofl_line(int xa, int ya, int xb, int yb, int c)
{
    bool pushed = push_clip();
    fl_line(xa, ya, xb, yb, static_cast<unsigned>(c));
    pop_clip(pushed);
}

void OFL_vision_sheet::ofl_dash_line(int xa, int ya, int xb, int yb, int c)
{
    bool pushed = push_clip();
    fl_color(static_cast<Fl_Color>(c));
    fl_line_style(FL_DASH);
    fl_line(xa, ya, xb, yb);
    fl_line_style(FL_SOLID);
    pop_clip(pushed);
}

void OFL_vision_sheet::ofl_break_line(int xa, int ya, int xb, int yb, int c)
{
    ofl_point a, b;
    ofl_break_points(xa, ya, xb, yb, a, b);
    bool pushed = push_clip();
    fl_color(static_cast<Fl_Color>(c));
    fl_line(xa, ya, a.x, a.y);
    fl_line(a.x, a.y, b.x, b.y);
    fl_line(b.x, b.y, xb, yb);
    pop_clip(pushed);
}

void OFL_vision_sheet::ofl_rect(int x, int y, int w, int h, unsigned c)
{
    bool pushed = push_clip();
    fl_color(static_cast<Fl_Color>(c));
    fl_rect(x, y, w, h);
    pop_clip(pushed);
}

void OFL_vision_sheet::ofl_rectf(int x, int y, int w, int h, unsigned c)
{
    bool pushed = push_clip();
    fl_color(static_cast<Fl_Color>(c));
    fl_rectf(x, y, w, h);
    pop_clip(pushed);
}

void OFL_vision_sheet::ofl_rectbound(int x, int y, int w, int h, unsigned c)
{
    bool pushed = push_clip();
    fl_rectbound(x, y, w, h, static_cast<unsigned>(c)); // the by-value overload
    pop_clip(pushed);
}

void OFL_vision_sheet::ofl_circ(int x, int y, int d, unsigned c)
{
    bool pushed = push_clip();
    fl_color(static_cast<Fl_Color>(c));
    fl_arc(x, y, d, d, 0, 360);
    pop_clip(pushed);
}

void OFL_vision_sheet::ofl_circf(int x, int y, int d, unsigned c)
{
    bool pushed = push_clip();
    fl_circf(x, y, d, c);
    pop_clip(pushed);
}

void OFL_vision_sheet::ofl_circbound(int x, int y, int d, unsigned c)
{
    bool pushed = push_clip();
    fl_circf(x, y, d, c);
    fl_color(FL_BLACK);
    fl_arc(x, y, d, d, 0, 360);
    pop_clip(pushed);
}

void OFL_vision_sheet::ofl_arrowbound(int xa, int ya, int xb, int yb, unsigned c)
{
    ofl_wedge w = ofl_arrow_wedge(xa, ya, xb, yb);
    bool pushed = push_clip();
    fl_color(static_cast<Fl_Color>(c));
    fl_pie(w.x, w.y, w.size, w.size, w.from, w.to);
    fl_color(FL_BLACK);
    pop_clip(pushed);
}

void OFL_vision_sheet::ofl_drw_text(unsigned align, int x, int y, int w, int h, unsigned c, int size, int font,
                                    char* text)
{
    bool pushed = push_clip();
    fl_font(static_cast<Fl_Font>(font), static_cast<Fl_Fontsize>(size));
    fl_color(static_cast<Fl_Color>(c));
    fl_draw(text, x, y, w, h, static_cast<Fl_Align>(align), nullptr, 1);
    pop_clip(pushed);
}

void OFL_vision_sheet::ofl_drw_String(unsigned align, int x, int y, int w, int h, unsigned c, int font, int size,
                                      const std::string& text)
{
    with_copy(text, [&](char* copy) { ofl_drw_text(align, x, y, w, h, c, size, font, copy); });
}

void OFL_vision_sheet::ofl_drw_arrow_line(int xa, int ya, int xb, int yb, int length, double angle, int c)
{
    ofl_point h1, h2;
    ofl_arrow_head(xa, ya, xb, yb, length, angle, h1, h2);
    bool pushed = push_clip();
    fl_color(static_cast<Fl_Color>(c));
    fl_line(h1.x, h1.y, xb, yb);
    fl_line(h2.x, h2.y, xb, yb);
    fl_line(xa, ya, xb, yb);
    pop_clip(pushed);
}
