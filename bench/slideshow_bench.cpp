// Slide changes of a full-screen show of 6000 x 4000 JPEG photographs on a
// 1920 x 1080 screen: the time from the timer's step to the new slide
// painted, median and worst, with the next picture decoded ahead and without,
// side by side in one run.
//
// usage: slideshow_bench [slides=50] [interval_ms=1000]

#include "PeakMemory.h"
#include "generators/AttributeForm.h"
#include "generators/FlowerIllustrator.h"
#include "platform/fake/FakePlatform.h"
#include "session/AppContext.h"
#include "slideshow/SlideshowMemory.h"
#include "slideshow/SlideshowWindow.h"
#include "support/TestCatalogues.h"

#include <QApplication>
#include <QBuffer>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QImageWriter>
#include <QPainter>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <random>
#include <vector>

namespace {

constexpr int kPlates = 5;

// A plate enlarged to camera size, with fine grain over it so that the file
// is as large and as slow to decode as a real photograph.
QByteArray photograph(int n)
{
    const char* seasons[] = {"春", "夏", "秋", "春", "夏"};
    const char* colours[] = {"白系", "黄色系", "赤・ピンク系", "青・紫系", "白系"};
    const FlowerRecord r = TestCatalogues::record(QStringLiteral("試料%1").arg(n), QString::fromUtf8(seasons[n]),
                                                  QString::fromUtf8(colours[n]));
    const QImage plate = FlowerIllustrator::draw(r, AttributeForm::guess(r));
    QImage big =
        plate.scaled(6000, 4000, Qt::IgnoreAspectRatio, Qt::SmoothTransformation).convertToFormat(QImage::Format_RGB32);
    std::minstd_rand rnd(n + 1);
    for (int y = 0; y < big.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(big.scanLine(y));
        for (int x = 0; x < big.width(); ++x) {
            const int d = int(rnd() % 25) - 12;
            const QRgb c = line[x];
            line[x] = qRgb(std::clamp(qRed(c) + d, 0, 255), std::clamp(qGreen(c) + d, 0, 255),
                           std::clamp(qBlue(c) + d, 0, 255));
        }
    }
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter w(&buffer, "jpg");
    w.setQuality(90);
    w.write(big);
    return bytes;
}

struct Figures {
    double median = 0;
    double worst = 0;
};

Figures run(AppContext& app, bool readAhead, int slides, int intervalMs)
{
    SlideshowMemory memory;
    SlideshowWindow::Options o;
    o.readAhead = readAhead;
    o.area = QRect(0, 0, 1920, 1080);
    o.stepMs = intervalMs;
    auto* w = new SlideshowWindow(app, SlideOrder::Kana, memory, nullptr, nullptr, o);
    w->begin();
    std::vector<double> ms;
    int seen = w->measuredChanges();
    while (int(ms.size()) < slides) {
        QApplication::processEvents(QEventLoop::WaitForMoreEvents);
        if (w->measuredChanges() != seen) {
            seen = w->measuredChanges();
            ms.push_back(w->lastChangeMs());
        }
    }
    w->quit();
    delete w;
    std::sort(ms.begin(), ms.end());
    return {ms[ms.size() / 2], ms.back()};
}

}  // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication qapp(argc, argv);
    const int slides = argc > 1 ? std::max(1, atoi(argv[1])) : 50;
    const int intervalMs = argc > 2 ? std::max(100, atoi(argv[2])) : 1000;

    QTemporaryDir dir;
    QDir().mkpath(dir.path() + QStringLiteral("/data"));
    FakePlatform fake;
    AppContext app(dir.path(), fake.platform);
    QElapsedTimer made;
    made.start();
    std::vector<QByteArray> plates;
    plates.reserve(size_t(kPlates));
    for (int n = 0; n < kPlates; ++n)
        plates.push_back(photograph(n));
    // One more slide than measured: the first is shown at the start.
    for (int i = 0; i <= slides; ++i) {
        FlowerRecord r = TestCatalogues::record(QStringLiteral("ハナ%1").arg(i, 3, 10, QLatin1Char('0')));
        r.SYASIN = QStringLiteral("photo%1.jpg").arg(i, 3, 10, QLatin1Char('0'));
        QFile f(app.pathOf(QStringLiteral("data/") + r.SYASIN));
        f.open(QIODevice::WriteOnly);
        f.write(plates[size_t(i % kPlates)]);
        app.catalogue().append(r);
    }
    std::printf("pictures: %d files of 6000 x 4000, %.1f MB each on average, made in %.1f s\n", slides + 1,
                double(plates[0].size() + plates[1].size()) / 2 / 1e6, made.elapsed() / 1000.0);
    std::printf("screen 1920 x 1080, %d slide changes every %d ms\n", slides, intervalMs);

    const Figures ahead = run(app, true, slides, intervalMs);
    const long peakAhead = peakKiB();
    const Figures direct = run(app, false, slides, intervalMs);
    std::printf("%-26s %10s %10s\n", "step to slide painted", "median ms", "worst ms");
    std::printf("%-26s %10.1f %10.1f\n", "with read-ahead", ahead.median, ahead.worst);
    std::printf("%-26s %10.1f %10.1f\n", "without read-ahead", direct.median, direct.worst);
    std::printf("peak memory after the read-ahead run: %.0f MB\n", peakAhead / 1024.0);
    return 0;
}
