#pragma once

#include "generators/PaintKit.h"
#include "generators/PlantForm.h"

#include <QColor>

enum class Season { Spring, Summer, Autumn };

// The colours of one plant: its flower's main, second and centre colours
// as the description names them, shaded for painting, and its foliage,
// which follows the season a little (fresh in spring, deep in summer, tired
// in autumn).
struct PlantPalette {
    struct Tone {
        QColor base, deep, light, edge;
    };

    Tone petal;  // main colour
    Tone second;  // second colour, or the main one when none is named
    Tone centre;  // eye, disc, stamens, throat
    QColor pollen;
    QColor leaf, leafDark, leafLight, vein;
    QColor stem, stemDark;
    QColor hair;

    static PlantPalette make(const PlantForm& form, Season season, PaintKit::Rng& r);
    static QColor colourOf(Colour c);
    static Tone toneOf(Colour c);
    static Season seasonOf(const QString& kisetu);
    // White and near-white: such a part needs a dark ground to show.
    static bool isPale(Colour c);

private:
    void setFoliage(const PlantForm& form, Season season, PaintKit::Rng& r);
};
