#include "edit/TournamentEditor.h"

#include "tests/support/SmallTournaments.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace tabry {
namespace {

using test::MakeTournament;
using test::PutGame;
using test::U;

bool HasCell(const std::vector<CellRef>& cells, CellRef c)
{
    return std::find(cells.begin(), cells.end(), c) != cells.end();
}

bool HasRow(const std::vector<int>& rows, int row)
{
    return std::find(rows.begin(), rows.end(), row) != rows.end();
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

TEST(TableEditsTest, AGameIsMirroredIntoTheOpponentsRow)
{
    TournamentData data = MakeTournament(4, 3, 4);
    Asked asked;
    CTournamentEditor editor(std::move(data));
    const ChangeEffects fx = editor.SetGame(0, 1, 1, ResultWin, 12, asked.Fn());
    EXPECT_TRUE(fx.Any());
    EXPECT_EQ(editor.Table().Cell(0, 1), (ResultCell{1, ResultWin, 12, 0}));
    EXPECT_EQ(editor.Table().Cell(1, 1), (ResultCell{0, ResultLoss, -12, 0}));
    EXPECT_EQ(editor.Table().Entry(0).wins, 1);
    EXPECT_EQ(editor.Table().Entry(1).losses, 1);
    EXPECT_TRUE(HasCell(fx.cells, {0, 1}));
    EXPECT_TRUE(HasCell(fx.cells, {1, 1}));
    EXPECT_FALSE(fx.allTotals); // disc difference needs no other row
    EXPECT_TRUE(asked.questions.empty());
}

TEST(TableEditsTest, OtherMethodsRecomputeEveryRowsTieBreaks)
{
    TournamentData data = MakeTournament(4, 2, 4);
    data.table.settings.tieBreak = WinPointsA;
    PutGame(data, 1, 0, 2, ResultWin, 2);
    data.table.ComputeAll();
    Asked asked;
    CTournamentEditor editor(std::move(data));
    const ChangeEffects fx = editor.SetGame(0, 1, 1, ResultWin, 4, asked.Fn());
    EXPECT_TRUE(fx.allTotals);
    EXPECT_EQ(editor.Table().Entry(0).winPointsA, 2); // row 1, the one opponent, has one win (2 half points)
}

TEST(TableEditsTest, ANewFreeOpponentDissolvesThePreviousPairingWithoutAsking)
{
    TournamentData data = MakeTournament(4, 3, 4);
    PutGame(data, 0, 1, 1, ResultWin, 12);
    data.table.ComputeAll();
    Asked asked;
    CTournamentEditor editor(std::move(data));
    editor.SetGame(0, 1, 2, ResultLoss, -2, asked.Fn());
    EXPECT_TRUE(asked.questions.empty());
    EXPECT_EQ(editor.Table().Cell(1, 1).opponent, NoOpponent);
    EXPECT_EQ(editor.Table().Entry(1).losses, 0);
    EXPECT_EQ(editor.Table().Cell(2, 1), (ResultCell{0, ResultWin, 2, 0}));
}

TEST(TableEditsTest, AnOpponentPairedWithAThirdPlayerIsOnlyTakenAfterYes)
{
    TournamentData data = MakeTournament(4, 3, 4);
    PutGame(data, 0, 1, 1, ResultWin, 12); // A-B
    PutGame(data, 2, 1, 3, ResultDraw, 0); // C-D
    data.table.ComputeAll();
    Asked asked;
    CTournamentEditor editor(std::move(data));
    ChangeEffects fx = editor.SetGame(0, 1, 2, ResultWin, 6, asked.Fn());
    ASSERT_EQ(asked.questions.size(), 1u);
    EXPECT_EQ(asked.questions[0], "「p2」さんの2回戦の相手は\n「p3」さんになっています。\n 上書きしますか？");
    EXPECT_FALSE(fx.Any());
    EXPECT_EQ(editor.Table().Cell(0, 1).opponent, 1);
    EXPECT_EQ(editor.Table().Cell(3, 1).opponent, 2);

    asked.answer = true;
    fx = editor.SetGame(0, 1, 2, ResultWin, 6, asked.Fn());
    EXPECT_TRUE(fx.Any());
    EXPECT_EQ(editor.Table().Cell(3, 1).opponent, NoOpponent); // D freed
    EXPECT_EQ(editor.Table().Cell(1, 1).opponent, NoOpponent); // B freed
    EXPECT_EQ(editor.Table().Cell(2, 1), (ResultCell{0, ResultLoss, -6, 0}));
    EXPECT_EQ(editor.Table().Entry(3).draws, 0);
}

TEST(TableEditsTest, TheByeIsOneSidedAndAnUnsetResultStaysUnsetInTheMirror)
{
    TournamentData data = MakeTournament(4, 2, 4);
    Asked asked;
    CTournamentEditor editor(std::move(data));
    editor.SetGame(0, 0, ByeOpponent, ResultWin, 64, asked.Fn());
    EXPECT_EQ(editor.Table().Cell(0, 0), (ResultCell{ByeOpponent, ResultWin, 64, 0}));
    for (int row = 1; row < 4; ++row)
        EXPECT_EQ(editor.Table().Cell(row, 0).opponent, NoOpponent);

    editor.SetGame(1, 1, 2, ResultNone, 30, asked.Fn());
    EXPECT_EQ(editor.Table().Cell(1, 1), (ResultCell{2, ResultNone, 0, 0}));
    EXPECT_EQ(editor.Table().Cell(2, 1), (ResultCell{1, ResultNone, 0, 0}));
}

TEST(TableEditsTest, TheSameGameAgainChangesNothing)
{
    TournamentData data = MakeTournament(2, 1, 2);
    Asked asked;
    CTournamentEditor editor(std::move(data));
    editor.SetGame(0, 0, 1, ResultWin, 2, asked.Fn());
    const ChangeEffects fx = editor.SetGame(0, 0, 1, ResultWin, 2, asked.Fn());
    EXPECT_FALSE(fx.Any());
    EXPECT_FALSE(fx.Any());
}

TEST(TableEditsTest, ClearingACellEmptiesTheMirrorAndAnEmptyCellStaysUnmodified)
{
    TournamentData data = MakeTournament(3, 1, 3);
    PutGame(data, 0, 0, 1, ResultWin, 2);
    data.table.ComputeAll();
    Asked asked;
    CTournamentEditor editor(std::move(data));
    ChangeEffects fx = editor.SetGame(0, 0, NoOpponent, ResultDraw, 0, asked.Fn());
    EXPECT_TRUE(fx.Any());
    EXPECT_EQ(editor.Table().Cell(0, 0).opponent, NoOpponent);
    EXPECT_EQ(editor.Table().Cell(1, 0).opponent, NoOpponent);
    EXPECT_EQ(editor.Table().Entry(0).wins, 0);
    // An already empty cell holds (none, win, 0) after a clear; clearing again
    // is no change.
    fx = editor.SetGame(0, 0, NoOpponent, ResultDraw, 0, asked.Fn());
    EXPECT_FALSE(fx.Any());
}

TEST(TableEditsTest, InvalidOpponentsAreRefused)
{
    TournamentData data = MakeTournament(4, 1, 2);
    Asked asked;
    CTournamentEditor editor(std::move(data));
    EXPECT_FALSE(editor.SetGame(0, 0, 0, ResultWin, 2, asked.Fn()).Any()); // himself
    EXPECT_FALSE(editor.SetGame(0, 0, 3, ResultWin, 2, asked.Fn()).Any()); // empty row
    EXPECT_FALSE(editor.SetGame(0, 0, 9, ResultWin, 2, asked.Fn()).Any()); // beyond
    EXPECT_FALSE(editor.SetGame(0, 5, 1, ResultWin, 2, asked.Fn()).Any()); // no such round
    EXPECT_FALSE(editor.SetGame(3, 0, 1, ResultWin, 2, asked.Fn()).Any()); // from an empty row
    EXPECT_FALSE(editor.SetGame(3, 0, ByeOpponent, ResultWin, 2, asked.Fn()).Any());
}

// A table read from a file may hold a pair that only one side names. An edit
// must neither destroy a third game through such a cell nor leave a new
// one-sided pair behind.
TEST(TableEditsTest, AOneSidedCellNeverCostsAnotherGame)
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
    CTournamentEditor editor(std::move(data));
    editor.SetGame(0, 0, 3, ResultWin, 6, asked.Fn());
    EXPECT_TRUE(asked.questions.empty());
    EXPECT_EQ(editor.Table().Cell(1, 0), (ResultCell{2, ResultWin, 4, 0}));
    EXPECT_EQ(editor.Table().Cell(2, 0), (ResultCell{1, ResultLoss, -4, 0}));
    EXPECT_EQ(editor.Table().Cell(3, 0), (ResultCell{0, ResultLoss, -6, 0}));
}

TEST(TableEditsTest, AnOpponentWhoNamesThisRowOneSidedlyIsNoThirdPlayer)
{
    TournamentData data = MakeTournament(3, 1, 3);
    ResultCell stale;
    stale.opponent = 0;
    data.table.SetCell(1, 0, stale); // row 1 names row 0, row 0 names nobody
    Asked asked;
    CTournamentEditor editor(std::move(data));
    editor.SetGame(0, 0, 1, ResultLoss, -8, asked.Fn());
    EXPECT_TRUE(asked.questions.empty());
    EXPECT_EQ(editor.Table().Cell(1, 0), (ResultCell{0, ResultWin, 8, 0}));
}

TEST(TableEditsTest, TakingAnOpponentWhoPlaysAThirdPlayerAsksEvenWhenThisRowNamesHim)
{
    TournamentData data = MakeTournament(4, 1, 4);
    PutGame(data, 1, 0, 2, ResultDraw, 0);
    ResultCell stale;
    stale.opponent = 1; // row 0 names row 1, who plays row 2
    data.table.SetCell(0, 0, stale);
    Asked asked;
    CTournamentEditor editor(std::move(data));
    editor.SetGame(0, 0, 1, ResultWin, 2, asked.Fn());
    ASSERT_EQ(asked.questions.size(), 1u);
    EXPECT_EQ(editor.Table().Cell(2, 0).opponent, 1); // No: the game of rows 1 and 2 stays
    asked.answer = true;
    editor.SetGame(0, 0, 1, ResultWin, 2, asked.Fn());
    EXPECT_EQ(editor.Table().Cell(2, 0).opponent, NoOpponent);
    EXPECT_EQ(editor.Table().Cell(1, 0), (ResultCell{0, ResultLoss, -2, 0}));
}

TEST(TableEditsTest, SetRowPlayerOnARowWithoutGamesRepaintsOnlyThatRow)
{
    TournamentData data = MakeTournament(3, 2, 0);
    const int rec = data.players.Add("x", "x", "x", "", 0, "");
    CTournamentEditor editor(std::move(data));
    ChangeEffects fx = editor.SetRowPlayer(1, rec);
    EXPECT_EQ(editor.Table().Entry(1).playerIndex, rec);
    EXPECT_FALSE(fx.wholeTable);
    EXPECT_TRUE(HasRow(fx.playerRows, 1));
    EXPECT_TRUE(fx.Any());
    fx = editor.SetRowPlayer(1, -1);
    EXPECT_TRUE(editor.Table().Entry(1).IsEmpty());
    EXPECT_FALSE(editor.SetRowPlayer(1, -1).Any()); // empty stays empty
    editor.SetRowPlayer(1, rec);
    EXPECT_FALSE(editor.SetRowPlayer(1, rec).Any()); // the same player again
}

TEST(TableEditsTest, ReplacingAPlayerKeepsTheGamesAndDeletingRemovesThem)
{
    TournamentData data = MakeTournament(3, 2, 3);
    PutGame(data, 0, 0, 1, ResultWin, 8);
    data.table.ComputeAll();
    const int rec = data.players.Add("new", "new", "n", "", 0, "");
    CTournamentEditor editor(std::move(data));
    ChangeEffects fx = editor.SetRowPlayer(0, rec);
    EXPECT_TRUE(fx.wholeTable);
    EXPECT_EQ(editor.Table().Cell(0, 0).opponent, 1);
    EXPECT_EQ(editor.Table().Entry(0).playerIndex, rec);

    fx = editor.SetRowPlayer(0, -1);
    EXPECT_TRUE(fx.wholeTable);
    EXPECT_TRUE(editor.Table().Entry(0).IsEmpty());
    EXPECT_EQ(editor.Table().Cell(1, 0).opponent, NoOpponent);
    EXPECT_EQ(editor.Table().Entry(1).losses, 0);
}


TEST(TableEditsTest, DeletingARoundAsksAndARoundWithoutGamesIsNoChange)
{
    TournamentData data = MakeTournament(4, 3, 4);
    PutGame(data, 0, 2, 1, ResultWin, 10);
    data.table.ComputeAll();
    CTournamentEditor editor(std::move(data));
    Asked asked;
    ChangeEffects fx = editor.DeleteRound(2, asked.Fn());
    ASSERT_EQ(asked.questions.size(), 1u);
    EXPECT_EQ(asked.questions[0], "3回戦の結果を削除します。よろしいですか？");
    EXPECT_FALSE(fx.Any());
    EXPECT_EQ(editor.Table().Cell(0, 2).opponent, 1);

    asked.answer = true;
    fx = editor.DeleteRound(2, asked.Fn());
    EXPECT_EQ(fx.rounds, std::vector<int>{2});
    EXPECT_TRUE(fx.allTotals);
    EXPECT_EQ(editor.Table().Cell(0, 2).opponent, NoOpponent);
    EXPECT_EQ(editor.Table().Cell(1, 2).opponent, NoOpponent);
    EXPECT_EQ(editor.Table().Entry(0).wins, 0);

    asked.questions.clear();
    EXPECT_FALSE(editor.DeleteRound(1, asked.Fn()).Any());
    EXPECT_TRUE(asked.questions.empty());
    EXPECT_FALSE(editor.DeleteRound(-1, asked.Fn()).Any());
    EXPECT_FALSE(editor.DeleteRound(3, asked.Fn()).Any());
}

TEST(TableEditsTest, ALatecomersRowIsAddedAtTheEndAsOneStepUpToTheLargestTable)
{
    TournamentData data = MakeTournament(4, 3, 4);
    PutGame(data, 0, 0, 1, ResultWin, 10);
    data.table.ComputeAll();
    CTournamentEditor editor(std::move(data));
    std::vector<std::shared_ptr<const CEditStep>> steps;
    editor.AddListener([&](const ChangeEvent& e) {
        if (e.step)
            steps.push_back(e.step);
    });
    const TournamentData before = editor.Data();
    const ChangeEffects fx = editor.AddRow();
    EXPECT_TRUE(fx.resized);
    ASSERT_EQ(steps.size(), 1u);
    EXPECT_EQ(U(steps[0]->Name()), "行の追加");
    ASSERT_EQ(editor.Table().PlayerCount(), 5);
    EXPECT_EQ(editor.Table().RoundCount(), 3);
    EXPECT_TRUE(editor.Table().Entry(4).IsEmpty());
    EXPECT_EQ(editor.Table().Cell(0, 0), (ResultCell{1, ResultWin, 10, 0}));

    // The latecomer plays from round 2 on; round 1 stays empty.
    CPlayerRecord late;
    late.m_longName = "late";
    late.m_inputName = "late";
    editor.SetRowPlayer(4, editor.AddPlayer(late));
    editor.SetGame(4, 1, 2, ResultWin, 4);
    EXPECT_EQ(editor.Table().Cell(4, 0).opponent, NoOpponent);
    EXPECT_EQ(editor.Table().Entry(4).wins, 1);

    for (auto it = steps.rbegin(); it != steps.rend(); ++it)
        ASSERT_TRUE(editor.Undo(**it));
    EXPECT_EQ(editor.Save(), before.Save());
    EXPECT_EQ(editor.Table().PlayerCount(), 4);

    CTournamentEditor full(MakeTournament(kMaxPlayers, 1, 2));
    int told = 0;
    full.AddListener([&](const ChangeEvent&) { ++told; });
    EXPECT_FALSE(full.AddRow().Any());
    EXPECT_EQ(full.Table().PlayerCount(), kMaxPlayers);
    EXPECT_EQ(told, 0);
}

} // namespace
} // namespace tabry
