#pragma once

#include "../Platform.h"
#include "FakeBeeper.h"
#include "FakeBusyPointer.h"
#include "FakeClock.h"
#include "FakeDocumentOpener.h"
#include "FakeMessageBoxes.h"
#include "FakeMusicPlayer.h"
#include "FakeProgramLauncher.h"
#include "FakeRandom.h"
#include "FakeSoundPlayer.h"

// All platform services as scripted fakes, for tests.
struct FakePlatform {
    FakeMessageBoxes messages;
    FakeBeeper beeper;
    FakeSoundPlayer sound;
    FakeMusicPlayer music;
    FakeDocumentOpener documents;
    FakeBusyPointer busy;
    FakeClock clock;
    FakeRandom random;
    FakeProgramLauncher programs;
    Platform platform{messages, beeper, sound, music, documents, busy, clock, random, programs};
};
