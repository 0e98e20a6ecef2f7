#pragma once

#include "platform/ProgramLauncher.h"

class FakeProgramLauncher : public ProgramLauncher {
public:
    QString find(const QStringList& candidates) const override
    {
        for (const QString& c : candidates)
            if (installed.contains(c))
                return c;
        return QString();
    }
    bool start(const QString& program) override
    {
        started << program;
        return true;
    }
    QStringList installed;
    QStringList started;
};
