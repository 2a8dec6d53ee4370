#include "grid/GridLayout.h"

#include <gtest/gtest.h>

namespace tabry::grid {
namespace {

// 10 players, 6 rounds in a 600 x 300 client area.
CGridLayout MakeLayout(int top = 0, int left = 0)
{
    CGridLayout layout;
    layout.SetTable(10, 6);
    layout.SetClientSize(600, 300);
    layout.SetTopRow(top);
    layout.SetLeftCol(left);
    return layout;
}

TEST(GridLayoutTest, CellRectsUnscrolledFollowTheFixedWidthsAndHeights)
{
    const CGridLayout l = MakeLayout();
    EXPECT_EQ(l.CellRect(-1, -1), (GridRect{0, 0, 30, 16}));
    EXPECT_EQ(l.CellRect(0, -1), (GridRect{30, 0, 142, 16}));
    EXPECT_EQ(l.CellRect(1, 0), (GridRect{142, 16, 190, 52}));
    EXPECT_EQ(l.CellRect(6, 9), (GridRect{382, 340, 430, 376}));
    EXPECT_EQ(l.CellRect(7, 2), (GridRect{430, 88, 558, 124}));  // totals
    EXPECT_EQ(l.CellRect(8, 0), (GridRect{558, 16, 600, 52}));   // filler to the right edge
    EXPECT_EQ(l.CellRect(0, 10), (GridRect{30, 376, 142, 376})); // below the last row: empty here
    EXPECT_TRUE(l.CellRect(0, 10).IsEmpty());
}

TEST(GridLayoutTest, FillerAndAreaBelowAreEmptyWhenTheWindowEndsBeforeThem)
{
    CGridLayout l;
    l.SetTable(3, 2);
    l.SetClientSize(300, 100);
    // Totals end at 142 + 96 + 128 = 366 > 300: no filler.
    EXPECT_TRUE(l.CellRect(4, 0).IsEmpty());
    EXPECT_EQ(l.CellRect(4, 0).left, 366);
    // Rows end at 16 + 108 = 124 > 100: nothing below.
    EXPECT_TRUE(l.CellRect(1, 3).IsEmpty());
    l.SetClientSize(400, 200);
    EXPECT_EQ(l.CellRect(4, 0), (GridRect{366, 16, 400, 52}));
    EXPECT_EQ(l.CellRect(1, 3), (GridRect{142, 124, 190, 200}));
}

TEST(GridLayoutTest, ScrolledRectsKeepHeaderAndRowNumbersFixed)
{
    const CGridLayout l = MakeLayout(3, 1);
    EXPECT_EQ(l.HorizontalOffset(), 112);
    EXPECT_EQ(l.VerticalOffset(), 108);
    EXPECT_EQ(l.CellRect(-1, 3), (GridRect{0, 16, 30, 52}));
    EXPECT_EQ(l.CellRect(1, -1), (GridRect{30, 0, 78, 16})); // round 1 right of the row numbers
    EXPECT_EQ(l.CellRect(0, 3).left, -82);                   // the player column is gone
    EXPECT_EQ(l.CellRect(2, 4), (GridRect{78, 52, 126, 88}));

    const CGridLayout l2 = MakeLayout(0, 2);
    EXPECT_EQ(l2.HorizontalOffset(), 160);
    EXPECT_EQ(l2.CellRect(2, 0).left, 30);
}

TEST(GridLayoutTest, CellAtFindsTheCellOnBothSidesOfEveryEdge)
{
    const CGridLayout l = MakeLayout();
    EXPECT_EQ(l.CellAt(29, 15), (GridCell{-1, -1}));
    EXPECT_EQ(l.CellAt(30, 16), (GridCell{0, 0}));
    EXPECT_EQ(l.CellAt(141, 51), (GridCell{0, 0}));
    EXPECT_EQ(l.CellAt(142, 52), (GridCell{1, 1}));
    EXPECT_EQ(l.CellAt(189, 0).col, 1);
    EXPECT_EQ(l.CellAt(190, 0).col, 2);
    EXPECT_EQ(l.CellAt(429, 0).col, 6);
    EXPECT_EQ(l.CellAt(430, 0).col, 7);
    EXPECT_EQ(l.CellAt(557, 0).col, 7);
    EXPECT_EQ(l.CellAt(558, 0).col, 8);
    EXPECT_EQ(l.CellAt(5000, 0).col, 8);
    EXPECT_EQ(l.CellAt(0, 375).row, 9);
    EXPECT_EQ(l.CellAt(0, 376).row, 10); // beyond the last row
}

TEST(GridLayoutTest, CellAtAccountsForTheScrollOffsets)
{
    const CGridLayout l = MakeLayout(3, 1);
    EXPECT_EQ(l.CellAt(29, 20), (GridCell{-1, 3}));
    EXPECT_EQ(l.CellAt(30, 16), (GridCell{1, 3}));
    EXPECT_EQ(l.CellAt(77, 51), (GridCell{1, 3}));
    EXPECT_EQ(l.CellAt(78, 52), (GridCell{2, 4}));
    EXPECT_EQ(l.CellAt(100, 10), (GridCell{2, -1}));
}

TEST(GridLayoutTest, CellAtAndCellRectAgreeForEveryVisibleCell)
{
    for (int left = 0; left <= 7; ++left) {
        for (int top = 0; top <= 9; top += 3) {
            const CGridLayout l = MakeLayout(top, left);
            for (int col = -1; col <= 8; ++col) {
                for (int row = -1; row <= 9; ++row) {
                    const GridRect r = l.CellRect(col, row);
                    if (r.IsEmpty() || (r.left < 30 && col >= 0) || (r.top < 16 && row >= 0))
                        continue; // hidden under the fixed header or row numbers
                    SCOPED_TRACE(testing::Message() << "col " << col << " row " << row << " left " << left);
                    EXPECT_EQ(l.CellAt(r.left, r.top), (GridCell{col, row}));
                    EXPECT_EQ(l.CellAt(r.right - 1, r.bottom - 1), (GridCell{col, row}));
                }
            }
        }
    }
}

TEST(GridLayoutTest, VisibleRowsAndColumns)
{
    CGridLayout l;
    l.SetTable(10, 6);
    l.SetClientSize(100, 15);
    EXPECT_EQ(l.VisibleRows(), 0);
    EXPECT_EQ(l.VisibleCols(), 1); // 100 / 48 - 2 = 0, raised to 1
    l.SetClientSize(480, 16 + 36 * 5 + 35);
    EXPECT_EQ(l.VisibleRows(), 5);
    EXPECT_EQ(l.VisibleCols(), 8);
    EXPECT_EQ(l.VerticalMaximum(), 9);
    EXPECT_EQ(l.HorizontalMaximum(), 7);
}

} // namespace
} // namespace tabry::grid
