#pragma once

#include "platform/DocumentOpener.h"

// Opens documents through the desktop's opener xdg-open (Debian: xdg-utils),
// or Qt's own desktop services where it is not installed. xdg-open reports by
// its exit status whether it found a program for the document; a failure is
// reported through failedLater once it ends. A program it started in the
// foreground (a browser) keeps it running; it is never stopped by us.
class DesktopDocumentOpener : public DocumentOpener {
public:
    bool open(const QString& path, std::function<void()> failedLater) override;

    // How long the start of xdg-open itself may take.
    static constexpr int kStartWaitMs = 3000;
};
