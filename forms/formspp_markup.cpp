// The report markup shared by the viewer's filters: line types, column layouts, page cuts.
#include "forms/formspp_markup.h"

#include <climits>

int markup_type(const std::string& line)
{
    if (line.length() < 2 || line[0] != '#') return 0;
    switch (line[1]) {
    case 'T': return 3;
    case 'C': return 1;
    case 'P': return 2;
    default: return 0;
    }
}

// A width above this keeps 5 points per character times 15 columns inside an int.
static const int largest_width = INT_MAX / (5 * (markup_columns + 1));

void markup_read_columns(const std::string& line, int widths[markup_columns], char rules[markup_columns])
{
    for (int i = 0; i < markup_columns; ++i) {
        widths[i] = 0;
        rules[i] = 0;
    }
    int number = 0;
    int column = -1; // the column whose width was stored last
    for (char c : line) {
        if (c >= '0' && c <= '9') {
            number = number > (largest_width - (c - '0')) / 10 ? largest_width : number * 10 + (c - '0');
        } else if (c == ' ') {
            if (number != 0) {
                ++column;
                if (column < markup_columns) widths[column] = number;
                number = 0;
            }
        } else if (c == 'T') {
            // the column whose width comes next; after the last width, the right edge
            if (column + 1 < markup_columns) rules[column + 1] = 1;
        }
    }
}

int markup_width(const int widths[markup_columns], int k)
{
    return k >= 0 && k < markup_columns ? widths[k] : 0;
}

int markup_widths_before(const int widths[markup_columns], int k)
{
    int sum = 0;
    for (int i = 0; i < k && i < markup_columns; ++i) sum += widths[i];
    return sum;
}

bool markup_page_cutter::cut_after(const std::string& line, bool more)
{
    int type = markup_type(line);
    if (type == 0 || type == 3) ++counted;
    if (counted < markup_page_lines || !more) return false;
    counted = 0;
    return true;
}

std::vector<int> markup_page_starts(const std::string* lines, int number)
{
    std::vector<int> starts{0};
    markup_page_cutter cutter;
    for (int i = 0; i < number; ++i)
        if (cutter.cut_after(lines[i], i + 1 < number)) starts.push_back(i + 1);
    return starts;
}
