#include "platform/SdlSoundPlayer.h"

#include "platform/SdlAudio.h"

#include <QFile>

#include <SDL_mixer.h>

SdlSoundPlayer::SdlSoundPlayer(SdlAudio& audio)
    : audio_(audio)
{
}

SdlSoundPlayer::~SdlSoundPlayer()
{
    stopAll();
    for (Mix_Chunk* chunk : std::as_const(chunks_))
        Mix_FreeChunk(chunk);
}

void SdlSoundPlayer::play(const QString& wavPath)
{
    if (wavPath.isEmpty() || !audio_.ensureOpen())
        return;
    if (Mix_Chunk* chunk = chunkFor(wavPath))
        Mix_PlayChannel(SdlAudio::clickChannel, chunk, 0);
}

void SdlSoundPlayer::stopAll()
{
    // Nothing can be playing on a device that was never opened; do not open
    // it just to stop.
    if (audio_.isOpen())
        Mix_HaltChannel(-1);
}

Mix_Chunk* SdlSoundPlayer::chunkFor(const QString& wavPath)
{
    if (Mix_Chunk* cached = chunks_.value(wavPath))
        return cached;
    // Read through QFile so that resource paths work as well as files; a
    // missing file is not remembered, so it is heard once it appears.
    QFile file(wavPath);
    if (!file.open(QIODevice::ReadOnly))
        return nullptr;
    const QByteArray data = file.readAll();
    SDL_RWops* rw = SDL_RWFromConstMem(data.constData(), int(data.size()));
    Mix_Chunk* chunk = rw ? Mix_LoadWAV_RW(rw, 1) : nullptr;
    if (chunk)
        chunks_.insert(wavPath, chunk);
    return chunk;
}
