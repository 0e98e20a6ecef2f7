#include "generators/FlowerIllustrator.h"

#include <QFont>
#include <QFontMetricsF>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <QRadialGradient>
#include <QtMath>

#include <algorithm>
#include <cmath>
#include <vector>

// Everything is painted in logical units where the plate is 480 high, so the
// composition is the same at every output size. Depth comes from three
// layers: a blurred far meadow (hills, clouds, blossom, small copies of the
// plant), the sharp plants, and a few foreground details (grass, drifting
// petals or leaves).

namespace {

constexpr double kPlateHeight = 480.0;

// ------------------------------------------------------------------ chance

// FNV-1a over the UTF-8 bytes: stable across runs, platforms and Qt versions,
// unlike qHash with a per-process seed.
quint64 nameSeed(const QString& name)
{
    quint64 h = 1469598103934665603ull;
    for (const char ch : name.toUtf8()) {
        h ^= quint8(ch);
        h *= 1099511628211ull;
    }
    return h;
}

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
    int pick(int a, int b) { return a + int(next() % quint64(b - a + 1)); }
    bool chance(double p) { return unit() < p; }
    int sign() { return chance(0.5) ? 1 : -1; }
    Rng fork(quint64 salt) { return Rng{next() ^ salt}; }
};

// ------------------------------------------------------------- categories

enum class Form { Four, Five, Many, Violet, Lipped, Pea, Dandelion, Daisy, Spike, Other };
enum class Tint { White, Yellow, RedPurple, BluePurple, GreenBrown };
enum class Season { Spring, Summer, Autumn };
enum class Arrangement { Opposite, Alternate, Whorled, Basal };
enum class LeafShape { Lanceolate, Ovate, Elliptic, Linear, Oblanceolate, Toothed, Lobed, Cordate, Compound };

bool has(const QString& text, const char16_t* word)
{
    return text.contains(QStringView(word));
}

Form parseForm(const QString& s)
{
    if (has(s, u"４") || has(s, u"4"))
        return Form::Four;
    if (has(s, u"５") || has(s, u"5"))
        return Form::Five;
    if (has(s, u"多数"))
        return Form::Many;
    if (has(s, u"スミレ"))
        return Form::Violet;
    if (has(s, u"唇"))
        return Form::Lipped;
    if (has(s, u"マメ"))
        return Form::Pea;
    if (has(s, u"タンポポ"))
        return Form::Dandelion;
    if (has(s, u"キク"))
        return Form::Daisy;
    if (has(s, u"穂"))
        return Form::Spike;
    return Form::Other;
}

Tint parseTint(const QString& s)
{
    if (has(s, u"白"))
        return Tint::White;
    if (has(s, u"黄"))
        return Tint::Yellow;
    if (has(s, u"赤"))
        return Tint::RedPurple;
    if (has(s, u"青"))
        return Tint::BluePurple;
    return Tint::GreenBrown;
}

Season parseSeason(const QString& s)
{
    if (has(s, u"春"))
        return Season::Spring;
    if (has(s, u"秋"))
        return Season::Autumn;
    return Season::Summer;
}

Arrangement parseArrangement(const QString& s)
{
    if (has(s, u"対"))
        return Arrangement::Opposite;
    if (has(s, u"輪"))
        return Arrangement::Whorled;
    if (has(s, u"根"))
        return Arrangement::Basal;
    return Arrangement::Alternate;
}

// ---------------------------------------------------------------- colours

QColor hsl(double h, double s, double l, double a = 1.0)
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

struct Palette {
    QColor petal, petalDeep, petalLight, edge, eye, eyeDeep, pollen, guide;
    QColor leaf, leafDark, leafLight, stem;
};

struct FlowerTones {
    double hue, sat, light;
};

// Petal colours per colour group. White petals get a faint tint and a grey
// edge so they still read against a pale spring sky.
void setFlowerColours(Palette& c, Tint tint, Rng& r)
{
    c.eye = hsl(48, 0.9, 0.55);
    c.eyeDeep = hsl(34, 0.85, 0.36);
    c.pollen = hsl(50, 1.0, 0.62);
    double h = 0;
    switch (tint) {
    case Tint::White: {
        const double hues[] = {50, 345, 95, 265, 30};
        h = hues[r.pick(0, 4)];
        c.petal = hsl(h, 0.5, 0.965);
        c.petalDeep = hsl(h, 0.16, 0.80);
        c.petalLight = QColor(255, 255, 255);
        c.edge = hsl(h, 0.10, 0.48, 0.55);
        return;
    }
    case Tint::Yellow:
        h = r.range(42, 54);
        c.petal = hsl(h, 0.95, 0.56);
        c.petalDeep = hsl(h - 12, 0.95, 0.46);
        c.petalLight = hsl(h + 4, 1.0, 0.80);
        c.edge = hsl(h - 18, 0.8, 0.30, 0.55);
        c.eye = hsl(h - 10, 0.95, 0.46);
        c.eyeDeep = hsl(26, 0.8, 0.26);
        c.pollen = hsl(h - 16, 1.0, 0.42);
        return;
    case Tint::RedPurple:
        h = r.range(312, 345);
        c.petal = hsl(h, 0.66, 0.62);
        c.petalDeep = hsl(h + 4, 0.62, 0.40);
        c.petalLight = hsl(h - 4, 0.80, 0.86);
        c.edge = hsl(h, 0.5, 0.28, 0.55);
        return;
    case Tint::BluePurple:
        h = r.range(240, 276);
        c.petal = hsl(h, 0.56, 0.62);
        c.petalDeep = hsl(h, 0.55, 0.38);
        c.petalLight = hsl(h, 0.70, 0.84);
        c.edge = hsl(h, 0.4, 0.26, 0.55);
        return;
    case Tint::GreenBrown:
        const bool green = r.chance(0.5);
        h = green ? r.range(66, 84) : r.range(12, 28);
        const FlowerTones t = green ? FlowerTones{h, 0.5, 0.52} : FlowerTones{h, 0.45, 0.40};
        c.petal = hsl(t.hue, t.sat, t.light);
        c.petalDeep = hsl(t.hue + 4, t.sat + 0.05, t.light - 0.2);
        c.petalLight = hsl(t.hue - 4, t.sat + 0.05, t.light + 0.2);
        c.edge = hsl(t.hue, 0.45, 0.18, 0.6);
        c.eye = green ? hsl(55, 0.7, 0.5) : hsl(40, 0.7, 0.5);
        return;
    }
}

// Foliage follows the season: fresh yellow-green, deep summer green, tired
// olive. Green flowers push the leaves bluer and darker to keep them apart.
void setLeafColours(Palette& c, Season season, bool greenFlowers, Rng& r)
{
    const FlowerTones base = season == Season::Spring   ? FlowerTones{92, 0.46, 0.42}
                             : season == Season::Summer ? FlowerTones{118, 0.50, 0.31}
                                                        : FlowerTones{74, 0.36, 0.36};
    double h = base.hue + r.range(-10, 10);
    double l = base.light;
    if (greenFlowers) {
        h += 32;
        l -= 0.07;
    }
    c.leaf = hsl(h, base.sat, l);
    c.leafDark = hsl(h + 6, base.sat + 0.05, l - 0.13);
    c.leafLight = hsl(h - 6, base.sat, l + 0.17);
    c.stem = hsl(h - 10, base.sat - 0.05, l + 0.07);
}

Palette makePalette(Tint tint, Season season, Rng& r)
{
    Palette c;
    setFlowerColours(c, tint, r);
    c.guide = tint == Tint::White    ? hsl(275, 0.45, 0.45)
              : tint == Tint::Yellow ? hsl(22, 0.85, 0.34)
                                     : shade(c.petalDeep, -0.12);
    float h, s, l, a;
    c.petal.getHslF(&h, &s, &l, &a);
    const bool greenFlowers = tint == Tint::GreenBrown && h * 360 > 50;
    setLeafColours(c, season, greenFlowers, r);
    return c;
}

// --------------------------------------------------------------- geometry

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

struct Curve {
    QPointF a, b, c, d;

    QPointF at(double t) const
    {
        const double u = 1 - t;
        return u * u * u * a + 3 * u * u * t * b + 3 * u * t * t * c + t * t * t * d;
    }
    double angleAt(double t) const
    {
        const double u = 1 - t;
        return angleOf(3 * u * u * (b - a) + 6 * u * t * (c - b) + 3 * t * t * (d - c));
    }
};

struct Cubic {
    QPointF c1, c2, end;
};

// Closes a shape drawn along +x by reflecting its upper edge in the x axis.
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

// Catmull-Rom through the points, appended to a path already at pts.first().
void appendSmooth(QPainterPath& path, const QPolygonF& pts)
{
    const int n = int(pts.size());
    for (int i = 0; i + 1 < n; ++i) {
        const QPointF p0 = pts[std::max(i - 1, 0)], p1 = pts[i], p2 = pts[i + 1];
        const QPointF p3 = pts[std::min(i + 2, n - 1)];
        path.cubicTo(p1 + (p2 - p0) / 6.0, p2 - (p3 - p1) / 6.0, p2);
    }
}

// Orients the painter along `angle`, flipped when pointing left so that a
// shape's local "up" stays up on screen (hoods, lighter leaf halves, droop).
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

// Speed notes for the raster engine: a gradient fill of any size is handed
// to Qt's GUI thread pool and waited for, which costs more than painting a
// small shape, so the many small repeated parts (rays, straps, beads,
// florets) are filled with solid tones and only large, few shapes get
// gradients. Merging many shapes into one path is slower still (it takes the
// general-purpose rasteriser), so parts are filled one by one.
void paintDots(QPainter& p, const std::vector<QPointF>& centres, double radius)
{
    for (const QPointF& c : centres)
        p.drawEllipse(c, radius, radius);
}

// ----------------------------------------------------------------- species

// Choices that must agree between every plant of one picture.
struct Species {
    Form form = Form::Five;
    Arrangement arr = Arrangement::Alternate;
    LeafShape leaf = LeafShape::Lanceolate;
    int variant = 0;
    int petals = 5;
    double petalWidth = 0.55;
    double notch = 0.0;
    bool pointed = false;
    bool doubled = false;
    double bloom = 1.0;
    double leafSize = 1.0;
    double droop = 0.1;
    int nodes = 4;
    int whorl = 4;
};

LeafShape pickLeafShape(Form form, Arrangement arr, Rng& r)
{
    if (form == Form::Pea)
        return LeafShape::Compound;
    if (form == Form::Violet)
        return r.chance(0.75) ? LeafShape::Cordate : LeafShape::Lanceolate;
    if (form == Form::Spike)
        return r.chance(0.6) ? LeafShape::Linear : LeafShape::Lanceolate;
    if (form == Form::Dandelion)
        return r.chance(0.7) ? LeafShape::Lobed : LeafShape::Toothed;
    if (arr == Arrangement::Basal) {
        const LeafShape basal[] = {LeafShape::Oblanceolate, LeafShape::Toothed, LeafShape::Cordate,
                                   LeafShape::Elliptic};
        return basal[r.pick(0, 3)];
    }
    if (arr == Arrangement::Whorled)
        return r.chance(0.6) ? LeafShape::Lanceolate : LeafShape::Elliptic;
    const LeafShape any[] = {LeafShape::Lanceolate, LeafShape::Ovate, LeafShape::Elliptic, LeafShape::Toothed,
                             LeafShape::Ovate};
    return any[r.pick(0, 4)];
}

