// The edit path's costs at the desk: one change recorded as a step, the crash
// journal written after it (with and without waiting for the disk), and the
// memory a long history holds. Goals: the journal after one change under
// 2 ms at 64 players x 7 rounds and under 15 ms at 512 x 128 without the disk
// flush; a history of 1,000 changes on 512 x 128 well below 64 MB.
#include "edit/RecoveryJournal.h"
#include "edit/TournamentEditor.h"
#include "tests/support/RandomEdits.h"
#include "tests/support/TestSupport.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <memory>
#include <random>

namespace tabry {
namespace {

// A tournament of `players` x `rounds` in which every round pairs every
// player with a random partner and has its results.
TournamentData Full(int players, int rounds)
{
    TournamentData data;
    data.table.Clear();
    data.table.Resize(players, rounds);
    for (int r = 0; r < players; ++r) {
        const std::string n = std::to_string(r);
        data.table.Entry(r).playerIndex = data.players.Add("player " + n, "in" + n, "p" + n, "tokyo", 1, "m" + n);
    }
    std::mt19937 rng(2026);
    std::vector<int> order(static_cast<size_t>(players));
    for (int j = 0; j < rounds; ++j) {
        for (int i = 0; i < players; ++i)
            order[static_cast<size_t>(i)] = i;
        std::shuffle(order.begin(), order.end(), rng);
        for (int i = 0; i + 1 < players; i += 2) {
            const int a = order[static_cast<size_t>(i)];
            const int b = order[static_cast<size_t>(i + 1)];
            const auto result = static_cast<std::int8_t>(static_cast<int>(rng() % 3) - 1);
            const auto disc = static_cast<std::int8_t>(result * static_cast<int>(rng() % 64));
            data.table.SetCell(a, j, {b, result, disc, 0});
            data.table.SetCell(b, j, {a, static_cast<std::int8_t>(-result), static_cast<std::int8_t>(-disc), 0});
        }
    }
    data.table.settings.tieBreak = WinPointsASecondary; // the costlier recomputation
    data.table.ComputeAll();
    return data;
}

// One game changed and recorded as a step: what every commit in the grid
// costs the edit path (the change, its recomputation, the step).
void BM_RecordedGame(benchmark::State& state)
{
    CTournamentEditor editor(Full(static_cast<int>(state.range(0)), static_cast<int>(state.range(1))));
    std::vector<std::shared_ptr<const CEditStep>> kept;
    editor.AddListener([&](const ChangeEvent& e) {
        if (e.step)
            kept.push_back(e.step);
    });
    int i = 0;
    for (auto _ : state) {
        const int row = i % editor.Table().PlayerCount();
        const int round = (i / editor.Table().PlayerCount()) % editor.Table().RoundCount();
        const ResultCell c = editor.Table().Cell(row, round);
        editor.SetGame(row, round, c.opponent, c.result == ResultWin ? ResultLoss : ResultWin,
                       c.result == ResultWin ? -2 : 2);
        ++i;
        if (kept.size() > 4096)
            kept.clear();
    }
}
BENCHMARK(BM_RecordedGame)->Args({64, 7})->Args({512, 128})->Unit(benchmark::kMicrosecond);

// The journal after one change: the tournament's bytes and the atomic write
// of the recovery file.
void JournalWrite(benchmark::State& state, bool flush)
{
    const CTournamentEditor editor(Full(static_cast<int>(state.range(0)), static_cast<int>(state.range(1))));
    test::TempDir dir;
    CRecoveryJournal journal(dir.Path());
    journal.SetFlushToDisk(flush);
    journal.SetDocument("/venue/cup.stg");
    std::int64_t now = 0;
    for (auto _ : state) {
        if (!journal.Write(editor.Save(), ++now))
            state.SkipWithError("journal write failed");
    }
    state.counters["bytes"] = static_cast<double>(editor.Save().size());
}
void BM_JournalWrite(benchmark::State& state)
{
    JournalWrite(state, false);
}
void BM_JournalWriteFlushed(benchmark::State& state)
{
    JournalWrite(state, true);
}
BENCHMARK(BM_JournalWrite)->Args({64, 7})->Args({512, 128})->Unit(benchmark::kMillisecond);
BENCHMARK(BM_JournalWriteFlushed)->Args({64, 7})->Args({512, 128})->Unit(benchmark::kMillisecond);

// What the history keeps after 1,000 changes on the largest table: games
// only, and a mix with pairings, sorts, settings, user DB rebuilds.
void HistoryMemory(benchmark::State& state, bool gamesOnly)
{
    for (auto _ : state) {
        CTournamentEditor editor(Full(512, 128));
        std::size_t bytes = 0;
        int steps = 0;
        editor.AddListener([&](const ChangeEvent& e) {
            if (e.step) {
                bytes += e.step->Cost();
                ++steps;
            }
        });
        test::CRandomEdits mixed(7, 512, 128);
        std::mt19937 rng(7);
        for (int i = 0; i < 1000; ++i) {
            if (gamesOnly) {
                const int row = static_cast<int>(rng() % 512);
                const int round = static_cast<int>(rng() % 128);
                const ResultCell c = editor.Table().Cell(row, round);
                editor.SetGame(row, round, c.opponent, c.result == ResultWin ? ResultLoss : ResultWin, 4);
            } else {
                mixed.Apply(editor);
            }
        }
        state.counters["steps"] = steps;
        state.counters["MB"] = static_cast<double>(bytes) / (1 << 20);
        state.counters["bytes/step"] = steps > 0 ? static_cast<double>(bytes) / steps : 0.0;
    }
}
void BM_HistoryOf1000Games(benchmark::State& state)
{
    HistoryMemory(state, true);
}
void BM_HistoryOf1000MixedChanges(benchmark::State& state)
{
    HistoryMemory(state, false);
}
BENCHMARK(BM_HistoryOf1000Games)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_HistoryOf1000MixedChanges)->Iterations(1)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace tabry
