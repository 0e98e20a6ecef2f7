#include "pictures/PictureLoader.h"

#include "pictures/CancellableFile.h"
#include "pictures/CoverSize.h"
#include "pictures/MetafileRenderer.h"

#include <QFileInfo>
#include <QImageReader>

namespace {

bool rotated(const QImageReader& reader)
{
    return reader.transformation() & QImageIOHandler::TransformationRotate90;
}

constexpr double kLimitBytes = double(PictureLoader::kAllocationLimitMB) * 1024 * 1024;

// The decoded size must stay within the allocation limit.
bool fits(QSize size)
{
    return size.isValid() && double(size.width()) * size.height() * 4 <= kLimitBytes;
}

// A picture of extreme proportions is small on disk and as decoded, but its
// thumbnail, which covers the whole cell, would be enormous: a 1 x 65500
// strip is drawn 100 x 6550000. Such a picture counts as unreadable
// everywhere, so the gallery and the photo window agree about it. Measured
// in floating point, as the sides themselves can pass the int range.
bool drawable(QSize upright)
{
    if (!fits(upright))
        return false;
    const QSizeF cover = CoverSize::exact(upright);
    return cover.width() * cover.height() * 4 <= kLimitBytes;
}

// The size a picture is shown at in a room: its own, or reduced to fit.
QSize within(QSize own, QSize room)
{
    if (!room.isValid() || (own.width() <= room.width() && own.height() <= room.height()))
        return own;
    QSize fitted = own.scaled(room, Qt::KeepAspectRatio);
    return fitted.expandedTo(QSize(1, 1));
}

// A metafile is drawn straight at the size that covers the cell.
PictureLoader::Result coverOfMetafile(const QString& path, QSize cell)
{
    PictureLoader::Result r;
    r.status = PictureLoader::Status::Unreadable;
    QSize draw;
    const QImage image = MetafileRenderer::render(
        path,
        [&](QSize own) {
            if (!drawable(own))
                return QSize();
            draw = own == cell ? cell : CoverSize::rounded(own);
            return draw;
        },
        &r.size);
    if (image.isNull())
        return r;
    r.image = image.copy(0, 0, std::min(draw.width(), cell.width()), std::min(draw.height(), cell.height()));
    r.status = PictureLoader::Status::Ok;
    return r;
}

}  // namespace

void PictureLoader::init()
{
    // The limit is one value for the whole process; the read-ahead threads
    // decode at the same time, so it is set once, before any of them runs,
    // and never written again.
    static const bool once = [] {
        QImageReader::setAllocationLimit(kAllocationLimitMB);
        return true;
    }();
    Q_UNUSED(once);
}

PictureLoader::Result PictureLoader::load(const QString& path, QSize room)
{
    init();
    Result r;
    if (!QFileInfo(path).isFile())
        return r;
    r.status = Status::Unreadable;
    if (MetafileRenderer::isMetafile(path)) {
        // Drawn at its own size or the size that fits the room, within the
        // same limit as a bitmap.
        r.image = MetafileRenderer::render(
            path, [room](QSize own) { return drawable(own) ? within(own, room) : QSize(); }, &r.size);
        r.status = r.image.isNull() ? Status::Unreadable : Status::Ok;
        return r;
    }
    QImageReader reader(path);
    reader.setAutoTransform(true);
    const QSize stored = reader.size();
    const bool turn = rotated(reader);
    const QSize upright = turn ? stored.transposed() : stored;
    if (!drawable(upright))
        return r;
    const QSize draw = within(upright, room);
    // The scaled size is given before the rotation is applied.
    if (draw != upright && reader.supportsOption(QImageIOHandler::ScaledSize))
        reader.setScaledSize(turn ? draw.transposed() : draw);
    QImage image;
    if (!reader.read(&image) || image.isNull())
        return r;
    const bool reduced = draw != upright;
    if (reduced && image.size() != draw)
        image = image.scaled(draw, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    r.size = reduced ? upright : image.size();
    r.image = image;
    r.status = Status::Ok;
    return r;
}

PictureLoader::Result PictureLoader::loadCover(const QString& path, QSize cell, const std::atomic<bool>* cancel)
{
    init();
    Result r;
    if (!QFileInfo(path).isFile())
        return r;
    r.status = Status::Unreadable;
    if (MetafileRenderer::isMetafile(path))
        return coverOfMetafile(path, cell);
    CancellableFile file(path, cancel);
    if (!file.open(QIODevice::ReadOnly))
        return r;
    QImageReader reader(&file);
    reader.setAutoTransform(true);
    const QSize stored = reader.size();
    const bool turn = rotated(reader);
    const QSize upright = turn ? stored.transposed() : stored;
    // Even a reduced decode of a huge picture costs too much, and so does the
    // cover drawing of a long thin one: refuse both whole.
    if (!drawable(upright))
        return r;
    const QSize draw = upright == cell ? cell : CoverSize::rounded(upright);

    QImage image;
    if (reader.supportsOption(QImageIOHandler::ScaledSize)) {
        // The scaled size is given before the rotation is applied.
        reader.setScaledSize(turn ? draw.transposed() : draw);
        if (!reader.read(&image) || image.isNull())
            return r;
    } else {
        if (!reader.read(&image) || image.isNull())
            return r;
        image = image.scaled(draw, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    }
    if (cancel && cancel->load())
        return r;  // a decode cut short shows only part of the picture
    if (image.size() != draw)
        image = image.scaled(draw, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    r.image = image.copy(0, 0, std::min(draw.width(), cell.width()), std::min(draw.height(), cell.height()));
    r.size = upright;
    r.status = Status::Ok;
    return r;
}
