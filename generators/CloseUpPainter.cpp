#include "generators/CloseUpPainter.h"

#include "generators/Distinction.h"
#include "generators/FlowerPainter.h"
#include "generators/FruitPainter.h"
#include "generators/HeadPainter.h"
#include "generators/InflorescencePainter.h"
#include "generators/ShootPainter.h"

#include <QPicture>
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
    static const QRegularExpression fruitWords(QStringLiteral("実|果|莢|さや|種子|いが"));
    if (f.distinction.contains(fruitWords))
        return true;
    if (f.fruit == Fruit::Berry && f.distinction.contains(u'粒'))
        return true;  // the hard bead of Job's tears
    if (f.fruit == Fruit::Pappus && f.distinction.contains(QStringLiteral("綿毛")) &&
        !f.distinction.contains(QStringLiteral("綿毛に覆")) && !f.distinction.contains(QStringLiteral("色の綿毛")))
        return true;  // the seed clock, not a woolly coat
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
    // stipules round the stem show only at a node, whatever else the distinction names
    if (fruitIsTheKey(f) && !Distinction::saucerStipules(f))
        return Subject::Fruit;
    const bool leafless = f.phyllotaxis == Phyllotaxis::Basal && f.basal == BasalLeaves::None;
    // bare culms show the sheaths at their foot; a bare stalk its whole inflorescence
    const bool culms = f.habit == Habit::Tufted || f.habit == Habit::Emergent || f.isGrassLike();
    return leafless && !culms ? Subject::Cluster : Subject::Node;
}

