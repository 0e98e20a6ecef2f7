// Thumbnail drawing against the floor of decoding the same JPEG files at
// reduced size with libjpeg: 16 matches (every one drawn), all matches (only
// the first page drawn, the rest only listed) and from the two the cost of a
// list position that draws nothing; one page redraw; peak memory with the
// whole catalogue drawn and twenty photo windows open. Prints one line per
// figure; each drawing is the median of several runs.
//
// The drawing is timed from the command to its end in the event loop.
//
// usage: gallery_bench [records=500] [runs=5]

#include "PeakMemory.h"
#include "catalogue/CatalogueStore.h"
#include "generators/AttributeForm.h"
#include "generators/FlowerIllustrator.h"
#include "mainwindow/MainWindow.h"
#include "mainwindow/PhotoWindows.h"
#include "platform/fake/FakePlatform.h"
#include "session/AppContext.h"
#include "session/BrowserSession.h"
#include "session/GalleryModel.h"
#include "support/TestCatalogues.h"
#include "widgets/PictureButton.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QMouseEvent>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <jpeglib.h>

namespace {

// Milliseconds from the command until the drawing it started has ended.
double timeDrawing(BrowserSession& s, const std::function<void()>& command)
{
    QElapsedTimer t;
    t.start();
    command();
    while (s.drawing())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    return t.nsecsElapsed() / 1e6;
}

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

void shiftClick(QWidget* w)
{
    const QPoint pos(10, 10);
    for (QEvent::Type type : {QEvent::MouseMove, QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
        const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
        const Qt::MouseButtons held = type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton;
        QMouseEvent e(type, QPointF(pos), QPointF(w->mapToGlobal(pos)), button, held, Qt::ShiftModifier);
        QApplication::sendEvent(w, &e);
    }
}

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
    std::vector<unsigned char> row(size_t(cinfo.output_width) * size_t(cinfo.output_components));
    while (cinfo.output_scanline < cinfo.output_height) {
        unsigned char* p = row.data();
        jpeg_read_scanlines(&cinfo, &p, 1);
    }
    jpeg_finish_decompress(&cinfo);
    jpeg_destroy_decompress(&cinfo);
}

}  // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int records = std::max(16, argc > 1 ? atoi(argv[1]) : 500);
    const int runs = std::max(1, argc > 2 ? atoi(argv[2]) : 5);
    QTemporaryDir dir;
    const QString appPath = dir.path() + u'/';
    QDir().mkpath(appPath + QStringLiteral("data"));

    // 1600 x 1200 photographs: twenty distinct plates, shared by the records.
    QVector<QByteArray> jpegs;
    for (int i = 0; i < 20; ++i) {
        const FlowerRecord r = TestCatalogues::record(QStringLiteral("ベンチ%1").arg(i), "夏", "黄色系", "キク型");
        const QImage img = FlowerIllustrator::draw(r, AttributeForm::guess(r), QSize(1600, 1200));
        QFile f(appPath + QStringLiteral("plate.jpg"));
        f.open(QIODevice::WriteOnly);
        img.save(&f, "JPG", 90);
        f.close();
        f.open(QIODevice::ReadOnly);
        jpegs << f.readAll();
    }
    QVector<FlowerRecord> recs;
    for (int i = 0; i < records; ++i) {
        // Sixteen spring flowers spread over the catalogue, the rest summer.
        const bool spring = i % (records / 16) == 0 && i / (records / 16) < 16;
        FlowerRecord r = TestCatalogues::record(QStringLiteral("ハナ%1").arg(i, 3, 10, QLatin1Char('0')),
                                                spring ? QStringLiteral("春") : QStringLiteral("夏"));
        r.SYASIN = QStringLiteral("p%1.jpg").arg(i);
        QFile f(appPath + QStringLiteral("data/") + r.SYASIN);
        f.open(QIODevice::WriteOnly);
        f.write(jpegs[i % jpegs.size()]);
        recs << r;
    }
    TestCatalogues::write(appPath + QStringLiteral("SNH347.mdb"), recs);

    QElapsedTimer t;
    t.start();
    for (int i = 0; i < records; ++i)
        decodeReduced(jpegs[i % jpegs.size()], 113, 85);
    const double floorMs = t.nsecsElapsed() / 1e6 / records;

    FakePlatform fake;
    AppContext ctx(appPath, fake.platform);
    CatalogueStore::load(appPath + QStringLiteral("SNH347.mdb"), ctx.catalogue());
    MainWindow window(ctx);
    window.catalogueLoaded();
    window.show();
    const MainControls& f = window.controls();
    BrowserSession& s = window.session();
    s.strips().stopWelcome();
    window.setPointerWatch(false);
    QApplication::processEvents();

    auto clear = [&] { s.clear(); };
    auto sixteen = [&] { shiftClick(f.attr[0][0]); };
    auto all = [&] { s.showAll(); };
    timeDrawing(s, sixteen);  // warms the code and the file cache
    clear();
    std::vector<double> sixteenRuns, allRuns;
    for (int run = 0; run < runs; ++run) {
        sixteenRuns.push_back(timeDrawing(s, sixteen));
        if (s.gallery().drawnCount() != 16)
            std::fprintf(stderr, "16 matches drew %d\n", s.gallery().drawnCount());
        clear();
        allRuns.push_back(timeDrawing(s, all));
        if (s.gallery().drawnCount() != records)
            std::fprintf(stderr, "all matches drew %d\n", s.gallery().drawnCount());
        if (run + 1 < runs)
            clear();
    }
    const double sixteenMs = median(sixteenRuns);
    const double allMs = median(allRuns);
    // Only the first page gets pictures while drawing; the rest goes into the table.
    const double drawMs = allMs / 16;
    const double emptyUs = (allMs - sixteenMs) * 1000 / (records - 16);

    // The same two drawings with the data folder away: the decoding, whose
    // time varies most, drops out of the difference.
    clear();
    QDir(appPath).rename(QStringLiteral("data"), QStringLiteral("away"));
    std::vector<double> bareRuns, bareSixteenRuns;
    for (int run = 0; run < runs; ++run) {
        const double few = timeDrawing(s, sixteen);
        bareSixteenRuns.push_back(few);
        clear();
        bareRuns.push_back((timeDrawing(s, all) - few) * 1000 / (records - 16));
        clear();
    }
    const double bareUs = median(bareRuns);
    const double bareSixteenMs = median(bareSixteenRuns);
    QDir(appPath).rename(QStringLiteral("away"), QStringLiteral("data"));
    timeDrawing(s, all);

    const int pages = std::max(1, f.galleryScroll->maximum() / 436);
    t.restart();
    for (int p = 1; p <= pages; ++p)
        f.galleryScroll->setValue(p * 436);
    const double pageMs = t.nsecsElapsed() / 1e6 / pages;
    // Back over the last pages: this result has shown them already.
    const int back = std::min(pages, 6);
    t.restart();
    for (int p = pages - 1; p >= pages - back; --p)
        f.galleryScroll->setValue(p * 436);
    const double seenPageMs = t.nsecsElapsed() / 1e6 / back;

    f.galleryScroll->setValue(0);
    for (int i = 0; i < 16 && i < records; ++i)
        window.session().openPhoto(i);
    f.galleryScroll->setValue(436);
    for (int i = 0; i < 4 && i + 16 < records; ++i)
        window.session().openPhoto(i);
    QApplication::processEvents();

    std::printf("records                      %d (1600x1200 JPEG)\n", records);
    std::printf("libjpeg reduced decode floor %.3f ms per picture\n", floorMs);
    std::printf("drawing 16 matches           %.1f ms in all, %.3f ms per thumbnail (%.2f x floor)\n", sixteenMs,
                sixteenMs / 16, sixteenMs / 16 / floorMs);
    std::printf("drawing 16 without pictures  %.1f ms in all (the work around the decoding)\n", bareSixteenMs);
    std::printf("drawing all matches          %.1f ms in all, %.3f ms per drawn thumbnail (%.2f x floor)\n", allMs,
                drawMs, drawMs / floorMs);
    std::printf("list position drawing nothing %.1f us ((all - 16) / %d positions); %.1f us without pictures\n",
                emptyUs, records - 16, bareUs);
    std::printf("page redraw (16 cells)       %.2f ms, %.3f ms per thumbnail (%.2f x floor)\n", pageMs, pageMs / 16,
                pageMs / 16 / floorMs);
    std::printf("page redraw, seen before     %.2f ms (%d pages back)\n", seenPageMs, back);
    std::printf("photo windows open           %d\n", window.session().photos().openCount());
    std::printf("peak memory                  %.1f MB\n", peakKiB() / 1024.0);
    return 0;
}
