#include "pictures/WmfLibrary.h"

#include <dlfcn.h>

namespace {

// The full library names the light one (the player) as a dependency, so
// every call is found through it.
constexpr const char* kLibrary = "libwmf-0.2.so.7";

template <typename Call>
bool resolve(void* library, const char* name, Call& call)
{
    call = reinterpret_cast<Call>(dlsym(library, name));
    return call != nullptr;
}

WmfLibrary* load()
{
    void* library = dlopen(kLibrary, RTLD_NOW | RTLD_LOCAL);
    if (!library)
        return nullptr;
    static WmfLibrary calls;
    bool complete = resolve(library, "wmf_api_create", calls.wmf_api_create);
    complete = resolve(library, "wmf_api_destroy", calls.wmf_api_destroy) && complete;
    complete = resolve(library, "wmf_mem_open", calls.wmf_mem_open) && complete;
    complete = resolve(library, "wmf_scan", calls.wmf_scan) && complete;
    complete = resolve(library, "wmf_display_size", calls.wmf_display_size) && complete;
    complete = resolve(library, "wmf_play", calls.wmf_play) && complete;
    complete = resolve(library, "wmf_status_function", calls.wmf_status_function) && complete;
    complete = resolve(library, "wmf_gd_function", calls.wmf_gd_function) && complete;
    return complete ? &calls : nullptr;
}

}  // namespace

const WmfLibrary* WmfLibrary::get()
{
    static const WmfLibrary* const loaded = load();
    return loaded;
}
