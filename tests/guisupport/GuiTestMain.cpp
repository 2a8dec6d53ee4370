#include "tests/guisupport/GuiTest.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QLocale>

namespace tabry::test {

ui::ScriptedPrompt& Prompts()
{
    static ui::ScriptedPrompt prompt;
    return prompt;
}

namespace {

// Every test starts with an empty answer queue and no recorded prompts.
class ResetPrompts : public ::testing::EmptyTestEventListener {
    void OnTestStart(const ::testing::TestInfo&) override { Prompts().Reset(); }
};

} // namespace

} // namespace tabry::test

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    QLocale::setDefault(QLocale(QLocale::Japanese, QLocale::Japan));
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    tabry::ui::SetPrompt(&tabry::test::Prompts());
    ::testing::UnitTest::GetInstance()->listeners().Append(new tabry::test::ResetPrompts);
    return RUN_ALL_TESTS();
}
