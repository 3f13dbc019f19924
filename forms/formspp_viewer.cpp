// The paged report viewer: its window, the polling run, paging and the PDF and text exports.
#include "forms/formspp_viewer.h"

#include <iostream>
#include <sstream>

#include <FL/Fl.H>
#include <FL/Fl_Browser.H>
#include <FL/Fl_Button.H>
#include <FL/Fl_Input.H>
#include <FL/Fl_Window.H>
#include <FL/forms.H>

#include "forms/formspp.h"
#include "forms/formspp_files.h"
#include "forms/formspp_layout.h"
#include "utils/Stringpp.h"
#include "utils/g_time.h"

namespace {

const int browser_piece = 160; // longest browser line; a longer line goes on over several

// A button of the viewer: normal type, label font 8, size 14.
Fl_Button* viewer_button(int x, int y, int w, int h, const char* label)
{
    Fl_Button* b = fl_add_button(FL_NORMAL_BUTTON, x, y, w, h, label);
    b->labelfont(8);
    b->labelsize(14);
    return b;
}

} // namespace

OFD_afficheur::OFD_afficheur(Fl_Window* parent_, int language_)
    : language(language_), page(0), display(nullptr), printer(nullptr), text(nullptr), parent(parent_), unused1(0),
      unused2(0)
{
    bool english = language != 0;
    Fl_Group* current = Fl_Group::current();
    Fl_Group::current(nullptr); // a window of its own, never inside a group being built
    window = fl_bgn_form(FL_NO_BOX, 920, 700);
    fl_add_box(FL_UP_BOX, 0, 0, 930, 700, "");
    browser = fl_add_browser(FL_HOLD_BROWSER, 10, 50, 910, 570, "");
    browser->box(FL_DOWN_BOX);
    browser->color(FL_BACKGROUND_COLOR);
    browser->labelfont(8);
    title = fl_add_Stext(FL_NO_BOX, 280, 20, 310, 20, "");
    title->labelsize(14);
    title->labelfont(1);
    title->align(FL_ALIGN_CENTER | FL_ALIGN_INSIDE);
    title->labeltype(FL_NORMAL_LABEL);
    page_label = fl_add_Stext(FL_NO_BOX, 80, 20, 120, 20, "");
    next_button = viewer_button(300, 630, 120, 20, english ? "next page" : "page suivante");
    previous_button = viewer_button(300, 660, 120, 20, english ? "previous page" : "page precedente");
    cancel_button = viewer_button(40, 630, 90, 50, english ? "CANCEL" : "ANNULER");
    pdf_button = viewer_button(500, 630, 100, 50, english ? "pdf file" : "fichier pdf");
    text_button = viewer_button(750, 630, 100, 50, english ? "text file" : "fichier texte");
    page_input = fl_add_input(FL_NORMAL_INPUT, 150, 645, 40, 20, "");
    go_button = fl_add_button(FL_NORMAL_BUTTON, 190, 645, 20, 20, "");
    forms_end_form_top_left(); // the positions above are from the window's top-left corner
    Fl_Group::current(current);
}

OFD_afficheur::~OFD_afficheur()
{
    delete display;
    delete printer;
    delete text;
    delete window;
}

void OFD_afficheur::activation(std::string* lines, int number, const std::string& title_text,
                               const std::string& viewer_program)
{
    if (parent != nullptr) parent->deactivate();
    if (lines == nullptr) {
        if (parent != nullptr) parent->activate();
        return;
    }
    if (!forms_display_available()) {
        std::cerr << "OFD_afficheur::activation(): no display to show " << title_text << std::endl;
        if (parent != nullptr) parent->activate();
        return;
    }
    viewer = viewer_program;
    page = 0;
    delete display;
    delete printer;
    delete text;
    display = new OFD_afficheur_filtre_affichage(lines, number);
    printer = new OFD_afficheur_filtre_impression(lines, number);
    text = new OFD_afficheur_filtre_texte(lines, number);
    visu_page();
    fl_set_object_Slabel(title, title_text, 81);
    fl_show_form(window, FL_PLACE_MOUSE, FL_TRANSIENT, "");
    for (;;) {
        Fl::check();
        Fl_Widget* w = Fl::readqueue();
        g_usleep(1000);
        // the window manager's close hides the window and queues it: the same as cancel
        if (w == cancel_button || w == window || !window->shown()) break;
        if (w == previous_button) page_precedente();
        else if (w == next_button) page_suivante();
        else if (w == pdf_button) fichier_pdf();
        else if (w == text_button) fichier_texte();
        else if (w == go_button) page_numero(static_cast<int>(Stol(page_input->value())) - 1);
    }
    window->hide();
    if (parent != nullptr) parent->activate();
    // the lines may go once the run is over: so do the filters over them
    delete display;
    delete printer;
    delete text;
    display = nullptr;
    printer = nullptr;
    text = nullptr;
}

