// The results grid of the largest table (512 players x 128 rounds) in the
// program's own main window, offscreen, with the grid 1280 x 800: opening the
// file until the grid's first paint, a full repaint, and scrolling by the
// scroll bars and by keys, each until its paint is done. Each scroll and the
// opening are printed as a share of a full repaint of the same window
// measured in the same run.
//
//   grid_view_bench --benchmark_repetitions=9 --benchmark_enable_random_interleaving=true
//   grid_view_bench --peak-memory     the peak resident memory with the table open
#include "app/MainFrame.h"
#include "app/TabryApp.h"
#include "app/TabryDoc.h"
#include "bench/support/BenchRatios.h"
#include "bench/support/BenchTournaments.h"
#include "edit/TournamentEditor.h"
#include "grid/ResultGrid.h"
#include "grid/TabryView.h"
#include "tests/support/TestSupport.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QKeyEvent>
#include <QScrollBar>
#include <QStandardPaths>
#include <QWheelEvent>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <memory>
#include <string>

namespace tabry {
namespace {

constexpr int kPlayers = 512;
constexpr int kRounds = 128;
constexpr int kGridWidth = 1280;
constexpr int kGridHeight = 800;

QString Q(const std::filesystem::path& path)
{
    return QString::fromStdU16String(path.u16string());
}

// Counts the paints of the grid's viewport, so that a step is timed until
// what it asked for is on the (offscreen) screen.
class CPaintCounter : public QObject {
public:
    int paints = 0;
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Paint) {
            ++paints;
            if (getenv("GVB_DEBUG")) {
                auto r = static_cast<QPaintEvent*>(event)->region().boundingRect();
                fprintf(stderr, "paint %d,%d %dx%d\n", r.x(), r.y(), r.width(), r.height());
            }
        }
        return false;
    }
};

// The program as it runs, in a throw-away installation, with the table's
// file on disk.
struct Desk {
    test::TempDir dir;
    std::filesystem::path file = dir / "largest.stg";
    std::unique_ptr<app::CTabryApp> app;
    CPaintCounter counter;

    Desk()
    {
        QStandardPaths::setTestModeEnabled(true);
        CTournamentEditor writer(bench::FullTournament(kPlayers, kRounds, "player"));
        if (!writer.SaveFile(file))
            std::fprintf(stderr, "grid_view_bench: cannot write %s\n", file.string().c_str());
        app::AppOptions options;
        std::filesystem::create_directories(dir / "bin");
        options.executablePath = Q(dir / "bin" / "torva");
        options.settingsFile = Q(dir / "settings.ini");
        options.userDataDirectory = Q(dir / "user");
        options.associationDataHome = Q(dir / "share");
        options.associationConfigHome = Q(dir / "config");
        options.checkAssociation = false;
        app = std::make_unique<app::CTabryApp>(options);
        app->InitInstance();
        QApplication::processEvents();
        Open();
        // The frame grows until the grid's client area is the measured size.
        for (int i = 0; i < 3; ++i) {
            const QSize extra = app->MainFrame()->size() - Grid()->viewport()->size();
            app->MainFrame()->resize(kGridWidth + extra.width(), kGridHeight + extra.height());
            QApplication::processEvents();
        }
    }

    grid::CResultGrid* Grid() const { return app->View()->Grid(); }

    // Runs the event loop until the grid has painted once more.
    bool WaitForPaint(int before)
    {
        for (int i = 0; i < 1000 && counter.paints == before; ++i)
            QApplication::processEvents();
        return counter.paints != before;
    }

    // Opens the file as the program does and waits for the new grid's first paint.
    bool Open()
    {
        counter.paints = 0;
        QObject::connect(app->View(), &grid::CTabryView::gridCreated, &counter,
                         [this](grid::CResultGrid* grid) { grid->viewport()->installEventFilter(&counter); });
        const bool opened = app->Document().OnOpenDocument(Q(file));
        QObject::disconnect(app->View(), &grid::CTabryView::gridCreated, &counter, nullptr);
        return opened && WaitForPaint(0);
    }

