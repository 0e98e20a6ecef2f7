#pragma once

#include "generators/PaintContext.h"

// The flower heads of the composites: strap florets only (dandelions, with
// no disc of another colour unless one is named), rays around a disc (as
// many and as fine as the description and its distinction give them), and
// disc florets only (a button, or the brush of a thistle on its cup of
// bracts).
class HeadPainter {
public:
    explicit HeadPainter(PaintContext& x);
    void paint(QPointF at, double axis, double size, Facing facing);
    // Rays of a head: from the distinction ("舌状花が５枚") or its size.
    static int rayCount(const PlantForm& form);
    // Whether the distinction is about the bracts under the head (the
    // dandelions): the close-up then shows the head from the side.
    static bool involucreIsTheKey(const PlantForm& form);
    // The head from the side, its bracts below it reflexed or pressed up.
    void profile(QPointF centre, double size);

private:
    void ligules(double R);
    void rays(double R);
    void disc(double R);
    void brush(QPointF at, double size);
    void cylinder(QPointF at, double axis, double size);
    void involucre(double R, int count);
    static bool reflexedBracts(const PlantForm& form);
    static bool leafyBracts(const PlantForm& form);
    static bool paperyBracts(const PlantForm& form);
    void bracted(double R);

    PaintContext& x_;
};
