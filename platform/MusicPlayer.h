#pragma once

#include <QString>

// Background music: one MIDI piece at a time, played once from its start.
// The slideshow polls isPlaying() to decide when to start the next piece, so
// a player without a working audio device simply reports that nothing plays.
class MusicPlayer {
public:
    virtual ~MusicPlayer() = default;
    // Loads a piece, replacing any piece already open (which stops).
    // Returns false for a missing or unreadable file, or when there is no
    // audio device; nothing is open afterwards.
    virtual bool open(const QString& midiPath) = 0;
    // Starts the open piece from its beginning, once; does nothing when no
    // piece is open.
    virtual void play() = 0;
    // Stops the music at once and forgets the open piece. Safe to call at any
    // time, also when nothing is open.
    virtual void close() = 0;
    // True while the open piece is sounding; false after its end, after
    // close(), and always when there is no audio device.
    virtual bool isPlaying() const = 0;
};
