#pragma once

#include <QLockFile>
#include <QString>
#include <memory>

class MessageBoxes;

// Keeps a second copy of the program from starting on the same application
// folder. The lock lives in a folder that only this user can write (the
// user's runtime folder, or a private folder of the user in the temporary
// folder), not in the application folder, so a refused start touches none of
// the program's files and no other user can plant a lock that blocks every
// start. Only a live copy of this program run by this user on this machine
// keeps another from starting, and that copy is then asked to bring its main
// window to the front. Anything else at the lock's place is stale and taken
// over: a lock naming a dead process, another program, another user's
// process or another host, an empty or unreadable lock, and whatever is no
// regular file of a lock's size (a FIFO or a link to a device would block
// or flood the start; a folder would keep every start out).
class InstanceLock {
public:
    enum class Outcome { Acquired, HeldElsewhere, Failed };

    // The lock for appPath in the user's own lock folder.
    explicit InstanceLock(const QString& appPath);
    // The same in the given folder.
    InstanceLock(const QString& appPath, const QString& folder);
    ~InstanceLock();

    Outcome take();
    // True when this copy now holds the lock.
    bool acquire() { return take() == Outcome::Acquired; }
    // Whether this copy may run: false only when another copy runs on the
    // same application folder, which is then asked to come to the front.
    // When the lock cannot be taken for any other reason the user is told,
    // and the program runs without it: a broken lock must not keep anybody
    // from the picture book.
    bool admit(MessageBoxes& boxes);

    // True while this copy holds the lock.
    bool held() const { return lock_ && lock_->isLocked(); }
    // The file, empty when no private folder is usable.
    QString path() const { return path_; }
    // Where the running copy listens for a request to come to the front.
    static QString frontPathFor(const QString& lockPath);
    // A lock file of this program is a few short lines.
    static constexpr qint64 kMaxLockBytes = 4096;
    static QString lockPathFor(const QString& appPath);
    static QString lockPathFor(const QString& appPath, const QString& folder);
    // The user's runtime folder when it is private, else a private folder of
    // the user that is made in the temporary folder; empty when neither is
    // usable.
    static QString lockFolder();
    // True for a real folder (not a link) owned by this user that nobody
    // else can write to.
    static bool isPrivateFolder(const QString& folder);
    static QString failureText(const QString& lockPath);

private:
    bool clearNonLock() const;
    bool ownerIsLive() const;
    bool unreadableAndOld() const;

    QString path_;
    std::unique_ptr<QLockFile> lock_;
};
