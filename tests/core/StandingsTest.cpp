#include "core/ResultTable.h"

#include "tests/core/TableBuilder.h"

#include <gtest/gtest.h>

#include <random>

namespace tabry {
namespace {

using test::MakeTable;
using test::SetBye;
using test::SetGame;
using test::SetPlayer;

// Checks that every game names a row that names it back with the mirrored
// result and disc.
void ExpectSymmetric(const CResultTable& t)
{
    for (int r = 0; r < t.PlayerCount(); ++r)
        for (int j = 0; j < t.RoundCount(); ++j) {
            const ResultCell& c = t.Cell(r, j);
            if (c.opponent < 0)
                continue;
            const ResultCell& m = t.Cell(c.opponent, j);
            SCOPED_TRACE("row " + std::to_string(r) + " round " + std::to_string(j));
            EXPECT_EQ(m.opponent, r);
            EXPECT_EQ(m.result, c.result == ResultNone ? ResultNone : -c.result);
            EXPECT_EQ(m.disc, -c.disc);
        }
}

TEST(StandingsTest, PointsFirstThenTheMethodsKeys)
{
    CResultTable t = MakeTable(4, 3, 4);
    SetGame(t, 0, 0, 1, ResultWin, 2);
    SetGame(t, 0, 2, 3, ResultWin, 30);
    t.ComputeAll();
    EXPECT_LT(t.CompareRows(DiscDifference, CompareMode::Ordering, 2, 0), 0); // larger disc total
    EXPECT_LT(t.CompareRows(DiscDifference, CompareMode::Ordering, 0, 3), 0); // more points wins over discs
    EXPECT_GT(t.CompareRows(DiscDifference, CompareMode::Ordering, 1, 2), 0);
}

TEST(StandingsTest, EqualRowsOrderByIndexOrCompareEqual)
{
    CResultTable t = MakeTable(3, 1, 3);
    SetGame(t, 0, 1, 2, ResultDraw, 0);
    t.ComputeAll();
    EXPECT_LT(t.CompareRows(DiscDifference, CompareMode::Ordering, 1, 2), 0);
    EXPECT_GT(t.CompareRows(DiscDifference, CompareMode::Ordering, 2, 1), 0);
    EXPECT_EQ(t.CompareRows(DiscDifference, CompareMode::Equality, 1, 2), 0);
}

TEST(StandingsTest, EmptyRowsRankLast)
{
    CResultTable t = MakeTable(3, 1, 0);
    SetPlayer(t, 1, 4);
    EXPECT_GT(t.CompareRows(0, CompareMode::Ordering, 0, 1), 0);
    EXPECT_LT(t.CompareRows(0, CompareMode::Ordering, 1, 2), 0);
    EXPECT_EQ(t.CompareRows(0, CompareMode::Ordering, 0, 2), 0);
}

TEST(StandingsTest, SecondaryKeyDecidesWhenTheFirstTies)
{
    CResultTable t = MakeTable(2, 1, 2);
    for (int r = 0; r < 2; ++r) {
        t.Entry(r).points = 4;
        t.Entry(r).winPointsA = 6;
        t.Entry(r).winPointsB = 2;
        t.Entry(r).discTotal = 10;
    }
    t.Entry(1).secondaryA = 9;
    t.Entry(0).secondaryA = 3;
    EXPECT_GT(t.CompareRows(WinPointsASecondary, CompareMode::Equality, 0, 1), 0);
    EXPECT_EQ(t.CompareRows(WinPointsA, CompareMode::Equality, 0, 1), 0);
    t.Entry(1).discTotal = 20;
    EXPECT_GT(t.CompareRows(WinPointsADisc, CompareMode::Equality, 0, 1), 0);
    EXPECT_EQ(t.CompareRows(WinPointsB, CompareMode::Equality, 0, 1), 0);
    EXPECT_GT(t.CompareRows(WinPointsBDisc, CompareMode::Equality, 0, 1), 0);
    // A method outside 0..7 reads as disc difference instead of indexing past the table.
    EXPECT_EQ(t.CompareRows(42, CompareMode::Equality, 0, 1), t.CompareRows(0, CompareMode::Equality, 0, 1));
    EXPECT_EQ(t.CompareRows(-3, CompareMode::Equality, 0, 1), t.CompareRows(0, CompareMode::Equality, 0, 1));
}

TEST(StandingsTest, SortReordersRowsRemapsOpponentsAndKeepsByes)
{
    CResultTable t = MakeTable(6, 2, 5);
    t.DeletePlayer(1); // an empty row in the middle
    SetGame(t, 0, 0, 2, ResultLoss, -10);
    SetGame(t, 0, 3, 4, ResultWin, 4);
    SetGame(t, 1, 2, 3, ResultWin, 6);
    SetBye(t, 1, 4, ResultWin, 0);
    t.Cell(2, 1).reserved = 3;
    t.Sort(DiscDifference, false);
    // Row 2 (two wins) first, then row 3 (1 win, +-), row 4, row 0; empty rows last.
    EXPECT_EQ(t.Entry(0).playerIndex, 3);
    EXPECT_EQ(t.Entry(0).wins, 2);
    EXPECT_TRUE(t.Entry(4).IsEmpty());
    EXPECT_TRUE(t.Entry(5).IsEmpty());
    EXPECT_EQ(t.Cell(0, 1).reserved, 3);
    for (int r = 0; r < 4; ++r) {
        if (t.Entry(r).playerIndex == 5) {
            EXPECT_EQ(t.Cell(r, 1).opponent, ByeOpponent);
        }
    }
    ExpectSymmetric(t);
    for (int j = 0; j < 2; ++j) {
        EXPECT_EQ(t.Cell(4, j).opponent, NoOpponent);
        EXPECT_EQ(t.Cell(5, j).opponent, NoOpponent);
    }
}

TEST(StandingsTest, SortIsStableAmongEqualPlayers)
{
    CResultTable t = MakeTable(4, 1, 4);
    SetGame(t, 0, 0, 3, ResultDraw, 0);
    SetGame(t, 0, 1, 2, ResultDraw, 0);
    t.Sort(DiscDifference, false);
    for (int r = 0; r < 4; ++r)
        EXPECT_EQ(t.Entry(r).playerIndex, r + 1);
}

TEST(StandingsTest, KeepTotalsSortsByStaleValues)
{
    CResultTable t = MakeTable(2, 1, 2);
    SetGame(t, 0, 0, 1, ResultLoss, -2);
    t.ComputeAll();
    t.Entry(0).points = 10; // stale
    t.Sort(DiscDifference, true);
    EXPECT_EQ(t.Entry(0).playerIndex, 1);
    t.Sort(DiscDifference, false);
    EXPECT_EQ(t.Entry(0).playerIndex, 2);
}

TEST(StandingsTest, RankNumbersShareEqualRanksAndSkipEmptyRows)
{
    CResultTable t = MakeTable(5, 1, 5);
    t.DeletePlayer(4);
    const int points[4] = {6, 4, 4, 2};
    for (int r = 0; r < 4; ++r)
        t.Entry(r).points = points[r];
    EXPECT_EQ(t.RankNumbers(DiscDifference), (std::vector<int>{1, 2, 2, 4, 0}));
    t.Entry(2).discTotal = -1;
    EXPECT_EQ(t.RankNumbers(DiscDifference), (std::vector<int>{1, 2, 3, 4, 0}));
}

TEST(StandingsTest, RandomTablesKeepPairSymmetryThroughSort)
{
    std::mt19937 rng(1234);
    for (int iteration = 0; iteration < 50; ++iteration) {
        const int players = 2 + static_cast<int>(rng() % 40);
        const int rounds = 1 + static_cast<int>(rng() % 8);
        CResultTable t = MakeTable(players, rounds, players);
        for (int r = 0; r < players; ++r)
            if (rng() % 5 == 0)
                t.Entry(r).playerIndex = -1;
        for (int j = 0; j < rounds; ++j)
            for (int a = 0; a < players; ++a) {
                if (t.Entry(a).IsEmpty() || t.Cell(a, j).opponent != NoOpponent)
                    continue;
                const int b = static_cast<int>(rng() % static_cast<unsigned>(players));
                if (b == a || t.Entry(b).IsEmpty() || t.Cell(b, j).opponent != NoOpponent) {
                    if (rng() % 4 == 0)
                        SetBye(t, j, a, ResultWin, 0);
                    continue;
                }
                const int result = static_cast<int>(rng() % 4) - 2;
                SetGame(t, j, a, b, result, result == ResultNone ? 0 : static_cast<int>(rng() % 129) - 64);
            }
        const int method = static_cast<int>(rng() % 8);
        t.Sort(method, false);
        SCOPED_TRACE("iteration " + std::to_string(iteration));
        ExpectSymmetric(t);
        bool seenEmpty = false;
        for (int r = 0; r < players; ++r) {
            if (t.Entry(r).IsEmpty())
                seenEmpty = true;
            else
                EXPECT_FALSE(seenEmpty) << "player after an empty row";
        }
        for (int r = 1; r < players; ++r)
            EXPECT_LE(t.CompareRows(method, CompareMode::Equality, r - 1, r), 0);
    }
}

} // namespace
} // namespace tabry
