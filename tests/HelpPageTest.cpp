#include "generators/CatalogueSource.h"
#include "session/StatusTexts.h"

#include <QFile>
#include <QtTest>
#include <algorithm>

// The help page of the application folder quotes figures of the shipped
// catalogue; the build makes it from the catalogue's source, so the figures
// are the source's, whatever they were when the page was written.
class HelpPageTest : public QObject {
    Q_OBJECT

private:
    QString page_;
    QVector<FlowerRecord> shipped_;

    int countOf(const QStringList& attributes) const
    {
        return int(std::count_if(shipped_.begin(), shipped_.end(), [&](const FlowerRecord& r) {
            for (int k = 0; k < attributes.size(); ++k)
                if (!attributes[k].isEmpty() && r.attribute(k) != attributes[k])
                    return false;
            return true;
        }));
    }

    // The records that differ from the given attributes in exactly one.
    int nearCountOf(const QStringList& attributes) const
    {
        return int(std::count_if(shipped_.begin(), shipped_.end(), [&](const FlowerRecord& r) {
            int misses = 0;
            for (int k = 0; k < attributes.size(); ++k)
                if (!attributes[k].isEmpty() && r.attribute(k) != attributes[k])
                    ++misses;
            return misses == 1;
        }));
    }

private slots:
    void initTestCase()
    {
        QFile page(QStringLiteral(SONOHA_BUILT_HELP_PAGE));
        QVERIFY2(page.open(QIODevice::ReadOnly), qPrintable(page.fileName()));
        page_ = QString::fromUtf8(page.readAll());
        const CatalogueSource::Result source = CatalogueSource::readFolder(QStringLiteral(SONOHA_CATALOGUE_SOURCE));
        QCOMPARE(source.errors, QStringList());
        shipped_ = source.records;
    }

    void everyFigureIsFilledIn() { QVERIFY2(!page_.contains(QStringLiteral("{{")), "a {{figure}} left in the page"); }

    // clang-format off
    void figuresOfTheShippedCatalogue_data()
    {
        QTest::addColumn<QString>("quoted");
        const int all = int(shipped_.size());
        QTest::newRow("catalogue size") << QStringLiteral("図鑑には身近な野草 %1 種").arg(all);
        QTest::newRow("all-data count") << StatusTexts::allDataCount(all);
        QTest::newRow("yellow count") << QStringLiteral("黄色系：データ数 %1件").arg(countOf({"", "黄色系"}));
        QTest::newRow("spring, yellow, composites")
            << StatusTexts::found(countOf({"春", "黄色系", "", "", "キク科"}));
        QTest::newRow("near misses of spring, yellow, four petals, opposite")
            << StatusTexts::nearMissesFound(nearCountOf({"春", "黄色系", "花弁４枚型", "対生"}));
        QTest::newRow("nothing found") << QString::fromUtf8(StatusTexts::kNotFound);
    }
    // clang-format on
    void figuresOfTheShippedCatalogue()
    {
        QFETCH(QString, quoted);
        QVERIFY2(page_.contains(quoted), qPrintable(quoted));
    }
};

QTEST_GUILESS_MAIN(HelpPageTest)
#include "HelpPageTest.moc"
