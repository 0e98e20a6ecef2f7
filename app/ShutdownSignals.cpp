#include "app/ShutdownSignals.h"

#include <QSocketNotifier>

#include <cerrno>
#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

// Written by the handler, so a plain int the handler can read at any time.
volatile sig_atomic_t writeEnd = -1;

void onSignal(int number)
{
    const int savedErrno = errno;
    const unsigned char byte = static_cast<unsigned char>(number);
    // Async-signal-safe: one write, never blocking; a full socket already
    // holds a request, which is all the reader needs.
    if (writeEnd >= 0) {
        const ssize_t written = ::write(writeEnd, &byte, 1);
        Q_UNUSED(written);
    }
    errno = savedErrno;
}

}  // namespace

ShutdownSignals::ShutdownSignals(QObject* parent)
    : QObject(parent)
{
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, fds_) != 0)
        return;  // without the pair the signals keep their default effect
    ::fcntl(fds_[0], F_SETFL, ::fcntl(fds_[0], F_GETFL) | O_NONBLOCK);
    ::fcntl(fds_[1], F_SETFL, ::fcntl(fds_[1], F_GETFL) | O_NONBLOCK);
    writeEnd = fds_[1];
    notifier_ = new QSocketNotifier(fds_[0], QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, &ShutdownSignals::readPending);

    struct sigaction action {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (size_t i = 0; i < std::size(kSignals); ++i) {
        ::sigaction(kSignals[i], nullptr, &previous_[i]);
        // A signal ignored by whoever started the program (nohup, a
        // background job) stays ignored, as that starter asked.
        if (previous_[i].sa_handler != SIG_IGN)
            ::sigaction(kSignals[i], &action, nullptr);
    }
}

ShutdownSignals::~ShutdownSignals()
{
    if (fds_[0] < 0)
        return;
    for (size_t i = 0; i < std::size(kSignals); ++i)
        ::sigaction(kSignals[i], &previous_[i], nullptr);
    writeEnd = -1;
    delete notifier_;
    ::close(fds_[0]);
    ::close(fds_[1]);
}

void ShutdownSignals::readPending()
{
    unsigned char bytes[16];
    ssize_t n;
    while ((n = ::read(fds_[0], bytes, sizeof bytes)) > 0 || (n < 0 && errno == EINTR))
        for (ssize_t i = 0; i < n; ++i)
            emit requested(int(bytes[i]));
}
