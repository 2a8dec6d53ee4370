#pragma once
// The status bar's indicator panes after the prompt: kana, caps lock, num
// lock and scroll lock, each showing its name while its lock is on. Qt has
// no call for the lock states, so they come from the platform through
// ILockKeyState; where the platform Qt runs on offers none (Wayland,
// offscreen), the program leaves the panes out.

#include <QObject>
#include <QTimer>

#include <array>
#include <memory>

class QLabel;
class QStatusBar;

namespace tabry::app {

enum class LockKey { Kana, Caps, Num, Scroll };

// Reads the lock states; a seam, so the panes can be tested with a fake.
class ILockKeyState {
public:
    virtual ~ILockKeyState() = default;
    virtual bool IsOn(LockKey key) const = 0;
};

// The lock states of the platform the program runs on: XKB's named
// indicators under X11 (Qt's xcb platform), the key state on Windows;
// nullptr elsewhere.
std::unique_ptr<ILockKeyState> PlatformLockKeyState();

class CLockIndicators : public QObject {
    Q_OBJECT

public:
    // Adds the four panes to the right end of `bar` and keeps them current:
    // after every key released in the program, and twice a second for a
    // lock pressed while another program had the keyboard.
    CLockIndicators(QStatusBar* bar, std::unique_ptr<ILockKeyState> state);
    ~CLockIndicators() override;

    void Refresh();
    QLabel* Pane(LockKey key) const { return m_panes[static_cast<size_t>(key)]; }
    // What a pane shows while its lock is on.
    static QString Caption(LockKey key);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    std::unique_ptr<ILockKeyState> m_state;
    std::array<QLabel*, 4> m_panes{};
    QTimer m_timer;
    bool m_refreshQueued = false;
};

} // namespace tabry::app
