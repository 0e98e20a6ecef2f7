#include "generators/InflorescencePainter.h"

#include "generators/Distinction.h"

#include <QRegularExpression>
#include <QtMath>
#include <algorithm>
#include <cmath>
#include <tuple>

using namespace PaintKit;

namespace {

constexpr double kGolden = 137.508;

// How long an inflorescence grows when the description gives no length.
double defaultLengthCm(const PlantForm& f)
{
    const double fl = f.flowerSize.mid() / 10.0;
    switch (f.inflorescence) {
    case Inflorescence::Solitary:
    case Inflorescence::Axillary:
    case Inflorescence::Verticillaster: return fl;
    case Inflorescence::Head: return std::max(fl * 3, 1.0);
    case Inflorescence::Cyme: {  // on a creeping stem, or where said, a few flowers sit together at the tip
        static const QRegularExpression together(QStringLiteral("(枝先|茎頂|茎の先)[^、。]{0,6}(固ま|密集|集ま)"));
        const bool tight = f.habit == Habit::Creeping || f.distinction.contains(together);
        return tight ? fl * 2.2 : std::min(std::max(fl * 8, 4.0), f.height.mid() * 0.4);
    }
    case Inflorescence::Umbel: return fl > 1.2 ? fl * 1.6 : std::max(fl * 6, 3.0);
    case Inflorescence::CompoundUmbel:
    case Inflorescence::Corymb:
        if (Distinction::bractClothed(f))  // heads crowded among the bracts
            return fl * 2.5;
        return std::min(std::max(fl * 6, 3.0), f.height.mid() * 0.4);
    case Inflorescence::Panicle:  // a panicle makes up a good part of the plant
        return std::min(std::max(fl * 8, f.height.mid() * 0.25), std::min(40.0, f.height.mid() * 0.4));
    default: return std::min(std::max(fl * 8, 4.0), f.height.mid() * 0.4);
    }
}

}  // namespace

InflorescencePainter::InflorescencePainter(PaintContext& x, FlowerPainter& flowers, FruitPainter& fruits)
    : x_(x)
    , flowers_(flowers)
    , fruits_(fruits)
    , flower_(x.mm(x.form.flowerSize.mid()))
    , fruit_(x.mm(FruitPainter::sizeMm(x.form)))
    , length_(x.cm(lengthCm(x.form)))
{
}

double InflorescencePainter::lengthCm(const PlantForm& f)
{
    return f.inflorescenceLength.known() ? f.inflorescenceLength.mid() : defaultLengthCm(f);
}

double InflorescencePainter::rise() const
{
    const double fl = flower_ * 0.5;
    switch (x_.form.inflorescence) {
    case Inflorescence::Solitary:
    case Inflorescence::Axillary:
    case Inflorescence::Verticillaster: return fl;
    case Inflorescence::Corymb: return std::max(length_, flower_ * 4) * 0.35 + fl;
    case Inflorescence::Umbel: return length_ * 0.5 + fl;
    case Inflorescence::CompoundUmbel: return length_ * 0.6 + fl;
    case Inflorescence::Head: return (headRadius() * 0.85 + flower_) * 1.6;
    case Inflorescence::Cyme: return length_ < flower_ * 3 ? flower_ : length_ * 0.5 + fl;
    case Inflorescence::Spadix: return flower_;
    default: return length_ * 0.9 + fl;
    }
}

bool InflorescencePainter::terminal() const
{
    return x_.form.inflorescence != Inflorescence::Axillary && x_.form.inflorescence != Inflorescence::Verticillaster;
}

bool InflorescencePainter::ripens() const
{
    // a rosette's seed clock stands on a stalk of its own (PlantPainter); a
    // stalk that flowers before the leaves ripens only after it has grown
    return showFruit_ && x_.form.fruit != Fruit::None &&
           !(x_.form.fruit == Fruit::Pappus && x_.form.habit == Habit::Rosette) && !Distinction::beforeLeaves(x_.form);
}

void InflorescencePainter::stalk(QPointF from, QPointF to, double width)
{
    line(x_.p, from, to, x_.c.stem, std::max(0.5, width));
}

// One flower; or a ripening fruit below the open flowers of an axis, and
// in place of every fourth flower elsewhere; or at the tip a bud.
void InflorescencePainter::flowerAt(const Bloom& b)
{
    const bool alongAxis = b.t != 0.5;
    if (b.mayRipen && ripens() && fruit_ > 0 && (alongAxis ? b.t < 0.32 : ++blooms_ % 4 == 0)) {
        const Fruit fr = x_.form.fruit;
        const double hang = fr == Fruit::Pod || fr == Fruit::Loment    ? b.axis + sideOf(b.axis) * 50
                            : fr == Fruit::Berry || fr == Fruit::Gourd ? 90.0
                                                                       : b.axis - sideOf(b.axis) * 10;
        fruits_.paint(b.at, hang, fruit_);
        return;
    }
    if (b.t > 0.88 && !x_.form.isGrassLike()) {
        const bool nod = x_.form.isHead() && (x_.form.has(InflorescenceTrait::Drooping) ||
                                              x_.form.distinction.contains(QStringLiteral("うなだれ")));
        flowers_.bud(b.at, nod ? 90.0 : b.axis, flower_ * 0.45);
        return;
    }
    flowers_.paint(b.at, b.axis, flower_);
    if (!hasFocus_ || b.t < 0.5) {
        focus_ = b.at;
        hasFocus_ = true;
    }
}

