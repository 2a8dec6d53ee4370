// The status bar's lock panes over a fake lock state, and the platform
// seam where Qt cannot read the locks.

#include "app/LockIndicators.h"

#include "tests/guisupport/GuiTest.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QStatusBar>
#include <QTest>

namespace tabry::app {
namespace {

class FakeLocks : public ILockKeyState {
public:
    std::array<bool, 4> on{};
    bool IsOn(LockKey key) const override { return on[static_cast<size_t>(key)]; }
};

TEST(LockIndicatorsTest, FourPanesAfterThePromptFollowTheLocks)
{
    QMainWindow window;
    auto* prompt = new QLabel(QStringLiteral("レディ"));
    window.statusBar()->addWidget(prompt, 1);
    auto* edit = new QLineEdit(&window);
    window.setCentralWidget(edit);
    auto owned = std::make_unique<FakeLocks>();
    FakeLocks& locks = *owned;
    locks.on[static_cast<size_t>(LockKey::Caps)] = true;
    auto* panes = new CLockIndicators(window.statusBar(), std::move(owned));
    window.resize(500, 200);
    window.show();
    QApplication::processEvents();

    auto text = [&](LockKey key) { return panes->Pane(key)->text(); };
    EXPECT_EQ(text(LockKey::Caps), "CAP");
    EXPECT_EQ(text(LockKey::Num), "");
    // Kana, caps, num and scroll lock, left to right after the prompt.
    int x = prompt->geometry().right();
    for (LockKey key : {LockKey::Kana, LockKey::Caps, LockKey::Num, LockKey::Scroll}) {
        EXPECT_GT(panes->Pane(key)->x(), x);
        x = panes->Pane(key)->x();
    }

    // A lock key pressed in the program shows at once.
    locks.on[static_cast<size_t>(LockKey::Caps)] = false;
    locks.on[static_cast<size_t>(LockKey::Num)] = true;
    QTest::keyClick(edit, Qt::Key_NumLock);
    QApplication::processEvents();
    EXPECT_EQ(text(LockKey::Caps), "");
    EXPECT_EQ(text(LockKey::Num), "NUM");
    // One pressed while another program had the keyboard shows soon.
    locks.on[static_cast<size_t>(LockKey::Kana)] = true;
    EXPECT_TRUE(QTest::qWaitFor([&] { return text(LockKey::Kana) == QStringLiteral("カナ"); }, 3000));
}

TEST(LockIndicatorsTest, QtOffscreenCannotReadTheLocksSoThePanesAreLeftOut)
{
    ASSERT_EQ(QGuiApplication::platformName(), "offscreen");
#if defined(Q_OS_WIN)
    // Windows answers from the keyboard state whatever Qt's platform is.
    const std::unique_ptr<ILockKeyState> state = PlatformLockKeyState();
    ASSERT_NE(state, nullptr);
    for (LockKey key : {LockKey::Kana, LockKey::Caps, LockKey::Num, LockKey::Scroll})
        (void)state->IsOn(key);
#else
    EXPECT_EQ(PlatformLockKeyState(), nullptr);
#endif
}

} // namespace
} // namespace tabry::app
