// The edit path's costs at the desk: one change recorded as a step, the crash
// journal written after it (with and without waiting for the disk), and the
// memory a long history holds. Goals: the journal after one change under
// 2 ms at 64 players x 7 rounds and under 15 ms at 512 x 128 without the disk
// flush; a history of 1,000 changes on 512 x 128 well below 64 MB.
#include "bench/support/BenchTournaments.h"
#include "core/Boards.h"
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

// One game changed and recorded as a step: what every commit in the grid
// costs the edit path (the change, its recomputation, the step).
void BM_RecordedGame(benchmark::State& state)
{
    CTournamentEditor editor(
        bench::FullTournament(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)), "player"));
    std::vector<std::shared_ptr<const CEditStep>> kept;
    editor.AddListener(ListenerRank::Views, [&](const ChangeEvent& e) {
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
// of the recovery file. With `fixed`, every round has the board numbers the
// program's pairing fixes, so saving compares each with the pairing table's
// order (the worst case: every round paired by the program).
void JournalWrite(benchmark::State& state, bool flush, bool fixed = false)
{
    TournamentData data =
        bench::FullTournament(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)), "player");
    if (fixed)
        for (int j = 0; j < data.table.RoundCount(); ++j)
            data.table.SetPlan(j, PlanOf(DerivedBoards(data.table, j)));
    const CTournamentEditor editor(std::move(data));
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
void BM_JournalWriteFixedBoards(benchmark::State& state)
{
    JournalWrite(state, false, true);
}
BENCHMARK(BM_JournalWrite)->Args({64, 7})->Args({512, 128})->Unit(benchmark::kMillisecond);
BENCHMARK(BM_JournalWriteFixedBoards)->Args({64, 7})->Args({512, 128})->Unit(benchmark::kMillisecond);
BENCHMARK(BM_JournalWriteFlushed)->Args({64, 7})->Args({512, 128})->Unit(benchmark::kMillisecond);

// What the history keeps after 1,000 changes on the largest table: games
// only, and a mix with pairings, sorts, settings, user DB rebuilds.
void HistoryMemory(benchmark::State& state, bool gamesOnly)
{
    for (auto _ : state) {
        CTournamentEditor editor(bench::FullTournament(512, 128, "player"));
        std::size_t bytes = 0;
        int steps = 0;
        editor.AddListener(ListenerRank::Views, [&](const ChangeEvent& e) {
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
