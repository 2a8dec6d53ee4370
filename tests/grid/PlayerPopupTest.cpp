// The player editor driven with keys and clicks over a shown grid.

#include "tests/grid/PopupFixture.h"

#include "grid/CellText.h"
#include "grid/DialogUnits.h"
#include "playerdb/ui/UserEditDialog.h"
#include "tests/guisupport/DialogDriver.h"
#include "tests/guisupport/GuiTest.h"
#include "tests/support/TestSupport.h"
#include "widgets/TextCodec.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QTest>

namespace tabry::test {
namespace {

using grid::GridCell;

QString Qs(const char* utf8)
{
    return QString::fromUtf8(utf8);
}

using PlayerPopupTest = PopupFixture;

TEST_F(PlayerPopupTest, TypingListsEveryRecordThatBeginsSoWithTheFirstHighlighted)
{
    grid->SelectCell(0, 5);
    Type("ta");
    grid::CPlayerPopup* popup = PlayerPopup();
    ASSERT_NE(popup, nullptr);
    EXPECT_EQ(popup->NameEdit()->text(), "ta");
    // Input names tanaka, tanakai and takagi, in database order.
    const QStringList ta = {Qs("田中"), Qs("田中一郎"), Qs("高木")};
    EXPECT_EQ(Lines(popup->MatchList()), ta);
    EXPECT_EQ(popup->MatchList()->currentRow(), 0);
    popup->NameEdit()->clear();
    QTest::keyClicks(popup->NameEdit(), "TA");
    EXPECT_EQ(Lines(popup->MatchList()), ta);
}

TEST_F(PlayerPopupTest, KeysThatReachTheGridWhileTheEditorIsOpenGoToTheEditor)
{
    grid->SelectCell(0, 5);
    // A fast typist: every key arrives at the grid, before the editor's
    // window has taken the keyboard.
    QTest::keyClicks(grid.get(), "ota");
    QTest::keyClick(grid.get(), Qt::Key_Return);
    Settle();
    EXPECT_EQ(data.table.Entry(5).playerIndex, 6);
    EXPECT_EQ(Cur(), (GridCell{0, 6}));
}

TEST_F(PlayerPopupTest, EnterPutsThePlayerIntoTheRowAndMovesDown)
{
    grid->SelectCell(0, 5);
    Type("ota");
    Key(PlayerPopup()->NameEdit(), Qt::Key_Return);
    EXPECT_EQ(data.table.Entry(5).playerIndex, -1); // posted, not yet handled
    Settle();
    EXPECT_EQ(data.table.Entry(5).playerIndex, 6);
    EXPECT_FALSE(grid->HasPopup());
    EXPECT_EQ(Cur(), (GridCell{0, 6}));
    EXPECT_EQ(edits->Count(), 1);
}

TEST_F(PlayerPopupTest, APlayerOfAnotherRowIsRefusedAndTheRowsOwnPlayerAccepted)
{
    grid->SelectCell(0, 5);
    Type("ito");
    grid::CPlayerPopup* popup = PlayerPopup();
    Key(popup->NameEdit(), Qt::Key_Return);
    Settle();
    ASSERT_EQ(Prompts().Events().size(), 1u);
    EXPECT_EQ(Prompts().Events()[0].kind, "error");
    EXPECT_EQ(Prompts().Events()[0].text, Qs("「伊藤」さんは既に入力されています。"));
    ASSERT_EQ(PlayerPopup(), popup); // still open for another choice
    EXPECT_EQ(popup->NameEdit()->text(), Qs("伊藤"));
    EXPECT_TRUE(FocusedWithAllSelected(popup->NameEdit()));
    EXPECT_TRUE(data.table.Entry(5).IsEmpty());
    Key(popup->NameEdit(), Qt::Key_Escape);
    Settle();

    // 伊藤 in his own row: F2 shows his name, Enter takes him again.
    grid->SelectCell(0, 1);
    Key(grid.get(), Qt::Key_F2);
    ASSERT_NE(PlayerPopup(), nullptr);
    EXPECT_EQ(PlayerPopup()->NameEdit()->text(), Qs("伊藤"));
    Key(PlayerPopup()->NameEdit(), Qt::Key_Return);
    Settle();
    EXPECT_EQ(Prompts().Events().size(), 1u);
    EXPECT_EQ(data.table.Entry(1).playerIndex, 2);
    EXPECT_EQ(Cur(), (GridCell{0, 2}));
    EXPECT_EQ(edits->Count(), 0); // nothing changed
}

TEST_F(PlayerPopupTest, DownFromTheNameMovesIntoTheListToTheSecondMatch)
{
    grid->SelectCell(0, 5);
    Type("ta");
    grid::CPlayerPopup* popup = PlayerPopup();
    Key(popup->NameEdit(), Qt::Key_Down);
    EXPECT_EQ(popup->focusWidget(), popup->MatchList());
    EXPECT_EQ(popup->MatchList()->currentRow(), 1);
    Key(popup->MatchList(), Qt::Key_Down); // the list's own keys move on
    EXPECT_EQ(popup->MatchList()->currentRow(), 2);
    Key(popup->MatchList(), Qt::Key_Return);
    Settle();
    EXPECT_EQ(data.table.Entry(5).playerIndex, 7); // 高木
}

TEST_F(PlayerPopupTest, AnEmptyNameListsThePlayersNotYetEnteredOnDownOrDoubleClick)
{
    grid->SelectCell(0, 6);
    Key(grid.get(), Qt::Key_F2); // an empty row: no text
    grid::CPlayerPopup* popup = PlayerPopup();
    ASSERT_NE(popup, nullptr);
    EXPECT_EQ(popup->NameEdit()->text(), "");
    EXPECT_EQ(popup->MatchList()->count(), 0);
    QTest::mouseDClick(popup->NameEdit(), Qt::LeftButton);
    EXPECT_EQ(Lines(popup->MatchList()), (QStringList{Qs("太田"), Qs("高木")}));

    popup->MatchList()->clear();
    Key(popup->NameEdit(), Qt::Key_Down);
    EXPECT_EQ(Lines(popup->MatchList()), (QStringList{Qs("太田"), Qs("高木")}));
    EXPECT_EQ(popup->MatchList()->currentRow(), 0);
}

TEST_F(PlayerPopupTest, ADoubleClickedLineIsCommittedAtOnce)
{
    grid->SelectCell(0, 5);
    Type("ta");
    grid::CPlayerPopup* popup = PlayerPopup();
    QListWidget* list = popup->MatchList();
    const QRect line = list->visualItemRect(list->item(2));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, line.center());
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, line.center());
    Settle();
    EXPECT_EQ(data.table.Entry(5).playerIndex, 7);
    EXPECT_EQ(Cur(), (GridCell{0, 6}));
}

