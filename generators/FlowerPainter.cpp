#include "generators/FlowerPainter.h"

#include "generators/FusedFlowerPainter.h"
#include "generators/HeadPainter.h"
#include "generators/ProfileFlowerPainter.h"

#include <QRadialGradient>
#include <QtMath>
#include <algorithm>
#include <cmath>

using namespace PaintKit;

namespace {

constexpr double kDotBelow = 3.0;  // a flower smaller than this many pixels is a dot

double widthFor(int petals)
{
    if (petals <= 3)
        return 0.7;
    if (petals == 4)  // apart enough that the cross reads as four
        return 0.46;
    if (petals == 5)
        return 0.5;
    return std::max(0.16, 2.2 / petals);
}

const Marking* markingOf(const PlantForm& f, MarkKind kind)
{
    for (const Marking& m : f.markings)
        if (m.kind == kind)
            return &m;
    return nullptr;
}

}  // namespace

FlowerPainter::FlowerPainter(PaintContext& x)
    : x_(x)
    , petalWidth_(widthFor(x.form.petals) * (x.form.has(FlowerFeature::Sepals) ? 0.85 : 1.0))
    , notch_(x.form.has(FlowerFeature::Notched) ? 0.16 : 0.0)
{
}

QPainterPath FlowerPainter::petalPath(double L, double w, double notch, bool pointed)
{
    std::vector<Cubic> upper{{QPointF(0.2 * L, -0.35 * w), QPointF(0.45 * L, -1.05 * w), QPointF(0.78 * L, -0.95 * w)}};
    if (pointed) {
        upper.push_back({QPointF(0.9 * L, -0.8 * w), QPointF(0.96 * L, -0.3 * w), QPointF(1.06 * L, 0)});
    } else if (notch > 0.01) {
        upper.push_back({QPointF(0.95 * L, -0.88 * w), QPointF(1.02 * L, -0.4 * w), QPointF(0.99 * L, -0.16 * w)});
        upper.push_back(
            {QPointF(0.98 * L, -0.06 * w), QPointF((1.02 - notch) * L, -0.02 * w), QPointF((1 - notch) * L, 0)});
    } else {
        upper.push_back({QPointF(0.93 * L, -0.88 * w), QPointF(1.01 * L, -0.45 * w), QPointF(L, 0)});
    }
    return mirrored(upper);
}

QPainterPath FlowerPainter::clawedPetal(double L, double w) const
{
    std::vector<Cubic> upper{{QPointF(0.15 * L, -0.12 * w), QPointF(0.3 * L, -0.2 * w), QPointF(0.45 * L, -0.6 * w)},
                             {QPointF(0.58 * L, -1.0 * w), QPointF(0.9 * L, -1.05 * w), QPointF(0.97 * L, -0.6 * w)}};
    if (notch_ > 0.01)
        upper.push_back(
            {QPointF(1.0 * L, -0.35 * w), QPointF((1.02 - notch_) * L, -0.05 * w), QPointF((1 - notch_) * L, 0)});
    else
        upper.push_back({QPointF(1.01 * L, -0.35 * w), QPointF(1.0 * L, -0.1 * w), QPointF(L, 0)});
    return mirrored(upper);
}

void FlowerPainter::paint(QPointF at, double axis, double size)
{
    paint(at, axis, size, x_.form.facing);
}

