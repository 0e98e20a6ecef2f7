#include "assets/ButtonArt.h"

#include "assets/ArtPack.h"
#include "assets/ArtPalette.h"

#include <QFont>
#include <QFontMetricsF>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <QStringList>
#include <QtMath>

#include <algorithm>
#include <cmath>
#include <functional>
#include <iterator>

// All pictures are painted in logical pixels; `render` scales the painter so
// the same code yields 1x, 2x, 3x images without resampling. Small motifs keep
// strong outlines and few details because they must read at 32 x 32.

namespace {

using Paint = std::function<void(QPainter&)>;

QColor rgb(unsigned value, int alpha = 255)
{
    QColor colour = QColor::fromRgb(QRgb(0xFF000000u | value));
    colour.setAlpha(alpha);
    return colour;
}

QImage render(int width, int height, qreal scale, const Paint& paint)
{
    QImage image(qRound(width * scale), qRound(height * scale), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    {
        QPainter p(&image);
        p.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing | QPainter::SmoothPixmapTransform);
        p.scale(scale, scale);
        paint(p);
    }
    return image;
}

QImage renderScaled(int width, int height, int scale, const Paint& paint)
{
    QImage image = render(width, height, scale, paint);
    image.setDevicePixelRatio(scale);
    return image;
}

QFont artFont(int pixelSize, bool bold = true)
{
    QFont font(QStringLiteral("IPAPGothic"));
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    font.setStyleStrategy(QFont::PreferAntialias);
    return font;
}

QPen outline(const QColor& colour, qreal width = 0.8)
{
    QPen pen(colour, width);
    pen.setJoinStyle(Qt::RoundJoin);
    pen.setCapStyle(Qt::RoundCap);
    return pen;
}

QLinearGradient along(qreal length, const QColor& base, const QColor& tip)
{
    QLinearGradient gradient(0, 0, 0, -length);
    gradient.setColorAt(0, base);
    gradient.setColorAt(1, tip);
    return gradient;
}

QRadialGradient glossy(QPointF centre, qreal radius, const QColor& light, const QColor& dark)
{
    QRadialGradient gradient(centre + QPointF(-radius * 0.35, -radius * 0.4), radius * 1.3);
    gradient.setColorAt(0, light);
    gradient.setColorAt(1, dark);
    return gradient;
}

// ---------------------------------------------------------------- shapes --
// Petal-like shapes point up (towards -y) from their base at the origin, so a
// ring of them is a rotation loop.

QPainterPath roundPetal(qreal length, qreal width, qreal base = 0.8, qreal notch = 0.0)
{
    const qreal w = width / 2;
    QPainterPath path;
    path.moveTo(-base / 2, 0);
    if (notch <= 0) {
        path.cubicTo(-w * 1.15, -length * 0.4, -w, -length, 0, -length);
        path.cubicTo(w, -length, w * 1.15, -length * 0.4, base / 2, 0);
    } else {
        path.cubicTo(-w * 1.15, -length * 0.4, -w, -length, -w * 0.3, -length);
        path.lineTo(0, -length + notch);
        path.lineTo(w * 0.3, -length);
        path.cubicTo(w, -length, w * 1.15, -length * 0.4, base / 2, 0);
    }
    path.closeSubpath();
    return path;
}

QPainterPath pointedPetal(qreal length, qreal width)
{
    const qreal w = width / 2;
    QPainterPath path;
    path.moveTo(0, 0);
    path.cubicTo(-w * 1.3, -length * 0.3, -w * 0.9, -length * 0.8, 0, -length);
    path.cubicTo(w * 0.9, -length * 0.8, w * 1.3, -length * 0.3, 0, 0);
    return path;
}

// The strap-shaped ray floret of a dandelion, with a toothed tip.
QPainterPath strap(qreal length, qreal baseWidth, qreal tipWidth)
{
    const qreal t = tipWidth / 2;
    QPainterPath path;
    path.moveTo(-baseWidth / 2, 0);
    path.lineTo(-t, -length + 0.5);
    path.lineTo(-t / 3, -length);
    path.lineTo(0, -length + 0.35);
    path.lineTo(t / 3, -length);
    path.lineTo(t, -length + 0.5);
    path.lineTo(baseWidth / 2, 0);
    path.closeSubpath();
    return path;
}

void drawRotated(QPainter& p, QPointF at, qreal angle, const Paint& paint)
{
    p.save();
    p.translate(at);
    p.rotate(angle);
    paint(p);
    p.restore();
}

void paintRing(QPainter& p, QPointF centre, int count, qreal offset, const QPainterPath& petal, const QBrush& brush,
               const QPen& pen)
{
    for (int i = 0; i < count; ++i) {
        drawRotated(p, centre, offset + 360.0 * i / count, [&](QPainter& q) {
            q.setPen(pen);
            q.setBrush(brush);
            q.drawPath(petal);
        });
    }
}

void paintDisc(QPainter& p, QPointF centre, qreal radius, const QBrush& brush, const QPen& pen)
{
    p.setPen(pen);
    p.setBrush(brush);
    p.drawEllipse(centre, radius, radius);
}

void paintDots(QPainter& p, QPointF centre, qreal radius, int count, qreal dot, const QColor& colour)
{
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    for (int i = 0; i < count; ++i) {
        const qreal a = 2 * M_PI * i / count;
        p.drawEllipse(centre + QPointF(qCos(a), qSin(a)) * radius, dot, dot);
    }
}

void paintStem(QPainter& p, const QPainterPath& path, qreal width)
{
    QPen pen(rgb(0x4A8A2C), width);
    pen.setCapStyle(Qt::RoundCap);
    p.setPen(pen);
    p.setBrush(Qt::NoBrush);
    p.drawPath(path);
}

void paintStraightStem(QPainter& p, QPointF from, QPointF to, qreal width)
{
    QPainterPath path(from);
    path.lineTo(to);
    paintStem(p, path, width);
}

void paintLeaf(QPainter& p, QPointF at, qreal angle, qreal length, qreal width)
{
    drawRotated(p, at, angle, [&](QPainter& q) {
        q.setPen(outline(rgb(0x33702A), 0.7));
        q.setBrush(along(length, rgb(0x4C9A30), rgb(0x8ACB5E)));
        q.drawPath(pointedPetal(length, width));
        q.setPen(QPen(rgb(0xC4E6A6, 200), 0.5));
        q.drawLine(QPointF(0, -length * 0.12), QPointF(0, -length * 0.78));
    });
}

// Text whose ink is centred on `centre`, narrowed if wider than `maxWidth`.
// It is laid out in device pixels with a device-sized font rather than
// through the painter's scale: FreeType's synthetic bold (IPAPGothic has no
// bold face) and hinting are only applied to untransformed text. Japanese
// glyph boxes are taller than their ink, so the ink of a reference glyph
// decides the vertical position. Assumes an unrotated painter.
void paintCentredText(QPainter& p, const QString& text, QPointF centre, int pixelSize, qreal maxWidth,
                      const QColor& colour)
{
    const QTransform toDevice = p.worldTransform();
    const qreal scale = toDevice.m22();
    QFont font = artFont(qMax(1, qRound(pixelSize * scale)));
    const qreal natural = QFontMetricsF(font).horizontalAdvance(text);
    if (natural > maxWidth * scale)
        font.setStretch(qFloor(100 * maxWidth * scale / natural));
    const QFontMetricsF metrics(font);
    const QRectF ink = metrics.tightBoundingRect(QStringLiteral("ア"));
    const QPointF at = toDevice.map(centre);
    p.save();
    p.resetTransform();
    p.setFont(font);
    p.setPen(colour);
    p.drawText(
        QPointF(qRound(at.x() - metrics.horizontalAdvance(text) / 2), qRound(at.y() - (ink.top() + ink.bottom()) / 2)),
        text);
    p.restore();
}

// ------------------------------------------------------------ button face --

enum class Face { Flat, Raised, Sunken, SunkenChecked };

struct BevelColours {
    QColor light, midLight, shadow, dark;
};

BevelColours bevelColours()
{
    return {rgb(0xFFFFFD), rgb(0xFAF9F0), rgb(0xA8AE94), rgb(0x56604A)};
}

void paintBevel(QPainter& p, const QRect& r, bool raised)
{
    const BevelColours c = bevelColours();
    const QColor outerTopLeft = raised ? c.light : c.shadow;
    const QColor innerTopLeft = raised ? c.midLight : c.dark;
    const QColor outerBottomRight = raised ? c.dark : c.light;
    const QColor innerBottomRight = raised ? c.shadow : c.midLight;
    const int l = r.left(), t = r.top(), w = r.width(), h = r.height();
    p.fillRect(QRect(l, t + h - 1, w, 1), outerBottomRight);
    p.fillRect(QRect(l + w - 1, t, 1, h), outerBottomRight);
    p.fillRect(QRect(l, t, w - 1, 1), outerTopLeft);
    p.fillRect(QRect(l, t, 1, h - 1), outerTopLeft);
    p.fillRect(QRect(l + 1, t + h - 2, w - 2, 1), innerBottomRight);
    p.fillRect(QRect(l + w - 2, t + 1, 1, h - 2), innerBottomRight);
    p.fillRect(QRect(l + 1, t + 1, w - 3, 1), innerTopLeft);
    p.fillRect(QRect(l + 1, t + 1, 1, h - 3), innerTopLeft);
}

// A one-logical-pixel checker: the traditional mark of a latched choice.
void paintChecker(QPainter& p, const QRect& r)
{
    p.fillRect(r, rgb(0xFFFFFB));
    const QColor dark = rgb(0xDCDFC8);
    for (int y = r.top(); y <= r.bottom(); ++y) {
        for (int x = r.left() + ((y + r.left()) & 1); x <= r.right(); x += 2)
            p.fillRect(QRect(x, y, 1, 1), dark);
    }
}

void paintFace(QPainter& p, const QRect& r, Face face)
{
    const QColor panel = ArtPalette::panelBackground();
    p.fillRect(r, face == Face::Raised ? panel.lighter(103) : panel);
    if (face == Face::SunkenChecked)
        paintChecker(p, r.adjusted(2, 2, -2, -2));
    if (face == Face::Raised)
        paintBevel(p, r, true);
    else if (face != Face::Flat)
        paintBevel(p, r, false);
}

// -------------------------------------------------------------- seasons --

void paintCherryTree(QPainter& p)
{
    p.setPen(Qt::NoPen);
    p.setBrush(rgb(0xA5CC74));
    p.drawEllipse(QPointF(16, 28.8), 10, 1.8);
    QPen bark(rgb(0x7A4E2D), 3.0);
    bark.setCapStyle(Qt::RoundCap);
    p.setPen(bark);
    p.drawLine(QPointF(16, 28.5), QPointF(16, 18));
    bark.setWidthF(1.6);
    p.setPen(bark);
    p.drawLine(QPointF(16, 21), QPointF(10, 15));
    p.drawLine(QPointF(16, 20), QPointF(22, 14));

    struct Puff {
        qreal x, y, r;
    };
    const Puff puffs[] = {{9.5, 12.5, 5.5}, {16, 8.5, 6.3}, {22.5, 12.5, 5.5},
                          {12, 17, 4.5},    {20, 17, 4.5},  {16, 14, 5}};
    QPainterPath canopy;
    for (const Puff& puff : puffs) {
        QPainterPath disc;
        disc.addEllipse(QPointF(puff.x, puff.y), puff.r, puff.r);
        canopy = canopy.united(disc);
    }
    QRadialGradient bloom(QPointF(13, 8), 15);
    bloom.setColorAt(0, rgb(0xFFEAF1));
    bloom.setColorAt(0.6, rgb(0xF8B4CC));
    bloom.setColorAt(1, rgb(0xE889AD));
    p.setPen(outline(rgb(0xC05A84), 0.9));
    p.setBrush(bloom);
    p.drawPath(canopy);

    const QPointF blossoms[] = {{8, 11},    {12.5, 7}, {18, 5.5},    {21.5, 10}, {25, 14},
                                {14, 12.5}, {19, 14},  {10.5, 17.5}, {16, 18.5}, {21.5, 18}};
    for (QPointF b : blossoms) {
        p.setPen(Qt::NoPen);
        p.setBrush(rgb(0xFFFFFF));
        p.drawEllipse(b, 1.25, 1.25);
        p.setBrush(rgb(0xD9487E));
        p.drawEllipse(b, 0.5, 0.5);
    }
}

void paintSunflower(QPainter& p)
{
    paintStraightStem(p, QPointF(16, 30), QPointF(16, 18), 2.2);
    paintLeaf(p, QPointF(15.5, 26), -58, 9, 5.5);
    paintLeaf(p, QPointF(16.5, 23), 60, 8, 5);
    const QPointF centre(16, 11.5);
    paintRing(p, centre, 16, 0, roundPetal(9.8, 3.8, 1.0), along(9.8, rgb(0xF0A000), rgb(0xFFE766)),
              outline(rgb(0xB87800), 0.6));
    paintDisc(p, centre, 5.2, glossy(centre, 5.2, rgb(0x9A6430), rgb(0x4A2810)), outline(rgb(0x3A1E08), 0.7));
    paintDots(p, centre, 3.2, 10, 0.5, rgb(0xC08848));
    paintDots(p, centre, 1.6, 5, 0.45, rgb(0xC08848));
}

void paintGinkgoLeaf(QPainter& p)
{
    p.save();
    p.translate(16, 16);
    p.rotate(-10);
    p.translate(-16, -16);
    const QPointF apex(16, 21.5);
    const qreal r = 14.6;
    const QRectF circle(apex.x() - r, apex.y() - r, 2 * r, 2 * r);
    auto rim = [&](qreal degrees, qreal radius) {
        const qreal a = qDegreesToRadians(degrees);
        return apex + QPointF(qCos(a), -qSin(a)) * radius;
    };
    QPainterPath stalk(apex);
    stalk.cubicTo(QPointF(16.5, 25), QPointF(17.5, 28), QPointF(19.5, 30.5));
    QPen stalkPen(rgb(0xB08618), 1.5);
    stalkPen.setCapStyle(Qt::RoundCap);
    p.setPen(stalkPen);
    p.drawPath(stalk);

    QPainterPath fan(apex);
    fan.cubicTo(QPointF(20, 19.5), QPointF(25, 17.5), rim(30, r));
    fan.arcTo(circle, 30, 56);
    fan.lineTo(rim(90, r * 0.68));
    fan.lineTo(rim(94, r));
    fan.arcTo(circle, 94, 56);
    fan.cubicTo(QPointF(7, 17.5), QPointF(12, 19.5), apex);
    QLinearGradient gold(16, 5, 16, 21);
    gold.setColorAt(0, rgb(0xFFE95E));
    gold.setColorAt(1, rgb(0xF0AE0A));
    p.setPen(outline(rgb(0xA87A00), 0.9));
    p.setBrush(gold);
    p.drawPath(fan);
    p.setPen(QPen(rgb(0xD49A00, 170), 0.5));
    for (int d = 38; d <= 142; d += 13)
        p.drawLine(apex, rim(d, r * 0.9));
    p.restore();
}

void paintSeason(QPainter& p, int index)
{
    switch (index) {
    case 0: paintCherryTree(p); break;
    case 1: paintSunflower(p); break;
    case 2: paintGinkgoLeaf(p); break;
    default: break;
    }
}

// --------------------------------------------------------------- colours --

void paintColourDisc(QPainter& p, int index)
{
    struct Swatch {
        unsigned light, dark, rim;
    };
    const Swatch swatches[] = {{0xFFFFFF, 0xE2E2DA, 0x86867C},
                               {0xFFF486, 0xF2BE00, 0xA07C00},
                               {0xFFB8DC, 0xD63A8C, 0x8E1E5C},
                               {0xC4B0F6, 0x6446C4, 0x362480},
                               {0xB8824C, 0x6A4020, 0x3E2410}};
    if (index < 0 || index >= 5)
        return;
    const Swatch s = swatches[index];
    const QPointF centre(16, 16);
    paintDisc(p, centre, 11, glossy(centre, 11, rgb(s.light), rgb(s.dark)), outline(rgb(s.rim), 1.0));
    if (index == 4)
        paintDisc(p, centre, 4.6, glossy(centre, 4.6, rgb(0x9ADB62), rgb(0x2F8A2A)), outline(rgb(0x1F5A1A), 0.8));
}

// ----------------------------------------------------------- petal forms --

void paintCrossFlower(QPainter& p)
{
    const QPointF c(16, 16);
    paintRing(p, c, 4, 0, roundPetal(12.5, 9.5, 1.2), along(12.5, rgb(0xF2C000), rgb(0xFFF27E)),
              outline(rgb(0xA88200), 0.8));
    paintDisc(p, c, 2.4, rgb(0x8CC43C), outline(rgb(0x4E7A1A), 0.6));
    paintDots(p, c, 3.3, 4, 0.9, rgb(0xE07800));
}

void paintFivePetals(QPainter& p)
{
    const QPointF c(16, 16.5);
    paintRing(p, c, 5, 0, roundPetal(12.5, 10.5, 1.2, 1.6), along(12.5, rgb(0xF07AA6), rgb(0xFFE0EC)),
              outline(rgb(0xB8426E), 0.8));
    paintDisc(p, c, 2.0, rgb(0xB8D84A), Qt::NoPen);
    paintDots(p, c, 3.4, 8, 0.65, rgb(0xE8A000));
}

void paintManyPetals(QPainter& p)
{
    const QPointF c(16, 16);
    paintRing(p, c, 12, 0, roundPetal(13, 5.6, 0.6), along(13, rgb(0x7486DA), rgb(0xC4CEFA)),
              outline(rgb(0x44509E), 0.6));
    paintRing(p, c, 10, 18, roundPetal(8.5, 4.6, 0.6), along(8.5, rgb(0x9AA8EE), rgb(0xE6EAFF)),
              outline(rgb(0x5A66B4), 0.55));
    paintDisc(p, c, 2.6, glossy(c, 2.6, rgb(0xFFEC6A), rgb(0xE0A000)), outline(rgb(0xA07000), 0.5));
}

void paintViolet(QPainter& p)
{
    const QPointF c(13, 14.5);
    const QColor rim = rgb(0x3C2680);
    // the spur juts out behind the flower, the stalk arches into it
    QPainterPath spur;
    spur.moveTo(16.5, 11);
    spur.quadTo(21.5, 9.4, 24.6, 9.5);
    spur.cubicTo(26.2, 9.6, 26.2, 11.8, 24.6, 11.9);
    spur.quadTo(21, 12.4, 16.5, 15);
    p.setPen(outline(rim, 0.8));
    p.setBrush(rgb(0x8466D8));
    p.drawPath(spur);
    QPainterPath stalk(QPointF(25.5, 30));
    stalk.cubicTo(QPointF(26, 22), QPointF(25.5, 14), QPointF(21.5, 11.5));
    paintStem(p, stalk, 1.4);

    const QBrush upper = along(10.5, rgb(0x5E3EB8), rgb(0x9C7EEA));
    const QBrush lower = along(11.5, rgb(0x6446C4), rgb(0xA68AF0));
    auto petal = [&](qreal angle, qreal length, qreal width, const QBrush& brush) {
        drawRotated(p, c, angle, [&](QPainter& q) {
            q.setPen(outline(rim, 0.8));
            q.setBrush(brush);
            q.drawPath(roundPetal(length, width, 2.0));
        });
    };
    petal(-24, 10.5, 7.5, upper);
    petal(24, 10.5, 7.5, upper);
    petal(-100, 8.8, 6.4, lower);
    petal(100, 8.8, 6.4, lower);
    petal(180, 11.5, 9.5, lower);
    p.setPen(QPen(rgb(0x2A1260), 0.6));
    for (qreal dx : {-1.8, 0.0, 1.8})
        p.drawLine(c + QPointF(dx * 0.4, 2), c + QPointF(dx, 7.5));
    p.setPen(Qt::NoPen);
    p.setBrush(rgb(0xFFFFFF));
    p.drawEllipse(c + QPointF(0, 1), 2.2, 1.8);
    p.setBrush(rgb(0xB8D040));
    p.drawEllipse(c + QPointF(0, 0.8), 0.9, 0.9);
}

void paintLippedFlower(QPainter& p)
{
    p.save();
    p.translate(7, 24);
    p.rotate(-30);
    p.scale(0.94, 0.94);
    QPainterPath stalk(QPointF(-5, 2.5));
    stalk.quadTo(QPointF(-2.5, 0.5), QPointF(0, 0));
    paintStem(p, stalk, 1.4);
    // tube, hood and lip in one outline, so the flower reads as one piece
    QPainterPath corolla;
    corolla.moveTo(2.5, -1.4);
    corolla.cubicTo(6, -1.6, 9, -2.2, 11, -3.2);
    corolla.cubicTo(11.5, -9.5, 18.5, -12, 22, -7.5);
    corolla.cubicTo(23.2, -5.5, 22.6, -3.2, 21, -2.2);
    corolla.cubicTo(19.5, -1.6, 17.5, -1.0, 16.5, -0.2);
    corolla.cubicTo(19, 0.2, 22.5, 2.0, 23.5, 5.0);
    corolla.cubicTo(24.2, 8.0, 21, 9.5, 18.5, 8.0);
    corolla.cubicTo(16.5, 6.8, 14, 3.8, 11.5, 2.6);
    corolla.cubicTo(8.5, 1.8, 5.5, 1.5, 2.5, 1.4);
    corolla.closeSubpath();
    QLinearGradient body(2, 0, 22, -4);
    body.setColorAt(0, rgb(0xF6D2F4));
    body.setColorAt(0.55, rgb(0xE07ADC));
    body.setColorAt(1, rgb(0xB83CB6));
    p.setPen(outline(rgb(0x74187A), 0.8));
    p.setBrush(body);
    p.drawPath(corolla);
    p.setPen(Qt::NoPen);
    p.setBrush(rgb(0x5A0E60));
    p.drawEllipse(QPointF(17.2, 0.4), 1.3, 0.9);
    p.setBrush(rgb(0x8A2290));
    for (QPointF spot : {QPointF(19.6, 3.4), QPointF(21.6, 5.2), QPointF(19.8, 6.4)})
        p.drawEllipse(spot, 0.6, 0.6);
    // the calyx clasps the base of the tube
    QPainterPath calyx;
    calyx.moveTo(-0.5, -1.6);
    calyx.lineTo(4.5, -2.6);
    calyx.lineTo(7.2, -3.6);
    calyx.lineTo(6, -1.1);
    calyx.lineTo(7.6, 0.3);
    calyx.lineTo(6, 1.6);
    calyx.lineTo(7.2, 3.6);
    calyx.lineTo(4.5, 2.6);
    calyx.lineTo(-0.5, 1.6);
    calyx.closeSubpath();
    p.setPen(outline(rgb(0x2E6A22), 0.7));
    p.setBrush(rgb(0x6CB046));
    p.drawPath(calyx);
    p.restore();
}

void paintPeaFlower(QPainter& p)
{
    const QColor rim = rgb(0x8C1E5A);
    QPainterPath stalk(QPointF(5, 29.5));
    stalk.cubicTo(QPointF(5.5, 25), QPointF(7, 22), QPointF(9, 20));
    paintStem(p, stalk, 1.4);
    QPainterPath banner;
    banner.moveTo(11.5, 19);
    banner.cubicTo(5.5, 15, 5.5, 3.5, 12.5, 3);
    banner.cubicTo(19, 2.5, 21.5, 8.5, 19.5, 13);
    banner.cubicTo(17.5, 16, 14.5, 17, 12.5, 19.5);
    QLinearGradient flag(8, 4, 16, 18);
    flag.setColorAt(0, rgb(0xF59ACB));
    flag.setColorAt(1, rgb(0xC8387F));
    p.setPen(outline(rim, 0.8));
    p.setBrush(flag);
    p.drawPath(banner);
    p.setPen(QPen(rgb(0x9A2260, 160), 0.5));
    for (QPointF tip : {QPointF(9, 8), QPointF(12.5, 5.5), QPointF(16.5, 7.5)})
        p.drawLine(QPointF(12.5, 17), tip);

    QPainterPath wing;
    wing.moveTo(11, 16.5);
    wing.cubicTo(15, 12.2, 23, 11.8, 25.8, 15.5);
    wing.cubicTo(26.8, 18.2, 22, 20.2, 17, 19.6);
    wing.cubicTo(14, 19.6, 12, 19.2, 11, 18.6);
    p.setPen(outline(rim, 0.8));
    p.setBrush(along(-8, rgb(0xE066A8), rgb(0xF7A6D0)));
    QLinearGradient wingShade(0, 12, 0, 20);
    wingShade.setColorAt(0, rgb(0xF7A8D2));
    wingShade.setColorAt(1, rgb(0xDC5AA0));
    p.setBrush(wingShade);
    p.drawPath(wing);

    QPainterPath keel;
    keel.moveTo(11, 19);
    keel.cubicTo(15, 21.6, 22.5, 22.4, 27.4, 18.2);
    keel.cubicTo(27, 21.8, 23, 24.8, 18, 24.3);
    keel.cubicTo(14, 23.8, 12, 21.8, 11, 20.4);
    p.setBrush(rgb(0xFAD2E6));
    p.drawPath(keel);

    QPainterPath calyx;
    calyx.moveTo(7.5, 20.5);
    calyx.cubicTo(8, 18, 10.5, 16.8, 12.8, 17);
    calyx.lineTo(12.2, 18.4);
    calyx.lineTo(13.4, 19.6);
    calyx.lineTo(12.2, 20.4);
    calyx.lineTo(12.8, 22);
    calyx.cubicTo(10.5, 22.5, 8.5, 22.2, 7.5, 20.5);
    p.setPen(outline(rgb(0x2E6A22), 0.7));
    p.setBrush(rgb(0x6CB046));
    p.drawPath(calyx);
}

void paintDandelion(QPainter& p)
{
    const QPointF c(16, 16);
    const QPen pen = outline(rgb(0xB88000), 0.45);
    paintRing(p, c, 22, 0, strap(13.2, 1.2, 2.8), along(13.2, rgb(0xF8C000), rgb(0xFFE040)), pen);
    paintRing(p, c, 16, 8, strap(9.6, 1.2, 2.6), along(9.6, rgb(0xF2B000), rgb(0xFFD61A)), pen);
    paintRing(p, c, 10, 4, strap(6, 1.0, 2.4), along(6, rgb(0xE89E00), rgb(0xFFC800)), pen);
    paintDisc(p, c, 1.6, rgb(0xE08C00), Qt::NoPen);
}

void paintDaisy(QPainter& p)
{
    const QPointF c(16, 16);
    paintRing(p, c, 20, 0, roundPetal(12.8, 2.9, 0.8), along(12.8, rgb(0xE8E8E0), rgb(0xFFFFFF)),
              outline(rgb(0x8A8A80), 0.55));
    paintDisc(p, c, 4.6, glossy(c, 4.6, rgb(0xFFEA60), rgb(0xE8A400)), outline(rgb(0xA87000), 0.7));
    paintDots(p, c, 2.8, 9, 0.45, rgb(0xC88000));
}

void paintGrassSpike(QPainter& p)
{
    QPainterPath blade(QPointF(14.8, 27));
    blade.cubicTo(QPointF(18, 22), QPointF(22, 18.5), QPointF(27, 16));
    blade.cubicTo(QPointF(22.5, 20), QPointF(19, 23.5), QPointF(15.4, 29));
    p.setPen(outline(rgb(0x3A7424), 0.6));
    p.setBrush(rgb(0x7CBE4E));
    p.drawPath(blade);
    QPainterPath culm(QPointF(13.5, 30.5));
    culm.cubicTo(QPointF(14, 22), QPointF(15.5, 13), QPointF(17.6, 5.2));
    paintStem(p, culm, 1.3);

    const QBrush husk = along(6.2, rgb(0x8AAE3E), rgb(0xD8C870));
    const QPen rim = outline(rgb(0x5E6A20), 0.55);
    for (int i = 0; i < 9; ++i) {
        const qreal t = 0.32 + i * 0.075;
        const QPointF at = culm.pointAtPercent(t);
        const bool left = i % 2 == 0;
        drawRotated(p, at, left ? -32 : 32, [&](QPainter& q) {
            q.setPen(QPen(rgb(0x9A8A40), 0.45));
            q.drawLine(QPointF(0, -5.8), QPointF(0, -8.8));
            q.setPen(rim);
            q.setBrush(husk);
            q.drawPath(pointedPetal(6.2, 3.6));
        });
    }
    drawRotated(p, culm.pointAtPercent(1.0), 12, [&](QPainter& q) {
        q.setPen(rim);
        q.setBrush(husk);
        q.drawPath(pointedPetal(3.4, 2.8));
    });
}

// "others": a few small dots before the kanji, the way a list trails off
void paintOthers(QPainter& p, const QColor& ink)
{
    p.setPen(Qt::NoPen);
    const QColor dots[] = {rgb(0xE8709C), rgb(0xF0B800), rgb(0x6A80D8)};
    for (int i = 0; i < 3; ++i) {
        p.setBrush(dots[i]);
        p.drawEllipse(QPointF(5.2 + i * 3.6, 21.2), 1.5, 1.5);
    }
    paintCentredText(p, QStringLiteral("他"), QPointF(21.5, 15.5), 15, 16, ink);
}

void paintPetalForm(QPainter& p, int index)
{
    switch (index) {
    case 0: paintCrossFlower(p); break;
    case 1: paintFivePetals(p); break;
    case 2: paintManyPetals(p); break;
    case 3: paintViolet(p); break;
    case 4: paintLippedFlower(p); break;
    case 5: paintPeaFlower(p); break;
    case 6: paintDandelion(p); break;
    case 7: paintDaisy(p); break;
    case 8: paintGrassSpike(p); break;
    case 9: paintOthers(p, rgb(0x2E3A28)); break;
    default: break;
    }
}

// ------------------------------------------------------ leaf arrangement --

void paintBud(QPainter& p, QPointF tip)
{
    paintLeaf(p, tip + QPointF(0, 1.5), -18, 4, 2.6);
    paintLeaf(p, tip + QPointF(0, 1.5), 18, 4, 2.6);
}

void paintOpposite(QPainter& p)
{
    paintStraightStem(p, QPointF(16, 30), QPointF(16, 4), 1.6);
    const struct {
        qreal y, length;
    } nodes[] = {{25, 10.5}, {17, 9.5}, {9.5, 7}};
    for (const auto& node : nodes) {
        paintLeaf(p, QPointF(16, node.y), -62, node.length, node.length * 0.52);
        paintLeaf(p, QPointF(16, node.y), 62, node.length, node.length * 0.52);
    }
    paintBud(p, QPointF(16, 3.5));
}

void paintAlternate(QPainter& p)
{
    paintStraightStem(p, QPointF(16, 30), QPointF(16, 4), 1.6);
    const struct {
        qreal y, length;
        bool left;
    } nodes[] = {{26, 10.5, true}, {20, 10, false}, {14, 9, true}, {8.5, 7.5, false}};
    for (const auto& node : nodes)
        paintLeaf(p, QPointF(16, node.y), node.left ? -60 : 60, node.length, node.length * 0.52);
    paintBud(p, QPointF(16, 3.5));
}

void paintWhorl(QPainter& p, qreal y, qreal scale)
{
    const QPointF at(16, y);
    // the leaves behind the stem are drawn first and shortened by perspective
    paintLeaf(p, at, -48, 6.5 * scale, 3.2 * scale);
    paintLeaf(p, at, 48, 6.5 * scale, 3.2 * scale);
}

void paintWhorlFront(QPainter& p, qreal y, qreal scale)
{
    const QPointF at(16, y);
    paintLeaf(p, at, -96, 10 * scale, 4 * scale);
    paintLeaf(p, at, 96, 10 * scale, 4 * scale);
    paintLeaf(p, at, -140, 7.5 * scale, 3.6 * scale);
    paintLeaf(p, at, 140, 7.5 * scale, 3.6 * scale);
}

void paintWhorled(QPainter& p)
{
    paintWhorl(p, 22, 1.0);
    paintWhorl(p, 11.5, 0.85);
    paintStraightStem(p, QPointF(16, 30), QPointF(16, 4), 1.6);
    paintWhorlFront(p, 22, 1.0);
    paintWhorlFront(p, 11.5, 0.85);
    paintBud(p, QPointF(16, 3.5));
}

void paintRosette(QPainter& p)
{
    p.setPen(Qt::NoPen);
    QLinearGradient soil(0, 27, 0, 31);
    soil.setColorAt(0, rgb(0xB08858));
    soil.setColorAt(1, rgb(0x8A6438));
    p.setBrush(soil);
    p.drawRoundedRect(QRectF(3, 27.2, 26, 3.2), 1.6, 1.6);
    const QPointF base(16, 26.5);
    auto flatLeaves = [&](std::initializer_list<qreal> angles) {
        for (qreal a : angles) {
            p.save();
            p.translate(base);
            p.scale(1.0, 0.42);
            paintLeaf(p, QPointF(0, 0), a, 13, 6);
            p.restore();
        }
    };
    flatLeaves({-30, 30, -75, 75});
    paintStraightStem(p, base, QPointF(16, 9), 1.3);
    flatLeaves({-110, 110, -150, 150, 180});
    const QPointF flower(16, 7.5);
    paintRing(p, flower, 5, 0, roundPetal(5, 4.4, 0.6), along(5, rgb(0xF0E8F4), rgb(0xFFFFFF)),
              outline(rgb(0x8A7A90), 0.55));
    paintDisc(p, flower, 1.4, rgb(0xF2C000), Qt::NoPen);
}

void paintLeafArrangement(QPainter& p, int index)
{
    switch (index) {
    case 0: paintOpposite(p); break;
    case 1: paintAlternate(p); break;
    case 2: paintWhorled(p); break;
    case 3: paintRosette(p); break;
    default: break;
    }
}

// --------------------------------------------------------------- families --

struct Family {
    const char* lines;  // '/' separates the lines
    unsigned tint;
};

const Family kFamilies[] = {
    {"アブ/ラナ", 0xF5D547}, {"イグサ", 0xAFC070},        {"イネ", 0xE2C070}, {"カヤツリ/グサ", 0x82C49E},
    {"キク", 0xF4AC50},      {"ゴマノ/ハグサ", 0x96A8EA}, {"シソ", 0xBC94E4}, {"タデ", 0xF0909E},
    {"ナデ/シコ", 0xF6ACD2}, {"ヒユ", 0xD8708C},          {"マメ", 0xA2D272}, {"", 0xC0C0B4},
};

QColor mix(const QColor& a, const QColor& b, qreal t)
{
    return QColor::fromRgbF(a.redF() + (b.redF() - a.redF()) * t, a.greenF() + (b.greenF() - a.greenF()) * t,
                            a.blueF() + (b.blueF() - a.blueF()) * t);
}

void paintFamilyPlate(QPainter& p, unsigned tint)
{
    const QColor base = rgb(tint);
    const QColor paper = rgb(0xFFFFFA);
    // translucent, so the checker of a chosen button still shows through
    QLinearGradient wash(0, 3, 0, 29);
    QColor top = mix(base, paper, 0.55);
    QColor bottom = mix(base, paper, 0.1);
    top.setAlpha(150);
    bottom.setAlpha(150);
    wash.setColorAt(0, top);
    wash.setColorAt(1, bottom);
    p.setPen(QPen(mix(base, rgb(0x404030), 0.35), 0.8));
    p.setBrush(wash);
    p.drawRoundedRect(QRectF(2.9, 2.9, 26.2, 26.2), 3.5, 3.5);
}

// The largest size from `preferred` down to 9 px at which no line needs
// squeezing below 85 %; narrower glyphs than that stop reading as katakana.
int familyTextSize(const QStringList& lines, int preferred, qreal maxWidth)
{
    int size = preferred;
    for (; size > 9; --size) {
        const QFontMetricsF metrics(artFont(size));
        bool fits = true;
        for (const QString& line : lines)
            fits = fits && metrics.horizontalAdvance(line) * 0.85 <= maxWidth;
        if (fits)
            break;
    }
    return size;
}

void paintFamily(QPainter& p, int index)
{
    if (index < 0 || index >= int(std::size(kFamilies)))
        return;
    const Family& family = kFamilies[index];
    paintFamilyPlate(p, family.tint);
    const QColor ink = rgb(0x1A2014);
    if (index == 11) {
        paintOthers(p, ink);
        return;
    }
    const QStringList lines = QString::fromUtf8(family.lines).split(u'/');
    const qreal maxWidth = 24.5;
    const int size = familyTextSize(lines, lines.size() == 1 ? 12 : 10, maxWidth);
    const qreal lineHeight = size + 0.5;
    const qreal top = 16 - lineHeight * (lines.size() - 1) / 2;
    for (int i = 0; i < lines.size(); ++i)
        paintCentredText(p, lines[i], QPointF(16, top + i * lineHeight), size, maxWidth, ink);
}

void paintMotif(QPainter& p, int category, int index)
{
    switch (category) {
    case 0: paintSeason(p, index); break;
    case 1: paintColourDisc(p, index); break;
    case 2: paintPetalForm(p, index); break;
    case 3: paintLeafArrangement(p, index); break;
    case 4: paintFamily(p, index); break;
    default: break;
    }
}

// ----------------------------------------------------------- commands --

void paintCard(QPainter& p, const QRectF& r, qreal angle, bool picture)
{
    drawRotated(p, r.center(), angle, [&](QPainter& q) {
        const QRectF card(-r.width() / 2, -r.height() / 2, r.width(), r.height());
        q.setPen(outline(rgb(0x5A5E50), 0.8));
        q.setBrush(rgb(0xFFFFFA));
        q.drawRoundedRect(card, 1.2, 1.2);
        if (!picture)
            return;
        const QRectF photo = card.adjusted(1.8, 1.8, -1.8, -1.8);
        QLinearGradient sky(photo.topLeft(), photo.bottomLeft());
        sky.setColorAt(0, rgb(0xCDE8F6));
        sky.setColorAt(1, rgb(0xEAF5E0));
        q.setPen(Qt::NoPen);
        q.setBrush(sky);
        q.drawRect(photo);
        q.setBrush(rgb(0x7CBE4E));
        q.drawRect(QRectF(photo.left(), photo.bottom() - 2.4, photo.width(), 2.4));
        q.setBrush(rgb(0xF06A9A));
        q.drawEllipse(QPointF(photo.center().x() - 1, photo.center().y()), 1.5, 1.5);
        q.setBrush(rgb(0xFFD000));
        q.drawEllipse(QPointF(photo.center().x() - 1, photo.center().y()), 0.6, 0.6);
    });
}

void paintCardStack(QPainter& p, QPointF topLeft)
{
    paintCard(p, QRectF(topLeft, QSizeF(14, 11)), -8, false);
    paintCard(p, QRectF(topLeft + QPointF(2, 3), QSizeF(14, 11)), 0, false);
    paintCard(p, QRectF(topLeft + QPointF(4, 6), QSizeF(14, 11)), 6, true);
}

// A fat arrow pointing right, from x0 to x1 along y.
void paintArrow(QPainter& p, qreal x0, qreal x1, qreal y, const QColor& light, const QColor& dark)
{
    QPainterPath arrow;
    arrow.moveTo(x0, y - 2.2);
    arrow.lineTo(x1 - 6, y - 2.2);
    arrow.lineTo(x1 - 6, y - 6);
    arrow.lineTo(x1, y);
    arrow.lineTo(x1 - 6, y + 6);
    arrow.lineTo(x1 - 6, y + 2.2);
    arrow.lineTo(x0, y + 2.2);
    arrow.closeSubpath();
    QLinearGradient shade(0, y - 6, 0, y + 6);
    shade.setColorAt(0, light);
    shade.setColorAt(1, dark);
    p.setPen(outline(dark.darker(150), 0.9));
    p.setBrush(shade);
    p.drawPath(arrow);
}

QLinearGradient redShade(qreal top, qreal bottom)
{
    QLinearGradient shade(0, top, 0, bottom);
    shade.setColorAt(0, rgb(0xFF7A68));
    shade.setColorAt(1, rgb(0xCC1A10));
    return shade;
}

void paintPlay(QPainter& p)
{
    QPainterPath triangle;
    triangle.moveTo(18, 7);
    triangle.lineTo(33, 16);
    triangle.lineTo(18, 25);
    triangle.closeSubpath();
    p.setPen(outline(rgb(0x7E0C06), 1.0));
    p.setBrush(redShade(7, 25));
    p.drawPath(triangle);
}

void paintPause(QPainter& p)
{
    p.setPen(outline(rgb(0x7E0C06), 1.0));
    p.setBrush(redShade(8, 24));
    p.drawRoundedRect(QRectF(16.5, 8, 5.5, 16), 1.2, 1.2);
    p.drawRoundedRect(QRectF(26, 8, 5.5, 16), 1.2, 1.2);
}

void paintAllData(QPainter& p)
{
    paintCardStack(p, QPointF(23, 5.5));
    paintArrow(p, 5, 20.5, 16.5, rgb(0x8ED86A), rgb(0x2E8A2A));
}

void paintClear(QPainter& p)
{
    paintCardStack(p, QPointF(5, 5.5));
    paintArrow(p, 26.5, 43, 16.5, rgb(0xFFC070), rgb(0xD86A10));
}

void paintQuitEmblem(QPainter& p)
{
    const QPointF c(24, 16);
    p.setPen(outline(rgb(0x5A4A10), 0.9));
    QLinearGradient gold(0, 4, 0, 28);
    gold.setColorAt(0, rgb(0xFFF0A0));
    gold.setColorAt(1, rgb(0xC89A28));
    p.setBrush(gold);
    p.drawEllipse(c, 15, 11.5);
    QRadialGradient green(c + QPointF(-4, -4), 15);
    green.setColorAt(0, rgb(0x7CC860));
    green.setColorAt(1, rgb(0x24702E));
    p.setPen(outline(rgb(0x1E4E1E), 0.6));
    p.setBrush(green);
    p.drawEllipse(c, 12.8, 9.3);
    paintRing(p, c, 5, 0, roundPetal(6.2, 5.4, 0.8, 0.9), along(6.2, rgb(0xF6D6E4), rgb(0xFFFFFF)),
              outline(rgb(0xA0607A), 0.5));
    paintDisc(p, c, 1.7, rgb(0xFFC800), outline(rgb(0xB08000), 0.4));
}

void paintCommand(QPainter& p, ButtonArt::Command command)
{
    switch (command) {
    case ButtonArt::Command::Play: paintPlay(p); break;
    case ButtonArt::Command::Pause: paintPause(p); break;
    case ButtonArt::Command::AllData: paintAllData(p); break;
    case ButtonArt::Command::Clear: paintClear(p); break;
    case ButtonArt::Command::Quit: paintQuitEmblem(p); break;
    }
}

// ----------------------------------------------------------------- hands --
// Cursor outlines run along pixel centres (x.5) so the 1 px black line lands
// on whole pixels at every scale.

QPainterPath roundedBox(qreal left, qreal top, qreal right, qreal bottom, qreal radius)
{
    QPainterPath path;
    path.addRoundedRect(QRectF(QPointF(left, top), QPointF(right, bottom)), radius, radius);
    return path;
}

QPainterPath tiltedBox(QPointF centre, qreal width, qreal height, qreal radius, qreal angle)
{
    QPainterPath box;
    box.addRoundedRect(QRectF(-width / 2, -height / 2, width, height), radius, radius);
    QTransform t;
    t.translate(centre.x(), centre.y());
    t.rotate(angle);
    return t.map(box);
}

void paintHand(QPainter& p, const QPainterPath& hand, const QList<QLineF>& creases)
{
    QPen ink(Qt::black, 1.0);
    ink.setJoinStyle(Qt::RoundJoin);
    ink.setCapStyle(Qt::FlatCap);
    p.setPen(ink);
    p.setBrush(Qt::white);
    p.drawPath(hand.simplified());
    for (const QLineF& line : creases)
        p.drawLine(line);
}

void paintPointingHand(QPainter& p)
{
    QPainterPath hand = roundedBox(9.5, 1.5, 15.5, 17, 3);
    hand = hand.united(roundedBox(15.5, 9.5, 19.5, 18, 2));
    hand = hand.united(roundedBox(19.5, 10.5, 23.5, 19, 2));
    hand = hand.united(roundedBox(23.5, 12.5, 27.5, 20, 2));
    hand = hand.united(tiltedBox(QPointF(7, 18.5), 10, 5, 2.5, 38));
    QPainterPath palm;
    palm.moveTo(9.5, 15);
    palm.lineTo(9.5, 22);
    palm.cubicTo(9.5, 25, 11.5, 27.5, 13.5, 28.5);
    palm.lineTo(13.5, 30.5);
    palm.lineTo(25.5, 30.5);
    palm.lineTo(25.5, 27.5);
    palm.cubicTo(27, 26, 27.5, 24, 27.5, 21);
    palm.lineTo(27.5, 16);
    palm.closeSubpath();
    hand = hand.united(palm);
    paintHand(p, hand,
              {QLineF(15.5, 11.5, 15.5, 16), QLineF(19.5, 12, 19.5, 16.5), QLineF(23.5, 14, 23.5, 17.5),
               QLineF(13.5, 27.5, 25.5, 27.5)});
}

void paintOpenHand(QPainter& p)
{
    QPainterPath hand = roundedBox(8.5, 5.5, 12.5, 18, 2);
    hand = hand.united(roundedBox(12.5, 3.5, 16.5, 18, 2));
    hand = hand.united(roundedBox(16.5, 4.5, 20.5, 18, 2));
    hand = hand.united(roundedBox(20.5, 7.5, 24.5, 18, 2));
    hand = hand.united(tiltedBox(QPointF(6.5, 19), 10, 4.6, 2.3, 40));
    hand = hand.united(roundedBox(8.5, 14.5, 24.5, 29.5, 5));
    paintHand(p, hand, {QLineF(12.5, 7.5, 12.5, 16), QLineF(16.5, 6.5, 16.5, 16), QLineF(20.5, 9.5, 20.5, 16)});
}

void paintGrabbingHand(QPainter& p)
{
    QPainterPath hand = roundedBox(9.5, 9.5, 13.5, 16, 2);
    hand = hand.united(roundedBox(13.5, 8.5, 17.5, 16, 2));
    hand = hand.united(roundedBox(17.5, 8.5, 21.5, 16, 2));
    hand = hand.united(roundedBox(21.5, 9.5, 25.5, 16, 2));
    hand = hand.united(roundedBox(5.5, 13.5, 10.5, 22.5, 2.5));
    hand = hand.united(roundedBox(8.5, 12.5, 25.5, 28.5, 5));
    paintHand(p, hand,
              {QLineF(13.5, 11.5, 13.5, 14), QLineF(17.5, 10.5, 17.5, 14), QLineF(21.5, 11.5, 21.5, 14),
               QLineF(10.5, 15.5, 10.5, 21.5)});
}

// --------------------------------------------------------- large pictures --

// Draws one of the 32 x 32 flower motifs at another size, centred on `centre`.
void paintMotifAt(QPainter& p, int category, int index, QPointF centre, qreal size)
{
    p.save();
    p.translate(centre);
    p.scale(size / 32, size / 32);
    p.translate(-16, -16);
    paintMotif(p, category, index);
    p.restore();
}

void paintFlowerOnStem(QPainter& p, int index, QPointF ground, QPointF head, qreal size, qreal leafAt = 0.0)
{
    QPainterPath stem(ground);
    stem.cubicTo(ground + QPointF(0, -(ground.y() - head.y()) * 0.5),
                 head + QPointF((ground.x() - head.x()) * 0.3, (ground.y() - head.y()) * 0.3), head);
    paintStem(p, stem, 2.2);
    if (leafAt > 0) {
        const qreal length = size * 0.55;
        paintLeaf(p, stem.pointAtPercent(leafAt), -55, length, length * 0.45);
        paintLeaf(p, stem.pointAtPercent(leafAt + 0.12), 50, length * 0.9, length * 0.42);
    }
    paintMotifAt(p, 2, index, head, size);
}

void paintGrassTuft(QPainter& p, QPointF base, qreal height, int blades)
{
    for (int i = 0; i < blades; ++i) {
        const qreal lean = (i - (blades - 1) / 2.0) * height * 0.22;
        QPainterPath blade(base + QPointF(i * 1.5 - blades * 0.75, 0));
        blade.quadTo(base + QPointF(lean * 0.3, -height * 0.6),
                     base + QPointF(lean, -height * (0.75 + 0.25 * ((i * 7) % 3) / 2.0)));
        QPen pen(i % 2 ? rgb(0x5E9E3A) : rgb(0x7AB850), 1.6);
        pen.setCapStyle(Qt::RoundCap);
        p.setPen(pen);
        p.setBrush(Qt::NoBrush);
        p.drawPath(blade);
    }
}

// Ragged dandelion leaves lying around the foot of its stem.
void paintDandelionLeaves(QPainter& p, QPointF base)
{
    for (qreal angle : {-70.0, -40.0, 45.0, 72.0}) {
        drawRotated(p, base, angle, [&](QPainter& q) {
            QPainterPath leaf(QPointF(0, 0));
            leaf.lineTo(-2.5, -6);
            leaf.lineTo(-1.2, -7);
            leaf.lineTo(-4, -13);
            leaf.lineTo(-1.8, -14);
            leaf.lineTo(-3.6, -20);
            leaf.quadTo(0, -27, 2.4, -20);
            leaf.lineTo(2.2, -12);
            leaf.lineTo(3.4, -9);
            leaf.lineTo(2, -6);
            leaf.closeSubpath();
            q.setPen(outline(rgb(0x33702A), 0.8));
            q.setBrush(along(24, rgb(0x4C9A30), rgb(0x86C85C)));
            q.drawPath(leaf);
        });
    }
}

void paintCherryBranch(QPainter& p, QPointF from, QPointF to, qreal bend, bool mirrored)
{
    QPainterPath branch(from);
    const QPointF mid = (from + to) / 2 + QPointF(0, bend);
    branch.quadTo(mid, to);
    QPen bark(rgb(0x6E4628), 4.0);
    bark.setCapStyle(Qt::RoundCap);
    p.setPen(bark);
    p.setBrush(Qt::NoBrush);
    p.drawPath(branch);
    const qreal side = mirrored ? -1 : 1;
    const QPointF twigStart = branch.pointAtPercent(0.55);
    const QPointF twigEnd = twigStart + QPointF(14 * side, 16);
    bark.setWidthF(2.0);
    p.setPen(bark);
    p.drawLine(twigStart, twigEnd);
    const struct {
        qreal t;
        QPointF offset;
        qreal size;
    } blooms[] = {{0.35, {0, 6}, 22}, {0.62, {-2, -6}, 18}, {0.82, {2, 5}, 20}, {1.0, {4, 0}, 16}};
    for (const auto& b : blooms)
        paintMotifAt(p, 2, 1, branch.pointAtPercent(b.t) + QPointF(b.offset.x() * side, b.offset.y()), b.size);
    paintMotifAt(p, 2, 1, twigEnd, 17);
}

void paintPetalsInTheAir(QPainter& p)
{
    const struct {
        qreal x, y, angle;
    } petals[] = {{104, 40, 30}, {132, 24, -20}, {276, 30, 60},   {300, 56, -40},
                  {92, 150, 10}, {318, 150, 80}, {250, 196, -30}, {150, 200, 45}};
    for (const auto& petal : petals) {
        drawRotated(p, QPointF(petal.x, petal.y), petal.angle, [](QPainter& q) {
            q.setPen(outline(rgb(0xD27098), 0.6));
            q.setBrush(along(6, rgb(0xF7B0CA), rgb(0xFFE6EF)));
            q.drawPath(roundPetal(6, 4.6, 1.0, 0.8));
        });
    }
}

void paintTitleLeafRule(QPainter& p, qreal y)
{
    p.setPen(QPen(rgb(0x7FA860), 1.0));
    p.drawLine(QPointF(120, y), QPointF(188, y));
    p.drawLine(QPointF(212, y), QPointF(280, y));
    paintLeaf(p, QPointF(200, y + 1), -60, 13, 6.5);
    paintLeaf(p, QPointF(200, y + 1), 60, 13, 6.5);
}

void paintOutlinedText(QPainter& p, const QString& text, int pixelSize, qreal baseline, const QColor& fill,
                       qreal haloWidth)
{
    const QFont font = artFont(pixelSize);
    QPainterPath path;
    path.addText(0, 0, font, text);
    const QRectF bounds = path.boundingRect();
    path.translate(200 - bounds.center().x(), baseline);
    QPen halo(rgb(0xFFFFF6, 235), haloWidth);
    halo.setJoinStyle(Qt::RoundJoin);
    p.setPen(halo);
    p.setBrush(Qt::NoBrush);
    p.drawPath(path);
    QColor shadow = fill;
    shadow.setAlpha(50);
    p.setPen(Qt::NoPen);
    p.setBrush(shadow);
    p.drawPath(path.translated(1.2, 1.8));
    // a hairline of the fill colour gives the outline font a little weight
    p.setPen(QPen(fill, pixelSize / 40.0));
    p.setBrush(fill);
    p.drawPath(path);
}

void paintMeadow(QPainter& p)
{
    QPainterPath far(QPointF(0, 236));
    far.cubicTo(QPointF(90, 214), QPointF(220, 228), QPointF(400, 206));
    far.lineTo(400, 272);
    far.lineTo(0, 272);
    far.closeSubpath();
    p.setPen(Qt::NoPen);
    p.setBrush(rgb(0xD2E6B8));
    p.drawPath(far);
    QPainterPath near(QPointF(0, 250));
    near.cubicTo(QPointF(120, 236), QPointF(260, 262), QPointF(400, 240));
    near.lineTo(400, 272);
    near.lineTo(0, 272);
    near.closeSubpath();
    QLinearGradient grass(0, 236, 0, 272);
    grass.setColorAt(0, rgb(0xA8D080));
    grass.setColorAt(1, rgb(0x78B058));
    p.setBrush(grass);
    p.drawPath(near);
}

void paintLeftFlora(QPainter& p)
{
    paintMotifAt(p, 2, 8, QPointF(18, 198), 96);
    paintMotifAt(p, 2, 8, QPointF(44, 214), 72);
    paintGrassTuft(p, QPointF(10, 268), 30, 5);
    paintFlowerOnStem(p, 6, QPointF(66, 262), QPointF(60, 194), 46);
    paintDandelionLeaves(p, QPointF(66, 264));
    paintFlowerOnStem(p, 3, QPointF(100, 266), QPointF(94, 234), 32);
    paintFlowerOnStem(p, 3, QPointF(118, 268), QPointF(124, 246), 24);
    paintFlowerOnStem(p, 1, QPointF(24, 268), QPointF(28, 238), 28);
    paintGrassTuft(p, QPointF(112, 270), 18, 4);
}

void paintRightFlora(QPainter& p)
{
    paintMotifAt(p, 2, 8, QPointF(390, 204), 84);
    paintFlowerOnStem(p, 7, QPointF(346, 264), QPointF(338, 180), 42, 0.35);
    paintFlowerOnStem(p, 7, QPointF(368, 266), QPointF(374, 214), 34);
    paintFlowerOnStem(p, 5, QPointF(310, 266), QPointF(302, 222), 36, 0.3);
    paintFlowerOnStem(p, 4, QPointF(282, 268), QPointF(274, 240), 30);
    paintGrassTuft(p, QPointF(392, 270), 26, 5);
    paintGrassTuft(p, QPointF(328, 270), 16, 4);
}

void paintCentreMeadow(QPainter& p)
{
    paintGrassTuft(p, QPointF(164, 268), 14, 4);
    paintGrassTuft(p, QPointF(236, 266), 12, 3);
    paintFlowerOnStem(p, 7, QPointF(186, 268), QPointF(184, 256), 14);
    paintFlowerOnStem(p, 7, QPointF(214, 268), QPointF(217, 259), 11);
    paintFlowerOnStem(p, 0, QPointF(148, 270), QPointF(146, 258), 14);
    paintFlowerOnStem(p, 0, QPointF(252, 270), QPointF(255, 260), 12);
}

void paintLoading(QPainter& p)
{
    QLinearGradient sky(0, 0, 0, 272);
    sky.setColorAt(0, rgb(0xFDFBF0));
    sky.setColorAt(1, rgb(0xEAF2DC));
    p.fillRect(QRectF(0, 0, 400, 272), sky);
    QRadialGradient sun(QPointF(200, 112), 170);
    sun.setColorAt(0, rgb(0xFFF6D6, 200));
    sun.setColorAt(1, rgb(0xFFF6D6, 0));
    p.fillRect(QRectF(0, 0, 400, 272), sun);
    paintCherryBranch(p, QPointF(-6, 14), QPointF(86, 40), -14, false);
    paintCherryBranch(p, QPointF(406, 70), QPointF(338, 92), -6, true);
    paintMeadow(p);
    paintCentreMeadow(p);
    paintLeftFlora(p);
    paintRightFlora(p);
    paintPetalsInTheAir(p);
    paintOutlinedText(p, QStringLiteral("ソノハ"), 72, 120, rgb(0x2E5A2A), 7);
    paintTitleLeafRule(p, 142);
    paintOutlinedText(p, QStringLiteral("身近な草花の検索図鑑"), 20, 178, rgb(0x3C6434), 4);
    p.fillRect(QRectF(0, 272, 400, 28), ArtPalette::stripBackground());
    p.fillRect(QRectF(0, 272, 400, 1), rgb(0xB8C8A0));
}

void paintFieldLeaf(QPainter& p, QPointF at, qreal angle, qreal length)
{
    drawRotated(p, at, angle, [&](QPainter& q) {
        q.setPen(Qt::NoPen);
        q.setBrush(rgb(0x3C6A48, 34));
        q.drawPath(pointedPetal(length, length * 0.45));
        q.setPen(QPen(rgb(0x6AA070, 26), 1.2));
        q.drawLine(QPointF(0, -length * 0.05), QPointF(0, -length * 0.85));
    });
}

void paintField(QPainter& p)
{
    const QColor base = ArtPalette::fieldBackgroundBase();
    QLinearGradient depth(0, 0, 0, 444);
    depth.setColorAt(0, base.lighter(118));
    depth.setColorAt(1, base.darker(125));
    p.fillRect(QRectF(0, 0, 448, 444), depth);
    QRadialGradient glow(QPointF(224, 200), 300);
    glow.setColorAt(0, rgb(0x2A4634, 90));
    glow.setColorAt(1, rgb(0x2A4634, 0));
    p.fillRect(QRectF(0, 0, 448, 444), glow);
    struct Sprig {
        qreal x, y, angle, length;
    };
    const Sprig sprigs[] = {{30, 430, 20, 120},  {60, 444, -25, 90},  {420, 440, -30, 130}, {392, 444, 15, 80},
                            {440, 120, -70, 90}, {8, 150, 60, 80},    {210, 444, 5, 70},    {250, 444, -10, 95},
                            {150, 20, 160, 70},  {330, 10, -160, 80}, {100, 300, 35, 60},   {340, 260, -40, 64}};
    for (const Sprig& s : sprigs)
        paintFieldLeaf(p, QPointF(s.x, s.y), s.angle, s.length);
}

void paintNoFile(QPainter& p)
{
    p.fillRect(QRectF(0, 0, 320, 240), rgb(0xEEEDE6));
    p.setPen(QPen(rgb(0xC8C6BA), 2));
    p.setBrush(rgb(0xF7F6F0));
    p.drawRoundedRect(QRectF(12, 12, 296, 216), 10, 10);
    const QPointF c(160, 92);
    QPen line(rgb(0xA4A296), 3);
    line.setJoinStyle(Qt::RoundJoin);
    line.setCapStyle(Qt::RoundCap);
    p.setPen(line);
    p.setBrush(Qt::NoBrush);
    p.drawLine(c + QPointF(0, 12), QPointF(160, 160));
    drawRotated(p, QPointF(160, 148), 55, [&](QPainter& q) { q.drawPath(pointedPetal(24, 11)); });
    paintRing(p, c, 5, 0, roundPetal(32, 26, 3, 4), rgb(0xF7F6F0), line);
    p.drawEllipse(c, 7, 7);
    p.setFont(artFont(18, false));
    p.setPen(rgb(0x6C6A60));
    p.drawText(QRectF(0, 172, 320, 30), Qt::AlignCenter, QStringLiteral("画像がありません"));
}

void paintIcon(QPainter& p)
{
    // 256 x 256 design space
    QLinearGradient ground(0, 8, 0, 248);
    ground.setColorAt(0, rgb(0x8CCB64));
    ground.setColorAt(1, rgb(0x2C7A3A));
    p.setPen(QPen(rgb(0x1E5A28), 6));
    p.setBrush(ground);
    p.drawRoundedRect(QRectF(8, 8, 240, 240), 52, 52);
    const QPointF c(128, 122);
    paintRing(p, c, 5, 0, roundPetal(96, 84, 8, 12), along(96, rgb(0xF07AA6), rgb(0xFFF0F5)),
              outline(rgb(0xA83A68), 6));
    paintDisc(p, c, 24, glossy(c, 24, rgb(0xFFF080), rgb(0xE8A000)), outline(rgb(0xA06A00), 5));
}

}  // namespace

