#include "slideshow/SlidePicture.h"

#include "pictures/CancellableFile.h"
#include "pictures/MetafileRenderer.h"
#include "pictures/PictureFiles.h"
#include "pictures/PictureLoader.h"
#include "slideshow/SlideLayout.h"

#include <QFileInfo>
#include <QImageReader>
#include <algorithm>
#include <cmath>

namespace {

bool decodable(QSize stored)
{
    const qint64 bytes = qint64(stored.width()) * stored.height() * 4;
    return stored.isValid() && !stored.isEmpty() && bytes <= qint64(PictureLoader::kAllocationLimitMB) * 1024 * 1024;
}

QSize deviceSize(QSize logical, QSize upright, qreal dpr)
{
    const QSize want(int(std::lround(logical.width() * dpr)), int(std::lround(logical.height() * dpr)));
    // Never decode more pixels than the picture has; the painter enlarges it.
    return want.width() >= upright.width() ? upright : want;
}

}  // namespace

QImage SlidePicture::decodeFitted(const QString& path, QSize box, qreal dpr, QSize* shown,
                                  const std::atomic<bool>* cancel)
{
    if (!QFileInfo(path).isFile())
        return QImage();
    if (MetafileRenderer::isMetafile(path)) {
        // Drawn straight at the size it is shown.
        QSize logical;
        QImage drawn = MetafileRenderer::render(
            path,
            [&](QSize own) {
                if (!decodable(own))
                    return QSize();
                logical = SlideLayout::fitted(own, box);
                return QSize(int(std::lround(logical.width() * dpr)), int(std::lround(logical.height() * dpr)));
            },
            nullptr);
        if (!drawn.isNull())
            *shown = logical;
        return drawn;
    }
    CancellableFile file(path, cancel);
    if (!file.open(QIODevice::ReadOnly))
        return QImage();
    QImageReader reader(&file);
    reader.setAutoTransform(true);
    PictureLoader::init();  // the process-wide decoder limit, set once
    const QSize stored = reader.size();
    if (!decodable(stored))
        return QImage();
    const bool turn = reader.transformation() & QImageIOHandler::TransformationRotate90;
    const QSize upright = turn ? stored.transposed() : stored;
    const QSize logical = SlideLayout::fitted(upright, box);
    const QSize device = deviceSize(logical, upright, dpr);

    QImage image;
    if (device != upright && reader.supportsOption(QImageIOHandler::ScaledSize))
        reader.setScaledSize(turn ? device.transposed() : device);
    if (!reader.read(&image) || image.isNull() || (cancel && cancel->load()))
        return QImage();
    if (image.size() != device)
        image = image.scaled(device, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    *shown = logical;
    return image;
}

SlidePicture SlidePicture::load(const PictureFiles& files, const QString& storedName, QSize box, qreal dpr,
                                const std::atomic<bool>* cancel)
{
    SlidePicture p;
    p.storedName = storedName;
    QSize shown;
    const QString resolved = files.resolvePictureFile(storedName);
    if (files.existsInData(resolved)) {
        p.image = decodeFitted(files.dataPath(resolved), box, dpr, &shown, cancel);
        if (!p.image.isNull()) {
            p.kind = Kind::Photo;
            p.shown = p.area = shown;
            return p;
        }
    }
    // Found only under the name as stored: a fixed photo area, the picture
    // reduced into it rather than cut.
    if (resolved != storedName && files.existsInData(storedName)) {
        const QSize area = SlideLayout::storedNameArea().boundedTo(box);
        p.image = decodeFitted(files.dataPath(storedName), area, dpr, &shown, cancel);
        if (!p.image.isNull()) {
            p.kind = Kind::StoredName;
            p.shown = shown;
            p.area = area;
            return p;
        }
    }
    // A file that is there but would not decode is no missing file.
    p.kind = files.existsInData(resolved) || files.existsInData(storedName) ? Kind::Unreadable : Kind::Missing;
    return p;
}
