// Draws a contact sheet of record plates so their look can be judged at a
// glance, and reports how long one full-size plate takes to paint.
//
//   illustrationsheet OUT.png [ROUNDS]
//
// The samples cover every petal form, colour group, leaf arrangement and
// season, plus two records that agree in every attribute and must still look
// different. Run with QT_QPA_PLATFORM=offscreen on a machine without a display.

#include "generators/FlowerIllustrator.h"

#include <QElapsedTimer>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QString>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

struct Sample {
    const char *name, *season, *colour, *form, *leaves, *family;
};

// name, season, colour, petal form, leaf arrangement, family
const std::vector<Sample> kSamples = {
    {"ナズナ", "春", "白系", "花弁４枚型", "根生", "アブラナ科"},
    {"セイヨウカラシナ", "春", "黄色系", "花弁４枚型", "互生", "アブラナ科"},
    {"ヨツバムグラ", "夏", "その他", "花弁４枚型", "輪生", "アカネ科"},
    {"ゲンノショウコ", "夏", "赤紫系", "花弁５枚型", "対生", "フウロソウ科"},
    {"ヘビイチゴ", "春", "黄色系", "花弁５枚型", "互生", "バラ科"},
    {"ハコベ", "春", "白系", "花弁５枚型", "対生", "ナデシコ科"},
    {"イチリンソウ", "春", "白系", "花弁多数型", "輪生", "キンポウゲ科"},
    {"ミスミソウ", "春", "青紫系", "花弁多数型", "根生", "キンポウゲ科"},
    {"タチツボスミレ", "春", "青紫系", "スミレ型", "根生", "スミレ科"},
    {"ツボスミレ", "春", "白系", "スミレ型", "互生", "スミレ科"},
    {"ホトケノザ", "春", "赤紫系", "唇型", "対生", "シソ科"},
    {"ウツボグサ", "夏", "青紫系", "唇型", "対生", "シソ科"},
    {"カラスノエンドウ", "春", "赤紫系", "マメ型", "互生", "マメ科"},
    {"ヌスビトハギ", "秋", "赤紫系", "マメ型", "互生", "マメ科"},
    {"セイヨウタンポポ", "春", "黄色系", "タンポポ型", "根生", "キク科"},
    {"ニガナ", "夏", "黄色系", "タンポポ型", "互生", "キク科"},
    {"ノコンギク", "秋", "青紫系", "キク型", "互生", "キク科"},
    {"ヒメジョオン", "夏", "白系", "キク型", "互生", "キク科"},
    {"ヘラバヒメジョオン", "夏", "白系", "キク型", "互生", "キク科"},
    {"イヌタデ", "秋", "赤紫系", "穂型", "互生", "タデ科"},
    {"エノコログサ", "秋", "その他", "穂型", "互生", "イネ科"},
    {"ツリガネニンジン", "秋", "青紫系", "その他", "輪生", "キキョウ科"},
    {"ワレモコウ", "秋", "その他", "その他", "互生", "バラ科"},
    {"ヤブジラミ", "夏", "白系", "その他", "互生", "セリ科"},
};

QImage drawSample(const Sample& s, QSize size)
{
    return FlowerIllustrator::draw(QString::fromUtf8(s.name), QString::fromUtf8(s.season), QString::fromUtf8(s.colour),
                                   QString::fromUtf8(s.form), QString::fromUtf8(s.leaves), QString::fromUtf8(s.family),
                                   size);
}

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
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s OUT.png [ROUNDS]\n", argv[0]);
        return 2;
    }
    const int rounds = argc > 2 ? std::max(1, std::atoi(argv[2])) : 3;
    const QSize full(640, 480);
    drawSample(kSamples.front(), full);  // warm up font loading

    std::vector<QImage> plates;
    QElapsedTimer timer;
    timer.start();
    for (int round = 0; round < rounds; ++round) {
        plates.clear();
        for (const Sample& s : kSamples)
            plates.push_back(drawSample(s, full));
    }
    const double perImage = double(timer.nsecsElapsed()) / 1e6 / double(rounds * kSamples.size());

    bool stable = true;
    for (size_t i = 0; i < kSamples.size(); ++i)
        stable = stable && drawSample(kSamples[i], full) == plates[i];

    if (!contactSheet(plates, 6).save(QString::fromLocal8Bit(argv[1]))) {
        std::fprintf(stderr, "cannot write %s\n", argv[1]);
        return 1;
    }
    std::printf("%zu plates, %.2f ms per 640x480 plate (average of %d rounds), repeat draws %s\n", kSamples.size(),
                perImage, rounds, stable ? "identical" : "DIFFER");
    return stable ? 0 : 1;
}
