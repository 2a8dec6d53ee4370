#include "core/ResultTable.h"

#include "tests/core/TableBuilder.h"

#include <gtest/gtest.h>

namespace tabry {
namespace {

using test::MakeTable;
using test::SetBye;
using test::SetGame;
using test::SetPlayer;

TEST(ResultTableTest, NewTableIs32By6AndEmpty)
{
    CResultTable t;
    EXPECT_EQ(t.PlayerCount(), 32);
    EXPECT_EQ(t.RoundCount(), 6);
    EXPECT_EQ(t.CellCount(), 192);
    EXPECT_TRUE(t.RowsEmptyFrom(0));
    EXPECT_EQ(t.Cell(5, 3).opponent, NoOpponent);
    EXPECT_EQ(t.FindRowOfPlayer(0), -1);
}

TEST(ResultTableTest, ResizeKeepsWhatFitsAndAddsEmptyRounds)
{
    CResultTable t = MakeTable(32, 6, 32);
    SetGame(t, 5, 3, 20, ResultWin, 12);
    SetGame(t, 0, 1, 2, ResultDraw, 0);
    t.Cell(1, 0).reserved = 7;
    t.Resize(16, 8);
    EXPECT_EQ(t.PlayerCount(), 16);
    EXPECT_EQ(t.RoundCount(), 8);
    EXPECT_EQ(t.Entry(15).playerIndex, 16);
    EXPECT_EQ(t.Cell(1, 0), (ResultCell{2, ResultDraw, 0, 7}));
    EXPECT_EQ(t.Cell(1, 6).opponent, NoOpponent);
    EXPECT_EQ(t.Cell(1, 7).opponent, NoOpponent);
    // A cell naming a removed row stays until Validate clears it.
    EXPECT_EQ(t.Cell(3, 5).opponent, 20);
    EXPECT_EQ(t.Entry(3).wins, 1); // totals recomputed by the resize
    t.Validate();
    EXPECT_EQ(t.Cell(3, 5).opponent, NoOpponent);
}

TEST(ResultTableTest, ReadsOutsideTheTableGiveSharedEmptyValuesThatWritesCannotCorrupt)
{
    CResultTable t = MakeTable(4, 2, 4);
    t.Cell(4, 0).opponent = 3; // row == playerCount: outside
    t.Cell(4, 0).result = ResultWin;
    EXPECT_EQ(t.Cell(4, 0), ResultCell{});
    EXPECT_EQ(t.Cell(-1, 0), ResultCell{});
    t.Entry(99).playerIndex = 5;
    t.Entry(-1).wins = 3;
    EXPECT_EQ(t.Entry(99).playerIndex, -1);
    EXPECT_EQ(t.Entry(-1).wins, 0);
    const CResultTable& ct = t;
    EXPECT_EQ(ct.Cell(1000, 1000), ResultCell{});
    EXPECT_EQ(ct.Entry(4).playerIndex, -1);
    // Only the whole index is checked: round 2 of row 0 is row 1's round 0.
    t.Cell(1, 0).disc = 9;
    EXPECT_EQ(t.Cell(0, 2).disc, 9);
}

TEST(ResultTableTest, FindRowsOfPlayers)
{
    CResultTable t = MakeTable(5, 1, 0);
    SetPlayer(t, 1, 7);
    SetPlayer(t, 3, 7);
    EXPECT_EQ(t.FindRowOfPlayer(7), 1);
    EXPECT_EQ(t.FindOtherRowOfPlayer(7, 1), 3);
    EXPECT_EQ(t.FindOtherRowOfPlayer(7, 3), 1);
    EXPECT_EQ(t.FindOtherRowOfPlayer(8, 0), -1);
    t.Clear();
    EXPECT_EQ(t.FindRowOfPlayer(7), -1);
    EXPECT_FALSE(t.RowHasGames(0));
    EXPECT_FALSE(t.RoundHasGames(0));
}

TEST(ResultTableTest, GameQueriesCountByesAndIgnoreEmptyRowsWhereTheyShould)
{
    CResultTable t = MakeTable(6, 4, 4);
    EXPECT_FALSE(t.RowHasGames(0));
    SetBye(t, 2, 0, ResultWin, 0);
    EXPECT_TRUE(t.RowHasGames(0));
    EXPECT_TRUE(t.RoundHasGames(2));
    EXPECT_FALSE(t.RoundHasGames(1));
    EXPECT_FALSE(t.RoundsEmptyFrom(2));
    EXPECT_TRUE(t.RoundsEmptyFrom(3));
    // A stray cell in an empty row does not count for RoundsEmptyFrom.
    t.SetCell(5, 3, ResultCell{1, ResultWin, 3, 0});
    EXPECT_TRUE(t.RoundsEmptyFrom(3));
    EXPECT_TRUE(t.RowsEmptyFrom(4));
    EXPECT_FALSE(t.RowsEmptyFrom(3));
    EXPECT_TRUE(t.RowsEmptyFrom(6));
    EXPECT_TRUE(t.RowsEmptyFrom(100));
}

TEST(ResultTableTest, ValidateKeepsByesAndClearsEverythingElseInconsistent)
{
    CResultTable t = MakeTable(6, 3, 4);
    SetBye(t, 0, 0, ResultWin, 10);
    SetGame(t, 1, 0, 1, ResultLoss, -4);
    t.SetCell(2, 0, ResultCell{4, ResultWin, 6, 3});          // names an empty row
    t.SetCell(2, 1, ResultCell{9, ResultWin, 6, 3});          // beyond the table
    t.SetCell(3, 0, ResultCell{NoOpponent, ResultWin, 6, 5}); // no opponent but a result
    t.SetCell(5, 0, ResultCell{0, ResultWin, 6, 2});          // cell of an empty row
    t.Validate();
    EXPECT_EQ(t.Cell(0, 0), (ResultCell{ByeOpponent, ResultWin, 10, 0}));
    EXPECT_EQ(t.Cell(0, 1).opponent, 1);
    EXPECT_EQ(t.Cell(2, 0), (ResultCell{NoOpponent, 0, 0, 3})); // reserved survives
    EXPECT_EQ(t.Cell(2, 1), (ResultCell{NoOpponent, 0, 0, 3}));
    EXPECT_EQ(t.Cell(3, 0), (ResultCell{NoOpponent, 0, 0, 5}));
    EXPECT_EQ(t.Cell(5, 0), (ResultCell{NoOpponent, 0, 0, 2}));
}

TEST(ResultTableTest, DeletePlayerClearsOnlyTheGamesThatNamedTheRow)
{
    CResultTable t = MakeTable(8, 3, 8);
    SetGame(t, 1, 3, 5, ResultWin, 8);
    SetGame(t, 0, 5, 6, ResultLoss, -2);
    SetGame(t, 2, 5, 7, ResultDraw, 0);
    t.ComputeAll();
    t.DeletePlayer(3);
    EXPECT_TRUE(t.Entry(3).IsEmpty());
    EXPECT_EQ(t.Entry(3).wins, 0);
    EXPECT_EQ(t.Cell(3, 1).opponent, NoOpponent);
    EXPECT_EQ(t.Cell(5, 1).opponent, NoOpponent);
    EXPECT_EQ(t.Cell(5, 0).opponent, 6);
    EXPECT_EQ(t.Cell(5, 2).opponent, 7);
    EXPECT_EQ(t.Entry(5).losses, 1); // recomputed: the lost win of row 3 is gone
    EXPECT_EQ(t.Entry(5).draws, 1);
    t.DeletePlayer(3); // already empty: nothing happens
    EXPECT_EQ(t.Cell(5, 0).opponent, 6);
}

TEST(ResultTableTest, ClearRoundEmptiesOneColumnAndRecomputes)
{
    CResultTable t = MakeTable(4, 2, 4);
    SetGame(t, 0, 0, 1, ResultWin, 10);
    SetGame(t, 1, 0, 2, ResultWin, 4);
    t.Cell(0, 0).reserved = 1;
    t.ComputeAll();
    ASSERT_EQ(t.Entry(0).wins, 2);
    t.ClearRound(0);
    EXPECT_EQ(t.Cell(0, 0), (ResultCell{NoOpponent, 0, 0, 1}));
    EXPECT_EQ(t.Cell(1, 0).opponent, NoOpponent);
    EXPECT_EQ(t.Cell(0, 1).opponent, 2);
    EXPECT_EQ(t.Entry(0).wins, 1);
}

TEST(ResultTableTest, CopyCarriesCellsSettingsAndFreshTotalsButNoScratch)
{
    CResultTable t = MakeTable(4, 2, 3);
    SetGame(t, 0, 0, 1, ResultWin, 10);
    t.Cell(0, 1).reserved = -5;
    t.settings.tieBreak = WinPointsB;
    t.Entry(0).groupPosTop = 9;
    t.Entry(0).wins = 77; // stale: the copy recomputes
    CResultTable copy(t);
    EXPECT_EQ(copy.PlayerCount(), 4);
    EXPECT_EQ(copy.Cell(0, 0), t.Cell(0, 0));
    EXPECT_EQ(copy.Cell(0, 1).reserved, -5);
    EXPECT_EQ(copy.settings.tieBreak, WinPointsB);
    EXPECT_EQ(copy.Entry(0).wins, 1);
    EXPECT_EQ(copy.Entry(0).groupPosTop, 0);
    copy.SetCell(1, 1, ResultCell{0, ResultWin, 2, 0});
    EXPECT_EQ(t.Cell(1, 1).opponent, NoOpponent); // deep copy
}

} // namespace
} // namespace tabry
