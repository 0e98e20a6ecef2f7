#include "generators/LeafOutline.h"

#include "generators/PaintKit.h"

#include <QtMath>
#include <algorithm>
#include <cmath>

using namespace PaintKit;

namespace {

// Control points of the upper half of each contour, base to tip.
QPolygonF controlPoints(LeafShape s)
{
    switch (s) {
    case LeafShape::Linear: return {{0, -0.012}, {0.05, -0.026}, {0.3, -0.032}, {0.6, -0.03}, {0.85, -0.02}, {1, 0}};
    case LeafShape::Needle: return {{0, -0.008}, {0.1, -0.016}, {0.5, -0.015}, {0.9, -0.006}, {1, 0}};
    case LeafShape::Lanceolate:
        return {{0, -0.015}, {0.1, -0.09}, {0.3, -0.14}, {0.5, -0.13}, {0.75, -0.08}, {0.92, -0.03}, {1, 0}};
    case LeafShape::Oblanceolate: return {{0, -0.015}, {0.2, -0.05}, {0.45, -0.1}, {0.7, -0.14}, {0.88, -0.1}, {1, 0}};
    case LeafShape::Oblong:
        return {{0, 0}, {0.05, -0.1}, {0.2, -0.17}, {0.5, -0.18}, {0.75, -0.15}, {0.9, -0.07}, {1, 0}};
    case LeafShape::Elliptic:
        return {{0, 0}, {0.05, -0.11}, {0.2, -0.23}, {0.5, -0.28}, {0.8, -0.22}, {0.95, -0.1}, {1, 0}};
    case LeafShape::Ovate:
        return {{0, 0}, {0.03, -0.17}, {0.2, -0.31}, {0.42, -0.33}, {0.7, -0.24}, {0.9, -0.1}, {1, 0}};
    case LeafShape::Obovate:
        return {{0, 0}, {0.1, -0.08}, {0.35, -0.2}, {0.65, -0.31}, {0.88, -0.27}, {0.98, -0.12}, {1, 0}};
    case LeafShape::Round:
        return {{0, 0}, {0.02, -0.18}, {0.15, -0.38}, {0.5, -0.5}, {0.85, -0.38}, {0.98, -0.18}, {1, 0}};
    case LeafShape::Cordate:
        return {{0, 0}, {-0.08, -0.1}, {-0.06, -0.3}, {0.1, -0.42}, {0.35, -0.42}, {0.65, -0.3}, {0.88, -0.12}, {1, 0}};
    case LeafShape::Reniform:
        return {{0, 0}, {-0.12, -0.16}, {-0.1, -0.46}, {0.18, -0.66}, {0.6, -0.6}, {0.9, -0.34}, {1, 0}};
    case LeafShape::Spatulate:
        return {{0, -0.02}, {0.3, -0.04}, {0.5, -0.08}, {0.7, -0.19}, {0.86, -0.21}, {0.97, -0.12}, {1, 0}};
    case LeafShape::Sagittate:
        return {{0, 0}, {-0.42, -0.26}, {-0.36, -0.33}, {0.0, -0.2}, {0.3, -0.19}, {0.7, -0.11}, {1, 0}};
    case LeafShape::Hastate:
        return {{0, 0},        {-0.02, -0.1}, {-0.05, -0.36}, {0.07, -0.32},
                {0.16, -0.14}, {0.5, -0.12},  {0.85, -0.06},  {1, 0}};
    case LeafShape::Triangular: return {{0, 0}, {-0.01, -0.28}, {0.08, -0.36}, {0.4, -0.26}, {0.75, -0.12}, {1, 0}};
    case LeafShape::Rhombic: return {{0, 0}, {0.2, -0.14}, {0.45, -0.3}, {0.7, -0.18}, {1, 0}};
    case LeafShape::Fan:
        return {{0, 0}, {0.3, -0.12}, {0.65, -0.36}, {0.86, -0.44}, {0.99, -0.3}, {1.02, -0.1}, {1, 0}};
    }
    return {{0, 0}, {0.5, -0.25}, {1, 0}};
}

// Catmull-Rom samples through the control points.
QPolygonF sampled(const QPolygonF& pts, int perSegment)
{
    QPolygonF out;
    const int n = int(pts.size());
    for (int i = 0; i + 1 < n; ++i) {
        const QPointF p0 = pts[std::max(i - 1, 0)], p1 = pts[i], p2 = pts[i + 1], p3 = pts[std::min(i + 2, n - 1)];
        for (int k = 0; k < perSegment; ++k) {
            const double t = double(k) / perSegment, t2 = t * t, t3 = t2 * t;
            out << 0.5 * (2 * p1 + (-p0 + p2) * t + (2 * p0 - 5 * p1 + 4 * p2 - p3) * t2 +
                          (-p0 + 3 * p1 - 3 * p2 + p3) * t3);
        }
    }
    out << pts.last();
    return out;
}

std::vector<double> arcParams(const QPolygonF& pts)
{
    std::vector<double> s(size_t(pts.size()), 0.0);
    for (int i = 1; i < pts.size(); ++i) {
        const QPointF d = pts[i] - pts[i - 1];
        s[size_t(i)] = s[size_t(i - 1)] + std::hypot(d.x(), d.y());
    }
    for (double& v : s)
        v /= std::max(1e-9, s.back());
    return s;
}

// 1 at a sinus, falling to 0 a `half` of a period away: a V-shaped notch.
double notch(double u, double half)
{
    const double d = std::min(u, 1.0 - u);
    return std::pow(std::max(0.0, 1.0 - d / half), 1.6);
}

struct Cut {
    int count;  // teeth or lobes along one side
    double depth;  // of a lobe toward the midrib, or of a tooth in blade lengths
    bool lobes;
};

Cut cutOf(Margin m, Rng& r)
{
    switch (m) {
    case Margin::Serrate: return {r.pick(9, 14), 0.028, false};
    case Margin::DoublySerrate: return {r.pick(7, 10), 0.04, false};
    case Margin::Wavy: return {r.pick(3, 5), 0.03, false};
    case Margin::Spiny: return {r.pick(7, 11), 0.05, false};
    case Margin::Lobed: return {r.pick(3, 5), 0.32, true};
    case Margin::Cleft: return {r.pick(3, 4), 0.62, true};
    case Margin::PinnatelyCleft: return {r.pick(4, 6), 0.84, true};
    default: return {0, 0, false};
    }
}

double toothDepth(Margin m, double u, int k)
{
    switch (m) {
    case Margin::DoublySerrate: return (1 - u) * 0.75 + (1 - std::fmod(u * 2, 1.0)) * 0.35;
    case Margin::Wavy: return 0.5 + 0.5 * std::cos(2 * M_PI * u);
    case Margin::Spiny: return -1.6 * std::max(0.0, 1.0 - std::abs(u - 0.5) * 9) + (k % 2 ? 0.3 : 0.0);
    default: return 1 - u;  // teeth leaning toward the tip
    }
}

}  // namespace