void pickPetals(Species& s, Rng& r)
{
    switch (s.form) {
    case Form::Four:
        s.petals = 4;
        s.variant = r.chance(0.4) ? 1 : 0;  // 1: few large blooms, 0: raceme of small ones
        s.petalWidth = r.range(0.55, 0.8);
        s.notch = r.chance(0.3) ? r.range(0.05, 0.12) : 0;
        break;
    case Form::Five:
        s.variant = r.pick(0, 2);  // plain, notched, star
        s.petalWidth = s.variant == 2 ? r.range(0.3, 0.4) : r.range(0.45, 0.7);
        s.notch = s.variant == 1 ? r.range(0.12, 0.3) : 0;
        s.pointed = s.variant == 2;
        break;
    case Form::Many:
        s.petals = r.pick(8, 14);
        s.petalWidth = r.range(0.26, 0.45);
        s.doubled = r.chance(0.5);
        s.pointed = r.chance(0.3);
        break;
    case Form::Daisy:
        s.petals = r.pick(14, 26);
        s.petalWidth = r.range(0.09, 0.15);
        s.notch = r.chance(0.5) ? 0.06 : 0;
        break;
    case Form::Dandelion: s.petals = r.pick(24, 30); break;
    default: s.variant = r.pick(0, 3); break;
    }
}

Species makeSpecies(Form form, Arrangement arr, Rng& r)
{
    Species s;
    s.form = form;
    s.arr = arr;
    s.leaf = pickLeafShape(form, arr, r);
    s.bloom = r.range(1.15, 1.4);
    s.leafSize = r.range(0.85, 1.15);
    s.droop = r.range(-0.04, 0.22);
    s.nodes = arr == Arrangement::Whorled ? r.pick(2, 3) : r.pick(3, 5);
    s.whorl = r.pick(4, 6);
    pickPetals(s, r);
    return s;
}

// Everything a plant needs while it is painted.
struct Ctx {
    QPainter& p;
    Rng& r;
    const Palette& c;
    const Species& sp;
    int scape = 0;  // index of the flowering stalk within one plant
    bool fine = true;  // false for the blurred far field: skip what blur hides
};

// ------------------------------------------------------------------- leaves

double widthRatio(LeafShape s)
{
    switch (s) {
    case LeafShape::Lanceolate: return 0.19;
    case LeafShape::Ovate: return 0.33;
    case LeafShape::Elliptic: return 0.26;
    case LeafShape::Linear: return 0.045;
    case LeafShape::Oblanceolate: return 0.2;
    case LeafShape::Toothed: return 0.28;
    case LeafShape::Lobed: return 0.24;
    case LeafShape::Cordate: return 0.46;
    case LeafShape::Compound: return 0.3;
    }
    return 0.25;
}

double leafProfile(LeafShape s, double t)
{
    const auto bump = [t](double a, double b) { return std::pow(std::sin(M_PI * std::pow(t, a)), b); };
    switch (s) {
    case LeafShape::Lanceolate: return bump(0.6, 0.85);
    case LeafShape::Ovate: return bump(0.72, 0.65);
    case LeafShape::Linear: return bump(0.9, 0.35);
    case LeafShape::Oblanceolate: return bump(1.6, 0.8);
    case LeafShape::Toothed: return bump(0.72, 0.7) * (0.9 + 0.14 * std::fmod(t * 9.0, 1.0));
    case LeafShape::Lobed: return bump(1.4, 0.8) * (0.4 + 0.65 * std::pow(1 - std::fmod(t * 5.0 + 0.2, 1.0), 1.6));
    default: return bump(1.0, 0.75);
    }
}

QPainterPath cordatePath(double L, double w)
{
    return mirrored({{QPointF(-0.12 * L, -0.32 * w), QPointF(0.02 * L, -1.05 * w), QPointF(0.36 * L, -1.0 * w)},
                     {QPointF(0.68 * L, -0.95 * w), QPointF(0.9 * L, -0.4 * w), QPointF(L, 0)}});
}

QPainterPath bladePath(LeafShape s, double L, double w, double droop)
{
    if (s == LeafShape::Cordate)
        return cordatePath(L, w);
    const bool jagged = s == LeafShape::Toothed || s == LeafShape::Lobed;
    const int n = jagged ? 64 : 14;
    QPolygonF upper, lower;
    for (int i = 0; i <= n; ++i) {
        const double t = double(i) / n;
        const double y = droop * L * t * t, half = w * leafProfile(s, t);
        upper << QPointF(t * L, y - half);
        lower.prepend(QPointF(t * L, y + half));
    }
    QPainterPath path(upper.first());
    if (jagged) {
        for (const QPointF& q : upper + lower)
            path.lineTo(q);
    } else {
        appendSmooth(path, upper);
        appendSmooth(path, lower);
    }
    path.closeSubpath();
    return path;
}

void paintVeins(QPainter& p, const Palette& c, LeafShape s, double L, double w, double droop)
{
    const auto mid = [&](double t) { return QPointF(t * L, droop * L * t * t); };
    QPainterPath rib(mid(0));
    rib.quadTo(QPointF(0.5 * L, droop * L * 0.25), mid(0.9));
    strokeLine(p, rib, withAlpha(c.leafLight, 0.55), std::max(0.6, w * 0.06));
    if (s == LeafShape::Linear || L < 18)
        return;
    QPainterPath side;
    for (int k = 1; k <= 5; ++k) {
        const double t = k / 6.5, t2 = t + 0.13, reach = 0.75 * w * leafProfile(s, t2);
        for (const int sgn : {-1, 1}) {
            side.moveTo(mid(t));
            side.quadTo(mid(t) + QPointF(0.04 * L, sgn * reach * 0.6), mid(t2) + QPointF(0, sgn * reach));
        }
    }
    strokeLine(p, side, withAlpha(c.leafLight, 0.28), 0.55);
}

// Paints a blade along +x in the current frame; light falls on the upper
// half. `fine` is false in the blurred far field, where a flat tone will do.
void paintBlade(QPainter& p, const Palette& c, LeafShape s, double L, double w, double droop, double tone,
                bool fine = true)
{
    const QPainterPath blade = bladePath(s, L, w, droop);
    p.setPen(QPen(withAlpha(c.leafDark, 0.85), 0.7));
    if (!fine) {
        p.setBrush(shade(c.leaf, tone));
        p.drawPath(blade);
        return;
    }
    QLinearGradient g(QPointF(0, -w), QPointF(0, w + droop * L * 0.3));
    g.setColorAt(0.0, shade(c.leafLight, tone));
    g.setColorAt(0.45, shade(c.leaf, tone));
    g.setColorAt(1.0, shade(c.leafDark, tone));
    p.setBrush(g);
    p.drawPath(blade);
    paintVeins(p, c, s, L, w, droop);
}

struct LeafPose {
    QPointF at;
    double angle = 0;
    double length = 40;
    double width = 1.0;  // multiplier on the shape's own width
    double tone = 0;
    bool back = false;
};

void paintTendril(QPainter& p, const Palette& c, QPointF from, double size)
{
    QPolygonF pts;
    for (int i = 0; i <= 16; ++i) {
        const double a = i * 0.55, rad = size * (1.0 - i / 20.0);
        pts << from + QPointF(std::sin(a) * rad * 0.5 + i * size * 0.05, -std::cos(a) * rad * 0.5 + size * 0.5);
    }
    QPainterPath path(pts.first());
    appendSmooth(path, pts);
    strokeLine(p, path, c.stem, 0.7);
}

// Pinnate or three-foliate leaf of the pea family, painted along +x.
void paintCompound(Ctx& x, double L, double tone)
{
    const Palette& c = x.c;
    const bool three = x.sp.variant % 2 == 1;
    QPainterPath rachis(QPointF(0, 0));
    rachis.quadTo(QPointF(L * 0.5, 0), QPointF(L * (three ? 0.4 : 0.92), L * x.sp.droop * 0.5));
    strokeLine(x.p, rachis, c.stem, 1.0);
    const auto leaflet = [&](QPointF at, double angle, double len) {
        x.p.save();
        x.p.translate(at);
        x.p.rotate(angle);
        paintBlade(x.p, c, LeafShape::Elliptic, len, len * (three ? 0.34 : 0.26), 0.0, tone, x.fine);
        x.p.restore();
    };
    if (three) {
        for (const double a : {-42.0, 0.0, 42.0})
            leaflet(QPointF(L * 0.4, 0), a, L * (a == 0.0 ? 0.6 : 0.5));
        return;
    }
    const int pairs = 3 + int(x.r.next() % 3);
    for (int k = 0; k < pairs; ++k) {
        const double t = 0.2 + 0.7 * k / pairs;
        const QPointF at(t * L, L * x.sp.droop * 0.5 * t * t);
        leaflet(at, -58, L * 0.19);
        leaflet(at, 58, L * 0.19);
    }
    paintTendril(x.p, c, QPointF(0.92 * L, L * x.sp.droop * 0.5), L * 0.14);
}

void paintLeaf(Ctx& x, const LeafPose& s)
{
    QPainter& p = x.p;
    p.save();
    orient(p, s.at, s.angle);
    const double tone = s.tone + (s.back ? -0.06 : 0.0);
    if (x.sp.leaf == LeafShape::Compound) {
        paintCompound(x, s.length, tone);
        p.restore();
        return;
    }
    const bool stalked = x.sp.leaf == LeafShape::Cordate || x.sp.leaf == LeafShape::Ovate;
    const double petiole = s.length * (stalked ? 0.22 : 0.04);
    QPainterPath stalk(QPointF(0, 0));
    stalk.lineTo(petiole + 1, 0);
    strokeLine(p, stalk, x.c.stem, std::max(1.0, s.length * 0.025));
    p.translate(petiole, 0);
    const double L = s.length - petiole;
    paintBlade(p, x.c, x.sp.leaf, L, L * widthRatio(x.sp.leaf) * s.width, x.sp.droop, tone, x.fine);
    p.restore();
}

struct Projected {
    double angle;
    double scale;
    bool back;
};

// A leaf leaving the stem at azimuth `phi` (0 = right, 90 = toward the
// viewer) and rising `elev` degrees, seen from `view` degrees above; the frame
// turns with the stem axis so leaning stems carry their leaves along.
Projected project(double axis, double phi, double elev, double view)
{
    const double ph = qDegreesToRadians(phi), el = qDegreesToRadians(elev);
    const double pitch = qDegreesToRadians(view);
    const double sx = std::cos(ph) * std::cos(el);
    const double depth = std::sin(ph) * std::cos(el);
    const double sy = -std::sin(el) * std::cos(pitch) + depth * std::sin(pitch);
    return {angleOf(QPointF(sx, sy)) + axis + 90.0, std::max(0.32, std::hypot(sx, sy)), depth < -0.05};
}

double leafLength(LeafShape s)
{
    switch (s) {
    case LeafShape::Linear: return 0.4;
    case LeafShape::Cordate: return 0.17;
    case LeafShape::Compound: return 0.34;
    default: return 0.22;
    }
}

void addLeaf(Ctx& x, std::vector<LeafPose>& out, QPointF at, double axis, double phi, double elev, double len)
{
    // Whorls and rosettes are flatter and seen from higher, so they read as stars.
    const bool star = x.sp.arr == Arrangement::Whorled || x.sp.arr == Arrangement::Basal;
    const Projected pr = project(axis, phi, elev, star ? 42.0 : 26.0);
    out.push_back({at, pr.angle, len * pr.scale, 0.7 + 0.3 * pr.scale, x.r.range(-0.04, 0.04), pr.back});
}

