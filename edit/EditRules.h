#pragma once
// The rules every change of the tournament keeps, as checks that say why a
// change is refused. CTournamentEditor runs them before it changes anything
// (nothing else writes the table, so nothing else can break them); an editor
// widget may run the same check first to keep its field open instead of
// committing a change that the editor would refuse.

#include "core/TournamentData.h"
#include "edit/EditRefusal.h"

#include <vector>

namespace tabry {

// A game of `row` in `round` (from 0) against `opponent` (a row, ByeOpponent,
// or NoOpponent to clear the cell) with `result`. Clearing is refused only
// outside the table.
EditRefusal GameRefusal(const TournamentData& data, int row, int round, int opponent, int result);

// Record `record` into `row`; a negative record empties the row.
EditRefusal RowPlayerRefusal(const TournamentData& data, int row, int record);

// A withdrawal of `row`'s player from `round` (from 0) on.
EditRefusal WithdrawalRefusal(const TournamentData& data, int row, int round);

// `row`'s player sitting out `round` (from 0), or (`absent` false) taking
// that back. He sits out only a round without a game in which he still
// plays; only a round he sits out can be taken back.
EditRefusal AbsenceRefusal(const TournamentData& data, int row, int round, bool absent);

// One round's boards that are paired but have no result yet.
struct OpenBoards {
    int round = 0;  // from 0
    int boards = 0; // a pair of rows counts once, a bye without a result once
};
// The rounds before `round` (from 0) that still have boards without a
// result, in round order.
std::vector<OpenBoards> OpenBoardsBefore(const CResultTable& table, int round);

} // namespace tabry
