#include "generators/CatalogueSource.h"
#include "generators/CatalogueChecker.h"

#include <QtTest>

// The catalogue's text source carries its written rules as comment lines at
// the top of each file; they must never turn into records or errors.
class CatalogueSourceTest : public QObject {
    Q_OBJECT

private slots:
    // clang-format off
    void lines_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QStringList>("names");
        QTest::addColumn<QStringList>("errors");

        const QByteArray rec = "ハナ\t春\t白系\t花弁５枚型\t互生\tキク科\tキク科\thana.jpg\t解説";
        QTest::newRow("one record") << rec << QStringList{"ハナ"} << QStringList();
        QTest::newRow("rules above the records")
            << QByteArray("# 季節: 主な花期の真ん中の月で決める。\n# 列: NAMAE\tKISETU\tIRO\n") + rec
            << QStringList{"ハナ"} << QStringList();
        QTest::newRow("comment with nine tab-separated fields")
            << QByteArray("#A\tB\tC\tD\tE\tF\tG\tH\tI\n") + rec << QStringList{"ハナ"} << QStringList();
        QTest::newRow("blank and CRLF lines")
            << QByteArray("\r\n# 決まり\r\n\r\n") + rec + "\r\n\r\n" << QStringList{"ハナ"} << QStringList();
        QTest::newRow("a record with a field missing")
            << QByteArray("# 決まり\nハナ\t春\n") << QStringList() << QStringList{"t.tsv:2: 2 fields, expected 9"};
    }
    // clang-format on
    void lines()
    {
        QFETCH(QByteArray, text);
        QFETCH(QStringList, names);
        QFETCH(QStringList, errors);
        const CatalogueSource::Result result = CatalogueSource::parse(text, QStringLiteral("t.tsv"));
        QStringList got;
        for (const FlowerRecord& r : result.records)
            got << r.NAMAE;
        QCOMPARE(got, names);
        QCOMPARE(result.errors, errors);
    }

    // The source itself, not the catalogue file laid out from it: a build
    // keeps an existing SNH347.mdb, so the file can lag behind the source.
    void shippedSourceKeepsTheWrittenRules()
    {
        const CatalogueSource::Result source = CatalogueSource::readFolder(QStringLiteral(SONOHA_CATALOGUE_SOURCE));
        QCOMPARE(source.errors, QStringList());
        const CatalogueChecker checker([](const QString&) { return true; });  // pictures are drawn at layout
        const CatalogueChecker::Report report = checker.check(source.records);
        QStringList found;
        for (const auto& p : report.problems + report.breaches)
            found << QStringLiteral("%1 %2: %3").arg(p.name, p.field, p.what);
        QCOMPARE(found, QStringList());
    }
};

QTEST_GUILESS_MAIN(CatalogueSourceTest)
#include "CatalogueSourceTest.moc"