void FlowerPainter::paint(QPointF at, double axis, double size, Facing facing)
{
    if (size < kDotBelow) {
        dotted(at, size);
        return;
    }
    const PlantForm& f = x_.form;
    switch (f.flowerForm) {
    case FlowerForm::Tube:
    case FlowerForm::Bell:
    case FlowerForm::Funnel:
    case FlowerForm::Urn:
    case FlowerForm::Salver: FusedFlowerPainter(x_).paint(at, axis, size, facing); return;
    case FlowerForm::TwoLipped:
    case FlowerForm::Pea:
    case FlowerForm::Dayflower:
    case FlowerForm::Orchid: ProfileFlowerPainter(x_).paint(at, axis, size); return;
    case FlowerForm::LigulesOnly:
    case FlowerForm::RaysAndDisc:
    case FlowerForm::DiscOnly: HeadPainter(x_).paint(at, axis, size, facing); return;
    case FlowerForm::Apetalous: apetalous(at, size); return;
    case FlowerForm::Spikelet: spikelet(at, axis, size); return;
    case FlowerForm::Spathe: spathe(at, axis, size); return;
    case FlowerForm::FreePetals: break;
    }
    if (f.symmetry == Symmetry::Bilateral && f.has(FlowerFeature::Spur)) {
        ProfileFlowerPainter(x_).violet(at, axis, size);
        return;
    }
    if (facing == Facing::Down)
        nodding(at, axis, size);
    else
        radial(at, axis, size, facing);
}

void FlowerPainter::dotted(QPointF at, double size)
{
    const double r = std::max(1.0, size * 0.5);  // a colour must show even where the flower is tiny
    dot(x_.p, at, r, x_.c.petal.base);
    if (size > 1.8 && x_.form.hasCentreColour)
        dot(x_.p, at, r * 0.4, x_.c.centre.base);
}

void FlowerPainter::radial(QPointF at, double axis, double size, Facing facing)
{
    QPainter& p = x_.p;
    const double R = size / 2;
    double squash = 0.85, rot = 0;
    if (facing == Facing::Up) {
        squash = 0.55;
    } else if (facing == Facing::Sideways) {
        squash = 0.62;
        rot = axis + 90;
    } else {
        rot = axis + 90 + x_.r.range(-10, 10);
    }
    p.save();
    p.translate(at);
    p.rotate(rot);
    p.scale(1.0, squash);
    face(R, x_.r.range(0, 360), squash);
    p.restore();
}

void FlowerPainter::face(double R, double phase, double squash)
{
    if (x_.form.symmetry == Symmetry::Bilateral) {
        unequalPetals(R);
    } else {
        const int n = std::max(3, x_.form.petals > 0 ? x_.form.petals : 5);
        if (x_.form.has(FlowerFeature::Spur))
            spurs(R, n, phase + 180.0 / n);
        // a funnel of a few fused lobes opens to one limb; the six tepals
        // of a lily's funnel stay free to the base, each with its marks
        if (x_.form.flowerForm == FlowerForm::Funnel && n <= 5)
            limb(R, n, phase);
        else
            petalRing(R, n, phase, squash);
    }
    centre(R, squash);
}

// The flared mouth of a funnel seen from the front: one round limb with
// shallow lobes, folded along a star of ribs, paler in the throat.
void FlowerPainter::limb(double R, int lobes, double phase)
{
    QPainter& p = x_.p;
    QPolygonF rim;
    for (int i = 0; i < lobes * 12; ++i) {
        const double a = phase + 360.0 * i / (lobes * 12);
        const double k = std::cos(qDegreesToRadians((a - phase) * lobes));  // 1 at a lobe's tip
        rim << polar(a, R * (0.9 + 0.1 * k));
    }
    p.setPen(R > 2.5 ? QPen(x_.c.petal.edge, std::min(0.7, R * 0.05)) : QPen(Qt::NoPen));
    if (R > 9) {
        QRadialGradient g(QPointF(0, 0), R);
        g.setColorAt(0.0, x_.form.hasSecondColour ? x_.c.second.base : x_.c.petal.light);
        g.setColorAt(0.45, x_.c.petal.base);
        g.setColorAt(1.0, x_.c.petal.base);
        p.setBrush(g);
    } else {
        p.setBrush(x_.c.petal.base);
    }
    p.drawPath(smoothPath(rim, true));
    if (R > 5) {
        QPainterPath ribs;
        for (int i = 0; i < lobes; ++i) {
            ribs.moveTo(0, 0);
            ribs.lineTo(polar(phase + 360.0 * i / lobes, R * 0.98));
        }
        const Marking* m = markingOf(x_.form, MarkKind::Veins);
        strokeLine(p, ribs, withAlpha(m ? PlantPalette::colourOf(m->colour) : x_.c.petal.deep, 0.55),
                   std::max(0.4, R * 0.03));
    }
}