void OFD_afficheur::activation(std::list<std::string>& lines, const std::string& title_text,
                               const std::string& viewer_program)
{
    if (lines.empty()) {
        activation(nullptr, 0, title_text, viewer_program);
        return;
    }
    std::string* copy = new std::string[lines.size()];
    int n = 0;
    for (const std::string& l : lines) copy[n++] = l;
    activation(copy, n, title_text, viewer_program);
    delete[] copy;
}

void OFD_afficheur::visu_page()
{
    if (display == nullptr) return;
    std::string shown = display->visu_page(page);
    browser->clear();
    std::string::size_type start = 0;
    while (start < shown.length()) {
        std::string::size_type end = shown.find('\n', start);
        if (end == std::string::npos) end = shown.length();
        std::string piece = shown.substr(start, end - start);
        if (piece.empty()) fl_add_browser_Sline(browser, piece);
        for (std::string::size_type i = 0; i < piece.length(); i += browser_piece)
            fl_add_browser_Sline(browser, piece.substr(i, browser_piece));
        start = end + 1;
    }
    browser->show();
    fl_set_object_Slabel(page_label,
                         "page " + unslong2S(page + 1) + " / " + unslong2S(display->nb_pages() + 1) + "    ", 25);
    fl_set_Sinput(page_input, unslong2S(page + 1));
}

void OFD_afficheur::page_precedente()
{
    if (display == nullptr || page <= 0) return;
    --page;
    visu_page();
}

void OFD_afficheur::page_suivante()
{
    if (display == nullptr || page >= display->nb_pages()) return;
    ++page;
    visu_page();
}

void OFD_afficheur::page_numero(int p)
{
    if (display == nullptr || p < 0 || p > display->nb_pages()) return;
    page = p;
    visu_page();
}

void OFD_afficheur::message(const std::string& french, const std::string& english)
{
    fl_show_Smessages(language != 0 ? english : french);
}

bool OFD_afficheur::written(const std::string& name, const std::string& error)
{
    if (error.empty()) return true;
    fl_show_Salert(language != 0 ? "cannot write the file " + name + ": " + error
                                 : "impossible d'ecrire le fichier " + name + " : " + error);
    return false;
}

void OFD_afficheur::fichier_texte()
{
    if (text == nullptr) return;
    std::ostringstream out;
    text->imprime(out);
    if (written("tmp.txt", write_whole_file("tmp.txt", out.str())))
        message("generation du fichier tmp.txt", "generation of tmp.txt file");
}

void OFD_afficheur::fichier_pdf()
{
    if (printer == nullptr) return;
    std::ostringstream out;
    printer->imprime_pdf(out);
    if (!written("tmp.pdf", write_whole_file("tmp.pdf", out.str()))) return;
    if (viewer.empty()) message("generation du fichier tmp.pdf", "generation of tmp.pdf file");
    else imprime_tmp_pdf();
}

// Shows the file with the program, then removes it when it is still the file written here; a
// program that cannot be started is reported and the file kept.
void OFD_afficheur::show_file(const std::string& program, const std::string& name)
{
    std::string error = run_program(program, name);
    if (!error.empty()) {
        fl_show_Salert(language != 0 ? "cannot run " + program + ": " + error + "; the file " + name + " is kept"
                                     : "impossible de lancer " + program + " : " + error + " ; le fichier " + name +
                                           " est conserve");
        return;
    }
    remove_written_file(name);
}

void OFD_afficheur::imprime_tmp_pdf()
{
    show_file(viewer, "tmp.pdf");
}

void OFD_afficheur::imprime_tmp_ps()
{
    show_file("ghostview", "tmp.ps");
}
