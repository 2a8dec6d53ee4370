#include "playerdb/ui/UserEditDialog.h"

#include "playerdb/PlayerDatabase.h"
#include "playerdb/PlayerText.h"
#include "tests/guisupport/DialogDriver.h"
#include "tests/guisupport/GuiTest.h"
#include "tests/support/TestSupport.h"
#include "widgets/TextCodec.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

namespace tabry {
namespace {

using test::FocusedWithAllSelected;
using test::Prompts;
using test::S;
using test::TypeText;

class UserEditDialogTest : public ::testing::Test {
protected:
    UserEditDialogTest()
    {
        db.Reset();
        db.Add("abc", "a", "ab", S("東京"), 2, "m1");
        db.Add(S("山田太郎"), "yamada", S("山田"), S("大阪"), -2, "m2");
    }

    // Shows the dialog (not modal: the test drives it directly).
    std::unique_ptr<CUserEditDialog> Open(const UserEditValues& v)
    {
        auto dialog = std::make_unique<CUserEditDialog>(db, v);
        dialog->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(dialog.get()));
        return dialog;
    }

    static void Retype(QLineEdit* edit, const QString& text)
    {
        edit->selectAll();
        QTest::keyClick(edit, Qt::Key_Delete);
        TypeText(edit, text);
    }

    static void PressOk(CUserEditDialog& dialog) { QTest::keyClick(dialog.LongNameEdit(), Qt::Key_Return); }

    CPlayerDatabase db;
};

TEST_F(UserEditDialogTest, NewPersonStartsOnTheLongNameWithTheFullLists)
{
    UserEditValues v;
    v.longName = S("仮");
    auto d = Open(v);
    EXPECT_EQ(d->windowTitle(), QStringLiteral("ユーザの追加"));
    EXPECT_TRUE(FocusedWithAllSelected(d->LongNameEdit()));
    EXPECT_EQ(d->LongNameEdit()->selectedText(), QStringLiteral("仮"));
    ASSERT_EQ(d->GradeBox()->count(), 15);
    EXPECT_EQ(d->GradeBox()->itemText(0), QStringLiteral("九段"));
    EXPECT_EQ(d->GradeBox()->itemText(7), QStringLiteral("ニ段"));
    EXPECT_EQ(d->GradeBox()->itemText(14), QStringLiteral("無し"));
    EXPECT_EQ(d->GradeBox()->currentIndex(), -1);
    ASSERT_EQ(d->ResidenceBox()->count(), 47);
    EXPECT_EQ(d->ResidenceBox()->itemText(0), QStringLiteral("北海道"));
    EXPECT_EQ(d->ResidenceBox()->itemText(46), QStringLiteral("沖縄"));
    EXPECT_TRUE(d->ResidenceBox()->isEditable());
    // An empty residence stays empty rather than showing the first prefecture.
    EXPECT_EQ(d->ResidenceBox()->currentText(), QString());
}

TEST_F(UserEditDialogTest, ExistingRecordStartsOnTheShortNameWithItsValues)
{
    auto d = Open(ValuesFromRecord(db.GetAt(2), 2));
    EXPECT_EQ(d->windowTitle(), QStringLiteral("ユーザの編集"));
    EXPECT_TRUE(FocusedWithAllSelected(d->ShortNameEdit()));
    EXPECT_EQ(d->LongNameEdit()->text(), QStringLiteral("山田太郎"));
    EXPECT_EQ(d->InputNameEdit()->text(), QStringLiteral("yamada"));
    EXPECT_EQ(d->MemberNumberEdit()->text(), QStringLiteral("m2"));
    EXPECT_EQ(d->GradeBox()->currentText(), QStringLiteral("２級"));
    EXPECT_EQ(d->ResidenceBox()->currentIndex(), 26);
    EXPECT_EQ(d->ResidenceBox()->currentText(), QStringLiteral("大阪"));
}

TEST_F(UserEditDialogTest, LongNameIsTrimmedAndTheOtherFieldsKeepTheirBlanks)
{
    auto d = Open(UserEditValues{});
    TypeText(d->LongNameEdit(), QStringLiteral(" "));
    d->LongNameEdit()->insert(QStringLiteral("\t"));
    TypeText(d->LongNameEdit(), QStringLiteral(" x y  "));
    TypeText(d->ShortNameEdit(), QStringLiteral(" s "));
    TypeText(d->InputNameEdit(), QStringLiteral("in "));
    TypeText(d->MemberNumberEdit(), QStringLiteral(" 12"));
    PressOk(*d);
    ASSERT_EQ(d->result(), QDialog::Accepted);
    EXPECT_TRUE(Prompts().Events().empty());
    EXPECT_EQ(d->Values().longName, "x y");
    EXPECT_EQ(d->LongNameEdit()->text(), QStringLiteral("x y"));
    EXPECT_EQ(d->Values().shortName, " s ");
    EXPECT_EQ(d->Values().inputName, "in ");
    EXPECT_EQ(d->Values().memberNumber, " 12");
    EXPECT_EQ(d->Values().gradeIndex, -1);
    EXPECT_EQ(d->Values().residence, "");
}

TEST_F(UserEditDialogTest, BlankLongNameIsRefusedAndSelectedUntrimmed)
{
    auto d = Open(UserEditValues{});
    // A tab cannot be typed into a line edit (it moves the focus); it comes
    // in by pasting.
    TypeText(d->LongNameEdit(), QStringLiteral("  "));
    d->LongNameEdit()->insert(QStringLiteral("\t"));
    TypeText(d->LongNameEdit(), QStringLiteral(" "));
    d->ShortNameEdit()->setFocus();
    QTest::mouseClick(d->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok), Qt::LeftButton);
    EXPECT_TRUE(d->isVisible());
    EXPECT_NE(d->result(), QDialog::Accepted);
    ASSERT_EQ(Prompts().Events().size(), 1u);
    EXPECT_EQ(Prompts().Events()[0].kind, QStringLiteral("error"));
    EXPECT_EQ(Prompts().Events()[0].text, QStringLiteral("表示名(長)が入力されていません。"));
    EXPECT_TRUE(FocusedWithAllSelected(d->LongNameEdit()));
    EXPECT_EQ(d->LongNameEdit()->selectedText(), QStringLiteral("  \t "));
}

