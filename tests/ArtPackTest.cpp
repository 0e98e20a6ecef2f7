// The pictures the program carries ready-made must be the pictures ButtonArt
// draws, pixel for pixel; a pack that is missing or damaged yields nothing,
// so that ButtonArt draws instead.

#include "assets/ArtPack.h"
#include "assets/ButtonArt.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

class ArtPackTest : public QObject {
    Q_OBJECT

private slots:
    void packedPicturesAreTheDrawnOnes()
    {
        QTemporaryDir dir;
        const QList<ArtPack::Entry> drawn = ButtonArt::packContents();
        QVERIFY(ArtPack::write(drawn, dir.path()));
        ArtPack pack(dir.path() + u'/');
        QVERIFY(!pack.isEmpty());
        for (const ArtPack::Entry& e : drawn) {
            const QImage packed = pack.find(e.key);
            QCOMPARE(packed.format(), QImage::Format_ARGB32_Premultiplied);
            QCOMPARE(packed.devicePixelRatio(), 1.0);
            QVERIFY2(packed == e.image, qPrintable(e.key));
        }
        QVERIFY(pack.find(QStringLiteral("no such picture")).isNull());
    }

    // The pack holds scale 1 only; a screen of another ratio gets the
    // large pictures drawn at its scale, not the carried ones enlarged.
    void largePicturesAtScaleTwo_data()
    {
        QTest::addColumn<QImage>("picture");
        QTest::addColumn<QSize>("logicalSize");
        QTest::newRow("loading") << ButtonArt::loadingPicture(2) << QSize(400, 300);
        QTest::newRow("field") << ButtonArt::fieldBackground(2) << QSize(448, 444);
    }
    void largePicturesAtScaleTwo()
    {
        QFETCH(QImage, picture);
        QFETCH(QSize, logicalSize);
        QCOMPARE(picture.devicePixelRatio(), 2.0);
        QCOMPARE(picture.size(), logicalSize * 2);
    }

    // clang-format off
    void brokenPackYieldsNothing_data()
    {
        QTest::addColumn<QByteArray>("index");
        QTest::addColumn<int>("atlasBytes");  // -1: no atlas file
        const QByteArray atlas = "atlas a 16 16\n";
        QTest::newRow("no index") << QByteArray() << 16 * 16 * 4;
        QTest::newRow("place outside the atlas") << atlas + "picture a hand 0 0 64 64\n" << 16 * 16 * 4;
        QTest::newRow("atlas missing") << atlas + "picture a hand 0 0 8 8\n" << -1;
        QTest::newRow("atlas cut short") << atlas + "picture a hand 0 0 8 8\n" << 100;
        QTest::newRow("atlas not in the index") << QByteArray("picture a hand 0 0 8 8\n") << 16 * 16 * 4;
        QTest::newRow("index cut short") << atlas + "picture a hand 0 0" << 16 * 16 * 4;
    }
    // clang-format on
    void brokenPackYieldsNothing()
    {
        QFETCH(QByteArray, index);
        QFETCH(int, atlasBytes);
        QTemporaryDir dir;
        if (!index.isEmpty()) {
            QFile f(dir.filePath(QString::fromLatin1(ArtPack::kIndexName)));
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(index);
        }
        if (atlasBytes >= 0) {
            QFile f(dir.filePath(QStringLiteral("a.raw")));
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(QByteArray(atlasBytes, '\x7f'));
        }
        ArtPack pack(dir.path() + u'/');
        QVERIFY(pack.find(QStringLiteral("hand")).isNull());
    }
};

QTEST_MAIN(ArtPackTest)
#include "ArtPackTest.moc"
