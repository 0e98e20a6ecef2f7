#pragma once

#include <SDL.h>
#include <SDL_mixer.h>

// SDL and SDL_mixer, loaded when sound is first wanted instead of with the
// program. SDL_mixer brings some thirty libraries with it (FluidSynth,
// PulseAudio, JACK, the audio decoders, SDL's video back-ends), and loading
// and relocating them at start delayed the first window for a run that may
// never play a sound.
//
// The calls keep the headers' own types; each member is called as the
// function of the same name.
struct SdlLibrary {
    // The loaded library, or nullptr when it is not installed or lacks a
    // call. Loaded once, on the first call, and never unloaded.
    static const SdlLibrary* get();

// NOLINTNEXTLINE(bugprone-macro-parentheses): name is declared, not evaluated
#define SONOHA_SDL_CALL(name) decltype(&::name) name = nullptr;
#define SONOHA_SDL_CALLS(X)                                                                                            \
    X(SDL_SetHint)                                                                                                     \
    X(SDL_GetError)                                                                                                    \
    X(SDL_InitSubSystem)                                                                                               \
    X(SDL_QuitSubSystem)                                                                                               \
    X(SDL_WasInit)                                                                                                     \
    X(SDL_Quit)                                                                                                        \
    X(SDL_RWFromConstMem)                                                                                              \
    X(Mix_Init)                                                                                                        \
    X(Mix_Quit)                                                                                                        \
    X(Mix_SetSoundFonts)                                                                                               \
    X(Mix_OpenAudio)                                                                                                   \
    X(Mix_CloseAudio)                                                                                                  \
    X(Mix_AllocateChannels)                                                                                            \
    X(Mix_LoadWAV_RW)                                                                                                  \
    X(Mix_FreeChunk)                                                                                                   \
    X(Mix_PlayChannelTimed)                                                                                            \
    X(Mix_HaltChannel)                                                                                                 \
    X(Mix_Playing)                                                                                                     \
    X(Mix_LoadMUS_RW)                                                                                                  \
    X(Mix_FreeMusic)                                                                                                   \
    X(Mix_PlayMusic)                                                                                                   \
    X(Mix_HaltMusic)                                                                                                   \
    X(Mix_VolumeMusic)                                                                                                 \
    X(Mix_PlayingMusic)
    SONOHA_SDL_CALLS(SONOHA_SDL_CALL)
#undef SONOHA_SDL_CALL
};
