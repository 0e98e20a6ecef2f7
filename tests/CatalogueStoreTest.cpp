#include "catalogue/CatalogueStore.h"
#include "catalogue/CategoryTables.h"
#include "catalogue/FlowerCatalogue.h"
#include "catalogue/NameOrder.h"
#include "search/SearchEngine.h"
#include "tests/support/TestCatalogues.h"

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QtTest>
#include <algorithm>
#include <random>

using TestCatalogues::record;

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
        QCOMPARE(cat.FlowerCount(), 3);
        QCOMPARE(cat.slot(1).NAMAE, QStringLiteral("アカネ"));
        QCOMPARE(cat.slot(2).NAMAE, QStringLiteral("タンポポ"));
        QCOMPARE(cat.slot(3).NAMAE, QStringLiteral("ハコベ"));
        QVERIFY(cat.slot(4).NAMAE.isEmpty());
        QVERIFY(cat.slot(0).NAMAE.isEmpty());
        QCOMPARE(shown.last(), QStringLiteral("ハコベ"));  // the loading screen's last name
    }

    void capacity_data()
    {
        QTest::addColumn<int>("rows");
        QTest::addColumn<int>("loaded");
        QTest::newRow("empty table") << 0 << 0;
        QTest::newRow("500 rows") << 500 << 500;
        QTest::newRow("501 rows") << 501 << 500;
    }
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
        QCOMPARE(cat.FlowerCount(), loaded);
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
        QCOMPARE(cat.FlowerCount(), 2);
        const FlowerRecord& t = cat.slot(cat.slotOfName(QStringLiteral("ツユクサ")));
        QCOMPARE(t.KA2, QString());
        QCOMPARE(t.NOTE, QString());
        QCOMPARE(t.SYASIN, QStringLiteral("tuyukusa.jpg"));
        QVERIFY(cat.slotOfName(QString()) > 0);
    }

    void unreadableFiles_data()
    {
        QTest::addColumn<QByteArray>("content");  // empty: no file at all
        QTest::newRow("missing") << QByteArray();
        QTest::newRow("not a database") << QByteArray("this is not sqlite at all, just text\n");
        QTest::newRow("no KUSABANA table") << QByteArray("table:OTHER");
    }
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
        QCOMPARE(cat.FlowerCount(), 0);
        // A missing file is reported, never created.
        QCOMPARE(QFileInfo::exists(path), !content.isEmpty());
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
        const QStringList tricky = {
            "ガガイモ", "カタバミ", "キキョウ", "キッコウハグマ", "キツネノボタン", "ヒメジョオン",
            "ヒメシャラ", "ハーブ", "ハアブ", "ハブ", "ﾊｺﾍﾞ", "ハコベ", "はこべ", "abc", "ABD",
            "セイタカアワダチソウ", "セイヨウタンポポ", "ゲンノショウコ", "ケキツネノボタン", "コーヒー", "コオロギ"};
        QVector<FlowerRecord> recs;
        for (const QString& n : tricky)
            recs << record(n);
        const QString path = dir_.filePath(QStringLiteral("tricky.mdb"));
        QVERIFY(TestCatalogues::write(path, recs));
        FlowerCatalogue cat;
        QVERIFY(CatalogueStore::load(path, cat).ok);
        QStringList catalogueOrder;
        for (int i = 1; i <= cat.FlowerCount(); ++i)
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
    QTemporaryDir dir_;
};

QTEST_GUILESS_MAIN(CatalogueStoreTest)
#include "CatalogueStoreTest.moc"
