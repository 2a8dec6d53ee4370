#include "playerdb/ui/UserDbDialog.h"

#include "edit/TournamentEditor.h"
#include "playerdb/PlayerText.h"
#include "playerdb/ui/UserDbModel.h"
#include "playerdb/ui/UserEditDialog.h"
#include "tests/guisupport/DialogDriver.h"
#include "tests/guisupport/GuiTest.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <QAbstractItemModelTester>
#include <QComboBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTreeView>

namespace tabry {
namespace {

using test::Prompts;
using test::S;
using test::TypeText;
using test::WhenModalOpens;

class UserDbDialogTest : public ::testing::Test {
protected:
    UserDbDialogTest() : editor(Sample()) { dbPath = dir / "player.db"; }

    static TournamentData Sample()
    {
        TournamentData sample;
        sample.players.Add("carol", "c", "ca", S("東京"), 3, "m3");
        sample.players.Add("alice", "a", "al", S("北海道"), -1, "m1");
        sample.players.Add("bob", "b", "bo", S("ハワイ"), 7, "m2");
        sample.players.Add("dave", "d", "da", "", 0, "m4");
        // carol and bob play; the other rows are empty.
        sample.table.Entry(0).playerIndex = 1;
        sample.table.Entry(1).playerIndex = 3;
        return sample;
    }

    void TearDown() override
    {
        EXPECT_FALSE(test::DropPendingModalActions()) << "a dialog the test answered never opened";
    }

    void Open()
    {
        dialog = std::make_unique<CUserDbDialog>(editor, dbPath);
        tester = std::make_unique<QAbstractItemModelTester>(dialog->Model(),
                                                            QAbstractItemModelTester::FailureReportingMode::Fatal);
        dialog->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(dialog.get()));
    }

    QPoint RowCenter(int row) const { return dialog->List()->visualRect(dialog->Model()->index(row, 0)).center(); }
    void ClickRow(int row) { QTest::mouseClick(dialog->List()->viewport(), Qt::LeftButton, {}, RowCenter(row)); }
    // A real double click: press and release, then the double-click event.
    void DoubleClickRow(int row)
    {
        ClickRow(row);
        QTest::mouseDClick(dialog->List()->viewport(), Qt::LeftButton, {}, RowCenter(row));
    }
    void ClickHeader(int column)
    {
        QHeaderView* h = dialog->List()->header();
        const QPoint p(h->sectionViewportPosition(column) + h->sectionSize(column) / 2, h->height() / 2);
        QTest::mouseClick(h->viewport(), Qt::LeftButton, {}, p);
    }
    static void Click(QPushButton* b) { QTest::mouseClick(b, Qt::LeftButton); }

    std::vector<std::string> Names() const
    {
        std::vector<std::string> out;
        const CUserDbRows& rows = dialog->Model()->Rows();
        for (int i = 0; i < rows.Count(); ++i)
            out.push_back(rows.Text(i, CUserDbRows::LongName));
        return out;
    }

    // Answers the next add/edit dialog: long name typed over, then OK.
    static void AnswerEdit(const QString& longName, QString* title = nullptr)
    {
        WhenModalOpens<CUserEditDialog>([longName, title](CUserEditDialog* d) {
            if (title != nullptr)
                *title = d->windowTitle();
            d->LongNameEdit()->selectAll();
            TypeText(d->LongNameEdit(), longName);
            QTest::keyClick(d->LongNameEdit(), Qt::Key_Return);
            if (d->isVisible())
                d->reject(); // refused: leave it
        });
    }