// The spurs of a radial flower reach out behind it between the petals.
void FlowerPainter::spurs(double R, int count, double phase)
{
    QPainter& p = x_.p;
    p.setPen(QPen(x_.c.petal.edge, std::min(0.6, R * 0.06)));
    p.setBrush(x_.c.petal.deep);
    for (int i = 0; i < count; ++i) {
        p.save();
        p.rotate(phase + 360.0 * i / count);
        p.drawPath(petalPath(R * 1.35, R * 0.12, 0, true));
        p.restore();
    }
}

// Free petals of unequal size: small ones above, long ones hanging below
// (the saxifrages and their like).
void FlowerPainter::unequalPetals(double R)
{
    QPainter& p = x_.p;
    const PlantForm& f = x_.form;
    const int n = std::max(3, f.petals > 0 ? f.petals : 5);
    p.setPen(R > 2.5 ? QPen(x_.c.petal.edge, std::min(0.7, R * 0.08)) : QPen(Qt::NoPen));
    auto petal = [&](double angle, double L, double w, bool pointed, const QColor& c, bool marked) {
        p.save();
        p.rotate(angle);
        p.setBrush(c);
        p.drawPath(petalPath(L, w, 0, pointed));
        if (R > 5 && marked)
            petalMarks(L, w * 0.8);
        p.restore();
    };
    const QColor upper = mix(x_.c.petal.base, x_.c.second.base, 0.5);
    if (n == 4) {  // the speedwells: a broad upper lobe, two at the sides, a narrow lower one
        petal(-90, R, R * 0.62, false, x_.c.petal.base, true);
        for (const int side : {-1, 1})
            petal(side * 180.0 + (side > 0 ? -8 : 8), R * 0.9, R * 0.55, false, x_.c.petal.base, true);
        petal(90, R * 0.8, R * 0.38, false, x_.c.petal.base, true);
        return;
    }
    if (f.distinction.contains(QStringLiteral("扇形")) || f.distinction.contains(QStringLiteral("下半分"))) {
        for (int i = 0; i < n; ++i)  // all the petals fanned out over the lower half
            petal(10 + 160.0 * i / (n - 1), R, R * 0.3, true, x_.c.petal.base, true);
        return;
    }
    if (f.distinction.contains(QStringLiteral("かぶと"))) {  // a hood over two round side sepals
        for (const int side : {-1, 1})
            petal(90 + side * 55, R * 0.6, R * 0.42, false, x_.c.petal.deep, false);
        for (const int side : {-1, 1})
            petal(side > 0 ? 5 : 175, R * 0.7, R * 0.5, false, x_.c.petal.base, false);
        p.setBrush(mix(x_.c.petal.base, x_.c.petal.light, 0.2));
        QPainterPath hood(QPointF(-R * 0.65, 0));
        hood.cubicTo(QPointF(-R * 0.8, -R * 1.3), QPointF(R * 0.8, -R * 1.3), QPointF(R * 0.65, 0));
        hood.closeSubpath();
        p.drawPath(hood);
        return;
    }
    if (n >= 6) {  // nearly radial; the upper petal carries the markings
        for (int i = 0; i < n; ++i) {
            const double a = -90 + 360.0 * i / n;
            petal(a, R * (i == 0 ? 1.05 : 0.95), R * 0.42, false, x_.c.petal.base, i == 0);
        }
        return;
    }
    const int lower = 2;  // the saxifrages: two long petals hang below three small ones
    for (int i = 0; i < n; ++i) {
        const bool below = i < lower;
        const double a = below ? 90 + (i - (lower - 1) / 2.0) * 34 : -90 + (i - lower - (n - lower - 1) / 2.0) * 52;
        const double L = below ? R * 1.25 : R * 0.55;
        petal(a, L, L * (below ? 0.28 : 0.5), below, below ? x_.c.petal.base : upper, true);
    }
}

