// How long the organiser waits for a pairing, from 32 to 512 players, in the
// first round (one big group of equal players) and in a late round of a
// simulated Swiss tournament (nine rounds played). The reference rows time
// the plain nested scans on the same cost matrices; at 512 players they take
// minutes and are left out.
//
// The yardstick is an exact minimum-cost perfect matching of the same late
// 512-player cost matrix (LEMON's weighted perfect matching on the negated
// costs, when the library was found): the whole pairing run, trace files
// included, is printed as a share of that solve measured in the same run.
//
//   pairing_bench --benchmark_filter=Generate   the whole run, trace files included
//   pairing_bench --benchmark_filter='/512$' --benchmark_repetitions=9
//                 --benchmark_enable_random_interleaving=true   the ratios, from medians
#include "bench/support/BenchRatios.h"
#include "pairing/PairingCost.h"
#include "pairing/PairingGenerator.h"
#include "pairing/PairingMatcher.h"
#include "pairing/RandomGenerator.h"
#include "tests/pairing/ReferenceMatcher.h"
#include "tests/pairing/SimulatedTournament.h"

#include <benchmark/benchmark.h>

#ifdef TABRY_BENCH_LEMON
#include "bench/pairing/ExactMatching.h"
#endif

#include <filesystem>

namespace tabry {
namespace {

constexpr int kLateRound = 9;

CResultTable Tournament(int players, int round)
{
    test::SimulationOptions o;
    o.players = players;
    o.rounds = 12;
    o.playedRounds = round;
    o.seed = static_cast<std::uint32_t>(players);
    return test::SimulateTournament(o);
}

// The cost matrix a run would hand to the matcher.
CPairingMatcher Costs(int players, int round)
{
    CResultTable t = Tournament(players, round);
    CRandomGenerator random(1);
    const std::vector<int> slots = PrepareRound(t, round, random).rows;
    CPairingMatcher m;
    m.Init(static_cast<int>(slots.size()));
    BuildPairCosts(t, PairingPenalties{}, round, slots, m);
    return m;
}

void GenerateWithTrace(benchmark::State& state, int round)
{
    const CResultTable played = Tournament(static_cast<int>(state.range(0)), round);
    const std::filesystem::path dir = std::filesystem::temp_directory_path() / "torva-pairing-bench";
    std::filesystem::create_directories(dir);
    PairingOptions options;
    options.trace.directory = dir;
    CRandomGenerator random(1);
    PairingRunInfo info;
    for (auto _ : state) {
        CResultTable t = played;
        benchmark::DoNotOptimize(GeneratePairing(t, round, random, options, &info));
    }
    state.counters["total"] = static_cast<double>(info.totalCost);
    std::error_code ec;
    std::filesystem::remove_all(dir, ec);
}

void GenerateWithoutTrace(benchmark::State& state, int round)
{
    const CResultTable played = Tournament(static_cast<int>(state.range(0)), round);
    PairingOptions options;
    options.trace.enabled = false;
    CRandomGenerator random(1);
    for (auto _ : state) {
        CResultTable t = played;
        benchmark::DoNotOptimize(GeneratePairing(t, round, random, options));
    }
}

void Matcher(benchmark::State& state, int round)
{
    const CPairingMatcher costs = Costs(static_cast<int>(state.range(0)), round);
    for (auto _ : state) {
        CPairingMatcher m = costs;
        std::string trace;
        m.Optimise(&trace);
        benchmark::DoNotOptimize(m.TotalCost());
    }
}

void ReferenceMatcher(benchmark::State& state, int round)
{
    const CPairingMatcher costs = Costs(static_cast<int>(state.range(0)), round);
    const int n = costs.SlotCount();
    test::ReferenceMatcher filled(n);
    for (int a = 0; a < n; ++a)
        for (int b = a + 1; b < n; ++b)
            filled.SetCost(a, b, costs.Cost(a, b));
    for (auto _ : state) {
        test::ReferenceMatcher m = filled;
        std::string trace;
        m.Optimise(trace);
        benchmark::DoNotOptimize(m.totalCost);
    }
}

// The stages before the matcher: totals, standings order, group positions
// and every pair's cost.
void PrepareAndCost(benchmark::State& state, int round)
{
    const CResultTable played = Tournament(static_cast<int>(state.range(0)), round);
    CRandomGenerator random(1);
    for (auto _ : state) {
        CResultTable t = played;
        const std::vector<int> slots = PrepareRound(t, round, random).rows;
        CPairingMatcher m;
        m.Init(static_cast<int>(slots.size()));
        BuildPairCosts(t, PairingPenalties{}, round, slots, m);
        benchmark::DoNotOptimize(m.Cost(0, 1));
    }
}

void CostTrace(benchmark::State& state, int round)
{
    const CPairingMatcher costs = Costs(static_cast<int>(state.range(0)), round);
    for (auto _ : state)
        benchmark::DoNotOptimize(FormatCostTrace(costs));
}

// Writing both trace files of a late 512-player round.
void TraceWrite(benchmark::State& state, int round)
{
    const CPairingMatcher costs = Costs(static_cast<int>(state.range(0)), round);
    const std::string costTrace = FormatCostTrace(costs);
    CPairingMatcher m = costs;
    std::string stepTrace;
    m.Optimise(&stepTrace);
    const std::filesystem::path dir = std::filesystem::temp_directory_path() / "torva-pairing-bench";
    std::filesystem::create_directories(dir);
    PairingTraceOptions options;
    options.directory = dir;
    for (auto _ : state)
        benchmark::DoNotOptimize(WriteTraceFiles(options, costTrace, stepTrace));
    std::error_code ec;
    std::filesystem::remove_all(dir, ec);
}

#ifdef TABRY_BENCH_LEMON
// The optimum of the same cost matrix: the solver's weights filled from the
// matrix and the exact solve, timed together. The optimum and the matcher's
// total on the same matrix are shown beside it.
void ExactMatching(benchmark::State& state, int round)
{
    const CPairingMatcher costs = Costs(static_cast<int>(state.range(0)), round);
    const int n = costs.SlotCount();
    std::vector<std::int32_t> matrix(static_cast<size_t>(n) * static_cast<size_t>(n));
    for (int a = 0; a < n; ++a)
        for (int b = 0; b < n; ++b)
            matrix[static_cast<size_t>(a) * static_cast<size_t>(n) + static_cast<size_t>(b)] = costs.Cost(a, b);
    std::vector<int> partner;
    std::int64_t optimum = 0;
    for (auto _ : state)
        optimum = bench::ExactMinimumCost(n, matrix, partner);
    CPairingMatcher heuristic = costs;
    heuristic.Optimise();
    if (optimum < 0 || heuristic.TotalCost() < optimum)
        state.SkipWithError("the exact solve failed or lost to the heuristic: the yardstick is wrong");
    state.counters["total"] = static_cast<double>(optimum);
    state.counters["heuristic"] = static_cast<double>(heuristic.TotalCost());
}
#endif

void Sizes(benchmark::internal::Benchmark* b)
{
    for (int players : {32, 64, 128, 256, 512})
        b->Arg(players);
    b->Unit(benchmark::kMillisecond);
}

void ReferenceSizes(benchmark::internal::Benchmark* b)
{
    for (int players : {32, 64, 128, 256})
        b->Arg(players);
    b->Unit(benchmark::kMillisecond);
}

// The cost trace is written on a second thread: the CPU time of both counts.
BENCHMARK_CAPTURE(GenerateWithTrace, Round1, 0)->Apply(Sizes)->MeasureProcessCPUTime();
BENCHMARK_CAPTURE(GenerateWithTrace, Late, kLateRound)->Apply(Sizes)->MeasureProcessCPUTime();
BENCHMARK_CAPTURE(GenerateWithoutTrace, Round1, 0)->Apply(Sizes);
BENCHMARK_CAPTURE(GenerateWithoutTrace, Late, kLateRound)->Apply(Sizes);
BENCHMARK_CAPTURE(Matcher, Round1, 0)->Apply(Sizes);
BENCHMARK_CAPTURE(Matcher, Late, kLateRound)->Apply(Sizes);
BENCHMARK_CAPTURE(PrepareAndCost, Late, kLateRound)->Arg(512)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(CostTrace, Late, kLateRound)->Arg(512)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(TraceWrite, Late, kLateRound)->Arg(512)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(ReferenceMatcher, Round1, 0)->Apply(ReferenceSizes);
BENCHMARK_CAPTURE(ReferenceMatcher, Late, kLateRound)->Apply(ReferenceSizes);
#ifdef TABRY_BENCH_LEMON
BENCHMARK_CAPTURE(ExactMatching, Late, kLateRound)->Arg(512)->Unit(benchmark::kMillisecond);
#endif

} // namespace
} // namespace tabry

int main(int argc, char** argv)
{
    return tabry::bench::RunBenchmarksWithRatios(
        argc, argv,
        {
            {"late round of 512, trace files included / exact solve", "GenerateWithTrace/Late/512/process_time",
             "ExactMatching/Late/512", 0.15},
            {"late round of 512, matcher alone / exact solve", "Matcher/Late/512", "ExactMatching/Late/512", 0},
        });
}