QPainterPath InflorescencePainter::axisPath(QPointF tip, double axis, double len, double bend) const
{
    const QPointF ctrl = tip + polar(axis, len * 0.5);
    QPainterPath path(tip);
    path.quadTo(ctrl, ctrl + polar(axis + bend, len * 0.52));
    return path;
}

void InflorescencePainter::paint(QPointF tip, double axis)
{
    const PlantForm& f = x_.form;
    switch (f.inflorescence) {
    case Inflorescence::Solitary:
    case Inflorescence::Axillary:
    case Inflorescence::Verticillaster: flowerAt({tip, axis, 0.5}); return;
    case Inflorescence::Raceme: raceme(tip, axis, length_, false); return;
    case Inflorescence::Spike:
        if (f.has(InflorescenceTrait::Twisted))
            spiral(tip, axis, length_);
        else
            raceme(tip, axis, length_, true);
        return;
    case Inflorescence::Panicle: panicle(tip, axis); return;
    case Inflorescence::Corymb: corymb(tip, axis); return;
    case Inflorescence::Umbel: umbel(tip, axis, length_ * 0.5, false); return;
    case Inflorescence::CompoundUmbel: umbel(tip, axis, length_ * 0.5, true); return;
    case Inflorescence::Head: head(tip, axis); return;
    case Inflorescence::Cyme:
        if (length_ < flower_ * 3)
            tipCluster(tip, axis);
        else
            cyme(tip, axis, std::max(length_ * 0.45, flower_ * 1.5), 3);
        return;
    case Inflorescence::Spadix: spadix(tip, axis); return;
    case Inflorescence::SpikeletCylinder: spikeletCylinder(tip, axis); return;
    case Inflorescence::SpikeletPanicle: spikeletPanicle(tip, axis, false); return;
    case Inflorescence::SpikeletDrooping: spikeletPanicle(tip, axis, true); return;
    case Inflorescence::SpikeletDigitate: digitate(tip, axis); return;
    case Inflorescence::SpikeletGlobose: globose(tip, axis); return;
    case Inflorescence::SpikeletSpike:
        if (cyperus())
            sedgeUmbel(tip, axis);
        else
            raceme(tip, axis, length_, true);
        return;
    }
}

// Flowers along one axis, opening from the bottom; sessile on a spike.
void InflorescencePainter::raceme(QPointF tip, double axis, double len, bool sessile, double arch)
{
    const PlantForm& f = x_.form;
    const bool hanging = f.has(InflorescenceTrait::Drooping);
    const double bend = arch != 0 ? arch : hanging ? sideOf(axis) * 120 : x_.r.range(-12, 12);
    const QPainterPath path = axisPath(tip, axis, len, bend);
    if (sessile && f.flowerForm == FlowerForm::Apetalous && !sparse(f)) {
        if (f.has(FlowerFeature::Stamens))
            brush(path);
        else
            catkin(path);
        return;
    }
    if (sessile && denseSpike(f)) {
        dense(path, len);
        return;
    }
    strokeLine(x_.p, path, x_.c.stem, std::max(0.6, std::min({len * 0.02, flower_ * 0.25 + 0.6, x_.mm(2)})));
    const double apart = sparse(f) ? 2.6 : 1.0;  // flowers said to stand apart
    const double spacing = (sessile ? std::max(flower_ * 0.55, 1.2) : std::max(flower_ * 1.05, 2.5)) * apart;
    const int n = std::clamp(int(len / spacing), 3, sessile ? 160 : 45);
    const double pedicel = sessile ? flower_ * 0.15 : std::max(flower_ * 0.8, std::min(2.0, flower_ * 1.2));
    const bool ripe = ripens();
    const bool oneSided = f.has(InflorescenceTrait::OneSided);
    const double spread = sessile ? 75 : 58;
    // nearer flowers last, buds at the tip last of all
    for (int i = 0; i < n; ++i) {
        const double t = (i + 0.5) / n;
        const double along = -path.angleAtPercent(t);
        // one-sided: on the upper side of a branch that leans over
        const double side = oneSided ? (std::abs(std::cos(qDegreesToRadians(along))) > 0.3 ? -sideOf(along) : 1.0)
                                     : (i % 2 ? 1.0 : -1.0);
        const double dir = along + side * (spread + (sessile ? 0 : x_.r.range(-10, 10)));
        const QPointF base = path.pointAtPercent(t);
        const double stalkLen = pedicel * (ripe && t < 0.35 ? 1.4 : 1.0);
        const QPointF at = base + polar(dir, stalkLen);
        if (!sessile)
            stalk(base, at, std::max(0.4, flower_ * 0.06));
        flowerAt({at, dir, t});
    }
}

