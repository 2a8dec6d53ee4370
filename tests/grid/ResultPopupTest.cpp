// The result editor driven with keys and clicks over a shown grid.

#include "tests/grid/PopupFixture.h"

#include "grid/CellText.h"
#include "grid/DialogUnits.h"
#include "grid/GridPalette.h"
#include "tests/guisupport/DialogDriver.h"
#include "tests/guisupport/GuiTest.h"
#include "tests/support/SmallTournaments.h"
#include "tests/support/TestSupport.h"
#include "widgets/ArrowButtons.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QTest>
#include <QToolButton>

namespace tabry::test {
namespace {

using grid::GridCell;

QString Qs(const char* utf8)
{
    return QString::fromUtf8(utf8);
}

const QString kWin = QStringLiteral("○");
const QString kDraw = QStringLiteral("△");
const QString kLoss = QStringLiteral("×");

struct ResultPopupTest : PopupFixture {
    // Opens the editor of row `row`, round `round` (from 1) with F2.
    grid::CResultPopup* Open(int row, int round)
    {
        grid->SelectCell(round, row);
        Key(grid.get(), Qt::Key_F2);
        return ResultPopup();
    }
    void Enter(QWidget* w) { Key(w, Qt::Key_Return); }
};

TEST_F(ResultPopupTest, AStoredWinShowsItsScoreMarkAndOpponent)
{
    editor.SetGame(0, 0, 1, ResultWin, 12);
    grid::CResultPopup* popup = Open(0, 1);
    ASSERT_NE(popup, nullptr);
    EXPECT_EQ(popup->ScoreEdit()->text(), "+12");
    EXPECT_EQ(popup->MarkBox()->currentText(), kWin);
    EXPECT_EQ(popup->NameEdit()->text(), Qs("伊藤"));
    EXPECT_EQ(popup->CandidateList()->currentItem()->text(), Qs("伊藤"));
    EXPECT_EQ(popup->focusWidget(), popup->ScoreEdit());
}

TEST_F(ResultPopupTest, ATypedDigitOpensWithThatScoreAndATypedLetterWithThatName)
{
    grid->SelectCell(3, 2);
    Type("3");
    grid::CResultPopup* popup = ResultPopup();
    ASSERT_NE(popup, nullptr);
    EXPECT_EQ(popup->ScoreEdit()->text(), "3");
    EXPECT_EQ(popup->MarkBox()->currentText(), kWin);
    EXPECT_EQ(popup->focusWidget(), popup->ScoreEdit());
    Key(popup->ScoreEdit(), Qt::Key_Escape);
    Settle();

    editor.SetGame(2, 1, 4, ResultLoss, -4);
    grid->SelectCell(2, 2);
    Type("k");
    popup = ResultPopup();
    EXPECT_EQ(popup->NameEdit()->text(), "k");
    EXPECT_EQ(popup->focusWidget(), popup->NameEdit());
    EXPECT_EQ(popup->ScoreEdit()->text(), "-4");
    EXPECT_EQ(popup->MarkBox()->currentText(), kLoss);
}

TEST_F(ResultPopupTest, AMarkChosenWithTheSelectorsKeysStaysWhateverTheScore)
{
    grid::CResultPopup* popup = Open(0, 1);
    QLineEdit* score = popup->ScoreEdit();
    QComboBox* mark = popup->MarkBox();
    QTest::keyClicks(score, "5"); // replaces the selected "+0"
    EXPECT_EQ(mark->currentText(), kWin);
    mark->setFocus();
    QTest::keyClick(mark, Qt::Key_Down);
    QTest::keyClick(mark, Qt::Key_Down);
    ASSERT_EQ(mark->currentText(), kLoss);
    QTest::keyClick(mark, Qt::Key_Backtab);
    ASSERT_EQ(popup->focusWidget(), score);
    QTest::keyClicks(score, "0"); // "50": won on the board, lost on time
    EXPECT_EQ(mark->currentText(), kLoss);
}

// The count-mode traps of a real event, typed as the organiser typed them.
TEST_F(ResultPopupTest, CountModeTrapsStoreNoWrongGame)
{
    ShowDiscCounts(editor);
    // Round 1 paired without results (as the round menu's pairing leaves
    // it): every cell shows 32 discs.
    editor.SetGame(0, 0, 1, ResultNone, 0);
    editor.SetGame(2, 0, 3, ResultNone, 0);
    edits->Reset();

    // Every way of opening the editor on a cell selects its score, so the
    // first digit typed replaces it.
    for (int opener : {int(Qt::Key_F2), int(Qt::Key_Insert), int(grid::CmdGameEdit)}) {
        SCOPED_TRACE(opener);
        grid->SelectCell(1, 3);
        if (opener == grid::CmdGameEdit)
            grid->RunCommand(opener);
        else
            Key(grid.get(), opener);
        grid::CResultPopup* opened = ResultPopup();
        ASSERT_NE(opened, nullptr);
        EXPECT_TRUE(FocusedWithAllSelected(opened->ScoreEdit()));
        EXPECT_EQ(opened->ScoreEdit()->selectedText(), "32");
        Key(opened->ScoreEdit(), Qt::Key_Escape);
        Settle();
    }

    // "結果入力(&E)" opens over the first game without a result with the
    // stored 32 selected: typing 40 replaces it instead of making 3240.
    grid->SelectColumn(1);
    grid->RunCommand(grid::CmdRoundEnterResults);
    grid::CResultPopup* popup = ResultPopup();
    ASSERT_NE(popup, nullptr);
    ASSERT_EQ(Cur(), (GridCell{1, 0}));
    EXPECT_TRUE(FocusedWithAllSelected(popup->ScoreEdit()));
    EXPECT_EQ(popup->ScoreEdit()->selectedText(), "32");
    TypeText(popup->ScoreEdit(), "40");
    EXPECT_EQ(popup->MarkBox()->currentText(), kWin);
    Enter(popup->ScoreEdit());
    Settle();
    EXPECT_EQ(data.table.Cell(0, 0), (ResultCell{1, ResultWin, 16, 0}));
    EXPECT_EQ(data.table.Cell(1, 0), (ResultCell{0, ResultLoss, -16, 0}));

    // A double click opens with the score selected too. Typed after a
    // caret instead, "3240" is refused: the editor stays open, says why,
    // and hands the score back selected; nothing is stored.
    const grid::GridRect r = grid->CellRect(1, 2);
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, QPoint(r.left + 10, r.top + 10));
    QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, QPoint(r.left + 10, r.top + 10));
    popup = ResultPopup();
    ASSERT_NE(popup, nullptr);
    ASSERT_EQ(Cur(), (GridCell{1, 2}));
    EXPECT_TRUE(FocusedWithAllSelected(popup->ScoreEdit()));
    popup->ScoreEdit()->end(false);
    TypeText(popup->ScoreEdit(), "40");
    ASSERT_EQ(popup->ScoreEdit()->text(), "3240");
    Enter(popup->ScoreEdit());
    Settle();
    ASSERT_EQ(ResultPopup(), popup);
    EXPECT_TRUE(popup->Note()->isVisible());
    EXPECT_EQ(popup->Note()->text(), Qs("石数は 0 ～ 64 です"));
    EXPECT_TRUE(FocusedWithAllSelected(popup->ScoreEdit()));
    EXPECT_EQ(data.table.Cell(2, 0), (ResultCell{3, ResultNone, 0, 0}));
    // Committed from the name field, the score field takes the focus back.
    popup->ScoreEdit()->deselect();
    popup->NameEdit()->setFocus();
    Enter(popup->NameEdit());
    Settle();
    EXPECT_TRUE(FocusedWithAllSelected(popup->ScoreEdit()));
    EXPECT_EQ(edits->Count(), 1);

