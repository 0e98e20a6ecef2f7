#include "generators/FruitPainter.h"

#include <QRadialGradient>
#include <QRegularExpression>
#include <algorithm>
#include <cmath>

using namespace PaintKit;

FruitPainter::FruitPainter(PaintContext& x)
    : x_(x)
    , ripe_(mix(x.c.leaf, QColor(150, 120, 70), 0.45))
{
}

bool FruitPainter::kidney(const PlantForm& f)
{
    return f.fruit == Fruit::Pod && f.distinction.contains(QStringLiteral("腎形"));
}

// A capsule said to be long and slender (細長い実, 実はトウガラシ形に細長い).
bool FruitPainter::slender(const PlantForm& f)
{
    static const QRegularExpression words(
        QStringLiteral("実[^、。]{0,8}(細長|棒状|トウガラシ形)|(細長|棒状)[^、。]{0,3}(実|蒴果)"));
    return f.fruit == Fruit::Capsule && f.distinction.contains(words);
}

double FruitPainter::sizeMm(const PlantForm& f)
{
    const double fl = f.flowerSize.mid();
    switch (f.fruit) {
    case Fruit::Pappus: return f.isHead() ? std::max(8.0, fl * 0.85) : std::clamp(fl * 2.0, 15.0, 60.0);
    case Fruit::Bur: return std::clamp(fl * 1.4, 8.0, 25.0);
    case Fruit::Hooks: return f.isHead() ? std::clamp(fl * 1.6, 10.0, 25.0) : std::clamp(fl * 1.2, 2.5, 8.0);
    case Fruit::Pod: return kidney(f) ? std::clamp(fl * 0.8, 1.5, 5.0) : std::clamp(fl * 2.6, 15.0, 80.0);
    case Fruit::Loment: return std::clamp(fl * 3.0, 8.0, 30.0);
    case Fruit::Silique: return std::clamp(fl * 3.3, 10.0, 60.0);
    case Fruit::Silicle: return std::clamp(fl * 1.5, 3.0, 12.0);
    case Fruit::Fan: return std::clamp(fl * 2.5, 3.0, 16.0);
    case Fruit::Triangle: return std::clamp(fl * 2.0, 4.0, 9.0);
    case Fruit::Berry: return std::clamp(fl * 0.8, 4.0, 12.0);
    case Fruit::Gourd: return std::clamp(fl * 0.7, 20.0, 100.0);
    case Fruit::Capsule: return slender(f) ? std::clamp(fl * 1.4, 10.0, 40.0) : std::clamp(fl * 0.7, 3.0, 15.0);
    case Fruit::Follicle: return std::clamp(fl * 1.2, 8.0, 25.0);
    case Fruit::Beak: return std::clamp(fl * 1.6, 10.0, 30.0);
    case Fruit::None: break;
    }
    return 0;
}

void FruitPainter::paint(QPointF at, double axis, double size)
{
    QPainter& p = x_.p;
    if (size < 1.6) {
        dot(p, at, std::max(0.6, size * 0.5), x_.form.fruit == Fruit::Berry ? x_.c.petal.base : ripe_);
        return;
    }
    if (x_.form.fruit == Fruit::Pappus) {
        if (x_.form.isHead())
            clock(at + polar(axis, size * 0.45), size / 2);
        else
            plumes(at, axis, size);
        return;
    }
    p.save();
    orient(p, at, axis);
    switch (x_.form.fruit) {
    case Fruit::Bur: bur(size); break;
    case Fruit::Hooks: hooked(size); break;
    case Fruit::Pod: pod(size, false); break;
    case Fruit::Loment: pod(size, true); break;
    case Fruit::Silique: silique(size); break;
    case Fruit::Silicle: flat(size, false); break;
    case Fruit::Fan:
    case Fruit::Triangle: flat(size, true); break;
    case Fruit::Berry: berry(size, false); break;
    case Fruit::Gourd: berry(size, true); break;
    case Fruit::Capsule: capsule(size, false); break;
    case Fruit::Follicle: capsule(size, true); break;
    case Fruit::Beak: beak(size); break;
    default: break;
    }
    p.restore();
}

