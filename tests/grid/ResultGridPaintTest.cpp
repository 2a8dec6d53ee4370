// Pixels of a painted grid at the stated coordinates: fills, borders, header
// highlight lines, the current-cell frame and the selected column.

#include "grid/GridPalette.h"
#include "tests/grid/GridWidgetFixture.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QScrollBar>
#include <QTest>

namespace tabry::test {
namespace {

using grid::GridPalette;

constexpr QRgb kWhite = qRgb(255, 255, 255);

// 4 rows (3 with players) x 3 rounds in a 600 x 250 client area:
// player 30..142, rounds 142..190..238..286, totals 286..414, filler to 600;
// rows 16..52..88..124..160, then the empty area.
struct PaintFixture : testing::Test {
    CTournamentEditor editor{MakeTournament(4, 3, 3)};
    const TournamentData& data = editor.Data();
    std::unique_ptr<TestGrid> grid;

    void SetUp() override
    {
        editor.SetGame(0, 0, 1, ResultWin, 12);
        grid = ShowGrid(editor, 600, 250);
        ASSERT_EQ(grid->viewport()->size(), QSize(600, 250));
    }
    static bool HasInk(const QImage& img, QRect area)
    {
        for (int y = area.top(); y <= area.bottom(); ++y) {
            for (int x = area.left(); x <= area.right(); ++x) {
                if (qGray(img.pixel(x, y)) < 128)
                    return true;
            }
        }
        return false;
    }
};

TEST_F(PaintFixture, CornerHasHeaderFillBordersAndHighlight)
{
    const QImage img = Shot(*grid);
    EXPECT_EQ(img.pixel(5, 5), GridPalette::kHeaderFill);
    EXPECT_EQ(img.pixel(0, 0), kWhite);                // highlight corner
    EXPECT_EQ(img.pixel(0, 14), kWhite);               // left highlight down to bottom - 2
    EXPECT_EQ(img.pixel(28, 0), kWhite);               // top highlight
    EXPECT_EQ(img.pixel(29, 0), kWhite);               // ... on to right - 1, over the border
    EXPECT_EQ(img.pixel(29, 5), GridPalette::kBorder); // right border
    EXPECT_EQ(img.pixel(5, 15), GridPalette::kBorder); // bottom border
    EXPECT_EQ(img.pixel(0, 15), GridPalette::kBorder);
}

TEST_F(PaintFixture, ColumnHeadersAndRowNumbers)
{
    const QImage img = Shot(*grid);
    // Player header 30..142 x 0..16: highlight along the left edge.
    EXPECT_EQ(img.pixel(30, 3), kWhite);
    EXPECT_EQ(img.pixel(30, 15), kWhite);
    EXPECT_EQ(img.pixel(33, 3), GridPalette::kHeaderFill);
    EXPECT_EQ(img.pixel(141, 3), GridPalette::kBorder);
    EXPECT_EQ(img.pixel(100, 15), GridPalette::kBorder);
    EXPECT_TRUE(HasInk(img, QRect(60, 2, 50, 12))); // "Player"
    // Row number of row 1 (0..30 x 52..88): highlight along the top edge.
    EXPECT_EQ(img.pixel(3, 52), kWhite);
    EXPECT_EQ(img.pixel(3, 55), GridPalette::kHeaderFill);
    EXPECT_EQ(img.pixel(29, 60), GridPalette::kBorder);
    EXPECT_EQ(img.pixel(3, 87), GridPalette::kBorder);
    EXPECT_TRUE(HasInk(img, QRect(8, 60, 14, 20))); // "2"
    // The filler header has the header look without a label.
    EXPECT_EQ(img.pixel(414, 5), kWhite);
    EXPECT_EQ(img.pixel(500, 5), GridPalette::kHeaderFill);
}

TEST_F(PaintFixture, CurrentCellFrameSitsJustInsideTheBorders)
{
    const QImage img = Shot(*grid);
    // Current cell (0, 0): 30..142 x 16..52.
    EXPECT_EQ(img.pixel(30, 30), GridPalette::kCurrentFrame);  // left
    EXPECT_EQ(img.pixel(140, 30), GridPalette::kCurrentFrame); // right - 2
    EXPECT_EQ(img.pixel(100, 16), GridPalette::kCurrentFrame); // top
    EXPECT_EQ(img.pixel(100, 50), GridPalette::kCurrentFrame); // bottom - 2
    EXPECT_EQ(img.pixel(141, 30), GridPalette::kBorder);
    EXPECT_EQ(img.pixel(100, 51), GridPalette::kBorder);
    EXPECT_EQ(img.pixel(100, 45), kWhite);
    // The next row's player cell has no frame.
    EXPECT_EQ(img.pixel(30, 60), kWhite);
    EXPECT_EQ(img.pixel(141, 60), GridPalette::kBorder);

    grid->SelectCell(2, 1);
    QApplication::processEvents();
    const QImage moved = Shot(*grid);
    EXPECT_EQ(moved.pixel(30, 30), kWhite);
    EXPECT_EQ(moved.pixel(190, 60), GridPalette::kCurrentFrame);
    EXPECT_EQ(moved.pixel(236, 60), GridPalette::kCurrentFrame);
}

TEST_F(PaintFixture, TextsAppearInTheirRectangles)
{
    const QImage img = Shot(*grid);
    EXPECT_TRUE(HasInk(img, QRect(32, 18, 30, 14)));    // long name "p0"
    EXPECT_TRUE(HasInk(img, QRect(114, 18, 26, 14)));   // short name "s0"
    EXPECT_TRUE(HasInk(img, QRect(160, 18, 28, 14)));   // opponent "s1", right-aligned
    EXPECT_TRUE(HasInk(img, QRect(150, 36, 38, 14)));   // "○+12"
    EXPECT_FALSE(HasInk(img, QRect(144, 53, 10, 30)));  // left part of a right-aligned cell
    EXPECT_TRUE(HasInk(img, QRect(330, 18, 82, 14)));   // totals record
    EXPECT_FALSE(HasInk(img, QRect(32, 126, 100, 30))); // empty row 3
}

TEST_F(PaintFixture, AHugeNameStaysInsideEveryCellThatShowsItAndPaintsQuickly)
{
    // Row 2's player gets 10 MB names, double-byte characters among them;
    // row 1 meets him in round 3, so his short name is row 1's opponent
    // there. Row 3 below and round 2 left of that cell are empty.
    CPlayerRecord r = data.players.GetAt(data.table.Entry(2).playerIndex);
    const std::string piece = S("漢字WWW") + "\n";
    std::string huge;
    while (huge.size() < (10u << 20))
        huge += piece;
    r.m_longName = huge;
    r.m_shortName = huge;
    r.m_residence = huge;
    editor.EditPlayerRecord(data.table.Entry(2).playerIndex, r);
    editor.SetGame(1, 2, 2, ResultWin, 4);
    QElapsedTimer clock;
    clock.start();
    grid->viewport()->repaint();
    const QImage img = Shot(*grid);
    EXPECT_LT(clock.elapsed(), 3000);                   // cut before drawing: not seconds per cell
    EXPECT_TRUE(HasInk(img, QRect(32, 90, 50, 14)));    // row 2's long name is there
    EXPECT_FALSE(HasInk(img, QRect(32, 126, 100, 30))); // but not in row 3 below
    EXPECT_FALSE(HasInk(img, QRect(192, 54, 44, 32)));  // nor in round 2 of row 1
    EXPECT_FALSE(HasInk(img, QRect(240, 126, 44, 30))); // nor under the round-3 cell
}

TEST_F(PaintFixture, SelectedColumnIsFilledFromHeaderToLastRow)
{
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, QPoint(200, 8));
    QApplication::processEvents();
    EXPECT_EQ(grid->SelCol(), 2);
    const QImage img = Shot(*grid);
    EXPECT_EQ(img.pixel(195, 3), GridPalette::kSelectedHeader);
    EXPECT_EQ(img.pixel(190, 3), kWhite); // its highlight line
    EXPECT_EQ(img.pixel(195, 60), GridPalette::kSelectedFill);
    EXPECT_EQ(img.pixel(195, 150), GridPalette::kSelectedFill); // empty row too
    EXPECT_EQ(img.pixel(237, 60), GridPalette::kBorder);
    EXPECT_EQ(img.pixel(150, 60), kWhite); // other columns stay white
    EXPECT_EQ(img.pixel(195, 200), GridPalette::kEmptyArea);
    // The label turns white.
    bool lightLabel = false;
    for (int x = 200; x < 230; ++x) {
        for (int y = 1; y < 15; ++y)
            lightLabel = lightLabel || qGray(img.pixel(x, y)) > 160;
    }
    EXPECT_TRUE(lightLabel);
}

TEST_F(PaintFixture, TotalsHeaderClickSelectsTheTotalsColumn)
{
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, QPoint(350, 8));
    QApplication::processEvents();
    const QImage img = Shot(*grid);
    EXPECT_EQ(img.pixel(290, 3), GridPalette::kSelectedHeader);
    EXPECT_EQ(img.pixel(290, 100), GridPalette::kSelectedFill);
}

