#pragma once

#include "generators/PaintKit.h"
#include "generators/PlantPalette.h"

#include <QImage>
#include <QRectF>
#include <QString>

// The setting of a plate: a soft sky and far hills that tell the season,
// the ground (or the water of a water plant) the plant stands in, the
// scale bar, the vignette and frame, and the name plate at the bottom left.
// Everything is in plate units, 480 high.
class PlateScene {
public:
    static constexpr double kHeight = 480.0;
    static constexpr double kGround = 418.0;  // where the plant's foot stands

    PlateScene(double width, Season season, bool water);

    double width() const { return width_; }
    // The far field is painted small and scaled up: a soft, cheap blur.
    QImage farField(PaintKit::Rng& r, double outputScale) const;
    void paintGround(QPainter& p, PaintKit::Rng& r) const;
    void paintScaleBar(QPainter& p, double perCm, QPointF rightEnd) const;
    void paintFrame(QPainter& p) const;
    void paintCaption(QPainter& p, const QString& name, const QString& family) const;

private:
    void paintFar(QPainter& p, PaintKit::Rng& r) const;
    void paintRidge(QPainter& p, PaintKit::Rng& r, double baseY, double amp, const QColor& top,
                    const QColor& bottom) const;
    void paintClouds(QPainter& p, PaintKit::Rng& r) const;
    void paintWater(QPainter& p, PaintKit::Rng& r) const;

    double width_;
    Season season_;
    bool water_;
};
