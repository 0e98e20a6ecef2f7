#include "assets/CursorFile.h"
#include "pictures/PictureLoader.h"
#include "platform/SdlAudio.h"
#include "platform/SdlLibrary.h"
#include "platform/SdlMusicPlayer.h"
#include "platform/SdlSoundPlayer.h"
#include "tests/support/FifoWatchdog.h"
#include "tests/support/MainWindowFixture.h"
#include "tests/support/Metafiles.h"

#include <QDataStream>
#include <QScrollBar>
#include <QtTest>

#include <sys/stat.h>

using TestCatalogues::record;

namespace {

// What a user or an accident can leave in place of one of the program's files.
enum class Stand { Good, Fifo, ZeroLink, Directory, Oversized };

bool writeFile(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

// Puts the good file, or what stands in its place, at path. An oversized
// file is the good one with the given padding behind it.
bool place(const QString& path, Stand stand, const QByteArray& good, qint64 padding)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    switch (stand) {
    case Stand::Good: return writeFile(path, good);
    case Stand::Fifo: return ::mkfifo(QFile::encodeName(path).constData(), 0600) == 0;
    case Stand::ZeroLink: return QFile::link(QStringLiteral("/dev/zero"), path);
    case Stand::Directory: return QDir().mkdir(path);
    case Stand::Oversized: return writeFile(path, good) && QFile(path).resize(good.size() + padding);
    }
    return false;
}

void addStandRows(const char* good)
{
    QTest::addColumn<Stand>("stand");
    QTest::newRow(good) << Stand::Good;
    QTest::newRow("FIFO with no writer") << Stand::Fifo;
    QTest::newRow("link to /dev/zero") << Stand::ZeroLink;
    QTest::newRow("directory") << Stand::Directory;
    QTest::newRow("oversized") << Stand::Oversized;
}

QByteArray cursorBytes()
{
    QImage img(32, 32, QImage::Format_ARGB32);
    img.fill(Qt::black);
    return CursorFile::write(img, QPoint(3, 4));
}

// A mono 16-bit WAV of the given number of samples (silence).
QByteArray wavBytes(quint32 samples)
{
    QByteArray wav;
    QDataStream s(&wav, QIODevice::WriteOnly);
    s.setByteOrder(QDataStream::LittleEndian);
    const quint32 data = samples * 2;
    s.writeRawData("RIFF", 4);
    s << quint32(36 + data);
    s.writeRawData("WAVEfmt ", 8);
    s << quint32(16) << quint16(1) << quint16(1) << quint32(22050) << quint32(44100) << quint16(2) << quint16(16);
    s.writeRawData("data", 4);
    s << data;
    return wav + QByteArray(qsizetype(data), '\0');
}

}  // namespace

Q_DECLARE_METATYPE(Stand)

