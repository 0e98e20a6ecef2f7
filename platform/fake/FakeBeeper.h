#pragma once

#include "platform/Beeper.h"

class FakeBeeper : public Beeper {
public:
    void beep() override { ++count; }
    int count = 0;
};