// A spike of flowers without petals packed into one solid cylinder (the
// cattails, the nettles' strings); a second colour tops it (male flowers).
void InflorescencePainter::catkin(const QPainterPath& path)
{
    // the flower size is measured from the axis out: the spike is twice as thick
    const double thick = std::max(flower_ * 2.0, 3.0);
    const bool twoTone = x_.form.hasSecondColour;
    static const QRegularExpression bare(QStringLiteral("間[^、。]{0,12}裸"));
    const double gap = twoTone && bare.match(x_.form.distinction).hasMatch() ? 0.1 : 0.02;
    // green flowers are drawn paler than the leaves round them, so the spike reads
    const bool green = x_.form.colour == Colour::Green || x_.form.colour == Colour::YellowGreen;
    const QColor first = green ? mix(x_.c.petal.base, x_.c.petal.light, 0.6) : x_.c.petal.base;
    for (const auto& [from, to, colour] :
         {std::tuple(0.0, twoTone ? 0.6 : 1.0, first), std::tuple(0.6 + gap, 1.0, x_.c.second.base)}) {
        if (from >= to || (from > 0 && !twoTone))
            continue;
        const double width = from > 0 ? thick * 0.55 : thick;  // the male part above is thinner
        if (from > 0)
            strokeLine(x_.p, path, x_.c.stem, std::max(0.6, thick * 0.15));
        QPainterPath part(path.pointAtPercent(from));
        for (int i = 1; i <= 12; ++i)
            part.lineTo(path.pointAtPercent(from + (to - from) * i / 12.0));
        strokeLine(x_.p, part, shade(colour, -0.18), width + 0.8);
        strokeLine(x_.p, part, colour, width);
        strokeLine(x_.p, part, withAlpha(shade(colour, 0.15), 0.7), width * 0.3);
    }
    focus_ = path.pointAtPercent(0.3);
    hasFocus_ = true;
}

// A bottle-brush of stamens standing out all round the axis (ヒトリシズカ).
void InflorescencePainter::brush(const QPainterPath& path)
{
    strokeLine(x_.p, path, x_.c.stem, std::max(0.6, flower_ * 0.3));
    const int n = std::clamp(int(path.length() / std::max(flower_ * 0.18, 0.7)), 12, 160);
    QPainterPath threads;
    std::vector<QPointF> anthers;
    for (int i = 0; i < n; ++i) {
        const double t = (i + 0.5) / n, phase = qDegreesToRadians(i * kGolden);
        const double along = -path.angleAtPercent(t);
        const QPointF from = path.pointAtPercent(t);
        const QPointF to = from + polar(along + 90, std::cos(phase) * flower_ * 0.9) + polar(along, flower_ * 0.15);
        threads.moveTo(from);
        threads.lineTo(to);
        anthers.push_back(to);
    }
    strokeLine(x_.p, threads, x_.c.petal.base, std::max(0.5, flower_ * 0.12));
    if (flower_ > 6)
        for (const QPointF& a : anthers)
            dot(x_.p, a, flower_ * 0.07, x_.form.hasCentreColour ? x_.c.centre.base : x_.c.pollen);
    focus_ = path.pointAtPercent(0.5);
    hasFocus_ = true;
}

// Whether a spike's tiny flowers are packed into one cylinder, as in the
// plantains, smartweeds and burnets, not strung out along its axis.
bool InflorescencePainter::denseSpike(const PlantForm& f)
{
    static const QRegularExpression cylinder(QStringLiteral("円柱形の(花)?穂"));
    if (f.inflorescence == Inflorescence::Spike && !f.isGrassLike() && f.distinction.contains(cylinder))
        return true;  // said to be a thick cylinder, whatever its flowers
    const bool small = f.flowerSize.max <= 4.5;
    const bool plain = f.flowerForm == FlowerForm::FreePetals || f.flowerForm == FlowerForm::Tube ||
                       f.flowerForm == FlowerForm::Salver || f.flowerForm == FlowerForm::Urn;
    return f.inflorescence == Inflorescence::Spike && small && plain && !f.isGrassLike() && !sparse(f);
}

bool InflorescencePainter::sparse(const PlantForm& f)
{
    return f.distinction.contains(QStringLiteral("まばら"));
}

