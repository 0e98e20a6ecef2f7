#include "session/AppContext.h"

namespace {
QString withSlash(QString p)
{
    if (!p.endsWith(u'/'))
        p += u'/';
    return p;
}
}  // namespace

AppContext::AppContext(QString appPath, Platform& platform, ScreenMetrics screen)
    : appPath_(withSlash(std::move(appPath)))
    , platform_(platform)
    , screen_(screen)
    , settings_(appPath_ + QString::fromLatin1(AppSettings::kFileName))
{
}

QString AppContext::settingsPath() const
{
    return appPath_ + QString::fromLatin1(AppSettings::kFileName);
}
