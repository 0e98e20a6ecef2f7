#pragma once

#include "catalogue/FlowerRecord.h"
#include "generators/PlantForm.h"

#include <QImage>
#include <QSize>

// Paints the plate shown for a catalogue record as a field guide would:
// the whole plant grown from its form description (PlantForm) on one scale
// from its height to the frame, so that flowers and leaves keep their real
// sizes against each other; beside it a round close-up of the flower (or of
// a piece of a spike of tiny flowers) and a square one of a node with its
// leaves or of the fruit, each with its magnification; a scale bar; the
// season's sky and hills (KISETU) behind; and the name plate at the bottom
// left.
//
// The record's name seeds every free choice, so a record always yields the
// same pixels. Needs a QGuiApplication (fonts). Safe to call from worker
// threads.
class FlowerIllustrator {
public:
    static QImage draw(const FlowerRecord& record, const PlantForm& form, QSize size = QSize(640, 480));
};
