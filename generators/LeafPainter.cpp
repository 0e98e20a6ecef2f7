#include "generators/LeafPainter.h"

#include "generators/LeafOutline.h"

#include <QLinearGradient>
#include <QRegularExpression>
#include <QStringList>
#include <algorithm>
#include <cmath>

using namespace PaintKit;

namespace {

// Families whose leaves have parallel veins (the monocots), and the
// plantains, whose few strong veins run side by side.
bool parallelVeined(const PlantForm& f, const QString& family)
{
    static const QStringList families = {
        QStringLiteral("イネ科"),       QStringLiteral("カヤツリグサ科"), QStringLiteral("ｶﾔﾂﾘｸﾞｻ科"),
        QStringLiteral("イグサ科"),     QStringLiteral("ユリ科"),         QStringLiteral("ツユクサ科"),
        QStringLiteral("ラン科"),       QStringLiteral("アヤメ科"),       QStringLiteral("ヒガンバナ科"),
        QStringLiteral("サトイモ科"),   QStringLiteral("オモダカ科"),     QStringLiteral("ミズアオイ科"),
        QStringLiteral("ガマ科"),       QStringLiteral("オオバコ科"),     QStringLiteral("ヤマノイモ科"),
        QStringLiteral("ネギ科"),       QStringLiteral("キジカクシ科"),   QStringLiteral("イヌサフラン科"),
        QStringLiteral("シュロソウ科"), QStringLiteral("ススキノキ科"),   QStringLiteral("ミクリ科"),
    };
    return families.contains(family) || f.has(LeafBase::Sheathing) || f.leafShape == LeafShape::Linear ||
           f.leafShape == LeafShape::Needle;
}

bool isCompound(Division d)
{
    return d != Division::Simple;
}

}  // namespace

LeafPainter::Style LeafPainter::styleFor(const PlantForm& f, const QString& family, Rng& r)
{
    Style s;
    const Range n = f.leaflets.known() ? f.leaflets : Range{5, 9};
    s.leaflets = int(std::lround(n.at(r.range(0.35, 0.65))));
    s.parallelVeins = parallelVeined(f, family) || f.distinction.contains(QStringLiteral("平行脈"));
    // The vocabulary has no word for mottled leaves; the distinction names
    // them: a mottle and a leaf in one clause.
    static const QRegularExpression mottle(QStringLiteral("葉[^、。]{0,5}(斑|まだら)|(斑|まだら)[^、。]{0,8}葉"));
    s.mottled = mottle.match(f.distinction).hasMatch();
    static const QRegularExpression fleshy(QStringLiteral("肉質|肉厚|多肉|円柱状の葉"));
    s.fleshy = fleshy.match(f.distinction).hasMatch();
    s.width = r.range(0.9, 1.1);
    s.width *= narrowing(f);
    static const QRegularExpression thin(QStringLiteral("細い[^、。]{0,4}葉"));
    if (thin.match(f.distinction).hasMatch())  // said to be narrow: well under half its shape's usual width
        s.width *= 0.4;
    s.droop = r.range(0.04, 0.18);
    return s;
}

// A long grass-like blade is no wider than a few centimetres.
double LeafPainter::narrowing(const PlantForm& f)
{
    return f.leafShape == LeafShape::Linear && f.leafLength.mid() > 30 ? std::max(0.25, 30.0 / f.leafLength.mid())
                                                                       : 1.0;
}

LeafPainter::LeafPainter(PaintContext& x, const Style& style)
    : x_(x)
    , style_(style)
{
    const quint64 seed = x.r.next();
    const PlantForm& f = x.form;
    blade_ = LeafOutline::blade(f.leafShape, f.margins, style.width, seed,
                                f.distinction.contains(QStringLiteral("頭大羽状")));
    leaflet_ = isCompound(f.division) ? blade_ : QPainterPath();
    if (f.has(Margin::Dissected))
        filaments_ = LeafOutline::filaments(style.width, seed);
}

