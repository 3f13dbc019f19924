// The large scrollable message window with "save", and the work-in-progress window.
#ifndef NELVOR_FORMSPP_MESSAGES_H
#define NELVOR_FORMSPP_MESSAGES_H

#include <string>

class Fl_Widget;
class Fl_Window;

// A modal window "Messages" of 6 x width + 10 pixels with the text's lines in a browser; "save"
// writes the text unchanged to a file chosen in the file selector (a failure is shown with the
// path and the system's reason, the window staying open). Returns after "Quit" or after the
// window is closed through the window manager. Without a display the text and a newline go to
// stderr.
void fl_show_Sbigmessages(const std::string& text, int width);

// A window "travail en cours ..." showing the text while the caller works; it is drawn when the
// constructor returns. Without a display the text and a newline go to stderr.
class OFD_wait_form {
public:
    Fl_Window* window; // null without a display
    Fl_Widget* text;   // the Forms text object holding the text
    int unused_a;      // 0
    int unused_b;      // 0

    explicit OFD_wait_form(const std::string& text);
    ~OFD_wait_form(); // hides the window
};

#endif
