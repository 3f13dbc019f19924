// The dialogs and widget wrappers with real windows; each dialog is answered by a timeout.
#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
#include <functional>
#include <unistd.h>

// before the toolkit's Forms header, whose macros would rename the engine's parameters
#include "automaton/b_automaton.h"

#include <FL/Fl.H>
#include <FL/Fl_Browser.H>
#include <FL/Fl_Button.H>
#include <FL/Fl_Image_Surface.H>
#include <FL/Fl_Input.H>
#include <FL/Fl_Return_Button.H>
#include <FL/Fl_Window.H>
#include <FL/fl_ask.H>
#include <FL/fl_draw.H>
#include <FL/forms.H>

#include "forms/formspp.h"

namespace {

std::function<void(Fl_Window*)> answer; // what the pending dialog is answered with
int dialogs_seen = 0;                   // dialogs answered so far

// The first widget under g (g included) that satisfies the test, or null.
Fl_Widget* find_widget(Fl_Widget* w, const std::function<bool(Fl_Widget*)>& test)
{
    if (test(w)) return w;
    Fl_Group* g = w->as_group();
    for (int i = 0; g != nullptr && i < g->children(); ++i)
        if (Fl_Widget* found = find_widget(g->child(i), test)) return found;
    return nullptr;
}

Fl_Widget* labelled(Fl_Window* w, const std::string& label)
{
    return find_widget(w, [&](Fl_Widget* x) { return x->label() != nullptr && label == x->label(); });
}

// Waits for the dialog window, then answers it once.
void answer_dialog(void*)
{
    Fl_Window* w = Fl::modal();
    if (w == nullptr || !w->shown()) {
        Fl::repeat_timeout(0.02, answer_dialog);
        return;
    }
    ++dialogs_seen;
    answer(w);
}

// Arms the answer of the next dialog.
void next_dialog(std::function<void(Fl_Window*)> a)
{
    answer = std::move(a);
    Fl::add_timeout(0.05, answer_dialog);
}

void close_window(Fl_Window* w)
{
    w->do_callback(); // what the window manager's close does
}

void press(Fl_Widget* button)
{
    ASSERT_NE(button, nullptr);
    button->do_callback();
}

class Window : public testing::Test {
protected:
    void SetUp() override
    {
        const char* d = std::getenv("DISPLAY");
        if (d == nullptr || *d == '\0') GTEST_SKIP() << "no display: run under xvfb-run";
        ASSERT_TRUE(forms_display_available());
        alarm(60); // a dialog left open ends the program instead of hanging it
        dialogs_seen = 0;
    }
    void TearDown() override { alarm(0); }
};

TEST_F(Window, MessagesShowFormatCharactersLiterally)
{
    const char* texts[] = {"value %d of %s", "file x.blif not found"};
    for (const char* text : texts) {
        bool shown = false;
        next_dialog([&](Fl_Window* w) {
            shown = labelled(w, text) != nullptr;
            close_window(w);
        });
        testing::internal::CaptureStderr();
        fl_show_Smessages(text);
        EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
        EXPECT_TRUE(shown) << text;
    }
    bool shown = false;
    next_dialog([&](Fl_Window* w) {
        shown = labelled(w, "50% %s") != nullptr;
        close_window(w);
    });
    fl_show_Salert("50% %s");
    EXPECT_TRUE(shown);
    EXPECT_EQ(dialogs_seen, 3);
}

TEST_F(Window, QuestionAnswers)
{
    next_dialog(close_window);
    EXPECT_EQ(fl_show_Squestion("go on ?", 0), 0);
    next_dialog([](Fl_Window* w) { press(labelled(w, fl_yes)); });
    EXPECT_EQ(fl_show_Squestion("go on ?", 0), 1);
    next_dialog([](Fl_Window* w) { press(labelled(w, fl_no)); });
    EXPECT_EQ(fl_show_Squestion("%s ?", 0), 0);
    EXPECT_EQ(dialogs_seen, 3);
}

// Answers an input box: checks the offered text, types the answer, presses OK (or cancels).
void type_into(const std::string& offered, const char* typed, bool ok, bool& offered_seen)
{
    next_dialog([=, &offered_seen](Fl_Window* w) {
        Fl_Widget* in = find_widget(w, [](Fl_Widget* x) { return dynamic_cast<Fl_Input*>(x) != nullptr; });
        Fl_Input* input = static_cast<Fl_Input*>(in);
        offered_seen = input != nullptr && offered == input->value();
        if (input != nullptr) input->value(typed);
        if (ok) press(find_widget(w, [](Fl_Widget* x) { return dynamic_cast<Fl_Return_Button*>(x) != nullptr; }));
        else close_window(w);
    });
}

TEST_F(Window, InputsReturnTheTextOrTheDefault)
{
    bool seen = false;
    type_into("abc", "xyz", true, seen);
    EXPECT_EQ(fl_show_Sinput("name %s:", "abc"), "xyz");
    EXPECT_TRUE(seen);
    type_into("abc", "xyz", false, seen);
    EXPECT_EQ(fl_show_Sinput("name:", "abc"), "");
    type_into("42", "17", true, seen);
    EXPECT_EQ(fl_show_int("count:", 42), 17);
    EXPECT_TRUE(seen);
    type_into("42", "17", false, seen);
    EXPECT_EQ(fl_show_int("count:", 42), 42);
    type_into("0.500000", "2.75", true, seen);
    EXPECT_EQ(fl_show_double("ratio:", 0.5), 2.75);
    EXPECT_TRUE(seen);
    type_into("0.500000", "", false, seen);
    EXPECT_EQ(fl_show_double(std::string("ratio:"), 0.5), 0.5);
    EXPECT_EQ(dialogs_seen, 6);
}

TEST_F(Window, CreditsBox)
{
    bool shown = false;
    next_dialog([&](Fl_Window* w) {
        shown = labelled(w, "nelvor, written by the nelvor author\n\nLaboratoire des circuits synchrones, Universite") != nullptr;
        close_window(w);
    });
    fl_show_ms();
    EXPECT_TRUE(shown);
}

TEST_F(Window, LabelsAndTextObjects)
{
    Fl_Window win(200, 100);
    Fl_Button b(10, 10, 50, 20);
    struct { int n; const char* label; } cases[] = {{3, "abc"}, {9, "abcdef"}, {6, "abcdef"}, {-1, "abcdef"}, {0, ""}};
    for (auto& c : cases) {
        fl_set_object_Slabel(&b, "abcdef", c.n);
        EXPECT_STREQ(b.label(), c.label) << c.n;
    }
    Fl_Widget* t = fl_add_Stext(FL_FLAT_BOX, 1, 2, 30, 40, "text %d");
    win.end();
    EXPECT_STREQ(t->label(), "text %d");
    EXPECT_EQ(t->box(), FL_FLAT_BOX);
    EXPECT_EQ(t->align(), FL_ALIGN_LEFT);
    EXPECT_EQ(t->x(), 1);
    EXPECT_EQ(t->h(), 40);
    EXPECT_EQ(t->parent(), &win);
}

TEST_F(Window, InputsAndBrowsers)
{
    Fl_Window win(300, 200);
    Fl_Input input(50, 10, 100, 20);
    Fl_Browser browser(10, 40, 200, 150);
    win.end();
    fl_set_Sinput(&input, "typed");
    EXPECT_STREQ(input.value(), "typed");
    EXPECT_EQ(fl_add_browser_Sline_if_new(&browser, "one"), 1);
    EXPECT_EQ(fl_add_browser_Sline_if_new(&browser, "one"), 0);
    fl_add_browser_Sline(&browser, "two");
    EXPECT_EQ(fl_add_browser_Sline_if_new(&browser, "tw"), 1);
    EXPECT_EQ(browser.size(), 3);
    fl_replace_browser_Sline(&browser, 2, "deux");
    EXPECT_STREQ(browser.text(1), "one");
    EXPECT_STREQ(browser.text(2), "deux");
    EXPECT_STREQ(browser.text(3), "tw");
    EXPECT_EQ(fl_add_browser_Sline_if_new(&browser, "two"), 1);
}

// The number of dark pixels after drawing the text on white.
int dark_pixels(const std::string& text, int size)
{
    Fl_Image_Surface surface(80, 30);
    surface.set_current();
    fl_color(FL_WHITE);
    fl_rectf(0, 0, 80, 30);
    fl_drw_String(FL_ALIGN_CENTER, 0, 0, 80, 30, FL_BLACK, size, FL_HELVETICA_BOLD, text);
    EXPECT_EQ(fl_font(), FL_HELVETICA_BOLD);
    EXPECT_EQ(fl_size(), size);
    EXPECT_EQ(fl_color(), FL_BLACK);
    Fl_RGB_Image* image = surface.image();
    Fl_Display_Device::display_device()->set_current();
    int dark = 0;
    const unsigned char* p = image->array;
    for (int i = 0; i < image->w() * image->h(); ++i, p += image->d())
        if (p[0] < 128) ++dark;
    delete image;
    return dark;
}

TEST_F(Window, DrawsStringsWithFontThenSize)
{
    EXPECT_EQ(dark_pixels("", 14), 0);
    EXPECT_GT(dark_pixels("Hi", 14), 0);
}

// The verbose step of an automaton shows its report in the message window, once, and nothing on
// the standard error stream. With NELVOR_SCREENSHOTS set to a directory, the screen is saved
// there while the window is open (step_report.png), for a look.
TEST_F(Window, StepReportIsShownInTheMessageWindow)
{
    b_autom_dec* dec = new b_autom_dec({}, {}, std::list<std::string>{"x", "y"}, std::list<std::string>{"z"}, {});
    bddpp_manager* m = dec->manager_associe();
    new Bddexpression(dec->wood, m->Bdd_var_by_name("z"), m->Bdd_and(m->Bdd_var_by_name("x"), m->Bdd_var_by_name("y")),
                      0, 0);
    b_automaton a(dec, nullptr, m->Bdd_one(), m->Bdd_zero());
    delete dec;
    const std::string report = "ERROR IN EVALUATION: \n\n because the variable z  depends on y\n\n"
                               " and I don't know how to evaluate it!\n";
    bool shown = false;
    next_dialog([&](Fl_Window* w) {
        shown = labelled(w, report) != nullptr;
        const char* shots = std::getenv("NELVOR_SCREENSHOTS");
        if (shots != nullptr && *shots != '\0') {
            for (int k = 0; k < 20; ++k) Fl::check();
            std::string command = std::string("xwd -root -silent | convert xwd:- '") + shots + "/step_report.png'";
            EXPECT_EQ(std::system(command.c_str()), 0);
        }
        close_window(w);
    });
    int src[3] = {2, 1, 2}, dst[3];
    testing::internal::CaptureStderr();
    EXPECT_EQ(a.evaluation_etat_suivant(src, 1, dst), 0);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
    EXPECT_TRUE(shown);
    EXPECT_EQ(dialogs_seen, 1);
}

} // namespace
