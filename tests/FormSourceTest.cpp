#include "generators/FormSource.h"
#include "generators/CatalogueChecker.h"
#include "generators/CatalogueSource.h"
#include "generators/FormLineReader.h"
#include "generators/FormRules.h"
#include "tests/support/TestCatalogues.h"

#include <QtTest>

using TestCatalogues::record;

namespace {

// A complete description of a white five-petalled flower with opposite
// leaves; each row of a table changes one column of it.
QStringList validColumns(const QString& name = QStringLiteral("ハナ"))
{
    return {name,
            QStringLiteral("ハコベ属"),
            QStringLiteral("斜上・根元で分枝"),
            QStringLiteral("10-30"),
            QStringLiteral("毛・紫褐"),
            QStringLiteral("対生"),
            QStringLiteral("なし"),
            QStringLiteral("卵形"),
            QStringLiteral("全縁"),
            QStringLiteral("単葉"),
            QStringLiteral("有柄"),
            QStringLiteral("1-2"),
            QStringLiteral("集散"),
            QStringLiteral("－"),
            QStringLiteral("放射・花弁5・離弁・深く2裂"),
            QStringLiteral("6-7"),
            QStringLiteral("白"),
            QStringLiteral("－"),
            QStringLiteral("蒴果"),
            QStringLiteral("花弁が深く2裂し10枚に見える")};
}

QByteArray line(const QStringList& columns)
{
    return columns.join(u'\t').toUtf8();
}

QStringList faultColumns(const QStringList& faults)
{
    QStringList columns;
    for (const QString& f : faults)
        columns << f.section(QStringLiteral(": "), 0, 0);
    columns.removeDuplicates();
    return columns;
}

}  // namespace

// The form descriptions are read word by word against their written
// vocabulary, and must agree with the search attributes of their record.
class FormSourceTest : public QObject {
    Q_OBJECT

private slots:
    // clang-format off
    void vocabulary_data()
    {
        QTest::addColumn<QString>("column");
        QTest::addColumn<QString>("value");
        QTest::addColumn<QStringList>("faulty");
        const QStringList none;
        auto row = [](const char* tag, const char* column, const char* value, const QStringList& faulty) {
            QTest::newRow(tag) << QString::fromUtf8(column) << QString::fromUtf8(value) << faulty;
        };
        row("complete", "NAMAE", "ハナ", none);
        row("habit with branching and colony", "草姿", "直立・よく分枝・群生", none);
        row("unknown habit", "草姿", "立つ", {"草姿"});
        row("branching alone", "草姿", "よく分枝", {"草姿"});
        row("decimal range", "葉長", "0.5-1.5", none);
        row("one number", "花径", "5", none);
        row("range upside down", "高さ", "30-10", {"高さ"});
        row("full-width digits", "高さ", "１０-３０", {"高さ"});
        row("no height", "高さ", "－", {"高さ"});
        row("no inflorescence length", "花序長", "－", none);
        row("inflorescence length", "花序長", "5-10", none);
        row("no stem feature", "茎", "－", none);
        row("unknown stem feature", "茎", "四角・丸", {"茎"});
        row("whorl with its count", "葉序", "輪生6-8", {"葉序"});  // the record's HA is 対生
        row("count on opposite leaves", "葉序", "対生4", {"葉序"});
        row("three margins", "縁", "全縁・鋸歯・波状", {"縁"});
        row("two margins", "縁", "鋸歯・浅裂", none);
        row("pinnate with tendrils", "葉の分裂", "羽状複葉6-14・巻きひげ", none);
        row("pinnate without count", "葉の分裂", "羽状複葉", {"葉の分裂"});
        row("trifoliate with count", "葉の分裂", "三出複葉3", {"葉の分裂"});
        row("something else after the division", "葉の分裂", "単葉・有柄", {"葉の分裂"});
        row("two bases", "葉の基部", "有柄・托葉", none);
        row("inflorescence with traits", "花序", "総状・下垂・片側", none);
        row("trait alone", "花序", "下垂", {"花序"});
        row("two symmetries", "花", "放射・左右・花弁5・離弁", {"花"});
        row("no form", "花", "放射・花弁5", {"花"});
        row("no count", "花", "放射・離弁", {"花"});
        row("flower with facing and features", "花", "放射・花弁5・離弁・反り返る・斑点・下向き", none);
        row("second and centre colour", "花色", "白+淡紅/黄", none);
        row("unknown colour", "花色", "水色", {"花色"});
        row("markings", "模様", "筋:紫・目:黄", none);
        row("marking without colour", "模様", "筋", {"模様"});
        row("berry with its colour", "果実", "液果:黒紫", none);
        row("berry without colour", "果実", "液果", {"果実"});
        row("capsule with a colour", "果実", "蒴果:褐", {"果実"});
        row("two fruits", "果実", "莢・いが", {"果実"});
        row("half-width genus", "属", "ﾊｺﾍﾞ属", {"属"});
        row("genus without 属", "属", "ハコベ", {"属"});
        row("empty distinction", "見分け", "－", {"見分け"});
        row("distinction of 41 characters", "見分け", "ああああああああああああああああああああああああああああああああああああああああア", {"見分け"});
    }
    // clang-format on
    void vocabulary()
    {
        QFETCH(QString, column);
        QFETCH(QString, value);
        QFETCH(QStringList, faulty);
        QStringList columns = validColumns();
        columns[int(FormLineReader::columnNames().indexOf(column))] = value;
        const FormSource::Result read = FormSource::parse(line(columns), QStringLiteral("f.tsv"));
        QCOMPARE(read.errors, QStringList());
        QCOMPARE(read.entries.size(), 1);
        const FormSource::Entry& e = read.entries[0];
        const FlowerRecord r = record(QStringLiteral("ハナ"), "春", "白系", "花弁５枚型", "対生", "ナデシコ科");
        QCOMPARE(faultColumns(e.faults + FormRules::check(e.form, r)), faulty);
    }

