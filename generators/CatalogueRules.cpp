#include "generators/CatalogueRules.h"

#include "catalogue/CategoryTables.h"

#include <QRegularExpression>
#include <QStringList>

namespace {

constexpr int kFamily = 4;
const QString kOther = QStringLiteral("その他");

QString quoted(const QString& text)
{
    return QStringLiteral("「%1」").arg(text);
}

// Family names compared as a reader sees them, so the half-width stored
// names match the full-width names people type into KA2.
QString folded(const QString& text)
{
    return text.normalized(QString::NormalizationForm_KC).trimmed();
}

int monthNumber(const QString& digits)
{
    return folded(digits).toInt();
}

QString seasonOfMonth(int month)
{
    if (month <= 6)
        return QStringLiteral("春");
    if (month <= 8)
        return QStringLiteral("夏");
    return QStringLiteral("秋");
}

// Composites whose small heads sit so close along the branches that the
// plant is seen as a spike, and those whose heads are burs or tiny buttons.
const QStringList kSpikeComposites = {
    QStringLiteral("ヨモギ"),
    QStringLiteral("オトコヨモギ"),
    QStringLiteral("カワラヨモギ"),
    QStringLiteral("オオヨモギ"),
    QStringLiteral("ブタクサ"),
    QStringLiteral("オオブタクサ"),
    QStringLiteral("セイタカアワダチソウ"),
    QStringLiteral("オオアワダチソウ"),
    QStringLiteral("アキノキリンソウ"),
};
const QStringList kOtherComposites = {
    QStringLiteral("オナモミ"),
    QStringLiteral("オオオナモミ"),
    QStringLiteral("イガオナモミ"),
    QStringLiteral("トキンソウ"),
};

// Grasses, sedges and rushes have no petals: their plumes go to その他
// whatever tint the light or ripening gives them.
const QStringList kPlumeFamilies = {QStringLiteral("イネ科"), QStringLiteral("カヤツリグサ科"),
                                    QStringLiteral("イグサ科")};

}  // namespace

QVector<CatalogueRules::Breach> CatalogueRules::check(const FlowerRecord& r)
{
    QVector<Breach> out;
    checkSeason(r, out);
    checkFamily(r, out);
    checkPlumeColour(r, out);
    checkOrange(r, out);
    checkCompositeShape(r, out);
    checkUnits(r, out);
    return out;
}

QString CatalogueRules::seasonFromNote(const QString& note)
{
    static const QRegularExpression range(QStringLiteral("([0-9０-９]{1,2})～([0-9０-９]{1,2})月"));
    const QRegularExpressionMatch m = range.match(note);
    if (!m.hasMatch())
        return {};
    const int first = monthNumber(m.captured(1));
    int last = monthNumber(m.captured(2));
    if (first < 1 || first > 12 || last < 1 || last > 12)
        return {};
    if (last < first)
        last += 12;  // a period over the new year
    const int middle = (first + last + 1) / 2;
    return seasonOfMonth((middle - 1) % 12 + 1);
}

void CatalogueRules::checkSeason(const FlowerRecord& r, QVector<Breach>& out)
{
    const QString season = seasonFromNote(r.NOTE);
    if (!season.isEmpty() && season != r.KISETU)
        out.push_back(
            {QStringLiteral("KISETU"), QStringLiteral("%1, but the flowering period the note gives first peaks in %2")
                                           .arg(quoted(r.KISETU), quoted(season))});
}

void CatalogueRules::checkFamily(const FlowerRecord& r, QVector<Breach>& out)
{
    if (r.KA == kOther) {
        for (const QString& named : CategoryTables::storedNames(kFamily))
            if (named != kOther && folded(named) == folded(r.KA2))
                out.push_back(
                    {QStringLiteral("KA"),
                     QStringLiteral("%1 is a family of its own in the search, not その他").arg(quoted(r.KA2))});
    } else if (CategoryTables::codeOf(kFamily, r.KA) != 0 && folded(r.KA) != folded(r.KA2)) {
        out.push_back(
            {QStringLiteral("KA2"),
             QStringLiteral("%1 shown with the picture, but searched as %2").arg(quoted(r.KA2), quoted(r.KA))});
    }
}

void CatalogueRules::checkPlumeColour(const FlowerRecord& r, QVector<Breach>& out)
{
    if (kPlumeFamilies.contains(folded(r.KA)) && CategoryTables::codeOf(kFamily, r.KA) != 0 && r.IRO != kOther)
        out.push_back(
            {QStringLiteral("IRO"),
             QStringLiteral("%1: the plumes of grasses, sedges and rushes are filed as その他").arg(quoted(r.IRO))});
}

void CatalogueRules::checkOrange(const FlowerRecord& r, QVector<Breach>& out)
{
    const QString yellow = QStringLiteral("黄色系");
    const QString red = QStringLiteral("赤紫系");
    if (r.IRO != yellow && r.IRO != red)
        return;
    static const QRegularExpression redOrange(QStringLiteral("橙赤|赤橙|朱|紅"));
    QString wanted;
    if (r.NOTE.contains(redOrange))
        wanted = red;
    else if (r.NOTE.contains(u'橙'))
        wanted = yellow;
    if (!wanted.isEmpty() && wanted != r.IRO)
        out.push_back({QStringLiteral("IRO"),
                       QStringLiteral("%1, but the note's orange goes to %2").arg(quoted(r.IRO), quoted(wanted))});
}

void CatalogueRules::checkCompositeShape(const FlowerRecord& r, QVector<Breach>& out)
{
    if (r.KA != QStringLiteral("キク科"))
        return;
    // Both ways: a listed composite filed otherwise, and an unlisted one
    // filed as a spike or a bur, which the lists say belongs to the heads.
    QString wanted;
    if (kSpikeComposites.contains(r.NAMAE))
        wanted = QStringLiteral("穂型");
    else if (kOtherComposites.contains(r.NAMAE))
        wanted = kOther;
    else if (r.KABEN == QStringLiteral("穂型") || r.KABEN == kOther)
        wanted = QStringLiteral("キク型");
    if (!wanted.isEmpty() && r.KABEN != wanted)
        out.push_back(
            {QStringLiteral("KABEN"),
             QStringLiteral("%1, but the rules file this composite as %2").arg(quoted(r.KABEN), quoted(wanted))});
}

void CatalogueRules::checkUnits(const FlowerRecord& r, QVector<Breach>& out)
{
    static const QRegularExpression otherUnits(
        QStringLiteral("センチ|ミリ|メートル|[０-９]\\s*[ｃｍｋ]?ｍ(?![ｍａ-ｚ])"));
    const QRegularExpressionMatch m = otherUnits.match(r.NOTE);
    if (m.hasMatch())
        out.push_back({QStringLiteral("NOTE"),
                       QStringLiteral("%1: lengths are written in cm, mm and m").arg(quoted(m.captured(0)))});
}
