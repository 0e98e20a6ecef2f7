#include "generators/ShootPainter.h"

#include "generators/Distinction.h"
#include "generators/LeafOutline.h"

#include <QtMath>
#include <algorithm>
#include <cmath>

using namespace PaintKit;

namespace {

constexpr double kGolden = 137.508;

}  // namespace

ShootPainter::ShootPainter(PaintContext& x, LeafPainter& leaves, InflorescencePainter& blooms)
    : x_(x)
    , leaves_(leaves)
    , blooms_(blooms)
{
}

ShootPainter::LeafPose ShootPainter::pose(QPointF at, double axis, double phi, double elevation, double view,
                                          double length) const
{
    const double ph = qDegreesToRadians(phi), el = qDegreesToRadians(elevation), pitch = qDegreesToRadians(view);
    const double sx = std::cos(ph) * std::cos(el);
    const double depth = std::sin(ph) * std::cos(el);
    const double sy = -std::sin(el) * std::cos(pitch) + depth * std::sin(pitch);
    const double scale = std::max(0.3, std::hypot(sx, sy));
    return {at,           angleOf(QPointF(sx, sy)) + axis + 90.0, length * scale, 0.55 + 0.45 * scale, depth * -0.05,
            depth < -0.05};
}

void ShootPainter::paintLeaf(const LeafPose& l)
{
    leaves_.paint(l.at, l.angle, l.length, l.across, l.tone);
    if (!l.back && l.length > leafFocusSize_) {
        leafFocusSize_ = l.length;
        leafFocus_ = l.at + polar(l.angle, l.length * 0.6);
    }
}

void ShootPainter::node(const Shoot& s, int k, double phi0, std::vector<LeafPose>& out,
                        std::vector<std::pair<QPointF, double>>& axils)
{
    const PlantForm& f = x_.form;
    const double u = s.nodes > 1 ? double(k) / (s.nodes - 1) : 0.0;
    const double t = s.leafFrom + (s.leafTo - s.leafFrom) * u;
    QPointF at = s.path.at(t);
    const double axis = s.path.angleAt(t);
    const double len = s.leafSize * x_.cm(f.leafLength.at(0.55)) * (1.0 - 0.4 * u) * x_.r.range(0.9, 1.05);
    const double view = s.hanging ? 5 : 22;
    if (f.has(LeafBase::Sheathing) && len > 6) {
        const double top = std::min(1.0, t + len * (f.bladeAboveSheath() ? 0.22 : 0.06) / std::max(s.length, 1.0));
        sheath(at, s.path.at(top), s.width);
        if (f.bladeAboveSheath())
            at = s.path.at(top);
    }
    switch (f.phyllotaxis) {
    case Phyllotaxis::Opposite: {
        const double phi = phi0 + (k % 2) * 90.0 + x_.r.range(-10, 10);
        const double el = x_.r.range(15, 35);
        out.push_back(pose(at, axis, phi, el, view, len));
        out.push_back(pose(at, axis, phi + 180, el, view, len));
        axils.push_back({at, axis});
        return;
    }
    case Phyllotaxis::Whorled: {
        const int n = f.whorl.known() ? int(std::lround(f.whorl.at(x_.r.unit()))) : 4;
        for (int i = 0; i < std::max(3, n); ++i)
            out.push_back(pose(at, axis, phi0 + k * 25.0 + 360.0 * i / std::max(3, n), x_.r.range(2, 14), 38, len));
        axils.push_back({at, axis});
        return;
    }
    default: {
        const bool ranks = f.has(LeafBase::Sheathing) || s.hanging;
        const double phi = phi0 + (ranks ? k * 180.0 + x_.r.range(-15, 15) : k * kGolden);
        out.push_back(pose(at, axis, phi, x_.r.range(22, 45), view, len));
        axils.push_back({at, axis});
        return;
    }
    }
}

std::vector<ShootPainter::LeafPose> ShootPainter::leaves(const Shoot& s, std::vector<std::pair<QPointF, double>>& axils)
{
    std::vector<LeafPose> out;
    if (!s.leafy || x_.form.phyllotaxis == Phyllotaxis::Basal)
        return out;
    const double phi0 = x_.r.range(-20, 20);
    for (int k = 0; k < s.nodes; ++k)
        node(s, k, phi0, out, axils);
    return out;
}