// A ripe head of plumed seeds.
void FruitPainter::clock(QPointF at, double R)
{
    QPainter& p = x_.p;
    QPainterPath rays, plumes;
    const int n = std::clamp(int(R * 3), 16, 90);
    for (int i = 0; i < n; ++i) {
        const double z = 1 - 2 * (i + 0.5) / n, rr = std::sqrt(1 - z * z);
        const QPointF tip = at + polar(i * 137.508, R * rr);
        rays.moveTo(at);
        rays.lineTo(tip);
        plumes.addEllipse(tip, R * 0.09, R * 0.09);
    }
    dot(p, at, R * 1.02, QColor(255, 255, 255, 70));
    strokeLine(p, rays, QColor(120, 120, 110, 120), std::max(0.6, R * 0.035));
    strokeLine(p, rays, QColor(255, 255, 255, 200), std::max(0.4, R * 0.02));
    strokeLine(p, plumes, QColor(255, 255, 255, 200), std::max(0.4, R * 0.02));
    dot(p, at, R * 0.1, hsl(30, 0.4, 0.4));
}

// A few seeds, each with a long feathery tail, spreading from the end of
// the stalk (the clematis); `L` is the length of a tail.
void FruitPainter::plumes(QPointF at, double axis, double L)
{
    QPainter& p = x_.p;
    const int n = 7;
    QPainterPath tails, feathers;
    std::vector<QPointF> seeds;
    for (int i = 0; i < n; ++i) {
        const double a = axis + (i - (n - 1) / 2.0) * 26.0;
        const QPointF seed = at + polar(a, L * 0.08);
        const Curve c{seed, seed + polar(a, L * 0.4), seed + polar(a + 35, L * 0.75), seed + polar(a + 60, L * 0.9)};
        tails.moveTo(c.a);
        tails.cubicTo(c.b, c.c, c.d);
        for (int k = 2; k < 16; ++k) {
            const double t = k / 16.0, dir = c.angleAt(t);
            for (const int side : {-1, 1}) {
                feathers.moveTo(c.at(t));
                feathers.lineTo(c.at(t) + polar(dir + side * 50, L * 0.06));
            }
        }
        seeds.push_back(seed);
    }
    strokeLine(p, feathers, QColor(255, 255, 255, 150), std::max(0.3, L * 0.006));
    strokeLine(p, tails, QColor(245, 245, 238, 230), std::max(0.4, L * 0.012));
    for (const QPointF& s : seeds)
        dot(p, s, std::max(0.6, L * 0.035), hsl(30, 0.35, 0.38));
}

void FruitPainter::bur(double L)
{
    QPainter& p = x_.p;
    const QPointF c(L * 0.5, 0);
    QPainterPath spines;
    for (int i = 0; i < 26; ++i) {
        const double a = i * 360.0 / 26;
        const QPointF rim = c + QPointF(std::cos(a * M_PI / 180) * L * 0.5, std::sin(a * M_PI / 180) * L * 0.3);
        const QPointF out = rim + polar(a, L * 0.12);
        spines.moveTo(rim);
        spines.lineTo(out);
        spines.lineTo(out + polar(a + 120, L * 0.04));
    }
    p.setPen(QPen(shade(ripe_, -0.2), 0.5));
    p.setBrush(ripe_);
    p.drawEllipse(c, L * 0.5, L * 0.3);
    strokeLine(p, spines, shade(ripe_, -0.25), std::max(0.4, L * 0.025));
}

