#include "tests/support/RandomEdits.h"

#include "pairing/RandomGenerator.h"

namespace tabry::test {

CRandomEdits::CRandomEdits(std::uint32_t seed, int maxPlayers, int maxRounds)
    : m_rng(seed), m_pairingSeed(seed), m_maxPlayers(maxPlayers), m_maxRounds(maxRounds)
{
}

int CRandomEdits::Pick(int lo, int hi)
{
    // Our own mapping of the raw draws: the standard distributions differ
    // between libraries, and a replay must pick the same numbers.
    return lo + static_cast<int>(m_rng() % static_cast<std::uint32_t>(hi - lo + 1));
}

TournamentData CRandomEdits::Start(int players, int rounds, int people)
{
    TournamentData data;
    data.table.Clear();
    data.table.Resize(players, rounds);
    for (int i = 0; i < people; ++i) {
        const std::string n = std::to_string(i);
        const int index = data.players.Add("player" + n, "in" + n, "p" + n, "", i % 5, "m" + n);
        if (i < players)
            data.table.Entry(i).playerIndex = index;
    }
    data.table.ComputeAll();
    return data;
}

std::string CRandomEdits::Apply(CTournamentEditor& editor)
{
    const CResultTable& t = editor.Table();
    const int players = t.PlayerCount();
    const int rounds = t.RoundCount();
    const int kind = Pick(0, 99);
    const int row = Pick(0, players - 1);
    const int round = Pick(0, rounds - 1);
    const auto yes = [](const std::string&) { return true; };

    if (kind < 4) {
        // A player sits a round out or plays it again (the editor refusing
        // a round with his game), leaves (from any round, the editor
        // refusing the ones before his last game), or comes back.
        if (Pick(0, 2) == 0) {
            const bool absent = !t.Entry(row).IsAbsentIn(round);
            editor.SetAbsent(row, round, absent);
            return std::string(absent ? "sit out " : "play again ") + std::to_string(row) + " in "
                   + std::to_string(round);
        }
        if (t.Entry(row).IsWithdrawn() && Pick(0, 2) == 0) {
            editor.Reinstate(row);
            return "reinstate " + std::to_string(row);
        }
        editor.Withdraw(row, round);
        return "withdraw " + std::to_string(row) + " from " + std::to_string(round);
    }
    if (kind < 45) {
        // A game, the most common change: with a row opponent, the bye, or
        // cleared; results and scores of every kind.
        int opponent = Pick(-2, players - 1);
        const int result = Pick(-2, 1);
        const int disc = Pick(-70, 70);
        if (opponent == row)
            opponent = NoOpponent;
        const bool overwrite = Pick(0, 1) == 1;
        editor.SetGame(row, round, opponent, result, disc, [overwrite](const std::string&) { return overwrite; });
        return "game " + std::to_string(row) + "/" + std::to_string(round) + " vs " + std::to_string(opponent);
    }
    if (kind < 60) {
        const int record = Pick(-1, editor.Players().GetCount() - 1);
        // A person plays in one row only, as the player editor makes sure.
        if (record >= 0 && t.FindOtherRowOfPlayer(record, row) >= 0)
            return "skip";
        editor.SetRowPlayer(row, record, yes);
        return "player " + std::to_string(row) + " = " + std::to_string(record);
    }
    if (kind < 66) {
        editor.DeleteRound(round, yes);
        return "delete round " + std::to_string(round);
    }
    if (kind < 74) {
        CRandomGenerator random(m_pairingSeed++);
        PairingOptions options;
        options.trace.enabled = false;
        editor.PairRound(round, random, options, nullptr, yes);
        return "pair round " + std::to_string(round);
    }
    if (kind < 77) {
        editor.Sort();
        return "sort";
    }
    if (kind < 79) {
        editor.AddRow();
        return "add row";
    }
    if (kind < 85) {
        TableSettings s = t.settings;
        s.showDiscDifference = Pick(0, 1) == 1;
        s.tieBreak = Pick(0, 7);
        s.tieBreak2 = Pick(-1, 7);
        s.brightwellTenths = Pick(1, 999);
        if (Pick(0, 1) == 0) {
            s.bye.winDisc = Pick(0, 1) == 0 ? 0 : 2 * Pick(1, 32);
            s.bye.toLowest = Pick(0, 1) == 1;
        }
        const bool resize = Pick(0, 2) == 0;
        editor.ApplySettings(s, resize ? Pick(2, m_maxPlayers) : players, resize ? Pick(1, m_maxRounds) : rounds, yes);
        return "settings";
    }
    if (kind < 89) {
        editor.SetDetails("cup" + std::to_string(Pick(0, 3)), Pick(0, 2030), Pick(1, 12), Pick(1, 31));
        return "details";
    }
    if (kind < 93) {
        const int index = Pick(1, editor.Players().GetCount() - 1);
        CPlayerRecord r = editor.Players().GetAt(index);
        r.m_shortName = "s" + std::to_string(Pick(0, 9));
        r.m_grade = Pick(-9, 9);
        editor.EditPlayerRecord(index, r);
        return "record " + std::to_string(index);
    }
    if (kind < 96) {
        CPlayerRecord r;
        r.m_longName = "late" + std::to_string(++m_newPeople);
        r.m_inputName = r.m_longName;
        editor.AddPlayer(r);
        return "add person";
    }
    // The user DB dialog's OK: the list reordered, one person not in the
    // table dropped, one added, one renamed.
    std::vector<PlayerListEntry> list;
    const CPlayerDatabase& db = editor.Players();
    for (int i = 1; i < db.GetCount(); ++i)
        list.push_back({db.GetAt(i), i});
    for (size_t i = list.size(); i > 1; --i)
        std::swap(list[i - 1], list[static_cast<size_t>(Pick(0, static_cast<int>(i) - 1))]);
    if (!list.empty()) {
        const size_t drop = static_cast<size_t>(Pick(0, static_cast<int>(list.size()) - 1));
        if (t.FindRowOfPlayer(list[drop].origin) < 0)
            list.erase(list.begin() + static_cast<std::ptrdiff_t>(drop));
    }
    if (!list.empty())
        list[static_cast<size_t>(Pick(0, static_cast<int>(list.size()) - 1))].record.m_residence = "r";
    PlayerListEntry added;
    added.record.m_longName = "new" + std::to_string(++m_newPeople);
    list.push_back(added);
    editor.RebuildPlayers(list);
    return "rebuild";
}

} // namespace tabry::test
