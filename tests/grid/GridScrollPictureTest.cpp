// What a scroll leaves on the screen against a full repaint of the same
// position: the pixels a scroll moves and the strips it paints must give
// exactly the picture that painting everything anew gives. The picture is
// the window's backing store itself (what reaches the screen), not a fresh
// rendering of the widget.

#include "grid/GridPalette.h"
#include "tests/grid/GridWidgetFixture.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QScreen>
#include <QScrollBar>
#include <QTest>
#include <QWheelEvent>

#include <functional>
#include <string>
#include <vector>

namespace tabry::test {
namespace {

// 60 rows (two empty at the end) x 30 rounds with games everywhere, byes,
// draws and a withdrawn player, so that every kind of cell scrolls past.
TournamentData Table()
{
    TournamentData data = MakeTournament(60, 30, 58);
    for (int round = 0; round < 30; ++round) {
        for (int row = 0; row < 58; ++row) {
            const int opponent = row ^ (round % 7 + 1);
            if (opponent < row || opponent >= 58 || (row + round) % 11 == 0)
                continue;
            PutGame(data, row, round, opponent, (row + round) % 3 - 1, (row * 7 + round) % 40);
        }
        data.table.SetCell(57, round, ResultCell{ByeOpponent, ResultWin, 2, 0});
    }
    data.table.Entry(12).withdrawnFrom = 20;
    data.table.ComputeAll();
    return data;
}

struct ScrollPictures : testing::Test {
    CTournamentEditor editor{Table()};
    std::unique_ptr<TestGrid> grid;

    void SetUp() override { grid = ShowGrid(editor, 650, 390); }

    // The viewport as the window's backing store holds it now.
    QImage OnScreen() const
    {
        QApplication::processEvents();
        QWidget* window = grid->window();
        const QPoint at = grid->viewport()->mapTo(window, QPoint(0, 0));
        const QSize size = grid->viewport()->size();
        return window->screen()
            ->grabWindow(window->winId(), at.x(), at.y(), size.width(), size.height())
            .toImage()
            .convertToFormat(QImage::Format_RGB32);
    }

    QImage Repainted() const
    {
        grid->viewport()->update();
        return OnScreen();
    }

    // After each step the picture on the screen must be the full repaint of
    // the same position, pixel for pixel. Steps of the scroll bars and the
    // wheel must have scrolled; a key scrolls only at the window's edges.
    void Check(const std::string& what, const std::function<void()>& step)
    {
        SCOPED_TRACE(what);
        const int top = grid->Navigator().TopRow();
        const int left = grid->Navigator().LeftCol();
        step();
        const QImage scrolled = OnScreen();
        const QImage full = Repainted();
        ASSERT_EQ(scrolled.size(), full.size());
        int differing = 0;
        QPoint firstDifference;
        for (int y = 0; y < full.height(); ++y)
            for (int x = 0; x < full.width(); ++x)
                if (scrolled.pixel(x, y) != full.pixel(x, y) && differing++ == 0)
                    firstDifference = QPoint(x, y);
        EXPECT_EQ(differing, 0) << "first at " << firstDifference.x() << "," << firstDifference.y()
                                << " scrolled from row " << top << ", column " << left << " to row "
                                << grid->Navigator().TopRow() << ", column " << grid->Navigator().LeftCol();
        const bool moved = grid->Navigator().TopRow() != top || grid->Navigator().LeftCol() != left;
        if (what.rfind("key", 0) != 0 && what.rfind("click", 0) != 0) {
            EXPECT_TRUE(moved) << "the step did not scroll";
        }
        scrolls += moved ? 1 : 0;
        ++steps;
    }

