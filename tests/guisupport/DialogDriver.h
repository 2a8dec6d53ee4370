#pragma once
// Helpers for driving modal dialogs and menus from a test: the code under
// test calls exec(), so the test's actions must already be queued when it
// does.

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QMenu>
#include <QPointer>
#include <QTest>
#include <QTimer>
#include <QWidget>

#include <functional>
#include <memory>
#include <vector>

namespace tabry::test {

// The queued actions of the functions below that have not run yet.
inline std::vector<QPointer<QTimer>>& PendingModalTimers()
{
    static std::vector<QPointer<QTimer>> timers;
    return timers;
}

// Stops every queued action that has not run yet; true when there was one
// (the dialog it waited for never opened). Call at the end of each test so a
// stale action cannot act on a later test's dialog.
inline bool DropPendingModalActions()
{
    bool pending = false;
    for (const QPointer<QTimer>& t : PendingModalTimers()) {
        if (t && t->isActive()) {
            pending = true;
            t->stop();
        }
        if (t)
            t->deleteLater();
    }
    PendingModalTimers().clear();
    return pending;
}

// Runs `action` once on the first widget `find` returns (polled every few
// milliseconds). Gives up after about five seconds.
inline void WhenFound(std::function<QWidget*()> find, std::function<void(QWidget*)> action)
{
    auto* timer = new QTimer;
    PendingModalTimers().emplace_back(timer);
    auto ticks = std::make_shared<int>(0);
    timer->setInterval(5);
    QObject::connect(timer, &QTimer::timeout, [timer, ticks, find, action] {
        QWidget* widget = find();
        if (widget == nullptr || !widget->isVisible()) {
            if (++*ticks > 1000) {
                timer->stop();
                timer->deleteLater();
            }
            return;
        }
        timer->stop();
        timer->deleteLater();
        action(widget);
    });
    timer->start();
}

// Runs `action` once on the next dialog of type T that becomes the active
// modal widget. Gives up after about five seconds (the test then fails on
// whatever the dialog's absence caused, instead of hanging in a later test).
template <class T>
void WhenModalOpens(std::function<void(T*)> action)
{
    WhenFound([] { return qobject_cast<T*>(QApplication::activeModalWidget()); },
              [action](QWidget* w) { action(static_cast<T*>(w)); });
}

// Runs `action` once on the next menu that pops up (a context menu runs
// its own event loop, so the action must be queued before the click).
inline void WhenMenuOpens(std::function<void(QMenu*)> action)
{
    WhenFound([] { return qobject_cast<QMenu*>(QApplication::activePopupWidget()); },
              [action](QWidget* w) { action(static_cast<QMenu*>(w)); });
}

// Types `text` into `widget` as key presses. QTest::keyClicks handles only
// ASCII; Japanese text arrives as key events carrying their text, the way an
// input method delivers a committed character.
inline void TypeText(QWidget* widget, const QString& text)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c.unicode() >= 0x20 && c.unicode() < 0x7F) {
            QTest::keyClick(widget, static_cast<char>(c.unicode()));
            continue;
        }
        QString unit(c);
        if (c.isHighSurrogate() && i + 1 < text.size())
            unit += text.at(++i);
        QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_unknown, unit, Qt::NoModifier);
    }
}

// True when the edit holds the focus within its window and all its text is
// selected.
inline bool FocusedWithAllSelected(QLineEdit* edit)
{
    return edit->window()->focusWidget() == edit && edit->selectedText() == edit->text();
}

} // namespace tabry::test