void FlowerPainter::petalRing(double R, int count, double phase, double squash)
{
    QPainter& p = x_.p;
    const PlantForm& f = x_.form;
    const bool bilobed = f.has(FlowerFeature::Bilobed);
    const bool fringed = f.has(FlowerFeature::Fringed);
    const double L = R * (fringed ? 0.62 : 1.0) * (f.has(FlowerFeature::Reflexed) ? 0.9 : 1.0);
    const double w = L * (bilobed ? 0.19 : petalWidth_);
    const bool tepals = count == 3 || count == 6;  // the pointed tepals of the lilies and their kin
    const bool star = f.distinction.contains(QStringLiteral("星形"));  // narrow pointed petals spread flat
    // four petals narrow to a claw at their base, so the cross shows its gaps
    const QPainterPath shape = count == 4 && !bilobed && !star ? clawedPetal(L, w)
                                                               : petalPath(L,
                                                                           w * (star     ? 0.6
                                                                                : tepals ? 0.85
                                                                                         : 1.0),
                                                                           notch_, (star || tepals) && notch_ == 0);
    const bool shaded = R > 9;
    p.setPen(R > 2.5 ? QPen(x_.c.petal.edge, std::min(0.7, R * 0.08)) : QPen(Qt::NoPen));
    for (int i = 0; i < count; ++i) {
        const double a = phase + 360.0 * i / count + (R > 6 ? x_.r.range(-5, 5) : 0.0);
        for (const double lobe : bilobed ? std::vector<double>{-0.36, 0.36} : std::vector<double>{0.0}) {
            p.save();
            p.rotate(a + lobe * 180.0 / count);
            if (shaded) {
                QRadialGradient g(QPointF(0, 0), L);
                g.setColorAt(0.0, x_.c.second.deep);
                g.setColorAt(0.35, f.hasSecondColour ? x_.c.second.base : x_.c.petal.base);
                g.setColorAt(0.8, x_.c.petal.base);
                g.setColorAt(1.0, x_.c.petal.light);
                p.setBrush(g);
            } else {
                p.setBrush(mix(x_.c.petal.base, x_.c.second.base, f.hasSecondColour ? 0.3 : 0.0));
            }
            p.drawPath(shape);
            if (fringed)
                for (int k = -3; k <= 3; ++k)
                    line(p, QPointF(L * 0.9, k * w * 0.2), QPointF(R * 1.45, k * w * 0.55), x_.c.petal.base,
                         std::max(0.4, R * 0.025));
            if (R > 5)
                petalMarks(L, w);
            p.restore();
        }
    }
    Q_UNUSED(squash);
}

void FlowerPainter::petalMarks(double L, double w)
{
    QPainter& p = x_.p;
    const PlantForm& f = x_.form;
    if (const Marking* m = markingOf(f, MarkKind::Veins); m || f.has(FlowerFeature::Veins)) {
        const QColor c = m ? PlantPalette::colourOf(m->colour) : x_.c.petal.deep;
        if (m && c.lightnessF() > 0.45 && PlantPalette::isPale(f.colour)) {  // a light stripe reads as a band
            p.setPen(Qt::NoPen);
            p.setBrush(withAlpha(c, 0.85));
            p.drawPath(petalPath(L * 0.85, w * 0.3, 0, true));
        }
        QPainterPath v;
        for (const double k : {-0.5, 0.0, 0.5}) {
            v.moveTo(L * 0.08, 0);
            v.quadTo(QPointF(L * 0.4, k * w * 0.5), QPointF(L * 0.8, k * w * 0.9));
        }
        strokeLine(p, v, withAlpha(c, 0.8), std::max(0.45, L * 0.03));
    }
    if (const Marking* m = markingOf(f, MarkKind::Spots); m || f.has(FlowerFeature::Spots)) {
        const QColor c = m ? PlantPalette::colourOf(m->colour) : x_.c.petal.deep;
        Rng r{quint64(L * 1000) ^ 0x5107};
        for (int i = 0; i < 7; ++i)
            dot(p, QPointF(r.range(0.15, 0.7) * L, r.range(-0.5, 0.5) * w * 0.8), std::max(0.5, L * 0.035), c);
    }
    if (const Marking* m = markingOf(f, MarkKind::Edge))
        strokeLine(p, petalPath(L, w, notch_, false), PlantPalette::colourOf(m->colour), std::max(0.8, L * 0.08));
    if (const Marking* m = markingOf(f, MarkKind::Base)) {
        p.setPen(Qt::NoPen);
        p.setBrush(PlantPalette::colourOf(m->colour));
        p.drawPath(petalPath(L * 0.3, w * 0.5, 0, false));
    }
}

