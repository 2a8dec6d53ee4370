#include "edit/TournamentEditor.h"
#include "pairing/RandomGenerator.h"

#include "tests/support/RandomEdits.h"
#include "tests/support/SmallTournaments.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <random>

namespace tabry {
namespace {

using test::MakeTournament;
using test::PutGame;
using test::U;

template <class T>
bool Has(const std::vector<T>& items, const T& item)
{
    return std::find(items.begin(), items.end(), item) != items.end();
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

// Every game names its partner and the partner names it back with the
// mirrored result, no game involves an empty row, and the totals (tie-break
// values too, where the method shows them) are what a full recount gives.
::testing::AssertionResult Consistent(const CResultTable& t)
{
    for (int r = 0; r < t.PlayerCount(); ++r) {
        for (int j = 0; j < t.RoundCount(); ++j) {
            const ResultCell c = t.Cell(r, j);
            if (c.opponent != NoOpponent && t.Entry(r).IsAbsentIn(j))
                return ::testing::AssertionFailure() << "row " << r << " has a game in round " << j << " he sits out";
            if (c.opponent < 0)
                continue;
            const ResultCell m = t.Cell(c.opponent, j);
            const int mirrored = c.result == ResultNone ? ResultNone : -c.result;
            if (t.Entry(r).IsEmpty() || t.Entry(c.opponent).IsEmpty() || m.opponent != r || m.result != mirrored
                || m.disc != -c.disc || (c.result == ResultNone && c.disc != 0))
                return ::testing::AssertionFailure() << "row " << r << " round " << j << " vs " << c.opponent;
        }
    }
    CResultTable fresh = t;
    fresh.ComputeAll();
    const bool tieBreaks = EffectiveTieBreak(t.settings.tieBreak) != DiscDifference
                           || (HasSecondTieBreak(t.settings) && t.settings.tieBreak2 != DiscDifference);
    for (int r = 0; r < t.PlayerCount(); ++r) {
        PlayerEntry want = fresh.Entry(r);
        PlayerEntry got = t.Entry(r);
        for (PlayerEntry* e : {&want, &got}) {
            e->groupPosTop = e->groupPosBottom = 0;
            if (!tieBreaks)
                e->winPointsA = e->secondaryA = e->winPointsB = e->secondaryB = e->brightwell = 0;
        }
        if (!(want == got))
            return ::testing::AssertionFailure() << "totals of row " << r << " are stale";
    }
    return ::testing::AssertionSuccess();
}

// The effects name every cell, player and totals row that changed, or the
// views keep showing the old values.
::testing::AssertionResult Named(const ChangeEffects& fx, const std::vector<PlayerEntry>& beforeRows,
                                 const std::vector<ResultCell>& beforeCells, const CResultTable& t)
{
    if (fx.wholeTable || fx.resized)
        return ::testing::AssertionSuccess();
    if (beforeRows.size() != t.Entries().size())
        return ::testing::AssertionFailure() << "resized without saying so";
    for (int r = 0; r < t.PlayerCount(); ++r) {
        const PlayerEntry& was = beforeRows[static_cast<size_t>(r)];
        const PlayerEntry& now = t.Entry(r);
        if (was.playerIndex != now.playerIndex && !Has(fx.playerRows, r))
            return ::testing::AssertionFailure() << "player of row " << r << " not named";
        const bool totals = was.wins != now.wins || was.losses != now.losses || was.draws != now.draws
                            || was.discTotal != now.discTotal || was.points != now.points;
        if (totals && !fx.allTotals && !Has(fx.totalsRows, r))
            return ::testing::AssertionFailure() << "totals of row " << r << " not named";
        for (int j = 0; j < t.RoundCount(); ++j)
            if (!(beforeCells[static_cast<size_t>(r) * static_cast<size_t>(t.RoundCount()) + static_cast<size_t>(j)]
                  == t.Cell(r, j))
                && !Has(fx.cells, CellRef{r, j}) && !Has(fx.rounds, j))
                return ::testing::AssertionFailure() << "cell " << r << "/" << j << " not named";
    }
    return ::testing::AssertionSuccess();
}

// Games, players, rounds, pairings, sorts and resizes in random order: the
// table stays consistent after each, a change names what it touched, and a
// call that tells nobody changed no cell and no row's player.
TEST(TableEditsTest, RandomChangesKeepPairsMirroredTotalsRightAndNameWhatTheyTouched)
{
    for (const std::uint32_t seed : {11u, 12u, 13u}) {
        SCOPED_TRACE("seed " + std::to_string(seed));
        CTournamentEditor editor(test::CRandomEdits::Start(12, 5, 16));
        test::CRandomEdits edits(seed, 14, 6);
        std::optional<ChangeEffects> told;
        editor.AddListener(ListenerRank::Views, [&](const ChangeEvent& e) { told = e.effects; });
        for (int i = 0; i < 1200; ++i) {
            const std::vector<PlayerEntry> rows = editor.Table().Entries();
            const std::vector<ResultCell> cells = editor.Table().Cells();
            told.reset();
            const std::string what = edits.Apply(editor);
            SCOPED_TRACE("change " + std::to_string(i) + ": " + what);
            ASSERT_TRUE(Consistent(editor.Table()));
            if (told) {
                ASSERT_TRUE(Named(*told, rows, cells, editor.Table()));
                continue;
            }
            ASSERT_EQ(editor.Table().Cells(), cells);
            for (size_t r = 0; r < rows.size(); ++r)
                ASSERT_EQ(editor.Table().Entries()[r].playerIndex, rows[r].playerIndex);
        }
    }
}

TEST(TableEditsTest, OnlyTakingAnotherPlayersOpponentOrDeletingGamesAsksAndNoChangesNothing)
{
    TournamentData data = MakeTournament(5, 3, 5);
    PutGame(data, 0, 1, 1, ResultWin, 12); // A-B
    PutGame(data, 2, 1, 3, ResultDraw, 0); // C-D
    data.table.ComputeAll();
    Asked asked;
    CTournamentEditor editor(std::move(data));
    // A's own partner and a free player are taken without a question.
    editor.SetGame(0, 1, 4, ResultLoss, -2, asked.Fn());
    editor.SetGame(0, 1, 1, ResultWin, 12, asked.Fn());
    EXPECT_TRUE(asked.questions.empty());

    ChangeEffects fx = editor.SetGame(0, 1, 2, ResultWin, 6, asked.Fn());
    ASSERT_EQ(asked.questions.size(), 1u);
    EXPECT_EQ(asked.questions[0], "「p2」さんの2回戦の相手は\n「p3」さんになっています。\n 上書きしますか？");
    EXPECT_FALSE(fx.Any());
    EXPECT_EQ(editor.Table().Cell(0, 1).opponent, 1);
    EXPECT_EQ(editor.Table().Cell(3, 1).opponent, 2);
    asked.answer = true;
    editor.SetGame(0, 1, 2, ResultWin, 6, asked.Fn());
    EXPECT_EQ(editor.Table().Cell(3, 1).opponent, NoOpponent); // D freed
    EXPECT_EQ(editor.Table().Cell(1, 1).opponent, NoOpponent); // B freed

    // A new player for a row with games plays them; emptying the row takes
    // them from the opponents too.
    const int rec = editor.AddPlayer(test::Person("new"));
    editor.SetRowPlayer(0, rec);
    EXPECT_EQ(editor.Table().Cell(2, 1).opponent, 0);
    asked.questions.clear();
    asked.answer = false;
    EXPECT_EQ(editor.DeletePlayer(0, asked.Fn()).refusal.code, RefusalCode::Declined);
    EXPECT_EQ(editor.DeletePlayer(0).refusal.code, RefusalCode::Declined); // nobody to ask: No
    EXPECT_EQ(asked.questions, std::vector<std::string>{"「new」さんを削除します。よろしいですか？"});
    EXPECT_EQ(editor.Table().Cell(2, 1).opponent, 0);
    asked.answer = true;
    editor.DeletePlayer(0, asked.Fn());
    EXPECT_EQ(editor.Table().Cell(2, 1).opponent, NoOpponent);

    editor.SetGame(1, 2, 3, ResultWin, 10);
    asked.questions.clear();
    asked.answer = false;
    EXPECT_FALSE(editor.DeleteRound(2, asked.Fn()).Any());
    EXPECT_EQ(asked.questions, std::vector<std::string>{"3回戦の結果を削除します。よろしいですか？"});
    EXPECT_EQ(editor.Table().Cell(1, 2).opponent, 3);
    asked.answer = true;
    EXPECT_EQ(editor.DeleteRound(2, asked.Fn()).rounds, std::vector<int>{2});
    EXPECT_EQ(editor.Table().Cell(3, 2).opponent, NoOpponent);
}

TEST(TableEditsTest, ListenersHearAChangeByRankWhateverOrderTheyCameIn)
{
    CTournamentEditor editor(MakeTournament(4, 2, 4));
    std::string heard;
    editor.AddListener(ListenerRank::Views, [&](const ChangeEvent&) { heard += 'v'; });
    editor.AddListener(ListenerRank::LivePages, [&](const ChangeEvent&) { heard += 'l'; });
    editor.AddListener(ListenerRank::Journal, [&](const ChangeEvent&) { heard += 'j'; });
    editor.AddListener(ListenerRank::Views, [&](const ChangeEvent&) { heard += 'w'; });
    editor.AddListener(ListenerRank::History, [&](const ChangeEvent&) { heard += 'h'; });
    editor.SetGame(0, 0, 1, ResultWin, 2);
    EXPECT_EQ(heard, "hjlvw");
}

TEST(TableEditsTest, PairingAfterARoundWithOpenBoardsAsksNamingTheBoards)
{
    CTournamentEditor editor(MakeTournament(6, 3, 6));
    editor.SetGame(0, 0, 1, ResultNone, 0);
    editor.SetGame(2, 0, 3, ResultNone, 0);
    editor.SetGame(4, 0, ByeOpponent, ResultNone, 0);
    editor.SetGame(0, 1, 1, ResultNone, 0);
    Asked asked;
    CRandomGenerator random(3);
    PairingOptions options;
    options.trace.enabled = false;
    const ChangeEffects declined = editor.PairRound(2, random, options, nullptr, asked.Fn());
    EXPECT_EQ(declined.refusal.code, RefusalCode::Declined);
    EXPECT_EQ(asked.questions, std::vector<std::string>{"第1回戦・第2回戦に結果のない対局が合わせて4局あります。"
                                                        "組み合わせを作成しますか?"});
    EXPECT_EQ(editor.Table().Cell(0, 2).opponent, NoOpponent);
    asked.answer = true;
    PairedRound paired;
    ASSERT_TRUE(editor.PairRound(2, random, options, nullptr, asked.Fn(), &paired).Any());
    EXPECT_EQ(paired.round, 2);
    EXPECT_EQ(paired.boards, 3);
    EXPECT_EQ(paired.byeRow, -1);
}

TEST(TableEditsTest, ChangesThatChangeNothingAreRefusedAndToldToNobody)
{
    TournamentData data = MakeTournament(4, 2, 3);
    PutGame(data, 0, 0, 1, ResultWin, 2);
    data.table.ComputeAll();
    CTournamentEditor editor(std::move(data));
    editor.ClearGame(2, 1); // a cleared cell holds (none, win, 0)
    test::EditCounter steps(editor);
    const auto yes = [](const std::string&) { return true; };
    const std::vector<std::pair<const char*, std::function<ChangeEffects()>>> refused = {
        {"the same game again", [&] { return editor.SetGame(0, 0, 1, ResultWin, 2); }},
        {"himself", [&] { return editor.SetGame(0, 1, 0, ResultWin, 2); }},
        {"an empty row", [&] { return editor.SetGame(0, 1, 3, ResultWin, 2); }},
        {"beyond the table", [&] { return editor.SetGame(0, 1, 9, ResultWin, 2); }},
        {"no such round", [&] { return editor.SetGame(0, 5, 1, ResultWin, 2); }},
        {"from an empty row", [&] { return editor.SetGame(3, 1, 1, ResultWin, 2); }},
        {"a bye from an empty row", [&] { return editor.SetGame(3, 1, ByeOpponent, ResultWin, 2); }},
        {"clearing a cleared cell", [&] { return editor.ClearGame(2, 1); }},
        {"the row's own player", [&] { return editor.SetRowPlayer(0, editor.Table().Entry(0).playerIndex); }},
        {"emptying an empty row", [&] { return editor.DeletePlayer(3); }},
        {"a round without games", [&] { return editor.DeleteRound(1, yes); }},
        {"a round before the first", [&] { return editor.DeleteRound(-1, yes); }},
        {"a round after the last", [&] { return editor.DeleteRound(2, yes); }},
    };
    const std::string before = editor.Save();
    for (const auto& [what, change] : refused) {
        EXPECT_FALSE(change().Any()) << what;
        EXPECT_EQ(steps.Count(), 0) << what;
        EXPECT_EQ(editor.Save(), before) << what;
    }
}

// A table read from a file may hold a pair that only one side names. An edit
// must neither destroy a third game through such a cell, nor take it for a
// third player, nor leave a new one-sided pair behind.
TEST(TableEditsTest, AOneSidedCellNeverCostsAnotherGame)
{
    TournamentData data = MakeTournament(5, 2, 5);
    PutGame(data, 1, 0, 2, ResultWin, 4);
    data.table.SetCell(0, 0, ResultCell{1, ResultWin, 2, 0}); // 0 names 1, who plays 2
    data.table.SetCell(4, 1, ResultCell{3, ResultWin, 2, 0}); // 4 names 3, who names nobody
    data.table.ComputeAll();
    Asked asked;
    CTournamentEditor editor(std::move(data));
    editor.SetGame(0, 0, 3, ResultWin, 6, asked.Fn());
    editor.SetGame(3, 1, 4, ResultLoss, -8, asked.Fn());
    EXPECT_TRUE(asked.questions.empty());
    EXPECT_EQ(editor.Table().Cell(1, 0), (ResultCell{2, ResultWin, 4, 0}));
    EXPECT_EQ(editor.Table().Cell(2, 0), (ResultCell{1, ResultLoss, -4, 0}));
    EXPECT_EQ(editor.Table().Cell(3, 0), (ResultCell{0, ResultLoss, -6, 0}));
    EXPECT_EQ(editor.Table().Cell(4, 1), (ResultCell{3, ResultWin, 8, 0}));

    // Taking the partner of a real game asks even when this row names him.
    TournamentData again = MakeTournament(4, 1, 4);
    PutGame(again, 1, 0, 2, ResultDraw, 0);
    again.table.SetCell(0, 0, ResultCell{1, ResultDraw, 0, 0});
    CTournamentEditor other(std::move(again));
    other.SetGame(0, 0, 1, ResultWin, 2, asked.Fn());
    ASSERT_EQ(asked.questions.size(), 1u);
    EXPECT_EQ(other.Table().Cell(2, 0).opponent, 1); // No: the game of rows 1 and 2 stays
}

// Undoing the step is covered by the random edits, which add rows too.
TEST(TableEditsTest, ALatecomersRowIsAddedAtTheEndAsOneStepUpToTheLargestTable)
{
    TournamentData data = MakeTournament(4, 3, 4);
    PutGame(data, 0, 0, 1, ResultWin, 10);
    data.table.ComputeAll();
    CTournamentEditor editor(std::move(data));
    std::vector<std::string> steps;
    editor.AddListener(ListenerRank::Views, [&](const ChangeEvent& e) {
        if (e.step)
            steps.push_back(U(e.step->Name()));
    });
    EXPECT_TRUE(editor.AddRow().resized);
    EXPECT_EQ(steps, std::vector<std::string>{"行の追加"});
    ASSERT_EQ(editor.Table().PlayerCount(), 5);
    EXPECT_EQ(editor.Table().RoundCount(), 3);
    EXPECT_TRUE(editor.Table().Entry(4).IsEmpty());
    EXPECT_EQ(editor.Table().Cell(0, 0), (ResultCell{1, ResultWin, 10, 0}));

    CTournamentEditor full(MakeTournament(kMaxPlayers, 1, 2));
    EXPECT_FALSE(full.AddRow().Any());
    EXPECT_EQ(full.Table().PlayerCount(), kMaxPlayers);
}

TEST(TableEditsTest, APlayerSittingOutIsLeftOutOfThatRoundsPairingOnly)
{
    PairingOptions options;
    options.trace.enabled = false;
    const auto yes = [](const std::string&) { return true; };
    for (std::uint32_t seed = 1; seed <= 40; ++seed) {
        SCOPED_TRACE("seed " + std::to_string(seed));
        std::mt19937 rng(seed);
        const int players = 4 + static_cast<int>(rng() % 13);
        CTournamentEditor editor(MakeTournament(players + 2, 3, players));
        std::vector<int> absent;
        for (int r = 0; r < players; ++r)
            if (rng() % 4 == 0) {
                ASSERT_TRUE(editor.SetAbsent(r, 1, true).Any());
                absent.push_back(r);
            }
        CRandomGenerator random(seed);
        for (int round = 0; round < 3; ++round) {
            editor.PairRound(round, random, options, nullptr, yes);
            for (int r = 0; r < players; ++r) {
                const bool out = round == 1 && Has(absent, r);
                EXPECT_EQ(editor.Table().Cell(r, round).opponent == NoOpponent, out)
                    << "row " << r << " round " << round;
            }
        }
        ASSERT_TRUE(Consistent(editor.Table()));
    }
}

TEST(TableEditsTest, SittingOutIsRefusedWhereItBreaksARuleAndScoresByTheByeRule)
{
    CTournamentEditor editor(MakeTournament(6, 3, 5));
    editor.SetGame(0, 0, 1, ResultWin, 4);
    editor.Withdraw(4, 1);
    EXPECT_EQ(editor.SetAbsent(0, 0, true).refusal.code, RefusalCode::HasGame);
    EXPECT_EQ(editor.SetAbsent(4, 2, true).refusal.code, RefusalCode::Withdrawn);
    EXPECT_EQ(editor.SetAbsent(5, 1, true).refusal.code, RefusalCode::EmptyRow);
    EXPECT_EQ(editor.SetAbsent(0, 3, true).refusal.code, RefusalCode::OutOfTable);
    EXPECT_EQ(editor.SetAbsent(2, 1, false).refusal.code, RefusalCode::NotAbsent);

    ASSERT_TRUE(editor.SetAbsent(2, 1, true).Any());
    EXPECT_FALSE(editor.SetAbsent(2, 1, true).Any()); // nothing more to do
    // No game of his in that round, from either side.
    EXPECT_EQ(editor.SetGame(2, 1, 3, ResultWin, 2).refusal.code, RefusalCode::Absent);
    EXPECT_EQ(editor.SetGame(3, 1, 2, ResultWin, 2).refusal.code, RefusalCode::OpponentAbsent);
    EXPECT_EQ(editor.SetGame(2, 1, ByeOpponent, ResultWin, 2).refusal.code, RefusalCode::Absent);
    EXPECT_EQ(editor.Table().Entry(2).wins, 0);

    // A bye rule with a score scores the round sat out, and a rule without
    // one takes it back: the totals follow the rule at once.
    TableSettings s = editor.Table().settings;
    s.bye.winDisc = 64;
    editor.ApplySettings(s, 6, 3);
    EXPECT_EQ(editor.Table().Entry(2).wins, 1);
    EXPECT_EQ(editor.Table().Entry(2).discTotal, 64);
    EXPECT_EQ(editor.Table().Cell(2, 1).opponent, NoOpponent);
    EXPECT_TRUE(Consistent(editor.Table()));
    s.bye.winDisc = 0;
    editor.ApplySettings(s, 6, 3);
    EXPECT_EQ(editor.Table().Entry(2).wins, 0);

    ASSERT_TRUE(editor.SetAbsent(2, 1, false).Any());
    EXPECT_TRUE(editor.SetGame(2, 1, 3, ResultWin, 2).Any());
}

} // namespace
} // namespace tabry
