#include "mainwindow/PhotoWindow.h"
#include "mainwindow/PhotoWindows.h"
#include "pictures/CoverSize.h"
#include "pictures/PictureFiles.h"
#include "pictures/PictureLoader.h"
#include "pictures/ThumbnailPrefetch.h"
#include "session/GalleryModel.h"
#include "tests/support/MainWindowFixture.h"
#include "tests/support/Metafiles.h"
#include "tests/support/WhenDrawn.h"
#include "widgets/HelpBox.h"
#include "widgets/NameLabel.h"
#include "widgets/PrintSurface.h"
#include "widgets/ProgressBox.h"
#include "widgets/ThumbnailCell.h"

#include <QBuffer>
#include <QLabel>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QSignalSpy>
#include <QtTest>
#include <zlib.h>

using TestCatalogues::record;
using MWF = MainWindowFixture;

namespace {

QVector<FlowerRecord> springFlowers(int n)
{
    QVector<FlowerRecord> recs;
    for (int i = 0; i < n; ++i)
        recs << record(QStringLiteral("ハナ%1").arg(i, 2, 10, QLatin1Char('0')));
    return recs;
}

// A PNG whose header claims a picture of w x h pixels; the pixel data is a
// few bytes only, as in a decompression bomb.
QByteArray pngClaiming(quint32 w, quint32 h)
{
    auto chunk = [](const char* type, const QByteArray& data) {
        QByteArray c;
        QDataStream s(&c, QIODevice::WriteOnly);
        s << quint32(data.size());
        QByteArray body = QByteArray(type, 4) + data;
        s.writeRawData(body.constData(), int(body.size()));
        s << quint32(crc32(0, reinterpret_cast<const Bytef*>(body.constData()), uInt(body.size())));
        return c;
    };
    QByteArray ihdr;
    QDataStream s(&ihdr, QIODevice::WriteOnly);
    s << w << h << quint8(8) << quint8(2) << quint8(0) << quint8(0) << quint8(0);
    return QByteArray("\x89PNG\r\n\x1a\n", 8) + chunk("IHDR", ihdr) + chunk("IDAT", QByteArray(16, '\0')) +
           chunk("IEND", QByteArray());
}

}  // namespace

class GalleryTest : public QObject {
    Q_OBJECT

private slots:
    // clang-format off
    void coverSize_data()
    {
        QTest::addColumn<QSize>("picture");
        QTest::addColumn<QSize>("drawn");
        QTest::newRow("exact cell") << QSize(100, 85) << QSize(100, 85);
        QTest::newRow("wide") << QSize(200, 100) << QSize(170, 85);
        QTest::newRow("tall") << QSize(100, 200) << QSize(100, 200);
        QTest::newRow("square") << QSize(80, 80) << QSize(100, 100);
        QTest::newRow("photo 4:3") << QSize(640, 480) << QSize(113, 85);
        QTest::newRow("half rounds to even") << QSize(41, 34) << QSize(102, 85);  // 102.5
    }
    // clang-format on
    void coverSize()
    {
        QFETCH(QSize, picture);
        QFETCH(QSize, drawn);
        QCOMPARE(CoverSize::rounded(picture), drawn);
    }

    // clang-format off
    void rangesAfterDrawing_data()
    {
        QTest::addColumn<int>("matches");
        QTest::addColumn<int>("cells");
        QTest::addColumn<int>("rows");
        QTest::addColumn<int>("range");
        QTest::newRow("none") << 0 << 0 << 0 << 0;
        QTest::newRow("5") << 5 << 5 << 1 << 0;
        QTest::newRow("16") << 16 << 16 << 4 << 0;
        QTest::newRow("17") << 17 << 16 << 4 << 436;
        QTest::newRow("33") << 33 << 16 << 8 << 872;
    }
    // clang-format on
    void rangesAfterDrawing()
    {
        QFETCH(int, matches);
        QFETCH(int, cells);
        QFETCH(int, rows);
        QFETCH(int, range);
        QVector<FlowerRecord> recs = springFlowers(matches);
        recs << record("アキノハナ", "秋");
        MWF fx(recs);
        const MainControls& f = fx.form();
        BrowserSession& s = fx.session();
        MWF::click(f.attr[0][matches ? 0 : 1], Qt::LeftButton, Qt::ShiftModifier);
        int shown = 0;
        for (ThumbnailCell* c : f.cellPictures)
            shown += c->isVisible() ? 1 : 0;
        QCOMPARE(shown, cells);
        QCOMPARE(s.gallery().drawnRows(), rows);
        QCOMPARE(f.galleryScroll->maximum(), range);
        QVERIFY(!f.progressBar->isVisible());
        if (!matches)
            QCOMPARE(f.messageStrip->text(), QStringLiteral("検索しましたが、条件に合う草花は見当たりませんでした。"));
    }

