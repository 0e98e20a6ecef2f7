#include "platform/SdlSoundPlayer.h"

#include "platform/BoundedFile.h"
#include "platform/SdlAudio.h"

#include "platform/SdlLibrary.h"

namespace {

// The click sounds last under a second; 16 MiB is over a minute of CD-quality
// sound, far beyond any click, yet little enough to hold.
constexpr qint64 kMaxWavBytes = qint64(16) * 1024 * 1024;

}  // namespace

SdlSoundPlayer::SdlSoundPlayer(SdlAudio& audio)
    : audio_(audio)
{
}

SdlSoundPlayer::~SdlSoundPlayer()
{
    stopAll();
    // Chunks exist only once the device has been opened.
    for (Mix_Chunk* chunk : std::as_const(chunks_))
        audio_.sdl().Mix_FreeChunk(chunk);
}

void SdlSoundPlayer::play(const QString& wavPath)
{
    if (wavPath.isEmpty() || !audio_.ensureOpen())
        return;
    if (Mix_Chunk* chunk = chunkFor(wavPath))
        audio_.sdl().Mix_PlayChannelTimed(SdlAudio::clickChannel, chunk, 0, -1);
}

void SdlSoundPlayer::stopAll()
{
    // Nothing can be playing on a device that was never opened; do not open
    // it just to stop.
    if (audio_.isOpen())
        audio_.sdl().Mix_HaltChannel(-1);
}

Mix_Chunk* SdlSoundPlayer::chunkFor(const QString& wavPath)
{
    if (Mix_Chunk* cached = chunks_.value(wavPath))
        return cached;
    // Only a regular file within the cap is read: a pipe or a device in
    // place of a sound would block the click or fill the memory. A missing
    // or refused file is not remembered, so it is heard once it is mended.
    const std::optional<QByteArray> read = BoundedFile::read(wavPath, kMaxWavBytes);
    if (!read)
        return nullptr;
    const QByteArray& data = *read;
    const SdlLibrary& sdl = audio_.sdl();
    SDL_RWops* rw = sdl.SDL_RWFromConstMem(data.constData(), int(data.size()));
    Mix_Chunk* chunk = rw ? sdl.Mix_LoadWAV_RW(rw, 1) : nullptr;
    if (chunk)
        chunks_.insert(wavPath, chunk);
    return chunk;
}
