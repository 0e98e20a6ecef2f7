#include "generators/ProfileFlowerPainter.h"

#include "generators/FlowerPainter.h"

#include <QLinearGradient>
#include <algorithm>
#include <cmath>

using namespace PaintKit;

namespace {

QColor markColour(const PlantForm& f, MarkKind kind, const QColor& fallback)
{
    for (const Marking& m : f.markings)
        if (m.kind == kind)
            return PlantPalette::colourOf(m.colour);
    return fallback;
}

}  // namespace

ProfileFlowerPainter::ProfileFlowerPainter(PaintContext& x)
    : x_(x)
{
}

// Flowers on a spike or raceme stand out sideways; a nodding one hangs.
double ProfileFlowerPainter::heldAt(double axis) const
{
    const double side = sideOf(axis);
    if (x_.form.facing == Facing::Down)
        return side > 0 ? 60 : 120;
    if (x_.form.facing == Facing::Up)
        return side > 0 ? -50 : -130;
    const double horizontal = side > 0 ? 0.0 : 180.0;
    double d = axis - horizontal;
    while (d > 180)
        d -= 360;
    while (d < -180)
        d += 360;
    return horizontal + std::clamp(d * 0.45, -35.0, 35.0);
}

void ProfileFlowerPainter::paint(QPointF at, double axis, double size)
{
    if (x_.form.flowerForm == FlowerForm::Dayflower) {
        dayflower(at, size);
        return;
    }
    QPainter& p = x_.p;
    p.save();
    orient(p, at, heldAt(axis));
    switch (x_.form.flowerForm) {
    case FlowerForm::Pea: pea(size); break;
    case FlowerForm::Orchid: orchid(size); break;
    default:
        if (x_.form.has(FlowerFeature::Spur))
            spur(size);
        lipped(size);
        break;
    }
    p.restore();
}

void ProfileFlowerPainter::calyx(double L)
{
    QPainter& p = x_.p;
    const QPainterPath calyx =
        mirrored({{QPointF(0, -0.07 * L), QPointF(0.15 * L, -0.1 * L), QPointF(0.3 * L, -0.1 * L)},
                  {QPointF(0.32 * L, -0.07 * L), QPointF(0.3 * L, -0.04 * L), QPointF(0.34 * L, 0)}});
    p.setPen(L > 8 ? QPen(withAlpha(x_.c.leafDark, 0.9), 0.5) : QPen(Qt::NoPen));
    p.setBrush(x_.c.leaf);
    p.drawPath(calyx);
}

void ProfileFlowerPainter::spur(double L)
{
    QPainter& p = x_.p;
    QPainterPath s(QPointF(0.22 * L, -0.08 * L));
    s.cubicTo(-0.05 * L, -0.1 * L, -0.3 * L, -0.02 * L, -0.32 * L, 0.06 * L);
    s.cubicTo(-0.26 * L, 0.1 * L, 0.0, 0.06 * L, 0.22 * L, 0.06 * L);
    s.closeSubpath();
    p.setPen(QPen(x_.c.petal.edge, 0.5));
    p.setBrush(x_.c.petal.base);
    p.drawPath(s);
}

void ProfileFlowerPainter::lipped(double L)
{
    QPainter& p = x_.p;
    QPainterPath tube(QPointF(0.2 * L, -0.05 * L));
    tube.cubicTo(0.35 * L, -0.07 * L, 0.5 * L, -0.12 * L, 0.62 * L, -0.17 * L);
    tube.lineTo(0.66 * L, 0.06 * L);
    tube.cubicTo(0.5 * L, 0.05 * L, 0.35 * L, 0.05 * L, 0.2 * L, 0.05 * L);
    tube.closeSubpath();
    QPainterPath hood(QPointF(0.5 * L, -0.1 * L));
    hood.cubicTo(0.5 * L, -0.44 * L, 0.86 * L, -0.54 * L, 0.99 * L, -0.3 * L);
    hood.cubicTo(1.03 * L, -0.2 * L, 0.9 * L, -0.1 * L, 0.64 * L, -0.02 * L);
    hood.closeSubpath();
    QPainterPath lip(QPointF(0.6 * L, 0.0));
    lip.cubicTo(0.78 * L, 0.0, 0.98 * L, -0.04 * L, 1.07 * L, 0.1 * L);
    lip.cubicTo(1.13 * L, 0.27 * L, 0.92 * L, 0.37 * L, 0.8 * L, 0.25 * L);
    lip.cubicTo(0.72 * L, 0.17 * L, 0.66 * L, 0.1 * L, 0.58 * L, 0.06 * L);
    lip.closeSubpath();
    p.setPen(L > 6 ? QPen(x_.c.petal.edge, std::min(0.6, L * 0.04)) : QPen(Qt::NoPen));
    p.setBrush(mix(x_.c.petal.light, x_.c.petal.base, 0.5));
    p.drawPath(tube);
    p.setBrush(x_.c.petal.base);
    p.drawPath(hood);
    p.setBrush(x_.c.second.base);
    p.drawPath(lip);
    if (L > 8) {  // spots or a blotch on the lower lip guide the bee
        p.setPen(Qt::NoPen);
        p.setBrush(markColour(x_.form, MarkKind::Spots, markColour(x_.form, MarkKind::Throat, x_.c.petal.deep)));
        for (int i = 0; i < 4; ++i)
            p.drawEllipse(QPointF(L * (0.78 + 0.06 * i), L * (0.1 + 0.035 * (i % 2))), L * 0.025, L * 0.025);
    }
    calyx(L);
}

