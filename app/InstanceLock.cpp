#include "app/InstanceLock.h"

#include "platform/MessageBoxes.h"

#include <QCryptographicHash>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <sys/stat.h>
#include <unistd.h>

namespace {

// A copy that starts at this very moment has created its lock file but may
// not have written its process number yet; an empty lock file younger than
// this is taken for such a copy.
constexpr qint64 kBeingWrittenMs = 2000;

}  // namespace

InstanceLock::InstanceLock(const QString& appPath)
    : InstanceLock(appPath, lockFolder())
{
}

InstanceLock::InstanceLock(const QString& appPath, const QString& folder)
    : path_(folder.isEmpty() ? QString() : lockPathFor(appPath, folder))
{
    if (path_.isEmpty())
        return;
    lock_ = std::make_unique<QLockFile>(path_);
    // Staleness by age alone would let a second copy in after a long run;
    // only a lock whose owner has died is stale.
    lock_->setStaleLockTime(0);
}

InstanceLock::~InstanceLock() = default;

InstanceLock::Outcome InstanceLock::take()
{
    if (!lock_)
        return Outcome::Failed;
    for (int attempt = 0; attempt < 2; ++attempt) {
        if (lock_->tryLock(0))
            return Outcome::Acquired;
        if (lock_->error() != QLockFile::LockFailedError)
            return Outcome::Failed;
        // QLockFile has already taken over a lock naming a dead process; one
        // it can read names a live owner.
        if (!unreadableAndOld())
            return Outcome::HeldElsewhere;
        lock_->removeStaleLockFile();
    }
    return Outcome::Failed;
}

bool InstanceLock::unreadableAndOld() const
{
    qint64 pid = 0;
    QString host, app;
    if (lock_->getLockInfo(&pid, &host, &app))
        return false;
    const QDateTime written = QFileInfo(path_).lastModified();
    return !written.isValid() || qAbs(written.msecsTo(QDateTime::currentDateTime())) >= kBeingWrittenMs;
}

bool InstanceLock::admit(MessageBoxes& boxes)
{
    switch (take()) {
    case Outcome::Acquired: return true;
    case Outcome::HeldElsewhere: return false;
    case Outcome::Failed: break;
    }
    boxes.show(nullptr, failureText(path_), MessageBoxes::Buttons::Ok, MessageBoxes::Icon::Exclamation);
    return true;
}

QString InstanceLock::failureText(const QString& lockPath)
{
    const QString where = lockPath.isEmpty()
                              ? QStringLiteral("（このユーザー専用の一時フォルダを用意できませんでした）")
                              : QDir::toNativeSeparators(lockPath);
    return QStringLiteral("ソノハの二重起動を確かめるためのロックファイルを作成できませんでした。\n%1\n\n"
                          "このまま起動します。")
        .arg(where);
}

QString InstanceLock::lockPathFor(const QString& appPath)
{
    return lockPathFor(appPath, lockFolder());
}

QString InstanceLock::lockPathFor(const QString& appPath, const QString& folder)
{
    const QString canonical = QFileInfo(appPath).absoluteFilePath();
    const QByteArray hash = QCryptographicHash::hash(canonical.toUtf8(), QCryptographicHash::Sha1).toHex().left(16);
    return QDir(folder).filePath(QStringLiteral("sonoha-%1.lock").arg(QString::fromLatin1(hash)));
}

QString InstanceLock::lockFolder()
{
    QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (!runtime.isEmpty() && isPrivateFolder(runtime))
        return runtime;
    // The temporary folder is shared by all users: a folder of our own is
    // made there with no access for others, and used only when it really is
    // ours, never one that somebody else has put in its place.
    const QString temp = QDir::tempPath();  // empty when $TMPDIR names no folder
    if (temp.isEmpty())
        return QString();
    const QString own = temp + QStringLiteral("/sonoha-%1").arg(::geteuid());
    ::mkdir(QFile::encodeName(own).constData(), 0700);
    return isPrivateFolder(own) ? own : QString();
}

bool InstanceLock::isPrivateFolder(const QString& folder)
{
    struct stat st {};
    const QByteArray native = QFile::encodeName(folder);
    return !native.isEmpty() && ::lstat(native.constData(), &st) == 0 && S_ISDIR(st.st_mode) &&
           st.st_uid == ::geteuid() && (st.st_mode & (S_IWGRP | S_IWOTH)) == 0;
}