QPolygonF LeafOutline::contour(LeafShape shape, double width)
{
    QPolygonF pts = controlPoints(shape);
    for (QPointF& q : pts)
        q.setY(q.y() * width);
    return sampled(pts, 12);
}

QPolygonF LeafOutline::cut(const QPolygonF& upper, Margin margin, quint64 seed, bool pointedLobes)
{
    Rng r{seed};
    const Cut c = cutOf(margin, r);
    if (c.count == 0)
        return upper;
    const std::vector<double> s = arcParams(upper);
    QPolygonF out;
    for (int i = 0; i < upper.size(); ++i) {
        const QPointF q = upper[i];
        const double t = std::clamp((s[size_t(i)] - 0.06) / 0.9, 0.0, 1.0);
        if (t <= 0.0 || t >= 1.0) {
            out << q;
            continue;
        }
        const double u = std::fmod(t * c.count, 1.0);
        if (c.lobes && margin == Margin::PinnatelyCleft && !pointedLobes) {
            // soft lobes with rounded ends, some cut deeper than others
            const int k = int(t * c.count);
            const double rise = std::sqrt(std::sin(M_PI * u));
            const double d = c.depth * (0.7 + 0.3 * ((k * 7 + int(seed % 5)) % 4) / 3.0) * (1.0 - rise);
            out << QPointF(q.x(), q.y() * (1 - d));
            continue;
        }
        if (c.lobes && margin == Margin::PinnatelyCleft) {
            // lobes cut nearly to the midrib, their points turned back toward the base
            const double rise = u < 0.15 ? 1.0 - u / 0.15 : std::pow((u - 0.15) / 0.85, 1.3);
            const double d = c.depth * rise;
            out << QPointF(q.x() - (1.0 - rise) * 0.05, q.y() * (1 - d));
            continue;
        }
        if (c.lobes) {  // sinuses cut toward the midrib
            const double d = c.depth * notch(u, 0.3);
            out << QPointF(q.x() - d * 0.03, q.y() * (1 - d));
            continue;
        }
        const QPointF tangent = upper[std::min(i + 1, int(upper.size()) - 1)] - upper[std::max(i - 1, 0)];
        const double len = std::max(1e-9, std::hypot(tangent.x(), tangent.y()));
        const QPointF inward(-tangent.y() / len, tangent.x() / len);  // the upper half's inside is +y
        const double depth = std::min(c.depth, std::abs(q.y()) * 0.6);
        out << q + inward * depth * toothDepth(margin, u, int(t * c.count));
    }
    return out;
}

