#pragma once

#include "generators/PaintContext.h"

#include <QPainterPath>

// Paints whole leaves as the description gives them: the blade's contour
// and margin (LeafOutline), the division (trifoliate, palmate, pinnate with
// its number of leaflets, twice or thrice pinnate, biternate, pedate), a
// tendril at the end, the stalk, stipules and clasping ears, and the veins
// and mottling where the leaf is large enough to show them.
class LeafPainter {
public:
    // Decided once per plant.
    struct Style {
        int leaflets = 1;  // of a pinnate or palmate leaf
        bool parallelVeins = false;  // monocots and plantains
        bool mottled = false;
        bool fleshy = false;  // thick succulent leaves: plump, no veins showing
        double width = 1.0;  // across the contour
        double droop = 0.12;
    };

    static Style styleFor(const PlantForm& form, const QString& family, PaintKit::Rng& r);
    // How much narrower than its contour a blade is drawn (long grass-like blades).
    static double narrowing(const PlantForm& form);

    LeafPainter(PaintContext& x, const Style& style);

    // One leaf from its base at `at` along `angle`, `length` pixels with its
    // stalk. `across` < 1 foreshortens it; `tone` lightens or darkens it.
    void paint(QPointF at, double angle, double length, double across = 1.0, double tone = 0.0);
    // A single blade along +x of the current frame, base at the origin.
    void blade(double length, double across, double tone);
    // How far along the leaf its blade begins (the stalk), as a fraction.
    double stalkShare() const;
    const Style& style() const { return style_; }

private:
    void compound(double L, double across, double tone);
    void leaflet(QPointF at, double angle, double length, double across, double tone);
    void pinnate(QPointF from, double angle, double rachis, int count, bool tip, double across, double tone);
    void twicePinnate(double L, double across, double tone, int depth);
    bool largeEndLeaflet() const;
    void fan(QPointF at, double angle, double length, int count, double spread, double across, double tone);
    void tendril(QPointF from, double angle, double length);
    void stalk(double length, double tone);
    void stipules(double length, double tone);
    void ears(double length, double tone);
    void veins(double length, double across);
    void plump(double length, double across, double tone);
    void mottle(double length);
    void fill(const QPainterPath& unit, double length, double across, double tone);

    PaintContext& x_;
    Style style_;
    QPainterPath blade_;  // unit outline of the blade
    QPainterPath leaflet_;  // unit outline of a leaflet of a compound leaf
    QPainterPath filaments_;  // unit segments of a finely dissected leaf
};
