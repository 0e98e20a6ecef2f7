#pragma once

#include "Beeper.h"

class QtBeeper : public Beeper {
public:
    void beep() override;
};