// A dense cylinder of tiny flowers round the axis, about two and a half
// flowers thick. Where the stamens are the show (the plantains), they
// stand out in a ring round the band in flower, spent flowers below it and
// buds above in the colour of the bracts.
void InflorescencePainter::dense(const QPainterPath& path, double len)
{
    const PlantForm& f = x_.form;
    // tiny flowers all round the axis; large ones overlap round a body of bracts
    const bool darker = f.hasSecondColour && x_.c.second.base.lightnessF() < x_.c.petal.base.lightnessF() - 0.15;
    const bool large = f.flowerSize.mid() > 8;  // large flowers stand out of a body of bracts
    const double width = std::max(large ? flower_ * 0.9 : flower_ * 2.6, 1.8);
    const QColor body = large ? mix(x_.c.leafDark, x_.c.petal.deep, 0.45) : darker ? x_.c.second.base : x_.c.petal.deep;
    const bool ring = f.has(FlowerFeature::Stamens);
    strokeLine(x_.p, path, shade(body, -0.18), width + 0.8);
    strokeLine(x_.p, path, ring ? body : mix(body, x_.c.petal.base, 0.5), width);
    const int n = std::clamp(int(len / std::max(flower_ * 0.4, 0.8)), 8, 240);
    QPainterPath threads;
    std::vector<QPointF> anthers;
    for (int i = 0; i < n; ++i) {
        const double t = (i + 0.5) / n, phase = qDegreesToRadians(i * kGolden);
        if (std::sin(phase) < -0.3)
            continue;  // on the far side of the spike
        const double along = -path.angleAtPercent(t);
        const double across = std::cos(phase);
        const QPointF at = path.pointAtPercent(t) + polar(along + 90, across * width * 0.36);
        if (!ring) {
            flowerAt({at, along + (across >= 0 ? 80 : -80), t * 0.86});
            continue;
        }
        if (t < 0.3 || t > 0.62) {
            dot(x_.p, at, std::max(0.4, flower_ * 0.3), shade(body, t < 0.3 ? -0.12 : 0.1));
            continue;
        }
        for (int k = 0; k < 3; ++k) {  // the ring of long stamens round the band in flower
            const double side = k == 2 ? -1.0 : 1.0;
            const QPointF end = at + polar(along + side * (across >= 0 ? 1 : -1) * x_.r.range(50, 110),
                                           std::max(flower_ * 1.8, width * 0.6));
            threads.moveTo(at);
            threads.lineTo(end);
            anthers.push_back(end);
        }
    }
    if (ring) {
        strokeLine(x_.p, threads, withAlpha(x_.c.petal.light, 0.9), std::max(0.35, flower_ * 0.08));
        for (const QPointF& a : anthers)
            dot(x_.p, a, std::max(0.5, flower_ * 0.2), x_.c.petal.base);
    }
    focus_ = path.pointAtPercent(0.45);
    hasFocus_ = true;
}

// A few flowers together at a stem's tip, almost without stalks.
void InflorescencePainter::tipCluster(QPointF tip, double axis)
{
    const QPointF at = tip + polar(axis, flower_ * 0.25);
    for (const double a : {-55.0, 55.0})
        flowerAt({at + polar(axis + a, flower_ * 0.45), axis + a, 0.95});
    flowerAt({at, axis, 0.5});
}

// A spike whose flowers climb it in a spiral (the twisted spike of an orchid).
void InflorescencePainter::spiral(QPointF tip, double axis, double len)
{
    const QPainterPath path = axisPath(tip, axis, len, 0);
    strokeLine(x_.p, path, x_.c.stem, std::max(0.6, flower_ * 0.15));
    const int n = std::clamp(int(len / std::max(flower_ * 0.6, 1.5)), 6, 60);
    for (int i = 0; i < n; ++i) {
        const double t = (i + 0.5) / n, phase = i * 0.62;
        const double along = -path.angleAtPercent(t);
        const double across = std::sin(phase);
        if (std::cos(phase) < -0.3)
            continue;  // on the far side of the spike
        const QPointF at = path.pointAtPercent(t) + polar(along + 90, across * flower_ * 0.5);
        flowerAt({at, along + (across >= 0 ? 70 : -70), t * 0.85});
    }
}

void InflorescencePainter::panicle(QPointF tip, double axis)
{
    const PlantForm& f = x_.form;
    if (length_ < flower_ * 4) {  // a few large flowers on a small plant: a loose cyme, not racemes of them
        cyme(tip, axis, std::max(length_, flower_ * 1.5), 2);
        return;
    }
    const QPainterPath path = axisPath(tip, axis, length_, x_.r.range(-10, 10));
    // an axis is a few millimetres thick however long it is
    strokeLine(x_.p, path, x_.c.stem, std::max(0.6, std::min(length_ * 0.012, x_.mm(2))));
    const int branches = f.has(InflorescenceTrait::OneSided) ? x_.r.pick(10, 14) : x_.r.pick(5, 8);
    for (int k = 0; k < branches; ++k) {
        const double t = 0.08 + 0.8 * k / branches;
        const double along = -path.angleAtPercent(t), side = k % 2 ? 1.0 : -1.0;
        const double len = length_ * 0.42 * (1.0 - 0.8 * t);
        const double dir = along + side * x_.r.range(35, 55);
        if (denseBranches(f)) {  // the amaranths: every branch a dense spike
            dense(axisPath(path.pointAtPercent(t), dir, std::max(len, flower_ * 3), x_.r.range(-10, 10)),
                  std::max(len, flower_ * 3));
            continue;
        }
        // one-sided branches (the goldenrods) crowd their heads and arch over at their ends
        const bool crowded = f.has(InflorescenceTrait::OneSided);
        raceme(path.pointAtPercent(t), dir, std::max(len, flower_ * 3), crowded, crowded ? sideOf(dir) * 35 : 0.0);
    }
    if (denseBranches(f))
        dense(axisPath(path.pointAtPercent(0.75), -path.angleAtPercent(0.75), length_ * 0.3, 0), length_ * 0.3);
    else
        raceme(path.pointAtPercent(0.88), -path.angleAtPercent(0.88), length_ * 0.14 + flower_ * 2, false);
}

// A spike or cluster from a leaf axil: petal-less flowers packed on it.
void InflorescencePainter::fromAxil(QPointF from, double axis, double len)
{
    const PlantForm& f = x_.form;
    if (f.inflorescence == Inflorescence::Panicle && !denseBranches(f) && f.flowerForm != FlowerForm::Apetalous)
        branch(from, axis, len);
    else
        raceme(from, axis, len, f.inflorescence != Inflorescence::Raceme, 10);
}

