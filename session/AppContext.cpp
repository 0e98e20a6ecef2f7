#include "session/AppContext.h"

AppContext::AppContext(const QString& appPath, Platform& platform, ScreenMetrics screen)
    : AppContext(UserFolders::inOneFolder(appPath), platform, screen)
{
}

AppContext::AppContext(UserFolders folders, Platform& platform, ScreenMetrics screen)
    : folders_(std::move(folders))
    , platform_(platform)
    , screen_(screen)
    , settings_(folders_.settingsPath())
{
}
