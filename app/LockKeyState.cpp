// The platforms' lock states, apart from the panes: the system headers
// below define macros (None, Bool, KeyPress ...) that would clash with Qt's
// names in the same file.

#include "app/LockIndicators.h"

#include <QGuiApplication>

#if defined(Q_OS_WIN)
#include <windows.h>
#elif defined(TABRY_HAVE_XKB)
#include <QtGui/qguiapplication_platform.h>

#include <X11/XKBlib.h>
#endif

namespace tabry::app {

namespace {

#if defined(Q_OS_WIN)

class CWindowsLockKeyState : public ILockKeyState {
public:
    bool IsOn(LockKey key) const override
    {
        // In the order of LockKey.
        static const int keys[] = {VK_KANA, VK_CAPITAL, VK_NUMLOCK, VK_SCROLL};
        const int vk = keys[static_cast<size_t>(key)];
        // The low bit is the toggle state of the key.
        return (GetKeyState(vk) & 1) != 0;
    }
};

#elif defined(TABRY_HAVE_XKB)

// XKB names its indicators; asking by name does not depend on which LED
// number a keyboard map gives them. A map without the indicator (most have
// no "Kana") reads as off.
class CXkbLockKeyState : public ILockKeyState {
public:
    explicit CXkbLockKeyState(Display* display) : m_display(display)
    {
        static const char* const names[] = {"Kana", "Caps Lock", "Num Lock", "Scroll Lock"};
        for (size_t i = 0; i < m_atoms.size(); ++i)
            m_atoms[i] = XInternAtom(m_display, names[i], True);
    }

    bool IsOn(LockKey key) const override
    {
        const Atom atom = m_atoms[static_cast<size_t>(key)];
        Bool on = False;
        if (atom == None || !XkbGetNamedIndicator(m_display, atom, nullptr, &on, nullptr, nullptr))
            return false;
        return on != False;
    }

private:
    Display* m_display;
    std::array<Atom, 4> m_atoms{};
};

#endif

} // namespace

std::unique_ptr<ILockKeyState> PlatformLockKeyState()
{
#if defined(Q_OS_WIN)
    return std::make_unique<CWindowsLockKeyState>();
#elif defined(TABRY_HAVE_XKB)
    if (auto* x11 = qGuiApp != nullptr ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr) {
        if (Display* display = x11->display())
            return std::make_unique<CXkbLockKeyState>(display);
    }
    return nullptr;
#else
    return nullptr;
#endif
}

} // namespace tabry::app
