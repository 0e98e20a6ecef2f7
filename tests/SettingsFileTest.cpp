#include "settings/SettingsFile.h"
#include "session/History.h"
#include "settings/AppSettings.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <csignal>
#include <functional>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

// Runs a write in a child process whose files may not grow past limitBytes,
// the way a full disk or a quota refuses a write (the limit binds root too).
// Gives 0 when the write reported failure, 1 when it reported success.
int writeWithFileLimit(qint64 limitBytes, const std::function<bool()>& write)
{
    const pid_t pid = ::fork();
    if (pid < 0)
        return -1;
    if (pid == 0) {
        ::signal(SIGXFSZ, SIG_IGN);
        struct rlimit rl {};
        ::getrlimit(RLIMIT_FSIZE, &rl);
        rl.rlim_cur = rlim_t(limitBytes);
        if (::setrlimit(RLIMIT_FSIZE, &rl) != 0)
            ::_exit(3);
        ::_exit(write() ? 1 : 0);
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

enum class Strange { Directory, ParentIsFile, Fifo, DevZeroLink, Huge };

}  // namespace

Q_DECLARE_METATYPE(Strange)

// The settings file follows the classic profile-file rules, in Shift-JIS.
class SettingsFileTest : public QObject {
    Q_OBJECT

    QString path() const { return dir_.filePath(QStringLiteral("SNH347.snh")); }
    void writeRaw(const QByteArray& bytes)
    {
        QFile f(path());
        QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(bytes);
    }
    QByteArray readRaw() const
    {
        QFile f(path());
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

private slots:
    void init()
    {
        QVERIFY(dir_.isValid());
        QDir(dir_.path()).removeRecursively();
        QVERIFY(QDir().mkpath(dir_.path()));
    }

    void freshInstallationDefaults()
    {
        AppSettings s(path());
        QCOMPARE(s.readSlideSeconds(), 3);
        QCOMPARE(s.readBgm(6), 6);
        QCOMPARE(s.readBgm(0), 0);
        QCOMPARE(s.readClickSound(), 1);
        QCOMPARE(s.readThumbnailMode(), 0);
        for (int n = 0; n < 8; ++n)
            QCOMPARE(s.readHistory(n), QString());
        QVERIFY(!QFile::exists(path()));  // reading never creates the file
    }

    // The numeric keys are kept from the last read of the file, and any
    // change of the file is read again: an edit by hand (in place or as a
    // new file), the program's own writes, the file removed.
    void numbersFollowTheFile()
    {
        AppSettings s(path());
        QCOMPARE(s.readClickSound(), 1);
        writeRaw("[Sonoha347]\r\nKOUKAON_check=2\r\n");
        QCOMPARE(s.readClickSound(), 2);
        QVERIFY(s.writeClickSound(3));
        QVERIFY(s.writeThumbnailMode(1));
        QCOMPARE(s.readClickSound(), 3);
        QCOMPARE(s.readThumbnailMode(), 1);
        writeRaw("[Sonoha347]\r\nKOUKAON_check=0\r\n");
        QCOMPARE(s.readClickSound(), 0);
        QCOMPARE(s.readThumbnailMode(), 0);
        QVERIFY(AppSettings(path()).writeSlideSecondsText(QStringLiteral("7")));  // another writer
        QCOMPARE(s.readSlideSeconds(), 7);
        QVERIFY(QFile::remove(path()));
        QCOMPARE(s.readSlideSeconds(), 3);
        QCOMPARE(s.readClickSound(), 1);
    }

    // clang-format off
    void integerRead_data()
    {
        QTest::addColumn<QByteArray>("line");
        QTest::addColumn<int>("expected");
        QTest::newRow("plain") << QByteArray("KOUKAON_check=2") << 2;
        QTest::newRow("blanks around") << QByteArray("  KOUKAON_check =  3  ") << 3;
        QTest::newRow("leading digits only") << QByteArray("KOUKAON_check=12abc") << 12;
        QTest::newRow("no digit gives 0") << QByteArray("KOUKAON_check=abc") << 0;
        QTest::newRow("empty gives 0") << QByteArray("KOUKAON_check=") << 0;
        QTest::newRow("sign is not a digit") << QByteArray("KOUKAON_check=-1") << 0;
        QTest::newRow("key case ignored") << QByteArray("koukaon_CHECK=2") << 2;
        QTest::newRow("other section ignored") << QByteArray("[Other]\r\nKOUKAON_check=2") << 1;
    }
    // clang-format on
    void integerRead()
    {
        QFETCH(QByteArray, line);
        QFETCH(int, expected);
        writeRaw(line.startsWith('[') ? line + "\r\n" : "[Sonoha347]\r\n" + line + "\r\n");
        QCOMPARE(AppSettings(path()).readClickSound(), expected);
    }

    // A zero or out-of-range interval must never make a 0-second slide timer.
    // clang-format off
    void slideSecondsAreSane_data()
    {
        QTest::addColumn<QByteArray>("value");
        QTest::addColumn<int>("expected");
        QTest::newRow("1") << QByteArray("1") << 1;
        QTest::newRow("99") << QByteArray("99") << 99;
        QTest::newRow("0") << QByteArray("0") << 3;
        QTest::newRow("not a number") << QByteArray("abc") << 3;
        QTest::newRow("100") << QByteArray("100") << 3;
    }
    // clang-format on
    void slideSecondsAreSane()
    {
        QFETCH(QByteArray, value);
        QFETCH(int, expected);
        writeRaw("[Sonoha347]\r\nSLD_check=" + value + "\r\n");
        QCOMPARE(AppSettings(path()).readSlideSeconds(), expected);
    }

    // clang-format off
    void textRead_data()
    {
        QTest::addColumn<QString>("raw");
        QTest::addColumn<QString>("expected");
        QTest::newRow("blanks removed") << QStringLiteral("  ハコベ  ") << QStringLiteral("ハコベ");
        QTest::newRow("one pair of quotes") << QStringLiteral("\"ハコベ\"") << QStringLiteral("ハコベ");
        QTest::newRow("inner quotes stay") << QStringLiteral("\"\"ハコベ\"\"") << QStringLiteral("\"ハコベ\"");
        QTest::newRow("half-width katakana") << QStringLiteral("ﾊﾝｶｸ") << QStringLiteral("ﾊﾝｶｸ");
    }
    // clang-format on
    void textRead()
    {
        QFETCH(QString, raw);
        QFETCH(QString, expected);
        writeRaw("[Sonoha347]\r\nHisN0=" + SettingsFile::encode(raw) + "\r\n");
        QCOMPARE(AppSettings(path()).readHistory(0), expected);
        if (raw.startsWith(u'ﾊ'))
            QCOMPARE(SettingsFile::encode(raw).size(), 4);  // one byte per half-width character
    }

    // Values are read into a 1024-byte buffer: 1023 bytes, never half a character.
    // clang-format off
    void longValuesAreCut_data()
    {
        QTest::addColumn<QString>("value");
        QTest::addColumn<int>("bytes");
        QTest::newRow("ascii 2000") << QString(2000, u'a') << 1023;
        QTest::newRow("kana 600 (1200 bytes)") << QString(600, u'ア') << 1022;
        QTest::newRow("one byte then kana") << (QStringLiteral("a") + QString(600, u'ア')) << 1023;
        QTest::newRow("cut inside an escaped emoji") << (QString(1020, u'a') + QStringLiteral("🌼")) << 1020;
    }
    // clang-format on
    void longValuesAreCut()
    {
        QFETCH(QString, value);
        QFETCH(int, bytes);
        AppSettings s(path());
        s.writeHistory({value});
        const QString read = s.readHistory(0);
        QCOMPARE(SettingsFile::encode(read).size(), bytes);
        QVERIFY(value.startsWith(read));
    }

    void historyRoundTripInShiftJis()
    {
        const QStringList names = {"オオイヌノフグリ", "ﾊﾙｼﾞｵﾝ", "ヒメジョオン", "", "ツユクサ", "", "",
                                   "セイヨウタンポポ"};
        AppSettings(path()).writeHistory(names);
        const QByteArray raw = readRaw();
        QVERIFY(raw.startsWith("[Sonoha347]\r\n"));
        QVERIFY(raw.contains(SettingsFile::encode(QStringLiteral("HisN1=ﾊﾙｼﾞｵﾝ\r\n"))));
        QVERIFY(raw.contains("HisN3=\r\n"));
        QVERIFY(!raw.contains(QStringLiteral("オオイヌ").toUtf8()));  // Shift-JIS, not UTF-8
        AppSettings again(path());
        for (int n = 0; n < 8; ++n)
            QCOMPARE(again.readHistory(n), names[n]);
    }

    void writeKeepsEverythingElse()
    {
        const QByteArray before = "; kept comment\r\n[Other]\r\nKOUKAON_check=9\r\n\r\n[sonoha347]\r\n"
                                  "SLD_check=7\r\nKOUKAON_check=0\r\nUnknown=x\r\n\r\n[Tail]\r\nA=1\r\n";
        writeRaw(before);
        AppSettings s(path());
        s.writeClickSound(2);
        s.writeThumbnailMode(1);
        QCOMPARE(readRaw(), QByteArray("; kept comment\r\n[Other]\r\nKOUKAON_check=9\r\n\r\n[sonoha347]\r\n"
                                       "SLD_check=7\r\nKOUKAON_check=2\r\nUnknown=x\r\nSamuneilu_check=1\r\n\r\n"
                                       "[Tail]\r\nA=1\r\n"));
        QCOMPARE(s.readClickSound(), 2);
        QCOMPARE(s.readSlideSeconds(), 7);
    }

    // A write the system refuses leaves the file as it was. The refusals are
    // ones that bind root too, so the test runs everywhere, CI included.
    // clang-format off
    void writeFailureLeavesFileAlone_data()
    {
        QTest::addColumn<QString>("refusal");
        QTest::newRow("no room for a single byte") << "size limit";
        QTest::newRow("the folder is a file") << "parent is a file";
    }
    // clang-format on
    void writeFailureLeavesFileAlone()
    {
        QFETCH(QString, refusal);
        const QByteArray before = "[Sonoha347]\r\nKOUKAON_check=0\r\n";
        writeRaw(before);
        if (refusal == "size limit") {
            const int result = writeWithFileLimit(0, [this] { return AppSettings(path()).writeClickSound(3); });
            QCOMPARE(result, 0);  // told, not silently lost
            QCOMPARE(readRaw(), before);
        } else {
            // The settings path of an application folder that is a plain file.
            const QString beside = dir_.path() + QStringLiteral("/app");
            QFile plain(beside);
            QVERIFY(plain.open(QIODevice::WriteOnly));
            plain.write("not a folder");
            plain.close();
            QVERIFY(!AppSettings(beside + QStringLiteral("/SNH347.snh")).writeClickSound(3));
            QCOMPARE(readRaw(), before);
            QVERIFY(QFileInfo(beside).isFile());
        }
    }

    // A program killed at any moment of writing its settings leaves the old
    // file or the new one, byte for byte, never a cut or mixed one.
    void killedWriterLeavesOldOrNew()
    {
        QByteArray before = "; kept by hand\r\n[Sonoha347]\r\nKOUKAON_check=2\r\n";
        for (int n = 0; n < 8; ++n)
            before += "HisN" + QByteArray::number(n) + "=" + SettingsFile::encode(QStringLiteral("ハコベ")) + "\r\n";
        before += "\r\n[Other]\r\nA=1\r\n";
        QStringList names;
        for (int n = 0; n < 8; ++n)
            names << QStringLiteral("ホトケノザ%1").arg(n);
        writeRaw(before);
        QVERIFY(AppSettings(path()).writeHistory(names));
        const QByteArray after = readRaw();
        QVERIFY(after != before);

        QRandomGenerator random(347);  // the same moments at every run
        int kills = 0, oldSeen = 0, newSeen = 0;
        for (int round = 0; round < 300; ++round) {
            writeRaw(before);
            const pid_t pid = ::fork();
            QVERIFY(pid >= 0);
            if (pid == 0)
                ::_exit(AppSettings(path()).writeHistory(names) ? 0 : 1);
            ::usleep(useconds_t(random.bounded(1500)));
            kills += ::kill(pid, SIGKILL) == 0 ? 1 : 0;
            ::waitpid(pid, nullptr, 0);
            const QByteArray now = readRaw();
            QVERIFY2(now == before || now == after, qPrintable(QStringLiteral("round %1").arg(round)));
            (now == before ? oldSeen : newSeen) += 1;
        }
        qInfo("%d kills: %d times the old file, %d times the new one", kills, oldSeen, newSeen);
    }

    // A full disk must never replace the file with a short or empty one; the
    // eight history keys go in together, so a refusal half way keeps all eight.
    // clang-format off
    void failedWriteKeepsFileByteForByte_data()
    {
        QTest::addColumn<int>("slack");  // the size limit, relative to the original file
        QTest::addColumn<bool>("history");
        QTest::newRow("limit below the file, one key") << -40 << false;
        QTest::newRow("limit below the file, history") << -40 << true;
        QTest::newRow("history crosses the limit half way") << 120 << true;
    }
    // clang-format on
    void failedWriteKeepsFileByteForByte()
    {
        QFETCH(int, slack);
        QFETCH(bool, history);
        QByteArray before = "; written by hand\r\n[Sonoha347]\r\nKOUKAON_check=2\r\n";
        for (int n = 0; n < 8; ++n)
            before += "HisN" + QByteArray::number(n) + "=" + SettingsFile::encode(QStringLiteral("ハコベ")) + "\r\n";
        before += "\r\n[Other]\r\nA=1\r\n";
        writeRaw(before);
        QStringList names;
        for (int n = 0; n < 8; ++n)
            names << QString(50, QChar(u'a' + n));
        const int result = writeWithFileLimit(before.size() + slack, [&] {
            AppSettings s(path());
            return history ? s.writeHistory(names) : s.writeClickSound(3);
        });
        QCOMPARE(readRaw(), before);
        QCOMPARE(result, 0);
        QCOMPARE(QDir(dir_.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries),
                 QStringList{QStringLiteral("SNH347.snh")});  // no temporary file left over
    }

    // Something other than a small regular file reads as a missing file, at
    // once, and is never replaced.
    // clang-format off
    void strangeFileReadsAsMissingAndIsKept_data()
    {
        QTest::addColumn<Strange>("kind");
        QTest::newRow("directory") << Strange::Directory;
        QTest::newRow("parent is a regular file") << Strange::ParentIsFile;
        QTest::newRow("FIFO without a writer") << Strange::Fifo;
        QTest::newRow("link to /dev/zero") << Strange::DevZeroLink;
        QTest::newRow("huge file") << Strange::Huge;
    }
    // clang-format on
    void strangeFileReadsAsMissingAndIsKept()
    {
        QFETCH(Strange, kind);
        const QByteArray valid = "[Sonoha347]\r\nKOUKAON_check=2\r\nHisN0=a\r\n";
        QString file = path();
        QByteArray bytes;
        switch (kind) {
        case Strange::Directory: QVERIFY(QDir().mkdir(file)); break;
        case Strange::ParentIsFile:
            writeRaw(valid);
            bytes = valid;
            file = path() + QStringLiteral("/SNH347.snh");
            break;
        case Strange::Fifo: QCOMPARE(::mkfifo(QFile::encodeName(file).constData(), 0600), 0); break;
        case Strange::DevZeroLink: QVERIFY(QFile::link(QStringLiteral("/dev/zero"), file)); break;
        case Strange::Huge:
            bytes = valid + "; " + QByteArray(qsizetype(2) * 1024 * 1024, 'x') + "\r\n";  // far above any real file
            writeRaw(bytes);
            break;
        }
        AppSettings s(file);
        QCOMPARE(s.readClickSound(), 1);
        QCOMPARE(s.readHistory(0), QString());
        QVERIFY(!s.writeClickSound(3));
        QVERIFY(!s.writeHistory({QStringLiteral("ツユクサ")}));

        struct stat st {};
        QCOMPARE(::lstat(QFile::encodeName(path()).constData(), &st), 0);
        switch (kind) {
        case Strange::Directory:
            QVERIFY(S_ISDIR(st.st_mode));
            QVERIFY(QDir(path()).isEmpty());
            break;
        case Strange::Fifo: QVERIFY(S_ISFIFO(st.st_mode)); break;
        case Strange::DevZeroLink: QCOMPARE(QFile::symLinkTarget(path()), QStringLiteral("/dev/zero")); break;
        case Strange::ParentIsFile:
        case Strange::Huge: QCOMPARE(readRaw(), bytes); break;
        }
    }

    // The program never writes a file that its next read would refuse.
    void writeBeyondTheSizeCapIsRefused()
    {
        writeRaw("[Sonoha347]\r\nHisN0=a\r\n");
        AppSettings s(path());
        QVERIFY(!s.writeHistory({QString(int(SettingsFile::kMaxFileBytes), u'a')}));
        QCOMPARE(readRaw(), QByteArray("[Sonoha347]\r\nHisN0=a\r\n"));
        QCOMPARE(s.readHistory(0), QStringLiteral("a"));
    }

    // All eight history keys in one replace keep the byte rules of single writes.
    void severalKeysInOneWrite()
    {
        writeRaw("; c\r\n[Sonoha347]\r\nHisN2=old2\r\nKOUKAON_check=2\r\nhisn0 = old0\r\n\r\n[Other]\r\nHisN1=x\r\n");
        SettingsFile f(path());
        QVERIFY(f.writeTexts(QStringLiteral("sonoha347"), {{QStringLiteral("HisN0"), QStringLiteral("a")},
                                                           {QStringLiteral("HisN1"), QStringLiteral("b")},
                                                           {QStringLiteral("HisN2"), QStringLiteral("c")}}));
        QCOMPARE(readRaw(), QByteArray("; c\r\n[Sonoha347]\r\nHisN2=c\r\nKOUKAON_check=2\r\nHisN0=a\r\nHisN1=b\r\n"
                                       "\r\n[Other]\r\nHisN1=x\r\n"));
        QFile::remove(path());
        QVERIFY(f.writeTexts(QStringLiteral("Sonoha347"),
                             {{QStringLiteral("HisN0"), QStringLiteral("a")}, {QStringLiteral("HisN1"), QString()}}));
        QCOMPARE(readRaw(), QByteArray("[Sonoha347]\r\nHisN0=a\r\nHisN1=\r\n"));
    }

    // Every name reads back as itself; names Shift-JIS holds without trouble
    // keep the bytes earlier installations wrote.
    // clang-format off
    void historyNamesReadBackAsThemselves_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("stored");
        const auto sjis = [](const char16_t* s) { return SettingsFile::encode(QString::fromUtf16(s)); };
        QTest::newRow("kanji and kana") << QStringLiteral("オオイヌノフグリ") << sjis(u"オオイヌノフグリ");
        QTest::newRow("half-width katakana") << QStringLiteral("ﾊﾙｼﾞｵﾝ") << sjis(u"ﾊﾙｼﾞｵﾝ");
        QTest::newRow("inner blank") << QStringLiteral("ヒメ ジョオン") << sjis(u"ヒメ ジョオン");
        QTest::newRow("ampersand") << QStringLiteral("A&B #x") << QByteArray("A&B #x");
        QTest::newRow("one quote only") << QStringLiteral("\"ハコベ") << sjis(u"\"ハコベ");
        QTest::newRow("emoji") << QStringLiteral("🌼デイジー") << ("&#x1F33C;" + sjis(u"デイジー"));
        QTest::newRow("euro") << QStringLiteral("€草") << ("&#x20AC;" + sjis(u"草"));
        QTest::newRow("n tilde") << QStringLiteral("Piñon") << QByteArray("Pi&#xF1;on");
        QTest::newRow("CR LF inside") << QStringLiteral("ア\r\nイ") << (sjis(u"ア") + "&#xD;&#xA;" + sjis(u"イ"));
        QTest::newRow("LF inside") << QStringLiteral("ア\nイ") << (sjis(u"ア") + "&#xA;" + sjis(u"イ"));
        QTest::newRow("blanks at the ends") << QStringLiteral("  ハコベ ") << ("\"" + sjis(u"  ハコベ ") + "\"");
        QTest::newRow("tab at the end") << QStringLiteral("ハコベ\t") << ("\"" + sjis(u"ハコベ\t") + "\"");
        QTest::newRow("enclosing quotes") << QStringLiteral("\"ハコベ\"") << ("\"" + sjis(u"\"ハコベ\"") + "\"");
        QTest::newRow("enclosing single quotes") << QStringLiteral("'ハコベ'") << ("\"" + sjis(u"'ハコベ'") + "\"");
        QTest::newRow("escape introducer") << QStringLiteral("a&#x41;b") << QByteArray("a&#x26;#x41;b");
        QTest::newRow("introducer at the end") << QStringLiteral("ハコベ&#x") << (sjis(u"ハコベ") + "&#x26;#x");
        QTest::newRow("escaped emoji as text") << QStringLiteral("&#x1F33C;") << QByteArray("&#x26;#x1F33C;");
    }
    // clang-format on
    void historyNamesReadBackAsThemselves()
    {
        QFETCH(QString, name);
        QFETCH(QByteArray, stored);
        AppSettings s(path());
        QVERIFY(s.writeHistory({name, QStringLiteral("ハコベ")}));
        QVERIFY2(readRaw().contains("\r\nHisN0=" + stored + "\r\nHisN1="), readRaw().constData());
        QCOMPARE(s.readHistory(0), name);
        QCOMPARE(s.readHistory(1), QStringLiteral("ハコベ"));
    }

    // Bytes that are no Shift-JIS text read as other characters; an entry
    // written back unchanged, where it was or moved down by a view, keeps
    // its bytes as they were.
    // clang-format off
    void undecodableHistoryBytesAreKept_data()
    {
        QTest::addColumn<QByteArray>("stored");
        QTest::newRow("lead bytes without trail") << QByteArray("\x81\x20\x82\xff");
        QTest::newRow("byte no character starts") << QByteArray("\xa0\xfd");
        QTest::newRow("in quotes") << QByteArray("\"\x81\x20\"");
    }
    // clang-format on
    void undecodableHistoryBytesAreKept()
    {
        QFETCH(QByteArray, stored);
        const QByteArray before =
            "[Sonoha347]\r\nHisN0=" + stored + "\r\nHisN1=" + SettingsFile::encode(QStringLiteral("スミレ")) + "\r\n";
        writeRaw(before);
        AppSettings s(path());
        QVERIFY(!s.readHistoryBytes(0).isEmpty());
        QVERIFY(s.readHistoryBytes(1).isEmpty());
        History h;
        h.load(s);
        h.save(s);
        QVERIFY2(readRaw().startsWith(before), readRaw().toPercentEncoding().constData());

        h.push(QStringLiteral("アカネ"));
        h.save(s);
        const QByteArray after = readRaw();
        QVERIFY2(after.contains("\r\nHisN1=" + stored + "\r\n"), after.toPercentEncoding().constData());
        QVERIFY(after.contains("\r\nHisN2=" + SettingsFile::encode(QStringLiteral("スミレ")) + "\r\n"));
        QCOMPARE(s.readHistory(0), QStringLiteral("アカネ"));
        QCOMPARE(s.readHistory(1), h.entry(1));
    }

    // Files saved by other editors: a UTF-8 byte-order mark, CR-only or LF
    // line ends. Keys are found, replaced in place, and every other byte stays.
    // clang-format off
    void otherEditorsFiles_data()
    {
        QTest::addColumn<QByteArray>("before");
        QTest::addColumn<int>("sound");  // what the click-sound key reads as
        QTest::addColumn<QByteArray>("after");
        const QByteArray bom = "\xEF\xBB\xBF";
        QTest::newRow("BOM, CR LF") << bom + "[Sonoha347]\r\nKOUKAON_check=2\r\n" << 2
                                    << bom + "[Sonoha347]\r\nKOUKAON_check=3\r\nSamuneilu_check=1\r\n";
        QTest::newRow("CR only") << QByteArray("; note\r[Sonoha347]\rKOUKAON_check=2\r\r[Other]\rA=1\r") << 2
                                 << QByteArray("; note\r[Sonoha347]\rKOUKAON_check=3\rSamuneilu_check=1\r\r[Other]\rA=1\r");
        QTest::newRow("BOM, CR only") << bom + "[Sonoha347]\rKOUKAON_check=2\r" << 2
                                      << bom + "[Sonoha347]\rKOUKAON_check=3\rSamuneilu_check=1\r";
        QTest::newRow("CR only, no final line end") << QByteArray("[Sonoha347]\rKOUKAON_check=2") << 2
                                                    << QByteArray("[Sonoha347]\rKOUKAON_check=3\rSamuneilu_check=1");
        QTest::newRow("LF only") << QByteArray("[Sonoha347]\nKOUKAON_check=2\n") << 2
                                 << QByteArray("[Sonoha347]\nKOUKAON_check=3\nSamuneilu_check=1\n");
        QTest::newRow("section twice, as a BOM once made it")
            << bom + "[Sonoha347]\r\nSLD_check=5\r\n[Sonoha347]\r\nKOUKAON_check=2\r\n" << 2
            << bom + "[Sonoha347]\r\nSLD_check=5\r\nSamuneilu_check=1\r\n[Sonoha347]\r\nKOUKAON_check=3\r\n";
        QTest::newRow("BOM, no section") << bom + "; only a note\r\n" << 1
                                         << bom + "; only a note\r\n[Sonoha347]\r\nKOUKAON_check=3\r\nSamuneilu_check=1\r\n";
    }
    // clang-format on
    void otherEditorsFiles()
    {
        QFETCH(QByteArray, before);
        QFETCH(int, sound);
        QFETCH(QByteArray, after);
        writeRaw(before);
        AppSettings s(path());
        QCOMPARE(s.readClickSound(), sound);
        QVERIFY(s.writeClickSound(3));
        QVERIFY(s.writeThumbnailMode(1));
        QCOMPARE(readRaw(), after);
        QCOMPARE(s.readClickSound(), 3);
    }

    // A byte-order mark says the editor saved the file as UTF-8: its names
    // are read, and written back, in UTF-8.
    void byteOrderMarkMeansUtf8Names()
    {
        writeRaw("\xEF\xBB\xBF[Sonoha347]\r\nHisN0=" + QStringLiteral("ハコベ").toUtf8() + "\r\n");
        AppSettings s(path());
        QCOMPARE(s.readHistory(0), QStringLiteral("ハコベ"));
        QVERIFY(s.writeHistory({QStringLiteral("ツユクサ"), QStringLiteral("€")}));
        const QByteArray raw = readRaw();
        QVERIFY(raw.startsWith("\xEF\xBB\xBF[Sonoha347]\r\n"));
        QVERIFY(raw.contains(QStringLiteral("HisN0=ツユクサ\r\n").toUtf8()));
        QCOMPARE(s.readHistory(0), QStringLiteral("ツユクサ"));
        QCOMPARE(s.readHistory(1), QStringLiteral("€"));
    }

private:
    QTemporaryDir dir_;
};

QTEST_GUILESS_MAIN(SettingsFileTest)
#include "SettingsFileTest.moc"