void InflorescencePainter::branch(QPointF from, double axis, double len)
{
    if (denseBranches(x_.form))
        dense(axisPath(from, axis, len, 8), len);
    else
        raceme(from, axis, len, false, 8);
}

// A panicle whose branches are spikes of tiny flowers packed tight, as the
// distinction calls them (穂).
bool InflorescencePainter::denseBranches(const PlantForm& f)
{
    return f.inflorescence == Inflorescence::Panicle && f.flowerSize.max <= 4 && !f.isGrassLike() && !f.isHead() &&
           f.distinction.contains(u'穂') && !sparse(f);
}

// Stalks from different heights reaching one flat top.
void InflorescencePainter::corymb(QPointF tip, double axis)
{
    const double width = std::max(length_, flower_ * 4);
    const int n = std::clamp(int(width / std::max(flower_ * 1.2, 3.0)), 3, 14);
    const QPointF top = tip + polar(axis, width * 0.35);
    std::vector<Bloom> blooms;
    for (int i = 0; i < n; ++i) {
        const double u = -1.0 + 2.0 * (i + 0.5) / n;
        const QPointF from = tip + polar(axis, width * 0.08 * (1 - std::abs(u)));
        const QPointF end = top + polar(axis + 90, u * width * 0.5) + QPointF(0, x_.r.range(-1, 1) * flower_ * 0.3);
        QPainterPath s(from);
        s.quadTo(QPointF(end.x(), from.y() + (end.y() - from.y()) * 0.3), end);
        strokeLine(x_.p, s, x_.c.stem, std::max(0.5, flower_ * 0.06));
        blooms.push_back({end, angleOf(end - from), i % 4 == 3 ? 0.95 : 0.5});
    }
    for (const Bloom& b : blooms)
        flowerAt(b);
}

void InflorescencePainter::umbel(QPointF tip, double axis, double radius, bool compound)
{
    const int rays = compound ? x_.r.pick(6, 9) : std::clamp(int(radius * 2.4 / std::max(flower_, 2.0)), 3, 14);
    std::vector<QPointF> ends;
    for (int i = 0; i < rays; ++i) {
        const double u = -1.0 + 2.0 * (i + 0.5) / rays;
        const QPointF end = tip + polar(axis + u * 65, radius * (0.8 + 0.2 * (1 - u * u)));
        stalk(tip, end, std::max(0.4, radius * 0.02));
        ends.push_back(end);
    }
    for (const QPointF& e : ends) {
        if (compound)
            umbel(e, angleOf(e - tip), radius * 0.3, false);
        else
            flowerAt({e, angleOf(e - tip), 0.5});
    }
}

// Florets packed in a ball, the outer ones turned outward.
// Where the florets of a head stand from its centre: the head is as wide
// as the description says, its outer florets reaching its rim.
double InflorescencePainter::headRadius() const
{
    return std::max(length_ * 0.5 - flower_ * 0.5, flower_ * 0.3);
}

