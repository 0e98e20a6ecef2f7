#include "generators/PlantPainter.h"

#include "generators/Distinction.h"

#include <QtMath>
#include <algorithm>
#include <cmath>

using namespace PaintKit;
using Shoot = ShootPainter::Shoot;

namespace {

const QColor kStraw(0xb8, 0xa2, 0x6c);

}  // namespace

PlantPainter::PlantPainter(PaintContext& x, const LeafPainter::Style& leafStyle)
    : x_(x)
    , leaves_(x, leafStyle)
    , flowers_(x)
    , fruits_(x)
    , blooms_(x, flowers_, fruits_)
    , shoots_(x, leaves_, blooms_)
{
}

bool PlantPainter::aquatic(const PlantForm& f)
{
    return f.habit == Habit::Emergent || f.habit == Habit::Floating;
}

QSizeF PlantPainter::extentCm(const PlantForm& f, double h)
{
    const double leaf = leafless(f) ? 0.0 : f.leafLength.mid();  // no leaf widens a bare stalk
    switch (f.habit) {
    case Habit::Creeping: {
        // the mat on the ground seen from a little above, and the stalks the flowers stand on
        const double shown = creepingLength(f, h), li = InflorescencePainter::lengthCm(f);
        const double fl = f.flowerSize.mid() / 10.0;
        const bool rising = risingLeaves(f);
        const double stalk = rising ? leaf * 1.2 + li * 0.5 : fl * 0.5 + li * 0.3;
        return {shown, shown * matDepth(f) * 1.05 + stalk + li + fl * 0.5};
    }
    case Habit::Rosette: {
        const double clock = f.fruit == Fruit::Pappus ? 1.2 : 1.0;  // the seed clock's stalk grows taller
        const double reach = Distinction::creepingStalks(f) ? h * 1.8 : h * 0.5;  // stalks lying out on the ground
        return {std::max(leaf * 1.9, reach) + 2 * colonySpacing(f), std::max(h * clock, leaf * 0.6)};
    }
    case Habit::Floating: return {std::max(leaf * 4.0, 10.0), std::max(leaf * 2.0, 8.0)};
    case Habit::Twining:
    case Habit::TendrilClimber: {
        const double shown = climbingLength(f, h);
        return {std::max(shown * 0.55, leaf * 2.2), shown};
    }
    case Habit::Scrambling: return {std::max(h * 0.9, leaf * 2.5), h * 0.75};
    case Habit::Ascending: return {std::max(h * 0.9, leaf * 2.2), h * 0.85};
    case Habit::Emergent:
        if (f.phyllotaxis == Phyllotaxis::Basal && f.has(LeafBase::Stalked) && !f.has(LeafBase::Sheathing))
            return {h * 0.5 + leaf * 2.4, h + leaf * 0.3};
        break;
    default: break;
    }
    if (leafless(f))  // bare stalks, or a clump of them
        return {std::max(h * (f.colonial ? 0.4 : 0.25), InflorescencePainter::lengthCm(f) * 1.3), h};
    if (singleWhorl(f))  // the whorl spreads round the top
        return {std::max(h * 0.45, leaf * 2.2), h + leaf * 0.35};
    const double spread = f.branching == Branching::Much || f.branching == Branching::FromBase ? 0.7 : 0.45;
    const double basal = f.basal == BasalLeaves::None ? 0.0 : leaf * 1.6;
    // a large flower at the top reaches out beyond the stated height on its stalk
    const double overhang = std::min(f.flowerSize.mid() / 10.0, h * 0.3) * 0.8;
    return {std::max({h * spread, leaf * 1.9, basal}), h + overhang};
}

double PlantPainter::climbingLength(const PlantForm& f, double lengthCm)
{
    return std::min(lengthCm, std::clamp(f.leafLength.mid() * 8, 40.0, 150.0));
}

double PlantPainter::creepingLength(const PlantForm& f, double lengthCm)
{
    return std::min(lengthCm, std::clamp(f.leafLength.mid() * 8, 16.0, 150.0));
}

int PlantPainter::nodesFor(double hCm) const
{
    const double leaf = std::max(x_.form.leafLength.mid(), 1.0);
    double n = hCm * 0.8 / std::max(leaf * 0.7, 1.5);
    if (x_.form.phyllotaxis == Phyllotaxis::Whorled)
        n *= 0.6;
    // leaves said to crowd the stem get node after node
    const bool crowded = x_.form.distinction.contains(QStringLiteral("びっしり"));
    return std::clamp(int(std::lround(crowded ? n * 2 : n)), 3, crowded ? 36 : 20);
}

