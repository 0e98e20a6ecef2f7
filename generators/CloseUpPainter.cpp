#include "generators/CloseUpPainter.h"

#include "generators/FlowerPainter.h"
#include "generators/FruitPainter.h"
#include "generators/HeadPainter.h"
#include "generators/InflorescencePainter.h"
#include "generators/ShootPainter.h"

#include <QRegularExpression>
#include <algorithm>
#include <cmath>

using namespace PaintKit;

namespace {

bool crowded(Inflorescence i)
{
    switch (i) {
    case Inflorescence::Spike:
    case Inflorescence::Head:
    case Inflorescence::Umbel:
    case Inflorescence::CompoundUmbel:
    case Inflorescence::Panicle:
    case Inflorescence::Spadix: return true;
    default: return false;
    }
}

bool profiled(FlowerForm f)
{
    return f == FlowerForm::TwoLipped || f == FlowerForm::Pea || f == FlowerForm::Tube || f == FlowerForm::Orchid;
}

}  // namespace

CloseUpPainter::Subject CloseUpPainter::flowerSubject(const PlantForm& f)
{
    if (f.isGrassLike() || f.flowerForm == FlowerForm::Apetalous ||
        (crowded(f.inflorescence) && f.flowerSize.mid() < 5 && !f.isHead()))
        return Subject::Cluster;
    return Subject::Flower;
}

// The fruit gets the close-up when the distinction speaks of it, or, when
// the distinction speaks of no leaf either, when it is a fruit that sets
// plants apart (burs, hooks, jointed pods, beaks, gourds, the flat pods).
bool CloseUpPainter::fruitIsTheKey(const PlantForm& f)
{
    if (f.fruit == Fruit::None)
        return false;
    static const QRegularExpression fruitWords(QStringLiteral("実|果|莢|綿毛|さや|種子"));
    if (f.distinction.contains(fruitWords))
        return true;
    if (f.distinction.contains(u'葉'))
        return false;
    switch (f.fruit) {
    case Fruit::Bur:
    case Fruit::Hooks:
    case Fruit::Loment:
    case Fruit::Beak:
    case Fruit::Gourd:
    case Fruit::Triangle:
    case Fruit::Fan: return true;
    default: return false;
    }
}

CloseUpPainter::Subject CloseUpPainter::detailSubject(const PlantForm& f)
{
    if (fruitIsTheKey(f))
        return Subject::Fruit;
    const bool leafless = f.phyllotaxis == Phyllotaxis::Basal && f.basal == BasalLeaves::None;
    return leafless ? Subject::Cluster : Subject::Node;
}

double CloseUpPainter::scaleFor(const PlantForm& f, Subject subject, double radius)
{
    const double flowerCm = std::max(f.flowerSize.mid(), 0.5) / 10.0;
    switch (subject) {
    case Subject::Flower: return radius * (profiled(f.flowerForm) ? 1.1 : 1.3) / flowerCm;
    case Subject::Cluster: {
        const double whole = f.inflorescenceLength.known() ? f.inflorescenceLength.mid() : flowerCm * 8;
        const double fit = radius * 1.7 / std::max(whole, 0.1);
        if (f.flowerForm == FlowerForm::Apetalous)  // one solid spike: the whole of it
            return std::min(fit, radius * 0.5 / flowerCm);
        return std::clamp(fit, radius * 0.22 / flowerCm, radius * 0.5 / flowerCm);
    }
    case Subject::Node: {
        const double leaf = std::max(f.leafLength.mid(), 0.3);
        // a grass blade: its base and sheath, wide enough to see
        const bool narrow = f.leafShape == LeafShape::Linear || f.leafShape == LeafShape::Needle;
        if (narrow && f.division == Division::Simple)
            return std::min(radius * 0.22 / (leaf * 0.035), radius * 6 / leaf);
        const double share =
            f.phyllotaxis == Phyllotaxis::Alternate || f.phyllotaxis == Phyllotaxis::Basal ? 1.6 : 0.95;
        return radius * share / leaf;
    }
    case Subject::Fruit: return radius * 1.3 / std::max(FruitPainter::sizeMm(f) / 10.0, 0.05);
    }
    return 1.0;
}

CloseUpPainter::CloseUpPainter(PaintContext& x, const LeafPainter::Style& leafStyle)
    : x_(x)
    , leafStyle_(leafStyle)
{
}

void CloseUpPainter::paint(Subject subject, QRectF window)
{
    switch (subject) {
    case Subject::Flower: flower(window.center()); break;
    case Subject::Cluster: cluster(window.center(), std::min(window.width(), window.height()) / 2); break;
    case Subject::Node: node(window); break;
    case Subject::Fruit: fruit(window.center()); break;
    }
}