TEST_F(UserEditDialogTest, RegisteredNamesAreRefusedForANewPerson)
{
    auto d = Open(UserEditValues{});
    // The bye record is in the database too.
    TypeText(d->LongNameEdit(), QStringLiteral(" 不戦"));
    PressOk(*d);
    EXPECT_NE(d->result(), QDialog::Accepted);
    ASSERT_EQ(Prompts().Texts(), QStringList{QStringLiteral("「不戦」さんは既に登録されています。")});
    EXPECT_TRUE(FocusedWithAllSelected(d->LongNameEdit()));
    EXPECT_EQ(d->LongNameEdit()->selectedText(), QStringLiteral(" 不戦"));

    // Stored names are folded: typing capitals does not register a twin.
    Retype(d->LongNameEdit(), QStringLiteral("ABC"));
    PressOk(*d);
    EXPECT_NE(d->result(), QDialog::Accepted);
    EXPECT_EQ(Prompts().Texts().last(), QStringLiteral("「ABC」さんは既に登録されています。"));

    Retype(d->LongNameEdit(), QStringLiteral("abcd"));
    PressOk(*d);
    EXPECT_EQ(d->result(), QDialog::Accepted);
    EXPECT_EQ(d->Values().longName, "abcd");
}

TEST_F(UserEditDialogTest, EditKeepsItsOwnNameButNotAnothersName)
{
    auto d = Open(ValuesFromRecord(db.GetAt(1), 1));
    Retype(d->LongNameEdit(), QStringLiteral("山田太郎"));
    PressOk(*d);
    EXPECT_NE(d->result(), QDialog::Accepted);
    EXPECT_EQ(Prompts().Texts(), QStringList{QStringLiteral("「山田太郎」さんは既に登録されています。")});
    EXPECT_TRUE(FocusedWithAllSelected(d->LongNameEdit()));

    Retype(d->LongNameEdit(), QStringLiteral("abc "));
    PressOk(*d);
    EXPECT_EQ(d->result(), QDialog::Accepted);
    EXPECT_EQ(d->Values().longName, "abc");
    EXPECT_EQ(d->Values().gradeIndex, GradeToComboIndex(2));
}

TEST_F(UserEditDialogTest, ResidenceTypedByHandIsHandedBackAsTyped)
{
    auto d = Open(UserEditValues{});
    TypeText(d->LongNameEdit(), QStringLiteral("new"));
    // "大" begins two prefecture names; it must not be completed to one.
    TypeText(d->ResidenceBox()->lineEdit(), QStringLiteral("大"));
    QTest::keyClick(d->ResidenceBox()->lineEdit(), Qt::Key_Return);
    ASSERT_EQ(d->result(), QDialog::Accepted);
    EXPECT_EQ(d->Values().residence, S("大"));
    EXPECT_EQ(d->ResidenceBox()->count(), 47);
}

