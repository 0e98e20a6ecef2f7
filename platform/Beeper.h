#pragma once

// The system beep that answers a refused click.
class Beeper {
public:
    virtual ~Beeper() = default;
    virtual void beep() = 0;
};