// Leaves of one stem node, according to the record's leaf arrangement.
void addNode(Ctx& x, std::vector<LeafPose>& out, QPointF at, double axis, double len, int k, double phi0)
{
    const double elev = x.sp.arr == Arrangement::Whorled ? x.r.range(0, 12) : x.r.range(12, 38);
    switch (x.sp.arr) {
    case Arrangement::Opposite: {
        const double phi = phi0 + (k % 2) * 80.0 + x.r.range(-12, 12);  // decussate pairs
        addLeaf(x, out, at, axis, phi, elev, len);
        addLeaf(x, out, at, axis, phi + 180, elev, len);
        return;
    }
    case Arrangement::Whorled:
        for (int i = 0; i < x.sp.whorl; ++i)
            addLeaf(x, out, at, axis, phi0 + k * 27.0 + 360.0 * i / x.sp.whorl + x.r.range(-8, 8), elev,
                    len * x.r.range(0.9, 1.05));
        return;
    default: addLeaf(x, out, at, axis, phi0 + k * 180.0 + x.r.range(-35, 35), elev, len); return;
    }
}

std::vector<LeafPose> stemLeaves(Ctx& x, const Curve& stem, double h)
{
    std::vector<LeafPose> out;
    const double base = leafLength(x.sp.leaf) * h * x.sp.leafSize;
    const double phi0 = x.r.range(-20, 20);
    const double reach = x.sp.form == Form::Lipped || x.sp.form == Form::Four ? 0.5 : 0.62;
    for (int k = 0; k < x.sp.nodes; ++k) {
        const double t = 0.1 + reach * (k + x.r.range(0.0, 0.35)) / x.sp.nodes;
        const double len = base * (1.05 - 0.5 * t) * x.r.range(0.85, 1.1);
        addNode(x, out, stem.at(t), stem.angleAt(t), len, k, phi0);
    }
    return out;
}

// Leaves spread on the ground around the foot of a stalk.
std::vector<LeafPose> rosette(Ctx& x, QPointF base, double h)
{
    std::vector<LeafPose> out;
    const int n = x.r.pick(6, 9);
    const double len = leafLength(x.sp.leaf) * h * 1.25 * x.sp.leafSize;
    const double phi0 = x.r.range(0, 360);
    for (int i = 0; i < n; ++i) {
        const double phi = phi0 + 360.0 * i / n + x.r.range(-14, 14);
        addLeaf(x, out, base, -90, phi, x.r.range(10, 34), len * x.r.range(0.75, 1.05));
    }
    std::sort(out.begin(), out.end(), [](const LeafPose& a, const LeafPose& b) {
        return std::sin(qDegreesToRadians(a.angle)) < std::sin(qDegreesToRadians(b.angle));
    });
    return out;
}

// ------------------------------------------------------------------- stems

Curve makeStem(Rng& r, QPointF base, double h, double lean, bool hooked)
{
    const QPointF top = base + QPointF(lean, -h);
    const QPointF c1 = base + QPointF(r.range(-0.1, 0.1) * h, -h * 0.4);
    if (hooked) {
        const double side = lean >= 0 ? 1 : -1;
        return {base, c1, top + QPointF(-side * 0.1 * h, -0.2 * h), top + QPointF(side * 0.06 * h, 0)};
    }
    const QPointF c2 = top + QPointF(r.range(-0.12, 0.12) * h - lean * 0.3, h * 0.35);
    return {base, c1, c2, top};
}

void paintStem(QPainter& p, const Palette& c, const Curve& k, double w0, double w1, bool square)
{
    const int n = 18;
    QPolygonF left, right, lit, dark;
    for (int i = 0; i <= n; ++i) {
        const double t = double(i) / n;
        const QPointF pt = k.at(t);
        const QPointF nrm = polar(k.angleAt(t) + 90, 1.0);
        const double w = 0.5 * (w0 + (w1 - w0) * t);
        left << pt - nrm * w;
        right.prepend(pt + nrm * w);
        lit << pt - nrm * w * (square ? 0.1 : 0.4);
        dark << pt + nrm * w * 0.45;
    }
    QPainterPath body(left.first());
    appendSmooth(body, left);
    body.lineTo(right.first());
    appendSmooth(body, right);
    body.closeSubpath();
    p.setPen(QPen(withAlpha(c.leafDark, 0.9), 0.6));
    p.setBrush(c.stem);
    p.drawPath(body);
    QPainterPath hl(lit.first());
    appendSmooth(hl, lit);
    strokeLine(p, hl, withAlpha(c.leafLight, square ? 0.95 : 0.6), std::max(0.5, w0 * (square ? 0.18 : 0.22)));
    if (square) {  // the flat faces of a square stem meet in a shaded edge
        QPainterPath edge(dark.first());
        appendSmooth(edge, dark);
        strokeLine(p, edge, withAlpha(c.leafDark, 0.7), std::max(0.5, w0 * 0.14));
    }
}

struct Tip {
    QPointF at;
    double angle;
};

// A flower stalk leaving `from`, bending by `turn` degrees on its way.
Tip sprout(Ctx& x, QPointF from, double angle, double len, double turn, double width)
{
    const QPointF ctrl = from + polar(angle, len * 0.55);
    const QPointF end = ctrl + polar(angle + turn, len * 0.5);
    QPainterPath path(from);
    path.quadTo(ctrl, end);
    if (width > 1.6)
        strokeLine(x.p, path, withAlpha(x.c.leafDark, 0.8), width + 0.9);
    strokeLine(x.p, path, x.c.stem, width);
    return {end, angle + turn};
}

// The stem's own tip plus `count - 1` side branches from its upper part,
// curving back toward the light.
std::vector<Tip> branchTips(Ctx& x, const Curve& stem, double h, int count, double reach)
{
    std::vector<Tip> tips{{stem.d, stem.angleAt(1.0)}};
    int side = x.r.sign();
    for (int i = 1; i < count; ++i) {
        const double t = x.r.range(0.58, 0.86);
        const double axis = stem.angleAt(t);
        const double len = h * reach * x.r.range(0.75, 1.1);
        tips.push_back(sprout(x, stem.at(t), axis + side * x.r.range(24, 46), len, -side * x.r.range(8, 22),
                              std::max(1.0, h * 0.008)));
        side = -side;
    }
    std::sort(tips.begin(), tips.end(), [](const Tip& a, const Tip& b) { return a.at.y() < b.at.y(); });
    return tips;
}

// ---------------------------------------------------------- radial flowers

struct Face {
    QPointF at;
    double radius;
    double rot;  // screen rotation of the flower's face
    double squash;  // 1 = seen straight on
};

Face faceAt(Rng& r, const Tip& t, double radius)
{
    return {t.at, radius, t.angle + 90 + r.range(-12, 12), r.range(0.55, 0.95)};
}

QPainterPath petalPath(double L, double w, double notch, bool pointed)
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

QRadialGradient petalGradient(const Palette& c, double L, double tone = 0.0)
{
    QRadialGradient g(QPointF(0, 0), L);
    g.setColorAt(0.0, c.petalDeep);
    g.setColorAt(0.32, tone == 0.0 ? c.petal : mix(c.petal, c.petalLight, tone));
    g.setColorAt(0.75, tone == 0.0 ? c.petal : mix(c.petal, c.petalLight, tone));
    g.setColorAt(1.0, c.petalLight);
    return g;
}

void paintPetalVeins(QPainter& p, const Palette& c, double L, double w)
{
    QPainterPath v;
    for (const double k : {-0.5, 0.0, 0.5}) {
        v.moveTo(L * 0.1, 0);
        v.quadTo(QPointF(L * 0.4, k * w * 0.5), QPointF(L * 0.72, k * w * 0.95));
    }
    strokeLine(p, v, withAlpha(c.petalDeep, 0.35), 0.5);
}

struct PetalRing {
    int count = 5;
    double length = 1.0;  // fraction of the face radius
    double width = 0.5;  // half-width as a fraction of the petal length
    double notch = 0.0;
    bool pointed = false;
    double phase = 0.0;
};

// Petals nearer the viewer are painted last so overlaps read correctly.
void paintPetalRing(Ctx& x, const Face& f, const PetalRing& ring)
{
    QPainter& p = x.p;
    const double L = f.radius * ring.length, w = L * ring.width;
    const QPainterPath shape = petalPath(L, w, ring.notch, ring.pointed);
    const double rot = qDegreesToRadians(f.rot);
    std::vector<std::pair<double, double>> order;
    for (int i = 0; i < ring.count; ++i) {
        const double a = ring.phase + 360.0 * i / ring.count + x.r.range(-6, 6);
        const double rad = qDegreesToRadians(a);
        order.push_back({std::sin(rot) * std::cos(rad) + std::cos(rot) * std::sin(rad) * f.squash, a});
    }
    std::sort(order.begin(), order.end());
    const bool few = ring.count <= 6;
    p.setPen(QPen(x.c.edge, 0.6));
    for (const auto& [depth, a] : order) {
        p.save();
        p.rotate(a);
        if (few)
            p.setBrush(petalGradient(x.c, L, 0.12 + 0.12 * depth));
        else
            p.setBrush(mix(x.c.petal, x.c.petalLight, 0.25 + 0.2 * depth + x.r.range(-0.1, 0.1)));
        p.drawPath(shape);
        if (x.fine && L > 10 && few)
            paintPetalVeins(p, x.c, L, w);
        p.restore();
    }
}

void paintSepals(QPainter& p, const Palette& c, double L, int count, double phase)
{
    const QPainterPath sepal = petalPath(L, L * 0.2, 0, true);
    p.setPen(QPen(withAlpha(c.leafDark, 0.9), 0.5));
    p.setBrush(c.leaf);
    for (int i = 0; i < count; ++i) {
        p.save();
        p.rotate(phase + 360.0 * i / count);
        p.drawPath(sepal);
        p.restore();
    }
}

void paintEye(Ctx& x, double R, int stamens, double reach)
{
    QPainter& p = x.p;
    QPainterPath filaments;
    std::vector<QPointF> anthers;
    for (int i = 0; i < stamens; ++i) {
        const QPointF end = polar(360.0 * i / stamens + x.r.range(-8, 8), R * reach * x.r.range(0.75, 1.05));
        filaments.moveTo(0, 0);
        filaments.lineTo(end);
        anthers.push_back(end);
    }
    strokeLine(p, filaments, withAlpha(mix(x.c.petalLight, x.c.eye, 0.4), 0.9), std::max(0.5, R * 0.012));
    p.setPen(QPen(withAlpha(x.c.eyeDeep, 0.6), 0.4));
    p.setBrush(x.c.pollen);
    paintDots(p, anthers, R * 0.034);
    QRadialGradient g(QPointF(-R * 0.03, -R * 0.03), R * 0.12);
    g.setColorAt(0, shade(x.c.eye, 0.18));
    g.setColorAt(1, x.c.eyeDeep);
    p.setBrush(g);
    p.setPen(QPen(withAlpha(x.c.eyeDeep, 0.8), 0.5));
    p.drawEllipse(QPointF(0, 0), R * 0.09, R * 0.09);
}

