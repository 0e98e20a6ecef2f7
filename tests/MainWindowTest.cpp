#include "app/FrameExtentsRequest.h"
#include "app/InstanceLock.h"
#include "assets/ButtonArt.h"
#include "mainwindow/LoadingScreen.h"
#include "mainwindow/Startup.h"
#include "session/ScreenMetrics.h"
#include "session/WelcomeLine.h"
#include "tests/support/MainWindowFixture.h"
#include "widgets/GalleryField.h"
#include "widgets/NameLabel.h"
#include "widgets/PrintSurface.h"
#include "widgets/ProgressBox.h"
#include "widgets/ThumbnailCell.h"

#include <QLabel>
#include <QLockFile>
#include <QScreen>
#include <QScrollBar>
#include <QSignalSpy>
#include <QWindow>
#include <QtTest>

using TestCatalogues::record;

// Start-up, the fixed layout and shutdown of the main window.
class MainWindowTest : public QObject {
    Q_OBJECT

private slots:
    // clang-format off
    void layout_data()
    {
        QTest::addColumn<QString>("control");
        QTest::addColumn<QRect>("geometry");
        QTest::newRow("season button 2") << "attr 0 2" << QRect(72, 24, 32, 32);
        QTest::newRow("petal button 5") << "attr 2 5" << QRect(168, 152, 32, 32);
        QTest::newRow("petal button 6") << "attr 2 6" << QRect(8, 184, 32, 32);
        QTest::newRow("leaf button 3") << "attr 3 3" << QRect(104, 248, 32, 32);
        QTest::newRow("family button 11") << "attr 4 11" << QRect(168, 344, 32, 32);
        QTest::newRow("thumbnail button") << "thumbnailButton" << QRect(8, 400, 48, 32);
        QTest::newRow("exit button") << "quitButton" << QRect(152, 400, 48, 32);
        QTest::newRow("field") << "galleryField" << QRect(208, 0, 448, 444);
        QTest::newRow("scroll bar") << "galleryScroll" << QRect(655, 0, 16, 444);
        QTest::newRow("cell 0") << "cell 0" << QRect(9, 8, 100, 85);
        QTest::newRow("cell 15") << "cell 15" << QRect(336, 335, 100, 85);
        QTest::newRow("name 5") << "name 5" << QRect(118, 201, 100, 16);
        QTest::newRow("message strip") << "messageStrip" << QRect(1, 444, 669, 19);
        QTest::newRow("condition frame") << "conditionFrame" << QRect(402, 444, 269, 19);
        QTest::newRow("condition strip") << "conditionStrip" << QRect(0, 1, 1800, 22);
        QTest::newRow("progress bar") << "progressBar" << QRect(402, 444, 269, 19);
    }
    // clang-format on
    void layout()
    {
        QFETCH(QString, control);
        QFETCH(QRect, geometry);
        MainWindowFixture fx({record("アカネ")});
        const MainControls& f = fx.form();
        const QStringList parts = control.split(u' ');
        QWidget* w = nullptr;
        if (parts[0] == "attr")
            w = f.attr[size_t(parts[1].toInt())][size_t(parts[2].toInt())];
        else if (parts[0] == "cell")
            w = f.cellPictures[size_t(parts[1].toInt())];
        else if (parts[0] == "name")
            w = f.cellNames[size_t(parts[1].toInt())];
        else {
            QHash<QString, QWidget*> named;
            named.insert("thumbnailButton", f.thumbnailButton);
            named.insert("quitButton", f.quitButton);
            named.insert("galleryField", f.galleryField);
            named.insert("galleryScroll", f.galleryScroll);
            named.insert("messageStrip", f.messageStrip);
            named.insert("conditionFrame", f.conditionFrame);
            named.insert("conditionStrip", f.conditionStrip);
            named.insert("progressBar", f.progressBar);
            w = named.value(control);
        }
        QVERIFY(w);
        QCOMPARE(w->geometry(), geometry);
    }

