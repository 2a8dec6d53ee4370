// The page descriptions of the three printed documents, checked without any
// renderer: every text inside its box and on its page, no two texts over each
// other, the frame on every page, and the page counts at the sizes the
// program meets.
#include "paper/PageDescription.h"
#include "paper/PaperDocuments.h"
#include "reports/InterimOutputs.h"
#include "tests/paper/PaperFixture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>

namespace tabry::paper {
namespace {

using test::S;
using test::U;

bool HasText(const Page& page, const std::string& text)
{
    return std::any_of(page.texts.begin(), page.texts.end(), [&](const TextItem& t) { return t.text == text; });
}

std::vector<std::string> Texts(const Page& page)
{
    std::vector<std::string> texts;
    for (const TextItem& t : page.texts)
        texts.push_back(t.text);
    return texts;
}

struct Size {
    int players;
    int rounds;
    int pairingPages;
    int standingsPages;
    int tablePages;
};

// 40 boards, 45 standings rows and 24 table rows per page; the table takes
// ten rounds per page beside the two tie-break values.
const Size kSizes[] = {
    {24, 7, 1, 1, 1},
    {128, 10, 2, 3, 6},
    {512, 128, 7, 12, 22 * 13},
};

TEST(PageLayoutTest, EveryDocumentKeepsItsTextsInsideTheirBoxesAtEverySize)
{
    for (const Size& size : kSizes) {
        SCOPED_TRACE(::testing::Message() << size.players << " players");
        TournamentData d = test::GeneratedTournament(size.players, size.rounds);
        // Names longer than any box: shrunk, and past the smallest size cut.
        d.players.GetAt(d.table.Entry(0).playerIndex).m_longName = S("勅使河原三郎太 三世");
        std::string huge;
        for (int i = 0; i < 120; ++i)
            huge += S("長");
        d.players.GetAt(d.table.Entry(1).playerIndex).m_longName = huge;
        d.players.GetAt(d.table.Entry(2).playerIndex).m_residence = huge;

        const struct {
            PaperKind kind;
            int pages;
            const char* heading;
        } documents[] = {
            {PaperKind::PairingSheet, size.pairingPages, "卓"},
            {PaperKind::Standings, size.standingsPages, "所属"},
            {PaperKind::ResultTable, size.tablePages, "番号"},
        };
        for (const auto& doc : documents) {
            const PaperDocument paper = LayoutPaper(doc.kind, d, size.rounds);
            SCOPED_TRACE(U(paper.title));
            const std::vector<LayoutProblem> problems = CheckLayout(paper);
            for (size_t i = 0; i < std::min<size_t>(problems.size(), 5); ++i)
                ADD_FAILURE() << "page " << problems[i].page << ": " << problems[i].what;
            ASSERT_EQ(static_cast<int>(paper.pages.size()), doc.pages);
            const bool landscape = doc.kind == PaperKind::ResultTable;
            for (size_t p = 0; p < paper.pages.size(); ++p) {
                const Page& page = paper.pages[p];
                EXPECT_DOUBLE_EQ(page.width, landscape ? kA4Long : kA4Short);
                EXPECT_DOUBLE_EQ(page.height, landscape ? kA4Short : kA4Long);
                EXPECT_TRUE(HasText(page, d.info.name));
                EXPECT_TRUE(HasText(page, S("2024年5月3日")));
                EXPECT_TRUE(HasText(page, paper.title));
                EXPECT_TRUE(HasText(page, std::to_string(p + 1) + " / " + std::to_string(paper.pages.size())));
                EXPECT_TRUE(HasText(page, S(doc.heading))) << "page " << p + 1;
            }
            if (doc.kind == PaperKind::ResultTable) {
                // Every page of rounds names every player again.
                std::map<std::string, int> shown;
                for (const Page& page : paper.pages)
                    for (const TextItem& t : page.texts)
                        ++shown[t.text];
                for (int r = 3; r < size.players; ++r)
                    EXPECT_EQ(shown[test::PlayerName(r + 1)], (size.rounds + 9) / 10) << "row " << r;
            }
        }
    }
}

TEST(PageLayoutTest, PairingByesWithdrawnAndUnpairedComeLast)
{
    TournamentData d = test::GeneratedTournament(9, 3); // row 8 has the bye in some round
    const int round = 3;
    const int j = round - 1;
    // Row 0 and its opponent lose their game: one withdraws, one is left unpaired.
    const int opponent = d.table.Cell(0, j).opponent;
    ASSERT_GE(opponent, 0);
    d.table.Cell(0, j).ClearGame();
    d.table.Cell(opponent, j).ClearGame();
    int bye = -1;
    for (int r = 0; r < d.table.PlayerCount(); ++r)
        if (d.table.Cell(r, j).opponent == ByeOpponent)
            bye = r;
    ASSERT_GE(bye, 0);

    const PaperDocument paper = LayoutPairingSheet(d, round, {0});
    ASSERT_EQ(paper.pages.size(), 1u);
    const std::vector<std::string> texts = Texts(paper.pages[0]);
    const auto at = [&texts](const std::string& text) {
        return std::find(texts.begin(), texts.end(), text) - texts.begin();
    };
    const auto name = [&d](int row) { return d.players.GetAt(d.table.Entry(row).playerIndex).m_longName; };
    EXPECT_TRUE(HasText(paper.pages[0], S("組み合わせ表　第3回戦")));
    // Three boards (six players), then the caption and the three players alone.
    EXPECT_TRUE(HasText(paper.pages[0], "3"));
    EXPECT_FALSE(HasText(paper.pages[0], "4"));
    const auto caption = at(S("対局のない選手"));
    ASSERT_LT(caption, static_cast<long>(texts.size()));
    for (const int row : {0, opponent, bye})
        EXPECT_GT(at(name(row)), caption) << U(name(row));
    EXPECT_EQ(at(S("棄権")), at(name(0)) + 3);
    EXPECT_EQ(at(S("組合せなし")), at(name(opponent)) + 3);
    EXPECT_EQ(at(S("不戦")), at(name(bye)) + 3);
}

TEST(PageLayoutTest, BoardsFollowTheHigherThenTheLowerPointsBeforeTheRound)
{
    for (const int players : {24, 128}) {
        const TournamentData d = test::GeneratedTournament(players, 9);
        for (const int round : {1, 5, 9}) {
            SCOPED_TRACE(::testing::Message() << players << " players, round " << round);
            const CResultTable before = StandingsCopy(d.table, round - 1);
            std::vector<int> pointsOf(static_cast<size_t>(d.players.GetCount()), -1);
            std::vector<int> placeOf(static_cast<size_t>(d.players.GetCount()), -1);
            for (int r = 0; r < before.PlayerCount(); ++r) {
                pointsOf[static_cast<size_t>(before.Entry(r).playerIndex)] = before.Entry(r).points;
                placeOf[static_cast<size_t>(before.Entry(r).playerIndex)] = r;
            }

            const PaperDocument paper = LayoutPairingSheet(d, round);
            // The names of the boards in reading order, two per board.
            std::vector<int> seated;
            for (const Page& page : paper.pages)
                for (const TextItem& t : page.texts)
                    for (int i = 1; i < d.players.GetCount(); ++i)
                        if (t.text == d.players.GetAt(i).m_longName)
                            seated.push_back(i);
            ASSERT_EQ(static_cast<int>(seated.size()), players);
            std::pair<int, int> last{1 << 30, 1 << 30};
            for (size_t k = 0; k + 1 < seated.size(); k += 2) {
                const int a = seated[k];
                const int b = seated[k + 1];
                const int rowA = d.table.FindRowOfPlayer(a);
                EXPECT_EQ(d.table.Cell(rowA, round - 1).opponent, d.table.FindRowOfPlayer(b)) << "board " << k / 2 + 1;
                EXPECT_LT(placeOf[static_cast<size_t>(a)], placeOf[static_cast<size_t>(b)]);
                const int pa = pointsOf[static_cast<size_t>(a)];
                const int pb = pointsOf[static_cast<size_t>(b)];
                const std::pair<int, int> key{std::max(pa, pb), std::min(pa, pb)};
                EXPECT_LE(key, last) << "board " << k / 2 + 1;
                last = key;
            }
        }
    }
}

} // namespace
} // namespace tabry::paper
