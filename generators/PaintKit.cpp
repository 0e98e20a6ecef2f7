#include "generators/PaintKit.h"

#include <QtMath>
#include <algorithm>
#include <cmath>

namespace PaintKit {

quint64 nameSeed(const QString& name)
{
    quint64 h = 1469598103934665603ull;
    for (const char ch : name.toUtf8()) {
        h ^= quint8(ch);
        h *= 1099511628211ull;
    }
    return h;
}

QColor hsl(double h, double s, double l, double a)
{
    h = std::fmod(std::fmod(h, 360.0) + 360.0, 360.0);
    return QColor::fromHslF(float(h / 360.0), float(std::clamp(s, 0.0, 1.0)), float(std::clamp(l, 0.0, 1.0)),
                            float(std::clamp(a, 0.0, 1.0)));
}

QColor withAlpha(QColor c, double a)
{
    c.setAlphaF(float(std::clamp(a, 0.0, 1.0)));
    return c;
}

QColor mix(const QColor& a, const QColor& b, double t)
{
    const auto lerp = [t](float x, float y) { return float(x + (y - x) * t); };
    return QColor::fromRgbF(lerp(a.redF(), b.redF()), lerp(a.greenF(), b.greenF()), lerp(a.blueF(), b.blueF()),
                            lerp(a.alphaF(), b.alphaF()));
}

QColor shade(const QColor& c, double dl)
{
    float h, s, l, a;
    c.getHslF(&h, &s, &l, &a);
    return QColor::fromHslF(std::max(h, 0.0f), s, float(std::clamp(l + dl, 0.0, 1.0)), a);
}

QPointF polar(double deg, double len)
{
    const double a = qDegreesToRadians(deg);
    return {std::cos(a) * len, std::sin(a) * len};
}

double angleOf(QPointF v)
{
    return qRadiansToDegrees(std::atan2(v.y(), v.x()));
}

bool pointsLeft(double deg)
{
    return std::cos(qDegreesToRadians(deg)) < 0;
}

double sideOf(double deg)
{
    return pointsLeft(deg) ? -1.0 : 1.0;
}

QPointF Curve::at(double t) const
{
    const double u = 1 - t;
    return u * u * u * a + 3 * u * u * t * b + 3 * u * t * t * c + t * t * t * d;
}

double Curve::angleAt(double t) const
{
    const double u = 1 - t;
    return angleOf(3 * u * u * (b - a) + 6 * u * t * (c - b) + 3 * t * t * (d - c));
}

QPainterPath mirrored(const std::vector<Cubic>& upper)
{
    QPainterPath path(QPointF(0, 0));
    for (const Cubic& s : upper)
        path.cubicTo(s.c1, s.c2, s.end);
    const auto flip = [](QPointF q) { return QPointF(q.x(), -q.y()); };
    for (int k = int(upper.size()) - 1; k >= 0; --k) {
        const QPointF start = k > 0 ? upper[size_t(k - 1)].end : QPointF(0, 0);
        path.cubicTo(flip(upper[size_t(k)].c2), flip(upper[size_t(k)].c1), flip(start));
    }
    path.closeSubpath();
    return path;
}

void appendSmooth(QPainterPath& path, const QPolygonF& pts)
{
    const int n = int(pts.size());
    for (int i = 0; i + 1 < n; ++i) {
        const QPointF p0 = pts[std::max(i - 1, 0)], p1 = pts[i], p2 = pts[i + 1];
        const QPointF p3 = pts[std::min(i + 2, n - 1)];
        path.cubicTo(p1 + (p2 - p0) / 6.0, p2 - (p3 - p1) / 6.0, p2);
    }
}

QPainterPath smoothPath(const QPolygonF& pts, bool closed)
{
    if (pts.isEmpty())
        return {};
    QPainterPath path(pts.first());
    appendSmooth(path, pts);
    if (closed)
        path.closeSubpath();
    return path;
}

void orient(QPainter& p, QPointF at, double angle)
{
    p.translate(at);
    p.rotate(angle);
    if (pointsLeft(angle))
        p.scale(1, -1);
}

void strokeLine(QPainter& p, const QPainterPath& path, const QColor& c, double width)
{
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(c, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPath(path);
}

QPainterPath ribbon(const Curve& c, double w0, double w1)
{
    QPolygonF left, right;
    const int n = 14;
    for (int i = 0; i <= n; ++i) {
        const double t = double(i) / n, w = 0.5 * (w0 + (w1 - w0) * t) * std::sin(M_PI * (0.15 + 0.85 * t));
        const QPointF nrm = polar(c.angleAt(t) + 90, std::max(w, 0.0));
        left << c.at(t) + nrm;
        right.prepend(c.at(t) - nrm);
    }
    QPainterPath path = smoothPath(left, false);
    path.lineTo(right.first());
    appendSmooth(path, right);
    path.closeSubpath();
    return path;
}

void line(QPainter& p, QPointF a, QPointF b, const QColor& c, double width)
{
    p.setPen(QPen(c, width, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(a, b);
}

void dot(QPainter& p, QPointF at, double radius, const QColor& c)
{
    p.setPen(Qt::NoPen);
    p.setBrush(c);
    p.drawEllipse(at, radius, radius);
}

}  // namespace PaintKit
