#pragma once

#include "generators/FlowerPainter.h"
#include "generators/FruitPainter.h"
#include "generators/PaintContext.h"

#include <QPointF>
#include <vector>

// Grows the inflorescence by its rule: flowers along one axis opening from
// the bottom (raceme, spike), a branched raceme (panicle), stalks reaching
// one flat top (corymb) or leaving one point (umbel, compound umbel),
// florets packed in a ball (head), an axis ending in a flower with side
// shoots that do the same (cyme), flowers in the leaf axils or in whorls at
// the nodes, the spadix in its spathe, and the spikelet types of grasses
// and sedges. Fruits ripen below the flowers where the description names
// them. Sizes are the real ones on the plate's scale.
class InflorescencePainter {
public:
    InflorescencePainter(PaintContext& x, FlowerPainter& flowers, FruitPainter& fruits);

    // Whether flowers end the stems (false: they sit in the leaf axils).
    bool terminal() const;
    // The inflorescence at the end of a flowering stem arriving at `tip`.
    void paint(QPointF tip, double axis);
    // One branch of a panicle, from `from` along `axis`, `len` pixels long.
    void branch(QPointF from, double axis, double len);
    // A spike, raceme or small panicle from a leaf axil.
    void fromAxil(QPointF from, double axis, double len);
    // One small umbel of a compound umbel, `radius` pixels across its rays.
    void umbellet(QPointF tip, double axis, double radius) { umbel(tip, axis, radius, false); }
    // The flowers of one node's axil (葉腋, 輪散); `side` is -1 or +1.
    void axil(QPointF node, double stemAxis, double side, double leafLength);
    // Its length in cm, as the description gives it or as it grows.
    static double lengthCm(const PlantForm& form);
    // Whether a spike's tiny flowers are packed into one cylinder.
    static bool denseSpike(const PlantForm& form);
    static bool denseBranches(const PlantForm& form);
    // Whether the distinction says the flowers stand apart (まばら).
    static bool sparse(const PlantForm& form);
    // How many flowers one axil holds.
    static Range axilCount(const PlantForm& form);
    // Its length on the plate, as the description gives it or as it grows.
    double length() const { return length_; }
    // How far above the end of its stem it reaches on the plate.
    double rise() const;
    double flowerSize() const { return flower_; }
    // Where an open flower was painted, for the close-up's leader line.
    QPointF focus() const { return focus_; }
    bool hasFocus() const { return hasFocus_; }
    // Off for a close-up of the flowers alone.
    void showFruit(bool show) { showFruit_ = show; }

private:
    struct Bloom {
        QPointF at;
        double axis;
        double t;  // 0 at the base of the inflorescence, 1 at its tip
        bool mayRipen = true;  // false for the florets of a head and for spikelets
    };

    void flowerAt(const Bloom& b);
    QPainterPath axisPath(QPointF tip, double axis, double len, double bend) const;
    // `arch` bends the axis over by so many degrees (0: as the form says).
    void raceme(QPointF tip, double axis, double len, bool sessile, double arch = 0);
    void spiral(QPointF tip, double axis, double len);
    void catkin(const QPainterPath& path);
    void brush(const QPainterPath& path);
    void dense(const QPainterPath& path, double len);
    void tipCluster(QPointF tip, double axis);
    bool sedge() const;
    bool cyperus() const;
    void sedgeUmbel(QPointF tip, double axis);
    void panicle(QPointF tip, double axis);
    void corymb(QPointF tip, double axis);
    void umbel(QPointF tip, double axis, double radius, bool compound);
    void head(QPointF tip, double axis);
    double headRadius() const;
    void cyme(QPointF tip, double axis, double len, int depth);
    void spadix(QPointF tip, double axis);
    void spikeletCylinder(QPointF tip, double axis);
    void spikes(QPointF tip, double axis);
    void spikeletPanicle(QPointF tip, double axis, bool drooping);
    void digitate(QPointF tip, double axis);
    void plume(QPointF tip, double axis);
    void globose(QPointF tip, double axis);
    void sedgeBracts(QPointF tip, double axis);
    void stalk(QPointF from, QPointF to, double width);
    bool ripens() const;

    PaintContext& x_;
    FlowerPainter& flowers_;
    FruitPainter& fruits_;
    double flower_;  // px
    double fruit_;  // px
    double length_;  // px
    QPointF focus_;
    bool hasFocus_ = false;
    bool showFruit_ = true;
    int blooms_ = 0;
};
