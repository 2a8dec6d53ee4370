// Standings order: the comparison of two rows, the sort that reorders the
// table, and the shared rank numbers.
#include "core/Standings.h"

#include "core/TieBreaks.h"

#include <algorithm>
#include <numeric>

namespace tabry {

namespace {

// Larger first: negative when a's key is larger.
int Larger(std::int32_t a, std::int32_t b)
{
    return a > b ? -1 : (a < b ? 1 : 0);
}

} // namespace

int CResultTable::CompareRows(int method, CompareMode mode, int a, int b) const
{
    const PlayerEntry& ea = Entry(a);
    const PlayerEntry& eb = Entry(b);
    if (ea.IsEmpty())
        return eb.IsEmpty() ? 0 : 1;
    if (eb.IsEmpty())
        return -1;
    int c = Larger(ea.points, eb.points);
    // Each method of the chain speaks only while the rows are still level.
    const auto decideBy = [&](int m) {
        for (const TieValue key : TieBreakMethodOf(m).Keys()) {
            if (c != 0)
                return;
            c = Larger(TieValueOf(ea, key), TieValueOf(eb, key));
        }
    };
    decideBy(method);
    if (HasSecondTieBreak(settings))
        decideBy(settings.tieBreak2);
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
    for (BoardPlan& plan : plans) {
        for (BoardSeat& seat : plan) {
            if (seat.IsUnused())
                continue;
            if (seat.left < playerCount && seat.right < playerCount)
                seat = {newIndex[static_cast<size_t>(seat.left)], newIndex[static_cast<size_t>(seat.right)]};
            else
                seat = BoardSeat{};
        }
    }
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

namespace tabry {

std::vector<int> StandingsOrder(CResultTable copy, int roundLimit)
{
    const int method = copy.settings.tieBreak;
    copy.ComputeAll();
    std::vector<int> order = copy.SortOrder(method);
    if (roundLimit < 0)
        return order;
    copy.PermuteRows(order);
    copy.ComputeTotals(-1, roundLimit);
    copy.ComputeTieBreaks(roundLimit);
    const std::vector<int> again = copy.SortOrder(method);
    std::vector<int> composed(again.size());
    for (size_t i = 0; i < again.size(); ++i)
        composed[i] = order[static_cast<size_t>(again[i])];
    return composed;
}

CResultTable StandingsCopy(const CResultTable& table, int roundLimit)
{
    CResultTable copy(table);
    copy.Sort(copy.settings.tieBreak, false);
    if (roundLimit >= 0) {
        copy.ComputeTotals(-1, roundLimit);
        copy.ComputeTieBreaks(roundLimit);
        copy.Sort(copy.settings.tieBreak, true);
    }
    return copy;
}

StandingsPoint StandingsAfter(const CResultTable& table)
{
    StandingsPoint point;
    for (int j = table.RoundCount() - 1; j >= 0 && point.round == 0; --j) {
        bool any = false;
        bool all = true;
        for (int r = 0; r < table.PlayerCount(); ++r) {
            const ResultCell& c = table.Cell(r, j);
            if (table.Entry(r).IsEmpty() || c.opponent == NoOpponent)
                continue;
            if (c.result == ResultNone)
                all = false;
            else
                any = true;
        }
        if (any)
            point = {j + 1, all};
    }
    return point;
}

} // namespace tabry
