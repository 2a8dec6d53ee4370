#pragma once
// The tournaments the benchmarks measure on: every round played by every
// player, names and texts of realistic length, in standings order.

#include "core/TournamentData.h"

#include <string>

namespace tabry::bench {

// `players` x `rounds` (players a power of two, rounds below players / 2):
// round j pairs row r with row r XOR (2j + 1), with results and disc counts
// of every kind; the long names are `family` and the row number.
TournamentData FullTournament(int players, int rounds, const std::string& family);

} // namespace tabry::bench
