// Keys, mouse, scroll bars and the editor entry points of the grid widget,
// driven with real key and mouse events.

#include "tests/grid/GridWidgetFixture.h"
#include "tests/guisupport/DialogDriver.h"
#include "tests/guisupport/GuiTest.h"
#include "widgets/TextCodec.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QScreen>
#include <QScrollBar>
#include <QTest>
#include <QWindow>

namespace tabry::test {
namespace {

using grid::GridCell;
using grid::PopupRequest;

// 30 rows (5 with players) x 4 rounds in a 600 x 300 client area (7 rows fit).
struct InputFixture : testing::Test {
    CTournamentEditor editor{MakeTournament(30, 4, 5)};
    const TournamentData& data = editor.Data();
    std::unique_ptr<TestGrid> grid;

    void SetUp() override { grid = ShowGrid(editor, 600, 300); }
    void Key(int key, Qt::KeyboardModifiers mods = {}) { QTest::keyClick(grid.get(), Qt::Key(key), mods); }
    GridCell Cur() const { return {grid->CurCol(), grid->CurRow()}; }
};

// The navigator decides every move; here only that the keys reach it.
TEST_F(InputFixture, NavigationKeysReachTheGridAndScrollTheBar)
{
    Key(Qt::Key_Down);
    Key(Qt::Key_Return);
    Key(Qt::Key_Right);
    EXPECT_EQ(Cur(), (GridCell{1, 2}));
    Key(Qt::Key_End);
    Key(Qt::Key_Tab); // wraps to round 1 of the next row, the focus stays
    EXPECT_EQ(Cur(), (GridCell{1, 3}));
    Key(Qt::Key_PageDown);
    EXPECT_EQ(Cur(), (GridCell{1, 29}));
    EXPECT_EQ(grid->verticalScrollBar()->value(), grid->Navigator().TopRow());
    EXPECT_GT(grid->Navigator().TopRow(), 0);
    Key(Qt::Key_Home);
    Key(Qt::Key_PageUp);
    EXPECT_EQ(Cur(), (GridCell{0, 0}));
    EXPECT_EQ(grid->Navigator().TopRow(), 0);
}

TEST_F(InputFixture, TypedLettersOpenThePlayerEditorWithThatLetter)
{
    QTest::keyClicks(grid.get(), "t");
    ASSERT_TRUE(grid->LastPopupRequest().has_value());
    EXPECT_EQ(grid->LastPopupRequest()->kind, PopupRequest::Player);
    EXPECT_EQ(grid->LastPopupRequest()->text, QString("t"));
    EXPECT_EQ(grid->LastPopupRequest()->cell, (GridCell{0, 0}));
    EXPECT_TRUE(grid->HasPopup());
}

TEST_F(InputFixture, DigitsLettersPlusAndMinusOpenTheResultEditor)
{
    grid->SelectCell(2, 1);
    QTest::keyClicks(grid.get(), "3");
    ASSERT_TRUE(grid->LastPopupRequest().has_value());
    EXPECT_EQ(grid->LastPopupRequest()->kind, PopupRequest::Result);
    EXPECT_EQ(grid->LastPopupRequest()->text, QString("3"));
    EXPECT_EQ(grid->LastPopupRequest()->cell, (GridCell{2, 1}));
}

TEST_F(InputFixture, OtherCharactersOpenNothing)
{
    QTest::keyClicks(grid.get(), " .@");
    QTest::keyClick(grid.get(), Qt::Key_A, Qt::ControlModifier);
    QKeyEvent kana(QEvent::KeyPress, 0, Qt::NoModifier, QString::fromUtf8("あ"));
    QApplication::sendEvent(grid.get(), &kana);
    EXPECT_FALSE(grid->LastPopupRequest().has_value());
}

TEST_F(InputFixture, NoResultEditorOnARowWithoutPlayer)
{
    grid->SelectCell(1, 10);
    QTest::keyClicks(grid.get(), "5");
    Key(Qt::Key_F2);
    EXPECT_FALSE(grid->LastPopupRequest().has_value());
    grid->SelectCell(0, 10);
    Key(Qt::Key_F2); // the player editor opens on an empty row, without text
    ASSERT_TRUE(grid->LastPopupRequest().has_value());
    EXPECT_FALSE(grid->LastPopupRequest()->text.has_value());
}

TEST_F(InputFixture, F2AndInsertOpenTheEditorWithThePlayersName)
{
    grid->SelectCell(0, 3);
    Key(Qt::Key_Insert);
    ASSERT_TRUE(grid->LastPopupRequest().has_value());
    EXPECT_EQ(grid->LastPopupRequest()->text, QString("p3"));
    EXPECT_FALSE(grid->LastPopupRequest()->selectAll);
}

TEST_F(InputFixture, DoubleClickOnTheCurrentColumnsHeaderOpensTheEditor)
{
    grid->SelectCell(2, 1);
    QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, QPoint(200, 8));
    ASSERT_TRUE(grid->LastPopupRequest().has_value());
    EXPECT_EQ(grid->LastPopupRequest()->kind, PopupRequest::Result);
}

TEST_F(InputFixture, ClicksMakeCellsCurrentAndHeaderClicksSelectColumns)
{
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, QPoint(250, 100)); // round 3, row 2
    EXPECT_EQ(Cur(), (GridCell{3, 2}));
    WhenMenuOpens([](QMenu* menu) { menu->close(); }); // the round menu
    QTest::mouseClick(grid->viewport(), Qt::RightButton, {}, QPoint(160, 8));
    EXPECT_EQ(grid->SelCol(), 1);
    EXPECT_EQ(Cur(), (GridCell{3, 2}));
    Key(Qt::Key_Down); // any cell selection drops the column selection
    EXPECT_EQ(grid->SelCol(), grid::kNoColumn);
}

