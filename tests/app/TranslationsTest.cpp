#include "app/Translations.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDialogButtonBox>
#include <QPushButton>

namespace tabry::app {
namespace {

TEST(TranslationsTest, StandardButtonsSpeakJapanese)
{
    if (!InstallJapaneseTranslations(*qApp))
        GTEST_SKIP() << "Qt's Japanese translations are not installed (qt6-translations-l10n)";
    QDialogButtonBox box(QDialogButtonBox::Yes | QDialogButtonBox::No | QDialogButtonBox::Cancel);
    EXPECT_TRUE(box.button(QDialogButtonBox::Cancel)->text().contains(QString::fromUtf8("キャンセル")));
    EXPECT_TRUE(box.button(QDialogButtonBox::Yes)->text().contains(QString::fromUtf8("はい")));
    EXPECT_TRUE(box.button(QDialogButtonBox::No)->text().contains(QString::fromUtf8("いいえ")));
}

} // namespace
} // namespace tabry::app
