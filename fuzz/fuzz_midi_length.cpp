// The length of a MIDI piece, read from a file of the sound folder: any
// bytes give a length or "none", never a read outside them.
#include "FuzzSupport.h"
#include "platform/MidiLength.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray smf = FuzzSupport::bytesOf(data, size);
    const qint64 ms = MidiLength::milliseconds(smf);
    if (ms < -1)
        FuzzSupport::fail("a negative length");
    if (!smf.startsWith("MThd") && ms != -1)
        FuzzSupport::fail("a length for bytes that are no MIDI file");
    return 0;
}
