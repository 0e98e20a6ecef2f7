#pragma once

#include <atomic>

#include <QImage>
#include <QSize>
#include <QString>

class PictureFiles;

// A record's picture made ready for the screen: decoded at the size it is
// shown at (JPEG scales while decoding), with the picture's lookup already
// done. A picture that is missing comes back as Missing, one whose file is
// there but cannot be read or is too large to decode as Unreadable; the
// window then tells the user which and asks how to go on.
struct SlidePicture {
    enum class Kind { Photo, StoredName, Missing, Unreadable };

    Kind kind = Kind::Missing;
    QImage image;  // device pixels; may be null for an empty area
    QSize shown;  // the picture on screen, in logical pixels
    QSize area;  // the photo area it sits in the middle of
    QString storedName;

    // Looks the record's picture up in the data folder (the usual
    // extensions, then the exact stored name) and decodes it to fit the box.
    // Once *cancel is set a decode under way gives up at its next read.
    static SlidePicture load(const PictureFiles& files, const QString& storedName, QSize box, qreal dpr,
                             const std::atomic<bool>* cancel = nullptr);
    // A picture file at a path, reduced to fit the box; a null image when it
    // cannot be read or would be too large to decode.
    static QImage decodeFitted(const QString& path, QSize box, qreal dpr, QSize* shown,
                               const std::atomic<bool>* cancel = nullptr);
};
