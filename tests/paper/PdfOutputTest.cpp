// The PDFs of the printed documents read back with poppler's tools: the
// extracted text holds every player in the right order on the right number
// of pages, the fonts are embedded, and one page of each document looks as
// it did when its golden picture was made.
#include "outputs/OutputKinds.h"
#include "paper/PaperDocuments.h"
#include "reports/InterimOutputs.h"
#include "tests/paper/PaperFixture.h"

#include <cairo.h>
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <sstream>

namespace tabry {
namespace {

using test::S;
using test::U;

class PdfOutputTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!test::HavePoppler())
            GTEST_SKIP() << "pdftotext is not installed (tools/setup.sh installs poppler-utils); skipping";
    }

    std::filesystem::path Write(OutputKind kind, TournamentData& d, int round, const std::string& name)
    {
        std::string bytes;
        std::string message;
        EXPECT_EQ(RenderOutput(kind, d, round, bytes, &message), OutputStatus::Ok) << U(message);
        EXPECT_EQ(bytes.rfind("%PDF-", 0), 0u);
        const std::filesystem::path path = m_tmp / (name + ".pdf");
        test::WriteAll(path, bytes);
        return path;
    }

    test::TempDir m_tmp;
};

// The standings' text read back from the PDF: every player in order with
// his rank, equal players sharing one, on the expected number of pages, each
// with its frame. (The board order and the table's pages are checked on the
// page descriptions; any text the renderer drew unreadable shows here.)
TEST_F(PdfOutputTest, TheStandingsListEveryPlayerInOrderWithSharedRanks)
{
    for (const auto& [players, pages] : {std::pair{24, 1}, std::pair{128, 3}, std::pair{512, 12}}) {
        SCOPED_TRACE(::testing::Message() << players << " players");
        TournamentData d = test::GeneratedTournament(players, 7);
        d.table.settings.tieBreak = WinPointsA; // one key: ties among 24 players already
        const std::vector<std::string> text = test::PdfPages(Write(OutputKind::PdfStandings, d, 0, "standings"));
        ASSERT_EQ(static_cast<int>(text.size()), pages);
        for (size_t p = 0; p < text.size(); ++p) {
            EXPECT_NE(text[p].find("全日本オセロ選手権"), std::string::npos);
            EXPECT_NE(text[p].find(std::to_string(p + 1) + " / " + std::to_string(pages)), std::string::npos);
        }

        const CResultTable sorted = StandingsCopy(d.table);
        const std::vector<int> ranks = sorted.RankNumbers(sorted.settings.tieBreak);
        std::string all;
        for (const std::string& page : text)
            all += page;
        size_t from = 0;
        int shared = 0;
        for (int r = 0; r < players; ++r) {
            const std::string name = U(d.players.GetAt(sorted.Entry(r).playerIndex).m_longName);
            const size_t at = all.find(name, from);
            ASSERT_NE(at, std::string::npos) << name << " missing or out of order";
            const size_t lineStart = all.rfind('\n', at) + 1;
            std::istringstream words(all.substr(lineStart, at - lineStart));
            int rank = 0;
            words >> rank;
            EXPECT_EQ(rank, ranks[static_cast<size_t>(r)]) << name;
            shared += r > 0 && ranks[static_cast<size_t>(r)] == ranks[static_cast<size_t>(r - 1)] ? 1 : 0;
            from = at + name.size();
        }
        EXPECT_GT(shared, 0) << "the fixture should have tied players";
    }
}

