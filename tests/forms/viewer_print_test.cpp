// The report as PDF and PostScript: golden texts, the document's own numbers, and the real
// readers' verdicts (qpdf, pdfinfo, pdftotext, ghostscript).
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <regex>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include <dirent.h>
#include <unistd.h>

#include "forms/formspp_viewer.h"
#include "tests/support/test_files.h"

namespace {

// The document that one of the print filter's two printers writes for the lines.
std::string printed(std::vector<std::string> lines, void (OFD_afficheur_filtre_impression::*print)(std::ostream&))
{
    OFD_afficheur_filtre_impression p(lines.data(), static_cast<int>(lines.size()));
    std::ostringstream out;
    (p.*print)(out);
    return out.str();
}

std::string pdf_of(std::vector<std::string> lines)
{
    return printed(std::move(lines), &OFD_afficheur_filtre_impression::imprime_pdf);
}

std::string postscript_of(std::vector<std::string> lines)
{
    return printed(std::move(lines), &OFD_afficheur_filtre_impression::imprime_postscript);
}

// Checks the numbers a PDF holds about its own bytes: each stream's length, each
// cross-reference entry's offset, the trailer's size and the start of the cross-references.
void expect_consistent_pdf(const std::string& pdf)
{
    // streams: Length bytes of data, then the end-of-line marker and "endstream"
    std::regex stream_re("<< /Length (\\d+) >>\nstream\n");
    int streams = 0;
    for (auto m = std::sregex_iterator(pdf.begin(), pdf.end(), stream_re); m != std::sregex_iterator(); ++m) {
        ++streams;
        std::size_t data = static_cast<std::size_t>(m->position(0) + m->length(0));
        std::size_t length = std::stoul((*m)[1]);
        std::string after = pdf.substr(data + length, 11);
        EXPECT_TRUE(after == "\nendstream\n" || (length == 0 && after.compare(0, 10, "endstream\n") == 0))
            << "stream at " << data << " of length " << length;
    }
    EXPECT_GT(streams, 0);
    // start of the cross-references
    std::smatch m;
    ASSERT_TRUE(std::regex_search(pdf, m, std::regex("\nstartxref\n(\\d+)\n%%EOF\n$")));
    std::size_t xref = std::stoul(m[1]);
    ASSERT_EQ(pdf.compare(xref, 5, "xref\n"), 0);
    // every subsection's entries point to their objects, each entry 20 bytes
    std::size_t p = xref + 5;
    int highest = 0;
    for (;;) {
        std::size_t eol = pdf.find('\n', p);
        std::string header = pdf.substr(p, eol - p);
        int first, count;
        if (std::sscanf(header.c_str(), "%d %d", &first, &count) != 2) break;
        p = eol + 1;
        for (int n = first; n < first + count; ++n, p += 20) {
            std::string entry = pdf.substr(p, 20);
            ASSERT_EQ(entry.size(), 20u);
            if (n == 0) {
                EXPECT_EQ(entry, "0000000000 65535 f \n");
                continue;
            }
            ASSERT_EQ(entry.substr(10), " 00000 n \n") << n;
            std::size_t offset = std::stoul(entry.substr(0, 10));
            std::string obj = std::to_string(n) + " 0 obj\n";
            EXPECT_EQ(pdf.compare(offset, obj.size(), obj), 0) << "object " << n;
        }
        highest = first + count;
    }
    // every object is in the table
    std::regex obj_re("(^|\n)(\\d+) 0 obj\n");
    int objects = 0;
    for (auto o = std::sregex_iterator(pdf.begin(), pdf.end(), obj_re); o != std::sregex_iterator(); ++o) ++objects;
    EXPECT_EQ(objects, 5 + (highest - 10));
    ASSERT_TRUE(std::regex_search(pdf, m, std::regex("\ntrailer\n  << /Size (\\d+)\n")));
    EXPECT_EQ(std::stoi(m[1]), highest);
}

// The PDF with its computed numbers (lengths, offsets, start of the cross-references) as '@'.
std::string masked(const std::string& pdf)
{
    std::string s = std::regex_replace(pdf, std::regex("<< /Length \\d+ >>"), "<< /Length @ >>");
    s = std::regex_replace(s, std::regex("\n\\d{10} 00000 n "), "\n@ 00000 n ");
    return std::regex_replace(s, std::regex("\nstartxref\n\\d+\n"), "\nstartxref\n@\n");
}

// A one-page PostScript document up to its first drawing line.
const std::string one_page_postscript_head = R"(%!PS-Adobe-2.0
%%Creator: pomerel
%%Title: tmp.ps
%%Pages: 1
%%PageOrder: Ascend
%%BoundingBox: 0 0 612 792
%%DocumentPaperSizes: a4
%%EndComments
%%Page: 1 1
a4
/Times-Roman findfont
7 scalefont
setfont
)";