    // Retyped as "3" and "2", a 32-32 draw: the × that "3" suggested does
    // not stay.
    TypeText(popup->ScoreEdit(), "3");
    EXPECT_FALSE(popup->Note()->isVisible());
    EXPECT_EQ(popup->MarkBox()->currentText(), kLoss);
    TypeText(popup->ScoreEdit(), "2");
    EXPECT_EQ(popup->MarkBox()->currentText(), kDraw);
    Enter(popup->ScoreEdit());
    Settle();
    EXPECT_EQ(data.table.Cell(2, 0), (ResultCell{3, ResultDraw, 0, 0}));
    EXPECT_EQ(data.table.Cell(3, 0), (ResultCell{2, ResultDraw, 0, 0}));

    // The same draw typed on a fresh cell, score first, then the opponent.
    grid->SelectCell(2, 4);
    Type("32");
    popup = ResultPopup();
    QTest::keyClick(popup->ScoreEdit(), Qt::Key_Tab);
    QTest::keyClick(popup->MarkBox(), Qt::Key_Tab);
    TypeText(popup->NameEdit(), "ito");
    Enter(popup->NameEdit());
    Settle();
    EXPECT_EQ(data.table.Cell(4, 1), (ResultCell{1, ResultDraw, 0, 0}));
    EXPECT_EQ(data.table.Cell(1, 1), (ResultCell{4, ResultDraw, 0, 0}));
}

