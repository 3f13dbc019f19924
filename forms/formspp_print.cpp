// The report as a PDF or PostScript document: pages, cells, rule lines and column blocks.
#include <cstdio>

#include "forms/formspp_markup.h"
#include "forms/formspp_viewer.h"

namespace {

std::string num(long long v)
{
    return std::to_string(v);
}

// The cells of a text line to print, by column: from the cell start up to the '#' or the
// column's width, whichever comes first; '(' and ')' are left out but keep their place in the
// width, and the character right after each '#' is skipped.
std::vector<std::string> print_cells(const std::string& line, const int widths[markup_columns])
{
    std::vector<std::string> cells;
    auto cut = [&](std::string::size_type start, std::string::size_type end) {
        std::string cell;
        std::string::size_type width = markup_width(widths, static_cast<int>(cells.size()));
        for (std::string::size_type i = start; i < end && i - start < width; ++i)
            if (line[i] != '(' && line[i] != ')') cell += line[i];
        cells.push_back(cell);
    };
    std::string::size_type start = 0;
    for (std::string::size_type p = 0; p < line.length(); ++p) {
        if (line[p] != '#') continue;
        cut(start, p);
        start = p + 2;
    }
    cut(start, line.length());
    return cells;
}

// A cell as the inside of a string literal of both languages.
std::string escaped(const std::string& cell)
{
    std::string s;
    for (char c : cell) {
        if (c == '\\' || c == '(' || c == ')') s += '\\';
        s += c;
    }
    return s;
}

// Ten-digit offset of a cross-reference entry.
std::string offset10(long long v)
{
    char text[32];
    std::snprintf(text, sizeof text, "%010lld", v);
    return text;
}

// Prints every line through print_line and starts the next page through next_page (1 for the
// second page, ...) wherever the markup cuts one.
template <class Line, class Page> void print_pages(const std::string* lines, int number, Line print_line, Page next_page)
{
    markup_page_cutter cutter;
    int k = 0;
    for (int i = 0; i < number; ++i) {
        print_line(lines[i]);
        if (cutter.cut_after(lines[i], i + 1 < number)) next_page(++k);
    }
}

// The layout lines, read alike for both languages: "#C" draws the rules of the block it
// ends through end_block and starts a new block at the current line; "#P" restarts the print
// position. Whether l was one of them.
template <class End>
bool take_layout(const std::string& l, int type, int& line, int& block, int widths[markup_columns],
                        char rules[markup_columns], End end_block)
{
    if (type == 1) {
        end_block();
        block = line;
    } else if (type == 2) {
        line = 0;
    } else {
        return false;
    }
    markup_read_columns(l, widths, rules);
    return true;
}

} // namespace

OFD_afficheur_filtre_impression::OFD_afficheur_filtre_impression(std::string* lines_, int number)
    : lines(lines_), nb_lines(number), ps_top(800), pdf_top(780), pdf_pages(0), margin(40), widths(), rules(),
      line(1), block(1), written(0)
{
}

int OFD_afficheur_filtre_impression::typeligne(const std::string& l)
{
    return markup_type(l);
}

void OFD_afficheur_filtre_impression::imprime_pdf(std::ostream& f)
{
    begin_pdf(f);
    print_pages(lines, nb_lines, [&](const std::string& l) { pdf(f, l); }, [&](int k) { next_page_pdf(f, k); });
    end_pdf(f);
}

void OFD_afficheur_filtre_impression::imprime_postscript(std::ostream& f)
{
    begin_postscript(f);
    print_pages(lines, nb_lines, [&](const std::string& l) { postscript(f, l); },
                [&](int k) { next_page_postscript(f, k); });
    end_postscript(f);
}

// ---- PDF ----

void OFD_afficheur_filtre_impression::put(std::ostream& f, const std::string& text)
{
    f << text << '\n';
    f.flush();
    written += static_cast<long long>(text.length()) + 1;
}

void OFD_afficheur_filtre_impression::object(std::ostream& f, int number)
{
    if (static_cast<int>(offsets.size()) <= number) offsets.resize(number + 1, -1);
    offsets[number] = written;
    put(f, num(number) + " 0 obj");
}

void OFD_afficheur_filtre_impression::draw(const std::string& text)
{
    page_drawing += text;
    page_drawing += '\n';
}

