// The viewer's browser pages and its plain-text export of the report.
#include <algorithm>

#include "forms/formspp_markup.h"
#include "forms/formspp_viewer.h"

OFD_afficheur_filtre_affichage::OFD_afficheur_filtre_affichage(std::string* lines_, int number)
    : widths(), rules(), nb_lines(number), lines(lines_)
{
}

int OFD_afficheur_filtre_affichage::typeligne(const std::string& line)
{
    return markup_type(line);
}

int OFD_afficheur_filtre_affichage::nb_pages()
{
    return static_cast<int>(markup_page_starts(lines, nb_lines).size()) - 1;
}

std::string OFD_afficheur_filtre_affichage::visu_ligne(const std::string& line)
{
    const std::string fixed_14 = "@f@S14 "; // browser codes: fixed-pitch font, size 14
    switch (markup_type(line)) {
    case 1:
    case 2:
        markup_read_columns(line, widths, rules);
        return "";
    case 3:
        return fixed_14 + std::string(markup_widths_before(widths, markup_columns), '-');
    default: {
        std::string shown = fixed_14;
        std::string::size_type start = 0;
        int k = 0;
        for (std::string::size_type p = 0; p < line.length(); ++p) {
            if (line[p] != '#') continue;
            std::string::size_type width = markup_width(widths, k);
            std::string cell = line.substr(start, std::min(p - start, width));
            cell.resize(width, ' ');
            shown += cell;
            ++k;
            start = p + 1;
        }
        std::string::size_type width = markup_width(widths, k);
        shown += line.substr(start, std::min(line.length() - start, width)); // the last cell is not filled up
        return shown;
    }
    }
}

std::string OFD_afficheur_filtre_affichage::visu_page(int page)
{
    page_text.clear();
    std::vector<int> starts = markup_page_starts(lines, nb_lines);
    if (page < 0 || page >= static_cast<int>(starts.size())) return "";
    int end = page + 1 < static_cast<int>(starts.size()) ? starts[page + 1] : nb_lines;
    for (int i = starts[page]; i < end; ++i) {
        page_text += visu_ligne(lines[i]);
        page_text += '\n';
    }
    return page_text;
}

OFD_afficheur_filtre_texte::OFD_afficheur_filtre_texte(std::string* lines_, int number)
    : nb_lines(number), lines(lines_)
{
}

int OFD_afficheur_filtre_texte::typeligne(const std::string& line)
{
    return markup_type(line);
}

void OFD_afficheur_filtre_texte::imprime_ligne(std::ostream& f, const std::string& line)
{
    if (markup_type(line) != 0) f << std::string(55, '-') << '\n';
    else f << line << '\n';
}

void OFD_afficheur_filtre_texte::imprime(std::ostream& f)
{
    for (int i = 0; i < nb_lines; ++i) imprime_ligne(f, lines[i]);
}
