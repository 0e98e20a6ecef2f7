#include "generators/PlateScene.h"

#include <QFont>
#include <QFontMetricsF>
#include <QLinearGradient>
#include <QRadialGradient>
#include <algorithm>
#include <array>
#include <cmath>

using namespace PaintKit;

namespace {

constexpr double kHorizon = 300.0;  // foot of the far hills
constexpr double kMeadow = 352.0;  // where the near ground begins

struct Backdrop {
    QColor skyTop, skyLow, far, near, groundTop, groundLow;
};

Backdrop backdropFor(Season s)
{
    switch (s) {
    case Season::Spring:
        return {QColor(0xd8, 0xea, 0xde), QColor(0xf8, 0xe8, 0xec), QColor(0xc8, 0xda, 0xc6),
                QColor(0xb6, 0xd0, 0xa0), QColor(0xb8, 0xd2, 0x98), QColor(0x96, 0xb4, 0x74)};
    case Season::Summer:
        return {QColor(0x52, 0x98, 0xdc), QColor(0xc8, 0xe6, 0xf6), QColor(0x7c, 0xac, 0x90),
                QColor(0x6a, 0x9a, 0x62), QColor(0x86, 0xaa, 0x6a), QColor(0x5c, 0x80, 0x48)};
    case Season::Autumn: break;
    }
    return {QColor(0xf2, 0xe0, 0xb8), QColor(0xec, 0xc0, 0x84), QColor(0xc8, 0x9a, 0x6a),
            QColor(0xb4, 0x98, 0x62), QColor(0xbe, 0xa6, 0x70), QColor(0x94, 0x7a, 0x4c)};
}

QFont plateFont(int pixels)
{
    QFont f(QStringLiteral("IPAPGothic"));
    f.setPixelSize(pixels);
    f.setStyleStrategy(QFont::PreferAntialias);
    return f;
}

}  // namespace

PlateScene::PlateScene(double width, Season season, bool water)
    : width_(width)
    , season_(season)
    , water_(water)
{
}

void PlateScene::paintRidge(QPainter& p, Rng& r, double baseY, double amp, const QColor& top,
                            const QColor& bottom) const
{
    const double f1 = r.range(0.004, 0.009), f2 = r.range(0.012, 0.025);
    const double ph1 = r.range(0, 6.3), ph2 = r.range(0, 6.3);
    QPolygonF ridge;
    for (double x = -24; x <= width_ + 24; x += 12)
        ridge << QPointF(x, baseY - amp * (0.6 + 0.4 * std::sin(x * f1 + ph1)) - amp * 0.25 * std::sin(x * f2 + ph2));
    QPainterPath path = smoothPath(ridge, false);
    path.lineTo(width_ + 24, kHeight + 10);
    path.lineTo(-24, kHeight + 10);
    path.closeSubpath();
    QLinearGradient g(QPointF(0, baseY - amp), QPointF(0, kHeight));
    g.setColorAt(0, top);
    g.setColorAt(1, bottom);
    p.setPen(Qt::NoPen);
    p.setBrush(g);
    p.drawPath(path);
}

void PlateScene::paintClouds(QPainter& p, Rng& r) const
{
    for (int i = r.pick(2, 3); i > 0; --i) {
        const QPointF c(r.range(0, width_), r.range(kHeight * 0.08, kHeight * 0.3));
        const double s = r.range(26, 48);
        QPainterPath path;
        path.setFillRule(Qt::WindingFill);
        for (int k = 0; k < 6; ++k) {
            const double u = (k - 2.5) / 2.5;
            const double rad = s * (0.5 + 0.5 * (1 - u * u)) * r.range(0.8, 1.1);
            path.addEllipse(c + QPointF(u * s * 1.6, -rad * 0.35), rad, rad * 0.8);
        }
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(255, 255, 255, 210));
        p.drawPath(path);
    }
}

void PlateScene::paintFar(QPainter& p, Rng& r) const
{
    const Backdrop b = backdropFor(season_);
    QLinearGradient sky(QPointF(0, 0), QPointF(0, kMeadow));
    sky.setColorAt(0, b.skyTop);
    sky.setColorAt(1, b.skyLow);
    p.fillRect(QRectF(0, 0, width_, kHeight), sky);
    if (season_ == Season::Summer)
        paintClouds(p, r);
    paintRidge(p, r, kHorizon, kHeight * 0.08, b.far, mix(b.far, b.skyLow, 0.3));
    paintRidge(p, r, kHorizon + kHeight * 0.05, kHeight * 0.045, mix(b.near, b.far, 0.3), b.near);
    paintRidge(p, r, kMeadow, kHeight * 0.02, b.groundTop, b.groundLow);
    // a veil over the far field keeps it behind the plant
    p.fillRect(QRectF(0, 0, width_, kHeight), QColor(255, 255, 255, 60));
}

