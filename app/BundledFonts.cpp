#include "app/BundledFonts.h"

#include <QDir>
#include <QFontDatabase>

namespace tabry::app {

// Windows has no IPA Gothic, in which the printed pages, the print preview and
// the PDF export set their texts (so that both renderers place the same
// texts in the same boxes); the release brings it beside the program. On
// Linux the package depends on fonts-ipafont-gothic and the folder is absent.
int AddBundledFonts(const QString& folder)
{
    int added = 0;
    const QDir dir(folder);
    const QStringList files = dir.entryList({QStringLiteral("*.ttf"), QStringLiteral("*.otf")}, QDir::Files);
    for (const QString& name : files)
        if (QFontDatabase::addApplicationFont(dir.filePath(name)) >= 0)
            ++added;
    return added;
}

} // namespace tabry::app