TEST_F(PlayerPopupTest, EnterWithAnEmptyNameOrEscapeLeavesTheRowAlone)
{
    grid->SelectCell(0, 6);
    Key(grid.get(), Qt::Key_F2);
    Key(PlayerPopup()->NameEdit(), Qt::Key_Return);
    Settle();
    EXPECT_FALSE(grid->HasPopup());
    EXPECT_EQ(Cur(), (GridCell{0, 6}));

    grid->SelectCell(0, 2);
    Type("o");
    Key(PlayerPopup()->NameEdit(), Qt::Key_Escape);
    Settle();
    EXPECT_FALSE(grid->HasPopup());
    EXPECT_EQ(data.table.Entry(2).playerIndex, 5);
    EXPECT_EQ(Cur(), (GridCell{0, 2}));
    EXPECT_EQ(edits->Count(), 0);
}

TEST_F(PlayerPopupTest, ANameNobodyHasIsRegisteredAndEntered)
{
    grid->SelectCell(0, 5);
    Type("kato");
    WhenModalOpens<CUserEditDialog>([this](CUserEditDialog* dialog) {
        EXPECT_EQ(dialog->LongNameEdit()->text(), "kato");
        EXPECT_EQ(dialog->InputNameEdit()->text(), "kato");
        EXPECT_EQ(dialog->GradeBox()->currentText(), Qs("初段"));
        // Activating the main window meanwhile must not cancel the entry.
        EXPECT_TRUE(PlayerPopup()->IsRegistering());
        grid->RequestPopupClose();
        dialog->LongNameEdit()->setText(Qs("加藤"));
        dialog->ShortNameEdit()->setText(Qs("加藤"));
        QTest::keyClick(dialog, Qt::Key_Return);
    });
    Key(PlayerPopup()->NameEdit(), Qt::Key_Return);
    Settle();
    const int record = data.table.Entry(5).playerIndex;
    ASSERT_EQ(record, 8);
    EXPECT_EQ(data.players.GetAt(record).m_longName, S("加藤"));
    EXPECT_EQ(data.players.GetAt(record).m_inputName, "kato");
    EXPECT_TRUE(data.playersModified);
    EXPECT_EQ(Cur(), (GridCell{0, 6}));
}

