#include "app/ShutdownSignals.h"
#include "mainwindow/PhotoWindows.h"
#include "settings/SettingsFile.h"
#include "tests/support/MainWindowFixture.h"
#include "widgets/NameLabel.h"

#include <QtTest>

#include <csignal>

using TestCatalogues::record;
using MWF = MainWindowFixture;

// A request to end from outside (logout, shutdown, a closed terminal) ends
// the program through the main window's closing steps.
class ShutdownSignalsTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { MWF::quietOffscreenNotices(); }

    // clang-format off
    void signalRunsTheNormalShutdown_data()
    {
        QTest::addColumn<int>("number");
        QTest::newRow("SIGTERM") << SIGTERM;
        QTest::newRow("SIGHUP") << SIGHUP;
        QTest::newRow("SIGINT") << SIGINT;
    }
    // clang-format on
    void signalRunsTheNormalShutdown()
    {
        QFETCH(int, number);
        MWF fx({record(QStringLiteral("アカネ")), record(QStringLiteral("ハコベ"))});
        fx.picture(QStringLiteral("アカネ.jpg"));
        const MainControls& f = fx.form();
        MWF::click(f.attr[0][0], Qt::LeftButton, Qt::ShiftModifier);
        fx.waitForDrawing();
        MWF::click(f.cellNames[0]);
        QCOMPARE(fx.window->session().photos().openCount(), 1);
        ShutdownSignals shutdown;
        QObject::connect(&shutdown, &ShutdownSignals::requested, fx.window.get(), &QWidget::close);

        QCOMPARE(::raise(number), 0);
        QTRY_VERIFY(!fx.window->isVisible());
        QCOMPARE(fx.window->session().photos().openCount(), 0);
        QFile settings(fx.appPath() + QStringLiteral("SNH347.snh"));
        QVERIFY(settings.open(QIODevice::ReadOnly));
        QVERIFY(settings.readAll().contains(SettingsFile::encode(QStringLiteral("HisN0=アカネ\r\n"))));
        QVERIFY(fx.fake.sound.log.contains(QStringLiteral("stop")));
        QTest::qWait(20);  // the closing steps' last queued calls, before the next row's window exists
    }

    // Started under nohup or as a background job, the program keeps
    // ignoring what its starter told it to ignore.
    void ignoredSignalStaysIgnored()
    {
        struct sigaction ignore {
        }, before{}, termBefore{}, after{};
        ignore.sa_handler = SIG_IGN;
        sigemptyset(&ignore.sa_mask);
        QCOMPARE(::sigaction(SIGHUP, &ignore, &before), 0);
        QCOMPARE(::sigaction(SIGTERM, nullptr, &termBefore), 0);
        {
            ShutdownSignals shutdown;
            QSignalSpy spy(&shutdown, &ShutdownSignals::requested);
            QCOMPARE(::raise(SIGHUP), 0);
            QTest::qWait(50);
            QCOMPARE(spy.size(), 0);
            QCOMPARE(::raise(SIGTERM), 0);
            QTRY_COMPARE(spy.size(), 1);
            QCOMPARE(spy[0][0].toInt(), SIGTERM);
        }
        // Gone, it leaves every signal as it found it.
        QCOMPARE(::sigaction(SIGHUP, &before, &after), 0);
        QVERIFY(after.sa_handler == SIG_IGN);
        QCOMPARE(::sigaction(SIGTERM, nullptr, &after), 0);
        QVERIFY(after.sa_handler == termBefore.sa_handler);
    }
};

QTEST_MAIN(ShutdownSignalsTest)
#include "ShutdownSignalsTest.moc"
