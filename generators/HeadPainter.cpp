#include "generators/HeadPainter.h"

#include "generators/Distinction.h"
#include "generators/FlowerPainter.h"

#include <QRadialGradient>
#include <QRegularExpression>
#include <algorithm>
#include <cmath>

using namespace PaintKit;

namespace {

constexpr double kGolden = 137.508;

int countInDistinction(const QString& text)
{
    static const QRegularExpression pattern(QStringLiteral("([0-9]+)(?:[-～~]([0-9]+))?枚"));
    const QRegularExpressionMatch m = pattern.match(text.normalized(QString::NormalizationForm_KC));
    if (!m.hasMatch())
        return 0;
    const int low = m.captured(1).toInt();
    const int high = m.captured(2).isEmpty() ? low : m.captured(2).toInt();
    return (low + high) / 2;
}

}  // namespace

HeadPainter::HeadPainter(PaintContext& x)
    : x_(x)
{
}

int HeadPainter::rayCount(const PlantForm& f)
{
    if (const int n = countInDistinction(f.distinction); n > 0 && n < 200)
        return n;
    if (f.distinction.contains(QStringLiteral("舌状花が少な")))  // few, with gaps between them
        return 7;
    // The vocabulary counts no rays; the fleabanes' genus has a hundred thread-like ones.
    if (f.has(FlowerFeature::Fringed) || f.genus == QStringLiteral("ムカシヨモギ属"))
        return 90;
    const double mm = f.flowerSize.mid();
    if (f.flowerForm == FlowerForm::LigulesOnly)
        return mm < 12 ? 8 : mm < 25 ? 20 : 60;
    if (mm < 8)
        return 6;
    if (mm < 26)
        return 18;
    return 13;
}

void HeadPainter::paint(QPointF at, double axis, double size, Facing facing)
{
    const PlantForm& f = x_.form;
    // a large head held upward stands as a thistle's brush on its cup of bracts
    if (f.flowerForm == FlowerForm::DiscOnly && f.flowerSize.mid() >= 14 && f.facing == Facing::Up &&
        facing != Facing::Down) {
        brush(at, size);
        return;
    }
    // a small head of tube florets, large enough to see (a close-up): its
    // cup of bracts from the side with the florets standing out of it
    if (f.flowerForm == FlowerForm::DiscOnly && f.flowerSize.mid() <= 8 && size > 24) {
        cylinder(at, facing == Facing::Down ? 90.0 + sideOf(axis) * 20 : axis, size);
        return;
    }
    QPainter& p = x_.p;
    const double R = size / 2;
    double squash = 0.82, rot = axis + 90;
    if (facing == Facing::Up)
        squash = 0.5, rot = 0;
    else if (facing == Facing::Sideways)
        squash = 0.45;
    else if (facing == Facing::Down)
        squash = 0.4, rot = 0;
    p.save();
    p.translate(at);
    p.rotate(rot + (facing == Facing::Unsaid ? x_.r.range(-8, 8) : 0.0));
    p.scale(1.0, squash);
    if (size >= 6)
        involucre(R * (leafyBracts(f)                         ? 1.8
                       : f.flowerForm == FlowerForm::DiscOnly ? 1.05
                                                              : 0.62),
                  leafyBracts(f) ? 8 : 14);
    if (paperyBracts(f)) {
        bracted(R);
        p.restore();
        return;
    }
    switch (f.flowerForm) {
    case FlowerForm::LigulesOnly: ligules(R); break;
    case FlowerForm::RaysAndDisc: rays(R); break;
    default: disc(R); break;
    }
    p.restore();
}

bool HeadPainter::involucreIsTheKey(const PlantForm& f)
{
    return f.isHead() &&
           (f.distinction.contains(QStringLiteral("総苞")) || f.distinction.contains(QStringLiteral("外片")));
}

// Bracts that look like petals round a head of tube florets (the pearly
// everlastings): the head's colour goes to them, its centre colour to the
// florets. A stalk clothed in bracts (フキ) has no such head.
bool HeadPainter::paperyBracts(const PlantForm& f)
{
    return f.flowerForm == FlowerForm::DiscOnly && f.has(FlowerFeature::Bracts) && !Distinction::bractClothed(f);
}

