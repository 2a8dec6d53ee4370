#include "reports/ReportRows.h"

#include "playerdb/PlayerDatabase.h"
#include "tests/reports/ReportFixture.h"

#include <gtest/gtest.h>

namespace tabry {
namespace {

using test::S;
using test::TournamentBuilder;

std::string Text(const CResultTable& t, int row, int column)
{
    return t.reportRows[static_cast<size_t>(row)].Get(column).str();
}

TEST(ReportRowsTest, EmptyRowsHaveNoTextsAndAreNotCounted)
{
    TournamentData d = test::SpringCup();
    FormatReportRows(d.table, d.players);
    EXPECT_EQ(d.table.reportRows[2].Count(), 0);
    EXPECT_EQ(d.table.rankedCount, 4);
    // The position counter skips the empty row: C is third, D ties with C.
    EXPECT_EQ(Text(d.table, 3, ColRank), "3");
    EXPECT_EQ(Text(d.table, 4, ColRank), "3");
}

TEST(ReportRowsTest, ARebuildDiscardsThePreviousCache)
{
    TournamentData d = test::SpringCup();
    FormatReportRows(d.table, d.players);
    d.table.DeletePlayer(0);
    d.table.Resize(2, 3);
    FormatReportRows(d.table, d.players);
    EXPECT_EQ(d.table.reportRows.size(), 2u);
    EXPECT_EQ(d.table.rankedCount, 1);
    EXPECT_EQ(Text(d.table, 1, ColRank), "1");
    EXPECT_EQ(d.table.reportWidths[ColLongName], 10);
}

// Four players on 6, 3, 3 and 0 half points; the two 3-point players drew
// each other, and their discs are equal unless `secondWinMargin` says otherwise.
TournamentData FourPlayers(int secondWinMargin)
{
    TournamentBuilder b(4, 3);
    b.Player(0, "甲", "甲", "", 0)
        .Player(1, "乙", "乙", "", 0)
        .Player(2, "丙", "丙", "", 0)
        .Player(3, "丁", "丁", "", 0);
    b.Game(0, 0, 1, ResultWin, 10).Game(0, 2, 3, ResultWin, secondWinMargin);
    b.Game(1, 0, 2, ResultWin, 10).Game(1, 1, 3, ResultWin, 10);
    b.Game(2, 0, 3, ResultWin, 10).Game(2, 1, 2, ResultDraw, 0);
    return b.Done();
}

std::vector<std::string> Ranks(TournamentData& d, int method)
{
    d.table.settings.tieBreak = method;
    d.table.Sort(method, false);
    FormatReportRows(d.table, d.players);
    std::vector<std::string> ranks;
    for (int r = 0; r < d.table.PlayerCount(); ++r)
        ranks.push_back(Text(d.table, r, ColRank));
    return ranks;
}

TEST(ReportRowsTest, PlayersEqualOnEveryKeyShareTheRankOfTheFirst)
{
    TournamentData d = FourPlayers(10);
    EXPECT_EQ(Ranks(d, DiscDifference), (std::vector<std::string>{"1", "2", "2", "4"}));
}

// Equal points and equal win points A share a rank under method 2 even with
// different discs, which method 0 tells apart.
TEST(ReportRowsTest, OnlyTheMethodsOwnKeysDecideASharedRank)
{
    TournamentData d = FourPlayers(20);
    EXPECT_EQ(Ranks(d, DiscDifference), (std::vector<std::string>{"1", "2", "3", "4"}));
    EXPECT_EQ(Ranks(d, WinPointsA), (std::vector<std::string>{"1", "2", "2", "4"}));
    EXPECT_EQ(Ranks(d, WinPointsADisc), (std::vector<std::string>{"1", "2", "3", "4"}));
}

// The tie-break columns of every method: which values, in which order, and
// that column 7 stays empty (width 0) for the one-value methods.
TEST(ReportRowsTest, TieBreakColumnsFollowTheMethod)
{
    struct Case {
        int method;
        const char* col6;
        const char* col7;
    };
    // Row 0 of the spring cup: disc +16, Brightwell 90.00, WP A 6 (3.0),
    // sec A 19 (9.5), WP B 5 (2.5), sec B 1 (0.5).
    const Case cases[] = {
        {DiscDifference, "+16", ""},
        {Brightwell, "90.00", "+16"},
        {WinPointsA, "3.0", ""},
        {WinPointsASecondary, "3.0", "9.5"},
        {WinPointsADisc, "3.0", "+16"},
        {WinPointsB, "2.5", ""},
        {WinPointsBSecondary, "2.5", "0.5"},
        {WinPointsBDisc, "2.5", "+16"},
        {42, "+16", ""}, // a method outside 0..7 from a hand-edited file reads as 0
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.method);
        TournamentData d = test::SpringCup();
        d.table.settings.tieBreak = c.method;
        FormatReportRows(d.table, d.players);
        EXPECT_EQ(Text(d.table, 0, ColTieBreak1), c.col6);
        EXPECT_EQ(Text(d.table, 0, ColTieBreak2), c.col7);
        EXPECT_EQ(d.table.reportWidths[ColTieBreak2] == 0, std::string(c.col7).empty());
        EXPECT_EQ(Text(d.table, 0, ResultColumn(0)), S("○+12"));
    }
}

TEST(ReportRowsTest, ReadsTheStoredTotalsWithoutRecomputing)
{
    TournamentData d = test::SpringCup();
    d.table.Entry(0).wins = 9;
    FormatReportRows(d.table, d.players);
    EXPECT_EQ(Text(d.table, 0, ColRecord), S("9勝 0敗 0分"));
    EXPECT_EQ(d.table.Entry(0).wins, 9);
}

} // namespace
} // namespace tabry