TEST_F(PlayerPopupTest, ACancelledRegistrationKeepsTheEditorOpenWithItsText)
{
    grid->SelectCell(0, 5);
    Type("kato");
    WhenModalOpens<CUserEditDialog>([](CUserEditDialog* dialog) { QTest::keyClick(dialog, Qt::Key_Escape); });
    Key(PlayerPopup()->NameEdit(), Qt::Key_Return);
    Settle();
    ASSERT_NE(PlayerPopup(), nullptr);
    EXPECT_FALSE(PlayerPopup()->IsRegistering());
    EXPECT_EQ(PlayerPopup()->NameEdit()->text(), "kato");
    EXPECT_EQ(data.players.GetCount(), 8);
    EXPECT_TRUE(data.table.Entry(5).IsEmpty());
    // Now the main window's activation cancels it.
    grid->RequestPopupClose();
    Settle();
    EXPECT_FALSE(grid->HasPopup());
}

TEST_F(PlayerPopupTest, ReplacingAPlayerWithResultsKeepsTheResultsForTheNewOne)
{
    editor.SetGame(0, 0, 1, ResultWin, 10);

    grid->SelectCell(0, 0);
    Key(grid.get(), Qt::Key_F2);
    grid::CPlayerPopup* popup = PlayerPopup();
    EXPECT_EQ(popup->NameEdit()->text(), Qs("青木一郎"));
    popup->NameEdit()->selectAll();
    QTest::keyClicks(popup->NameEdit(), "ota");
    Key(popup->NameEdit(), Qt::Key_Return);
    Settle();
    EXPECT_EQ(data.table.Entry(0).playerIndex, 6);
    EXPECT_EQ(data.table.Cell(0, 0).opponent, 1);
    EXPECT_EQ(data.table.Entry(0).wins, 1);
    EXPECT_EQ(U(grid::RoundCell(data.table, data.players, 1, 0).top), "太田");
}

TEST_F(PlayerPopupTest, TheEditorSitsOverTheCellInItsDialogUnits)
{
    grid->SelectCell(0, 3);
    Type("a");
    grid::CPlayerPopup* popup = PlayerPopup();
    ASSERT_TRUE(grid->LastPopupRequest().has_value());
    const grid::GridRect cell = grid->CellRect(0, 3);
    EXPECT_EQ(grid->LastPopupRequest()->screenPos,
              grid->mapToGlobal(QPoint(0, 0)) + QPoint(cell.left + 2, cell.top + 2));
    EXPECT_EQ(popup->pos(), grid->LastPopupRequest()->screenPos);
    const grid::CDialogUnits du(popup->font());
    EXPECT_EQ(popup->size(), QSize(du.X(62) + 2, du.Y(73) + 2));
    EXPECT_EQ(popup->NameEdit()->geometry(), du.Rect(0, 0, 62, 12).translated(1, 1));
    EXPECT_EQ(popup->MatchList()->geometry(), du.Rect(0, 12, 62, 60).translated(1, 1));
    EXPECT_TRUE(popup->isVisible());
}

} // namespace
} // namespace tabry::test
