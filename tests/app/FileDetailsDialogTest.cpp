#include "app/FileDetailsDialog.h"

#include "tests/app/AppTestSupport.h"
#include "tests/guisupport/GuiTest.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTest>

namespace tabry::app {
namespace {

using test::Prompts;

// Types text the way an input method delivers it: key events carrying text.
void TypeText(QWidget* w, const QString& text)
{
    for (QChar c : text) {
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
        QApplication::sendEvent(w, &press);
    }
}

struct DetailsFixture : testing::Test {
    std::unique_ptr<CFileDetailsDialog> dialog;
    void Open(const DetailsText& t)
    {
        dialog = std::make_unique<CFileDetailsDialog>(t);
        dialog->show();
        dialog->activateWindow();
        QApplication::processEvents();
    }
};

TEST_F(DetailsFixture, ShowsTheDetailsAndReturnsTheEditedValues)
{
    Open({QString::fromUtf8("春季大会"), "0", "1", "1"});
    EXPECT_EQ(dialog->windowTitle(), QString::fromUtf8("ファイル詳細情報"));
    EXPECT_EQ(dialog->Edit(DetailsField::Name)->text(), QString::fromUtf8("春季大会"));
    dialog->Edit(DetailsField::Year)->setText("2004");
    dialog->Edit(DetailsField::Month)->setText("5");
    dialog->Edit(DetailsField::Day)->setText("3");
    dialog->accept();
    EXPECT_EQ(dialog->result(), QDialog::Accepted);
    EXPECT_EQ(dialog->Values().year, "2004");
}

TEST_F(DetailsFixture, AFailingFieldGetsTheMessageAndTheFocus)
{
    Open({"x", "2004", "13", "1"});
    dialog->accept();
    EXPECT_NE(dialog->result(), QDialog::Accepted);
    ASSERT_EQ(Prompts().Events().size(), 1u);
    EXPECT_EQ(Prompts().Events()[0].text, QString::fromUtf8("1 から 12 までの整数を入力してください。"));
    EXPECT_EQ(QApplication::focusWidget(), dialog->Edit(DetailsField::Month));
    EXPECT_EQ(dialog->Edit(DetailsField::Month)->selectedText(), "13");
}

TEST_F(DetailsFixture, TheNameFieldTakesNoMoreThan128Bytes)
{
    Open({QString(63, QChar(0x3042)), "0", "1", "1"}); // 126 bytes
    QLineEdit* name = dialog->Edit(DetailsField::Name);
    name->setFocus();
    name->end(false);
    TypeText(name, QString::fromUtf8("いう"));
    EXPECT_EQ(name->text().size(), 64); // the second full-width character does not fit
    QTest::keyClicks(name, "ab");
    EXPECT_EQ(name->text().size(), 64);
}

TEST_F(DetailsFixture, ALongerNameFromAFileCanBeShortenedButNotLengthened)
{
    Open({QString(70, QChar(0x3042)), "0", "1", "1"}); // 140 bytes
    QLineEdit* name = dialog->Edit(DetailsField::Name);
    name->setFocus();
    name->end(false);
    QTest::keyClick(name, Qt::Key_Backspace);
    EXPECT_EQ(name->text().size(), 69);
    QTest::keyClicks(name, "a");
    EXPECT_EQ(name->text().size(), 69);
    dialog->accept();
    ASSERT_EQ(Prompts().Events().size(), 1u);
    EXPECT_EQ(Prompts().Events()[0].text, QString::fromUtf8("128 文字以内で入力してください。"));
}

} // namespace
} // namespace tabry::app
