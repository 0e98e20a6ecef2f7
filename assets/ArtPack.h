#pragma once

#include <QByteArray>
#include <QHash>
#include <QImage>
#include <QList>
#include <QRect>
#include <QString>

// ButtonArt's pictures at one device pixel per logical pixel, drawn once by
// the build (tools/art_pack.cpp) and carried by the program as a resource,
// so that a start draws none of them: drawing the loading picture and the
// 190 looks of the buttons took most of the time before the first frame.
//
// A pack is a few atlases of raw premultiplied ARGB32 pixels, in the byte
// order of the machine that built them, and an index naming each atlas's
// size and each picture's atlas and place. The program's atlases are stored
// uncompressed, so that a picture is read where the resource lies, without
// decoding or copying. A program without the resource (the tests, the
// tools) finds nothing and ButtonArt draws.
class ArtPack {
public:
    struct Entry {
        QString key;
        QString atlas;  // the pictures needed together share one
        QImage image;
    };

    static constexpr const char* kIndexName = "index.txt";

    // The pack in folder (a folder or a resource path ending in "/"); empty
    // when there is none.
    explicit ArtPack(const QString& folder);

    // The picture stored under key (Format_ARGB32_Premultiplied), or a null
    // image. The first look at an atlas reads it.
    QImage find(const QString& key);
    bool isEmpty() const { return places_.isEmpty(); }

    // The program's own pack, from its resources; thread-safe.
    static QImage findInProgram(const QString& key);

    // Writes entries as a pack into folder: one raw atlas per atlas name and
    // the index.
    static bool write(const QList<Entry>& entries, const QString& folder);

private:
    struct Place {
        QString atlas;
        QRect rect;
    };
    struct Atlas {
        QSize size;
        QByteArray pixels;  // may point into the program's resources
        bool read = false;
    };

    QString folder_;
    QHash<QString, Place> places_;
    QHash<QString, Atlas> atlases_;
};
