// The simulator panels with real windows: ticks, GO, INIT, QUIT and paging clicked from timeouts.
#include <gtest/gtest.h>

#include <vector>

#include <FL/Fl.H>
#include <FL/Fl_Box.H>
#include <FL/Fl_Browser.H>
#include <FL/Fl_Button.H>
#include <FL/Fl_Check_Browser.H>
#include <FL/Fl_Window.H>

#include "forms/bddforms.h"
#include "forms/formspp.h"
#include "tests/support/window_driver.h"

namespace {

using driver::after;
using driver::click;
using driver::poll_until;
using driver::wm_close;

class Panels : public driver::WindowTest {};

// A user's tick on a row (1-based) of a check browser: the box of that row changes. (Clicks sent
// through the server are taken by the check browsers for the row below on their first click,
// so the tick goes through the browser itself.)
void tick(Fl_Check_Browser* b, int row)
{
    b->checked(row, !b->checked(row));
}

std::vector<int> ticked(Fl_Check_Browser* b)
{
    std::vector<int> t;
    for (int i = 1; i <= b->nitems(); ++i) t.push_back(b->checked(i));
    return t;
}

std::vector<std::string> lines(Fl_Browser* b)
{
    std::vector<std::string> l;
    for (int i = 1; i <= b->size(); ++i) l.push_back(b->text(i));
    return l;
}

// The colours of the lamps shown, -1 for a hidden one.
std::vector<int> lamp_colours(Fl_Box** lamps, int rows)
{
    std::vector<int> c;
    for (int r = 0; r < rows; ++r) c.push_back(lamps[r]->visible() ? static_cast<int>(lamps[r]->color()) : -1);
    return c;
}

TEST_F(Panels, InputTicksGoInitQuitAndSticky)
{
    OFD_simulator_input in(300);
    for (const char* n : {"a", "b", "c"}) in.add(n);
    ASSERT_TRUE(poll_until([&] { return in.window->visible_r(); }));
    EXPECT_STREQ(in.window->label(), "Inputs Pannel");
    EXPECT_EQ(in.nb_inputs, 3);
    EXPECT_EQ(in.signal_browser->nitems(), 3);
    EXPECT_STREQ(in.sticky_browser->text(2), "b");
    EXPECT_EQ(in.signal_browser->type(), FL_MULTI_BROWSER);
    EXPECT_EQ(in.signal_browser->h(), 230);
    EXPECT_EQ(in.go_button->y(), 270);

    // step 1: a and c ticked, c sticky
    after(0.1, [&] { tick(in.signal_browser, 1); });
    after(0.15, [&] { tick(in.signal_browser, 3); });
    after(0.2, [&] { tick(in.sticky_browser, 3); });
    after(0.3, [&] {
        EXPECT_EQ(ticked(in.signal_browser), (std::vector<int>{1, 0, 1}));
        click(in.go_button);
    });
    int init = -1, quit = -1, values[3] = {7, 7, 7};
    in.check(&init, &quit, values);
    EXPECT_EQ(quit, 0);
    EXPECT_EQ(init, 0);
    EXPECT_EQ(std::vector<int>(values, values + 3), (std::vector<int>{1, 0, 1}));
    EXPECT_EQ(ticked(in.signal_browser), (std::vector<int>{0, 0, 1})); // the sticky row kept
    EXPECT_EQ(ticked(in.sticky_browser), (std::vector<int>{0, 0, 1}));

    // step 2: the sticky input reaches the next step again
    after(0.1, [&] { click(in.go_button); });
    in.check(&init, &quit, values);
    EXPECT_EQ(std::vector<int>(values, values + 3), (std::vector<int>{0, 0, 1}));

    // INIT unticks every Signal row, values untouched
    after(0.1, [&] { click(in.init_button); });
    values[0] = 9;
    in.check(&init, &quit, values);
    EXPECT_EQ(init, 1);
    EXPECT_EQ(quit, 0);
    EXPECT_EQ(values[0], 9);
    EXPECT_EQ(ticked(in.signal_browser), (std::vector<int>{0, 0, 0}));
    EXPECT_EQ(ticked(in.sticky_browser), (std::vector<int>{0, 0, 1}));

    after(0.1, [&] { click(in.quit_button); });
    in.check(&init, &quit, values);
    EXPECT_EQ(quit, 1);

    // eval shows values in the Signal column
    int shown[3] = {1, 0, 2};
    in.eval(&quit, shown);
    EXPECT_EQ(quit, 0);
    EXPECT_EQ(ticked(in.signal_browser), (std::vector<int>{1, 0, 1}));
    after(0.05, [&] { click(in.quit_button); });
    int polls = 0;
    for (quit = 0; !quit && polls < 2500; ++polls) in.eval(&quit, shown);
    EXPECT_EQ(quit, 1);
    EXPECT_GT(polls, 1); // one poll each
}

TEST_F(Panels, WindowManagerCloseIsQuit)
{
    int init = -1, quit = -1, values[1] = {0};
    {
        OFD_simulator_input in(200);
        in.add("x");
        after(0.2, [&] { wm_close(in.window); });
        in.check(&init, &quit, values);
        EXPECT_EQ(quit, 1);
        EXPECT_FALSE(in.window->shown());
    }
    {
        bddpp_manager m;
        bdd x = m.New_var_last("x");
        OFD_bdd_simulator_input in(&m, 200);
        in.add(x);
        after(0.2, [&] { wm_close(in.window); });
        bdd r;
        quit = 0;
        for (int i = 0; i < 2500 && !quit; ++i) {
            r = in.check(&init, &quit);
            g_usleep(1000);
        }
        EXPECT_EQ(quit, 1);
        EXPECT_EQ(r, bdd());
    }
    {
        // an embedded panel: the caller's window closed
        Fl_Window win(640, 300);
        OFD_simulator_input in(&win, 0, 300);
        OFD_simulator_output out(&win, 400, 300, "outs");
        win.end();
        win.show();
        in.add("x");
        after(0.2, [&] { wm_close(&win); });
        in.check(&init, &quit, values);
        EXPECT_EQ(quit, 1);
    }
}

TEST_F(Panels, IntegerOutputPagesAndColours)
{
    OFD_simulator_output out(117, "Outputs");
    EXPECT_EQ(out.rows_per_page, 2);
    ASSERT_TRUE(poll_until([&] { return out.window->visible_r(); }));
    EXPECT_STREQ(out.window->label(), "Outputs");
    EXPECT_EQ(out.browser->x(), 20);
    EXPECT_EQ(out.browser->h(), 49);
    EXPECT_EQ(out.my_plus_button()->x(), 70);
    EXPECT_EQ(out.my_moins_button()->x(), 30);
    EXPECT_EQ(out.lamps[1]->y(), 50);
    for (const char* n : {"o0", "o1", "o2", "o3", "o4"}) out.add(n);
    EXPECT_EQ(out.current_page, 2);
    EXPECT_EQ(lines(out.browser), (std::vector<std::string>{"o4"}));
    EXPECT_EQ(lamp_colours(out.lamps, 2), (std::vector<int>{FL_RED, -1})); // value 2

    int values[5] = {1, 0, 1, 0, 0};
    out.eval(values);
    EXPECT_EQ(lamp_colours(out.lamps, 2), (std::vector<int>{FL_YELLOW, -1}));
    EXPECT_EQ(out.lamps[0]->selection_color(), FL_BLACK);
    out.check();

    // "-" clicked: page 1 shows o2, o3 with their values
    after(0.05, [&] { click(out.my_moins_button()); });
    ASSERT_TRUE(poll_until([&] { return out.current_page == 1; }));
    EXPECT_EQ(lines(out.browser), (std::vector<std::string>{"o2", "o3"}));
    EXPECT_EQ(lamp_colours(out.lamps, 2), (std::vector<int>{FL_BLUE, FL_YELLOW}));
    out.previous_page();
    out.previous_page(); // page 0 stays, redisplayed
    EXPECT_EQ(out.current_page, 0);
    EXPECT_EQ(lines(out.browser), (std::vector<std::string>{"o0", "o1"}));
    EXPECT_EQ(lamp_colours(out.lamps, 2), (std::vector<int>{FL_BLUE, FL_YELLOW}));
    int more[5] = {2, 1, 1, 0, 0};
    out.eval(more);
    EXPECT_EQ(lamp_colours(out.lamps, 2), (std::vector<int>{FL_RED, FL_BLUE}));

    // "+" clicked three times: the last page stays
    after(0.05, [&] { click(out.my_plus_button()); });
    after(0.15, [&] { click(out.my_plus_button()); });
    after(0.25, [&] { click(out.my_plus_button()); });
    poll_until([] { return driver::pending_actions() == 0; });
    poll_until([] { return false; }, 0.1);
    EXPECT_EQ(out.current_page, 2);
    EXPECT_EQ(lines(out.browser), (std::vector<std::string>{"o4"}));
    EXPECT_EQ(lamp_colours(out.lamps, 2), (std::vector<int>{FL_YELLOW, -1}));
}

TEST_F(Panels, LowOutputPanelsShowOneRow)
{
    for (int h : {101, 85, 60}) {
        OFD_simulator_output out(h, "low");
        EXPECT_EQ(out.rows_per_page, 1) << h;
        out.add("first");
        out.add("second");
        EXPECT_EQ(out.current_page, 1) << h; // the second alone on page 1
        EXPECT_EQ(lines(out.browser), (std::vector<std::string>{"second"})) << h;
        out.next_page();
        EXPECT_EQ(out.current_page, 1);
        out.previous_page();
        EXPECT_EQ(lines(out.browser), (std::vector<std::string>{"first"})) << h;
        EXPECT_GE(out.browser->h(), 0);
    }
}

TEST_F(Panels, EmbeddedPanelsSitAtTheirOffset)
{
    Fl_Window win(640, 565);
    OFD_simulator_input in(&win, 0, 565);
    OFD_simulator_output out(&win, 400, 565, "Outputs");
    win.end();
    EXPECT_EQ(in.window, &win);
    EXPECT_EQ(out.window, &win);
    EXPECT_EQ(out.x_offset, 400);
    EXPECT_EQ(in.signal_browser->parent(), &win);
    EXPECT_EQ(out.browser->x(), 420);
    EXPECT_EQ(out.lamps[0]->x(), 407);
    EXPECT_EQ(out.my_plus_button()->x(), 550);
    EXPECT_EQ(out.my_moins_button()->x(), 470);
    Fl_Widget* title = driver::labelled(&win, "Outputs");
    ASSERT_NE(title, nullptr);
    EXPECT_EQ(title->x(), 480);
    EXPECT_EQ(Fl_Group::current(), nullptr);
    EXPECT_EQ(out.rows_per_page, 30);
    for (int a = 0; a < 60; ++a) out.add("out" + std::to_string(a));
    EXPECT_EQ(out.current_page, 1);
    EXPECT_EQ(lines(out.browser).front(), "out30");
    EXPECT_EQ(lines(out.browser).back(), "out59");
    win.show();
    ASSERT_TRUE(poll_until([&] { return win.visible_r(); }));
    // the rows are the lamps' pitch: the whole page is in view, lamp r beside row r
    EXPECT_TRUE(poll_until([&] { return out.browser->displayed(1) != 0; }));
    EXPECT_TRUE(out.browser->displayed(30));
    EXPECT_EQ(out.lamps[29]->y(), 34 + 16 * 29);
    std::vector<int> values(60);
    for (int a = 0; a < 60; ++a) values[a] = a % 3;
    out.eval(values.data());
    EXPECT_EQ(out.lamps[0]->color(), FL_YELLOW); // output 30: value 0
    EXPECT_EQ(out.lamps[1]->color(), FL_BLUE);   // output 31: value 1
    EXPECT_EQ(out.lamps[2]->color(), FL_RED);    // output 32: value 2
    after(0.05, [&] { click(out.my_moins_button()); });
    ASSERT_TRUE(poll_until([&] { return out.current_page == 0; }));
    EXPECT_EQ(lines(out.browser).front(), "out0");
}

TEST_F(Panels, BddInputCubes)
{
    bddpp_manager m;
    bdd a = m.New_var_last("a"), b = m.New_var_last("b"), c = m.New_var_last("c");
    bddpp_manager other;
    bdd foreign = other.New_var_last("f");
    OFD_bdd_simulator_input in(&m, 250);
    ASSERT_TRUE(poll_until([&] { return in.window->visible_r(); }));
    int init = -1, quit = -1;
    auto step = [&] {
        bdd r;
        init = quit = 0;
        for (int i = 0; i < 2500 && r == bdd() && !init && !quit; ++i) {
            r = in.check(&init, &quit);
            g_usleep(1000);
        }
        return r;
    };
    // GO without a variable: constant 1
    after(0.1, [&] { click(in.go_button); });
    EXPECT_EQ(step(), m.Bdd_one());

    testing::internal::CaptureStderr();
    in.add(m.Bdd_one());
    in.add(m.Bdd_zero());
    in.add(foreign);
    std::string refused = testing::internal::GetCapturedStderr();
    EXPECT_EQ(refused,
              "ERROR in OFD_bdd_simulator_input::add(): a constant has no variable, nothing added\n"
              "ERROR in OFD_bdd_simulator_input::add(): a constant has no variable, nothing added\n"
              "ERROR in bddpp_manager::Bdd_if_index(): bdd of another manager or not initialized\n"
              "ERROR in OFD_bdd_simulator_input::add(): position -3 is no variable of the manager, nothing added\n");
    EXPECT_EQ(in.nb_inputs, 0);
    in.add(c);
    in.add(m.Bdd_and(a, b)); // its top variable a
    EXPECT_EQ(in.nb_inputs, 2);
    EXPECT_EQ(in.positions, (std::list<long>{2, 0}));
    EXPECT_STREQ(in.signal_browser->text(1), "c");
    EXPECT_STREQ(in.sticky_browser->text(2), "a");

    // c ticked and sticky, a ticked: c AND a; then a unticked, c kept
    after(0.1, [&] { tick(in.signal_browser, 1); });
    after(0.15, [&] { tick(in.signal_browser, 2); });
    after(0.2, [&] { tick(in.sticky_browser, 1); });
    after(0.3, [&] { click(in.go_button); });
    EXPECT_EQ(step(), m.Bdd_and(c, a));
    EXPECT_EQ(ticked(in.signal_browser), (std::vector<int>{1, 0}));
    after(0.1, [&] { click(in.go_button); });
    EXPECT_EQ(step(), m.Bdd_and(c, m.Bdd_not(a)));
    after(0.1, [&] { click(in.init_button); });
    EXPECT_EQ(step(), bdd());
    EXPECT_EQ(init, 1);
    EXPECT_EQ(ticked(in.signal_browser), (std::vector<int>{0, 0}));
    after(0.1, [&] { click(in.quit_button); });
    EXPECT_EQ(step(), bdd());
    EXPECT_EQ(quit, 1);
}

TEST_F(Panels, BddOutputColoursFromTheStateCube)
{
    bddpp_manager m;
    bdd a = m.New_var_last("a"), b = m.New_var_last("b"), c = m.New_var_last("c"), d = m.New_var_last("d");
    OFD_bdd_simulator_output out(&m, 117, "BDD outputs");
    ASSERT_TRUE(poll_until([&] { return out.window->visible_r(); }));
    EXPECT_EQ(out.state, m.Bdd_one());
    out.add(a);
    out.add(b);
    out.add(c);
    EXPECT_EQ(out.current_page, 1);
    EXPECT_EQ(lines(out.browser), (std::vector<std::string>{"c"}));
    EXPECT_EQ(lamp_colours(out.lamps, 2), (std::vector<int>{FL_RED, -1})); // constant 1: all 2

    out.bdds_eval(m.Bdd_and(m.Bdd_and(a, m.Bdd_not(b)), c));
    EXPECT_EQ(lamp_colours(out.lamps, 2), (std::vector<int>{FL_BLUE, -1}));
    after(0.05, [&] { click(out.my_moins_button()); });
    ASSERT_TRUE(poll_until([&] { return out.current_page == 0; }));
    EXPECT_EQ(lines(out.browser), (std::vector<std::string>{"a", "b"}));
    // the lamps of the page shown take their colours from the kept state
    EXPECT_EQ(lamp_colours(out.lamps, 2), (std::vector<int>{FL_BLUE, FL_YELLOW}));
    out.bdds_eval(m.Bdd_not(a)); // b absent from the cube
    EXPECT_EQ(lamp_colours(out.lamps, 2), (std::vector<int>{FL_YELLOW, FL_RED}));
    out.bdds_eval(m.Bdd_one());
    EXPECT_EQ(lamp_colours(out.lamps, 2), (std::vector<int>{FL_RED, FL_RED}));

    // refused: constants, another manager's state
    bddpp_manager other;
    bdd foreign = other.New_var_last("a");
    testing::internal::CaptureStderr();
    out.add(m.Bdd_zero());
    out.bdds_eval(foreign);
    out.bdds_eval(bdd());
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "ERROR in OFD_bdd_simulator_output::add(): a constant has no variable, nothing added\n"
              "ERROR in OFD_bdd_simulator_output::bdds_eval(): state of another manager or not initialized, lamps unchanged\n"
              "ERROR in OFD_bdd_simulator_output::bdds_eval(): state of another manager or not initialized, lamps unchanged\n");
    EXPECT_EQ(out.nb_outputs, 3);
    EXPECT_EQ(out.state, m.Bdd_one());

    // an output whose name is no longer a variable's name: its lamp is left alone
    m.Change_name_by_index(3, "renamed");
    out.add(d);
    EXPECT_EQ(lines(out.browser), (std::vector<std::string>{"c", "renamed"}));
    out.lamps[1]->color(FL_GREEN);
    out.bdds_eval(m.Bdd_and(c, d));
    EXPECT_EQ(lamp_colours(out.lamps, 2), (std::vector<int>{FL_BLUE, FL_GREEN}));

    // bdd_true: b holds wherever the kept state holds
    out.bdds_eval(m.Bdd_and(a, m.Bdd_not(b)));
    EXPECT_EQ(out.bdd_true(a), 1);
    EXPECT_EQ(out.bdd_true(m.Bdd_not(b)), 1);
    EXPECT_EQ(out.bdd_true(m.Bdd_or(a, c)), 1);
    EXPECT_EQ(out.bdd_true(b), 0);
    EXPECT_EQ(out.bdd_true(c), 0);
    EXPECT_EQ(out.bdd_true(m.Bdd_one()), 1);
}

} // namespace
