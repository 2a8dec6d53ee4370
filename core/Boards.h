#pragma once
// The boards of a round: where each of its games is played, numbered from 1.
// Every view of a round (the printed pairing sheet, the live round page, a
// player's page, the JSON) reads them from here.
//
// A round's numbers are those of the pairing table at the moment the round
// was paired: the games in the standings before the round, each listed once
// on the line of the higher-placed of its two players, who sits on the left.
// Results of the round and of later rounds never count in that order.
//
// Once the program pairs a round, its numbers are fixed (CResultTable::Plan)
// and nothing moves them: not results, not a sort (the plan's rows move with
// their players), not a withdrawal or a removed game (its number stays
// unused), not saving and opening again. A game paired by hand later takes
// the next free number. A round the program never paired (typed by hand, or
// from a file of an older version) follows the rule above as the table
// stands: a sort may then renumber players who were tied before the round.
// So a tournament that never used the program's pairing keeps the files it
// always had.

#include "core/ResultTable.h"

#include <vector>

namespace tabry {

struct Board {
    int number = 0; // from 1
    int left = -1;  // row of the player on the left: the higher placed when the round was paired
    int right = -1; // row of his opponent
    friend bool operator==(const Board&, const Board&) = default;
};

// The boards of `round` (from 0) by number; numbers of removed games are
// missing. A fixed plan is read against the cells: a board whose game is gone
// is left out, and a game no board holds (a file edited elsewhere) gets the
// next free number.
std::vector<Board> RoundBoards(const CResultTable& table, int round);

// The numbering of a round that has no plan (see above): 1, 2, 3, ...
std::vector<Board> DerivedBoards(const CResultTable& table, int round);

// The standings before `round` as the pairing table of that round stood when
// the round was paired: its results and every later round left out, its
// games (and byes, as the bye rule enters them) without results. order[i] is
// the row at position i.
std::vector<int> PairingTimeOrder(const CResultTable& table, int round);

// A fixed round's plan read against the cells as RoundBoards reads it, its
// unused numbers kept; empty for a round not fixed.
BoardPlan CheckedPlan(const CResultTable& table, int round);

// The plan that keeps `boards` (their numbers and sides) as they are.
BoardPlan PlanOf(const std::vector<Board>& boards);

// The plan of a round whose games changed, given the boards as they were
// shown before: a board whose game still stands keeps its number and sides,
// the number of one that went stays unused, and games no board held follow
// after the highest number, in the order and sides DerivedBoards gives them.
BoardPlan RefixedPlan(const CResultTable& table, int round, const std::vector<Board>& before);

// The board with this number, or the one a row plays on; nullptr when none.
const Board* FindBoard(const std::vector<Board>& boards, int number);
const Board* BoardOfRow(const std::vector<Board>& boards, int row);

// Everything a view of a round shows: its boards, and the players without a
// game, each list in the standings before the round.
struct RoundSeating {
    int round = 0; // from 0
    std::vector<Board> boards;
    std::vector<int> byes;         // rows that have the bye
    std::vector<int> unpaired;     // rows of players who still play but have no game yet
    std::vector<int> withdrawn;    // rows of players withdrawn from this round or earlier, without a game
    std::vector<int> absent;       // rows of players who sit this round out
    std::vector<int> pointsBefore; // by row: half points over the rounds before
};
RoundSeating SeatRound(const CResultTable& table, int round);

} // namespace tabry
