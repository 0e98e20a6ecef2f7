// The thumbnail read-ahead under load: several threads start, claim, take,
// clear and destroy it at once over real JPEG files. Every picture handed
// out must be the one PictureLoader gives when asked alone, and no call may
// hang. Built also with ThreadSanitizer (tools/sanitizers.sh), where a data
// race fails the run.

#include "pictures/PictureLoader.h"
#include "pictures/ThumbnailPrefetch.h"

#include <QColor>
#include <QFile>
#include <QImage>
#include <QLoggingCategory>
#include <QPainter>
#include <QTemporaryDir>
#include <QTest>
#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <random>
#include <thread>
#include <utility>
#include <vector>

namespace {

const QSize kCell(48, 36);

// Runs fn(i) on n threads and waits for them all. A call that hangs would
// otherwise stall the suite until CTest gives up, with no hint of where; the
// watchdog aborts with the test's name instead.
void runThreads(int n, const std::function<void(int)>& fn, const char* what)
{
    std::mutex m;
    std::condition_variable cv;
    int finished = 0;
    std::vector<std::thread> threads;
    threads.reserve(size_t(n));
    for (int i = 0; i < n; ++i)
        threads.emplace_back([&, i] {
            fn(i);
            std::lock_guard lock(m);
            ++finished;
            cv.notify_all();
        });
    {
        std::unique_lock lock(m);
        if (!cv.wait_for(lock, std::chrono::seconds(60), [&] { return finished == n; })) {
            std::fprintf(stderr, "%s: threads still running after 60 s, a call hangs\n", what);
            std::abort();
        }
    }
    for (std::thread& t : threads)
        t.join();
}

// Aborts the run when a test function outlasts its time, wherever it hangs:
// in a taker's wait, or joining the workers as the read-ahead is destroyed.
class Watchdog {
public:
    explicit Watchdog(const char* what)
        : thread_([this, what] {
            std::unique_lock lock(m_);
            if (!cv_.wait_for(lock, std::chrono::seconds(60), [this] { return done_; })) {
                std::fprintf(stderr, "%s: still running after 60 s, a call hangs\n", what);
                std::abort();
            }
        })
    {
    }
    ~Watchdog()
    {
        {
            std::lock_guard lock(m_);
            done_ = true;
        }
        cv_.notify_all();
        thread_.join();
    }

private:
    std::mutex m_;
    std::condition_variable cv_;
    bool done_ = false;
    std::thread thread_;
};

}  // namespace

class ThumbnailPrefetchStressTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void takersOnManyThreads_data();
    void takersOnManyThreads();
    void startAndClearWhileOthersTake();
    void destroyedWhileWorkersDecode();
    void stopWhileTakersWait();
    void everyQueuedPictureIsAnnounced();

private:
    // Records a wrong picture; QTest's checks are not for other threads.
    void check(const QString& path, const PictureLoader::Result& r);
    void expectNoFaults();
    QStringList shuffled(std::mt19937& rng) const;

    std::unique_ptr<Watchdog> watchdog_;
    QTemporaryDir dir_;
    QStringList paths_;
    std::map<QString, PictureLoader::Result> expected_;
    std::mutex faultsMutex_;
    QStringList faults_;
};