    // Scrolled to the same place in the middle of the table before every
    // measurement, as the thumbs would take it there.
    void Middle()
    {
        for (QScrollBar* bar : {Grid()->verticalScrollBar(), Grid()->horizontalScrollBar()}) {
            bar->setSliderDown(true);
            bar->setSliderPosition(bar == Grid()->verticalScrollBar() ? 200 : 40);
            bar->setSliderDown(false);
        }
        Grid()->SelectCell(41, 205);
        QApplication::processEvents();
    }

    void Key(int key)
    {
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
        QApplication::sendEvent(Grid(), &press);
    }
};

// Made by the first benchmark that runs, gone before the application.
std::unique_ptr<Desk> g_desk;

Desk& TheDesk()
{
    if (!g_desk)
        g_desk = std::make_unique<Desk>();
    return *g_desk;
}

void Fail(benchmark::State& state, const char* what)
{
    state.SkipWithError(what);
}

// The opening without its paint: reading the file and what the program does
// before the new grid paints (the paint itself runs untimed).
void BM_OpenOnly(benchmark::State& state)
{
    Desk& desk = TheDesk();
    for (auto _ : state) {
        desk.counter.paints = 0;
        QObject::connect(desk.app->View(), &grid::CTabryView::gridCreated, &desk.counter,
                         [&desk](grid::CResultGrid* grid) { grid->viewport()->installEventFilter(&desk.counter); });
        desk.app->Document().OnOpenDocument(Q(desk.file));
        QObject::disconnect(desk.app->View(), &grid::CTabryView::gridCreated, &desk.counter, nullptr);
        state.PauseTiming();
        desk.WaitForPaint(0);
        state.ResumeTiming();
    }
}
BENCHMARK(BM_OpenOnly)->Unit(benchmark::kMillisecond);

void BM_OpenUntilFirstPaint(benchmark::State& state)
{
    Desk& desk = TheDesk();
    for (auto _ : state) {
        if (!desk.Open())
            return Fail(state, "the grid did not paint");
    }
}
BENCHMARK(BM_OpenUntilFirstPaint)->Unit(benchmark::kMillisecond);

void BM_FullRepaint(benchmark::State& state)
{
    Desk& desk = TheDesk();
    desk.Middle();
    for (auto _ : state) {
        const int before = desk.counter.paints;
        desk.Grid()->viewport()->update();
        if (!desk.WaitForPaint(before))
            return Fail(state, "no paint");
    }
}
BENCHMARK(BM_FullRepaint)->Unit(benchmark::kMillisecond);

// A scroll-bar action, forth and back in turn so that the position stays.
void ScrollBy(benchmark::State& state, bool vertical, QAbstractSlider::SliderAction forth,
              QAbstractSlider::SliderAction back)
{
    Desk& desk = TheDesk();
    desk.Middle();
    bool forward = true;
    for (auto _ : state) {
        QScrollBar* bar = vertical ? desk.Grid()->verticalScrollBar() : desk.Grid()->horizontalScrollBar();
        const int before = desk.counter.paints;
        bar->triggerAction(forward ? forth : back);
        forward = !forward;
        if (!desk.WaitForPaint(before))
            return Fail(state, "no paint");
    }
}
BENCHMARK_CAPTURE(ScrollBy, PageVertical, true, QAbstractSlider::SliderPageStepAdd, QAbstractSlider::SliderPageStepSub)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(ScrollBy, PageHorizontal, false, QAbstractSlider::SliderPageStepAdd,
                  QAbstractSlider::SliderPageStepSub)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(ScrollBy, LineVertical, true, QAbstractSlider::SliderSingleStepAdd,
                  QAbstractSlider::SliderSingleStepSub)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(ScrollBy, LineHorizontal, false, QAbstractSlider::SliderSingleStepAdd,
                  QAbstractSlider::SliderSingleStepSub)
    ->Unit(benchmark::kMillisecond);

