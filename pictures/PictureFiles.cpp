#include "pictures/PictureFiles.h"

#include <QDir>
#include <QFileInfo>

namespace {

// The entry of a folder named `part`: the exact spelling when it exists,
// otherwise the first in name order that differs only in letter case.
QString entryOf(const QString& folder, const QString& part, bool wantFolder)
{
    const QFileInfo exact(folder + part);
    if (exact.exists())
        return (wantFolder ? exact.isDir() : exact.isFile()) ? part : QString();
    const QDir dir(folder);
    const QDir::Filters kinds =
        (wantFolder ? QDir::Dirs : QDir::Files) | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot;
    const QStringList names = dir.entryList(kinds, QDir::Name);
    for (const QString& name : names)
        if (name.compare(part, Qt::CaseInsensitive) == 0)
            return name;
    return QString();
}

}  // namespace

PictureFiles::PictureFiles(QString appPath)
    : appPath_(std::move(appPath))
{
}

PictureFiles::PictureFiles(QString appPath, QString userDataFolder)
    : appPath_(std::move(appPath))
    , userData_(std::move(userDataFolder))
{
}

QStringList PictureFiles::partsOf(const QString& storedName)
{
    QString name = storedName;
    name.replace(u'\\', u'/');
    // "/x", "C:x" and "//host/x" name places of their own, not the data folder.
    if (name.startsWith(u'/') || (name.size() >= 2 && name.at(1) == u':'))
        return {};
    QStringList parts;
    for (const QString& part : name.split(u'/', Qt::SkipEmptyParts)) {
        if (part == QStringLiteral(".."))
            return {};
        if (part != QStringLiteral("."))
            parts << part;
    }
    return parts;
}

QString PictureFiles::locate(const QString& storedName) const
{
    const QStringList parts = partsOf(storedName);
    if (parts.isEmpty())
        return QString();
    if (!userData_.isEmpty())
        if (QString found = locateIn(userData_, parts); !found.isEmpty())
            return found;
    return locateIn(dataFolder(), parts);
}

QString PictureFiles::locateIn(const QString& root, const QStringList& parts)
{
    QString path = root;
    for (int i = 0; i < parts.size(); ++i) {
        const bool last = i == parts.size() - 1;
        const QString entry = entryOf(path, parts[i], !last);
        if (entry.isEmpty())
            return QString();
        path += entry + (last ? QString() : QStringLiteral("/"));
    }
    // A link may lead anywhere; only what really lies in the data folder counts.
    const QString real = QFileInfo(path).canonicalFilePath();
    const QString inside = QFileInfo(root).canonicalFilePath() + u'/';
    if (real.isEmpty() || inside.size() <= 1 || !real.startsWith(inside))
        return QString();
    return path;
}

QString PictureFiles::dataPath(const QString& storedName) const
{
    QString found = locate(storedName);
    if (!found.isEmpty())
        return found;
    // Under a folder name no catalogue folder carries, so the read finds nothing.
    return dataFolder() + QStringLiteral("\x01missing/") + QString::number(qHash(storedName));
}

QString PictureFiles::shownPath(const QString& storedName) const
{
    return dataFolder() + QString(storedName).replace(u'\\', u'/');
}

QString PictureFiles::resolvePictureFile(const QString& storedName) const
{
    const int slash = int(std::max(storedName.lastIndexOf(u'/'), storedName.lastIndexOf(u'\\')));
    const int dot = int(storedName.indexOf(u'.', slash + 1));
    const QString base = dot >= 0 ? storedName.left(dot) : storedName;
    for (const char* ext : {".jpg", ".bmp", ".gif"}) {
        QString candidate = base + QLatin1String(ext);
        if (existsInData(candidate))
            return candidate;
    }
    return base + QStringLiteral(".wmf");
}