TEST_F(ResultPopupTest, AGameIsWrittenIntoBothRowsAndTheCursorMovesOn)
{
    grid->SelectCell(2, 0);
    Type("ito");
    grid::CResultPopup* popup = ResultPopup();
    QTest::keyClick(popup->NameEdit(), Qt::Key_Tab, Qt::ShiftModifier);
    QTest::keyClick(popup->MarkBox(), Qt::Key_Tab, Qt::ShiftModifier);
    ASSERT_EQ(popup->focusWidget(), popup->ScoreEdit());
    popup->ScoreEdit()->selectAll();
    QTest::keyClicks(popup->ScoreEdit(), "-6");
    Enter(popup->ScoreEdit());
    Settle();
    EXPECT_EQ(data.table.Cell(0, 1), (ResultCell{1, ResultLoss, -6, 0}));
    EXPECT_EQ(data.table.Cell(1, 1), (ResultCell{0, ResultWin, 6, 0}));
    EXPECT_EQ(data.table.Entry(1).wins, 1);
    EXPECT_EQ(Cur(), (GridCell{3, 0}));
    EXPECT_EQ(edits->Count(), 1);
}

TEST_F(ResultPopupTest, FullWidthKeysTypedOnTheGridOpenTheEditorFindTheNameAndEnterTheScore)
{
    // What a Japanese input method types: full-width letters, digits, signs.
    grid->SelectCell(2, 0);
    Type(Qs("ｉｔｏ"));
    grid::CResultPopup* popup = ResultPopup();
    ASSERT_NE(popup, nullptr);
    EXPECT_EQ(popup->focusWidget(), popup->NameEdit());
    EXPECT_EQ(Lines(popup->CandidateList()), QStringList{Qs("伊藤")});
    QTest::keyClick(popup->NameEdit(), Qt::Key_Tab, Qt::ShiftModifier);
    QTest::keyClick(popup->MarkBox(), Qt::Key_Tab, Qt::ShiftModifier);
    ASSERT_EQ(popup->focusWidget(), popup->ScoreEdit());
    popup->ScoreEdit()->selectAll();
    TypeText(popup->ScoreEdit(), Qs("－６"));
    EXPECT_EQ(popup->MarkBox()->currentText(), kLoss);
    Enter(popup->ScoreEdit());
    Settle();
    EXPECT_EQ(data.table.Cell(0, 1), (ResultCell{1, ResultLoss, -6, 0}));
    EXPECT_EQ(data.table.Cell(1, 1), (ResultCell{0, ResultWin, 6, 0}));

    // A full-width digit opens the editor on the score, "３２" reads 32.
    grid->SelectCell(3, 2);
    Type(Qs("３２"));
    popup = ResultPopup();
    ASSERT_NE(popup, nullptr);
    EXPECT_EQ(popup->focusWidget(), popup->ScoreEdit());
    EXPECT_EQ(popup->MarkBox()->currentText(), kWin);
    QTest::keyClick(popup->ScoreEdit(), Qt::Key_Tab);
    QTest::keyClick(popup->MarkBox(), Qt::Key_Tab);
    TypeText(popup->NameEdit(), Qs("ｕｅｄａ"));
    QTest::keyClick(popup->NameEdit(), Qt::Key_Tab, Qt::ShiftModifier);
    QTest::keyClick(popup->MarkBox(), Qt::Key_Tab, Qt::ShiftModifier);
    Enter(popup->ScoreEdit());
    Settle();
    EXPECT_EQ(data.table.Cell(2, 2), (ResultCell{4, ResultWin, 32, 0}));
}

