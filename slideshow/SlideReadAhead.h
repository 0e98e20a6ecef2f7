#pragma once

#include "pictures/PictureFiles.h"
#include "slideshow/SlidePicture.h"

#include <QSize>
#include <QString>
#include <atomic>
#include <condition_variable>
#include <mutex>
#include <optional>
#include <thread>

// Decodes the picture of the next slide on another thread while the current
// one is on screen, so that the timer's step only swaps a ready picture.
// Holds at most one picture: the next. Asking for another picture drops the
// one made ready before (a decode already running finishes and is thrown
// away). Switched off, every take() decodes on the calling thread.
class SlideReadAhead {
public:
    SlideReadAhead(PictureFiles files, QSize box, qreal dpr, bool enabled = true);
    ~SlideReadAhead();
    SlideReadAhead(const SlideReadAhead&) = delete;
    SlideReadAhead& operator=(const SlideReadAhead&) = delete;

    // Starts making the picture of a stored name ready.
    void prepare(const QString& storedName);
    // The picture of a stored name: the ready one, the one being decoded
    // (waited for), or decoded now.
    SlidePicture take(const QString& storedName);

    bool enabled() const { return enabled_; }

private:
    void run();
    SlidePicture loadNow(const QString& storedName, const std::atomic<bool>* cancel = nullptr) const;

    const PictureFiles files_;
    const QSize box_;
    const qreal dpr_;
    const bool enabled_;

    std::mutex mutex_;
    std::condition_variable changed_;
    QString wanted_;  // the picture asked for last
    std::optional<QString> queued_;  // waiting for the worker
    std::optional<QString> running_;  // being decoded
    std::optional<SlidePicture> ready_;
    bool stopping_ = false;
    std::atomic<bool> cancel_{false};  // the end: a decode under way gives up
    std::thread worker_;
};