// Deepens the colour toward the middle of a head whose petals are solid.
void paintHeart(QPainter& p, const QColor& deep, double radius)
{
    QRadialGradient g(QPointF(0, 0), radius);
    g.setColorAt(0, withAlpha(deep, 0.85));
    g.setColorAt(1, withAlpha(deep, 0));
    p.setPen(Qt::NoPen);
    p.setBrush(g);
    p.drawEllipse(QPointF(0, 0), radius, radius);
}

// Far-field stand-in for a flower head: the blur would hide its parts anyway.
void paintBlob(QPainter& p, const Palette& c, const Face& f)
{
    p.save();
    p.translate(f.at);
    p.rotate(f.rot);
    p.scale(1.0, f.squash);
    QRadialGradient g(QPointF(0, 0), f.radius);
    g.setColorAt(0.0, c.eye);
    g.setColorAt(0.25, c.petalDeep);
    g.setColorAt(0.5, c.petal);
    g.setColorAt(1.0, c.petalLight);
    p.setPen(Qt::NoPen);
    p.setBrush(g);
    p.drawEllipse(QPointF(0, 0), f.radius, f.radius);
    p.restore();
}

void paintRadial(Ctx& x, const Face& f, int petals, int stamens)
{
    QPainter& p = x.p;
    if (!x.fine) {
        paintBlob(p, x.c, {f.at, f.radius * 0.85, f.rot, f.squash});
        return;
    }
    p.save();
    p.translate(f.at);
    p.rotate(f.rot);
    p.scale(1.0, f.squash);
    PetalRing ring{petals, 1.0, x.sp.petalWidth, x.sp.notch, x.sp.pointed, x.r.range(0, 360)};
    paintSepals(p, x.c, f.radius * 0.62, petals, ring.phase + 180.0 / petals);
    paintPetalRing(x, f, ring);
    if (x.sp.doubled) {
        ring.length = 0.72;
        ring.phase += 180.0 / petals;
        paintPetalRing(x, f, ring);
    }
    if (petals > 6)
        paintHeart(p, x.c.petalDeep, f.radius * 0.5);
    paintEye(x, f.radius, x.fine ? stamens : stamens / 3, x.sp.form == Form::Many ? 0.3 : 0.26);
    p.restore();
}

void paintBud(QPainter& p, const Palette& c, QPointF at, double angle, double size)
{
    p.save();
    p.translate(at);
    p.rotate(angle);
    const QPainterPath body =
        mirrored({{QPointF(0.05 * size, -0.32 * size), QPointF(0.55 * size, -0.34 * size), QPointF(size, 0)}});
    QLinearGradient g(QPointF(0, -0.25 * size), QPointF(0, 0.25 * size));
    g.setColorAt(0, c.petalLight);
    g.setColorAt(1, c.petalDeep);
    p.setPen(QPen(c.edge, 0.6));
    p.setBrush(g);
    p.drawPath(body);
    const QPainterPath sepal =
        mirrored({{QPointF(0.1 * size, -0.12 * size), QPointF(0.3 * size, -0.12 * size), QPointF(0.58 * size, 0)}});
    p.setPen(QPen(withAlpha(c.leafDark, 0.9), 0.5));
    p.setBrush(c.leaf);
    for (const double a : {-24.0, 24.0, 0.0}) {
        p.save();
        p.rotate(a);
        p.drawPath(sepal);
        p.restore();
    }
    p.restore();
}

// ------------------------------------------------------------- violet

void paintSpur(QPainter& p, const Palette& c, double R)
{
    QPainterPath spur(QPointF(-0.05 * R, -0.28 * R));
    spur.cubicTo(-0.45 * R, -0.45 * R, -0.85 * R, -0.45 * R, -0.98 * R, -0.3 * R);
    spur.cubicTo(-1.05 * R, -0.18 * R, -0.7 * R, -0.06 * R, -0.05 * R, 0.06 * R);
    spur.closeSubpath();
    QLinearGradient g(QPointF(0, -0.45 * R), QPointF(0, 0.05 * R));
    g.setColorAt(0, c.petalLight);
    g.setColorAt(1, c.petalDeep);
    p.setPen(QPen(c.edge, 0.6));
    p.setBrush(g);
    p.drawPath(spur);
}

void paintViolet(Ctx& x, QPointF at, double R, double side)
{
    QPainter& p = x.p;
    p.save();
    p.translate(at);
    p.scale(side * 0.9, 1.0);
    paintSpur(p, x.c, R);
    paintSepals(p, x.c, R * 0.45, 5, -54);
    const auto petal = [&](double angle, double len, double wid) {
        p.save();
        p.rotate(angle);
        const QPainterPath shape = petalPath(len, len * wid, 0, false);
        p.setPen(QPen(x.c.edge, 0.6));
        p.setBrush(petalGradient(x.c, len));
        p.drawPath(shape);
        p.restore();
    };
    petal(-118, R * 0.95, 0.42);
    petal(-62, R * 0.95, 0.42);
    petal(172, R * 0.8, 0.36);
    petal(8, R * 0.8, 0.36);
    petal(90, R * 1.02, 0.52);
    QPainterPath veins;
    for (const double a : {70.0, 80.0, 90.0, 100.0, 110.0}) {
        veins.moveTo(polar(a, R * 0.12));
        veins.lineTo(polar(a, R * (0.55 - std::abs(a - 90) * 0.006)));
    }
    strokeLine(p, veins, withAlpha(x.c.guide, 0.8), std::max(0.6, R * 0.025));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 255, 255, 210));
    p.drawEllipse(QPointF(0, R * 0.08), R * 0.13, R * 0.1);
    p.setBrush(x.c.pollen);
    p.drawEllipse(QPointF(0, R * 0.02), R * 0.05, R * 0.05);
    p.restore();
}

// ---------------------------------------------------- two-lipped flowers

void paintCalyx(QPainter& p, const Palette& c, double L)
{
    const QPainterPath calyx =
        mirrored({{QPointF(0, -0.07 * L), QPointF(0.15 * L, -0.1 * L), QPointF(0.3 * L, -0.1 * L)},
                  {QPointF(0.32 * L, -0.07 * L), QPointF(0.3 * L, -0.04 * L), QPointF(0.34 * L, 0)}});
    p.setPen(QPen(withAlpha(c.leafDark, 0.9), 0.5));
    p.setBrush(c.leaf);
    p.drawPath(calyx);
}

void paintLippedFlower(Ctx& x, QPointF at, double angle, double L)
{
    QPainter& p = x.p;
    p.save();
    orient(p, at, angle);
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
    QLinearGradient g(QPointF(0, -0.5 * L), QPointF(0, 0.35 * L));
    g.setColorAt(0, x.c.petalDeep);
    g.setColorAt(0.45, x.c.petal);
    g.setColorAt(1, x.c.petalLight);
    p.setPen(QPen(x.c.edge, 0.6));
    p.setBrush(mix(x.c.petalLight, x.c.petal, 0.5));
    p.drawPath(tube);
    p.setBrush(g);
    p.drawPath(hood);
    p.drawPath(lip);
    p.setPen(Qt::NoPen);
    p.setBrush(withAlpha(x.c.guide, 0.85));
    for (int i = 0; i < 4; ++i)
        p.drawEllipse(QPointF(L * (0.78 + 0.06 * i), L * (0.1 + 0.035 * (i % 2))), L * 0.025, L * 0.025);
    paintCalyx(p, x.c, L);
    p.restore();
}

// ------------------------------------------------------------ pea flowers

void paintPeaFlower(Ctx& x, QPointF at, double angle, double L)
{
    QPainter& p = x.p;
    p.save();
    orient(p, at, angle);
    QPainterPath banner(QPointF(0.2 * L, 0));
    banner.cubicTo(-0.22 * L, -0.22 * L, -0.2 * L, -0.74 * L, 0.24 * L, -0.74 * L);
    banner.cubicTo(0.66 * L, -0.72 * L, 0.64 * L, -0.24 * L, 0.36 * L, 0.02 * L);
    banner.closeSubpath();
    QLinearGradient g(QPointF(0.27 * L, 0), QPointF(0.27 * L, -0.8 * L));
    g.setColorAt(0, x.c.petalDeep);
    g.setColorAt(0.4, x.c.petal);
    g.setColorAt(1, x.c.petalLight);
    p.setPen(QPen(x.c.edge, 0.6));
    p.setBrush(g);
    p.drawPath(banner);
    QPainterPath guides;
    for (const double k : {-0.12, 0.0, 0.12}) {
        guides.moveTo(0.28 * L, -0.05 * L);
        guides.lineTo((0.26 + k * 1.5) * L, -0.45 * L);
    }
    strokeLine(p, guides, withAlpha(x.c.guide, 0.5), std::max(0.5, L * 0.02));
    QPainterPath keel(QPointF(0.22 * L, 0.04 * L));
    keel.cubicTo(0.5 * L, 0.05 * L, 0.8 * L, 0.02 * L, 0.96 * L, 0.06 * L);
    keel.cubicTo(0.86 * L, 0.24 * L, 0.45 * L, 0.24 * L, 0.22 * L, 0.13 * L);
    keel.closeSubpath();
    QPainterPath wing(QPointF(0.22 * L, -0.02 * L));
    wing.cubicTo(0.45 * L, -0.24 * L, 0.86 * L, -0.14 * L, 0.86 * L, 0.03 * L);
    wing.cubicTo(0.8 * L, 0.16 * L, 0.45 * L, 0.15 * L, 0.22 * L, 0.07 * L);
    wing.closeSubpath();
    p.setPen(QPen(x.c.edge, 0.6));
    p.setBrush(x.c.petalLight);
    p.drawPath(keel);
    p.setBrush(x.c.petal);
    p.drawPath(wing);
    paintCalyx(p, x.c, L * 0.75);
    p.restore();
}

// An arching raceme; flowers open from the bottom, buds at the tip.
void paintRaceme(Ctx& x, QPointF from, double angle, double len)
{
    const double turn = x.r.range(-28, 28);
    const QPointF ctrl = from + polar(angle, len * 0.55);
    const QPointF end = ctrl + polar(angle + turn, len * 0.5);
    QPainterPath axis(from);
    axis.quadTo(ctrl, end);
    strokeLine(x.p, axis, x.c.stem, std::max(1.0, len * 0.02));
    const int n = x.r.pick(5, 9);
    int side = x.r.sign();
    std::vector<std::pair<Tip, double>> flowers;
    for (int i = 0; i < n; ++i) {
        const double t = 0.18 + 0.82 * i / n;
        const QPointF at = axis.pointAtPercent(t);
        const double dir = angle + turn * t + side * x.r.range(65, 95);
        flowers.push_back({{at, dir}, len * 0.3 * (1 - 0.45 * t)});
        side = -side;
    }
    for (int i = n - 1; i >= 0; --i) {
        const auto& [tip, L] = flowers[size_t(i)];
        if (i >= n - 2)
            paintBud(x.p, x.c, tip.at, tip.angle - 20 * (pointsLeft(tip.angle) ? -1 : 1), L * 0.45);
        else
            paintPeaFlower(x, tip.at + polar(tip.angle, L * 0.1), tip.angle, L);
    }
}

// -------------------------------------------------------- composite heads