// One flower, turned to show its face (a nodding one as it hangs).
void CloseUpPainter::flower(QPointF centre)
{
    const PlantForm& f = x_.form;
    FlowerPainter flowers(x_);
    const double size = x_.mm(f.flowerSize.mid());
    Facing facing = f.facing == Facing::Down ? Facing::Down : Facing::Unsaid;
    QPointF at = centre;
    double axis = -90;
    if (HeadPainter::involucreIsTheKey(f)) {
        HeadPainter(x_).profile(centre, size);
        return;
    }
    const bool open = f.flowerForm == FlowerForm::Funnel || f.flowerForm == FlowerForm::Salver;
    if (open && facing != Facing::Down) {  // face on, to show the markings inside
        x_.p.save();
        x_.p.translate(centre);
        flowers.face(size / 2, 0, 1.0);
        x_.p.restore();
        return;
    }
    if (facing == Facing::Down && f.inflorescence == Inflorescence::Axillary &&
        InflorescencePainter::axilCount(f).max >= 2) {  // the bunch that hangs from one axil
        const int n = int(InflorescencePainter::axilCount(f).max);
        const QPointF node = centre - QPointF(0, size * 0.75);
        line(x_.p, node - QPointF(size, -size * 0.3), node + QPointF(size, -size * 0.3), x_.c.stem, size * 0.06);
        for (int i = 0; i < n; ++i) {
            const QPointF end = node + QPointF((i - (n - 1) / 2.0) * size * 0.32, size * 0.3);
            line(x_.p, node, end, x_.c.stem, std::max(1.0, size * 0.025));
            flowers.paint(end, 90, size * 0.75, Facing::Down);
        }
        return;
    }
    if (facing == Facing::Down) {
        at = centre - QPointF(size * 0.15, size * 0.5);
        axis = -60;
    } else if (profiled(f.flowerForm)) {
        at = centre + QPointF(-size * 0.42, f.flowerForm == FlowerForm::Pea ? size * 0.22 : size * 0.08);
        axis = 0;
    } else if (f.flowerForm == FlowerForm::Bell || f.flowerForm == FlowerForm::Urn ||
               f.flowerForm == FlowerForm::Funnel) {
        at = centre - QPointF(size * 0.5, 0);
        axis = 0;
        facing = Facing::Unsaid;
    } else if (f.flowerForm == FlowerForm::Spathe) {
        at = centre + QPointF(-size * 0.1, size * 0.45);
    }
    line(x_.p, at + polar(axis + 180, size * 0.1), at + polar(axis + 180, size * 0.9), x_.c.stem,
         std::max(1.0, size * 0.04));
    flowers.paint(at, axis, size, facing);
}

void CloseUpPainter::cluster(QPointF centre, double radius)
{
    FlowerPainter flowers(x_);
    FruitPainter fruits(x_);
    InflorescencePainter blooms(x_, flowers, fruits);
    blooms.showFruit(false);
    // the upper middle of a long inflorescence, where its flowers are open
    const QPointF tip = centre + QPointF(0, std::min(blooms.length() * 0.6, radius * 1.1));
    line(x_.p, tip, tip + QPointF(0, radius), x_.c.stem, std::max(1.0, x_.mm(1.5)));
    blooms.paint(tip, -90);
}

// A piece of stem with the leaves of one node, showing the stem's features
// and the leaves' contour, margin, division and base.
void CloseUpPainter::node(QRectF window)
{
    const PlantForm& f = x_.form;
    LeafPainter leaves(x_, leafStyle_);
    FlowerPainter flowers(x_);
    FruitPainter fruits(x_);
    InflorescencePainter blooms(x_, flowers, fruits);
    ShootPainter shoots(x_, leaves, blooms);
    const double leaf = x_.cm(f.leafLength.mid());
    const bool basal = f.phyllotaxis == Phyllotaxis::Basal;
    const bool pair = f.phyllotaxis == Phyllotaxis::Opposite || f.phyllotaxis == Phyllotaxis::Whorled;
    const double stemX = basal  ? window.left() + 10
                         : pair ? window.center().x()
                                : window.left() + window.width() * 0.16;
    QPointF nodeAt(stemX, window.center().y() + window.height() * 0.12);
    if (!basal) {
        const double w = std::clamp(x_.mm(2.5), 2.0, 9.0);
        shoots.stem({QPointF(stemX, window.bottom() + 4), QPointF(stemX, window.center().y()),
                     QPointF(stemX, window.center().y()), QPointF(stemX, window.top() - 4)},
                    w, w);
        if (f.has(LeafBase::Sheathing)) {  // the sheath wraps the stem, a grass blade leaves at its top
            const QPointF top(stemX, nodeAt.y() - window.height() * (f.bladeAboveSheath() ? 0.4 : 0.15));
            line(x_.p, nodeAt + QPointF(0, window.height() * 0.05), top, withAlpha(shade(x_.c.leaf, 0.12), 0.9),
                 w * 1.8);
            if (f.bladeAboveSheath())
                nodeAt = top;
        }
    }
    if (f.phyllotaxis == Phyllotaxis::Whorled) {
        const int n = f.whorl.known() ? int(std::lround(f.whorl.mid())) : 4;
        for (int i = 0; i < n; ++i)
            shoots.paintLeaf(shoots.pose(nodeAt, -90, 360.0 * i / n + 10, 8, 40, leaf));
        return;
    }
    const double lift = basal ? -8 : -25;
    shoots.paintLeaf(
        {basal ? QPointF(window.left() + 8, window.center().y()) : nodeAt, basal ? -4 : lift, leaf, 1.0, 0.0, false});
    if (pair)
        shoots.paintLeaf({nodeAt, 180 - lift, leaf, 1.0, 0.0, false});
}

void CloseUpPainter::fruit(QPointF centre)
{
    const double size = x_.mm(FruitPainter::sizeMm(x_.form));
    FruitPainter fruits(x_);
    const QPointF at = centre - QPointF(size * 0.5, 0);
    line(x_.p, at - QPointF(size * 0.4, 0), at, x_.c.stem, std::max(1.0, size * 0.03));
    fruits.paint(at, 0, size);
}
