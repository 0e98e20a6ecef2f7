#include "platform/SdlLibrary.h"

#include <dlfcn.h>

namespace {

// SDL_mixer's library names SDL's as a dependency, so one load brings both
// and every call is found through it.
constexpr const char* kMixerLibrary = "libSDL2_mixer-2.0.so.0";

template <typename Call>
bool resolve(void* library, const char* name, Call& call)
{
    call = reinterpret_cast<Call>(dlsym(library, name));
    return call != nullptr;
}

SdlLibrary* load()
{
    void* library = dlopen(kMixerLibrary, RTLD_NOW | RTLD_LOCAL);
    if (!library)
        return nullptr;
    static SdlLibrary calls;
    bool complete = true;
#define SONOHA_SDL_RESOLVE(name) complete = resolve(library, #name, calls.name) && complete;
    SONOHA_SDL_CALLS(SONOHA_SDL_RESOLVE)
#undef SONOHA_SDL_RESOLVE
    return complete ? &calls : nullptr;
}

}  // namespace

const SdlLibrary* SdlLibrary::get()
{
    static const SdlLibrary* const loaded = load();
    return loaded;
}