    void Bar(Qt::Orientation orientation, QAbstractSlider::SliderAction action)
    {
        (orientation == Qt::Vertical ? grid->verticalScrollBar() : grid->horizontalScrollBar())->triggerAction(action);
    }
    void Drag(Qt::Orientation orientation, int position)
    {
        QScrollBar* bar = orientation == Qt::Vertical ? grid->verticalScrollBar() : grid->horizontalScrollBar();
        bar->setSliderDown(true);
        bar->setSliderPosition(position);
        bar->setSliderDown(false);
    }
    void Key(Qt::Key key) { QTest::keyClick(grid.get(), key); }
    void Wheel(int notches)
    {
        const QPoint at(200, 200);
        QWheelEvent wheel(at, grid->viewport()->mapToGlobal(at), QPoint(), QPoint(0, -120 * notches), Qt::NoButton,
                          Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(grid->viewport(), &wheel);
    }

    int steps = 0;
    int scrolls = 0;
};

TEST_F(ScrollPictures, EveryWayOfScrollingLeavesTheFullRepaintsPicture)
{
    using A = QAbstractSlider::SliderAction;
    const Qt::Orientation v = Qt::Vertical;
    const Qt::Orientation h = Qt::Horizontal;
    // The scroll bars, a line and a page at a time, both ways.
    Check("bar: a row down", [&] { Bar(v, A::SliderSingleStepAdd); });
    Check("bar: another row down", [&] { Bar(v, A::SliderSingleStepAdd); });
    Check("bar: a page down", [&] { Bar(v, A::SliderPageStepAdd); });
    Check("bar: a row up", [&] { Bar(v, A::SliderSingleStepSub); });
    Check("bar: a page up", [&] { Bar(v, A::SliderPageStepSub); });
    Check("bar: the player column out of view", [&] { Bar(h, A::SliderSingleStepAdd); });
    Check("bar: a round right", [&] { Bar(h, A::SliderSingleStepAdd); });
    Check("bar: a page right", [&] { Bar(h, A::SliderPageStepAdd); });
    Check("bar: a round left", [&] { Bar(h, A::SliderSingleStepSub); });
    Check("bar: a page left, back to the player column", [&] { Bar(h, A::SliderPageStepSub); });
    // Partial scrolls: the thumbs dragged by less than a window, the wheel.
    Check("thumb: four rows down", [&] { Drag(v, grid->Navigator().TopRow() + 4); });
    Check("thumb: three rows up", [&] { Drag(v, grid->Navigator().TopRow() - 3); });
    Check("thumb: three columns right", [&] { Drag(h, 3); });
    Check("thumb: two columns left", [&] { Drag(h, 1); });
    Check("thumb: back to the player column", [&] { Drag(h, 0); });
    Check("thumb: far down", [&] { Drag(v, 40); });
    Check("wheel: down", [&] { Wheel(1); });
    Check("wheel: up twice", [&] { Wheel(-2); });
    // Keys: the cursor pushing the window at each edge, and the jumps.
    Check("key: Home", [&] { Key(Qt::Key_Home); });
    Check("key: Page Up to the first row", [&] { Key(Qt::Key_PageUp); });
    for (int i = 0; i < 10; ++i)
        Check("key: Down " + std::to_string(i), [&] { Key(Qt::Key_Down); });
    Check("key: Enter at the bottom edge", [&] { Key(Qt::Key_Return); });
    for (int i = 0; i < 16; ++i)
        Check("key: Right " + std::to_string(i), [&] { Key(Qt::Key_Right); });
    Check("key: Tab", [&] { Key(Qt::Key_Tab); });
    for (int i = 0; i < 12; ++i)
        Check("key: Up " + std::to_string(i), [&] { Key(Qt::Key_Up); });
    for (int i = 0; i < 16; ++i)
        Check("key: Left " + std::to_string(i), [&] { Key(Qt::Key_Left); });
    Check("key: End", [&] { Key(Qt::Key_End); });
    Check("key: Page Down to the last row", [&] { Key(Qt::Key_PageDown); });
    Check("key: Home again", [&] { Key(Qt::Key_Home); });
    // A selected column moves with the rest.
    Check("click: the header of round 2",
          [&] { QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, QPoint(200, 8)); });
    Check("bar: the selected column to the left", [&] { Bar(h, A::SliderSingleStepAdd); });
    Check("bar: a page up with the column selected", [&] { Bar(v, A::SliderPageStepSub); });
    EXPECT_EQ(steps, 82);
    EXPECT_GE(scrolls, 30); // the keys pushed the window at every edge
}

} // namespace
} // namespace tabry::test
