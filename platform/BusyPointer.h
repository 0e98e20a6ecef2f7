#pragma once

// The application-wide busy (hourglass) pointer.
class BusyPointer {
public:
    virtual ~BusyPointer() = default;
    virtual void begin() = 0;  // show the busy pointer
    virtual void end() = 0;  // back to the normal pointer
};
