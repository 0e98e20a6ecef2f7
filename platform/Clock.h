#pragma once

#include <QtGlobal>

// Wall-clock time, for seeding and timing.
class Clock {
public:
    virtual ~Clock() = default;
    virtual qint64 msecsSinceEpoch() const = 0;
};
