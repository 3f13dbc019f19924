// Ending a window built through the Forms layer with its widgets placed from the top left.
#ifndef NELVOR_FORMSPP_LAYOUT_H
#define NELVOR_FORMSPP_LAYOUT_H

// fl_end_form without the Forms layer's turn of every child's y from its bottom-left origin:
// for layouts written with the origin at the window's top-left corner, as the toolkit itself
// places widgets. The flip setting is left as it was.
void forms_end_form_top_left();

#endif
