#pragma once

#include <QString>
#include <QVector>

// The form of one plant as a field guide describes it: the rule set the
// illustrator grows a picture from. One line of catalogue/forms/*.tsv, read
// by FormSource; the words of each column are the closed vocabularies below
// (their Japanese spelling lives in FormVocabulary).

// A measured size, "10-30" or "5": the smallest and the largest.
struct Range {
    double min = 0;
    double max = 0;

    double at(double t) const { return min + (max - min) * t; }
    double mid() const { return at(0.5); }
    bool known() const { return max > 0; }
};

// 草姿
enum class Habit {
    Upright,
    Ascending,
    Creeping,
    Rosette,
    Tufted,
    Twining,
    TendrilClimber,
    Scrambling,
    Emergent,
    Floating
};
enum class Branching { Unsaid, Unbranched, Above, Much, FromBase };
// 茎
enum class StemFeature { Square, Winged, Hairy, Bristly, Reddish, PurpleBrown, Prickly, Glaucous, ThickNodes };
// 葉序
enum class Phyllotaxis { Alternate, Opposite, Whorled, Basal };
// 根生葉
enum class BasalLeaves { None, Present, Rosette };
// 葉形
enum class LeafShape {
    Linear,
    Needle,
    Lanceolate,
    Oblanceolate,
    Oblong,
    Elliptic,
    Ovate,
    Obovate,
    Round,
    Cordate,
    Reniform,
    Spatulate,
    Sagittate,
    Hastate,
    Triangular,
    Rhombic,
    Fan,
};
// 縁
enum class Margin {
    Entire,
    Serrate,
    DoublySerrate,
    Wavy,
    Lobed,
    Cleft,
    PinnatelyCleft,
    PalmatelyCleft,
    Dissected,
    Spiny
};
// 葉の分裂
enum class Division { Simple, Trifoliate, Palmate, Pinnate, Bipinnate, Tripinnate, Biternate, Pedate };
// 葉の基部
enum class LeafBase { Stalked, Sessile, Clasping, Sheathing, Stipules, Perfoliate, WingedStalk };
// 花序
enum class Inflorescence {
    Solitary,
    Raceme,
    Spike,
    Panicle,
    Corymb,
    Umbel,
    CompoundUmbel,
    Head,
    Cyme,
    Axillary,
    Verticillaster,
    Spadix,
    SpikeletCylinder,
    SpikeletPanicle,
    SpikeletDigitate,
    SpikeletDrooping,
    SpikeletGlobose,
    SpikeletSpike,
};
enum class InflorescenceTrait { Drooping, OneSided, Twisted };
// 花
enum class Symmetry { Radial, Bilateral };
enum class FlowerForm {
    FreePetals,
    Tube,
    Bell,
    Funnel,
    Urn,
    Salver,
    TwoLipped,
    Pea,
    Dayflower,
    LigulesOnly,
    RaysAndDisc,
    DiscOnly,
    Apetalous,
    Spikelet,
    Spathe,
    Orchid,
};
enum class FlowerFeature {
    Spur,
    Notched,
    Bilobed,
    Fringed,
    Reflexed,
    Spots,
    Veins,
    Stamens,
    Corona,
    Sepals,
    Bracts,
};
enum class Facing { Unsaid, Up, Sideways, Down };
// 花色, 模様 and the colour of a berry or gourd
enum class Colour {
    White,
    Cream,
    GreenishWhite,
    PaleYellow,
    Yellow,
    Orange,
    Vermilion,
    Crimson,
    Red,
    Pink,
    PalePink,
    RedPurple,
    Magenta,
    PalePurple,
    Purple,
    BluePurple,
    Blue,
    PaleBlue,
    Green,
    YellowGreen,
    Brown,
    RedBrown,
    PurpleBrown,
    DarkPurple,
    BlackPurple,
    Silver,
    Gold,
};
enum class MarkKind { Veins, Spots, Eye, Edge, Base, Throat };
// 果実
enum class Fruit {
    None,
    Pappus,
    Bur,
    Hooks,
    Pod,
    Loment,
    Silique,
    Silicle,
    Fan,
    Triangle,
    Berry,
    Gourd,
    Capsule,
    Follicle,
    Beak,
};

struct Marking {
    MarkKind kind = MarkKind::Veins;
    Colour colour = Colour::Purple;
};

struct PlantForm {
    QString name;  // NAMAE of the record it describes
    QString genus;  // 属
    Habit habit = Habit::Upright;
    Branching branching = Branching::Unsaid;
    bool colonial = false;  // 群生
    Range height;  // cm; the stem's length for creepers and climbers
    QVector<StemFeature> stem;
    Phyllotaxis phyllotaxis = Phyllotaxis::Alternate;
    Range whorl;  // leaves in one whorl, when given
    BasalLeaves basal = BasalLeaves::None;
    LeafShape leafShape = LeafShape::Elliptic;
    QVector<Margin> margins;  // one or two
    Division division = Division::Simple;
    Range leaflets;  // of a palmate or pinnate leaf, when given
    bool tendrils = false;  // the leaf ends in tendrils
    QVector<LeafBase> leafBases;  // one or two
    Range leafLength;  // cm, of the whole leaf
    Inflorescence inflorescence = Inflorescence::Solitary;
    QVector<InflorescenceTrait> inflorescenceTraits;
    Range inflorescenceLength;  // cm; unknown for solitary and axillary flowers
    Symmetry symmetry = Symmetry::Radial;
    int petals = 0;  // parts that look like petals; 0 when not counted (heads, spikelets)
    FlowerForm flowerForm = FlowerForm::FreePetals;
    QVector<FlowerFeature> features;
    Facing facing = Facing::Unsaid;
    Range flowerSize;  // mm
    Colour colour = Colour::White;
    Colour secondColour = Colour::White;
    bool hasSecondColour = false;
    Colour centreColour = Colour::Yellow;
    bool hasCentreColour = false;
    QVector<Marking> markings;
    Fruit fruit = Fruit::None;
    Colour fruitColour = Colour::Red;  // of a berry or gourd
    QString distinction;  // 見分け

    bool has(StemFeature f) const { return stem.contains(f); }
    bool has(Margin m) const { return margins.contains(m); }
    bool has(LeafBase b) const { return leafBases.contains(b); }
    bool has(InflorescenceTrait t) const { return inflorescenceTraits.contains(t); }
    bool has(FlowerFeature f) const { return features.contains(f); }
    bool isHead() const
    {
        return flowerForm == FlowerForm::LigulesOnly || flowerForm == FlowerForm::RaysAndDisc ||
               flowerForm == FlowerForm::DiscOnly;
    }
    // Its flowers are spikelets of grasses, sedges and rushes.
    bool isGrassLike() const
    {
        return flowerForm == FlowerForm::Spikelet || inflorescence >= Inflorescence::SpikeletCylinder;
    }
    // A grass-like blade leaves the stem at the top of its sheath; other
    // sheaths (the ochreae of the knotweeds) sit round the node.
    bool bladeAboveSheath() const
    {
        return has(LeafBase::Sheathing) && !has(LeafBase::Stalked) &&
               (leafShape == LeafShape::Linear || leafShape == LeafShape::Needle || leafShape == LeafShape::Lanceolate);
    }
    bool climbs() const
    {
        return habit == Habit::Twining || habit == Habit::TendrilClimber || habit == Habit::Scrambling;
    }
};
