// The pairing cost of two players, or of a player and the bye.
#include "pairing/PairingCost.h"

#include "core/ResultTable.h"
#include "pairing/PairingMatcher.h"

#include <algorithm>
#include <cstdlib>
#include <limits>

namespace tabry {

namespace {

// What the cost of a slot's pairings depends on, besides the repeats.
struct SlotFacts {
    int points = 0;
    int top = 0;    // groupPosTop
    int bottom = 0; // groupPosBottom
    int floatDirection = 0;
    int byes = 0; // earlier rounds with the bye
};

SlotFacts FactsOf(const CResultTable& table, int row, int round)
{
    const PlayerEntry& e = table.Entry(row);
    SlotFacts f;
    f.points = e.points;
    f.top = e.groupPosTop;
    f.bottom = e.groupPosBottom;
    f.floatDirection = FloatHistory(table, row, round);
    for (int i = 0; i < round; ++i)
        if (table.Cell(row, i).opponent == ByeOpponent)
            ++f.byes;
    return f;
}

std::int64_t Square(std::int64_t v)
{
    return v * v;
}

int GapIndex(int d)
{
    return std::clamp(d, 0, PairingPenalties::kMaxGapIndex);
}

// Two players, A in the higher slot: the points difference with its group
// position and float terms, or the distance inside one points group.
std::int64_t PlayersCost(const SlotFacts& a, const SlotFacts& b, const PairingPenalties& p)
{
    const int d = std::abs(a.points - b.points);
    if (d == 0)
        return std::min<std::int64_t>(Square(a.top - b.top + 1), 5000);

    const int e = GapIndex(d);
    std::int64_t w = p.scoreGap[static_cast<size_t>(e)] + std::min<std::int64_t>(Square(a.bottom + b.top), 10000)
                     + (static_cast<std::int64_t>(a.points + b.points) * p.scoreFactor * e) / 2;
    // Floating the same way twice running is penalised, the other way rewarded.
    const int aWay = a.points > b.points ? -1 : 1; // A floats down when it has more
    const int bWay = -aWay;
    if (a.floatDirection != 0)
        w += a.floatDirection == aWay ? p.floatPenalty : -static_cast<std::int64_t>(p.floatBonus);
    if (b.floatDirection != 0)
        w += b.floatDirection == bWay ? p.floatPenalty : -static_cast<std::int64_t>(p.floatBonus);
    return w;
}

std::int64_t ByeCost(const SlotFacts& f, const PairingPenalties& p)
{
    return p.scoreGap[static_cast<size_t>(GapIndex(f.points))] + static_cast<std::int64_t>(p.byeRepeatPenalty) * f.byes
           + std::min<std::int64_t>(Square(f.bottom), 10000)
           + (static_cast<std::int64_t>(p.scoreFactor) * f.points * f.points) / 2;
}

std::int64_t RepeatCost(int round, int earlierRound, const PairingPenalties& p)
{
    return p.repeatPenalty + (earlierRound == round - 1 ? p.lastRoundRepeatPenalty : 0);
}

// Within the table's limits a cost always fits (see PairingPenalties.h); the
// clamp only keeps a damaged table from wrapping around.
std::int32_t Saturate(std::int64_t w)
{
    constexpr std::int64_t lo = std::numeric_limits<std::int32_t>::min();
    constexpr std::int64_t hi = std::numeric_limits<std::int32_t>::max();
    return static_cast<std::int32_t>(std::clamp(w, lo, hi));
}

} // namespace

void AssignGroupPositions(CResultTable& table, const std::vector<int>& orderedRows)
{
    const size_t u = orderedRows.size();
    for (size_t s = 0; s < u; ++s) {
        PlayerEntry& e = table.Entry(orderedRows[s]);
        const bool first = s == 0 || table.Entry(orderedRows[s - 1]).points != e.points;
        e.groupPosTop = first ? 1 : table.Entry(orderedRows[s - 1]).groupPosTop + 1;
    }
    for (size_t s = u; s-- > 0;) {
        PlayerEntry& e = table.Entry(orderedRows[s]);
        const bool last = s + 1 == u || table.Entry(orderedRows[s + 1]).points != e.points;
        e.groupPosBottom = last ? 1 : table.Entry(orderedRows[s + 1]).groupPosBottom + 1;
    }
}

int FloatHistory(const CResultTable& table, int row, int round)
{
    if (round <= 0)
        return 0;
    const ResultCell& c = table.Cell(row, round - 1);
    if (c.opponent == NoOpponent)
        return 0;
    int p = table.Entry(row).points;
    if (c.opponent == ByeOpponent)
        return p > 2 ? -1 : 0;
    int q = table.Entry(c.opponent).points;
    // Take the game back to see where both stood when they were paired.
    if (c.result > 0) {
        p -= 2;
    } else if (c.result == 0) {
        p -= 1;
        q -= 1;
    } else {
        q -= 2; // a loss, or a pairing still without a result
    }
    return p > q ? -1 : (p < q ? 1 : 0);
}

std::int32_t PairCost(const CResultTable& table, const PairingPenalties& penalties, int round, int rowA, int rowB)
{
    if (rowA == ByeOpponent)
        std::swap(rowA, rowB);
    const SlotFacts a = FactsOf(table, rowA, round);
    if (rowB == ByeOpponent)
        return Saturate(ByeCost(a, penalties));
    std::int64_t w = PlayersCost(a, FactsOf(table, rowB, round), penalties);
    for (int i = 0; i < round; ++i)
        if (table.Cell(rowA, i).opponent == rowB)
            w += RepeatCost(round, i, penalties);
    return Saturate(w);
}

void BuildPairCosts(const CResultTable& table, const PairingPenalties& penalties, int round,
                    const std::vector<int>& slotRows, CPairingMatcher& matcher)
{
    const int n = static_cast<int>(slotRows.size());
    std::vector<SlotFacts> facts(static_cast<size_t>(n));
    std::vector<int> slotOfRow(static_cast<size_t>(std::max(table.PlayerCount(), 0)), -1);
    for (int s = 0; s < n; ++s) {
        const int row = slotRows[static_cast<size_t>(s)];
        if (row < 0)
            continue;
        facts[static_cast<size_t>(s)] = FactsOf(table, row, round);
        slotOfRow[static_cast<size_t>(row)] = s;
    }

    // The repeats of a row come from the cells of its slot's player, in one
    // pass over the earlier rounds instead of once per pair; they are added
    // to the higher slot's row only, as the lower slot's cells name the same
    // games.
    std::vector<std::int64_t> repeats(static_cast<size_t>(n), 0);
    std::vector<int> repeated;
    for (int a = 0; a < n; ++a) {
        const int rowA = slotRows[static_cast<size_t>(a)];
        if (rowA >= 0) {
            for (int i = 0; i < round; ++i) {
                const int opponent = table.Cell(rowA, i).opponent;
                if (opponent < 0 || opponent >= table.PlayerCount())
                    continue;
                const int b = slotOfRow[static_cast<size_t>(opponent)];
                if (b > a) {
                    repeats[static_cast<size_t>(b)] += RepeatCost(round, i, penalties);
                    repeated.push_back(b);
                }
            }
        }
        for (int b = a + 1; b < n; ++b) {
            const int rowB = slotRows[static_cast<size_t>(b)];
            std::int64_t cost = repeats[static_cast<size_t>(b)];
            if (rowA >= 0 && rowB >= 0)
                cost += PlayersCost(facts[static_cast<size_t>(a)], facts[static_cast<size_t>(b)], penalties);
            else if (rowA >= 0 || rowB >= 0)
                cost = ByeCost(facts[static_cast<size_t>(rowA >= 0 ? a : b)], penalties);
            matcher.SetCost(a, b, Saturate(cost));
        }
        for (const int b : repeated)
            repeats[static_cast<size_t>(b)] = 0;
        repeated.clear();
    }
}

} // namespace tabry
