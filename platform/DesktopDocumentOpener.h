#pragma once

#include "DocumentOpener.h"

class DesktopDocumentOpener : public DocumentOpener {
public:
    bool open(const QString& path) override;
};
