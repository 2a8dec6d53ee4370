#pragma once
// The standings as the reports, the printed documents and the live pages
// show them: a private copy of the table, never the table itself.

#include "core/ResultTable.h"

#include <vector>

namespace tabry {

// A copy with totals over all rounds, sorted by the current tie-break method.
// With `roundLimit` 0 or more the copy then counts rounds 1..roundLimit only
// and is sorted again by those totals; players tied on them keep the order of
// the full standings. The table passed in never changes.
CResultTable StandingsCopy(const CResultTable& table, int roundLimit = -1);

// The same order as rows: order[i] is the row of `table` that StandingsCopy
// puts at position i. The table comes as a copy, which is sorted.
std::vector<int> StandingsOrder(CResultTable table, int roundLimit = -1);

// How far the standings have come: the last round in which a game or a bye
// has its result (0 before any), and whether every game and bye of that
// round has one.
struct StandingsPoint {
    int round = 0; // from 1
    bool complete = true;
};
StandingsPoint StandingsAfter(const CResultTable& table);

} // namespace tabry
