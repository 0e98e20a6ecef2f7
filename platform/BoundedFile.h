#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

// Reads one of the program's own files whole, but only when it is a regular
// file (after following links) no larger than maxBytes. A FIFO, a device such
// as /dev/zero or a directory would block the program or grow its memory
// without end; they are refused at once, as if the file were missing.
class BoundedFile {
public:
    // The file's bytes, or nothing when it is missing, not a regular file,
    // larger than maxBytes or unreadable.
    static std::optional<QByteArray> read(const QString& path, qint64 maxBytes);

    // True when the path names a regular file of at most maxBytes; opens
    // nothing, so it never blocks.
    static bool isRegularWithin(const QString& path, qint64 maxBytes);
};
