#pragma once

#include "platform/Platform.h"
#include "platform/fake/FakeBeeper.h"
#include "platform/fake/FakeBusyPointer.h"
#include "platform/fake/FakeClock.h"
#include "platform/fake/FakeDocumentOpener.h"
#include "platform/fake/FakeFileDialog.h"
#include "platform/fake/FakeMessageBoxes.h"
#include "platform/fake/FakeMusicPlayer.h"
#include "platform/fake/FakeProgramLauncher.h"
#include "platform/fake/FakeRandom.h"
#include "platform/fake/FakeSoundPlayer.h"

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
    FakeFileDialog files;
    Platform platform{messages, beeper, sound, music, documents, busy, clock, random, programs, files};
};
