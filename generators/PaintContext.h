#pragma once

#include "generators/PaintKit.h"
#include "generators/PlantForm.h"
#include "generators/PlantPalette.h"

#include <QPainter>
#include <QString>

// What every painter of one plant needs: where to paint, the plant's
// description and colours, its random source, and the scale of the plate
// in pixels per centimetre, the same for every part of the plant.
struct PaintContext {
    QPainter& p;
    PaintKit::Rng& r;
    const PlantForm& form;
    const PlantPalette& c;
    double perCm = 1.0;
    QString family;  // KA2: what a family shares that the form does not say (veins, bracts of sedges)

    double mm(double millimetres) const { return millimetres * perCm / 10.0; }
    double cm(double centimetres) const { return centimetres * perCm; }
};