void OFD_afficheur_filtre_impression::page_object(std::ostream& f, int number)
{
    object(f, number);
    put(f, "  << /Type /Page");
    put(f, "     /Parent 3 0 R");
    put(f, "     /MediaBox [0 0 612 792]");
    put(f, "     /Contents " + num(number + 1) + " 0 R");
    put(f, "     /Resources << /ProcSet 4 0 R");
    put(f, "                   /Font << /F1 5 0 R >>");
    put(f, "                >>");
    put(f, "  >>");
    put(f, "endobj");
    put(f, "");
    object(f, number + 1);
    page_drawing.clear();
}

void OFD_afficheur_filtre_impression::close_page(std::ostream& f)
{
    // the newline that ends the last drawing line marks the end of the data
    long long length = page_drawing.empty() ? 0 : static_cast<long long>(page_drawing.length()) - 1;
    put(f, "  << /Length " + num(length) + " >>");
    put(f, "stream");
    f << page_drawing;
    f.flush();
    written += static_cast<long long>(page_drawing.length());
    page_drawing.clear();
    put(f, "endstream");
    put(f, "endobj");
    put(f, "");
}

void OFD_afficheur_filtre_impression::pdf_block_rules()
{
    for (int i = 0; i < markup_columns; ++i) {
        if (!rules[i]) continue;
        std::string x = num(margin + 5 * markup_widths_before(widths, i));
        draw("    " + x + " " + num(pdf_top + 10 - 10 * line) + " m");
        draw("    " + x + " " + num(pdf_top + 10 - 10 * block) + " l");
        draw("       S");
    }
}

void OFD_afficheur_filtre_impression::begin_pdf(std::ostream& f)
{
    int pages = static_cast<int>(markup_page_starts(lines, nb_lines).size());
    line = 1;
    block = 1;
    pdf_pages = 0;
    written = 0;
    offsets.clear();
    page_drawing.clear();
    put(f, "%PDF-1.4");
    object(f, 1);
    put(f, "  << /Type /Catalog");
    put(f, "     /Outlines 2 0 R");
    put(f, "     /Pages 3 0 R");
    put(f, "  >>");
    put(f, "endobj");
    put(f, "");
    object(f, 2);
    put(f, "  << /Type /Outlines");
    put(f, "     /Count 0");
    put(f, "  >>");
    put(f, "endobj");
    put(f, "");
    object(f, 3);
    put(f, "  << /Type /Pages");
    put(f, "     /Kids [10 0 R");
    for (int j = 1; j < pages; ++j) put(f, "         " + num(10 + 2 * j) + " 0 R");
    put(f, "         ]");
    put(f, "     /Count " + num(pages));
    put(f, "  >>");
    put(f, "endobj");
    put(f, "");
    object(f, 4);
    put(f, "   [/PDF /Text]");
    put(f, "endobj");
    put(f, "");
    object(f, 5);
    put(f, "  << /Type /Font");
    put(f, "     /Subtype /Type1");
    put(f, "     /Name /F1");
    put(f, "     /BaseFont /Times-Roman");
    put(f, "     /Encoding /WinAnsiEncoding");
    put(f, "  >>");
    put(f, "endobj");
    put(f, "");
    page_object(f, 10);
}

void OFD_afficheur_filtre_impression::next_page_pdf(std::ostream& f, int)
{
    pdf_block_rules();
    close_page(f);
    ++pdf_pages;
    page_object(f, 10 + 2 * pdf_pages);
    line = 1;
    block = 1;
}

void OFD_afficheur_filtre_impression::end_pdf(std::ostream& f)
{
    pdf_block_rules();
    close_page(f);
    long long xref = written;
    int size = static_cast<int>(offsets.size());
    put(f, "xref");
    // objects 1 to 5, then the pages and their contents from 10 on
    put(f, "0 6");
    put(f, "0000000000 65535 f ");
    for (int n = 1; n <= 5; ++n) put(f, offset10(offsets[n]) + " 00000 n ");
    put(f, "10 " + num(size - 10));
    for (int n = 10; n < size; ++n) put(f, offset10(offsets[n]) + " 00000 n ");
    put(f, "");
    put(f, "trailer");
    put(f, "  << /Size " + num(size));
    put(f, "     /Root 1 0 R");
    put(f, "  >>");
    put(f, "startxref");
    put(f, num(xref));
    put(f, "%%EOF");
}

