#include "pictures/ThumbnailPrefetch.h"

#include <algorithm>

ThumbnailPrefetch::ThumbnailPrefetch(QSize cell, QObject* parent)
    : QObject(parent)
    , cell_(cell)
{
    // The interface thread only draws, and decodes a picture itself only
    // when no worker has reached it, so one worker per core keeps every
    // core decoding.
    const unsigned cores = std::max(1u, std::thread::hardware_concurrency());
    for (unsigned i = 0; i < std::min(cores, 4u); ++i)
        workers_.emplace_back([this] { run(); });
}

ThumbnailPrefetch::~ThumbnailPrefetch()
{
    stop();
    // Notices still on their way to a receiver are dropped with the receiver.
}

void ThumbnailPrefetch::stop()
{
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
        queue_.clear();
        jobs_.clear();
    }
    cancel_ = true;
    changed_.notify_all();
    for (std::thread& w : workers_)
        if (w.joinable())
            w.join();
    stopped_ = true;
}

void ThumbnailPrefetch::start(const QStringList& paths)
{
    {
        std::lock_guard lock(mutex_);
        if (stopping_)
            return;
        for (auto& [path, job] : jobs_)
            job.wanted = false;
        for (const QString& p : paths)
            jobs_[p].wanted = true;
        // A picture in a worker's hands is finished and then dropped; the
        // rest of what is no longer wanted goes now.
        std::erase_if(jobs_, [](const auto& j) { return !j.second.wanted && j.second.state != State::Running; });
        queue_.clear();
        for (const QString& p : paths)
            if (jobs_[p].state == State::Pending && std::find(queue_.begin(), queue_.end(), p) == queue_.end())
                queue_.push_back(p);
    }
    changed_.notify_all();
}

void ThumbnailPrefetch::clear()
{
    start({});
}

bool ThumbnailPrefetch::claim(const QString& path)
{
    std::lock_guard lock(mutex_);
    auto it = jobs_.find(path);
    if (it == jobs_.end())
        return true;
    if (it->second.state == State::Running)
        return false;
    if (it->second.state == State::Pending) {
        std::erase(queue_, path);
        jobs_.erase(it);
    }
    return true;
}

std::optional<PictureLoader::Result> ThumbnailPrefetch::takeDone(const QString& path)
{
    auto it = jobs_.find(path);
    if (it == jobs_.end() || it->second.state != State::Done)
        return std::nullopt;
    PictureLoader::Result r = std::move(it->second.result);
    jobs_.erase(it);
    return r;
}

std::optional<PictureLoader::Result> ThumbnailPrefetch::tryTake(const QString& path)
{
    if (!claim(path))
        return std::nullopt;
    {
        std::lock_guard lock(mutex_);
        if (auto r = takeDone(path))
            return r;
    }
    return PictureLoader::loadCover(path, cell_);
}

PictureLoader::Result ThumbnailPrefetch::take(const QString& path)
{
    {
        // The wait and the claim are one step: a picture still queued when
        // the wait ends could otherwise be started by a worker before the
        // claim, leaving nothing to take.
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [&] {
            const auto it = jobs_.find(path);
            return it == jobs_.end() || it->second.state != State::Running;
        });
        if (auto r = takeDone(path))
            return std::move(*r);
        std::erase(queue_, path);
        jobs_.erase(path);
    }
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
        if (it == jobs_.end() || it->second.state != State::Pending)
            continue;
        it->second.state = State::Running;
        lock.unlock();
        PictureLoader::Result r = PictureLoader::loadCover(path, cell_, &cancel_);
        lock.lock();
        if (stopping_)
            return;
        it = jobs_.find(path);
        if (it != jobs_.end()) {
            if (it->second.wanted) {
                it->second.result = std::move(r);
                it->second.state = State::Done;
            } else {
                jobs_.erase(it);
            }
        }
        changed_.notify_all();
        lock.unlock();
        emit decoded(path);
        lock.lock();
    }
}