    void interruptAfterSixteenOfForty()
    {
        MWF fx(springFlowers(40));
        const MainControls& f = fx.form();
        BrowserSession& s = fx.session();
        MWF::click(f.attr[0][0]);
        // The pause button is clicked between two thumbnails, when 16 are drawn.
        const WhenDrawn pause(s, 16, [&] {
            MWF::move(f.thumbnailButton);
            MWF::press(f.thumbnailButton);
            MWF::release(f.thumbnailButton);
        });
        MWF::click(f.thumbnailButton);
        QCOMPARE(pause.drawnWhenActed(), 16);
        QCOMPARE(s.gallery().drawnCount(), 16);
        QCOMPARE(f.galleryScroll->maximum(), 0);
        QCOMPARE(f.messageStrip->text(), QStringLiteral("サムネイルの表示を中断しました。16/40枚。"));
        QVERIFY(f.progressBar->isVisible());
        QCOMPARE(f.progressBar->label(), QStringLiteral("43 %"));
        MWF::click(f.thumbnailButton);
        QCOMPARE(s.gallery().drawnCount(), 40);
        QCOMPARE(s.gallery().entry(16).NAMAE, QStringLiteral("ハナ16"));
        QCOMPARE(f.cellNames[15]->caption(), QStringLiteral("ハナ15"));  // nothing was cleared
    }

    void scrollingPagesTheTable()
    {
        MWF fx(springFlowers(17));
        const MainControls& f = fx.form();
        BrowserSession& s = fx.session();
        MWF::click(f.attr[0][0], Qt::LeftButton, Qt::ShiftModifier);
        f.galleryScroll->setValue(109);  // one row down
        QCOMPARE(f.cellNames[0]->caption(), QStringLiteral("ハナ04"));
        QCOMPARE(f.cellNames[12]->caption(), QStringLiteral("ハナ16"));
        QVERIFY(!f.cellPictures[13]->isVisible());
        f.galleryScroll->setValue(436);
        QCOMPARE(f.cellNames[0]->caption(), QStringLiteral("ハナ16"));
        QVERIFY(!f.cellNames[1]->isVisible());
        QCOMPARE(s.gallery().rangeTip(436), QStringLiteral("ハナ16 ～ ハナ16 "));
        QCOMPARE(s.gallery().rangeTip(0), QStringLiteral("ハナ00 ～ ハナ15 "));
    }

    // clang-format off
    void pictureLookup_data()
    {
        QTest::addColumn<QStringList>("files");
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("resolved");
        QTest::newRow("the stored jpg") << QStringList{"abc.jpg"} << "abc.jpg" << "abc.jpg";
        QTest::newRow("only a gif") << QStringList{"abc.gif"} << "abc.jpg" << "abc.gif";
        QTest::newRow("bmp before gif") << QStringList{"abc.gif", "abc.bmp"} << "abc.jpg" << "abc.bmp";
        QTest::newRow("nothing: wmf unchecked") << QStringList{} << "abc.jpg" << "abc.wmf";
        QTest::newRow("jpeg is not looked for") << QStringList{"abc.jpeg"} << "abc.jpeg" << "abc.wmf";
        QTest::newRow("base up to the first dot") << QStringList{"a.jpg"} << "a.b.png" << "a.jpg";
        QTest::newRow("no dot") << QStringList{"abc.jpg"} << "abc" << "abc.jpg";
    }
    // clang-format on
    void pictureLookup()
    {
        QFETCH(QStringList, files);
        QFETCH(QString, stored);
        QFETCH(QString, resolved);
        QTemporaryDir dir;
        QDir().mkpath(dir.filePath(QStringLiteral("data")));
        for (const QString& name : files)
            QFile(dir.filePath(QStringLiteral("data/") + name)).open(QIODevice::WriteOnly);
        PictureFiles pf(dir.path() + u'/');
        QCOMPARE(pf.resolvePictureFile(stored), resolved);
    }

