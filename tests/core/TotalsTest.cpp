#include "core/ResultTable.h"

#include "tests/core/TableBuilder.h"

#include <gtest/gtest.h>

namespace tabry {
namespace {

using test::MakeTable;
using test::SetBye;
using test::SetGame;

struct Expected {
    int wins, losses, draws, disc, points, wpA, wpB, secA, secB, brightwell;
};

void ExpectEntry(const PlayerEntry& e, const Expected& x, int row)
{
    SCOPED_TRACE("row " + std::to_string(row));
    EXPECT_EQ(e.wins, x.wins);
    EXPECT_EQ(e.losses, x.losses);
    EXPECT_EQ(e.draws, x.draws);
    EXPECT_EQ(e.discTotal, x.disc);
    EXPECT_EQ(e.points, x.points);
    EXPECT_EQ(e.winPointsA, x.wpA);
    EXPECT_EQ(e.winPointsB, x.wpB);
    EXPECT_EQ(e.secondaryA, x.secA);
    EXPECT_EQ(e.secondaryB, x.secB);
    EXPECT_EQ(e.brightwell, x.brightwell);
}

// Three players, two rounds, Brightwell coefficient 6.0: row 0 beat row 1 by
// 10 and drew row 2; row 1 had a bye entered as a win; so had row 2.
CResultTable WorkedExample()
{
    CResultTable t = MakeTable(3, 2, 3);
    t.settings.brightwellTenths = 60;
    SetGame(t, 0, 0, 1, ResultWin, 10);
    SetGame(t, 1, 0, 2, ResultDraw, 0);
    SetBye(t, 1, 1, ResultWin, 0);
    SetBye(t, 0, 2, ResultWin, 0);
    t.ComputeAll();
    return t;
}

TEST(TotalsTest, WorkedExample)
{
    const CResultTable t = WorkedExample();
    ExpectEntry(t.Entry(0), {1, 0, 1, 10, 3, 5, 2, 6, 0, 1680}, 0);
    ExpectEntry(t.Entry(1), {1, 1, 0, -10, 2, 3, 0, 5, 0, 1360}, 1);
    ExpectEntry(t.Entry(2), {1, 0, 1, 0, 3, 3, 0, 5, 0, 1460}, 2);
}

TEST(TotalsTest, UnplayedPairingsCountForWinPointsOnly)
{
    CResultTable t = MakeTable(4, 2, 4);
    SetGame(t, 0, 1, 2, ResultWin, 20); // row 1 has 2 points
    SetGame(t, 1, 0, 1, ResultNone, 0); // row 0 paired with row 1, no result yet
    t.ComputeAll();
    const PlayerEntry& e = t.Entry(0);
    EXPECT_EQ(e.points, 0);
    EXPECT_EQ(e.wins + e.losses + e.draws, 0);
    EXPECT_EQ(e.winPointsA, 2);
    EXPECT_EQ(e.winPointsB, 0);
}

TEST(TotalsTest, ByesCountByTheirResultAndNeverAsWinPoints)
{
    CResultTable t = MakeTable(2, 3, 2);
    SetBye(t, 0, 0, ResultLoss, -20);
    SetBye(t, 1, 0, ResultNone, 0);
    SetBye(t, 2, 0, ResultWin, 6);
    t.ComputeAll();
    const PlayerEntry& e = t.Entry(0);
    EXPECT_EQ(e.wins, 1);
    EXPECT_EQ(e.losses, 1);
    EXPECT_EQ(e.discTotal, -14);
    EXPECT_EQ(e.points, 2);
    EXPECT_EQ(e.winPointsA, 0);
    EXPECT_EQ(e.secondaryA, 0);
}

TEST(TotalsTest, OneRowRecomputationLeavesOtherRowsAlone)
{
    CResultTable t = MakeTable(3, 1, 3);
    SetGame(t, 0, 0, 1, ResultWin, 4);
    t.Entry(1).wins = 42;
    t.ComputeTotals(0, -1);
    EXPECT_EQ(t.Entry(0).wins, 1);
    EXPECT_EQ(t.Entry(1).wins, 42);
    t.ComputeTotals(7, -1); // a row beyond the table changes nothing
    EXPECT_EQ(t.Entry(1).wins, 42);
}

TEST(TotalsTest, RoundLimitCutsTotalsAndWinPointsButNotSecondaryPoints)
{
    CResultTable t = MakeTable(4, 2, 4);
    SetGame(t, 0, 0, 1, ResultWin, 10);
    SetGame(t, 0, 2, 3, ResultWin, 2);
    SetGame(t, 1, 0, 2, ResultWin, 6);
    SetGame(t, 1, 1, 3, ResultDraw, 0);
    t.ComputeTotals(-1, 1);
    t.ComputeTieBreaks(1);
    EXPECT_EQ(t.Entry(0).points, 2); // round 2 ignored
    EXPECT_EQ(t.Entry(0).discTotal, 10);
    EXPECT_EQ(t.Entry(0).winPointsA, 0); // round-1 opponent row 1 has 0 points
    EXPECT_EQ(t.Entry(2).winPointsA, 0);
    // Secondary points run over both rounds with the limited win points:
    // row 1's opponents are row 0 (wpA 0) and row 3 (wpA 2, row 2's points).
    EXPECT_EQ(t.Entry(3).winPointsA, 2);
    EXPECT_EQ(t.Entry(1).secondaryA, 0 + 2);
    // Row 0 beat row 2 in round 2, which the limit hides from the win points
    // but not from the secondary points B.
    EXPECT_EQ(t.Entry(2).winPointsB, 0);
    EXPECT_EQ(t.Entry(0).secondaryB, t.Entry(1).winPointsB + t.Entry(2).winPointsB);
}

TEST(TotalsTest, BrightwellWithCoefficientZeroDependsOnDiscsOnly)
{
    CResultTable t = MakeTable(2, 2, 2);
    t.settings.brightwellTenths = 0;
    SetGame(t, 0, 0, 1, ResultLoss, -64);
    SetGame(t, 1, 0, 1, ResultLoss, -64);
    t.ComputeAll();
    EXPECT_EQ(t.Entry(0).brightwell, 0);
    EXPECT_EQ(t.Entry(1).brightwell, (2 * 64 + 128) * 10);
}

TEST(TotalsTest, HugeCoefficientFromAFileWrapsInsteadOfOverflowing)
{
    CResultTable t = MakeTable(2, 1, 2);
    t.settings.brightwellTenths = 2147483647;
    SetGame(t, 0, 0, 1, ResultWin, 10);
    t.ComputeAll();
    // Row 1's opponent has 2 points: 2 x (2^31 - 1) + (64 - 10) x 10 wraps to 538.
    EXPECT_EQ(t.Entry(1).brightwell, 538);
}

TEST(TotalsTest, EmptyRowsAndEmptyTablesYieldZeros)
{
    CResultTable t = MakeTable(3, 2, 0);
    t.SetCell(1, 0, ResultCell{0, ResultWin, 5, 0}); // stray cell of an empty row
    t.Entry(1).wins = 9;
    t.ComputeAll();
    for (int r = 0; r < 3; ++r) {
        const PlayerEntry& e = t.Entry(r);
        EXPECT_EQ(e.wins + e.losses + e.draws + e.discTotal + e.points + e.winPointsA + e.winPointsB + e.secondaryA
                      + e.secondaryB + e.brightwell,
                  0);
    }
}

} // namespace
} // namespace tabry
