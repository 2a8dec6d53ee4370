#include "tests/support/SmallTournaments.h"

namespace tabry::test {

TournamentData MakeTournament(int players, int rounds, int filled)
{
    TournamentData data;
    data.table.Clear();
    data.table.Resize(players, rounds);
    for (int row = 0; row < filled; ++row) {
        const std::string n = std::to_string(row);
        const int index = data.players.Add("p" + n, "in" + n, "s" + n, "", 0, "");
        data.table.Entry(row).playerIndex = index;
    }
    data.table.ComputeAll();
    return data;
}

void PutGame(TournamentData& data, int row, int round, int opponent, int result, int disc)
{
    ResultCell cell;
    cell.opponent = opponent;
    cell.result = static_cast<std::int8_t>(result);
    cell.disc = static_cast<std::int8_t>(disc);
    data.table.SetCell(row, round, cell);
    if (opponent >= 0) {
        ResultCell mirror;
        mirror.opponent = row;
        mirror.result = static_cast<std::int8_t>(result == ResultNone ? ResultNone : -result);
        mirror.disc = static_cast<std::int8_t>(-disc);
        data.table.SetCell(opponent, round, mirror);
    }
}

CPlayerRecord Person(const std::string& longName, const std::string& inputName, const std::string& shortName)
{
    CPlayerRecord r;
    r.m_longName = longName;
    r.m_inputName = inputName;
    r.m_shortName = shortName;
    return r;
}

void ShowDiscCounts(CTournamentEditor& editor)
{
    TableSettings settings = editor.Table().settings;
    settings.showDiscDifference = false;
    editor.ApplySettings(settings, editor.Table().PlayerCount(), editor.Table().RoundCount());
}

EditCounter::EditCounter(CTournamentEditor& editor)
    : m_editor(editor), m_listener(editor.AddListener(ListenerRank::Views, [this](const ChangeEvent& event) {
          if (event.kind == ChangeKind::Edit)
              ++m_count;
      }))
{
}

EditCounter::~EditCounter()
{
    m_editor.RemoveListener(m_listener);
}

} // namespace tabry::test