    // Names as catalogues of other systems store them: "\" between folders,
    // letters in another case than on disk, and names that would lead out of
    // the data folder, which stand for no file.
    // clang-format off
    void storedNamesFromOtherSystems_data()
    {
        QTest::addColumn<QStringList>("files");
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("found");  // relative to data/, empty: none
        QTest::newRow("back-slash folder") << QStringList{"sub/s.jpg"} << "sub\\s.jpg" << "sub/s.jpg";
        QTest::newRow("camera upper case") << QStringList{"img_0012.jpg"} << "IMG_0012.JPG" << "img_0012.jpg";
        QTest::newRow("disk upper case") << QStringList{"IMG_0012.JPG"} << "img_0012.jpg" << "IMG_0012.JPG";
        QTest::newRow("folder case differs") << QStringList{"Sub/Dir/A.jpg"} << "SUB\\dir\\a.JPG" << "Sub/Dir/A.jpg";
        QTest::newRow("exact case first") << QStringList{"A.jpg", "a.jpg"} << "a.jpg" << "a.jpg";
        QTest::newRow("exact case first, upper") << QStringList{"a.jpg", "A.jpg"} << "A.jpg" << "A.jpg";
        QTest::newRow("parent folder") << QStringList{"sub/s.jpg"} << "..\\outside.jpg" << "";
        QTest::newRow("parent in the middle") << QStringList{"sub/s.jpg"} << "sub/../../outside.jpg" << "";
        QTest::newRow("parent back inside") << QStringList{"s.jpg"} << "sub/../s.jpg" << "";
        QTest::newRow("absolute") << QStringList{} << "/OUTSIDE" << "";
        QTest::newRow("drive letter") << QStringList{} << "C:\\outside.jpg" << "";
        QTest::newRow("link out of the folder") << QStringList{} << "link.jpg" << "";
        QTest::newRow("folder link out") << QStringList{} << "away\\outside.jpg" << "";
        QTest::newRow("link inside") << QStringList{"s.jpg"} << "inner.jpg" << "inner.jpg";
        QTest::newRow("a folder is no picture") << QStringList{"sub/s.jpg"} << "sub" << "";
        QTest::newRow("missing") << QStringList{} << "none.jpg" << "";
    }
    // clang-format on
    void storedNamesFromOtherSystems()
    {
        QFETCH(QStringList, files);
        QFETCH(QString, stored);
        QFETCH(QString, found);
        QTemporaryDir dir;
        const QString data = dir.filePath(QStringLiteral("data/"));
        QDir().mkpath(data);
        for (const QString& name : files) {
            QDir().mkpath(QFileInfo(data + name).path());
            QFile f(data + name);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(name.toUtf8());
        }
        QFile outside(dir.filePath(QStringLiteral("outside.jpg")));
        QVERIFY(outside.open(QIODevice::WriteOnly));
        QFile::link(outside.fileName(), data + QStringLiteral("link.jpg"));
        QFile::link(dir.path(), data + QStringLiteral("away"));
        QFile::link(data + QStringLiteral("s.jpg"), data + QStringLiteral("inner.jpg"));
        if (stored == QStringLiteral("/OUTSIDE"))
            stored = outside.fileName();
        PictureFiles pf(dir.path() + u'/');
        QCOMPARE(pf.locate(stored), found.isEmpty() ? QString() : data + found);
        QCOMPARE(pf.existsInData(stored), !found.isEmpty());
        QCOMPARE(QFileInfo(pf.dataPath(stored)).isFile(), !found.isEmpty());
    }

    // The gallery, the photo window and the history read a stored name the
    // same way: a sub-folder written with "\" and a case that differs from
    // the disk are found by all three; a name leading out of the data folder
    // is missing for all three.
    void oneLookupForGalleryPhotoWindowAndHistory()
    {
        QVector<FlowerRecord> recs = springFlowers(2);
        recs[0].SYASIN = QStringLiteral("Sub\\S.JPG");
        recs[1].SYASIN = QStringLiteral("../outside.jpg");
        MWF fx(recs);
        QDir().mkpath(fx.appPath() + QStringLiteral("data/sub"));
        fx.picture(QStringLiteral("sub/s.jpg"), QSize(200, 170), Qt::red);
        QImage away(QSize(200, 170), QImage::Format_RGB32);
        away.fill(Qt::blue);
        away.save(fx.appPath() + QStringLiteral("outside.jpg"));
        QImage noFile(QSize(100, 85), QImage::Format_RGB32);
        noFile.fill(Qt::white);
        noFile.save(fx.appPath() + QStringLiteral("NoFile.jpg"));
        const MainControls& f = fx.form();
        BrowserSession& s = fx.session();
        MWF::click(f.attr[0][0], Qt::LeftButton, Qt::ShiftModifier);
        QVERIFY(f.cellPictures[0]->grab().toImage().pixelColor(50, 40).red() > 200);
        const QColor second = f.cellPictures[1]->grab().toImage().pixelColor(50, 40);
        QVERIFY2(second.blue() > 200 && second.red() > 200, qPrintable(second.name()));  // the placeholder

        MWF::click(f.cellNames[0]);
        PhotoWindow* w = fx.window->photos().window(1);
        QVERIFY(w && w->isVisible());
        QVERIFY(fx.fake.messages.texts().isEmpty());
        QCOMPARE(w->photo()->image().size(), QSize(200, 170));
        MWF::click(f.cellNames[1]);
        QCOMPARE(fx.fake.messages.texts(),
                 QStringList({"画像ファイルがありません！", "続けますか？（「はい」で続行，「いいえ」で終了）"}));
        QVERIFY(fx.window->photos().window(2)->photo()->image().pixelColor(5, 5).blue() > 200);
        QVERIFY(fx.window->photos().window(2)->photo()->image().pixelColor(5, 5).red() > 200);

        fx.window->session().photos().closeAll();
        s.clear();
        fx.fake.messages.shown.clear();
        fx.window->session().openFromHistory(1);  // ハナ00, the sub-folder
        QVERIFY(fx.fake.messages.texts().isEmpty());
        QCOMPARE(fx.window->photos().window(1)->photo()->image().size(), QSize(200, 170));
        fx.window->session().openFromHistory(0);  // ハナ01, out of the folder
        QCOMPARE(fx.fake.messages.texts().size(), 2);
        const QImage shown = fx.window->photos().window(2)->photo()->image();
        QVERIFY2(shown.pixelColor(5, 5).red() > 200, "the placeholder, not the picture outside");
    }

