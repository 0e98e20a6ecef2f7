#pragma once

#include <QByteArray>
#include <QStringList>

// Makes the program's sounds from code: the three click sounds of the photo
// windows and the six background pieces of the slideshow. Everything is
// generated deterministically, so the same bytes come out on every run and
// the installer can write them into the "sound" folder.
class SoundSynth {
public:
    // A click sound as a WAV file (16-bit mono PCM, 22050 Hz), shorter than
    // 0.4 s: 0 a single "pi!", 1 a double "pi-pi!", 2 a rising bird-like
    // "chui". Empty for any other number.
    static QByteArray clickWav(int which);

    // A background piece as a Standard MIDI File (format 0, General MIDI),
    // 40 to 90 seconds long: 0 classic, 1 filter, 2 holyday, 3 industrial,
    // 4 lite, 5 slow. Empty for any other number.
    static QByteArray midiPiece(int which);

    // The file names, in the numbering of clickWav() and midiPiece().
    static QStringList clickFileNames();
    static QStringList midiFileNames();
};
