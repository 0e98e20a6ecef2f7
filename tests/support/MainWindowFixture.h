#pragma once

#include "catalogue/CatalogueStore.h"
#include "mainwindow/MainWindow.h"
#include "platform/fake/FakePlatform.h"
#include "session/AppContext.h"
#include "session/BrowserSession.h"
#include "session/GalleryModel.h"
#include "support/TestCatalogues.h"
#include "widgets/PictureButton.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QImage>
#include <QMouseEvent>
#include <QTemporaryDir>
#include <QTimer>
#include <memory>

// A main window over a temporary application folder, with every platform
// service faked and the two background timers stopped, so that a test drives
// it by sending pointer events.
class MainWindowFixture {
public:
    explicit MainWindowFixture(const QVector<FlowerRecord>& records, int twips = 15)
    {
        quietOffscreenNotices();
        const QString app = dir.path() + u'/';
        QDir().mkpath(app + QStringLiteral("data"));
        TestCatalogues::write(app + QStringLiteral("SNH347.mdb"), records);
        context = std::make_unique<AppContext>(app, fake.platform, ScreenMetrics(twips, twips));
        CatalogueStore::load(app + QStringLiteral("SNH347.mdb"), context->catalogue());
        window = std::make_unique<MainWindow>(*context);
        window->catalogueLoaded();
        window->show();
        session().strips().stopWelcome();
        window->setPointerWatch(false);
    }

    const MainControls& form() const { return window->controls(); }
    BrowserSession& session() { return window->session(); }

    // Lets a drawing run to its end, one position per pass of the event loop.
    static void waitForDrawing(BrowserSession& s)
    {
        QElapsedTimer clock;
        clock.start();
        while (s.drawing() && clock.elapsed() < 20000)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    }
    void waitForDrawing() { waitForDrawing(session()); }

    // The offscreen platform reports every window-manager feature it lacks;
    // those notices say nothing about the program.
    static void quietOffscreenNotices()
    {
        static const QtMessageHandler previous =
            qInstallMessageHandler([](QtMsgType type, const QMessageLogContext& where, const QString& message) {
                if (!message.startsWith(QLatin1String("This plugin does not support")))
                    previous(type, where, message);
            });
    }
    QString appPath() const { return dir.path() + u'/'; }

    // Writes a small picture into the data folder.
    void picture(const QString& name, QSize size = QSize(120, 90), QColor colour = Qt::darkGreen)
    {
        QImage img(size, QImage::Format_RGB32);
        img.fill(colour);
        img.save(appPath() + QStringLiteral("data/") + name);
    }

    static void send(QWidget* w, QEvent::Type type, QPoint pos, Qt::MouseButton button = Qt::NoButton,
                     Qt::KeyboardModifiers mods = Qt::NoModifier)
    {
        const Qt::MouseButtons held = type == QEvent::MouseButtonPress ? Qt::MouseButtons(button) : Qt::NoButton;
        QMouseEvent e(type, QPointF(pos), QPointF(w->mapToGlobal(pos)), button, held, mods);
        QApplication::sendEvent(w, &e);
    }
    static void move(QWidget* w, QPoint pos = QPoint(10, 10)) { send(w, QEvent::MouseMove, pos); }
    static void press(QWidget* w, Qt::MouseButton b = Qt::LeftButton, QPoint pos = QPoint(10, 10),
                      Qt::KeyboardModifiers m = Qt::NoModifier)
    {
        send(w, QEvent::MouseButtonPress, pos, b, m);
    }
    static void release(QWidget* w, Qt::MouseButton b = Qt::LeftButton, QPoint pos = QPoint(10, 10),
                        Qt::KeyboardModifiers m = Qt::NoModifier)
    {
        send(w, QEvent::MouseButtonRelease, pos, b, m);
    }
    // Point at, press and release inside: a click as a user makes it. A
    // drawing that the click starts is let run to its end, as a user who
    // waits for the thumbnails sees it.
    static void click(QWidget* w, Qt::MouseButton b = Qt::LeftButton, Qt::KeyboardModifiers m = Qt::NoModifier)
    {
        move(w);
        clickInPlace(w, b, m);
    }
    // The same click without the move: the pointer was already there, or the
    // button came under it (a menu closed, a key changed the looks).
    static void clickInPlace(QWidget* w, Qt::MouseButton b = Qt::LeftButton, Qt::KeyboardModifiers m = Qt::NoModifier)
    {
        press(w, b, QPoint(10, 10), m);
        release(w, b, QPoint(10, 10), m);
        if (auto* main = qobject_cast<MainWindow*>(w->window()))
            waitForDrawing(main->session());
    }

    QTemporaryDir dir;
    FakePlatform fake;
    std::unique_ptr<AppContext> context;
    std::unique_ptr<MainWindow> window;
};
