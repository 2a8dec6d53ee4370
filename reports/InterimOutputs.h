#pragma once
// The interim sheets saved while the tournament runs, both comma-separated:
// the score sheet (standings with every round's result and opponent, over all
// rounds or as they stood after a round) and the pairing table of a round.
//
// Each works on a private copy of the table, recomputed over all rounds and
// sorted by the current tie-break method; the table passed in never changes,
// not even its report cache.

#include "core/ResultTable.h"
#include "core/Standings.h"

#include <string>

namespace tabry {

class CPlayerDatabase;

// The score sheet over all rounds.
void WriteScoreSheet(const CResultTable& table, const CPlayerDatabase& players, std::string& out);

// The score sheet as it stood after round `round` (1-based): ranks, records
// and tie-break values count rounds 1..round only, and later rounds are left
// blank. `round` must be 1..RoundCount().
void WriteScoreSheetThrough(const CResultTable& table, const CPlayerDatabase& players, int round, std::string& out);

// The games of round `round` (1-based), numbered in the standings before that
// round, each listed once on the line of the higher-placed player with both
// players' points; then a PASS line for every player without an opponent in
// that round (a bye, or no game yet), which names a player withdrawn from
// the round or earlier 棄権 instead. `round` must be 1..RoundCount().
void WritePairingTable(const CResultTable& table, const CPlayerDatabase& players, int round, std::string& out);

} // namespace tabry
