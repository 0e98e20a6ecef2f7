#pragma once

#include <QByteArray>

#include <csignal>
#include <functional>
#include <linux/capability.h>
#include <optional>
#include <poll.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

// Runs work in a forked child of the test and gives what it reported, or
// nothing when it did not end within the time (it is killed then) or died.
// A step that could hang or eat memory without end cannot take the test run
// with it, and a step may change what the child is allowed to do.
inline std::optional<QByteArray> runInChild(const std::function<QByteArray()>& work, int timeoutMs = 10000)
{
    int fds[2];
    if (::pipe(fds) != 0)
        return std::nullopt;
    const pid_t pid = ::fork();
    if (pid < 0)
        return std::nullopt;
    if (pid == 0) {
        ::close(fds[0]);
        const QByteArray report = work();
        for (qsizetype at = 0; at < report.size();) {
            const ssize_t n = ::write(fds[1], report.constData() + at, size_t(report.size() - at));
            if (n <= 0)
                ::_exit(3);
            at += n;
        }
        ::_exit(0);  // no destructors: what the child holds is left as a crash would leave it
    }
    ::close(fds[1]);
    QByteArray report;
    bool ended = false;
    for (int waited = 0; waited < timeoutMs && !ended;) {
        pollfd p{fds[0], POLLIN, 0};
        if (::poll(&p, 1, 100) <= 0) {
            waited += 100;
            continue;
        }
        char buffer[4096];
        const ssize_t n = ::read(fds[0], buffer, sizeof(buffer));
        if (n > 0)
            report.append(buffer, n);
        else
            ended = n == 0;
    }
    ::close(fds[0]);
    if (!ended)
        ::kill(pid, SIGKILL);
    int status = 0;
    ::waitpid(pid, &status, 0);
    if (!ended || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return std::nullopt;
    return report;
}

// Takes from this process the rights by which root ignores file permissions,
// so that a folder without write permission refuses root as it refuses any
// user, the way a read-only medium does. For a child of runInChild(); other
// users are bound by permissions already.
inline bool bindPermissions()
{
    if (::geteuid() != 0)
        return true;
    __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
    __user_cap_data_struct data[2]{};
    if (::syscall(SYS_capget, &header, data) != 0)
        return false;
    const unsigned drop = (1u << CAP_DAC_OVERRIDE) | (1u << CAP_DAC_READ_SEARCH) | (1u << CAP_FOWNER);
    data[0].effective &= ~drop;
    data[0].permitted &= ~drop;
    data[0].inheritable &= ~drop;
    return ::syscall(SYS_capset, &header, data) == 0;
}
