#include "slideshow/SlideSequence.h"

#include "platform/Clock.h"
#include "platform/RandomSource.h"
#include "slideshow/SlideshowMemory.h"

#include <algorithm>
#include <utility>

SlideSequence::SlideSequence(SlideOrder order, int count, SlideshowMemory& memory, RandomSource& random,
                             const Clock& clock)
    : order_(order)
    , count_(std::max(count, 0))
    , memory_(memory)
    , random_(random)
    , clock_(clock)
{
}

int SlideSequence::start()
{
    state_ = ShowState::Running;
    if (count_ == 0)
        return current_ = 0;
    if (order_ == SlideOrder::Kana)
        return current_ = 1;
    rndFirst_ = true;
    random_.seed(quint64(clock_.msecsSinceEpoch()));
    shuffle();
    return current_ = rndList_[1];
}

void SlideSequence::shuffle()
{
    rndList_.assign(size_t(count_) + 1, 0);
    for (int i = 1; i <= count_; ++i)
        rndList_[size_t(i)] = i;
    for (int w = count_; w >= 2; --w) {
        // A generator that strays to 1.0 must not pick a slot past w.
        const int j = std::clamp(int(w * random_.uniform() + 1), 1, w);
        std::swap(rndList_[size_t(w)], rndList_[size_t(j)]);
    }
}

void SlideSequence::nextRandom(int* pos, bool* first) const
{
    *first = rndFirst_;
    if (memory_.RndPos < count_) {
        if (*first) {
            *first = false;
            *pos = 2;
        } else {
            *pos = memory_.RndPos + 1;
        }
    } else {
        *pos = 1;
    }
}

int SlideSequence::step()
{
    if (count_ == 0)
        return 0;
    if (order_ == SlideOrder::Kana)
        return current_ = nextInCatalogue();
    int pos = 0;
    nextRandom(&pos, &rndFirst_);
    // With a single record position 2 does not exist: the cycle is position 1.
    pos = std::min(pos, count_);
    memory_.RndPos = pos;
    return current_ = rndList_[size_t(pos)];
}

void SlideSequence::pause()
{
    if (state_ == ShowState::Paused || count_ == 0)
        return;
    state_ = ShowState::Paused;
    if (order_ == SlideOrder::Kana)
        resumeSlot_ = nextInCatalogue();
    else
        resumeSlot_ = std::clamp(int(count_ * random_.uniform() + 1), 1, count_);
}

int SlideSequence::resume()
{
    if (state_ == ShowState::Running)
        return current_;
    state_ = ShowState::Running;
    return current_ = resumeSlot_;
}

int SlideSequence::upcoming() const
{
    if (count_ == 0)
        return 0;
    if (state_ == ShowState::Paused)
        return resumeSlot_;
    if (order_ == SlideOrder::Kana)
        return nextInCatalogue();
    int pos = 0;
    bool first = false;
    nextRandom(&pos, &first);
    return rndList_[size_t(std::min(pos, count_))];
}
