#include "app/DatabaseLocation.h"

#include "app/ProgramLayout.h"

#include <QDir>
#include <QFileInfo>

namespace tabry::app {

DatabasePaths ResolveDatabasePaths(const QString& executableDirectory, const QString& userDataDirectory,
                                   bool executableDirectoryWritable)
{
    const ProgramLayout layout = DetectProgramLayout(executableDirectory);
    const QString shipped = QDir(layout.dataDirectory).filePath(QStringLiteral("player.db"));
    if (userDataDirectory.isEmpty() || (!layout.installed && executableDirectoryWritable))
        return {shipped, shipped};
    const QString own = QDir(userDataDirectory).filePath(QStringLiteral("player.db"));
    // The user's own copy once it exists; until then the shipped one.
    return {QFileInfo::exists(own) ? own : shipped, own};
}

} // namespace tabry::app
