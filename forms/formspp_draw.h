// Drawing functions for widgets that draw themselves, the hit test of a point against a segment,
// and the drawing sheet whose shapes are clipped to a rectangle.
#ifndef NELVOR_FORMSPP_DRAW_H
#define NELVOR_FORMSPP_DRAW_H

#include <string>

// ---- shapes in one of the toolkit's colours (call them while the toolkit draws a widget) ----
// The overloads differ only in how the colour is passed. A call whose colour is a non-const
// unsigned variable matches a by-value and a by-reference overload alike: reach the latter
// through a pointer of its type.
void fl_ovalf(int x, int y, int w, int h, unsigned colour); // filled ellipse in the box
void fl_ovalf(int x, int y, int w, int h, int colour);
void fl_circf(int x, int y, int d, unsigned colour); // filled circle in the box (x, y, d, d)
void fl_circf(int x, int y, int d, int colour);
// Filled in the colour, then outlined in black; black stays the current colour.
void fl_rectbound(int x, int y, int w, int h, unsigned colour);
void fl_rectbound(int& x, int& y, int& w, int& h, unsigned& colour);
void fl_line(int x1, int y1, int x2, int y2, unsigned colour);
void fl_line(int x1, int y1, int x2, int y2, unsigned& colour);

// 1 when (px, py) lies within tolerance of the segment (x1, y1)-(x2, y2) and inside its
// bounding box (widened by the tolerance across a segment nearer to horizontal or vertical
// than the tolerance), else 0. A point on the line past an end is never in.
int point_dans_segment(double px, double py, double x1, double y1, double x2, double y2, double tolerance);

// ---- the sheet's geometry ----
struct ofl_point {
    int x; // window pixels
    int y;
};

// The inner corners a and b of the zig-zag from (x1, y1) to (x2, y2): its quarter points pushed
// to opposite sides by half its length.
void ofl_break_points(int x1, int y1, int x2, int y2, ofl_point& a, ofl_point& b);

// The ends h1 and h2 of the two head strokes of an arrow from (x1, y1) to (x2, y2) whose
// strokes have the given length and make the given angle (radians) with the shaft.
void ofl_arrow_head(int x1, int y1, int x2, int y2, int length, double angle, ofl_point& h1, ofl_point& h2);

// The pie of the wedge that ofl_arrowbound fills for an arrow from (x1, y1) to (x2, y2).
struct ofl_wedge {
    int x, y, size;  // the pie's box (x, y, size, size)
    double from, to; // its angles in degrees, counterclockwise from 3 o'clock
};
ofl_wedge ofl_arrow_wedge(int x1, int y1, int x2, int y2);

// A drawing area whose shapes are clipped to the rectangle from (x0, y0) to (x1, y1) excluded,
// when that rectangle is not empty; a new sheet, or one of zero width or height, draws unclipped.
class OFL_vision_sheet {
public:
    OFL_vision_sheet();
    void define(int x, int y, int w, int h, int colour);
    void resize(int x, int y, int w, int h); // the colour stays

    void ofl_line(int x1, int y1, int x2, int y2, int colour);
    void ofl_dash_line(int x1, int y1, int x2, int y2, int colour); // the line style is solid afterwards
    void ofl_break_line(int x1, int y1, int x2, int y2, int colour); // a zig-zag of three segments
    void ofl_rect(int x, int y, int w, int h, unsigned colour);
    void ofl_rectf(int x, int y, int w, int h, unsigned colour);
    void ofl_rectbound(int x, int y, int w, int h, unsigned colour); // filled, then outlined in black
    void ofl_circ(int x, int y, int d, unsigned colour);             // in the box (x, y, d, d)
    void ofl_circf(int x, int y, int d, unsigned colour);
    void ofl_circbound(int x, int y, int d, unsigned colour); // filled, then its arc in black
    // A filled wedge (see ofl_arrow_wedge); black is the current colour afterwards.
    void ofl_arrowbound(int x1, int y1, int x2, int y2, unsigned colour);
    // The text in the box with the face font and the size (note: size before font).
    void ofl_drw_text(unsigned align, int x, int y, int w, int h, unsigned colour, int size, int font, char* text);
    // The same with a standard string (note: font before size here).
    void ofl_drw_String(unsigned align, int x, int y, int w, int h, unsigned colour, int font, int size,
                        const std::string& text);
    // A line with a two-stroke head at (x2, y2) (see ofl_arrow_head).
    void ofl_drw_arrow_line(int x1, int y1, int x2, int y2, int length, double angle, int colour);

private:
    bool push_clip();           // pushes the sheet's clip when it has one; whether it did
    void pop_clip(bool pushed); // pops what push_clip pushed

    int x0;     // left of the clip rectangle
    int y0;     // top of the clip rectangle
    int x1;     // right of the clip rectangle, excluded
    int y1;     // bottom of the clip rectangle, excluded
    int colour; // the sheet's colour, recorded only: every shape has its own
};

#endif
