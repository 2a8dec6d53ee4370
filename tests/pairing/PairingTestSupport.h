#pragma once
// Building small tournaments by hand for the pairing tests.

#include "core/ResultTable.h"

#include <initializer_list>

namespace tabry::test {

// A table of `players` filled rows and `rounds` empty rounds.
CResultTable MakeTable(int players, int rounds, int tieBreak = DiscDifference);

// Enters a game in both rows: `result` and `disc` from a's view.
void PlayGame(CResultTable& table, int round, int a, int b, std::int8_t result, int disc = 0);

// Enters a bye for the row with the given result and disc.
void GiveBye(CResultTable& table, int round, int row, std::int8_t result, int disc = 0);

// True when every game in `round` names a row that names it back with the
// negated result and disc (byes excepted).
bool RoundIsSymmetric(const CResultTable& table, int round);

} // namespace tabry::test
