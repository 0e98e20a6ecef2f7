#include "assets/ArtPack.h"

#include <QDir>
#include <QFile>
#include <QMutex>
#include <QResource>
#include <QSaveFile>
#include <QTextStream>
#include <algorithm>
#include <cstring>
#include <map>

namespace {

// An atlas's pixels: a resource stored uncompressed is used where it lies;
// a file (a pack the tests wrote) is read.
QByteArray atlasPixels(const QString& path)
{
    if (path.startsWith(u':')) {
        const QResource resource(path);
        if (resource.isValid() && resource.compressionAlgorithm() == QResource::NoCompression)
            return QByteArray::fromRawData(reinterpret_cast<const char*>(resource.data()), resource.size());
        return resource.uncompressedData();
    }
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

}  // namespace

ArtPack::ArtPack(const QString& folder)
    : folder_(folder)
{
    QFile index(folder_ + QString::fromLatin1(kIndexName));
    if (!index.open(QIODevice::ReadOnly | QIODevice::Text))
        return;
    QTextStream in(&index);
    while (!in.atEnd()) {
        // "atlas NAME W H" or "picture NAME KEY X Y W H"
        QString kind, atlas, key;
        int x = 0, y = 0, w = 0, h = 0;
        in >> kind >> atlas;
        if (kind == QLatin1String("atlas"))
            in >> w >> h;
        else
            in >> key >> x >> y >> w >> h;
        if (in.status() != QTextStream::Ok || w <= 0 || h <= 0)
            break;
        if (kind == QLatin1String("atlas"))
            atlases_.insert(atlas, {QSize(w, h), QByteArray(), false});
        else if (kind == QLatin1String("picture"))
            places_.insert(key, {atlas, QRect(x, y, w, h)});
        in.skipWhiteSpace();
    }
}

QImage ArtPack::find(const QString& key)
{
    const auto place = places_.constFind(key);
    if (place == places_.cend())
        return QImage();
    const auto found = atlases_.find(place->atlas);
    if (found == atlases_.end())
        return QImage();
    Atlas& atlas = *found;
    if (!atlas.read) {
        atlas.pixels = atlasPixels(folder_ + place->atlas + QStringLiteral(".raw"));
        atlas.read = true;
    }
    const qsizetype stride = qsizetype(atlas.size.width()) * 4;
    if (atlas.pixels.size() != stride * atlas.size.height() || !QRect(QPoint(), atlas.size).contains(place->rect))
        return QImage();
    // An image of its own: one over the atlas's bytes was taken over by the
    // platform's pixmap and cursor code, which freed memory it never owned
    // (a crash when the pointing hand was first set).
    const auto* first = reinterpret_cast<const uchar*>(atlas.pixels.constData()) + place->rect.y() * stride +
                        qsizetype(place->rect.x()) * 4;
    return QImage(first, place->rect.width(), place->rect.height(), stride, QImage::Format_ARGB32_Premultiplied).copy();
}

QImage ArtPack::findInProgram(const QString& key)
{
    static QMutex mutex;
    static ArtPack pack(QStringLiteral(":/sonoha/art/"));
    const QMutexLocker lock(&mutex);
    return pack.find(key);
}

bool ArtPack::write(const QList<Entry>& entries, const QString& folder)
{
    // Each atlas is a stack of shelves 1024 pixels wide, tallest first.
    constexpr int kWidth = 1024;
    std::map<QString, QList<const Entry*>> byAtlas;
    for (const Entry& e : entries)
        byAtlas[e.atlas] << &e;
    QString index;
    for (auto& [name, list] : byAtlas) {
        std::stable_sort(list.begin(), list.end(),
                         [](const Entry* a, const Entry* b) { return a->image.height() > b->image.height(); });
        QList<QRect> rects;
        int x = 0, y = 0, shelf = 0, width = 0;
        for (const Entry* e : list) {
            const QSize s = e->image.size();
            if (x > 0 && x + s.width() > kWidth) {
                x = 0;
                y += shelf;
                shelf = 0;
            }
            rects << QRect(QPoint(x, y), s);
            x += s.width();
            shelf = std::max(shelf, s.height());
            width = std::max(width, x);
        }
        QImage atlas(width, y + shelf, QImage::Format_ARGB32_Premultiplied);
        atlas.fill(Qt::transparent);
        index += QStringLiteral("atlas %1 %2 %3\n").arg(name).arg(atlas.width()).arg(atlas.height());
        for (qsizetype i = 0; i < list.size(); ++i) {
            const QImage image = list[i]->image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
            const QRect& r = rects[i];
            for (int row = 0; row < r.height(); ++row)
                std::memcpy(atlas.scanLine(r.y() + row) + qsizetype(r.x()) * 4, image.constScanLine(row),
                            size_t(r.width()) * 4);
            index += QStringLiteral("picture %1 %2 %3 %4 %5 %6\n")
                         .arg(name, list[i]->key)
                         .arg(r.x())
                         .arg(r.y())
                         .arg(r.width())
                         .arg(r.height());
        }
        QSaveFile raw(QDir(folder).filePath(name + QStringLiteral(".raw")));
        const auto bytes = qint64(atlas.sizeInBytes());
        if (!raw.open(QIODevice::WriteOnly) ||
            raw.write(reinterpret_cast<const char*>(atlas.constBits()), bytes) != bytes || !raw.commit())
            return false;
    }
    const QByteArray text = index.toUtf8();
    QSaveFile file(QDir(folder).filePath(QString::fromLatin1(kIndexName)));
    return file.open(QIODevice::WriteOnly) && file.write(text) == text.size() && file.commit();
}
