#pragma once

#include "generators/FlowerPainter.h"
#include "generators/FruitPainter.h"
#include "generators/InflorescencePainter.h"
#include "generators/LeafPainter.h"
#include "generators/PaintContext.h"
#include "generators/ShootPainter.h"

#include <QSizeF>

// The whole plant as its habit grows it, on the plate's one scale: upright
// stems branching as described, ascending and creeping stems, a rosette
// flat on the ground with leafless flowering stalks, a tuft of grass
// leaves and culms, a climber twining up a stake or holding on to dry
// stalks by its tendrils, a scrambler leaning over, plants standing in or
// floating on water. Basal leaves, colonies and the fruit that shows are
// added where the description names them.
class PlantPainter {
public:
    PlantPainter(PaintContext& x, const LeafPainter::Style& leafStyle);

    // Width and height in cm that the plant takes on the plate when it is
    // `heightCm` tall (or long, for creepers and climbers).
    static QSizeF extentCm(const PlantForm& form, double heightCm);
    // Whether it grows in water (the scene draws water instead of meadow).
    static bool aquatic(const PlantForm& form);
    // How much of a long climber's stem the plate shows.
    static double climbingLength(const PlantForm& form, double lengthCm);
    static double creepingLength(const PlantForm& form, double lengthCm);
    static bool risingLeaves(const PlantForm& form);
    static double matDepth(const PlantForm& form);
    // Whether it has no leaves when it flowers (根生 with 根生葉 なし).
    static bool leafless(const PlantForm& form);
    static bool singleWhorl(const PlantForm& form);
    static bool oneStalkEach(const PlantForm& form);
    static double colonySpacing(const PlantForm& form);

    // The plant standing on the ground at `base`, `heightCm` tall.
    void paint(QPointF base, double heightCm);

    QPointF flowerFocus() const;
    QPointF leafFocus() const;
    QPointF fruitFocus() const { return fruitFocus_; }
    bool hasFruitFocus() const { return hasFruitFocus_; }
    QRectF supportArea() const { return support_; }

private:
    int nodesFor(double heightCm) const;
    double stemWidth(double heightCm) const;
    double stemLength(double h) const;
    ShootPainter::Shoot shoot(QPointF base, QPointF top, double bend, double heightCm, double leafSize) const;
    void upright(QPointF base, double hCm);
    void branches(const ShootPainter::Shoot& main, double hCm);
    void ascending(QPointF base, double hCm);
    void creeping(QPointF base, double hCm);
    void runnerNodes(const PaintKit::Curve& runner, double leaf, bool rising, double hCm);
    void rosette(QPointF base, double hCm);
    void runnersFrom(QPointF base);
    void rosettePlant(QPointF base, double hCm, int stalks);
    void basalLeaves(QPointF base, int count, double elevation, double view, double size);
    void tufted(QPointF base, double hCm);
    void leaflessCulms(QPointF base, double hCm);
    void standingLeaves(QPointF base, int count, double top);
    void grassLeaves(QPointF base, int count, double size);
    void twining(QPointF base, double hCm);
    void tendrilClimber(QPointF base, double hCm);
    void scrambling(QPointF base, double hCm);
    void emergent(QPointF base, double hCm);
    void floating(QPointF base, double hCm);
    void stalks(QPointF base, double h, int count);
    void ripeFruit(QPointF at, double axis);
    int basalCount(int fallback) const;

    PaintContext& x_;
    LeafPainter leaves_;
    FlowerPainter flowers_;
    FruitPainter fruits_;
    InflorescencePainter blooms_;
    ShootPainter shoots_;
    QPointF fruitFocus_;
    bool hasFruitFocus_ = false;
    QRectF support_;
    QPointF base_;  // where the plant stands, for a close-up of a leafless foot
};
