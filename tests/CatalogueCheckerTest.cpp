#include "generators/CatalogueChecker.h"
#include "catalogue/CategoryTables.h"
#include "tests/support/HostileCatalogues.h"
#include "tests/support/TestCatalogues.h"

#include <QSet>
#include <QTemporaryDir>
#include <QtTest>

using TestCatalogues::record;
using Fault = CatalogueChecker::Fault;

namespace {

// "FIELD:Fault" for each problem, so a row states every problem it expects
// and any extra one fails it.
QStringList summary(const QVector<CatalogueChecker::Problem>& problems)
{
    QStringList s;
    for (const CatalogueChecker::Problem& p : problems)
        s << p.field + u':' + CatalogueChecker::faultName(p.fault);
    s.sort();
    return s;
}

QVector<FlowerRecord> validRecords(int count)
{
    QVector<FlowerRecord> rows;
    for (int i = 0; i < count; ++i)
        rows << record(QStringLiteral("ハナ%1").arg(i));
    return rows;
}

void setField(FlowerRecord& r, const QString& field, const QString& value)
{
    static const std::pair<const char*, QString FlowerRecord::*> members[] = {
        {"NAMAE", &FlowerRecord::NAMAE}, {"IRO", &FlowerRecord::IRO},       {"KA", &FlowerRecord::KA},
        {"KA2", &FlowerRecord::KA2},     {"SYASIN", &FlowerRecord::SYASIN},
    };
    for (const auto& [name, member] : members)
        if (field == QLatin1String(name))
            r.*member = value;
}

// A note whose first months fall in the season.
QString monthsOf(const QString& season)
{
    if (season == QStringLiteral("夏"))
        return QStringLiteral("７～８月に咲く。");
    if (season == QStringLiteral("秋"))
        return QStringLiteral("９～１０月に咲く。");
    return QStringLiteral("４～５月に咲く。");
}

}  // namespace

class CatalogueCheckerTest : public QObject {
    Q_OBJECT

private slots:
    // Each row changes one field of the first of `count` valid records (whose
    // pictures exist as NAME.jpg) and adds `pictures` to the data folder.
    // clang-format off
    void rules_data()
    {
        QTest::addColumn<int>("count");
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("value");
        QTest::addColumn<QStringList>("pictures");
        QTest::addColumn<QStringList>("expected");

        const QString halfWidthFamily = CategoryTables::storedName(4, 4);
        QTest::newRow("valid catalogue") << 3 << QString() << QString() << QStringList() << QStringList();
        QTest::newRow("full-width family name")
            << 3 << "KA" << QStringLiteral("カヤツリグサ科") << QStringList()
            << QStringList{"KA:NotStoredName", "KA:TooLong"};  // 14 bytes; the stored form takes 9
        QTest::newRow("half-width family name") << 3 << "KA" << halfWidthFamily << QStringList() << QStringList();
        QTest::newRow("trailing space in colour")
            << 3 << "IRO" << QStringLiteral("白系 ") << QStringList() << QStringList{"IRO:NotStoredName"};
        QTest::newRow("duplicate name")
            << 3 << "NAMAE" << QStringLiteral("ハナ1") << QStringList()
            << QStringList{"NAMAE:DuplicateName"};
        QTest::newRow("empty name") << 3 << "NAMAE" << QString() << QStringList()
                                    << QStringList{"NAMAE:EmptyName"};
        QTest::newRow("name of 16 full-width characters (32 bytes)")
            << 3 << "NAMAE" << QString(16, QChar(u'ア')) << QStringList()
            << QStringList{"NAMAE:TooLong"};
        QTest::newRow("name of 15 full-width characters (30 bytes)")
            << 3 << "NAMAE" << QString(15, QChar(u'ア')) << QStringList() << QStringList();
        QTest::newRow("picture file of 35 bytes")
            << 3 << "SYASIN" << QString(31, u'p') + ".jpg" << QStringList{QString(31, u'p') + ".jpg"}
            << QStringList{"SYASIN:TooLong"};
        QTest::newRow("missing picture")
            << 3 << "SYASIN" << "nothere.jpg" << QStringList() << QStringList{"SYASIN:MissingPicture"};
        QTest::newRow("no picture named") << 3 << "SYASIN" << QString() << QStringList()
                                          << QStringList{"SYASIN:MissingPicture"};
        QTest::newRow("picture present only as .gif (ok)")
            << 3 << "SYASIN" << "flower.jpg" << QStringList{"flower.gif"} << QStringList();
        QTest::newRow("picture under a name of its own (ok)")
            << 3 << "SYASIN" << "flower.png" << QStringList{"flower.png"} << QStringList();
        QTest::newRow("empty display family") << 3 << "KA2" << QString() << QStringList()
                                              << QStringList{"KA2:EmptyField"};
        QTest::newRow("500 records") << 500 << QString() << QString() << QStringList() << QStringList();
        QTest::newRow("501 records") << 501 << QString() << QString() << QStringList()
                                     << QStringList{":TooManyRecords"};
    }
    // clang-format on
    void rules()
    {
        QFETCH(int, count);
        QFETCH(QString, field);
        QFETCH(QString, value);
        QFETCH(QStringList, pictures);
        QFETCH(QStringList, expected);

        QVector<FlowerRecord> rows = validRecords(count);
        QSet<QString> files(pictures.begin(), pictures.end());
        for (int i = 1; i < rows.size(); ++i)
            files << rows[i].SYASIN;
        if (field != QLatin1String("SYASIN"))
            files << rows[0].SYASIN;
        setField(rows[0], field, value);

        const CatalogueChecker checker([&](const QString& f) { return files.contains(f); });
        const CatalogueChecker::Report report = checker.check(rows);
        QCOMPARE(summary(report.problems), expected);
        QCOMPARE(report.clean(), expected.isEmpty());
    }

