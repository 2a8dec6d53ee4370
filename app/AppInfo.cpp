#include "app/AppInfo.h"

#if !defined(TABRY_HOMEPAGE_URL) || !defined(TABRY_HOMEPAGE_IS_PLACEHOLDER)
#error "TABRY_HOMEPAGE_URL and TABRY_HOMEPAGE_IS_PLACEHOLDER must be defined by the build"
#endif

namespace tabry::app {

QString HomePageUrl()
{
    return QStringLiteral(TABRY_HOMEPAGE_URL);
}

bool HomePageIsPlaceholder()
{
    return TABRY_HOMEPAGE_IS_PLACEHOLDER != 0;
}

} // namespace tabry::app
