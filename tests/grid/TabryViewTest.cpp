#include "grid/TabryView.h"

#include "grid/ResultGrid.h"
#include "tests/grid/GridWidgetFixture.h"
#include "tests/support/SmallTournaments.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QPointer>
#include <QScrollBar>
#include <QTest>

namespace tabry::test {
namespace {

TEST(TabryViewTest, TitleTextIsTheNameAndTheDate)
{
    TournamentData data;
    EXPECT_EQ(grid::CTabryView::TitleText(data), "");
    data.info.name = S("第10回大会");
    EXPECT_EQ(U(grid::CTabryView::TitleText(data)), "第10回大会");
    data.info.year = 2004;
    data.info.month = 5;
    data.info.day = 3;
    EXPECT_EQ(U(grid::CTabryView::TitleText(data)), "第10回大会 @2004/05/03");
    data.info.name.clear();
    EXPECT_EQ(grid::CTabryView::TitleText(data), " @2004/05/03");
}

TEST(TabryViewTest, TheGridFillsTheAreaBelowTheTitleStrip)
{
    CTournamentEditor editor(MakeTournament(40, 6, 2));
    grid::CTabryView view(editor);
    view.resize(500, 400);
    view.show();
    view.OnInitialUpdate();
    QApplication::processEvents();
    ASSERT_NE(view.Grid(), nullptr);
    EXPECT_EQ(view.Grid()->geometry(), QRect(0, 18, 500, 382));
    view.resize(640, 300);
    QApplication::processEvents();
    EXPECT_EQ(view.Grid()->geometry(), QRect(0, 18, 640, 282));
    // The grid's bars follow its new size.
    EXPECT_EQ(view.Grid()->verticalScrollBar()->pageStep(), view.Grid()->Navigator().VisibleRows());
}

TEST(TabryViewTest, EveryInitialUpdateMakesAFreshUnscrolledGrid)
{
    CTournamentEditor editor(MakeTournament(40, 6, 2));
    grid::CTabryView view(editor);
    view.resize(500, 400);
    view.show();
    view.OnInitialUpdate();
    QApplication::processEvents();
    QPointer<grid::CResultGrid> first = view.Grid();
    first->SelectCell(3, 30);
    ASSERT_GT(first->Navigator().TopRow(), 0);

    // A new size through the settings: the view makes a new grid itself.
    editor.ApplySettings(editor.Table().settings, 10, 3);
    QApplication::processEvents();
    EXPECT_TRUE(first.isNull());
    ASSERT_NE(view.Grid(), nullptr);
    EXPECT_EQ(view.Grid()->CurCol(), 0);
    EXPECT_EQ(view.Grid()->CurRow(), 0);
    EXPECT_EQ(view.Grid()->Navigator().TopRow(), 0);
    EXPECT_EQ(view.Grid()->Navigator().Layout().Players(), 10);
    EXPECT_EQ(view.Grid()->Navigator().Layout().Rounds(), 3);
}

TEST(TabryViewTest, RecreateGridWithoutAGridDoesNothing)
{
    CTournamentEditor editor;
    grid::CTabryView view(editor);
    view.RecreateGrid();
    EXPECT_EQ(view.Grid(), nullptr);
}

TEST(TabryViewTest, ActivatingTheWindowCancelsAnOpenEditor)
{
    CTournamentEditor editor(MakeTournament(10, 3, 2));
    struct View : grid::CTabryView {
        CTournamentEditor& e;
        View(CTournamentEditor& t) : CTabryView(t), e(t) {}
        grid::CResultGrid* MakeGrid() override { return new TestGrid(e, this); }
    } view(editor);
    view.resize(400, 300);
    view.show();
    view.OnInitialUpdate();
    QApplication::processEvents();
    auto* grid = static_cast<TestGrid*>(view.Grid());
    QTest::keyClicks(grid, "p");
    ASSERT_TRUE(grid->HasPopup());
    QEvent activate(QEvent::WindowActivate);
    QApplication::sendEvent(&view, &activate);
    QApplication::processEvents();
    EXPECT_FALSE(grid->HasPopup());
}

} // namespace
} // namespace tabry::test
