#pragma once

#include "generators/PaintContext.h"

#include <QPainterPath>

// Paints one flower as the description gives it, at its real size on the
// plate: the form (free petals, fused tubes and bells, two-lipped, pea,
// dayflower, violet, orchid, the heads of the composites, spikelets, the
// spathe of the arums), the number of petals, their features (notched,
// bilobed, fringed, reflexed), the markings and colours, and which way it
// faces. A flower of a few pixels is painted as the dot of colour it is.
class FlowerPainter {
public:
    explicit FlowerPainter(PaintContext& x);

    // The flower at the end of a stalk arriving at `at` along `axis`;
    // `size` in pixels is what the description measures (a diameter, or the
    // length of tubes, lips and pea flowers, or a composite head's diameter).
    void paint(QPointF at, double axis, double size);
    // The same, turned as given instead of as described.
    void paint(QPointF at, double axis, double size, Facing facing);
    void bud(QPointF at, double axis, double size);

    // A petal along +x of length L and half-width w; notch cuts its tip.
    static QPainterPath petalPath(double L, double w, double notch, bool pointed);
    // The petals, markings and centre of an open flower of radius R,
    // facing +z in the current frame (squash: how far it is tilted).
    void face(double R, double phase, double squash);

private:
    void dotted(QPointF at, double size);
    void radial(QPointF at, double axis, double size, Facing facing);
    void nodding(QPointF at, double axis, double size);
    void hangingStamens(QPointF from, double L);
    void petalRing(double R, int count, double phase, double squash);
    void limb(double R, int lobes, double phase);
    QPainterPath clawedPetal(double L, double w) const;
    void unequalPetals(double R);
    void spurs(double R, int count, double phase);
    void petalMarks(double L, double w);
    void centre(double R, double squash);
    void stamens(double R, int count, double reach);
    void apetalous(QPointF at, double size);
    void spikelet(QPointF at, double axis, double size);
    void spathe(QPointF at, double axis, double size);

    PaintContext& x_;
    double petalWidth_;
    double notch_;
};
