// Thumbnail drawing against the floor of decoding the same JPEG files at
// reduced size with libjpeg; one page redraw; peak memory with the whole
// catalogue drawn and twenty photo windows open. Prints one line per figure.
//
// usage: gallery_bench [records=500]

#include "session/AppContext.h"
#include "mainwindow/MainWindow.h"
#include "generators/FlowerIllustrator.h"
#include "catalogue/CatalogueStore.h"
#include "session/BrowserSession.h"
#include "session/GalleryModel.h"
#include "mainwindow/PhotoWindows.h"
#include "platform/fake/FakePlatform.h"
#include "support/TestCatalogues.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <vector>
#include <jpeglib.h>

namespace {

// The floor: libjpeg's own reduced-size decode (DCT scaling), the same the
// gallery asks for, without anything around it.
void decodeReduced(const QByteArray& data, int wantW, int wantH)
{
    jpeg_decompress_struct cinfo;
    jpeg_error_mgr jerr;
    cinfo.err = jpeg_std_error(&jerr);
    jpeg_create_decompress(&cinfo);
    jpeg_mem_src(&cinfo, reinterpret_cast<const unsigned char*>(data.constData()), data.size());
    jpeg_read_header(&cinfo, TRUE);
    cinfo.scale_num = 1;
    cinfo.scale_denom = 1;
    for (int d : {8, 4, 2})
        if (int(cinfo.image_width) / d >= wantW && int(cinfo.image_height) / d >= wantH) {
            cinfo.scale_denom = d;
            break;
        }
    jpeg_start_decompress(&cinfo);
    std::vector<unsigned char> row(cinfo.output_width * cinfo.output_components);
    while (cinfo.output_scanline < cinfo.output_height) {
        unsigned char* p = row.data();
        jpeg_read_scanlines(&cinfo, &p, 1);
    }
    jpeg_finish_decompress(&cinfo);
    jpeg_destroy_decompress(&cinfo);
}

long peakKiB()
{
    QFile f(QStringLiteral("/proc/self/status"));
    f.open(QIODevice::ReadOnly);
    for (const QByteArray& line : f.readAll().split('\n'))
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').first().toLong();
    return 0;
}

}  // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int records = argc > 1 ? atoi(argv[1]) : 500;
    QTemporaryDir dir;
    const QString appPath = dir.path() + u'/';
    QDir().mkpath(appPath + QStringLiteral("data"));

    // 1600 x 1200 photographs: twenty distinct plates, shared by the records.
    QVector<QByteArray> jpegs;
    for (int i = 0; i < 20; ++i) {
        const QImage img = FlowerIllustrator::draw(QStringLiteral("ベンチ%1").arg(i), "夏", "黄色系", "キク型", "互生",
                                                   "キク科", QSize(1600, 1200));
        QFile f(appPath + QStringLiteral("plate.jpg"));
        f.open(QIODevice::WriteOnly);
        img.save(&f, "JPG", 90);
        f.close();
        f.open(QIODevice::ReadOnly);
        jpegs << f.readAll();
    }
    // Two catalogues over the same pictures: 16 matches fill exactly the
    // first page; all records add positions that draw no picture.
    auto makeCatalogue = [&](const QString& folder, int count) {
        QDir().mkpath(folder + QStringLiteral("data"));
        QVector<FlowerRecord> recs;
        for (int i = 0; i < count; ++i) {
            FlowerRecord r = TestCatalogues::record(QStringLiteral("ハナ%1").arg(i, 3, 10, QLatin1Char('0')));
            r.SYASIN = QStringLiteral("p%1.jpg").arg(i);
            QFile f(folder + QStringLiteral("data/") + r.SYASIN);
            f.open(QIODevice::WriteOnly);
            f.write(jpegs[i % jpegs.size()]);
            recs << r;
        }
        TestCatalogues::write(folder + QStringLiteral("SNH347.mdb"), recs);
    };
    const QString pagePath = appPath + QStringLiteral("page/");
    makeCatalogue(appPath, records);
    makeCatalogue(pagePath, std::min(records, 16));

    QElapsedTimer t;
    t.start();
    for (int i = 0; i < records; ++i)
        decodeReduced(jpegs[i % jpegs.size()], 113, 85);
    const double floorMs = t.nsecsElapsed() / 1e6 / records;

    // All data drawn to the end, as the user waits for it. Past the first
    // page a list position draws no picture: the time from the sixteenth
    // thumbnail to the end is what those positions cost.
    double restMs = 0;
    auto drawAll = [&restMs](MainWindow& window) {
        QElapsedTimer clock;
        clock.start();
        qint64 pageDone = -1;
        window.session().showAll();
        while (window.session().drawing()) {
            QCoreApplication::processEvents();
            if (pageDone < 0 && window.session().gallery().drawnCount() >= 16)
                pageDone = clock.nsecsElapsed();
        }
        restMs = pageDone < 0 ? 0 : (clock.nsecsElapsed() - pageDone) / 1e6;
        return clock.nsecsElapsed() / 1e6;
    };
    FakePlatform fake;
    auto open = [&](const QString& folder) {
        auto ctx = std::make_unique<AppContext>(folder, fake.platform);
        CatalogueStore::load(folder + QStringLiteral("SNH347.mdb"), ctx->catalogue());
        auto window = std::make_unique<MainWindow>(*ctx);
        window->catalogueLoaded();
        window->show();
        window->session().stopWelcome();
        window->setPointerWatch(false);
        QApplication::processEvents();
        return std::make_pair(std::move(ctx), std::move(window));
    };

    // The median of several drawings, each from a cleared window, so that
    // neither the first decode's start-up nor a noisy moment decides.
    constexpr int kRuns = 7;
    auto median = [](std::vector<double> v) {
        std::sort(v.begin(), v.end());
        return v[v.size() / 2];
    };
    auto drawRuns = [&](MainWindow& window, std::vector<double>* rests) {
        std::vector<double> all;
        for (int run = 0; run < kRuns; ++run) {
            window.session().clear();
            QCoreApplication::processEvents();
            all.push_back(drawAll(window));
            if (rests)
                rests->push_back(restMs);
        }
        return median(all);
    };

    auto [pageCtx, pageWindow] = open(pagePath);
    const int pageCount = std::min(records, 16);
    const double pageDrawMs = drawRuns(*pageWindow, nullptr) / pageCount;
    pageWindow.reset();

    auto [ctx, windowPtr] = open(appPath);
    MainWindow& window = *windowPtr;
    const MainControls& f = window.controls();
    std::vector<double> rests;
    const double allMs = drawRuns(window, &rests);
    restMs = median(rests);
    // Only the first page gets pictures while drawing; the rest goes into the table.
    const double drawMs = allMs / std::min(records, 16);
    const double emptyPositionUs = records > 16 ? restMs * 1000 / (records - 16) : 0;

    const int pages = std::max(1, f.VScroll1->maximum() / 436);
    t.restart();
    for (int p = 1; p <= pages; ++p)
        f.VScroll1->setValue(p * 436);
    const double pageMs = t.nsecsElapsed() / 1e6 / pages;

    f.VScroll1->setValue(0);
    for (int i = 0; i < 16 && i < records; ++i)
        window.photos().PickGalleryCell(i);
    f.VScroll1->setValue(436);
    for (int i = 0; i < 4 && i + 16 < records; ++i)
        window.photos().PickGalleryCell(i);
    QApplication::processEvents();

    std::printf("records                      %d (1600x1200 JPEG)\n", records);
    std::printf("libjpeg reduced decode floor %.3f ms per picture\n", floorMs);
    std::printf("drawing 16 matches           %.3f ms per thumbnail (%.2f x floor)\n", pageDrawMs,
                pageDrawMs / floorMs);
    std::printf("drawing all matches          %.1f ms in all, %.3f ms per drawn thumbnail (%.2f x floor)\n", allMs,
                drawMs, drawMs / floorMs);
    std::printf("list position drawing none   %.1f us\n", emptyPositionUs);
    std::printf("page redraw (16 cells)       %.2f ms, %.3f ms per thumbnail (%.2f x floor)\n", pageMs, pageMs / 16,
                pageMs / 16 / floorMs);
    std::printf("photo windows open           %d\n", window.photos().OpenPhotoCount());
    std::printf("peak memory                  %.1f MB\n", peakKiB() / 1024.0);
    return 0;
}
