#pragma once
// A Japanese explanation of why a file could not be read or written, found
// by looking at the file and its folder (the system's own messages are
// English and would be the one foreign text on the screen).

#include "core/TournamentData.h"

#include <QString>

namespace tabry::app {

// `sizeLimit`: the reader's bound, named when the file is larger.
QString ReadFailureDetail(const QString& path, qint64 sizeLimit = qint64(kMaxTournamentFileBytes));
QString WriteFailureDetail(const QString& path);
// A file refused because line `line` holds a NUL byte.
QString NulByteDetail(int line);
// The start-up message for a "player.db" that exists but was refused
// (`faultLine`: the line with a NUL byte, or 0).
QString DatabaseUnreadableMessage(const QString& path, int faultLine);

} // namespace tabry::app
