#pragma once

#include "generators/InflorescencePainter.h"
#include "generators/LeafPainter.h"
#include "generators/PaintContext.h"

#include <vector>

// One shoot of the plant: a stem with its features (square, winged, hairy,
// bristly, prickly, thick nodes), its leaves set by the phyllotaxis
// (alternate in a spiral or in two ranks, opposite in crossed pairs, in
// whorls of their count) and seen in perspective, sheaths and tendrils, the
// flowers in the leaf axils, and the inflorescence at its end.
class ShootPainter {
public:
    struct Shoot {
        PaintKit::Curve path;
        double length = 100;  // px along the stem
        double width = 2;  // px at its foot
        double leafSize = 1.0;  // of the plant's leaf length
        bool leafy = true;
        bool flowering = true;  // ends in the inflorescence
        int nodes = 5;
        double leafFrom = 0.08;  // share of the stem below the first node
        double leafTo = 0.8;  // share of the stem below the last node
        bool hanging = false;  // leaves of a climber leave the stem sideways
        double beyond = 0;  // share of the stem above a flower cluster on its side
        bool clothed = false;  // bracts clothe the stem (a stalk that flowers before its leaves)
        bool scales = false;  // scale leaves on the bare stem below a single whorl
    };

    struct LeafPose {
        QPointF at;
        double angle = 0;
        double length = 10;
        double across = 1;
        double tone = 0;
        bool back = false;
    };

    ShootPainter(PaintContext& x, LeafPainter& leaves, InflorescencePainter& blooms);

    void paint(const Shoot& s);
    // The stem alone, for the painters of stems that creep or twine.
    void stem(const PaintKit::Curve& path, double w0, double w1);
    void paintLeaf(const LeafPose& l);
    // A leaf leaving the stem at azimuth `phi` (0 right, 90 toward the viewer),
    // rising `elevation` degrees, seen from `view` degrees above.
    LeafPose pose(QPointF at, double axis, double phi, double elevation, double view, double length) const;
    QPointF leafFocus() const { return leafFocus_; }
    bool hasLeafFocus() const { return leafFocusSize_ > 0; }
    // A round stipule round the stem at a node (Distinction::saucerStipules).
    void saucer(QPointF at, double axis, double w);

private:
    std::vector<LeafPose> leaves(const Shoot& s, std::vector<std::pair<QPointF, double>>& axils);
    void node(const Shoot& s, int k, double phi0, std::vector<LeafPose>& out,
              std::vector<std::pair<QPointF, double>>& axils);
    void hairs(const PaintKit::Curve& path, double w, bool bristly);
    void prickles(const PaintKit::Curve& path, double w);
    void wings(const PaintKit::Curve& path, double w);
    void sheath(QPointF from, QPointF to, double w);
    void bracts(const Shoot& s);
    void scaleLeaves(const Shoot& s);
    void axillaryClusters(const std::vector<std::pair<QPointF, double>>& axils);
    void inflorescence(const Shoot& s);

    PaintContext& x_;
    LeafPainter& leaves_;
    InflorescencePainter& blooms_;
    QPointF leafFocus_;
    double leafFocusSize_ = 0;
};