void FlowerPainter::centre(double R, double squash)
{
    QPainter& p = x_.p;
    const PlantForm& f = x_.form;
    if (const Marking* m = markingOf(f, MarkKind::Eye))
        dot(p, QPointF(0, 0), R * 0.42, PlantPalette::colourOf(m->colour));
    if (const Marking* m = markingOf(f, MarkKind::Throat))
        dot(p, QPointF(0, 0), R * 0.25, PlantPalette::colourOf(m->colour));
    if (f.has(FlowerFeature::Corona)) {
        p.setPen(QPen(x_.c.centre.deep, std::max(0.5, R * 0.04)));
        p.setBrush(x_.c.centre.base);
        p.drawEllipse(QPointF(0, 0), R * 0.36, R * 0.36);
    }
    if (f.has(FlowerFeature::Bracts)) {  // the real flowers: a spike standing in the middle of the bracts
        p.save();
        p.scale(1.0, 1.0 / std::max(squash, 0.2));
        p.setPen(Qt::NoPen);
        p.setBrush(x_.c.centre.base);
        p.drawRoundedRect(QRectF(-R * 0.12, -R * 0.7, R * 0.24, R * 0.75), R * 0.1, R * 0.1);
        p.restore();
        return;
    }
    if (f.distinction.contains(QStringLiteral("中心に緑")))  // a raised green head of young fruits
        dot(p, QPointF(0, 0), R * 0.32, hsl(95, 0.45, 0.4));
    const bool showy = f.has(FlowerFeature::Stamens);
    stamens(R, showy ? 10 : std::min(12, 2 * std::max(5, f.petals)), showy ? 0.95 : 0.3);
}

void FlowerPainter::stamens(double R, int count, double reach)
{
    QPainter& p = x_.p;
    const QColor pollen = x_.form.hasCentreColour ? x_.c.centre.base : x_.c.pollen;
    if (R < 4) {
        dot(p, QPointF(0, 0), R * 0.22, pollen);
        return;
    }
    QPainterPath filaments;
    std::vector<QPointF> anthers;
    for (int i = 0; i < count; ++i) {
        const QPointF end = polar(360.0 * i / count + 11, R * reach * (0.8 + 0.2 * ((i * 7) % 3) / 2.0));
        filaments.moveTo(0, 0);
        filaments.lineTo(end);
        anthers.push_back(end);
    }
    strokeLine(p, filaments, withAlpha(mix(x_.c.petal.light, pollen, 0.3), 0.9), std::max(0.4, R * 0.018));
    p.setPen(Qt::NoPen);
    p.setBrush(pollen);
    for (const QPointF& a : anthers)
        p.drawEllipse(a, R * 0.05, R * 0.05);
    dot(p, QPointF(0, 0), R * 0.1, shade(pollen, -0.15));
}