// ------------------------------------------------------------ public API --

namespace {

// The pack (ArtPack) holds the pictures at scale 1; any other scale, and a
// program without the pack, draws.
template <typename Draw>
QImage packedOrDrawn(const QString& key, bool packable, Draw draw)
{
    if (packable) {
        QImage packed = ArtPack::findInProgram(key);
        if (!packed.isNull())
            return packed;
    }
    return draw();
}

QString attributeKey(int category, int index, ButtonArt::AttributeLook look)
{
    return QStringLiteral("attribute-%1-%2-%3").arg(category).arg(index).arg(int(look));
}

QString commandKey(ButtonArt::Command command, ButtonArt::CommandLook look)
{
    return QStringLiteral("command-%1-%2").arg(int(command)).arg(int(look));
}

QString iconKey(int size)
{
    return QStringLiteral("icon-%1").arg(size);
}

// The sizes of the icon the windows ask for: the main window's and the About box's.
constexpr int kPackedIconSizes[] = {64, 48};

}  // namespace

int ButtonArt::motifCount(int category)
{
    static const int counts[] = {3, 5, 10, 4, 12};
    return category >= 0 && category < 5 ? counts[category] : 0;
}

QImage ButtonArt::attributeButton(int category, int index, AttributeLook look, int scale)
{
    return packedOrDrawn(attributeKey(category, index, look), scale == 1, [&] {
        static const Face faces[] = {Face::Flat, Face::Raised, Face::Sunken, Face::Sunken, Face::SunkenChecked};
        return renderScaled(32, 32, scale, [&](QPainter& p) {
            paintFace(p, QRect(0, 0, 32, 32), faces[int(look)]);
            p.setClipRect(QRect(2, 2, 28, 28));
            if (look == AttributeLook::Pressed)
                p.translate(1, 1);
            paintMotif(p, category, index);
        });
    });
}

