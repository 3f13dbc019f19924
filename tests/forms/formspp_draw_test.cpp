// The geometry of the drawing functions, without drawing: the segment hit test, the zig-zag,
// the arrow heads and the arrow wedge.
#include <gtest/gtest.h>

#include <cmath>

#include "forms/formspp.h"

namespace {

// Checks a computed point against the expected one, naming the segment (x1, y1)-(x2, y2).
void expect_point(const ofl_point& got, const ofl_point& want, int x1, int y1, int x2, int y2)
{
    EXPECT_EQ(got.x, want.x) << x1 << "," << y1 << " " << x2 << "," << y2;
    EXPECT_EQ(got.y, want.y) << x1 << "," << y1 << " " << x2 << "," << y2;
}

} // namespace

TEST(PointInSegment, Cases)
{
    struct {
        double px, py, x1, y1, x2, y2, tolerance;
        int in;
    } cases[] = {
        // vertical
        {0.5, 5, 0, 0, 0, 10, 1, 1},
        {-0.99, 0, 0, 0, 0, 10, 1, 1},
        {0, 10, 0, 10, 0, 0, 1, 1},   // an end is in
        {1, 5, 0, 0, 0, 10, 1, 0},    // at exactly the tolerance
        {0, 10.5, 0, 0, 0, 10, 1, 0}, // past an end
        {5, 5, 5, 5, 5, 5, 1, 1},     // a point segment counts as vertical
        // horizontal
        {5, 1.9, 0, 0, 10, 0, 2, 1},
        {5, 2, 0, 0, 10, 0, 2, 0},
        {11, 0, 0, 0, 10, 0, 2, 0},
        {-0.5, 0, 0, 0, 10, 0, 2, 0},
        // slanted
        {8, 6, 0, 0, 16, 12, 5, 1},
        {5, 10, 0, 0, 16, 12, 5, 0},     // at exactly the tolerance
        {5, 10, 0, 0, 16, 12, 5.001, 1},
        {20, 15, 0, 0, 16, 12, 100, 0},  // on the line past an end
        {-4, -3, 0, 0, 16, 12, 100, 0},
        {12, 9, 16, 12, 0, 0, 0.1, 1},
        // nearly horizontal: the box is widened across the segment
        {50, 1.2, 0, 0, 100, 1, 3, 1},
        {50, 3.4, 0, 0, 100, 1, 3, 1},
        {50, -2.4, 0, 0, 100, 1, 3, 1},
        {50, 4.6, 0, 0, 100, 1, 3, 0},  // farther than the tolerance
        {101, 1.01, 0, 0, 100, 1, 3, 0}, // on the line past an end
        {-1, 0, 0, 0, 100, 1, 3, 0},
        {1, 2.5, 0, 0, 2, 1, 3, 1},
        {4, 2, 0, 0, 2, 1, 3, 0},       // a short segment's extension stays out
        // nearly vertical
        {-1, 50, 0, 0, 1, 100, 3, 1},
        {0.5, 101, 0, 0, 1, 100, 3, 0},
        {4.6, 50, 0, 0, 1, 100, 3, 0},
    };
    for (auto& c : cases)
        EXPECT_EQ(point_dans_segment(c.px, c.py, c.x1, c.y1, c.x2, c.y2, c.tolerance), c.in)
            << "(" << c.px << ", " << c.py << ") against (" << c.x1 << ", " << c.y1 << ")-(" << c.x2 << ", "
            << c.y2 << ") within " << c.tolerance;
}

TEST(BreakLine, Corners)
{
    struct {
        int x1, y1, x2, y2;
        ofl_point a, b;
    } cases[] = {
        {0, 0, 8, 0, {2, 4}, {6, -4}},
        {0, 0, 0, 8, {-4, 2}, {4, 6}},
        {1, 1, 4, 2, {1, 2}, {3, 0}},
        {0, 0, 5, -1, {1, 2}, {3, -3}}, // -13 / 4 is truncated toward zero
        {20, 60, 100, 60, {40, 100}, {80, 20}},
    };
    for (auto& c : cases) {
        ofl_point a, b;
        ofl_break_points(c.x1, c.y1, c.x2, c.y2, a, b);
        expect_point(a, c.a, c.x1, c.y1, c.x2, c.y2);
        expect_point(b, c.b, c.x1, c.y1, c.x2, c.y2);
    }
}

TEST(ArrowLine, HeadStrokes)
{
    // length 20 and angle 0.5: int(20 sin 0.5) = 9, int(20 cos 0.5) = 17
    struct {
        int x1, y1, x2, y2;
        ofl_point h1, h2;
    } cases[] = {
        {50, 0, 50, 100, {41, 83}, {59, 83}}, // down
        {50, 100, 50, 0, {41, 17}, {59, 17}}, // up
        {0, 50, 100, 50, {83, 41}, {83, 59}}, // right
        {100, 50, 0, 50, {17, 41}, {17, 59}}, // left
        {0, 0, 100, 100, {81, 95}, {95, 81}},
        {100, 100, 0, 0, {19, 5}, {5, 19}},
        {0, 100, 100, 0, {95, 19}, {81, 5}},
        {20, 100, 120, 100, {103, 91}, {103, 109}},
    };
    for (auto& c : cases) {
        ofl_point h1, h2;
        ofl_arrow_head(c.x1, c.y1, c.x2, c.y2, 20, 0.5, h1, h2);
        expect_point(h1, c.h1, c.x1, c.y1, c.x2, c.y2);
        expect_point(h2, c.h2, c.x1, c.y1, c.x2, c.y2);
    }
}

TEST(ArrowBound, Wedge)
{
    struct {
        int x1, y1, x2, y2;
        int size;
        double from, to;
    } cases[] = {
        {0, 50, 40, 50, 80, 160, 200},
        {40, 50, 0, 50, 80, -20, 20},
        {0, 0, 0, -10, 20, 250, 290},
        {0, 0, 30, 40, 100, 106.869898, 146.869898}, // 53.130102 degrees
        {5, 5, 5, 5, 0, 160, 200},
        {0, 0, 1, 1, 2, 115, 155}, // 2 sqrt 2 truncated
    };
    for (auto& c : cases) {
        ofl_wedge w = ofl_arrow_wedge(c.x1, c.y1, c.x2, c.y2);
        EXPECT_EQ(w.x, c.x2);
        EXPECT_EQ(w.y, c.y2);
        EXPECT_EQ(w.size, c.size) << c.x2 << "," << c.y2;
        EXPECT_NEAR(w.from, c.from, 1e-5) << c.x2 << "," << c.y2;
        EXPECT_NEAR(w.to, c.to, 1e-5) << c.x2 << "," << c.y2;
    }
    // the direction is held in single precision
    ofl_wedge w = ofl_arrow_wedge(0, 0, 30, 40);
    EXPECT_EQ(w.from, 160 - static_cast<double>(static_cast<float>(std::atan2(40.0, 30.0) * 180 / M_PI)));
}