// Fruits that cling by hooks: the beggarticks' head of slender achenes
// standing out in a ball, each tipped with barbed awns; an aggregate ball
// of hook-beaked seeds (the buttercups, avens); or the pair of bristly
// half-fruits of the cleavers and hedge parsleys.
void FruitPainter::hooked(double L)
{
    QPainter& p = x_.p;
    if (x_.form.isHead()) {
        awnedHead(L);
        return;
    }
    if (x_.form.distinction.contains(QStringLiteral("渦巻"))) {  // a pod coiled in a flat spiral, spiny at its rim
        QPainterPath coil, spines;
        const QPointF c(L * 0.5, 0);
        for (int i = 0; i <= 60; ++i) {
            const double a = i * 15.0, r = L * (0.12 + 0.3 * i / 60.0);
            const QPointF at = c + QPointF(std::cos(a * M_PI / 180) * r, std::sin(a * M_PI / 180) * r * 0.55);
            i == 0 ? coil.moveTo(at) : coil.lineTo(at);
            if (i % 3 == 0 && i > 20) {
                spines.moveTo(at);
                spines.lineTo(at + polar(a, L * 0.1));
            }
        }
        strokeLine(p, coil, shade(ripe_, -0.25), std::max(0.8, L * 0.09));
        strokeLine(p, coil, ripe_, std::max(0.6, L * 0.07));
        strokeLine(p, spines, shade(ripe_, -0.35), std::max(0.3, L * 0.015));
        return;
    }
    static const QRegularExpression ball(QStringLiteral("金平糖|球|集ま"));
    if (x_.form.distinction.contains(ball)) {
        const QPointF c(L * 0.5, 0);
        QPainterPath hooks;
        for (int i = 0; i < 26; ++i) {
            const double a = i * 137.508, rr = std::sqrt((i + 0.5) / 26.0);
            const QPointF at = c + polar(a, L * 0.34 * rr);
            p.setPen(QPen(shade(ripe_, -0.25), 0.4));
            p.setBrush(shade(ripe_, (i % 3) * 0.04));
            p.drawEllipse(at, L * 0.09, L * 0.09);
            const QPointF tip = at + polar(a, L * 0.14);
            hooks.moveTo(at + polar(a, L * 0.08));
            hooks.quadTo(tip, tip + polar(a + 100, L * 0.04));
        }
        strokeLine(p, hooks, shade(ripe_, -0.3), std::max(0.3, L * 0.02));
        return;
    }
    for (const double off : {-0.25, 0.25}) {
        const QPointF c(L * 0.5, off * L);
        p.setPen(QPen(shade(ripe_, -0.25), 0.4));
        p.setBrush(ripe_);
        p.drawEllipse(c, L * 0.28, L * 0.28);
        QPainterPath hooks;
        for (int i = 0; i < 10; ++i) {
            const QPointF rim = c + polar(i * 36.0, L * 0.28);
            hooks.moveTo(rim);
            hooks.lineTo(rim + polar(i * 36.0, L * 0.1));
        }
        strokeLine(p, hooks, shade(ripe_, -0.3), std::max(0.3, L * 0.03));
    }
}

void FruitPainter::awnedHead(double L)
{
    QPainter& p = x_.p;
    const QPointF c(L * 0.12, 0);
    QPainterPath achenes, awns;
    const int n = 22;
    for (int i = 0; i < n; ++i) {
        const double a = -80 + 160.0 * (i + 0.5) / n + ((i * 7) % 5 - 2) * 3.0;
        const QPointF end = c + polar(a, L * 0.8);
        achenes.moveTo(c + polar(a, L * 0.06));
        achenes.lineTo(end);
        for (const int side : {-1, 1}) {
            awns.moveTo(end);
            awns.lineTo(end + polar(a + side * 18, L * 0.14));
        }
    }
    strokeLine(p, achenes, shade(ripe_, -0.35), std::max(0.6, L * 0.035));
    strokeLine(p, awns, shade(ripe_, -0.45), std::max(0.4, L * 0.015));
    dot(p, c, L * 0.07, shade(ripe_, -0.2));
}

