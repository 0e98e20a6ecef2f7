#pragma once

#include <QString>
#include <array>

class Clock;
class MusicPlayer;
class RandomSource;

// The music of a show, looked after once a second: one piece repeated, the
// six pieces in a fresh shuffle per pass, or silence. The player never
// reports errors here; without an audio device every tick finds nothing
// playing, tries again and stays silent.
class BackgroundMusic {
public:
    static constexpr int kPieces = 6;
    static constexpr int kRandom = 6;
    static constexpr int kNone = 7;
    static constexpr int kChoices = 8;

    // What the music timer should do after a tick.
    enum class Timer { KeepRunning, Stop };

    BackgroundMusic(MusicPlayer& player, RandomSource& random, const Clock& clock, QString soundFolder);

    static QString caption(int choice);  // "Classic" .. "なし"
    static QString fileName(int piece);  // "classic.mid" .. "slow.mid"

    // One tick with the choice just read from the settings.
    Timer tick(int choice);
    // A choice is pressed: the music stops at once, and no tick starts any
    // until the choice is released.
    void press();
    // A choice is released: a new pass for the random choice; "なし" keeps
    // silence. Returns whether the music timer should run.
    bool choose(int choice);
    // The show ends.
    void close();

    int position() const { return bgmPos_; }
    const std::array<int, kPieces>& playlist() const { return bgmList_; }

private:
    void play(int piece);
    void shuffle();

    MusicPlayer& player_;
    RandomSource& random_;
    const Clock& clock_;
    QString soundFolder_;
    int bgmPos_ = 0;
    bool held_ = false;  // a choice is pressed and not yet released
    std::array<int, kPieces> bgmList_{0, 1, 2, 3, 4, 5};
};
