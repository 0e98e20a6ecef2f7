#pragma once

#include "generators/LeafPainter.h"
#include "generators/PaintContext.h"

#include <QRectF>
#include <functional>

// What the close-ups of a plate show, each at a scale of its own: the
// flower (or, where the flowers are tiny and crowded, a piece of the spike,
// head or umbel they make), a node of the stem with its leaves, and the
// fruit.
class CloseUpPainter {
public:
    enum class Subject { Flower, Cluster, Node, Fruit };

    // The scale (pixels per cm) at which `subject` fills a window of the
    // given radius.
    static double scaleFor(const PlantForm& form, Subject subject, double radius);
    static Subject flowerSubject(const PlantForm& form);
    static bool fruitIsTheKey(const PlantForm& form);
    // The second close-up: the fruit, a node with its leaves, or, for a
    // plant without leaves when it flowers, its whole inflorescence.
    static Subject detailSubject(const PlantForm& form);
    static bool wholeCluster(const PlantForm& form);

    CloseUpPainter(PaintContext& x, const LeafPainter::Style& leafStyle);

    // Returns the scale it painted at (pixels per cm): a close-up fitted
    // to its window may differ from scaleFor's.
    double paint(Subject subject, QRectF window);

private:
    double fitted(QRectF window, const std::function<void(CloseUpPainter&)>& what,
                  const std::function<void(QPointF, double)>& under = {});
    void flower(QPointF centre);
    void cluster(QPointF centre, double radius);
    double node(QRectF window);
    void leavesOfNode(bool pair, bool basal, double stemWidth);
    void blade(QRectF window);
    void culmFoot(QRectF window);
    void fruit(QPointF centre);

    PaintContext& x_;
    LeafPainter::Style leafStyle_;
};