// The program's own files replaced by things that never end, by folders or by
// huge files: the program goes on as if the file were missing, at once.
class HostileFilesTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { MainWindowFixture::quietOffscreenNotices(); }

    void scrollBarPointers_data() { addStandRows("cursor files"); }
    void scrollBarPointers()
    {
        QFETCH(Stand, stand);
        MainWindowFixture fx({record(QStringLiteral("アカネ"))});
        const QStringList files = {fx.appPath() + QStringLiteral("H_point.cur"),
                                   fx.appPath() + QStringLiteral("H_move.cur")};
        for (const QString& f : files)
            QVERIFY(place(f, stand, cursorBytes(), qint64(2) * 1024 * 1024));
        const FifoWatchdog watchdog(files);
        MainWindow window(*fx.context);
        QVERIFY2(!watchdog.fired(), "the set-up waited for a writer");
        const Qt::CursorShape expected = stand == Stand::Good ? Qt::BitmapCursor : Qt::ArrowCursor;
        QCOMPARE(window.scrollCursors().first.shape(), expected);
        QCOMPARE(window.scrollCursors().second.shape(), expected);
        QCOMPARE(window.controls().galleryScroll->cursor().shape(), expected);
    }

    void clickSounds_data() { addStandRows("short click"); }
    void clickSounds()
    {
        QFETCH(Stand, stand);
        SdlAudio audio;
        if (!audio.ensureOpen())
            QSKIP("no audio device, not even the dummy one");
        SdlSoundPlayer player(audio);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("sound/Pipi.wav"));
        // Oversized: a valid WAV with 17 MiB of sound, over six minutes.
        const QByteArray wav = wavBytes(stand == Stand::Oversized ? 17 * 1024 * 1024 / 2 : 2205);
        QVERIFY(place(path, stand, wav, 0));
        const FifoWatchdog watchdog({path});
        player.play(path);
        QVERIFY2(!watchdog.fired(), "the click waited for a writer");
        QCOMPARE(audio.sdl().Mix_Playing(SdlAudio::clickChannel) != 0, stand == Stand::Good);
        player.stopAll();
    }

    void music_data() { addStandRows("not music"); }
    void music()
    {
        QFETCH(Stand, stand);
        SdlAudio audio;
        if (!audio.ensureOpen())
            QSKIP("no audio device, not even the dummy one");
        SdlMusicPlayer player(audio);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("sound/bgm1.mid"));
        QVERIFY(place(path, stand, QByteArray("MThd"), qint64(8) * 1024 * 1024));
        const FifoWatchdog watchdog({path});
        QVERIFY(!player.open(path));
        QVERIFY2(!watchdog.fired(), "the music waited for a writer");
        QVERIFY(!player.isPlaying());
    }

    // A picture of extreme proportions is small on disk and when decoded,
    // but drawn to cover a thumbnail cell it would take gigabytes.
    // clang-format off
    void extremeProportions_data()
    {
        QTest::addColumn<QSize>("size");
        QTest::addColumn<bool>("readable");
        QTest::newRow("1 x 65500") << QSize(1, 65500) << false;
        QTest::newRow("65500 x 1") << QSize(65500, 1) << false;
        QTest::newRow("photo 640 x 480") << QSize(640, 480) << true;
        QTest::newRow("tall 300 x 2000") << QSize(300, 2000) << true;
    }
    // clang-format on
    void extremeProportions()
    {
        QFETCH(QSize, size);
        QFETCH(bool, readable);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("p.png"));
        QImage img(size, QImage::Format_RGB32);
        img.fill(Qt::darkGreen);
        QVERIFY(img.save(path));
        const auto expected = readable ? PictureLoader::Status::Ok : PictureLoader::Status::Unreadable;
        const auto cover = PictureLoader::loadCover(path, QSize(100, 85));
        QCOMPARE(cover.status, expected);
        QCOMPARE(cover.image.isNull(), !readable);
        const auto whole = PictureLoader::load(path);
        QCOMPARE(whole.status, expected);
        QCOMPARE(whole.image.isNull(), !readable);
        if (readable) {
            QCOMPARE(cover.image.size(), QSize(100, 85));
            QCOMPARE(whole.image.size(), size);
        }
    }

    // A metafile of a few dozen bytes can stretch one unit of its pen over
    // thousands of pixels; its thumbnail took minutes before the drawing had
    // a budget. Found by the picture loader's fuzz harness.
    // clang-format off
    void stretchedPenMetafile_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("coverReadable");
        QTest::newRow("rectangle, pen 4000 px tall")
            << QByteArray::fromHex("d7cdc69a000000000000" "3c002840a00500000800" "a552010009000003" "1d000000000006000000"
                                   "000005000000" "0c0228003c00" "050000000b020000" "0000070000001b04" "1e00320005000500"
                                   "030000000000")
            << false;
        QTest::newRow("plain rectangle") << QByteArray() << true;
    }
    // clang-format on
    void stretchedPenMetafile()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(bool, coverReadable);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("p.wmf"));
        if (bytes.isEmpty()) {
            QVERIFY(Metafiles::write(path, QSize(4, 1094), Qt::red));
        } else {
            QFile f(path);
            QVERIFY(f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size());
        }
        const auto cover = PictureLoader::loadCover(path, QSize(100, 85));
        QCOMPARE(cover.status, coverReadable ? PictureLoader::Status::Ok : PictureLoader::Status::Unreadable);
        // Drawn at its own size the same file is cheap, and shown.
        const auto whole = PictureLoader::load(path);
        QCOMPARE(whole.status, PictureLoader::Status::Ok);
        QCOMPARE(whole.image.size(), QSize(4, 1094));
    }
};

QTEST_MAIN(HostileFilesTest)
#include "HostileFilesTest.moc"