void OFD_afficheur_filtre_impression::pdf(std::ostream&, const std::string& l)
{
    int type = markup_type(l);
    if (take_layout(l, type, line, block, widths, rules, [this] { pdf_block_rules(); })) return;
    switch (type) {
    case 3: {
        std::string y = num(pdf_top - 10 * line);
        draw("    " + num(margin) + " " + y + " m");
        draw("    " + num(margin + 5 * markup_widths_before(widths, markup_columns)) + " " + y + " l");
        draw("       S");
        ++line;
        break;
    }
    default: {
        std::vector<std::string> cells = print_cells(l, widths);
        std::string y = num(pdf_top - 10 * line);
        for (int k = 0; k < static_cast<int>(cells.size()); ++k) {
            if (cells[k] == " ") continue;
            draw("   BT");
            draw("     /F1 7 Tf");
            draw("     " + num(margin + 5 + 5 * markup_widths_before(widths, k)) + " " + y + " Td");
            draw("(" + escaped(cells[k]) + ") Tj");
            draw("   ET");
        }
        ++line;
        break;
    }
    }
}

// ---- PostScript ----

static void ps_line(std::ostream& f, const std::string& text)
{
    f << text << '\n';
    f.flush();
}

static void ps_page_setup(std::ostream& f, int page)
{
    ps_line(f, "%%Page: " + num(page) + " " + num(page));
    ps_line(f, "a4");
    ps_line(f, "/Times-Roman findfont");
    ps_line(f, "7 scalefont");
    ps_line(f, "setfont");
}

void OFD_afficheur_filtre_impression::ps_block_rules(std::ostream& f)
{
    for (int i = 0; i < markup_columns; ++i) {
        if (!rules[i]) continue;
        std::string x = num(margin + 5 * markup_widths_before(widths, i));
        ps_line(f, "newpath " + x + " " + num(ps_top + 10 - 10 * line) + " moveto " + x + " " +
                       num(ps_top + 10 - 10 * block) + " lineto stroke ");
    }
}

void OFD_afficheur_filtre_impression::begin_postscript(std::ostream& f)
{
    line = 1;
    block = 1;
    ps_line(f, "%!PS-Adobe-2.0");
    ps_line(f, "%%Creator: pomerel");
    ps_line(f, "%%Title: tmp.ps");
    ps_line(f, "%%Pages: " + num(static_cast<long long>(markup_page_starts(lines, nb_lines).size())));
    ps_line(f, "%%PageOrder: Ascend");
    ps_line(f, "%%BoundingBox: 0 0 612 792");
    ps_line(f, "%%DocumentPaperSizes: a4");
    ps_line(f, "%%EndComments");
    ps_page_setup(f, 1);
}

void OFD_afficheur_filtre_impression::next_page_postscript(std::ostream& f, int page)
{
    ps_block_rules(f);
    ps_line(f, "showpage");
    ps_page_setup(f, page + 1);
    line = 1;
    block = 1;
}

void OFD_afficheur_filtre_impression::end_postscript(std::ostream& f)
{
    ps_block_rules(f);
    ps_line(f, "showpage");
}

void OFD_afficheur_filtre_impression::postscript(std::ostream& f, const std::string& l)
{
    int type = markup_type(l);
    if (take_layout(l, type, line, block, widths, rules, [&] { ps_block_rules(f); })) return;
    switch (type) {
    case 3: {
        std::string y = num(ps_top - 10 * line);
        ps_line(f, "newpath " + num(margin) + " " + y + " moveto " +
                       num(margin + 5 * markup_widths_before(widths, markup_columns)) + " " + y + " lineto stroke ");
        ++line;
        break;
    }
    default: {
        std::vector<std::string> cells = print_cells(l, widths);
        std::string y = num(ps_top - 10 * line);
        for (int k = 0; k < static_cast<int>(cells.size()); ++k)
            if (cells[k] != " ")
                ps_line(f, num(margin + 5 + 5 * markup_widths_before(widths, k)) + " " + y + " moveto (" +
                               escaped(cells[k]) + ") show");
        ++line;
        break;
    }
    }
}
