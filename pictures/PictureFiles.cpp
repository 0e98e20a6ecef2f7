#include "pictures/PictureFiles.h"

#include <QFileInfo>

PictureFiles::PictureFiles(QString appPath)
    : appPath_(std::move(appPath))
{
}

bool PictureFiles::existsInData(const QString& fileName) const
{
    if (fileName.isEmpty() || fileName.contains(u'/'))
        return false;  // names stay inside the data folder
    const QFileInfo info(dataPath(fileName));
    return info.exists() && info.isFile();
}

QString PictureFiles::ResolvePictureFile(const QString& storedName) const
{
    const int dot = int(storedName.indexOf(u'.'));
    const QString base = dot >= 0 ? storedName.left(dot) : storedName;
    for (const char* ext : {".jpg", ".bmp", ".gif"}) {
        const QString candidate = base + QLatin1String(ext);
        if (existsInData(candidate))
            return candidate;
    }
    return base + QStringLiteral(".wmf");
}