double PlantPainter::stemWidth(double hCm) const
{
    return std::clamp(x_.cm(0.08 + 0.005 * hCm), 0.8, 8.0);
}

// The stem up to where the inflorescence begins; its height includes it.
double PlantPainter::stemLength(double h) const
{
    if (!blooms_.terminal())
        return h;
    const bool upward = x_.form.inflorescence != Inflorescence::Solitary;
    return upward ? std::max(h * 0.45, h - blooms_.rise()) : h - blooms_.flowerSize() * 0.5;
}

QPointF PlantPainter::flowerFocus() const
{
    return blooms_.hasFocus() ? blooms_.focus() : leafFocus();
}

// The largest leaf drawn; on stems without a leaf blade (the rushes), the
// sheaths at their foot.
QPointF PlantPainter::leafFocus() const
{
    return shoots_.hasLeafFocus() ? shoots_.leafFocus() : base_ - QPointF(0, 8);
}

Shoot PlantPainter::shoot(QPointF base, QPointF top, double bend, double hCm, double leafSize) const
{
    Shoot s;
    const QPointF d = top - base;
    const QPointF across(-d.y(), d.x());
    s.path = {base, base + d * 0.35 + across * bend * 0.3, base + d * 0.7 + across * bend * 0.2, top};
    s.length = std::hypot(d.x(), d.y());
    s.width = stemWidth(hCm);
    s.leafSize = leafSize;
    s.nodes = nodesFor(hCm * leafSize);
    s.leafTo = blooms_.terminal() ? 0.85 : 0.95;
    return s;
}

void PlantPainter::paint(QPointF base, double hCm)
{
    base_ = base;
    switch (x_.form.habit) {
    case Habit::Upright: upright(base, hCm); break;
    case Habit::Ascending: ascending(base, hCm); break;
    case Habit::Creeping: creeping(base, hCm); break;
    case Habit::Rosette: rosette(base, hCm); break;
    case Habit::Tufted: tufted(base, hCm); break;
    case Habit::Twining: twining(base, hCm); break;
    case Habit::TendrilClimber: tendrilClimber(base, hCm); break;
    case Habit::Scrambling: scrambling(base, hCm); break;
    case Habit::Emergent: emergent(base, hCm); break;
    case Habit::Floating: floating(base, hCm); break;
    }
}

int PlantPainter::basalCount(int fallback) const
{
    const int n = Distinction::leafCount(x_.form);
    return n > 0 ? n : fallback;
}

// Thread-like runners along the ground from the foot, where the
// distinction names them, each with a small new plant at its end.
void PlantPainter::runnersFrom(QPointF base)
{
    bool red = false;
    if (!Distinction::runners(x_.form, &red))
        return;
    const QColor c = red ? hsl(355, 0.55, 0.42) : x_.c.stem;
    const double reach = x_.cm(x_.form.leafLength.mid()) * 2.2;
    for (const double dir : {-1.0, 1.0}) {
        const QPointF end = base + QPointF(dir * reach, -reach * 0.06);
        QPainterPath runner(base);
        runner.quadTo(base + QPointF(dir * reach * 0.5, reach * 0.05), end);
        strokeLine(x_.p, runner, c, std::max(0.8, x_.cm(0.15)));
        for (int k = 0; k < 3; ++k)
            shoots_.paintLeaf({end, -90 + (k - 1) * 50.0, x_.cm(x_.form.leafLength.mid()) * 0.3, 0.8, 0, false});
    }
}

// Leaves from the foot of the plant; flat and seen from above in a rosette.
void PlantPainter::basalLeaves(QPointF base, int count, double elevation, double view, double size)
{
    std::vector<ShootPainter::LeafPose> poses;
    const double phi0 = x_.r.range(0, 360);
    const double len = x_.cm(x_.form.leafLength.at(0.6)) * size;
    for (int i = 0; i < count; ++i) {
        const double phi = count == 2 ? phi0 * 0.1 + 180.0 * i + 8 : phi0 + 360.0 * i / count + x_.r.range(-14, 14);
        poses.push_back(shoots_.pose(base, -90, phi, elevation + x_.r.range(-4, 8), view, len * x_.r.range(0.8, 1.05)));
    }
    std::sort(poses.begin(), poses.end(), [](const auto& a, const auto& b) { return a.back > b.back; });
    for (const ShootPainter::LeafPose& l : poses)
        shoots_.paintLeaf(l);
}

bool PlantPainter::leafless(const PlantForm& f)
{
    return f.phyllotaxis == Phyllotaxis::Basal && f.basal == BasalLeaves::None;
}