QPainterPath ligulePath(double r0, double L, double w)
{
    QPainterPath path(QPointF(r0, -w * 0.1));
    path.cubicTo(r0 + (L - r0) * 0.45, -w * 0.2, L * 0.8, -w * 0.55, L * 0.96, -w * 0.48);
    for (int k = 0; k < 5; ++k) {
        const double y = -w * 0.48 + (k + 0.5) * w * 0.96 / 5;
        path.lineTo(L - std::abs(y) * 0.15, y);
        path.lineTo(L * 0.975 - std::abs(y) * 0.15, y + w * 0.48 / 5);
    }
    path.cubicTo(L * 0.8, w * 0.55, r0 + (L - r0) * 0.45, w * 0.2, r0, w * 0.1);
    path.closeSubpath();
    return path;
}

// One ring of strap florets; inner rings stand more upright, so they look
// shorter and catch less light.
void paintLiguleRing(Ctx& x, double R, int ring)
{
    QPainter& p = x.p;
    const int n = x.sp.petals + 4 - ring * 4;
    const double L = R * (1.0 - 0.16 * ring);
    const double w = 2 * M_PI * L * 0.6 / n;
    const double phase = ring * 7.0 + x.r.range(0, 20);
    const QColor base = mix(x.c.petal, x.c.petalLight, 0.35 - 0.12 * ring);
    p.setPen(QPen(withAlpha(x.c.petalDeep, 0.55), 0.5));
    for (int i = 0; i < n; ++i) {
        const double len = L * x.r.range(0.88, 1.04);
        p.save();
        p.rotate(phase + 360.0 * i / n + x.r.range(-4, 4));
        p.setBrush(shade(base, x.r.range(-0.04, 0.05)));
        p.drawPath(ligulePath(R * 0.04, len, w));
        p.restore();
    }
}

// A head of strap florets only: rings grow shorter and deeper toward the middle.
void paintDandelionHead(Ctx& x, const Face& f)
{
    QPainter& p = x.p;
    if (!x.fine) {
        paintBlob(p, x.c, f);
        return;
    }
    p.save();
    p.translate(f.at);
    p.rotate(f.rot);
    p.scale(1.0, f.squash);
    paintSepals(p, x.c, f.radius * 0.7, 14, 0);
    for (int ring = 0; ring < 5; ++ring)
        paintLiguleRing(x, f.radius, ring);
    paintHeart(p, x.c.petalDeep, f.radius * 0.6);
    paintHeart(p, x.c.eyeDeep, f.radius * 0.2);
    p.restore();
}

// A ripe head of plumed seeds.
void paintSeedClock(Ctx& x, QPointF at, double R)
{
    QPainter& p = x.p;
    QPainterPath rays, plumes;
    const int n = 64;
    for (int i = 0; i < n; ++i) {
        const double z = 1 - 2 * (i + 0.5) / n, rr = std::sqrt(1 - z * z);
        const QPointF tip = at + polar(i * 137.508, R * rr);
        rays.moveTo(at);
        rays.lineTo(tip);
        plumes.addEllipse(tip, R * 0.09, R * 0.09);
    }
    QRadialGradient glow(at, R * 1.1);
    glow.setColorAt(0, QColor(255, 255, 255, 90));
    glow.setColorAt(1, QColor(255, 255, 255, 0));
    p.setPen(Qt::NoPen);
    p.setBrush(glow);
    p.drawEllipse(at, R * 1.1, R * 1.1);
    strokeLine(p, rays, QColor(255, 255, 255, 150), 0.6);
    strokeLine(p, plumes, QColor(255, 255, 255, 170), 0.6);
    p.setPen(Qt::NoPen);
    p.setBrush(hsl(30, 0.4, 0.4));
    p.drawEllipse(at, R * 0.1, R * 0.1);
}

void paintDisc(Ctx& x, double R)
{
    QPainter& p = x.p;
    QRadialGradient g(QPointF(-0.25 * R, -0.3 * R), 1.3 * R);
    g.setColorAt(0, shade(x.c.eye, 0.15));
    g.setColorAt(0.6, x.c.eye);
    g.setColorAt(1, x.c.eyeDeep);
    p.setPen(QPen(withAlpha(x.c.eyeDeep, 0.9), 0.6));
    p.setBrush(g);
    p.drawEllipse(QPointF(0, 0), R, R);
    const int n = std::clamp(int(R * 2.2), 12, 70);
    std::vector<QPointF> inner, outer;
    for (int i = 0; i < n; ++i)
        (i < n * 0.35 ? inner : outer).push_back(polar(i * 137.508, R * 0.9 * std::sqrt((i + 0.5) / n)));
    p.setPen(Qt::NoPen);
    p.setBrush(withAlpha(x.c.eyeDeep, 0.7));
    paintDots(p, inner, R * 0.07);
    p.setBrush(withAlpha(shade(x.c.eye, 0.14), 0.7));
    paintDots(p, outer, R * 0.07);
}

// Ray florets around a disc.
void paintDaisyHead(Ctx& x, const Face& f)
{
    QPainter& p = x.p;
    if (!x.fine) {
        paintBlob(p, x.c, f);
        return;
    }
    p.save();
    p.translate(f.at);
    p.rotate(f.rot);
    p.scale(1.0, f.squash);
    paintSepals(p, x.c, f.radius * 0.45, 16, 0);
    const PetalRing rays{x.sp.petals, 1.0, x.sp.petalWidth, x.sp.notch, false, x.r.range(0, 360)};
    paintPetalRing(x, f, rays);
    paintHeart(p, x.c.petalDeep, f.radius * 0.5);
    paintDisc(x, f.radius * 0.3);
    p.restore();
}

// ---------------------------------------------------------------- spikes

struct Bead {
    double depth;
    QPointF at;
    double radius;
};

// A dense cylinder of tiny flowers (knotweed, plantain); with `bristles`
// the florets hide among long hairs (foxtail).
void paintBeadSpike(Ctx& x, const Tip& from, double len, double width, bool bristles)
{
    const double nod = x.r.range(15, 40) * (pointsLeft(from.angle) ? -1 : 1) * (bristles ? 1.6 : 1.0);
    const QPointF ctrl = from.at + polar(from.angle, len * 0.5);
    QPainterPath axis(from.at);
    axis.quadTo(ctrl, ctrl + polar(from.angle + nod, len * 0.55));
    strokeLine(x.p, axis, x.c.stem, std::max(0.8, width * 0.12));
    std::vector<Bead> beads;
    QPainterPath hairs;
    const int n = std::max(12, int(len / (width * 0.16)));
    for (int i = 0; i < n; ++i) {
        const double t = double(i) / n, phase = qDegreesToRadians(i * 137.508);
        const double taper = std::min(1.0, 0.5 + t * 5) * (1 - 0.55 * t * t);
        const double across = std::cos(phase) * width * 0.5 * taper;
        const QPointF at = axis.pointAtPercent(t) + polar(axis.angleAtPercent(t) * -1 + 90, across);
        beads.push_back({std::sin(phase), at, width * 0.26 * (0.6 + 0.4 * taper)});
        if (bristles) {
            hairs.moveTo(at);
            hairs.lineTo(at + polar(-axis.angleAtPercent(t) + (across > 0 ? 70 : -70) * 1.0, width * 0.8));
        }
    }
    // three depth bands, back to front, then a glint on the nearer beads
    std::sort(beads.begin(), beads.end(), [](const Bead& a, const Bead& b) { return a.depth < b.depth; });
    const QPen rim(withAlpha(x.c.edge, 0.5), 0.4);
    for (const Bead& b : beads) {
        x.p.setPen(rim);
        x.p.setBrush(mix(x.c.petalDeep, x.c.petal, 0.55 + 0.4 * b.depth));
        x.p.drawEllipse(b.at, b.radius, b.radius * 0.85);
        if (b.depth > 0.3 && x.fine) {
            x.p.setPen(Qt::NoPen);
            x.p.setBrush(withAlpha(x.c.petalLight, 0.75));
            x.p.drawEllipse(b.at - QPointF(b.radius * 0.3, b.radius * 0.3), b.radius * 0.35, b.radius * 0.3);
        }
    }
    if (bristles)
        strokeLine(x.p, hairs, withAlpha(x.c.petalLight, 0.7), 0.5);
}

// A nodding grass panicle: thin branches hung with small spikelets.
void paintPanicle(Ctx& x, const Tip& from, double len)
{
    const double side = pointsLeft(from.angle) ? -1 : 1;
    const QPointF ctrl = from.at + polar(from.angle, len * 0.5);
    QPainterPath axis(from.at);
    axis.quadTo(ctrl, ctrl + polar(from.angle + side * x.r.range(30, 60), len * 0.55));
    QPainterPath twigs;
    std::vector<Tip> spikelets;
    const int branches = x.r.pick(6, 9);
    for (int k = 0; k < branches; ++k) {
        const double t = 0.25 + 0.72 * k / branches;
        const QPointF at = axis.pointAtPercent(t);
        const double dir = -axis.angleAtPercent(t) + (k % 2 ? 1 : -1) * x.r.range(25, 45);
        const double blen = len * 0.32 * (1 - 0.55 * t);
        const QPointF end = at + polar(dir + side * 12, blen);
        twigs.moveTo(at);
        twigs.quadTo(at + polar(dir, blen * 0.5), end);
        for (int s = 1; s <= 4; ++s)
            spikelets.push_back({at + (end - at) * (s / 4.0), angleOf(end - at) + x.r.range(-25, 25)});
    }
    strokeLine(x.p, axis, x.c.stem, 1.1);
    strokeLine(x.p, twigs, mix(x.c.stem, x.c.petalDeep, 0.5), 0.7);
    x.p.setPen(QPen(withAlpha(x.c.petalDeep, 0.8), 0.5));
    for (const Tip& s : spikelets) {
        x.p.save();
        x.p.translate(s.at);
        x.p.rotate(s.angle);
        x.p.setBrush(mix(x.c.petal, x.c.petalLight, x.r.range(0.0, 0.4)));
        x.p.drawEllipse(QPointF(0, 0), len * 0.034, len * 0.013);
        x.p.restore();
    }
}

// ----------------------------------------------------------------- others

// A bell or trumpet along +x from its stalk to the mouth.
void paintBell(Ctx& x, QPointF at, double angle, double L)
{
    QPainter& p = x.p;
    p.save();
    orient(p, at, angle);
    const QPainterPath body =
        mirrored({{QPointF(0.08 * L, -0.1 * L), QPointF(0.2 * L, -0.18 * L), QPointF(0.38 * L, -0.2 * L)},
                  {QPointF(0.6 * L, -0.22 * L), QPointF(0.8 * L, -0.3 * L), QPointF(0.94 * L, -0.44 * L)},
                  {QPointF(0.98 * L, -0.48 * L), QPointF(1.04 * L, -0.5 * L), QPointF(1.08 * L, -0.47 * L)},
                  {QPointF(1.0 * L, -0.3 * L), QPointF(0.97 * L, -0.12 * L), QPointF(0.96 * L, 0)}});
    QLinearGradient g(QPointF(0, -0.45 * L), QPointF(0, 0.45 * L));
    g.setColorAt(0, x.c.petalLight);
    g.setColorAt(0.45, x.c.petal);
    g.setColorAt(1, x.c.petalDeep);
    p.setPen(QPen(x.c.edge, 0.7));
    p.setBrush(g);
    p.drawPath(body);
    QPainterPath ribs;
    for (const double k : {-0.6, 0.0, 0.6}) {
        ribs.moveTo(0.12 * L, k * 0.08 * L);
        ribs.quadTo(QPointF(0.6 * L, k * 0.2 * L), QPointF(0.95 * L, k * 0.42 * L));
    }
    strokeLine(p, ribs, withAlpha(x.c.petalDeep, 0.45), 0.6);
    QRadialGradient m(QPointF(0.98 * L, 0), 0.42 * L);
    m.setColorAt(0, shade(x.c.petalDeep, -0.1));
    m.setColorAt(1, x.c.petal);
    p.setBrush(m);
    p.drawEllipse(QPointF(0.99 * L, 0), 0.08 * L, 0.42 * L);
    QPainterPath style(QPointF(0.92 * L, 0));
    style.lineTo(1.16 * L, 0.03 * L);
    strokeLine(p, style, x.c.petalLight, std::max(0.8, L * 0.03));
    paintCalyx(p, x.c, L * 0.5);
    p.restore();
}

