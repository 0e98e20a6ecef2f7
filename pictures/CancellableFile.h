#pragma once

#include <QFile>
#include <atomic>

// A picture file whose reading can be stopped from another thread: once the
// flag is set every further read fails, so a decoder in the middle of a large
// picture gives up at its next block instead of finishing it.
class CancellableFile : public QFile {
public:
    CancellableFile(const QString& path, const std::atomic<bool>* cancel);

protected:
    qint64 readData(char* data, qint64 maxSize) override;

private:
    const std::atomic<bool>* cancel_;
};