// A flat pod; a jointed one narrows between its seeds into half-moons.
void FruitPainter::pod(double L, bool jointed)
{
    QPainter& p = x_.p;
    p.setPen(QPen(shade(ripe_, -0.25), 0.5));
    p.setBrush(mix(x_.c.leaf, ripe_, 0.5));
    if (!jointed && kidney(x_.form)) {  // a small kidney-shaped pod, black when ripe
        static const QRegularExpression black(QStringLiteral("黒く熟|黒い実|黒熟"));
        p.setBrush(x_.form.distinction.contains(black) ? QColor(40, 36, 34) : ripe_);
        QPainterPath k(QPointF(0, 0));
        k.cubicTo(QPointF(L * 0.1, -L * 0.45), QPointF(L * 0.9, -L * 0.45), QPointF(L, 0));
        k.cubicTo(QPointF(L * 0.95, L * 0.35), QPointF(L * 0.6, L * 0.3), QPointF(L * 0.5, L * 0.12));
        k.cubicTo(QPointF(L * 0.4, L * 0.3), QPointF(L * 0.05, L * 0.35), QPointF(0, 0));
        p.drawPath(k);
        return;
    }
    if (!jointed) {  // a flat pod with its seeds showing through and a short beak
        p.drawPath(
            mirrored({{QPointF(0.04 * L, -0.12 * L), QPointF(0.8 * L, -0.13 * L), QPointF(0.96 * L, -0.03 * L)},
                      {QPointF(0.99 * L, -0.01 * L), QPointF(1.04 * L, -0.04 * L), QPointF(1.08 * L, -0.06 * L)}}));
        if (L > 8) {
            p.setPen(Qt::NoPen);
            p.setBrush(withAlpha(shade(ripe_, 0.12), 0.8));
            for (int i = 0; i < 5; ++i)
                p.drawEllipse(QPointF(L * (0.18 + 0.16 * i), 0), L * 0.065, L * 0.08);
        }
        return;
    }
    // the joints the distinction counts ("実は2節"), on the short stalk a
    // tick-trefoil's pod stands on; fine hooked hairs make it cling
    static const QRegularExpression counted(QStringLiteral("([0-9]+)(?:-([0-9]+))?節"));
    const QRegularExpressionMatch m = counted.match(x_.form.distinction.normalized(QString::NormalizationForm_KC));
    const int joints = m.hasMatch()
                           ? std::clamp(m.captured(2).isEmpty() ? m.captured(1).toInt()
                                                                : (m.captured(1).toInt() + m.captured(2).toInt()) / 2,
                                        1, 8)
                           : 3;
    if (x_.form.distinction.contains(QStringLiteral("数珠"))) {  // a pod narrowed between its seeds like beads
        const int beads = std::max(joints, 4);
        const double b = L * 0.85 / beads;
        for (int i = 0; i < beads; ++i)
            p.drawEllipse(QPointF(b * (i + 0.5), 0), b * 0.55, b * 0.42);
        line(p, QPointF(L * 0.85, 0), QPointF(L, 0), shade(ripe_, -0.1), std::max(0.5, b * 0.2));  // the beak
        return;
    }
    const double stipe = L * 0.22, w = (L - stipe) / joints;
    line(p, QPointF(0, 0), QPointF(stipe, 0), shade(ripe_, -0.1), std::max(0.5, L * 0.02));
    for (int i = 0; i < joints; ++i) {
        const double x0 = stipe + w * i;
        QPainterPath seg(QPointF(x0 + w * 0.04, 0));
        seg.lineTo(x0 + w * 0.96, 0);
        seg.cubicTo(QPointF(x0 + w * 1.02, w * 0.5), QPointF(x0 + w * 0.6, w * 0.72), QPointF(x0 + w * 0.3, w * 0.6));
        seg.quadTo(QPointF(x0, w * 0.45), QPointF(x0 + w * 0.04, 0));
        p.setPen(QPen(shade(ripe_, -0.25), std::max(0.5, L * 0.012)));
        p.setBrush(mix(x_.c.leaf, ripe_, 0.5));
        p.drawPath(seg);
        if (w > 14) {
            QPainterPath hairs;
            for (int k = 0; k < 14; ++k) {
                const QPointF at(x0 + w * (0.15 + 0.7 * ((k * 7) % 14) / 14.0),
                                 w * (0.08 + 0.4 * ((k * 5) % 14) / 14.0));
                hairs.moveTo(at);
                hairs.lineTo(at + QPointF(w * 0.05, w * 0.04));
            }
            strokeLine(p, hairs, withAlpha(shade(ripe_, -0.3), 0.7), std::max(0.4, w * 0.015));
        }
    }
}

void FruitPainter::silique(double L)
{
    QPainter& p = x_.p;
    p.setPen(QPen(shade(x_.c.leaf, -0.2), 0.4));
    p.setBrush(shade(x_.c.leaf, 0.05));
    p.drawPath(mirrored({{QPointF(0.05 * L, -0.045 * L), QPointF(0.8 * L, -0.045 * L), QPointF(L, 0)}}));
}

