// Shapes in a colour, the hit test of a segment, and the geometry of the sheet's shapes.
#include "forms/formspp_draw.h"

#include <cmath>

#include <FL/Enumerations.H>
#include <FL/fl_draw.H>

namespace {

Fl_Color toolkit_colour(unsigned colour)
{
    return static_cast<Fl_Color>(colour);
}

void filled_oval(int x, int y, int w, int h, unsigned colour)
{
    fl_color(toolkit_colour(colour));
    fl_pie(x, y, w, h, 0, 360);
}

// Whether v lies between a and b, ends included.
bool between(double v, double a, double b)
{
    return v >= std::fmin(a, b) && v <= std::fmax(a, b);
}

} // namespace

void fl_ovalf(int x, int y, int w, int h, unsigned colour)
{
    filled_oval(x, y, w, h, colour);
}

void fl_ovalf(int x, int y, int w, int h, int colour)
{
    filled_oval(x, y, w, h, static_cast<unsigned>(colour));
}

void fl_circf(int x, int y, int d, unsigned colour)
{
    filled_oval(x, y, d, d, colour);
}

void fl_circf(int x, int y, int d, int colour)
{
    filled_oval(x, y, d, d, static_cast<unsigned>(colour));
}

void fl_rectbound(int x, int y, int w, int h, unsigned colour)
{
    fl_color(toolkit_colour(colour));
    fl_rectf(x, y, w, h);
    fl_color(FL_BLACK);
    fl_rect(x, y, w, h);
}

void fl_rectbound(int& x, int& y, int& w, int& h, unsigned& colour)
{
    fl_rectbound(x, y, w, h, static_cast<unsigned>(colour));
}

void fl_line(int x1, int y1, int x2, int y2, unsigned colour)
{
    fl_color(toolkit_colour(colour));
    fl_line(x1, y1, x2, y2);
}

void fl_line(int x1, int y1, int x2, int y2, unsigned& colour)
{
    fl_line(x1, y1, x2, y2, static_cast<unsigned>(colour));
}

int point_dans_segment(double px, double py, double x1, double y1, double x2, double y2, double tolerance)
{
    const double epsilon = 1e-10;
    if (std::fabs(x1 - x2) <= epsilon) return between(py, y1, y2) && std::fabs(px - x1) < tolerance;
    if (std::fabs(y1 - y2) <= epsilon) return between(px, x1, x2) && std::fabs(py - y1) < tolerance;
    double dx = x1 - x2, dy = y1 - y2;
    // Across a segment flatter (or steeper) than the tolerance the box is thinner than the band
    // of points within the tolerance: widen it that way only, so that the ends still bound it.
    double wide_x = 0, wide_y = 0;
    if (std::fabs(dy) < tolerance && std::fabs(dy) <= std::fabs(dx)) wide_y = tolerance;
    else if (std::fabs(dx) < tolerance && std::fabs(dx) < std::fabs(dy)) wide_x = tolerance;
    if (!between(px, std::fmin(x1, x2) - wide_x, std::fmax(x1, x2) + wide_x) ||
        !between(py, std::fmin(y1, y2) - wide_y, std::fmax(y1, y2) + wide_y))
        return 0;
    double length = std::sqrt(dx * dx + dy * dy);
    if (length <= epsilon) return 0;
    return std::fabs((px - x1) * dy - (py - y1) * dx) / length < tolerance;
}

void ofl_break_points(int x1, int y1, int x2, int y2, ofl_point& a, ofl_point& b)
{
    a = {(3 * x1 + x2 + 2 * (y1 - y2)) / 4, (3 * y1 + y2 + 2 * (x2 - x1)) / 4};
    b = {(x1 + 3 * x2 + 2 * (y2 - y1)) / 4, (y1 + 3 * y2 + 2 * (x1 - x2)) / 4};
}

void ofl_arrow_head(int x1, int y1, int x2, int y2, int length, double angle, ofl_point& h1, ofl_point& h2)
{
    auto times = [](int l, double f) { return static_cast<int>(l * f); }; // truncated toward zero
    if (x1 == x2) {
        int s = times(length, std::sin(angle));
        int base = y1 < y2 ? y2 - times(length, std::cos(angle)) : y2 + times(length, std::cos(angle));
        h1 = {x2 - s, base};
        h2 = {x2 + s, base};
    } else if (y1 == y2) {
        int c = x1 < x2 ? x2 - times(length, std::cos(angle)) : x2 + times(length, std::cos(angle));
        h1 = {c, y2 - times(length, std::sin(angle))};
        h2 = {c, y2 + times(length, std::sin(angle))};
    } else {
        double beta = std::atan(static_cast<double>(y2 - y1) / (x2 - x1));
        int sigma = x1 < x2 ? 1 : -1;
        h1 = {x2 - sigma * times(length, std::cos(beta - angle)), y2 - sigma * times(length, std::sin(beta - angle))};
        h2 = {x2 - sigma * times(length, std::cos(beta + angle)), y2 - sigma * times(length, std::sin(beta + angle))};
    }
}

ofl_wedge ofl_arrow_wedge(int x1, int y1, int x2, int y2)
{
    double dx = x2 - x1, dy = y2 - y1;
    int size = static_cast<int>(2 * std::sqrt(dx * dx + dy * dy));
    float direction = static_cast<float>(std::atan2(dy, dx) * 180 / M_PI); // held in single precision
    return {x2, y2, size, 160 - direction, 200 - direction};
}
