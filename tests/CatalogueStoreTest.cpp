#include "catalogue/CatalogueStore.h"
#include "catalogue/CategoryTables.h"
#include "catalogue/FlowerCatalogue.h"
#include "catalogue/NameOrder.h"
#include "catalogue/SqliteWorkLimit.h"
#include "search/SearchEngine.h"
#include "tests/support/ChildProcess.h"
#include "tests/support/HostileCatalogues.h"
#include "tests/support/TestCatalogues.h"

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QtTest>
#include <algorithm>
#include <memory>
#include <random>
#include <unistd.h>

using TestCatalogues::record;
using Failure = CatalogueStore::Failure;
using ReadEnd = CatalogueStore::ReadEnd;

class CatalogueStoreTest : public QObject {
    Q_OBJECT

private slots:
    void init() { QVERIFY(dir_.isValid()); }

    void loadsRowsInNameOrder()
    {
        const QString path = dir_.filePath(QStringLiteral("three.mdb"));
        QVERIFY(TestCatalogues::write(path, {record("ハコベ"), record("アカネ"), record("タンポポ")}));
        FlowerCatalogue cat;
        QStringList shown;
        const auto r = CatalogueStore::load(path, cat, [&](const QString& n) { shown << n; });
        QVERIFY(r.ok);
        QCOMPARE(cat.count(), 3);
        QCOMPARE(cat.slot(1).NAMAE, QStringLiteral("アカネ"));
        QCOMPARE(cat.slot(2).NAMAE, QStringLiteral("タンポポ"));
        QCOMPARE(cat.slot(3).NAMAE, QStringLiteral("ハコベ"));
        QVERIFY(cat.slot(4).NAMAE.isEmpty());
        QVERIFY(cat.slot(0).NAMAE.isEmpty());
        QCOMPARE(shown.last(), QStringLiteral("ハコベ"));  // the loading screen's last name
    }

    // clang-format off
    void capacity_data()
    {
        QTest::addColumn<int>("rows");
        QTest::addColumn<int>("loaded");
        QTest::newRow("empty table") << 0 << 0;
        QTest::newRow("500 rows") << 500 << 500;
        QTest::newRow("501 rows") << 501 << 500;
    }
    // clang-format on
    void capacity()
    {
        QFETCH(int, rows);
        QFETCH(int, loaded);
        QVector<FlowerRecord> recs;
        for (int i = 0; i < rows; ++i)
            recs << record(QStringLiteral("ハナ%1").arg(i, 4, 10, QLatin1Char('0')));
        std::shuffle(recs.begin(), recs.end(), std::mt19937(7));
        const QString path = dir_.filePath(QStringLiteral("cap%1.mdb").arg(rows));
        QVERIFY(TestCatalogues::write(path, recs));
        FlowerCatalogue cat;
        const auto r = CatalogueStore::load(path, cat);
        QVERIFY(r.ok);
        QCOMPARE(r.totalRows, rows);
        QCOMPARE(cat.count(), loaded);
        QCOMPARE(r.truncated(), rows > 500);
        if (loaded) {
            QCOMPARE(cat.slot(1).NAMAE, QStringLiteral("ハナ0000"));
            QCOMPARE(cat.slot(loaded).NAMAE, QStringLiteral("ハナ%1").arg(loaded - 1, 4, 10, QLatin1Char('0')));
        }
        QVERIFY(cat.slot(500).NAMAE.isEmpty() == (loaded < 500));
    }

