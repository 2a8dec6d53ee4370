// The editor as the only guardian of the table: whatever any call is given,
// out of range or against the rules, the table never holds a person in two
// rows, a row naming a record the database lacks, a game with nobody or a
// one-sided one, or a game in a round its player withdrew from; and a call
// the editor refuses changes nothing.
#include "edit/TournamentEditor.h"
#include "pairing/RandomGenerator.h"
#include "tests/support/SmallTournaments.h"

#include <gtest/gtest.h>

#include <memory>
#include <random>
#include <set>
#include <vector>

namespace tabry {
namespace {

// Checked from the raw entries and cells, without any of the editor's own
// queries.
void ExpectSound(const CTournamentEditor& editor)
{
    const CResultTable& t = editor.Table();
    const int people = editor.Players().GetCount();
    std::set<int> persons;
    for (int r = 0; r < t.PlayerCount(); ++r) {
        const PlayerEntry& e = t.Entries()[static_cast<size_t>(r)];
        if (e.playerIndex < 0)
            continue;
        ASSERT_GT(e.playerIndex, 0) << "row " << r << " plays as the bye record";
        ASSERT_LT(e.playerIndex, people) << "row " << r;
        ASSERT_TRUE(persons.insert(e.playerIndex).second) << "person " << e.playerIndex << " in two rows";
    }
    for (int r = 0; r < t.PlayerCount(); ++r) {
        const PlayerEntry& e = t.Entries()[static_cast<size_t>(r)];
        for (int j = 0; j < t.RoundCount(); ++j) {
            const ResultCell& c =
                t.Cells()[static_cast<size_t>(r) * static_cast<size_t>(t.RoundCount()) + static_cast<size_t>(j)];
            if (c.opponent == NoOpponent)
                continue;
            ASSERT_GE(e.playerIndex, 0) << "a game in the empty row " << r;
            ASSERT_TRUE(e.withdrawnFrom < 0 || j < e.withdrawnFrom) << "row " << r << " round " << j;
            if (c.opponent == ByeOpponent)
                continue;
            ASSERT_TRUE(c.opponent >= 0 && c.opponent < t.PlayerCount() && c.opponent != r) << r << "/" << j;
            const ResultCell& m = t.Cells()[static_cast<size_t>(c.opponent) * static_cast<size_t>(t.RoundCount())
                                            + static_cast<size_t>(j)];
            ASSERT_EQ(m.opponent, r) << "one-sided game " << r << "/" << j;
        }
    }
}

class CWildCalls {
public:
    explicit CWildCalls(std::uint32_t seed) : m_rng(seed) {}

    int Pick(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(m_rng); }

    // One call with arguments in and around every range.
    ChangeEffects Apply(CTournamentEditor& editor, std::vector<std::shared_ptr<const CEditStep>>& steps)
    {
        const CResultTable& t = editor.Table();
        const int rows = t.PlayerCount();
        const int rounds = t.RoundCount();
        const int people = editor.Players().GetCount();
        const int row = Pick(-2, rows + 1);
        const int round = Pick(-2, rounds + 1);
        const bool answer = Pick(0, 3) != 0;
        const ConfirmFn confirm = [answer](const std::string&) { return answer; };
        switch (Pick(0, 12)) {
        case 0:
        case 1:
        case 2:
            return editor.SetGame(row, round, Pick(-4, rows + 1), Pick(-4, 3), Pick(-90, 90), confirm);
        case 3:
        case 4:
            return editor.SetRowPlayer(row, Pick(-3, people + 2), confirm);
        case 5:
            return editor.Withdraw(row, round);
        case 6:
            return editor.Reinstate(row);
        case 7: {
            CRandomGenerator random(static_cast<std::uint32_t>(Pick(0, 1000)));
            PairingOptions options;
            options.trace.enabled = false;
            return editor.PairRound(round, random, options, nullptr, confirm);
        }
        case 8: {
            // Sizes beyond every limit too; a smaller table asks first.
            const int players = Pick(0, 3) == 0 ? Pick(-1, kMaxPlayers + 2) : Pick(1, 14);
            const int newRounds = Pick(0, 3) == 0 ? Pick(-1, kMaxRounds + 2) : Pick(1, 6);
            return editor.ApplySettings(t.settings, players, newRounds, confirm);
        }
        case 9: {
            // A user DB list: any subset of the people in any order, origins
            // of people who are not there among them.
            std::vector<PlayerListEntry> list;
            for (int i = 1; i < people; ++i)
                if (Pick(0, 5) != 0)
                    list.push_back({editor.Players().GetAt(i), i});
            if (Pick(0, 1) == 0)
                list.push_back({test::Person("x" + std::to_string(Pick(0, 99))), Pick(-1, people + 3)});
            for (size_t i = list.size(); i > 1; --i)
                std::swap(list[i - 1], list[static_cast<size_t>(Pick(0, static_cast<int>(i) - 1))]);
            return editor.RebuildPlayers(list);
        }
        case 10:
            return Pick(0, 3) == 0 ? editor.AddRow() : editor.Sort();
        case 11:
            editor.AddPlayer(test::Person("late" + std::to_string(Pick(0, 999))));
            return {};
        default:
            // Any recorded step, most of them stale by now.
            if (!steps.empty()) {
                const CEditStep& step = *steps[static_cast<size_t>(Pick(0, static_cast<int>(steps.size()) - 1))];
                if (Pick(0, 1) == 0)
                    editor.Undo(step);
                else
                    editor.Redo(step);
            }
            return {};
        }
    }

private:
    std::mt19937 m_rng;
};

TEST(EditorGuardTest, NoCallWithAnyArgumentsBreaksTheTable)
{
    for (std::uint32_t seed : {1u, 2u, 3u, 4u}) {
        SCOPED_TRACE("seed " + std::to_string(seed));
        TournamentData start = test::MakeTournament(10, 5, 8);
        test::PutGame(start, 0, 0, 1, ResultWin, 10);
        test::PutGame(start, 2, 0, 3, ResultNone, 0);
        start.table.ComputeAll();
        CTournamentEditor editor(std::move(start));
        std::vector<std::shared_ptr<const CEditStep>> steps;
        editor.AddListener(ListenerRank::Views, [&](const ChangeEvent& e) {
            if (e.step)
                steps.push_back(e.step);
        });
        CWildCalls calls(seed);
        for (int i = 0; i < 1500; ++i) {
            const std::string before = editor.Save();
            const ChangeEffects fx = calls.Apply(editor, steps);
            if (fx.refusal) {
                ASSERT_EQ(editor.Save(), before) << "a refused call changed the tournament, step " << i;
            }
            ASSERT_NO_FATAL_FAILURE(ExpectSound(editor)) << "step " << i;
        }
    }
}

} // namespace
} // namespace tabry
