#pragma once

#include <QImage>
#include <QSize>
#include <QString>

// Paints the plate shown for a catalogue record: a field-guide style drawing
// of a plant with the record's petal form, flower colour and leaf arrangement,
// set against a sky and meadow that tell the season, with the name captioned
// at the bottom left.
//
// The record name seeds every free choice (how many flowers, where they sit,
// leaf shapes, stem curves, small hue shifts), so a record always yields the
// same pixels while two records with identical attributes still look clearly
// different. The text arguments take the catalogue's own category words
// (春/夏/秋, 白系/黄色系/..., 花弁４枚型/..., 対生/互生/輪生/根生); anything
// unrecognised falls back to a sensible default instead of failing.
//
// Needs a QGuiApplication (fonts). Safe to call from worker threads.
class FlowerIllustrator {
public:
    static QImage draw(const QString& name, const QString& season, const QString& colour, const QString& petalForm,
                       const QString& leafArrangement, const QString& familyDisplay, QSize size = QSize(640, 480));
};