TEST_F(ResultPopupTest, CountModeTypesTheDiscCount)
{
    ShowDiscCounts(editor);
    auto enter = [&](int row, const char* name, const char* score) {
        grid->SelectCell(1, row);
        Type(QString::fromLatin1(name));
        grid::CResultPopup* popup = ResultPopup();
        popup->ScoreEdit()->setText(QString::fromLatin1(score));
        Enter(popup->NameEdit());
        Settle();
    };
    enter(0, "ito", "33");
    EXPECT_EQ(data.table.Cell(0, 0), (ResultCell{1, ResultWin, 2, 0}));
    EXPECT_EQ(data.table.Cell(1, 0).disc, -2);
    enter(2, "tanaka", "32");
    EXPECT_EQ(data.table.Cell(2, 0).disc, 0);
    EXPECT_EQ(data.table.Cell(2, 0).result, ResultDraw);
    enter(4, "pass", "32.5");
    EXPECT_EQ(data.table.Cell(4, 0), (ResultCell{ByeOpponent, ResultWin, 1, 0}));

    grid::CResultPopup* popup = Open(0, 2);
    popup->ScoreEdit()->setText("32");
    Key(popup->ScoreEdit(), Qt::Key_Up);
    EXPECT_EQ(popup->ScoreEdit()->text(), "32.5");
    EXPECT_EQ(popup->MarkBox()->currentText(), kWin);
    popup->ScoreEdit()->setText("0");
    Key(popup->ScoreEdit(), Qt::Key_Down);
    EXPECT_EQ(popup->ScoreEdit()->text(), "0  ");
    EXPECT_EQ(popup->MarkBox()->currentText(), kLoss);
}

TEST_F(ResultPopupTest, TheArrowsStepTheScore)
{
    grid::CResultPopup* popup = Open(0, 1);
    EXPECT_EQ(popup->ScoreEdit()->text(), "+0");
    QTest::mouseClick(popup->Spin()->UpButton(), Qt::LeftButton);
    QTest::mouseClick(popup->Spin()->UpButton(), Qt::LeftButton);
    EXPECT_EQ(popup->ScoreEdit()->text(), "+2");
    QTest::mouseClick(popup->Spin()->DownButton(), Qt::LeftButton);
    EXPECT_EQ(popup->ScoreEdit()->text(), "+1");
    EXPECT_EQ(popup->MarkBox()->currentText(), kWin);
}

TEST_F(ResultPopupTest, TakingAPlayerWhoPlaysSomebodyElseAsksFirst)
{
    editor.SetGame(0, 1, 1, ResultWin, 4);  // 青木一郎 - 伊藤 in round 2
    editor.SetGame(2, 1, 3, ResultDraw, 0); // 田中一郎 - 田中 in round 2

    // 青木一郎 now meets 上田, who is free: 伊藤's cell is emptied silently.
    grid->SelectCell(2, 0);
    Type("ueda");
    Enter(ResultPopup()->NameEdit());
    Settle();
    EXPECT_TRUE(Prompts().Events().empty());
    EXPECT_EQ(data.table.Cell(1, 1).opponent, NoOpponent);
    EXPECT_EQ(data.table.Cell(4, 1).opponent, 0);

    // Then 田中一郎, who plays 田中: the question names both and the round.
    grid->SelectCell(2, 0);
    Type("tanakai");
    Enter(ResultPopup()->NameEdit());
    Settle();
    ASSERT_EQ(Prompts().Events().size(), 1u);
    EXPECT_EQ(Prompts().Events()[0].text,
              Qs("「田中一郎」さんの2回戦の相手は\n「田中」さんになっています。\n 上書きしますか？"));
    EXPECT_EQ(data.table.Cell(0, 1).opponent, 4); // No: nothing changed
    EXPECT_EQ(data.table.Cell(3, 1).opponent, 2);
    EXPECT_FALSE(grid->HasPopup());
    EXPECT_EQ(Cur(), (GridCell{3, 0})); // but the cursor moved on

    Prompts().QueueAnswer(ui::Answer::Yes);
    grid->SelectCell(2, 0);
    Type("tanakai");
    Enter(ResultPopup()->NameEdit());
    Settle();
    EXPECT_EQ(data.table.Cell(0, 1).opponent, 2);
    EXPECT_EQ(data.table.Cell(2, 1).opponent, 0);
    EXPECT_EQ(data.table.Cell(3, 1).opponent, NoOpponent);
    EXPECT_EQ(data.table.Cell(4, 1).opponent, NoOpponent);
}

