#pragma once

#include <QImage>
#include <QSize>
#include <QString>
#include <functional>

// Draws a Windows metafile, the fourth picture format of a stored name,
// through libwmf at the size it is shown: vector pictures are drawn, not
// scaled from a bitmap.
class MetafileRenderer {
public:
    static bool isMetafile(const QString& path);
    // The picture drawn at sizeFor(its own size at 96 dots per inch); a null
    // image when the file is no metafile libwmf can read, or sizeFor gives
    // an empty size. *natural receives the picture's own size.
    static QImage render(const QString& path, const std::function<QSize(QSize)>& sizeFor, QSize* natural);

    // A metafile file is read only up to this size.
    static constexpr qint64 kMaxBytes = qint64(16) * 1024 * 1024;
};
