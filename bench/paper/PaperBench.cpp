// The printed documents of the largest table the program accepts (512
// players, 128 rounds, every round played): the pairing sheet and the
// standings must come out as PDF within 300 ms; the whole result table
// (22 x 13 pages) is measured and reported.
#include "text/Cp932.h"
#include "core/TournamentData.h"
#include "outputs/OutputKinds.h"
#include "paper/PaperDocuments.h"

#include <benchmark/benchmark.h>

namespace tabry {
namespace {

TournamentData LargestTournament()
{
    TournamentData d;
    d.table.Clear();
    d.table.Resize(kMaxPlayers, kMaxRounds);
    const std::string family = SJ("長谷川");
    for (int r = 0; r < kMaxPlayers; ++r) {
        const std::string n = std::to_string(r);
        d.table.Entry(r).playerIndex =
            d.players.Add(family + SJ("　") + n, "p" + n, "s" + n, SJ("鹿児島"), r % 19 - 9, n);
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

const OutputKind kKinds[] = {OutputKind::PdfPairing, OutputKind::PdfStandings, OutputKind::PdfTable};

// The whole PDF as torva-cli writes it: layout, then cairo and pango.
void BM_Pdf(benchmark::State& state)
{
    TournamentData d = LargestTournament();
    const OutputKind kind = kKinds[state.range(0)];
    state.SetLabel(std::string(OutputKindOf(kind).name));
    std::string out;
    for (auto _ : state) {
        RenderOutput(kind, d, kMaxRounds, out, nullptr);
        benchmark::DoNotOptimize(out.data());
    }
    state.counters["bytes"] = static_cast<double>(out.size());
}
BENCHMARK(BM_Pdf)->DenseRange(0, 2)->Unit(benchmark::kMillisecond);

// The page description alone (what the print preview starts from).
void BM_Layout(benchmark::State& state)
{
    TournamentData d = LargestTournament();
    const paper::PaperKind kind = static_cast<paper::PaperKind>(state.range(0));
    paper::PaperDocument doc;
    for (auto _ : state) {
        doc = paper::LayoutPaper(kind, d, kMaxRounds);
        benchmark::DoNotOptimize(doc.pages.data());
    }
    state.SetLabel(cp932::ToUtf8(doc.title));
    state.counters["pages"] = static_cast<double>(doc.pages.size());
}
BENCHMARK(BM_Layout)->DenseRange(0, 2)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace tabry