QImage PlateScene::farField(Rng& r, double outputScale) const
{
    const QSize px(std::max(8, int(width_ * outputScale / 3)), std::max(6, int(kHeight * outputScale / 3)));
    QImage img(px, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(px.width() / width_, px.height() / kHeight);
    paintFar(p, r);
    p.end();
    return img;
}

void PlateScene::paintWater(QPainter& p, Rng& r) const
{
    QLinearGradient g(QPointF(0, kGround - 14), QPointF(0, kHeight));
    g.setColorAt(0, QColor(0x8c, 0xb4, 0xc4));
    g.setColorAt(1, QColor(0x4c, 0x7a, 0x8c));
    p.fillRect(QRectF(0, kGround - 10, width_, kHeight - kGround + 10), g);
    QPainterPath ripples;
    for (int i = 0; i < 26; ++i) {
        const double y = r.range(kGround - 6, kHeight), x = r.range(0, width_), w = r.range(12, 40);
        ripples.moveTo(x, y);
        ripples.lineTo(x + w, y);
    }
    strokeLine(p, ripples, QColor(255, 255, 255, 70), 1.0);
}

// A low strip of soil and short turf: enough to stand on, too short and
// dull to be taken for the plant's own leaves.
void PlateScene::paintGround(QPainter& p, Rng& r) const
{
    if (water_) {
        paintWater(p, r);
        return;
    }
    const Backdrop b = backdropFor(season_);
    QLinearGradient g(QPointF(0, kGround - 8), QPointF(0, kHeight));
    g.setColorAt(0, mix(b.groundLow, QColor(0x8a, 0x7a, 0x5c), 0.35));
    g.setColorAt(1, mix(b.groundLow, QColor(0x5c, 0x4e, 0x3a), 0.5));
    QPainterPath ground(QPointF(-5, kGround - 4));
    for (double x = 0; x <= width_ + 10; x += 20)
        ground.lineTo(x, kGround - 4 + std::sin(x * 0.05 + r.range(0, 0.4)) * 2.0);
    ground.lineTo(width_ + 10, kHeight + 5);
    ground.lineTo(-5, kHeight + 5);
    ground.closeSubpath();
    p.setPen(Qt::NoPen);
    p.setBrush(g);
    p.drawPath(ground);
    QPainterPath turf;
    for (int i = 0; i < 140; ++i) {
        const double x = r.range(-4, width_ + 4), y = r.range(kGround - 3, kHeight), tall = r.range(2, 6);
        turf.moveTo(x, y);
        turf.lineTo(x + r.range(-2, 2), y - tall);
    }
    strokeLine(p, turf, withAlpha(shade(b.groundLow, -0.08), 0.6), 0.8);
}

// A bar of a round length on the plate's scale, labelled with it.
void PlateScene::paintScaleBar(QPainter& p, double perCm, QPointF rightEnd) const
{
    static const std::array<double, 9> lengths{0.5, 1, 2, 5, 10, 20, 50, 100, 200};
    double cm = lengths.back();
    for (const double l : lengths)
        if (l * perCm >= 36) {
            cm = l;
            break;
        }
    const double w = cm * perCm;
    const QPointF left = rightEnd - QPointF(w, 0);
    p.setPen(QPen(QColor(30, 30, 26, 220), 2.0, Qt::SolidLine, Qt::FlatCap));
    p.drawLine(left, rightEnd);
    p.drawLine(left + QPointF(0, -4), left + QPointF(0, 4));
    p.drawLine(rightEnd + QPointF(0, -4), rightEnd + QPointF(0, 4));
    const QString label = cm >= 100 ? QStringLiteral("%1m").arg(cm / 100)
                          : cm < 1  ? QStringLiteral("5mm")
                                    : QStringLiteral("%1cm").arg(cm);
    p.setFont(plateFont(12));
    const QFontMetricsF fm(p.font());
    const QRectF box(left.x() + w / 2 - fm.horizontalAdvance(label) / 2 - 3, left.y() - 19,
                     fm.horizontalAdvance(label) + 6, 14);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(250, 248, 240, 190));
    p.drawRoundedRect(box, 3, 3);
    p.setPen(QColor(30, 30, 26));
    p.drawText(box, Qt::AlignCenter, label);
}

void PlateScene::paintFrame(QPainter& p) const
{
    QRadialGradient g(QPointF(width_ / 2, kHeight * 0.45), std::hypot(width_, kHeight) * 0.62);
    g.setColorAt(0.6, QColor(0, 0, 0, 0));
    g.setColorAt(1.0, QColor(20, 15, 10, 60));
    p.fillRect(QRectF(0, 0, width_, kHeight), g);
    p.setPen(QPen(QColor(255, 255, 255, 90), 1.0));
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRectF(4.5, 4.5, width_ - 9, kHeight - 9));
}

void PlateScene::paintCaption(QPainter& p, const QString& name, const QString& family) const
{
    if (name.isEmpty() && family.isEmpty())
        return;
    const QFont big = plateFont(22), small = plateFont(14);
    const QFontMetricsF fb(big), fs(small);
    const double pad = 10, gap = 9, margin = 12;
    const double famW = family.isEmpty() ? 0 : fs.horizontalAdvance(family) + gap;
    const QString shown = fb.elidedText(name, Qt::ElideRight, std::max(60.0, width_ - 2 * (margin + pad) - famW));
    const double nameW = fb.horizontalAdvance(shown);
    const QRectF band(margin, kHeight - margin - fb.height() - 8, nameW + famW + 2 * pad, fb.height() + 8);
    p.setPen(QPen(QColor(255, 255, 255, 140), 1));
    p.setBrush(QColor(250, 248, 240, 215));
    p.drawRoundedRect(band, 6, 6);
    const double baseline = band.top() + 4 + fb.ascent();
    p.setFont(big);
    p.setPen(QColor(0x2a, 0x2a, 0x26));
    p.drawText(QPointF(band.left() + pad, baseline), shown);
    p.setFont(small);
    p.setPen(QColor(0x5a, 0x60, 0x52));
    p.drawText(QPointF(band.left() + pad + nameW + gap, baseline), family);
}
