// The two editors' lists and the decisions the widget tests cannot reach
// easily: every way a search matches, the duplicate refusal on a double
// click, a cancelled registration and how the result editor opens over a
// bye or an empty cell in disc-count mode.

#include "grid/EditorSearch.h"
#include "grid/PlayerPopupLogic.h"
#include "grid/ResultPopupLogic.h"
#include "grid/ScoreText.h"

#include "core/TournamentData.h"
#include "tests/support/SmallTournaments.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

namespace tabry::grid {
namespace {

using test::PutGame;
using test::S;
using test::U;

// Six records; rows 0..2 of a 6 x 3 table hold 田中一郎, 田村 and 田中.
struct Roster {
    TournamentData data;
    int tanaka = 0, tamura = 0, taylor = 0, sato = 0, aoki = 0, tanakaShort = 0;

    Roster()
    {
        data.table.Clear();
        data.table.Resize(6, 3);
        tanaka = data.players.Add(S("田中一郎"), "tanaka", S("田中"), "", 1, "");
        tamura = data.players.Add(S("田村"), "tamura", S("田村"), "", 0, "");
        taylor = data.players.Add("Taylor", "tay", "tay", "", 0, "");
        sato = data.players.Add(S("佐藤"), "sato", S("佐藤"), "", 0, "TA-77");
        aoki = data.players.Add(S("アオキ"), "aoki", S("アオキ"), "", 0, "");
        tanakaShort = data.players.Add(S("田中"), "tanaka2", S("田中"), "", 0, "");
        data.table.Entry(0).playerIndex = tanaka;
        data.table.Entry(1).playerIndex = tamura;
        data.table.Entry(2).playerIndex = tanakaShort;
        data.table.ComputeAll();
    }
};

std::vector<int> DataOf(const std::vector<EditorListItem>& items)
{
    std::vector<int> out;
    for (const EditorListItem& item : items)
        out.push_back(item.data);
    return out;
}

TEST(EditorSearchTest, PlayersAreFoundByInputNameLongNameOrMemberNumberInDatabaseOrder)
{
    Roster r;
    const std::vector<int> ta = {r.tanaka, r.tamura, r.taylor, r.sato, r.tanakaShort};
    EXPECT_EQ(DataOf(SearchPlayers(r.data.players, "ta")), ta);
    EXPECT_EQ(DataOf(SearchPlayers(r.data.players, "TA")), ta); // capitals fold
    EXPECT_EQ(SearchPlayers(r.data.players, "ta")[0].text, S("田中一郎"));
    EXPECT_EQ(DataOf(SearchPlayers(r.data.players, S("田"))), (std::vector<int>{r.tanaka, r.tamura, r.tanakaShort}));
    // A key longer than every stored text matches nothing.
    EXPECT_TRUE(SearchPlayers(r.data.players, "tanakaichiro").empty());
    EXPECT_TRUE(SearchPlayers(r.data.players, "").empty());
    // The bye is never a player to enter.
    EXPECT_TRUE(SearchPlayers(r.data.players, "pass").empty());
}

TEST(EditorSearchTest, ADoubleByteKeyWhoseSecondByteLooksLikeACapitalStillMatches)
{
    Roster r;
    // "ア" is 0x83 0x41: folding the 0x41 to 'a' would find nobody.
    EXPECT_EQ(DataOf(SearchPlayers(r.data.players, S("ア"))), std::vector<int>{r.aoki});
}

TEST(EditorSearchTest, UnenteredPlayersLeaveOutTheTableAndTheBye)
{
    Roster r;
    EXPECT_EQ(DataOf(UnenteredPlayers(r.data.players, r.data.table)), (std::vector<int>{r.taylor, r.sato, r.aoki}));
}

TEST(EditorSearchTest, CandidatesAreTheOtherRowsPlayersThenTheBye)
{
    Roster r;
    PutGame(r.data, 1, 0, 2, ResultWin, 4);
    // Row 0 looks for an opponent: rows 1 and 2 match "ta"/"田", paired or not.
    EXPECT_EQ(DataOf(SearchCandidates(r.data, 0, S("田"))), (std::vector<int>{1, 2}));
    EXPECT_EQ(DataOf(SearchCandidates(r.data, 0, "TAM")), std::vector<int>{1});
    // The bye by its input name or its long name.
    EXPECT_EQ(DataOf(SearchCandidates(r.data, 0, "pa")), std::vector<int>{ByeOpponent});
    EXPECT_EQ(DataOf(SearchCandidates(r.data, 0, S("不戦"))), std::vector<int>{ByeOpponent});
    EXPECT_EQ(SearchCandidates(r.data, 0, "PASS")[0].text, S("不戦"));
    // Never the row itself, never an empty row.
    EXPECT_TRUE(SearchCandidates(r.data, 0, "tanaka").size() == 1);
    EXPECT_TRUE(SearchCandidates(r.data, 0, "").empty());
}

TEST(EditorSearchTest, AllCandidatesAreTheFreePlayersAndThePartnerThenTheBye)
{
    Roster r;
    r.data.table.Entry(3).playerIndex = r.sato;
    PutGame(r.data, 1, 0, 2, ResultWin, 4); // 田村 - 田中 in round 1
    PutGame(r.data, 0, 1, 3, ResultWin, 4); // 田中一郎 - 佐藤 in round 2
    EXPECT_EQ(DataOf(AllCandidates(r.data, 0, 0)), (std::vector<int>{3, ByeOpponent}));
    EXPECT_EQ(DataOf(AllCandidates(r.data, 0, 1)), (std::vector<int>{1, 2, 3, ByeOpponent}));
    EXPECT_EQ(DataOf(AllCandidates(r.data, 1, 0)), (std::vector<int>{0, 2, 3, ByeOpponent}));
}

// ---- player editor ------------------------------------------------------------

TEST(PlayerPopupLogicTest, ADoubleClickIsRefusedForAPlayerOfAnotherRowToo)
{
    Roster r;
    CPlayerPopupLogic logic(r.data, 4);
    logic.Search("ta");
    EXPECT_EQ(logic.DoubleClick(1).kind, CPlayerPopupLogic::Outcome::Duplicate); // 田村, row 1
    const auto out = logic.DoubleClick(2);                                       // Taylor
    EXPECT_EQ(out.kind, CPlayerPopupLogic::Outcome::Commit);
    EXPECT_EQ(logic.ChosenRecord(), r.taylor);
    EXPECT_EQ(logic.DoubleClick(9).kind, CPlayerPopupLogic::Outcome::Nothing);
}

TEST(PlayerPopupLogicTest, EnterWithoutAMatchCancelsOrOffersToRegister)
{
    Roster r;
    CPlayerPopupLogic logic(r.data, 4);
    logic.Search("");
    EXPECT_EQ(logic.Ok("").kind, CPlayerPopupLogic::Outcome::Cancel);
    logic.Search("zz");
    const auto out = logic.Ok("zz");
    EXPECT_EQ(out.kind, CPlayerPopupLogic::Outcome::Register);
    EXPECT_EQ(out.typed, "zz");
    EXPECT_EQ(logic.Registered(-1).kind, CPlayerPopupLogic::Outcome::Nothing);
    EXPECT_EQ(logic.ChosenRecord(), -1);
    EXPECT_EQ(logic.Registered(7).kind, CPlayerPopupLogic::Outcome::Commit);
    EXPECT_EQ(logic.ChosenRecord(), 7);
    EXPECT_EQ(logic.Cancel().kind, CPlayerPopupLogic::Outcome::Cancel);
    EXPECT_EQ(logic.ChosenRecord(), -1);
}

// ---- result editor ------------------------------------------------------------

TEST(ResultPopupLogicTest, OpeningAByeOrAnEmptyCell)
{
    Roster r;
    r.data.table.settings.showDiscDifference = false;
    ResultCell bye;
    bye.opponent = ByeOpponent;
    bye.result = ResultWin;
    bye.disc = 64;
    r.data.table.SetCell(0, 2, bye);
    const auto open = CResultPopupLogic(r.data, 0, 2).Open(std::nullopt);
    EXPECT_EQ(open.nameText, S("不戦"));
    EXPECT_EQ(open.opponentOfCell, ByeOpponent);
    EXPECT_EQ(open.cellScoreText, "64");

    const auto empty = CResultPopupLogic(r.data, 0, 0).Open(std::nullopt);
    EXPECT_EQ(empty.nameText, "");
    EXPECT_EQ(empty.cellScoreText, "32");
    EXPECT_EQ(empty.focus, CResultPopupLogic::Focus::Score);
}

TEST(ResultPopupLogicTest, ImpossibleScoresAreRefusedAndAHandChosenMarkStays)
{
    Roster r;
    CResultPopupLogic logic(r.data, 0, 0);
    const int opponent = 1;
    EXPECT_EQ(logic.Refusal("+12", MarkWin, opponent), "");
    EXPECT_EQ(U(logic.Refusal("+70", MarkWin, opponent)), "石差は -64 ～ 64 です");
    EXPECT_EQ(U(logic.Refusal("1a", MarkWin, opponent)), "石差を数字で入力してください");
    EXPECT_EQ(U(logic.Refusal("", MarkDraw, ByeOpponent)), "石差を数字で入力してください");
    // Where no score is stored, an empty field is fine, a wrong one is not.
    EXPECT_EQ(logic.Refusal("", MarkBlank, opponent), "");
    EXPECT_EQ(logic.Refusal("", MarkWin, NoOpponent), "");
    EXPECT_NE(logic.Refusal("x", MarkWin, NoOpponent), "");

    r.data.table.settings.showDiscDifference = false;
    EXPECT_EQ(U(logic.Refusal("3240", MarkWin, opponent)), "石数は 0 ～ 64 です");
    EXPECT_EQ(logic.Collect("32.5", MarkWin).score, 1);
    EXPECT_EQ(logic.MarkAfterScoreChange("32", MarkLoss), MarkDraw);
    logic.ChooseMarkByHand();
    EXPECT_EQ(logic.MarkAfterScoreChange("40", MarkLoss), MarkLoss); // lost on time with 40 discs
}

} // namespace
} // namespace tabry::grid
