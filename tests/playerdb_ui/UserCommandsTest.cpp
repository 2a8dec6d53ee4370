#include "playerdb/ui/UserCommands.h"

#include "edit/TournamentEditor.h"
#include "playerdb/ui/UserDbDialog.h"
#include "playerdb/ui/UserDbModel.h"
#include "playerdb/ui/UserEditDialog.h"
#include "tests/guisupport/DialogDriver.h"
#include "tests/guisupport/GuiTest.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTreeView>

namespace tabry {
namespace {

using test::FocusedWithAllSelected;
using test::Prompts;
using test::S;
using test::TypeText;
using test::WhenModalOpens;

class UserCommandsTest : public ::testing::Test {
protected:
    UserCommandsTest() : editor(Sample()) {}

    static TournamentData Sample()
    {
        TournamentData sample;
        sample.players.Add("alice", "a", "al", S("東京"), -7, "m1");
        sample.players.Add("bob", "b", "bo", "", 2, "m2");
        sample.table.Entry(3).playerIndex = 2;
        return sample;
    }

    void TearDown() override
    {
        EXPECT_FALSE(test::DropPendingModalActions()) << "a dialog the test answered never opened";
    }

    CTournamentEditor editor;
    const TournamentData& data = editor.Data();
};

TEST_F(UserCommandsTest, AddUserOpensANewShodanAndAddsOnOk)
{
    QString title;
    bool focused = false;
    QString grade;
    WhenModalOpens<CUserEditDialog>([&](CUserEditDialog* d) {
        title = d->windowTitle();
        focused = FocusedWithAllSelected(d->LongNameEdit());
        grade = d->GradeBox()->currentText();
        TypeText(d->LongNameEdit(), QStringLiteral("Carol"));
        TypeText(d->InputNameEdit(), QStringLiteral("CA"));
        TypeText(d->ResidenceBox()->lineEdit(), QStringLiteral("京都"));
        QTest::keyClick(d->LongNameEdit(), Qt::Key_Return);
    });
    EXPECT_TRUE(RunAddUserCommand(nullptr, editor));
    EXPECT_EQ(title, QStringLiteral("ユーザの追加"));
    EXPECT_TRUE(focused);
    EXPECT_EQ(grade, QStringLiteral("初段"));
    ASSERT_EQ(data.players.GetCount(), 4);
    const CPlayerRecord& r = data.players.GetAt(3);
    EXPECT_EQ(r.m_longName, "carol");
    EXPECT_EQ(r.m_inputName, "ca");
    EXPECT_EQ(r.m_residence, S("京都"));
    EXPECT_EQ(r.m_grade, 1);
    EXPECT_TRUE(data.playersModified);
}

TEST_F(UserCommandsTest, CancelledAddChangesNothing)
{
    WhenModalOpens<CUserEditDialog>([](CUserEditDialog* d) {
        TypeText(d->LongNameEdit(), QStringLiteral("x"));
        QTest::keyClick(d->LongNameEdit(), Qt::Key_Escape);
    });
    EXPECT_FALSE(RunAddUserCommand(nullptr, editor));
    EXPECT_EQ(data.players.GetCount(), 3);
    EXPECT_FALSE(data.playersModified);
}

TEST_F(UserCommandsTest, EditUserDbReportsWhatOkDidToTheTable)
{
    test::TempDir dir;
    WhenModalOpens<CUserDbDialog>([](CUserDbDialog* d) {
        const QRect first = d->List()->visualRect(d->Model()->index(0, 0));
        QTest::mouseClick(d->List()->viewport(), Qt::LeftButton, {}, first.center());
        QTest::mouseClick(d->DownButton(), Qt::LeftButton);
        QTest::mouseClick(d->OkButton(), Qt::LeftButton);
    });
    UserDbCommandOutcome outcome;
    EXPECT_TRUE(RunEditUserDbCommand(nullptr, editor, dir / "player.db", &outcome));
    EXPECT_TRUE(outcome.accepted);
    EXPECT_TRUE(outcome.saved);
    EXPECT_TRUE(outcome.referencesChanged);
    EXPECT_FALSE(outcome.playersChanged);
    EXPECT_TRUE(outcome.DocumentChanged());
    EXPECT_EQ(data.players.GetAt(1).m_longName, "bob");
    EXPECT_EQ(data.table.Entry(3).playerIndex, 1);
    EXPECT_EQ(test::ReadAll(dir / "player.db"), data.players.SaveBytes(1));

    WhenModalOpens<CUserDbDialog>([](CUserDbDialog* d) { QTest::mouseClick(d->CancelButton(), Qt::LeftButton); });
    EXPECT_FALSE(RunEditUserDbCommand(nullptr, editor, dir / "player.db", &outcome));
    EXPECT_FALSE(outcome.accepted);
    EXPECT_FALSE(outcome.DocumentChanged());
}

TEST_F(UserCommandsTest, TypedNameRegistersANewPerson)
{
    QString longName, inputName, grade;
    WhenModalOpens<CUserEditDialog>([&](CUserEditDialog* d) {
        longName = d->LongNameEdit()->text();
        inputName = d->InputNameEdit()->text();
        grade = d->GradeBox()->currentText();
        // The proposal selected, as Tab into the field leaves it (a style
        // may drop the selection when the focus is elsewhere), is replaced.
        d->ShortNameEdit()->selectAll();
        TypeText(d->ShortNameEdit(), QStringLiteral("山"));
        QTest::keyClick(d->ShortNameEdit(), Qt::Key_Return);
    });
    EXPECT_EQ(RunRegisterTypedNameDialog(nullptr, editor, S("山田")), 3);
    EXPECT_EQ(longName, QStringLiteral("山田"));
    EXPECT_EQ(inputName, QStringLiteral("山田"));
    EXPECT_EQ(grade, QStringLiteral("初段"));
    EXPECT_EQ(data.players.GetAt(3).m_shortName, S("山"));
    EXPECT_TRUE(data.playersModified);

    // A typed name that is already registered is refused; cancel gives -1.
    WhenModalOpens<CUserEditDialog>([](CUserEditDialog* d) {
        QTest::keyClick(d->LongNameEdit(), Qt::Key_Return);
        d->reject();
    });
    EXPECT_EQ(RunRegisterTypedNameDialog(nullptr, editor, "alice"), -1);
    EXPECT_EQ(Prompts().Texts(), QStringList{QStringLiteral("「alice」さんは既に登録されています。")});
    EXPECT_EQ(data.players.GetCount(), 4);
}

TEST_F(UserCommandsTest, RecordOfATableRowIsEditedInPlace)
{
    QString title, grade;
    bool shortFocused = false;
    WhenModalOpens<CUserEditDialog>([&](CUserEditDialog* d) {
        title = d->windowTitle();
        shortFocused = FocusedWithAllSelected(d->ShortNameEdit());
        grade = d->GradeBox()->currentText();
        TypeText(d->ShortNameEdit(), QStringLiteral("ALI"));
        QTest::keyClick(d->ShortNameEdit(), Qt::Key_Return);
    });
    EXPECT_TRUE(RunEditUserRecordDialog(nullptr, editor, 1));
    EXPECT_EQ(title, QStringLiteral("ユーザの編集"));
    EXPECT_TRUE(shortFocused);
    EXPECT_EQ(grade, QStringLiteral("無し")); // seven kyu has no item...
    const CPlayerRecord& r = data.players.GetAt(1);
    EXPECT_EQ(r.m_shortName, "ali");
    EXPECT_EQ(r.m_longName, "alice");
    EXPECT_EQ(r.m_grade, -7); // ...and is kept while no other grade is chosen
    EXPECT_EQ(r.m_residence, S("東京"));
    EXPECT_TRUE(data.playersModified);

    EXPECT_FALSE(RunEditUserRecordDialog(nullptr, editor, 0));  // the bye record
    EXPECT_FALSE(RunEditUserRecordDialog(nullptr, editor, 99)); // no such record
}

} // namespace
} // namespace tabry
