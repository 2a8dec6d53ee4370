#include "app/DatabaseLocation.h"

#include <QDir>
#include <QFileInfo>

namespace tabry::app {

DatabasePaths ResolveDatabasePaths(const QString& executableDirectory, const QString& userDataDirectory,
                                   bool executableDirectoryWritable)
{
    const QString beside = QDir(executableDirectory).filePath(QStringLiteral("player.db"));
    if (executableDirectoryWritable || userDataDirectory.isEmpty())
        return {beside, beside};
    const QString own = QDir(userDataDirectory).filePath(QStringLiteral("player.db"));
    // The user's own copy once it exists; until then the one shipped beside
    // the program.
    return {QFileInfo::exists(own) ? own : beside, own};
}

} // namespace tabry::app
