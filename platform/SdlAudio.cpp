#include "platform/SdlAudio.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QLoggingCategory>

#include "platform/SdlLibrary.h"

#include <dlfcn.h>

namespace {

Q_LOGGING_CATEGORY(lcAudio, "sonoha.audio", QtInfoMsg)

constexpr const char* kSoundFont = "/usr/share/sounds/sf2/FluidR3_GM.sf2";
constexpr int kRate = 44100;
constexpr int kChunkFrames = 1024;  // about 23 ms: a click starts without a noticeable lag

bool instanceAlive = false;

// The ALSA library reports a missing sound card with a screenful of lines on
// stderr while SDL probes it. Failing to find a device is normal here, so the
// library's error printer is replaced with one that says nothing.
using AlsaErrorHandler = void (*)(const char*, int, const char*, int, const char*, ...);
using AlsaSetHandler = int (*)(AlsaErrorHandler);

void silentAlsaError(const char*, int, const char*, int, const char*, ...)
{
}

AlsaSetHandler alsaSetHandler(void* library)
{
    return library ? reinterpret_cast<AlsaSetHandler>(dlsym(library, "snd_lib_error_set_handler")) : nullptr;
}

}  // namespace

SdlAudio::SdlAudio()
{
    Q_ASSERT_X(!instanceAlive, "SdlAudio", "only one audio connection per process");
    instanceAlive = true;
}

SdlAudio::~SdlAudio()
{
    if (state_ == State::Open) {
        const SdlLibrary& s = *sdl_;
        s.Mix_HaltChannel(-1);
        s.Mix_HaltMusic();
        s.Mix_CloseAudio();
        s.Mix_Quit();
        s.SDL_QuitSubSystem(SDL_INIT_AUDIO);
        if (s.SDL_WasInit(SDL_INIT_EVERYTHING) == 0)
            s.SDL_Quit();
    }
    restoreAlsa();
    instanceAlive = false;
}

bool SdlAudio::ensureOpen()
{
    if (state_ == State::Untried)
        state_ = open() ? State::Open : State::Failed;
    return state_ == State::Open;
}

QString SdlAudio::soundFontPath()
{
    const QString path = QString::fromLatin1(kSoundFont);
    return QFileInfo(path).isReadable() ? path : QString();
}

bool SdlAudio::open()
{
    sdl_ = SdlLibrary::get();
    if (!sdl_) {
        qCDebug(lcAudio, "SDL_mixer is not installed; sound is off");
        return false;
    }
    const SdlLibrary& s = *sdl_;
    // SDL would otherwise take over SIGINT/SIGTERM, which belong to the
    // application, not to its sound library.
    s.SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    const QString appName = QCoreApplication::applicationName();
    if (!appName.isEmpty())
        s.SDL_SetHint(SDL_HINT_AUDIO_DEVICE_APP_NAME, appName.toUtf8().constData());
    quietAlsa();

    // With SDL_AUDIODRIVER unset SDL tries the real back-ends only (never the
    // dummy one), each of which gives up at once when there is no server or
    // card; so a silent machine costs a few milliseconds, once.
    if (s.SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
        fail("SDL audio");
        return false;
    }
    s.Mix_Init(MIX_INIT_MID);  // without MIDI support only the music stays silent
    if (qEnvironmentVariableIsEmpty("SDL_SOUNDFONTS")) {
        const QString font = soundFontPath();
        if (!font.isEmpty())
            s.Mix_SetSoundFonts(QFile::encodeName(font).constData());
    }
    if (s.Mix_OpenAudio(kRate, MIX_DEFAULT_FORMAT, 2, kChunkFrames) != 0) {
        fail("audio device");
        s.Mix_Quit();
        s.SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return false;
    }
    s.Mix_AllocateChannels(clickChannel + 1);
    return true;
}

void SdlAudio::fail(const char* step)
{
    qCDebug(lcAudio, "%s unavailable (%s); sound is off", step, sdl_->SDL_GetError());
}

void SdlAudio::quietAlsa()
{
    if (!alsaLibrary_)
        alsaLibrary_ = dlopen("libasound.so.2", RTLD_LAZY | RTLD_LOCAL);
    if (const AlsaSetHandler set = alsaSetHandler(alsaLibrary_))
        set(silentAlsaError);
}

void SdlAudio::restoreAlsa()
{
    if (!alsaLibrary_)
        return;
    if (const AlsaSetHandler set = alsaSetHandler(alsaLibrary_))
        set(nullptr);
    dlclose(alsaLibrary_);
    alsaLibrary_ = nullptr;
}
