// The whole open-sort-save path on the largest table: 512 players, 128 rounds,
// every cell a game. Target: the full sequence in well under 50 ms.
#include "core/TournamentData.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <random>
#include <string>

namespace tabry {
namespace {

// A full 512 x 128 tournament: every round pairs row i with a random partner.
std::string LargestTournament()
{
    constexpr int players = kMaxPlayers;
    constexpr int rounds = kMaxRounds;
    std::mt19937 rng(2026);
    std::vector<std::vector<ResultCell>> cells(players, std::vector<ResultCell>(rounds));
    std::vector<int> order(players);
    for (int j = 0; j < rounds; ++j) {
        for (int i = 0; i < players; ++i)
            order[static_cast<size_t>(i)] = i;
        std::shuffle(order.begin(), order.end(), rng);
        for (int i = 0; i < players; i += 2) {
            const int a = order[static_cast<size_t>(i)];
            const int b = order[static_cast<size_t>(i) + 1];
            const int result = static_cast<int>(rng() % 3) - 1;
            const int disc = result * static_cast<int>(rng() % 64);
            cells[static_cast<size_t>(a)][static_cast<size_t>(j)] = {b, static_cast<std::int8_t>(result), static_cast<std::int8_t>(disc), 0};
            cells[static_cast<size_t>(b)][static_cast<size_t>(j)] = {a, static_cast<std::int8_t>(-result), static_cast<std::int8_t>(-disc), 0};
        }
    }
    // Appended piece by piece: GCC 12 warns falsely (-Wrestrict) on long
    // chains of string operator+ at -O3.
    std::string file = "512,128,1,3,60\r\n##Format: 1\r\n##Tournament: Bench\r\n##Date: 2026/12/7\r\n";
    for (int r = 0; r < players; ++r) {
        const std::string n = std::to_string(r);
        file.append("player ").append(n).append(",p").append(n).append(",1,tokyo,in").append(n).append(",m").append(n);
        for (const ResultCell& c : cells[static_cast<size_t>(r)]) {
            file.append(",").append(std::to_string(c.opponent)).append(",").append(std::to_string(c.result));
            file.append(",").append(std::to_string(c.disc)).append(",0");
        }
        file.append("\r\n");
    }
    return file;
}

const std::string& File()
{
    static const std::string file = LargestTournament();
    return file;
}

// Load (read, validate, totals and tie-breaks), sort, write: what opening a
// file, pressing sort and saving costs.
void BM_LoadSortWrite(benchmark::State& state)
{
    TournamentData d;
    for (auto _ : state) {
        if (d.Load(File()) != LoadStatus::Ok)
            state.SkipWithError("load failed");
        d.table.Sort(d.table.settings.tieBreak, false);
        std::string out = d.Save();
        benchmark::DoNotOptimize(out);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(File().size()));
}
BENCHMARK(BM_LoadSortWrite)->Unit(benchmark::kMillisecond);

void BM_Load(benchmark::State& state)
{
    TournamentData d;
    for (auto _ : state)
        benchmark::DoNotOptimize(d.Load(File()));
}
BENCHMARK(BM_Load)->Unit(benchmark::kMillisecond);

void BM_ComputeAll(benchmark::State& state)
{
    TournamentData d;
    d.Load(File());
    for (auto _ : state) {
        d.table.ComputeAll();
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_ComputeAll)->Unit(benchmark::kMicrosecond);

void BM_Sort(benchmark::State& state)
{
    TournamentData d;
    d.Load(File());
    for (auto _ : state)
        d.table.Sort(d.table.settings.tieBreak, false);
}
BENCHMARK(BM_Sort)->Unit(benchmark::kMicrosecond);

void BM_Write(benchmark::State& state)
{
    TournamentData d;
    d.Load(File());
    for (auto _ : state) {
        std::string out = d.Save();
        benchmark::DoNotOptimize(out);
    }
}
BENCHMARK(BM_Write)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace tabry
