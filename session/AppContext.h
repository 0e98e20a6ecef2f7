#pragma once

#include "catalogue/FlowerCatalogue.h"
#include "platform/Platform.h"
#include "session/UserFolders.h"
#include "settings/AppSettings.h"

#include <QString>

// The program-wide values every window uses: where the files live, the
// screen's twips per pixel, the last-read copies of the numeric settings,
// the in-memory catalogue and the platform services.
class AppContext {
public:
    // Everything in the application folder appPath.
    AppContext(const QString& appPath, Platform& platform);
    // The user's files where folders says.
    AppContext(UserFolders folders, Platform& platform);

    // The application folder of the program's read-only files, ending in "/".
    const QString& GetAppPath() const { return folders_.appPath(); }
    QString IniPath() const { return folders_.settingsPath(); }
    QString pathOf(const QString& relative) const { return GetAppPath() + relative; }
    // Where the settings, the catalogue and the pictures are.
    const UserFolders& folders() const { return folders_; }

    AppSettings& settings() { return settings_; }
    FlowerCatalogue& catalogue() { return catalogue_; }
    const FlowerCatalogue& catalogue() const { return catalogue_; }
    Platform& platform() { return platform_; }

    int TwipsPerPixelX = 15;
    int TwipsPerPixelY = 15;

    // Copies of the numeric settings as last read.
    int SldSec = 3;
    int BgmNo = 0;
    int SoundNo = 1;
    int SamMode = 0;  // also the mode a releasing panel click goes by

    // The start-up read of the four numeric settings.
    void readStartupSettings();
    // Font size for a control with the given nominal size on this screen.
    int fontSize(int nominal) const;

private:
    UserFolders folders_;
    Platform& platform_;
    AppSettings settings_;
    FlowerCatalogue catalogue_;
};
