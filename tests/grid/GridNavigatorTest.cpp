#include "grid/GridNavigator.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tabry::grid {
namespace {

// Records what the navigator asks of its window.
class RecordingSurface : public IGridSurface {
public:
    struct Scroll {
        GridRect area;
        int dx;
        int dy;
    };
    std::vector<GridRect> invalidated;
    std::vector<Scroll> scrolls;
    int vMax = -1, vPage = -1, vPos = -1;
    int hMax = -1, hPage = -1, hPos = -1;

    void Invalidate(const GridRect& rect) override { invalidated.push_back(rect); }
    void ScrollPixels(const GridRect& area, int dx, int dy) override { scrolls.push_back({area, dx, dy}); }
    void SetVerticalBar(int maximum, int page, int position) override
    {
        vMax = maximum;
        vPage = page;
        vPos = position;
    }
    void SetHorizontalBar(int maximum, int page, int position) override
    {
        hMax = maximum;
        hPage = page;
        hPos = position;
    }
    void SetVerticalPosition(int position) override { vPos = position; }
    void SetHorizontalPosition(int position) override { hPos = position; }
    void Clear()
    {
        invalidated.clear();
        scrolls.clear();
    }
    bool Invalidated(const GridRect& r) const
    {
        for (const GridRect& i : invalidated) {
            if (i == r)
                return true;
        }
        return false;
    }
};

// 20 players x 6 rounds; 600 x 300 shows 7 full rows (16 + 7 x 36 = 268)
// and 10 scrollable columns.
struct NavigatorFixture : testing::Test {
    RecordingSurface surface;
    CGridNavigator nav{surface};