// What the phone marks, paper marks too, read back from the PDFs: a
// withdrawn player's mark in the standings and under his name in the result
// table, 棄 in his rounds without a game, the round the standings stand
// after, a long name cut with "…" at a readable size, and no band of empty
// rounds in the table.
TEST_F(PdfOutputTest, ThePrintedDocumentsMarkWithdrawalsAndWhereTheStandingsStand)
{
    TournamentData d = test::GeneratedTournament(24, 8); // round 8 paired, no results
    // A ninth round nobody has played: no page of its own.
    d.table.Resize(24, 9);
    // 選手005 leaves before round 7: his game of round 8 goes.
    const int leaver = 4;
    for (int j = 6; j < 8; ++j) {
        const int o = d.table.Cell(leaver, j).opponent;
        if (o >= 0 && d.table.Cell(leaver, j).result == ResultNone)
            d.table.Cell(o, j).ClearGame();
        if (d.table.Cell(leaver, j).result == ResultNone || j == 7)
            d.table.Cell(leaver, j).ClearGame();
    }
    d.table.Cell(leaver, 6).ClearGame();
    d.table.Entry(leaver).withdrawnFrom = 6;
    d.players.GetAt(d.table.Entry(7).playerIndex).m_longName =
        S("寿限無寿限無五劫の擦り切れ海砂利水魚の水行末雲来末風来末");
    d.table.ComputeAll();

    const std::vector<std::string> standings = test::PdfPages(Write(OutputKind::PdfStandings, d, 0, "marks-standings"));
    ASSERT_EQ(standings.size(), 1u);
    EXPECT_NE(standings[0].find("7回戦終了時点"), std::string::npos) << standings[0];
    const size_t row = standings[0].find("選手005");
    ASSERT_NE(row, std::string::npos);
    const std::string line = standings[0].substr(row, standings[0].find('\n', row) - row);
    EXPECT_NE(line.find("棄権(7回戦から)"), std::string::npos) << line;
    const size_t cut = standings[0].find("寿限無寿限無五劫");
    ASSERT_NE(cut, std::string::npos);
    EXPECT_NE(standings[0].substr(cut, standings[0].find('\n', cut) - cut).find("…"), std::string::npos)
        << "cut, not shrunk";

    const std::vector<std::string> table = test::PdfPages(Write(OutputKind::PdfTable, d, 0, "marks-table"));
    ASSERT_EQ(table.size(), 1u) << "round 9 holds no game: the eight others fit one band";
    EXPECT_EQ(table[0].find("9回戦"), std::string::npos);
    EXPECT_NE(table[0].find("棄権(7回戦から)"), std::string::npos) << table[0];
    size_t marks = 0;
    for (size_t at = table[0].find("棄"); at != std::string::npos; at = table[0].find("棄", at + 1))
        ++marks;
    EXPECT_EQ(marks, 3u) << "the mark, then 棄 in rounds 7 and 8";

    // Every text of every document is 7 pt or larger, headings apart.
    for (const OutputKind kind : {OutputKind::PdfPairing, OutputKind::PdfStandings, OutputKind::PdfTable}) {
        const paper::PaperDocument doc = paper::LayoutPaper(*OutputKindOf(kind).paper, d, 8);
        for (const paper::Page& page : doc.pages) {
            for (const paper::TextItem& t : page.texts) {
                if (t.text.find(S("選手")) != std::string::npos || t.text.find(S("寿限無")) != std::string::npos) {
                    EXPECT_GE(t.size, 7.0) << U(t.text);
                }
            }
        }
    }

    // The pairing table of a file with withdrawals names him 棄権, not PASS.
    std::string csv;
    WritePairingTable(d.table, d.players, 8, csv);
    const size_t at = csv.find(S("選手005"));
    ASSERT_NE(at, std::string::npos);
    EXPECT_EQ(csv.substr(at, csv.find("\r\n", at) - at).find(S(",-,棄権,,[0.0]")) != std::string::npos, true) << U(csv);
}

// ---- golden pictures ---------------------------------------------------

struct Picture {
    int width = 0;
    int height = 0;
    std::vector<unsigned char> gray;
};

