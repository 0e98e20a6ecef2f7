#pragma once

#include "platform/MusicPlayer.h"

#include <QByteArray>
#include <QElapsedTimer>
#include <QString>

// SDL_mixer's names, declared here so that its header (and library) stay
// out of everything that includes this one.
struct _Mix_Music;  // NOLINT(bugprone-reserved-identifier)
using Mix_Music = _Mix_Music;

class SdlAudio;

// Background music through SDL_mixer, which renders MIDI with the General
// MIDI soundfont that SdlAudio selects. Only one piece is open at a time. A
// piece has ended at its last event, although the synthesizer goes on
// sounding the reverberation of its last notes for seconds, so that a piece
// that repeats starts again at once; it is not loaded again for that.
class SdlMusicPlayer : public MusicPlayer {
public:
    explicit SdlMusicPlayer(SdlAudio& audio);
    ~SdlMusicPlayer() override;
    SdlMusicPlayer(const SdlMusicPlayer&) = delete;
    SdlMusicPlayer& operator=(const SdlMusicPlayer&) = delete;

    bool open(const QString& midiPath) override;
    void play() override;
    void close() override;
    bool isPlaying() const override;

private:
    SdlAudio& audio_;
    QByteArray data_;  // the decoder may read from it for as long as the piece is open
    Mix_Music* music_ = nullptr;
    qint64 lengthMs_ = -1;  // -1: not known, the synthesizer's end counts
    QElapsedTimer started_;
};