// Partial scrolls: a notch of the mouse wheel (three rows) and the vertical
// thumb dragged by five rows, forth and back in turn.
void PartialScroll(benchmark::State& state, bool wheel)
{
    Desk& desk = TheDesk();
    desk.Middle();
    bool forward = true;
    for (auto _ : state) {
        const int before = desk.counter.paints;
        if (wheel) {
            const QPoint at(300, 300);
            QWheelEvent event(at, desk.Grid()->viewport()->mapToGlobal(at), QPoint(), QPoint(0, forward ? -120 : 120),
                              Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
            QApplication::sendEvent(desk.Grid()->viewport(), &event);
        } else {
            QScrollBar* bar = desk.Grid()->verticalScrollBar();
            bar->setSliderDown(true);
            bar->setSliderPosition(bar->sliderPosition() + (forward ? 5 : -5));
            bar->setSliderDown(false);
        }
        forward = !forward;
        if (!desk.WaitForPaint(before))
            return Fail(state, "no paint");
    }
}
BENCHMARK_CAPTURE(PartialScroll, Wheel, true)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(PartialScroll, ThumbFiveRows, false)->Unit(benchmark::kMillisecond);

// Keys that scroll: Page Down and Page Up (to the last and the first row),
// and Down / Up held at the window's edge (one row at a time).
void KeyScroll(benchmark::State& state, int forth, int back, bool atEdge)
{
    Desk& desk = TheDesk();
    desk.Middle();
    grid::CResultGrid* grid = desk.Grid();
    const int rows = grid->Navigator().VisibleRows();
    bool forward = true;
    for (auto _ : state) {
        state.PauseTiming();
        if (atEdge) {
            // The cursor on the last row shown (or the first), so the key scrolls.
            const int top = grid->Navigator().TopRow();
            grid->SelectCell(grid->CurCol(), forward ? top + rows - 1 : top);
            QApplication::processEvents();
        }
        const int before = desk.counter.paints;
        state.ResumeTiming();
        desk.Key(forward ? forth : back);
        forward = !forward;
        if (!desk.WaitForPaint(before))
            return Fail(state, "no paint");
    }
}
BENCHMARK_CAPTURE(KeyScroll, PageDownUp, Qt::Key_PageDown, Qt::Key_PageUp, false)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(KeyScroll, DownUpAtEdge, Qt::Key_Down, Qt::Key_Up, true)->Unit(benchmark::kMillisecond);

// The peak resident memory of a run that opens the table and shows it, in MiB.
int PeakMemory()
{
    Desk& desk = TheDesk();
    desk.Middle();
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmHWM:", 0) == 0) {
            std::printf("peak resident memory with %d x %d open: %.1f MiB\n", kPlayers, kRounds,
                        std::stod(line.substr(6)) / 1024.0);
            return 0;
        }
    }
    std::printf("peak resident memory: not known on this system\n");
    return 1;
}

} // namespace
} // namespace tabry

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (argc > 1 && std::strcmp(argv[1], "--peak-memory") == 0) {
        const int status = tabry::PeakMemory();
        tabry::g_desk.reset();
        return status;
    }
    tabry::TheDesk(); // the window up before anything is timed
    const int status = tabry::bench::RunBenchmarksWithRatios(
        argc, argv,
        {
            {"opening until the first paint / full repaint", "BM_OpenUntilFirstPaint", "BM_FullRepaint", 4},
            {"page scroll by the scroll bar, vertical / full repaint", "ScrollBy/PageVertical", "BM_FullRepaint", 0.25},
            {"page scroll by the scroll bar, horizontal / full repaint", "ScrollBy/PageHorizontal", "BM_FullRepaint",
             0.25},
            {"Page Down / Page Up / full repaint", "KeyScroll/PageDownUp", "BM_FullRepaint", 0.25},
            // Scrolls by less than a window, for comparison.
            {"line scroll by the scroll bar, vertical / full repaint", "ScrollBy/LineVertical", "BM_FullRepaint", 0},
            {"line scroll by the scroll bar, horizontal / full repaint", "ScrollBy/LineHorizontal", "BM_FullRepaint",
             0},
            {"Down / Up at the window's edge / full repaint", "KeyScroll/DownUpAtEdge", "BM_FullRepaint", 0},
            {"a notch of the wheel (3 rows) / full repaint", "PartialScroll/Wheel", "BM_FullRepaint", 0},
            {"the thumb dragged by 5 rows / full repaint", "PartialScroll/ThumbFiveRows", "BM_FullRepaint", 0},
            {"opening without its paint / full repaint", "BM_OpenOnly", "BM_FullRepaint", 0},
        });
    tabry::g_desk.reset();
    return status;
}
