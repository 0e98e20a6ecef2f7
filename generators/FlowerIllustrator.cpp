#include "generators/FlowerIllustrator.h"

#include "generators/CloseUpPainter.h"
#include "generators/Distinction.h"
#include "generators/PaintContext.h"
#include "generators/PlantPainter.h"
#include "generators/PlateInset.h"
#include "generators/PlateScene.h"

#include <algorithm>

using namespace PaintKit;

namespace {

constexpr double kMargin = 16.0;
constexpr double kTop = 18.0;
constexpr double kInsetColumn = 208.0;  // width kept free for the close-ups at the right
constexpr double kMaxPerCm = 60.0;  // a tiny plant is not blown up past this

struct Layout {
    QRectF habit;
    PlateInset flower;
    PlateInset detail;
    QPointF scaleBar;
};

Layout layoutFor(double W)
{
    const double left = W - kInsetColumn + 14;
    return {QRectF(kMargin, kTop, W - kInsetColumn - kMargin, PlateScene::kGround - kTop),
            PlateInset(QRectF(left, 16, 184, 184), PlateInset::Shape::Circle),
            PlateInset(QRectF(left, 214, 184, 178), PlateInset::Shape::Box), QPointF(W - 24, 452)};
}

// One scale for the whole plant: as large as the habit's box allows.
double scaleFor(const PlantForm& f, double heightCm, const QRectF& box)
{
    const QSizeF extent = PlantPainter::extentCm(f, heightCm);
    const double perCm =
        std::min(box.height() / std::max(extent.height(), 0.5), box.width() / std::max(extent.width(), 0.5));
    return std::min(perCm, kMaxPerCm);
}

Range clamped(Range r, double low, double high)
{
    return {std::clamp(r.min, low, high), std::clamp(r.max, low, high)};
}

// The description's numbers as far as a plant can have them: a size of 0 or
// of a kilometre still gives a picture.
PlantForm withinReason(PlantForm f)
{
    f.height = clamped(f.height, 1, 3000);
    f.leafLength = clamped(f.leafLength, 0.2, 300);
    f.flowerSize = clamped(f.flowerSize, 0.3, 500);
    if (f.inflorescenceLength.known())
        f.inflorescenceLength = clamped(f.inflorescenceLength, 0.1, 300);
    if (f.leaflets.known())
        f.leaflets = clamped(f.leaflets, 1, 60);
    if (f.whorl.known())
        f.whorl = clamped(f.whorl, 2, 24);
    f.petals = std::clamp(f.petals, 0, 40);
    return f;
}

struct Plate {
    QPainter& p;
    const PlantForm& form;
    const PlantPalette& colours;
    const QString& family;
    LeafPainter::Style leafStyle;
};

void paintCloseUp(Plate& plate, Rng& r, const PlateInset& inset, CloseUpPainter::Subject subject, double perCm)
{
    const double closePerCm = CloseUpPainter::scaleFor(plate.form, subject, inset.radius());
    const bool pale = subject == CloseUpPainter::Subject::Fruit  ? plate.form.fruit == Fruit::Pappus
                      : subject == CloseUpPainter::Subject::Node ? false
                                                                 : PlantPalette::isPale(plate.form.colour);
    inset.begin(plate.p, pale);
    PaintContext x{plate.p, r, plate.form, plate.colours, closePerCm, plate.family};
    const double painted = CloseUpPainter(x, plate.leafStyle).paint(subject, inset.area().adjusted(6, 6, -6, -6));
    inset.end(plate.p, painted / perCm);
}

}  // namespace

QImage FlowerIllustrator::draw(const FlowerRecord& record, const PlantForm& described, QSize size)
{
    const PlantForm form = withinReason(described);
    const QSize out = size.isEmpty() ? QSize(640, 480) : size;
    const double scale = out.height() / PlateScene::kHeight;
    const double W = out.width() / scale;
    Rng root{nameSeed(record.NAMAE)};
    Rng colourRng = root.fork(0x11), sceneRng = root.fork(0x33), plantRng = root.fork(0x55), closeRng = root.fork(0x77);
    const Season season = PlantPalette::seasonOf(record.KISETU);
    const PlantPalette colours = PlantPalette::make(form, season, colourRng);
    const PlateScene scene(W, season, PlantPainter::aquatic(form));
    const Layout layout = layoutFor(W);

    QImage image(out, QImage::Format_RGB32);
    QPainter p(&image);
    p.setRenderHints(QPainter::Antialiasing | QPainter::SmoothPixmapTransform | QPainter::TextAntialiasing);
    p.scale(scale, scale);
    p.drawImage(QRectF(0, 0, W, PlateScene::kHeight), scene.farField(sceneRng, scale));
    scene.paintGround(p, sceneRng);

    // a stalk that flowers before the leaves grows on after it: its flowering height is the least
    const double heightCm =
        form.height.at(Distinction::beforeLeaves(form) ? plantRng.range(0.05, 0.2) : plantRng.range(0.45, 0.75));
    const double perCm = scaleFor(form, heightCm, layout.habit);
    Plate plate{p, form, colours, record.KA2, LeafPainter::styleFor(form, record.KA2, plantRng)};
    PaintContext x{p, plantRng, form, colours, perCm, record.KA2};
    PlantPainter plant(x, plate.leafStyle);
    plant.paint(QPointF(layout.habit.center().x(), PlateScene::kGround), heightCm);

    layout.flower.paintLeader(p, plant.flowerFocus());
    paintCloseUp(plate, closeRng, layout.flower, CloseUpPainter::flowerSubject(form), perCm);
    const CloseUpPainter::Subject detail = CloseUpPainter::detailSubject(form);
    const bool fruit = detail == CloseUpPainter::Subject::Fruit;
    if (detail == CloseUpPainter::Subject::Node || (fruit && plant.hasFruitFocus()))
        layout.detail.paintLeader(p, fruit ? plant.fruitFocus() : plant.leafFocus());
    paintCloseUp(plate, closeRng, layout.detail, detail, perCm);
    scene.paintScaleBar(p, perCm, layout.scaleBar);
    scene.paintFrame(p);
    scene.paintCaption(p, record.NAMAE, record.KA2);
    return image;
}
