#pragma once

#include "platform/SoundPlayer.h"

#include <QStringList>

// Log of sounds: "play:<file name>" or "stop".
class FakeSoundPlayer : public SoundPlayer {
public:
    void play(const QString& wavPath) override { log << QStringLiteral("play:") + wavPath.section(u'/', -1); }
    void stopAll() override { log << QStringLiteral("stop"); }
    QStringList log;
};