void ShootPainter::paint(const Shoot& s)
{
    std::vector<std::pair<QPointF, double>> axils;
    const std::vector<LeafPose> poses = leaves(s, axils);
    for (const LeafPose& l : poses)
        if (l.back)
            paintLeaf(l);
    stem(s.path, s.width, s.width * (x_.form.has(StemFeature::Square) ? 0.8 : 0.5));
    if (x_.form.has(StemFeature::ThickNodes)) {
        x_.p.setPen(QPen(x_.c.stemDark, 0.5));
        x_.p.setBrush(x_.c.stem);
        for (const auto& [at, axis] : axils)
            x_.p.drawEllipse(at, s.width * 0.9, s.width * 0.9);
    }
    if (Distinction::saucerStipules(x_.form))
        for (const auto& [at, axis] : axils)
            saucer(at, axis, s.width);
    if (x_.form.distinction.contains(QStringLiteral("節の下に粘る帯")))  // the catchfly's sticky bands
        for (const auto& [at, axis] : axils)
            line(x_.p, at + polar(axis, -s.width * 1.5), at + polar(axis, -s.width * 5), hsl(20, 0.35, 0.3),
                 s.width * 1.05);
    if (s.scales)
        scaleLeaves(s);
    for (const LeafPose& l : poses)
        if (!l.back)
            paintLeaf(l);
    if (s.clothed)
        bracts(s);
    const bool tiers = axils.empty();
    if (!blooms_.terminal() && s.flowering && tiers) {  // a leafless stalk: tiers of flowers at its top
        const double span =
            std::min(0.4, std::max(blooms_.length(), blooms_.flowerSize() * 3) / std::max(s.length, 1.0));
        for (int k = 0; k < 4; ++k)
            axils.push_back({s.path.at(1.0 - span * (1.0 - k / 3.0)), s.path.angleAt(1.0 - span)});
    }
    if (!blooms_.terminal() && s.flowering) {
        const bool whorls = x_.form.inflorescence == Inflorescence::Verticillaster;
        const double from = tiers ? 0.0 : whorls ? std::max(0.4, 1.0 - 3.0 / std::max<double>(axils.size(), 1)) : 0.25;
        double side = x_.r.sign();
        for (size_t i = 0; i < axils.size(); ++i) {
            if (double(i) < from * double(axils.size()))
                continue;
            const auto& [at, axis] = axils[i];
            blooms_.axil(at, axis, side, x_.cm(x_.form.leafLength.mid()));
            if (x_.form.phyllotaxis != Phyllotaxis::Alternate || x_.form.inflorescence == Inflorescence::Verticillaster)
                blooms_.axil(at, axis, -side, x_.cm(x_.form.leafLength.mid()));
            side = -side;
        }
    }
    const bool axillary = blooms_.terminal() && s.flowering && Distinction::axillaryClusters(x_.form);
    if (axillary)
        axillaryClusters(axils);
    if (s.flowering && blooms_.terminal() && (!axillary || Distinction::alsoAtTips(x_.form)))
        inflorescence(s);
}

// Spikes or small panicles from the axils of the upper leaves, each leaning
// out from the stem at about half the inflorescence's length.
void ShootPainter::axillaryClusters(const std::vector<std::pair<QPointF, double>>& axils)
{
    double side = x_.r.sign();
    const double len = std::max(blooms_.length() * 0.6, blooms_.flowerSize() * 4);
    for (size_t i = axils.size() / 3; i < axils.size(); ++i) {
        const auto& [at, axis] = axils[i];
        blooms_.fromAxil(at, axis + side * x_.r.range(25, 40), len * (1.0 - 0.3 * double(i) / double(axils.size())));
        side = -side;
    }
}

// At the stem's end; or on its side, where a bract goes on as the stem
// (the rushes and bulrushes).
void ShootPainter::inflorescence(const Shoot& s)
{
    if (s.beyond <= 0) {
        blooms_.paint(s.path.d, s.path.angleAt(1.0));
        return;
    }
    const double t = 1.0 - s.beyond, axis = s.path.angleAt(t);
    blooms_.paint(s.path.at(t), axis + (pointsLeft(axis + 90) ? -1 : 1) * 35.0);
}

// Broad pale bracts wrapping a short stout stalk, overlapping, larger
// toward its top where the flower heads sit among them.
void ShootPainter::bracts(const Shoot& s)
{
    const int n = 7;
    const QPainterPath unit = LeafOutline::blade(LeafShape::Ovate, {Margin::Entire}, 0.8, 11);
    QPainter& p = x_.p;
    for (int k = 0; k < n; ++k) {
        const double u = double(k) / (n - 1);
        const double t = 0.1 + 0.82 * u;
        const double len = s.length * (0.24 + 0.26 * u);
        const double side = k % 2 ? 1.0 : -1.0;
        p.save();
        orient(p, s.path.at(t) + polar(s.path.angleAt(t) + 90 * side, s.width * 0.3),
               s.path.angleAt(t) + side * (8 + 22.0 * u));
        p.scale(len, len);
        p.setPen(QPen(withAlpha(x_.c.leafDark, 0.8), 0.8 / len));
        p.setBrush(mix(x_.c.leafLight, QColor(0xe8, 0xe6, 0xb0), 0.25 + 0.04 * k));
        p.drawPath(unit);
        p.restore();
    }
}