void HeadPainter::bracted(double R)
{
    QPainter& p = x_.p;
    if (R < 2.5) {
        dot(p, QPointF(0, 0), R, x_.c.petal.base);
        return;
    }
    p.setPen(QPen(withAlpha(x_.c.petal.edge, 0.6), std::min(0.5, R * 0.03)));
    for (int ring = 0; ring < 2; ++ring) {
        const int n = 14;
        const double L = R * (1.0 - 0.2 * ring);
        const QPainterPath bract = FlowerPainter::petalPath(L, L * 0.2, 0, false);
        for (int i = 0; i < n; ++i) {
            p.save();
            p.rotate(ring * 13.0 + 360.0 * i / n);
            p.setBrush(mix(x_.c.petal.base, x_.c.petal.light, 0.3 * ring));
            p.drawPath(bract);
            p.restore();
        }
    }
    disc(R * 0.42);
}

bool HeadPainter::leafyBracts(const PlantForm& f)
{
    static const QRegularExpression leafy(QStringLiteral("葉のような総苞|葉状の総苞|総苞片が葉状"));
    return f.distinction.contains(leafy);
}

bool HeadPainter::reflexedBracts(const PlantForm& f)
{
    static const QRegularExpression back(QStringLiteral("反り?返(?!らず|らない)"));
    return f.distinction.contains(back);
}

void HeadPainter::profile(QPointF centre, double size)
{
    QPainter& p = x_.p;
    const double R = size / 2;
    const QPointF cup = centre + QPointF(0, R * 0.25);
    line(p, cup, cup + QPointF(0, R * 1.6), x_.c.stem, std::max(1.0, R * 0.07));
    // the outer bracts: hanging back down the stalk, or pressed up to the head
    const bool back = reflexedBracts(x_.form);
    p.setPen(QPen(x_.c.leafDark, std::max(0.5, R * 0.015)));
    p.setBrush(x_.c.leaf);
    if (leafyBracts(x_.form)) {  // long leaf-like bracts spreading out under the head
        for (int i = 0; i < 7; ++i) {
            const double u = -1.0 + 2.0 * i / 6;
            const QPointF from = cup + QPointF(u * R * 0.2, R * 0.06);
            const Curve c{from, from + QPointF(u * R * 0.6, R * 0.05), from + QPointF(u * R * 1.2, R * 0.05),
                          from + QPointF(u * R * 1.6, -R * 0.1 + std::abs(u) * R * 0.25)};
            p.drawPath(ribbon(c, R * 0.16, R * 0.03));
        }
    }
    for (int i = 0; i < 9; ++i) {
        const double u = -1.0 + 2.0 * i / 8;
        const QPointF from = cup + QPointF(u * R * 0.22, R * 0.08);
        const Curve c = back ? Curve{from, from + QPointF(u * R * 0.25, R * 0.1), from + QPointF(u * R * 0.4, R * 0.35),
                                     from + QPointF(u * R * 0.38, R * 0.62)}
                             : Curve{from, from + QPointF(u * R * 0.05, -R * 0.1),
                                     from + QPointF(u * R * 0.12, -R * 0.2), from + QPointF(u * R * 0.16, -R * 0.3)};
        p.drawPath(ribbon(c, R * 0.09, R * 0.02));
    }
    // the inner bracts, a green cup under the florets
    QPainterPath inner(cup + QPointF(-R * 0.25, R * 0.05));
    inner.cubicTo(cup + QPointF(-R * 0.32, -R * 0.2), cup + QPointF(-R * 0.45, -R * 0.38),
                  cup + QPointF(-R * 0.5, -R * 0.42));
    inner.lineTo(cup + QPointF(R * 0.5, -R * 0.42));
    inner.cubicTo(cup + QPointF(R * 0.45, -R * 0.38), cup + QPointF(R * 0.32, -R * 0.2),
                  cup + QPointF(R * 0.25, R * 0.05));
    inner.closeSubpath();
    p.drawPath(inner);
    p.save();
    p.translate(cup + QPointF(0, -R * 0.45));
    p.scale(1.0, 0.3);
    if (x_.form.flowerForm == FlowerForm::LigulesOnly)
        ligules(R);
    else if (x_.form.flowerForm == FlowerForm::RaysAndDisc)
        rays(R);
    else
        disc(R);
    p.restore();
}

void HeadPainter::involucre(double R, int count)
{
    QPainter& p = x_.p;
    p.setPen(Qt::NoPen);
    p.setBrush(x_.c.leafDark);
    const QPainterPath bract = FlowerPainter::petalPath(R, R * 0.18, 0, true);
    for (int i = 0; i < count; ++i) {
        p.save();
        p.rotate(360.0 * i / count);
        p.drawPath(bract);
        p.restore();
    }
}