void ThumbnailPrefetchStressTest::initTestCase()
{
    QVERIFY(dir_.isValid());
    // The broken file below is read hundreds of times; its decoder warning
    // would bury the report.
    QLoggingCategory::setFilterRules(QStringLiteral("qt.gui.imageio.jpeg.warning=false"));
    // Distinct pictures of landscape, portrait and square shape, so that a
    // picture handed out for the wrong path shows.
    for (int i = 0; i < 20; ++i) {
        const QSize size(60 + 13 * (i % 5), 40 + 17 * (i % 7));
        QImage img(size, QImage::Format_RGB32);
        img.fill(QColor::fromHsv((i * 37) % 360, 200, 220));
        QPainter p(&img);
        p.fillRect(QRect(i % 11, i % 7, size.width() / 3, size.height() / 2), QColor::fromHsv((i * 71) % 360, 255, 90));
        p.end();
        const QString path = dir_.filePath(QStringLiteral("flower%1.jpg").arg(i));
        QVERIFY(img.save(path, "JPEG", 90));
        paths_ << path;
    }
    // What goes wrong must come out the same way from every thread.
    const QString broken = dir_.filePath(QStringLiteral("broken.jpg"));
    QFile f(broken);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write("\xff\xd8\xff\xe0 not a picture after all");
    f.close();
    paths_ << broken << dir_.filePath(QStringLiteral("missing.jpg"));

    for (const QString& path : paths_)
        expected_[path] = PictureLoader::loadCover(path, kCell);
    QCOMPARE(expected_[paths_.first()].status, PictureLoader::Status::Ok);
    QVERIFY(!expected_[paths_.first()].image.isNull());
    QCOMPARE(expected_[broken].status, PictureLoader::Status::Unreadable);
    QCOMPARE(expected_[paths_.last()].status, PictureLoader::Status::Missing);
}

void ThumbnailPrefetchStressTest::init()
{
    watchdog_ = std::make_unique<Watchdog>(QTest::currentTestFunction());
}

void ThumbnailPrefetchStressTest::cleanup()
{
    watchdog_.reset();
}

void ThumbnailPrefetchStressTest::check(const QString& path, const PictureLoader::Result& r)
{
    const PictureLoader::Result& want = expected_.at(path);
    if (r.status == want.status && r.size == want.size && r.image == want.image)
        return;
    std::lock_guard lock(faultsMutex_);
    faults_ << QStringLiteral("%1 (status %2, size %3x%4, image %5x%6; expected status %7, size %8x%9)")
                   .arg(path)
                   .arg(int(r.status))
                   .arg(r.size.width())
                   .arg(r.size.height())
                   .arg(r.image.width())
                   .arg(r.image.height())
                   .arg(int(want.status))
                   .arg(want.size.width())
                   .arg(want.size.height());
}

void ThumbnailPrefetchStressTest::expectNoFaults()
{
    std::lock_guard lock(faultsMutex_);
    const QStringList faults = std::exchange(faults_, {});
    QVERIFY2(faults.isEmpty(), qPrintable(QStringLiteral("wrong pictures for: ") + faults.join(u", ")));
}

QStringList ThumbnailPrefetchStressTest::shuffled(std::mt19937& rng) const
{
    QStringList list = paths_;
    std::shuffle(list.begin(), list.end(), rng);
    return list;
}

void ThumbnailPrefetchStressTest::takersOnManyThreads_data()
{
    QTest::addColumn<int>("takers");
    QTest::addColumn<int>("rounds");
    QTest::newRow("one taker") << 1 << 20;
    QTest::newRow("four takers") << 4 << 20;
}

// Each round queues every picture, then the takers share them out with all
// three ways of asking while the workers are still decoding.
void ThumbnailPrefetchStressTest::takersOnManyThreads()
{
    QFETCH(int, takers);
    QFETCH(int, rounds);
    std::mt19937 rng(1);
    for (int round = 0; round < rounds; ++round) {
        ThumbnailPrefetch prefetch(kCell);
        const QStringList order = shuffled(rng);
        prefetch.start(order);
        runThreads(
            takers,
            [&](int t) {
                for (int i = t; i < order.size(); i += takers) {
                    const QString& path = order[i];
                    switch ((i + round) % 3) {
                    case 0: check(path, prefetch.take(path)); break;
                    case 1:
                        while (true) {
                            if (auto r = prefetch.tryTake(path)) {
                                check(path, *r);
                                break;
                            }
                            std::this_thread::yield();
                        }
                        break;
                    default:
                        while (!prefetch.claim(path))
                            std::this_thread::yield();
                        check(path, prefetch.take(path));
                    }
                }
            },
            "takersOnManyThreads");
        expectNoFaults();
    }
}

