// Drives real windows from timeouts: clicks and window-manager closes sent through the X server,
// actions run later inside the toolkit's polls, and a watchdog that hides every window.
#ifndef NELVOR_TESTS_WINDOW_DRIVER_H
#define NELVOR_TESTS_WINDOW_DRIVER_H

#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
#include <functional>
#include <string>
#include <unistd.h>

#include <FL/Fl.H>
#include <FL/Fl_Window.H>
#include <FL/x.H>

#include "utils/g_time.h"

namespace driver {

// The first widget under w (w included) that satisfies the test, or null.
inline Fl_Widget* find_widget(Fl_Widget* w, const std::function<bool(Fl_Widget*)>& test)
{
    if (w == nullptr) return nullptr;
    if (test(w)) return w;
    Fl_Group* g = w->as_group();
    for (int i = 0; g != nullptr && i < g->children(); ++i)
        if (Fl_Widget* found = find_widget(g->child(i), test)) return found;
    return nullptr;
}

inline Fl_Widget* labelled(Fl_Widget* w, const std::string& label)
{
    return find_widget(w, [&](Fl_Widget* x) { return x->label() != nullptr && label == x->label(); });
}

inline int& pending_actions()
{
    static int n = 0; // actions armed and not yet run
    return n;
}

inline void run_action(void* data)
{
    auto* action = static_cast<std::function<void()>*>(data);
    --pending_actions();
    (*action)();
    delete action;
}

// Runs action once, seconds from now, inside whatever poll of the toolkit comes then.
inline void after(double seconds, std::function<void()> action)
{
    ++pending_actions();
    Fl::add_timeout(seconds, run_action, new std::function<void()>(std::move(action)));
}

// Waits (polling the toolkit) until test holds, for at most about seconds; returns test().
inline bool poll_until(const std::function<bool()>& test, double seconds = 5)
{
    for (int i = 0; i < seconds * 500 && !test(); ++i) {
        Fl::check();
        g_usleep(1000);
    }
    return test();
}

// A press and a release of the first mouse button at (x, y) of the window, as the server
// would deliver them.
inline void click_at(Fl_Window* w, int x, int y)
{
    XEvent e{};
    e.xbutton.display = fl_display;
    e.xbutton.window = fl_xid(w);
    e.xbutton.root = RootWindow(fl_display, fl_screen);
    e.xbutton.x = x;
    e.xbutton.y = y;
    e.xbutton.x_root = w->x() + x;
    e.xbutton.y_root = w->y() + y;
    e.xbutton.button = Button1;
    e.xbutton.same_screen = True;
    static Time time = 1;
    time += 1000; // a second apart: never a double click
    e.xbutton.time = time;
    e.type = ButtonPress;
    XSendEvent(fl_display, fl_xid(w), False, 0, &e);
    e.type = ButtonRelease;
    e.xbutton.state = Button1Mask;
    e.xbutton.time = time + 50;
    XSendEvent(fl_display, fl_xid(w), False, 0, &e);
    XFlush(fl_display);
}

// A click in the middle of the widget.
inline void click(Fl_Widget* widget)
{
    ASSERT_NE(widget, nullptr);
    Fl_Window* w = widget->window();
    ASSERT_NE(w, nullptr);
    click_at(w, widget->x() + widget->w() / 2, widget->y() + widget->h() / 2);
}

// The window manager's close: WM_DELETE_WINDOW from the WM_PROTOCOLS message.
inline void wm_close(Fl_Window* w)
{
    XEvent e{};
    e.xclient.type = ClientMessage;
    e.xclient.display = fl_display;
    e.xclient.window = fl_xid(w);
    e.xclient.message_type = XInternAtom(fl_display, "WM_PROTOCOLS", False);
    e.xclient.format = 32;
    e.xclient.data.l[0] = static_cast<long>(XInternAtom(fl_display, "WM_DELETE_WINDOW", False));
    e.xclient.data.l[1] = CurrentTime;
    XSendEvent(fl_display, fl_xid(w), False, 0, &e);
    XFlush(fl_display);
}

// Hides every window: a loop waiting on one of them then ends.
inline void hide_all(void*)
{
    while (Fl_Window* w = Fl::first_window()) w->hide();
}

// Skips without a display; otherwise arms the watchdog (every window hidden after 20 s) and, as
// a last resort, an alarm that ends the program.
class WindowTest : public testing::Test {
protected:
    void SetUp() override
    {
        const char* d = std::getenv("DISPLAY");
        if (d == nullptr || *d == '\0') GTEST_SKIP() << "no display: run under xvfb-run";
        fl_open_display();
        Fl::add_timeout(20, hide_all);
        alarm(60);
    }
    void TearDown() override
    {
        Fl::remove_timeout(hide_all);
        Fl::remove_timeout(run_action); // actions left over: none may reach the next test
        pending_actions() = 0;
        alarm(0);
        hide_all(nullptr);
        while (Fl::readqueue() != nullptr) {}
    }
};

} // namespace driver

#endif
