#include "generators/CatalogueRules.h"

#include "catalogue/CategoryTables.h"

#include <QRegularExpression>
#include <QStringList>
#include <algorithm>

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

namespace {

// The note's peak: its first month range, "７～１０月", or one month written
// "８月を盛りに" before it; first and last month, the last one counted on
// past December for a range over the new year.
struct MonthRange {
    int first = 0;
    int last = 0;
    bool valid() const { return first > 0; }
};

MonthRange firstMonthRange(const QString& note)
{
    static const QRegularExpression range(QStringLiteral("([0-9０-９]{1,2})～([0-9０-９]{1,2})月"));
    static const QRegularExpression single(QStringLiteral("(?<![0-9０-９～])([0-9０-９]{1,2})月を盛りに"));
    const QRegularExpressionMatch m = range.match(note);
    const QRegularExpressionMatch one = single.match(note);
    if (one.hasMatch() && (!m.hasMatch() || one.capturedStart() < m.capturedStart())) {
        const int month = monthNumber(one.captured(1));
        return month >= 1 && month <= 12 ? MonthRange{month, month} : MonthRange{};
    }
    if (!m.hasMatch())
        return {};
    const int first = monthNumber(m.captured(1));
    int last = monthNumber(m.captured(2));
    if (first < 1 || first > 12 || last < 1 || last > 12)
        return {};
    if (last < first)
        last += 12;  // a period over the new year
    return {first, last};
}

// Katakana that continues a name: the letters and the prolonged sound mark,
// full and half width, but not the middle dot that separates names.
bool continuesName(QChar c)
{
    const char16_t u = c.unicode();
    return (u >= 0x30A1 && u <= 0x30FA) || (u >= 0x30FC && u <= 0x30FE) || (u >= 0xFF66 && u <= 0xFF9F);
}

bool namesAt(const QString& sentence, qsizetype at, qsizetype length)
{
    if (at > 0 && continuesName(sentence.at(at - 1)))
        return false;
    const qsizetype end = at + length;
    return end >= sentence.size() || (!continuesName(sentence.at(end)) && sentence.at(end) != u'科');
}

QString seasonsOf(const FlowerRecord& a, const FlowerRecord& b)
{
    return QStringLiteral("%1 is filed under %2, %3 under %4")
        .arg(quoted(a.NAMAE), quoted(a.KISETU), quoted(b.NAMAE), quoted(b.KISETU));
}

}  // namespace

QString CatalogueRules::seasonFromNote(const QString& note)
{
    const MonthRange peak = firstMonthRange(note);
    if (!peak.valid())
        return {};
    const int middle = (peak.first + peak.last + 1) / 2;
    return seasonOfMonth((middle - 1) % 12 + 1);
}

int CatalogueRules::peakMonths(const QString& note)
{
    const MonthRange peak = firstMonthRange(note);
    return peak.valid() ? peak.last - peak.first + 1 : 0;
}

QStringList CatalogueRules::sentencesNaming(const QString& note, const QString& name)
{
    QStringList found;
    if (name.isEmpty() || !note.contains(name))
        return found;
    static const QRegularExpression sentenceEnd(QStringLiteral("(?<=。)|\\n"));
    for (const QString& sentence : note.split(sentenceEnd, Qt::SkipEmptyParts))
        for (qsizetype at = sentence.indexOf(name); at >= 0; at = sentence.indexOf(name, at + 1))
            if (namesAt(sentence, at, name.size())) {
                found << sentence;
                break;
            }
    return found;
}

bool CatalogueRules::speaksOfFloweringTime(const QString& sentence)
{
    static const QRegularExpression time(QStringLiteral("花期|時期|季節"));
    return sentence.contains(time);
}

QVector<CatalogueRules::RecordBreach> CatalogueRules::checkLookAlikes(const QVector<FlowerRecord>& records)
{
    QVector<RecordBreach> out;
    for (int a = 0; a < records.size(); ++a)
        for (int b = 0; b < records.size(); ++b) {
            const FlowerRecord& ra = records[a];
            const FlowerRecord& rb = records[b];
            if (a == b || ra.KISETU == rb.KISETU || ra.NAMAE == rb.NAMAE)
                continue;
            const QStringList naming = sentencesNaming(ra.NOTE, rb.NAMAE);
            if (naming.isEmpty())
                continue;
            if (std::none_of(naming.begin(), naming.end(), speaksOfFloweringTime)) {
                out.push_back({a, QStringLiteral("KISETU"),
                               QStringLiteral("the note names %1 as a look-alike, but %2; look-alikes share a "
                                              "season unless both notes say their flowering times differ")
                                   .arg(quoted(rb.NAMAE), seasonsOf(ra, rb))});
            } else if (sentencesNaming(rb.NOTE, ra.NAMAE).isEmpty()) {
                out.push_back({b, QStringLiteral("NOTE"),
                               QStringLiteral("the note of %1 names this one as a look-alike that flowers at "
                                              "another time (%2), but this note does not name %1")
                                   .arg(quoted(ra.NAMAE), seasonsOf(ra, rb))});
            }
        }
    return out;
}

void CatalogueRules::checkSeason(const FlowerRecord& r, QVector<Breach>& out)
{
    const int months = peakMonths(r.NOTE);
    if (months == 0) {
        out.push_back(
            {QStringLiteral("NOTE"), QStringLiteral("no flowering months (\"Ｘ～Ｙ月\"): the season cannot be "
                                                    "checked")});
        return;
    }
    if (months > kMaxPeakMonths)
        out.push_back({QStringLiteral("NOTE"),
                       QStringLiteral("the first months, the peak, span %1 months; at most %2, with the whole "
                                      "flowering time after them")
                           .arg(months)
                           .arg(kMaxPeakMonths)});
    const QString season = seasonFromNote(r.NOTE);
    if (season != r.KISETU)
        out.push_back({QStringLiteral("KISETU"), QStringLiteral("%1, but the peak the note gives first falls in %2")
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
