#pragma once

#include <QString>

// One flower of the catalogue: the nine text fields of a row of table KUSABANA.
// The attribute fields hold the stored name of one value of their category.
struct FlowerRecord {
    QString NAMAE;  // name
    QString KISETU;  // season
    QString IRO;  // colour
    QString KABEN;  // petal shape and count
    QString HA;  // leaf arrangement
    QString KA;  // family group used by the search
    QString KA2;  // family name for display
    QString SYASIN;  // picture file, relative to data/
    QString NOTE;  // description

    // The attribute text of category k (0 season .. 4 family).
    const QString& attribute(int k) const;
    QString& attribute(int k);

    bool operator==(const FlowerRecord&) const = default;
};