    // The written rules of the shipped catalogue, one broken (or kept at
    // an edge) per row: name, KISETU, IRO, KABEN, KA, KA2 and NOTE of a
    // record that is otherwise valid. A row about another rule than the
    // season leaves NOTE empty; the record then gets months that fit its
    // season.
    // clang-format off
    void writtenRules_data()
    {
        QTest::addColumn<QStringList>("fields");
        QTest::addColumn<QStringList>("expected");
        const QString sedges = CategoryTables::storedName(4, 4);
        auto row = [](const char* tag, const QStringList& fields, const QStringList& expected) {
            QTest::newRow(tag) << fields << expected;
        };
        const QStringList none;
        const QStringList season{"KISETU:BreaksRule"};
        const QStringList note{"NOTE:BreaksRule"};
        row("season of the middle month", {"ハナ", "秋", "白系", "キク型", "キク科", "キク科", "８～１０月に咲く。"}, none);
        row("season against the middle month", {"ハナ", "夏", "白系", "キク型", "キク科", "キク科", "８～１０月に咲く。"}, season);
        row("two middle months take the later", {"ハナ", "秋", "白系", "キク型", "キク科", "キク科", "８～９月に咲く。"}, none);
        row("June is spring", {"ハナ", "春", "白系", "キク型", "キク科", "キク科", "５～７月に咲く。"}, none);
        row("June and July are summer", {"ハナ", "夏", "白系", "キク型", "キク科", "キク科", "６～７月に咲く。"}, none);
        row("only the first months count", {"ハナ", "春", "白系", "キク型", "キク科", "キク科", "３～５月を中心に、３～１１月に咲く。"}, none);
        row("one month as the peak", {"ハナ", "夏", "白系", "キク型", "キク科", "キク科", "８月を盛りに、７月の終わりから９月に咲く。"}, none);
        row("one month as the peak, against it", {"ハナ", "秋", "白系", "キク型", "キク科", "キク科", "８月を盛りに、８～９月に咲く。"}, season);
        row("one month after a range does not count", {"ハナ", "秋", "白系", "キク型", "キク科", "キク科", "８～１０月に咲き、９月を盛りに実る。"}, none);
        row("peak over the new year", {"ハナ", "春", "白系", "キク型", "キク科", "キク科", "１２～２月に咲く。"}, none);
        row("half-width digits", {"ハナ", "秋", "白系", "キク型", "キク科", "キク科", "7～8月に咲く。"}, season);
        row("peak of three months", {"ハナ", "夏", "白系", "キク型", "キク科", "キク科", "７～９月を中心に、６～１０月に咲く。"}, none);
        row("peak of four months", {"ハナ", "夏", "白系", "キク型", "キク科", "キク科", "６～９月に咲く。"}, note);
        row("four months over the new year", {"ハナ", "春", "白系", "キク型", "キク科", "キク科", "１１～２月に咲く。"}, note);
        row("whole year as the peak", {"ハナ", "夏", "白系", "キク型", "キク科", "キク科", "１～１２月に咲く。"}, note);
        row("no months", {"ハナ", "秋", "白系", "キク型", "キク科", "キク科", "夏に咲く。"}, note);
        row("a range that is a length", {"ハナ", "秋", "白系", "キク型", "キク科", "キク科", "花は５～７mm。"}, note);
        row("named family filed as その他", {"ハナ", "春", "白系", "キク型", "その他", "キク科", ""}, {"KA:BreaksRule"});
        row("full-width sedge family filed as その他", {"ハナ", "春", "その他", "穂型", "その他", "カヤツリグサ科", ""}, {"KA:BreaksRule"});
        row("named family shown as another", {"ハナ", "春", "白系", "キク型", "キク科", "ユリ科", ""}, {"KA2:BreaksRule"});
        row("half-width family shown full-width", {"ハナ", "春", "その他", "穂型", sedges, "カヤツリグサ科", ""}, none);
        row("white grass plume", {"ハナ", "春", "白系", "穂型", "イネ科", "イネ科", ""}, {"IRO:BreaksRule"});
        row("grass plume as その他", {"ハナ", "春", "その他", "穂型", "イネ科", "イネ科", ""}, none);
        row("orange filed red", {"ハナ", "春", "赤紫系", "花弁多数型", "その他", "ユリ科", "４～５月に咲く橙色の花。"}, {"IRO:BreaksRule"});
        row("red-orange filed yellow", {"ハナ", "春", "黄色系", "花弁多数型", "その他", "ユリ科", "４～５月に咲く橙赤色の花。"}, {"IRO:BreaksRule"});
        row("red-orange filed red", {"ハナ", "春", "赤紫系", "花弁多数型", "その他", "ユリ科", "４～５月に咲く朱赤色の花。"}, none);
        row("orange anthers of a green plume", {"ハナ", "春", "その他", "穂型", "イネ科", "イネ科", "４～５月に咲き、葯は橙色。"}, none);
        row("listed spike composite as キク型", {"アキノキリンソウ", "秋", "黄色系", "キク型", "キク科", "キク科", ""}, {"KABEN:BreaksRule"});
        row("listed spike composite as 穂型", {"アキノキリンソウ", "秋", "黄色系", "穂型", "キク科", "キク科", ""}, none);
        row("unlisted composite as 穂型", {"ヒメジョオン", "夏", "白系", "穂型", "キク科", "キク科", ""}, {"KABEN:BreaksRule"});
        row("listed bur as その他", {"オナモミ", "秋", "その他", "その他", "キク科", "キク科", ""}, none);
        row("listed bur as 穂型", {"オナモミ", "秋", "その他", "穂型", "キク科", "キク科", ""}, {"KABEN:BreaksRule"});
        row("a spike outside キク科 is no composite", {"ヨモギ", "秋", "その他", "その他", "その他", "ヨモギ科", ""}, none);
        const QStringList units{"NOTE:BreaksRule"};
        row("metres in katakana", {"ハナ", "春", "白系", "キク型", "キク科", "キク科", "４～５月に咲き、高さ１メートル。"}, units);
        row("centimetres in katakana", {"ハナ", "春", "白系", "キク型", "キク科", "キク科", "４～５月に咲き、径２センチ。"}, units);
        row("millimetres in katakana", {"ハナ", "春", "白系", "キク型", "キク科", "キク科", "４～５月に咲き、径５ミリ。"}, units);
        row("full-width cm", {"ハナ", "春", "白系", "キク型", "キク科", "キク科", "４～５月に咲き、径２ｃｍ。"}, units);
        row("full-width m", {"ハナ", "春", "白系", "キク型", "キク科", "キク科", "４～５月に咲き、高さ２ｍ。"}, units);
        row("cm, mm and m", {"ハナ", "春", "白系", "キク型", "キク科", "キク科", "４～５月に咲き、高さ１．５m、径２cm、実は５mm。"}, none);
    }
    // clang-format on
    void writtenRules()
    {
        QFETCH(QStringList, fields);
        QFETCH(QStringList, expected);
        FlowerRecord r = record(fields[0], fields[1], fields[2], fields[3], QStringLiteral("互生"), fields[4]);
        r.KA2 = fields[5];
        r.NOTE = fields[6].isEmpty() ? monthsOf(r.KISETU) : fields[6];
        const CatalogueChecker checker([](const QString&) { return true; });
        const CatalogueChecker::Report report = checker.check({r});
        QVERIFY(report.clean());  // the program handles the record either way
        QCOMPARE(summary(report.breaches), expected);
        QCOMPARE(report.keepsRules(), expected.isEmpty());
    }