TEST_F(UserEditDialogTest, NonPrefectureResidenceIsShownAndKeptAsStored)
{
    UserEditValues v = ValuesFromRecord(db.GetAt(1), 1);
    v.residence = S("大");
    v.residencePreselection = PrefectureIndexOfText(v.residence);
    auto d = Open(v);
    EXPECT_EQ(d->ResidenceBox()->currentText(), QStringLiteral("大"));
    QTest::keyClick(d->ShortNameEdit(), Qt::Key_Return);
    ASSERT_EQ(d->result(), QDialog::Accepted);
    EXPECT_EQ(d->Values().residence, S("大"));

    // The preselection wins over the text when both are given.
    v.residence.clear();
    v.residencePreselection = 12;
    auto e = Open(v);
    EXPECT_EQ(e->ResidenceBox()->currentText(), QStringLiteral("東京"));
}

TEST_F(UserEditDialogTest, CharactersWithoutShiftJisCodeAreRefusedNotMangled)
{
    auto d = Open(UserEditValues{});
    TypeText(d->LongNameEdit(), QStringLiteral("kim"));
    TypeText(d->ShortNameEdit(), QStringLiteral("김"));
    PressOk(*d);
    EXPECT_NE(d->result(), QDialog::Accepted);
    ASSERT_EQ(Prompts().Events().size(), 1u);
    EXPECT_EQ(Prompts().Events()[0].kind, QStringLiteral("error"));
    EXPECT_TRUE(Prompts().Events()[0].text.contains(QStringLiteral("「表示名(短)」")));
    EXPECT_TRUE(FocusedWithAllSelected(d->ShortNameEdit()));

    Prompts().Reset();
    Retype(d->ShortNameEdit(), QStringLiteral("kim"));
    TypeText(d->ResidenceBox()->lineEdit(), QStringLiteral("서울"));
    PressOk(*d);
    EXPECT_NE(d->result(), QDialog::Accepted);
    ASSERT_EQ(Prompts().Events().size(), 1u);
    EXPECT_TRUE(Prompts().Events()[0].text.contains(QStringLiteral("「居住地」")));
    EXPECT_TRUE(d->focusWidget() == d->ResidenceBox() || d->focusWidget() == d->ResidenceBox()->lineEdit());
    EXPECT_EQ(d->ResidenceBox()->lineEdit()->selectedText(), QStringLiteral("서울"));
}

TEST_F(UserEditDialogTest, GradeChosenWithTheKeyboardIsHandedBackByIndex)
{
    UserEditValues v;
    v.gradeIndex = GradeToComboIndex(1);
    auto d = Open(v);
    EXPECT_EQ(d->GradeBox()->currentText(), QStringLiteral("初段"));
    TypeText(d->LongNameEdit(), QStringLiteral("p"));
    QTest::keyClick(d->GradeBox(), Qt::Key_Up);
    EXPECT_EQ(d->GradeBox()->currentText(), QStringLiteral("ニ段"));
    PressOk(*d);
    ASSERT_EQ(d->result(), QDialog::Accepted);
    EXPECT_EQ(GradeCodeOf(d->Values()), 2);
}

TEST_F(UserEditDialogTest, TheShortNameIsProposedFromTheFamilyNameAndAnEmptyOneIsRefusedInTheDialog)
{
    // Half- and full-width blanks end the family name; leading ones do not count.
    EXPECT_EQ(ProposedShortName(S("山田 太郎")), S("山田"));
    EXPECT_EQ(ProposedShortName(S("　佐藤　花子")), S("佐藤"));
    EXPECT_EQ(ProposedShortName(S("鈴木")), S("鈴木"));
    EXPECT_EQ(ProposedShortName("  "), "");

    auto d = Open(UserEditValues{});
    TypeText(d->LongNameEdit(), QStringLiteral("木村　一郎"));
    EXPECT_EQ(d->ShortNameEdit()->text(), QStringLiteral("木村"));
    // Typed by hand, the short name stays whatever the long name becomes.
    TypeText(d->ShortNameEdit(), QStringLiteral("きむ"));
    TypeText(d->LongNameEdit(), QStringLiteral("x"));
    EXPECT_EQ(d->ShortNameEdit()->text(), QStringLiteral("きむ"));

    // Emptied: refused with the reason beside the fields, no message box.
    Retype(d->ShortNameEdit(), QStringLiteral(" "));
    PressOk(*d);
    EXPECT_NE(d->result(), QDialog::Accepted);
    EXPECT_TRUE(Prompts().Events().empty());
    EXPECT_TRUE(d->ProblemLabel()->isVisible());
    EXPECT_TRUE(d->ProblemLabel()->text().startsWith(QStringLiteral("表示名(短)が入力されていません。")));
    EXPECT_EQ(d->focusWidget(), d->ShortNameEdit());

    Retype(d->ShortNameEdit(), QStringLiteral("木村"));
    PressOk(*d);
    ASSERT_EQ(d->result(), QDialog::Accepted);
    EXPECT_FALSE(d->ProblemLabel()->isVisible());
    EXPECT_EQ(d->Values().shortName, S("木村"));
}

} // namespace
} // namespace tabry
