#pragma once
// Builds small tables for the tests: players by row, games written into both
// rows the way the result editor writes them.

#include "core/ResultTable.h"

namespace tabry::test {

inline void SetPlayer(CResultTable& t, int row, int playerIndex)
{
    t.Entry(row).playerIndex = playerIndex;
}

// A game of round j: row a scores `disc` against row b with result `result`
// (from a's view); b's cell gets the mirror.
inline void SetGame(CResultTable& t, int round, int a, int b, int result, int disc)
{
    t.SetCell(a, round, ResultCell{b, static_cast<std::int8_t>(result), static_cast<std::int8_t>(disc), 0});
    const int mirrored = result == ResultNone ? ResultNone : -result;
    t.SetCell(b, round, ResultCell{a, static_cast<std::int8_t>(mirrored), static_cast<std::int8_t>(-disc), 0});
}

inline void SetBye(CResultTable& t, int round, int row, int result, int disc)
{
    t.SetCell(row, round, ResultCell{ByeOpponent, static_cast<std::int8_t>(result), static_cast<std::int8_t>(disc), 0});
}

// A table of `players` x `rounds` whose first `filled` rows hold players
// 1..filled (database indices).
inline CResultTable MakeTable(int players, int rounds, int filled)
{
    CResultTable t;
    t.Clear();
    t.Resize(players, rounds);
    for (int r = 0; r < filled; ++r)
        SetPlayer(t, r, r + 1);
    return t;
}

} // namespace tabry::test
