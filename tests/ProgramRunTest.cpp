// The real program, started as a user starts it: in a folder of its own or
// installed under a prefix, without any display, and ended by SIGTERM the way
// a logout ends it.
#include "app/CommandLine.h"
#include "settings/AppSettings.h"
#include "settings/SettingsFile.h"
#include "tests/support/TestCatalogues.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>
#include <csignal>

using TestCatalogues::record;

extern const char* const kBuildCommit;  // the program's, made at build time

namespace {

const QString kSection = QStringLiteral("Sonoha347");

// Every file below a folder, relative to it.
QStringList filesBelow(const QString& root)
{
    QStringList out;
    QDirIterator it(root, QDir::Files | QDir::Hidden | QDir::System, QDirIterator::Subdirectories);
    while (it.hasNext())
        out << QDir(root).relativeFilePath(it.next());
    out.sort();
    return out;
}

bool copyProgram(const QString& folder)
{
    QDir().mkpath(folder);
    const QString target = folder + QStringLiteral("/sonoha");
    return QFile::copy(QStringLiteral(SONOHA_PROGRAM), target) &&
           QFile::setPermissions(target, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

// A user's session without a display: its own XDG folders and runtime folder.
class Session {
public:
    Session()
    {
        QDir().mkpath(runtime());
        QFile::setPermissions(runtime(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }

    QString config() const { return dir.path() + QStringLiteral("/config"); }
    QString data() const { return dir.path() + QStringLiteral("/data"); }
    QString runtime() const { return dir.path() + QStringLiteral("/runtime"); }

    QProcessEnvironment environment(bool offscreen) const
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        for (const char* gone : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
            env.remove(QString::fromLatin1(gone));
        if (offscreen)
            env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        env.insert(QStringLiteral("SDL_AUDIODRIVER"), QStringLiteral("dummy"));
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), config());
        env.insert(QStringLiteral("XDG_DATA_HOME"), data());
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime());
        return env;
    }

    QTemporaryDir dir;
};

// The program has finished its start once it catches SIGHUP: the end
// signals are taken over when the main window is on screen, and nothing
// else in it asks for SIGHUP.
bool started(qint64 pid)
{
    QFile status(QStringLiteral("/proc/%1/status").arg(pid));
    if (!status.open(QIODevice::ReadOnly))
        return false;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("SigCgt:")) {
            bool ok = false;
            const qulonglong caught = line.mid(7).trimmed().toULongLong(&ok, 16);
            return ok && (caught & (1ULL << (SIGHUP - 1)));
        }
    }
    return false;
}

// Starts the program, waits for its main window and ends it with SIGTERM.
// Empty when the run was clean (the program's own exit code 0), otherwise
// what went wrong.
QString runAndEnd(const QString& program, const Session& session)
{
    QProcess p;
    p.setProcessEnvironment(session.environment(true));
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start(program, {});
    if (!p.waitForStarted(10000))
        return QStringLiteral("did not start: ") + p.errorString();
    QElapsedTimer clock;
    clock.start();
    while (!started(p.processId()) && p.state() == QProcess::Running && clock.elapsed() < 60000)
        QTest::qWait(50);
    if (p.state() != QProcess::Running)
        return QStringLiteral("ended during its start: exit %1, status %2\n%3")
            .arg(p.exitCode())
            .arg(int(p.exitStatus()))
            .arg(QString::fromLocal8Bit(p.readAll()));
    if (!started(p.processId()))
        return QStringLiteral("never finished its start");
    p.terminate();
    if (!p.waitForFinished(30000)) {
        p.kill();
        p.waitForFinished();
        return QStringLiteral("did not end after SIGTERM");
    }
    if (p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0)
        return QStringLiteral("ended with exit %1, status %2\n%3")
            .arg(p.exitCode())
            .arg(int(p.exitStatus()))
            .arg(QString::fromLocal8Bit(p.readAll()));
    return QString();
}

}  // namespace

class ProgramRunTest : public QObject {
    Q_OBJECT

private slots:
    void offscreenStartRunsAndEndsCleanly()
    {
        Session session;
        const QString app = session.dir.path() + QStringLiteral("/app");
        QVERIFY(copyProgram(app));
        QVERIFY(TestCatalogues::write(app + QStringLiteral("/SNH347.mdb"), {record("イヌタデ")}));
        QDir().mkpath(app + QStringLiteral("/data"));

        const QString failure = runAndEnd(app + QStringLiteral("/sonoha"), session);
        QVERIFY2(failure.isEmpty(), qPrintable(failure));
        // The closing steps ran: the history was written beside the program.
        const SettingsFile settings(app + QStringLiteral("/SNH347.snh"));
        QCOMPARE(settings.readText(kSection, QStringLiteral("HisN7"), QStringLiteral("absent")), QString());
        QVERIFY(!QFileInfo::exists(session.config()));
    }

