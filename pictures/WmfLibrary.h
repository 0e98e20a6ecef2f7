#pragma once

#include <libwmf/api.h>
#include <libwmf/gd.h>

// libwmf, loaded when the first metafile is drawn instead of with the
// program: few catalogues hold a metafile, and its libraries need not be
// loaded and relocated before the first window.
//
// The calls keep the headers' own types; each member is called as the
// function of the same name.
struct WmfLibrary {
    // The loaded library, or nullptr when it is not installed or lacks a
    // call. Loaded once, on the first call from any thread, never unloaded.
    static const WmfLibrary* get();

    decltype(&::wmf_api_create) wmf_api_create = nullptr;
    decltype(&::wmf_api_destroy) wmf_api_destroy = nullptr;
    decltype(&::wmf_mem_open) wmf_mem_open = nullptr;
    decltype(&::wmf_scan) wmf_scan = nullptr;
    decltype(&::wmf_display_size) wmf_display_size = nullptr;
    decltype(&::wmf_play) wmf_play = nullptr;
    decltype(&::wmf_status_function) wmf_status_function = nullptr;
    decltype(&::wmf_gd_function) wmf_gd_function = nullptr;  // the drawing device, handed to wmf_api_create
};
