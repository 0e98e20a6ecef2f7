#include "app/InstanceLock.h"
#include "app/FrontRequest.h"
#include "platform/fake/FakeMessageBoxes.h"
#include "tests/support/ChildProcess.h"

#include <QCoreApplication>
#include <QDir>
#include <QLockFile>
#include <QProcess>
#include <QSocketNotifier>
#include <QTemporaryDir>
#include <QtTest>

#include <sys/stat.h>
#include <unistd.h>

namespace {

const char* const kHoldLock = "--hold-lock";

// Run as a child of the test: holds the lock until its input closes, as a
// running copy of the program holds it, and says "front" whenever it is asked
// to come to the front. The owner's process name must be the test's own, or
// QLockFile takes the pid for a reused one.
int holdLock(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    InstanceLock lock(QString::fromLocal8Bit(argv[2]), QString::fromLocal8Bit(argv[3]));
    if (!lock.acquire())
        return 2;
    FrontRequest front;
    if (!front.listen(InstanceLock::frontPathFor(lock.path())))
        return 3;
    QObject::connect(&front, &FrontRequest::requested, [] {
        fputs("front\n", stdout);
        fflush(stdout);
    });
    QSocketNotifier input(0, QSocketNotifier::Read);
    QObject::connect(&input, &QSocketNotifier::activated, [] {
        char c;
        if (::read(0, &c, 1) <= 0)
            QCoreApplication::quit();
    });
    fputs("held\n", stdout);
    fflush(stdout);
    return QCoreApplication::exec();
}

// What a start in a child process saw: whether it runs, and what it told.
struct Start {
    bool ended = false;  // false when the start hung and was killed
    pid_t pid = 0;
    bool runs = false;
    QStringList told;
    QList<int> icons;
};

Start startInChild(const QString& app, const QString& folder, bool readOnlyFolder)
{
    Start start;
    const std::optional<QByteArray> report = runInChild([&] {
        // A folder without write permission binds root too, as on a read-only medium.
        if (readOnlyFolder && !bindPermissions())
            return QByteArray("no-rights");
        // Held until the child ends, as a running copy holds it.
        auto* lock = new InstanceLock(app, folder);
        FakeMessageBoxes boxes;
        QByteArray out = QByteArray::number(::getpid()) + '\n' + (lock->admit(boxes) ? "runs" : "stays out");
        for (const auto& shown : boxes.shown)
            out += '\n' + QByteArray::number(int(shown.icon)) + ' ' + shown.text.toUtf8().toPercentEncoding();
        return out;
    });
    if (!report)
        return start;
    const QList<QByteArray> lines = report->split('\n');
    start.ended = lines.size() >= 2;
    start.pid = pid_t(lines.value(0).toLongLong());
    start.runs = lines.value(1) == "runs";
    for (qsizetype i = 2; i < lines.size(); ++i) {
        const qsizetype space = lines[i].indexOf(' ');
        start.icons << lines[i].left(space).toInt();
        start.told << QString::fromUtf8(QByteArray::fromPercentEncoding(lines[i].mid(space + 1)));
    }
    return start;
}

void writeLock(const QString& path, const QByteArray& bytes, bool old = true)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    QCOMPARE(f.write(bytes), bytes.size());
    QVERIFY(f.flush());
    if (old)  // left there by an earlier run
        QVERIFY(f.setFileTime(QDateTime::currentDateTime().addSecs(-60), QFileDevice::FileModificationTime));
}

}  // namespace

Q_DECLARE_METATYPE(InstanceLock::Outcome)