TEST_F(PaintFixture, AreasWithoutCellsShowTheBackgroundColour)
{
    const QImage img = Shot(*grid);
    EXPECT_EQ(img.pixel(500, 60), GridPalette::kEmptyArea);  // right of the totals
    EXPECT_EQ(img.pixel(100, 200), GridPalette::kEmptyArea); // below the last row
    EXPECT_EQ(img.pixel(10, 200), GridPalette::kEmptyArea);  // no row number there
    EXPECT_EQ(img.pixel(35, 130), kWhite);                   // empty row 3 is drawn
    EXPECT_EQ(img.pixel(141, 130), GridPalette::kBorder);
}

TEST_F(PaintFixture, ScrolledGridDrawsRoundOneRightOfTheRowNumbers)
{
    grid->horizontalScrollBar()->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    QApplication::processEvents();
    EXPECT_EQ(grid->Navigator().LeftCol(), 1);
    const QImage img = Shot(*grid);
    EXPECT_EQ(img.pixel(30, 3), kWhite); // round 1's header highlight at x = 30
    EXPECT_EQ(img.pixel(31, 3), GridPalette::kHeaderFill);
    EXPECT_EQ(img.pixel(77, 60), GridPalette::kBorder); // round 1 ends at 78
    EXPECT_EQ(img.pixel(31, 60), kWhite);
    EXPECT_EQ(img.pixel(29, 60), GridPalette::kBorder); // row numbers stay
    EXPECT_TRUE(HasInk(img, QRect(46, 18, 30, 14)));    // s1 in round 1 of row 0
}

} // namespace
} // namespace tabry::test
