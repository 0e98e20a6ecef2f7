#include "platform/BoundedFile.h"
#include "tests/support/FifoWatchdog.h"

#include <QDir>
#include <QTemporaryDir>
#include <QtTest>

#include <sys/stat.h>

// Reading the program's own files: only regular files within the cap, and
// nothing that could block or grow without end.
class BoundedFileTest : public QObject {
    Q_OBJECT

private slots:
    // clang-format off
    void onlySmallRegularFiles_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<bool>("accepted");
        QTest::newRow("regular file") << "regular" << true;
        QTest::newRow("empty regular file") << "empty" << true;
        QTest::newRow("file exactly at the cap") << "at cap" << true;
        QTest::newRow("link to a regular file") << "link to regular" << true;
        QTest::newRow("FIFO with no writer") << "fifo" << false;
        QTest::newRow("link to /dev/zero") << "zero" << false;
        QTest::newRow("directory") << "directory" << false;
        QTest::newRow("file over the cap") << "over cap" << false;
        QTest::newRow("missing file") << "missing" << false;
        QTest::newRow("dangling link") << "dangling" << false;
    }
    // clang-format on
    void onlySmallRegularFiles()
    {
        QFETCH(QString, kind);
        QFETCH(bool, accepted);
        constexpr qint64 cap = 64;
        const QByteArray content = "[Sonoha347]\r\nHisN0=x\r\n";
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("SNH347.snh"));
        const QString target = dir.filePath(QStringLiteral("target"));
        QByteArray expected = content;
        auto write = [](const QString& p, const QByteArray& bytes) {
            QFile f(p);
            return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
        };
        if (kind == QLatin1String("regular")) {
            QVERIFY(write(path, content));
        } else if (kind == QLatin1String("empty")) {
            QVERIFY(write(path, QByteArray()));
            expected.clear();
        } else if (kind == QLatin1String("at cap") || kind == QLatin1String("over cap")) {
            expected = QByteArray(kind == QLatin1String("at cap") ? cap : cap + 1, 'x');
            QVERIFY(write(path, expected));
        } else if (kind == QLatin1String("link to regular")) {
            QVERIFY(write(target, content));
            QVERIFY(QFile::link(target, path));
        } else if (kind == QLatin1String("fifo")) {
            QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
        } else if (kind == QLatin1String("zero")) {
            QVERIFY(QFile::link(QStringLiteral("/dev/zero"), path));
        } else if (kind == QLatin1String("directory")) {
            QVERIFY(QDir().mkdir(path));
        } else if (kind == QLatin1String("dangling")) {
            QVERIFY(QFile::link(target, path));
        }

        const FifoWatchdog watchdog({path});
        const std::optional<QByteArray> data = BoundedFile::read(path, cap);
        QVERIFY2(!watchdog.fired(), "the read waited for a writer");
        QCOMPARE(data.has_value(), accepted);
        if (accepted)
            QCOMPARE(*data, expected);
        QCOMPARE(BoundedFile::isRegularWithin(path, cap), accepted);
    }
};

QTEST_GUILESS_MAIN(BoundedFileTest)
#include "BoundedFileTest.moc"
