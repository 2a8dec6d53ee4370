#pragma once
// Fixed facts about the program shown to the user.

#include "TorvaVersion.h"

#include <QString>

namespace tabry::app {

// The main window's title after the document's name.
inline QString AppTitle()
{
    return QStringLiteral("TORVA ver." TORVA_VERSION);
}

// The product's home page (shared with the reports' credit lines). While it
// is the build's placeholder address, which leads nowhere, the Help menu
// opens the bundled manual in its place.
QString HomePageUrl();
bool HomePageIsPlaceholder();

} // namespace tabry::app
