#pragma once

#include <QImage>
#include <QSize>
#include <QString>
#include <atomic>

// Reads pictures safely: a file that is missing, unreadable, too large to
// decode or of proportions too extreme to draw as a thumbnail gives a null
// image instead of exhausting memory. Thumbnails are decoded at reduced size
// where the format allows it (JPEG scales while decoding), and camera
// orientation is applied so portraits stand upright.
class PictureLoader {
public:
    // Pictures whose decoded size would pass this many megabytes are refused.
    static constexpr int kAllocationLimitMB = 256;

    // Sets the decoder's allocation limit for the whole process. Called by
    // main before any picture is read, and by every load as a safeguard;
    // only the first call does anything.
    static void init();

    enum class Status { Ok, Missing, Unreadable };
    struct Result {
        QImage image;
        QSize size;  // the picture's own size, upright
        Status status = Status::Missing;
    };

    // The whole picture, upright; one larger than a valid room is reduced
    // to fit it, keeping its proportions (JPEG scales while decoding, a
    // metafile is drawn at that size).
    static Result load(const QString& path, QSize room = QSize());
    // The picture scaled to cover the cell (see CoverSize), upright, then cut
    // to at most cell size from the top-left. Once *cancel is set the decode
    // stops at its next read and the picture counts as unreadable.
    static Result loadCover(const QString& path, QSize cell, const std::atomic<bool>* cancel = nullptr);
};