class InstanceLockTest : public QObject {
    Q_OBJECT

private slots:
    // clang-format off
    void startWithWhatIsThere_data()
    {
        QTest::addColumn<QString>("there");
        QTest::addColumn<InstanceLock::Outcome>("outcome");
        using O = InstanceLock::Outcome;
        QTest::newRow("no lock") << "none" << O::Acquired;
        QTest::newRow("live lock") << "live" << O::HeldElsewhere;
        QTest::newRow("lock of a dead process") << "dead" << O::Acquired;
        QTest::newRow("empty lock file") << "empty" << O::Acquired;
        QTest::newRow("garbage lock file") << "garbage" << O::Acquired;
        QTest::newRow("unreadable lock file") << "unreadable" << O::Acquired;
        QTest::newRow("empty lock being written now") << "fresh empty" << O::HeldElsewhere;
        QTest::newRow("FIFO in its place") << "fifo" << O::Acquired;
        QTest::newRow("link to /dev/zero in its place") << "dev zero" << O::Acquired;
        QTest::newRow("folder in its place") << "folder" << O::Acquired;
        QTest::newRow("lock of another host") << "other host" << O::Acquired;
        QTest::newRow("lock folder not writable") << "read-only folder" << O::Failed;
        QTest::newRow("lock folder is a file") << "file folder" << O::Failed;
        QTest::newRow("no private folder") << "no folder" << O::Failed;
    }
    // clang-format on
    void startWithWhatIsThere()
    {
        QFETCH(QString, there);
        QFETCH(InstanceLock::Outcome, outcome);
        QTemporaryDir dir;
        const QString app = dir.filePath(QStringLiteral("app"));
        QString folder = dir.filePath(QStringLiteral("locks"));
        QVERIFY(QDir().mkdir(folder));
        QString path = InstanceLock::lockPathFor(app, folder);
        QProcess owner;
        if (there == QLatin1String("live")) {
            owner.start(QCoreApplication::applicationFilePath(), {QString::fromLatin1(kHoldLock), app, folder});
            QVERIFY(owner.waitForReadyRead(10000));
            QCOMPARE(owner.readAll(), QByteArray("held\n"));
        } else if (there == QLatin1String("dead")) {
            writeLock(path, "999999\nsonoha\n" + QSysInfo::machineHostName().toUtf8() + "\n");
        } else if (there == QLatin1String("empty")) {
            writeLock(path, QByteArray());
        } else if (there == QLatin1String("garbage")) {
            writeLock(path, QByteArray("\x89PNG\r\n\x1a\n\0\0garbage", 18));
        } else if (there == QLatin1String("unreadable")) {
            writeLock(path, "999999\nsonoha\n");
            QVERIFY(QFile::setPermissions(path, {}));
        } else if (there == QLatin1String("fresh empty")) {
            writeLock(path, QByteArray(), false);
        } else if (there == QLatin1String("fifo")) {
            QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
        } else if (there == QLatin1String("dev zero")) {
            QVERIFY(QFile::link(QStringLiteral("/dev/zero"), path));
        } else if (there == QLatin1String("folder")) {
            QVERIFY(QDir().mkdir(path));
        } else if (there == QLatin1String("other host")) {
            // This very process, live and running this program, but on another machine.
            writeLock(path, QByteArray::number(QCoreApplication::applicationPid()) + '\n' +
                                QFileInfo(QCoreApplication::applicationFilePath()).fileName().toUtf8() +
                                "\nelsewhere.example\n0123456789abcdef0123456789abcdef\n");
        } else if (there == QLatin1String("read-only folder")) {
            QVERIFY(QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner));
        } else if (there == QLatin1String("file folder")) {
            folder = dir.filePath(QStringLiteral("a file"));
            writeLock(folder, "not a folder");
        } else if (there == QLatin1String("no folder")) {
            folder.clear();
        }
        if (folder != QFileInfo(path).absolutePath())
            path = folder.isEmpty() ? QString() : InstanceLock::lockPathFor(app, folder);

        // Only a live owner keeps the program from running, and is asked to
        // come to the front; any other failure is told, and the program runs
        // without the lock. The start runs in a child, which is killed if it hangs.
        const Start start = startInChild(app, folder, there == QLatin1String("read-only folder"));
        QVERIFY2(start.ended, "the start hung or died");
        QCOMPARE(start.runs, outcome != InstanceLock::Outcome::HeldElsewhere);
        const bool failed = outcome == InstanceLock::Outcome::Failed;
        QCOMPARE(start.told.size(), failed ? 1 : 0);
        if (failed) {
            QCOMPARE(start.told[0], InstanceLock::failureText(path));
            QCOMPARE(start.icons[0], int(MessageBoxes::Icon::Exclamation));
        }
        if (outcome == InstanceLock::Outcome::Acquired) {
            qint64 pid = 0;
            QString host, name;
            QVERIFY(QLockFile(path).getLockInfo(&pid, &host, &name));
            QCOMPARE(pid, qint64(start.pid));
        }
        if (there == QLatin1String("live")) {
            QVERIFY(owner.waitForReadyRead(10000));
            QCOMPARE(owner.readAll(), QByteArray("front\n"));
        }

        QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        owner.closeWriteChannel();
        if (owner.state() != QProcess::NotRunning)
            QVERIFY(owner.waitForFinished(10000));
    }

    void failureIsToldInJapanese()
    {
        const QString text = InstanceLock::failureText(QStringLiteral("/run/user/1000/sonoha-0123456789abcdef.lock"));
        QVERIFY(text.startsWith(
            QStringLiteral("ソノハの二重起動を確かめるためのロックファイルを作成できませんでした。\n")));
        QVERIFY(text.contains(QStringLiteral("/run/user/1000/sonoha-0123456789abcdef.lock")));
        QVERIFY(text.endsWith(QStringLiteral("このまま起動します。")));
    }

    // The lock lives where no other user can plant one.
    // clang-format off
    void lockFolder_data()
    {
        QTest::addColumn<QString>("runtime");   // mode of $XDG_RUNTIME_DIR, "" when unset
        QTest::addColumn<QString>("ownFolder");  // what is already at <temp>/sonoha-<uid>
        QTest::addColumn<QString>("expected");   // "runtime", "own" or "none"
        QTest::newRow("private runtime folder") << "0700" << "" << "runtime";
        QTest::newRow("runtime folder others can write") << "0777" << "" << "own";
        QTest::newRow("no runtime folder") << "" << "" << "own";
        QTest::newRow("own folder made earlier") << "" << "0700" << "own";
        QTest::newRow("own folder opened to others") << "" << "0777" << "none";
        QTest::newRow("link planted as own folder") << "" << "link" << "none";
        QTest::newRow("temporary folder missing") << "" << "no temp" << "none";
    }
    // clang-format on
    void lockFolder()
    {
        QFETCH(QString, runtime);
        QFETCH(QString, ownFolder);
        QFETCH(QString, expected);
        QTemporaryDir dir;
        const QString tmp = dir.filePath(QStringLiteral("tmp"));
        QVERIFY(QDir().mkdir(tmp));
        const QString runtimeDir = dir.filePath(QStringLiteral("runtime"));
        const QString own = tmp + QStringLiteral("/sonoha-%1").arg(::geteuid());
        const QByteArray savedRuntime = qgetenv("XDG_RUNTIME_DIR"), savedTmp = qgetenv("TMPDIR");
        qputenv("TMPDIR",
                QFile::encodeName(ownFolder == QLatin1String("no temp") ? tmp + QStringLiteral("/gone") : tmp));
        if (runtime.isEmpty()) {
            qunsetenv("XDG_RUNTIME_DIR");
        } else {
            QVERIFY(QDir().mkdir(runtimeDir));
            QCOMPARE(::chmod(QFile::encodeName(runtimeDir).constData(), runtime.toUInt(nullptr, 8)), 0);
            qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtimeDir));
        }
        if (ownFolder == QLatin1String("link")) {
            QVERIFY(QDir().mkdir(dir.filePath(QStringLiteral("elsewhere"))));
            QVERIFY(QFile::link(dir.filePath(QStringLiteral("elsewhere")), own));
        } else if (!ownFolder.isEmpty() && ownFolder != QLatin1String("no temp")) {
            QVERIFY(QDir().mkdir(own));
            QCOMPARE(::chmod(QFile::encodeName(own).constData(), ownFolder.toUInt(nullptr, 8)), 0);
        }

        const QString folder = InstanceLock::lockFolder();
        const QString lockPath = InstanceLock::lockPathFor(QStringLiteral("/opt/sonoha"));
        qputenv("TMPDIR", savedTmp);
        savedRuntime.isNull() ? qunsetenv("XDG_RUNTIME_DIR") : qputenv("XDG_RUNTIME_DIR", savedRuntime);

        const QString want = expected == QLatin1String("runtime") ? runtimeDir
                             : expected == QLatin1String("own")   ? own
                                                                  : QString();
        QCOMPARE(folder, want);
        if (!want.isEmpty()) {
            QVERIFY(InstanceLock::isPrivateFolder(folder));
            QCOMPARE(QFileInfo(lockPath).absolutePath(), want);
        }
    }
};

int main(int argc, char** argv)
{
    if (argc == 4 && qstrcmp(argv[1], kHoldLock) == 0)
        return holdLock(argc, argv);
    QCoreApplication app(argc, argv);
    InstanceLockTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "InstanceLockTest.moc"