    // A photo window, once drawn, leaves the photograph to its window's
    // backing store; drawn again, it reads the file once more, and a file
    // gone meanwhile leaves black, never a fault.
    void photoWindowsDrawAgainFromTheFile()
    {
        MWF fx(springFlowers(1));
        fx.picture(QStringLiteral("ハナ00.jpg"), QSize(200, 170), Qt::blue);
        MWF::click(fx.form().attr[0][0], Qt::LeftButton, Qt::ShiftModifier);
        MWF::click(fx.form().cellNames[0]);
        PhotoWindow* w = fx.window->photos().window(1);
        QVERIFY(w && QTest::qWaitForWindowExposed(w));
        QTRY_VERIFY(!w->photo()->holdsPixels());
        QVERIFY(w->grab().toImage().pixelColor(100, 85).blue() > 200);
        QVERIFY(!w->photo()->holdsPixels());
        QVERIFY(QFile::remove(fx.appPath() + QStringLiteral("data/ハナ00.jpg")));
        QCOMPARE(w->grab().toImage().pixelColor(100, 85), QColor(Qt::black));
    }

    // A history entry opens in its flower's catalogue slot: the window of
    // the flower in the slot of the entry's position stays as it is, and a
    // flower open from the gallery is brought forward rather than doubled.
    void historyOpensInTheFlowersOwnSlot()
    {
        MWF fx(springFlowers(4));
        for (int i = 0; i < 4; ++i)
            fx.picture(QStringLiteral("ハナ%1.jpg").arg(i, 2, 10, QLatin1Char('0')));
        const MainControls& f = fx.form();
        BrowserSession& s = fx.session();
        MWF::click(f.attr[0][0], Qt::LeftButton, Qt::ShiftModifier);
        MWF::click(f.cellNames[2]);  // ハナ02 in slot 3
        MWF::click(f.cellNames[0]);  // ハナ00 in slot 1
        QCOMPARE(s.history().entries().mid(0, 2), QStringList({"ハナ00", "ハナ02"}));
        s.history().push(QStringLiteral("ハナ03"));  // as from an earlier run
        s.history().push(QStringLiteral("ハナ01"));
        // Entry 1 is ハナ03, and slot 1 holds ハナ00's window.
        fx.window->session().openFromHistory(1);
        QCOMPARE(fx.window->photos().window(1)->windowTitle(), QStringLiteral("ハナ00   ― キク科 ―"));
        QVERIFY(fx.window->photos().window(1)->isVisible());
        QVERIFY(fx.window->photos().window(4) && fx.window->photos().window(4)->isVisible());
        QCOMPARE(fx.window->photos().window(4)->flowerName(), QStringLiteral("ハナ03"));
        QCOMPARE(f.cellNames[0]->colour(), NameLabel::kRed);
        QCOMPARE(fx.window->session().photos().openCount(), 3);
        // Entry 3 is ハナ02, open from the gallery in slot 3: brought forward.
        fx.window->session().openFromHistory(3);
        QCOMPARE(fx.window->session().photos().openCount(), 3);
        int shown = 0;
        for (int k = 0; k < PhotoWindows::kSlots; ++k)
            shown += fx.window->photos().window(k) && fx.window->photos().window(k)->isVisible() ? 1 : 0;
        QCOMPARE(shown, 3);
        // The gallery then opens the history's window in place, not a second one.
        MWF::click(f.cellNames[3]);
        QCOMPARE(fx.window->session().photos().openCount(), 3);
        QCOMPARE(f.cellNames[3]->colour(), NameLabel::kRed);
    }

    // The end of the program drops the read-ahead's work: a decode under way
    // gives up at its next read, nothing queued is started, and a picture
    // asked for afterwards is still decoded by the one who asks.
    void endingDropsTheReadAhead()
    {
        QTemporaryDir dir;
        QImage big(1600, 1200, QImage::Format_RGB32);
        big.fill(Qt::darkCyan);
        QStringList paths;
        for (int i = 0; i < 24; ++i) {
            paths << dir.filePath(QStringLiteral("p%1.png").arg(i));
            QVERIFY(big.save(paths.back()));
        }
        std::atomic<bool> cancel{true};
        const PictureLoader::Result cut = PictureLoader::loadCover(paths[0], QSize(100, 85), &cancel);
        QCOMPARE(cut.status, PictureLoader::Status::Unreadable);
        QVERIFY(cut.image.isNull());
        cancel = false;
        QCOMPARE(PictureLoader::loadCover(paths[0], QSize(100, 85), &cancel).status, PictureLoader::Status::Ok);

        ThumbnailPrefetch prefetch(QSize(100, 85));
        QSignalSpy decoded(&prefetch, &ThumbnailPrefetch::decoded);
        prefetch.start(paths);
        prefetch.stop();
        QVERIFY(prefetch.stopped());
        QCoreApplication::processEvents();
        const qsizetype afterStop = decoded.size();
        QVERIFY2(afterStop < paths.size(), "the queue was dropped");
        prefetch.start(paths);  // nothing is read ahead any more
        QTest::qWait(50);
        QCOMPARE(decoded.size(), afterStop);
        QCOMPARE(prefetch.take(paths[23]).status, PictureLoader::Status::Ok);

        // The main window's end stops its gallery's read-ahead.
        MWF fx(springFlowers(3));
        fx.window->close();
        QVERIFY(fx.session().gallery().readAheadStopped());
    }