TEST_F(ResultPopupTest, PassFindsTheByeWhichIsNotMirrored)
{
    grid->SelectCell(3, 4);
    Type("pass");
    grid::CResultPopup* popup = ResultPopup();
    EXPECT_EQ(Lines(popup->CandidateList()), QStringList{Qs("不戦")});
    popup->ScoreEdit()->setText("+64");
    Enter(popup->NameEdit());
    Settle();
    EXPECT_EQ(data.table.Cell(4, 2), (ResultCell{ByeOpponent, ResultWin, 64, 0}));
    EXPECT_EQ(U(grid::RoundCell(data.table, data.players, 4, 2).top), "不戦");
    for (int row = 0; row < 4; ++row)
        EXPECT_EQ(data.table.Cell(row, 2).opponent, NoOpponent);
}

// "pass" makes the tournament's bye, in disc-count mode too, where the
// field's 32 once stored it as a draw and gave half a point: no result by
// default, the rule's win when the rule has one.
TEST_F(ResultPopupTest, PassMakesTheByeOfTheRuleNeverADraw)
{
    TableSettings s = data.table.settings;
    s.showDiscDifference = false;
    editor.ApplySettings(s, data.table.PlayerCount(), data.table.RoundCount());
    for (const ByeRule rule : {ByeRule{}, ByeRule{2, false}}) {
        s.bye = rule;
        editor.ApplySettings(s, data.table.PlayerCount(), data.table.RoundCount());
        grid->SelectCell(rule.winDisc == 0 ? 3 : 2, 4);
        Type("pass");
        ASSERT_NE(ResultPopup(), nullptr);
        Enter(ResultPopup()->NameEdit());
        Settle();
        EXPECT_EQ(data.table.Cell(4, rule.winDisc == 0 ? 2 : 1), rule.ByeCell());
    }
    EXPECT_EQ(data.table.Entry(4).draws, 0);
    EXPECT_EQ(data.table.Entry(4).wins, 1);
}

TEST_F(ResultPopupTest, ADoubleClickedCandidateIsCommittedEvenIfItsNameBeginsAnother)
{
    // Row 2 is 田中一郎, row 3 田中: "田中" lists 田中一郎 first.
    grid->SelectCell(1, 0);
    Type("t");
    grid::CResultPopup* popup = ResultPopup();
    popup->NameEdit()->clear();
    TypeText(popup->NameEdit(), Qs("田中"));
    ASSERT_EQ(Lines(popup->CandidateList()), (QStringList{Qs("田中一郎"), Qs("田中")}));
    QListWidget* list = popup->CandidateList();
    const QPoint second = list->visualItemRect(list->item(1)).center();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, second);
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, second);
    Settle();
    EXPECT_EQ(data.table.Cell(0, 0).opponent, 3);
    EXPECT_EQ(data.table.Cell(3, 0).opponent, 0);
}

TEST_F(ResultPopupTest, EnterInTheListTakesTheLineAndTheNextEnterCommitsIt)
{
    grid->SelectCell(1, 0);
    Type("t");
    grid::CResultPopup* popup = ResultPopup();
    popup->NameEdit()->clear();
    TypeText(popup->NameEdit(), Qs("田中"));
    Key(popup->NameEdit(), Qt::Key_Down); // into the list, second line
    ASSERT_EQ(popup->focusWidget(), popup->CandidateList());
    EXPECT_EQ(popup->CandidateList()->currentRow(), 1);
    Enter(popup->CandidateList());
    Settle();
    ASSERT_TRUE(grid->HasPopup()); // nothing committed yet
    EXPECT_EQ(popup->NameEdit()->text(), Qs("田中"));
    EXPECT_EQ(popup->focusWidget(), popup->NameEdit());
    // 田中一郎 comes first again, yet 田中 stays the one chosen.
    EXPECT_EQ(popup->CandidateList()->currentItem()->text(), Qs("田中"));
    Enter(popup->NameEdit());
    Settle();
    EXPECT_EQ(data.table.Cell(0, 0).opponent, 3);
}

TEST_F(ResultPopupTest, AnEmptyNameListsEveryFreeCandidateAndTheBye)
{
    editor.SetGame(1, 0, 2, ResultWin, 2);
    grid::CResultPopup* popup = Open(0, 1);
    QTest::mouseDClick(popup->NameEdit(), Qt::LeftButton);
    EXPECT_EQ(Lines(popup->CandidateList()), (QStringList{Qs("田中"), Qs("上田"), Qs("不戦")}));
    popup->CandidateList()->clear();
    popup->NameEdit()->setFocus();
    Key(popup->NameEdit(), Qt::Key_Down);
    EXPECT_EQ(Lines(popup->CandidateList()), (QStringList{Qs("田中"), Qs("上田"), Qs("不戦")}));
}

