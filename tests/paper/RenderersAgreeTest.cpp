// The renderers of a page description, cairo's PDF, QPainter on a printer
// (here Qt's PDF printer) and QPainter into QPdfWriter (the PDF export where
// cairo is absent), read back with pdftotext: every word stands at the same
// place in all, inside the box of the text it belongs to.
#include "paper/PaperDocuments.h"
#include "paper/pdf/PdfRenderer.h"
#include "paper/qt/PaperPainter.h"
#include "tests/paper/PaperFixture.h"

#include <gtest/gtest.h>

#include <QPrinter>
#include <QString>

#include <cmath>
#include <iterator>
#include <regex>
#include <sstream>

namespace tabry::paper {
namespace {

using test::U;

struct Word {
    double xMin, yMin, xMax, yMax;
    std::string text; // UTF-8
};

// The words of every page, from pdftotext's bounding-box HTML. One glyph of
// the font serves both the wave dash and the full-width tilde, and the two
// files name it differently; the tilde stands for both.
std::vector<std::vector<Word>> Words(const std::filesystem::path& pdf)
{
    std::string html = test::Capture("pdftotext -bbox \"" + pdf.string() + "\" - 2>&1");
    for (size_t at = html.find("〜"); at != std::string::npos; at = html.find("〜", at))
        html.replace(at, std::string("〜").size(), "～");
    std::vector<std::vector<Word>> pages;
    static const std::regex page("<page ");
    static const std::regex word(
        R"re(<word xMin="([-0-9.]+)" yMin="([-0-9.]+)" xMax="([-0-9.]+)" yMax="([-0-9.]+)">([^<]*)</word>)re");
    size_t at = 0;
    while ((at = html.find("<page ", at)) != std::string::npos) {
        const size_t end = html.find("</page>", at);
        const std::string body = html.substr(at, end - at);
        std::vector<Word>& words = pages.emplace_back();
        for (auto it = std::sregex_iterator(body.begin(), body.end(), word); it != std::sregex_iterator(); ++it)
            words.push_back(
                {std::stod((*it)[1]), std::stod((*it)[2]), std::stod((*it)[3]), std::stod((*it)[4]), (*it)[5]});
        at = end;
    }
    return pages;
}

// The text item a word belongs to: the one whose box holds the word's middle.
const TextItem* ItemOf(const Page& page, const Word& w)
{
    const double x = (w.xMin + w.xMax) / 2;
    const double y = (w.yMin + w.yMax) / 2;
    for (const TextItem& t : page.texts)
        if (x >= t.box.x && x <= t.box.Right() && y >= t.box.y && y <= t.box.Bottom()
            && U(t.text).find(w.text) != std::string::npos)
            return &t;
    return nullptr;
}

// The "emb" column of pdffonts' table, one entry per font: the fifth field
// from the end (the type's name may hold spaces).
std::vector<std::string> EmbeddedColumn(const std::string& table)
{
    std::vector<std::string> column;
    std::istringstream lines(table);
    std::string line;
    for (int n = 0; std::getline(lines, line); ++n) {
        if (n < 2)
            continue; // the heading and its underline
        std::istringstream fields(line);
        std::vector<std::string> f{std::istream_iterator<std::string>(fields), std::istream_iterator<std::string>()};
        if (f.size() >= 6)
            column.push_back(f[f.size() - 5]);
    }
    return column;
}

// Each word of `cairo` against the nearest same word of `qt`: the same place,
// inside the box of its text.
void ExpectSamePlaces(const PaperDocument& doc, const std::vector<std::vector<Word>>& cairo,
                      const std::vector<std::vector<Word>>& qt)
{
    for (size_t p = 0; p < doc.pages.size(); ++p) {
        SCOPED_TRACE(::testing::Message() << "page " << p + 1);
        ASSERT_EQ(cairo[p].size(), qt[p].size());
        EXPECT_GT(cairo[p].size(), 20u);
        // Each word of one file against the nearest same word of the other.
        std::vector<bool> taken(qt[p].size(), false);
        for (const Word& a : cairo[p]) {
            size_t best = qt[p].size();
            double bestDistance = 1e9;
            for (size_t k = 0; k < qt[p].size(); ++k) {
                const double distance = std::hypot(qt[p][k].xMin - a.xMin, qt[p][k].yMin - a.yMin);
                if (!taken[k] && qt[p][k].text == a.text && distance < bestDistance) {
                    best = k;
                    bestDistance = distance;
                }
            }
            ASSERT_LT(best, qt[p].size()) << a.text << " is missing from the printer's page";
            taken[best] = true;
            const Word& b = qt[p][best];
            // Horizontal ends follow the glyph advances; the vertical
            // ones come from each file's font descriptor.
            EXPECT_NEAR(a.xMin, b.xMin, 0.3) << a.text;
            EXPECT_NEAR(a.xMax, b.xMax, 0.3) << a.text;
            EXPECT_NEAR((a.yMin + a.yMax) / 2, (b.yMin + b.yMax) / 2, 0.5) << a.text;
            for (const Word* w : {&a, &b}) {
                const TextItem* item = ItemOf(doc.pages[p], *w);
                ASSERT_NE(item, nullptr) << w->text << " at " << w->xMin << ", " << w->yMin;
                EXPECT_GE(w->xMin, item->box.x - 0.3) << w->text;
                EXPECT_LE(w->xMax, item->box.Right() + 0.3) << w->text;
            }
        }
    }
}

TEST(RenderersAgreeTest, AllPutEveryTextAtTheSamePlaceInsideItsBox)
{
    if (!test::HavePoppler())
        GTEST_SKIP() << "pdftotext is not installed (tools/setup.sh installs poppler-utils); skipping";
    test::TempDir tmp;
    const TournamentData d = test::GeneratedTournament(30, 12);
    for (const PaperKind kind : {PaperKind::PairingSheet, PaperKind::Standings, PaperKind::ResultTable}) {
        const PaperDocument doc = LayoutPaper(kind, d, 12);
        SCOPED_TRACE(U(doc.title));
        std::string bytes;
        ASSERT_TRUE(RenderPdf(doc, bytes));
        test::WriteAll(tmp / "cairo.pdf", bytes);
        {
            QPrinter printer(QPrinter::HighResolution);
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(QString::fromStdString((tmp / "qt.pdf").string()));
            PreparePrinter(printer, doc);
            ASSERT_TRUE(PrintDocument(printer, doc));
        }
        std::string written;
        ASSERT_TRUE(RenderPdfWithQt(doc, written, nullptr));
        test::WriteAll(tmp / "writer.pdf", written);
        // The export must carry its font: the organiser's printer or the
        // players' phones may not have IPA Gothic.
        const std::string fonts = test::Capture("pdffonts \"" + (tmp / "writer.pdf").string() + "\" 2>&1");
        EXPECT_NE(fonts.find("IPAGothic"), std::string::npos) << fonts;
        for (const std::string& embedded : EmbeddedColumn(fonts))
            EXPECT_EQ(embedded, "yes") << fonts;

        const std::vector<std::vector<Word>> cairo = Words(tmp / "cairo.pdf");
        ASSERT_EQ(cairo.size(), doc.pages.size());
        for (const char* other : {"qt.pdf", "writer.pdf"}) {
            SCOPED_TRACE(other);
            const std::vector<std::vector<Word>> qt = Words(tmp / other);
            ASSERT_EQ(qt.size(), doc.pages.size());
            ExpectSamePlaces(doc, cairo, qt);
        }
    }
}

} // namespace
} // namespace tabry::paper
