#pragma once

class MessageBoxes;
class Beeper;
class SoundPlayer;
class MusicPlayer;
class DocumentOpener;
class BusyPointer;
class Clock;
class RandomSource;
class ProgramLauncher;
class FileDialog;

// The platform services the program calls, each behind a small interface so
// that tests can answer dialogs and see what was shown and heard.
struct Platform {
    MessageBoxes& messages;
    Beeper& beeper;
    SoundPlayer& sound;
    MusicPlayer& music;
    DocumentOpener& documents;
    BusyPointer& busy;
    Clock& clock;
    RandomSource& random;
    ProgramLauncher& programs;
    FileDialog& files;
};