TEST_F(ResultPopupTest, CommittingWhatIsStoredChangesNothing)
{
    // 青木一郎 beat 田中 (row 3); "田中" also begins 田中一郎 (row 2), who
    // comes first in the list: the stored opponent must stay the chosen one.
    editor.SetGame(0, 0, 3, ResultWin, 12);
    edits->Reset();
    grid::CResultPopup* popup = Open(0, 1);
    EXPECT_EQ(Lines(popup->CandidateList()), (QStringList{Qs("田中一郎"), Qs("田中")}));
    EXPECT_EQ(popup->CandidateList()->currentRow(), 1);
    Enter(popup->ScoreEdit());
    Settle();
    EXPECT_EQ(data.table.Cell(0, 0), (ResultCell{3, ResultWin, 12, 0}));
    EXPECT_EQ(data.table.Cell(2, 0).opponent, NoOpponent);
    EXPECT_EQ(edits->Count(), 0);
    EXPECT_EQ(Cur(), (GridCell{2, 0}));
}

TEST_F(ResultPopupTest, ANameThatFindsNobodyIsRefusedAnEmptyNameClearsAndEscapeKeepsIt)
{
    editor.SetGame(0, 0, 1, ResultWin, 12);
    grid->SelectCell(1, 0);
    Type("q");
    Key(ResultPopup()->NameEdit(), Qt::Key_Escape);
    Settle();
    EXPECT_EQ(data.table.Cell(0, 0).opponent, 1);
    EXPECT_EQ(Cur(), (GridCell{1, 0}));

    // The stored score and mark are still in the editor: the name must find
    // somebody, or the game would be thrown away.
    Type("q");
    Enter(ResultPopup()->NameEdit());
    Settle();
    ASSERT_NE(ResultPopup(), nullptr);
    EXPECT_TRUE(ResultPopup()->Note()->isVisible());
    EXPECT_EQ(ResultPopup()->NameEdit()->selectedText(), QStringLiteral("q"));
    EXPECT_EQ(data.table.Cell(0, 0).opponent, 1);

    // An empty name field clears the game.
    Key(ResultPopup()->NameEdit(), Qt::Key_Backspace);
    Enter(ResultPopup()->NameEdit());
    Settle();
    EXPECT_EQ(data.table.Cell(0, 0).opponent, NoOpponent);
    EXPECT_EQ(data.table.Cell(1, 0).opponent, NoOpponent);
    EXPECT_EQ(data.table.Entry(1).losses, 0);
}

TEST_F(ResultPopupTest, TheEditorIsLaidOutInDialogUnitsAndPaintedOnWhite)
{
    grid::CResultPopup* popup = Open(1, 2);
    ASSERT_NE(popup, nullptr);
    EXPECT_EQ(popup->pos(), grid->LastPopupRequest()->screenPos);
    const grid::CDialogUnits du(popup->font());
    EXPECT_EQ(popup->size(), QSize(du.X(52) + 2, du.Y(86) + 2));
    EXPECT_EQ(popup->ScoreEdit()->geometry(), du.Rect(25, 1, 18, 14).translated(1, 1));
    EXPECT_EQ(popup->NameEdit()->geometry(), du.Rect(1, 16, 50, 14).translated(1, 1));
    EXPECT_EQ(popup->CandidateList()->geometry(), du.Rect(1, 32, 50, 54).translated(1, 1));
    EXPECT_EQ(popup->MarkBox()->count(), 4);
    EXPECT_EQ(popup->MarkBox()->itemText(0), Qs("　"));
    const QImage shot = popup->grab().toImage();
    // Between the selector and the name field (inside the 1-pixel border):
    // the editor's own white.
    ASSERT_LT(du.Y(15), du.Y(16));
    const QPoint gap(du.X(10) + 1, du.Y(15) + 1);
    EXPECT_EQ(QColor(shot.pixel(gap)), QColor(grid::GridPalette::kBackground));
    EXPECT_EQ(popup->CandidateList()->palette().color(QPalette::Base), QColor(grid::GridPalette::kBackground));
}

} // namespace
} // namespace tabry::test