// Flat fruits of the mustards: round with a notch (a fan), or heart-shaped.
void FruitPainter::flat(double L, bool notched)
{
    QPainter& p = x_.p;
    p.setPen(QPen(shade(x_.c.leaf, -0.22), 0.5));
    p.setBrush(shade(x_.c.leaf, 0.08));
    if (!notched) {
        p.drawEllipse(QPointF(L * 0.55, 0), L * 0.45, L * 0.3);
        return;
    }
    const bool heart = x_.form.fruit == Fruit::Triangle;
    QPainterPath f(QPointF(0, 0));
    f.cubicTo(QPointF(L * 0.4, heart ? -L * 0.2 : -L * 0.5), QPointF(L * 1.05, heart ? -L * 0.7 : -L * 0.55),
              QPointF(L, -L * 0.05));
    f.lineTo(L * 0.88, 0);
    f.lineTo(L, L * 0.05);
    f.cubicTo(QPointF(L * 1.05, heart ? L * 0.7 : L * 0.55), QPointF(L * 0.4, heart ? L * 0.2 : L * 0.5),
              QPointF(0, 0));
    p.drawPath(f);
}

void FruitPainter::berry(double L, bool gourd)
{
    QPainter& p = x_.p;
    const QColor c = PlantPalette::colourOf(x_.form.fruitColour);
    const QPointF centre(L * 0.5, 0);
    const double rx = L * 0.5, ry = gourd ? L * 0.36 : L * 0.5;
    QRadialGradient g(centre + QPointF(-rx * 0.3, -ry * 0.35), std::max(rx, ry) * 1.3);
    g.setColorAt(0, shade(c, 0.2));
    g.setColorAt(0.6, c);
    g.setColorAt(1, shade(c, -0.2));
    p.setPen(QPen(shade(c, -0.3), 0.5));
    p.setBrush(L > 6 ? QBrush(g) : QBrush(c));
    p.drawEllipse(centre, rx, ry);
    if (gourd && L > 10) {
        QPainterPath stripes;
        for (const double k : {-0.5, 0.0, 0.5}) {
            stripes.moveTo(L * 0.08, k * ry * 0.5);
            stripes.quadTo(QPointF(L * 0.5, k * ry * 1.3), QPointF(L * 0.92, k * ry * 0.5));
        }
        strokeLine(p, stripes, withAlpha(shade(c, 0.3), 0.8), std::max(0.5, L * 0.02));
    }
}

void FruitPainter::capsule(double L, bool follicle)
{
    QPainter& p = x_.p;
    p.setPen(QPen(shade(ripe_, -0.25), 0.5));
    p.setBrush(ripe_);
    if (follicle) {
        p.drawPath(mirrored({{QPointF(0.1 * L, -0.2 * L), QPointF(0.7 * L, -0.22 * L), QPointF(L, 0)}}));
    } else if (x_.form.distinction.contains(QStringLiteral("2つの玉"))) {  // twin globes side by side
        for (const int side : {-1, 1})
            p.drawEllipse(QPointF(L * 0.55, side * L * 0.24), L * 0.3, L * 0.28);
        return;
    } else {
        p.drawEllipse(QPointF(L * 0.5, 0), L * 0.5, L * (slender(x_.form) ? 0.07 : 0.34));
    }
    line(p, QPointF(L * 0.1, 0), QPointF(L * 0.9, 0), shade(ripe_, -0.25), 0.5);
}

// A fruit with a long beak; when ripe its five strips curl up like the
// roof of a portable shrine.
void FruitPainter::beak(double L)
{
    QPainter& p = x_.p;
    p.setPen(QPen(shade(ripe_, -0.25), 0.5));
    p.setBrush(ripe_);
    p.drawEllipse(QPointF(L * 0.08, 0), L * 0.08, L * 0.08);
    line(p, QPointF(L * 0.12, 0), QPointF(L, 0), shade(ripe_, -0.1), std::max(0.6, L * 0.05));
    QPainterPath curls;
    for (int i = 0; i < 5; ++i) {
        const double s = (i - 2) * 0.5;
        curls.moveTo(L, 0);
        curls.cubicTo(QPointF(L * 1.1, s * L * 0.2), QPointF(L * 1.0, s * L * 0.35), QPointF(L * 0.85, s * L * 0.3));
    }
    strokeLine(p, curls, shade(ripe_, -0.2), std::max(0.5, L * 0.03));
}
