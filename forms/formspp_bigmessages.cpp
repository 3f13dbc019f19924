// The large scrollable message window and the saving of its text.
#include "forms/formspp_messages.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <iostream>

#include <FL/Fl.H>
#include <FL/Fl_Button.H>
#include <FL/Fl_Multi_Browser.H>
#include <FL/Fl_Window.H>
#include <FL/forms.H>

#include "forms/formspp.h"
#include "utils/Stringpp.h"
#include "utils/g_time.h"

// Writes text unchanged to path; "" when done, else the system's reason.
static std::string write_text(const char* path, const std::string& text)
{
    std::FILE* f = std::fopen(path, "wb");
    if (f == nullptr) return std::strerror(errno);
    bool written = std::fwrite(text.data(), 1, text.size(), f) == text.size();
    int error = errno;
    if (std::fclose(f) != 0 && written) {
        written = false;
        error = errno;
    }
    return written ? "" : std::strerror(error);
}

// Asks for a file and saves the text in it; a failure is shown, the messages stay up.
static void save_text(const std::string& text)
{
    const char* path = fl_show_file_selector("save message", "", "*.txt", "");
    if (path == nullptr) return;
    std::string chosen(path); // the selector's buffer is reused by the next call
    std::string reason = write_text(chosen.c_str(), text);
    if (!reason.empty()) fl_show_Salert("cannot save the messages in " + chosen + ": " + reason);
}

void fl_show_Sbigmessages(const std::string& text, int width)
{
    if (!forms_display_available()) {
        std::cerr << text << std::endl;
        return;
    }
    int inner = 6 * std::max(width, 0); // a negative width gives the narrowest window
    Fl_Window* window = new Fl_Window(inner + 10, 570, "Messages");
    Fl_Multi_Browser* browser = new Fl_Multi_Browser(5, 10, inner, 500);
    Fl_Button* quit = new Fl_Button(250, 530, 50, 30, "Quit");
    Fl_Button* save = new Fl_Button(80, 530, 50, 30, "save");
    window->end();
    window->set_modal();

    std::string rest;
    fl_add_browser_Sline(browser, next_record(text, '\n', rest));
    while (!rest.empty()) fl_add_browser_Sline(browser, next_record(rest, '\n', rest));

    window->show();
    for (;;) {
        Fl::check();
        Fl_Widget* read = Fl::readqueue();
        // closed through the window manager: hidden by its default callback, or queued
        if (read == quit || read == window || !window->shown()) break;
        if (read == save) save_text(text);
        g_usleep(1000);
    }
    delete window;
}
