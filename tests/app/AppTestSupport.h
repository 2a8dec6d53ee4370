#pragma once
// Shared helpers of the desktop-program tests: a throw-away installation
// (executable folder, settings file, user and desktop folders) and small
// tournament files.

#include "app/TabryApp.h"
#include "tests/support/TestSupport.h"

#include <QString>

#include <functional>
#include <memory>
#include <ostream>
#include <string>

// Readable QString values in failure messages.
inline void PrintTo(const QString& text, std::ostream* os)
{
    *os << '"' << text.toStdString() << '"';
}

namespace tabry::test {

// A path as Qt holds it ("/" on every system), and as the program shows it
// to the user (the system's own separators).
QString Q(const std::filesystem::path& path);
QString Shown(const std::filesystem::path& path);

// A tournament file of `players` x `rounds` with the players named in
// `names` (long name = short name = input name) in the first rows, and a
// win of row 0 over row 1 in round 1 when there are two names.
std::string StgBytes(int players, int rounds, const std::vector<std::string>& utf8Names,
                     const std::string& utf8Title = {});

// Everything a CTabryApp needs, inside one temporary folder.
struct Sandbox {
    TempDir dir;
    std::filesystem::path bin;
    app::AppOptions options;

    Sandbox();
    std::filesystem::path operator/(const std::string& name) const { return dir / name; }
    // A running application (InitInstance done); nullptr when it refused to start.
    std::unique_ptr<app::CTabryApp> Start();
};

// Runs `body` on the next modal dialog of type T once it is shown.
template <class T>
void OnNextDialog(std::function<void(T&)> body);
// Implementation detail of OnNextDialog.
void OnNextModal(std::function<bool(QWidget*)> body);

template <class T>
void OnNextDialog(std::function<void(T&)> body)
{
    OnNextModal([body](QWidget* w) {
        T* dialog = qobject_cast<T*>(w);
        if (dialog == nullptr)
            return false;
        body(*dialog);
        return true;
    });
}

} // namespace tabry::test
