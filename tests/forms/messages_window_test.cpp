// The big message window and the wait window with real windows, answered from timeouts.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#define FL_INTERNALS // the wait window's exposure flag
#include <FL/Fl.H>
#include <FL/Fl_Button.H>
#include <FL/Fl_File_Input.H>
#include <FL/Fl_Multi_Browser.H>
#include <FL/Fl_Return_Button.H>
#include <FL/Fl_Window.H>
#include <FL/x.H>

#include "forms/formspp.h"
#include "tests/support/test_files.h"
#include "tests/support/window_driver.h"

namespace {

using driver::after;
using driver::click;
using driver::labelled;

class Messages : public driver::WindowTest {};

// Runs action on the modal window once it is shown and matches.
void when_modal(std::function<bool(Fl_Window*)> match, std::function<void(Fl_Window*)> action)
{
    after(0.05, [=] {
        Fl_Window* w = Fl::modal();
        if (w == nullptr || !w->shown() || !match(w)) {
            when_modal(match, action);
            return;
        }
        action(w);
    });
}

// Runs action on the modal window once it is shown and titled title.
void on_modal(const std::string& title, std::function<void(Fl_Window*)> action)
{
    when_modal([=](Fl_Window* w) { bool m = w->label() != nullptr && title == w->label(); return m; }, action);
}

Fl_Multi_Browser* browser_of(Fl_Window* w)
{
    return static_cast<Fl_Multi_Browser*>(
        driver::find_widget(w, [](Fl_Widget* x) { return dynamic_cast<Fl_Multi_Browser*>(x) != nullptr; }));
}

std::vector<std::string> lines_of(Fl_Window* w)
{
    std::vector<std::string> l;
    Fl_Multi_Browser* b = browser_of(w);
    for (int i = 1; b != nullptr && i <= b->size(); ++i) l.push_back(b->text(i));
    return l;
}

void press_quit(Fl_Window* messages)
{
    click(labelled(messages, "Quit"));
}

TEST_F(Messages, LinesOfTheText)
{
    struct { const char* text; std::vector<std::string> lines; } cases[] = {
        {"one\ntwo\nthree\n", {"one", "two", "three"}},
        {"one\n\ntwo", {"one", "", "two"}},
        {"", {""}},
        {"\n", {""}},
        {"alone", {"alone"}},
    };
    for (auto& c : cases) {
        std::vector<std::string> seen;
        int width = 0, height = 0;
        on_modal("Messages", [&](Fl_Window* w) {
            seen = lines_of(w);
            width = w->w();
            height = w->h();
            press_quit(w);
        });
        fl_show_Sbigmessages(c.text, 80);
        EXPECT_EQ(seen, c.lines) << c.text;
        EXPECT_EQ(width, 490);
        EXPECT_EQ(height, 570);
    }
}

TEST_F(Messages, LayoutOfTheWindow)
{
    bool checked = false;
    on_modal("Messages", [&](Fl_Window* w) {
        Fl_Multi_Browser* b = browser_of(w);
        ASSERT_NE(b, nullptr);
        EXPECT_EQ(b->x(), 5);
        EXPECT_EQ(b->y(), 10);
        EXPECT_EQ(b->w(), 360);
        EXPECT_EQ(b->h(), 500);
        Fl_Widget* quit = labelled(w, "Quit");
        Fl_Widget* save = labelled(w, "save");
        ASSERT_NE(quit, nullptr);
        ASSERT_NE(save, nullptr);
        EXPECT_EQ(quit->x(), 250);
        EXPECT_EQ(quit->y(), 530);
        EXPECT_EQ(save->x(), 80);
        EXPECT_EQ(save->w(), 50);
        EXPECT_EQ(save->h(), 30);
        checked = true;
        click(quit);
    });
    fl_show_Sbigmessages("x", 60);
    EXPECT_TRUE(checked);
}

// Presses "save" in the messages, answers the file selector with path, then runs next on the
// messages again.
// Clicks the button of w labelled label, and again every two seconds (five times at most)
// while w is still the modal window and done() is false: a loaded server can lose a click.
void click_until(Fl_Window* w, const char* label, std::function<bool()> done, int tries = 5)
{
    click(labelled(w, label));
    if (tries > 1)
        after(2.0, [=] {
            if (!done() && Fl::modal() == w) click_until(w, label, done, tries - 1);
        });
}

void save_as(const std::string& path, bool& selector_seen, std::function<void(Fl_Window*)> next)
{
    on_modal("Messages", [&selector_seen, path, next](Fl_Window* messages) {
        click_until(messages, "save", [&selector_seen] { return selector_seen; });
        on_modal("save message", [&selector_seen, path, next](Fl_Window* selector) {
            selector_seen = true;
            auto* name = static_cast<Fl_File_Input*>(driver::find_widget(
                selector, [](Fl_Widget* x) { return dynamic_cast<Fl_File_Input*>(x) != nullptr; }));
            ASSERT_NE(name, nullptr);
            name->value(path.c_str());
            // the selector's own OK, as its keyboard shortcut would
            Fl_Widget* ok = driver::find_widget(selector, [](Fl_Widget* x) {
                return dynamic_cast<Fl_Return_Button*>(x) != nullptr && x->visible_r();
            });
            ASSERT_NE(ok, nullptr);
            ok->do_callback();
            on_modal("Messages", next);
        });
    });
}

TEST_F(Messages, SaveWritesTheTextByteForByte)
{
    const std::string path = testing::TempDir() + "nelvor_messages_saved_" + std::to_string(getpid()) + ".txt";
    {
        std::ofstream old(path);
        old << "an older and much longer content that must go away entirely\n";
    }
    struct { const char* text; std::string bytes; } cases[] = {
        {"first line\n\n  indented %d @b\ttab\nlast line\n", "first line\n\n  indented %d @b\ttab\nlast line\n"},
        {"no final newline", "no final newline"},
        {"", ""},
    };
    for (auto& c : cases) {
        bool selector_seen = false;
        save_as(path, selector_seen, press_quit);
        fl_show_Sbigmessages(c.text, 80);
        EXPECT_TRUE(selector_seen);
        EXPECT_EQ(test_files::read(path), c.bytes);
    }
    std::remove(path.c_str());
}

TEST_F(Messages, CancelledSelectorSavesNothing)
{
    bool cancelled = false;
    on_modal("Messages", [&](Fl_Window* messages) {
        click(labelled(messages, "save"));
        on_modal("save message", [&](Fl_Window* selector) {
            Fl_Widget* cancel = labelled(selector, "Cancel");
            ASSERT_NE(cancel, nullptr);
            cancel->do_callback();
            cancelled = true;
            on_modal("Messages", press_quit);
        });
    });
    fl_show_Sbigmessages("kept nowhere\n", 80);
    EXPECT_TRUE(cancelled);
}

// The modal alert whose text begins with "cannot save".
bool is_save_report(Fl_Window* w)
{
    return driver::find_widget(w, [](Fl_Widget* x) {
               return x->label() != nullptr && std::string(x->label()).find("cannot save") == 0;
           }) != nullptr;
}

TEST_F(Messages, FailedSaveIsReportedAndTheWindowStays)
{
    struct { std::string path, report; } cases[] = {
        {"/nonexistent_nelvor_dir/out.txt",
         "cannot save the messages in /nonexistent_nelvor_dir/out.txt: No such file or directory"},
        {"/dev/full", "cannot save the messages in /dev/full: No space left on device"},
    };
    for (auto& c : cases) {
        bool selector_seen = false;
        std::string report;
        bool still_open = false;
        // the report comes over the messages: read it, close it, then look at the messages
        save_as(c.path, selector_seen, [](Fl_Window*) {});
        when_modal(is_save_report, [&](Fl_Window* alert) {
            Fl_Widget* text = driver::find_widget(alert, [](Fl_Widget* x) {
                return x->label() != nullptr && std::string(x->label()).find("cannot save") == 0;
            });
            report = text->label();
            alert->do_callback(); // the alert closed
            on_modal("Messages", [&](Fl_Window* messages) {
                still_open = messages->shown();
                press_quit(messages);
            });
        });
        fl_show_Sbigmessages("some text\n", 80);
        EXPECT_TRUE(selector_seen) << c.path;
        EXPECT_EQ(report, c.report);
        EXPECT_TRUE(still_open) << c.path;
    }
}

TEST_F(Messages, WindowManagerCloseEndsTheMessages)
{
    for (int width : {80, 5, 0, -3}) {
        int seen_width = 0;
        on_modal("Messages", [&](Fl_Window* w) {
            seen_width = w->w();
            driver::wm_close(w);
        });
        fl_show_Sbigmessages("closed by the window manager\n", width);
        EXPECT_EQ(seen_width, width > 0 ? 6 * width + 10 : 10) << width;
    }
}

// The number of dark pixels of the window's area as the server holds it.
int dark_pixels_on_screen(Fl_Window* w)
{
    XImage* image = XGetImage(fl_display, fl_xid(w), 0, 0, w->w(), w->h(), AllPlanes, ZPixmap);
    if (image == nullptr) return -1;
    int dark = 0;
    for (int y = 0; y < w->h(); ++y)
        for (int x = 0; x < w->w(); ++x) {
            unsigned long p = XGetPixel(image, x, y);
            unsigned r = (p >> 16) & 0xff, g = (p >> 8) & 0xff, b = p & 0xff;
            if (r + g + b < 150) ++dark;
        }
    XDestroyImage(image);
    return dark;
}

TEST_F(Messages, WaitWindowIsDrawnWhenTheConstructorReturns)
{
    for (int i = 0; i < 3; ++i) {
        auto* wait = new OFD_wait_form("Computing the reachable states, please wait");
        Fl_Window* window = wait->window;
        ASSERT_NE(window, nullptr);
        EXPECT_TRUE(window->shown());
        EXPECT_STREQ(window->label(), "travail en cours ...");
        EXPECT_EQ(window->w(), 600);
        EXPECT_EQ(window->h(), 60);
        EXPECT_EQ(window->box(), FL_NO_BOX);
        EXPECT_STREQ(wait->text->label(), "Computing the reachable states, please wait");
        EXPECT_EQ(wait->text->align(), FL_ALIGN_INSIDE);
        EXPECT_EQ(wait->text->labelsize(), FL_NORMAL_SIZE);
        EXPECT_EQ(wait->unused_a, 0);
        EXPECT_EQ(wait->unused_b, 0);
        // nothing polls the toolkit now, as in the caller's long work
        EXPECT_EQ(Fl_X::i(window)->wait_for_expose, 0);
        EXPECT_EQ(window->damage(), 0);
        EXPECT_GT(dark_pixels_on_screen(window), 50); // the text is on the screen
        delete wait;
        EXPECT_FALSE(window->shown());
    }
}

} // namespace
