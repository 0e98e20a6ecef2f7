#include "platform/SdlMusicPlayer.h"

#include "platform/BoundedFile.h"
#include "platform/MidiLength.h"
#include "platform/SdlAudio.h"

#include "platform/SdlLibrary.h"

namespace {

// The MIDI synthesizer behind SDL_mixer plays at six times its usual gain at
// full music volume, which would make background music louder than anything
// else on the desktop; at this setting the pieces average about -23 dBFS
// and their loudest notes stay near half of full scale.
constexpr int kMusicVolume = 80;

constexpr qint64 kMaxMidiBytes = qint64(4) * 1024 * 1024;

}  // namespace

SdlMusicPlayer::SdlMusicPlayer(SdlAudio& audio)
    : audio_(audio)
{
}

SdlMusicPlayer::~SdlMusicPlayer()
{
    close();
}

bool SdlMusicPlayer::open(const QString& midiPath)
{
    if (!audio_.ensureOpen()) {
        close();
        return false;
    }
    // MIDI pieces are tens of kilobytes; a pipe, a device or a huge file in
    // their place is refused as if missing.
    std::optional<QByteArray> read = BoundedFile::read(midiPath, kMaxMidiBytes);
    if (read && music_ && *read == data_) {
        // The piece that is open already, as when one piece repeats: loading
        // it again would read the whole soundfont again, for a second or more.
        audio_.sdl().Mix_HaltMusic();
        started_.invalidate();
        return true;
    }
    close();
    if (!read)
        return false;
    data_ = std::move(*read);
    lengthMs_ = MidiLength::milliseconds(data_);
    const SdlLibrary& sdl = audio_.sdl();
    SDL_RWops* rw = sdl.SDL_RWFromConstMem(data_.constData(), int(data_.size()));
    music_ = rw ? sdl.Mix_LoadMUS_RW(rw, 1) : nullptr;
    if (!music_)
        data_.clear();
    return music_ != nullptr;
}

void SdlMusicPlayer::play()
{
    if (!music_)
        return;
    // A piece is open only once the device is.
    audio_.sdl().Mix_VolumeMusic(kMusicVolume);
    if (audio_.sdl().Mix_PlayMusic(music_, 1) == 0)
        started_.start();
}

void SdlMusicPlayer::close()
{
    if (!music_)
        return;
    audio_.sdl().Mix_HaltMusic();
    audio_.sdl().Mix_FreeMusic(music_);
    music_ = nullptr;
    data_.clear();
    lengthMs_ = -1;
    started_.invalidate();
}

bool SdlMusicPlayer::isPlaying() const
{
    if (!music_ || audio_.sdl().Mix_PlayingMusic() == 0 || !started_.isValid())
        return false;
    return lengthMs_ < 0 || started_.elapsed() < lengthMs_;
}