// A ball of tiny florets (clover, burnet).
void paintGlobe(Ctx& x, QPointF at, double R)
{
    QPainter& p = x.p;
    p.save();
    p.translate(at + QPointF(0, R * 0.55));
    p.scale(1, 0.45);
    paintSepals(p, x.c, R * 0.75, 8, 0);
    p.restore();
    QRadialGradient g(at + QPointF(-0.3 * R, -0.35 * R), 1.35 * R);
    g.setColorAt(0, x.c.petalLight);
    g.setColorAt(0.5, x.c.petal);
    g.setColorAt(1, x.c.petalDeep);
    p.setPen(QPen(x.c.edge, 0.6));
    p.setBrush(g);
    p.drawEllipse(at, R, R);
    // florets on a sphere, grouped by how much light they catch
    const int n = x.fine ? 48 : 0;
    p.setPen(QPen(withAlpha(x.c.petalDeep, 0.6), 0.4));
    for (int i = n - 1; i >= 0; --i) {
        const double z = 1 - (i + 0.5) / n, rr = std::sqrt(1 - z * z);
        const QPointF off = polar(i * 137.508, R * rr * 0.96);
        const double light = std::clamp(0.45 + 0.5 * z - 0.4 * (off.x() + off.y()) / R, 0.0, 1.0);
        const double size = R * 0.14 * (0.5 + 0.5 * z);
        p.setBrush(mix(x.c.petalDeep, x.c.petalLight, light));
        p.drawEllipse(at + off, size, size);
    }
}

// A flat-topped umbel: rays fanning out to small domes of florets.
void paintUmbel(Ctx& x, QPointF at, double R)
{
    QPainter& p = x.p;
    const int rays = x.r.pick(7, 11);
    std::vector<QPointF> heads;
    QPainterPath spokes;
    for (int i = 0; i < rays; ++i) {
        const double u = -1 + 2 * (i + 0.5) / rays + x.r.range(-0.06, 0.06);
        const QPointF head = at + QPointF(u * R, -R * (0.62 + 0.25 * (1 - u * u)) + x.r.range(-0.1, 0.1) * R);
        spokes.moveTo(at);
        spokes.quadTo(at + QPointF(u * R * 0.2, -R * 0.4), head);
        heads.push_back(head);
    }
    strokeLine(p, spokes, x.c.stem, std::max(0.7, R * 0.015));
    std::vector<QPointF> florets[3], eyes;
    for (const QPointF& h : heads) {
        for (int k = 0; k < 9; ++k) {
            const double v = -1 + 2 * (k + 0.5) / 9;
            const QPointF q = h + QPointF(v * 0.22 * R, -0.09 * R * (1 - v * v) + (k % 3 - 1) * 0.03 * R);
            florets[k % 3].push_back(q);
            eyes.push_back(q);
        }
    }
    p.setPen(QPen(x.c.edge, 0.5));
    for (int k = 0; k < 3; ++k) {
        p.setBrush(mix(x.c.petal, x.c.petalLight, k * 0.35));
        paintDots(p, florets[k], R * 0.055);
    }
    p.setPen(Qt::NoPen);
    p.setBrush(withAlpha(x.c.eye, 0.8));
    if (x.fine)
        paintDots(p, eyes, R * 0.015);
}

// ------------------------------------------------------ inflorescences

double sideOf(double angle)
{
    return pointsLeft(angle) ? -1.0 : 1.0;
}

void bloomFour(Ctx& x, const Curve& stem, double h)
{
    if (x.sp.variant == 1) {  // a few large blooms
        for (const Tip& t : branchTips(x, stem, h, x.r.pick(1, 2), 0.2))
            paintRadial(x, faceAt(x.r, t, h * 0.13 * x.sp.bloom), 4, 8);
        return;
    }
    // a raceme of small flowers with buds crowded at the apex
    const int open = x.r.pick(4, 7);
    std::vector<Tip> tips;
    int side = x.r.sign();
    for (int i = 0; i < open; ++i) {
        const double t = 0.62 + 0.36 * i / open;
        const double axis = stem.angleAt(t);
        tips.push_back(sprout(x, stem.at(t), axis + side * x.r.range(45, 75),
                              h * x.r.range(0.1, 0.14) * (1 - 0.5 * i / open), -side * 25.0, std::max(0.8, h * 0.005)));
        side = -side;
    }
    const double apex = stem.angleAt(1.0);
    for (const double a : {-28.0, 28.0, 0.0})
        paintBud(x.p, x.c, stem.d, apex + a, h * 0.032);
    for (int i = open - 1; i >= 0; --i)
        paintRadial(x, faceAt(x.r, tips[size_t(i)], h * 0.048 * x.sp.bloom * (1 - 0.3 * i / open)), 4, 6);
}

void bloomFive(Ctx& x, const Curve& stem, double h)
{
    const int count = x.r.pick(2, 4);
    const std::vector<Tip> tips = branchTips(x, stem, h, count, 0.2);
    const double R = h * (count > 2 ? 0.095 : 0.115) * x.sp.bloom;
    const size_t bud = x.r.chance(0.5) ? size_t(x.r.pick(0, count - 1)) : tips.size();
    for (size_t i = 0; i < tips.size(); ++i) {
        if (i == bud && i != 0)
            paintBud(x.p, x.c, tips[i].at, tips[i].angle, R * 0.7);
        else
            paintRadial(x, faceAt(x.r, tips[i], R * x.r.range(0.9, 1.05)), 5, 12);
    }
}

void bloomMany(Ctx& x, const Curve& stem, double h)
{
    const std::vector<Tip> tips = branchTips(x, stem, h, x.r.pick(1, 2), 0.24);
    for (size_t i = 0; i < tips.size(); ++i) {
        if (i > 0 && x.r.chance(0.6))
            paintBud(x.p, x.c, tips[i].at, tips[i].angle, h * 0.08);
        else
            paintRadial(x, faceAt(x.r, tips[i], h * 0.15 * x.sp.bloom * (i ? 0.8 : 1.0)), x.sp.petals, 30);
    }
}

void bloomViolet(Ctx& x, const Curve& stem, double h)
{
    const double side = sideOf(stem.angleAt(1.0));
    const double R = h * 0.12 * x.sp.bloom;
    paintViolet(x, stem.d + QPointF(side * 0.12 * R, 0.5 * R), R, side);
}

void paintWhorl(Ctx& x, QPointF at, double axis, double L, bool top)
{
    LeafPose bract{at, 0, L * 0.7, 0.8, -0.02, false};
    for (const double s : {-1.0, 1.0}) {
        bract.angle = axis + s * 78;
        if (!top)
            paintLeaf(x, bract);
    }
    const int n = top ? 2 : x.r.pick(2, 4);
    for (int i = 0; i < n; ++i) {
        const double s = i % 2 ? 1.0 : -1.0;
        const double spread = i < 2 ? x.r.range(42, 68) : x.r.range(18, 32);
        paintLippedFlower(x, at, axis + s * spread, L * (top ? 0.7 : x.r.range(0.9, 1.05)));
    }
}

void bloomLipped(Ctx& x, const Curve& stem, double h)
{
    const double L = h * 0.13 * x.sp.bloom;
    if (x.sp.variant % 2 == 0) {  // whorls in the upper leaf axils
        const int n = x.r.pick(2, 4);
        for (int k = 0; k < n; ++k) {
            const double t = 0.62 + 0.36 * k / n;
            paintWhorl(x, stem.at(t), stem.angleAt(t), L * (1 - 0.2 * k / n), false);
        }
        paintWhorl(x, stem.d, stem.angleAt(1.0), L, true);
        return;
    }
    // a dense terminal spike of bracts with flowers standing out of it
    for (int k = 0; k < 5; ++k) {
        const double t = 0.82 + 0.18 * k / 5;
        const QPointF at = stem.at(t);
        Palette bracts = x.c;
        bracts.leaf = mix(x.c.leaf, x.c.petalDeep, 0.35);
        x.p.save();
        x.p.translate(at);
        x.p.rotate(stem.angleAt(t) + 90);
        x.p.scale(1, 0.4);
        paintSepals(x.p, bracts, h * 0.05 * (1 - 0.3 * k / 5), 7, k * 20.0);
        x.p.restore();
        if (k % 2 == 0)
            paintWhorl(x, at, stem.angleAt(t), L * (1 - 0.25 * k / 5), k == 4);
    }
}

void bloomPea(Ctx& x, const Curve& stem, double h)
{
    if (x.r.chance(0.5)) {
        const double t = x.r.range(0.55, 0.7), axis = stem.angleAt(t);
        paintRaceme(x, stem.at(t), axis + x.r.sign() * x.r.range(30, 50), h * 0.24 * x.sp.bloom);
    }
    paintRaceme(x, stem.d, stem.angleAt(1.0), h * 0.3 * x.sp.bloom);
}

void bloomDandelion(Ctx& x, const Curve& stem, double h)
{
    const bool basal = x.sp.arr == Arrangement::Basal;
    const std::vector<Tip> tips = branchTips(x, stem, h, basal ? 1 : x.r.pick(1, 3), 0.22);
    const double R = h * (basal ? 0.14 : 0.12) * x.sp.bloom;
    for (size_t i = 0; i < tips.size(); ++i) {
        const bool spare = x.scape > 0 || i > 0;
        const double roll = x.r.unit();
        if (spare && roll < 0.3)
            paintSeedClock(x, tips[i].at + polar(tips[i].angle, R * 0.8), R * 1.2);
        else if (spare && roll < 0.5)
            paintBud(x.p, x.c, tips[i].at, tips[i].angle, R * 0.9);
        else
            paintDandelionHead(x, faceAt(x.r, tips[i], R));
    }
}

void bloomDaisy(Ctx& x, const Curve& stem, double h)
{
    const int heads = x.r.pick(1, 5);
    const std::vector<Tip> tips = branchTips(x, stem, h, heads, heads > 2 ? 0.26 : 0.2);
    const double R = h * (heads > 2 ? 0.085 : 0.12) * x.sp.bloom;
    for (const Tip& t : tips)
        paintDaisyHead(x, faceAt(x.r, t, R * x.r.range(0.85, 1.05)));
}

void bloomSpike(Ctx& x, const Curve& stem, double h)
{
    const std::vector<Tip> tips = branchTips(x, stem, h, x.r.pick(1, 3), 0.16);
    for (size_t i = 0; i < tips.size(); ++i) {
        const double len = h * (i == 0 ? 0.27 : 0.19) * x.sp.bloom;
        switch (x.sp.variant) {
        case 2: paintPanicle(x, tips[i], len * 1.3); break;
        case 3: paintBeadSpike(x, tips[i], len, h * 0.05, true); break;
        default: paintBeadSpike(x, tips[i], len, h * (x.sp.variant ? 0.03 : 0.045), false); break;
        }
    }
}

