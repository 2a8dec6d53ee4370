#pragma once
// The grid's context-menu commands without the menus themselves: which menu
// a right click opens and which of its entries are usable, and the next game
// to enter. Plain logic on the tournament data; the changes themselves, the
// questions before them and the reasons for refusing them are the editor's.

#include "grid/GridLayout.h"

#include <string>
#include <vector>

namespace tabry {
class CResultTable;
struct CPlayerRecord;
struct TournamentData;
} // namespace tabry

namespace tabry::grid {

// The command of every context-menu entry (the ids the program has always
// used for them).
enum GridCommand : int {
    CmdSeparator = 0,
    CmdPlayerEdit = 32782,
    CmdPlayerDelete = 32783,
    CmdPlayerEditRecord = 32784,
    CmdGameEdit = 32785,
    CmdGameDelete = 32786,
    CmdRoundPairing = 32796,
    CmdRoundDelete = 32797,
    CmdRoundEnterResults = 32798,
    CmdRoundSavePairingTable = 32801,
    CmdRoundSaveScoreSheet = 32802,
    CmdPlayerWithdraw = 32810,
    CmdPlayerReinstate = 32811,
    CmdPlayerAddRow = 32820, // also the ツール menu's
    CmdGameSitOut = 32830,
    CmdGameSitOutUndo = 32831,
};

enum class MenuKind { None, Player, Game, Round };

struct MenuEntryState {
    int command = CmdSeparator; // CmdSeparator for a separator line
    bool enabled = true;
    friend bool operator==(const MenuEntryState&, const MenuEntryState&) = default;
};

struct ContextMenuState {
    MenuKind kind = MenuKind::None;
    std::vector<MenuEntryState> entries; // in menu order
    bool IsEnabled(int command) const;
};

// The menu that releasing the right button over `clicked` opens: the player
// or game menu over the current cell, the round menu over the header of the
// selected column, else none.
ContextMenuState ContextMenuAt(const TournamentData& data, GridCell clicked, GridCell current, int selCol);

// The first row of `round` (counted from 0) that holds a player and no
// result yet (no opponent, or an opponent without result); -1 when none.
int FirstRowToEnter(const CResultTable& table, int round);

// The player menu's withdrawal entry for `row`: taking a withdrawal back,
// or withdrawing (grayed for an empty row and for a player who has a result
// in the last round).
MenuEntryState WithdrawalEntry(const CResultTable& table, int row);
// The game menu's absence entry for `row` in `round` (from 0): taking the
// absence back when he sits the round out, else sitting it out (grayed
// where the editor would refuse it: an empty row, a game in the round, a
// round after his withdrawal).
MenuEntryState AbsenceEntry(const TournamentData& data, int row, int round);
// The round (from 0) the withdrawal question proposes: the first round
// without a result, or the last round when every round has one.
int ProposedWithdrawal(const CResultTable& table, int row);

// True when the two records differ in anything the tournament file stores
// for a player (all six texts and the grade).
bool RecordDiffers(const CPlayerRecord& a, const CPlayerRecord& b);

} // namespace tabry::grid
