#include "generators/FlowerIllustrator.h"
#include "generators/FormLineReader.h"
#include "generators/FormVocabulary.h"
#include "tests/support/TestCatalogues.h"

#include <QGuiApplication>
#include <QtTest>

namespace V = FormVocabulary;

namespace {

const QSize kSize(320, 240);

// A plain plant: an upright white five-petalled flower in a small cyme over
// simple elliptic leaves. Each row changes one word of it.
QStringList baseColumns()
{
    return QStringLiteral(
               "ハナ\tハコベ属\t直立\t30\t－\t互生\tなし\t楕円形\t全縁\t単葉\t有柄\t4\t集散\t－\t放射・花弁5・離弁"
               "\t15\t白\t－\t－\t見分け")
        .split(u'\t');
}

int columnOf(const char* name)
{
    return int(FormLineReader::columnNames().indexOf(QString::fromUtf8(name)));
}

template <typename E>
void rowsOf(const char* column, std::span<const V::Word<E>> words, const QString& before = {},
            const QString& after = {})
{
    for (const V::Word<E>& w : words) {
        const QString value = before + QString::fromUtf16(w.text) + after;
        QTest::newRow(qPrintable(QStringLiteral("%1 %2").arg(QString::fromUtf8(column), value)))
            << columnOf(column) << value;
    }
}

QImage plateOf(const QStringList& columns, const QString& name = QStringLiteral("ハナ"))
{
    const FormLineReader::Result read = FormLineReader::read(columns);
    if (!read.faults.isEmpty())
        qWarning() << read.faults;
    return FlowerIllustrator::draw(TestCatalogues::record(name), read.form, kSize);
}

}  // namespace

// The plate is drawn from the form description: every word of the written
// vocabulary shows in the picture, and the picture is the same every time.
class FlowerIllustratorTest : public QObject {
    Q_OBJECT

private slots:
    void everyWordShows_data()
    {
        QTest::addColumn<int>("column");
        QTest::addColumn<QString>("value");
        rowsOf("草姿", V::habits());
        rowsOf("草姿", V::branchings(), QStringLiteral("直立・"));
        QTest::newRow("草姿 直立・群生") << columnOf("草姿") << QStringLiteral("直立・群生");
        rowsOf("茎", V::stemFeatures());
        rowsOf("葉序", V::phyllotaxes());
        QTest::newRow("葉序 輪生8") << columnOf("葉序") << QStringLiteral("輪生8");
        rowsOf("根生葉", V::basalLeaves());
        rowsOf("葉形", V::leafShapes());
        rowsOf("縁", V::margins());
        for (const char* division : {"三出複葉", "掌状複葉5", "羽状複葉7", "羽状複葉8-12・巻きひげ", "二回羽状複葉",
                                     "三回羽状複葉", "二回三出複葉", "鳥足状複葉", "単葉・巻きひげ"})
            QTest::newRow(qPrintable(QStringLiteral("葉の分裂 ") + QString::fromUtf8(division)))
                << columnOf("葉の分裂") << QString::fromUtf8(division);
        rowsOf("葉の基部", V::leafBases());
        rowsOf("花序", V::inflorescences());
        rowsOf("花序", V::inflorescenceTraits(), QStringLiteral("穂状・"));
        rowsOf("花", V::flowerForms(), QStringLiteral("放射・花弁5・"));
        // 萼 and 苞 only say what the petal-like parts are; 苞 also brings a spike into their middle
        std::vector<V::Word<FlowerFeature>> features(V::flowerFeatures().begin(), V::flowerFeatures().end());
        std::erase_if(features, [](const auto& w) { return w.value == FlowerFeature::Sepals; });
        rowsOf<FlowerFeature>("花", features, QStringLiteral("放射・花弁5・離弁・"));
        rowsOf("花", V::facings(), QStringLiteral("放射・花弁5・離弁・"));
        QTest::newRow("花 左右") << columnOf("花") << QStringLiteral("左右・花弁5・離弁");
        QTest::newRow("花 花弁8") << columnOf("花") << QStringLiteral("放射・花弁8・離弁");
        rowsOf("花色", V::colours());
        rowsOf("花色", V::colours(), QStringLiteral("白+"));
        rowsOf("花色", V::colours(), QStringLiteral("白/"));
        rowsOf("模様", V::markKinds(), {}, QStringLiteral(":紫"));
        for (const V::Word<Fruit>& w : V::fruits()) {
            const bool coloured = w.value == Fruit::Berry || w.value == Fruit::Gourd;
            const QString value = QString::fromUtf16(w.text) + (coloured ? QStringLiteral(":赤") : QString());
            QTest::newRow(qPrintable(QStringLiteral("果実 ") + value)) << columnOf("果実") << value;
        }
        QTest::newRow("高さ") << columnOf("高さ") << QStringLiteral("60");
        QTest::newRow("葉長") << columnOf("葉長") << QStringLiteral("8");
        QTest::newRow("花径") << columnOf("花径") << QStringLiteral("30");
    }

    void everyWordShows()
    {
        QFETCH(int, column);
        QFETCH(QString, value);
        static const QImage base = plateOf(baseColumns());
        QStringList columns = baseColumns();
        columns[column] = value;
        if (columns[column] == baseColumns()[column] || value == QStringLiteral("白+白"))
            QSKIP("the base plant's own word");
        if (value == QStringLiteral("ロゼット"))  // a rosette plant has its leaves in a rosette
            columns[columnOf("根生葉")] = value;
        QVERIFY(FormLineReader::read(columns).faults.isEmpty());
        QVERIFY2(plateOf(columns) != base, "the word makes no difference to the picture");
    }

    void samePlateEveryTime()
    {
        const QImage first = plateOf(baseColumns());
        QCOMPARE(plateOf(baseColumns()), first);
        QVERIFY(plateOf(baseColumns(), QStringLiteral("ハナ2")) != first);  // the name seeds the free choices
        QCOMPARE(first.size(), kSize);
    }

    // Numbers the vocabulary allows but no plant has still give a picture.
    void sizesOutOfReason_data()
    {
        QTest::addColumn<int>("column");
        QTest::addColumn<QString>("value");
        QTest::newRow("zero height") << columnOf("高さ") << QStringLiteral("0");
        QTest::newRow("height of a kilometre") << columnOf("高さ") << QStringLiteral("100000");
        QTest::newRow("zero flower") << columnOf("花径") << QStringLiteral("0");
        QTest::newRow("huge flower") << columnOf("花径") << QStringLiteral("99999999");
        QTest::newRow("zero leaf") << columnOf("葉長") << QStringLiteral("0");
        QTest::newRow("thousands of leaflets") << columnOf("葉の分裂") << QStringLiteral("羽状複葉9999");
        QTest::newRow("a whorl of hundreds") << columnOf("葉序") << QStringLiteral("輪生500");
    }

    void sizesOutOfReason()
    {
        QFETCH(int, column);
        QFETCH(QString, value);
        QStringList columns = baseColumns();
        columns[column] = value;
        if (value.startsWith(u'輪'))
            columns[columnOf("葉序")] = value;
        QCOMPARE(plateOf(columns).size(), kSize);
    }
};

QTEST_MAIN(FlowerIllustratorTest)
#include "FlowerIllustratorTest.moc"
