#pragma once

#include "platform/Clock.h"

class SystemClock : public Clock {
public:
    qint64 msecsSinceEpoch() const override;
};
