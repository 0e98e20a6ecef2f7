#include "app/InstanceLock.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>

InstanceLock::InstanceLock(const QString& appPath)
    : lock_(std::make_unique<QLockFile>(lockPathFor(appPath)))
{
    // Staleness by age alone would let a second copy in after a long run;
    // only a lock whose owner has died is stale.
    lock_->setStaleLockTime(0);
}

bool InstanceLock::acquire()
{
    return lock_->tryLock(0);
}

QString InstanceLock::lockPathFor(const QString& appPath)
{
    const QString canonical = QFileInfo(appPath).absoluteFilePath();
    const QByteArray hash = QCryptographicHash::hash(canonical.toUtf8(), QCryptographicHash::Sha1).toHex().left(16);
    return QDir::temp().filePath(QStringLiteral("sonoha-%1.lock").arg(QString::fromLatin1(hash)));
}
