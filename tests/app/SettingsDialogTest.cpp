// The settings dialog driven through its controls: initial state, stepping
// with the arrows and the arrow keys, the range messages with the focus on the
// offending edit, and the data-loss question.

#include "app/SettingsDialog.h"
#include "widgets/ArrowButtons.h"

#include "core/TournamentData.h"
#include "edit/TournamentEditor.h"
#include "tests/app/AppTestSupport.h"
#include "tests/guisupport/GuiTest.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTest>
#include <QToolButton>

namespace tabry::app {
namespace {

using test::Prompts;

struct DialogFixture : testing::Test {
    TournamentData data;
    std::unique_ptr<CSettingsDialog> dialog;

    void Open()
    {
        dialog = std::make_unique<CSettingsDialog>(data.table);
        dialog->show();
        dialog->activateWindow();
        QApplication::processEvents();
    }
    QLineEdit* Edit(SettingsField f) { return dialog->Edit(f); }
    void Type(SettingsField f, const QString& text) { Edit(f)->setText(text); }
};

TEST_F(DialogFixture, StartsFromTheTablesSettings)
{
    data.table.settings.showDiscDifference = false;
    data.table.settings.tieBreak = WinPointsBDisc;
    data.table.settings.brightwellTenths = 65;
    Open();
    EXPECT_TRUE(dialog->CountButton()->isChecked());
    EXPECT_EQ(dialog->MethodList()->currentIndex(), 7);
    EXPECT_EQ(dialog->MethodList()->count(), 8);
    EXPECT_EQ(dialog->MethodList()->itemText(1), QString::fromUtf8("ブライトウェル"));
    EXPECT_EQ(Edit(SettingsField::Coefficient)->text(), "6.5");
    EXPECT_EQ(Edit(SettingsField::Players)->text(), "32");
    EXPECT_EQ(Edit(SettingsField::Rounds)->text(), "6");
    EXPECT_TRUE(Edit(SettingsField::Coefficient)->isReadOnly());
    EXPECT_FALSE(dialog->Arrows(SettingsField::Coefficient)->isEnabled());
    // Read-only, the box must not look writable: inside its frame, away
    // from its text, it is not the white of the players box.
    auto inside = [&](SettingsField f, bool left) {
        QLineEdit* edit = Edit(f);
        return QColor(edit->grab().toImage().pixel(left ? 4 : edit->width() - 5, edit->height() / 2));
    };
    const QColor writable = inside(SettingsField::Players, false); // its text is on the left
    auto coefficient = [&] { return inside(SettingsField::Coefficient, true); };
    EXPECT_NE(coefficient(), writable);
    dialog->MethodList()->setCurrentIndex(Brightwell);
    EXPECT_FALSE(Edit(SettingsField::Coefficient)->isReadOnly());
    EXPECT_TRUE(dialog->Arrows(SettingsField::Coefficient)->isEnabled());
    EXPECT_EQ(coefficient(), writable);
    EXPECT_EQ(dialog->windowTitle(), QString::fromUtf8("設定"));
}

TEST_F(DialogFixture, ArrowsStepAndStopAtTheLimits)
{
    Open();
    Type(SettingsField::Players, "512");
    QTest::mouseClick(dialog->Arrows(SettingsField::Players)->UpButton(), Qt::LeftButton);
    EXPECT_EQ(Edit(SettingsField::Players)->text(), "512");
    Type(SettingsField::Players, "2");
    QTest::mouseClick(dialog->Arrows(SettingsField::Players)->DownButton(), Qt::LeftButton);
    EXPECT_EQ(Edit(SettingsField::Players)->text(), "2");
    QTest::mouseClick(dialog->Arrows(SettingsField::Rounds)->UpButton(), Qt::LeftButton);
    EXPECT_EQ(Edit(SettingsField::Rounds)->text(), "7");
    EXPECT_EQ(Edit(SettingsField::Rounds)->selectedText(), "7"); // whole text selected
}

TEST_F(DialogFixture, ArrowKeysStepEvenTheReadOnlyCoefficient)
{
    Open();
    ASSERT_TRUE(Edit(SettingsField::Coefficient)->isReadOnly());
    QTest::keyClick(Edit(SettingsField::Coefficient), Qt::Key_Up);
    EXPECT_EQ(Edit(SettingsField::Coefficient)->text(), "6.1");
    QTest::keyClick(Edit(SettingsField::Players), Qt::Key_Down);
    EXPECT_EQ(Edit(SettingsField::Players)->text(), "31");
    QTest::keyClick(Edit(SettingsField::Rounds), Qt::Key_Up);
    EXPECT_EQ(Edit(SettingsField::Rounds)->text(), "7");
}

TEST_F(DialogFixture, OutOfRangePlayersAreRefusedWithTheFocusOnTheirEdit)
{
    Open();
    Type(SettingsField::Players, "513");
    Type(SettingsField::Rounds, "0"); // checked only after the players
    dialog->accept();
    EXPECT_EQ(dialog->result(), QDialog::Rejected);
    EXPECT_TRUE(dialog->isVisible());
    ASSERT_EQ(Prompts().Events().size(), 1u);
    EXPECT_EQ(Prompts().Events()[0].kind, "error");
    EXPECT_EQ(Prompts().Events()[0].text, QString::fromUtf8("プレイヤ数は 2 ～ 512 の範囲でなければいけません"));
    EXPECT_EQ(Edit(SettingsField::Players)->selectedText(), "513");
    EXPECT_EQ(QApplication::focusWidget(), Edit(SettingsField::Players));
}

TEST_F(DialogFixture, DataLossQuestionNoKeepsTheDialogOpenYesAccepts)
{
    data.table.Resize(20, 7);
    data.table.Entry(18).playerIndex = data.players.Add("late", "", "", "", 0, "");
    Open();
    QSignalSpy accepted(dialog.get(), &CSettingsDialog::dataLossAccepted);
    Type(SettingsField::Players, "16");
    dialog->accept(); // unanswered: No
    ASSERT_EQ(Prompts().Events().size(), 1u);
    EXPECT_EQ(Prompts().Events()[0].kind, "confirm");
    EXPECT_EQ(Prompts().Events()[0].text,
              QString::fromUtf8("17 行目以降に入力されたデータは全て削除されます。\nよろしいですか？"));
    EXPECT_NE(dialog->result(), QDialog::Accepted);
    EXPECT_EQ(QApplication::focusWidget(), Edit(SettingsField::Players));
    EXPECT_EQ(accepted.count(), 0);

    Prompts().QueueAnswer(ui::Answer::Yes);
    dialog->accept();
    EXPECT_EQ(dialog->result(), QDialog::Accepted);
    EXPECT_EQ(accepted.count(), 1);
    EXPECT_EQ(dialog->Values().players, 16);
}

} // namespace
} // namespace tabry::app

