#pragma once

#include <QColor>
#include <QPainter>
#include <QPainterPath>
#include <QPointF>
#include <QPolygonF>
#include <QString>
#include <QtGlobal>
#include <vector>

// Small shared tools of the plate painters: a seeded random source, colour
// arithmetic and plane geometry. Angles are in degrees on screen (y grows
// downwards, so -90 points up).
namespace PaintKit {

// FNV-1a over the UTF-8 bytes: stable across runs, platforms and Qt
// versions, unlike qHash with a per-process seed.
quint64 nameSeed(const QString& name);

// splitmix64: tiny, fast and good enough to decorate a picture.
struct Rng {
    quint64 state;

    quint64 next()
    {
        quint64 z = (state += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    double unit() { return double(next() >> 11) * (1.0 / 9007199254740992.0); }
    double range(double a, double b) { return a + (b - a) * unit(); }
    int pick(int a, int b) { return b <= a ? a : a + int(next() % quint64(b - a + 1)); }
    bool chance(double p) { return unit() < p; }
    int sign() { return chance(0.5) ? 1 : -1; }
    Rng fork(quint64 salt) { return Rng{next() ^ salt}; }
};

QColor hsl(double h, double s, double l, double a = 1.0);
QColor withAlpha(QColor c, double a);
QColor mix(const QColor& a, const QColor& b, double t);
QColor shade(const QColor& c, double dl);  // lighter (dl > 0) or darker

QPointF polar(double deg, double len);
double angleOf(QPointF v);
bool pointsLeft(double deg);
double sideOf(double deg);  // -1 pointing left, +1 right

// A cubic Bézier from a to d.
struct Curve {
    QPointF a, b, c, d;

    QPointF at(double t) const;
    double angleAt(double t) const;
};

struct Cubic {
    QPointF c1, c2, end;
};

// Closes a shape drawn along +x by reflecting its upper edge in the x axis.
QPainterPath mirrored(const std::vector<Cubic>& upper);
// Catmull-Rom through the points, appended to a path already at pts.first().
void appendSmooth(QPainterPath& path, const QPolygonF& pts);
QPainterPath smoothPath(const QPolygonF& pts, bool closed);
// Orients the painter along `angle`, flipped when pointing left so that a
// shape's local "up" stays up on screen.
void orient(QPainter& p, QPointF at, double angle);
void strokeLine(QPainter& p, const QPainterPath& path, const QColor& c, double width);
// A band along a curve, w0 wide at its start narrowing to w1 at its end.
QPainterPath ribbon(const Curve& c, double w0, double w1);
void line(QPainter& p, QPointF a, QPointF b, const QColor& c, double width);
void dot(QPainter& p, QPointF at, double radius, const QColor& c);

}  // namespace PaintKit
