#pragma once

#include "pictures/PictureLoader.h"

#include <QSize>
#include <QString>
#include <QStringList>
#include <condition_variable>
#include <deque>
#include <map>
#include <mutex>
#include <thread>
#include <vector>

// Decodes the thumbnails the gallery is about to draw on the other cores.
// The gallery still draws them one by one in its own order: take() hands
// over a finished picture, waits for one being decoded, or decodes a picture
// the worker has not reached yet on the calling thread, so both cores work.
class ThumbnailPrefetch {
public:
    explicit ThumbnailPrefetch(QSize cell);
    ~ThumbnailPrefetch();

    // Queues pictures in the order they will be needed; earlier requests
    // that were not taken are dropped.
    void start(const QStringList& paths);
    // The picture for a path, as PictureLoader::loadCover would give it.
    PictureLoader::Result take(const QString& path);
    void clear();

private:
    enum class State { Pending, Running, Done };
    struct Job {
        State state = State::Pending;
        PictureLoader::Result result;
    };
    void run();

    QSize cell_;
    std::mutex mutex_;
    std::condition_variable changed_;
    std::map<QString, Job> jobs_;
    std::deque<QString> queue_;
    bool stopping_ = false;
    std::vector<std::thread> workers_;
};