namespace tabry::app {
namespace {

// The bye rule: shown as the table holds it, a score that is no win on a full
// board refused with the score selected for retyping, an accepted rule
// applied as the one settings step and the file's details line written.
TEST_F(DialogFixture, TheByeRuleIsShownRefusedWhenNoWinAndAppliedAsOneStep)
{
    data.table.settings.bye = {64, true};
    Open();
    EXPECT_EQ(dialog->ByeResultList()->currentIndex(), 1);
    EXPECT_EQ(dialog->ByeScoreEdit()->text(), "64-0");
    EXPECT_EQ(dialog->ByeReceiverList()->currentIndex(), 1);
    dialog->ByeResultList()->setCurrentIndex(0);
    EXPECT_FALSE(dialog->ByeScoreEdit()->isEnabled());
    dialog->ByeResultList()->setCurrentIndex(1);
    for (const char* bad : {"32-32", "40-20", "31-33", "x", "65"}) {
        SCOPED_TRACE(bad);
        Prompts().Reset();
        dialog->ByeScoreEdit()->setText(QString::fromLatin1(bad));
        dialog->accept();
        EXPECT_TRUE(dialog->isVisible());
        ASSERT_EQ(Prompts().Events().size(), 1u);
        EXPECT_EQ(Prompts().Events()[0].kind, QStringLiteral("error"));
        EXPECT_EQ(dialog->ByeScoreEdit()->selectedText(), QString::fromLatin1(bad));
    }
    dialog->ByeScoreEdit()->setText("33");
    dialog->ByeReceiverList()->setCurrentIndex(0);
    dialog->accept();
    EXPECT_EQ(dialog->Values().bye, (ByeRule{2, false}));

    CTournamentEditor editor(data);
    int steps = 0;
    editor.AddListener(ListenerRank::Views, [&](const ChangeEvent& e) { steps += e.kind == ChangeKind::Edit ? 1 : 0; });
    EXPECT_TRUE(ApplySettings(editor, dialog->Values()).changed);
    EXPECT_EQ(steps, 1);
    EXPECT_NE(editor.Save().find("##Bye: 33-31,pairing\r\n"), std::string::npos);
}

} // namespace
} // namespace tabry::app
