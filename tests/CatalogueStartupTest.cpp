#include "catalogue/FlowerCatalogue.h"
#include "mainwindow/Startup.h"
#include "platform/fake/FakePlatform.h"
#include "session/AppContext.h"
#include "tests/support/HostileCatalogues.h"

#include <QDir>
#include <QSignalSpy>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>

// What the user is told at start-up about a catalogue that cannot be used,
// is damaged or never ends, and whether the program then runs.
class CatalogueStartupTest : public QObject {
    Q_OBJECT

private slots:
    // clang-format off
    void messages_data()
    {
        QTest::addColumn<QString>("fixture");
        QTest::addColumn<bool>("runs");
        QTest::addColumn<QStringList>("words");  // each in the one box shown
        QTest::newRow("missing") << "missing" << false
                                 << QStringList{"図鑑のデータベースを開けません。", "ファイル「SNH347.mdb」がありません。",
                                                "ソノハを終了します。"};
        QTest::newRow("a folder") << "folder" << false
                                  << QStringList{"「SNH347.mdb」は読み取りのできるファイルではありません。"};
        QTest::newRow("no KUSABANA") << "no table" << false
                                     << QStringList{"「SNH347.mdb」に表KUSABANAがありません。"};
        QTest::newRow("missing columns") << "two columns" << false
                                         << QStringList{"「SNH347.mdb」の表KUSABANAに列SYASIN、NOTEがありません。"};
        QTest::newRow("random bytes") << "random bytes" << false
                                      << QStringList{"図鑑のデータベースを開けません。",
                                                     "SQLiteのエラー：file is not a database"};
        QTest::newRow("locked") << "locked" << false
                                << QStringList{"図鑑のデータベースを開けません。", "ほかのプログラムが使用中です。",
                                               "SQLiteのエラー：database is locked"};
        QTest::newRow("damaged page") << "damaged page" << true
                                      << QStringList{"図鑑のデータベースが壊れています。",
                                                     "SQLiteのエラー：database disk image is malformed",
                                                     "件のデータで続けます。"};
        QTest::newRow("recursive view") << "recursive view" << true
                                        << QStringList{"途中で読み込みをやめました。", "読み込めた500件のデータで続けます。"};
        QTest::newRow("texts too long") << "huge texts" << true
                                        << QStringList{"扱える長さを超える文字列が27か所ありました。",
                                                       "それぞれ扱える長さまでを読み込みました。"};
    }
    // clang-format on
    void messages()
    {
        QFETCH(QString, fixture);
        QFETCH(bool, runs);
        QFETCH(QStringList, words);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("SNH347.mdb"));
        std::unique_ptr<HostileCatalogues::ExclusiveLock> lock;
        if (fixture == "random bytes") {
            QVERIFY(HostileCatalogues::randomBytes(path));
        } else if (fixture == "locked") {
            QVERIFY(TestCatalogues::write(path, {TestCatalogues::record("スミレ")}));
            lock = std::make_unique<HostileCatalogues::ExclusiveLock>(path);
            QVERIFY(lock->held());
        } else if (fixture == "damaged page") {
            QVERIFY(HostileCatalogues::damagedTablePage(path, 339));
        } else if (fixture == "folder") {
            QVERIFY(QDir().mkpath(path));
        } else if (fixture == "no table" || fixture == "two columns") {
            QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("made"));
            db.setDatabaseName(path);
            QVERIFY(db.open());
            QVERIFY(QSqlQuery(db).exec(fixture == "no table" ? QStringLiteral("CREATE TABLE OTHER (A TEXT)")
                                                             : QStringLiteral("CREATE TABLE KUSABANA (NAMAE TEXT, "
                                                                              "KISETU TEXT, IRO TEXT, KABEN TEXT, "
                                                                              "HA TEXT, KA TEXT, KA2 TEXT)")));
            db.close();
            db = QSqlDatabase();
            QSqlDatabase::removeDatabase(QStringLiteral("made"));
        } else if (fixture == "recursive view") {
            QVERIFY(HostileCatalogues::endlessView(path, false));
        } else if (fixture == "huge texts") {
            QVERIFY(HostileCatalogues::hugeTexts(path, 100000, true));
        }

        FakePlatform fake;
        AppContext ctx(dir.path() + u'/', fake.platform);
        Startup startup(ctx);
        QSignalSpy finished(&startup, &Startup::finished);
        startup.start();
        QVERIFY(finished.wait(20000));
        QCOMPARE(finished.first().first().toBool(), runs);
        QCOMPARE(fake.messages.shown.size(), 1);
        const QString text = fake.messages.texts().first();
        QVERIFY2(text.contains(QDir::toNativeSeparators(path)), qPrintable(text));  // names the file
        for (const QString& w : words)
            QVERIFY2(text.contains(w), qPrintable(text));
        // The store's own English words stay out of what the user reads.
        for (const char* english : {"not found", "missing columns", "cannot be read"})
            QVERIFY2(!text.contains(QLatin1String(english)), qPrintable(text));
        if (runs) {
            QVERIFY(ctx.catalogue().count() > 0);  // runs with what could be read
            QVERIFY(startup.mainWindow());
        } else {
            QCOMPARE(ctx.catalogue().count(), 0);
        }
    }
};

QTEST_MAIN(CatalogueStartupTest)
#include "CatalogueStartupTest.moc"
