#include "generators/FormLineReader.h"

#include "generators/FormVocabulary.h"

#include <QRegularExpression>

namespace V = FormVocabulary;

namespace {

enum Col {
    kName,
    kGenus,
    kHabit,
    kHeight,
    kStem,
    kPhyllotaxis,
    kBasal,
    kLeafShape,
    kMargin,
    kDivision,
    kLeafBase,
    kLeafLength,
    kInflorescence,
    kInflorescenceLength,
    kFlower,
    kFlowerSize,
    kColour,
    kMarking,
    kFruit,
    kDistinction,
};

const QString kNone = QStringLiteral("－");
const QChar kSeparator = u'・';
constexpr int kDistinctionLength = 40;

QString quoted(const QString& text)
{
    return QStringLiteral("「%1」").arg(text);
}

}  // namespace

const QStringList& FormLineReader::columnNames()
{
    static const QStringList names = QStringLiteral("NAMAE 属 草姿 高さ 茎 葉序 根生葉 葉形 縁 葉の分裂 葉の基部 葉長 "
                                                    "花序 花序長 花 花径 花色 模様 果実 見分け")
                                         .split(u' ');
    return names;
}

std::optional<Range> FormLineReader::range(const QString& text)
{
    static const QRegularExpression pattern(QStringLiteral("^(\\d+(?:\\.\\d+)?)(?:-(\\d+(?:\\.\\d+)?))?$"));
    const QRegularExpressionMatch m = pattern.match(text);
    if (!m.hasMatch())
        return std::nullopt;
    const double low = m.captured(1).toDouble();
    const double high = m.captured(2).isEmpty() ? low : m.captured(2).toDouble();
    if (low > high)
        return std::nullopt;
    return Range{low, high};
}

FormLineReader::FormLineReader(const QStringList& columns)
    : columns_(columns)
{
    result_.form.name = columns[kName];
}

FormLineReader::Result FormLineReader::read(const QStringList& columns)
{
    FormLineReader r(columns);
    r.readGenusAndDistinction();
    r.readHabit();
    r.readSizes();
    r.readStem();
    r.readPhyllotaxis();
    r.readBasal();
    r.readLeafShape();
    r.readMargins();
    r.readDivision();
    r.readLeafBases();
    r.readInflorescence();
    r.readFlower();
    r.readColours();
    r.readMarkings();
    r.readFruit();
    return r.result_;
}

QStringList FormLineReader::words(int i) const
{
    return columns_[i].split(kSeparator);
}

void FormLineReader::fault(int i, const QString& why)
{
    result_.faults << columnNames()[i] + QStringLiteral(": ") + why;
}

void FormLineReader::badWord(int i, const QString& word)
{
    fault(i, QStringLiteral("%1 is not a word of the vocabulary").arg(quoted(word)));
}

void FormLineReader::readGenusAndDistinction()
{
    static const QRegularExpression genus(QStringLiteral("^[ァ-ヴー]+属$"));
    result_.form.genus = column(kGenus);
    if (!genus.match(column(kGenus)).hasMatch())
        fault(kGenus, QStringLiteral("%1 is no genus in katakana ending in 属").arg(quoted(column(kGenus))));
    const QString d = column(kDistinction);
    result_.form.distinction = d;
    if (d.isEmpty() || d == kNone)
        fault(kDistinction, QStringLiteral("empty"));
    else if (d.toUcs4().size() > kDistinctionLength)
        fault(kDistinction, QStringLiteral("%1 characters, at most %2").arg(d.toUcs4().size()).arg(kDistinctionLength));
}

void FormLineReader::readHabit()
{
    const QStringList w = words(kHabit);
    if (const auto h = V::find(V::habits(), w[0]))
        result_.form.habit = *h;
    else
        badWord(kHabit, w[0]);
    for (int i = 1; i < w.size(); ++i) {
        if (V::isColonial(w[i]))
            result_.form.colonial = true;
        else if (const auto b = V::find(V::branchings(), w[i]))
            result_.form.branching = *b;
        else
            badWord(kHabit, w[i]);
    }
}

void FormLineReader::readSizes()
{
    const std::pair<int, Range PlantForm::*> sizes[] = {
        {kHeight, &PlantForm::height}, {kLeafLength, &PlantForm::leafLength}, {kFlowerSize, &PlantForm::flowerSize}};
    for (const auto& [col, member] : sizes) {
        if (const auto r = range(column(col)))
            result_.form.*member = *r;
        else
            fault(col, QStringLiteral("%1 is no size (10-30)").arg(quoted(column(col))));
    }
    if (column(kInflorescenceLength) == kNone)
        return;
    if (const auto r = range(column(kInflorescenceLength)))
        result_.form.inflorescenceLength = *r;
    else
        fault(kInflorescenceLength,
              QStringLiteral("%1 is no size (10-30) nor －").arg(quoted(column(kInflorescenceLength))));
}