    // Two records, NAMAE, KISETU and NOTE each; a breach is "NAME FIELD" of
    // the record it is reported on.
    // clang-format off
    void lookAlikes_data()
    {
        QTest::addColumn<QStringList>("a");
        QTest::addColumn<QStringList>("b");
        QTest::addColumn<QStringList>("expected");
        auto row = [](const char* tag, const QStringList& a, const QStringList& b, const QStringList& expected) {
            QTest::newRow(tag) << a << b << expected;
        };
        const QStringList early{"ノゲシ", "春", "４～６月に咲く。"};
        const QStringList late{"オニノゲシ", "夏", "７～８月に咲く。"};
        const QStringList none;
        row("named, same season", {"ノゲシ", "春", "４～６月に咲く。よく似たオニノゲシは葉のトゲが硬い。"},
            {"オニノゲシ", "春", "５～６月に咲く。"}, none);
        row("named, another season", {"ノゲシ", "春", "４～６月に咲く。よく似たオニノゲシは葉のトゲが硬い。"}, late,
            {"ノゲシ KISETU"});
        row("both name the other, another season", {"ノゲシ", "春", "４～６月に咲く。オニノゲシは葉のトゲが硬い。"},
            {"オニノゲシ", "夏", "７～８月に咲く。ノゲシは葉のトゲがやわらかい。"}, {"オニノゲシ KISETU", "ノゲシ KISETU"});
        row("one says the times differ, the other is silent", {"ノゲシ", "春", "４～６月に咲く。オニノゲシは花期が遅い。"},
            late, {"オニノゲシ NOTE"});
        row("both say the times differ", {"ノゲシ", "春", "４～６月に咲く。オニノゲシは花期が遅い。"},
            {"オニノゲシ", "夏", "７～８月に咲く。ノゲシより咲く時期が遅い。"}, none);
        row("季節 says it too", {"ノゲシ", "春", "４～６月に咲く。オニノゲシとは季節で見分ける。"},
            {"オニノゲシ", "夏", "７～８月に咲く。ノゲシとは季節で見分ける。"}, none);
        row("the flowering time in another sentence", {"ノゲシ", "春", "４～６月に咲き、花期は長い。オニノゲシは葉のトゲが硬い。"},
            {"オニノゲシ", "夏", "７～８月に咲く。ノゲシより花期が遅い。"}, {"ノゲシ KISETU"});
        row("a line break ends a sentence", {"ノゲシ", "春", "４～６月に咲き、花期は長い\nオニノゲシは葉のトゲが硬い。"},
            {"オニノゲシ", "夏", "７～８月に咲く。ノゲシより花期が遅い。"}, {"ノゲシ KISETU"});
        row("part of a longer name", early, {"アキノノゲシ", "秋", "９～１０月に咲く。オニノゲシにも似る。"}, none);
        row("a longer name ending in the prolonged sound mark", {"ハナ", "春", "４～６月に咲く。"},
            {"ハナー", "秋", "９～１０月に咲き、ハナーの花は白い。"}, none);
        row("a family, not a plant", {"セリ", "夏", "７～８月に咲く。"},
            {"ノダケ", "秋", "９～１１月に咲く。紫色の花のセリ科の草は少ない。"}, none);
        row("names separated by a middle dot", early,
            {"アキノノゲシ", "秋", "９～１０月に咲く。ノゲシ・オニノゲシより頭花が淡い。"}, {"アキノノゲシ KISETU"});
    }
    // clang-format on
    void lookAlikes()
    {
        QFETCH(QStringList, a);
        QFETCH(QStringList, b);
        QFETCH(QStringList, expected);
        QVector<FlowerRecord> rows;
        for (const QStringList& f : {a, b}) {
            FlowerRecord r = record(f[0], f[1]);
            r.NOTE = f[2];
            rows << r;
        }
        const CatalogueChecker checker([](const QString&) { return true; });
        const CatalogueChecker::Report report = checker.check(rows);
        QStringList found;
        for (const CatalogueChecker::Problem& p : report.breaches) {
            QCOMPARE(p.name, rows[p.row - 1].NAMAE);
            found << p.name + u' ' + p.field;
        }
        found.sort();
        QCOMPARE(found, expected);
    }

