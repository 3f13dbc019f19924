// The Forms text object with a standard-string label.
#include "forms/formspp.h"

#include <FL/forms.H>

#include "utils/Stringpp.h"

Fl_FormsText* fl_add_Stext(Fl_Boxtype box, int x, int y, int w, int h, const std::string& label)
{
    // the toolkit keeps the label pointer, so the copy lives as long as the widget
    Fl_FormsText* t = new Fl_FormsText(box, x, y, w, h, Stoa(label));
    t->align(FL_ALIGN_LEFT);
    return t;
}
