#include "tests/guisupport/GuiTest.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QLocale>
#include <QPointer>
#include <QTimer>
#include <QWidget>

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

// A menu or modal dialog that nobody answers would hang the whole run in
// its own event loop. One that stays open for ten seconds fails the test
// and is closed, so the run goes on.
class Watchdog : public QObject {
public:
    Watchdog()
    {
        connect(&m_timer, &QTimer::timeout, this, &Watchdog::Tick);
        m_timer.start(100);
    }

private:
    void Tick()
    {
        QWidget* open = QApplication::activePopupWidget();
        if (open == nullptr)
            open = QApplication::activeModalWidget();
        if (open == nullptr || open != m_seen) {
            m_seen = open;
            m_ticks = 0;
            return;
        }
        if (++m_ticks < 100)
            return;
        ADD_FAILURE() << "a " << open->metaObject()->className() << " stayed open without an answer";
        m_ticks = 0;
        open->close();
    }

    QTimer m_timer;
    QPointer<QWidget> m_seen;
    int m_ticks = 0;
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
    tabry::test::Watchdog watchdog;
    return RUN_ALL_TESTS();
}