// A whorl of a few leaves on an unbranched short stem that does not speak
// of node after node is the plant's only whorl, under its flowers (the
// anemones, ヒトリシズカ).
bool PlantPainter::singleWhorl(const PlantForm& f)
{
    if (f.phyllotaxis != Phyllotaxis::Whorled || f.habit != Habit::Upright || Distinction::inTiers(f))
        return false;
    if (f.branching != Branching::Unsaid && f.branching != Branching::Unbranched)
        return false;
    const bool terminal =
        f.inflorescence != Inflorescence::Axillary && f.inflorescence != Inflorescence::Verticillaster;
    return terminal && (f.whorl.known() ? f.whorl.max : 4) <= 5 && f.height.max <= 40;
}

void PlantPainter::upright(QPointF base, double hCm)
{
    const PlantForm& f = x_.form;
    const double h = x_.cm(hCm);
    runnersFrom(base);
    // a colony of sheathing linear leaves is a tuft of blades arching up
    // from the foot (the sedges, チガヤ), not a few leaves lying round it
    const bool blades =
        f.basal == BasalLeaves::Present && f.leafShape == LeafShape::Linear && f.has(LeafBase::Sheathing) && f.colonial;
    if (blades)
        grassLeaves(base, x_.r.pick(9, 14), 1.0);
    else if (f.basal != BasalLeaves::None)
        basalLeaves(base, basalCount(f.basal == BasalLeaves::Rosette ? 8 : 4), f.basal == BasalLeaves::Rosette ? 6 : 30,
                    30, 1.0);
    const bool clump = leafless(f) && f.colonial;  // bare stalks from a clump of bulbs
    if (f.branching == Branching::FromBase || clump) {
        const int n = clump ? x_.r.pick(3, 5) : x_.r.pick(2, 4);
        const double spread = clump ? 0.16 : 0.35;
        for (int i = 0; i < n; ++i) {
            const double u = -1.0 + 2.0 * (i + 0.5) / n;
            const double sh = stemLength(h) * x_.r.range(0.8, 1.0);
            const QPointF top = base + QPointF(u * sh * spread, -sh * std::cos(u * 0.45));
            x_.p.save();
            shoots_.paint(shoot(base + QPointF(u * (clump ? 5 : 0), 0), top, u * 0.15, hCm, 1.0));
            x_.p.restore();
        }
        return;
    }
    const double sh = stemLength(h);
    Shoot main = shoot(base, base + QPointF(x_.r.range(-0.05, 0.05) * sh, -sh), x_.r.range(-0.1, 0.1), hCm, 1.0);
    if (singleWhorl(f)) {
        main.nodes = 1;
        main.leafFrom = main.leafTo = f.inflorescence == Inflorescence::Spike ? 0.95 : 0.62;
        main.scales = f.basal == BasalLeaves::None;
    }
    if (leafless(f) && Distinction::bractClothed(f)) {  // the butterbur's flower bud, a short stout stalk
        main.clothed = true;
        main.width = std::max(main.width, x_.cm(0.9));
    }
    if (f.branching != Branching::Unbranched && !singleWhorl(f))
        branches(main, hCm);
    shoots_.paint(main);
    // a colony shows a second stem beside the first, unless the plant
    // already spreads wide (a tall slender stem spreads under 200 px)
    if (f.colonial && extentCm(f, hCm).width() * x_.perCm < 240)
        shoots_.paint(
            shoot(base + QPointF(sh * 0.18, -2), base + QPointF(sh * 0.24, -sh * 0.78), -0.1, hCm * 0.8, 0.8));
}

// Side shoots from the upper part of the stem (or from the middle up, when
// it branches much), each ending in flowers.
void PlantPainter::branches(const Shoot& main, double hCm)
{
    const Branching b = x_.form.branching;
    const int n = b == Branching::Much ? x_.r.pick(4, 6) : b == Branching::Above ? x_.r.pick(2, 4) : x_.r.pick(0, 1);
    const double from = b == Branching::Much ? 0.3 : 0.55;
    double side = x_.r.sign();
    for (int i = 0; i < n; ++i) {
        const double t = from + (0.85 - from) * (i + x_.r.range(0.0, 0.6)) / n;
        const double axis = main.path.angleAt(t);
        const double len = main.length * (0.5 - 0.35 * t) * x_.r.range(0.85, 1.15);
        const QPointF at = main.path.at(t);
        // branches said to spread sideways leave the stem nearly level
        const bool wide = Distinction::spreadingBranches(x_.form);
        const QPointF top = at + polar(axis + side * (wide ? x_.r.range(62, 75) : x_.r.range(28, 42)), len);
        Shoot s = shoot(at, top + QPointF(0, -len * (wide ? 0.05 : 0.15)), -side * 0.12, hCm * len / main.length, 0.6);
        s.width = main.width * 0.55;
        s.nodes = std::max(2, s.nodes / 2);
        s.leafFrom = 0.25;
        shoots_.paint(s);
        side = -side;
    }
}