Picture ReadPng(const std::filesystem::path& path)
{
    Picture picture;
    cairo_surface_t* png = cairo_image_surface_create_from_png(path.string().c_str());
    if (cairo_surface_status(png) == CAIRO_STATUS_SUCCESS) {
        cairo_surface_t* image = cairo_image_surface_create(CAIRO_FORMAT_RGB24, cairo_image_surface_get_width(png),
                                                            cairo_image_surface_get_height(png));
        cairo_t* cr = cairo_create(image);
        cairo_set_source_rgb(cr, 1, 1, 1);
        cairo_paint(cr);
        cairo_set_source_surface(cr, png, 0, 0);
        cairo_paint(cr);
        cairo_destroy(cr);
        cairo_surface_flush(image);
        picture.width = cairo_image_surface_get_width(image);
        picture.height = cairo_image_surface_get_height(image);
        const int stride = cairo_image_surface_get_stride(image);
        const unsigned char* data = cairo_image_surface_get_data(image);
        for (int y = 0; y < picture.height; ++y)
            for (int x = 0; x < picture.width; ++x)
                picture.gray.push_back(data[y * stride + x * 4 + 1]); // green, as good as grey here
        cairo_surface_destroy(image);
    }
    cairo_surface_destroy(png);
    return picture;
}

TEST_F(PdfOutputTest, EachDocumentEmbedsItsFontAndLooksAsItsGoldenPicture)
{
    if (!test::HaveIpaGothic())
        GTEST_SKIP() << "IPA Gothic is not installed (tools/setup.sh installs fonts-ipafont-gothic)";
    TournamentData d = test::GeneratedTournament(24, 7);
    for (const auto& [kind, name] :
         {std::pair{OutputKind::PdfPairing, "pairing"}, std::pair{OutputKind::PdfStandings, "standings"},
          std::pair{OutputKind::PdfTable, "table"}}) {
        SCOPED_TRACE(name);
        const std::filesystem::path pdf = Write(kind, d, 7, name);
        const std::string fonts = test::Capture("pdffonts \"" + pdf.string() + "\"");
        EXPECT_NE(fonts.find("+IPAGothic"), std::string::npos) << fonts; // a subset
        EXPECT_EQ(fonts.find(" no "), std::string::npos) << fonts;       // every font embedded
        const std::filesystem::path stem = std::filesystem::path(TABRY_GOLDEN_OUT) / name;
        const std::filesystem::path actual = stem.string() + ".png";
        const std::filesystem::path golden = std::filesystem::path(TABRY_GOLDEN_DIR) / (std::string(name) + ".png");
        bool ok = false;
        test::Capture("pdftoppm -png -gray -r 50 -f 1 -l 1 -singlefile \"" + pdf.string() + "\" \"" + stem.string()
                          + "\" 2>&1",
                      &ok);
        ASSERT_TRUE(ok);
        if (std::getenv("TABRY_UPDATE_GOLDEN") != nullptr)
            std::filesystem::copy_file(actual, golden, std::filesystem::copy_options::overwrite_existing);
        const Picture want = ReadPng(golden);
        const Picture got = ReadPng(actual);
        ASSERT_GT(want.width, 0) << golden << " is missing; TABRY_UPDATE_GOLDEN=1 makes it";
        ASSERT_EQ(got.width, want.width);
        ASSERT_EQ(got.height, want.height);
        // Rasterisers and font versions differ in a pixel's shade along an
        // edge; a moved column, a lost line or a missing text changes many
        // pixels by far more.
        size_t far = 0;
        double total = 0;
        for (size_t i = 0; i < want.gray.size(); ++i) {
            const int diff = std::abs(int(want.gray[i]) - int(got.gray[i]));
            total += diff;
            far += diff > 96;
        }
        const double mean = total / static_cast<double>(want.gray.size());
        const double farShare = static_cast<double>(far) / static_cast<double>(want.gray.size());
        EXPECT_LT(mean, 1.5) << "see " << actual;
        EXPECT_LT(farShare, 0.004) << "see " << actual;
    }
}

} // namespace
} // namespace tabry