double LeafPainter::stalkShare() const
{
    const PlantForm& f = x_.form;
    if (!f.has(LeafBase::Stalked) && !f.has(LeafBase::WingedStalk))
        return isCompound(f.division) ? 0.08 : 0.0;
    switch (f.division) {
    case Division::Trifoliate: return 0.3;
    case Division::Palmate:
    case Division::Pedate:
    case Division::Biternate: return 0.42;
    case Division::Simple: {
        const LeafShape s = f.leafShape;
        if (s == LeafShape::Cordate || s == LeafShape::Reniform || s == LeafShape::Sagittate)
            return 0.45;
        // a blade that narrows into its stalk (the dandelions) has little stalk of its own
        const bool tapering = s == LeafShape::Oblanceolate || s == LeafShape::Spatulate || s == LeafShape::Lanceolate ||
                              s == LeafShape::Linear || s == LeafShape::Needle;
        const bool broad = s == LeafShape::Ovate || s == LeafShape::Round || s == LeafShape::Triangular ||
                           s == LeafShape::Hastate || s == LeafShape::Rhombic || s == LeafShape::Fan;
        if (f.phyllotaxis == Phyllotaxis::Basal)
            return tapering && !f.has(LeafBase::WingedStalk) ? 0.15 : broad ? 0.45 : 0.3;
        return 0.25;
    }
    default: return 0.2;
    }
}

void LeafPainter::paint(QPointF at, double angle, double length, double across, double tone)
{
    QPainter& p = x_.p;
    p.save();
    orient(p, at, angle);
    const PlantForm& f = x_.form;
    if (f.has(LeafBase::Stipules))
        stipules(length, tone);
    if (f.has(LeafBase::Clasping) || f.has(LeafBase::Perfoliate))
        ears(length, tone);
    const double s = stalkShare() * length;
    if (s > 0.5)
        stalk(s, tone);
    p.translate(s, 0);
    if (isCompound(f.division))
        compound(length - s, across, tone);
    else
        blade(length - s, across, tone);
    if (f.tendrils && f.division == Division::Simple)
        tendril(QPointF(length - s, 0), 0, (length - s) * 0.4);
    p.restore();
}

void LeafPainter::fill(const QPainterPath& unit, double length, double across, double tone)
{
    QPainter& p = x_.p;
    const PlantPalette& c = x_.c;
    p.save();
    p.scale(length, length * across);
    const double scale = std::max(1e-3, length * std::sqrt(std::max(across, 0.05)));
    p.setPen(length > 6 ? QPen(withAlpha(c.leafDark, 0.9), 0.7 / scale) : QPen(Qt::NoPen));
    if (length > 28) {
        QLinearGradient g(QPointF(0, -0.3), QPointF(0, 0.3));
        g.setColorAt(0, shade(c.leafLight, tone));
        g.setColorAt(0.5, shade(c.leaf, tone));
        g.setColorAt(1, shade(c.leafDark, tone));
        p.setBrush(g);
    } else {
        p.setBrush(shade(c.leaf, tone));
    }
    p.drawPath(unit);
    p.restore();
}

void LeafPainter::blade(double length, double across, double tone)
{
    if (!filaments_.isEmpty()) {
        QPainter& p = x_.p;
        p.save();
        p.scale(length, length * across);
        p.setBrush(Qt::NoBrush);
        p.setPen(QPen(shade(x_.c.leaf, tone), std::max(0.8, length * 0.018) / length, Qt::SolidLine, Qt::RoundCap));
        p.drawPath(filaments_);
        p.restore();
        return;
    }
    fill(blade_, length, across, tone);
    if (style_.fleshy)
        plump(length, across, tone);
    else if (length * across > 16)
        veins(length, across);
    if (style_.mottled && length > 10)
        mottle(length * std::max(across, 0.3));
}

void LeafPainter::veins(double length, double across)
{
    QPainter& p = x_.p;
    const PlantPalette& c = x_.c;
    QPainterPath v(QPointF(0, 0));
    v.lineTo(length * 0.94, 0);
    if (style_.parallelVeins) {
        const double half = blade_.boundingRect().height() * 0.5 * length * across;
        for (const double k : {-0.55, -0.25, 0.25, 0.55}) {
            const double w = k * half;
            v.moveTo(0, 0);
            v.quadTo(QPointF(length * 0.4, w * 1.4), QPointF(length * 0.96, w * 0.1));
        }
    } else if (length > 30) {
        const double half = blade_.boundingRect().height() * 0.5 * length * across;
        for (int k = 1; k <= 5; ++k) {
            const double t = k / 6.5, reach = 0.6 * half;
            for (const int side : {-1, 1}) {
                v.moveTo(t * length, 0);
                v.quadTo(QPointF((t + 0.05) * length, side * reach * 0.5), QPointF((t + 0.14) * length, side * reach));
            }
        }
    }
    strokeLine(p, v, c.vein, std::max(0.5, length * 0.01));
}

