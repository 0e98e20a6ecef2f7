#include "session/AppContext.h"

#include "session/ScreenMetrics.h"

namespace {
QString withSlash(QString p)
{
    if (!p.endsWith(u'/'))
        p += u'/';
    return p;
}
}  // namespace

AppContext::AppContext(QString appPath, Platform& platform)
    : appPath_(withSlash(std::move(appPath)))
    , platform_(platform)
    , settings_(appPath_ + QString::fromLatin1(AppSettings::kFileName))
{
}

QString AppContext::IniPath() const
{
    return appPath_ + QString::fromLatin1(AppSettings::kFileName);
}

void AppContext::readStartupSettings()
{
    SldSec = settings_.readSlideSeconds();
    BgmNo = settings_.readBgm(0);
    SoundNo = settings_.readClickSound();
    SamMode = settings_.readThumbnailMode();
}

int AppContext::fontSize(int nominal) const
{
    return ScreenMetrics::scaledFontSize(TwipsPerPixelX, nominal);
}
