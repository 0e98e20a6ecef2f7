#pragma once

#include "generators/PaintContext.h"

// Flowers of bilateral symmetry, seen as a field guide shows them: the pea
// flower and the two-lipped flower from the side, the dayflower and the
// violet from the front, the small orchid flower at a slant. The main
// colour goes to the banner, the upper lip or the large petals, the second
// colour to the wings and keel, the lower lip or the small petal.
class ProfileFlowerPainter {
public:
    explicit ProfileFlowerPainter(PaintContext& x);
    void paint(QPointF at, double axis, double size);
    void violet(QPointF at, double axis, double size);

private:
    double heldAt(double axis) const;
    void pea(double L);
    void lipped(double L);
    void dayflower(QPointF at, double size);
    void orchid(double L);
    void calyx(double L);
    void spur(double L);

    PaintContext& x_;
};