// Small brownish scales at the lowest nodes of a stem whose leaves are all
// in one whorl at its top.
void ShootPainter::scaleLeaves(const Shoot& s)
{
    const QPainterPath unit = LeafOutline::blade(LeafShape::Ovate, {Margin::Entire}, 0.7, 5);
    const double len = std::max(2.0, x_.cm(x_.form.leafLength.mid()) * 0.12);
    QPainter& p = x_.p;
    for (int k = 0; k < 3; ++k) {
        const double t = 0.06 + 0.1 * k;
        p.save();
        orient(p, s.path.at(t), s.path.angleAt(t) + (k % 2 ? 25.0 : -25.0));
        p.scale(len, len);
        p.setPen(Qt::NoPen);
        p.setBrush(mix(x_.c.stem, QColor(0x9a, 0x70, 0x50), 0.6));
        p.drawPath(unit);
        p.restore();
    }
}

// A round stipule like a saucer round the stem at a node, seen a little
// from above.
void ShootPainter::saucer(QPointF at, double axis, double w)
{
    const double R = std::max(w * 2.5, x_.cm(x_.form.leafLength.mid()) * 0.28);
    QPainter& p = x_.p;
    p.save();
    p.translate(at);
    p.rotate(axis + 90);
    p.setPen(QPen(x_.c.leafDark, std::max(0.4, R * 0.06)));
    p.setBrush(shade(x_.c.leaf, 0.08));
    p.drawEllipse(QPointF(0, 0), R, R * 0.38);
    p.restore();
    line(p, at, at + polar(axis, R * 0.4), x_.c.stem, w);
}

void ShootPainter::stem(const Curve& k, double w0, double w1)
{
    QPainter& p = x_.p;
    const PlantForm& f = x_.form;
    const bool square = f.has(StemFeature::Square);
    if (f.has(StemFeature::Winged))
        wings(k, w0);
    const int n = 18;
    QPolygonF left, right, lit;
    for (int i = 0; i <= n; ++i) {
        const double t = double(i) / n;
        const QPointF pt = k.at(t);
        const QPointF nrm = polar(k.angleAt(t) + 90, 1.0);
        const double w = 0.5 * (w0 + (w1 - w0) * t);
        left << pt - nrm * w;
        right.prepend(pt + nrm * w);
        lit << pt - nrm * w * (square ? 0.15 : 0.4);
    }
    QPainterPath body(left.first());
    appendSmooth(body, left);
    body.lineTo(right.first());
    appendSmooth(body, right);
    body.closeSubpath();
    p.setPen(w0 > 1.5 ? QPen(withAlpha(x_.c.stemDark, 0.9), 0.5) : QPen(Qt::NoPen));
    p.setBrush(x_.c.stem);
    p.drawPath(body);
    if (w0 > 2.2)
        strokeLine(p, smoothPath(lit, false), withAlpha(shade(x_.c.stem, 0.18), square ? 0.95 : 0.6),
                   std::max(0.4, w0 * (square ? 0.2 : 0.22)));
    if (f.has(StemFeature::Hairy) || f.has(StemFeature::Bristly))
        hairs(k, w0, f.has(StemFeature::Bristly));
    if (f.has(StemFeature::Prickly))
        prickles(k, w0);
}

void ShootPainter::hairs(const Curve& k, double w, bool bristly)
{
    QPainterPath h;
    const int n = std::clamp(int(60 * (bristly ? 0.7 : 1.0)), 10, 80);
    const double len = std::max(1.2, w * (bristly ? 1.1 : 0.7));
    for (int i = 0; i < n; ++i) {
        const double t = (i + 0.5) / n, a = k.angleAt(t);
        const double side = i % 2 ? 1 : -1;
        const QPointF at = k.at(t) + polar(a + 90 * side, w * 0.45);
        h.moveTo(at);
        h.lineTo(at + polar(a + side * 65, len));
    }
    strokeLine(x_.p, h, x_.c.hair, bristly ? 0.55 : 0.4);
}

void ShootPainter::prickles(const Curve& k, double w)
{
    QPainter& p = x_.p;
    p.setPen(Qt::NoPen);
    p.setBrush(shade(x_.c.stem, -0.2));
    const int n = 26;
    const double len = std::max(1.0, w * 0.8);
    for (int i = 0; i < n; ++i) {
        const double t = (i + 0.5) / n, a = k.angleAt(t), side = i % 2 ? 1 : -1;
        const QPointF at = k.at(t) + polar(a + 90 * side, w * 0.45);
        QPolygonF tri;  // prickles point back down the stem
        tri << at + polar(a, len * 0.4) << at + polar(a + 180, len * 0.2) << at + polar(a + side * 150, len);
        p.drawPolygon(tri);
    }
}

void ShootPainter::wings(const Curve& k, double w)
{
    QPainterPath path(k.a);
    path.cubicTo(k.b, k.c, k.d);
    strokeLine(x_.p, path, withAlpha(x_.c.leafLight, 0.9), w * 2.6);
    strokeLine(x_.p, path, withAlpha(x_.c.leafDark, 0.5), w * 2.6 + 0.6);
    strokeLine(x_.p, path, withAlpha(x_.c.leaf, 0.95), w * 2.5);
}

void ShootPainter::sheath(QPointF from, QPointF to, double w)
{
    line(x_.p, from, to, shade(x_.c.leaf, 0.04), w * 1.5);
}