// A nodding flower seen from the side, hung from a stalk that bends over:
// the tepals hang as a bell, or, when reflexed, sweep back up over it with
// the stamens hanging below (the dogtooth violets and Turk's-cap lilies).
void FlowerPainter::nodding(QPointF at, double axis, double size)
{
    QPainter& p = x_.p;
    const PlantForm& f = x_.form;
    const double side = sideOf(axis);
    const QPointF hang = at + QPointF(side * size * 0.22, size * 0.06);
    QPainterPath hook(at);
    hook.quadTo(at + QPointF(side * size * 0.14, -size * 0.16), hang);
    strokeLine(p, hook, x_.c.stem, std::max(0.6, size * 0.025));
    const bool reflexed = f.has(FlowerFeature::Reflexed);
    const int n = std::max(3, f.petals > 0 ? f.petals : 5);
    const double L = size * (reflexed ? 0.62 : 0.55);
    if (reflexed)
        hangingStamens(hang, L);
    std::vector<std::pair<double, double>> order;  // depth, lateral
    for (int i = 0; i < n; ++i) {
        const double phi = qDegreesToRadians(360.0 * i / n + 15);
        order.push_back({std::cos(phi), std::sin(phi)});
    }
    std::sort(order.begin(), order.end());
    p.setPen(QPen(x_.c.petal.edge, std::max(0.4, size * 0.012)));
    for (const auto& [depth, lateral] : order) {
        const Curve c =
            reflexed
                ? Curve{hang, hang + QPointF(lateral * L * 0.3, L * 0.32), hang + QPointF(lateral * L * 0.95, L * 0.05),
                        hang + QPointF(lateral * L * 0.75, -L * 0.55)}
                : Curve{hang, hang + QPointF(lateral * L * 0.2, L * 0.3), hang + QPointF(lateral * L * 0.4, L * 0.7),
                        hang + QPointF(lateral * L * 0.45, L)};
        p.setBrush(mix(x_.c.petal.deep, x_.c.petal.light, 0.35 + 0.35 * depth));
        p.drawPath(ribbon(c, L * 0.34, L * 0.05));
    }
    if (const Marking* m = markingOf(f, MarkKind::Base))
        dot(p, hang + QPointF(0, L * 0.08), size * 0.06, PlantPalette::colourOf(m->colour));
    if (!reflexed && f.has(FlowerFeature::Stamens))
        hangingStamens(hang, L * 1.1);
}

void FlowerPainter::hangingStamens(QPointF from, double L)
{
    QPainterPath threads;
    for (int i = 0; i < 6; ++i) {
        threads.moveTo(from);
        threads.lineTo(from + QPointF((i - 2.5) * L * 0.07, L * 0.75));
    }
    strokeLine(x_.p, threads, withAlpha(x_.c.petal.deep, 0.9), std::max(0.5, L * 0.025));
    for (int i = 0; i < 6; ++i)
        dot(x_.p, from + QPointF((i - 2.5) * L * 0.07, L * 0.75), std::max(0.6, L * 0.035), x_.c.centre.deep);
}

void FlowerPainter::apetalous(QPointF at, double size)
{
    QPainter& p = x_.p;
    const double R = size / 2;
    dot(p, at, R * 0.8, x_.c.petal.base);
    if (x_.form.has(FlowerFeature::Stamens))
        for (int i = 0; i < 6; ++i) {
            const QPointF end = at + polar(i * 60.0 + 15, R * 1.4);
            line(p, at, end, withAlpha(x_.c.centre.light, 0.9), std::max(0.4, R * 0.08));
            dot(p, end, std::max(0.5, R * 0.16), x_.c.centre.base);
        }
}

