#include "app/FrontRequest.h"

#include <QFile>
#include <QSocketNotifier>

#include <cstring>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace {

// The socket address of a path, or false when the path does not fit in one.
bool addressOf(const QString& path, sockaddr_un& address)
{
    const QByteArray native = QFile::encodeName(path);
    address = {};
    address.sun_family = AF_UNIX;
    if (native.isEmpty() || size_t(native.size()) >= sizeof(address.sun_path))
        return false;
    std::memcpy(address.sun_path, native.constData(), size_t(native.size()));
    return true;
}

}  // namespace

FrontRequest::FrontRequest(QObject* parent)
    : QObject(parent)
{
}

FrontRequest::~FrontRequest()
{
    notifier_.reset();
    if (fd_ >= 0) {
        ::close(fd_);
        ::unlink(QFile::encodeName(path_).constData());
    }
}

bool FrontRequest::listen(const QString& path)
{
    sockaddr_un address{};
    if (fd_ >= 0 || !addressOf(path, address))
        return false;
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return false;
    // A socket left by a copy that has ended.
    ::unlink(address.sun_path);
    if (::bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof(address)) != 0 || ::listen(fd, 4) != 0) {
        ::close(fd);
        return false;
    }
    fd_ = fd;
    path_ = path;
    notifier_ = std::make_unique<QSocketNotifier>(fd_, QSocketNotifier::Read);
    connect(notifier_.get(), &QSocketNotifier::activated, this, &FrontRequest::acceptPending);
    return true;
}

void FrontRequest::acceptPending()
{
    bool any = false;
    for (;;) {
        const int client = ::accept4(fd_, nullptr, nullptr, SOCK_CLOEXEC);
        if (client < 0)
            break;
        ::close(client);
        any = true;
    }
    if (any)
        emit requested();
}

bool FrontRequest::send(const QString& path)
{
    sockaddr_un address{};
    if (!addressOf(path, address))
        return false;
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return false;
    const bool reached = ::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof(address)) == 0;
    ::close(fd);
    return reached;
}
