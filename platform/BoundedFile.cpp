#include "platform/BoundedFile.h"

#include <QFile>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

bool regularWithin(const struct stat& st, qint64 maxBytes)
{
    return S_ISREG(st.st_mode) && st.st_size >= 0 && st.st_size <= maxBytes;
}

}  // namespace

bool BoundedFile::isRegularWithin(const QString& path, qint64 maxBytes)
{
    struct stat st {};
    const QByteArray native = QFile::encodeName(path);
    return !native.isEmpty() && ::stat(native.constData(), &st) == 0 && regularWithin(st, maxBytes);
}

std::optional<QByteArray> BoundedFile::read(const QString& path, qint64 maxBytes)
{
    const QByteArray native = QFile::encodeName(path);
    if (native.isEmpty())
        return std::nullopt;
    // O_NONBLOCK: opening a FIFO with no writer must not wait for one. The
    // type is checked on the opened descriptor, so a swap between a check
    // and the open cannot slip a device past it.
    const int fd = ::open(native.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return std::nullopt;
    struct stat st {};
    std::optional<QByteArray> result;
    if (::fstat(fd, &st) == 0 && regularWithin(st, maxBytes)) {
        QByteArray data;
        data.resize(qsizetype(st.st_size));
        qsizetype got = 0;
        bool failed = false;
        // Read no more than the size seen at open: a file that grows
        // meanwhile is taken as it was.
        while (got < data.size()) {
            const ssize_t n = ::read(fd, data.data() + got, size_t(data.size() - got));
            if (n < 0 && errno == EINTR)
                continue;
            failed = n < 0;  // a read error must not pass for a shorter file
            if (n <= 0)
                break;
            got += n;
        }
        if (!failed) {
            data.truncate(got);
            result = std::move(data);
        }
    }
    ::close(fd);
    return result;
}
