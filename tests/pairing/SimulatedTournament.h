#pragma once
// Tournaments played out by a simple Swiss simulation, as test and benchmark
// input for the pairing: players of hidden strength, points groups, repeated
// opponents avoided where easy, byes for odd fields, some empty rows, players
// who skipped rounds and pairs already set by hand in the next round.
//
// Only std::mt19937 raw output and integer arithmetic are used, so a seed
// gives the same table on every platform.

#include "core/ResultTable.h"

#include <cstdint>

namespace tabry::test {

struct SimulationOptions {
    int players = 32;     // rows of the table
    int rounds = 8;       // columns of the table
    int playedRounds = 4; // rounds 0 .. playedRounds-1 get results
    std::uint32_t seed = 1;
    int emptyRowsPerMille = 0; // share of rows left empty
    int absentPerMille = 0;    // share of players sitting out a played round
    int handPairedPairs = 0;   // pairs already entered in round playedRounds
    int drawPerMille = 30;
    int tieBreak = DiscDifference;
};

CResultTable SimulateTournament(const SimulationOptions& options);

} // namespace tabry::test
