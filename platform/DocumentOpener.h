#pragma once

#include <QString>

// Opens a document with the desktop's associated program.
class DocumentOpener {
public:
    virtual ~DocumentOpener() = default;
    virtual bool open(const QString& path) = 0;
};