const std::vector<std::string> small_report = {
    "#C T10 T5 8 T", "a(b)c#xd#y\\", "#T", " #x#yz", "#C 4 ", "#P 6 ", "top", "#C T2 T", "xyz",
};

TEST(PrintFilter, PostScriptOfASmallReport)
{
    EXPECT_EQ(postscript_of(small_report), one_page_postscript_head + R"(45 790 moveto (abc) show
95 790 moveto (d) show
120 790 moveto (\\) show
newpath 40 780 moveto 155 780 lineto stroke 
95 770 moveto () show
120 770 moveto (z) show
newpath 40 770 moveto 40 800 lineto stroke 
newpath 90 770 moveto 90 800 lineto stroke 
newpath 155 770 moveto 155 800 lineto stroke 
45 800 moveto (top) show
45 790 moveto (xy) show
newpath 40 790 moveto 40 800 lineto stroke 
newpath 50 790 moveto 50 800 lineto stroke 
showpage
)");
}

TEST(PrintFilter, PdfOfASmallReport)
{
    std::string pdf = pdf_of(small_report);
    expect_consistent_pdf(pdf);
    EXPECT_EQ(masked(pdf), R"(%PDF-1.4
1 0 obj
  << /Type /Catalog
     /Outlines 2 0 R
     /Pages 3 0 R
  >>
endobj

2 0 obj
  << /Type /Outlines
     /Count 0
  >>
endobj

3 0 obj
  << /Type /Pages
     /Kids [10 0 R
         ]
     /Count 1
  >>
endobj

4 0 obj
   [/PDF /Text]
endobj

5 0 obj
  << /Type /Font
     /Subtype /Type1
     /Name /F1
     /BaseFont /Times-Roman
     /Encoding /WinAnsiEncoding
  >>
endobj

10 0 obj
  << /Type /Page
     /Parent 3 0 R
     /MediaBox [0 0 612 792]
     /Contents 11 0 R
     /Resources << /ProcSet 4 0 R
                   /Font << /F1 5 0 R >>
                >>
  >>
endobj

11 0 obj
  << /Length @ >>
stream
   BT
     /F1 7 Tf
     45 770 Td
(abc) Tj
   ET
   BT
     /F1 7 Tf
     95 770 Td
(d) Tj
   ET
   BT
     /F1 7 Tf
     120 770 Td
(\\) Tj
   ET
    40 760 m
    155 760 l
       S
   BT
     /F1 7 Tf
     95 750 Td
() Tj
   ET
   BT
     /F1 7 Tf
     120 750 Td
(z) Tj
   ET
    40 750 m
    40 780 l
       S
    90 750 m
    90 780 l
       S
    155 750 m
    155 780 l
       S
   BT
     /F1 7 Tf
     45 780 Td
(top) Tj
   ET
   BT
     /F1 7 Tf
     45 770 Td
(xy) Tj
   ET
    40 770 m
    40 780 l
       S
    50 770 m
    50 780 l
       S
endstream
endobj

xref
0 6
0000000000 65535 f 
@ 00000 n 
@ 00000 n 
@ 00000 n 
@ 00000 n 
@ 00000 n 
10 2
@ 00000 n 
@ 00000 n 

trailer
  << /Size 12
     /Root 1 0 R
  >>
startxref
@
%%EOF
)");
}

TEST(PrintFilter, EmptyReport)
{
    std::string pdf = pdf_of({});
    expect_consistent_pdf(pdf);
    EXPECT_NE(pdf.find("     /Kids [10 0 R\n         ]\n     /Count 1\n"), std::string::npos);
    EXPECT_NE(pdf.find("11 0 obj\n  << /Length 0 >>\nstream\nendstream\nendobj\n\nxref\n0 6\n"), std::string::npos);
    EXPECT_EQ(postscript_of({}), one_page_postscript_head + "showpage\n");
}

TEST(PrintFilter, PageBreakAfter77CountedLines)
{
    std::vector<std::string> report = {"#C T3 T"};
    for (int i = 0; i < 77; ++i) report.push_back("x");
    report.push_back("y");
    std::string ps = postscript_of(report);
    EXPECT_NE(ps.find("%%Pages: 2\n"), std::string::npos);
    const std::string tail = R"(45 30 moveto (x) show
newpath 40 30 moveto 40 800 lineto stroke 
newpath 55 30 moveto 55 800 lineto stroke 
showpage
%%Page: 2 2
a4
/Times-Roman findfont
7 scalefont
setfont
45 790 moveto (y) show
newpath 40 790 moveto 40 800 lineto stroke 
newpath 55 790 moveto 55 800 lineto stroke 
showpage
)";
    ASSERT_GE(ps.size(), tail.size());
    EXPECT_EQ(ps.substr(ps.size() - tail.size()), tail);

    std::string pdf = pdf_of(report);
    expect_consistent_pdf(pdf);
    std::string m = masked(pdf);
    EXPECT_NE(m.find("     /Kids [10 0 R\n         12 0 R\n         ]\n     /Count 2\n"), std::string::npos);
    const std::string second = R"(     45 10 Td
