// The grid's three context menus, opened with the right mouse button and
// driven with the menu's own keys.

#include "tests/grid/PopupFixture.h"

#include "grid/CellText.h"
#include "grid/ResultGrid.h"
#include "pairing/RandomGenerator.h"
#include "playerdb/ui/UserEditDialog.h"
#include "tests/guisupport/DialogDriver.h"
#include "tests/guisupport/GuiTest.h"
#include "tests/support/SmallTournaments.h"
#include "tests/support/TestSupport.h"

#include <QAction>
#include <QContextMenuEvent>
#include <QLineEdit>
#include <QMenu>
#include <QSignalSpy>
#include <QTest>

namespace tabry::test {
namespace {

using grid::GridCell;

struct Entry {
    QString text;
    bool enabled;
    friend bool operator==(const Entry&, const Entry&) = default;
    friend void PrintTo(const Entry& e, std::ostream* os)
    {
        *os << e.text.toStdString() << (e.enabled ? "" : " (grayed)");
    }
};

std::vector<Entry> EntriesOf(const QMenu* menu)
{
    std::vector<Entry> out;
    for (QAction* a : menu->actions())
        if (!a->isSeparator())
            out.push_back({a->text(), a->isEnabled()});
    return out;
}

struct GridMenusTest : PopupFixture {
    CRandomGenerator random{7};
    std::vector<Entry> shown;
    QString menuName;