    // A name wider than its 100-pixel label is shown cut short; its tooltip
    // begins with the whole name. A name that fits keeps the plain tooltip.
    void longNamesKeepTheirTextInTheTooltip()
    {
        const QString longName = QStringLiteral("ホソバノアマナミヤマハコベオオイヌノフグリ");
        QVector<FlowerRecord> recs{record(QStringLiteral("スミレ")), record(longName)};
        recs[1].KA = QStringLiteral("その他");
        recs[1].KA2 = QStringLiteral("ユリ科");
        MWF fx(recs);
        const MainControls& f = fx.form();
        MWF::click(f.attr[0][0], Qt::LeftButton, Qt::ShiftModifier);
        QCOMPARE(f.cellNames[0]->toolTip(), QStringLiteral("春，白系，花弁５枚型，互生，キク科"));
        QCOMPARE(f.cellNames[1]->toolTip(),
                 longName + QStringLiteral("\n春，白系，花弁５枚型，互生，その他（ユリ科）"));
    }

    // A Windows metafile, found by the lookup like any picture, is drawn at
    // the size it is shown; one that cannot be read shows the placeholder.
    void metafilesAreDrawn()
    {
        QVector<FlowerRecord> recs = springFlowers(2);
        recs[0].SYASIN = QStringLiteral("ハナ00.wmf");  // stored as a metafile
        MWF fx(recs);  // ハナ01.jpg is missing, a broken ハナ01.WMF is there
        QVERIFY(Metafiles::write(fx.appPath() + QStringLiteral("data/ハナ00.wmf"), QSize(640, 480), Qt::red));
        QFile broken(fx.appPath() + QStringLiteral("data/ハナ01.WMF"));
        QVERIFY(broken.open(QIODevice::WriteOnly));
        broken.write(QByteArray::fromHex("d7cdc69a0000") + QByteArray(40, '\x01'));
        broken.close();
        QImage noFile(QSize(100, 85), QImage::Format_RGB32);
        noFile.fill(Qt::white);
        noFile.save(fx.appPath() + QStringLiteral("NoFile.jpg"));
        const MainControls& f = fx.form();
        MWF::click(f.attr[0][0], Qt::LeftButton, Qt::ShiftModifier);
        QCOMPARE(f.cellPictures[0]->grab().toImage().pixelColor(50, 40), QColor(Qt::red));
        QCOMPARE(f.cellPictures[1]->grab().toImage().pixelColor(50, 40), QColor(Qt::white));
        MWF::click(f.cellNames[0]);
        const QImage photo = fx.window->photos().window(1)->photo()->image();
        QCOMPARE(photo.size(), QSize(640, 480));
        QCOMPARE(photo.pixelColor(320, 240), QColor(Qt::red));
        QVERIFY(fx.fake.messages.texts().isEmpty());
        const PictureLoader::Result cover =
            PictureLoader::loadCover(fx.appPath() + QStringLiteral("data/ハナ00.wmf"), QSize(100, 85));
        QCOMPARE(cover.status, PictureLoader::Status::Ok);
        QCOMPARE(cover.size, QSize(640, 480));
        QCOMPARE(cover.image.size(), QSize(100, 85));
        QCOMPARE(PictureLoader::load(fx.appPath() + QStringLiteral("data/ハナ01.WMF")).status,
                 PictureLoader::Status::Unreadable);
    }

