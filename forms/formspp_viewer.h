// The paged report viewer and its three filters over the report markup: browser pages,
// PDF and PostScript documents, plain text.
#ifndef NELVOR_FORMSPP_VIEWER_H
#define NELVOR_FORMSPP_VIEWER_H

#include <list>
#include <ostream>
#include <string>
#include <vector>

class Fl_Browser;
class Fl_Button;
class Fl_FormsText;
class Fl_Input;
class Fl_Window;

// The browser text of the report's lines, one page at a time. The lines are the caller's and
// must stay alive and unchanged while the filter is used.
class OFD_afficheur_filtre_affichage {
public:
    OFD_afficheur_filtre_affichage(std::string* lines, int number);
    int typeligne(const std::string& line);
    int nb_pages(); // the number of the last page: pages minus one, 0 for no lines
    // The browser text of one line; a layout line is read and gives "".
    std::string visu_ligne(const std::string& line);
    // The page's lines (0-based page), each followed by '\n'; "" for a page that does not exist.
    std::string visu_page(int page);

private:
    std::string page_text; // the page being built
    int widths[15];        // of the last layout read; 0 before the first
    char rules[15];        // rule flags of the last layout (not drawn on screen)
    int nb_lines;          // lines of the report
    std::string* lines;    // the caller's lines
};

// The report as a printable document, 10 points a line, 5 points a character of column width,
// 7-point Times-Roman. The caller opens and closes the stream.
class OFD_afficheur_filtre_impression {
public:
    OFD_afficheur_filtre_impression(std::string* lines, int number);
    int typeligne(const std::string& line);
    void imprime_pdf(std::ostream& f);
    void imprime_postscript(std::ostream& f);

    void begin_pdf(std::ostream& f);
    void next_page_pdf(std::ostream& f, int page);
    void end_pdf(std::ostream& f);
    // One line of the report on the open page; the page's drawing reaches the stream when the
    // page ends, after its length.
    void pdf(std::ostream& f, const std::string& line);

    void begin_postscript(std::ostream& f);
    void next_page_postscript(std::ostream& f, int page); // page: 1 for the second page, ...
    void end_postscript(std::ostream& f);
    void postscript(std::ostream& f, const std::string& line);

private:
    std::string* lines; // the caller's lines
    int nb_lines;       // their number
    int ps_top;         // 800: PostScript baseline of line 0
    int pdf_top;        // 780: PDF baseline of line 0
    int pdf_pages;      // page objects written after the first
    int margin;         // 40: left edge of the columns
    int widths[15];     // current column layout; 0 before the first
    char rules[15];     // its vertical-rule flags (left edge of each column, then the right edge)
    int line;           // position of the next line on the page, from 1
    int block;          // line at which the current layout took effect

    std::string page_drawing;      // drawing lines of the open PDF page
    long long written;             // bytes of the PDF written so far
    std::vector<long long> offsets; // offset of every PDF object by number, -1 when absent

    void put(std::ostream& f, const std::string& text); // one PDF line, counted
    void object(std::ostream& f, int number);           // the header line of a PDF object
    void page_object(std::ostream& f, int number);      // a page and the header of its content
    void close_page(std::ostream& f);                   // the open page's drawing with its length
    void draw(const std::string& text);                 // one drawing line of the open PDF page
    void pdf_block_rules();
    void ps_block_rules(std::ostream& f);
};

// The report as plain text.
class OFD_afficheur_filtre_texte {
public:
    OFD_afficheur_filtre_texte(std::string* lines, int number);
    int typeligne(const std::string& line);
    void imprime_ligne(std::ostream& f, const std::string& line); // layouts and rules as 55 '-'
    void imprime(std::ostream& f);

private:
    int nb_lines;       // lines of the report
    std::string* lines; // the caller's lines
};

// A modal, paged viewer of a report; exports it as "tmp.pdf" and "tmp.txt" in the current
// directory. Its labels and messages are French for language 0, English otherwise.
class OFD_afficheur {
public:
    OFD_afficheur(Fl_Window* parent, int language); // the window is built, not shown
    ~OFD_afficheur();
    OFD_afficheur(const OFD_afficheur&) = delete;
    OFD_afficheur& operator=(const OFD_afficheur&) = delete;

    // One viewing run, until cancel or the window's close. viewer: the program that shows the
    // PDF export, run with the file name as its one argument; "" announces the file instead.
    void activation(std::string* lines, int number, const std::string& title, const std::string& viewer);
    void activation(std::list<std::string>& lines, const std::string& title, const std::string& viewer);

    void visu_page();
    void page_precedente();
    void page_suivante();
    void page_numero(int page); // 0-based; ignored outside the report
    void fichier_texte();
    void fichier_pdf();
    void imprime_tmp_pdf(); // shows "tmp.pdf" with the viewer, then removes it if this program wrote it
    void imprime_tmp_ps();  // the same with ghostview and "tmp.ps"

    int language;                            // 0 French, else English
    int page;                                // current page, 0-based
    OFD_afficheur_filtre_affichage* display; // browser pages of the current run; null outside one
    OFD_afficheur_filtre_impression* printer; // PDF export of the current run; null outside one
    OFD_afficheur_filtre_texte* text;        // text export of the current run; null outside one
    std::string viewer;                      // viewer program of the last run
    Fl_Window* window;                       // the viewer's own window
    Fl_Window* parent;                       // inactive during a run
    Fl_FormsText* title;                     // the run's title, cut after 81 characters
    Fl_FormsText* page_label;                // "page k / n"
    Fl_Browser* browser;                     // the current page
    Fl_Button* previous_button;              // one page back
    Fl_Button* next_button;                  // one page on
    Fl_Button* cancel_button;                // ends the run
    Fl_Button* pdf_button;                   // writes tmp.pdf
    Fl_Button* text_button;                  // writes tmp.txt
    Fl_Input* page_input;                    // number of the page to go to, from 1
    Fl_Button* go_button;                    // goes to that page
    int unused1;                             // 0
    int unused2;                             // 0

private:
    void message(const std::string& french, const std::string& english);
    bool written(const std::string& name, const std::string& error); // false, reported, on an error
    void show_file(const std::string& program, const std::string& name);
};

#endif
