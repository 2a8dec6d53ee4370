#include "grid/CellText.h"

#include "tests/support/SmallTournaments.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

namespace tabry::grid {
namespace {

using test::MakeTournament;
using test::PutGame;
using test::S;
using test::U;

TEST(CellTextTest, PlayerCellShowsTheRecordsFourTexts)
{
    TournamentData data = MakeTournament(4, 3, 0);
    const int index = data.players.Add(S("山田太郎"), "yamada", S("山田"), S("東京"), 3, "123");
    data.table.Entry(1).playerIndex = index;
    const PlayerCellTexts t = PlayerCell(data.table, data.players, 1);
    EXPECT_EQ(U(t.longName), "山田太郎");
    EXPECT_EQ(U(t.shortName), "山田");
    EXPECT_EQ(U(t.residence), "東京");
    EXPECT_EQ(U(t.grade), "三段");
    const PlayerCellTexts empty = PlayerCell(data.table, data.players, 0);
    EXPECT_TRUE(empty.longName.empty() && empty.shortName.empty() && empty.grade.empty());
}

TEST(CellTextTest, RoundCellInDiscDifferenceMode)
{
    TournamentData data = MakeTournament(4, 3, 4);
    PutGame(data, 0, 0, 1, ResultWin, 12);
    PutGame(data, 2, 0, 3, ResultDraw, 0);
    PutGame(data, 0, 1, 2, ResultNone, 0);
    PutGame(data, 1, 1, ByeOpponent, ResultWin, 64);
    EXPECT_EQ(U(RoundCell(data.table, data.players, 0, 0).top), "s1");
    EXPECT_EQ(U(RoundCell(data.table, data.players, 0, 0).bottom), "○+12");
    EXPECT_EQ(U(RoundCell(data.table, data.players, 1, 0).bottom), "×-12");
    EXPECT_EQ(U(RoundCell(data.table, data.players, 2, 0).bottom), "△  0");
    // Paired, no result yet: the opponent alone.
    EXPECT_EQ(U(RoundCell(data.table, data.players, 0, 1).top), "s2");
    EXPECT_EQ(RoundCell(data.table, data.players, 0, 1).bottom, "");
    EXPECT_EQ(U(RoundCell(data.table, data.players, 1, 1).top), "不戦");
    EXPECT_EQ(U(RoundCell(data.table, data.players, 1, 1).bottom), "○+64");
    EXPECT_EQ(RoundCell(data.table, data.players, 3, 2).top, ""); // no opponent
}

TEST(CellTextTest, RoundCellLossBelowTenHasABlankAfterTheSign)
{
    TournamentData data = MakeTournament(2, 1, 2);
    PutGame(data, 0, 0, 1, ResultLoss, -4);
    EXPECT_EQ(U(RoundCell(data.table, data.players, 0, 0).bottom), "×- 4");
}

TEST(CellTextTest, RoundCellInDiscCountMode)
{
    TournamentData data = MakeTournament(4, 2, 4);
    data.table.settings.showDiscDifference = false;
    PutGame(data, 0, 0, 1, ResultWin, 12); // 38 to 26
    PutGame(data, 2, 0, 3, ResultDraw, 0); // 32 to 32
    PutGame(data, 0, 1, 2, ResultWin, 1);  // 32.5 to 31.5
    EXPECT_EQ(U(RoundCell(data.table, data.players, 0, 0).bottom), "○38");
    EXPECT_EQ(U(RoundCell(data.table, data.players, 1, 0).bottom), "×26");
    EXPECT_EQ(U(RoundCell(data.table, data.players, 2, 0).bottom), "△32");
    EXPECT_EQ(U(RoundCell(data.table, data.players, 0, 1).bottom), "○32.5");
    EXPECT_EQ(U(RoundCell(data.table, data.players, 2, 1).bottom), "×31.5");
}

TEST(CellTextTest, TotalsRecordAndDiscTotalUnderMethodZero)
{
    TournamentData data = MakeTournament(4, 2, 4);
    PutGame(data, 0, 0, 1, ResultWin, 12);
    PutGame(data, 0, 1, 2, ResultLoss, -4);
    data.table.ComputeAll();
    const TwoLineTexts t = TotalsCell(data.table, 0);
    EXPECT_EQ(U(t.top), "1勝1敗0分");
    EXPECT_EQ(t.bottom, "  + 8");                         // " %4s" of "+ 8"
    EXPECT_EQ(TotalsCell(data.table, 3).bottom, "    0"); // " %4s" of "  0"
    EXPECT_TRUE(TotalsCell(MakeTournament(2, 1, 0).table, 0).top.empty());
}

TEST(CellTextTest, DiscCountTotalsEndInTheSameColumnWithAndWithoutAHalf)
{
    TournamentData data = MakeTournament(4, 1, 4);
    data.table.settings.showDiscDifference = false;
    PutGame(data, 0, 0, 1, ResultWin, 26); // 45 discs
    PutGame(data, 2, 0, 3, ResultWin, 27); // 45.5 discs
    data.table.ComputeAll();
    EXPECT_EQ(TotalsCell(data.table, 0).bottom, "   45  ");
    EXPECT_EQ(TotalsCell(data.table, 2).bottom, "   45.5");
}

TEST(CellTextTest, TieBreakSummaryFollowsTheMethod)
{
    TournamentData data = MakeTournament(2, 1, 2);
    CResultTable& t = data.table;
    // The summary shows the stored values; set them directly.
    PlayerEntry& e = t.Entry(0);
    e.discTotal = 16;
    e.wins = 2;
    e.winPointsA = 7;  // 3.5
    e.secondaryA = 25; // 12.5
    e.winPointsB = 4;  // 2.0
    e.secondaryB = 9;  // 4.5
    e.brightwell = 61; // 3.05
    auto summary = [&](int method) {
        t.settings.tieBreak = method;
        return TotalsCell(t, 0).bottom;
    };
    EXPECT_EQ(summary(0), "  +16");
    EXPECT_EQ(summary(1), "     3.05BP  +16");
    EXPECT_EQ(summary(2), "     3.5P");
    EXPECT_EQ(summary(3), "     3.5P    12.5PP");
    EXPECT_EQ(summary(4), "     3.5P  +16");
    EXPECT_EQ(summary(5), "     2.0P");
    EXPECT_EQ(summary(6), "     2.0P     4.5PP");
    EXPECT_EQ(summary(7), "     2.0P  +16");
    // A stored method outside 0..7 shows as disc difference.
    EXPECT_EQ(summary(42), "  +16");
    EXPECT_EQ(summary(-1), "  +16");
}

TEST(CellTextTest, BrightwellIsPrintedWithTwoDecimalsAndNoRoundingDrift)
{
    TournamentData data = MakeTournament(2, 1, 2);
    data.table.settings.tieBreak = Brightwell;
    data.table.Entry(0).brightwell = 7; // 0.35
    EXPECT_EQ(TotalsCell(data.table, 0).bottom.substr(0, 11), "     0.35BP");
    data.table.Entry(0).brightwell = -3; // -0.15
    EXPECT_EQ(TotalsCell(data.table, 0).bottom.substr(0, 11), "    -0.15BP");
    data.table.Entry(0).brightwell = 2345; // 117.25
    EXPECT_EQ(TotalsCell(data.table, 0).bottom.substr(0, 11), "   117.25BP");
}

} // namespace
} // namespace tabry::grid
