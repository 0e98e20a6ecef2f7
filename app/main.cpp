#include "session/AppContext.h"
#include "app/InstanceLock.h"
#include "mainwindow/MainWindow.h"
#include "app/ShutdownSignals.h"
#include "mainwindow/Startup.h"
#include "session/BrowserSession.h"
#include "session/History.h"
#include "pictures/PictureLoader.h"
#include "app/RealPlatform.h"

#include <QApplication>
#include <QFont>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("sonoha"));
    QApplication::setFont(QFont(QStringLiteral("IPAPGothic"), 9));
    PictureLoader::init();

    RealPlatform platform;
    const QString appPath = QCoreApplication::applicationDirPath();
    InstanceLock lock(appPath);
    if (!lock.admit(platform.platform().messages))
        return 0;  // already running: show nothing, touch nothing

    AppContext context(appPath, platform.platform());
    Startup startup(context);
    if (!startup.run())
        return 1;
    MainWindow* window = startup.mainWindow();
    // From here on a request to end ends the program as the window's close
    // box does. Before, nothing of the run is there to keep, and such a
    // request ends the start at once.
    ShutdownSignals shutdownSignals;
    QObject::connect(&shutdownSignals, &ShutdownSignals::requested, window, &QWidget::close);
    // At a logout the session manager asks for the user's data first; the
    // logout may still be cancelled, so the history is written and the
    // program goes on. If the session does end, the window is closed or a
    // signal arrives, and the normal closing steps follow.
    QObject::connect(&app, &QGuiApplication::commitDataRequest, window,
                     [window, &context] { window->session().history().save(context.settings()); });
    return QApplication::exec();
}