// A succulent leaf shows no veins; a soft sheen along its middle rounds it.
void LeafPainter::plump(double length, double across, double tone)
{
    QPainter& p = x_.p;
    p.save();
    p.scale(length, length * across);
    p.translate(0.12, -0.04);
    p.scale(0.78, 0.45);
    p.setPen(Qt::NoPen);
    p.setBrush(withAlpha(shade(x_.c.leafLight, tone + 0.12), 0.6));
    p.drawPath(blade_);
    p.restore();
}

void LeafPainter::mottle(double length)
{
    QPainter& p = x_.p;
    p.save();
    p.setClipPath(QTransform::fromScale(length, length).map(blade_), Qt::IntersectClip);
    p.setPen(Qt::NoPen);
    p.setBrush(withAlpha(hsl(345, 0.35, 0.3), 0.55));
    Rng r{0x6d6f74746c65ull};
    for (int i = 0; i < 14; ++i)
        p.drawEllipse(QPointF(r.range(0.1, 0.9) * length, r.range(-0.25, 0.25) * length), length * r.range(0.04, 0.09),
                      length * r.range(0.03, 0.06));
    p.restore();
}

void LeafPainter::stalk(double length, double tone)
{
    const double w = std::max(0.7, length * 0.05);
    if (x_.form.has(LeafBase::WingedStalk)) {
        QPainterPath wing = mirrored(
            {{QPointF(length * 0.3, -w * 0.6), QPointF(length * 0.7, -w * 1.6), QPointF(length * 1.02, -w * 1.4)}});
        x_.p.setPen(QPen(x_.c.leafDark, 0.5));
        x_.p.setBrush(shade(x_.c.leaf, tone));
        x_.p.drawPath(wing);
    }
    line(x_.p, QPointF(0, 0), QPointF(length + 0.5, 0), shade(x_.c.stem, tone), w);
}

void LeafPainter::stipules(double length, double tone)
{
    const double s = std::max(1.5, length * 0.12);
    for (const int side : {-1, 1}) {
        x_.p.save();
        x_.p.rotate(side * 70);
        fill(LeafOutline::blade(LeafShape::Ovate, {Margin::Serrate}, 1.0, 7), s, 1.0, tone + 0.04);
        x_.p.restore();
    }
}

// The ears of a clasping base reach round the stem on both sides.
void LeafPainter::ears(double length, double tone)
{
    const double s = std::max(1.5, length * 0.14);
    QPainter& p = x_.p;
    p.setPen(QPen(withAlpha(x_.c.leafDark, 0.9), 0.6));
    p.setBrush(shade(x_.c.leaf, tone - 0.03));
    for (const int side : {-1, 1}) {
        QPainterPath ear(QPointF(s * 0.6, 0));
        ear.cubicTo(QPointF(s * 0.5, side * s * 0.9), QPointF(-s * 0.7, side * s * 1.0),
                    QPointF(-s * 0.6, side * s * 0.2));
        ear.lineTo(0, 0);
        ear.closeSubpath();
        p.drawPath(ear);
    }
}

void LeafPainter::leaflet(QPointF at, double angle, double length, double across, double tone)
{
    QPainter& p = x_.p;
    p.save();
    p.translate(at);
    p.rotate(angle);
    if (length < 2.5)
        line(p, QPointF(0, 0), QPointF(length, 0), shade(x_.c.leaf, tone), std::max(0.8, length * 0.4));
    else if (!filaments_.isEmpty())
        blade(length, across, tone);
    else
        fill(leaflet_, length, across, tone);
    p.restore();
}

void LeafPainter::compound(double L, double across, double tone)
{
    const PlantForm& f = x_.form;
    const int n = std::max(1, style_.leaflets);
    switch (f.division) {
    case Division::Trifoliate: fan(QPointF(0, 0), 0, L * 0.72, 3, 55, across, tone); return;
    case Division::Palmate: fan(QPointF(0, 0), 0, L * 0.7, n, std::min(150.0, 20.0 * (n - 1)), across, tone); return;
    case Division::Pedate: fan(QPointF(0, 0), 0, L * 0.72, std::max(n, 5), 110, across, tone); return;
    case Division::Biternate:
        for (const double a : {-48.0, 0.0, 48.0}) {
            const QPointF end = polar(a * across, L * 0.38);
            line(x_.p, QPointF(0, 0), end, x_.c.stem, std::max(0.6, L * 0.02));
            fan(end, a * across, L * 0.34, 3, 50, across, tone);
        }
        return;
    case Division::Pinnate:
        pinnate(QPointF(0, 0), 0, L, n, n % 2 == 1 && !f.tendrils, across, tone);
        if (f.tendrils)
            tendril(QPointF(L, 0), 0, L * 0.38);
        return;
    case Division::Bipinnate: twicePinnate(L, across, tone, 2); return;
    case Division::Tripinnate: twicePinnate(L, across, tone, 3); return;
    case Division::Simple: return;
    }
}

