#include "grid/GridCommands.h"

#include "text/Cp932.h"
#include "core/TournamentData.h"
#include "pairing/PairingGenerator.h"

#include <algorithm>

namespace tabry::grid {

bool ContextMenuState::IsEnabled(int command) const
{
    return std::any_of(entries.begin(), entries.end(),
                       [command](const MenuEntryState& e) { return e.command == command && e.enabled; });
}

ContextMenuState ContextMenuAt(const TournamentData& data, GridCell clicked, GridCell current, int selCol)
{
    const CResultTable& table = data.table;
    ContextMenuState menu;
    if (clicked == current) {
        const bool hasPlayer = current.row >= 0 && current.row < table.PlayerCount()
            && !table.Entry(current.row).IsEmpty();
        if (current.col != 0) {
            const bool hasGame = current.col >= 1 && current.col <= table.RoundCount()
                && table.Cell(current.row, current.col - 1).opponent != NoOpponent;
            menu.kind = MenuKind::Game;
            menu.entries = {{CmdGameEdit, hasPlayer}, {CmdGameDelete, hasGame}};
        } else {
            menu.kind = MenuKind::Player;
            menu.entries = {{CmdPlayerEdit, true},
                            {CmdPlayerDelete, hasPlayer},
                            {CmdSeparator, true},
                            {CmdPlayerEditRecord, hasPlayer}};
        }
        return menu;
    }
    if (clicked.row == -1 && clicked.col == selCol) {
        // Over the "Player" and "Total" headers none of the round commands
        // has anything to act on, so all of them are grayed there.
        const bool round = selCol >= 1 && selCol <= table.RoundCount();
        menu.kind = MenuKind::Round;
        menu.entries = {{CmdRoundEnterResults, round && FirstRowToEnter(table, selCol - 1) >= 0},
                        {CmdRoundPairing, round},
                        {CmdSeparator, true},
                        {CmdRoundSavePairingTable, round},
                        {CmdRoundSaveScoreSheet, round},
                        {CmdSeparator, true},
                        {CmdRoundDelete, round && table.RoundHasGames(selCol - 1)}};
    }
    return menu;
}

int FirstRowToEnter(const CResultTable& table, int round)
{
    if (round < 0 || round >= table.RoundCount())
        return -1;
    for (int row = 0; row < table.PlayerCount(); ++row) {
        if (table.Entry(row).IsEmpty())
            continue;
        const ResultCell& cell = table.Cell(row, round);
        if (cell.opponent == NoOpponent || cell.result == ResultNone)
            return row;
    }
    return -1;
}

std::string DeleteRoundQuestion(int col)
{
    return std::to_string(col) + SJ("回戦の結果を削除します。よろしいですか？");
}

bool RecordDiffers(const CPlayerRecord& a, const CPlayerRecord& b)
{
    return a.m_longName != b.m_longName || a.m_shortName != b.m_shortName || a.m_inputName != b.m_inputName
        || a.m_residence != b.m_residence || a.m_memberNumber != b.m_memberNumber || a.m_grade != b.m_grade;
}

EditEffects DeleteRoundResults(TournamentData& data, int col, const ConfirmFn& confirm)
{
    EditEffects fx;
    CResultTable& table = data.table;
    if (col < 1 || col > table.RoundCount())
        return fx;
    if (table.RoundHasGames(col - 1) && (!confirm || !confirm(DeleteRoundQuestion(col))))
        return fx;
    table.ClearRound(col - 1);
    fx.columns.push_back(col);
    fx.allTotals = true;
    fx.modified = true;
    return fx;
}

EditEffects CreateRoundPairing(TournamentData& data, int col, CRandomGenerator& random)
{
    EditEffects fx;
    if (col < 1 || col > data.table.RoundCount())
        return fx;
    if (GeneratePairing(data.table, col - 1, random) < 0)
        return fx;
    fx.columns.push_back(col);
    fx.modified = true;
    return fx;
}

} // namespace tabry::grid
