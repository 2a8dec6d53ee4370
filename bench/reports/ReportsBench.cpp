// Every report of the largest table the program accepts (512 players, 128
// rounds, every round played): a report must come back at the desk without
// a noticeable wait.
#include "text/Cp932.h"
#include "reports/Reports.h"

#include <benchmark/benchmark.h>

namespace tabry {
namespace {

TournamentData LargestTournament()
{
    TournamentData d;
    d.table.Clear();
    d.table.Resize(kMaxPlayers, kMaxRounds);
    std::string family;
    for (int i = 0; i < 8; ++i)
        family += SJ("漢");
    for (int r = 0; r < kMaxPlayers; ++r) {
        const std::string n = std::to_string(r);
        // NOLINTNEXTLINE(performance-inefficient-string-concatenation): fixture set-up, outside the timed loop
        d.table.Entry(r).playerIndex = d.players.Add(family + " " + n, "p" + n, "s" + n, SJ("鹿児島"), r % 19 - 9, n);
    }
    // Round j pairs row r with r XOR (2j + 1).
    for (int j = 0; j < kMaxRounds; ++j)
        for (int r = 0; r < kMaxPlayers; ++r) {
            const int o = r ^ (2 * j + 1);
            const std::int8_t result = static_cast<std::int8_t>((r + j) % 3 - 1);
            const std::int8_t disc = static_cast<std::int8_t>((r * 7 + j) % 65);
            if (r < o) {
                d.table.SetCell(r, j, ResultCell{o, result, disc, 0});
                d.table.SetCell(o, j, ResultCell{r, static_cast<std::int8_t>(-result), static_cast<std::int8_t>(-disc), 0});
            }
        }
    d.table.settings.tieBreak = WinPointsASecondary;
    d.table.Sort(WinPointsASecondary, false);
    d.info.name = SJ("全国大会");
    d.info.year = 2024;
    return d;
}

void BM_Report(benchmark::State& state)
{
    TournamentData d = LargestTournament();
    const auto kind = static_cast<ReportKind>(state.range(0));
    std::string out;
    for (auto _ : state) {
        RenderReport(kind, d, kMaxRounds / 2, out, nullptr);
        benchmark::DoNotOptimize(out.data());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * static_cast<std::int64_t>(out.size()));
}
// 0 RatingCsv, 1 Text, 2 Html, 3 Zep, 4 ScoreSheet, 5 ScoreSheetThrough, 6 PairingTable
BENCHMARK(BM_Report)->DenseRange(0, 6)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace tabry
