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
// start. A lock left by a crashed run, whether it names a dead process or is
// empty or unreadable, is taken over.
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
    // same application folder. When the lock cannot be taken for any other
    // reason the user is told, and the program runs without it: a broken lock
    // must not keep anybody from the picture book.
    bool admit(MessageBoxes& boxes);

    // The file, empty when no private folder is usable.
    QString path() const { return path_; }
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
    bool unreadableAndOld() const;

    QString path_;
    std::unique_ptr<QLockFile> lock_;
};