    void SetUp() override
    {
        PopupFixture::SetUp();
        grid->SetRandomGenerator(&random);
    }
    QPoint CellCentre(int col, int row) const
    {
        const grid::GridRect r = grid->CellRect(col, row);
        return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    }
    QPoint HeaderCentre(int col) const { return {CellCentre(col, 0).x(), 8}; }
    // Right-clicks `pos`; the menu that opens is recorded and then either
    // closed (empty `choice`) or the entry captioned `choice` is taken.
    void RightClick(const QPoint& pos, const QString& choice = {})
    {
        shown.clear();
        menuName.clear();
        WhenMenuOpens([this, choice](QMenu* menu) {
            shown = EntriesOf(menu);
            menuName = menu->objectName();
            for (QAction* a : menu->actions()) {
                if (!choice.isEmpty() && a->text() == choice) {
                    menu->setActiveAction(a);
                    QTest::keyClick(menu, Qt::Key_Return);
                    return;
                }
            }
            menu->close();
        });
        QTest::mouseClick(grid->viewport(), Qt::RightButton, {}, pos);
        Settle();
    }
    // Selects round column `col` with a click on its header, then opens the
    // round menu there.
    void RoundMenu(int col, const QString& choice = {})
    {
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, HeaderCentre(col));
        RightClick(HeaderCentre(col), choice);
    }
};

const QString kEdit = QStringLiteral("編集(&E)");
const QString kDelete = QStringLiteral("削除(&D)");
const QString kRecord = QStringLiteral("ユーザDBの編集(&U)...");
const QString kWithdraw = QStringLiteral("棄権(&W)...");
const QString kAddRow = QStringLiteral("行の追加(&I)");
const QString kSitOut = QStringLiteral("この回戦を休む(&S)...");
const QString kPlayAgain = QStringLiteral("休みを取り消す(&S)");
const QString kEnter = QStringLiteral("結果入力(&E)");
const QString kPair = QStringLiteral("組み合わせ作成(&P)");
const QString kPairingTable = QStringLiteral("組み合わせ表保存");
const QString kScoreSheet = QStringLiteral("成績表保存");

TEST_F(GridMenusTest, AnEmptyRowsPlayerMenuOffersOnlyEditingWhichOpensAnEmptyEditor)
{
    RightClick(CellCentre(0, 6), kEdit);
    EXPECT_EQ(menuName, "playerMenu");
    EXPECT_EQ(shown, (std::vector<Entry>{
                         {kEdit, true}, {kDelete, false}, {kRecord, false}, {kWithdraw, false}, {kAddRow, true}}));
    ASSERT_NE(PlayerPopup(), nullptr);
    EXPECT_EQ(PlayerPopup()->NameEdit()->text(), "");
    EXPECT_EQ(Cur(), (GridCell{0, 6}));
}

TEST_F(GridMenusTest, AnEmptyRowsGameMenuIsAllGrayed)
{
    RightClick(CellCentre(2, 6));
    EXPECT_EQ(menuName, "gameMenu");
    EXPECT_EQ(shown, (std::vector<Entry>{{kEdit, false}, {kDelete, false}, {kSitOut, false}}));
}

TEST_F(GridMenusTest, TheGameMenuEditsAndClearsAGame)
{
    editor.SetGame(0, 0, 1, ResultWin, 8);
    edits->Reset();
    RightClick(CellCentre(1, 0), kEdit);
    ASSERT_NE(ResultPopup(), nullptr);
    EXPECT_EQ(ResultPopup()->ScoreEdit()->text(), "+8");
    Key(ResultPopup()->ScoreEdit(), Qt::Key_Escape);
    Settle();

    RightClick(CellCentre(1, 0), kDelete);
    EXPECT_EQ(shown, (std::vector<Entry>{{kEdit, true}, {kDelete, true}, {kSitOut, false}}));
    EXPECT_EQ(data.table.Cell(0, 0).opponent, NoOpponent);
    EXPECT_EQ(data.table.Cell(1, 0).opponent, NoOpponent);
    EXPECT_EQ(data.table.Entry(1).losses, 0);
    EXPECT_EQ(edits->Count(), 1);
}

TEST_F(GridMenusTest, DeletingAPlayerWhoHasPlayedAsksAndTakesHisGamesAlong)
{
    editor.SetGame(1, 0, 2, ResultWin, 8);
    Prompts().QueueAnswer(ui::Answer::Yes);
    RightClick(CellCentre(0, 1), kDelete);
    EXPECT_EQ(shown, (std::vector<Entry>{
                         {kEdit, true}, {kDelete, true}, {kRecord, true}, {kWithdraw, true}, {kAddRow, true}}));
    ASSERT_EQ(Prompts().Events().size(), 1u);
    EXPECT_EQ(Prompts().Events()[0].text, QStringLiteral("「伊藤」さんを削除します。よろしいですか？"));
    EXPECT_TRUE(data.table.Entry(1).IsEmpty());
    EXPECT_EQ(data.table.Cell(2, 0).opponent, NoOpponent);
    EXPECT_EQ(data.table.Entry(2).losses, 0);

    // Without games nobody is asked.
    RightClick(CellCentre(0, 3), kDelete);
    EXPECT_TRUE(data.table.Entry(3).IsEmpty());
    EXPECT_EQ(Prompts().Events().size(), 1u);
}

TEST_F(GridMenusTest, DeletingARoundAsksWithItsNumberOnlyWhenItHasGames)
{
    editor.SetGame(0, 2, 1, ResultWin, 10);
    editor.SetGame(2, 2, 3, ResultLoss, -2);
    edits->Reset();
    RoundMenu(2);
    EXPECT_EQ(menuName, "roundMenu");
    EXPECT_EQ(shown.back(), (Entry{kDelete, false}));

    Prompts().QueueAnswer(ui::Answer::Yes);
    RoundMenu(3, kDelete);
    ASSERT_EQ(Prompts().Events().size(), 1u);
    EXPECT_EQ(Prompts().Events()[0].text, QStringLiteral("3回戦の結果を削除します。よろしいですか？"));
    for (int row = 0; row < 4; ++row)
        EXPECT_EQ(data.table.Cell(row, 2).opponent, NoOpponent) << row;
    EXPECT_EQ(data.table.Entry(0).wins, 0);
    EXPECT_EQ(data.table.Entry(3).losses, 0);
    EXPECT_EQ(edits->Count(), 1);
}

TEST_F(GridMenusTest, PairingARoundFillsOnlyTheCellsStillEmpty)
{
    editor.SetGame(0, 1, 1, ResultNone, 0);
    edits->Reset();
    RoundMenu(2, kPair);
    EXPECT_EQ(data.table.Cell(0, 1).opponent, 1);
    EXPECT_EQ(data.table.Cell(1, 1).opponent, 0);
    int byes = 0;
    for (int row = 2; row < 5; ++row) {
        const int opponent = data.table.Cell(row, 1).opponent;
        ASSERT_NE(opponent, NoOpponent);
        byes += opponent == ByeOpponent ? 1 : 0;
        EXPECT_EQ(data.table.Cell(row, 1).result, ResultNone);
    }
    EXPECT_EQ(byes, 1);
    EXPECT_EQ(edits->Count(), 1);

    // Everybody is paired now: nothing more happens.
    RoundMenu(2, kPair);
    EXPECT_EQ(edits->Count(), 1);
}

TEST_F(GridMenusTest, PairingWhileAnEarlierRoundHasOpenBoardsAsksAndTheStatusSaysWhatWasPaired)
{
    editor.SetGame(0, 0, 1, ResultNone, 0); // round 1: one board still without a result
    editor.Withdraw(4, 1);                  // 上田 leaves before round 2
    edits->Reset();
    QSignalSpy status(grid.get(), &grid::CResultGrid::statusMessage);
    const QString question = QStringLiteral("第1回戦に結果のない対局が1局あります。組み合わせを作成しますか?");

    RoundMenu(2, kPair); // No: nothing paired
    ASSERT_EQ(Prompts().Events().size(), 1u);
    EXPECT_EQ(Prompts().Events()[0].text, question);
    EXPECT_EQ(edits->Count(), 0);
    EXPECT_EQ(data.table.Cell(0, 1).opponent, NoOpponent);
    EXPECT_EQ(status.count(), 0);

    Prompts().QueueAnswer(ui::Answer::Yes);
    RoundMenu(2, kPair);
    EXPECT_EQ(edits->Count(), 1);
    // Four players left: two boards, no bye, 上田 left out.
    ASSERT_EQ(status.count(), 1);
    EXPECT_EQ(status.at(0).at(0).toString(),
              QStringLiteral("第2回戦の組み合わせを作成しました: 2局、棄権のため除外 1人 (上田)"));
}

TEST_F(GridMenusTest, ThePlayerAndTotalHeadersShowTheRoundMenuWithNothingToDo)
{
    editor.SetGame(0, 0, 1, ResultWin, 10);
    edits->Reset();
    const std::vector<Entry> grayed = {
        {kEnter, false}, {kPair, false}, {kPairingTable, false}, {kScoreSheet, false}, {kDelete, false}};
    RoundMenu(0);
    EXPECT_EQ(shown, grayed);
    RoundMenu(data.table.RoundCount() + 1);
    EXPECT_EQ(shown, grayed);
    EXPECT_EQ(edits->Count(), 0);
}

TEST_F(GridMenusTest, TheRoundMenusOutputsNameTheRound)
{
    QSignalSpy sheets(grid.get(), &grid::CResultGrid::scoreSheetRequested);
    QSignalSpy tables(grid.get(), &grid::CResultGrid::pairingTableRequested);
    RoundMenu(2, kScoreSheet);
    RoundMenu(3, kPairingTable);
    ASSERT_EQ(sheets.count(), 1);
    EXPECT_EQ(sheets[0][0].toInt(), 2);
    ASSERT_EQ(tables.count(), 1);
    EXPECT_EQ(tables[0][0].toInt(), 3);
}

TEST_F(GridMenusTest, EnteringResultsGoesToTheFirstPlayerWithoutOne)
{
    editor.SetGame(0, 0, 1, ResultWin, 10);
    editor.SetGame(2, 0, 3, ResultNone, 0);
    RoundMenu(1, kEnter);
    EXPECT_EQ(Cur(), (GridCell{1, 2}));
    EXPECT_EQ(grid->SelCol(), grid::kNoColumn);
    ASSERT_NE(ResultPopup(), nullptr);
    EXPECT_EQ(ResultPopup()->NameEdit()->text(), QStringLiteral("田中"));
    Key(ResultPopup()->ScoreEdit(), Qt::Key_Escape);
    Settle();

    // With every result in, the entry is grayed.
    editor.SetGame(2, 0, 3, ResultDraw, 0);
    editor.SetGame(4, 0, ByeOpponent, ResultWin, 64);
    RoundMenu(1);
    EXPECT_EQ(shown.front(), (Entry{kEnter, false}));
}

TEST_F(GridMenusTest, EditingTheRecordRenamesThePlayerEverywhere)
{
    editor.SetGame(1, 0, 2, ResultWin, 8);
    edits->Reset();
    WhenModalOpens<CUserEditDialog>([](CUserEditDialog* dialog) {
        EXPECT_EQ(dialog->LongNameEdit()->text(), QStringLiteral("伊藤"));
        dialog->ShortNameEdit()->setText(QStringLiteral("伊藤二"));
        QTest::keyClick(dialog, Qt::Key_Return);
    });
    RightClick(CellCentre(0, 1), kRecord);
    EXPECT_EQ(data.players.GetAt(2).m_shortName, S("伊藤二"));
    EXPECT_EQ(U(grid::RoundCell(data.table, data.players, 2, 0).top), "伊藤二");
    EXPECT_TRUE(data.playersModified);
    // The tournament file carries the player's names: it must be saved again.
    EXPECT_EQ(edits->Count(), 1);
}

TEST_F(GridMenusTest, TheMenuKeyOpensTheCurrentCellsMenu)
{
    grid->SelectCell(0, 2);
    shown.clear();
    WhenMenuOpens([this](QMenu* menu) {
        shown = EntriesOf(menu);
        menu->close();
    });
    QContextMenuEvent event(QContextMenuEvent::Keyboard, QPoint(0, 0), grid->viewport()->mapToGlobal(QPoint(0, 0)));
    QApplication::sendEvent(grid->viewport(), &event);
    EXPECT_EQ(shown, (std::vector<Entry>{
                         {kEdit, true}, {kDelete, true}, {kRecord, true}, {kWithdraw, true}, {kAddRow, true}}));
}

TEST_F(GridMenusTest, ARoundCellsMenuLetsThePlayerSitTheRoundOutAfterAskingAndTakesItBack)
{
    // Declined: nothing changes.
    Prompts().QueueAnswer(ui::Answer::No);
    RightClick(CellCentre(2, 1), kSitOut);
    EXPECT_EQ(menuName, "gameMenu");
    EXPECT_EQ(shown, (std::vector<Entry>{{kEdit, true}, {kDelete, false}, {kSitOut, true}}));
    ASSERT_EQ(Prompts().Events().size(), 1u);
    EXPECT_EQ(Prompts().Events()[0].text,
              QStringLiteral("「伊藤」さんは2回戦を休みます（組み合わせから外れ、この回戦の点はありません）。\n"
                             "よろしいですか？"));
    EXPECT_FALSE(data.table.Entry(1).IsAbsentIn(1));
    EXPECT_EQ(edits->Count(), 0);

    Prompts().QueueAnswer(ui::Answer::Yes);
    RightClick(CellCentre(2, 1), kSitOut);
    EXPECT_TRUE(data.table.Entry(1).IsAbsentIn(1));
    EXPECT_EQ(edits->Count(), 1);
    // The round's pairing leaves him out.
    RoundMenu(2, kPair);
    EXPECT_EQ(data.table.Cell(1, 1).opponent, NoOpponent);
    EXPECT_NE(data.table.Cell(0, 1).opponent, NoOpponent);

    RightClick(CellCentre(2, 1), kPlayAgain);
    EXPECT_EQ(shown.back(), (Entry{kPlayAgain, true}));
    EXPECT_FALSE(data.table.Entry(1).IsAbsentIn(1));
    EXPECT_EQ(Prompts().Events().size(), 2u); // taking it back asks nothing
}

} // namespace
} // namespace tabry::test
