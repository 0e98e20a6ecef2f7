#pragma once

#include <QString>
#include <functional>

// Opens a document with the desktop's associated program.
class DocumentOpener {
public:
    virtual ~DocumentOpener() = default;
    // False when the document could not be handed to any program. Some
    // failures show only later (the desktop's opener found nothing to show
    // it with): failedLater is then called from the event loop.
    virtual bool open(const QString& path, std::function<void()> failedLater) = 0;
};