QImage ButtonArt::commandButton(Command command, CommandLook look, int scale)
{
    return packedOrDrawn(commandKey(command, look), scale == 1, [&] {
        static const Face faces[] = {Face::Flat, Face::Raised, Face::Sunken, Face::SunkenChecked};
        return renderScaled(48, 32, scale, [&](QPainter& p) {
            paintFace(p, QRect(0, 0, 48, 32), faces[int(look)]);
            p.setClipRect(QRect(2, 2, 44, 28));
            if (look == CommandLook::Pressed)
                p.translate(1, 1);
            paintCommand(p, command);
        });
    });
}

QImage ButtonArt::pointingHand(int scale)
{
    return packedOrDrawn(QStringLiteral("hand"), scale == 1,
                         [&] { return renderScaled(32, 32, scale, paintPointingHand); });
}

QImage ButtonArt::scrollPointerRest(int scale)
{
    return renderScaled(32, 32, scale, paintOpenHand);
}

QImage ButtonArt::scrollPointerMove(int scale)
{
    return renderScaled(32, 32, scale, paintGrabbingHand);
}

QPoint ButtonArt::pointingHandHotSpot()
{
    return QPoint(12, 1);
}

QPoint ButtonArt::scrollPointerHotSpot()
{
    return QPoint(16, 16);
}

