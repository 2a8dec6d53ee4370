// The page descriptions of the three printed documents, checked without any
// renderer: every text inside its box and on its page, no two texts over each
// other, the frame on every page, and the page counts at the sizes the
// program meets.
#include "paper/PageDescription.h"
#include "paper/PaperDocuments.h"
#include "reports/InterimOutputs.h"

#include "tests/paper/PaperFixture.h"
#include <cctype>
#include <sstream>

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
            {PaperKind::PairingSheet, size.pairingPages, "盤"},
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

    d.table.Entry(0).withdrawnFrom = j - 1; // from the round before: still listed
    const PaperDocument paper = LayoutPairingSheet(d, round);
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
    EXPECT_EQ(at(S("組合せ待ち")), at(name(opponent)) + 3);
    EXPECT_EQ(at(S("不戦")), at(name(bye)) + 3);
}

// The boards of a round are the games of its pairing table in its order,
// the player of the table's line on the left, as the table stood when the
// round was paired: the results of that round and of later ones play no
// part. The expectation is the pairing table's own text (byte-checked
// against the reference) of a copy that has those results taken out.
TEST(PageLayoutTest, BoardsAreThePairingTablesGamesAsWhenTheRoundWasPaired)
{
    for (const int players : {24, 128}) {
        TournamentData d = test::GeneratedTournament(players, 9);
        d.table.settings.tieBreak = WinPointsASecondary;
        for (const int round : {1, 5, 9}) {
            SCOPED_TRACE(::testing::Message() << players << " players, round " << round);
            TournamentData then = d;
            for (int r = 0; r < then.table.PlayerCount(); ++r) {
                for (int j = round; j < then.table.RoundCount(); ++j)
                    then.table.Cell(r, j).ClearGame();
                ResultCell& c = then.table.Cell(r, round - 1);
                if (c.opponent != NoOpponent) {
                    c.result = c.opponent == ByeOpponent ? then.table.settings.bye.ByeCell().result : ResultNone;
                    c.disc = 0;
                }
            }
            std::string csv;
            WritePairingTable(then.table, then.players, round, csv);
            std::vector<std::string> expected; // "number left right" per board
            std::istringstream lines(csv);
            for (std::string line; std::getline(lines, line);) {
                std::vector<std::string> f;
                std::istringstream fields(line);
                for (std::string field; std::getline(fields, field, ',');)
                    f.push_back(field);
                if (f.size() == 8 && !f[0].empty())
                    expected.push_back(std::to_string(std::stoi(f[0])) + " " + f[1] + " " + f[5]);
            }
            ASSERT_FALSE(expected.empty());

            // The sheet's lines in reading order: a number, then two names.
            std::vector<std::string> shown;
            std::string number;
            std::vector<std::string> names;
            for (const Page& page : LayoutPairingSheet(d, round).pages) {
                for (const TextItem& t : page.texts) {
                    if (!t.text.empty() && std::all_of(t.text.begin(), t.text.end(), ::isdigit) && names.empty()) {
                        number = t.text;
                    } else if (t.text.rfind(S("選手"), 0) == 0 && !number.empty()) {
                        names.push_back(t.text);
                        if (names.size() == 2) {
                            shown.push_back(number + " " + names[0] + " " + names[1]);
                            number.clear();
                            names.clear();
                        }
                    }
                }
            }
            EXPECT_EQ(shown, expected);
        }
    }
}

} // namespace
} // namespace tabry::paper
