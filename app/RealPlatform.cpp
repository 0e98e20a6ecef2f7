#include "app/RealPlatform.h"

#include "platform/DesktopDocumentOpener.h"
#include "platform/DesktopProgramLauncher.h"
#include "platform/QtBusyPointer.h"
#include "platform/SdlAudio.h"
#include "platform/SdlMusicPlayer.h"
#include "platform/SdlSoundPlayer.h"
#include "platform/SystemClock.h"
#include "platform/SystemRandom.h"
#include "widgets/QtBeeper.h"
#include "widgets/QtFileDialog.h"
#include "widgets/QtMessageBoxes.h"

struct RealPlatform::Services {
    SdlAudio audio;  // first in, last out: the players close before the device
    QtMessageBoxes messages;
    QtBeeper beeper;
    SdlSoundPlayer sound{audio};
    SdlMusicPlayer music{audio};
    DesktopDocumentOpener documents;
    QtBusyPointer busy;
    SystemClock clock;
    SystemRandom random;
    DesktopProgramLauncher programs;
    QtFileDialog files;
};

RealPlatform::RealPlatform()
    : services_(std::make_unique<Services>())
{
    Services& s = *services_;
    platform_ = std::make_unique<Platform>(
        Platform{s.messages, s.beeper, s.sound, s.music, s.documents, s.busy, s.clock, s.random, s.programs, s.files});
}

RealPlatform::~RealPlatform() = default;
