#include "app/LockIndicators.h"

#include <QApplication>
#include <QEvent>
#include <QLabel>
#include <QStatusBar>

namespace tabry::app {

namespace {

constexpr LockKey kKeys[] = {LockKey::Kana, LockKey::Caps, LockKey::Num, LockKey::Scroll};
constexpr int kPollMs = 500;

// Each pane's object name (for tests and style sheets) and caption, in the
// order of LockKey.
struct PaneText {
    const char* objectName;
    const char* caption;
};
constexpr PaneText kPaneTexts[] = {
    {"kanaIndicator", "カナ"},
    {"capsIndicator", "CAP"},
    {"numIndicator", "NUM"},
    {"scrollIndicator", "SCRL"},
};

const PaneText& TextOf(LockKey key)
{
    return kPaneTexts[static_cast<size_t>(key)];
}

} // namespace

QString CLockIndicators::Caption(LockKey key)
{
    return QString::fromUtf8(TextOf(key).caption);
}

CLockIndicators::CLockIndicators(QStatusBar* bar, std::unique_ptr<ILockKeyState> state)
    : QObject(bar), m_state(std::move(state))
{
    for (LockKey key : kKeys) {
        auto* pane = new QLabel(bar);
        pane->setObjectName(QString::fromLatin1(TextOf(key).objectName));
        pane->setAlignment(Qt::AlignCenter);
        // As wide as its caption whether shown or not, so the bar does not
        // shift when a lock goes on.
        pane->setMinimumWidth(pane->fontMetrics().horizontalAdvance(Caption(key)) + 8);
        bar->addPermanentWidget(pane);
        m_panes[static_cast<size_t>(key)] = pane;
    }
    Refresh();
    qApp->installEventFilter(this);
    connect(&m_timer, &QTimer::timeout, this, &CLockIndicators::Refresh);
    m_timer.start(kPollMs);
}

CLockIndicators::~CLockIndicators()
{
    qApp->removeEventFilter(this);
}

void CLockIndicators::Refresh()
{
    for (LockKey key : kKeys) {
        QLabel* pane = Pane(key);
        const QString text = m_state->IsOn(key) ? Caption(key) : QString();
        if (pane->text() != text)
            pane->setText(text);
    }
}

bool CLockIndicators::eventFilter(QObject* watched, QEvent* event)
{
    // A key passes through its window and the widgets that do not take it:
    // one reading once it has been handled is enough.
    if (event->type() == QEvent::KeyRelease && !m_refreshQueued) {
        m_refreshQueued = true;
        QTimer::singleShot(0, this, [this] {
            m_refreshQueued = false;
            Refresh();
        });
    }
    return QObject::eventFilter(watched, event);
}

} // namespace tabry::app