// New requests and clears arrive while pictures of the old ones are in the
// workers' hands and others are being taken.
void ThumbnailPrefetchStressTest::startAndClearWhileOthersTake()
{
    ThumbnailPrefetch prefetch(kCell);
    runThreads(
        3,
        [&](int t) {
            std::mt19937 rng(100 + t);
            for (int i = 0; i < 150; ++i) {
                // Read only: a non-const index would detach the shared list
                // from several threads at once.
                const QString& path = std::as_const(paths_)[rng() % paths_.size()];
                if (t == 0) {
                    if (i % 4 == 3) {
                        prefetch.clear();
                    } else {
                        QStringList some = shuffled(rng);
                        some = some.mid(0, 1 + rng() % some.size());
                        prefetch.start(some);
                    }
                } else if (i % 2) {
                    check(path, prefetch.take(path));
                } else if (auto r = prefetch.tryTake(path)) {
                    check(path, *r);
                }
            }
        },
        "startAndClearWhileOthersTake");
    expectNoFaults();
}

// The end of the program, or a gallery closed, while every worker has a
// picture in hand and more are queued.
void ThumbnailPrefetchStressTest::destroyedWhileWorkersDecode()
{
    std::mt19937 rng(7);
    for (int round = 0; round < 30; ++round) {
        auto prefetch = std::make_unique<ThumbnailPrefetch>(kCell);
        const QStringList order = shuffled(rng);
        prefetch->start(order);
        if (round % 3 == 1)
            check(order.first(), prefetch->take(order.first()));
        if (round % 3 == 2)
            std::this_thread::sleep_for(std::chrono::microseconds(200 * (round % 5)));
        prefetch.reset();
    }
    expectNoFaults();
}

// stop() while takers wait for pictures a worker holds: they must wake and
// get their pictures all the same, and later requests still answer.
void ThumbnailPrefetchStressTest::stopWhileTakersWait()
{
    std::mt19937 rng(11);
    for (int round = 0; round < 20; ++round) {
        ThumbnailPrefetch prefetch(kCell);
        const QStringList order = shuffled(rng);
        prefetch.start(order);
        runThreads(
            3,
            [&](int t) {
                if (t == 0) {
                    std::this_thread::sleep_for(std::chrono::microseconds(100 * (round % 7)));
                    prefetch.stop();
                    return;
                }
                for (int i = t - 1; i < order.size(); i += 2)
                    check(order[i], prefetch.take(order[i]));
            },
            "stopWhileTakersWait");
        QVERIFY(prefetch.stopped());
        prefetch.start(order);
        check(order.last(), prefetch.take(order.last()));
        expectNoFaults();
    }
}

// A picture nobody takes is announced once it is decoded, on the receiver's
// thread, so a gallery that asked for it too early draws it then.
void ThumbnailPrefetchStressTest::everyQueuedPictureIsAnnounced()
{
    for (int round = 0; round < 5; ++round) {
        ThumbnailPrefetch prefetch(kCell);
        QStringList announced;
        connect(&prefetch, &ThumbnailPrefetch::decoded, this, [&](const QString& path) { announced << path; });
        prefetch.start(paths_);
        QTRY_COMPARE_WITH_TIMEOUT(announced.size(), paths_.size(), 30000);
        QStringList sortedAnnounced = announced;
        QStringList sortedPaths = paths_;
        sortedAnnounced.sort();
        sortedPaths.sort();
        QCOMPARE(sortedAnnounced, sortedPaths);
        for (const QString& path : paths_) {
            QVERIFY(prefetch.claim(path));
            auto r = prefetch.tryTake(path);
            QVERIFY(r);
            check(path, *r);
        }
        expectNoFaults();
    }
}

QTEST_GUILESS_MAIN(ThumbnailPrefetchStressTest)
#include "ThumbnailPrefetchStressTest.moc"
