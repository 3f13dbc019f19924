// The report markup, the viewer's browser pages and its plain-text export.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "forms/formspp_markup.h"
#include "forms/formspp_viewer.h"

namespace {

std::vector<std::string> repeat(const std::string& line, int n)
{
    return std::vector<std::string>(n, line);
}

std::vector<std::string> join(std::vector<std::string> a, const std::vector<std::string>& b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

TEST(Markup, LineTypes)
{
    struct { const char* line; int type; } cases[] = {
        {"#T", 3}, {"#Txyz", 3}, {"#C", 1}, {"#C 10 20 ", 1}, {"#P 4 ", 2}, {"#", 0}, {"", 0},
        {"#x", 0}, {"#c 10 ", 0}, {"T#", 0}, {"ab#cd", 0}, {" #C", 0},
    };
    for (auto& c : cases) {
        EXPECT_EQ(markup_type(c.line), c.type) << c.line;
        std::string line = c.line;
        EXPECT_EQ(OFD_afficheur_filtre_affichage(nullptr, 0).typeligne(line), c.type) << c.line;
        EXPECT_EQ(OFD_afficheur_filtre_impression(nullptr, 0).typeligne(line), c.type) << c.line;
        EXPECT_EQ(OFD_afficheur_filtre_texte(nullptr, 0).typeligne(line), c.type) << c.line;
    }
}

TEST(Markup, ColumnSpecifications)
{
    struct {
        const char* line;
        std::vector<int> widths;
        std::vector<int> rules;
    } cases[] = {
        {"#C 10 20", {10}, {}},             // no blank after the last number: not stored
        {"#C 10 20 ", {10, 20}, {}},
        {"#C T4 T6 T", {4, 6}, {0, 1, 2}},  // the last flag marks the right edge
        {"#P 3 x7 ", {3, 7}, {}},           // other characters are ignored
        {"#C12 ", {12}, {}},                // the leading characters are scanned too
        {"#C 0 5 ", {5}, {}},               // a zero is not stored
        {"#C 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 9 9 T", {1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1}, {}},
        {"#C 1 1 1 1 1 1 1 1 1 1 1 1 1 1 T1 T", {1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1}, {14}},
    };
    for (auto& c : cases) {
        int widths[15];
        char rules[15];
        for (int i = 0; i < 15; ++i) widths[i] = rules[i] = 7; // cleared by the reading
        markup_read_columns(c.line, widths, rules);
        for (int i = 0; i < 15; ++i) {
            int w = i < static_cast<int>(c.widths.size()) ? c.widths[i] : 0;
            bool r = false;
            for (int j : c.rules) r = r || j == i;
            EXPECT_EQ(widths[i], w) << c.line << " column " << i;
            EXPECT_EQ(rules[i] != 0, r) << c.line << " column " << i;
        }
    }
}

TEST(Markup, PageStarts)
{
    auto starts = [](std::vector<std::string> lines) {
        return markup_page_starts(lines.data(), static_cast<int>(lines.size()));
    };
    EXPECT_EQ(starts({}), std::vector<int>{0});
    EXPECT_EQ(starts(repeat("a", 77)), std::vector<int>{0});
    EXPECT_EQ(starts(repeat("a", 78)), (std::vector<int>{0, 77}));
    EXPECT_EQ(starts(join(repeat("#T", 77), {"b"})), (std::vector<int>{0, 77}));
    // layouts between the lines never count
    std::vector<std::string> mixed;
    for (int i = 0; i < 77; ++i) {
        mixed.push_back("#C 3 ");
        mixed.push_back("a");
    }
    EXPECT_EQ(starts(mixed), std::vector<int>{0});
    // the line after the 77th, whatever its type, starts the next page
    EXPECT_EQ(starts(join(repeat("a", 77), {"#P 2 "})), (std::vector<int>{0, 77}));
    EXPECT_EQ(starts(repeat("a", 155)), (std::vector<int>{0, 77, 154}));
}

// The browser text of each line given in turn to one filter.
std::vector<std::string> shown(const std::vector<std::string>& lines)
{
    OFD_afficheur_filtre_affichage f(nullptr, 0);
    std::vector<std::string> r;
    for (const std::string& l : lines) r.push_back(f.visu_ligne(l));
    return r;
}

TEST(DisplayFilter, Lines)
{
    EXPECT_EQ(shown({"#C 10 20", "abcdefghijklmnop#xyz"}),
              (std::vector<std::string>{"", "@f@S14 abcdefghij"}));
    EXPECT_EQ(shown({"#C 10 20 ", "abcdefghijklmnop#xyz"}),
              (std::vector<std::string>{"", "@f@S14 abcdefghijxyz"}));
    EXPECT_EQ(shown({"#C 1 5 ", "ab#cd", "#P 3 3 ", "#x", "a#b"}),
              (std::vector<std::string>{"", "@f@S14 acd", "", "@f@S14    x", "@f@S14 a  b"}));
    EXPECT_EQ(shown({"#C 10 5 ", "#T", "#Tignored"}),
              (std::vector<std::string>{"", "@f@S14 ---------------", "@f@S14 ---------------"}));
    EXPECT_EQ(shown({"#C 4 3 2 ", "", "#", "##", "a##b", "ab#cdefg#h#ignored"}),
              (std::vector<std::string>{"", "@f@S14 ", "@f@S14     ", "@f@S14        ", "@f@S14 a      b",
                                        "@f@S14 ab  cdeh "}));
    // before any layout every width is 0
    EXPECT_EQ(shown({"abc#def", "#T"}), (std::vector<std::string>{"@f@S14 ", "@f@S14 "}));
    // cells past the 15th have width 0
    EXPECT_EQ(shown({"#C 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 9 9 ", "a#b#c#d#e#f#g#h#i#j#k#l#m#n#o#p#q", "#T"}),
              (std::vector<std::string>{"", "@f@S14 abcdefghijklmno", "@f@S14 ---------------"}));
}

TEST(DisplayFilter, PagesAndTheirCount)
{
    std::vector<std::string> none;
    OFD_afficheur_filtre_affichage empty(none.data(), 0);
    EXPECT_EQ(empty.nb_pages(), 0);
    EXPECT_EQ(empty.visu_page(0), "");
    EXPECT_EQ(empty.visu_page(1), "");

    std::vector<std::string> report = join(join({"#C 2 3 "}, repeat("ab#cd", 76)), {"#T", "#C 1 ", "xy", "#T"});
    OFD_afficheur_filtre_affichage f(report.data(), static_cast<int>(report.size()));
    EXPECT_EQ(f.nb_pages(), 1);
    std::string first = "\n";
    for (int i = 0; i < 76; ++i) first += "@f@S14 abcd\n";
    first += "@f@S14 -----\n";
    EXPECT_EQ(f.visu_page(0), first);
    EXPECT_EQ(f.visu_page(1), "\n@f@S14 x\n@f@S14 -\n");
    EXPECT_EQ(f.visu_page(2), "");
    EXPECT_EQ(f.visu_page(-1), "");
}

TEST(DisplayFilter, JumpingUsesTheLastSpecificationRead)
{
    std::vector<std::string> report = join(join({"#C 2 "}, repeat("a", 77)), {"abcdef", "#C 4 ", "abcdef"});
    OFD_afficheur_filtre_affichage f(report.data(), static_cast<int>(report.size()));
    EXPECT_EQ(f.visu_page(1), "@f@S14 \n\n@f@S14 abcd\n");
    EXPECT_EQ(f.visu_page(1), "@f@S14 abcd\n\n@f@S14 abcd\n");
    f.visu_page(0);
    EXPECT_EQ(f.visu_page(1), "@f@S14 ab\n\n@f@S14 abcd\n");
}

TEST(DisplayFilter, CountsOf77And78Lines)
{
    struct { std::vector<std::string> lines; int last_page; } cases[] = {
        {repeat("a", 77), 0},
        {repeat("a", 78), 1},
        {join(repeat("a", 77), {"#C 3 "}), 1},
        {repeat("#T", 154), 1},
        {repeat("a", 155), 2},
    };
    for (auto& c : cases) {
        OFD_afficheur_filtre_affichage f(c.lines.data(), static_cast<int>(c.lines.size()));
        EXPECT_EQ(f.nb_pages(), c.last_page) << c.lines.size();
    }
}

TEST(TextFilter, SpecificationsAndRulesBecomeDashes)
{
    std::vector<std::string> report = {"#C 10 ", "#P 5 ", "#T", "a#b", "", "#", "#x", "x#T"};
    OFD_afficheur_filtre_texte t(report.data(), static_cast<int>(report.size()));
    std::ostringstream out;
    t.imprime(out);
    EXPECT_EQ(out.str(), "-------------------------------------------------------\n"
                         "-------------------------------------------------------\n"
                         "-------------------------------------------------------\n"
                         "a#b\n"
                         "\n"
                         "#\n"
                         "#x\n"
                         "x#T\n");
    std::ostringstream one;
    t.imprime_ligne(one, "#Tx");
    t.imprime_ligne(one, "plain");
    EXPECT_EQ(one.str(), "-------------------------------------------------------\nplain\n");
}

} // namespace
