#pragma once
// Pairs one round of the tournament: every player without an opponent in that
// round who has not withdrawn from it is put in standings order (equal
// players shuffled), every possible pair priced, and a cheap perfect matching
// written into the table as games without a result. With an odd number of
// such players one gets the bye, as the table's bye rule says: chosen by the
// costs or given to the lowest-ranked player without one, and entered
// without a result or as the rule's win.

#include "pairing/PairingPenalties.h"
#include "pairing/PairingTrace.h"

#include <cstdint>
#include <string>
#include <vector>

namespace tabry {

class CResultTable;
class CRandomGenerator;

struct PairingOptions {
    PairingTraceOptions trace;
    PairingPenalties penalties;
};

// What a run did, for callers that want more than the status.
struct PairingRunInfo {
    std::vector<int> slotRows;  // the row of each slot, ByeOpponent for the bye slot
    std::vector<int> partner;   // partner slot of each slot
    int byeRow = -1;            // the row the bye rule gave the bye before the matching, -1 none
    std::int64_t totalCost = 0; // sum of the chosen pair costs
    bool traceWritten = false;
    std::string traceError; // why the trace files could not be written
};

// Pairs round `round` (0-based). Returns 0 when pairings were written, -1 when
// nobody who still plays lacks an opponent in that round or the round is
// outside the table;
// then no cell changes (the totals are recomputed over all rounds unless the
// round was outside the table). Players already paired in the round, and all
// other rounds, are left alone. Afterwards the totals and tie-break values
// cover every round again. The trace files are written only when pairings
// are; failing to write them does not change the result.
int GeneratePairing(CResultTable& table, int round, CRandomGenerator& random, const PairingOptions& options = {},
                    PairingRunInfo* info = nullptr);

// The players of a round's pairing as the matcher sees them.
struct PairingSlots {
    std::vector<int> rows; // the slot rows, ByeOpponent appended when their number is odd
    int byeRow = -1;       // the row the bye rule gave the bye before the matching, -1 none
};

// The first stages of GeneratePairing on their own: totals limited to the
// rounds before `round`, the unpaired rows of the players who still play in
// standings order with every run of equal players shuffled, the bye taken out
// when the rule gives it to the lowest-ranked, the group positions of the
// rest. Nothing when nobody is to be paired. Leaves the totals limited.
PairingSlots PrepareRound(CResultTable& table, int round, CRandomGenerator& random);

} // namespace tabry
