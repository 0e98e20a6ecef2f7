#include "session/AppContext.h"
#include "app/InstanceLock.h"
#include "mainwindow/MainWindow.h"
#include "mainwindow/Startup.h"
#include "app/RealPlatform.h"

#include <QApplication>
#include <QFont>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("sonoha"));
    QApplication::setFont(QFont(QStringLiteral("IPAPGothic"), 9));

    const QString appPath = QCoreApplication::applicationDirPath();
    InstanceLock lock(appPath);
    if (!lock.acquire())
        return 0;  // already running: show nothing, touch nothing

    RealPlatform platform;
    AppContext context(appPath, platform.platform());
    Startup startup(context);
    if (!startup.run())
        return 1;
    return QApplication::exec();
}
