#pragma once

#include <QString>
#include <QStringList>

// Where a flower's picture is. Stored names come from catalogues written on
// other systems: "\" separates folders, and letter case may differ from the
// file on disk. Every reader of a stored name goes through locate(), so the
// gallery, the photo windows, the history and the slideshow agree on which
// file a name means, and no name reaches outside the data folder.
//
// A user whose catalogue lives apart from the program's read-only folder has
// a data folder of their own; its pictures are looked up first, so a picture
// the user adds, or puts in place of a shipped one, is the one shown.
class PictureFiles {
public:
    explicit PictureFiles(QString appPath);  // ends in "/"
    // userDataFolder ends in "/"; empty for none.
    PictureFiles(QString appPath, QString userDataFolder);

    QString dataFolder() const { return appPath_ + QStringLiteral("data/"); }
    const QString& userDataFolder() const { return userData_; }
    QString noFilePath() const { return appPath_ + QStringLiteral("NoFile.jpg"); }

    // The file a stored name stands for, or an empty text when there is none
    // inside the data folder (the user's first). Each folder and the file are matched without
    // regard to letter case, a name of the exact case first. A name with
    // "..", an absolute name, or one whose file is reached through a link
    // that leads out of the data folder stands for no file.
    QString locate(const QString& storedName) const;
    // The path locate() finds; for a missing name a path that does not exist
    // (so a read of it reports the file missing), never one outside.
    QString dataPath(const QString& storedName) const;
    bool existsInData(const QString& storedName) const { return !locate(storedName).isEmpty(); }
    // The stored name as a path in the data folder, for messages.
    QString shownPath(const QString& storedName) const;

    // The base name (up to the first "." of the file's own name) with ".jpg",
    // ".bmp", ".gif" in this order, the first that exists; otherwise base +
    // ".wmf", unchecked. A name without "." is its own base name.
    QString resolvePictureFile(const QString& storedName) const;

    // The folders and the file of a stored name; empty when the name may not
    // be followed (absolute, "..", or nothing left).
    static QStringList partsOf(const QString& storedName);

private:
    static QString locateIn(const QString& root, const QStringList& parts);

    QString appPath_;
    QString userData_;
};
