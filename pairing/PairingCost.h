#pragma once
// The tournament side of the pairing: what it costs to pair two of the
// unpaired players (or one of them with the bye) in a given round. The
// matcher that minimises the total never sees players, only these numbers.

#include "pairing/PairingPenalties.h"

#include <cstdint>
#include <vector>

namespace tabry {

class CResultTable;
class CPairingMatcher;

// Writes groupPosTop and groupPosBottom of every row in `orderedRows` (the
// unpaired players, best first): the 1-based place of the player inside its
// run of equal points, counted from the best and from the worst end.
void AssignGroupPositions(CResultTable& table, const std::vector<int>& orderedRows);

// The direction the player of `row` floated in round - 1, judged with the
// current totals: -1 down (met a lower-scored player, or had a bye with more
// than one win), 1 up, 0 level or no game (or round 0).
int FloatHistory(const CResultTable& table, int row, int round);

// The cost of pairing the rows of slots a and b (a < b, slot a ranks higher)
// in `round`; slotRows[b] may be ByeOpponent. Reads the current totals and
// group positions.
std::int32_t PairCost(const CResultTable& table, const PairingPenalties& penalties, int round, int rowA, int rowB);

// Fills the matcher (already Init'ed to slotRows.size()) with the cost of
// every pair of slots. The same numbers as PairCost, computed in one pass over
// the table's cells instead of once per pair.
void BuildPairCosts(const CResultTable& table, const PairingPenalties& penalties, int round,
                    const std::vector<int>& slotRows, CPairingMatcher& matcher);

} // namespace tabry
