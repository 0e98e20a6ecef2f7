#pragma once

#include <QFile>
#include <QStringList>

#include <chrono>
#include <condition_variable>
#include <fcntl.h>
#include <mutex>
#include <thread>
#include <unistd.h>

// A reader stuck in opening or reading a FIFO with no writer would hang the
// whole test run. Once the time is up this opens the write end of each FIFO
// and closes it again, so that such a reader sees an empty file and returns;
// fired() then tells the test that it had been stuck.
class FifoWatchdog {
public:
    explicit FifoWatchdog(QStringList fifos, std::chrono::milliseconds after = std::chrono::seconds(5))
        : fifos_(std::move(fifos))
        , thread_([this, after] { run(after); })
    {
    }
    ~FifoWatchdog()
    {
        {
            std::lock_guard lock(mutex_);
            stopped_ = true;
        }
        wake_.notify_all();
        thread_.join();
    }
    bool fired() const
    {
        std::lock_guard lock(mutex_);
        return fired_;
    }

private:
    void run(std::chrono::milliseconds after)
    {
        std::unique_lock lock(mutex_);
        if (wake_.wait_for(lock, after, [this] { return stopped_; }))
            return;
        fired_ = true;
        // The reader may not have reached its open yet: keep knocking.
        while (!wake_.wait_for(lock, std::chrono::milliseconds(50), [this] { return stopped_; }))
            for (const QString& f : fifos_) {
                const int fd = ::open(QFile::encodeName(f).constData(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
                if (fd >= 0)
                    ::close(fd);
            }
    }

    QStringList fifos_;
    mutable std::mutex mutex_;
    std::condition_variable wake_;
    bool stopped_ = false;
    bool fired_ = false;
    std::thread thread_;
};