int ButtonArt::scaleFor(qreal devicePixelRatio)
{
    return std::max(1, int(std::ceil(devicePixelRatio)));
}

QImage ButtonArt::loadingPicture(int scale)
{
    return packedOrDrawn(QStringLiteral("loading"), scale == 1,
                         [&] { return renderScaled(400, 300, scale, paintLoading); });
}

QImage ButtonArt::fieldBackground(int scale)
{
    return packedOrDrawn(QStringLiteral("field"), scale == 1,
                         [&] { return renderScaled(448, 444, scale, paintField); });
}

QImage ButtonArt::noFilePicture()
{
    return render(320, 240, 1, paintNoFile);
}

QImage ButtonArt::appIcon(int size)
{
    const bool packable =
        std::find(std::begin(kPackedIconSizes), std::end(kPackedIconSizes), size) != std::end(kPackedIconSizes);
    return packedOrDrawn(iconKey(size), packable, [&] { return render(256, 256, size / 256.0, paintIcon); });
}

QList<ArtPack::Entry> ButtonArt::packContents()
{
    // The loading screen comes first and alone; the main window's pictures
    // are read together a moment later.
    QList<ArtPack::Entry> entries;
    const QString loading = QStringLiteral("loading"), window = QStringLiteral("window");
    entries.append({QStringLiteral("loading"), loading, loadingPicture()});
    entries.append({QStringLiteral("field"), window, fieldBackground()});
    entries.append({QStringLiteral("hand"), window, pointingHand(1)});
    for (int size : kPackedIconSizes)
        entries.append({iconKey(size), window, appIcon(size)});
    for (int category = 0; category < 5; ++category)
        for (int index = 0; index < motifCount(category); ++index)
            for (AttributeLook look : {AttributeLook::Unselected, AttributeLook::Pointed, AttributeLook::Pressed,
                                       AttributeLook::SelectedPointed, AttributeLook::Selected})
                entries.append(
                    {attributeKey(category, index, look), window, attributeButton(category, index, look, 1)});
    for (Command command : {Command::Play, Command::Pause, Command::AllData, Command::Clear, Command::Quit})
        for (CommandLook look : {CommandLook::Idle, CommandLook::Pointed, CommandLook::Pressed, CommandLook::Latched})
            entries.append({commandKey(command, look), window, commandButton(command, look, 1)});
    return entries;
}