    void startsIdle()
    {
        MainWindowFixture fx({record("アカネ")});
        const MainControls& f = fx.form();
        QCOMPARE(fx.window->windowTitle(), QStringLiteral("ソノハ Version 3.47"));
        for (int i = 0; i < 16; ++i) {
            QVERIFY(!f.cellPictures[size_t(i)]->isVisible());
            QVERIFY(!f.cellNames[size_t(i)]->isVisible());
        }
        QVERIFY(!f.progressBar->isVisible());
        QCOMPARE(f.galleryScroll->maximum(), 0);
        QCOMPARE(f.captions[2]->text(), QStringLiteral("花弁（花びら）の形・数"));
    }

    // clang-format off
    void fontsScaleWithTwips_data()
    {
        QTest::addColumn<int>("twips");
        QTest::addColumn<int>("caption");
        QTest::addColumn<int>("name");
        QTest::addColumn<int>("strip");
        QTest::newRow("96 dpi") << 15 << 11 << 9 << 10;
        QTest::newRow("large fonts") << 12 << 8 << 7 << 8;
    }
    // clang-format on
    void fontsScaleWithTwips()
    {
        QFETCH(int, twips);
        QFETCH(int, caption);
        QFETCH(int, name);
        QFETCH(int, strip);
        MainWindowFixture fx({record("アカネ")}, twips);
        const MainControls& f = fx.form();
        QCOMPARE(f.captions[0]->font().pointSize(), caption);
        QCOMPARE(f.cellNames[3]->font().pointSize(), name);
        QCOMPARE(f.messageStrip->font().pointSize(), strip);
        QCOMPARE(ScreenMetrics::twipsPerPixel(96), 15);
        QCOMPARE(ScreenMetrics::twipsPerPixel(120), 12);
    }

    void welcomeLineTypesThenShowsStatus()
    {
        WelcomeLine line;
        const QString msg = QString::fromUtf8(WelcomeLine::kMessage);
        QStringList texts;
        QList<int> intervals;
        WelcomeLine::Tick t;
        do {
            t = line.tick(QStringLiteral("検索完了！ 3個見つけました｡"));
            texts << t.text;
            intervals << t.nextInterval;
        } while (t.nextInterval > 0 && texts.size() < 100);
        QCOMPARE(texts.first(), msg.left(1));
        QCOMPARE(texts[msg.size() - 2], msg.left(msg.size() - 1));
        QCOMPARE(texts[msg.size() - 1], msg);
        QCOMPARE(intervals[msg.size() - 1], 1000);
        QCOMPARE(intervals[msg.size()], 2000);
        QCOMPARE(texts.last(), QStringLiteral("検索完了！ 3個見つけました｡"));
        QCOMPARE(texts.size(), int(msg.size()) + 2);
        QCOMPARE(WelcomeLine().tick(QString()).text, msg.left(1));
    }

    // Closing writes the eight history keys, and closes photo windows first.
    void closingSavesHistory()
    {
        MainWindowFixture fx({record("アカネ")});
        fx.session().history().push(QStringLiteral("ﾊﾙｼﾞｵﾝ"));
        fx.session().history().push(QStringLiteral("アカネ"));
        fx.window->close();
        QFile f(fx.appPath() + QStringLiteral("SNH347.snh"));
        QVERIFY(f.open(QIODevice::ReadOnly));
        const QByteArray raw = f.readAll();
        for (int n = 0; n < 8; ++n)
            QVERIFY(raw.contains(QStringLiteral("HisN%1=").arg(n).toLatin1()));
        QVERIFY(raw.contains(SettingsFile::encode(QStringLiteral("HisN0=アカネ\r\nHisN1=ﾊﾙｼﾞｵﾝ\r\n"))));
        QVERIFY(fx.fake.sound.log.contains(QStringLiteral("stop")));
    }

    void secondInstanceIsRefused()
    {
        QTemporaryDir dir;
        InstanceLock first(dir.path());
        QVERIFY(first.acquire());
        InstanceLock second(dir.path());
        QVERIFY(!second.acquire());
        InstanceLock elsewhere(dir.path() + QStringLiteral("/other"));
        QVERIFY(elsewhere.acquire());
        QVERIFY(!QFileInfo(InstanceLock::lockPathFor(dir.path())).absolutePath().startsWith(dir.path()));
    }

