#include "session/AppContext.h"

#include "session/ScreenMetrics.h"

AppContext::AppContext(const QString& appPath, Platform& platform)
    : AppContext(UserFolders::inOneFolder(appPath), platform)
{
}

AppContext::AppContext(UserFolders folders, Platform& platform)
    : folders_(std::move(folders))
    , platform_(platform)
    , settings_(folders_.settingsPath())
{
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
