#include "platform/DesktopDocumentOpener.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QUrl>

bool DesktopDocumentOpener::open(const QString& path)
{
    if (!QFileInfo::exists(path))
        return false;
    return QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}