void FormLineReader::readStem()
{
    if (column(kStem) == kNone)
        return;
    for (const QString& w : words(kStem)) {
        if (const auto f = V::find(V::stemFeatures(), w))
            result_.form.stem << *f;
        else
            badWord(kStem, w);
    }
}

void FormLineReader::readPhyllotaxis()
{
    static const QRegularExpression pattern(QStringLiteral("^(互生|対生|輪生|根生)(\\d+(?:-\\d+)?)?$"));
    const QRegularExpressionMatch m = pattern.match(column(kPhyllotaxis));
    if (!m.hasMatch()) {
        badWord(kPhyllotaxis, column(kPhyllotaxis));
        return;
    }
    result_.form.phyllotaxis = *V::find(V::phyllotaxes(), m.captured(1));
    if (m.captured(2).isEmpty())
        return;
    if (result_.form.phyllotaxis != Phyllotaxis::Whorled)
        fault(kPhyllotaxis, QStringLiteral("a count of leaves belongs to 輪生 only"));
    else if (const auto r = range(m.captured(2)))
        result_.form.whorl = *r;
    else
        fault(kPhyllotaxis, QStringLiteral("%1 is no count").arg(quoted(m.captured(2))));
}

void FormLineReader::readBasal()
{
    if (const auto b = V::find(V::basalLeaves(), column(kBasal)))
        result_.form.basal = *b;
    else
        badWord(kBasal, column(kBasal));
    if (result_.form.habit == Habit::Rosette && result_.form.basal != BasalLeaves::Rosette)
        fault(kBasal, QStringLiteral("a rosette plant (草姿 ロゼット) has 根生葉 ロゼット"));
}

void FormLineReader::readLeafShape()
{
    if (const auto s = V::find(V::leafShapes(), column(kLeafShape)))
        result_.form.leafShape = *s;
    else
        badWord(kLeafShape, column(kLeafShape));
}

void FormLineReader::readMargins()
{
    const QStringList w = words(kMargin);
    if (w.size() > 2)
        fault(kMargin, QStringLiteral("one or two words"));
    for (const QString& m : w) {
        if (const auto v = V::find(V::margins(), m))
            result_.form.margins << *v;
        else
            badWord(kMargin, m);
    }
}

void FormLineReader::readDivision()
{
    static const QRegularExpression pattern(QStringLiteral(
        "^(単葉|三出複葉|二回羽状複葉|三回羽状複葉|二回三出複葉|鳥足状複葉|掌状複葉|羽状複葉)(\\d+(?:-\\d+)?)?$"));
    static const std::pair<const char16_t*, Division> kinds[] = {
        {u"単葉", Division::Simple},
        {u"三出複葉", Division::Trifoliate},
        {u"二回羽状複葉", Division::Bipinnate},
        {u"三回羽状複葉", Division::Tripinnate},
        {u"二回三出複葉", Division::Biternate},
        {u"鳥足状複葉", Division::Pedate},
        {u"掌状複葉", Division::Palmate},
        {u"羽状複葉", Division::Pinnate},
    };
    const QStringList w = words(kDivision);
    const QRegularExpressionMatch m = pattern.match(w[0]);
    const bool counted =
        m.hasMatch() && (m.captured(1) == QStringLiteral("掌状複葉") || m.captured(1) == QStringLiteral("羽状複葉"));
    if (!m.hasMatch() || counted == m.captured(2).isEmpty()) {
        badWord(kDivision, w[0]);
    } else {
        for (const auto& [text, division] : kinds)
            if (m.captured(1) == QStringView(text))
                result_.form.division = division;
        if (counted)
            result_.form.leaflets = range(m.captured(2)).value_or(Range{});
    }
    if (w.size() == 2 && w[1] == QStringLiteral("巻きひげ"))
        result_.form.tendrils = true;
    else if (w.size() > 1)
        fault(kDivision, QStringLiteral("only 巻きひげ may follow the division"));
}

void FormLineReader::readLeafBases()
{
    const QStringList w = words(kLeafBase);
    if (w.size() > 2)
        fault(kLeafBase, QStringLiteral("one or two words"));
    for (const QString& b : w) {
        if (const auto v = V::find(V::leafBases(), b))
            result_.form.leafBases << *v;
        else
            badWord(kLeafBase, b);
    }
}

