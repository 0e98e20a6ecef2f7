#pragma once

#include "platform/SoundPlayer.h"

#include <QHash>
#include <QString>

class SdlAudio;
struct Mix_Chunk;

// Click sounds through SDL_mixer. Each file is decoded once and kept, so the
// sound starts without reading the disk again; all clicks share one mixer
// channel, so a new click replaces the one still playing.
class SdlSoundPlayer : public SoundPlayer {
public:
    explicit SdlSoundPlayer(SdlAudio& audio);
    ~SdlSoundPlayer() override;
    SdlSoundPlayer(const SdlSoundPlayer&) = delete;
    SdlSoundPlayer& operator=(const SdlSoundPlayer&) = delete;

    void play(const QString& wavPath) override;
    void stopAll() override;

private:
    Mix_Chunk* chunkFor(const QString& wavPath);

    SdlAudio& audio_;
    QHash<QString, Mix_Chunk*> chunks_;
};