// Stems that lie along the ground at first and then turn up.
void PlantPainter::ascending(QPointF base, double hCm)
{
    const double h = x_.cm(hCm);
    const int n = x_.form.branching == Branching::Unbranched ? 1 : x_.r.pick(3, 5);
    for (int i = 0; i < n; ++i) {
        const double dir = i % 2 ? 1.0 : -1.0, reach = h * (i == 0 ? 1.0 : x_.r.range(0.55, 0.95));
        const double rise = stemLength(reach) * x_.r.range(0.7, 0.9), out = reach * x_.r.range(0.12, 0.45);
        const double lying = x_.r.range(8, 35);  // how low the stem leaves its foot
        Shoot s = shoot(base, base + QPointF(dir * out, -rise), 0, hCm, 1.0);
        const QPointF top = base + QPointF(dir * out, -rise);
        s.path = {base,
                  base + QPointF(dir * std::cos(qDegreesToRadians(lying)), -std::sin(qDegreesToRadians(lying))) * out *
                             0.9,
                  top + QPointF(-dir * out * 0.05, rise * 0.45), top};
        s.leafFrom = 0.15;
        if (i == 0 && (x_.form.branching == Branching::Much || x_.form.branching == Branching::Above))
            branches(s, hCm);
        shoots_.paint(s);
    }
}

bool PlantPainter::risingLeaves(const PlantForm& f)
{
    // long-stalked leaves of a creeper stand up from its runners (the clovers)
    return f.has(LeafBase::Stalked) && (f.division != Division::Simple || f.leafShape == LeafShape::Round ||
                                        f.leafShape == LeafShape::Reniform || f.leafShape == LeafShape::Cordate);
}

// A mat on the ground is seen from a little above: how much of its depth
// shows on the plate.
double PlantPainter::matDepth(const PlantForm& f)
{
    return risingLeaves(f) ? 0.38 : 0.34;
}

// Stems running over the ground in all directions, seen from a little
// above: their leaves lie along them, or stand up on long stalks; flowers
// sit in the leaf axils or at the stems' ends.
void PlantPainter::creeping(QPointF base, double hCm)
{
    const double L = x_.cm(creepingLength(x_.form, hCm)), leaf = x_.cm(x_.form.leafLength.mid());
    const bool rising = risingLeaves(x_.form);
    const int runners = x_.form.branching == Branching::Much || x_.form.branching == Branching::FromBase
                            ? x_.r.pick(4, 6)
                            : x_.r.pick(2, 4);
    const double depth = matDepth(x_.form);
    base.ry() -= L * depth * 0.5;
    if (x_.form.basal == BasalLeaves::Rosette)  // the rosette pressed to the ground in the middle of the mat
        basalLeaves(base, basalCount(x_.r.pick(8, 11)), 4, 40, 1.0);
    for (int i = 0; i < runners; ++i) {
        // runners run out to the sides: one running straight away would stand up on the plate
        const double theta = (i % 2 ? 0.0 : 180.0) + (i / 2 % 2 ? 1 : -1) * x_.r.range(10, 50);
        const QPointF ground = polar(theta, L * 0.5 * x_.r.range(0.65, 1.0));
        const QPointF end = base + QPointF(ground.x(), ground.y() * depth);
        const QPointF bend = polar(theta + 90, L * x_.r.range(-0.08, 0.08));
        const Curve runner{base, base + (end - base) * 0.35 + bend, base + (end - base) * 0.7 - bend * 0.5, end};
        shoots_.stem(runner, stemWidth(hCm * 0.3), stemWidth(hCm * 0.2));
        runnerNodes(runner, leaf, rising, hCm);
    }
}

