// The report viewer's window under a display: labels, paging, go-to-page, both exports, the
// viewer command, the window's close. Every run is driven by timeouts and ends under an alarm.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include <sys/stat.h>
#include <unistd.h>

#include <FL/Fl.H>
#include <FL/Fl_Browser.H>
#include <FL/Fl_Button.H>
#include <FL/Fl_Input.H>
#include <FL/Fl_Window.H>
#include <FL/fl_draw.H>
#include <FL/forms.H>

#include "forms/formspp.h"
#include "tests/support/test_files.h"

namespace {

using test_files::exists;
using test_files::read;
using test_files::write;

// One step of a scripted run: either on the viewer's window or on a dialog it opened.
struct step {
    bool dialog;
    std::function<void(Fl_Window*)> run;
};

std::vector<step> script;
std::size_t next_step = 0;
OFD_afficheur* running = nullptr; // the viewer the script drives
long passes = 0;                  // polling passes completed
long pass_of_last_step = -1;      // passes completed when the last step ran

void count_pass(void*)
{
    ++passes;
}

// Plays the next step once the previous one has had a whole pass of the viewer's loop: a late
// timer may fire twice in one pass, before the loop took the last pressed button from the queue.
void play(void*)
{
    Fl::repeat_timeout(0.04, play);
    if (next_step >= script.size() || passes == pass_of_last_step) return;
    step& s = script[next_step];
    Fl_Window* modal = Fl::modal();
    // the viewer's own window is modal too
    bool dialog_up = modal != nullptr && modal != running->window && modal->shown();
    bool ready = s.dialog ? dialog_up : !dialog_up && running->window->shown();
    if (!ready) return;
    ++next_step;
    pass_of_last_step = passes;
    s.run(modal);
}

// Runs the viewer over the lines while the steps are played; all steps must have run.
void run_viewer(OFD_afficheur& v, std::vector<std::string> lines, const std::string& title,
                const std::string& viewer, std::vector<step> steps)
{
    script = std::move(steps);
    next_step = 0;
    running = &v;
    Fl::add_timeout(0.1, play);
    Fl::add_check(count_pass);
    std::string none; // an array of no lines is still an array, never null
    v.activation(lines.empty() ? &none : lines.data(), static_cast<int>(lines.size()), title, viewer);
    Fl::remove_timeout(play);
    Fl::remove_check(count_pass);
    EXPECT_EQ(next_step, script.size()) << "steps left when the run ended";
}

step press(Fl_Button* OFD_afficheur::*button)
{
    return {false, [button](Fl_Window*) { (running->*button)->do_callback(); }};
}

step go_to(const std::string& typed)
{
    return {false, [typed](Fl_Window*) {
                running->page_input->value(typed.c_str());
                running->go_button->do_callback();
            }};
}

step check(std::function<void()> f)
{
    return {false, [f](Fl_Window*) { f(); }};
}

// Closes the dialog after checking its text.
step answer(const std::string& text)
{
    return {true, [text](Fl_Window* w) {
                bool found = false;
                std::function<void(Fl_Widget*)> look = [&](Fl_Widget* x) {
                    if (x->label() != nullptr && text == x->label()) found = true;
                    Fl_Group* g = x->as_group();
                    for (int i = 0; g != nullptr && i < g->children(); ++i) look(g->child(i));
                };
                look(w);
                EXPECT_TRUE(found) << "no dialog saying: " << text;
                w->do_callback();
            }};
}

std::vector<std::string> browser_lines()
{
    std::vector<std::string> r;
    for (int i = 1; i <= running->browser->size(); ++i) r.push_back(running->browser->text(i));
    return r;
}

// A report of n text lines "line k#...", under two columns, with a rule line every 20th.
std::vector<std::string> report(int n)
{
    std::vector<std::string> r = {"#C T8 T12 T"};
    for (int k = 1; k <= n; ++k) r.push_back(k % 20 == 0 ? "#T" : "line " + std::to_string(k) + "#|cell " + std::to_string(k));
    return r;
}

// The browser line of report line k.
std::string shown_line(int k)
{
    if (k % 20 == 0) return "@f@S14 " + std::string(20, '-');
    std::string cell = "line " + std::to_string(k);
    cell.resize(8, ' ');
    return "@f@S14 " + cell + "|cell " + std::to_string(k);
}

class Viewer : public test_files::scratch_directory_test {
protected:
    Fl_Window* parent = nullptr;
    void SetUp() override
    {
        const char* d = std::getenv("DISPLAY");
        if (d == nullptr || *d == '\0') GTEST_SKIP() << "no display: run under xvfb-run";
        ASSERT_TRUE(forms_display_available());
        alarm(90); // a run left open ends the program instead of hanging it
        ASSERT_NO_FATAL_FAILURE(enter("nelvor_viewer_"));
        parent = new Fl_Window(200, 100, "parent");
        parent->end();
        parent->show();
    }
    void TearDown() override
    {
        delete parent;
        if (!home.empty()) leave();
        alarm(0);
    }
};

TEST_F(Viewer, WindowAndLabelsInBothLanguages)
{
    OFD_afficheur fr(parent, 0), en(parent, 1);
    struct { Fl_Button* OFD_afficheur::*w; const char* french; const char* english; } labels[] = {
        {&OFD_afficheur::next_button, "page suivante", "next page"},
        {&OFD_afficheur::previous_button, "page precedente", "previous page"},
        {&OFD_afficheur::cancel_button, "ANNULER", "CANCEL"},
        {&OFD_afficheur::pdf_button, "fichier pdf", "pdf file"},
        {&OFD_afficheur::text_button, "fichier texte", "text file"},
    };
    for (auto& l : labels) {
        EXPECT_STREQ((fr.*l.w)->label(), l.french);
        EXPECT_STREQ((en.*l.w)->label(), l.english);
        EXPECT_EQ((fr.*l.w)->labelfont(), 8);
        EXPECT_EQ((fr.*l.w)->labelsize(), 14);
    }
    EXPECT_EQ(fr.window->w(), 920);
    EXPECT_EQ(fr.window->h(), 700);
    EXPECT_FALSE(fr.window->shown());
    struct { Fl_Widget* w; int x, y, wi, h; } places[] = {
        {fr.browser, 10, 50, 910, 570},      {fr.title, 280, 20, 310, 20},        {fr.page_label, 80, 20, 120, 20},
        {fr.next_button, 300, 630, 120, 20}, {fr.previous_button, 300, 660, 120, 20},
        {fr.cancel_button, 40, 630, 90, 50}, {fr.pdf_button, 500, 630, 100, 50}, {fr.text_button, 750, 630, 100, 50},
        {fr.page_input, 150, 645, 40, 20},   {fr.go_button, 190, 645, 20, 20},
    };
    for (auto& p : places) {
        EXPECT_EQ(p.w->x(), p.x);
        EXPECT_EQ(p.w->y(), p.y);
        EXPECT_EQ(p.w->w(), p.wi);
        EXPECT_EQ(p.w->h(), p.h);
        EXPECT_EQ(p.w->window(), fr.window);
    }
    EXPECT_EQ(fr.browser->type(), FL_HOLD_BROWSER);
    EXPECT_EQ(fr.browser->box(), FL_DOWN_BOX);
    EXPECT_EQ(fr.title->labelfont(), 1);
    EXPECT_EQ(fr.title->labelsize(), 14);
    EXPECT_EQ(fr.page_label->align(), FL_ALIGN_LEFT);
}

// Reads the viewer's window back as an RGB image; saved as PPM when NELVOR_SCREENSHOT_DIR is set.
int dark_pixels_of_browser(const std::string& name)
{
    Fl_Window* w = running->window;
    Fl::flush();
    w->make_current();
    uchar* rgb = fl_read_image(nullptr, 0, 0, w->w(), w->h());
    if (rgb == nullptr) return -1;
    if (const char* out = std::getenv("NELVOR_SCREENSHOT_DIR")) {
        std::ofstream f(std::string(out) + "/" + name + ".ppm", std::ios::binary);
        f << "P6\n" << w->w() << " " << w->h() << "\n255\n";
        f.write(reinterpret_cast<const char*>(rgb), 3 * w->w() * w->h());
    }
    int dark = 0;
    for (int y = 55; y < 615; ++y)
        for (int x = 15; x < 900; ++x)
            if (rgb[3 * (y * w->w() + x)] < 100) ++dark;
    delete[] rgb;
    return dark;
}

TEST_F(Viewer, PagingAndGoToPage)
{
    OFD_afficheur v(parent, 0);
    std::vector<std::string> lines = report(160); // pages of lines 1-77, 78-154, 155-160
    std::vector<std::string> first = {""}, second, third; // the layout line shows as an empty line
    for (int k = 1; k <= 77; ++k) first.push_back(shown_line(k));
    for (int k = 78; k <= 154; ++k) second.push_back(shown_line(k));
    for (int k = 155; k <= 160; ++k) third.push_back(shown_line(k));
    auto on_page = [&](const std::string& label, const std::string& input, const std::vector<std::string>& shown) {
        return check([=] {
            EXPECT_STREQ(running->page_label->label(), label.c_str());
            EXPECT_STREQ(running->page_input->value(), input.c_str());
            EXPECT_EQ(browser_lines(), shown);
            EXPECT_FALSE(parent->active());
        });
    };
    run_viewer(v, lines, "Rapport de simulation", "",
               {on_page("page 1 / 3    ", "1", first),
                check([&] {
                    EXPECT_STREQ(running->title->label(), "Rapport de simulation");
                    EXPECT_GT(dark_pixels_of_browser("viewer_page1"), 0);
                }),
                press(&OFD_afficheur::previous_button), on_page("page 1 / 3    ", "1", first),
                press(&OFD_afficheur::next_button), on_page("page 2 / 3    ", "2", second),
                check([&] { EXPECT_GT(dark_pixels_of_browser("viewer_page2"), 0); }),
                press(&OFD_afficheur::next_button), on_page("page 3 / 3    ", "3", third),
                press(&OFD_afficheur::next_button), on_page("page 3 / 3    ", "3", third),
                press(&OFD_afficheur::previous_button), on_page("page 2 / 3    ", "2", second),
                go_to("1"), on_page("page 1 / 3    ", "1", first),
                go_to("3"), on_page("page 3 / 3    ", "3", third),
                // outside the report: ignored, the typed text stays
                go_to("4"), on_page("page 3 / 3    ", "4", third),
                go_to("0"), on_page("page 3 / 3    ", "0", third),
                go_to("abc"), on_page("page 3 / 3    ", "abc", third),
                go_to("2"), on_page("page 2 / 3    ", "2", second),
                press(&OFD_afficheur::cancel_button)});
    EXPECT_FALSE(v.window->shown());
    EXPECT_TRUE(parent->active());
    EXPECT_EQ(v.display, nullptr);
}

TEST_F(Viewer, EmptyReportLongLinesAndLists)
{
    OFD_afficheur v(parent, 1);
    std::string title(100, 't');
    title.replace(0, 7, "Rapport");
    run_viewer(v, {}, title, "",
               {check([&] {
                    EXPECT_EQ(std::string(running->title->label()), title.substr(0, 81));
                    EXPECT_STREQ(running->page_label->label(), "page 1 / 1    ");
                    EXPECT_EQ(running->browser->size(), 0);
                }),
                press(&OFD_afficheur::cancel_button)});
    // a browser line longer than 160 characters goes on over several
    std::string cell(300, 'x');
    for (int i = 0; i < 300; ++i) cell[i] = static_cast<char>('a' + i % 26);
    std::string shown = "@f@S14 " + cell.substr(0, 200);
    run_viewer(v, {"#C 200 ", cell, "#T"}, "long", "",
               {check([&] {
                    EXPECT_EQ(browser_lines(), (std::vector<std::string>{"", shown.substr(0, 160), shown.substr(160),
                                                                         "@f@S14 " + std::string(153, '-'),
                                                                         std::string(47, '-')}));
                }),
                press(&OFD_afficheur::cancel_button)});
    // a list is viewed as its copy; an empty list shows nothing
    std::list<std::string> list = {"#C 3 ", "abcdef"};
    script = {check([] { EXPECT_EQ(browser_lines(), (std::vector<std::string>{"", "@f@S14 abc"})); }),
              press(&OFD_afficheur::cancel_button)};
    next_step = 0;
    running = &v;
    Fl::add_timeout(0.1, play);
    Fl::add_check(count_pass);
    v.activation(list, "list", "");
    Fl::remove_timeout(play);
    Fl::remove_check(count_pass);
    EXPECT_EQ(next_step, script.size());
    std::list<std::string> none;
    v.activation(none, "none", "");
    EXPECT_TRUE(parent->active());
    EXPECT_FALSE(v.window->shown());
}

TEST_F(Viewer, ClosingTheWindowLeavesTheRun)
{
    OFD_afficheur v(parent, 0);
    run_viewer(v, report(10), "close", "", {check([] { running->window->do_callback(); })});
    EXPECT_FALSE(v.window->shown());
    EXPECT_TRUE(parent->active());
    // hidden some other way: the run ends too
    run_viewer(v, report(10), "hide", "", {check([] { running->window->hide(); })});
    EXPECT_TRUE(parent->active());
}

const char* text_export = "-------------------------------------------------------\n"
                          "a#b(c)\\\n"
                          "-------------------------------------------------------\n"
                          "#x\n";

TEST_F(Viewer, TextAndPdfExportsAreAnnounced)
{
    OFD_afficheur fr(parent, 0), en(parent, 1);
    std::vector<std::string> lines = {"#C 4 4 ", "a#b(c)\\", "#T", "#x"};
    write("elsewhere.txt", "keep");
    ASSERT_EQ(symlink("elsewhere.txt", "tmp.txt"), 0);
    run_viewer(fr, lines, "exports", "",
               {press(&OFD_afficheur::text_button), answer("generation du fichier tmp.txt"),
                press(&OFD_afficheur::pdf_button), answer("generation du fichier tmp.pdf"),
                press(&OFD_afficheur::cancel_button)});
    EXPECT_EQ(read("tmp.txt"), text_export);
    EXPECT_EQ(read("elsewhere.txt"), "keep"); // the link was replaced, not followed
    OFD_afficheur_filtre_impression p(lines.data(), static_cast<int>(lines.size()));
    std::ostringstream pdf;
    p.imprime_pdf(pdf);
    EXPECT_EQ(read("tmp.pdf"), pdf.str());
    ASSERT_EQ(unlink("tmp.txt"), 0);
    run_viewer(en, lines, "exports", "",
               {press(&OFD_afficheur::text_button), answer("generation of tmp.txt file"),
                press(&OFD_afficheur::pdf_button), answer("generation of tmp.pdf file"),
                press(&OFD_afficheur::cancel_button)});
    EXPECT_EQ(read("tmp.txt"), text_export);
}

TEST_F(Viewer, FilesThatCannotBeWrittenAreReported)
{
    OFD_afficheur fr(parent, 0), en(parent, 1);
    ASSERT_EQ(mkdir("tmp.txt", 0755), 0);
    ASSERT_EQ(mkdir("tmp.pdf", 0755), 0);
    std::string viewer = script_file("viewer", "touch ran\n");
    run_viewer(fr, report(3), "unwritable", viewer,
               {press(&OFD_afficheur::text_button),
                answer("impossible d'ecrire le fichier tmp.txt : Is a directory"),
                press(&OFD_afficheur::pdf_button),
                answer("impossible d'ecrire le fichier tmp.pdf : Is a directory"),
                press(&OFD_afficheur::cancel_button)});
    run_viewer(en, report(3), "unwritable", "",
               {press(&OFD_afficheur::text_button),
                answer("cannot write the file tmp.txt: Is a directory"),
                press(&OFD_afficheur::cancel_button)});
    EXPECT_FALSE(exists("ran")); // nothing to show
}

TEST_F(Viewer, PdfShownWithTheViewerCommand)
{
    OFD_afficheur v(parent, 1);
    // records its arguments and whether the file is there while it runs, keeps a copy of it
    std::string viewer = script_file("my viewer $(touch bad) `touch bad2` 'q\"",
                                     "printf '%s|%s\\n' \"$#\" \"$1\" >> args.txt\n"
                                     "test -f \"$1\" && echo present >> args.txt\n"
                                     "cp \"$1\" seen.pdf\n");
    run_viewer(v, report(100), "shown", viewer,
               {press(&OFD_afficheur::pdf_button),
                check([] { EXPECT_EQ(read("args.txt"), "1|tmp.pdf\npresent\n"); }),
                press(&OFD_afficheur::cancel_button)});
    EXPECT_FALSE(exists("tmp.pdf")); // removed once the viewer returned
    EXPECT_EQ(read("seen.pdf").compare(0, 9, "%PDF-1.4\n"), 0);
    EXPECT_FALSE(exists("bad"));
    EXPECT_FALSE(exists("bad2"));
}

TEST_F(Viewer, AMissingViewerIsReportedAndTheFileKept)
{
    OFD_afficheur fr(parent, 0), en(parent, 1);
    run_viewer(fr, report(5), "missing", dir + "/no viewer",
               {press(&OFD_afficheur::pdf_button),
                answer("impossible de lancer " + dir +
                       "/no viewer : No such file or directory ; le fichier tmp.pdf est conserve"),
                press(&OFD_afficheur::cancel_button)});
    EXPECT_EQ(read("tmp.pdf").compare(0, 9, "%PDF-1.4\n"), 0);
    run_viewer(en, report(5), "missing", "nelvor-no-such-viewer",
               {press(&OFD_afficheur::pdf_button),
                answer("cannot run nelvor-no-such-viewer: No such file or directory; the file tmp.pdf is kept"),
                press(&OFD_afficheur::cancel_button)});
    EXPECT_TRUE(exists("tmp.pdf"));
}

} // namespace
