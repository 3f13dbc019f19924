// The report markup shared by the viewer's filters: line types, column layouts, page cuts.
#ifndef NELVOR_FORMSPP_MARKUP_H
#define NELVOR_FORMSPP_MARKUP_H

#include <string>
#include <vector>

const int markup_columns = 15;     // widths and rule flags a layout can hold
const int markup_page_lines = 77;  // counted lines (text and rules) on one page

// 3 rule line "#T...", 1 column layout "#C...", 2 layout that restarts the
// print position "#P...", 0 any other line (text).
int markup_type(const std::string& line);

// Clears the widths and rule flags, then reads the layout line into them; widths past
// the 15th and rule flags past the 15th column are dropped.
void markup_read_columns(const std::string& line, int widths[markup_columns], char rules[markup_columns]);

// Width of column k; 0 past the 15th column.
int markup_width(const int widths[markup_columns], int k);

// Sum of the widths of the columns before column k (all 15 for k >= 15).
int markup_widths_before(const int widths[markup_columns], int k);

// The one-pass page cut: told about each line in order, says whether the next one starts a page.
class markup_page_cutter {
public:
    // more: another line follows this one.
    bool cut_after(const std::string& line, bool more);

private:
    int counted = 0; // counted lines since the page start
};

// The index of the first line of every page: {0} for no lines.
std::vector<int> markup_page_starts(const std::string* lines, int number);

#endif
