#pragma once

#include "platform/MusicPlayer.h"

#include <QStringList>

class FakeMusicPlayer : public MusicPlayer {
public:
    bool open(const QString& midiPath) override
    {
        log << QStringLiteral("open:") + midiPath.section(u'/', -1);
        return true;
    }
    void play() override
    {
        log << QStringLiteral("play");
        playing = true;
    }
    void close() override
    {
        log << QStringLiteral("close");
        playing = false;
    }
    bool isPlaying() const override { return playing; }
    QStringList log;
    bool playing = false;
};