TEST_F(InputFixture, ScrollBarsStepByRowsAndColumns)
{
    QScrollBar* v = grid->verticalScrollBar();
    EXPECT_TRUE(v->isEnabled());
    EXPECT_EQ(v->maximum(), 29);
    EXPECT_EQ(v->pageStep(), 7);
    v->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    EXPECT_EQ(grid->Navigator().TopRow(), 1);
    EXPECT_EQ(v->value(), 1);
    v->triggerAction(QAbstractSlider::SliderPageStepAdd);
    EXPECT_EQ(grid->Navigator().TopRow(), 8);
    v->setSliderPosition(20); // a thumb drag
    EXPECT_EQ(grid->Navigator().TopRow(), 20);
    v->triggerAction(QAbstractSlider::SliderPageStepSub);
    EXPECT_EQ(grid->Navigator().TopRow(), 13);
    EXPECT_EQ(v->value(), 13);

    QScrollBar* h = grid->horizontalScrollBar();
    // 4 rounds fit into 600 pixels: the bar has nothing to do.
    EXPECT_FALSE(h->isEnabled());
}

TEST_F(InputFixture, ResizingWiderSnapsTheHorizontalPositionBack)
{
    grid->resize(300, grid->height());
    QApplication::processEvents();
    QScrollBar* h = grid->horizontalScrollBar();
    ASSERT_TRUE(h->isEnabled());
    h->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    EXPECT_EQ(grid->Navigator().LeftCol(), 1);
    grid->resize(900, grid->height());
    QApplication::processEvents();
    EXPECT_EQ(grid->Navigator().LeftCol(), 0);
    EXPECT_EQ(h->value(), 0);
}

TEST_F(InputFixture, CommittingThePlayerEditorFillsTheRowAndMovesDown)
{
    const int record = editor.AddPlayer(Person("new", "new", "nw"));
    grid->nextPlayer.chosen = record;
    grid->SelectCell(0, 7);
    QTest::keyClicks(grid.get(), "n");
    EditCounter edits(editor);
    grid->PostPlayerPopupDone(false);
    EXPECT_EQ(data.table.Entry(7).playerIndex, -1); // posted: nothing yet
    QApplication::processEvents();
    EXPECT_EQ(data.table.Entry(7).playerIndex, record);
    EXPECT_EQ(Cur(), (GridCell{0, 8}));
    EXPECT_FALSE(grid->HasPopup());
    EXPECT_EQ(edits.Count(), 1);
}

TEST_F(InputFixture, CommittingOnTheLastRowStaysAndCancelChangesNothing)
{
    grid->nextPlayer.chosen = 1;
    grid->SelectCell(0, 29);
    QTest::keyClicks(grid.get(), "p");
    grid->PostPlayerPopupDone(false);
    grid->PostPlayerPopupDone(false); // a second message for the same editor is ignored
    QApplication::processEvents();
    EXPECT_EQ(Cur(), (GridCell{0, 29}));

    grid->SelectCell(0, 20);
    QTest::keyClicks(grid.get(), "p");
    grid->PostPlayerPopupDone(true);
    QApplication::processEvents();
    EXPECT_TRUE(data.table.Entry(20).IsEmpty());
    EXPECT_EQ(Cur(), (GridCell{0, 20}));
    EXPECT_FALSE(grid->HasPopup());
}

TEST_F(InputFixture, CommittingAGameAtTheLastRoundWrapsToTheNextRow)
{
    grid->nextResult = {};
    grid->nextResult.opponent = 1;
    grid->nextResult.result = ResultWin;
    grid->nextResult.score = 10;
    grid->SelectCell(4, 3);
    QTest::keyClicks(grid.get(), "1");
    grid->PostResultPopupDone(false);
    QApplication::processEvents();
    EXPECT_EQ(data.table.Cell(3, 3).opponent, 1);
    EXPECT_EQ(data.table.Cell(1, 3).disc, -10);
    EXPECT_EQ(Cur(), (GridCell{1, 4}));
}

