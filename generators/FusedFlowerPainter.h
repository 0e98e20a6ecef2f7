#pragma once

#include "generators/PaintContext.h"

// Flowers whose petals are fused: tubes, bells, funnels, urns and
// salver-shaped flowers with a narrow tube and a flat limb, seen from the
// side and turned as they hang, stand or face sideways.
class FusedFlowerPainter {
public:
    explicit FusedFlowerPainter(PaintContext& x);
    void paint(QPointF at, double axis, double size, Facing facing);

private:
    double directionOf(double axis, Facing facing) const;
    void body(double L);
    void lobes(double L, double halfWidth);
    void openFace(double L, double radius);

    PaintContext& x_;
    int lobes_;
};