    // A picture larger than the room it is shown in is read at the size
    // that fits, keeping its proportions; a smaller one at its own size.
    void picturesAreReadAtTheSizeTheyAreShown_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QSize>("own");
        QTest::addColumn<QSize>("room");
        QTest::addColumn<QSize>("shown");
        QTest::newRow("large jpeg") << "a.jpg" << QSize(1600, 1200) << QSize(800, 500) << QSize(666, 500);
        QTest::newRow("tall jpeg") << "b.jpg" << QSize(600, 1800) << QSize(800, 600) << QSize(200, 600);
        QTest::newRow("small jpeg") << "c.jpg" << QSize(300, 200) << QSize(800, 600) << QSize(300, 200);
        QTest::newRow("large png") << "d.png" << QSize(1000, 1000) << QSize(400, 300) << QSize(300, 300);
        QTest::newRow("no room") << "e.jpg" << QSize(1600, 1200) << QSize() << QSize(1600, 1200);
        QTest::newRow("metafile") << "f.wmf" << QSize(640, 480) << QSize(320, 320) << QSize(320, 240);
    }

    void picturesAreReadAtTheSizeTheyAreShown()
    {
        QFETCH(QString, file);
        QFETCH(QSize, own);
        QFETCH(QSize, room);
        QFETCH(QSize, shown);
        QTemporaryDir dir;
        const QString path = dir.filePath(file);
        if (file.endsWith(QLatin1String(".wmf"))) {
            QVERIFY(Metafiles::write(path, own, Qt::red));
        } else {
            QImage img(own, QImage::Format_RGB32);
            img.fill(Qt::red);
            QVERIFY(img.save(path));
        }
        const PictureLoader::Result r = PictureLoader::load(path, room);
        QCOMPARE(r.status, PictureLoader::Status::Ok);
        QCOMPARE(r.size, own);
        QCOMPARE(r.image.size(), shown);
        const QColor centre = r.image.pixelColor(shown.width() / 2, shown.height() / 2);
        QVERIFY2(centre.red() > 200 && centre.green() < 60, qPrintable(centre.name()));
    }

    // clang-format off
    void badPicturesNeverTakeTheProgramDown_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("readable");
        QImage img(640, 480, QImage::Format_RGB32);
        img.fill(Qt::red);
        QByteArray jpeg;
        QBuffer buf(&jpeg);
        buf.open(QIODevice::WriteOnly);
        img.save(&buf, "JPG");
        QTest::newRow("good jpeg") << jpeg << true;
        QTest::newRow("truncated jpeg") << jpeg.left(jpeg.size() / 3) << true;
        QTest::newRow("decompression bomb") << pngClaiming(60000, 60000) << false;
        QTest::newRow("not a picture") << QByteArray("hello") << false;
        QTest::newRow("empty file") << QByteArray() << false;
    }
    // clang-format on
    void badPicturesNeverTakeTheProgramDown()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(bool, readable);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("p.jpg"));
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(bytes);
        f.close();
        const auto cover = PictureLoader::loadCover(path, QSize(100, 85));
        const auto whole = PictureLoader::load(path);
        QCOMPARE(cover.status == PictureLoader::Status::Ok, readable);
        QCOMPARE(whole.status == PictureLoader::Status::Ok, readable);
        if (readable) {
            QCOMPARE(cover.image.size(), QSize(100, 85));
            QCOMPARE(whole.image.size(), QSize(640, 480));
        }
        QCOMPARE(PictureLoader::load(dir.filePath(QStringLiteral("missing.jpg"))).status,
                 PictureLoader::Status::Missing);
    }

    void portraitPhotosStandUpright()
    {
        // A 200 x 100 JPEG marked "rotate 90°" is a 100 x 200 portrait.
        QImage img(200, 100, QImage::Format_RGB32);
        img.fill(Qt::blue);
        QByteArray jpeg;
        QBuffer buf(&jpeg);
        buf.open(QIODevice::WriteOnly);
        img.save(&buf, "JPG");
        const QByteArray exif = QByteArray::fromHex("FFE10022457869660000"
                                                    "4D4D002A00000008"
                                                    "0001"
                                                    "011200030000000100060000"
                                                    "00000000");
        QTemporaryDir dir;
        QFile f(dir.filePath(QStringLiteral("r.jpg")));
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(jpeg.left(2) + exif + jpeg.mid(2));
        f.close();
        const auto whole = PictureLoader::load(f.fileName());
        QCOMPARE(whole.size, QSize(100, 200));
        const auto cover = PictureLoader::loadCover(f.fileName(), QSize(100, 85));
        QCOMPARE(cover.size, QSize(100, 200));
        QCOMPARE(cover.image.size(), QSize(100, 85));
    }

    void substitutePictureOnlyWhileDrawing()
    {
        MWF fx(springFlowers(20));
        fx.picture(QStringLiteral("ハナ00.bmp"), QSize(100, 85), Qt::magenta);
        fx.picture(QStringLiteral("ハナ17.jpg"), QSize(100, 85), Qt::cyan);
        QImage nofile(100, 85, QImage::Format_RGB32);
        nofile.fill(Qt::yellow);
        nofile.save(fx.appPath() + QStringLiteral("NoFile.jpg"));
        const MainControls& f = fx.form();
        MWF::click(f.attr[0][0], Qt::LeftButton, Qt::ShiftModifier);
        auto colourOf = [&](int cell) { return f.cellPictures[size_t(cell)]->grab().toImage().pixelColor(50, 40); };
        QVERIFY(colourOf(0).red() > 200 && colourOf(0).blue() > 200 && colourOf(0).green() < 60);  // the bmp
        QVERIFY(colourOf(1).red() > 200 && colourOf(1).green() > 200);  // NoFile
        f.galleryScroll->setValue(436);
        f.galleryScroll->setValue(0);
        QVERIFY(colourOf(0).red() > 200 && colourOf(0).green() > 200);  // the redraw does not look further
    }

    // clang-format off
    void cascade_data()
    {
        QTest::addColumn<int>("n");
        QTest::addColumn<QPoint>("pos");
        QTest::newRow("first") << 0 << QPoint(0, 0);
        QTest::newRow("third") << 2 << QPoint(0, 48);
        QTest::newRow("tenth") << 9 << QPoint(0, 216);
        QTest::newRow("eleventh") << 10 << QPoint(80, 0);
        QTest::newRow("twenty-second") << 21 << QPoint(160, 24);
    }
    // clang-format on
    void cascade()
    {
        QFETCH(int, n);
        QFETCH(QPoint, pos);
        QCOMPARE(PhotoWindows::cascadePosition(n, 24), pos);
    }

    void photoWindowsOpenAndClose()
    {
        MWF fx(springFlowers(5));
        fx.picture(QStringLiteral("ハナ01.jpg"), QSize(320, 200));
        fx.context->settings().writeClickSound(2);
        const MainControls& f = fx.form();
        BrowserSession& s = fx.session();
        MWF::click(f.attr[0][0], Qt::LeftButton, Qt::ShiftModifier);
        MWF::click(f.cellNames[1]);
        PhotoWindow* w = fx.window->photos().window(2);
        QVERIFY(w && w->isVisible());
        QCOMPARE(w->windowTitle(), QStringLiteral("ハナ01   ― キク科 ―"));
        QCOMPARE(w->size(), QSize(320, 200 + 102));  // the whole description shows
        QCOMPARE(w->note()->geometry(), QRect(0, 200, 320, 102));
        QCOMPARE(f.cellNames[1]->colour(), NameLabel::kRed);
        QCOMPARE(fx.fake.sound.log, QStringList{"play:Tyui.wav"});
        QCOMPARE(s.history().entry(0), QStringLiteral("ハナ01"));

        // A missing picture: the two questions, then the placeholder.
        MWF::click(f.cellNames[3]);
        QCOMPARE(fx.fake.messages.texts(),
                 QStringList({"画像ファイルがありません！", "続けますか？（「はい」で続行，「いいえ」で終了）"}));
        QCOMPARE(fx.window->session().photos().openCount(), 2);
        QCOMPARE(fx.window->photos().window(4)->pos(),
                 PhotoWindows::cascadePosition(1, fx.window->photos().frameHeight()));

        // A second click on a red name closes its window and opens nothing.
        MWF::click(f.cellNames[1]);
        QApplication::processEvents();
        QVERIFY(!fx.window->photos().window(2));
        QCOMPARE(fx.window->session().photos().openCount(), 1);
        QCOMPARE(f.cellNames[1]->colour(), NameLabel::kGreen);
        QVERIFY(!s.photos().shownInGallery(QStringLiteral("ハナ01")));
        QVERIFY(s.photos().shownInGallery(QStringLiteral("ハナ03")));
        MWF::click(f.cellNames[1]);  // open again, third position from the top (1 open + 1 closed)
        QCOMPARE(fx.window->photos().window(2)->pos(),
                 PhotoWindows::cascadePosition(2, fx.window->photos().frameHeight()));
        QCOMPARE(s.history().entries().mid(0, 3), QStringList({"ハナ01", "ハナ03", "ハナ01"}));
    }

    void answeringNoEndsThroughTheNormalShutdown()
    {
        MWF fx(springFlowers(3));
        const MainControls& f = fx.form();
        MWF::click(f.attr[0][0], Qt::LeftButton, Qt::ShiftModifier);
        MWF::click(f.cellNames[0]);  // opens with the placeholder after "はい"
        fx.fake.messages.answers = {MessageBoxes::Answer::Ok, MessageBoxes::Answer::No};
        MWF::click(f.cellNames[2]);
        QVERIFY(!fx.window->isVisible());
        QFile ini(fx.appPath() + QStringLiteral("SNH347.snh"));
        QVERIFY(ini.open(QIODevice::ReadOnly));
        QVERIFY(ini.readAll().contains(SettingsFile::encode(QStringLiteral("HisN0=ハナ00"))));
    }

    // The drawing takes one list position per pass of the event loop; what
    // the user does in between is handled before the next position.
    // clang-format off
    void userActsBetweenPositions_data()
    {
        QTest::addColumn<QString>("action");
        QTest::addColumn<int>("at");
        QTest::newRow("pause") << "pause" << 5;
        QTest::newRow("photo window") << "photo" << 5;
        QTest::newRow("scroll") << "scroll" << 20;
    }
    // clang-format on
    void userActsBetweenPositions()
    {
        QFETCH(QString, action);
        QFETCH(int, at);
        MWF fx(springFlowers(40));
        for (int i = 0; i < 20; ++i)
            fx.picture(QStringLiteral("ハナ%1.jpg").arg(i, 2, 10, QLatin1Char('0')));
        const MainControls& f = fx.form();
        BrowserSession& s = fx.session();
        const WhenDrawn user(s, at, [&] {
            QWidget* target = action == "pause" ? static_cast<QWidget*>(f.thumbnailButton) : f.cellPictures[2];
            if (action == "scroll") {
                f.galleryScroll->setValue(436);
                return;
            }
            MWF::move(target);
            MWF::press(target);
            MWF::release(target);  // pictures passed by the drawing are clickable
        });
        MWF::click(f.attr[0][0], Qt::LeftButton, Qt::ShiftModifier);
        QCOMPARE(user.drawnWhenActed(), at);
        if (action == "pause") {
            QCOMPARE(s.gallery().drawnCount(), at);  // stopped at the next position
            QVERIFY(s.suspended());
            QVERIFY(!s.drawing());
            QCOMPARE(f.messageStrip->text(), QStringLiteral("サムネイルの表示を中断しました。5/40枚。"));
            QCOMPARE(f.progressBar->label(), QStringLiteral("15 %"));
            return;
        }
        QCOMPARE(s.gallery().drawnCount(), 40);
        QCOMPARE(f.messageStrip->text(),
                 QStringLiteral("40枚あります。サムネイルのクリックで、写真と解説を表示します。"));
        if (action == "photo") {
            QCOMPARE(fx.window->session().photos().openCount(), 1);
            QCOMPARE(fx.window->photos().window(3)->flowerName(), QStringLiteral("ハナ02"));
            QCOMPARE(f.cellNames[2]->colour(), NameLabel::kRed);
        } else {
            // The page shown keeps filling its first hidden cells.
            QCOMPARE(f.galleryScroll->value(), 436);
            QCOMPARE(f.cellNames[0]->caption(), QStringLiteral("ハナ16"));
            QCOMPARE(f.cellNames[4]->caption(), QStringLiteral("ハナ20"));
            QCOMPARE(f.cellNames[15]->caption(), QStringLiteral("ハナ31"));
        }
    }

    // Closing the window stops the drawing at its next position; a window
    // torn down while pictures are still being decoded takes the drawing
    // with it.
    // clang-format off
    void closingTheWindowStopsTheDrawing_data()
    {
        QTest::addColumn<bool>("destroy");
        QTest::newRow("closed") << false;
        QTest::newRow("destroyed") << true;
    }
    // clang-format on
    void closingTheWindowStopsTheDrawing()
    {
        QFETCH(bool, destroy);
        MWF fx(springFlowers(40));
        for (int i = 0; i < 16; ++i)
            fx.picture(QStringLiteral("ハナ%1.jpg").arg(i, 2, 10, QLatin1Char('0')), QSize(1600, 1200));
        const MainControls& f = fx.form();
        BrowserSession& s = fx.session();
        const WhenDrawn closing(s, 5, [&] {
            if (destroy)
                fx.window.reset();
            else
                fx.window->close();
        });
        MWF::move(f.attr[0][0]);
        MWF::press(f.attr[0][0], Qt::LeftButton, QPoint(10, 10), Qt::ShiftModifier);
        MWF::release(f.attr[0][0], Qt::LeftButton, QPoint(10, 10), Qt::ShiftModifier);
        QTRY_VERIFY(closing.acted());
        if (destroy) {
            QTest::qWait(300);  // pictures decoded for the gone window arrive and are dropped
            return;
        }
        fx.waitForDrawing();
        QVERIFY(!fx.window->isVisible());
        QCOMPARE(s.gallery().drawnCount(), 5);
        QVERIFY(s.suspended());
        QCOMPARE(f.messageStrip->text(), QStringLiteral("サムネイルの表示を中断しました。5/40枚。"));
        QTest::qWait(20);  // the closing's own queued steps end here, not in the next window
    }

    // Pictures come from the read-ahead in any order; each lands in its own cell.
    void readAheadPicturesLandInTheirCells()
    {
        MWF fx(springFlowers(20));
        for (int i = 0; i < 20; ++i)
            fx.picture(QStringLiteral("ハナ%1.jpg").arg(i, 2, 10, QLatin1Char('0')), QSize(640, 480),
                       QColor::fromHsv(i * 18, 255, 255));
        const MainControls& f = fx.form();
        MWF::click(f.attr[0][0], Qt::LeftButton, Qt::ShiftModifier);
        for (int i = 0; i < 16; ++i) {
            const QColor c = f.cellPictures[size_t(i)]->grab().toImage().pixelColor(50, 40);
            QVERIFY2(std::abs(c.hsvHue() - i * 18) <= 6, qPrintable(QStringLiteral("cell %1").arg(i)));
        }
    }

    void historyOfARemovedFlowerSaysSo()
    {
        MWF fx(springFlowers(3));
        BrowserSession& s = fx.session();
        s.history().push(QStringLiteral("キエタハナ"));
        fx.window->session().openFromHistory(0);
        QCOMPARE(fx.fake.messages.texts(), QStringList{"「キエタハナ」は図鑑に登録されていません。"});
        QCOMPARE(fx.window->session().photos().openCount(), 0);
    }
};

QTEST_MAIN(GalleryTest)
#include "GalleryTest.moc"
