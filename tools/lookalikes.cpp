// Lays out the plates of look-alikes side by side, one contact sheet per
// group, so that a person can judge whether each flower can be told from its
// nearest neighbours: the groups of records that share all five search
// attributes (the checker's indistinguishable groups), and each genus of
// the form descriptions (the 属 column). The plates are drawn as the
// application folder's are, with each record's name under its picture.
//
// usage: sonoha-lookalikes CATALOGUE_SOURCE_DIR FORMS_DIR OUT_DIR [options]
//   --cell W        width of a picture on the sheet (default 320; 100 shows thumbnails)
//   --hide-names    covers the name plates and writes numbers instead of names
//   --only A,B,...  one sheet of just these records, in this order
// Run with QT_QPA_PLATFORM=offscreen on a machine without a display.

#include "generators/AttributeForm.h"
#include "generators/CatalogueChecker.h"
#include "generators/CatalogueSource.h"
#include "generators/FlowerIllustrator.h"
#include "generators/FormSource.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFont>
#include <QGuiApplication>
#include <QHash>
#include <QImage>
#include <QMap>
#include <QPainter>
#include <QTextStream>
#include <algorithm>
#include <atomic>
#include <thread>

namespace {

struct Options {
    QString sourceDir, formsDir, outDir;
    int cell = 320;
    bool hideNames = false;
    QStringList only;
};

struct Group {
    QString file;  // without extension
    QString title;
    QStringList names;
};

QTextStream& err()
{
    static QTextStream s(stderr);
    return s;
}

std::optional<Options> parseArguments(const QStringList& args)
{
    if (args.size() < 4)
        return std::nullopt;
    Options o;
    o.sourceDir = args[1];
    o.formsDir = args[2];
    o.outDir = args[3];
    for (int i = 4; i < args.size(); ++i) {
        if (args[i] == QLatin1String("--cell") && i + 1 < args.size())
            o.cell = std::clamp(args[++i].toInt(), 60, 640);
        else if (args[i] == QLatin1String("--hide-names"))
            o.hideNames = true;
        else if (args[i] == QLatin1String("--only") && i + 1 < args.size())
            o.only = args[++i].split(u',', Qt::SkipEmptyParts);
        else
            return std::nullopt;
    }
    return o;
}

QVector<Group> groupsOf(const QVector<FlowerRecord>& records, const QHash<QString, PlantForm>& forms)
{
    QVector<Group> out;
    const CatalogueChecker checker([](const QString&) { return true; });
    int n = 0;
    for (const CatalogueChecker::Group& g : checker.check(records).groups)
        out.push_back({QStringLiteral("group-%1").arg(++n, 2, 10, QChar(u'0')), g.attributes.join(u' '), g.names});
    QMap<QString, QStringList> genera;
    for (const FlowerRecord& r : records)
        if (forms.contains(r.NAMAE))
            genera[forms[r.NAMAE].genus] << r.NAMAE;
    for (auto it = genera.cbegin(); it != genera.cend(); ++it)
        if (it.value().size() > 1)
            out.push_back({QStringLiteral("genus-") + it.key(), it.key(), it.value()});
    return out;
}

QImage plateFor(const FlowerRecord& r, const QHash<QString, PlantForm>& forms)
{
    const auto it = forms.constFind(r.NAMAE);
    return FlowerIllustrator::draw(r, it != forms.constEnd() ? *it : AttributeForm::guess(r));
}

// Drawn on both cores, as the application folder's plates are.
QVector<QImage> platesOf(const QVector<FlowerRecord>& members, const QHash<QString, PlantForm>& forms)
{
    QVector<QImage> plates(members.size());
    std::atomic<int> next{0};
    auto worker = [&] {
        for (int i = next++; i < members.size(); i = next++)
            plates[i] = plateFor(members[i], forms);
    };
    std::thread a(worker), b(worker);
    a.join();
    b.join();
    return plates;
}

QImage sheetOf(const Group& g, const QVector<QImage>& plates, const Options& o)
{
    const int columns = std::min<int>(int(plates.size()), o.cell >= 300 ? 4 : 8);
    const int rows = (int(plates.size()) + columns - 1) / columns;
    const int cellH = o.cell * 3 / 4, label = 22, gap = 8, title = 30;
    QImage sheet(columns * (o.cell + gap) + gap, title + rows * (cellH + label + gap) + gap, QImage::Format_RGB32);
    sheet.fill(QColor(0x30, 0x30, 0x2c));
    QPainter p(&sheet);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    QFont f(QStringLiteral("IPAPGothic"));
    f.setPixelSize(16);
    p.setFont(f);
    p.setPen(QColor(0xf0, 0xee, 0xe4));
    p.drawText(QRectF(gap, 0, sheet.width(), title), Qt::AlignVCenter, g.title);
    f.setPixelSize(o.cell >= 200 ? 15 : 11);
    p.setFont(f);
    for (int i = 0; i < plates.size(); ++i) {
        const QPoint at(gap + (i % columns) * (o.cell + gap), title + (i / columns) * (cellH + label + gap));
        QImage shown = plates[i];
        if (o.hideNames) {  // the name plate's corner, covered
            QPainter cover(&shown);
            cover.fillRect(QRect(0, shown.height() - 56, shown.width() / 2 + 40, 56), QColor(0x80, 0x80, 0x78));
        }
        p.drawImage(QRect(at, QSize(o.cell, cellH)),
                    shown.scaled(o.cell, cellH, Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
        const QString caption = o.hideNames ? QString::number(i + 1) : g.names[i];
        p.drawText(QRectF(at.x(), at.y() + cellH, o.cell, label), Qt::AlignCenter, caption);
    }
    return sheet;
}

}  // namespace

int main(int argc, char** argv)
{
    QGuiApplication app(argc, argv);
    const std::optional<Options> o = parseArguments(app.arguments());
    if (!o) {
        err() << "usage: sonoha-lookalikes CATALOGUE_SOURCE_DIR FORMS_DIR OUT_DIR [--cell W] [--hide-names] "
                 "[--only A,B,...]\n";
        return 2;
    }
    const CatalogueSource::Result source = CatalogueSource::readFolder(o->sourceDir);
    const QHash<QString, PlantForm> forms = FormSource::readFolder(o->formsDir).byName();
    QHash<QString, FlowerRecord> byName;
    for (const FlowerRecord& r : source.records)
        byName.insert(r.NAMAE, r);
    const QVector<Group> groups = o->only.isEmpty() ? groupsOf(source.records, forms)
                                                    : QVector<Group>{{QStringLiteral("chosen"), QString(), o->only}};
    QDir().mkpath(o->outDir);
    QElapsedTimer timer;
    timer.start();
    int drawn = 0;
    for (const Group& g : groups) {
        QVector<FlowerRecord> members;
        for (const QString& name : g.names)
            if (byName.contains(name))
                members << byName[name];
        const QVector<QImage> plates = platesOf(members, forms);
        drawn += int(plates.size());
        Group shown = g;
        shown.names.clear();
        for (const FlowerRecord& r : members)
            shown.names << r.NAMAE;
        const QString path = QDir(o->outDir).filePath(g.file + QStringLiteral(".png"));
        if (!sheetOf(shown, plates, *o).save(path)) {
            err() << "cannot write " << path << "\n";
            return 1;
        }
    }
    err() << groups.size() << " sheets, " << drawn << " plates in " << timer.elapsed() << " ms\n";
    return 0;
}
