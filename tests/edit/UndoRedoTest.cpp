// Undo and redo at the edit path, checked against the states themselves:
// after any sequence of changes, taking steps back must give exactly the
// state before them (saved bytes, every stored value, the fixed board
// numbers, the player records), and making them again exactly the state
// after.

#include "edit/TournamentEditor.h"

#include "tests/support/RandomEdits.h"
#include "tests/support/SmallTournaments.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace tabry {
namespace {

// What a state shows: the saved bytes, every cell as stored, each row's
// player and totals, and the tie-break values where the method shows them
// (with disc difference they are not kept up to date, so they are not part
// of what a state is).
struct State {
    std::string saved;
    std::vector<PlayerEntry> entries;
    std::vector<ResultCell> cells;
    std::vector<CPlayerRecord> people;
    std::vector<BoardPlan> plans;

    static State Of(const CTournamentEditor& editor)
    {
        std::vector<PlayerEntry> shown;
        const bool tieBreaks = EffectiveTieBreak(editor.Table().settings.tieBreak) != DiscDifference;
        for (PlayerEntry e : editor.Table().Entries()) {
            if (!tieBreaks)
                e.winPointsA = e.secondaryA = e.winPointsB = e.secondaryB = e.brightwell = 0;
            e.groupPosTop = e.groupPosBottom = 0; // the pairing's scratch
            shown.push_back(e);
        }
        return {editor.Save(), shown, editor.Table().Cells(), editor.Players().Records(), editor.Table().Plans()};
    }
};

// The state as it was, with the people appended since still there (undo
// keeps every person added to the database).
::testing::AssertionResult Same(const State& want, const State& got)
{
    if (got.saved != want.saved)
        return ::testing::AssertionFailure() << "saved bytes differ:\n"
                                             << test::U(got.saved) << "\nwanted\n"
                                             << test::U(want.saved);
    if (got.entries != want.entries)
        return ::testing::AssertionFailure() << "row values differ";
    if (got.cells != want.cells)
        return ::testing::AssertionFailure() << "cells differ";
    if (got.plans != want.plans)
        return ::testing::AssertionFailure() << "board numbers differ";
    if (got.people.size() < want.people.size()
        || !std::equal(want.people.begin(), want.people.end(), got.people.begin()))
        return ::testing::AssertionFailure() << "player records differ";
    return ::testing::AssertionSuccess();
}

// A history as the desktop program keeps one: undo moves back, a new step
// drops what was undone.
struct History {
    std::vector<std::shared_ptr<const CEditStep>> steps;
    size_t index = 0;
};

TEST(UndoRedoTest, EveryStateComesBackExactlyAfterThousandsOfRandomChanges)
{
    for (const std::uint32_t seed : {1u, 2u, 3u, 4u}) {
        SCOPED_TRACE("seed " + std::to_string(seed));
        CTournamentEditor editor(test::CRandomEdits::Start(14, 6, 20));
        test::CRandomEdits edits(seed, 20, 8);
        History history;
        editor.AddListener(ListenerRank::Views, [&](const ChangeEvent& e) {
            if (e.kind != ChangeKind::Edit)
                return;
            history.steps.resize(history.index);
            history.steps.push_back(e.step);
            history.index = history.steps.size();
        });
        // states[i] is the state after i steps of the history.
        std::vector<State> states{State::Of(editor)};
        std::mt19937 rng(seed);
        for (int i = 0; i < 2500; ++i) {
            // Now and then the organiser takes a few steps back (and
            // sometimes forward again) before going on.
            if (rng() % 20 == 0 && history.index > 0) {
                const size_t back = std::min<size_t>(rng() % 4 + 1, history.index);
                for (size_t k = 0; k < back; ++k) {
                    ASSERT_TRUE(editor.Undo(*history.steps[--history.index]));
                    ASSERT_TRUE(Same(states[history.index], State::Of(editor))) << "undo at change " << i;
                }
                if (rng() % 2 == 0) {
                    ASSERT_TRUE(editor.Redo(*history.steps[history.index]));
                    ++history.index;
                    ASSERT_TRUE(Same(states[history.index], State::Of(editor))) << "redo at change " << i;
                }
                continue;
            }
            const size_t at = history.index;
            const std::string what = edits.Apply(editor);
            if (history.index == at + 1) { // a step was made: what was undone is gone
                states.resize(at + 1);
                states.push_back(State::Of(editor));
            }
            ASSERT_EQ(states.size() > history.index, true) << what;
        }
        // Everything back, then everything again.
        while (history.index > 0) {
            ASSERT_TRUE(editor.Undo(*history.steps[--history.index]));
            ASSERT_TRUE(Same(states[history.index], State::Of(editor))) << "undo to " << history.index;
        }
        while (history.index < history.steps.size()) {
            ASSERT_TRUE(editor.Redo(*history.steps[history.index++]));
            ASSERT_TRUE(Same(states[history.index], State::Of(editor))) << "redo to " << history.index;
        }
    }
}

TEST(UndoRedoTest, AStepThatDoesNotBelongToTheCurrentStateIsRefused)
{
    CTournamentEditor editor(test::MakeTournament(4, 2, 4));
    std::vector<std::shared_ptr<const CEditStep>> steps;
    editor.AddListener(ListenerRank::Views, [&](const ChangeEvent& e) {
        if (e.step)
            steps.push_back(e.step);
    });
    editor.SetGame(0, 0, 1, ResultWin, 4);
    editor.SetGame(2, 0, 3, ResultWin, 4);
    ASSERT_EQ(steps.size(), 2u);
    const std::string after = editor.Save();
    EXPECT_FALSE(editor.Undo(*steps[0])); // the later step must go first
    EXPECT_FALSE(editor.Redo(*steps[1])); // it is made already
    EXPECT_EQ(editor.Save(), after);
    editor.NewTournament(); // another tournament: no old step applies
    EXPECT_FALSE(editor.Undo(*steps[1]));
}

TEST(UndoRedoTest, StepsAreNamedForTheMenuAndListenersHearEachChangeOnce)
{
    TournamentData data = test::MakeTournament(4, 3, 4);
    CTournamentEditor editor(std::move(data));
    std::vector<std::string> names;
    int events = 0;
    editor.AddListener(ListenerRank::Views, [&](const ChangeEvent& e) {
        ++events;
        if (e.step)
            names.push_back(test::U(e.step->Name()));
    });
    editor.SetGame(0, 2, 1, ResultWin, 4);
    editor.SetGame(2, 2, ByeOpponent, ResultWin, 10);
    editor.ClearGame(0, 2);
    editor.SetGame(0, 2, 0, ResultWin, 4);                          // himself: refused, nobody told
    editor.DeleteRound(1, [](const std::string&) { return true; }); // no games: nothing
    editor.SetDetails("x", 2024, 5, 3);
    EXPECT_EQ(events, 4);
    EXPECT_EQ(names, (std::vector<std::string>{"3回戦 p0 - p1", "3回戦 p2 - 不戦", "3回戦 p0 の結果を削除",
                                               "ファイルの詳細情報の変更"}));
}

} // namespace
} // namespace tabry
