// The result slips and the pairing sheet while the players report results:
// every board's code read back from the PDFs with pdftotext for random keys,
// rounds and boards, the slips' layout sound on every page, a QR code only
// where a URL is given, and nothing of it when reporting is off.
#include "paper/ResultSlips.h"
#include "core/Boards.h"
#include "core/ReportCode.h"
#include "outputs/OutputKinds.h"
#include "paper/PaperDocuments.h"
#include "tests/paper/PaperFixture.h"

#include <gtest/gtest.h>

#include <random>

namespace tabry {
namespace {

using test::U;

// The pages' text of a PDF output, read back by pdftotext.
std::vector<std::string> PdfText(OutputKind kind, const TournamentData& d, int round, const std::string& url,
                                 const test::TempDir& dir)
{
    std::string bytes;
    std::string message;
    EXPECT_EQ(RenderOutput(kind, d, round, OutputOptions{url}, bytes, &message), OutputStatus::Ok) << U(message);
    const std::filesystem::path path = dir / "out.pdf";
    test::WriteAll(path, bytes);
    return test::PdfPages(path);
}

size_t BlackFills(const paper::PaperDocument& doc)
{
    size_t n = 0;
    for (const paper::Page& p : doc.pages)
        for (const paper::FillItem& f : p.fills)
            n += f.gray == 0.0 ? 1 : 0;
    return n;
}

TEST(ResultSlipsTest, EveryBoardsCodeReadsBackFromTheSlipsAndThePairingSheet)
{
    if (!test::HavePoppler())
        GTEST_SKIP() << "pdftotext is not installed (tools/setup.sh installs poppler-utils); skipping";
    test::TempDir dir;
    std::mt19937 random(1919);
    for (int trial = 0; trial < 3; ++trial) {
        const int players = 6 + static_cast<int>(random() % 40);
        const int rounds = 2 + static_cast<int>(random() % 5);
        SCOPED_TRACE(::testing::Message() << players << " players, " << rounds << " rounds");
        TournamentData d = test::GeneratedTournament(players, rounds);
        d.info.reportingKey = NewReportingKey();
        const int round = 1 + static_cast<int>(random() % static_cast<unsigned>(rounds));
        const std::vector<Board> boards = RoundBoards(d.table, round - 1);

        const std::vector<std::string> slips = PdfText(OutputKind::PdfSlips, d, round, "http://10.0.0.5:8080", dir);
        ASSERT_EQ(slips.size(), (boards.size() + paper::kSlipsPerPage - 1) / paper::kSlipsPerPage);
        for (size_t k = 0; k < boards.size(); ++k) {
            const std::string& page = slips[k / paper::kSlipsPerPage];
            const std::string code = ShownReportCode(ReportCode(d.info.reportingKey, round, boards[k].number));
            EXPECT_NE(page.find(code), std::string::npos) << "board " << boards[k].number << " " << code;
            EXPECT_NE(page.find(U(test::PlayerName(boards[k].left + 1))), std::string::npos);
            EXPECT_NE(page.find(U(test::PlayerName(boards[k].right + 1))), std::string::npos);
        }
        EXPECT_NE(slips[0].find("報告コード"), std::string::npos);

        std::string sheet;
        for (const std::string& page : PdfText(OutputKind::PdfPairing, d, round, "", dir))
            sheet += page;
        for (const Board& b : boards)
            EXPECT_NE(sheet.find(ShownReportCode(ReportCode(d.info.reportingKey, round, b.number))), std::string::npos)
                << "board " << b.number;
    }
}

TEST(ResultSlipsTest, SlipsAreSoundOnEveryPageAndCarryAQrOnlyWithAnAddress)
{
    TournamentData d = test::GeneratedTournament(37, 4);
    d.info.reportingKey = "0123456789abcdef0123456789abcdef";
    const int boards = static_cast<int>(RoundBoards(d.table, 3).size());
    ASSERT_EQ(boards, 18);

    const paper::PaperDocument withQr = paper::LayoutResultSlips(d, 4, "http://192.168.1.20:8080/");
    EXPECT_EQ(withQr.pages.size(), 3u);
    for (const paper::LayoutProblem& p : paper::CheckLayout(withQr))
        ADD_FAILURE() << "page " << p.page << ": " << p.what;
    // Every QR module lies in its slip's square, well inside the page.
    for (const paper::Page& p : withQr.pages)
        for (const paper::FillItem& f : p.fills)
            if (f.gray == 0.0) {
                EXPECT_GE(f.box.x, 36);
                EXPECT_LE(f.box.Right(), p.width - 36);
            }
    const size_t modules = BlackFills(withQr);
    EXPECT_GT(modules, static_cast<size_t>(boards) * 40);

    const paper::PaperDocument withoutQr = paper::LayoutResultSlips(d, 4);
    EXPECT_EQ(BlackFills(withoutQr), 0u);
    EXPECT_TRUE(paper::CheckLayout(withoutQr).empty());

    // Reporting off: no codes on the slips, and the pairing sheet laid out
    // as it always was.
    TournamentData off = d;
    off.info.reportingKey.clear();
    const paper::PaperDocument slipsOff = paper::LayoutResultSlips(off, 4, "http://192.168.1.20:8080");
    EXPECT_EQ(BlackFills(slipsOff), 0u);
    for (const paper::Page& p : slipsOff.pages)
        for (const paper::TextItem& t : p.texts)
            EXPECT_EQ(U(t.text).find("報告コード"), std::string::npos);
    const paper::PaperDocument sheetOff = paper::LayoutPairingSheet(off, 4);
    const paper::PaperDocument sheetOn = paper::LayoutPairingSheet(d, 4);
    EXPECT_TRUE(paper::CheckLayout(sheetOn).empty());
    size_t textsOff = 0, textsOn = 0;
    for (const paper::Page& p : sheetOff.pages)
        textsOff += p.texts.size();
    for (const paper::Page& p : sheetOn.pages)
        textsOn += p.texts.size();
    EXPECT_EQ(textsOn, textsOff + static_cast<size_t>(boards) + 1) << "one code per board and its heading";
}

} // namespace
} // namespace tabry
