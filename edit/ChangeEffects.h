#pragma once
// What a change of the tournament touched, so that views repaint only that.

#include "edit/EditRefusal.h"

#include <vector>

namespace tabry {

struct CellRef {
    int row = 0;
    int round = 0; // from 0
    friend bool operator==(const CellRef&, const CellRef&) = default;
};

// What a change touched, for repainting; or why it was refused.
struct ChangeEffects {
    // Set when the editor refused the change (nothing else is then set).
    EditRefusal refusal;
    std::vector<CellRef> cells;  // round cells
    std::vector<int> playerRows; // player cells
    std::vector<int> totalsRows; // totals cells
    std::vector<int> rounds;     // whole rounds (from 0)
    bool wholeTable = false;     // everything
    bool allTotals = false;      // the whole totals column
    bool resized = false;        // the table has another size now
    bool details = false;        // the tournament's name or date
    bool players = false;        // player records (names shown anywhere)

    bool Any() const
    {
        return wholeTable || allTotals || resized || details || players || !cells.empty() || !playerRows.empty()
               || !totalsRows.empty() || !rounds.empty();
    }
};

} // namespace tabry
