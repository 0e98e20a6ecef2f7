#include "generators/PlantPalette.h"

#include "generators/Distinction.h"

#include <QRegularExpression>

#include <array>

using namespace PaintKit;

namespace {

struct Swatch {
    Colour colour;
    QRgb rgb;
};

// The written colour words as a painter mixes them.
constexpr std::array<Swatch, 27> kSwatches{{
    {Colour::White, qRgb(250, 250, 247)},
    {Colour::Cream, qRgb(250, 243, 214)},
    {Colour::GreenishWhite, qRgb(226, 238, 208)},
    {Colour::PaleYellow, qRgb(249, 238, 140)},
    {Colour::Yellow, qRgb(250, 206, 24)},
    {Colour::Orange, qRgb(246, 146, 30)},
    {Colour::Vermilion, qRgb(232, 82, 38)},
    {Colour::Crimson, qRgb(212, 36, 78)},
    {Colour::Red, qRgb(206, 30, 36)},
    {Colour::Pink, qRgb(240, 146, 180)},
    {Colour::PalePink, qRgb(247, 200, 214)},
    {Colour::RedPurple, qRgb(176, 48, 128)},
    {Colour::Magenta, qRgb(204, 64, 156)},
    {Colour::PalePurple, qRgb(196, 176, 232)},
    {Colour::Purple, qRgb(134, 74, 178)},
    {Colour::BluePurple, qRgb(98, 86, 200)},
    {Colour::Blue, qRgb(40, 96, 226)},
    {Colour::PaleBlue, qRgb(156, 188, 242)},
    {Colour::Green, qRgb(104, 156, 64)},
    {Colour::YellowGreen, qRgb(168, 198, 64)},
    {Colour::Brown, qRgb(140, 98, 56)},
    {Colour::RedBrown, qRgb(152, 68, 42)},
    {Colour::PurpleBrown, qRgb(112, 58, 66)},
    {Colour::DarkPurple, qRgb(88, 38, 90)},
    {Colour::BlackPurple, qRgb(48, 24, 44)},
    {Colour::Silver, qRgb(204, 208, 212)},
    {Colour::Gold, qRgb(212, 168, 56)},
}};

}  // namespace

bool PlantPalette::isPale(Colour c)
{
    return c == Colour::White || c == Colour::Cream || c == Colour::GreenishWhite || c == Colour::Silver ||
           c == Colour::PaleYellow || c == Colour::PalePink;
}

QColor PlantPalette::colourOf(Colour c)
{
    for (const Swatch& s : kSwatches)
        if (s.colour == c)
            return QColor(s.rgb);
    return Qt::white;
}

PlantPalette::Tone PlantPalette::toneOf(Colour c)
{
    const QColor base = colourOf(c);
    if (c == Colour::White || c == Colour::Cream || c == Colour::GreenishWhite ||
        c == Colour::Silver)  // white parts need a grey edge to read against a pale sky
        return {base, shade(base, -0.16), QColor(255, 255, 255), withAlpha(QColor(90, 90, 80), 0.7)};
    return {base, shade(base, -0.16), shade(base, 0.16), withAlpha(shade(base, -0.34), 0.75)};
}

Season PlantPalette::seasonOf(const QString& kisetu)
{
    if (kisetu.contains(u'春'))
        return Season::Spring;
    if (kisetu.contains(u'秋'))
        return Season::Autumn;
    return Season::Summer;
}

PlantPalette PlantPalette::make(const PlantForm& form, Season season, Rng& r)
{
    PlantPalette c;
    c.petal = toneOf(form.colour);
    c.second = form.hasSecondColour ? toneOf(form.secondColour) : c.petal;
    const bool yellowish = form.colour == Colour::Yellow || form.colour == Colour::PaleYellow;
    const Colour centre = form.hasCentreColour ? form.centreColour
                          : form.isHead() ? (form.flowerForm == FlowerForm::LigulesOnly ? form.colour : Colour::Yellow)
                          : yellowish     ? Colour::Orange
                                          : Colour::Yellow;
    c.centre = toneOf(centre);
    c.pollen = yellowish ? hsl(36, 0.95, 0.45) : hsl(48, 1.0, 0.6);
    c.setFoliage(form, season, r);
    return c;
}

void PlantPalette::setFoliage(const PlantForm& form, Season season, Rng& r)
{
    struct Green {
        double hue, sat, light;
    };
    const Green g = season == Season::Spring   ? Green{92, 0.46, 0.40}
                    : season == Season::Summer ? Green{112, 0.48, 0.32}
                                               : Green{84, 0.38, 0.34};
    double h = g.hue + r.range(-6, 6), l = g.light;
    const bool greenFlowers = form.colour == Colour::Green || form.colour == Colour::YellowGreen;
    if (greenFlowers) {  // keep green flowers apart from the leaves
        h += 26;
        l -= 0.06;
    }
    leaf = hsl(h, g.sat, l);
    leafDark = hsl(h + 6, g.sat + 0.05, l - 0.13);
    leafLight = hsl(h - 6, g.sat, l + 0.16);
    vein = withAlpha(hsl(h - 10, g.sat, l + 0.24), 0.6);
    stem = hsl(h - 10, g.sat - 0.05, l + 0.06);
    static const QRegularExpression whitish(QStringLiteral("全体が(灰)?白|株が白っぽ"));
    const bool allWhite = form.distinction.contains(whitish);
    if (allWhite && form.distinction.contains(u'毛')) {  // covered in white wool: a grey, silvery green
        leaf = hsl(h - 10, 0.14, 0.66);
        leafDark = hsl(h - 10, 0.14, 0.5);
        leafLight = hsl(h - 10, 0.12, 0.8);
        vein = withAlpha(hsl(h - 10, 0.1, 0.85), 0.6);
        stem = hsl(h - 10, 0.12, 0.7);
    } else if (allWhite) {  // a plant without green (the ghost plants)
        leaf = stem = QColor(236, 236, 228);
        leafDark = QColor(190, 190, 182);
        leafLight = QColor(252, 252, 248);
        vein = withAlpha(QColor(200, 200, 192), 0.6);
    }
    if (form.has(StemFeature::Reddish))
        stem = hsl(350, 0.5, 0.42);
    if (form.has(StemFeature::PurpleBrown))
        stem = hsl(340, 0.35, 0.28);
    if (form.has(StemFeature::Glaucous))
        stem = hsl(150, 0.18, 0.58);
    stemDark = shade(stem, -0.14);
    hair = Distinction::darkHairs(form)     ? withAlpha(hsl(20, 0.25, 0.15), 0.9)
           : form.has(StemFeature::Bristly) ? withAlpha(hsl(20, 0.4, 0.35), 0.9)
                                            : withAlpha(QColor(245, 245, 235), 0.8);
}