    void lockOfACrashedRunIsTakenOver()
    {
        QTemporaryDir dir;
        const QString path = InstanceLock::lockPathFor(dir.path() + QStringLiteral("/crashed"));
        QFile::remove(path);
        {
            // A lock file naming a process that no longer runs.
            QFile f(path);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write("999999\nsonoha\n" + QSysInfo::machineHostName().toUtf8() + "\n");
        }
        InstanceLock lock(dir.path() + QStringLiteral("/crashed"));
        QVERIFY(lock.acquire());
    }

    // The loading screen shows its picture before the catalogue is read, and
    // the names of the rows read change on it while the read runs: what is
    // checked is what reached the window, not a fresh rendering of it.
    void loadingScreenIsPaintedDuringTheLoad()
    {
        QTemporaryDir dir;
        QVector<FlowerRecord> recs;
        for (int i = 0; i < 3000; ++i)
            recs << record(QStringLiteral("ハナ%1").arg(i, 4, 10, QLatin1Char('0')));
        QVERIFY(TestCatalogues::write(dir.filePath(QStringLiteral("SNH347.mdb")), recs));
        FakePlatform fake;
        AppContext ctx(dir.path() + u'/', fake.platform);
        Startup startup(ctx);
        QSignalSpy finished(&startup, &Startup::finished);
        const QImage picture = ButtonArt::loadingPicture().convertToFormat(QImage::Format_RGB32);
        int grabs = 0;
        int withPicture = 0;
        QList<QImage> names;
        QTimer probe;
        connect(&probe, &QTimer::timeout, [&] {
            LoadingScreen* w = startup.loadingScreen();
            if (startup.stage() != Startup::Stage::Loading || !w)
                return;
            const QImage shot = w->screen()->grabWindow(w->winId()).toImage().convertToFormat(QImage::Format_RGB32);
            ++grabs;
            if (shot.size() == QSize(400, 300) && shot.pixel(200, 120) == picture.pixel(200, 120) &&
                shot.pixel(30, 30) == picture.pixel(30, 30))
                ++withPicture;
            const QImage label = shot.copy(170, 280, 224, 16);
            if (names.isEmpty() || names.back() != label)
                names << label;
        });
        probe.start(0);
        startup.start();
        QVERIFY(finished.wait(20000));
        probe.stop();
        QVERIFY2(grabs > 0, "the event loop ran during the load");
        QCOMPARE(withPicture, grabs);
        QVERIFY2(names.size() >= 3, qPrintable(QString::number(names.size())));
        QCOMPARE(startup.loadingScreen()->recordLabel()->text().isEmpty(), false);
    }

    // The main window appears once, with its final outer frame and place:
    // no provisional size or position is ever on the screen.
    void mainWindowAppearsWithItsFinalFrame()
    {
        QTemporaryDir dir;
        QVERIFY(TestCatalogues::write(dir.filePath(QStringLiteral("SNH347.mdb")), {record("スミレ")}));
        FakePlatform fake;
        AppContext ctx(dir.path() + u'/', fake.platform);
        Startup startup(ctx);
        QSignalSpy finished(&startup, &Startup::finished);
        struct Watch : QObject {
            Startup* startup;
            QList<QRect> seen;
            bool eventFilter(QObject* o, QEvent* e) override
            {
                QWidget* w = startup->mainWindow();
                const QEvent::Type t = e->type();
                if (w && o == w && (t == QEvent::Move || t == QEvent::Resize || t == QEvent::Show) && w->isVisible() &&
                    w->screen()->geometry().intersects(w->frameGeometry()))
                    seen << w->frameGeometry();
                return false;
            }
        } watch;
        watch.startup = &startup;
        qApp->installEventFilter(&watch);
        startup.start();
        QVERIFY(finished.wait(20000));
        QTest::qWait(700);  // the late corrections, if any
        qApp->removeEventFilter(&watch);
        const QRect screen = startup.mainWindow()->screen()->geometry();
        const QRect final(screen.left() + (screen.width() - 676) / 2, screen.top() + (screen.height() - 488) / 2, 676,
                          488);
        QCOMPARE(startup.mainWindow()->frameGeometry(), final);
        QVERIFY(!watch.seen.isEmpty());
        for (const QRect& r : watch.seen)
            QCOMPARE(r, final);
    }

