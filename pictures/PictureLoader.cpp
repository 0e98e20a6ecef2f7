#include "pictures/PictureLoader.h"

#include "pictures/CoverSize.h"

#include <QFileInfo>
#include <QImageReader>

namespace {

bool rotated(const QImageReader& reader)
{
    return reader.transformation() & QImageIOHandler::TransformationRotate90;
}

// The decoded size must stay within the allocation limit.
bool fits(QSize size)
{
    const qint64 bytes = qint64(size.width()) * size.height() * 4;
    return size.isValid() && bytes <= qint64(PictureLoader::kAllocationLimitMB) * 1024 * 1024;
}

}  // namespace

PictureLoader::Result PictureLoader::load(const QString& path)
{
    Result r;
    if (!QFileInfo(path).isFile())
        return r;
    QImageReader reader(path);
    reader.setAutoTransform(true);
    reader.setAllocationLimit(kAllocationLimitMB);
    r.status = Status::Unreadable;
    QSize stored = reader.size();
    if (!fits(stored))
        return r;
    QImage image;
    if (!reader.read(&image) || image.isNull())
        return r;
    r.image = image;
    r.size = image.size();
    r.status = Status::Ok;
    return r;
}

PictureLoader::Result PictureLoader::loadCover(const QString& path, QSize cell)
{
    Result r;
    if (!QFileInfo(path).isFile())
        return r;
    r.status = Status::Unreadable;
    QImageReader reader(path);
    reader.setAutoTransform(true);
    reader.setAllocationLimit(kAllocationLimitMB);
    const QSize stored = reader.size();
    // Even a reduced decode of a huge picture costs too much: refuse it whole.
    if (!fits(stored))
        return r;
    const bool turn = rotated(reader);
    const QSize upright = turn ? stored.transposed() : stored;
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
    if (image.size() != draw)
        image = image.scaled(draw, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    r.image = image.copy(0, 0, std::min(draw.width(), cell.width()), std::min(draw.height(), cell.height()));
    r.size = upright;
    r.status = Status::Ok;
    return r;
}