void InflorescencePainter::head(QPointF tip, double axis)
{
    const double R = headRadius();
    const QPointF c = tip + polar(axis, R * 0.8);
    if (x_.form.distinction.contains(QStringLiteral("枯れ")))  // spent florets hang brown below the head
        dot(x_.p, c + QPointF(0, R * 0.45), R * 0.75, hsl(32, 0.35, 0.45));
    dot(x_.p, c, R * 0.7, mix(x_.c.petal.base, x_.c.petal.deep, 0.45));
    const double outer = R * 0.85 + flower_;  // a few large florets make a small head
    const int n = std::clamp(int(outer * outer / std::max(flower_ * flower_ * 0.2, 1.0)), 4, 60);
    std::vector<std::pair<double, QPointF>> florets;
    for (int i = 0; i < n; ++i) {
        const double z = 1 - (i + 0.5) / n, rr = std::sqrt(1 - z * z);
        florets.push_back({z, c + polar(i * kGolden, R * rr * 0.85)});
    }
    std::sort(florets.begin(), florets.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    for (const auto& [z, at] : florets)
        flowerAt({at, angleOf(at - c) + 0.1, 0.5, false});
}

// Each axis ends in a flower; two side shoots below it do the same.
void InflorescencePainter::cyme(QPointF tip, double axis, double len, int depth)
{
    const QPointF end = tip + polar(axis, len * 0.35);
    stalk(tip, end, std::max(0.5, flower_ * 0.06));
    if (depth > 0 && len > flower_ * 1.2) {
        for (const int side : {-1, 1}) {
            const double a = axis + side * x_.r.range(30, 48);
            const QPointF from = tip + polar(axis, len * 0.15);
            const QPointF to = from + polar(a, len * 0.5);
            stalk(from, to, std::max(0.5, flower_ * 0.05));
            cyme(to, a, len * 0.6, depth - 1);
        }
    }
    flowerAt({end, axis, depth == 0 ? 0.92 : 0.5});
}

void InflorescencePainter::spadix(QPointF tip, double axis)
{
    flowers_.paint(tip, axis, flower_);
    focus_ = tip + QPointF(0, -flower_ * 0.5);
    hasFocus_ = true;
}

// A dense cylinder of spikelets bristling with long hairs (the foxtails).
void InflorescencePainter::spikeletCylinder(QPointF tip, double axis)
{
    if (flower_ > length_ * 0.3) {  // each "spikelet" a spike of its own (the sedges)
        spikes(tip, axis);
        return;
    }
    const double nod = x_.r.range(15, 40) * sideOf(axis) * (x_.form.has(InflorescenceTrait::Drooping) ? 2.5 : 1.0);
    const QPainterPath path = axisPath(tip, axis, length_, nod);
    const double width = std::clamp(flower_ * 3.2, x_.mm(5), x_.mm(15));
    QPolygonF left, right;
    for (int i = 0; i <= 16; ++i) {
        const double t = i / 16.0, taper = std::min(1.0, 0.35 + t * 4) * (1 - 0.6 * t * t);
        const QPointF nrm = polar(-path.angleAtPercent(t) + 90, width * 0.5 * taper);
        left << path.pointAtPercent(t) + nrm;
        right.prepend(path.pointAtPercent(t) - nrm);
    }
    QPainterPath body = smoothPath(left, false);
    appendSmooth(body, QPolygonF() << left.last() << right);
    body.closeSubpath();
    x_.p.setPen(Qt::NoPen);
    x_.p.setBrush(x_.c.petal.deep);
    x_.p.drawPath(body);
    const int n = std::clamp(int(length_ / std::max(flower_ * 0.35, 0.6)), 10, 220);
    // long bristles only where the distinction names hairs (剛毛, 絹毛, 長い毛);
    // elsewhere the awns barely show and the anthers peep out
    const bool bristly = x_.form.distinction.contains(u'毛');
    QPainterPath hairs;
    std::vector<QPointF> anthers;
    x_.p.setBrush(mix(x_.c.petal.base, x_.c.petal.light, 0.3));
    for (int i = 0; i < n; ++i) {
        const double t = double(i) / n, phase = qDegreesToRadians(i * kGolden);
        const double taper = std::min(1.0, 0.35 + t * 4) * (1 - 0.6 * t * t);
        const double along = -path.angleAtPercent(t);
        const double across = std::cos(phase) * width * 0.42 * taper;
        const QPointF at = path.pointAtPercent(t) + polar(along + 90, across);
        if (std::sin(phase) > -0.2)
            x_.p.drawEllipse(at, width * 0.1, width * 0.08);
        const QPointF out =
            at + polar(along + (across > 0 ? 60 : -60) + x_.r.range(-15, 15), width * (bristly ? 0.75 : 0.12));
        hairs.moveTo(at);
        hairs.lineTo(out);
        if (!bristly && x_.form.hasSecondColour && i % 3 == 0)
            anthers.push_back(out);
    }
    strokeLine(x_.p, hairs, withAlpha(bristly && x_.form.hasSecondColour ? x_.c.second.base : x_.c.petal.light, 0.8),
               std::max(0.35, width * 0.025));
    for (const QPointF& a : anthers)
        dot(x_.p, a, std::max(0.5, width * 0.05), x_.c.second.base);
    focus_ = path.pointAtPercent(0.5);
    hasFocus_ = true;
}

// A few cylindrical spikes up the top of the stem, each on a short stalk,
// the lower ones apart and nodding, two-toned where two colours are named.
void InflorescencePainter::spikes(QPointF tip, double axis)
{
    const int n = x_.r.pick(2, 4);
    const double span = std::max(length_, flower_ * 1.5);
    const double width = std::max(flower_ * 0.16, 1.5);
    for (int i = 0; i < n; ++i) {
        const double t = double(i) / n;
        const QPointF at = tip + polar(axis, span * t);
        const double side = i % 2 ? 1.0 : -1.0;
        const double a = axis + side * (i == n - 1 ? 0.0 : 25.0 + 10 * (1 - t));
        const QPointF from = at + polar(a, flower_ * 0.1 * (1 - t));
        stalk(at, from, 0.6);
        const QPointF to = from + polar(a, flower_ * (i == n - 1 ? 0.8 : 1.0));
        const QColor c = x_.form.hasSecondColour && i % 2 ? x_.c.second.base : x_.c.petal.base;
        line(x_.p, from, to, shade(c, -0.2), width + 0.8);
        line(x_.p, from, to, c, width);
    }
    line(x_.p, tip, tip + polar(axis, span), x_.c.stem, 0.8);
    focus_ = tip + polar(axis, span * 0.5);
    hasFocus_ = true;
}

// Thin branches hung with spikelets; drooping ones dangle on hair-fine stalks.
void InflorescencePainter::spikeletPanicle(QPointF tip, double axis, bool drooping)
{
    const double bend = sideOf(axis) * x_.r.range(10, drooping ? 50 : 30);
    const QPainterPath path = axisPath(tip, axis, length_, bend);
    strokeLine(x_.p, path, x_.c.stem, std::max(0.5, std::min(length_ * 0.01, x_.mm(1.5))));
    const int branches = x_.r.pick(6, 10);
    for (int k = 0; k < branches; ++k) {
        const double t = 0.12 + 0.8 * k / branches;
        const QPointF at = path.pointAtPercent(t);
        const double dir = -path.angleAtPercent(t) + (k % 2 ? 1 : -1) * x_.r.range(30, 55);
        const double blen = length_ * 0.36 * (1 - 0.6 * t);
        const QPointF end = at + polar(dir, blen);
        stalk(at, end, 0.5);
        const int count = std::clamp(int(blen / std::max(flower_ * (drooping ? 1.6 : 1.1), 2.5)), 2, 12);
        for (int s = 1; s <= count; ++s) {
            const QPointF on = at + (end - at) * (double(s) / count);
            if (drooping) {
                const QPointF hang = on + QPointF(0, flower_ * 0.7);
                stalk(on, hang, 0.4);
                flowerAt({hang, 90.0 + x_.r.range(-15, 15), 0.5, false});
            } else {
                flowerAt({on, angleOf(end - at) + x_.r.range(-25, 25), 0.5, false});
            }
        }
    }
}

// Slender spikes spread from the stem's tip like fingers.
void InflorescencePainter::digitate(QPointF tip, double axis)
{
    if (x_.form.colour == Colour::Silver) {  // the silver grasses' spikes are hidden in long silky hairs
        plume(tip, axis);
        return;
    }
    const int n = x_.r.pick(3, 7);
    for (int i = 0; i < n; ++i) {
        const double u = n == 1 ? 0 : -1.0 + 2.0 * i / (n - 1);
        const double a = axis + u * 38;
        const QPainterPath path = axisPath(tip, a, length_, u * 20);
        strokeLine(x_.p, path, x_.c.stem, 0.7);
        const int m = std::clamp(int(length_ / std::max(flower_ * 1.1, 1.4)), 4, 40);
        for (int k = 0; k < m; ++k) {
            const double t = (k + 0.5) / m;
            const double along = -path.angleAtPercent(t);
            const QPointF at = path.pointAtPercent(t) + polar(along + 90, flower_ * 0.2);
            flowerAt({at, along + 12, 0.5, false});
        }
    }
    sedgeBracts(tip, axis);
}

// A silky plume: many branches crowded on a short axis, each a soft band
// of spikelets wrapped in long white hairs, fanning up and arching over at
// their ends; a second colour tinges the spikelets inside.
void InflorescencePainter::plume(QPointF tip, double axis)
{
    const double lean = x_.r.pick(0, 1) ? 1.0 : -1.0;  // the whole plume arches over to one side
    const double axisLen = length_ * 0.4;
    const QPainterPath main = axisPath(tip, axis, axisLen, lean * 6);
    strokeLine(x_.p, main, x_.c.stem, std::max(0.7, x_.mm(2)));
    const double width = std::max(flower_ * 3.0, 4.0);  // spikelets and the hairs round them
    const QColor silk = x_.c.petal.light, core = x_.form.hasSecondColour ? x_.c.second.base : x_.c.petal.deep;
    const int n = x_.r.pick(20, 28);
    QPainterPath hairs;
    for (int k = 0; k < n; ++k) {
        const double t = double(k) / n;
        const double u = (k % 2 ? 1.0 : -1.0) * x_.r.range(0.05, 1.0);
        const double dir = -main.angleAtPercent(t) + u * 24 + lean * 6;
        const double len = length_ * (0.8 - 0.45 * t) * x_.r.range(0.85, 1.0);
        const QPainterPath path = axisPath(main.pointAtPercent(t), dir, len, lean * x_.r.range(12, 30));
        const bool behind = k % 3 == 0;
        // a faint grey edge keeps the white silk apart from a pale sky
        strokeLine(x_.p, path, withAlpha(shade(silk, -0.35), 0.35), width + 1.0);
        strokeLine(x_.p, path, withAlpha(behind ? shade(silk, -0.14) : silk, 0.7), width);
        strokeLine(x_.p, path, withAlpha(core, 0.5), std::max(0.6, width * 0.25));
        const int m = std::clamp(int(len / std::max(width * 0.45, 1.2)), 6, 70);
        for (int i = 0; i < m; ++i) {
            const double s = (i + 0.5) / m, along = -path.angleAtPercent(s);
            const QPointF at = path.pointAtPercent(s);
            hairs.moveTo(at);
            hairs.lineTo(at + polar(along + (i % 2 ? 25 : -25), width * 0.9));
        }
    }
    strokeLine(x_.p, hairs, withAlpha(shade(silk, 0.1), 0.8), std::max(0.35, width * 0.1));
    focus_ = main.pointAtPercent(0.7);
    hasFocus_ = true;
}

// Round clusters of spikelets at the ends of short rays (the sedges), with
// their long leafy bracts.
void InflorescencePainter::globose(QPointF tip, double axis)
{
    if (!Distinction::lateralCluster(x_.form))  // a bract that goes on as the stem stands in for them
        sedgeBracts(tip, axis);
    const int n = x_.form.inflorescenceLength.known() && length_ > flower_ * 6 ? x_.r.pick(3, 6) : 1;
    const double R = std::max(flower_ * 1.6, 2.0);
    for (int i = 0; i < n; ++i) {
        const double u = n == 1 ? 0 : -1.0 + 2.0 * i / (n - 1);
        const QPointF end = tip + polar(axis + u * 50, n == 1 ? R * 0.6 : length_ * 0.5 * (0.6 + 0.4 * std::abs(u)));
        stalk(tip, end, 0.6);
        const int spikelets = 14;
        for (int k = 0; k < spikelets; ++k) {
            const double a = k * kGolden;
            flowerAt({end + polar(a, R * 0.35 * std::sqrt((k + 0.5) / spikelets)), a, 0.5, false});
        }
    }
}

bool InflorescencePainter::sedge() const
{
    return x_.family.contains(QStringLiteral("ｶﾔﾂﾘｸﾞｻ")) || x_.family.contains(QStringLiteral("カヤツリグサ"));
}

// The flatsedges' spikes on rays of an umbel at the top of the stem.
bool InflorescencePainter::cyperus() const
{
    return sedge() && x_.form.genus != QStringLiteral("スゲ属") && !Distinction::lateralCluster(x_.form);
}

// Rays of unequal length from the top of the stem, each ending in a spike
// of spikelets spreading from its axis, over the long leafy bracts.
void InflorescencePainter::sedgeUmbel(QPointF tip, double axis)
{
    sedgeBracts(tip, axis);
    const int n = x_.r.pick(3, 6);
    const double spike = std::max(length_ * 0.4, flower_ * 2.5);
    for (int i = 0; i < n; ++i) {
        const double u = -1.0 + 2.0 * (i + 0.5) / n;
        const double a = axis + u * 42 + x_.r.range(-6, 6);
        const double ray = length_ * (0.15 + 0.55 * (1 - std::abs(u)) * x_.r.range(0.6, 1.0));
        const QPointF end = tip + polar(a, ray);
        stalk(tip, end, std::max(0.5, flower_ * 0.06));
        raceme(end, a, spike * x_.r.range(0.8, 1.0), true);
    }
}

// Long leafy bracts radiating from the top of a sedge's stem, longer than
// the flowers they stand under.
void InflorescencePainter::sedgeBracts(QPointF tip, double axis)
{
    if (!sedge())
        return;
    const double len = std::max(length_ * 2.2, x_.cm(x_.form.leafLength.mid()) * 0.6);
    const double w = std::max(1.2, x_.mm(4));
    const int n = x_.r.pick(3, 4);
    for (int i = 0; i < n; ++i) {
        const int pair = i / 2;  // the bracts go out in pairs, one to each side
        const double a = (i % 2 ? 1 : -1) * (60.0 + 35.0 * pair) + x_.r.range(-10, 10);
        const double l = len * x_.r.range(0.6, 1.0);
        const QPointF end = tip + polar(axis + a, l) + QPointF(0, l * 0.3);
        const Curve c{tip, tip + polar(axis + a * 0.6, l * 0.35), tip + polar(axis + a * 0.85, l * 0.7), end};
        x_.p.setPen(QPen(x_.c.leafDark, 0.5));
        x_.p.setBrush(x_.c.leaf);
        x_.p.drawPath(ribbon(c, w, w * 0.15));
    }
}

// Flowers in the axil of a leaf: one to a few on short stalks, or a whorl
// of them round the node (the mints and dead-nettles).
Range InflorescencePainter::axilCount(const PlantForm& f)
{
    // The vocabulary gives no count; the distinction often does ("葉腋ごとに3-5個").
    static const QRegularExpression pattern(QStringLiteral("([0-9]+)(?:[-～~]([0-9]+))?個"));
    const QRegularExpressionMatch m = pattern.match(f.distinction.normalized(QString::NormalizationForm_KC));
    if (!m.hasMatch())
        return {1, 2};
    const int low = std::clamp(m.captured(1).toInt(), 1, 8);
    const int high = m.captured(2).isEmpty() ? low : std::clamp(m.captured(2).toInt(), low, 8);
    return {double(low), double(high)};
}

void InflorescencePainter::axil(QPointF node, double stemAxis, double side, double leafLength)
{
    const bool whorl = x_.form.inflorescence == Inflorescence::Verticillaster;
    const Range few = axilCount(x_.form);
    // tiny flowers in a whorl crowd into a ball round the node (the mints)
    const bool ball = whorl && x_.form.flowerSize.mid() <= 7;
    const int n = ball ? x_.r.pick(5, 7) : whorl ? x_.r.pick(1, 3) : x_.r.pick(int(few.min), int(few.max));
    const bool hanging = x_.form.has(InflorescenceTrait::Drooping) || x_.form.facing == Facing::Down;
    for (int i = 0; i < n; ++i) {
        const double spread = ball      ? 15.0 + 150.0 * (i + 0.5) / n
                              : whorl   ? 25.0 + 55.0 * (i + 0.5) / n
                              : hanging ? 100.0 + 50.0 * (i + 0.5) / n
                                        : x_.r.range(30, 55);
        const double a = stemAxis + side * spread;
        const double pedicel = ball    ? flower_ * 0.15  // a whorl is hardly wider than two flowers
                               : whorl ? flower_ * 0.15
                                       : std::max(flower_ * 0.8, std::min(leafLength * 0.3, flower_ * 3));
        const QPointF at = node + polar(a, pedicel);
        stalk(node, at, std::max(0.4, flower_ * 0.05));
        flowerAt({at, a, 0.5});
    }
}
