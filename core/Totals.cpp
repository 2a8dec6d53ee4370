// Totals and tie-break values of every row, recomputed from the cells.
#include "core/ResultTable.h"

#include <algorithm>

namespace tabry {

namespace {

// The record totals of one row over its first `rounds` cells: a game counts
// once it has a result (a bye with one included), and a round he sits out
// as `sittingOut` (see ByeRule::SittingOutCell) while he has not withdrawn.
// `who` is the row's stored entry; `e` gets the totals (it may be `who`).
void CountRecord(PlayerEntry& e, const PlayerEntry& who, const ResultCell& sittingOut, const ResultCell* rowCells,
                 int rounds)
{
    e.wins = e.losses = e.draws = e.discTotal = e.points = 0;
    for (int j = 0; j < rounds; ++j) {
        const bool out = rowCells[j].opponent == NoOpponent && who.IsAbsentIn(j) && !who.IsWithdrawnIn(j);
        const ResultCell& c = out ? sittingOut : rowCells[j];
        if (c.opponent == NoOpponent || c.result == ResultNone)
            continue;
        if (c.result > 0)
            ++e.wins;
        else if (c.result < 0)
            ++e.losses;
        else
            ++e.draws;
        e.discTotal += c.disc;
    }
    e.points = e.draws + 2 * e.wins;
}

} // namespace

int CResultTable::PointsThrough(int row, int roundLimit) const
{
    if (row < 0 || row >= playerCount || entries[static_cast<size_t>(row)].IsEmpty())
        return 0;
    PlayerEntry e;
    CountRecord(e, entries[static_cast<size_t>(row)], settings.bye.SittingOutCell(),
                &cells[static_cast<size_t>(row) * static_cast<size_t>(roundCount)],
                std::clamp(roundLimit, 0, roundCount));
    return e.points;
}

void CResultTable::ComputeTotals(int row, int roundLimit)
{
    int first = 0;
    int last = playerCount;
    if (row >= 0) {
        if (row >= playerCount)
            return;
        first = row;
        last = row + 1;
    }
    const int rounds = roundLimit < 0 ? roundCount : std::min(roundLimit, roundCount);
    const ResultCell sittingOut = settings.bye.SittingOutCell();
    for (int r = first; r < last; ++r) {
        PlayerEntry& e = entries[static_cast<size_t>(r)];
        if (e.IsEmpty()) {
            e.wins = e.losses = e.draws = e.discTotal = e.points = 0;
            continue;
        }
        CountRecord(e, e, sittingOut, &cells[static_cast<size_t>(r) * static_cast<size_t>(roundCount)], rounds);
    }
}

void CResultTable::ComputeTieBreaks(int roundLimit)
{
    const int rounds = roundLimit < 0 ? roundCount : std::min(roundLimit, roundCount);
    // Opponent points are read through Entry() so that a cell naming a row
    // beyond the table (before Validate) counts as an opponent without points.
    for (int r = 0; r < playerCount; ++r) {
        PlayerEntry& e = entries[static_cast<size_t>(r)];
        e.winPointsA = e.winPointsB = e.brightwell = 0;
        if (e.IsEmpty())
            continue;
        for (int j = 0; j < rounds; ++j) {
            const ResultCell& c = Cell(r, j);
            if (c.opponent < 0)
                continue;
            const PlayerEntry& o = Entry(c.opponent);
            const int p = o.draws + 2 * o.wins;
            e.winPointsA += p;
            if (c.result > 0)
                e.winPointsB += p;
        }
        // A coefficient read from a file is stored as it stands, so the product
        // can leave the 32-bit range; it wraps as 32-bit arithmetic does
        // instead of overflowing (in range, the value is the same).
        const std::int64_t value = static_cast<std::int64_t>(e.winPointsA) * settings.brightwellTenths
                                   + (static_cast<std::int64_t>(e.losses + e.draws + e.wins) * 64 + e.discTotal) * 10;
        e.brightwell = static_cast<std::int32_t>(static_cast<std::uint32_t>(static_cast<std::uint64_t>(value)));
    }
    for (int r = 0; r < playerCount; ++r) {
        PlayerEntry& e = entries[static_cast<size_t>(r)];
        e.secondaryA = e.secondaryB = 0;
        if (e.IsEmpty())
            continue;
        for (int j = 0; j < roundCount; ++j) {
            const ResultCell& c = Cell(r, j);
            if (c.opponent < 0)
                continue;
            const PlayerEntry& o = Entry(c.opponent);
            e.secondaryA += o.winPointsA;
            if (c.result > 0)
                e.secondaryB += o.winPointsB;
        }
    }
}

void CResultTable::ComputeAll()
{
    ComputeTotals(-1, -1);
    ComputeTieBreaks(-1);
}

} // namespace tabry
