#pragma once

#include <QString>

// The welcome line typed out on the message strip at start-up: one more
// character every 30 ms, the whole line for a second, a notice for two
// seconds, then the current status.
class WelcomeLine {
public:
    static const char* const kMessage;  // "ようこそ、ソノハVer.3.47へ。"
    static const char* const kNotice;

    struct Tick {
        QString text;  // what the strip shows after this tick
        int nextInterval;  // ms until the next tick; 0 when the line has ended
    };

    // status: the status message to show at the end (empty: the prompt).
    Tick tick(const QString& status);

private:
    int n_ = 0;
};
