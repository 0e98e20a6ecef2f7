#pragma once

#include "catalogue/FlowerRecord.h"
#include "generators/PlantForm.h"

// A plain form guessed from a record's five search attributes, for a record
// that has no description yet: the picture then shows no more than the
// search already says (petal form, colour group, leaf arrangement) and the
// checker names the record as undescribed.
class AttributeForm {
public:
    static PlantForm guess(const FlowerRecord& record);

private:
    static void setFlower(PlantForm& f, const QString& kaben);
};
