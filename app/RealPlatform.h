#pragma once

#include "platform/Platform.h"

#include <memory>

// Owns the real implementations of the platform services.
class RealPlatform {
public:
    RealPlatform();
    ~RealPlatform();
    Platform& platform() { return *platform_; }

private:
    struct Services;
    std::unique_ptr<Services> services_;
    std::unique_ptr<Platform> platform_;
};