// Leaflets in pairs along a rachis, with a leaflet at its end when `tip`.
void LeafPainter::pinnate(QPointF from, double angle, double rachis, int count, bool tip, double across, double tone)
{
    QPainter& p = x_.p;
    const int pairs = std::max(1, count / 2);
    // round leaflets are as wide as long: they keep to their share of the rachis
    const LeafShape s = x_.form.leafShape;
    const bool round = s == LeafShape::Round || s == LeafShape::Reniform || s == LeafShape::Cordate;
    const double leafletLength = std::clamp(rachis * (round ? 1.0 : 2.0) / (pairs + 1.5), rachis * 0.1, rachis * 0.5);
    p.save();
    p.translate(from);
    p.rotate(angle);
    line(p, QPointF(0, 0), QPointF(rachis, 0), x_.c.stem, std::max(0.5, rachis * 0.015));
    for (int k = 0; k < pairs; ++k) {
        const double t = 0.14 + 0.8 * (k + 0.5) / pairs;
        const double len = leafletLength * (1.0 - 0.15 * std::abs(t - 0.5));
        for (const int side : {-1, 1})
            leaflet(QPointF(t * rachis, 0), side * 58.0 * std::max(across, 0.35), len, across, tone);
    }
    if (tip)  // the end leaflet, larger where the distinction says so
        leaflet(QPointF(rachis, 0), 0, leafletLength * (largeEndLeaflet() ? 1.8 : 1.0), across, tone);
    p.restore();
}

bool LeafPainter::largeEndLeaflet() const
{
    static const QRegularExpression pattern(QStringLiteral("(先端|頂)の?小葉が[^、。]{0,6}大き"));
    return x_.form.distinction.contains(pattern);
}

void LeafPainter::twicePinnate(double L, double across, double tone, int depth)
{
    const int pinnae = depth == 2 ? 4 : 3;
    QPainter& p = x_.p;
    line(p, QPointF(0, 0), QPointF(L, 0), x_.c.stem, std::max(0.6, L * 0.015));
    for (int k = 0; k < pinnae; ++k) {
        const double t = 0.15 + 0.7 * k / pinnae, len = L * 0.42 * (1 - 0.45 * t);
        for (const int side : {-1, 1})
            pinnate(QPointF(t * L, 0), side * 52.0 * std::max(across, 0.35), len, depth == 2 ? 7 : 5, true, across,
                    tone);
    }
    pinnate(QPointF(L * 0.82, 0), 0, L * 0.22, 5, true, across, tone);
}

void LeafPainter::fan(QPointF at, double angle, double length, int count, double spread, double across, double tone)
{
    for (int i = 0; i < count; ++i) {
        const double u = count == 1 ? 0.0 : -1.0 + 2.0 * i / (count - 1);
        const double a = angle + u * spread * std::max(across, 0.4);
        leaflet(at, a, length * (1.0 - 0.22 * std::abs(u)), across, tone);
    }
}

// A tendril: a thin branch that ends in tight coils.
void LeafPainter::tendril(QPointF from, double angle, double length)
{
    QPainter& p = x_.p;
    p.save();
    p.translate(from);
    p.rotate(angle);
    for (const double fork : {-28.0, 0.0, 28.0}) {
        QPolygonF pts;
        const double reach = length * (fork == 0.0 ? 0.75 : 0.55);
        for (int i = 0; i <= 18; ++i) {
            const double t = i / 18.0;
            const QPointF along = polar(fork, reach * std::min(t, 0.6) / 0.6);
            const double coil = t > 0.6 ? (t - 0.6) / 0.4 : 0.0;
            pts << along + QPointF(std::sin(coil * 9) * reach * 0.12, (1 - std::cos(coil * 9)) * reach * 0.12);
        }
        strokeLine(p, smoothPath(pts, false), x_.c.stem, std::max(0.5, length * 0.03));
    }
    p.restore();
}
