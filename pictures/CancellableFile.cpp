#include "pictures/CancellableFile.h"

CancellableFile::CancellableFile(const QString& path, const std::atomic<bool>* cancel)
    : QFile(path)
    , cancel_(cancel)
{
}

qint64 CancellableFile::readData(char* data, qint64 maxSize)
{
    if (cancel_ && cancel_->load(std::memory_order_relaxed))
        return -1;
    return QFile::readData(data, maxSize);
}