    // Look-alikes are compared among the records the program loads, and a
    // breach names the record's own row.
    void lookAlikesAmongTheLoadedRecords()
    {
        QVector<FlowerRecord> rows = validRecords(500);
        FlowerRecord leftOut = record(QStringLiteral("ワレモコウ"), QStringLiteral("秋"));  // last in name order
        leftOut.NOTE = QStringLiteral("９～１０月に咲く。ハナ1に似る。");
        FlowerRecord loaded = record(QStringLiteral("アカネ"), QStringLiteral("秋"));
        loaded.NOTE = QStringLiteral("９～１０月に咲く。ハナ2に似る。");
        rows.prepend(leftOut);
        rows << loaded;
        const CatalogueChecker checker([](const QString&) { return true; });
        const CatalogueChecker::Report report = checker.check(rows);
        QStringList found;
        for (const CatalogueChecker::Problem& p : report.breaches)
            if (p.field == QLatin1String("KISETU"))
                found << QStringLiteral("%1 %2").arg(p.row).arg(p.name);
        QCOMPARE(found, QStringList{"502 アカネ"});
    }

    void tooManyRecordsNamesWhatIsLeftOut()
    {
        QVector<FlowerRecord> rows = validRecords(500);
        rows.prepend(record(QStringLiteral("ワレモコウ")));  // last in name order, though first in the list
        const CatalogueChecker checker([](const QString&) { return true; });
        const CatalogueChecker::Report report = checker.check(rows);
        QCOMPARE(report.problems.size(), 1);
        QCOMPARE(report.problems[0].row, 0);
        QVERIFY2(report.problems[0].what.endsWith(QStringLiteral("leaves out: ワレモコウ")),
                 qPrintable(report.problems[0].what));
    }