QPolygonF LeafOutline::palmateLobes(LeafShape shape, double width, quint64 seed)
{
    Rng r{seed};
    const int lobes = r.pick(3, 5) | 1;
    const double span = shape == LeafShape::Reniform || shape == LeafShape::Round ? 150 : 120;
    QPolygonF upper;
    const int n = 90;
    for (int i = 0; i <= n; ++i) {
        const double phi = -span * double(i) / n;  // from the tip round to the base
        const double a = std::abs(phi) / span;
        const double v = a * (lobes - 1) / 2.0;  // lobes centred on whole numbers, the middle one at the tip
        const double envelope = 1.0 - 0.35 * a * a;
        const double sinus = 1.0 - 0.78 * notch(std::fmod(v + 0.5, 1.0), 0.22);
        const QPointF q = polar(phi, 0.5 * envelope * sinus);
        upper.prepend(QPointF(0.5 + q.x(), q.y() * width));
    }
    upper.prepend(QPointF(0, 0));
    return upper;
}

QPainterPath LeafOutline::close(const QPolygonF& upper)
{
    QPainterPath path(upper.first());
    for (int i = 1; i < upper.size(); ++i)
        path.lineTo(upper[i]);
    for (int i = int(upper.size()) - 2; i >= 0; --i)
        path.lineTo(upper[i].x(), -upper[i].y());
    path.closeSubpath();
    return path;
}

// A lyrate leaf: small lobes below, a large rounded end lobe beyond a
// sinus at about three fifths of its length.
QPolygonF LeafOutline::lyrate(const QPolygonF& upper)
{
    double widest = 0;
    for (const QPointF& q : upper)
        widest = std::max(widest, std::abs(q.y()));
    QPolygonF out;
    for (const QPointF& q : upper) {
        if (q.x() < 0.6) {
            out << QPointF(q.x(), q.y() * 0.85);
            continue;
        }
        const double v = (q.x() - 0.8) / 0.2;
        out << QPointF(q.x(), -widest * 1.15 * std::sqrt(std::max(0.0, 1.0 - v * v)));
    }
    return out;
}

QPainterPath LeafOutline::blade(LeafShape shape, const QVector<Margin>& margins, double width, quint64 seed,
                                bool lyrateLobes)
{
    QPolygonF upper =
        margins.contains(Margin::PalmatelyCleft) ? palmateLobes(shape, width, seed) : contour(shape, width);
    // Lobes first, then the teeth on the lobes. Only a spiny leaf and the
    // rosette plants' leaves broadest above the middle (the dandelions) have
    // sharp lobes turned back toward the base; others' lobes are soft.
    const bool pointed = margins.contains(Margin::Spiny) || shape == LeafShape::Oblanceolate;
    for (const Margin m : margins)
        if (m == Margin::Lobed || m == Margin::Cleft || m == Margin::PinnatelyCleft)
            upper = cut(upper, m, seed, pointed);
    if (lyrateLobes)
        upper = lyrate(upper);
    for (const Margin m : margins)
        if (m == Margin::Serrate || m == Margin::DoublySerrate || m == Margin::Wavy || m == Margin::Spiny)
            upper = cut(upper, m, seed ^ 0x5a5a);
    return close(upper);
}

QPainterPath LeafOutline::filaments(double width, quint64 seed)
{
    Rng r{seed};
    QPainterPath path(QPointF(0, 0));
    path.lineTo(1, 0);
    const int pairs = r.pick(5, 8);
    for (int k = 0; k < pairs; ++k) {
        const double t = 0.12 + 0.8 * k / pairs, len = (0.32 - 0.22 * t) * (0.6 + width);
        for (const int side : {-1, 1}) {
            const QPointF from(t, 0), end = from + polar(side * 48.0, len);
            path.moveTo(from);
            path.lineTo(end);
            for (const double f : {0.45, 0.75}) {  // each segment forks again
                const QPointF at = from + (end - from) * f;
                path.moveTo(at);
                path.lineTo(at + polar(side * (48.0 + (f < 0.6 ? -40 : 40)), len * 0.35));
            }
        }
    }
    return path;
}