// Rings of strap florets, shorter toward the middle; the middle is the
// flower's own colour (or the named centre colour), never a dark disc.
void HeadPainter::ligules(double R)
{
    QPainter& p = x_.p;
    const int total = rayCount(x_.form);
    const int rings = std::clamp(total / 12, 1, 5);
    if (R < 2.5) {
        dot(p, QPointF(0, 0), R, x_.c.petal.base);
        return;
    }
    p.setPen(R > 6 ? QPen(withAlpha(x_.c.petal.deep, 0.5), 0.4) : QPen(Qt::NoPen));
    for (int ring = 0; ring < rings; ++ring) {
        // one ring holds exactly the count; rings of a full head grow fewer inward
        const int n = rings == 1 ? std::max(3, total) : std::max(5, total / rings + 4 - ring * 3);
        const double L = R * (1.0 - 0.17 * ring), w = std::min(L * 0.22, 2 * M_PI * L * 0.55 / n);
        const QColor tone = mix(x_.c.petal.base, x_.c.petal.deep, 0.12 * ring);
        const QPainterPath strap = FlowerPainter::petalPath(L, w, 0.06, false);
        for (int i = 0; i < n; ++i) {
            p.save();
            p.rotate(ring * 9.0 + 360.0 * i / n);
            p.setBrush(shade(tone, (i % 3 - 1) * 0.03));
            p.drawPath(strap);
            p.restore();
        }
    }
    const QColor middle = x_.form.hasCentreColour ? x_.c.centre.base : x_.c.petal.deep;
    dot(p, QPointF(0, 0), R * 0.16, withAlpha(middle, 0.8));
}

void HeadPainter::rays(double R)
{
    QPainter& p = x_.p;
    const PlantForm& f = x_.form;
    const int n = rayCount(f);
    const bool fine = n > 40;
    static const QRegularExpression shortRays(QStringLiteral("舌状花が(ごく)?短"));
    const bool stubby = f.distinction.contains(shortRays);  // the rays hardly reach past the disc
    const double discR = R * (stubby ? 0.64 : fine ? 0.3 : n <= 8 && R < 8 ? 0.45 : 0.34);
    const double w = fine ? std::max(0.25, R * 0.035) : std::min(R * 0.3, 2 * M_PI * R * 0.62 / n);
    const QPainterPath ray = FlowerPainter::petalPath(R, w, f.has(FlowerFeature::Notched) ? 0.12 : 0.03, false);
    QColor base;
    for (const Marking& m : f.markings)
        if (m.kind == MarkKind::Base)
            base = PlantPalette::colourOf(m.colour);
    p.setPen(R > 8 && !fine ? QPen(x_.c.petal.edge, 0.5) : QPen(Qt::NoPen));
    for (int i = 0; i < n; ++i) {
        p.save();
        p.rotate(360.0 * i / n + (fine ? (i % 2) * 2.0 : 0.0));
        const bool tinted = f.hasSecondColour && i % 3 == 0;
        p.setBrush(tinted ? x_.c.second.base : mix(x_.c.petal.base, x_.c.petal.light, (i % 2) * 0.3));
        if (R < 3)
            line(p, QPointF(0, 0), QPointF(R, 0), x_.c.petal.base, std::max(0.5, w));
        else
            p.drawPath(ray);
        if (base.isValid() && R > 3) {
            p.setBrush(base);
            p.drawPath(FlowerPainter::petalPath(R * 0.55, w * 0.9, 0, false));
        }
        p.restore();
    }
    disc(discR);
}

void HeadPainter::disc(double R)
{
    QPainter& p = x_.p;
    const bool own = x_.form.flowerForm == FlowerForm::DiscOnly && !paperyBracts(x_.form);
    const QColor c = own ? x_.c.petal.base : x_.c.centre.base;
    if (R < 2.5) {
        dot(p, QPointF(0, 0), std::max(0.5, R), c);
        return;
    }
    QRadialGradient g(QPointF(-0.25 * R, -0.3 * R), 1.3 * R);
    g.setColorAt(0, shade(c, 0.12));
    g.setColorAt(0.7, c);
    g.setColorAt(1, shade(c, -0.18));
    p.setPen(QPen(withAlpha(shade(c, -0.3), 0.8), 0.5));
    p.setBrush(g);
    p.drawEllipse(QPointF(0, 0), R, R);
    const int n = std::clamp(int(R * 2.2), 8, 70);
    p.setPen(Qt::NoPen);
    p.setBrush(withAlpha(shade(c, -0.2), 0.7));
    for (int i = 0; i < n; ++i)
        p.drawEllipse(polar(i * kGolden, R * 0.88 * std::sqrt((i + 0.5) / n)), R * 0.07, R * 0.07);
}

