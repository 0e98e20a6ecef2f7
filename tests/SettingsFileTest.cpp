#include "settings/AppSettings.h"
#include "settings/SettingsFile.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

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
        QFile::remove(path());
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
    void integerRead()
    {
        QFETCH(QByteArray, line);
        QFETCH(int, expected);
        writeRaw(line.startsWith('[') ? line + "\r\n" : "[Sonoha347]\r\n" + line + "\r\n");
        QCOMPARE(AppSettings(path()).readClickSound(), expected);
    }

    // A zero or out-of-range interval must never make a 0-second slide timer.
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
    void slideSecondsAreSane()
    {
        QFETCH(QByteArray, value);
        QFETCH(int, expected);
        writeRaw("[Sonoha347]\r\nSLD_check=" + value + "\r\n");
        QCOMPARE(AppSettings(path()).readSlideSeconds(), expected);
    }

    void textRead_data()
    {
        QTest::addColumn<QString>("raw");
        QTest::addColumn<QString>("expected");
        QTest::newRow("blanks removed") << QStringLiteral("  ハコベ  ") << QStringLiteral("ハコベ");
        QTest::newRow("one pair of quotes") << QStringLiteral("\"ハコベ\"") << QStringLiteral("ハコベ");
        QTest::newRow("inner quotes stay") << QStringLiteral("\"\"ハコベ\"\"") << QStringLiteral("\"ハコベ\"");
        QTest::newRow("half-width katakana") << QStringLiteral("ﾊﾝｶｸ") << QStringLiteral("ﾊﾝｶｸ");
    }
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
    void longValuesAreCut_data()
    {
        QTest::addColumn<QString>("value");
        QTest::addColumn<int>("bytes");
        QTest::newRow("ascii 2000") << QString(2000, u'a') << 1023;
        QTest::newRow("kana 600 (1200 bytes)") << QString(600, u'ア') << 1022;
        QTest::newRow("one byte then kana") << (QStringLiteral("a") + QString(600, u'ア')) << 1023;
    }
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
        const QStringList names = {"オオイヌノフグリ", "ﾊﾙｼﾞｵﾝ", "ヒメジョオン", "", "ツユクサ", "", "", "セイヨウタンポポ"};
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

    void writeFailureLeavesFileAlone()
    {
        writeRaw("[Sonoha347]\r\nKOUKAON_check=0\r\n");
        QFile::setPermissions(dir_.path(), QFile::ReadOwner | QFile::ExeOwner);
        AppSettings s(path());
        s.writeClickSound(3);
        QFile::setPermissions(dir_.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        if (QFileInfo(dir_.path()).isWritable() && readRaw().contains("=3"))
            QSKIP("running as a user that ignores folder permissions");
        QCOMPARE(readRaw(), QByteArray("[Sonoha347]\r\nKOUKAON_check=0\r\n"));
    }

private:
    QTemporaryDir dir_;
};

QTEST_GUILESS_MAIN(SettingsFileTest)
#include "SettingsFileTest.moc"
