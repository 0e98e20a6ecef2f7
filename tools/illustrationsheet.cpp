// Draws a contact sheet of record plates so their look can be judged at a
// glance, reports how long one full-size plate takes to paint, and checks
// that drawing a plate again gives the same pixels.
//
//   illustrationsheet CATALOGUE_SOURCE_DIR FORMS_DIR OUT.png [ROUNDS]
//
// The samples are the plates that were once drawn wrong (a vetch, a
// tick-trefoil, the plantain, the fleabanes, a dandelion, the dayflower,
// the dogtooth violet, the golden-rayed lily, a hanging bellflower) and one
// of each habit. Run with QT_QPA_PLATFORM=offscreen on a machine without a
// display.

#include "generators/AttributeForm.h"
#include "generators/CatalogueSource.h"
#include "generators/FlowerIllustrator.h"
#include "generators/FormSource.h"

#include <QElapsedTimer>
#include <QGuiApplication>
#include <QHash>
#include <QImage>
#include <QPainter>
#include <QString>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

const char* const kSamples[] = {
    "カラスノエンドウ", "ヌスビトハギ",   "オオバコ",       "ハルジオン",   "ヒメジョオン",
    "セイヨウタンポポ", "ツユクサ",       "カタクリ",       "ヤマユリ",     "ホウチャクソウ",
    "シロツメクサ",     "ヤエムグラ",     "ヒルガオ",       "エノコログサ", "カヤツリグサ",
    "ツリガネニンジン", "ゲンノショウコ", "タチツボスミレ", "ホトケノザ",   "ヤブジラミ",
    "オモダカ",         "ヒシ",           "カラスウリ",     "ノアザミ",
};

QImage contactSheet(const std::vector<QImage>& plates, int columns)
{
    const QSize cell(320, 240);
    const int gap = 6, rows = (int(plates.size()) + columns - 1) / columns;
    QImage sheet(columns * (cell.width() + gap) + gap, rows * (cell.height() + gap) + gap, QImage::Format_RGB32);
    sheet.fill(QColor(0x30, 0x30, 0x2c));
    QPainter p(&sheet);
    for (size_t i = 0; i < plates.size(); ++i) {
        const int col = int(i) % columns, row = int(i) / columns;
        const QPoint at(gap + col * (cell.width() + gap), gap + row * (cell.height() + gap));
        p.drawImage(at, plates[i].scaled(cell, Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
    }
    return sheet;
}

}  // namespace

int main(int argc, char** argv)
{
    QGuiApplication app(argc, argv);
    if (argc < 4) {
        std::fprintf(stderr, "usage: %s CATALOGUE_SOURCE_DIR FORMS_DIR OUT.png [ROUNDS]\n", argv[0]);
        return 2;
    }
    const int rounds = argc > 4 ? std::max(1, std::atoi(argv[4])) : 3;
    const CatalogueSource::Result source = CatalogueSource::readFolder(QString::fromLocal8Bit(argv[1]));
    const QHash<QString, PlantForm> forms = FormSource::readFolder(QString::fromLocal8Bit(argv[2])).byName();
    std::vector<std::pair<FlowerRecord, PlantForm>> samples;
    for (const char* name : kSamples)
        for (const FlowerRecord& r : source.records)
            if (r.NAMAE == QString::fromUtf8(name))
                samples.push_back({r, forms.value(r.NAMAE, AttributeForm::guess(r))});
    if (samples.empty()) {
        std::fprintf(stderr, "none of the sample records is in %s\n", argv[1]);
        return 1;
    }
    FlowerIllustrator::draw(samples.front().first, samples.front().second);  // warm up font loading

    std::vector<QImage> plates;
    QElapsedTimer timer;
    timer.start();
    for (int round = 0; round < rounds; ++round) {
        plates.clear();
        for (const auto& [record, form] : samples)
            plates.push_back(FlowerIllustrator::draw(record, form));
    }
    const double perImage = double(timer.nsecsElapsed()) / 1e6 / double(rounds * samples.size());

    bool stable = true;
    for (size_t i = 0; i < samples.size(); ++i)
        stable = stable && FlowerIllustrator::draw(samples[i].first, samples[i].second) == plates[i];

    if (!contactSheet(plates, 6).save(QString::fromLocal8Bit(argv[3]))) {
        std::fprintf(stderr, "cannot write %s\n", argv[3]);
        return 1;
    }
    std::printf("%zu plates, %.2f ms per 640x480 plate (average of %d rounds), repeat draws %s\n", samples.size(),
                perImage, rounds, stable ? "identical" : "DIFFER");
    return stable ? 0 : 1;
}
