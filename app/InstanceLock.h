#pragma once

#include <QLockFile>
#include <QString>
#include <memory>

// Keeps a second copy of the program from starting on the same application
// folder. The lock lives in the temporary folder, not in the application
// folder, so a refused start touches none of the program's files; a lock
// left by a crashed run is recognised by its dead process and taken over.
class InstanceLock {
public:
    explicit InstanceLock(const QString& appPath);
    bool acquire();
    static QString lockPathFor(const QString& appPath);

private:
    std::unique_ptr<QLockFile> lock_;
};
