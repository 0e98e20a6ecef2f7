#pragma once

#include "platform/Clock.h"

class FakeClock : public Clock {
public:
    qint64 msecsSinceEpoch() const override { return now; }
    qint64 now = 1'700'000'000'000;
};
