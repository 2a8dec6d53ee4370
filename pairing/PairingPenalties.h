#pragma once
// The weights of the pairing cost. A points difference grows steeply with the
// gap; meeting the same opponent again weighs as much as a gap of six half
// points, a second bye more than a gap of four; floating the same way twice
// weighs as much as a gap of one; the places inside a points group only break
// near-ties.

#include "core/ResultTable.h"

#include <array>
#include <cstdint>

namespace tabry {

struct PairingPenalties {
    // Cost of a points difference d (half points), indexed by min(d, 13); for
    // the bye the player's own points take the place of d.
    std::array<std::int32_t, 14> scoreGap = {
        0,        10000,    30000,     100000,    300000,    1000000,   3000000,
        10000000, 30000000, 100000000, 200000000, 300000000, 400000000, 500000000,
    };
    std::int32_t floatPenalty = 10000;            // floating the same way as last round
    std::int32_t floatBonus = 0;                  // subtracted for floating the other way
    std::int32_t repeatPenalty = 3000000;         // per earlier game of the two players
    std::int32_t byeRepeatPenalty = 500000;       // per earlier bye of the player
    std::int32_t lastRoundRepeatPenalty = 100000; // on top, when they met last round
    std::int32_t scoreFactor = 1000;              // weight of the players' own points

    static constexpr int kMaxGapIndex = 13;
};

// Every pair cost is a plain 32-bit value: with at most kMaxRounds rounds the
// points stay below 2 x kMaxRounds and a pair can have met at most
// kMaxRounds - 1 times, which keeps the largest possible cost far below 2^31.
// (Sums of several costs can pass it; the matcher sums in 64 bits.)
static_assert(500000000LL                                         // scoreGap[13]
                      + 10000                                     // group positions
                      + 4LL * kMaxRounds * 1000 * 13 / 2          // points weight
                      + 10000                                     // float penalty
                      + (kMaxRounds - 1) * (3000000LL + 100000LL) // repeats
                  < 2147483647LL,
              "a pair cost must fit into 32 bits");

} // namespace tabry
