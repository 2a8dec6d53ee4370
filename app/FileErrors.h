#pragma once
// A Japanese explanation of why a file could not be read or written, found
// by looking at the file and its folder (the system's own messages are
// English and would be the one foreign text on the screen).

#include <QString>

namespace tabry::app {

QString ReadFailureDetail(const QString& path);
QString WriteFailureDetail(const QString& path);

} // namespace tabry::app