void ProfileFlowerPainter::pea(double L)
{
    QPainter& p = x_.p;
    QPainterPath banner(QPointF(0.2 * L, 0));
    banner.cubicTo(-0.22 * L, -0.22 * L, -0.2 * L, -0.74 * L, 0.24 * L, -0.74 * L);
    banner.cubicTo(0.66 * L, -0.72 * L, 0.64 * L, -0.24 * L, 0.36 * L, 0.02 * L);
    banner.closeSubpath();
    p.setPen(L > 6 ? QPen(x_.c.petal.edge, std::min(0.6, L * 0.04)) : QPen(Qt::NoPen));
    if (L > 14) {
        QLinearGradient g(QPointF(0.27 * L, 0), QPointF(0.27 * L, -0.8 * L));
        g.setColorAt(0, x_.c.petal.deep);
        g.setColorAt(0.4, x_.c.petal.base);
        g.setColorAt(1, x_.c.petal.light);
        p.setBrush(g);
    } else {
        p.setBrush(x_.c.petal.base);
    }
    p.drawPath(banner);
    if (L > 10) {
        QPainterPath guides;
        for (const double k : {-0.12, 0.0, 0.12}) {
            guides.moveTo(0.28 * L, -0.05 * L);
            guides.lineTo((0.26 + k * 1.5) * L, -0.45 * L);
        }
        strokeLine(p, guides, withAlpha(markColour(x_.form, MarkKind::Veins, x_.c.petal.deep), 0.7),
                   std::max(0.5, L * 0.02));
    }
    QPainterPath keel(QPointF(0.22 * L, 0.04 * L));
    keel.cubicTo(0.5 * L, 0.05 * L, 0.8 * L, 0.02 * L, 0.96 * L, 0.06 * L);
    keel.cubicTo(0.86 * L, 0.24 * L, 0.45 * L, 0.24 * L, 0.22 * L, 0.13 * L);
    keel.closeSubpath();
    QPainterPath wing(QPointF(0.22 * L, -0.02 * L));
    wing.cubicTo(0.45 * L, -0.24 * L, 0.86 * L, -0.14 * L, 0.86 * L, 0.03 * L);
    wing.cubicTo(0.8 * L, 0.16 * L, 0.45 * L, 0.15 * L, 0.22 * L, 0.07 * L);
    wing.closeSubpath();
    p.setBrush(x_.form.hasSecondColour ? x_.c.second.light : x_.c.petal.light);
    p.drawPath(keel);
    p.setBrush(x_.c.second.base);
    p.drawPath(wing);
    calyx(L * 0.75);
}

