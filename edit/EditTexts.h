#pragma once
// The Japanese of every question the editor asks before a change and of
// every reason it refuses one (Shift_JIS), worded here once: the grid, the
// dialogs and the main window show these texts and never build their own.

#include "edit/EditRules.h"

#include <string>
#include <vector>

namespace tabry {

// Before writing a game against `opponent` in `round` (from 0) when he
// already plays `third` there.
std::string OverwriteOpponentQuestion(const TournamentData& data, int opponent, int round, int third);
// Before emptying a row whose player has games.
std::string DeletePlayerQuestion(const TournamentData& data, int row);
// Before emptying a round that has games.
std::string DeleteRoundQuestion(int round);
// Before a smaller table drops entered players or games; empty when nothing
// would be lost. `concernsRows`: the rows would lose something (else the
// rounds).
std::string DataLossQuestion(const CResultTable& table, int players, int rounds, bool* concernsRows = nullptr);
// Before pairing a round while earlier rounds still have boards without a
// result; empty when none has.
std::string OpenBoardsQuestion(const std::vector<OpenBoards>& open);

// Why the editor refused a change; empty for a declined question, which
// needs no word.
std::string RefusalText(const EditRefusal& refusal, const TournamentData& data);

// The question before `row`'s player sits out `round` (from 0).
std::string AbsenceQuestion(const TournamentData& data, int row, int round);

// What a pairing did, as the status bar says it.
struct PairedRound {
    int round = -1;                 // from 0; -1: nothing was paired
    int boards = 0;                 // new boards between two players
    int byeRow = -1;                // the row that got the bye, -1 for none
    std::vector<int> withdrawnRows; // players left out because they left
    std::vector<int> absentRows;    // players left out because they sit the round out
};
std::string PairedRoundText(const PairedRound& paired, const TournamentData& data);

} // namespace tabry
