#pragma once

#include "platform/DocumentOpener.h"

#include <QStringList>

class FakeDocumentOpener : public DocumentOpener {
public:
    bool open(const QString& path, std::function<void()> failedLater) override
    {
        opened << path;
        lastFailure = std::move(failedLater);
        return result;
    }
    QStringList opened;
    bool result = true;
    std::function<void()> lastFailure;  // a test calls it to fail later
};