    void wordsBecomeTheForm()
    {
        QStringList columns = validColumns();
        columns[2] = QStringLiteral("巻きひげ・根元で分枝");
        columns[9] = QStringLiteral("羽状複葉6-14・巻きひげ");
        columns[14] = QStringLiteral("左右・花弁5・蝶形・筋・下向き");
        columns[16] = QStringLiteral("紅紫+白/黄");
        columns[17] = QStringLiteral("筋:紫");
        columns[18] = QStringLiteral("液果:黒紫");
        const PlantForm f = FormLineReader::read(columns).form;
        QCOMPARE(f.habit, Habit::TendrilClimber);
        QCOMPARE(f.branching, Branching::FromBase);
        QCOMPARE(f.division, Division::Pinnate);
        QCOMPARE(f.leaflets.min, 6.0);
        QCOMPARE(f.leaflets.max, 14.0);
        QVERIFY(f.tendrils);
        QCOMPARE(f.flowerForm, FlowerForm::Pea);
        QCOMPARE(f.symmetry, Symmetry::Bilateral);
        QCOMPARE(f.petals, 5);
        QVERIFY(f.has(FlowerFeature::Veins));
        QCOMPARE(f.facing, Facing::Down);
        QCOMPARE(f.colour, Colour::Magenta);
        QVERIFY(f.hasSecondColour && f.hasCentreColour);
        QCOMPARE(f.centreColour, Colour::Yellow);
        QCOMPARE(f.markings.size(), 1);
        QCOMPARE(f.fruit, Fruit::Berry);
        QCOMPARE(f.fruitColour, Colour::BlackPurple);
        QCOMPARE(f.flowerSize.min, 6.0);
        QCOMPARE(f.inflorescenceLength.known(), false);
    }

    // What KABEN, HA and IRO demand of the description.
    // clang-format off
    void agreement_data()
    {
        QTest::addColumn<QStringList>("attributes");  // IRO KABEN HA KA2
        QTest::addColumn<QString>("flower");
        QTest::addColumn<QString>("inflorescence");
        QTest::addColumn<QString>("colour");
        QTest::addColumn<QStringList>("faulty");
        const QStringList none;
        auto row = [](const char* tag, const QStringList& a, const char* flower, const char* infl, const char* colour,
                      const QStringList& faulty) {
            QTest::newRow(tag) << a << QString::fromUtf8(flower) << QString::fromUtf8(infl) << QString::fromUtf8(colour)
                               << faulty;
        };
        row("five petals", {"白系", "花弁５枚型", "対生", "ナデシコ科"}, "放射・花弁5・離弁", "集散", "白", none);
        row("four petals filed as five", {"白系", "花弁５枚型", "対生", "ナデシコ科"}, "放射・花弁4・離弁", "集散", "白", {"花"});
        row("six tepals as many", {"白系", "花弁多数型", "対生", "ユリ科"}, "放射・花弁6・離弁", "単生", "白", none);
        row("violet needs a spur", {"青紫系", "スミレ型", "対生", "スミレ科"}, "左右・花弁5・離弁", "単生", "紫", {"花"});
        row("violet", {"青紫系", "スミレ型", "対生", "スミレ科"}, "左右・花弁5・離弁・距", "単生", "紫", none);
        row("lipped", {"青紫系", "唇型", "対生", "シソ科"}, "左右・花弁5・唇形", "輪散", "紫", none);
        row("pea", {"赤紫系", "マメ型", "対生", "マメ科"}, "左右・花弁5・蝶形", "総状", "紅紫", none);
        row("dandelion", {"黄色系", "タンポポ型", "対生", "キク科"}, "放射・舌状花のみ", "単生", "黄", none);
        row("daisy with rays", {"白系", "キク型", "対生", "キク科"}, "放射・舌状花と筒状花", "散房", "白", none);
        row("daisy of disc florets", {"黄色系", "キク型", "対生", "キク科"}, "放射・筒状花のみ", "散房", "黄", none);
        row("ligules only filed as daisy", {"黄色系", "キク型", "対生", "キク科"}, "放射・舌状花のみ", "散房", "黄", {"花"});
        row("spike", {"赤紫系", "穂型", "対生", "タデ科"}, "放射・花弁5・離弁・萼", "穂状", "紅", none);
        row("grass spike", {"その他", "穂型", "対生", "イネ科"}, "放射・小穂", "小穂円柱", "緑", none);
        row("spike filed of a cyme", {"赤紫系", "穂型", "対生", "タデ科"}, "放射・花弁5・離弁", "集散", "紅", {"花"});
        row("other takes anything", {"白系", "その他", "対生", "アカネ科"}, "放射・花弁5・鐘形", "集散", "白", none);
        row("yellow flower filed white", {"白系", "その他", "対生", "アカネ科"}, "放射・花弁5・鐘形", "集散", "黄", {"花色"});
        row("greenish white is white", {"白系", "その他", "対生", "ユリ科"}, "放射・花弁6・筒形", "単生", "緑白", none);
        row("greenish white is other", {"その他", "その他", "対生", "ユリ科"}, "放射・花弁6・筒形", "単生", "緑白", none);
        row("purple grass plume", {"その他", "穂型", "対生", "イネ科"}, "放射・小穂", "小穂円錐", "紫褐", none);
        row("a plume of any colour", {"その他", "穂型", "対生", "ｶﾔﾂﾘｸﾞｻ科"}, "放射・小穂", "小穂球状", "白", none);
        row("a leaf arrangement against HA", {"白系", "花弁５枚型", "互生", "ナデシコ科"}, "放射・花弁5・離弁", "集散", "白", {"葉序"});
    }
    // clang-format on
    void agreement()
    {
        QFETCH(QStringList, attributes);
        QFETCH(QString, flower);
        QFETCH(QString, inflorescence);
        QFETCH(QString, colour);
        QFETCH(QStringList, faulty);
        QStringList columns = validColumns();
        columns[14] = flower;
        columns[12] = inflorescence;
        columns[16] = colour;
        const FormLineReader::Result read = FormLineReader::read(columns);
        QCOMPARE(read.faults, QStringList());
        FlowerRecord r = record(QStringLiteral("ハナ"), "春", attributes[0], attributes[1], attributes[2], "その他");
        r.KA2 = attributes[3];
        QCOMPARE(faultColumns(FormRules::check(read.form, r)), faulty);
    }

