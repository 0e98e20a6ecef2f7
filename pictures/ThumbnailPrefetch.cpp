#include "pictures/ThumbnailPrefetch.h"

#include <algorithm>

ThumbnailPrefetch::ThumbnailPrefetch(QSize cell)
    : cell_(cell)
{
    // The interface thread mostly waits for the next picture in order, so
    // one worker per core keeps every core decoding.
    const unsigned cores = std::max(1u, std::thread::hardware_concurrency());
    for (unsigned i = 0; i < std::min(cores, 4u); ++i)
        workers_.emplace_back([this] { run(); });
}

ThumbnailPrefetch::~ThumbnailPrefetch()
{
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
        queue_.clear();
    }
    changed_.notify_all();
    for (std::thread& w : workers_)
        w.join();
}

void ThumbnailPrefetch::start(const QStringList& paths)
{
    {
        std::lock_guard lock(mutex_);
        queue_.clear();
        for (auto it = jobs_.begin(); it != jobs_.end();)
            it = it->second.state == State::Running ? std::next(it) : jobs_.erase(it);
        for (const QString& p : paths)
            if (jobs_.emplace(p, Job{}).second)
                queue_.push_back(p);
    }
    changed_.notify_all();
}

void ThumbnailPrefetch::clear()
{
    start({});
}

PictureLoader::Result ThumbnailPrefetch::take(const QString& path)
{
    std::unique_lock lock(mutex_);
    auto it = jobs_.find(path);
    if (it != jobs_.end() && it->second.state == State::Running)
        changed_.wait(lock, [&] { it = jobs_.find(path); return it == jobs_.end() || it->second.state == State::Done; });
    if (it != jobs_.end() && it->second.state == State::Done) {
        PictureLoader::Result r = std::move(it->second.result);
        jobs_.erase(it);
        return r;
    }
    if (it != jobs_.end()) {  // not reached yet: decode it here
        std::erase(queue_, path);
        jobs_.erase(it);
    }
    lock.unlock();
    return PictureLoader::loadCover(path, cell_);
}

void ThumbnailPrefetch::run()
{
    std::unique_lock lock(mutex_);
    for (;;) {
        changed_.wait(lock, [&] { return stopping_ || !queue_.empty(); });
        if (stopping_)
            return;
        const QString path = queue_.front();
        queue_.pop_front();
        auto it = jobs_.find(path);
        if (it == jobs_.end())
            continue;
        it->second.state = State::Running;
        lock.unlock();
        PictureLoader::Result r = PictureLoader::loadCover(path, cell_);
        lock.lock();
        it = jobs_.find(path);
        if (it != jobs_.end()) {
            it->second.result = std::move(r);
            it->second.state = State::Done;
        }
        changed_.notify_all();
    }
}
