#pragma once

#include "generators/PlantForm.h"

#include <QPainterPath>
#include <QPolygonF>
#include <QVector>

// The outline of one leaf blade (or leaflet) from its contour and margin, in
// units of the blade's length: the base at the origin, the tip at (1, 0),
// the upper half at negative y. Built once per plant and scaled for every
// leaf, so the painters only transform and fill it.
class LeafOutline {
public:
    // Teeth, lobes and cuts follow `seed`; `width` scales the contour across.
    // `lyrate`: a large rounded end lobe over small side lobes (頭大羽状).
    static QPainterPath blade(LeafShape shape, const QVector<Margin>& margins, double width, quint64 seed,
                              bool lyrate = false);
    // The upper half of the plain contour, sampled densely from base to tip.
    static QPolygonF contour(LeafShape shape, double width);
    // Thread-like segments of a finely dissected leaf, to be stroked.
    static QPainterPath filaments(double width, quint64 seed);

private:
    static QPolygonF cut(const QPolygonF& upper, Margin margin, quint64 seed, bool pointedLobes = true);
    static QPolygonF lyrate(const QPolygonF& upper);
    static QPolygonF palmateLobes(LeafShape shape, double width, quint64 seed);
    static QPainterPath close(const QPolygonF& upper);
};
