#pragma once

#include <QString>

// Short sound effects (the click of a photo window opening). Implementations
// never fail loudly: the program must behave the same with or without sound.
class SoundPlayer {
public:
    virtual ~SoundPlayer() = default;
    // Plays a WAV file asynchronously; a new sound cuts off one still playing.
    // A missing file or no audio device means silence.
    virtual void play(const QString& wavPath) = 0;
    // Stops any sound that is playing.
    virtual void stopAll() = 0;
};
