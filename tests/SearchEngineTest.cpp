#include "search/SearchEngine.h"
#include "catalogue/CategoryTables.h"
#include "catalogue/FlowerCatalogue.h"
#include "catalogue/NameOrder.h"
#include "tests/support/StagedSearch.h"
#include "tests/support/TestCatalogues.h"

#include <QtTest>
#include <algorithm>
#include <random>

namespace {

QString randomValue(std::mt19937& rng, int k)
{
    // Mostly stored names, sometimes texts that look alike but never match.
    const int n = CategoryTables::valueCount(k);
    const int pick = int(rng() % uint32_t(n + 3));
    if (pick < n)
        return CategoryTables::storedName(k, pick + 1);
    if (pick == n)
        return QString();
    if (pick == n + 1)
        return CategoryTables::storedName(k, 1) + u' ';
    return k == 4 ? QStringLiteral("カヤツリグサ科") : QStringLiteral("春 ");
}

}  // namespace

class SearchEngineTest : public QObject {
    Q_OBJECT

private slots:
    void matchesStagedSearchOnRandomCatalogues()
    {
        std::mt19937 rng(20261210);
        const QStringList pool = {"アカネ",   "ハコベ", "ﾊｺﾍﾞ", "ガガイモ", "カタバミ",     "スミレ",    "スミレ ",
                                  "ツユクサ", "ノゲシ", "",     "ヨモギ",   "ヒメジョオン", "ハルジオン"};
        for (int round = 0; round < 400; ++round) {
            FlowerCatalogue cat;
            const int n = int(rng() % 40);
            for (int i = 0; i < n; ++i) {
                FlowerRecord r = TestCatalogues::record(pool[int(rng() % uint32_t(pool.size()))]);
                for (int k = 0; k < 5; ++k)
                    r.attribute(k) = randomValue(rng, k);
                cat.append(r);
            }
            SearchEngine engine(cat);
            for (int trial = 0; trial < 10; ++trial) {
                Selection sel;
                for (int k = 0; k < 5; ++k)
                    if (rng() % 2)
                        for (int v = 0; v < CategoryTables::valueCount(k); ++v)
                            sel.set(k, v, rng() % 3 == 0);
                QVector<int> active;
                for (int k = 0; k < 5; ++k)
                    if (sel.anyIn(k))
                        active << k;
                const int p = active.isEmpty() ? 5 : active[int(rng() % uint32_t(active.size()))];
                const QStringList expected = stagedSearch(cat, sel, p);
                QCOMPARE(engine.search(sel, p), expected);
                QCOMPARE(engine.match(sel, p).size(), expected.size());
            }
        }
    }

    // A near miss meets every active category but exactly one, and is
    // filed under that one; with fewer than two categories active there are
    // none. Checked record by record against that definition.
    void nearMissesMeetAllButOne()
    {
        std::mt19937 rng(20261211);
        for (int round = 0; round < 200; ++round) {
            FlowerCatalogue cat;
            const int n = 1 + int(rng() % 130);
            for (int i = 0; i < n; ++i) {
                FlowerRecord r = TestCatalogues::record(QStringLiteral("ハナ%1").arg(int(rng() % 200)));
                for (int k = 0; k < 5; ++k)
                    r.attribute(k) = randomValue(rng, k);
                cat.append(r);
            }
            SearchEngine engine(cat);
            for (int trial = 0; trial < 10; ++trial) {
                Selection sel;
                int active = 0;
                for (int k = 0; k < 5; ++k) {
                    if (rng() % 3 == 0)
                        continue;
                    sel.set(k, int(rng() % uint32_t(CategoryTables::valueCount(k))), true);
                    sel.set(k, int(rng() % uint32_t(CategoryTables::valueCount(k))), true);
                    ++active;
                }
                const NearMisses near = engine.nearMisses(sel);
                for (int place = 0; place < n; ++place) {
                    const FlowerRecord& r = cat.slot(engine.slotAt(place));
                    QCOMPARE(r.NAMAE, engine.nameAt(place));
                    int missed = -1;
                    int misses = 0;
                    for (int k = 0; k < 5; ++k) {
                        const int code = CategoryTables::codeOf(k, r.attribute(k));
                        if (sel.anyIn(k) && !(code > 0 && sel.isSelected(k, code - 1))) {
                            missed = k;
                            ++misses;
                        }
                    }
                    QCOMPARE(near.categoryOf(place), active >= 2 && misses == 1 ? missed : -1);
                }
            }
        }
    }