void PlantPainter::runnerNodes(const Curve& runner, double leaf, bool rising, double hCm)
{
    const QPointF d = runner.d - runner.a;
    const int nodes = std::clamp(int(std::hypot(d.x(), d.y()) / std::max(leaf * 0.55, 6.0)), 2, 12);
    const bool pairs = x_.form.phyllotaxis != Phyllotaxis::Alternate;
    for (int k = 0; k < nodes; ++k) {
        const double t = (k + 0.7) / (nodes + 0.2);
        const QPointF at = runner.at(t);
        const double axis = runner.angleAt(t), side = k % 2 ? 1.0 : -1.0;
        if (rising) {
            shoots_.paintLeaf(shoots_.pose(at, -90, x_.r.range(-60, 60) + (k % 2 ? 180 : 0), x_.r.range(55, 75), 18,
                                           leaf * x_.r.range(0.8, 1.05)));
        } else {
            for (const double s : pairs ? std::vector<double>{-1, 1} : std::vector<double>{side})
                shoots_.paintLeaf({at, axis + s * x_.r.range(55, 80), leaf * x_.r.range(0.75, 0.95), 0.7, 0, false});
        }
        if (!blooms_.terminal() && k % 2 == 1)
            blooms_.axil(at, -90, side, leaf);
    }
    if (!blooms_.terminal())
        return;
    // stalks of rising leaves hold the flowers up among them; on a mat the
    // flowers sit at the stems' tips
    const double stalkH =
        rising ? leaf * 1.2 + blooms_.length() * 0.5 : blooms_.flowerSize() * 0.5 + blooms_.length() * 0.3;
    Shoot s = shoot(runner.d, runner.d + QPointF(x_.r.range(-0.1, 0.1) * stalkH, -stalkH), 0.05, hCm * 0.2, 0.6);
    s.leafy = false;
    s.width = stemWidth(hCm * 0.15);
    shoots_.paint(s);
}

// One flowering stalk to a plant: said so, or a plant of two or three
// leaves, or a colony of rosettes each bearing one flower (カタクリ).
bool PlantPainter::oneStalkEach(const PlantForm& f)
{
    const int leaves = Distinction::leafCount(f);
    return Distinction::oneStalk(f) || (leaves > 0 && leaves <= 3) ||
           (f.colonial && f.inflorescence == Inflorescence::Solitary);
}

// How far apart the plants of a colony of rosettes stand, in cm.
double PlantPainter::colonySpacing(const PlantForm& f)
{
    return f.habit == Habit::Rosette && f.colonial && oneStalkEach(f) ? f.leafLength.mid() * 1.1 : 0.0;
}

// Leaves flat on the ground, leafless stalks standing up from the middle;
// a colony of such plants where each bears one stalk.
void PlantPainter::rosette(QPointF base, double hCm)
{
    const double spacing = x_.cm(colonySpacing(x_.form));
    runnersFrom(base);
    if (spacing <= 0) {
        const int n = oneStalkEach(x_.form)
                          ? 1
                          : (x_.form.inflorescence == Inflorescence::Solitary ? x_.r.pick(2, 3) : x_.r.pick(1, 2)) +
                                (x_.form.colonial ? 1 : 0);
        rosettePlant(base, hCm, n);
        return;
    }
    const double lift = spacing * 0.12;  // the plants behind stand a little higher on the plate
    rosettePlant(base + QPointF(-spacing, -lift), hCm * x_.r.range(0.7, 0.85), 1);
    rosettePlant(base + QPointF(spacing, -lift * 0.6), hCm * x_.r.range(0.75, 0.9), 1);
    rosettePlant(base + QPointF(x_.r.range(-0.1, 0.1) * spacing, 0), hCm, 1);
}

void PlantPainter::rosettePlant(QPointF base, double hCm, int stalks)
{
    const double raise = std::min(x_.cm(x_.form.leafLength.mid()) * 0.3, 40.0);  // the leaves in front lie nearer
    const double h = x_.cm(hCm) - raise;
    base.ry() -= raise;
    basalLeaves(base, basalCount(x_.r.pick(7, 11)), 6, 32, 1.0);
    const bool lying = Distinction::creepingStalks(x_.form);  // stalks along the ground, their tips turned up
    for (int i = 0; i < stalks; ++i) {
        const double u = stalks == 1 ? x_.r.range(-0.15, 0.15) : -1.0 + 2.0 * i / (stalks - 1);
        const double sh = stemLength(h) * (i == 0 ? 1.0 : x_.r.range(0.7, 0.92));
        Shoot s = shoot(base, base + QPointF(u * sh * 0.3, -sh * (1 - 0.1 * std::abs(u))), u * 0.08, hCm, 1.0);
        if (lying) {
            const double dir = i % 2 ? 1.0 : -1.0, out = sh * 0.85;
            s.path = {base, base + QPointF(dir * out * 0.45, sh * 0.02), base + QPointF(dir * out * 0.9, 0),
                      base + QPointF(dir * out, -sh * 0.35)};
        }
        s.leafy = false;
        s.width = stemWidth(hCm) * 0.7;
        shoots_.paint(s);
    }
    if (x_.form.fruit == Fruit::Pappus) {  // a stalk grown taller with its seed clock
        const double sh = h * x_.r.range(1.05, 1.2);
        const QPointF top = base + QPointF(sh * 0.3 * x_.r.sign(), -sh);
        shoots_.stem({base, base + (top - base) * 0.3, base + (top - base) * 0.7, top}, stemWidth(hCm) * 0.6,
                     stemWidth(hCm) * 0.4);
        ripeFruit(top, angleOf(top - base));
    }
}