void bloomOther(Ctx& x, const Curve& stem, double h)
{
    const double s = x.sp.bloom;
    if (x.sp.variant == 3) {
        paintUmbel(x, stem.d, h * 0.2 * s);
        return;
    }
    const std::vector<Tip> tips = branchTips(x, stem, h, x.r.pick(1, 3), 0.17);
    for (const Tip& t : tips) {
        if (x.sp.variant == 2) {
            paintGlobe(x, t.at + polar(t.angle, h * 0.06 * s), h * 0.075 * s);
        } else if (x.sp.variant == 1) {
            paintBell(x, t.at, t.angle, h * 0.19 * s);
        } else {  // nodding bells on hooked stalks
            const Tip hang =
                sprout(x, t.at, t.angle, h * 0.07, sideOf(t.angle) * x.r.range(130, 160), std::max(0.8, h * 0.006));
            paintBell(x, hang.at, hang.angle, h * 0.15 * s);
        }
    }
}

void paintBloom(Ctx& x, const Curve& stem, double h)
{
    switch (x.sp.form) {
    case Form::Four: bloomFour(x, stem, h); break;
    case Form::Five: bloomFive(x, stem, h); break;
    case Form::Many: bloomMany(x, stem, h); break;
    case Form::Violet: bloomViolet(x, stem, h); break;
    case Form::Lipped: bloomLipped(x, stem, h); break;
    case Form::Pea: bloomPea(x, stem, h); break;
    case Form::Dandelion: bloomDandelion(x, stem, h); break;
    case Form::Daisy: bloomDaisy(x, stem, h); break;
    case Form::Spike: bloomSpike(x, stem, h); break;
    case Form::Other: bloomOther(x, stem, h); break;
    }
}

// ------------------------------------------------------------------ plants

void paintShoot(Ctx& x, const Curve& stem, double h, bool leafy)
{
    std::vector<LeafPose> leaves;
    if (leafy)
        leaves = stemLeaves(x, stem, h);
    for (const LeafPose& l : leaves)
        if (l.back)
            paintLeaf(x, l);
    const bool square = x.sp.form == Form::Lipped;
    const bool slender = x.sp.form == Form::Spike || !leafy;
    const double w = h * (slender ? 0.013 : 0.018);
    paintStem(x.p, x.c, stem, w, w * (square ? 0.75 : 0.45), square);
    for (const LeafPose& l : leaves)
        if (!l.back)
            paintLeaf(x, l);
    paintBloom(x, stem, h);
}

void paintPlant(Ctx& x, QPointF base, double h)
{
    const bool basal = x.sp.arr == Arrangement::Basal;
    std::vector<LeafPose> ground;
    if (basal)
        ground = rosette(x, base, h);
    for (const LeafPose& l : ground)
        if (l.back)
            paintLeaf(x, l);
    const int shoots = basal ? x.r.pick(1, 3) : (x.r.chance(0.35) ? 2 : 1);
    const bool hooked = x.sp.form == Form::Violet;
    for (int i = shoots - 1; i >= 0; --i) {
        const double sh = i == 0 ? h : h * x.r.range(0.62, 0.88);
        const double lean = i == 0 ? x.r.range(-0.1, 0.1) * h : x.r.sign() * x.r.range(0.12, 0.26) * h;
        const QPointF foot = base + QPointF(i == 0 ? 0 : x.r.range(-0.03, 0.03) * h, 0);
        x.scape = i;
        paintShoot(x, makeStem(x.r, foot, sh, lean, hooked), sh, !basal);
    }
    for (const LeafPose& l : ground)
        if (!l.back)
            paintLeaf(x, l);
}

// ------------------------------------------------------------------- scene

struct Stage {
    double W, H;
    double horizon;  // foot of the far hills
    double meadow;  // where the near ground begins
};

struct Backdrop {
    QColor skyTop, skyLow, far, near, groundTop, groundLow;
};

Backdrop backdropFor(Season s)
{
    switch (s) {
    case Season::Spring:
        return {QColor(0xd6, 0xea, 0xdc), QColor(0xfb, 0xe3, 0xe9), QColor(0xc4, 0xd9, 0xc4),
                QColor(0xb0, 0xcf, 0x98), QColor(0xa6, 0xcb, 0x84), QColor(0x7a, 0xa7, 0x5a)};
    case Season::Summer:
        return {QColor(0x24, 0x7c, 0xd6), QColor(0xbc, 0xe2, 0xf7), QColor(0x5a, 0x96, 0x76),
                QColor(0x2f, 0x7a, 0x3a), QColor(0x3a, 0x86, 0x34), QColor(0x20, 0x56, 0x20)};
    case Season::Autumn: break;
    }
    return {QColor(0xf4, 0xde, 0xae), QColor(0xe9, 0xaa, 0x5e), QColor(0xc0, 0x86, 0x50),
            QColor(0xa4, 0x84, 0x44), QColor(0xb0, 0x94, 0x50), QColor(0x72, 0x5c, 0x2e)};
}

void paintSky(QPainter& p, const Backdrop& b, const Stage& st)
{
    QLinearGradient g(QPointF(0, 0), QPointF(0, st.meadow));
    g.setColorAt(0, b.skyTop);
    g.setColorAt(1, b.skyLow);
    p.fillRect(QRectF(0, 0, st.W, st.H), g);
}

void paintGlow(QPainter& p, QPointF at, double radius, const QColor& c)
{
    QRadialGradient g(at, radius);
    g.setColorAt(0, c);
    g.setColorAt(1, withAlpha(c, 0));
    p.setPen(Qt::NoPen);
    p.setBrush(g);
    p.drawEllipse(at, radius, radius);
}

void paintRidge(QPainter& p, Rng& r, const Stage& st, double baseY, double amp, const QColor& top, const QColor& bottom)
{
    const double f1 = r.range(0.004, 0.009), f2 = r.range(0.012, 0.025);
    const double ph1 = r.range(0, 6.3), ph2 = r.range(0, 6.3);
    QPolygonF ridge;
    for (double x = -24; x <= st.W + 24; x += 12)
        ridge << QPointF(x, baseY - amp * (0.6 + 0.4 * std::sin(x * f1 + ph1)) - amp * 0.25 * std::sin(x * f2 + ph2));
    QPainterPath path(ridge.first());
    appendSmooth(path, ridge);
    path.lineTo(st.W + 24, st.H + 10);
    path.lineTo(-24, st.H + 10);
    path.closeSubpath();
    QLinearGradient g(QPointF(0, baseY - amp), QPointF(0, st.H));
    g.setColorAt(0, top);
    g.setColorAt(1, bottom);
    p.setPen(Qt::NoPen);
    p.setBrush(g);
    p.drawPath(path);
}

void paintClouds(QPainter& p, Rng& r, const Stage& st)
{
    const int clouds = r.pick(2, 4);
    for (int i = 0; i < clouds; ++i) {
        const QPointF c(r.range(0, st.W), r.range(st.H * 0.08, st.H * 0.36));
        const double s = r.range(26, 52);
        QPainterPath path;
        path.setFillRule(Qt::WindingFill);
        for (int k = 0; k < 6; ++k) {
            const double u = (k - 2.5) / 2.5;
            const double rad = s * (0.5 + 0.5 * (1 - u * u)) * r.range(0.8, 1.1);
            path.addEllipse(c + QPointF(u * s * 1.6, -rad * 0.35), rad, rad * 0.8);
        }
        QLinearGradient g(QPointF(0, c.y() - s), QPointF(0, c.y() + s * 0.3));
        g.setColorAt(0, QColor(255, 255, 255, 245));
        g.setColorAt(1, QColor(0xd4, 0xe4, 0xf2, 220));
        p.save();
        p.setClipRect(QRectF(0, 0, st.W, c.y() + s * 0.25));
        p.setPen(Qt::NoPen);
        p.setBrush(g);
        p.drawPath(path);
        p.restore();
    }
}

// Out-of-focus cherry twig reaching in from a top corner.
void paintBlossomBranch(QPainter& p, Rng& r, const Stage& st)
{
    Palette c;
    c.petal = hsl(345, 0.8, 0.9);
    c.petalDeep = hsl(342, 0.6, 0.74);
    c.petalLight = QColor(255, 250, 252);
    c.edge = hsl(340, 0.35, 0.65, 0.5);
    c.eye = c.eyeDeep = hsl(345, 0.55, 0.5);
    c.pollen = hsl(45, 0.9, 0.6);
    c.leaf = c.leafDark = hsl(350, 0.35, 0.4);
    Species sakura;
    sakura.notch = 0.18;
    sakura.petalWidth = 0.62;
    Ctx x{p, r, c, sakura};
    const double side = r.sign();
    const QPointF start(side > 0 ? st.W + 12 : -12, r.range(-10, st.H * 0.1));
    const QPointF end(st.W * (side > 0 ? r.range(0.58, 0.72) : r.range(0.28, 0.42)), r.range(st.H * 0.02, st.H * 0.14));
    QPainterPath branch(start);
    branch.quadTo(QPointF((start.x() + end.x()) / 2, std::max(start.y(), end.y()) + r.range(20, 50)), end);
    strokeLine(p, branch, QColor(0x5e, 0x46, 0x40), 6);
    const int n = r.pick(6, 10);
    for (int i = 0; i < n; ++i) {
        const QPointF at = branch.pointAtPercent(r.range(0.2, 1.0)) + QPointF(r.range(-14, 14), r.range(-12, 12));
        paintRadial(x, {at, r.range(9, 15), r.range(0, 360), r.range(0.6, 1.0)}, 5, 8);
    }
}

// Out-of-focus blossom from trees beyond the meadow: soft pink discs.
void paintBlossomBokeh(QPainter& p, Rng& r, const Stage& st)
{
    for (int i = r.pick(7, 12); i > 0; --i) {
        const QPointF at(r.range(0, st.W), r.range(0, st.H * 0.5));
        const double size = r.range(8, 22);
        p.setPen(Qt::NoPen);
        p.setBrush(hsl(r.range(335, 355), 0.7, r.range(0.86, 0.93), r.range(0.45, 0.8)));
        p.drawEllipse(at, size, size);
    }
}

QPainterPath maplePath(double s)
{
    QPolygonF pts;
    for (int i = 0; i < 60; ++i) {
        const double a = -90 + i * 6.0;
        const double lobe = std::pow(std::abs(std::cos(qDegreesToRadians((a + 90) * 2.5))), 3.0);
        const double nearStalk = a > 40 && a < 140 ? 0.55 : 1.0;
        pts << polar(a, s * (0.38 + 0.62 * lobe) * nearStalk);
    }
    QPainterPath path;
    path.addPolygon(pts);
    path.closeSubpath();
    return path;
}

void paintFallingLeaf(QPainter& p, Rng& r, QPointF at, double size)
{
    const QColor tints[] = {hsl(8, 0.7, 0.45), hsl(26, 0.82, 0.5), hsl(42, 0.8, 0.52), hsl(18, 0.5, 0.32)};
    const QColor c = tints[r.pick(0, 3)];
    p.save();
    p.translate(at);
    p.rotate(r.range(0, 360));
    p.scale(1, r.range(0.45, 1.0));
    const QPainterPath shape = r.chance(0.5)
                                   ? maplePath(size)
                                   : bladePath(LeafShape::Elliptic, size * 2, size * 0.5, 0.1).translated(-size, 0);
    QLinearGradient g(QPointF(0, -size), QPointF(0, size));
    g.setColorAt(0, shade(c, 0.12));
    g.setColorAt(1, shade(c, -0.1));
    p.setPen(QPen(shade(c, -0.22), 0.6));
    p.setBrush(g);
    p.drawPath(shape);
    p.restore();
}

