#pragma once

#include "platform/BusyPointer.h"

class QtBusyPointer : public BusyPointer {
public:
    void begin() override;
    void end() override;

private:
    int depth_ = 0;
};