void PlantPainter::ripeFruit(QPointF at, double axis)
{
    const double size = x_.mm(FruitPainter::sizeMm(x_.form));
    fruits_.paint(at, axis, size);
    fruitFocus_ = at + polar(axis, size * 0.45);
    hasFruitFocus_ = true;
}

// Many narrow leaves and culms from one foot.
void PlantPainter::tufted(QPointF base, double hCm)
{
    if (leafless(x_.form)) {
        leaflessCulms(base, hCm);
        return;
    }
    const double h = x_.cm(hCm);
    const bool leafyCulms = x_.form.phyllotaxis != Phyllotaxis::Basal;
    // leaves from the foot where it has them, or a grass's lowest blades;
    // a clump of leafy stems has none (ウツギ, クララ, ハマナス)
    const bool leafyStems = leafyCulms && x_.form.basal == BasalLeaves::None && !x_.form.isGrassLike();
    if (!leafyStems)
        grassLeaves(base, leafyCulms ? x_.r.pick(5, 8) : x_.r.pick(9, 14), leafyCulms ? 0.8 : 1.0);
    // the flatsedges' umbels spread wide: fewer culms keep them apart
    const bool umbels =
        x_.form.inflorescence == Inflorescence::SpikeletSpike && x_.form.phyllotaxis == Phyllotaxis::Basal;
    const int n = umbels ? x_.r.pick(2, 3) : x_.r.pick(3, 6);
    // a bract that goes on as the culm overtops the flowers (クサイ)
    const bool lateral = Distinction::lateralCluster(x_.form);
    for (int i = 0; i < n; ++i) {
        const double u = -1.0 + 2.0 * (i + 0.5) / n;
        const double sh = (lateral ? h : stemLength(h)) * x_.r.range(0.8, 1.0);
        Shoot s = shoot(base + QPointF(u * 3, 0), base + QPointF(u * sh * 0.28, -sh), u * 0.06, hCm, 0.9);
        s.leafy = leafyCulms;
        s.beyond = lateral ? x_.r.range(0.2, 0.3) : 0.0;
        if (!leafyStems) {
            s.nodes = std::min(4, s.nodes);
            s.width = stemWidth(hCm) * 0.6;
            s.leafTo = 0.6;
        }
        shoots_.paint(s);
    }
}

// Green leafless stems from one foot, only brownish sheaths round their
// bases (the rushes and bulrushes); the flowers at their tips, or on their
// side where a bract goes on as the stem.
void PlantPainter::leaflessCulms(QPointF base, double hCm)
{
    const double h = x_.cm(hCm);
    const bool lateral = Distinction::lateralCluster(x_.form);
    const int n = x_.form.colonial ? x_.r.pick(11, 15) : x_.r.pick(7, 10);
    const QColor sheathColour = mix(x_.c.stem, QColor(0x8a, 0x60, 0x3c), 0.75);
    for (int i = 0; i < n; ++i) {
        const double u = -1.0 + 2.0 * (i + 0.5) / n + x_.r.range(-0.05, 0.05);
        const double sh = (lateral ? h : stemLength(h)) * x_.r.range(0.72, 1.0);
        const QPointF foot = base + QPointF(u * 5, 0);
        Shoot s = shoot(foot, base + QPointF(u * sh * 0.3, -sh * (1 - 0.08 * u * u)), u * 0.04, hCm, 1.0);
        s.leafy = false;
        s.width = std::max(1.4, stemWidth(hCm) * 0.6);
        s.beyond = lateral ? x_.r.range(0.14, 0.24) : 0.0;
        s.flowering = i % 3 != 1;
        shoots_.paint(s);
        const double sheath = std::min(x_.cm(x_.form.leafLength.at(0.3)), sh * 0.15) / std::max(s.length, 1.0);
        const QPointF top = s.path.at(std::min(sheath, 0.3));
        line(x_.p, foot, top, sheathColour, s.width * 1.3);
    }
}

// Long narrow leaves arching out of a tuft.
void PlantPainter::grassLeaves(QPointF base, int count, double size)
{
    const double len = x_.cm(x_.form.leafLength.at(0.6)) * size;
    for (int i = 0; i < count; ++i) {
        const double u = -1.0 + 2.0 * (i + 0.5) / count;
        const double a = -90 + u * 60 + x_.r.range(-8, 8);
        shoots_.paintLeaf(
            {base + QPointF(u * 4, 0), a, len * x_.r.range(0.6, 1.0), 1.0, x_.r.range(-0.05, 0.05), false});
    }
}