// Two large rounded petals spread like ears above, a small pale one below,
// the yellow stamens, all rising out of a folded green bract.
void ProfileFlowerPainter::dayflower(QPointF at, double size)
{
    QPainter& p = x_.p;
    const double R = size / 2;
    p.save();
    p.translate(at);
    QPainterPath bract(QPointF(-R * 1.1, R * 0.2));
    bract.cubicTo(QPointF(-R * 0.6, R * 1.0), QPointF(R * 0.7, R * 1.0), QPointF(R * 1.2, R * 0.1));
    bract.cubicTo(QPointF(R * 0.6, R * 0.4), QPointF(-R * 0.4, R * 0.5), QPointF(-R * 1.1, R * 0.2));
    p.setPen(QPen(x_.c.leafDark, std::max(0.4, R * 0.04)));
    p.setBrush(x_.c.leaf);
    p.drawPath(bract);
    p.setPen(R > 3 ? QPen(x_.c.petal.edge, std::max(0.4, R * 0.03)) : QPen(Qt::NoPen));
    p.setBrush(x_.c.second.base);
    p.drawEllipse(QPointF(0, R * 0.32), R * 0.28, R * 0.16);
    p.setBrush(x_.c.petal.base);
    for (const int side : {-1, 1}) {
        p.save();
        p.rotate(side * 38 - 90);
        p.drawEllipse(QPointF(R * 0.55, 0), R * 0.55, R * 0.5);
        p.restore();
    }
    if (R > 3) {
        for (const QPointF a : {QPointF(-R * 0.15, -R * 0.02), QPointF(0, R * 0.05), QPointF(R * 0.15, -R * 0.02)})
            dot(p, a, R * 0.07, QColor(250, 210, 30));
        QPainterPath threads;
        for (const double k : {-0.3, 0.0, 0.3}) {
            threads.moveTo(0, R * 0.1);
            threads.quadTo(QPointF(k * R, R * 0.6), QPointF(k * R * 1.6, R * 0.5));
        }
        strokeLine(p, threads, withAlpha(QColor(250, 250, 240), 0.9), std::max(0.4, R * 0.03));
    }
    p.restore();
}

void ProfileFlowerPainter::orchid(double L)
{
    QPainter& p = x_.p;
    p.setPen(L > 6 ? QPen(x_.c.petal.edge, 0.5) : QPen(Qt::NoPen));
    p.setBrush(x_.c.petal.base);
    for (const double a : {-70.0, -30.0, 40.0}) {
        p.save();
        p.rotate(a);
        p.drawPath(FlowerPainter::petalPath(L * 0.55, L * 0.14, 0, true));
        p.restore();
    }
    p.setBrush(x_.form.hasSecondColour ? x_.c.second.base : x_.c.petal.light);
    QPainterPath lip(QPointF(0.1 * L, 0.05 * L));
    lip.cubicTo(QPointF(0.4 * L, 0.0), QPointF(0.75 * L, 0.1 * L), QPointF(0.8 * L, 0.3 * L));
    lip.cubicTo(QPointF(0.6 * L, 0.4 * L), QPointF(0.3 * L, 0.3 * L), QPointF(0.1 * L, 0.05 * L));
    p.drawPath(lip);
}

void ProfileFlowerPainter::violet(QPointF at, double axis, double size)
{
    QPainter& p = x_.p;
    const double R = size / 2, side = sideOf(axis);
    p.save();
    p.translate(at + QPointF(side * R * 0.1, R * 0.4));
    p.scale(side * 0.9, 1.0);
    QPainterPath s(QPointF(-0.05 * R, -0.28 * R));  // the spur behind
    s.cubicTo(-0.45 * R, -0.45 * R, -0.85 * R, -0.45 * R, -0.98 * R, -0.3 * R);
    s.cubicTo(-1.05 * R, -0.18 * R, -0.7 * R, -0.06 * R, -0.05 * R, 0.06 * R);
    s.closeSubpath();
    p.setPen(R > 3 ? QPen(x_.c.petal.edge, 0.6) : QPen(Qt::NoPen));
    p.setBrush(x_.c.petal.deep);
    p.drawPath(s);
    const auto petal = [&](double angle, double len, double wid, const QColor& c) {
        p.save();
        p.rotate(angle);
        p.setBrush(c);
        p.drawPath(FlowerPainter::petalPath(len, len * wid, 0, false));
        p.restore();
    };
    petal(-118, R * 0.95, 0.42, x_.c.petal.base);
    petal(-62, R * 0.95, 0.42, x_.c.petal.base);
    petal(172, R * 0.8, 0.36, x_.c.petal.light);
    petal(8, R * 0.8, 0.36, x_.c.petal.light);
    petal(90, R * 1.02, 0.52, x_.c.second.base);
    if (R > 4) {
        QPainterPath veins;
        for (const double a : {70.0, 80.0, 90.0, 100.0, 110.0}) {
            veins.moveTo(polar(a, R * 0.12));
            veins.lineTo(polar(a, R * (0.55 - std::abs(a - 90) * 0.006)));
        }
        strokeLine(p, veins, withAlpha(markColour(x_.form, MarkKind::Veins, x_.c.petal.deep), 0.9),
                   std::max(0.5, R * 0.03));
        dot(p, QPointF(0, R * 0.06), R * 0.1, QColor(255, 255, 245));
    }
    p.restore();
}
