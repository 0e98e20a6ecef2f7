#include "slideshow/BackgroundMusic.h"

#include "platform/Clock.h"
#include "platform/MusicPlayer.h"
#include "platform/RandomSource.h"

#include <algorithm>
#include <utility>

namespace {
const char* const kCaptions[BackgroundMusic::kChoices] = {"Classic", "Filter", "Holyday",  "Industrial",
                                                          "Lite",    "Slow",   "ランダム", "なし"};
const char* const kFiles[BackgroundMusic::kPieces] = {"classic.mid",    "filter.mid", "holyday.mid",
                                                      "industrial.mid", "lite.mid",   "slow.mid"};
}  // namespace

BackgroundMusic::BackgroundMusic(MusicPlayer& player, RandomSource& random, const Clock& clock, QString soundFolder)
    : player_(player)
    , random_(random)
    , clock_(clock)
    , soundFolder_(std::move(soundFolder))
{
}

QString BackgroundMusic::caption(int choice)
{
    return choice >= 0 && choice < kChoices ? QString::fromUtf8(kCaptions[choice]) : QString();
}

QString BackgroundMusic::fileName(int piece)
{
    return piece >= 0 && piece < kPieces ? QString::fromLatin1(kFiles[piece]) : QString();
}

BackgroundMusic::Timer BackgroundMusic::tick(int choice)
{
    // While a choice is held the stored one is about to change: the
    // release decides what plays.
    if (held_ || player_.isPlaying())
        return Timer::KeepRunning;
    if (choice >= 0 && choice < kPieces) {
        play(choice);
    } else if (choice == kRandom) {
        if (bgmPos_ == 0)
            shuffle();
        play(bgmList_[size_t(bgmPos_)]);
        bgmPos_ = (bgmPos_ + 1) % kPieces;
    } else if (choice == kNone) {
        return Timer::Stop;
    }
    // A value no choice has (a hand-edited file) plays nothing.
    return Timer::KeepRunning;
}

void BackgroundMusic::play(int piece)
{
    if (player_.open(soundFolder_ + fileName(piece)))
        player_.play();
}

void BackgroundMusic::shuffle()
{
    random_.seed(quint64(clock_.msecsSinceEpoch()));
    for (int k = 0; k < kPieces; ++k)
        bgmList_[size_t(k)] = k;
    for (int k = kPieces - 1; k >= 1; --k) {
        const int j = std::clamp(int((k + 1) * random_.uniform()), 0, k);
        std::swap(bgmList_[size_t(k)], bgmList_[size_t(j)]);
    }
}

void BackgroundMusic::press()
{
    held_ = true;
    player_.close();
}

bool BackgroundMusic::choose(int choice)
{
    held_ = false;
    if (choice == kNone) {
        player_.close();
        return false;
    }
    if (choice == kRandom)
        bgmPos_ = 0;
    return true;
}

void BackgroundMusic::close()
{
    player_.close();
}