// Dry stalks or a stake that a climber holds on to.
void PlantPainter::stalks(QPointF base, double h, int count)
{
    for (int i = 0; i < count; ++i) {
        const double u = count == 1 ? 0 : -1.0 + 2.0 * i / (count - 1);
        const QPointF foot = base + QPointF(u * h * 0.22, 0);
        const QPointF top = foot + QPointF(u * h * 0.08 + x_.r.range(-0.04, 0.04) * h, -h * x_.r.range(1.0, 1.15));
        line(x_.p, foot, top, kStraw, count == 1 ? std::max(3.0, x_.cm(1.2)) : std::max(1.0, x_.cm(0.25)));
        support_ = support_.united(QRectF(foot, top).normalized());
    }
}

// A stem winding round a stake, its leaves and flowers reaching out.
void PlantPainter::twining(QPointF base, double hCm)
{
    const double h = x_.cm(climbingLength(x_.form, hCm));
    const QPointF pole = base + QPointF(-h * 0.05, 0);
    stalks(pole, h, 1);
    const double pitch = std::max(x_.cm(7), 12.0), radius = std::max(x_.cm(1.4), 3.0);
    const int steps = std::max(24, int(h / 3));
    std::vector<QPolygonF> front, back;  // runs of the stem before and behind the stake
    bool wasFront = false;
    std::vector<std::pair<QPointF, double>> nodes;
    const double leafStep = std::max(x_.cm(x_.form.leafLength.mid()) * 0.7, 10.0);
    double nextNode = leafStep * 0.5;
    for (int i = 0; i <= steps; ++i) {
        const double y = h * 0.96 * i / steps, phase = 2 * M_PI * y / pitch;
        const QPointF at = pole + QPointF(std::sin(phase) * radius, -y);
        const bool inFront = std::cos(phase) >= 0;
        std::vector<QPolygonF>& runs = inFront ? front : back;
        if (i == 0 || inFront != wasFront)
            runs.emplace_back();
        runs.back() << at;
        wasFront = inFront;
        if (y >= nextNode) {
            nodes.push_back({at, std::sin(phase) >= 0 ? 1.0 : -1.0});
            nextNode += leafStep;
        }
    }
    const double w = stemWidth(hCm * 0.4);
    for (const QPolygonF& run : back)
        strokeLine(x_.p, smoothPath(run, false), x_.c.stemDark, w);
    for (const QPolygonF& run : front)
        strokeLine(x_.p, smoothPath(run, false), x_.c.stem, w);
    const double leaf = x_.cm(x_.form.leafLength.mid());
    for (size_t k = 0; k < nodes.size(); ++k) {
        const auto& [at, side] = nodes[k];
        const double dir = side > 0 ? 0.0 : 180.0;
        shoots_.paintLeaf({at, dir + side * x_.r.range(-35, 10), leaf * x_.r.range(0.85, 1.05), 1.0, 0, false});
        if (k % 2 == 1 && double(k) > nodes.size() * 0.25) {
            if (blooms_.terminal()) {
                const QPointF out = at + polar(dir - side * 30, blooms_.flowerSize() * 0.6 + leaf * 0.15);
                line(x_.p, at, out, x_.c.stem, w * 0.6);
                blooms_.paint(out, dir - side * 40);
            } else {
                blooms_.axil(at, -90, side, leaf);
            }
        }
    }
}

// Stems holding on to dry stalks with their tendrils.
void PlantPainter::tendrilClimber(QPointF base, double hCm)
{
    const double h = x_.cm(climbingLength(x_.form, hCm));
    stalks(base, h, 3);
    const int n = x_.form.branching == Branching::FromBase || x_.form.colonial ? 3 : 2;
    for (int i = 0; i < n; ++i) {
        const double side = i % 2 ? 1.0 : -1.0;
        const double sh = h * (i == 0 ? 0.95 : 0.75);
        Shoot s = shoot(base, base + QPointF(side * h * 0.12, -sh), side * 0.25, hCm, 1.0);
        s.path.b = base + QPointF(-side * h * 0.2, -sh * 0.3);
        s.path.c = base + QPointF(side * h * 0.25, -sh * 0.65);
        s.hanging = true;
        s.nodes = std::clamp(s.nodes, 5, 12);
        s.leafTo = 0.95;
        shoots_.paint(s);
        if (!x_.form.tendrils)  // tendrils from the stem itself
            for (int k = 1; k < 5; ++k) {
                const QPointF at = s.path.at(0.2 * k);
                QPolygonF coil;
                for (int j = 0; j <= 14; ++j)
                    coil << at + polar(-60.0 * side + j * 40, x_.cm(0.6) * (0.3 + j * 0.12)) +
                                QPointF(side * j * x_.cm(0.3), -j * x_.cm(0.2));
                strokeLine(x_.p, smoothPath(coil, false), x_.c.stem, 0.7);
            }
        if (x_.form.fruit == Fruit::Gourd)
            ripeFruit(s.path.at(0.55) + QPointF(side * x_.cm(3), 0), 90);
    }
}

