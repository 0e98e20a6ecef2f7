#include "slideshow/SlideReadAhead.h"

#include <utility>

SlideReadAhead::SlideReadAhead(PictureFiles files, QSize box, qreal dpr, bool enabled)
    : files_(std::move(files))
    , box_(box)
    , dpr_(dpr)
    , enabled_(enabled)
{
    if (enabled_)
        worker_ = std::thread([this] { run(); });
}

SlideReadAhead::~SlideReadAhead()
{
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    cancel_ = true;
    changed_.notify_all();
    if (worker_.joinable())
        worker_.join();
}

SlidePicture SlideReadAhead::loadNow(const QString& storedName, const std::atomic<bool>* cancel) const
{
    return SlidePicture::load(files_, storedName, box_, dpr_, cancel);
}

void SlideReadAhead::prepare(const QString& storedName)
{
    if (!enabled_)
        return;
    std::lock_guard lock(mutex_);
    wanted_ = storedName;
    if (ready_ && ready_->storedName != storedName)
        ready_.reset();
    const bool underWay = ready_ || running_ == storedName;
    queued_.reset();
    if (!underWay)
        queued_ = storedName;
    changed_.notify_all();
}

SlidePicture SlideReadAhead::take(const QString& storedName)
{
    if (enabled_) {
        std::unique_lock lock(mutex_);
        if (queued_ == storedName)
            queued_.reset();  // not started: quicker to decode it here than to wait
        changed_.wait(lock, [&] { return running_ != storedName; });
        if (ready_ && ready_->storedName == storedName) {
            SlidePicture p = std::move(*ready_);
            ready_.reset();
            wanted_.clear();
            return p;
        }
    }
    return loadNow(storedName);
}

void SlideReadAhead::run()
{
    std::unique_lock lock(mutex_);
    for (;;) {
        changed_.wait(lock, [this] { return stopping_ || queued_.has_value(); });
        if (stopping_)
            return;
        const QString name = *queued_;
        queued_.reset();
        running_ = name;
        lock.unlock();
        SlidePicture picture = loadNow(name, &cancel_);
        lock.lock();
        running_.reset();
        if (wanted_ == name)
            ready_ = std::move(picture);
        changed_.notify_all();
    }
}