void paintDriftingPetal(QPainter& p, Rng& r, QPointF at, double size)
{
    p.save();
    p.translate(at);
    p.rotate(r.range(0, 360));
    p.scale(1, r.range(0.45, 1.0));
    p.setPen(QPen(hsl(340, 0.35, 0.7, 0.6), 0.5));
    p.setBrush(hsl(345, r.range(0.6, 0.85), r.range(0.88, 0.93)));
    p.drawPath(petalPath(size, size * 0.45, 0.16, false));
    p.restore();
}

void paintDistantPlants(QPainter& p, Rng& r, const Palette& c, const Species& sp, const Stage& st)
{
    const int n = r.pick(3, 6);
    for (int i = 0; i < n; ++i) {
        const QPointF base(r.range(0.03, 0.97) * st.W, st.meadow + r.range(4, 36));
        Rng own = r.fork(quint64(i));
        Ctx x{p, own, c, sp};
        x.fine = false;
        paintPlant(x, base, st.H * r.range(0.13, 0.22));
    }
}

void paintHaze(QPainter& p, const Stage& st, const QColor& c, double strength)
{
    QLinearGradient g(QPointF(0, st.horizon - 60), QPointF(0, st.H));
    g.setColorAt(0, withAlpha(c, 0));
    g.setColorAt(0.35, withAlpha(c, strength));
    g.setColorAt(1, withAlpha(c, 0));
    p.fillRect(QRectF(0, st.horizon - 60, st.W, st.H), g);
}

struct Scene {
    Season season;
    const Palette& c;
    const Species& sp;
    Stage st;
};

void paintFarField(QPainter& p, Rng& r, const Scene& s)
{
    const Backdrop b = backdropFor(s.season);
    const Stage& st = s.st;
    paintSky(p, b, st);
    if (s.season == Season::Summer) {
        paintGlow(p, QPointF(st.W * r.range(0.7, 0.95), st.H * 0.02), st.H * 0.45, QColor(255, 252, 230, 150));
        paintClouds(p, r, st);
    } else if (s.season == Season::Autumn) {
        paintGlow(p, QPointF(st.W * r.range(0.1, 0.9), st.horizon - 20), st.H * 0.5, QColor(255, 236, 190, 130));
    }
    paintRidge(p, r, st, st.horizon, st.H * 0.09, b.far, mix(b.far, b.skyLow, 0.3));
    paintRidge(p, r, st, st.horizon + st.H * 0.06, st.H * 0.05, mix(b.near, b.far, 0.3), b.near);
    paintRidge(p, r, st, st.meadow, st.H * 0.025, b.groundTop, b.groundLow);
    paintHaze(p, st, b.skyLow, 0.3);
    paintDistantPlants(p, r, s.c, s.sp, st);
    if (s.season == Season::Spring) {
        if (r.chance(0.6))
            paintBlossomBranch(p, r, st);
        else
            paintBlossomBokeh(p, r, st);
    }
    if (s.season == Season::Autumn)
        for (int i = r.pick(2, 4); i > 0; --i)
            paintFallingLeaf(p, r, QPointF(r.range(0, st.W), r.range(0, st.H * 0.6)), r.range(14, 22));
}

// The far field is drawn small and scaled up, which blurs it like a shallow
// depth of field and costs far less than a real blur.
QImage renderFarField(Rng& r, const Scene& s, double scale)
{
    const QSize px(std::max(8, int(s.st.W * scale / 2)), std::max(6, int(s.st.H * scale / 2)));
    QImage img(px, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    QPainter p(&img);
    p.setRenderHints(QPainter::Antialiasing | QPainter::SmoothPixmapTransform);
    p.scale(px.width() / s.st.W, px.height() / s.st.H);
    paintFarField(p, r, s);
    p.end();
    // Down and back up in two bilinear steps: a soft, even blur without the
    // stair-steps a single large upscale leaves on bright cloud edges.
    const QImage small = img.scaled(std::max(4, px.width() / 2), std::max(3, px.height() / 2), Qt::IgnoreAspectRatio,
                                    Qt::SmoothTransformation);
    return small.scaled(px, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

void paintGrass(QPainter& p, Rng& r, const Palette& c, const Stage& st, int count, double top)
{
    QPainterPath tones[3];
    for (QPainterPath& path : tones)
        path.setFillRule(Qt::WindingFill);
    for (int i = 0; i < count; ++i) {
        const double y = r.range(top, st.H + 6);
        const double depth = (y - st.meadow) / (st.H - st.meadow);
        const double x = r.range(-8, st.W + 8), tall = r.range(10, 30) * (0.5 + depth);
        const double w = r.range(0.8, 1.6) * (0.6 + depth), bend = r.range(-0.45, 0.45) * tall;
        QPainterPath& path = tones[r.pick(0, 2)];
        path.moveTo(x - w, y);
        path.quadTo(x + bend * 0.3, y - tall * 0.6, x + bend, y - tall);
        path.quadTo(x + bend * 0.3 + w * 0.4, y - tall * 0.6, x + w, y);
        path.closeSubpath();
    }
    const QColor colours[3] = {c.leafDark, c.leaf, c.leafLight};
    p.setPen(Qt::NoPen);
    for (int k = 0; k < 3; ++k) {
        p.setBrush(withAlpha(colours[k], 0.75));
        p.drawPath(tones[k]);
    }
}

void paintShadow(QPainter& p, QPointF at, double size)
{
    p.save();
    p.translate(at);
    p.scale(1, 0.28);
    paintGlow(p, QPointF(0, 0), size, QColor(20, 30, 10, 80));
    p.restore();
}

struct Placement {
    QPointF base;
    double height;
};

std::vector<Placement> placePlants(Rng& r, const Stage& st)
{
    std::vector<Placement> out;
    const double mainX = st.W * r.range(0.38, 0.62);
    out.push_back({QPointF(mainX, st.H * r.range(0.9, 0.95)), st.H * r.range(0.64, 0.72)});
    double side = r.sign();
    for (int i = r.pick(0, 2); i > 0; --i) {
        const double x = std::clamp(mainX + side * st.W * r.range(0.2, 0.32), st.W * 0.1, st.W * 0.9);
        out.push_back({QPointF(x, st.H * r.range(0.8, 0.86)), st.H * r.range(0.42, 0.54)});
        side = -side;
    }
    std::sort(out.begin(), out.end(), [](const Placement& a, const Placement& b) { return a.base.y() < b.base.y(); });
    return out;
}

void paintPlants(QPainter& p, Rng& r, const Scene& s)
{
    for (const Placement& pl : placePlants(r, s.st)) {
        paintShadow(p, pl.base, pl.height * 0.3);
        Rng own = r.fork(0x55);
        Ctx x{p, own, s.c, s.sp};
        paintPlant(x, pl.base, pl.height);
    }
}

void paintNearDetails(QPainter& p, Rng& r, const Scene& s)
{
    if (s.season == Season::Spring)
        for (int i = r.pick(4, 8); i > 0; --i)
            paintDriftingPetal(p, r, QPointF(r.range(0, s.st.W), r.range(0, s.st.H * 0.8)), r.range(5, 9));
    if (s.season == Season::Autumn)
        for (int i = r.pick(3, 6); i > 0; --i)
            paintFallingLeaf(p, r, QPointF(r.range(0, s.st.W), r.range(0, s.st.H * 0.8)), r.range(7, 12));
}

void paintFrame(QPainter& p, const Stage& st)
{
    QRadialGradient g(QPointF(st.W / 2, st.H * 0.45), std::hypot(st.W, st.H) * 0.62);
    g.setColorAt(0.55, QColor(0, 0, 0, 0));
    g.setColorAt(1.0, QColor(20, 15, 10, 70));
    p.fillRect(QRectF(0, 0, st.W, st.H), g);
    p.setPen(QPen(QColor(255, 255, 255, 90), 1.0));
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRectF(4.5, 4.5, st.W - 9, st.H - 9));
}

QFont captionFont(int pixels)
{
    QFont f(QStringLiteral("IPAPGothic"));
    f.setPixelSize(pixels);
    f.setStyleStrategy(QFont::PreferAntialias);
    return f;
}

void paintCaption(QPainter& p, const Stage& st, const QString& name, const QString& family)
{
    if (name.isEmpty() && family.isEmpty())
        return;
    const QFont big = captionFont(22), small = captionFont(14);
    const QFontMetricsF fb(big), fs(small);
    const double pad = 10, gap = 9, margin = 12;
    const double famW = family.isEmpty() ? 0 : fs.horizontalAdvance(family) + gap;
    const QString shown = fb.elidedText(name, Qt::ElideRight, std::max(60.0, st.W - 2 * (margin + pad) - famW));
    const double nameW = fb.horizontalAdvance(shown);
    const QRectF band(margin, st.H - margin - fb.height() - 8, nameW + famW + 2 * pad, fb.height() + 8);
    p.setPen(QPen(QColor(255, 255, 255, 140), 1));
    p.setBrush(QColor(250, 248, 240, 205));
    p.drawRoundedRect(band, 6, 6);
    const double baseline = band.top() + 4 + fb.ascent();
    p.setFont(big);
    p.setPen(QColor(0x2a, 0x2a, 0x26));
    p.drawText(QPointF(band.left() + pad, baseline), shown);
    p.setFont(small);
    p.setPen(QColor(0x5a, 0x60, 0x52));
    p.drawText(QPointF(band.left() + pad + nameW + gap, baseline), family);
}

}  // namespace

QImage FlowerIllustrator::draw(const QString& name, const QString& season, const QString& colour,
                               const QString& petalForm, const QString& leafArrangement, const QString& familyDisplay,
                               QSize size)
{
    const QSize out = size.isEmpty() ? QSize(640, 480) : size;
    const double scale = out.height() / kPlateHeight;
    Rng root{nameSeed(name)};
    Rng colourRng = root.fork(0x11), speciesRng = root.fork(0x22);
    Rng farRng = root.fork(0x33), nearRng = root.fork(0x44), plantRng = root.fork(0x55);
    const Season when = parseSeason(season);
    const Palette c = makePalette(parseTint(colour), when, colourRng);
    const Species sp = makeSpecies(parseForm(petalForm), parseArrangement(leafArrangement), speciesRng);
    const double W = out.width() / scale;
    const Scene scene{when, c, sp, {W, kPlateHeight, kPlateHeight * 0.56, kPlateHeight * 0.68}};

    QImage image(out, QImage::Format_RGB32);
    QPainter p(&image);
    p.setRenderHints(QPainter::Antialiasing | QPainter::SmoothPixmapTransform | QPainter::TextAntialiasing);
    p.scale(scale, scale);
    p.drawImage(QRectF(0, 0, W, kPlateHeight), renderFarField(farRng, scene, scale));
    paintGrass(p, nearRng, c, scene.st, 90, scene.st.meadow + 12);
    paintPlants(p, plantRng, scene);
    paintGrass(p, nearRng, c, scene.st, 50, kPlateHeight * 0.9);
    paintNearDetails(p, nearRng, scene);
    paintFrame(p, scene.st);
    paintCaption(p, scene.st, name, familyDisplay);
    return image;
}
