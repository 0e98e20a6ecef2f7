#pragma once

#include "platform/DocumentOpener.h"

class DesktopDocumentOpener : public DocumentOpener {
public:
    bool open(const QString& path) override;
};
