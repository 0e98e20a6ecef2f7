#include "app/CommandLine.h"
#include "app/FrameExtentsRequest.h"
#include "app/FrontRequest.h"
#include "app/InstanceLock.h"
#include "app/QtTranslation.h"
#include "app/RealPlatform.h"
#include "app/ShutdownSignals.h"
#include "mainwindow/MainWindow.h"
#include "mainwindow/Startup.h"
#include "pictures/PictureLoader.h"
#include "session/AppContext.h"
#include "session/BrowserSession.h"
#include "session/History.h"
#include "session/UnsavedSettingsNotice.h"
#include "session/UserFolders.h"

#include <QApplication>
#include <QFont>
#include <QLocale>
#include <QTranslator>
#include <cstdio>
#include <memory>

extern const char* const kBuildCommit;  // made at build time

namespace {

// --help and --version are answered before Qt starts: no display is needed,
// and nothing of the program is read or written.
int answer(CommandLine::Request request, const char* program)
{
    const QString text = request == CommandLine::Request::Help
                             ? CommandLine::usageText(QString::fromLocal8Bit(program))
                             : CommandLine::versionText(QString::fromLatin1(kBuildCommit));
    const QByteArray bytes = text.toUtf8();
    return std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stdout) == size_t(bytes.size()) &&
                   std::fflush(stdout) == 0
               ? 0
               : 1;
}

// Another start found this copy running: its main window comes to the front.
void bringToFront(QWidget* window)
{
    window->setWindowState(window->windowState() & ~Qt::WindowMinimized);
    window->show();
    window->raise();
    window->activateWindow();
}

}  // namespace

int main(int argc, char** argv)
{
    if (const auto request = CommandLine::parse(argc, argv); request != CommandLine::Request::Run)
        return answer(request, argv[0]);

    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("sonoha"));
    QApplication::setApplicationVersion(QStringLiteral("3.47"));
    QGuiApplication::setDesktopFileName(QStringLiteral(SONOHA_APP_ID));
    QApplication::setFont(QFont(QStringLiteral("IPAPGothic"), 9));
    // Qt's own dialogs and menus speak the program's language.
    QLocale::setDefault(QLocale(QLocale::Japanese, QLocale::Japan));
    QTranslator qtTexts;
    QtTranslation::install(qtTexts);
    PictureLoader::init();

    RealPlatform platform;
    const QString appPath = QCoreApplication::applicationDirPath();
    InstanceLock lock(appPath);
    if (!lock.admit(platform.platform().messages))
        return 0;  // already running: show nothing, touch nothing
    FrontRequest front;
    if (lock.held())
        front.listen(InstanceLock::frontPathFor(lock.path()));

    // The program's files beside it or, installed, in ../share/sonoha; the
    // user's files beside them or in the XDG folders.
    const UserFolders folders = UserFolders::forProgram(appPath, UserFolders::Environment::fromProcess());
    folders.makeSettingsFolder();
    AppContext context(folders, platform.platform(), ScreenMetrics::ofPrimaryScreen());
    const UnsavedSettingsNotice unsaved(context.settings().file(), platform.platform().messages);
    Startup startup(context);
    std::unique_ptr<ShutdownSignals> shutdownSignals;
    QObject::connect(&startup, &Startup::finished, &app, [&](bool ok) {
        if (!ok) {
            QCoreApplication::exit(1);
            return;
        }
        MainWindow* window = startup.mainWindow();
        QObject::connect(&front, &FrontRequest::requested, window, [window] { bringToFront(window); });
        // From here on a request to end ends the program as the window's
        // close box does. Before, nothing of the run is there to keep, and
        // such a request ends the start at once.
        shutdownSignals = std::make_unique<ShutdownSignals>();
        QObject::connect(shutdownSignals.get(), &ShutdownSignals::requested, window, &QWidget::close);
        // At a logout the session manager asks for the user's data first; the
        // logout may still be cancelled, so the history is written and the
        // program goes on. If the session does end, the window is closed or a
        // signal arrives, and the normal closing steps follow.
        QObject::connect(&app, &QGuiApplication::commitDataRequest, window,
                         [window, &context] { window->session().history().save(context.settings()); });
    });
    // The loading screen closes while the main window shows; only the main
    // window's own end ends the run.
    QApplication::setQuitOnLastWindowClosed(false);
    QObject::connect(&startup, &Startup::finished, &app, [](bool ok) {
        if (ok)
            QApplication::setQuitOnLastWindowClosed(true);
    });
    startup.start(&FrameExtentsRequest::send);
    return QApplication::exec();
}