    void SetUp() override
    {
        nav.SetTable(20, 6);
        nav.Initialise(600, 300);
        surface.Clear();
    }
    void Key(GridKey key)
    {
        const KeyAction a = nav.ActionOfKey(key);
        if (a.kind == KeyAction::Move)
            nav.SelectCell(a.target.col, a.target.row);
    }
};

TEST_F(NavigatorFixture, InitialisationStartsAtTheFirstCellAndSetsBothBars)
{
    EXPECT_EQ(nav.Current(), (GridCell{0, 0}));
    EXPECT_EQ(nav.SelCol(), kNoColumn);
    EXPECT_EQ(nav.VisibleRows(), 7);
    EXPECT_EQ(nav.VisibleCols(), 10);
    EXPECT_EQ(surface.vMax, 19);
    EXPECT_EQ(surface.vPage, 7);
    EXPECT_EQ(surface.hMax, 7);
    EXPECT_EQ(surface.hPage, 10);
}

TEST_F(NavigatorFixture, ArrowKeysStopAtTheTableEdges)
{
    EXPECT_EQ(nav.ActionOfKey(GridKey::Up).kind, KeyAction::None);
    EXPECT_EQ(nav.ActionOfKey(GridKey::Left).kind, KeyAction::None);
    Key(GridKey::Down);
    Key(GridKey::Right);
    EXPECT_EQ(nav.Current(), (GridCell{1, 1}));
    Key(GridKey::Enter);
    EXPECT_EQ(nav.Current(), (GridCell{1, 2}));
    Key(GridKey::End);
    EXPECT_EQ(nav.Current(), (GridCell{6, 2}));
    EXPECT_EQ(nav.ActionOfKey(GridKey::Right).kind, KeyAction::None);
    Key(GridKey::Home);
    EXPECT_EQ(nav.Current(), (GridCell{0, 2}));
    Key(GridKey::PageDown);
    EXPECT_EQ(nav.Current(), (GridCell{0, 19}));
    EXPECT_EQ(nav.ActionOfKey(GridKey::Down).kind, KeyAction::None);
    EXPECT_EQ(nav.ActionOfKey(GridKey::Enter).kind, KeyAction::None);
    Key(GridKey::PageUp);
    EXPECT_EQ(nav.Current(), (GridCell{0, 0}));
}

TEST_F(NavigatorFixture, TabWrapsToRoundOneOfTheNextRowExceptOnTheLastRow)
{
    nav.SelectCell(6, 4);
    Key(GridKey::Tab);
    EXPECT_EQ(nav.Current(), (GridCell{1, 5}));
    Key(GridKey::Tab);
    EXPECT_EQ(nav.Current(), (GridCell{2, 5}));
    nav.SelectCell(6, 19);
    EXPECT_EQ(nav.ActionOfKey(GridKey::Tab).kind, KeyAction::None);
    nav.SelectCell(0, 3);
    Key(GridKey::Tab);
    EXPECT_EQ(nav.Current(), (GridCell{1, 3}));
}

TEST(GridNavigatorStatic, OnlyLettersDigitsPlusAndMinusOpenAnEditor)
{
    for (char32_t c : std::u32string(U"AZaz09+-"))
        EXPECT_TRUE(CGridNavigator::OpensEditor(c));
    for (char32_t c : std::u32string(U" .@[`{/*\r\t\x7f\u0141\uff21\u3042"))
        EXPECT_FALSE(CGridNavigator::OpensEditor(c)) << static_cast<unsigned>(c);
}

TEST_F(NavigatorFixture, SelectingACellBelowTheWindowScrollsItFullyIntoView)
{
    // Row 7 spans y 268..304 in a 300-high window: partly covered, so hidden.
    nav.SelectCell(0, 7);
    EXPECT_EQ(nav.TopRow(), 1);
    EXPECT_EQ(surface.vPos, 1);
    // The rows that stay move up; the new cell is repainted where it is now.
    ASSERT_EQ(surface.scrolls.size(), 1u);
    EXPECT_EQ(surface.scrolls[0].area, (GridRect{0, 16, 600, 300}));
    EXPECT_EQ(surface.scrolls[0].dy, -36);
    EXPECT_TRUE(surface.Invalidated(nav.Layout().CellRect(0, 7)));
    const GridRect r = nav.Layout().CellRect(0, 7);
    EXPECT_LE(r.bottom, 300);

    nav.SelectCell(0, 19);
    EXPECT_EQ(nav.TopRow(), 13);
    EXPECT_LE(nav.Layout().CellRect(0, 19).bottom, 300);
}

TEST_F(NavigatorFixture, SelectingARowAboveTheTopScrollsThePixelsDown)
{
    nav.SelectCell(0, 19);
    surface.Clear();
    nav.SelectCell(0, 10);
    ASSERT_EQ(surface.scrolls.size(), 1u);
    EXPECT_EQ(surface.scrolls[0].area, (GridRect{0, 16, 600, 300}));
    EXPECT_EQ(surface.scrolls[0].dy, 36 * 3);
    EXPECT_EQ(nav.TopRow(), 10);
    // Old and new cell are repainted where they are after the scroll.
    EXPECT_TRUE(surface.Invalidated(nav.Layout().CellRect(0, 10)));
}

TEST_F(NavigatorFixture, SelectingColumnsScrollsHorizontally)
{
    RecordingSurface narrowSurface;
    CGridNavigator narrow(narrowSurface);
    narrow.SetTable(4, 10);
    narrow.Initialise(300, 200); // round 3 (238..286) fits, round 4 does not
    narrow.SelectCell(3, 0);
    EXPECT_EQ(narrow.LeftCol(), 0);
    narrow.SelectCell(4, 0);
    EXPECT_EQ(narrow.LeftCol(), 1);
    EXPECT_LE(narrow.Layout().CellRect(4, 0).right, 300);
    EXPECT_EQ(narrowSurface.hPos, 1);
    narrowSurface.Clear();
    narrow.SelectCell(0, 0);
    EXPECT_EQ(narrow.LeftCol(), 0);
    ASSERT_EQ(narrowSurface.scrolls.size(), 1u);
    EXPECT_EQ(narrowSurface.scrolls[0].area, (GridRect{30, 0, 300, 200}));
    EXPECT_EQ(narrowSurface.scrolls[0].dx, 48 + 64); // back to the player column
}

TEST_F(NavigatorFixture, VerticalLineStepsMoveThePixelsByOneRow)
{
    nav.ScrollVertical(ScrollRequest::LineForward);
    EXPECT_EQ(nav.TopRow(), 1);
    ASSERT_EQ(surface.scrolls.size(), 1u);
    EXPECT_EQ(surface.scrolls[0].area, (GridRect{0, 16, 600, 300}));
    EXPECT_EQ(surface.scrolls[0].dy, -36);
    EXPECT_EQ(surface.vPos, 1);
    nav.ScrollVertical(ScrollRequest::LineBack);
    EXPECT_EQ(nav.TopRow(), 0);
    EXPECT_EQ(surface.scrolls[1].dy, 36);
    surface.Clear();
    nav.ScrollVertical(ScrollRequest::LineBack);
    EXPECT_EQ(nav.TopRow(), 0);
    EXPECT_TRUE(surface.scrolls.empty());
}

TEST_F(NavigatorFixture, VerticalPagesAreCutAtTheEnds)
{
    nav.ScrollVertical(ScrollRequest::PageForward);
    EXPECT_EQ(nav.TopRow(), 7);
    // The part of row 7 that was in view moves to the top.
    ASSERT_EQ(surface.scrolls.size(), 1u);
    EXPECT_EQ(surface.scrolls[0].area, (GridRect{0, 16, 600, 300}));
    EXPECT_EQ(surface.scrolls[0].dy, -7 * 36);
    nav.ScrollVertical(ScrollRequest::PageForward);
    nav.ScrollVertical(ScrollRequest::PageForward);
    EXPECT_EQ(nav.TopRow(), 19); // cut to the last row
    surface.Clear();
    nav.ScrollVertical(ScrollRequest::LineForward);
    EXPECT_EQ(nav.TopRow(), 19);
    EXPECT_TRUE(surface.scrolls.empty());
    nav.ScrollVertical(ScrollRequest::PageBack);
    EXPECT_EQ(nav.TopRow(), 12);
    nav.ScrollVertical(ScrollRequest::PageBack);
    nav.ScrollVertical(ScrollRequest::PageBack);
    EXPECT_EQ(nav.TopRow(), 0);
}

TEST_F(NavigatorFixture, VerticalThumbMovesThePixelsBothWays)
{
    nav.ScrollVertical(ScrollRequest::ThumbTrack, 10);
    EXPECT_EQ(nav.TopRow(), 10);
    ASSERT_EQ(surface.scrolls.size(), 1u);
    EXPECT_EQ(surface.scrolls[0].dy, -360); // farther than the window: all new
    nav.ScrollVertical(ScrollRequest::ThumbTrack, 8);
    ASSERT_EQ(surface.scrolls.size(), 2u);
    EXPECT_EQ(surface.scrolls[1].dy, 72);
    surface.vPos = -1;
    nav.ScrollVertical(ScrollRequest::EndScroll);
    EXPECT_EQ(surface.vPos, 8);
}

TEST_F(NavigatorFixture, HorizontalLineStepsHideThePlayerColumnFirst)
{
    nav.ScrollHorizontal(ScrollRequest::LineForward);
    EXPECT_EQ(nav.LeftCol(), 1);
    ASSERT_EQ(surface.scrolls.size(), 1u);
    EXPECT_EQ(surface.scrolls[0].area, (GridRect{30, 0, 600, 300}));
    EXPECT_EQ(surface.scrolls[0].dx, -112);
    nav.ScrollHorizontal(ScrollRequest::LineForward);
    EXPECT_EQ(surface.scrolls[1].dx, -48);
    EXPECT_EQ(nav.LeftCol(), 2);
    EXPECT_EQ(surface.hPos, 2);
    nav.ScrollHorizontal(ScrollRequest::LineBack);
    EXPECT_EQ(surface.scrolls[2].dx, 48);
    nav.ScrollHorizontal(ScrollRequest::LineBack);
    EXPECT_EQ(surface.scrolls[3].dx, 112);
    EXPECT_EQ(nav.LeftCol(), 0);
    nav.ScrollHorizontal(ScrollRequest::LineBack);
    EXPECT_EQ(surface.scrolls.size(), 4u);
}

TEST_F(NavigatorFixture, HorizontalPagesAndThumb)
{
    nav.ScrollHorizontal(ScrollRequest::PageForward);
    EXPECT_EQ(nav.LeftCol(), 7); // 10 wanted, cut to R + 1
    ASSERT_EQ(surface.scrolls.size(), 1u);
    EXPECT_EQ(surface.scrolls[0].area, (GridRect{30, 0, 600, 300}));
    EXPECT_EQ(surface.scrolls[0].dx, -(7 * 48 + 64));
    nav.ScrollHorizontal(ScrollRequest::PageBack);
    EXPECT_EQ(nav.LeftCol(), 0);
    surface.hPos = -1;
    nav.ScrollHorizontal(ScrollRequest::ThumbTrack, 3);
    EXPECT_EQ(nav.LeftCol(), 3);
    EXPECT_EQ(surface.hPos, -1); // the bar is left where the thumb is
    nav.ScrollHorizontal(ScrollRequest::EndScroll);
    EXPECT_EQ(surface.hPos, 3);
}

TEST_F(NavigatorFixture, ResizeSnapsBackWhenTheTableFits)
{
    nav.ScrollVertical(ScrollRequest::ThumbTrack, 5);
    nav.ScrollHorizontal(ScrollRequest::ThumbTrack, 2);
    nav.Resize(600, 1000); // 27 rows fit
    EXPECT_EQ(nav.TopRow(), 0);
    EXPECT_EQ(surface.vPos, 0);
}

TEST_F(NavigatorFixture, ResizeWiderThanTheTableSnapsTheColumnsBack)
{
    nav.ScrollHorizontal(ScrollRequest::ThumbTrack, 2);
    nav.Resize(600, 300);
    EXPECT_EQ(nav.LeftCol(), 0); // 6 rounds fit into 10 columns
    EXPECT_EQ(surface.hPos, 0);
}

TEST_F(NavigatorFixture, ClicksSelectCellsOrColumns)
{
    nav.Press(150, 60); // round 1, row 1
    EXPECT_EQ(nav.Current(), (GridCell{1, 1}));
    nav.Press(200, 5); // header of round 2
    EXPECT_EQ(nav.SelCol(), 2);
    EXPECT_EQ(nav.Current(), (GridCell{1, 1}));
    EXPECT_TRUE(surface.Invalidated({190, 0, 238, 300}));
    nav.Press(500, 5); // header of the totals
    EXPECT_EQ(nav.SelCol(), 7);
    nav.Press(10, 60); // a row number only drops the selection
    EXPECT_EQ(nav.SelCol(), kNoColumn);
    EXPECT_EQ(nav.Current(), (GridCell{1, 1}));
    nav.Press(200, 5);
    nav.Press(50, 100); // a cell drops it as well
    EXPECT_EQ(nav.SelCol(), kNoColumn);
    EXPECT_EQ(nav.Current(), (GridCell{0, 2}));
    nav.Press(590, 5); // the filler header is no column
    EXPECT_EQ(nav.SelCol(), kNoColumn);
}

TEST_F(NavigatorFixture, DoubleClickComparesOnlyTheColumn)
{
    nav.SelectCell(2, 3);
    EXPECT_TRUE(nav.DoubleClickOpensEditor(200, 5));   // header of the current column
    EXPECT_TRUE(nav.DoubleClickOpensEditor(200, 250)); // another row, same column
    EXPECT_FALSE(nav.DoubleClickOpensEditor(150, 130));
}

TEST_F(NavigatorFixture, CommitsMoveOnToTheNextCellToFill)
{
    nav.SelectCell(0, 4);
    EXPECT_EQ(nav.NextAfterPlayerCommit(), (GridCell{0, 5}));
    nav.SelectCell(0, 19);
    EXPECT_FALSE(nav.NextAfterPlayerCommit().has_value());
    nav.SelectCell(2, 3);
    EXPECT_EQ(nav.NextAfterResultCommit(), (GridCell{3, 3}));
    nav.SelectCell(6, 3);
    EXPECT_EQ(nav.NextAfterResultCommit(), (GridCell{1, 4}));
    nav.SelectCell(6, 19);
    EXPECT_FALSE(nav.NextAfterResultCommit().has_value());
}

TEST_F(NavigatorFixture, InvalidateTotalsCoversTheColumnBelowTheHeader)
{
    nav.InvalidateTotals();
    EXPECT_TRUE(surface.Invalidated({430, 16, 558, 300}));
    surface.Clear();
    RecordingSurface s2;
    CGridNavigator narrow(s2);
    narrow.SetTable(4, 20);
    narrow.Initialise(300, 200); // the totals start far right of the window
    s2.Clear();
    narrow.InvalidateTotals();
    EXPECT_TRUE(s2.invalidated.empty());
}

} // namespace
} // namespace tabry::grid