    test::TempDir dir;
    std::filesystem::path dbPath;
    CTournamentEditor editor;
    const TournamentData& data = editor.Data();
    std::unique_ptr<CUserDbDialog> dialog;
    std::unique_ptr<QAbstractItemModelTester> tester;
};

using NameList = std::vector<std::string>;

TEST_F(UserDbDialogTest, ListShowsEveryPersonInSixColumnsWithNothingSelected)
{
    Open();
    EXPECT_EQ(dialog->windowTitle(), QStringLiteral("ユーザDB"));
    const QStringList titles = {QStringLiteral("氏名"),   QStringLiteral("短縮名"),   QStringLiteral("段級位"),
                                QStringLiteral("居住地"), QStringLiteral("会員番号"), QStringLiteral("入力")};
    const int widths[] = {82, 48, 48, 48, 64, 112};
    ASSERT_EQ(dialog->Model()->columnCount(), 6);
    for (int c = 0; c < 6; ++c) {
        EXPECT_EQ(dialog->Model()->headerData(c, Qt::Horizontal).toString(), titles[c]);
        EXPECT_EQ(dialog->List()->header()->sectionSize(c), widths[c]);
    }
    EXPECT_EQ(Names(), (NameList{"carol", "alice", "bob", "dave"}));
    EXPECT_EQ(dialog->Model()->index(1, 2).data().toString(), QStringLiteral("１級"));
    EXPECT_EQ(dialog->Model()->index(0, 3).data().toString(), QStringLiteral("東京"));
    EXPECT_EQ(dialog->SelectedRow(), -1);
    EXPECT_EQ(dialog->List()->selectionMode(), QAbstractItemView::SingleSelection);
    EXPECT_EQ(dialog->List()->selectionBehavior(), QAbstractItemView::SelectRows);
    for (QPushButton* b : {dialog->UpButton(), dialog->DownButton(), dialog->EditButton(), dialog->DeleteButton()})
        EXPECT_FALSE(b->isEnabled()) << b->text().toStdString();
    EXPECT_TRUE(dialog->AddButton()->isEnabled());
}

TEST_F(UserDbDialogTest, ButtonsFollowTheSelectedRow)
{
    Open();
    ClickRow(0); // carol, in the table
    EXPECT_EQ(dialog->SelectedRow(), 0);
    EXPECT_FALSE(dialog->UpButton()->isEnabled());
    EXPECT_TRUE(dialog->DownButton()->isEnabled());
    EXPECT_TRUE(dialog->EditButton()->isEnabled());
    EXPECT_FALSE(dialog->DeleteButton()->isEnabled());
    ClickRow(1); // alice, not in the table
    EXPECT_TRUE(dialog->UpButton()->isEnabled());
    EXPECT_TRUE(dialog->DeleteButton()->isEnabled());
    QTest::keyClick(dialog->List(), Qt::Key_End); // dave, the last row
    EXPECT_EQ(dialog->SelectedRow(), 3);
    EXPECT_FALSE(dialog->DownButton()->isEnabled());
    EXPECT_TRUE(dialog->UpButton()->isEnabled());
}

TEST_F(UserDbDialogTest, DeleteRefusesAPlayerAndSelectsTheRowThatMovesUp)
{
    Open();
    ClickRow(2); // bob plays
    ASSERT_FALSE(dialog->DeleteButton()->isEnabled());
    // Even if the button were pressed, the row stays and the reason is given.
    dialog->DeleteButton()->setEnabled(true);
    Click(dialog->DeleteButton());
    EXPECT_EQ(Names(), (NameList{"carol", "alice", "bob", "dave"}));
    EXPECT_EQ(Prompts().Texts(), QStringList{QStringLiteral("「bob」さんは現在編集中の結果表で使用されているため\n"
                                                            "ユーザDBから削除することは出来ません。")});

    ClickRow(1); // alice
    Click(dialog->DeleteButton());
    EXPECT_EQ(Names(), (NameList{"carol", "bob", "dave"}));
    EXPECT_EQ(dialog->SelectedRow(), 1);
    EXPECT_FALSE(dialog->DeleteButton()->isEnabled());
    ClickRow(2); // the last row: nothing is left to select after it
    Click(dialog->DeleteButton());
    EXPECT_EQ(Names(), (NameList{"carol", "bob"}));
    EXPECT_EQ(dialog->SelectedRow(), -1);
    EXPECT_FALSE(dialog->EditButton()->isEnabled());
}

TEST_F(UserDbDialogTest, UpAndDownMoveThePersonAndOkKeepsTheTableOnTheSamePeople)
{
    Open();
    ClickRow(0);
    Click(dialog->DownButton());
    EXPECT_EQ(Names(), (NameList{"alice", "carol", "bob", "dave"}));
    EXPECT_EQ(dialog->SelectedRow(), 1);
    Click(dialog->DownButton());
    Click(dialog->DownButton());
    EXPECT_EQ(Names(), (NameList{"alice", "bob", "dave", "carol"}));
    EXPECT_FALSE(dialog->DownButton()->isEnabled());
    ClickRow(1);
    Click(dialog->UpButton());
    EXPECT_EQ(Names(), (NameList{"bob", "alice", "dave", "carol"}));
    EXPECT_EQ(dialog->SelectedRow(), 0);
    EXPECT_FALSE(dialog->UpButton()->isEnabled());

    Click(dialog->OkButton());
    EXPECT_EQ(dialog->result(), QDialog::Accepted);
    EXPECT_TRUE(Prompts().Events().empty()) << Prompts().Texts().join("|").toStdString();
    EXPECT_EQ(data.players.GetAt(1).m_longName, "bob");
    EXPECT_EQ(data.players.GetAt(4).m_longName, "carol");
    EXPECT_EQ(data.players.GetAt(data.table.Entry(0).playerIndex).m_longName, "carol");
    EXPECT_EQ(data.players.GetAt(data.table.Entry(1).playerIndex).m_longName, "bob");
    EXPECT_EQ(data.table.Entry(2).playerIndex, -1);
    EXPECT_TRUE(dialog->RebuildResult().referencesChanged);
    EXPECT_TRUE(dialog->Saved());
    EXPECT_EQ(test::ReadAll(dbPath), data.players.SaveBytes(1));
    EXPECT_FALSE(data.playersModified);
}

TEST_F(UserDbDialogTest, OkWithoutChangeRewritesTheSameRecords)
{
    const std::string before = data.players.SaveBytes(1);
    Open();
    Click(dialog->OkButton());
    EXPECT_EQ(test::ReadAll(dbPath), before);
    EXPECT_EQ(data.players.GetCount(), 5);
    EXPECT_FALSE(dialog->RebuildResult().referencesChanged);
    EXPECT_FALSE(dialog->RebuildResult().playersChanged);
}

TEST_F(UserDbDialogTest, CancelLeavesDatabaseTableAndFileAlone)
{
    const std::string before = data.players.SaveBytes(1);
    Open();
    ClickRow(0);
    Click(dialog->DownButton());
    ClickRow(3);
    Click(dialog->DeleteButton());
    Click(dialog->CancelButton());
    EXPECT_EQ(dialog->result(), QDialog::Rejected);
    EXPECT_EQ(data.players.SaveBytes(1), before);
    EXPECT_EQ(data.table.Entry(0).playerIndex, 1);
    EXPECT_FALSE(std::filesystem::exists(dbPath));
}

TEST_F(UserDbDialogTest, HeaderClicksSortAndTheSelectionFollowsItsRow)
{
    Open();
    ClickRow(0); // carol
    ClickHeader(0);
    EXPECT_EQ(Names(), (NameList{"alice", "bob", "carol", "dave"}));
    EXPECT_EQ(dialog->SelectedRow(), 2);
    ClickHeader(0);
    EXPECT_EQ(Names(), (NameList{"dave", "carol", "bob", "alice"}));
    ClickHeader(2); // 七段, 三段, １級, none
    EXPECT_EQ(Names(), (NameList{"bob", "carol", "alice", "dave"}));
    EXPECT_EQ(dialog->SelectedRow(), 1);
    EXPECT_TRUE(dialog->DownButton()->isEnabled());

    Click(dialog->OkButton());
    EXPECT_EQ(data.players.GetAt(1).m_longName, "bob");
    EXPECT_EQ(data.players.GetAt(data.table.Entry(0).playerIndex).m_longName, "carol");
    EXPECT_EQ(data.players.GetAt(data.table.Entry(1).playerIndex).m_longName, "bob");
}

TEST_F(UserDbDialogTest, AddAppendsARowThatLaterEditsOpenAsNew)
{
    Open();
    QString title;
    AnswerEdit(QStringLiteral("Eve "), &title);
    Click(dialog->AddButton());
    EXPECT_EQ(title, QStringLiteral("ユーザの追加"));
    EXPECT_EQ(Names(), (NameList{"carol", "alice", "bob", "dave", "Eve"}));
    EXPECT_EQ(dialog->SelectedRow(), 4);
    EXPECT_EQ(dialog->Model()->index(4, 2).data().toString(), QString()); // no grade chosen
    EXPECT_TRUE(dialog->DeleteButton()->isEnabled());

    AnswerEdit(QStringLiteral("eve2"), &title);
    DoubleClickRow(4);
    EXPECT_EQ(title, QStringLiteral("ユーザの追加"));
    EXPECT_EQ(Names(), (NameList{"carol", "alice", "bob", "dave", "eve2"}));
    EXPECT_EQ(dialog->Model()->Rows().Row(4).origin, -1);

    Click(dialog->OkButton());
    ASSERT_EQ(data.players.GetCount(), 6);
    EXPECT_EQ(data.players.GetAt(5).m_longName, "eve2");
    EXPECT_EQ(data.players.GetAt(5).m_grade, 0);
}

TEST_F(UserDbDialogTest, EditReplacesTheRowAndKeepsItsPerson)
{
    Open();
    ClickRow(2); // bob
    QString title;
    WhenModalOpens<CUserEditDialog>([&title](CUserEditDialog* d) {
        title = d->windowTitle();
        EXPECT_EQ(d->focusWidget(), d->ShortNameEdit());
        EXPECT_EQ(d->GradeBox()->currentText(), QStringLiteral("七段"));
        EXPECT_EQ(d->ResidenceBox()->currentText(), QStringLiteral("ハワイ"));
        TypeText(d->ShortNameEdit(), QStringLiteral("BB"));
        d->ResidenceBox()->setCurrentIndex(0);
        QTest::keyClick(d->ShortNameEdit(), Qt::Key_Return);
    });
    Click(dialog->EditButton());
    EXPECT_EQ(title, QStringLiteral("ユーザの編集"));
    EXPECT_EQ(dialog->SelectedRow(), 2);
    EXPECT_EQ(dialog->Model()->index(2, 1).data().toString(), QStringLiteral("BB"));
    EXPECT_EQ(dialog->Model()->index(2, 3).data().toString(), QStringLiteral("北海道"));

    Click(dialog->OkButton());
    const CPlayerRecord& bob = data.players.GetAt(data.table.Entry(1).playerIndex);
    EXPECT_EQ(bob.m_longName, "bob");
    EXPECT_EQ(bob.m_shortName, "bb");
    EXPECT_EQ(bob.m_residence, S("北海道"));
    EXPECT_EQ(bob.m_grade, 7);
    EXPECT_TRUE(dialog->RebuildResult().playersChanged);
}

TEST_F(UserDbDialogTest, DuplicateCheckSeesTheDatabaseAsItWasAtOpening)
{
    Open();
    ClickRow(3); // dave, not in the table
    Click(dialog->DeleteButton());
    // Deleted here, but still registered until OK.
    AnswerEdit(QStringLiteral("dave"));
    Click(dialog->AddButton());
    EXPECT_EQ(Names(), (NameList{"carol", "alice", "bob"}));
    EXPECT_EQ(Prompts().Texts(), QStringList{QStringLiteral("「dave」さんは既に登録されています。")});
    // Two new rows with the same name are both accepted.
    AnswerEdit(QStringLiteral("zed"));
    Click(dialog->AddButton());
    AnswerEdit(QStringLiteral("zed"));
    Click(dialog->AddButton());
    EXPECT_EQ(Names(), (NameList{"carol", "alice", "bob", "zed", "zed"}));
}

TEST_F(UserDbDialogTest, ResizingGrowsTheListAndKeepsTheButtonsAtTheRight)
{
    Open();
    dialog->resize(600, 360);
    QTest::qWait(0);
    const QRect list = dialog->List()->geometry();
    const QRect up = dialog->UpButton()->geometry();
    const QRect add = dialog->AddButton()->geometry();
    const QRect ok = dialog->OkButton()->geometry();
    const QRect cancel = dialog->CancelButton()->geometry();
    dialog->resize(700, 440);
    QTest::qWait(0);
    EXPECT_EQ(dialog->List()->geometry().topLeft(), list.topLeft());
    EXPECT_EQ(dialog->List()->geometry().size(), list.size() + QSize(100, 80));
    EXPECT_EQ(dialog->UpButton()->geometry(), up.translated(100, 0));
    EXPECT_EQ(dialog->AddButton()->geometry(), add.translated(100, 0));
    EXPECT_EQ(dialog->OkButton()->geometry(), ok.translated(100, 80));
    EXPECT_EQ(dialog->CancelButton()->geometry(), cancel.translated(100, 80));
}

TEST_F(UserDbDialogTest, AFailedSaveIsReportedAndTheRebuildKept)
{
    dbPath = dir / "missing-folder" / "player.db";
    Open();
    ClickRow(0);
    Click(dialog->DownButton());
    Click(dialog->OkButton());
    EXPECT_EQ(dialog->result(), QDialog::Accepted);
    EXPECT_FALSE(dialog->Saved());
    ASSERT_EQ(Prompts().Events().size(), 1u);
    EXPECT_EQ(Prompts().Events()[0].kind, QStringLiteral("error"));
    EXPECT_TRUE(Prompts().Events()[0].text.contains(QString::fromStdString(dbPath.string())));
    EXPECT_EQ(data.players.GetAt(1).m_longName, "alice");
    EXPECT_EQ(data.players.GetAt(data.table.Entry(0).playerIndex).m_longName, "carol");
    EXPECT_TRUE(data.playersModified); // so the save at exit tries again
}

} // namespace
} // namespace tabry
