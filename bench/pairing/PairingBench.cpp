// How long the organiser waits for a pairing, from 32 to 512 players, in the
// first round (one big group of equal players) and in a late round of a
// simulated Swiss tournament (nine rounds played). The reference rows time
// the plain nested scans on the same cost matrices; at 512 players they take
// minutes and are left out.
//
//   pairing_bench --benchmark_filter=Generate   the whole run, trace files included
#include "pairing/PairingCost.h"
#include "pairing/PairingGenerator.h"
#include "pairing/PairingMatcher.h"
#include "pairing/RandomGenerator.h"
#include "tests/pairing/ReferenceMatcher.h"
#include "tests/pairing/SimulatedTournament.h"

#include <benchmark/benchmark.h>

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
    for (auto _ : state) {
        CResultTable t = played;
        benchmark::DoNotOptimize(GeneratePairing(t, round, random, options));
    }
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

BENCHMARK_CAPTURE(GenerateWithTrace, Round1, 0)->Apply(Sizes);
BENCHMARK_CAPTURE(GenerateWithTrace, Late, kLateRound)->Apply(Sizes);
BENCHMARK_CAPTURE(GenerateWithoutTrace, Round1, 0)->Apply(Sizes);
BENCHMARK_CAPTURE(GenerateWithoutTrace, Late, kLateRound)->Apply(Sizes);
BENCHMARK_CAPTURE(Matcher, Round1, 0)->Apply(Sizes);
BENCHMARK_CAPTURE(Matcher, Late, kLateRound)->Apply(Sizes);
BENCHMARK_CAPTURE(ReferenceMatcher, Round1, 0)->Apply(ReferenceSizes);
BENCHMARK_CAPTURE(ReferenceMatcher, Late, kLateRound)->Apply(ReferenceSizes);

} // namespace
} // namespace tabry