    // Full catalogues: the records fill several words of the bit sets, and a
    // few names are carried twice, across a word boundary among others.
    void matchesStagedSearchOnFullCatalogues_data()
    {
        QTest::addColumn<int>("count");
        QTest::newRow("one word") << 64;
        QTest::newRow("one record into the second word") << 65;
        QTest::newRow("the whole catalogue") << FlowerCatalogue::kCapacity;
    }
    void matchesStagedSearchOnFullCatalogues()
    {
        QFETCH(int, count);
        std::mt19937 rng{uint32_t(count)};
        FlowerCatalogue cat;
        for (int i = 0; i < count; ++i) {
            // Names sort as numbered; every 63rd record repeats the name before it.
            const int n = i % 63 == 62 ? i - 1 : i;
            FlowerRecord r = TestCatalogues::record(QStringLiteral("ハナ%1").arg(n, 3, 10, QLatin1Char('0')));
            for (int k = 0; k < 5; ++k)
                r.attribute(k) = randomValue(rng, k);
            QVERIFY(cat.append(r));
        }
        SearchEngine engine(cat);
        for (int trial = 0; trial < 20; ++trial) {
            Selection sel;
            for (int k = 0; k < 5; ++k)
                if (rng() % 2)
                    for (int v = 0; v < CategoryTables::valueCount(k); ++v)
                        sel.set(k, v, rng() % 2 == 0);
            int p = 5;
            for (int k = 0; k < 5; ++k)
                if (sel.anyIn(k) && (p == 5 || rng() % 2))
                    p = k;
            const QStringList expected = stagedSearch(cat, sel, p);
            QCOMPARE(engine.search(sel, p), expected);
            QCOMPARE(engine.match(sel, p).size(), expected.size());
        }
    }

    // clang-format off
    void edgeCases_data()
    {
        QTest::addColumn<QStringList>("picks");  // "category:index" pairs, the last one is primary
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("alternatives within a category") << QStringList{"0:0", "0:1"}
                                                        << QStringList{"アカネ", "ハコベ", "ヒルガオ"};
        QTest::newRow("all categories must hold") << QStringList{"1:0", "0:0"} << QStringList{"ハコベ"};
        QTest::newRow("a category matching nothing") << QStringList{"0:0", "3:2"} << QStringList{};
        QTest::newRow("full-width family never matches") << QStringList{"4:3"} << QStringList{"カヤツリグサ"};
        QTest::newRow("nothing selected") << QStringList{} << QStringList{};
        QTest::newRow("every category active")
            << QStringList{"0:1", "1:1", "2:1", "3:1", "4:4"} << QStringList{"ヒルガオ"};
    }
    // clang-format on
    void edgeCases()
    {
        QFETCH(QStringList, picks);
        QFETCH(QStringList, expected);
        FlowerCatalogue cat;
        using TestCatalogues::record;
        cat.append(record("アカネ", "春", "黄色系", "花弁５枚型", "互生", "キク科"));
        cat.append(record("カヤツリグサ", "秋", "その他", "穂型", "根生",
                          QString::fromUtf16(u"\uFF76\uFF94\uFF82\uFF98\uFF78\uFF9E\uFF7B\u79D1")));
        cat.append(record("カヤモドキ", "秋", "その他", "穂型", "根生", "カヤツリグサ科"));
        cat.append(record("ハコベ", "春", "白系", "花弁５枚型", "対生", "キク科"));
        cat.append(record("ヒルガオ", "夏", "黄色系", "花弁５枚型", "互生", "キク科"));
        SearchEngine engine(cat);
        Selection sel;
        int primary = 5;
        for (const QString& pick : picks) {
            primary = pick.section(u':', 0, 0).toInt();
            sel.set(primary, pick.section(u':', 1, 1).toInt(), true);
        }
        QCOMPARE(engine.search(sel, primary), expected);
        QCOMPARE(engine.search(sel, primary), stagedSearch(cat, sel, primary));
    }
};

QTEST_GUILESS_MAIN(SearchEngineTest)
#include "SearchEngineTest.moc"
