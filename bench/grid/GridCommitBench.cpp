// From a committed game to the repainted grid, offscreen: the change through
// the edit path with everything the program hangs on it (the history, the
// crash journal, the grid's own repaint), against the same commit and
// repaint without the history and journal. The journal is written after the
// repaint (it is posted behind it), so it is timed on its own as well.
#include "app/EditHistory.h"
#include "bench/support/BenchTournaments.h"
#include "edit/RecoveryJournal.h"
#include "edit/TournamentEditor.h"
#include "grid/ResultGrid.h"
#include "tests/support/TestSupport.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QElapsedTimer>

#include <memory>

namespace tabry {
namespace {

// The grid shown offscreen at the program's default size.
struct Desk {
    CTournamentEditor editor;
    std::unique_ptr<app::CEditHistory> history;
    test::TempDir dir;
    std::unique_ptr<CRecoveryJournal> journal;
    std::unique_ptr<CJournalKeeper> keeper;
    std::unique_ptr<grid::CResultGrid> grid;

    Desk(int players, int rounds, bool everything) : editor(bench::FullTournament(players, rounds, "player"))
    {
        if (everything) {
            history = std::make_unique<app::CEditHistory>(editor);
            journal = std::make_unique<CRecoveryJournal>(dir.Path());
            journal->SetFlushToDisk(false);
            keeper = std::make_unique<CJournalKeeper>(editor, *journal);
            keeper->SetScheduler([](std::function<void()> task) {
                QMetaObject::invokeMethod(qApp, std::move(task), Qt::QueuedConnection);
            });
        }
        grid = std::make_unique<grid::CResultGrid>(editor);
        grid->resize(760, 480);
        grid->show();
        QApplication::processEvents();
    }

    // A game of the visible area changes its result, as Enter in the result
    // editor commits it, and the grid repaints.
    void CommitAndRepaint(int i)
    {
        const int row = (i * 2) % 16;
        const int round = (i / 8) % 4;
        const ResultCell c = editor.Table().Cell(row, round);
        editor.SetGame(row, round, c.opponent, c.result == ResultWin ? ResultLoss : ResultWin, c.result == ResultWin ? -6 : 6);
        grid->viewport()->repaint();
    }
};

void BM_CommitToRepaint(benchmark::State& state)
{
    Desk desk(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)), state.range(2) != 0);
    int i = 0;
    for (auto _ : state) {
        desk.CommitAndRepaint(i++);
        state.PauseTiming();
        QApplication::processEvents(); // the journal's posted write, outside the timing
        state.ResumeTiming();
    }
}
// Arguments: players, rounds, with history and journal (1) or without (0).
BENCHMARK(BM_CommitToRepaint)
    ->Args({64, 7, 0})
    ->Args({64, 7, 1})
    ->Args({512, 128, 0})
    ->Args({512, 128, 1})
    ->Unit(benchmark::kMillisecond);

// The posted journal write that follows each commit, on its own.
void BM_JournalAfterCommit(benchmark::State& state)
{
    Desk desk(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)), true);
    int i = 0;
    for (auto _ : state) {
        state.PauseTiming();
        desk.CommitAndRepaint(i++);
        state.ResumeTiming();
        desk.keeper->Flush();
    }
}
BENCHMARK(BM_JournalAfterCommit)->Args({64, 7})->Args({512, 128})->Unit(benchmark::kMillisecond);

} // namespace
} // namespace tabry

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