    // clang-format off
    void commandLineAnswersWithoutAWindow_data()
    {
        QTest::addColumn<QString>("argument");
        QTest::addColumn<QString>("expected");
        QTest::newRow("--help") << "--help" << CommandLine::usageText(QStringLiteral("sonoha"));
        QTest::newRow("-h") << "-h" << CommandLine::usageText(QStringLiteral("sonoha"));
        QTest::newRow("--version") << "--version" << CommandLine::versionText(QString::fromLatin1(kBuildCommit));
    }
    // clang-format on
    void commandLineAnswersWithoutAWindow()
    {
        QFETCH(QString, argument);
        QFETCH(QString, expected);
        Session session;
        const QString app = session.dir.path() + QStringLiteral("/app");
        QVERIFY(copyProgram(app));
        QVERIFY(TestCatalogues::write(app + QStringLiteral("/SNH347.mdb"), {record("イヌタデ")}));
        const QStringList before = filesBelow(session.dir.path());

        QProcess p;
        // No display and no platform: a window would end the program with an error.
        p.setProcessEnvironment(session.environment(false));
        p.start(app + QStringLiteral("/sonoha"), {argument});
        QVERIFY(p.waitForFinished(20000));
        QCOMPARE(p.exitStatus(), QProcess::NormalExit);
        QCOMPARE(p.exitCode(), 0);
        QCOMPARE(QString::fromUtf8(p.readAllStandardOutput()), expected);
        QVERIFY(expected.contains(argument == QLatin1String("--version") ? QStringLiteral("3.47")
                                                                         : QStringLiteral("使い方")));
        QCOMPARE(filesBelow(session.dir.path()), before);  // nothing written, not even a settings file
    }

    void versionNamesTheCommit()
    {
        QProcess git;
        git.start(QStringLiteral("git"), {"-C", SONOHA_SOURCE_DIR, "rev-parse", "--short=12", "HEAD"});
        if (!git.waitForFinished(10000) || git.exitCode() != 0)
            QSKIP("not built from a git checkout");
        const QString head = QString::fromLatin1(git.readAllStandardOutput()).trimmed();
        QVERIFY(QString::fromLatin1(kBuildCommit).startsWith(head));
        QCOMPARE(CommandLine::versionText(head), QStringLiteral("ソノハ 3.47（コミット %1）\n").arg(head));
    }

    void installedProgramKeepsSettingsInTheConfigFolder()
    {
        Session session;
        const QString prefix = session.dir.path() + QStringLiteral("/prefix");
        const QString shared = prefix + QStringLiteral("/share/sonoha");
        QVERIFY(copyProgram(prefix + QStringLiteral("/bin")));
        QDir().mkpath(shared + QStringLiteral("/data"));
        QVERIFY(TestCatalogues::write(shared + QStringLiteral("/SNH347.mdb"), {record("イヌタデ")}));
        const QStringList installed = filesBelow(prefix);
        const QString program = prefix + QStringLiteral("/bin/sonoha");
        const QString settingsPath = session.config() + QStringLiteral("/sonoha/SNH347.snh");

        // First run: the folder of the settings is made, the history written.
        QString failure = runAndEnd(program, session);
        QVERIFY2(failure.isEmpty(), qPrintable(failure));
        SettingsFile settings(settingsPath);
        QCOMPARE(settings.readText(kSection, QStringLiteral("HisN0"), QStringLiteral("absent")), QString());

        // Second run: what the file holds is read from there and kept.
        QVERIFY(settings.writeText(kSection, QStringLiteral("HisN0"), QStringLiteral("イヌタデ")));
        QVERIFY(settings.writeInt(kSection, QStringLiteral("KOUKAON_check"), 2));
        failure = runAndEnd(program, session);
        QVERIFY2(failure.isEmpty(), qPrintable(failure));
        QCOMPARE(settings.readText(kSection, QStringLiteral("HisN0"), QString()), QStringLiteral("イヌタデ"));
        QCOMPARE(settings.readInt(kSection, QStringLiteral("KOUKAON_check"), 0), 2);

        QCOMPARE(filesBelow(prefix), installed);  // the installed files as they were
        QCOMPARE(filesBelow(session.config()), QStringList{"sonoha/SNH347.snh"});
        QVERIFY(!QFileInfo::exists(session.data()));  // no catalogue copy until the editor makes one
    }
};

QTEST_MAIN(ProgramRunTest)
#include "ProgramRunTest.moc"
