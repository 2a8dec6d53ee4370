#pragma once
// Pairs one round of the tournament: every player without an opponent in that
// round is put in standings order (equal players shuffled), every possible
// pair priced, and a cheap perfect matching written into the table as games
// without a result. With an odd number of such players one gets the bye.

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
    std::int64_t totalCost = 0; // sum of the chosen pair costs
    bool traceWritten = false;
    std::string traceError; // why the trace files could not be written
};

// Pairs round `round` (0-based). Returns 0 when pairings were written, -1 when
// nobody lacks an opponent in that round or the round is outside the table;
// then no cell changes (the totals are recomputed over all rounds unless the
// round was outside the table). Players already paired in the round, and all
// other rounds, are left alone. Afterwards the totals and tie-break values
// cover every round again. The trace files are written only when pairings
// are; failing to write them does not change the result.
int GeneratePairing(CResultTable& table, int round, CRandomGenerator& random, const PairingOptions& options = {},
                    PairingRunInfo* info = nullptr);

// The first stages of GeneratePairing on their own: totals limited to the
// rounds before `round`, the unpaired rows in standings order with every run
// of equal players shuffled, their group positions. Returns the slot rows
// (ByeOpponent appended when their number is odd); empty when nobody is
// unpaired. Leaves the totals limited.
std::vector<int> PrepareSlots(CResultTable& table, int round, CRandomGenerator& random);

} // namespace tabry
