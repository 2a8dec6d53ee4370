// Standings order: the comparison of two rows, the sort that reorders the
// table, and the shared rank numbers.
#include "core/ResultTable.h"

#include "text/Cp932.h"

#include <algorithm>
#include <numeric>

namespace tabry {

namespace {

// Larger first: negative when a's key is larger.
int Larger(std::int32_t a, std::int32_t b)
{
    return a > b ? -1 : (a < b ? 1 : 0);
}

using KeyCompare = int (*)(const PlayerEntry&, const PlayerEntry&);

int ByDisc(const PlayerEntry& a, const PlayerEntry& b)
{
    return Larger(a.discTotal, b.discTotal);
}
int ByBrightwell(const PlayerEntry& a, const PlayerEntry& b)
{
    return Larger(a.brightwell, b.brightwell);
}
int ByWinPointsA(const PlayerEntry& a, const PlayerEntry& b)
{
    return Larger(a.winPointsA, b.winPointsA);
}
int ByWinPointsASecondary(const PlayerEntry& a, const PlayerEntry& b)
{
    const int c = Larger(a.winPointsA, b.winPointsA);
    return c != 0 ? c : Larger(a.secondaryA, b.secondaryA);
}
int ByWinPointsADisc(const PlayerEntry& a, const PlayerEntry& b)
{
    const int c = Larger(a.winPointsA, b.winPointsA);
    return c != 0 ? c : Larger(a.discTotal, b.discTotal);
}
int ByWinPointsB(const PlayerEntry& a, const PlayerEntry& b)
{
    return Larger(a.winPointsB, b.winPointsB);
}
int ByWinPointsBSecondary(const PlayerEntry& a, const PlayerEntry& b)
{
    const int c = Larger(a.winPointsB, b.winPointsB);
    return c != 0 ? c : Larger(a.secondaryB, b.secondaryB);
}
int ByWinPointsBDisc(const PlayerEntry& a, const PlayerEntry& b)
{
    const int c = Larger(a.winPointsB, b.winPointsB);
    return c != 0 ? c : Larger(a.discTotal, b.discTotal);
}

// Indexed by TieBreakMethod.
constexpr KeyCompare kKeyCompare[kTieBreakMethodCount] = {
    ByDisc,           ByBrightwell, ByWinPointsA,          ByWinPointsASecondary,
    ByWinPointsADisc, ByWinPointsB, ByWinPointsBSecondary, ByWinPointsBDisc,
};

} // namespace

const std::string& TieBreakMethodText(int method)
{
    static const std::string* const texts[kTieBreakMethodCount] = {
        &SJ("石差（石数）"),
        &SJ("ブライトウェル"),
        &SJ("勝数ポイントＡ（全ての相手の勝数合計）"),
        &SJ("勝数ポイントＡ＋二次ポイント"),
        &SJ("勝数ポイントＡ＋石差"),
        &SJ("勝数ポイントＢ（勝った相手の勝数合計）"),
        &SJ("勝数ポイントＢ＋二次ポイント"),
        &SJ("勝数ポイントＢ＋石差"),
    };
    return *texts[EffectiveTieBreak(method)];
}

int CResultTable::CompareRows(int method, CompareMode mode, int a, int b) const
{
    const PlayerEntry& ea = Entry(a);
    const PlayerEntry& eb = Entry(b);
    if (ea.IsEmpty())
        return eb.IsEmpty() ? 0 : 1;
    if (eb.IsEmpty())
        return -1;
    int c = Larger(ea.points, eb.points);
    if (c == 0)
        c = kKeyCompare[EffectiveTieBreak(method)](ea, eb);
    if (c != 0 || mode == CompareMode::Equality)
        return c;
    return a < b ? -1 : (a > b ? 1 : 0);
}

void CResultTable::Sort(int method, bool keepTotals)
{
    if (!keepTotals)
        ComputeAll();
    PermuteRows(SortOrder(method));
}

std::vector<int> CResultTable::SortOrder(int method) const
{
    std::vector<int> order(static_cast<size_t>(playerCount));
    std::iota(order.begin(), order.end(), 0);
    // Stable, so that empty rows keep their relative order too.
    std::stable_sort(order.begin(), order.end(),
                     [&](int a, int b) { return CompareRows(method, CompareMode::Ordering, a, b) < 0; });
    return order;
}

void CResultTable::PermuteRows(const std::vector<int>& order)
{
    if (order.size() != static_cast<size_t>(playerCount))
        return;
    std::vector<int> newIndex(static_cast<size_t>(playerCount));
    for (int i = 0; i < playerCount; ++i)
        newIndex[static_cast<size_t>(order[static_cast<size_t>(i)])] = i;

    std::vector<PlayerEntry> newEntries(static_cast<size_t>(playerCount));
    std::vector<ResultCell> newCells(cells.size());
    for (int i = 0; i < playerCount; ++i) {
        const int old = order[static_cast<size_t>(i)];
        newEntries[static_cast<size_t>(i)].CopyStandingFrom(entries[static_cast<size_t>(old)]);
        for (int j = 0; j < roundCount; ++j) {
            ResultCell c = Cell(old, j);
            if (c.opponent >= 0 && c.opponent < playerCount)
                c.opponent = newIndex[static_cast<size_t>(c.opponent)];
            newCells[static_cast<size_t>(i) * static_cast<size_t>(roundCount) + static_cast<size_t>(j)] = c;
        }
    }
    entries = std::move(newEntries);
    cells = std::move(newCells);
}

std::vector<int> CResultTable::RankNumbers(int method) const
{
    std::vector<int> ranks(static_cast<size_t>(playerCount), 0);
    int p = 0;
    int previous = -1;
    for (int r = 0; r < playerCount; ++r) {
        if (entries[static_cast<size_t>(r)].IsEmpty())
            continue;
        ++p;
        ranks[static_cast<size_t>(r)] = p;
        if (previous >= 0 && CompareRows(method, CompareMode::Equality, previous, r) == 0)
            ranks[static_cast<size_t>(r)] = ranks[static_cast<size_t>(previous)];
        previous = r;
    }
    return ranks;
}

} // namespace tabry