// Long stems leaning out over the ground and each other.
void PlantPainter::scrambling(QPointF base, double hCm)
{
    const double h = x_.cm(hCm);
    stalks(base, h * 0.55, 4);
    const int n = x_.r.pick(3, 5);
    for (int i = 0; i < n; ++i) {
        const double u = -1.0 + 2.0 * (i + 0.5) / n;
        const double len = stemLength(h) * x_.r.range(0.7, 0.95);
        Shoot s =
            shoot(base, base + QPointF(u * len * 0.6, -len * (0.6 + 0.15 * (1 - std::abs(u)))), -u * 0.25, hCm, 1.0);
        shoots_.paint(s);
    }
}

void PlantPainter::emergent(QPointF base, double hCm)
{
    const PlantForm& f = x_.form;
    if (leafless(f)) {
        leaflessCulms(base, hCm);
        return;
    }
    if (f.phyllotaxis != Phyllotaxis::Basal) {
        upright(base, hCm);
        return;
    }
    const double h = x_.cm(hCm);
    double scape = stemLength(h);
    if (f.has(LeafBase::Stalked) && !f.has(LeafBase::Sheathing)) {
        // blades held up on long stalks to the plant's height, the flowers
        // above them or, where the distinction says so, low among them
        const bool below = Distinction::flowersBelowLeaves(f);
        const double leafTop = below ? h : std::max(h * 0.6, h - blooms_.length() - blooms_.flowerSize());
        standingLeaves(base, basalCount(x_.r.pick(4, 6)), leafTop);
        if (below)
            scape = std::min(scape, leafTop * 0.5);
    } else {  // long leaves from the foot, held above the water
        basalLeaves(base, basalCount(x_.r.pick(3, 5)), 58, 14, 1.0);
    }
    Shoot s = shoot(base, base + QPointF(x_.r.range(-0.1, 0.1) * h, -scape), 0.05, hCm, 1.0);
    s.leafy = false;
    shoots_.paint(s);
}

// Leaf blades on long stalks from the foot, their tips near `top` pixels high.
void PlantPainter::standingLeaves(QPointF base, int count, double top)
{
    // the blade is the described length; LeafPainter adds a little stalk of its own
    const double len = x_.cm(x_.form.leafLength.at(0.6)) / std::max(0.3, 1.0 - leaves_.stalkShare());
    for (int i = 0; i < count; ++i) {
        const double u = count == 1 ? 0.0 : -1.0 + 2.0 * i / (count - 1);
        const double rise = std::max(top - len * 0.8, top * 0.3) * x_.r.range(0.65, 1.0);
        const QPointF end = base + QPointF(u * rise * 0.25, -rise);
        QPainterPath stalk(base + QPointF(u * 3, 0));
        stalk.quadTo(base + QPointF(u * rise * 0.1, -rise * 0.6), end);
        strokeLine(x_.p, stalk, x_.c.stem, std::max(1.0, stemWidth(rise / x_.perCm) * 0.5));
        shoots_.paintLeaf({end, -90 + u * 40 + x_.r.range(-8, 8), len, x_.r.range(0.6, 0.95), 0, false});
    }
}

// Leaves floating flat on the water, flowers just above it.
void PlantPainter::floating(QPointF base, double hCm)
{
    Q_UNUSED(hCm);
    basalLeaves(base, basalCount(x_.r.pick(5, 8)), 0, 16, 1.0);
    const int n = x_.r.pick(1, 3);
    for (int i = 0; i < n; ++i) {
        const QPointF at = base + QPointF(x_.r.range(-0.4, 0.4) * x_.cm(x_.form.leafLength.mid()), -2);
        const double rise = std::max(blooms_.flowerSize() * 0.8, 4.0);
        line(x_.p, at, at + QPointF(0, -rise), x_.c.stem, 1.2);
        blooms_.paint(at + QPointF(0, -rise), -90);
    }
}