void FlowerPainter::spikelet(QPointF at, double axis, double size)
{
    QPainter& p = x_.p;
    p.save();
    p.translate(at);
    p.rotate(axis);
    p.setPen(size > 5 ? QPen(x_.c.petal.edge, 0.5) : QPen(Qt::NoPen));
    p.setBrush(x_.c.petal.base);
    p.drawPath(petalPath(size, size * 0.22, 0, true));
    if (size > 6) {
        line(p, QPointF(size * 0.1, 0), QPointF(size * 0.95, 0), x_.c.petal.deep, 0.5);
        if (x_.form.hasSecondColour)  // anthers or stigmas of the second colour hang out
            for (const double t : {0.3, 0.55, 0.8})
                dot(p, QPointF(size * t, size * 0.26), std::max(0.6, size * 0.05), x_.c.second.base);
    }
    p.restore();
}

// The hooded spathe of an arum around its spadix.
void FlowerPainter::spathe(QPointF at, double axis, double size)
{
    Q_UNUSED(axis);
    QPainter& p = x_.p;
    const double L = size;
    QPainterPath tube(at);
    tube.cubicTo(at + QPointF(-L * 0.2, -L * 0.2), at + QPointF(-L * 0.16, -L * 0.6),
                 at + QPointF(-L * 0.05, -L * 0.8));
    tube.cubicTo(at + QPointF(L * 0.15, -L * 1.0), at + QPointF(L * 0.45, -L * 0.95), at + QPointF(L * 0.42, -L * 0.7));
    tube.cubicTo(at + QPointF(L * 0.3, -L * 0.72), at + QPointF(L * 0.16, -L * 0.66),
                 at + QPointF(L * 0.14, -L * 0.55));
    tube.cubicTo(at + QPointF(L * 0.2, -L * 0.3), at + QPointF(L * 0.18, -L * 0.1), at);
    p.setPen(QPen(x_.c.petal.edge, std::max(0.5, L * 0.01)));
    p.setBrush(x_.c.petal.base);
    p.drawPath(tube);
    if (const Marking* m = markingOf(x_.form, MarkKind::Veins); m && L > 12) {
        QPainterPath stripes;
        for (const double k : {-0.08, 0.0, 0.08}) {
            stripes.moveTo(at + QPointF(k * L, -L * 0.05));
            stripes.quadTo(at + QPointF(k * L - L * 0.1, -L * 0.5), at + QPointF(k * L + L * 0.1, -L * 0.85));
        }
        strokeLine(p, stripes, withAlpha(PlantPalette::colourOf(m->colour), 0.8), std::max(0.5, L * 0.015));
    }
    dot(p, at + QPointF(L * 0.05, -L * 0.52), L * 0.05, x_.c.centre.deep);
    const QString& d = x_.form.distinction;
    if (d.contains(QStringLiteral("釣り糸")) || (d.contains(QStringLiteral("付属体")) && d.contains(u'長'))) {
        QPainterPath thread(at + QPointF(L * 0.05, -L * 0.55));  // the spadix's appendage, a long line
        thread.cubicTo(at + QPointF(L * 0.3, -L * 1.6), at + QPointF(L * 1.4, -L * 1.2),
                       at + QPointF(L * 1.5, L * 0.4));
        strokeLine(p, thread, x_.c.petal.deep, std::max(0.6, L * 0.02));
    }
}

void FlowerPainter::bud(QPointF at, double axis, double size)
{
    if (size < kDotBelow) {
        dot(x_.p, at, std::max(0.5, size * 0.4), x_.c.petal.deep);
        return;
    }
    QPainter& p = x_.p;
    p.save();
    p.translate(at);
    p.rotate(axis);
    const QPainterPath body =
        mirrored({{QPointF(0.05 * size, -0.3 * size), QPointF(0.55 * size, -0.32 * size), QPointF(size, 0)}});
    p.setPen(QPen(x_.c.petal.edge, 0.5));
    p.setBrush(mix(x_.c.petal.base, x_.c.petal.deep, 0.3));
    p.drawPath(body);
    p.setBrush(x_.c.leaf);
    p.setPen(Qt::NoPen);
    p.drawPath(
        mirrored({{QPointF(0.1 * size, -0.14 * size), QPointF(0.3 * size, -0.14 * size), QPointF(0.45 * size, 0)}}));
    p.restore();
}
