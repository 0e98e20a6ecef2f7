#pragma once

#include "platform/RandomSource.h"

#include <random>

class SystemRandom : public RandomSource {
public:
    void seed(quint64 value) override;
    double uniform() override;

private:
    std::mt19937_64 engine_{5489u};
};