namespace tabry::test {
namespace {

// The refusals the editor makes instead of guessing, and the quick entry
// of a game won or lost by default, typed as the organiser types them.
struct EditorRefusalsTest : PopupFixture {
    // Types `score`, goes to the name field with Tab, Tab, types `name`
    // there and presses Enter.
    grid::CResultPopup* Commit(int row, int round, const QString& score, const QString& name)
    {
        grid->SelectCell(round, row);
        Type(score);
        grid::CResultPopup* popup = ResultPopup();
        if (popup == nullptr)
            return nullptr;
        Key(popup->ScoreEdit(), Qt::Key_Tab);
        Key(popup->MarkBox(), Qt::Key_Tab);
        TypeText(popup->NameEdit(), name);
        Key(popup->NameEdit(), Qt::Key_Return);
        Settle();
        return ResultPopup();
    }
    // The editor is still open, says why, hands back the name, and nothing
    // changed.
    void ExpectRefused(grid::CResultPopup* popup, const std::string& before, const QString& why)
    {
        ASSERT_NE(popup, nullptr) << "the editor closed";
        EXPECT_TRUE(popup->Note()->isVisible());
        EXPECT_TRUE(popup->Note()->text().contains(why)) << popup->Note()->text().toStdString();
        EXPECT_EQ(popup->focusWidget(), popup->NameEdit());
        EXPECT_EQ(popup->NameEdit()->selectedText(), popup->NameEdit()->text());
        EXPECT_EQ(editor.Save(), before);
        EXPECT_EQ(edits->Count(), 0);
        Key(popup->NameEdit(), Qt::Key_Escape);
        Settle();
    }
};

TEST_F(EditorRefusalsTest, ASignAloneIsWonOrLostByDefaultInBothModes)
{
    EXPECT_EQ(Commit(0, 1, "+", "ito"), nullptr);
    EXPECT_EQ(data.table.Cell(0, 0), (ResultCell{1, ResultWin, 0, 0}));
    EXPECT_EQ(data.table.Cell(1, 0), (ResultCell{0, ResultLoss, 0, 0}));

    // Counted in discs the game is the same: no disc difference.
    ShowDiscCounts(editor);
    EXPECT_EQ(Commit(2, 2, "-", "ueda"), nullptr);
    EXPECT_EQ(data.table.Cell(2, 1), (ResultCell{4, ResultLoss, 0, 0}));
    EXPECT_EQ(data.table.Cell(4, 1), (ResultCell{2, ResultWin, 0, 0}));
}

TEST_F(EditorRefusalsTest, ANameThatFindsNobodyAndAWithdrawnRoundAreRefusedInsideTheEditor)
{
    editor.SetGame(1, 2, 3, ResultWin, 6);
    edits->Reset();
    const std::string before = editor.Save();
    const QString nobody = QStringLiteral("この名前のプレイヤはいません");

    // A typo after a score: the game stays as it was, the pairing too.
    ExpectRefused(Commit(0, 3, "40", "utea"), before, nobody);
    // A very long name, and a pasted one with a line break.
    ExpectRefused(Commit(0, 3, "12", QString(300, QLatin1Char('u'))), before, nobody);
    grid->SelectCell(3, 0);
    Type("12");
    grid::CResultPopup* popup = ResultPopup();
    ASSERT_NE(popup, nullptr);
    popup->NameEdit()->setFocus();
    popup->NameEdit()->insert(QStringLiteral("ueda\nx"));
    Key(popup->NameEdit(), Qt::Key_Return);
    Settle();
    ExpectRefused(ResultPopup(), before, nobody);

    // 上田 (row 4) left from round 2: no game of his there, from either side.
    ASSERT_FALSE(editor.Withdraw(4, 1).refusal);
    edits->Reset();
    const std::string withdrawn = editor.Save();
    ExpectRefused(Commit(0, 2, "8", "ueda"), withdrawn, QStringLiteral("棄権"));
    ExpectRefused(Commit(4, 2, "8", "ito"), withdrawn, QStringLiteral("棄権"));
    // The round before he left still takes his game.
    EXPECT_EQ(Commit(0, 1, "8", "ueda"), nullptr);
    EXPECT_EQ(data.table.Cell(0, 0).opponent, 4);
}

} // namespace
} // namespace tabry::test
