#pragma once

#include <QString>

// Where a flower's picture is: the stored name in the data folder, or the
// same base name with another extension.
class PictureFiles {
public:
    explicit PictureFiles(QString appPath);  // ends in "/"

    QString dataFolder() const { return appPath_ + QStringLiteral("data/"); }
    QString noFilePath() const { return appPath_ + QStringLiteral("NoFile.jpg"); }
    QString dataPath(const QString& fileName) const { return dataFolder() + fileName; }
    bool existsInData(const QString& fileName) const;

    // The base name (up to the first ".") with ".jpg", ".bmp", ".gif" in this
    // order, the first that exists; otherwise base + ".wmf", unchecked. A
    // name without "." is its own base name.
    QString ResolvePictureFile(const QString& storedName) const;

private:
    QString appPath_;
};
