#pragma once

#include <QString>

struct SdlLibrary;

// The program's one connection to the sound device, shared by the click
// sounds and the slideshow music. The device is opened on first use rather
// than at start-up, so a session that never plays a sound never touches the
// audio system, nor loads its libraries (SdlLibrary). A machine without a usable device (a build server, a remote
// session) is not an error: the first attempt fails quietly, the failure is
// remembered, and every later request is answered with silence at once.
//
// Create exactly one, before the players that use it, and destroy it after
// them (the players keep a reference to it).
class SdlAudio {
public:
    SdlAudio();
    ~SdlAudio();
    SdlAudio(const SdlAudio&) = delete;
    SdlAudio& operator=(const SdlAudio&) = delete;

    // Opens the device on the first call; returns whether sound can be
    // played. Later calls repeat the first answer without trying again.
    bool ensureOpen();
    bool isOpen() const { return state_ == State::Open; }
    // SDL's calls; valid while the device is open.
    const SdlLibrary& sdl() const { return *sdl_; }

    // The one mixer channel the click sounds share, so that a new click
    // cuts off the one before.
    static constexpr int clickChannel = 0;

    // The General MIDI soundfont the MIDI pieces are rendered with; empty
    // when it is not installed.
    static QString soundFontPath();

private:
    enum class State { Untried, Open, Failed };

    bool open();
    void fail(const char* step);
    void quietAlsa();
    void restoreAlsa();

    State state_ = State::Untried;
    const SdlLibrary* sdl_ = nullptr;
    void* alsaLibrary_ = nullptr;
};
