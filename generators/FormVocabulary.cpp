#include "generators/FormVocabulary.h"

#include <array>

namespace FormVocabulary {

namespace {

template <typename E, size_t N>
std::span<const Word<E>> all(const std::array<Word<E>, N>& words)
{
    return {words.data(), words.size()};
}

}  // namespace

std::span<const Word<Habit>> habits()
{
    static const std::array<Word<Habit>, 10> words{{
        {u"直立", Habit::Upright},
        {u"斜上", Habit::Ascending},
        {u"匍匐", Habit::Creeping},
        {u"ロゼット", Habit::Rosette},
        {u"株立ち", Habit::Tufted},
        {u"つる", Habit::Twining},
        {u"巻きひげ", Habit::TendrilClimber},
        {u"よじ登る", Habit::Scrambling},
        {u"抽水", Habit::Emergent},
        {u"浮葉", Habit::Floating},
    }};
    return all(words);
}

std::span<const Word<Branching>> branchings()
{
    static const std::array<Word<Branching>, 4> words{{
        {u"分枝しない", Branching::Unbranched},
        {u"上部で分枝", Branching::Above},
        {u"よく分枝", Branching::Much},
        {u"根元で分枝", Branching::FromBase},
    }};
    return all(words);
}

bool isColonial(const QString& word)
{
    return word == QStringLiteral("群生");
}

std::span<const Word<StemFeature>> stemFeatures()
{
    static const std::array<Word<StemFeature>, 9> words{{
        {u"四角", StemFeature::Square},
        {u"翼", StemFeature::Winged},
        {u"毛", StemFeature::Hairy},
        {u"剛毛", StemFeature::Bristly},
        {u"赤み", StemFeature::Reddish},
        {u"紫褐", StemFeature::PurpleBrown},
        {u"とげ", StemFeature::Prickly},
        {u"粉白", StemFeature::Glaucous},
        {u"節が太い", StemFeature::ThickNodes},
    }};
    return all(words);
}

std::span<const Word<Phyllotaxis>> phyllotaxes()
{
    static const std::array<Word<Phyllotaxis>, 4> words{{
        {u"互生", Phyllotaxis::Alternate},
        {u"対生", Phyllotaxis::Opposite},
        {u"輪生", Phyllotaxis::Whorled},
        {u"根生", Phyllotaxis::Basal},
    }};
    return all(words);
}

std::span<const Word<BasalLeaves>> basalLeaves()
{
    static const std::array<Word<BasalLeaves>, 3> words{{
        {u"なし", BasalLeaves::None},
        {u"あり", BasalLeaves::Present},
        {u"ロゼット", BasalLeaves::Rosette},
    }};
    return all(words);
}

std::span<const Word<LeafShape>> leafShapes()
{
    static const std::array<Word<LeafShape>, 17> words{{
        {u"線形", LeafShape::Linear},
        {u"針形", LeafShape::Needle},
        {u"披針形", LeafShape::Lanceolate},
        {u"倒披針形", LeafShape::Oblanceolate},
        {u"長楕円形", LeafShape::Oblong},
        {u"楕円形", LeafShape::Elliptic},
        {u"卵形", LeafShape::Ovate},
        {u"倒卵形", LeafShape::Obovate},
        {u"円形", LeafShape::Round},
        {u"心形", LeafShape::Cordate},
        {u"腎形", LeafShape::Reniform},
        {u"へら形", LeafShape::Spatulate},
        {u"矢じり形", LeafShape::Sagittate},
        {u"ほこ形", LeafShape::Hastate},
        {u"三角形", LeafShape::Triangular},
        {u"菱形", LeafShape::Rhombic},
        {u"扇形", LeafShape::Fan},
    }};
    return all(words);
}

std::span<const Word<Margin>> margins()
{
    static const std::array<Word<Margin>, 10> words{{
        {u"全縁", Margin::Entire},
        {u"鋸歯", Margin::Serrate},
        {u"重鋸歯", Margin::DoublySerrate},
        {u"波状", Margin::Wavy},
        {u"浅裂", Margin::Lobed},
        {u"深裂", Margin::Cleft},
        {u"羽状深裂", Margin::PinnatelyCleft},
        {u"掌状深裂", Margin::PalmatelyCleft},
        {u"細裂", Margin::Dissected},
        {u"とげ", Margin::Spiny},
    }};
    return all(words);
}

std::span<const Word<LeafBase>> leafBases()
{
    static const std::array<Word<LeafBase>, 7> words{{
        {u"有柄", LeafBase::Stalked},
        {u"無柄", LeafBase::Sessile},
        {u"抱茎", LeafBase::Clasping},
        {u"鞘", LeafBase::Sheathing},
        {u"托葉", LeafBase::Stipules},
        {u"貫生", LeafBase::Perfoliate},
        {u"翼柄", LeafBase::WingedStalk},
    }};
    return all(words);
}

std::span<const Word<Inflorescence>> inflorescences()
{
    static const std::array<Word<Inflorescence>, 18> words{{
        {u"単生", Inflorescence::Solitary},
        {u"総状", Inflorescence::Raceme},
        {u"穂状", Inflorescence::Spike},
        {u"円錐", Inflorescence::Panicle},
        {u"散房", Inflorescence::Corymb},
        {u"散形", Inflorescence::Umbel},
        {u"複散形", Inflorescence::CompoundUmbel},
        {u"頭状", Inflorescence::Head},
        {u"集散", Inflorescence::Cyme},
        {u"葉腋", Inflorescence::Axillary},
        {u"輪散", Inflorescence::Verticillaster},
        {u"肉穂", Inflorescence::Spadix},
        {u"小穂円柱", Inflorescence::SpikeletCylinder},
        {u"小穂円錐", Inflorescence::SpikeletPanicle},
        {u"小穂指状", Inflorescence::SpikeletDigitate},
        {u"小穂垂下", Inflorescence::SpikeletDrooping},
        {u"小穂球状", Inflorescence::SpikeletGlobose},
        {u"小穂穂状", Inflorescence::SpikeletSpike},
    }};
    return all(words);
}

std::span<const Word<InflorescenceTrait>> inflorescenceTraits()
{
    static const std::array<Word<InflorescenceTrait>, 3> words{{
        {u"下垂", InflorescenceTrait::Drooping},
        {u"片側", InflorescenceTrait::OneSided},
        {u"ねじれ", InflorescenceTrait::Twisted},
    }};
    return all(words);
}

std::span<const Word<Symmetry>> symmetries()
{
    static const std::array<Word<Symmetry>, 2> words{{
        {u"放射", Symmetry::Radial},
        {u"左右", Symmetry::Bilateral},
    }};
    return all(words);
}

std::span<const Word<FlowerForm>> flowerForms()
{
    static const std::array<Word<FlowerForm>, 16> words{{
        {u"離弁", FlowerForm::FreePetals},
        {u"筒形", FlowerForm::Tube},
        {u"鐘形", FlowerForm::Bell},
        {u"漏斗形", FlowerForm::Funnel},
        {u"壺形", FlowerForm::Urn},
        {u"高坏形", FlowerForm::Salver},
        {u"唇形", FlowerForm::TwoLipped},
        {u"蝶形", FlowerForm::Pea},
        {u"ツユクサ形", FlowerForm::Dayflower},
        {u"舌状花のみ", FlowerForm::LigulesOnly},
        {u"舌状花と筒状花", FlowerForm::RaysAndDisc},
        {u"筒状花のみ", FlowerForm::DiscOnly},
        {u"花弁なし", FlowerForm::Apetalous},
        {u"小穂", FlowerForm::Spikelet},
        {u"仏炎苞", FlowerForm::Spathe},
        {u"ラン形", FlowerForm::Orchid},
    }};
    return all(words);
}

std::span<const Word<FlowerFeature>> flowerFeatures()
{
    static const std::array<Word<FlowerFeature>, 11> words{{
        {u"距", FlowerFeature::Spur},
        {u"先が切れ込む", FlowerFeature::Notched},
        {u"深く2裂", FlowerFeature::Bilobed},
        {u"細裂", FlowerFeature::Fringed},
        {u"反り返る", FlowerFeature::Reflexed},
        {u"斑点", FlowerFeature::Spots},
        {u"筋", FlowerFeature::Veins},
        {u"雄しべが目立つ", FlowerFeature::Stamens},
        {u"副花冠", FlowerFeature::Corona},
        {u"萼", FlowerFeature::Sepals},
        {u"苞", FlowerFeature::Bracts},
    }};
    return all(words);
}

std::span<const Word<Facing>> facings()
{
    static const std::array<Word<Facing>, 3> words{{
        {u"上向き", Facing::Up},
        {u"横向き", Facing::Sideways},
        {u"下向き", Facing::Down},
    }};
    return all(words);
}

std::span<const Word<Colour>> colours()
{
    static const std::array<Word<Colour>, 27> words{{
        {u"白", Colour::White},         {u"乳白", Colour::Cream},       {u"緑白", Colour::GreenishWhite},
        {u"淡黄", Colour::PaleYellow},  {u"黄", Colour::Yellow},        {u"橙", Colour::Orange},
        {u"朱", Colour::Vermilion},     {u"紅", Colour::Crimson},       {u"赤", Colour::Red},
        {u"桃", Colour::Pink},          {u"淡紅", Colour::PalePink},    {u"赤紫", Colour::RedPurple},
        {u"紅紫", Colour::Magenta},     {u"淡紫", Colour::PalePurple},  {u"紫", Colour::Purple},
        {u"青紫", Colour::BluePurple},  {u"青", Colour::Blue},          {u"淡青", Colour::PaleBlue},
        {u"緑", Colour::Green},         {u"黄緑", Colour::YellowGreen}, {u"褐", Colour::Brown},
        {u"赤褐", Colour::RedBrown},    {u"紫褐", Colour::PurpleBrown}, {u"暗紫", Colour::DarkPurple},
        {u"黒紫", Colour::BlackPurple}, {u"銀", Colour::Silver},        {u"金", Colour::Gold},
    }};
    return all(words);
}

std::span<const Word<MarkKind>> markKinds()
{
    static const std::array<Word<MarkKind>, 6> words{{
        {u"筋", MarkKind::Veins},
        {u"斑点", MarkKind::Spots},
        {u"目", MarkKind::Eye},
        {u"縁", MarkKind::Edge},
        {u"基部", MarkKind::Base},
        {u"喉", MarkKind::Throat},
    }};
    return all(words);
}

std::span<const Word<Fruit>> fruits()
{
    static const std::array<Word<Fruit>, 14> words{{
        {u"綿毛", Fruit::Pappus},
        {u"いが", Fruit::Bur},
        {u"かぎ", Fruit::Hooks},
        {u"莢", Fruit::Pod},
        {u"節果", Fruit::Loment},
        {u"長角", Fruit::Silique},
        {u"短角", Fruit::Silicle},
        {u"軍配", Fruit::Fan},
        {u"三角", Fruit::Triangle},
        {u"液果", Fruit::Berry},
        {u"瓜", Fruit::Gourd},
        {u"蒴果", Fruit::Capsule},
        {u"袋果", Fruit::Follicle},
        {u"くちばし", Fruit::Beak},
    }};
    return all(words);
}

QVector<Colour> coloursOfGroup(const QString& iro)
{
    using C = Colour;
    if (iro == QStringLiteral("白系"))
        return {C::White, C::Cream, C::GreenishWhite};
    if (iro == QStringLiteral("黄色系"))
        return {C::PaleYellow, C::Yellow, C::Orange, C::Gold};
    if (iro == QStringLiteral("赤紫系"))
        return {C::Vermilion, C::Crimson, C::Red, C::Pink, C::PalePink, C::RedPurple, C::Magenta};
    if (iro == QStringLiteral("青紫系"))
        return {C::PalePurple, C::Purple, C::BluePurple, C::Blue, C::PaleBlue};
    if (iro == QStringLiteral("その他"))
        return {C::Green,      C::YellowGreen, C::GreenishWhite, C::Brown, C::RedBrown, C::PurpleBrown,
                C::DarkPurple, C::BlackPurple, C::Silver,        C::Gold,  C::Cream};
    return {};
}

bool isPlumeFamily(const QString& ka2)
{
    static const QStringList families{QStringLiteral("イネ科"), QStringLiteral("カヤツリグサ科"),
                                      QStringLiteral("ｶﾔﾂﾘｸﾞｻ科"), QStringLiteral("イグサ科")};
    return families.contains(ka2);
}

}  // namespace FormVocabulary
