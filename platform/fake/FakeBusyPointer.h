#pragma once

#include "platform/BusyPointer.h"

class FakeBusyPointer : public BusyPointer {
public:
    void begin() override
    {
        ++depth;
        ++begins;
    }
    void end() override
    {
        if (depth > 0)
            --depth;
    }
    int depth = 0;
    int begins = 0;
};