    void indistinguishableGroups()
    {
        const QVector<FlowerRecord> rows = {
            record("アカネ", "秋", "白系", "その他", "輪生", "その他"),
            record("イヌタデ", "秋", "赤紫系", "穂型", "互生", "タデ科"),
            record("オオイヌタデ", "秋", "赤紫系", "穂型", "互生", "タデ科"),
            record("カントウタンポポ", "春", "黄色系", "タンポポ型", "根生", "キク科"),
            record("サクラタデ", "秋", "赤紫系", "穂型", "互生", "タデ科"),
            record("セイヨウタンポポ", "春", "黄色系", "タンポポ型", "根生", "キク科"),
            record("ブタナ", "夏", "黄色系", "タンポポ型", "根生", "キク科"),  // differs in season only
            record("ヤナギタデ", "秋", "赤紫系", "穂型", "互生", "タデ科"),
        };
        const CatalogueChecker checker([](const QString&) { return true; });
        const CatalogueChecker::Report report = checker.check(rows);
        QVERIFY(report.clean());
        QCOMPARE(report.groups.size(), 2);
        QCOMPARE(report.groups[0].names, QStringList({"イヌタデ", "オオイヌタデ", "サクラタデ", "ヤナギタデ"}));
        QCOMPARE(report.groups[0].attributes, QStringList({"秋", "赤紫系", "穂型", "互生", "タデ科"}));
        QCOMPARE(report.groups[1].names, QStringList({"カントウタンポポ", "セイヨウタンポポ"}));
    }

