#pragma once

#include "catalogue/FlowerCatalogue.h"
#include "platform/Platform.h"
#include "session/ScreenMetrics.h"
#include "settings/AppSettings.h"

#include <QString>

// What every window uses: where the files live, the screen's metrics, the
// settings, the in-memory catalogue and the platform services.
class AppContext {
public:
    AppContext(QString appPath, Platform& platform, ScreenMetrics screen = {});

    // The application folder, ending in "/".
    const QString& appPath() const { return appPath_; }
    QString settingsPath() const;
    QString pathOf(const QString& relative) const { return appPath_ + relative; }

    AppSettings& settings() { return settings_; }
    FlowerCatalogue& catalogue() { return catalogue_; }
    const FlowerCatalogue& catalogue() const { return catalogue_; }
    Platform& platform() { return platform_; }
    const ScreenMetrics& screen() const { return screen_; }
    // Font size for a control with the given nominal size on this screen.
    int fontSize(int nominal) const { return screen_.fontSize(nominal); }

private:
    QString appPath_;
    Platform& platform_;
    const ScreenMetrics screen_;
    AppSettings settings_;
    FlowerCatalogue catalogue_;
};
