// The simulator panels' paging and lamp rules, and the message windows without a display.
#include <gtest/gtest.h>

#include <cstdlib>

#include <FL/Fl_Box.H>

#include "forms/formspp.h"
#include "forms/simulator_panel.h"

namespace {
// Runs before anything asks for the display.
struct no_display {
    no_display() { unsetenv("DISPLAY"); }
} const unset_display;

TEST(SimulatorRules, RowsPerPage)
{
    // (h - 85) / 16, at least one row whatever the height, at most one lamp per row
    struct { int h, rows; } cases[] = {{85, 1},   {100, 1}, {101, 1}, {116, 1},    {117, 2},
                                       {700, 38}, {565, 30}, {60, 1},  {0, 1},      {-500, 1},
                                       {85 + 16 * 32768, 32768},       {85 + 16 * 40000, 32768}};
    for (auto& c : cases) EXPECT_EQ(simulator_rows_per_page(c.h), c.rows) << c.h;
}

TEST(SimulatorRules, PageAndRowOfOutputs)
{
    struct { int output, rows, page, row; } cases[] = {
        {0, 1, 0, 0}, {1, 1, 1, 0}, {5, 1, 5, 0}, {0, 2, 0, 0}, {1, 2, 0, 1},
        {2, 2, 1, 0}, {4, 2, 2, 0}, {29, 30, 0, 29}, {30, 30, 1, 0}, {59, 30, 1, 29}, {59, 38, 1, 21}};
    for (auto& c : cases) {
        EXPECT_EQ(simulator_page_of(c.output, c.rows), c.page) << c.output << " / " << c.rows;
        EXPECT_EQ(simulator_row_of(c.output, c.rows), c.row) << c.output << " / " << c.rows;
    }
}

TEST(SimulatorRules, PagesAfterAddNextAndPrevious)
{
    // filling from empty, each add shows the page of the newest output
    for (int rows : {1, 2, 3, 30}) {
        int page = 0;
        for (int before = 0; before < 100; ++before) {
            page = simulator_page_after_add(page, before, rows);
            EXPECT_EQ(page, simulator_page_of(before, rows)) << rows << " " << before;
        }
    }
    // after paging back, an add moves one page forward at most
    EXPECT_EQ(simulator_page_after_add(0, 10, 2), 1);
    EXPECT_EQ(simulator_page_after_add(5, 10, 2), 5);
    struct { int page, outputs, rows, next; } nexts[] = {
        {0, 0, 1, 0}, {0, 1, 1, 0}, {0, 2, 1, 1}, {1, 2, 1, 1}, {0, 60, 30, 1}, {1, 60, 30, 1}, {0, 30, 30, 0}};
    for (auto& c : nexts) EXPECT_EQ(simulator_page_after_next(c.page, c.outputs, c.rows), c.next);
    EXPECT_EQ(simulator_page_after_previous(0), 0);
    EXPECT_EQ(simulator_page_after_previous(1), 0);
    EXPECT_EQ(simulator_page_after_previous(7), 6);
}

TEST(SimulatorRules, LampColours)
{
    struct { int value, colour; } cases[] = {{1, 216}, {0, 95}, {2, 88}, {3, 88}, {-1, 88}, {100, 88}};
    for (auto& c : cases) EXPECT_EQ(simulator_lamp_colour(c.value), c.colour) << c.value;
    EXPECT_EQ(FL_BLUE, 216);
    EXPECT_EQ(FL_YELLOW, 95);
    EXPECT_EQ(FL_RED, 88);
}

TEST(SimulatorRules, ColouringALampOfTheWantedColourDoesNothing)
{
    Fl_Box lamp(0, 0, 10, 12);
    lamp.color(FL_GREEN);
    lamp.selection_color(FL_WHITE);
    simulator_colour_lamp(&lamp, 1);
    EXPECT_EQ(lamp.color(), FL_BLUE);
    EXPECT_EQ(lamp.selection_color(), FL_BLACK);
    lamp.selection_color(FL_WHITE);
    simulator_colour_lamp(&lamp, 1); // already blue: selection colour left alone
    EXPECT_EQ(lamp.selection_color(), FL_WHITE);
    simulator_colour_lamp(&lamp, 0);
    EXPECT_EQ(lamp.color(), FL_YELLOW);
    EXPECT_EQ(lamp.selection_color(), FL_BLACK);
    simulator_colour_lamp(&lamp, 2);
    EXPECT_EQ(lamp.color(), FL_RED);
}

TEST(MessagesNoDisplay, TextsGoToStderr)
{
    testing::internal::CaptureStderr();
    fl_show_Sbigmessages("one\ntwo %d\n", 40);
    {
        OFD_wait_form wait("working on it");
        EXPECT_EQ(wait.window, nullptr);
        EXPECT_EQ(wait.unused_a, 0);
        EXPECT_EQ(wait.unused_b, 0);
    }
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "one\ntwo %d\n\nworking on it\n");
}
} // namespace