    // Files made by other tools: NULL fields, other column types and extra
    // columns must load; a file without the table must not.
    void foreignFiles()
    {
        const QString path = dir_.filePath(QStringLiteral("foreign.mdb"));
        {
            QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("foreign"));
            db.setDatabaseName(path);
            QVERIFY(db.open());
            QSqlQuery q(db);
            QVERIFY(q.exec("CREATE TABLE kusabana (ID INTEGER PRIMARY KEY, NAMAE VARCHAR(30), KISETU, IRO, KABEN, "
                           "HA, KA, KA2, SYASIN, NOTE, EXTRA BLOB)"));
            QVERIFY(q.exec("INSERT INTO kusabana (NAMAE, KISETU, IRO, KABEN, HA, KA, KA2, SYASIN, NOTE) VALUES "
                           "('ツユクサ', '夏', '青紫系', 'その他', '互生', 'その他', NULL, 'tuyukusa.jpg', NULL)"));
            QVERIFY(q.exec("INSERT INTO kusabana (NAMAE, KISETU) VALUES (NULL, 12)"));
            db.close();
        }
        QSqlDatabase::removeDatabase(QStringLiteral("foreign"));
        FlowerCatalogue cat;
        const auto r = CatalogueStore::load(path, cat);
        QVERIFY2(r.ok, qPrintable(r.error));
        QCOMPARE(cat.count(), 2);
        const FlowerRecord& t = cat.slot(cat.slotOfName(QStringLiteral("ツユクサ")));
        QCOMPARE(t.KA2, QString());
        QCOMPARE(t.NOTE, QString());
        QCOMPARE(t.SYASIN, QStringLiteral("tuyukusa.jpg"));
        QVERIFY(cat.slotOfName(QString()) > 0);
    }

    // clang-format off
    void unreadableFiles_data()
    {
        QTest::addColumn<QByteArray>("content");  // empty: no file at all
        QTest::newRow("missing") << QByteArray();
        QTest::newRow("not a database") << QByteArray("this is not sqlite at all, just text\n");
        QTest::newRow("no KUSABANA table") << QByteArray("table:OTHER");
    }
    // clang-format on
    void unreadableFiles()
    {
        QFETCH(QByteArray, content);
        const QString path = dir_.filePath(QStringLiteral("bad-%1.mdb").arg(QTest::currentDataTag()));
        if (content == "table:OTHER") {
            QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("other"));
            db.setDatabaseName(path);
            QVERIFY(db.open());
            QSqlQuery(db).exec("CREATE TABLE OTHER (A TEXT)");
            db.close();
            db = QSqlDatabase();
            QSqlDatabase::removeDatabase(QStringLiteral("other"));
        } else if (!content.isEmpty()) {
            QFile f(path);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(content);
        }
        FlowerCatalogue cat;
        cat.append(record("ノコリ"));
        const auto r = CatalogueStore::load(path, cat);
        QVERIFY(!r.ok);
        QVERIFY(!r.error.isEmpty());
        QCOMPARE(cat.count(), 0);
        // A missing file is reported, never created.
        QCOMPARE(QFileInfo::exists(path), !content.isEmpty());
    }

    // Files a user can meet: SQLite's own reason when the file cannot be
    // used, a bounded read of what never ends, and the rows before a damaged
    // page kept with the damage reported. Reading never creates a file.
    // clang-format off
    void hostileFiles_data()
    {
        QTest::addColumn<QString>("fixture");
        QTest::addColumn<bool>("usable");
        QTest::addColumn<Failure>("failure");
        QTest::addColumn<ReadEnd>("end");
        QTest::addColumn<QString>("sqliteText");  // in the error or the end's error
        QTest::addColumn<int>("minRows");         // rows read
        QTest::addColumn<int>("maxRows");
        const int limit = CatalogueStore::kMaxDerivedRows;
        QTest::newRow("missing") << "missing" << false << Failure::Missing << ReadEnd::Complete << "" << 0 << 0;
        QTest::newRow("random bytes") << "random bytes" << false << Failure::Sqlite << ReadEnd::Complete
                                      << "file is not a database" << 0 << 0;
        QTest::newRow("locked") << "locked" << false << Failure::Locked << ReadEnd::Complete << "database is locked"
                                << 0 << 0;
        // The row cap ends it; on a machine slowed enough (sanitizers, a
        // busy CI) the time limit may end it a few rows earlier.
        QTest::newRow("recursive view") << "recursive view" << true << Failure::None << ReadEnd::LimitReached << ""
                                        << limit / 2 << limit;
        QTest::newRow("view that never yields a row") << "view without rows" << true << Failure::None
                                                      << ReadEnd::LimitReached << "" << 0 << 0;
        QTest::newRow("damaged page") << "damaged page" << true << Failure::None << ReadEnd::Damaged << "malformed"
                                      << 1 << 338;
        QTest::newRow("WAL catalogue") << "wal" << true << Failure::None << ReadEnd::Complete << "" << 3 << 3;
        QTest::newRow("WAL, shared memory cannot be made")
            << "wal shm blocked" << true << Failure::None << ReadEnd::Complete << "" << 3 << 3;
        QTest::newRow("WAL, log cannot be opened")
            << "wal log blocked" << true << Failure::None << ReadEnd::Complete << "" << 3 << 3;
    }
    // clang-format on
    void hostileFiles()
    {
        QFETCH(QString, fixture);
        QFETCH(bool, usable);
        QFETCH(Failure, failure);
        QFETCH(ReadEnd, end);
        QFETCH(QString, sqliteText);
        QFETCH(int, minRows);
        QFETCH(int, maxRows);
        const QString folder = dir_.filePath(fixture);
        QVERIFY(QDir().mkpath(folder));
        const QString path = folder + QStringLiteral("/SNH347.mdb");
        std::unique_ptr<HostileCatalogues::ExclusiveLock> lock;
        const QVector<FlowerRecord> three = {record("アカネ"), record("スミレ"), record("ハコベ")};
        if (fixture == "random bytes") {
            QVERIFY(HostileCatalogues::randomBytes(path));
        } else if (fixture == "locked") {
            QVERIFY(TestCatalogues::write(path, three));
            lock = std::make_unique<HostileCatalogues::ExclusiveLock>(path);
            QVERIFY(lock->held());
        } else if (fixture == "recursive view" || fixture == "view without rows") {
            QVERIFY(HostileCatalogues::endlessView(path, fixture == "view without rows"));
            if (fixture == "view without rows" && !workLimitAvailable(path))
                QSKIP("the SQL driver's SQLite library offers no progress handler here");
        } else if (fixture == "damaged page") {
            QVERIFY(HostileCatalogues::damagedTablePage(path, 339));
        } else if (fixture.startsWith("wal")) {
            QVERIFY(HostileCatalogues::walCatalogue(path, three));
            // A folder in the way stands for a side file that cannot be
            // created, as in a read-only folder, even when running as root.
            if (fixture == "wal shm blocked")
                QVERIFY(QDir().mkdir(path + QStringLiteral("-shm")));
            if (fixture == "wal log blocked")
                QVERIFY(QDir().mkdir(path + QStringLiteral("-wal")));
        }
        const QStringList before = HostileCatalogues::listing(folder);

        FlowerCatalogue cat;
        cat.append(record("ノコリ"));
        const auto r = CatalogueStore::load(path, cat);
        QCOMPARE(r.ok, usable);
        QCOMPARE(r.failure, failure);
        QCOMPARE(r.end, end);
        QVERIFY2((r.error + r.endError).contains(sqliteText), qPrintable(r.error + r.endError));
        QVERIFY2(r.totalRows >= minRows && r.totalRows <= maxRows, qPrintable(QString::number(r.totalRows)));
        QCOMPARE(cat.count(), std::min(r.totalRows, FlowerCatalogue::kCapacity));
        if (end == ReadEnd::Damaged)  // what was read before the damage is there, in name order
            QCOMPARE(cat.slot(1).NAMAE, QStringLiteral("ハナ0000"));
        QCOMPARE(HostileCatalogues::listing(folder), before);
    }

    // Texts longer than a record can hold are read only so far, so that they
    // cannot fill the memory, and the read says how many were cut.
    // clang-format off
    void overlongTextsAreCut_data()
    {
        QTest::addColumn<bool>("view");
        QTest::newRow("table") << false;
        QTest::newRow("view") << true;
    }
    // clang-format on
    void overlongTextsAreCut()
    {
        QFETCH(bool, view);
        const QString path = dir_.filePath(view ? QStringLiteral("huge-view.mdb") : QStringLiteral("huge.mdb"));
        QVERIFY(HostileCatalogues::hugeTexts(path, 70000, view));
        const CatalogueStore::ReadResult r = CatalogueStore::read(path);
        QVERIFY2(r.ok(), qPrintable(r.error));
        QCOMPARE(r.end, ReadEnd::Complete);
        QCOMPARE(r.rows.size(), 3);
        QCOMPARE(r.cutTexts, 27);
        const QStringList& columns = CatalogueStore::columns();
        for (const FlowerRecord& row : r.rows) {
            const QString fields[] = {row.NAMAE, row.KISETU, row.IRO,    row.KABEN, row.HA,
                                      row.KA,    row.KA2,    row.SYASIN, row.NOTE};
            for (int i = 0; i < columns.size(); ++i)
                QCOMPARE(fields[i].size(), CatalogueStore::readChars(columns[i]));
        }
        QCOMPARE(r.rows[0].NAMAE.left(2), QStringLiteral("1あ"));
        QCOMPARE(CatalogueStore::readChars(QStringLiteral("NAMAE")), 60);
        QCOMPARE(CatalogueStore::readChars(QStringLiteral("NOTE")), 65535);

        FlowerCatalogue cat;
        QCOMPARE(CatalogueStore::load(path, cat).cutTexts, 27);
        // Texts within the limits are read whole and nothing is said.
        const QString fine = dir_.filePath(view ? QStringLiteral("fine-view.mdb") : QStringLiteral("fine.mdb"));
        FlowerRecord longest = record(QString(30, QChar(u'ｱ')));
        longest.NOTE = QString(65535, QChar(u'あ'));
        longest.KA2 = QStringLiteral("🌼").repeated(255);  // SQLite counts a pair of surrogates as one
        QVERIFY(TestCatalogues::write(fine, {longest}));
        const CatalogueStore::ReadResult whole = CatalogueStore::read(fine);
        QCOMPARE(whole.cutTexts, 0);
        QCOMPARE(whole.rows.value(0), longest);
    }

    // The immutable form of a path names that file and no other, whatever
    // characters SQLite's URI syntax would read otherwise.
    // clang-format off
    void immutablePaths_data()
    {
        QTest::addColumn<QString>("folder");
        QTest::newRow("percent escape") << QStringLiteral("x%41");  // not folder "xA"
        QTest::newRow("query in the name") << QStringLiteral("a?mode=rwc");
        QTest::newRow("blanks, Japanese and a hash") << QStringLiteral("草 花#図鑑");
    }
    // clang-format on
    void immutablePaths()
    {
        QFETCH(QString, folder);
        const QString real = dir_.filePath(folder);
        const QString decoy = dir_.filePath(QUrl::fromPercentEncoding(folder.toUtf8()));
        QVERIFY(QDir().mkpath(real));
        if (decoy != real) {
            QVERIFY(QDir().mkpath(decoy));
            QVERIFY(TestCatalogues::write(decoy + QStringLiteral("/SNH347.mdb"), {record("オトリ")}));
        }
        const QString path = real + QStringLiteral("/SNH347.mdb");
        QVERIFY(HostileCatalogues::walCatalogue(path, {record("アカネ"), record("スミレ")}));
        QVERIFY(CatalogueStore::immutableUri(path).endsWith(QLatin1String("?immutable=1")));

        const CatalogueStore::ReadResult r = CatalogueStore::read(path);
        QVERIFY2(r.ok(), qPrintable(r.error));
        QVERIFY(r.immutable);
        QCOMPARE(r.rows.size(), 2);
        QCOMPARE(r.rows.first().NAMAE, QStringLiteral("アカネ"));
        QCOMPARE(HostileCatalogues::listing(real), QStringList{QStringLiteral("SNH347.mdb")});
    }

    // The CD-ROM case itself: a folder that takes no writes. The read runs in
    // a child without the rights by which root ignores permissions, so the
    // folder refuses it as a read-only medium refuses anyone.
    // clang-format off
    void walCatalogueInReadOnlyFolder_data()
    {
        QTest::addColumn<bool>("logLeftBeside");
        QTest::newRow("closed cleanly") << false;
        QTest::newRow("empty log left beside it") << true;
    }
    // clang-format on
    void walCatalogueInReadOnlyFolder()
    {
        QFETCH(bool, logLeftBeside);
        const QString folder = dir_.filePath(QStringLiteral("cdrom-%1").arg(logLeftBeside));
        QVERIFY(QDir().mkpath(folder));
        const QString path = folder + QStringLiteral("/SNH347.mdb");
        QVERIFY(HostileCatalogues::walCatalogue(path, {record("アカネ"), record("スミレ")}));
        if (logLeftBeside) {
            QFile log(path + QStringLiteral("-wal"));
            QVERIFY(log.open(QIODevice::WriteOnly));
        }
        const QStringList before = HostileCatalogues::listing(folder);
        QVERIFY(QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner));
        const std::optional<QByteArray> report = runInChild([&] {
            if (!bindPermissions())
                return QByteArray("no rights to drop");
            QFile probe(folder + QStringLiteral("/probe"));
            if (probe.open(QIODevice::WriteOnly))
                return QByteArray("the folder takes writes");
            FlowerCatalogue cat;
            const auto r = CatalogueStore::load(path, cat);
            return r.ok ? QByteArray::number(cat.count()) : ("failed: " + r.error.toUtf8());
        });
        QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QVERIFY(report);
        QCOMPARE(*report, QByteArray("2"));
        QCOMPARE(HostileCatalogues::listing(folder), before);
    }

    void duplicateNamesAreRefused()
    {
        const QString path = dir_.filePath(QStringLiteral("dup.mdb"));
        QVERIFY(TestCatalogues::write(path, {record("スミレ")}));
        QString error;
        QVERIFY(!CatalogueStore::insert(path, {record("スミレ")}, &error));
        QVERIFY(!error.isEmpty());
        QVERIFY(!CatalogueStore::createNew(path, &error));  // never over an existing file
    }

    // The catalogue order and the sorted result list use one comparison, so
    // listing everything through the search gives back the catalogue order.
    void loaderAndResultListAgree()
    {
        const QStringList tricky = {"ガガイモ",
                                    "カタバミ",
                                    "キキョウ",
                                    "キッコウハグマ",
                                    "キツネノボタン",
                                    "ヒメジョオン",
                                    "ヒメシャラ",
                                    "ハーブ",
                                    "ハアブ",
                                    "ハブ",
                                    "ﾊｺﾍﾞ",
                                    "ハコベ",
                                    "はこべ",
                                    "abc",
                                    "ABD",
                                    "セイタカアワダチソウ",
                                    "セイヨウタンポポ",
                                    "ゲンノショウコ",
                                    "ケキツネノボタン",
                                    "コーヒー",
                                    "コオロギ"};
        QVector<FlowerRecord> recs;
        for (const QString& n : tricky)
            recs << record(n);
        const QString path = dir_.filePath(QStringLiteral("tricky.mdb"));
        QVERIFY(TestCatalogues::write(path, recs));
        FlowerCatalogue cat;
        QVERIFY(CatalogueStore::load(path, cat).ok);
        QStringList catalogueOrder;
        for (int i = 1; i <= cat.count(); ++i)
            catalogueOrder << cat.slot(i).NAMAE;

        SearchEngine engine(cat);
        Selection all;
        all.set(0, 0, true);  // every test record is a spring flower
        QCOMPARE(engine.search(all, 0), catalogueOrder);

        const NameOrder order;
        for (int i = 1; i < catalogueOrder.size(); ++i)
            QVERIFY2(order.less(catalogueOrder[i - 1], catalogueOrder[i]), qPrintable(catalogueOrder[i]));
        // Gojūon order: voiced marks and small kana only break ties.
        auto before = [&](const char* a, const char* b) {
            return catalogueOrder.indexOf(QString::fromUtf8(a)) < catalogueOrder.indexOf(QString::fromUtf8(b));
        };
        QVERIFY(before("ガガイモ", "カタバミ"));
        QVERIFY(before("カタバミ", "キキョウ"));
        QVERIFY(before("キッコウハグマ", "キツネノボタン"));
        QVERIFY(before("ケキツネノボタン", "ゲンノショウコ"));
        QVERIFY(before("abc", "ABD"));
    }

    void halfWidthStoredNames()
    {
        // The two long family names are half-width katakana with separate voiced marks.
        QCOMPARE(CategoryTables::storedName(4, 4),
                 QString::fromUtf16(u"\uFF76\uFF94\uFF82\uFF98\uFF78\uFF9E\uFF7B\u79D1"));
        QCOMPARE(CategoryTables::storedName(4, 6),
                 QString::fromUtf16(u"\uFF7A\uFF9E\uFF8F\uFF89\uFF8A\uFF78\uFF9E\uFF7B\u79D1"));
        QCOMPARE(CategoryTables::storedName(2, 1), QString::fromUtf16(u"花弁\uFF14枚型"));
        const int counts[] = {3, 5, 10, 4, 12};
        for (int k = 0; k < 5; ++k)
            QCOMPARE(CategoryTables::valueCount(k), counts[k]);
    }

private:
    static bool workLimitAvailable(const QString& path)
    {
        bool available = false;
        {
            QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("probe"));
            db.setDatabaseName(path);
            available = db.open() && SqliteWorkLimit(db, 1).available();
            db.close();
        }
        QSqlDatabase::removeDatabase(QStringLiteral("probe"));
        return available;
    }

    QTemporaryDir dir_;
};

QTEST_GUILESS_MAIN(CatalogueStoreTest)
#include "CatalogueStoreTest.moc"
