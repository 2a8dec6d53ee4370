#include "app/ProgramLayout.h"

#include <QDir>
#include <QFileInfo>

namespace tabry::app {

ProgramLayout DetectProgramLayout(const QString& executableDirectory)
{
    // Only a "bin" folder with share/torva beside it counts as installed: a
    // program folder never looks like that by accident.
    const QDir exeDir(executableDirectory);
    const QString shared = QDir::cleanPath(exeDir.filePath(QStringLiteral("../share/torva")));
    if (exeDir.dirName() == QStringLiteral("bin") && QFileInfo(shared).isDir())
        return {true, shared};
    return {false, QDir::cleanPath(exeDir.absolutePath())};
}

QString ManualFrontPage(const ProgramLayout& layout)
{
    const QString page = QDir(layout.dataDirectory).filePath(QStringLiteral("manual/index.html"));
    return QFileInfo(page).isFile() ? page : QString();
}

} // namespace tabry::app