double CloseUpPainter::scaleFor(const PlantForm& f, Subject subject, double radius)
{
    const double flowerCm = std::max(f.flowerSize.mid(), 0.5) / 10.0;
    switch (subject) {
    case Subject::Flower: return radius * (profiled(f.flowerForm) ? 1.1 : 1.3) / flowerCm;
    case Subject::Cluster: {
        const double whole = f.inflorescenceLength.known() ? f.inflorescenceLength.mid() : flowerCm * 8;
        const double fit = radius * 1.7 / std::max(whole, 0.1);
        if (wholeCluster(f))  // one solid spike: the whole of it
            return std::min(fit, radius * 0.5 / flowerCm);
        return std::clamp(fit, radius * 0.22 / flowerCm, radius * 0.5 / flowerCm);
    }
    case Subject::Node: {
        const double leaf = std::max(f.leafLength.mid(), 0.3);
        // a grass blade: its base and sheath, wide enough to see
        const bool narrow = f.leafShape == LeafShape::Linear || f.leafShape == LeafShape::Needle;
        if (narrow && f.division == Division::Simple)
            return std::min(radius * 0.22 / (leaf * 0.035 * LeafPainter::narrowing(f)), radius * 12 / leaf);
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

// A spike packed solid (a catkin, a plantain's or burnet's spike) is shown
// whole; other inflorescences by a piece where their flowers are open.
bool CloseUpPainter::wholeCluster(const PlantForm& f)
{
    return (f.flowerForm == FlowerForm::Apetalous && f.inflorescence == Inflorescence::Spike) ||
           InflorescencePainter::denseSpike(f);
}

double CloseUpPainter::paint(Subject subject, QRectF window)
{
    switch (subject) {
    case Subject::Flower: flower(window.center()); return x_.perCm;
    case Subject::Cluster: cluster(window.center(), std::min(window.width(), window.height()) / 2); return x_.perCm;
    case Subject::Node: return node(window);
    case Subject::Fruit: return fitted(window, [](CloseUpPainter& c) { c.fruit(QPointF(0, 0)); });
    }
    return x_.perCm;
}

// Paints `what` aside, then scales it to fill the window: a close-up
// shows its subject as large as the window allows, whatever its shape.
// `under` paints what runs through the whole window beneath it (a stem),
// given where the aside origin landed and the scale. Returns the scale it
// was painted at, in pixels per cm.
double CloseUpPainter::fitted(QRectF window, const std::function<void(CloseUpPainter&)>& what,
                              const std::function<void(QPointF, double)>& under)
{
    QPicture picture;
    QPainter aside(&picture);
    aside.setRenderHints(x_.p.renderHints());
    PaintContext inner{aside, x_.r, x_.form, x_.c, x_.perCm, x_.family};
    CloseUpPainter painter(inner, leafStyle_);
    what(painter);
    aside.end();
    const QRectF box = QRectF(picture.boundingRect()).united(QRectF(-1, -1, 2, 2));
    const QRectF room = window.adjusted(6, 6, -6, -6);
    const double k = std::clamp(std::min(room.width() / box.width(), room.height() / box.height()), 0.05, 20.0);
    const QPointF origin = room.center() - box.center() * k;
    if (under)
        under(origin, k);
    x_.p.save();
    x_.p.translate(origin);
    x_.p.scale(k, k);
    // the picture records only changes from a fresh painter's pen and brush
    x_.p.setPen(QPen());
    x_.p.setBrush(QBrush());
    x_.p.drawPicture(0, 0, picture);
    x_.p.restore();
    return x_.perCm * k;
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
    // a solid spike whole and in the middle; otherwise the upper middle of a
    // long inflorescence, where its flowers are open
    const double below = wholeCluster(x_.form) ? blooms.length() * 0.5 : std::min(blooms.length() * 0.6, radius * 1.1);
    const QPointF tip = centre + QPointF(0, below);
    if (x_.form.inflorescence == Inflorescence::Panicle && !wholeCluster(x_.form)) {
        // a panicle far larger than the window: one of its branches across it
        blooms.branch(centre + QPointF(-radius * 0.9, radius * 0.8), -40, radius * 2.4);
        return;
    }
    if (x_.form.inflorescence == Inflorescence::CompoundUmbel) {
        // the flowers open at the ends of rays far longer than the window:
        // one small umbel on the end of its ray
        const QPointF foot = centre + QPointF(radius * 0.1, radius * 0.35);
        line(x_.p, foot, foot + QPointF(-radius * 0.3, radius), x_.c.stem, std::max(1.0, x_.mm(0.8)));
        blooms.umbellet(foot, -90, radius * 0.6);
        return;
    }
    line(x_.p, tip, tip + QPointF(0, radius), x_.c.stem, std::max(1.0, x_.mm(1.5)));
    blooms.paint(tip, -90);
}

// A piece of stem with the leaves of one node, showing the stem's features
// and the leaves' contour, margin, division and base, as large as the
// window holds them. A grass blade is shown by its base and sheath.
double CloseUpPainter::node(QRectF window)
{
    const PlantForm& f = x_.form;
    const bool basal = f.phyllotaxis == Phyllotaxis::Basal;
    if (basal && f.basal == BasalLeaves::None) {
        culmFoot(window);
        return x_.perCm;
    }
    const bool narrow = f.leafShape == LeafShape::Linear || f.leafShape == LeafShape::Needle;
    if (narrow && f.division == Division::Simple) {
        blade(window);
        return x_.perCm;
    }
    const bool pair = f.phyllotaxis == Phyllotaxis::Opposite || f.phyllotaxis == Phyllotaxis::Whorled;
    const double w = std::clamp(x_.mm(2.5), 2.0, 9.0);
    auto stem = [&](QPointF at, double k) {
        if (basal)
            return;
        LeafPainter leaves(x_, leafStyle_);
        FlowerPainter flowers(x_);
        FruitPainter fruits(x_);
        InflorescencePainter blooms(x_, flowers, fruits);
        ShootPainter shoots(x_, leaves, blooms);
        const double width = std::clamp(w * k, 2.0, 12.0);
        shoots.stem({QPointF(at.x(), window.bottom() + 4), QPointF(at.x(), at.y()), QPointF(at.x(), at.y()),
                     QPointF(at.x(), window.top() - 4)},
                    width, width);
    };
    return fitted(
        window, [&](CloseUpPainter& c) { c.leavesOfNode(pair, basal, w); }, stem);
}

// The leaves of one node round the origin of the painter.
void CloseUpPainter::leavesOfNode(bool pair, bool basal, double stemWidth)
{
    const PlantForm& f = x_.form;
    LeafPainter leaves(x_, leafStyle_);
    FlowerPainter flowers(x_);
    FruitPainter fruits(x_);
    InflorescencePainter blooms(x_, flowers, fruits);
    ShootPainter shoots(x_, leaves, blooms);
    const double leaf = x_.cm(f.leafLength.mid());
    QPointF at(0, 0);
    if (f.has(LeafBase::Sheathing) && !basal) {  // the sheath wraps the stem
        const QPointF top(0, -leaf * 0.1);
        line(x_.p, QPointF(0, leaf * 0.02), top, withAlpha(shade(x_.c.leaf, 0.12), 0.9), stemWidth * 1.8);
    }
    if (Distinction::saucerStipules(f))
        shoots.saucer(at, -90, stemWidth);
    if (f.phyllotaxis == Phyllotaxis::Whorled) {
        const int n = f.whorl.known() ? int(std::lround(f.whorl.mid())) : 4;
        for (int i = 0; i < n; ++i)
            shoots.paintLeaf(shoots.pose(at, -90, 360.0 * i / n + 10, 8, 40, leaf));
        return;
    }
    const double lift = basal ? -4 : -25;
    shoots.paintLeaf({at, lift, leaf, 1.0, 0.0, false});
    if (pair)
        shoots.paintLeaf({at, 180 - lift, leaf, 1.0, 0.0, false});
}

// The base of a grass-like blade where it leaves its sheath, wide enough
// to see: the rest of the blade runs out of the window.
void CloseUpPainter::blade(QRectF window)
{
    const PlantForm& f = x_.form;
    LeafPainter leaves(x_, leafStyle_);
    FlowerPainter flowers(x_);
    FruitPainter fruits(x_);
    InflorescencePainter blooms(x_, flowers, fruits);
    ShootPainter shoots(x_, leaves, blooms);
    const double leaf = x_.cm(f.leafLength.mid());
    const bool basal = f.phyllotaxis == Phyllotaxis::Basal;
    const double stemX = basal ? window.left() + 10 : window.left() + window.width() * 0.16;
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
    shoots.paintLeaf({basal ? QPointF(window.left() + 8, window.center().y()) : nodeAt, basal ? -4.0 : -25.0, leaf, 1.0,
                      0.0, false});
}

// The foot of leafless culms: green stems rising out of brownish sheaths.
void CloseUpPainter::culmFoot(QRectF window)
{
    const QColor sheath = mix(x_.c.stem, QColor(0x8a, 0x60, 0x3c), 0.75);
    const double w = std::clamp(x_.mm(2.0), 3.0, 12.0);
    for (const double u : {-1.0, 0.0, 1.0}) {
        const QPointF foot(window.center().x() + u * w * 2.2, window.bottom() + 4);
        const QPointF top(foot.x() + u * w * 0.8, window.top() - 4);
        line(x_.p, foot, top, x_.c.stem, w);
        line(x_.p, foot, foot + (top - foot) * (0.45 + 0.1 * u), sheath, w * 1.35);
        line(x_.p, foot, foot + (top - foot) * (0.45 + 0.1 * u), withAlpha(shade(sheath, 0.2), 0.6), w * 0.3);
    }
}

void CloseUpPainter::fruit(QPointF centre)
{
    const double size = x_.mm(FruitPainter::sizeMm(x_.form));
    FruitPainter fruits(x_);
    const QPointF at = centre - QPointF(size * 0.5, 0);
    line(x_.p, at - QPointF(size * 0.4, 0), at, x_.c.stem, std::max(1.0, size * 0.03));
    fruits.paint(at, 0, size);
}