(x) Tj
   ET
    40 10 m
    40 780 l
       S
    55 10 m
    55 780 l
       S
endstream
endobj

12 0 obj
  << /Type /Page
     /Parent 3 0 R
     /MediaBox [0 0 612 792]
     /Contents 13 0 R
     /Resources << /ProcSet 4 0 R
                   /Font << /F1 5 0 R >>
                >>
  >>
endobj

13 0 obj
  << /Length @ >>
stream
   BT
     /F1 7 Tf
     45 770 Td
(y) Tj
   ET
    40 770 m
    40 780 l
       S
    55 770 m
    55 780 l
       S
endstream
endobj

xref
0 6
0000000000 65535 f 
@ 00000 n 
@ 00000 n 
@ 00000 n 
@ 00000 n 
@ 00000 n 
10 4
@ 00000 n 
@ 00000 n 
@ 00000 n 
@ 00000 n 

trailer
  << /Size 14
)";
    EXPECT_NE(m.find(second), std::string::npos);
}

TEST(PrintFilter, RulesAndCellsOfThePartsEdgeCases)
{
    // widths 4 and 6, a rule on column 1: one vertical rule at x = 60
    std::string ps = postscript_of({"#C 4 T6 ", "a", "#C 3 "});
    EXPECT_NE(ps.find("45 790 moveto (a) show\nnewpath 60 790 moveto 60 800 lineto stroke \nshowpage\n"),
              std::string::npos);
    ps = postscript_of({"#C 10 ", "a(b)c", "#C 5 5 ", "ab#cd", "#P 3 ", "p"});
    EXPECT_NE(ps.find("setfont\n45 790 moveto (abc) show\n45 780 moveto (ab) show\n70 780 moveto (d) show\n"
                      "45 800 moveto (p) show\nshowpage\n"),
              std::string::npos);
    // more than 15 cells and a rule past the 15th column stay inside the tables
    ps = postscript_of({"#C 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 4 T4 T", "a#bb#cc#dd#ee#ff#gg#hh#ii#jj#kk#ll#mm#nn#oo#pp#qq", "#T"});
    EXPECT_NE(ps.find("setfont\n45 790 moveto (a) show\n50 790 moveto (b) show\n"), std::string::npos);
    EXPECT_NE(ps.find("115 790 moveto (o) show\n120 790 moveto () show\n120 790 moveto () show\n"
                      "newpath 40 780 moveto 115 780 lineto stroke \nshowpage\n"),
              std::string::npos);
    // backslashes are escaped in both languages
    ps = postscript_of({"#C 9 ", "a\\b\\"});
    EXPECT_NE(ps.find("45 790 moveto (a\\\\b\\\\) show\n"), std::string::npos);
    EXPECT_NE(pdf_of({"#C 9 ", "a\\b\\"}).find("\n(a\\\\b\\\\) Tj\n"), std::string::npos);
}

TEST(PrintFilter, WidthsAndRulesAreZeroBeforeTheFirstSpecification)
{
    std::string ps = postscript_of({"abc#def", "#T"});
    EXPECT_NE(ps.find("setfont\n45 790 moveto () show\n45 790 moveto () show\n"
                      "newpath 40 780 moveto 40 780 lineto stroke \nshowpage\n"),
              std::string::npos);
}

// ---- the real readers ----

struct result {
    int status;
    std::string output;
};

result run(const std::string& command)
{
    result r{-1, ""};
    FILE* p = popen((command + " 2>&1").c_str(), "r");
    if (p == nullptr) return r;
    char buffer[4096];
    std::size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, p)) > 0) r.output.append(buffer, n);
    int status = pclose(p);
    r.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return r;
}

bool have(const char* tool)
{
    return run(std::string("command -v ") + tool).status == 0;
}

std::vector<std::string> words(const std::string& text)
{
    std::istringstream in(text);
    std::vector<std::string> w;
    std::string s;
    while (in >> s) w.push_back(s);
    return w;
}

