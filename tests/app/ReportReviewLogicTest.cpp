// A waiting report read against the table as it stands when the desk acts:
// its board's players follow a sort, and a board whose game was removed
// since yields no game and no mark.
#include "app/ReportReviewLogic.h"
#include "core/Boards.h"
#include "edit/TournamentEditor.h"
#include "pairing/RandomGenerator.h"
#include "tests/app/AppTestSupport.h"

#include <gtest/gtest.h>

namespace tabry::app {
namespace {

TEST(ReportReviewLogicTest, AReportFollowsItsBoardThroughASortAndLapsesWithItsGame)
{
    CTournamentEditor editor;
    editor.Load(test::StgBytes(8, 4, {"alice", "bob", "carol", "dave", "erin", "frank"}));
    CRandomGenerator random;
    random.Seed(11);
    editor.PairRound(1, random);
    const std::vector<Board> before = RoundBoards(editor.Table(), 1);
    ASSERT_EQ(before.size(), 3u);
    const int leftPlayer = editor.Table().Entry(before[1].left).playerIndex;
    const int rightPlayer = editor.Table().Entry(before[1].right).playerIndex;

    PendingReport lost; // board 2: the right player wins 20 to 44
    lost.id = 1;
    lost.round = 2;
    lost.board = 2;
    lost.first = 20;
    lost.second = 44;
    PendingReport other = lost; // the same board from the other phone, and board 3
    other.id = 2;
    PendingReport third = lost;
    third.id = 3;
    third.board = 3;

    editor.Sort(); // rows move; the board keeps its players and sides
    const std::optional<ReportedGame> game = GameOfReport(editor.Data(), lost);
    ASSERT_TRUE(game);
    EXPECT_EQ(editor.Table().Entry(game->row).playerIndex, leftPlayer);
    EXPECT_EQ(editor.Table().Entry(game->opponent).playerIndex, rightPlayer);
    EXPECT_EQ(game->round, 1);
    EXPECT_EQ(game->result, ResultLoss);
    EXPECT_EQ(game->disc, -24);
    EXPECT_FALSE(editor.SetGame(game->row, game->round, game->opponent, game->result, game->disc).refusal);
    EXPECT_EQ(editor.Table().Cell(game->opponent, 1).disc, 24);

    const auto cells = WaitingCells(editor.Data(), {lost, other, third});
    EXPECT_EQ(cells.size(), 4u) << "two reports of one board mark its two cells once";

    // Board 3's game removed: its report names nobody.
    const std::vector<Board> after = RoundBoards(editor.Table(), 1);
    const Board* gone = FindBoard(after, 3);
    ASSERT_NE(gone, nullptr);
    editor.ClearGame(gone->left, 1);
    EXPECT_FALSE(GameOfReport(editor.Data(), third));
    EXPECT_EQ(WaitingCells(editor.Data(), {third}).size(), 0u);
    EXPECT_EQ(ReviewLineOf(editor.Data(), third).left, "?");
    third.round = 9; // a round the table does not have
    EXPECT_FALSE(GameOfReport(editor.Data(), third));
}

} // namespace
} // namespace tabry::app