    // Where the window manager can be asked for the frame, the main window
    // is not mapped before it answers (here it never does: the wait ends,
    // and the window is shown all the same).
    void mainWindowWaitsUnmappedForItsFrame()
    {
        QTemporaryDir dir;
        QVERIFY(TestCatalogues::write(dir.filePath(QStringLiteral("SNH347.mdb")), {record("スミレ")}));
        FakePlatform fake;
        AppContext ctx(dir.path() + u'/', fake.platform);
        Startup startup(ctx);
        QSignalSpy finished(&startup, &Startup::finished);
        QWindow* asked = nullptr;
        bool shownBeforeAnswer = false;
        QTimer probe;
        connect(&probe, &QTimer::timeout, [&] {
            if (startup.stage() == Startup::Stage::Placing && startup.mainWindow()->isVisible())
                shownBeforeAnswer = true;
        });
        probe.start(5);
        startup.start([&](QWindow* w) {
            asked = w;
            return true;
        });
        QVERIFY(finished.wait(20000));
        QVERIFY(asked && asked == startup.mainWindow()->windowHandle());
        QVERIFY(!shownBeforeAnswer);
        QVERIFY(startup.mainWindow()->isVisible());
    }

    // The program's own request for the frame, on a platform that is not
    // X11 (these tests run offscreen), asks nobody and lets the start go on.
    void frameRequestWithoutAnXServer()
    {
        QTemporaryDir dir;
        QVERIFY(TestCatalogues::write(dir.filePath(QStringLiteral("SNH347.mdb")), {record("スミレ")}));
        FakePlatform fake;
        AppContext ctx(dir.path() + u'/', fake.platform);
        Startup startup(ctx);
        QSignalSpy finished(&startup, &Startup::finished);
        startup.start(&FrameExtentsRequest::send);
        QVERIFY(finished.wait(20000));
        QVERIFY(startup.mainWindow()->isVisible());
    }

    // clang-format off
    void startupMessages_data()
    {
        QTest::addColumn<int>("rows");  // -1: no catalogue file at all
        QTest::addColumn<bool>("runs");
        QTest::addColumn<QString>("message");
        QTest::newRow("missing catalogue") << -1 << false << QStringLiteral("SNH347.mdb");
        QTest::newRow("empty table") << 0 << true << QString();
        QTest::newRow("three rows") << 3 << true << QString();
        QTest::newRow("501 rows") << 501 << true << QStringLiteral("501件");
    }
    // clang-format on
    void startupMessages()
    {
        QFETCH(int, rows);
        QFETCH(bool, runs);
        QFETCH(QString, message);
        QTemporaryDir dir;
        if (rows >= 0) {
            QVector<FlowerRecord> recs;
            for (int i = 0; i < rows; ++i)
                recs << record(QStringLiteral("ハナ%1").arg(i, 3, 10, QLatin1Char('0')));
            QVERIFY(TestCatalogues::write(dir.filePath(QStringLiteral("SNH347.mdb")), recs));
        }
        FakePlatform fake;
        AppContext ctx(dir.path(), fake.platform);
        Startup startup(ctx);
        QSignalSpy finished(&startup, &Startup::finished);
        startup.start();
        QVERIFY(finished.wait(20000));
        QCOMPARE(finished.first().first().toBool(), runs);
        QCOMPARE(fake.messages.shown.size(), message.isEmpty() ? 0 : 1);
        if (!message.isEmpty())
            QVERIFY(fake.messages.texts().first().contains(message));
        QCOMPARE(ctx.catalogue().count(), std::clamp(rows, 0, 500));
        QVERIFY(!QFile::exists(dir.filePath(QStringLiteral("SNH347.snh"))));  // start-up writes nothing
        QCOMPARE(ctx.settings().readSlideSeconds(), 3);  // a fresh installation's values
        QCOMPARE(ctx.settings().readClickSound(), 1);
    }
};

QTEST_MAIN(MainWindowTest)
#include "MainWindowTest.moc"
