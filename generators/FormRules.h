#pragma once

#include "catalogue/FlowerRecord.h"
#include "generators/PlantForm.h"

#include <QStringList>

// Where a form description must agree with the search attributes of its
// record, as the rules at the top of the form files write it: the leaf
// arrangement is HA, the main colour belongs to the colour group IRO (any
// colour for the spikes of grasses, sedges and rushes), and the flower's
// form is what KABEN files it as.
class FormRules {
public:
    static QStringList check(const PlantForm& form, const FlowerRecord& record);  // "column: reason"

private:
    static bool fitsPetalForm(const PlantForm& form, const QString& kaben);
};
