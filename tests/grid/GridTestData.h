#pragma once
// Small tournaments for the grid tests.

#include "core/TournamentData.h"

#include <string>

namespace tabry::test {

// A table of `players` x `rounds`; rows 0 .. filled-1 hold players whose
// long names are "p<row>" with short names "s<row>" (database index row + 1).
TournamentData MakeTournament(int players, int rounds, int filled);

// Writes a game and its mirror (no totals recomputed).
void PutGame(TournamentData& data, int row, int round, int opponent, int result, int disc);

} // namespace tabry::test
