#pragma once

#include <QtGlobal>

// Uniform random numbers in [0, 1), seeded from the clock.
class RandomSource {
public:
    virtual ~RandomSource() = default;
    virtual void seed(quint64 value) = 0;
    virtual double uniform() = 0;
};