void HeadPainter::cylinder(QPointF at, double axis, double size)
{
    QPainter& p = x_.p;
    const PlantForm& f = x_.form;
    p.save();
    orient(p, at, axis);
    const double L = size, w = size * 0.32;
    // the florets: small tubes fanning out of the cup's mouth
    const int n = 9;
    QPainterPath styles;
    for (int i = 0; i < n; ++i) {
        const double a = (i - (n - 1) / 2.0) * 13.0;
        const QPointF from(L * 0.38, (i - (n - 1) / 2.0) * w * 0.16);
        p.save();
        p.translate(from);
        p.rotate(a);
        p.setPen(QPen(x_.c.petal.edge, std::max(0.4, L * 0.01)));
        p.setBrush(x_.c.petal.base);
        p.drawPath(mirrored({{QPointF(L * 0.05, -L * 0.03), QPointF(L * 0.3, -L * 0.04), QPointF(L * 0.42, -L * 0.06)},
                             {QPointF(L * 0.44, -L * 0.03), QPointF(L * 0.44, -L * 0.01), QPointF(L * 0.45, 0)}}));
        p.restore();
        // the bosses' fuzz: two long style branches from every floret
        if (f.genus == QStringLiteral("ヒヨドリバナ属"))
            for (const int side : {-1, 1}) {
                const QPointF tip = from + polar(a, L * 0.45);
                styles.moveTo(tip);
                styles.quadTo(tip + polar(a + side * 12, L * 0.25), tip + polar(a + side * 30, L * 0.45));
            }
    }
    strokeLine(p, styles, withAlpha(x_.c.petal.light, 0.95), std::max(0.5, L * 0.012));
    // the cup of bracts, a cylinder from the side
    p.setPen(QPen(x_.c.leafDark, std::max(0.5, L * 0.012)));
    p.setBrush(x_.c.leaf);
    p.drawRoundedRect(QRectF(0, -w * 0.5, L * 0.42, w), w * 0.2, w * 0.2);
    QPainterPath scales;
    for (int i = 1; i < 3; ++i) {
        scales.moveTo(L * 0.13 * i, -w * 0.5);
        scales.lineTo(L * 0.13 * i + L * 0.08, w * 0.5);
    }
    strokeLine(p, scales, x_.c.leafDark, std::max(0.4, L * 0.008));
    p.restore();
}

// A large head of disc florets seen from the side: the florets stand as a
// brush on a cup of bracts (the thistles).
void HeadPainter::brush(QPointF at, double size)
{
    QPainter& p = x_.p;
    const double R = size / 2;
    const QPointF cup = at + QPointF(0, -R * 0.2);
    QPainterPath threads;
    for (int i = 0; i < 40; ++i) {
        const double a = -90 + (i - 19.5) * 3.6;
        threads.moveTo(cup + QPointF(0, -R * 0.3));
        threads.lineTo(cup + QPointF(0, -R * 0.3) + polar(a, R * (0.85 + 0.15 * ((i * 5) % 3) / 2.0)));
    }
    strokeLine(p, threads, x_.c.petal.base, std::max(0.5, R * 0.06));
    p.setPen(QPen(x_.c.leafDark, 0.5));
    p.setBrush(x_.c.leaf);
    p.drawEllipse(cup, R * 0.5, R * 0.42);
    QPainterPath scales;  // the overlapping, often spiny bracts
    for (int row = 0; row < 3; ++row)
        for (int i = 0; i < 5; ++i) {
            const QPointF s = cup + QPointF((i - 2) * R * 0.18, -R * 0.2 + row * R * 0.18);
            scales.moveTo(s + QPointF(-R * 0.07, 0));
            scales.lineTo(s + QPointF(0, -R * 0.1));
            scales.lineTo(s + QPointF(R * 0.07, 0));
        }
    strokeLine(p, scales, x_.c.leafDark, std::max(0.4, R * 0.03));
}
