#include "app/InstanceLock.h"

#include "app/FrontRequest.h"
#include "platform/BoundedFile.h"
#include "platform/MessageBoxes.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSysInfo>

#include <cerrno>
#include <csignal>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// A copy that starts at this very moment has created its lock file but may
// not have written its process number yet; an empty lock file younger than
// this is taken for such a copy.
constexpr qint64 kBeingWrittenMs = 2000;

// The name of the program a process runs, as QLockFile writes it into a
// lock; empty when it cannot be read.
QString programOf(qint64 pid)
{
    const QByteArray link = "/proc/" + QByteArray::number(pid) + "/exe";
    char target[4096];
    const ssize_t n = ::readlink(link.constData(), target, sizeof(target) - 1);
    if (n <= 0)
        return QString();
    QByteArray path(target, n);
    // A program replaced while it runs.
    const QByteArray deleted = " (deleted)";
    if (path.endsWith(deleted))
        path.chop(deleted.size());
    return QFileInfo(QFile::decodeName(path)).fileName();
}

// A live process of this user that runs the named program.
bool runsAsThisUser(qint64 pid, const QString& program)
{
    struct stat st {};
    const QByteArray proc = "/proc/" + QByteArray::number(pid);
    if (::stat(proc.constData(), &st) != 0)
        return ::kill(pid_t(pid), 0) == 0;  // no /proc: alive and this user's to signal
    if (st.st_uid != ::geteuid())
        return false;
    const QString running = programOf(pid);
    return running.isEmpty() || running == program;
}

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
        // QLockFile opens and reads whatever is at the path; it must find a
        // lock file there or nothing.
        if (!clearNonLock())
            return Outcome::Failed;
        if (lock_->tryLock(0))
            return Outcome::Acquired;
        if (lock_->error() != QLockFile::LockFailedError)
            return Outcome::Failed;
        // QLockFile has already taken over a lock naming a dead process.
        if (ownerIsLive())
            return Outcome::HeldElsewhere;
        // A lock that cannot be opened for writing is none that this program made.
        if (!lock_->removeStaleLockFile() && QFileInfo::exists(path_))
            ::unlink(QFile::encodeName(path_).constData());
    }
    return Outcome::Failed;
}

bool InstanceLock::clearNonLock() const
{
    const QByteArray native = QFile::encodeName(path_);
    struct stat st {};
    if (::lstat(native.constData(), &st) != 0)
        return errno == ENOENT;
    if (BoundedFile::isRegularWithin(path_, kMaxLockBytes))
        return true;
    // The folder is private to this user: nothing else belongs at this path.
    return (S_ISDIR(st.st_mode) ? ::rmdir(native.constData()) : ::unlink(native.constData())) == 0;
}

bool InstanceLock::ownerIsLive() const
{
    const std::optional<QByteArray> bytes = BoundedFile::read(path_, kMaxLockBytes);
    const QList<QByteArray> lines = bytes ? bytes->split('\n') : QList<QByteArray>();
    bool numeric = false;
    const qint64 pid = lines.value(0).toLongLong(&numeric);
    if (!numeric || pid <= 0)
        return !unreadableAndOld();  // a copy that is writing its lock right now
    const QString program = QString::fromUtf8(lines.value(1));
    const QString host = QString::fromUtf8(lines.value(2));
    const QByteArray hostId = lines.value(3);
    // The lock folder is this machine's own; a lock of another host there
    // was left by a renamed machine or copied in with a home folder.
    const bool sameHost =
        hostId.isEmpty() ? host == QSysInfo::machineHostName() : hostId == QSysInfo::machineUniqueId();
    const QString own = programOf(QCoreApplication::applicationPid());
    return sameHost && (own.isEmpty() || program == own) && runsAsThisUser(pid, program);
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
    case Outcome::HeldElsewhere: FrontRequest::send(frontPathFor(path_)); return false;
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

QString InstanceLock::frontPathFor(const QString& lockPath)
{
    QString front = lockPath;
    if (front.endsWith(QLatin1String(".lock")))
        front.chop(5);
    return front + QStringLiteral(".front");
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
