// The background music's player on the program's own pieces: how long
// open() takes for a piece not open yet (SDL_mixer loads the General MIDI
// soundfont for each piece) and for the piece that is open already (one
// piece that repeats), and how long after the piece's own end the player
// reports it ended.
//
// usage: music_bench [piece=5] — runs with SDL_AUDIODRIVER=dummy when no
// sound card is there; the piece plays in real time.

#include "generators/SoundSynth.h"
#include "platform/MidiLength.h"
#include "platform/SdlAudio.h"
#include "platform/SdlMusicPlayer.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QThread>
#include <cstdio>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const int piece = argc > 1 ? std::atoi(argv[1]) : 5;
    QTemporaryDir dir;
    const QString path = dir.filePath(SoundSynth::midiFileNames().value(piece));
    QFile file(path);
    const QByteArray smf = SoundSynth::midiPiece(piece);
    if (smf.isEmpty() || !file.open(QIODevice::WriteOnly) || file.write(smf) != smf.size())
        return 1;
    file.close();
    SdlAudio audio;
    if (!audio.ensureOpen() || SdlAudio::soundFontPath().isEmpty()) {
        std::printf("no audio device or no soundfont\n");
        return 1;
    }
    SdlMusicPlayer player(audio);
    QElapsedTimer t;
    t.start();
    if (!player.open(path))
        return 1;
    const double first = double(t.nsecsElapsed()) / 1e6;
    t.restart();
    player.open(path);
    const double again = double(t.nsecsElapsed()) / 1e6;
    const qint64 length = MidiLength::milliseconds(smf);
    std::printf("%s: %.2f s to its end\n", qPrintable(QFileInfo(path).fileName()), double(length) / 1000);
    std::printf("open, piece not open yet     %8.1f ms\n", first);
    std::printf("open, the piece open already %8.1f ms\n", again);
    t.restart();
    player.play();
    while (player.isPlaying())
        QThread::msleep(5);
    std::printf("reported ended %+.0f ms after its end\n", double(t.elapsed() - length));
    return 0;
}
