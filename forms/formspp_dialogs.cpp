// Modal message, alert, question and input dialogs with standard strings; on stderr without a display.
#include "forms/formspp.h"

#include <cstdio>
#include <cstdlib>
#include <iostream>

// before the toolkit's Forms header, whose TRUE and FALSE macros would break the BDD headers
#include "automaton/b_automaton.h"

#include <FL/Fl.H>
#include <FL/fl_ask.H>
#include <FL/forms.H>
#include <FL/x.H>

#include "forms/formspp_copy.h"
#include "forms/formspp_layout.h"

bool forms_display_available()
{
    static int state = -1; // -1 not yet asked, 0 no display, 1 display open
    if (state < 0) {
        const char* name = std::getenv("DISPLAY");
        if (fl_display != nullptr) {
            state = 1;
        } else if (name == nullptr || *name == '\0') {
            state = 0;
        } else {
            // the toolkit ends the process when it cannot open a display: try first
            Display* d = XOpenDisplay(nullptr);
            state = (d != nullptr);
            if (d != nullptr) fl_open_display(d);
        }
    }
    return state == 1;
}

void forms_end_form_top_left()
{
    char flip = fl_flip;
    fl_flip = 0;
    fl_end_form();
    fl_flip = flip;
}

// Without a display: the text and a newline on stderr; returns whether a display is there.
static bool display_or_stderr(const std::string& text)
{
    if (forms_display_available()) return true;
    std::cerr << text << std::endl;
    return false;
}

// The text in a box of the toolkit, as the argument of "%s" so that '%' is shown.
static void show_box(void (*box)(const char*, ...), const std::string& text)
{
    if (display_or_stderr(text)) with_copy(text, [&](char* copy) { box("%s", copy); });
}

void fl_show_Smessages(const std::string& text)
{
    show_box(fl_message, text);
}

// The automaton's reports go to the message window wherever the dialogs are linked in.
static const bool automaton_reports_in_window = (b_automaton_message_window = fl_show_Smessages, true);

void fl_show_Salert(const std::string& text)
{
    show_box(fl_alert, text);
}

int fl_show_Squestion(const std::string& question, int)
{
    if (!display_or_stderr(question)) return 0; // as when the box is closed
    return with_copy(question, [](char* copy) { return fl_choice("%s", fl_no, fl_yes, nullptr, copy); });
}

// The text entered in the input box, or null on cancel (and without a display).
static const char* input_box(const char* prompt, const char* offered)
{
    if (!display_or_stderr(prompt)) return nullptr;
    return fl_input("%s", offered, prompt);
}

std::string fl_show_Sinput(const std::string& prompt, const std::string& default_text)
{
    return with_copy(prompt, [&](char* p) {
        return with_copy(default_text, [&](char* d) {
            const char* r = input_box(p, d);
            return std::string(r != nullptr ? r : "");
        });
    });
}

// An input box offering the default written with format; the answer read with the same format,
// or the default on cancel (and for a text that is no number).
template <class T> static T number_box(const char* prompt, T default_value, const char* format)
{
    char offered[512]; // "%lf" of the largest double takes 316 bytes
    std::snprintf(offered, sizeof offered, format, default_value);
    const char* r = input_box(prompt, offered);
    T value = default_value;
    if (r != nullptr) std::sscanf(r, format, &value);
    return value;
}

int fl_show_int(const char* prompt, int default_value)
{
    return number_box(prompt, default_value, "%d");
}

double fl_show_double(const char* prompt, double default_value)
{
    return number_box(prompt, default_value, "%lf");
}

double fl_show_double(const std::string& prompt, double default_value)
{
    return with_copy(prompt, [&](char* p) { return fl_show_double(p, default_value); });
}

void fl_show_ms()
{
    fl_show_Smessages("nelvor, written by the nelvor author\n\nLaboratoire des circuits synchrones, Universite");
}
