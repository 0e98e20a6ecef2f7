#pragma once

#include "pictures/PictureLoader.h"

#include <QObject>
#include <QSize>
#include <QString>
#include <QStringList>
#include <atomic>
#include <condition_variable>
#include <deque>
#include <map>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

// Decodes the thumbnails the gallery is about to draw on the other cores.
// The drawing never waits on a lock for a picture: it asks whether the
// picture is at hand (claim), and if a worker is still on it, it carries on
// when decoded() reaches the interface thread. The page redraw, which draws
// all its cells at once, may wait for a picture with take(). Only the
// pictures of the last request are kept.
class ThumbnailPrefetch : public QObject {
    Q_OBJECT

public:
    explicit ThumbnailPrefetch(QSize cell, QObject* parent = nullptr);
    ~ThumbnailPrefetch() override;

    // Queues pictures in the order they will be needed; pictures of earlier
    // requests that are not asked for again are dropped.
    void start(const QStringList& paths);
    void clear();
    // For the end of the program: drops what is queued, makes the decodes
    // under way give up at their next read, and ends the workers. Later
    // requests are not read ahead; a picture asked for is decoded by the
    // taker.
    void stop();
    bool stopped() const { return stopped_; }

    // True when the picture can be had at once: it is decoded, or no worker
    // has started it (it then leaves the queue, and the taker decodes it).
    // False while a worker decodes it; decoded() follows.
    bool claim(const QString& path);
    // The picture for a path, as PictureLoader::loadCover would give it;
    // nothing while a worker is still decoding it.
    std::optional<PictureLoader::Result> tryTake(const QString& path);
    // The same, waiting for a worker that has the picture in hand.
    PictureLoader::Result take(const QString& path);

signals:
    // Emitted by a worker thread once the picture of a path is decoded (or
    // given up because nobody wants it any more); a receiver on the
    // interface thread gets it queued, after the events before it.
    void decoded(const QString& path);

private:
    enum class State { Pending, Running, Done };
    struct Job {
        State state = State::Pending;
        bool wanted = true;
        PictureLoader::Result result;
    };
    void run();
    std::optional<PictureLoader::Result> takeDone(const QString& path);

    QSize cell_;
    std::mutex mutex_;
    std::condition_variable changed_;
    std::map<QString, Job> jobs_;
    std::deque<QString> queue_;
    bool stopping_ = false;
    bool stopped_ = false;
    std::atomic<bool> cancel_{false};
    std::vector<std::thread> workers_;
};
