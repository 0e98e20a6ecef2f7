#pragma once

#include "generators/PaintContext.h"

// The fruit or seed head people see on the plant: the dandelion clock, burs
// and hooked fruits, pods (plain and jointed), the long and short pods of
// the mustards and their flat fan- and heart-shaped ones, berries and
// gourds of their colour, capsules, follicles and long-beaked fruits.
class FruitPainter {
public:
    explicit FruitPainter(PaintContext& x);

    // Its real length or diameter in millimetres, as far as the flower's
    // size tells it.
    static double sizeMm(const PlantForm& form);
    // A capsule said to be long and slender.
    static bool slender(const PlantForm& form);
    void paint(QPointF at, double axis, double size);
    // A small kidney-shaped pod, as the distinction names it (the medicks).
    static bool kidney(const PlantForm& form);

private:
    void clock(QPointF at, double R);
    void plumes(QPointF at, double axis, double L);
    void bur(double L);
    void hooked(double L);
    void awnedHead(double L);
    void pod(double L, bool jointed);
    void silique(double L);
    void flat(double L, bool notched);
    void berry(double L, bool gourd);
    void capsule(double L, bool follicle);
    void beak(double L);

    PaintContext& x_;
    QColor ripe_;
};
