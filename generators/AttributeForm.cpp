#include "generators/AttributeForm.h"

namespace {

Colour colourOf(const QString& iro)
{
    if (iro == QStringLiteral("白系"))
        return Colour::White;
    if (iro == QStringLiteral("黄色系"))
        return Colour::Yellow;
    if (iro == QStringLiteral("赤紫系"))
        return Colour::Magenta;
    if (iro == QStringLiteral("青紫系"))
        return Colour::BluePurple;
    return Colour::Green;
}

Phyllotaxis leavesOf(const QString& ha)
{
    if (ha == QStringLiteral("対生"))
        return Phyllotaxis::Opposite;
    if (ha == QStringLiteral("輪生"))
        return Phyllotaxis::Whorled;
    if (ha == QStringLiteral("根生"))
        return Phyllotaxis::Basal;
    return Phyllotaxis::Alternate;
}

}  // namespace

PlantForm AttributeForm::guess(const FlowerRecord& r)
{
    PlantForm f;
    f.name = r.NAMAE;
    f.height = {20, 50};
    f.phyllotaxis = leavesOf(r.HA);
    if (f.phyllotaxis == Phyllotaxis::Basal) {
        f.habit = Habit::Rosette;
        f.basal = BasalLeaves::Rosette;
    }
    f.leafShape = LeafShape::Elliptic;
    f.margins = {Margin::Entire};
    f.leafBases = {LeafBase::Stalked};
    f.leafLength = {3, 6};
    f.colour = colourOf(r.IRO);
    f.flowerSize = {10, 15};
    setFlower(f, r.KABEN);
    return f;
}

void AttributeForm::setFlower(PlantForm& f, const QString& kaben)
{
    f.petals = 5;
    if (kaben == QStringLiteral("花弁４枚型")) {
        f.petals = 4;
    } else if (kaben == QStringLiteral("花弁多数型")) {
        f.petals = 8;
    } else if (kaben == QStringLiteral("スミレ型")) {
        f.symmetry = Symmetry::Bilateral;
        f.features = {FlowerFeature::Spur};
    } else if (kaben == QStringLiteral("唇型")) {
        f.symmetry = Symmetry::Bilateral;
        f.flowerForm = FlowerForm::TwoLipped;
        f.inflorescence = Inflorescence::Verticillaster;
    } else if (kaben == QStringLiteral("マメ型")) {
        f.symmetry = Symmetry::Bilateral;
        f.flowerForm = FlowerForm::Pea;
        f.inflorescence = Inflorescence::Raceme;
    } else if (kaben == QStringLiteral("タンポポ型")) {
        f.flowerForm = FlowerForm::LigulesOnly;
        f.petals = 0;
        f.flowerSize = {25, 35};
    } else if (kaben == QStringLiteral("キク型")) {
        f.flowerForm = FlowerForm::RaysAndDisc;
        f.petals = 0;
        f.inflorescence = Inflorescence::Corymb;
        f.flowerSize = {15, 25};
    } else if (kaben == QStringLiteral("穂型")) {
        f.inflorescence = Inflorescence::Spike;
        f.inflorescenceLength = {5, 10};
        f.flowerSize = {2, 3};
    } else if (kaben == QStringLiteral("その他")) {
        f.flowerForm = FlowerForm::Bell;
    }
}
