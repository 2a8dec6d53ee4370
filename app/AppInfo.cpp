#include "app/AppInfo.h"

#ifndef TABRY_HOMEPAGE_URL
#error "TABRY_HOMEPAGE_URL must be defined by the build"
#endif

namespace tabry::app {

QString HomePageUrl()
{
    return QStringLiteral(TABRY_HOMEPAGE_URL);
}

QString ManualPageUrl()
{
    QString home = HomePageUrl();
    if (!home.endsWith('/'))
        home += '/';
    return home + QStringLiteral("manual/");
}

} // namespace tabry::app
