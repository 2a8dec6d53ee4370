#pragma once
// Where the program's own files are. There are two layouts:
// - a program folder (the build tree, a folder copied onto a stick): the
//   executable, "player.db" and the manual ("manual/") side by side;
// - an installed program (<prefix>/bin/torva beside <prefix>/share/torva, as
//   the Debian package lays it out): the manual, the examples and an
//   optional starting "player.db" under share/torva. The player database the
//   program writes is then the user's own, in the user's data folder: the
//   system's folders are not the user's to write, and even a run as root
//   must not write into /usr.
// The prefix is found from the executable's own place, so an installation
// under another prefix (/opt/torva, a scratch root unpacked for a test)
// works the same.

#include <QString>

namespace tabry::app {

struct ProgramLayout {
    bool installed = false;
    QString dataDirectory; // the program folder, or <prefix>/share/torva
};

ProgramLayout DetectProgramLayout(const QString& executableDirectory);

// The manual's front page (a local file), or empty when the manual is not
// where the layout puts it.
QString ManualFrontPage(const ProgramLayout& layout);

} // namespace tabry::app
