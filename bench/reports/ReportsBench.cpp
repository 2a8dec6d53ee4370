// Every report of the largest table the program accepts (512 players, 128
// rounds, every round played): a report must come back at the desk without
// a noticeable wait.
#include "bench/support/BenchTournaments.h"
#include "outputs/OutputKinds.h"
#include "text/Cp932.h"

#include <benchmark/benchmark.h>

namespace tabry {
namespace {

// Long names of eight double-byte characters: the widest columns.
TournamentData LargestTournament()
{
    std::string family;
    for (int i = 0; i < 8; ++i)
        family += SJ("漢");
    return bench::FullTournament(kMaxPlayers, kMaxRounds, family);
}

void BM_Report(benchmark::State& state)
{
    TournamentData d = LargestTournament();
    const OutputKindInfo& kind = OutputKinds()[static_cast<size_t>(state.range(0))];
    state.SetLabel(std::string(kind.name));
    const int round = kind.round == RoundUse::None ? 0 : kMaxRounds / 2;
    std::string out;
    for (auto _ : state) {
        RenderOutput(kind.kind, d, round, out, nullptr);
        benchmark::DoNotOptimize(out.data());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * static_cast<std::int64_t>(out.size()));
}
// The text kinds of the table of output kinds, by position (the label names them).
BENCHMARK(BM_Report)->DenseRange(0, 5)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace tabry
