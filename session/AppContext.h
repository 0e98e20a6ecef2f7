#pragma once

#include "catalogue/FlowerCatalogue.h"
#include "platform/Platform.h"
#include "session/ScreenMetrics.h"
#include "session/UserFolders.h"
#include "settings/AppSettings.h"

#include <QString>

// What every window uses: where the files live, the screen's metrics, the
// settings, the in-memory catalogue and the platform services.
class AppContext {
public:
    // Everything in the application folder appPath.
    AppContext(const QString& appPath, Platform& platform, ScreenMetrics screen = {});
    // The user's files where folders says.
    AppContext(UserFolders folders, Platform& platform, ScreenMetrics screen = {});

    // The application folder of the program's read-only files, ending in "/".
    const QString& appPath() const { return folders_.appPath(); }
    QString settingsPath() const { return folders_.settingsPath(); }
    QString pathOf(const QString& relative) const { return appPath() + relative; }
    // Where the settings, the catalogue and the pictures are.
    const UserFolders& folders() const { return folders_; }

    AppSettings& settings() { return settings_; }
    FlowerCatalogue& catalogue() { return catalogue_; }
    const FlowerCatalogue& catalogue() const { return catalogue_; }
    Platform& platform() { return platform_; }
    const ScreenMetrics& screen() const { return screen_; }
    // Font size for a control with the given nominal size on this screen.
    int fontSize(int nominal) const { return screen_.fontSize(nominal); }

private:
    UserFolders folders_;
    Platform& platform_;
    const ScreenMetrics screen_;
    AppSettings settings_;
    FlowerCatalogue catalogue_;
};
