#include "grid/GridCommands.h"

#include "core/TournamentData.h"
#include "edit/EditRules.h"

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
        const bool hasPlayer =
            current.row >= 0 && current.row < table.PlayerCount() && !table.Entry(current.row).IsEmpty();
        if (current.col != 0) {
            const bool hasGame = current.col >= 1 && current.col <= table.RoundCount()
                                 && table.Cell(current.row, current.col - 1).opponent != NoOpponent;
            menu.kind = MenuKind::Game;
            menu.entries = {{CmdGameEdit, hasPlayer}, {CmdGameDelete, hasGame}, {CmdSeparator, true}};
            menu.entries.push_back(AbsenceEntry(data, current.row, current.col - 1));
        } else {
            menu.kind = MenuKind::Player;
            menu.entries = {{CmdPlayerEdit, true},
                            {CmdPlayerDelete, hasPlayer},
                            {CmdSeparator, true},
                            {CmdPlayerEditRecord, hasPlayer}};
            menu.entries.push_back({CmdSeparator, true});
            menu.entries.push_back(WithdrawalEntry(table, current.row));
            menu.entries.push_back({CmdSeparator, true});
            menu.entries.push_back({CmdPlayerAddRow, table.PlayerCount() < kMaxPlayers});
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

MenuEntryState WithdrawalEntry(const CResultTable& table, int row)
{
    const PlayerEntry& entry = table.Entry(row);
    if (!entry.IsEmpty() && entry.IsWithdrawn())
        return {CmdPlayerReinstate, true};
    return {CmdPlayerWithdraw, !entry.IsEmpty() && table.EarliestWithdrawal(row) < table.RoundCount()};
}

MenuEntryState AbsenceEntry(const TournamentData& data, int row, int round)
{
    const bool absent = data.table.Entry(row).IsAbsentIn(round);
    return {absent ? CmdGameSitOutUndo : CmdGameSitOut, !AbsenceRefusal(data, row, round, !absent)};
}

int ProposedWithdrawal(const CResultTable& table, int row)
{
    return std::clamp(table.FirstRoundWithoutResult(row), 0, std::max(table.RoundCount() - 1, 0));
}

bool RecordDiffers(const CPlayerRecord& a, const CPlayerRecord& b)
{
    return a.m_longName != b.m_longName || a.m_shortName != b.m_shortName || a.m_inputName != b.m_inputName
           || a.m_residence != b.m_residence || a.m_memberNumber != b.m_memberNumber || a.m_grade != b.m_grade;
}

} // namespace tabry::grid