void FormLineReader::readInflorescence()
{
    const QStringList w = words(kInflorescence);
    if (const auto i = V::find(V::inflorescences(), w[0]))
        result_.form.inflorescence = *i;
    else
        badWord(kInflorescence, w[0]);
    for (int i = 1; i < w.size(); ++i) {
        if (const auto t = V::find(V::inflorescenceTraits(), w[i]))
            result_.form.inflorescenceTraits << *t;
        else
            badWord(kInflorescence, w[i]);
    }
}

void FormLineReader::readFlower()
{
    static const QRegularExpression count(QStringLiteral("^花弁(\\d+)$"));
    PlantForm& f = result_.form;
    int symmetries = 0, forms = 0, counts = 0;
    for (const QString& w : words(kFlower)) {
        if (const auto s = V::find(V::symmetries(), w)) {
            f.symmetry = *s;
            ++symmetries;
        } else if (const QRegularExpressionMatch m = count.match(w); m.hasMatch()) {
            f.petals = m.captured(1).toInt();
            ++counts;
        } else if (const auto form = V::find(V::flowerForms(), w)) {
            f.flowerForm = *form;
            ++forms;
        } else if (const auto feature = V::find(V::flowerFeatures(), w)) {
            f.features << *feature;
        } else if (const auto facing = V::find(V::facings(), w)) {
            f.facing = *facing;
        } else {
            badWord(kFlower, w);
        }
    }
    checkFlowerParts(symmetries, forms, counts);
}

void FormLineReader::checkFlowerParts(int symmetries, int forms, int counts)
{
    if (symmetries != 1)
        fault(kFlower, QStringLiteral("one symmetry (放射 or 左右)"));
    if (forms != 1)
        fault(kFlower, QStringLiteral("one form (離弁, 筒形, ...)"));
    if (counts > 1)
        fault(kFlower, QStringLiteral("one count of petals"));
    const PlantForm& f = result_.form;
    const bool uncounted = f.isHead() || f.flowerForm == FlowerForm::Spikelet || f.flowerForm == FlowerForm::Apetalous;
    if (forms == 1 && counts == 0 && !uncounted)
        fault(kFlower, QStringLiteral("no 花弁N"));
}

void FormLineReader::readColours()
{
    static const QRegularExpression pattern(QStringLiteral("^([^+/]+)(?:\\+([^+/]+))?(?:/([^+/]+))?$"));
    const QRegularExpressionMatch m = pattern.match(column(kColour));
    if (!m.hasMatch()) {
        fault(kColour, QStringLiteral("%1 is not main[+second][/centre]").arg(quoted(column(kColour))));
        return;
    }
    PlantForm& f = result_.form;
    const std::tuple<int, Colour*, bool*> parts[] = {
        {1, &f.colour, nullptr}, {2, &f.secondColour, &f.hasSecondColour}, {3, &f.centreColour, &f.hasCentreColour}};
    for (const auto& [index, colour, present] : parts) {
        const QString word = m.captured(index);
        if (word.isEmpty())
            continue;
        if (const auto c = V::find(V::colours(), word)) {
            *colour = *c;
            if (present)
                *present = true;
        } else {
            badWord(kColour, word);
        }
    }
}

void FormLineReader::readMarkings()
{
    if (column(kMarking) == kNone)
        return;
    for (const QString& w : words(kMarking)) {
        const QStringList kv = w.split(u':');
        const auto kind = kv.size() == 2 ? V::find(V::markKinds(), kv[0]) : std::nullopt;
        const auto colour = kv.size() == 2 ? V::find(V::colours(), kv[1]) : std::nullopt;
        if (kind && colour)
            result_.form.markings.push_back({*kind, *colour});
        else
            fault(kMarking, QStringLiteral("%1 is not kind:colour").arg(quoted(w)));
    }
}

void FormLineReader::readFruit()
{
    if (column(kFruit) == kNone)
        return;
    const QStringList kv = column(kFruit).split(u':');
    const auto fruit = V::find(V::fruits(), kv[0]);
    const bool coloured = fruit == Fruit::Berry || fruit == Fruit::Gourd;
    const auto colour = kv.size() == 2 ? V::find(V::colours(), kv[1]) : std::nullopt;
    if (!fruit || kv.size() > 2 || coloured != (kv.size() == 2) || (coloured && !colour)) {
        fault(kFruit, QStringLiteral("%1 is no single fruit of the vocabulary (液果 and 瓜 with :colour)")
                          .arg(quoted(column(kFruit))));
        return;
    }
    result_.form.fruit = *fruit;
    if (colour)
        result_.form.fruitColour = *colour;
}
