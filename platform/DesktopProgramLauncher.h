#pragma once

#include "platform/ProgramLauncher.h"

class DesktopProgramLauncher : public ProgramLauncher {
public:
    QString find(const QStringList& candidates) const override;
    bool start(const QString& program) override;
};
