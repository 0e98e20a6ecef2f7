#include "generators/FormRules.h"

#include "generators/FormVocabulary.h"

namespace V = FormVocabulary;

namespace {

QString quoted(const QString& text)
{
    return QStringLiteral("「%1」").arg(text);
}

bool isSpike(Inflorescence i)
{
    switch (i) {
    case Inflorescence::Spike:
    case Inflorescence::Raceme:
    case Inflorescence::Panicle:
    case Inflorescence::Spadix:
    case Inflorescence::SpikeletCylinder:
    case Inflorescence::SpikeletPanicle:
    case Inflorescence::SpikeletDigitate:
    case Inflorescence::SpikeletDrooping:
    case Inflorescence::SpikeletGlobose:
    case Inflorescence::SpikeletSpike: return true;
    default: return false;
    }
}

}  // namespace

QStringList FormRules::check(const PlantForm& form, const FlowerRecord& record)
{
    QStringList out;
    const QString leaves = V::wordOf(V::phyllotaxes(), form.phyllotaxis);
    if (leaves != record.HA)
        out << QStringLiteral("葉序: %1, but HA is %2").arg(quoted(leaves), quoted(record.HA));
    if (!V::isPlumeFamily(record.KA2) && !V::coloursOfGroup(record.IRO).contains(form.colour))
        out << QStringLiteral("花色: the main colour %1 is not of IRO %2")
                   .arg(quoted(V::wordOf(V::colours(), form.colour)), quoted(record.IRO));
    if (!fitsPetalForm(form, record.KABEN))
        out << QStringLiteral("花: the flower does not fit KABEN %1").arg(quoted(record.KABEN));
    return out;
}

bool FormRules::fitsPetalForm(const PlantForm& form, const QString& kaben)
{
    if (kaben == QStringLiteral("花弁４枚型"))
        return form.petals == 4;
    if (kaben == QStringLiteral("花弁５枚型"))
        return form.petals == 5;
    if (kaben == QStringLiteral("花弁多数型"))
        return form.petals >= 6;
    if (kaben == QStringLiteral("スミレ型"))
        return form.symmetry == Symmetry::Bilateral && form.has(FlowerFeature::Spur);
    if (kaben == QStringLiteral("唇型"))
        return form.flowerForm == FlowerForm::TwoLipped;
    if (kaben == QStringLiteral("マメ型"))
        return form.flowerForm == FlowerForm::Pea;
    if (kaben == QStringLiteral("タンポポ型"))
        return form.flowerForm == FlowerForm::LigulesOnly;
    if (kaben == QStringLiteral("キク型"))
        return form.flowerForm == FlowerForm::RaysAndDisc || form.flowerForm == FlowerForm::DiscOnly;
    if (kaben == QStringLiteral("穂型"))
        return isSpike(form.inflorescence);
    return true;
}