    // The file itself is checked too: damage that the program's read meets,
    // damage only SQLite's quick_check finds, a table that never ends, and
    // texts longer than the program reads.
    // clang-format off
    void fileDamage_data()
    {
        QTest::addColumn<QString>("fixture");
        QTest::addColumn<bool>("readStops");        // a problem says where reading stopped
        QTest::addColumn<bool>("quickCheckFinds");  // SQLite's quick_check reports damage
        QTest::addColumn<bool>("textsCut");         // a problem says texts were cut
        QTest::newRow("sound file") << "sound" << false << false << false;
        QTest::newRow("damaged table page") << "table page" << true << true << false;
        QTest::newRow("damaged index page") << "index page" << false << true << false;
        QTest::newRow("endless view") << "view" << true << false << false;
        QTest::newRow("huge texts") << "huge texts" << false << false << true;
    }
    // clang-format on
    void fileDamage()
    {
        QFETCH(QString, fixture);
        QFETCH(bool, readStops);
        QFETCH(bool, quickCheckFinds);
        QFETCH(bool, textsCut);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("SNH347.mdb"));
        if (fixture == "sound")
            QVERIFY(TestCatalogues::write(path, HostileCatalogues::manyRecords(339)));
        else if (fixture == "table page")
            QVERIFY(HostileCatalogues::damagedTablePage(path, 339));
        else if (fixture == "index page")
            QVERIFY(HostileCatalogues::damagedIndexPage(path, 339));
        else if (fixture == "huge texts")
            QVERIFY(HostileCatalogues::hugeTexts(path, 70000, false));
        else
            QVERIFY(HostileCatalogues::endlessView(path, false));

        const CatalogueChecker checker([](const QString&) { return true; });
        QString error;
        const std::optional<CatalogueChecker::Report> report = checker.checkFile(path, &error);
        QVERIFY2(report, qPrintable(error));
        QStringList damage;
        for (const CatalogueChecker::Problem& p : report->problems)
            if (p.fault == Fault::Damaged) {
                QCOMPARE(p.row, 0);  // about the whole catalogue
                damage << p.what;
            }
        QCOMPARE(damage.filter(QStringLiteral("reading stopped")).isEmpty(), !readStops);
        QCOMPARE(damage.filter(QStringLiteral("quick_check")).isEmpty(), !quickCheckFinds);
        QCOMPARE(damage.filter(QStringLiteral("27 texts are longer")).isEmpty(), !textsCut);
        QCOMPARE(report->clean(), fixture == "sound");
    }

    void unreadableFileIsNoReport()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("SNH347.mdb"));
        QVERIFY(HostileCatalogues::randomBytes(path));
        const CatalogueChecker checker([](const QString&) { return true; });
        QString error;
        QVERIFY(!checker.checkFile(path, &error));
        QCOMPARE(error, QStringLiteral("file is not a database"));
    }

    void valueCountsFlagRareValues()
    {
        QVector<FlowerRecord> rows = validRecords(3);  // 春 白系 花弁５枚型 互生 キク科
        rows << record("アキノハナ", "秋");
        const CatalogueChecker checker([](const QString&) { return true; });
        const CatalogueChecker::Report report = checker.check(rows);
        int total = 0;
        for (int k = 0; k < CategoryTables::kCategoryCount; ++k)
            total += CategoryTables::valueCount(k);
        QCOMPARE(report.valueCounts.size(), total);  // every stored value, even when unused
        auto count = [&](int k, const char* value) {
            for (const auto& v : report.valueCounts)
                if (v.category == k && v.value == QString::fromUtf8(value))
                    return std::pair(v.records, v.rare);
            return std::pair(-1, false);
        };
        QCOMPARE(count(0, "春"), std::pair(3, false));
        QCOMPARE(count(0, "秋"), std::pair(1, true));
        QCOMPARE(count(0, "夏"), std::pair(0, true));
        QCOMPARE(count(4, "キク科"), std::pair(4, false));
    }
};

QTEST_GUILESS_MAIN(CatalogueCheckerTest)
#include "CatalogueCheckerTest.moc"
