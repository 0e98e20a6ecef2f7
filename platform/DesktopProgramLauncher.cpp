#include "platform/DesktopProgramLauncher.h"

#include <QProcess>
#include <QStandardPaths>

QString DesktopProgramLauncher::find(const QStringList& candidates) const
{
    for (const QString& name : candidates) {
        QString path = QStandardPaths::findExecutable(name);
        if (!path.isEmpty())
            return path;
    }
    return QString();
}

bool DesktopProgramLauncher::start(const QString& program)
{
    return QProcess::startDetached(program, {});
}