// A report of n counted lines: text lines of five cells (a plain one, one with parentheses and
// a backslash, a single blank, an empty one, a last one), a rule line every tenth line and a
// new column block every 25th; no line at all for n = 0. page_words[p]: the texts page p must
// show, in order.
std::vector<std::string> big_report(int n, std::vector<std::vector<std::string>>& page_words)
{
    page_words.assign(1, {});
    if (n == 0) return {};
    std::vector<std::string> report = {"#C T12 T10 T4 T4 T10 T"};
    for (int i = 0; i < n; ++i) {
        if (i > 0 && i % 77 == 0) page_words.emplace_back();
        if (i > 0 && i % 25 == 0) report.push_back(i % 50 == 0 ? "#C T12 T10 T4 T4 T10 T" : "#C 12 T10 4 T4 10 T");
        if (i % 10 == 9) {
            report.push_back("#T");
            continue;
        }
        std::string k = std::to_string(i);
        report.push_back("L" + k + "#_(b)s\\" + k + "#_ #_#_end" + k);
        page_words.back().push_back("L" + k);
        page_words.back().push_back("bs\\" + k);
        page_words.back().push_back("end" + k);
    }
    return report;
}

class Readers : public testing::TestWithParam<int> {
protected:
    std::string dir;
    void SetUp() override
    {
        char name[] = "/tmp/nelvor_print_XXXXXX";
        ASSERT_NE(mkdtemp(name), nullptr);
        dir = name;
    }
    void TearDown() override { run("rm -rf '" + dir + "'"); }
    void write(const std::string& name, const std::string& bytes) { test_files::write(dir + "/" + name, bytes); }
};

TEST_P(Readers, PdfPassesQpdfPdfinfoAndPdftotext)
{
    if (!have("qpdf") || !have("pdfinfo") || !have("pdftotext")) GTEST_SKIP() << "qpdf or poppler-utils missing";
    std::vector<std::vector<std::string>> expected;
    std::string pdf = pdf_of(big_report(GetParam(), expected));
    expect_consistent_pdf(pdf);
    write("r.pdf", pdf);
    result check = run("qpdf --check '" + dir + "/r.pdf'");
    EXPECT_EQ(check.status, 0) << check.output;
    EXPECT_EQ(check.output.find("WARNING"), std::string::npos) << check.output;
    EXPECT_NE(check.output.find("No syntax or stream encoding errors found"), std::string::npos) << check.output;
    result info = run("pdfinfo '" + dir + "/r.pdf'");
    EXPECT_EQ(info.status, 0) << info.output;
    EXPECT_EQ(info.output.find("Syntax"), std::string::npos) << info.output; // no repair reported
    std::smatch m;
    ASSERT_TRUE(std::regex_search(info.output, m, std::regex("Pages: +(\\d+)")));
    EXPECT_EQ(std::stoi(m[1]), static_cast<int>(expected.size()));
    result text = run("pdftotext -layout '" + dir + "/r.pdf' -");
    EXPECT_EQ(text.status, 0) << text.output;
    std::vector<std::string> pages;
    std::istringstream in(text.output);
    std::string page;
    while (std::getline(in, page, '\f')) pages.push_back(page);
    ASSERT_GE(pages.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) EXPECT_EQ(words(pages[i]), expected[i]) << "page " << i + 1;
    for (std::size_t i = expected.size(); i < pages.size(); ++i) EXPECT_EQ(words(pages[i]).size(), 0u);
}

TEST_P(Readers, PostScriptPassesGhostscript)
{
    if (!have("gs")) GTEST_SKIP() << "ghostscript missing";
    std::vector<std::vector<std::string>> expected;
    write("r.ps", postscript_of(big_report(GetParam(), expected)));
    result gs = run("gs -dSAFER -dBATCH -dNOPAUSE -q -sDEVICE=txtwrite -sOutputFile='" + dir + "/p%03d.txt' '" + dir +
                    "/r.ps'");
    EXPECT_EQ(gs.status, 0) << gs.output;
    EXPECT_EQ(gs.output, "");
    int pages = 0;
    for (;; ++pages) {
        char name[32];
        std::snprintf(name, sizeof name, "/p%03d.txt", pages + 1);
        if (!test_files::exists(dir + name)) break;
        if (pages < static_cast<int>(expected.size())) {
            EXPECT_EQ(words(test_files::read(dir + name)), expected[pages]) << "page " << pages + 1;
        }
    }
    EXPECT_EQ(pages, static_cast<int>(expected.size()));
    // a page-aware reader sees every page
    result count = run("gs -dSAFER -dBATCH -dNOPAUSE -q -sDEVICE=bbox '" + dir + "/r.ps'");
    std::size_t boxes = 0;
    for (std::size_t p = 0; (p = count.output.find("%%HiResBoundingBox", p)) != std::string::npos; ++p) ++boxes;
    EXPECT_EQ(boxes, expected.size());
}

INSTANTIATE_TEST_SUITE_P(Lines, Readers, testing::Values(0, 1, 77, 78, 500));

} // namespace
