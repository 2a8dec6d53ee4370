#include "grid/CellEdits.h"

#include "tests/support/SmallTournaments.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace tabry::grid {
namespace {

using test::MakeTournament;
using test::PutGame;
using test::U;

bool Has(const std::vector<GridCell>& cells, GridCell c)
{
    return std::find(cells.begin(), cells.end(), c) != cells.end();
}

struct Asked {
    std::vector<std::string> questions;
    bool answer = false;
    ConfirmFn Fn()
    {
        return [this](const std::string& q) {
            questions.push_back(U(q));
            return answer;
        };
    }
};

TEST(CellEditsTest, AGameIsMirroredIntoTheOpponentsRow)
{
    TournamentData data = MakeTournament(4, 3, 4);
    Asked asked;
    const EditEffects fx = SetCellResult(data, 0, 1, 1, ResultWin, 12, asked.Fn());
    EXPECT_TRUE(fx.modified);
    EXPECT_EQ(data.table.Cell(0, 1), (ResultCell{1, ResultWin, 12, 0}));
    EXPECT_EQ(data.table.Cell(1, 1), (ResultCell{0, ResultLoss, -12, 0}));
    EXPECT_EQ(data.table.Entry(0).wins, 1);
    EXPECT_EQ(data.table.Entry(1).losses, 1);
    EXPECT_TRUE(Has(fx.cells, {2, 0}));
    EXPECT_TRUE(Has(fx.cells, {2, 1}));
    EXPECT_FALSE(fx.allTotals); // disc difference needs no other row
    EXPECT_TRUE(asked.questions.empty());
}

TEST(CellEditsTest, OtherMethodsRecomputeEveryRowsTieBreaks)
{
    TournamentData data = MakeTournament(4, 2, 4);
    data.table.settings.tieBreak = WinPointsA;
    PutGame(data, 1, 0, 2, ResultWin, 2);
    data.table.ComputeAll();
    Asked asked;
    const EditEffects fx = SetCellResult(data, 0, 1, 1, ResultWin, 4, asked.Fn());
    EXPECT_TRUE(fx.allTotals);
    EXPECT_EQ(data.table.Entry(0).winPointsA, 2); // row 1, the one opponent, has one win (2 half points)
}

TEST(CellEditsTest, ANewFreeOpponentDissolvesThePreviousPairingWithoutAsking)
{
    TournamentData data = MakeTournament(4, 3, 4);
    PutGame(data, 0, 1, 1, ResultWin, 12);
    data.table.ComputeAll();
    Asked asked;
    SetCellResult(data, 0, 1, 2, ResultLoss, -2, asked.Fn());
    EXPECT_TRUE(asked.questions.empty());
    EXPECT_EQ(data.table.Cell(1, 1).opponent, NoOpponent);
    EXPECT_EQ(data.table.Entry(1).losses, 0);
    EXPECT_EQ(data.table.Cell(2, 1), (ResultCell{0, ResultWin, 2, 0}));
}

TEST(CellEditsTest, AnOpponentPairedWithAThirdPlayerIsOnlyTakenAfterYes)
{
    TournamentData data = MakeTournament(4, 3, 4);
    PutGame(data, 0, 1, 1, ResultWin, 12); // A-B
    PutGame(data, 2, 1, 3, ResultDraw, 0); // C-D
    data.table.ComputeAll();
    Asked asked;
    EditEffects fx = SetCellResult(data, 0, 1, 2, ResultWin, 6, asked.Fn());
    ASSERT_EQ(asked.questions.size(), 1u);
    EXPECT_EQ(asked.questions[0], "「p2」さんの2回戦の相手は\n「p3」さんになっています。\n 上書きしますか？");
    EXPECT_FALSE(fx.modified);
    EXPECT_EQ(data.table.Cell(0, 1).opponent, 1);
    EXPECT_EQ(data.table.Cell(3, 1).opponent, 2);

    asked.answer = true;
    fx = SetCellResult(data, 0, 1, 2, ResultWin, 6, asked.Fn());
    EXPECT_TRUE(fx.modified);
    EXPECT_EQ(data.table.Cell(3, 1).opponent, NoOpponent); // D freed
    EXPECT_EQ(data.table.Cell(1, 1).opponent, NoOpponent); // B freed
    EXPECT_EQ(data.table.Cell(2, 1), (ResultCell{0, ResultLoss, -6, 0}));
    EXPECT_EQ(data.table.Entry(3).draws, 0);
}

TEST(CellEditsTest, TheByeIsOneSidedAndAnUnsetResultStaysUnsetInTheMirror)
{
    TournamentData data = MakeTournament(4, 2, 4);
    Asked asked;
    SetCellResult(data, 0, 0, ByeOpponent, ResultWin, 64, asked.Fn());
    EXPECT_EQ(data.table.Cell(0, 0), (ResultCell{ByeOpponent, ResultWin, 64, 0}));
    for (int row = 1; row < 4; ++row)
        EXPECT_EQ(data.table.Cell(row, 0).opponent, NoOpponent);

    SetCellResult(data, 1, 1, 2, ResultNone, 30, asked.Fn());
    EXPECT_EQ(data.table.Cell(1, 1), (ResultCell{2, ResultNone, 0, 0}));
    EXPECT_EQ(data.table.Cell(2, 1), (ResultCell{1, ResultNone, 0, 0}));
}

TEST(CellEditsTest, TheSameGameAgainChangesNothing)
{
    TournamentData data = MakeTournament(2, 1, 2);
    Asked asked;
    SetCellResult(data, 0, 0, 1, ResultWin, 2, asked.Fn());
    const EditEffects fx = SetCellResult(data, 0, 0, 1, ResultWin, 2, asked.Fn());
    EXPECT_FALSE(fx.modified);
    EXPECT_FALSE(fx.Any());
}

TEST(CellEditsTest, ClearingACellEmptiesTheMirrorAndAnEmptyCellStaysUnmodified)
{
    TournamentData data = MakeTournament(3, 1, 3);
    PutGame(data, 0, 0, 1, ResultWin, 2);
    data.table.ComputeAll();
    Asked asked;
    EditEffects fx = SetCellResult(data, 0, 0, NoOpponent, ResultDraw, 0, asked.Fn());
    EXPECT_TRUE(fx.modified);
    EXPECT_EQ(data.table.Cell(0, 0).opponent, NoOpponent);
    EXPECT_EQ(data.table.Cell(1, 0).opponent, NoOpponent);
    EXPECT_EQ(data.table.Entry(0).wins, 0);
    // An already empty cell holds (none, win, 0) after a clear; clearing again
    // is no change.
    fx = SetCellResult(data, 0, 0, NoOpponent, ResultDraw, 0, asked.Fn());
    EXPECT_FALSE(fx.modified);
}

TEST(CellEditsTest, InvalidOpponentsAreRefused)
{
    TournamentData data = MakeTournament(4, 1, 2);
    Asked asked;
    EXPECT_FALSE(SetCellResult(data, 0, 0, 0, ResultWin, 2, asked.Fn()).modified); // himself
    EXPECT_FALSE(SetCellResult(data, 0, 0, 3, ResultWin, 2, asked.Fn()).modified); // empty row
    EXPECT_FALSE(SetCellResult(data, 0, 0, 9, ResultWin, 2, asked.Fn()).modified); // beyond
    EXPECT_FALSE(SetCellResult(data, 0, 5, 1, ResultWin, 2, asked.Fn()).modified); // no such round
}

// A table read from a file may hold a pair that only one side names. An edit
// must neither destroy a third game through such a cell nor leave a new
// one-sided pair behind.
TEST(CellEditsTest, AOneSidedCellNeverCostsAnotherGame)
{
    TournamentData data = MakeTournament(4, 1, 4);
    PutGame(data, 1, 0, 2, ResultWin, 4);
    ResultCell stale;
    stale.opponent = 1; // row 0 names row 1, who plays row 2
    stale.result = ResultWin;
    stale.disc = 2;
    data.table.SetCell(0, 0, stale);
    data.table.ComputeAll();
    Asked asked;
    SetCellResult(data, 0, 0, 3, ResultWin, 6, asked.Fn());
    EXPECT_TRUE(asked.questions.empty());
    EXPECT_EQ(data.table.Cell(1, 0), (ResultCell{2, ResultWin, 4, 0}));
    EXPECT_EQ(data.table.Cell(2, 0), (ResultCell{1, ResultLoss, -4, 0}));
    EXPECT_EQ(data.table.Cell(3, 0), (ResultCell{0, ResultLoss, -6, 0}));
}

TEST(CellEditsTest, AnOpponentWhoNamesThisRowOneSidedlyIsNoThirdPlayer)
{
    TournamentData data = MakeTournament(3, 1, 3);
    ResultCell stale;
    stale.opponent = 0;
    data.table.SetCell(1, 0, stale); // row 1 names row 0, row 0 names nobody
    Asked asked;
    SetCellResult(data, 0, 0, 1, ResultLoss, -8, asked.Fn());
    EXPECT_TRUE(asked.questions.empty());
    EXPECT_EQ(data.table.Cell(1, 0), (ResultCell{0, ResultWin, 8, 0}));
}

TEST(CellEditsTest, TakingAnOpponentWhoPlaysAThirdPlayerAsksEvenWhenThisRowNamesHim)
{
    TournamentData data = MakeTournament(4, 1, 4);
    PutGame(data, 1, 0, 2, ResultDraw, 0);
    ResultCell stale;
    stale.opponent = 1; // row 0 names row 1, who plays row 2
    data.table.SetCell(0, 0, stale);
    Asked asked;
    SetCellResult(data, 0, 0, 1, ResultWin, 2, asked.Fn());
    ASSERT_EQ(asked.questions.size(), 1u);
    EXPECT_EQ(data.table.Cell(2, 0).opponent, 1); // No: the game of rows 1 and 2 stays
    asked.answer = true;
    SetCellResult(data, 0, 0, 1, ResultWin, 2, asked.Fn());
    EXPECT_EQ(data.table.Cell(2, 0).opponent, NoOpponent);
    EXPECT_EQ(data.table.Cell(1, 0), (ResultCell{0, ResultLoss, -2, 0}));
}

TEST(CellEditsTest, SetRowPlayerOnARowWithoutGamesRepaintsOnlyThatRow)
{
    TournamentData data = MakeTournament(3, 2, 0);
    const int rec = data.players.Add("x", "x", "x", "", 0, "");
    EditEffects fx = SetRowPlayer(data, 1, rec);
    EXPECT_EQ(data.table.Entry(1).playerIndex, rec);
    EXPECT_FALSE(fx.wholeGrid);
    EXPECT_TRUE(Has(fx.cells, {0, 1}));
    EXPECT_TRUE(fx.modified);
    fx = SetRowPlayer(data, 1, -1);
    EXPECT_TRUE(data.table.Entry(1).IsEmpty());
    EXPECT_FALSE(SetRowPlayer(data, 1, -1).modified); // empty stays empty
    SetRowPlayer(data, 1, rec);
    EXPECT_FALSE(SetRowPlayer(data, 1, rec).Any()); // the same player again
}

TEST(CellEditsTest, ReplacingAPlayerKeepsTheGamesAndDeletingRemovesThem)
{
    TournamentData data = MakeTournament(3, 2, 3);
    PutGame(data, 0, 0, 1, ResultWin, 8);
    data.table.ComputeAll();
    const int rec = data.players.Add("new", "new", "n", "", 0, "");
    EditEffects fx = SetRowPlayer(data, 0, rec);
    EXPECT_TRUE(fx.wholeGrid);
    EXPECT_EQ(data.table.Cell(0, 0).opponent, 1);
    EXPECT_EQ(data.table.Entry(0).playerIndex, rec);

    fx = SetRowPlayer(data, 0, -1);
    EXPECT_TRUE(fx.wholeGrid);
    EXPECT_TRUE(data.table.Entry(0).IsEmpty());
    EXPECT_EQ(data.table.Cell(1, 0).opponent, NoOpponent);
    EXPECT_EQ(data.table.Entry(1).losses, 0);
}

TEST(CellEditsTest, DeleteQuestionNamesThePlayer)
{
    TournamentData data = MakeTournament(2, 1, 2);
    EXPECT_EQ(U(DeletePlayerQuestion(data, 1)), "「p1」さんを削除します。よろしいですか？");
}

} // namespace
} // namespace tabry::grid
