// The work-in-progress window.
// The window's exposure flag lies in the toolkit's per-window record, visible with FL_INTERNALS.
#define FL_INTERNALS
#include "forms/formspp_messages.h"

#include <iostream>

#include <FL/Fl.H>
#include <FL/Fl_Window.H>
#include <FL/forms.H>
#include <FL/x.H>

#include "forms/formspp.h"
#include "utils/g_time.h"

// Polls for at most about a second for the window to be exposed and drawn: the server maps it a
// moment after it is shown, and the caller's work would otherwise run behind an empty frame.
static const int wait_form_polls = 500;

// Whether the window is on the screen with nothing left to draw.
static bool drawn(Fl_Window* w)
{
    Fl_X* x = Fl_X::i(w);
    return w->shown() && x != nullptr && !x->wait_for_expose && w->damage() == 0;
}

OFD_wait_form::OFD_wait_form(const std::string& label) : window(nullptr), text(nullptr), unused_a(0), unused_b(0)
{
    if (!forms_display_available()) {
        std::cerr << label << std::endl;
        return;
    }
    window = fl_bgn_form(FL_NO_BOX, 600, 60);
    fl_add_box(FL_UP_BOX, 0, 0, 600, 60, "");
    text = fl_add_Stext(FL_NO_BOX, 10, 10, 580, 40, label);
    text->align(FL_ALIGN_INSIDE);
    text->labelsize(FL_NORMAL_SIZE);
    fl_end_form();
    fl_show_form(window, FL_PLACE_MOUSE, FL_TRANSIENT, "travail en cours ...");
    Fl::check();
    g_usleep(1000);
    for (int i = 0; i < wait_form_polls && !drawn(window); ++i) {
        Fl::check();
        g_usleep(1000);
    }
}

OFD_wait_form::~OFD_wait_form()
{
    if (window != nullptr) window->hide();
}
