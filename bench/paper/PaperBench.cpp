// The printed documents of the largest table the program accepts (512
// players, 128 rounds, every round played): the pairing sheet and the
// standings must come out as PDF within 300 ms; the whole result table
// (22 x 13 pages) is measured and reported.
#include "bench/support/BenchTournaments.h"
#include "outputs/OutputKinds.h"
#include "paper/PaperDocuments.h"
#include "text/Cp932.h"

#include <benchmark/benchmark.h>

namespace tabry {
namespace {

TournamentData LargestTournament()
{
    return bench::FullTournament(kMaxPlayers, kMaxRounds, SJ("長谷川　"));
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
