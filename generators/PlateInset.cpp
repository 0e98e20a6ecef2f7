#include "generators/PlateInset.h"

#include <QFont>
#include <QPainterPath>
#include <QRadialGradient>
#include <algorithm>
#include <cmath>

PlateInset::PlateInset(QRectF area, Shape shape)
    : area_(area)
    , shape_(shape)
{
}

QPainterPath PlateInset::outline() const
{
    QPainterPath path;
    if (shape_ == Shape::Circle)
        path.addEllipse(area_);
    else
        path.addRoundedRect(area_, 8, 8);
    return path;
}

QPointF PlateInset::edgeToward(QPointF target) const
{
    const QPointF c = centre(), d = target - c;
    const double len = std::max(1e-6, std::hypot(d.x(), d.y()));
    if (shape_ == Shape::Circle)
        return c + d / len * radius();
    const double sx = area_.width() / 2 / std::max(1e-6, std::abs(d.x()));
    const double sy = area_.height() / 2 / std::max(1e-6, std::abs(d.y()));
    return c + d * std::min(sx, sy);
}

void PlateInset::paintLeader(QPainter& p, QPointF target) const
{
    const QPointF from = edgeToward(target);
    p.setPen(QPen(QColor(40, 40, 36, 120), 0.9, Qt::DashLine));
    p.drawLine(from, target);
    p.setPen(QPen(QColor(40, 40, 36, 150), 1.0));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(target, 4, 4);
}

void PlateInset::begin(QPainter& p, bool darkGround) const
{
    p.save();
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 0, 40));
    p.drawPath(outline().translated(2, 3));
    QRadialGradient g(centre(), radius() * 1.4);
    g.setColorAt(0, darkGround ? QColor(0x86, 0x96, 0x8e) : QColor(252, 250, 242));
    g.setColorAt(1, darkGround ? QColor(0x62, 0x70, 0x6a) : QColor(236, 234, 222));
    p.setBrush(g);
    p.drawPath(outline());
    p.setClipPath(outline(), Qt::IntersectClip);
}

void PlateInset::end(QPainter& p, double magnification) const
{
    p.restore();
    p.setPen(QPen(QColor(60, 58, 50), 1.6));
    p.setBrush(Qt::NoBrush);
    p.drawPath(outline());
    if (magnification < 1.15)
        return;
    const QString label = magnification >= 10 ? QStringLiteral("×%1").arg(std::lround(magnification))
                                              : QStringLiteral("×%1").arg(magnification, 0, 'f', 1);
    QFont f(QStringLiteral("IPAPGothic"));
    f.setPixelSize(12);
    p.setFont(f);
    const QRectF tag(area_.right() - 40, area_.bottom() - 16, 40, 16);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(60, 58, 50, 200));
    p.drawRoundedRect(tag, 4, 4);
    p.setPen(QColor(250, 248, 240));
    p.drawText(tag, Qt::AlignCenter, label);
}
