#pragma once
// The two table changes the grid makes when an editor commits or a cell is
// deleted: putting a player into a row, and writing a game into a round cell
// together with its mirror in the opponent's row. Plain logic on the
// tournament data; the effects say what the grid must repaint.

#include "grid/GridLayout.h"

#include <functional>
#include <string>
#include <vector>

namespace tabry {
struct TournamentData;
}

namespace tabry::grid {

struct EditEffects {
    std::vector<GridCell> cells;  // grid cells to repaint (column, row)
    std::vector<int> totalsRows;  // rows whose totals cell to repaint
    std::vector<int> columns;     // grid columns to repaint whole
    bool wholeGrid = false;       // repaint everything
    bool allTotals = false;       // repaint the whole totals column
    bool modified = false;        // the tournament changed

    bool Any() const { return modified || wholeGrid || !cells.empty() || !columns.empty(); }
};

// Asked before a third player's pairing is dissolved; the text is Shift_JIS.
// True to go on.
using ConfirmFn = std::function<bool(const std::string& question)>;

// Puts database record `record` into `row`, or empties the row when `record`
// is negative. A row with games keeps them for the new player; emptying such
// a row also removes its games from the opponents' rows. The row's own
// player again changes nothing.
EditEffects SetRowPlayer(TournamentData& data, int row, int record);

// Writes the game (opponent, result, disc difference) into the cell of `row`
// and `round` (counted from 0), mirrors it into the opponent's row, empties
// the mirrors of any previous pairing, and recomputes the totals involved.
// Opponent NoOpponent clears the cell. When the new opponent already has a
// third player in this round, `confirm` is asked first; No changes nothing.
// A pairing is dissolved only from cells that still name their partner: a
// cell that names somebody else holds another game and is left alone.
EditEffects SetCellResult(TournamentData& data, int row, int round, int opponent, int result, int disc,
                          const ConfirmFn& confirm);

// The question asked before deleting a player who has games (Shift_JIS).
std::string DeletePlayerQuestion(const TournamentData& data, int row);

} // namespace tabry::grid