TEST_F(InputFixture, ACommitLandsInTheCellTheEditorWasOpenedOver)
{
    grid->nextResult.opponent = 1;
    grid->nextResult.result = ResultWin;
    grid->nextResult.score = 4;
    grid->SelectCell(2, 0);
    QTest::keyClicks(grid.get(), "4");
    Key(Qt::Key_Down); // while an editor is open the grid's cursor stays
    EXPECT_EQ(Cur(), (GridCell{2, 0}));
    grid->SelectCell(3, 2); // moved all the same (a click that got through)
    grid->PostResultPopupDone(false);
    QApplication::processEvents();
    EXPECT_EQ(data.table.Cell(0, 1).opponent, 1);
    EXPECT_EQ(data.table.Cell(2, 2).opponent, NoOpponent);
    EXPECT_EQ(Cur(), (GridCell{3, 0}));
}

TEST_F(InputFixture, ActivationCancelsAnOpenEditorUnlessItIsRegistering)
{
    QTest::keyClicks(grid.get(), "p");
    ASSERT_NE(grid->openPlayer, nullptr);
    grid->openPlayer->registering = true;
    grid->RequestPopupClose();
    QApplication::processEvents();
    EXPECT_TRUE(grid->HasPopup());
    grid->openPlayer->registering = false;
    grid->RequestPopupClose();
    QApplication::processEvents();
    EXPECT_FALSE(grid->HasPopup());
    EXPECT_EQ(Cur(), (GridCell{0, 0}));
}

TEST_F(InputFixture, DeleteClearsAGameWithoutAsking)
{
    editor.SetGame(0, 1, 2, ResultWin, 4);
    grid->SelectCell(2, 0);
    EXPECT_TRUE(grid->CanDeleteCell());
    Key(Qt::Key_Delete);
    EXPECT_EQ(data.table.Cell(0, 1).opponent, NoOpponent);
    EXPECT_EQ(data.table.Cell(2, 1).opponent, NoOpponent);
    EXPECT_TRUE(Prompts().Events().empty());
    EXPECT_FALSE(grid->CanDeleteCell());
}

TEST_F(InputFixture, DeletingAPlayerWithGamesAsksFirst)
{
    editor.SetGame(1, 0, 2, ResultWin, 4);
    grid->SelectCell(0, 1);
    Key(Qt::Key_Delete); // unanswered: No
    ASSERT_EQ(Prompts().Events().size(), 1u);
    EXPECT_EQ(Prompts().Events()[0].text, QString::fromUtf8("「p1」さんを削除します。よろしいですか？"));
    EXPECT_FALSE(data.table.Entry(1).IsEmpty());
    Prompts().QueueAnswer(ui::Answer::Yes);
    Key(Qt::Key_Delete);
    EXPECT_TRUE(data.table.Entry(1).IsEmpty());
    EXPECT_EQ(data.table.Cell(2, 0).opponent, NoOpponent);

    grid->SelectCell(0, 4); // a player without games goes without a question
    Key(Qt::Key_Delete);
    EXPECT_TRUE(data.table.Entry(4).IsEmpty());
    EXPECT_EQ(Prompts().Events().size(), 2u);
    EXPECT_FALSE(grid->CanDeleteCell());
}

} // namespace
} // namespace tabry::test

namespace tabry::test {
namespace {

// What the screen shows now (the backing store of the offscreen platform),
// as opposed to grab(), which paints everything afresh.
QImage OnScreen(grid::CResultGrid& grid)
{
    QWidget* top = grid.window();
    const QPoint origin = grid.viewport()->mapTo(top, QPoint(0, 0));
    const QSize size = grid.viewport()->size();
    QPixmap shot =
        top->windowHandle()->screen()->grabWindow(top->winId(), origin.x(), origin.y(), size.width(), size.height());
    return shot.toImage().convertToFormat(QImage::Format_RGB32);
}

// Scrolling moves pixels and repaints only what was uncovered; the result
// must look exactly like a grid painted from scratch at the new position.
TEST_F(InputFixture, PixelScrollingLeavesTheSamePictureAsAFullRepaint)
{
    editor.SetGame(0, 0, 1, ResultWin, 8);
    editor.SetGame(2, 1, 3, ResultDraw, 0);
    grid->InvalidateAll();
    QApplication::processEvents();
    if (OnScreen(*grid).isNull())
        GTEST_SKIP() << "this platform cannot grab the screen";

    auto check = [&](const char* step) {
        QApplication::processEvents();
        const QImage shown = OnScreen(*grid);
        const QImage fresh = Shot(*grid);
        ASSERT_EQ(shown.size(), fresh.size()) << step;
        EXPECT_TRUE(shown == fresh) << step;
    };
    check("baseline");
    QScrollBar* v = grid->verticalScrollBar();
    v->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    check("line down");
    v->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    v->triggerAction(QAbstractSlider::SliderSingleStepSub);
    check("line up");
    grid->SelectCell(1, 0); // above the top: pixels move down
    check("select above");
    grid->SelectCell(2, 20); // below the bottom
    check("select below");
    v->setSliderPosition(3);
    check("thumb up");
    grid->resize(260, grid->height());
    QApplication::processEvents();
    QScrollBar* h = grid->horizontalScrollBar();
    h->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    check("line right");
    h->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    h->triggerAction(QAbstractSlider::SliderSingleStepSub);
    check("line left");
    grid->SelectCell(0, 4); // back to the player column
    check("select left");
}

} // namespace
} // namespace tabry::test
