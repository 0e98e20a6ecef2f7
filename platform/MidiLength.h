#pragma once

#include <QByteArray>
#include <QtGlobal>

// How long a Standard MIDI File plays: the time of its last event (the end
// of its longest track), through its tempo changes. A synthesizer goes on
// sounding the reverberation of the last notes for seconds after that; the
// piece itself has ended. Reads outside data, so every length and count in
// the file is checked against the bytes there are.
class MidiLength {
public:
    // The length in milliseconds, or -1 when the bytes are no MIDI file with
    // a track.
    static qint64 milliseconds(const QByteArray& smf);
};
