#pragma once

#include "platform/Beeper.h"

class QtBeeper : public Beeper {
public:
    void beep() override;
};
