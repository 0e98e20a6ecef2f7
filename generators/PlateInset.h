#pragma once

#include <QPainter>
#include <QPointF>
#include <QRectF>

// A close-up on the plate, as a field guide sets one beside the whole
// plant: a round or square window with a pale ground, a thin leader line to
// the part of the plant it enlarges, and its magnification.
class PlateInset {
public:
    enum class Shape { Circle, Box };

    PlateInset(QRectF area, Shape shape);

    QRectF area() const { return area_; }
    QPointF centre() const { return area_.center(); }
    double radius() const { return std::min(area_.width(), area_.height()) / 2; }

    void paintLeader(QPainter& p, QPointF target) const;
    // Paints the window's ground and clips the painter to it until end().
    // A dark ground lets pale flowers and white seed heads show.
    void begin(QPainter& p, bool darkGround) const;
    void end(QPainter& p, double magnification) const;

private:
    QPainterPath outline() const;
    QPointF edgeToward(QPointF target) const;

    QRectF area_;
    Shape shape_;
};
