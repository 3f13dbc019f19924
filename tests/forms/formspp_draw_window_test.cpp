// The drawing functions and the sheet drawn offscreen under a display, read back pixel by pixel:
// nothing outside the sheet's clip, shapes where their geometry puts them.
#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include <FL/Fl.H>
#include <FL/Fl_Image_Surface.H>
#include <FL/fl_draw.H>

#include "forms/formspp.h"

namespace {

// A picture read back from an offscreen surface.
struct picture {
    int w = 0, h = 0;
    std::vector<unsigned char> rgb; // 3 bytes a pixel, rows from the top
    const unsigned char* at(int x, int y) const { return &rgb[3 * (y * w + x)]; }
    // Whether the pixel's red, green and blue are each high (over 200) where r, g and b say so
    // and low (under 100) where they do not.
    bool tone(int x, int y, bool r, bool g, bool b) const
    {
        auto channel = [](unsigned char v, bool high) { return high ? v > 200 : v < 100; };
        return channel(at(x, y)[0], r) && channel(at(x, y)[1], g) && channel(at(x, y)[2], b);
    }
    bool white(int x, int y) const { return tone(x, y, true, true, true); }
    bool dark(int x, int y) const { return tone(x, y, false, false, false); }
    bool red(int x, int y) const { return tone(x, y, true, false, false); }
    bool blue(int x, int y) const { return tone(x, y, false, false, true); }
    bool green(int x, int y) const { return tone(x, y, false, true, false); }
    // Whether a dark pixel lies within one pixel of (x, y).
    bool dark_near(int x, int y) const
    {
        for (int dy = -1; dy <= 1; ++dy)
            for (int dx = -1; dx <= 1; ++dx)
                if (x + dx >= 0 && x + dx < w && y + dy >= 0 && y + dy < h && dark(x + dx, y + dy)) return true;
        return false;
    }
};

// Draws on a white w x h surface and reads it back.
picture draw(int w, int h, const std::function<void()>& shapes)
{
    picture p;
    Fl_Image_Surface surface(w, h);
    surface.set_current();
    fl_color(FL_WHITE);
    fl_rectf(0, 0, w, h);
    shapes();
    Fl_RGB_Image* image = surface.image();
    Fl_Display_Device::display_device()->set_current();
    p.w = image->w();
    p.h = image->h();
    const unsigned char* s = image->array;
    for (int i = 0; i < p.w * p.h; ++i, s += image->d()) p.rgb.insert(p.rgb.end(), s, s + 3);
    delete image;
    return p;
}

class Drawing : public testing::Test {
protected:
    void SetUp() override
    {
        const char* d = std::getenv("DISPLAY");
        if (d == nullptr || *d == '\0') GTEST_SKIP() << "no display: run under xvfb-run";
        ASSERT_TRUE(forms_display_available());
    }
};

TEST_F(Drawing, NothingOutsideTheClip)
{
    const int W = 200, H = 150;
    struct {
        const char* name;
        std::function<void(OFL_vision_sheet&)> shape;
    } shapes[] = {
        {"rectf", [](OFL_vision_sheet& s) { s.ofl_rectf(0, 0, W, H, FL_RED); }},
        {"rect", [](OFL_vision_sheet& s) { s.ofl_rect(5, 5, 60, 30, FL_BLACK); }},
        {"rectbound", [](OFL_vision_sheet& s) { s.ofl_rectbound(0, 0, W, H, FL_RED); }},
        {"line", [](OFL_vision_sheet& s) { s.ofl_line(0, 0, W - 1, H - 1, FL_BLACK); }},
        {"dash_line", [](OFL_vision_sheet& s) { s.ofl_dash_line(0, 30, W - 1, 30, FL_BLACK); }},
        {"break_line", [](OFL_vision_sheet& s) { s.ofl_break_line(0, 35, W, 35, FL_BLACK); }},
        {"circ", [](OFL_vision_sheet& s) { s.ofl_circ(-20, -40, 100, FL_BLACK); }},
        {"circf", [](OFL_vision_sheet& s) { s.ofl_circf(-20, -40, 150, FL_BLUE); }},
        {"circbound", [](OFL_vision_sheet& s) { s.ofl_circbound(-20, -40, 100, FL_BLUE); }},
        {"arrowbound", [](OFL_vision_sheet& s) { s.ofl_arrowbound(0, 0, 40, 0, FL_RED); }},
        {"arrow_line", [](OFL_vision_sheet& s) { s.ofl_drw_arrow_line(0, 0, 60, 30, 40, 0.5, FL_BLACK); }},
        {"drw_String", [](OFL_vision_sheet& s) {
             s.ofl_drw_String(FL_ALIGN_CENTER, 0, 0, W, H, FL_BLACK, FL_HELVETICA_BOLD, 60, "WWWWWW");
         }},
    };
    for (auto& c : shapes) {
        picture p = draw(W, H, [&] {
            OFL_vision_sheet sheet;
            sheet.define(10, 10, 100, 50, FL_BLACK);
            c.shape(sheet);
        });
        int inside = 0, outside = 0;
        for (int y = 0; y < H; ++y)
            for (int x = 0; x < W; ++x) {
                bool in = x >= 10 && x < 110 && y >= 10 && y < 60;
                if (!p.white(x, y)) ++(in ? inside : outside);
            }
        EXPECT_EQ(outside, 0) << c.name;
        EXPECT_GT(inside, 0) << c.name;
    }
}

TEST_F(Drawing, ClipRectangleEdges)
{
    // a new sheet and one of zero width draw unclipped; w x h from (10, 10) clips to x 10..109, y 10..59
    picture whole = draw(200, 100, [] {
        OFL_vision_sheet sheet;
        sheet.ofl_rectf(0, 0, 200, 100, FL_RED);
    });
    EXPECT_TRUE(whole.red(0, 0));
    EXPECT_TRUE(whole.red(199, 99));
    picture flat = draw(200, 100, [] {
        OFL_vision_sheet sheet;
        sheet.define(10, 10, 0, 50, FL_RED);
        sheet.ofl_rectf(0, 0, 200, 100, FL_RED);
        sheet.resize(10, 10, 100, -1);
        sheet.ofl_rectf(0, 0, 200, 100, FL_BLUE);
    });
    EXPECT_TRUE(flat.blue(0, 0));
    EXPECT_TRUE(flat.blue(199, 99));
    picture clipped = draw(200, 100, [] {
        OFL_vision_sheet sheet;
        sheet.define(10, 10, 100, 50, FL_BLUE);
        sheet.ofl_rectf(0, 0, 200, 100, FL_RED);
        fl_color(FL_BLUE); // the clip is gone once the shape is drawn
        fl_rectf(150, 70, 10, 10);
    });
    EXPECT_TRUE(clipped.red(10, 10));
    EXPECT_TRUE(clipped.red(109, 59));
    EXPECT_TRUE(clipped.white(9, 10));
    EXPECT_TRUE(clipped.white(10, 9));
    EXPECT_TRUE(clipped.white(110, 59));
    EXPECT_TRUE(clipped.white(109, 60));
    EXPECT_TRUE(clipped.blue(155, 75));
}

TEST_F(Drawing, ArrowWedgeWhereItsPieIs)
{
    // (0, 50) to (40, 50): a pie over the box (40, 50, 80, 80), centre (80, 90), radius 40, from
    // 160 to 200 degrees: a wedge pointing left of the centre
    Fl_Color after = 0;
    picture p = draw(200, 150, [&] {
        OFL_vision_sheet sheet;
        sheet.ofl_arrowbound(0, 50, 40, 50, FL_RED);
        after = fl_color();
    });
    EXPECT_EQ(after, FL_BLACK);
    EXPECT_TRUE(p.red(50, 90));  // 30 left of the centre
    EXPECT_TRUE(p.red(70, 90));
    EXPECT_TRUE(p.red(45, 84));  // 170 degrees
    EXPECT_TRUE(p.white(54, 75)); // 150 degrees: outside the wedge
    EXPECT_TRUE(p.white(110, 90)); // to the right of the centre
    EXPECT_TRUE(p.white(35, 90)); // beyond the radius
    EXPECT_TRUE(p.white(40, 50)); // nothing at the tip itself
    int red = 0;
    for (int y = 0; y < 150; ++y)
        for (int x = 0; x < 200; ++x) red += p.red(x, y);
    EXPECT_GT(red, 150); // about 40 * 40 * pi / 9 = 558 pixels
    EXPECT_LT(red, 800);
}

TEST_F(Drawing, PiesOvalsAndBoundRectangles)
{
    Fl_Color after_rectbound = 0, after_reference = 0;
    picture p = draw(200, 100, [&] {
        fl_circf(20, 30, 10, FL_BLUE);
        fl_circf(60, 30, 10, 63); // FL_GREEN as an int
        fl_ovalf(40, 60, 40, 10, FL_GREEN);
        fl_ovalf(100, 60, 40, 10, 216); // FL_BLUE as an int
        fl_rectbound(100, 10, 20, 10, FL_RED);
        after_rectbound = fl_color();
        int x = 130, y = 10, w = 20, h = 10;
        unsigned c = FL_BLUE;
        void (*by_reference)(int&, int&, int&, int&, unsigned&) = fl_rectbound;
        by_reference(x, y, w, h, c);
        after_reference = fl_color();
        fl_line(0, 90, 199, 90, FL_RED);
        unsigned red = FL_RED;
        void (*line_by_reference)(int, int, int, int, unsigned&) = fl_line;
        line_by_reference(0, 95, 199, 95, red);
    });
    EXPECT_TRUE(p.blue(25, 35)); // the circle of diameter 10 in the box from (20, 30)
    EXPECT_TRUE(p.blue(21, 35));
    EXPECT_TRUE(p.blue(25, 31));
    EXPECT_TRUE(p.white(18, 35));
    EXPECT_TRUE(p.white(31, 35));
    EXPECT_TRUE(p.white(25, 28));
    EXPECT_TRUE(p.white(21, 31)); // the box's corner is not in the circle
    EXPECT_TRUE(p.green(65, 35));
    EXPECT_TRUE(p.green(60, 65));
    EXPECT_TRUE(p.green(42, 65));
    EXPECT_TRUE(p.white(60, 58));
    EXPECT_TRUE(p.white(60, 71));
    EXPECT_TRUE(p.white(38, 65));
    EXPECT_TRUE(p.blue(120, 65));
    EXPECT_TRUE(p.red(110, 15));
    EXPECT_TRUE(p.dark(100, 10)); // the black outline
    EXPECT_TRUE(p.dark(119, 19));
    EXPECT_TRUE(p.dark(110, 10));
    EXPECT_EQ(after_rectbound, FL_BLACK);
    EXPECT_TRUE(p.blue(140, 15));
    EXPECT_TRUE(p.dark(130, 15));
    EXPECT_EQ(after_reference, FL_BLACK);
    EXPECT_TRUE(p.red(100, 90));
    EXPECT_TRUE(p.red(100, 95));
}

TEST_F(Drawing, ZigZagAndArrowLines)
{
    picture p = draw(200, 150, [] {
        OFL_vision_sheet sheet;
        sheet.ofl_break_line(20, 60, 100, 60, FL_BLACK); // corners (40, 100) and (80, 20)
        sheet.ofl_drw_arrow_line(20, 130, 120, 130, 20, 0.5, FL_BLACK); // head from (103, 121) and (103, 139)
        sheet.ofl_circbound(150, 20, 30, FL_BLUE);
        sheet.ofl_dash_line(0, 144, 199, 144, FL_BLACK);
        sheet.ofl_line(0, 147, 199, 147, FL_BLACK); // solid again
    });
    int dashed = 0, solid = 0;
    for (int x = 0; x < 200; ++x) {
        dashed += p.dark(x, 144);
        solid += p.dark(x, 147);
    }
    EXPECT_GT(dashed, 50);
    EXPECT_LT(dashed, 190); // gaps between the dashes
    EXPECT_EQ(solid, 200);
    EXPECT_TRUE(p.dark_near(30, 80)); // middle of the first stroke
    EXPECT_TRUE(p.dark_near(40, 100));
    EXPECT_TRUE(p.dark_near(60, 60));
    EXPECT_TRUE(p.dark_near(80, 20));
    EXPECT_TRUE(p.dark_near(90, 40));
    EXPECT_FALSE(p.dark_near(60, 75)); // no straight line from end to end...
    EXPECT_FALSE(p.dark_near(30, 60)); // ... nor along the ends' level
    EXPECT_TRUE(p.dark_near(70, 130)); // the shaft
    EXPECT_TRUE(p.dark_near(103, 121));
    EXPECT_TRUE(p.dark_near(103, 139));
    EXPECT_TRUE(p.dark_near(111, 125)); // halfway up a head stroke
    EXPECT_FALSE(p.dark_near(108, 127)); // two strokes, not a filled head
    EXPECT_TRUE(p.blue(165, 35));   // filled circle ...
    EXPECT_TRUE(p.dark_near(150, 35)); // ... with its black arc
}

} // namespace
