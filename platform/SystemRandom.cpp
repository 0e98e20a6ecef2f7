#include "platform/SystemRandom.h"

void SystemRandom::seed(quint64 value)
{
    engine_.seed(value);
}

double SystemRandom::uniform()
{
    return std::uniform_real_distribution<double>(0.0, 1.0)(engine_);
}
