#pragma once

#include "platform/RandomSource.h"

#include <QList>

// Returns the scripted values in turn, then 0.
class FakeRandom : public RandomSource {
public:
    void seed(quint64 value) override { seeds.append(value); }
    double uniform() override { return values.isEmpty() ? 0.0 : values.takeFirst(); }
    QList<double> values;
    QList<quint64> seeds;
};
