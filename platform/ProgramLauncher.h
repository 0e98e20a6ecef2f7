#pragma once

#include <QString>
#include <QStringList>

// Finds and starts other programs of the desktop.
class ProgramLauncher {
public:
    virtual ~ProgramLauncher() = default;
    // The first of the named programs that is installed, or "".
    virtual QString find(const QStringList& candidates) const = 0;
    virtual bool start(const QString& program) = 0;
};
