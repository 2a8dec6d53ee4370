#include "pairing/PairingGenerator.h"

#include "core/ResultTable.h"
#include "pairing/PairingCost.h"
#include "pairing/PairingMatcher.h"
#include "pairing/RandomGenerator.h"

#include <algorithm>
#include <future>
#include <system_error>

namespace tabry {

namespace {

// One draw per position, in list order: a seed must keep giving the same
// pairing on every platform and in every version.
void ShuffleRun(std::vector<int>& rows, size_t first, size_t length, CRandomGenerator& random)
{
    for (size_t i = 0; i < length; ++i) {
        const size_t r = static_cast<size_t>(random.Next()) % length;
        std::swap(rows[first + i], rows[first + r]);
    }
}

int ByesOf(const CResultTable& table, int row, int round)
{
    int byes = 0;
    for (int j = 0; j < table.RoundCount(); ++j)
        byes += j != round && table.Cell(row, j).opponent == ByeOpponent ? 1 : 0;
    return byes;
}

// The slot of the lowest-ranked player (rows best first, equal players
// already shuffled) who has had no bye; when everybody has, the
// lowest-ranked of those with the fewest.
size_t LowestForBye(const CResultTable& table, const std::vector<int>& rows, int round)
{
    size_t chosen = rows.size() - 1;
    int fewest = -1;
    for (size_t s = rows.size(); s-- > 0;) {
        const int byes = ByesOf(table, rows[s], round);
        if (fewest < 0 || byes < fewest) {
            fewest = byes;
            chosen = s;
        }
        if (fewest == 0)
            break;
    }
    return chosen;
}

struct TraceOutcome {
    bool ok = false;
    std::string error;
};

// The cost trace depends on the costs alone, so it is formatted and written
// on a second thread while the matcher works on the main one (which only
// reads the same costs): on a large round it then keeps nobody waiting. The
// run still ends only when the file is written. Without a thread to be had
// it is done in line when asked for.
std::future<TraceOutcome> StartCostTrace(const PairingTraceOptions& options, const CPairingMatcher& matcher)
{
    auto task = [&options, &matcher] {
        TraceOutcome outcome;
        outcome.ok = WriteTraceFile(options, kCostTraceFileName, FormatCostTrace(matcher), &outcome.error);
        return outcome;
    };
    try {
        return std::async(std::launch::async, task);
    } catch (const std::system_error&) {
        return std::async(std::launch::deferred, task);
    }
}

} // namespace

PairingSlots PrepareRound(CResultTable& table, int round, CRandomGenerator& random)
{
    table.ComputeTotals(-1, round);
    table.ComputeTieBreaks(round);

    PairingSlots slots;
    std::vector<int>& rows = slots.rows;
    for (int r = 0; r < table.PlayerCount(); ++r) {
        const PlayerEntry& e = table.Entry(r);
        if (!e.IsEmpty() && e.PlaysIn(round) && table.Cell(r, round).opponent == NoOpponent)
            rows.push_back(r);
    }
    if (rows.empty())
        return slots;

    const int method = table.settings.tieBreak;
    std::sort(rows.begin(), rows.end(),
              [&](int a, int b) { return table.CompareRows(method, CompareMode::Ordering, a, b) < 0; });

    // Players the standings cannot tell apart are put in random order.
    size_t runStart = 0;
    for (size_t s = 1; s <= rows.size(); ++s) {
        const bool runEnds =
            s == rows.size() || table.CompareRows(method, CompareMode::Equality, rows[s - 1], rows[s]) != 0;
        if (!runEnds)
            continue;
        if (s - runStart >= 2)
            ShuffleRun(rows, runStart, s - runStart, random);
        runStart = s;
    }

    if (rows.size() % 2 != 0 && table.settings.bye.toLowest) {
        const size_t bye = LowestForBye(table, rows, round);
        slots.byeRow = rows[bye];
        rows.erase(rows.begin() + static_cast<std::ptrdiff_t>(bye));
    }
    AssignGroupPositions(table, rows);
    if (rows.size() % 2 != 0)
        rows.push_back(ByeOpponent);
    return slots;
}

int GeneratePairing(CResultTable& table, int round, CRandomGenerator& random, const PairingOptions& options,
                    PairingRunInfo* info)
{
    // Outside the table a round's cells would alias other rows' cells.
    if (round < 0 || round >= table.RoundCount())
        return -1;

    PairingSlots slots = PrepareRound(table, round, random);
    std::vector<int>& slotRows = slots.rows;
    if (slotRows.empty() && slots.byeRow < 0) {
        table.ComputeAll();
        return -1;
    }

    const int n = static_cast<int>(slotRows.size());
    CPairingMatcher matcher;
    matcher.Init(n);
    BuildPairCosts(table, options.penalties, round, slotRows, matcher);

    const bool tracing = options.trace.enabled;
    std::future<TraceOutcome> costTrace;
    if (tracing)
        costTrace = StartCostTrace(options.trace, matcher);
    std::string stepTrace;
    matcher.Optimise(tracing ? &stepTrace : nullptr);

    const ResultCell byeCell = table.settings.bye.ByeCell();
    for (int m = 0; m < n; ++m) {
        const int row = slotRows[static_cast<size_t>(m)];
        if (row < 0)
            continue;
        ResultCell cell;
        cell.opponent = slotRows[static_cast<size_t>(matcher.Partner(m))];
        cell.result = ResultNone;
        cell.disc = 0;
        cell.reserved = 0;
        table.SetCell(row, round, cell.opponent == ByeOpponent ? byeCell : cell);
    }
    if (slots.byeRow >= 0)
        table.SetCell(slots.byeRow, round, byeCell);
    table.ComputeAll();

    bool traceWritten = false;
    std::string traceError;
    if (tracing) {
        TraceOutcome step;
        step.ok = WriteTraceFile(options.trace, kStepTraceFileName, stepTrace, &step.error);
        const TraceOutcome cost = costTrace.get();
        traceWritten = cost.ok && step.ok;
        traceError = JoinTraceErrors(cost.ok, cost.error, step.ok, step.error);
    }

    if (info != nullptr) {
        info->slotRows = std::move(slotRows);
        info->partner = matcher.Partners();
        info->byeRow = slots.byeRow;
        info->totalCost = matcher.TotalCost();
        info->traceWritten = traceWritten;
        info->traceError = std::move(traceError);
    }
    return 0;
}

} // namespace tabry
