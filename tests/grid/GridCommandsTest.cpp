#include "grid/GridCommands.h"

#include "core/TournamentData.h"
#include "grid/GridNavigator.h"
#include "tests/support/SmallTournaments.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

namespace tabry::grid {
namespace {

using test::MakeTournament;
using test::PutGame;
using test::U;

std::vector<int> Enabled(const ContextMenuState& menu)
{
    std::vector<int> out;
    for (const MenuEntryState& e : menu.entries)
        if (e.command != CmdSeparator && e.enabled)
            out.push_back(e.command);
    return out;
}

// 6 rows (4 with players) x 3 rounds.
struct MenuFixture : testing::Test {
    TournamentData data = MakeTournament(6, 3, 4);
};

TEST_F(MenuFixture, TheGameMenuNeedsAPlayerToEditAndAGameToDelete)
{
    EXPECT_TRUE(Enabled(ContextMenuAt(data, {2, 5}, {2, 5}, kNoColumn)).empty());
    const ContextMenuState fresh = ContextMenuAt(data, {2, 0}, {2, 0}, kNoColumn);
    EXPECT_EQ(fresh.kind, MenuKind::Game);
    EXPECT_EQ(Enabled(fresh), (std::vector<int>{CmdGameEdit, CmdGameSitOut}));
    ResultCell bye;
    bye.opponent = ByeOpponent;
    data.table.SetCell(0, 1, bye); // the bye counts as a game
    EXPECT_EQ(Enabled(ContextMenuAt(data, {2, 0}, {2, 0}, kNoColumn)), (std::vector<int>{CmdGameEdit, CmdGameDelete}));
}

TEST_F(MenuFixture, TheRoundMenuOpensOnlyOverTheSelectedHeader)
{
    PutGame(data, 0, 1, 1, ResultWin, 2);
    const ContextMenuState round = ContextMenuAt(data, {2, -1}, {0, 0}, 2);
    EXPECT_EQ(round.kind, MenuKind::Round);
    EXPECT_EQ(Enabled(round), (std::vector<int>{CmdRoundEnterResults, CmdRoundPairing, CmdRoundSavePairingTable,
                                                CmdRoundSaveScoreSheet, CmdRoundDelete}));
    // A round without a game has nothing to delete.
    EXPECT_FALSE(ContextMenuAt(data, {3, -1}, {0, 0}, 3).IsEnabled(CmdRoundDelete));
    // Another header, or a cell that is not current: no menu.
    EXPECT_EQ(ContextMenuAt(data, {1, -1}, {0, 0}, 2).kind, MenuKind::None);
    EXPECT_EQ(ContextMenuAt(data, {1, 3}, {0, 0}, kNoColumn).kind, MenuKind::None);
}

TEST_F(MenuFixture, EnteringResultsNeedsAPlayerStillWithoutResult)
{
    PutGame(data, 0, 0, 1, ResultWin, 2);
    PutGame(data, 2, 0, 3, ResultNone, 0);
    EXPECT_EQ(FirstRowToEnter(data.table, 0), 2);
    PutGame(data, 2, 0, 3, ResultDraw, 0);
    EXPECT_EQ(FirstRowToEnter(data.table, 0), -1);
    EXPECT_FALSE(ContextMenuAt(data, {1, -1}, {0, 0}, 1).IsEnabled(CmdRoundEnterResults));
    EXPECT_EQ(FirstRowToEnter(data.table, 1), 0); // no opponent yet
    EXPECT_EQ(FirstRowToEnter(data.table, 3), -1);
    EXPECT_EQ(FirstRowToEnter(data.table, -1), -1);
}

TEST(GridCommandsTest, DeleteQuestionNamesThePlayer)
{
    TournamentData data = MakeTournament(2, 1, 2);
    EXPECT_EQ(U(DeletePlayerQuestion(data, 1)), "「p1」さんを削除します。よろしいですか？");
}

TEST(GridCommandsTest, ARecordDiffersInAnyFieldTheTournamentFileCarries)
{
    CPlayerRecord a;
    a.m_longName = "a";
    CPlayerRecord b = a;
    EXPECT_FALSE(RecordDiffers(a, b));
    b.m_grade = 3;
    EXPECT_TRUE(RecordDiffers(a, b));
    b = a;
    b.m_memberNumber = "9";
    EXPECT_TRUE(RecordDiffers(a, b));
}

} // namespace
} // namespace tabry::grid
