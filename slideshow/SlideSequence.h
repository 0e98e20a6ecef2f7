#pragma once

#include <vector>

class Clock;
class RandomSource;
struct SlideshowMemory;

enum class SlideOrder { Kana = 0, Random = 1 };
enum class ShowState { Running, Paused };

// Which catalogue slot is on screen, and which comes next: the catalogue
// order with wrap-around, or a random permutation played in cycles. Slots are
// 1..count. The position of the random steps is borrowed from the memory the
// caller keeps, so that a later show in the same run goes on from it.
class SlideSequence {
public:
    SlideSequence(SlideOrder order, int count, SlideshowMemory& memory, RandomSource& random, const Clock& clock);

    // The first slide: slot 1, or the first of a fresh permutation.
    int start();
    // One timed step; returns the new slot.
    int step();
    // Pauses the show. The slot the resume will show is chosen now, so that
    // its picture can be made ready while the show stands still.
    void pause();
    // Resumes with an immediate step; returns the new slot.
    int resume();

    int current() const { return current_; }
    // The slot the next change (a timed step, or the resume when paused)
    // will show; the sequence itself does not move.
    int upcoming() const;
    ShowState state() const { return state_; }
    SlideOrder order() const { return order_; }
    int count() const { return count_; }
    // The permutation, positions 1..count (position 0 unused); empty in
    // catalogue order.
    const std::vector<int>& randomList() const { return rndList_; }
    bool randomFirst() const { return rndFirst_; }

private:
    void shuffle();
    int nextInCatalogue() const { return current_ < count_ ? current_ + 1 : 1; }
    // The random step's result without moving: position and slot.
    void nextRandom(int* pos, bool* first) const;

    SlideOrder order_;
    int count_;
    SlideshowMemory& memory_;
    RandomSource& random_;
    const Clock& clock_;
    ShowState state_ = ShowState::Running;
    int current_ = 0;
    int resumeSlot_ = 0;
    bool rndFirst_ = false;
    std::vector<int> rndList_;
};
