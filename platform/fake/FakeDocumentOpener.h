#pragma once

#include "platform/DocumentOpener.h"

#include <QStringList>

class FakeDocumentOpener : public DocumentOpener {
public:
    bool open(const QString& path) override
    {
        opened << path;
        return result;
    }
    QStringList opened;
    bool result = true;
};