    void linesThatAreNoDescription()
    {
        const QByteArray text = "# 決まり\t\t\t\n\n" + line(validColumns()) + "\r\nハナ2\t属\n";
        const FormSource::Result read = FormSource::parse(text, QStringLiteral("f.tsv"));
        QCOMPARE(read.entries.size(), 1);
        QCOMPARE(read.entries[0].line, 3);
        QCOMPARE(read.entries[0].faults, QStringList());
        QCOMPARE(read.errors, QStringList{"f.tsv:4: 2 columns, expected 20"});
    }

    // Every record has exactly one complete description; the checker fails
    // the catalogue otherwise.
    void checkerWantsOneDescriptionPerRecord()
    {
        const QVector<FlowerRecord> records = {
            record("ハナ", "春", "白系", "花弁５枚型", "対生", "ナデシコ科"),
            record("ハナ2", "春", "白系", "花弁５枚型", "対生", "ナデシコ科"),
            record("ハナ3", "春", "白系", "花弁５枚型", "対生", "ナデシコ科"),
        };
        QStringList wrongColour = validColumns(QStringLiteral("ハナ3"));
        wrongColour[16] = QStringLiteral("黄");
        const QByteArray text = line(validColumns()) + '\n' + line(validColumns()) + '\n' + line(wrongColour) + '\n' +
                                line(validColumns(QStringLiteral("ハナ4")));
        const CatalogueChecker checker([](const QString&) { return true; });
        const CatalogueChecker::Report report =
            checker.check(records, FormSource::parse(text, QStringLiteral("f.tsv")));
        QStringList found;
        for (const CatalogueChecker::Problem& p : report.problems)
            found
                << QStringLiteral("%1 %2 %3 %4").arg(p.row).arg(p.name, p.field, CatalogueChecker::faultName(p.fault));
        QCOMPARE(found, QStringList({"0 ハナ4 f.tsv:4 BadDescription", "1 ハナ f.tsv:2 BadDescription",
                                     "2 ハナ2 forms NoDescription", "3 ハナ3 f.tsv:3 BadDescription"}));
        QVERIFY(!report.clean());
    }

    // The shipped descriptions, checked against the shipped records.
    void shippedDescriptionsAreComplete()
    {
        const CatalogueSource::Result source = CatalogueSource::readFolder(QStringLiteral(SONOHA_CATALOGUE_SOURCE));
        const FormSource::Result forms = FormSource::readFolder(QStringLiteral(SONOHA_FORM_SOURCE));
        const CatalogueChecker checker([](const QString&) { return true; });  // pictures are drawn at layout
        const CatalogueChecker::Report report = checker.check(source.records, forms);
        QStringList found;
        for (const CatalogueChecker::Problem& p : report.problems)
            found << QStringLiteral("%1 %2: %3").arg(p.name, p.field, p.what);
        QCOMPARE(found, QStringList());
    }
};

QTEST_GUILESS_MAIN(FormSourceTest)
#include "FormSourceTest.moc"
