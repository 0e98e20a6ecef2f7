#include "generators/FusedFlowerPainter.h"

#include "generators/FlowerPainter.h"

#include <QLinearGradient>
#include <algorithm>
#include <cmath>

using namespace PaintKit;

FusedFlowerPainter::FusedFlowerPainter(PaintContext& x)
    : x_(x)
    , lobes_(std::clamp(x.form.petals > 0 ? x.form.petals : 5, 3, 8))
{
}

double FusedFlowerPainter::directionOf(double axis, Facing facing) const
{
    switch (facing) {
    case Facing::Down: return 90 + sideOf(axis) * -12;
    case Facing::Up: return -90 + sideOf(axis) * 12;
    case Facing::Sideways: return pointsLeft(axis) ? 185 : -5;
    case Facing::Unsaid: break;
    }
    return axis;
}

void FusedFlowerPainter::paint(QPointF at, double axis, double size, Facing facing)
{
    QPainter& p = x_.p;
    const double dir = directionOf(axis, facing);
    if (facing == Facing::Down && std::abs(axis - dir) > 40) {  // the stalk bends over to hang the flower
        QPainterPath hook(at);
        const QPointF end = at + polar(axis, size * 0.12) + polar(dir, size * 0.12);
        hook.quadTo(at + polar(axis, size * 0.2), end);
        strokeLine(p, hook, x_.c.stem, std::max(0.6, size * 0.03));
        at = end;
    }
    p.save();
    orient(p, at, dir);
    const FlowerForm form = x_.form.flowerForm;
    const bool open = form == FlowerForm::Salver || form == FlowerForm::Funnel;
    const double L = form == FlowerForm::Salver ? size * 0.55 : form == FlowerForm::Funnel ? size * 0.7 : size;
    body(L);
    if (open)
        openFace(L, size / 2);
    p.restore();
}

// The corolla's outline from its base (0, 0) to its mouth at x = L.
void FusedFlowerPainter::body(double L)
{
    QPainter& p = x_.p;
    std::vector<Cubic> upper;
    double mouthHalf = 0.12 * L;
    switch (x_.form.flowerForm) {
    case FlowerForm::Tube:
        upper = {{QPointF(0.05 * L, -0.1 * L), QPointF(0.5 * L, -0.12 * L), QPointF(0.96 * L, -0.14 * L)}};
        mouthHalf = 0.14 * L;
        break;
    case FlowerForm::Bell:
        upper = {{QPointF(0.02 * L, -0.16 * L), QPointF(0.3 * L, -0.26 * L), QPointF(0.6 * L, -0.3 * L)},
                 {QPointF(0.82 * L, -0.33 * L), QPointF(0.92 * L, -0.42 * L), QPointF(L, -0.47 * L)}};
        mouthHalf = 0.47 * L;
        break;
    case FlowerForm::Urn:
        upper = {{QPointF(0.05 * L, -0.3 * L), QPointF(0.45 * L, -0.42 * L), QPointF(0.8 * L, -0.22 * L)},
                 {QPointF(0.9 * L, -0.14 * L), QPointF(0.95 * L, -0.16 * L), QPointF(L, -0.2 * L)}};
        mouthHalf = 0.2 * L;
        break;
    case FlowerForm::Funnel:
        upper = {{QPointF(0.1 * L, -0.07 * L), QPointF(0.35 * L, -0.08 * L), QPointF(0.55 * L, -0.14 * L)},
                 {QPointF(0.75 * L, -0.22 * L), QPointF(0.9 * L, -0.38 * L), QPointF(L, -0.5 * L)}};
        mouthHalf = 0.5 * L;
        break;
    default:  // the tube of a salver-shaped flower
        upper = {{QPointF(0.1 * L, -0.07 * L), QPointF(0.6 * L, -0.06 * L), QPointF(L, -0.08 * L)}};
        mouthHalf = 0.08 * L;
        break;
    }
    upper.push_back({QPointF(L, -mouthHalf * 0.5), QPointF(L, -mouthHalf * 0.1), QPointF(L, 0)});
    QLinearGradient g(QPointF(0, -0.4 * L), QPointF(0, 0.4 * L));
    g.setColorAt(0, x_.c.petal.light);
    g.setColorAt(0.5, x_.c.petal.base);
    g.setColorAt(1, x_.c.petal.deep);
    p.setPen(L > 5 ? QPen(x_.c.petal.edge, std::min(0.8, L * 0.03)) : QPen(Qt::NoPen));
    if (L > 12)
        p.setBrush(g);
    else
        p.setBrush(x_.c.petal.base);
    p.drawPath(mirrored(upper));
    if (x_.form.flowerForm != FlowerForm::Salver && x_.form.flowerForm != FlowerForm::Funnel)
        lobes(L, mouthHalf);
    if (x_.form.has(FlowerFeature::Stamens)) {  // long stamens standing out of the mouth
        for (int i = 0; i < 4; ++i) {
            const QPointF end(L * 1.55, (i - 1.5) * L * 0.22);
            line(p, QPointF(L * 0.8, 0), end, withAlpha(x_.c.petal.light, 0.95), std::max(0.4, L * 0.025));
            dot(p, end, std::max(0.6, L * 0.07), x_.form.hasCentreColour ? x_.c.centre.base : x_.c.pollen);
        }
    }
    // sepals at the base
    p.setPen(Qt::NoPen);
    p.setBrush(x_.c.leaf);
    p.drawPath(mirrored({{QPointF(0, -0.08 * L), QPointF(0.12 * L, -0.1 * L), QPointF(0.2 * L, 0)}}));
}

// Small lobes flaring at the mouth, and the throat's colour inside it.
void FusedFlowerPainter::lobes(double L, double halfWidth)
{
    QPainter& p = x_.p;
    const bool flared = x_.form.flowerForm == FlowerForm::Bell || x_.form.has(FlowerFeature::Reflexed);
    const int shown = std::max(2, lobes_ / 2 + 1);
    p.setBrush(x_.c.petal.base);
    for (int i = 0; i < shown; ++i) {
        const double u = -1.0 + 2.0 * i / (shown - 1);
        const QPointF base(L * 0.96, u * halfWidth * 0.9);
        const double a = u * (flared ? 55 : 20);
        p.save();
        p.translate(base);
        p.rotate(a);
        p.drawPath(mirrored({{QPointF(0.02 * L, -0.08 * L), QPointF(0.1 * L, -0.08 * L), QPointF(0.16 * L, 0)}}));
        p.restore();
    }
    const QColor throat = x_.form.hasCentreColour   ? x_.c.centre.base
                          : x_.form.hasSecondColour ? x_.c.second.base
                                                    : x_.c.petal.deep;
    p.setPen(Qt::NoPen);
    p.setBrush(throat);
    p.drawEllipse(QPointF(L * 0.985, 0), std::max(0.4, L * 0.04), halfWidth * 0.7);
}

// The open face of a funnel or salver-shaped flower at the mouth of its
// tube, turned toward the viewer at a slant.
void FusedFlowerPainter::openFace(double L, double radius)
{
    QPainter& p = x_.p;
    p.save();
    p.translate(L, 0);
    p.scale(0.45, 1.0);
    p.rotate(90);
    FlowerPainter(x_).face(radius, 0, 0.45);
    p.restore();
}
