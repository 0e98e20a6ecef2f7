#include "generators/CatalogueChecker.h"

#include "catalogue/CategoryTables.h"
#include "catalogue/NameOrder.h"
#include "generators/CatalogueRules.h"
#include "generators/FormRules.h"
#include "settings/SettingsFile.h"

#include <QHash>
#include <algorithm>
#include <numeric>

namespace {

using Fault = CatalogueChecker::Fault;

// The record editor's input limits, counted in Shift-JIS bytes because the
// editor's boxes and the lists that show the fields were sized for them.
struct FieldLimit {
    const char* field;
    QString FlowerRecord::*member;
    int maxBytes;
};

const FieldLimit kLimits[] = {
    {"NAMAE", &FlowerRecord::NAMAE, 30},   {"KISETU", &FlowerRecord::KISETU, 2}, {"IRO", &FlowerRecord::IRO, 6},
    {"KABEN", &FlowerRecord::KABEN, 10},   {"HA", &FlowerRecord::HA, 6},         {"KA", &FlowerRecord::KA, 10},
    {"SYASIN", &FlowerRecord::SYASIN, 34},
};

QString quoted(const QString& text)
{
    return QStringLiteral("「%1」").arg(text);
}

// Text reduced to what a reader sees: compatible width forms folded and all
// blanks removed. Two texts equal in this form look alike on screen although
// the program's exact comparison tells them apart.
QString looks(const QString& text)
{
    QString s = text.normalized(QString::NormalizationForm_KC);
    s.removeIf([](QChar c) { return c.isSpace(); });
    return s;
}

QString lookalikeOf(int category, const QString& text)
{
    for (const QString& stored : CategoryTables::storedNames(category))
        if (looks(stored) == looks(text))
            return stored;
    return {};
}

QString notStoredWhy(int category, const QString& text)
{
    const QString label = CatalogueChecker::categoryLabel(category);
    if (text.isEmpty())
        return QStringLiteral("empty; the %1 must be one of %2")
            .arg(label, CategoryTables::storedNames(category).join(u", "));
    if (const QString near = lookalikeOf(category, text); !near.isEmpty())
        return QStringLiteral("%1 differs from the stored %2 name %3 in blanks or character width; "
                              "the search matches the exact text only")
            .arg(quoted(text), label, quoted(near));
    return QStringLiteral("%1 is not a stored %2 name (%3)")
        .arg(quoted(text), label, CategoryTables::storedNames(category).join(u", "));
}

// Where the program looks for a picture: the stored name itself, then the
// same base name (up to the first ".") as .jpg, .bmp, .gif, as
// PictureFiles::resolvePictureFile does.
QStringList pictureCandidates(const QString& stored)
{
    const int dot = int(stored.indexOf(u'.'));
    const QString base = dot >= 0 ? stored.left(dot) : stored;
    return {stored, base + QStringLiteral(".jpg"), base + QStringLiteral(".bmp"), base + QStringLiteral(".gif")};
}

QString key(const FlowerRecord& r)
{
    QStringList parts;
    for (int k = 0; k < CategoryTables::kCategoryCount; ++k)
        parts << r.attribute(k);
    return parts.join(QChar(0x1F));
}

}  // namespace

CatalogueChecker::CatalogueChecker(PictureExists pictureExists)
    : pictureExists_(std::move(pictureExists))
{
}

int CatalogueChecker::byteLimit(const QString& field)
{
    for (const FieldLimit& l : kLimits)
        if (field == QLatin1String(l.field))
            return l.maxBytes;
    return 0;
}

QString CatalogueChecker::faultName(Fault fault)
{
    switch (fault) {
    case Fault::NotStoredName: return QStringLiteral("NotStoredName");
    case Fault::EmptyName: return QStringLiteral("EmptyName");
    case Fault::DuplicateName: return QStringLiteral("DuplicateName");
    case Fault::TooLong: return QStringLiteral("TooLong");
    case Fault::MissingPicture: return QStringLiteral("MissingPicture");
    case Fault::EmptyField: return QStringLiteral("EmptyField");
    case Fault::TooManyRecords: return QStringLiteral("TooManyRecords");
    case Fault::Damaged: return QStringLiteral("Damaged");
    case Fault::BreaksRule: return QStringLiteral("BreaksRule");
    case Fault::NoDescription: return QStringLiteral("NoDescription");
    case Fault::BadDescription: return QStringLiteral("BadDescription");
    }
    return {};
}

QString CatalogueChecker::categoryLabel(int category)
{
    static const char* const labels[] = {"season", "colour", "petal shape", "leaf arrangement", "family"};
    return QString::fromLatin1(labels[category]);
}

CatalogueChecker::Report CatalogueChecker::check(const QVector<FlowerRecord>& records) const
{
    Report report;
    report.recordCount = int(records.size());
    checkCount(records, report);
    for (int i = 0; i < records.size(); ++i) {
        checkRecord(i + 1, records[i], report);
        checkRules(i + 1, records[i], report);
    }
    checkLookAlikes(records, report);
    checkNames(records, report);
    sortProblems(report);

    for (int k = 0; k < CategoryTables::kCategoryCount; ++k)
        for (int code = 1; code <= CategoryTables::valueCount(k); ++code) {
            const QString value = CategoryTables::storedName(k, code);
            const int n = int(std::count_if(records.begin(), records.end(),
                                            [&](const FlowerRecord& r) { return r.attribute(k) == value; }));
            report.valueCounts.push_back({k, code, value, n, n < kRareBelow});
        }

    QHash<QString, int> groupOf;
    QVector<Group> all;
    for (const FlowerRecord& r : records) {
        auto it = groupOf.find(key(r));
        if (it == groupOf.end()) {
            it = groupOf.insert(key(r), int(all.size()));
            Group g;
            for (int k = 0; k < CategoryTables::kCategoryCount; ++k)
                g.attributes << r.attribute(k);
            all.push_back(g);
        }
        all[*it].names << r.NAMAE;
    }
    std::copy_if(all.begin(), all.end(), std::back_inserter(report.groups),
                 [](const Group& g) { return g.names.size() > 1; });
    std::stable_sort(report.groups.begin(), report.groups.end(),
                     [](const Group& a, const Group& b) { return a.names.size() > b.names.size(); });
    return report;
}

CatalogueChecker::Report CatalogueChecker::check(const QVector<FlowerRecord>& records,
                                                 const FormSource::Result& forms) const
{
    Report report = check(records);
    checkForms(records, forms, report);
    sortProblems(report);
    return report;
}

void CatalogueChecker::sortProblems(Report& report)
{
    std::stable_sort(report.problems.begin(), report.problems.end(),
                     [](const Problem& a, const Problem& b) { return a.row < b.row; });
}

std::optional<CatalogueChecker::Report>
CatalogueChecker::checkFile(const QString& path, const FormSource::Result& forms, QString* error) const
{
    return checkRead(path, &forms, error);
}

std::optional<CatalogueChecker::Report> CatalogueChecker::checkFile(const QString& path, QString* error) const
{
    return checkRead(path, nullptr, error);
}

std::optional<CatalogueChecker::Report>
CatalogueChecker::checkRead(const QString& path, const FormSource::Result* forms, QString* error) const
{
    const CatalogueStore::ReadResult read = CatalogueStore::read(path);
    if (!read.ok()) {
        if (error)
            *error = read.error;
        return std::nullopt;
    }
    Report report = forms ? check(read.rows, *forms) : check(read.rows);
    checkFileItself(path, read, report);
    return report;
}

void CatalogueChecker::checkFileItself(const QString& path, const CatalogueStore::ReadResult& read, Report& report)
{
    QVector<Problem> found;
    auto add = [&](const QString& what) { found.push_back({0, {}, {}, Fault::Damaged, what}); };
    if (read.end == CatalogueStore::ReadEnd::Damaged)
        add(QStringLiteral("reading stopped after %1 rows: %2").arg(read.rows.size()).arg(read.endError));
    if (read.end == CatalogueStore::ReadEnd::LimitReached)
        add(QStringLiteral("KUSABANA is not a plain table and did not end; reading stopped after %1 rows")
                .arg(read.rows.size()));
    if (read.cutTexts > 0)
        add(QStringLiteral("%1 texts are longer than the program reads and were cut").arg(read.cutTexts));
    QStringList damage;
    QString why;
    if (!CatalogueStore::quickCheck(path, damage, &why))
        damage << why;
    for (const QString& line : damage)
        add(QStringLiteral("SQLite's quick_check: ") + line);
    report.problems = found + report.problems;  // catalogue-wide problems come first
}

void CatalogueChecker::checkCount(const QVector<FlowerRecord>& records, Report& report) const
{
    if (records.size() <= kMaxRecords)
        return;
    // The program keeps the first records in name order; say which ones it leaves out.
    QStringList names;
    for (const FlowerRecord& r : records)
        names << r.NAMAE;
    std::stable_sort(names.begin(), names.end(), NameOrder());
    const QStringList dropped = names.mid(kMaxRecords);
    report.problems.push_back({0,
                               {},
                               {},
                               Fault::TooManyRecords,
                               QStringLiteral("%1 records; the program loads only the first %2 in name order "
                                              "and leaves out: %3")
                                   .arg(records.size())
                                   .arg(kMaxRecords)
                                   .arg(dropped.join(u", "))});
}

void CatalogueChecker::checkRecord(int row, const FlowerRecord& r, Report& report) const
{
    auto add = [&](const QString& field, Fault fault, const QString& what) {
        report.problems.push_back({row, r.NAMAE, field, fault, what});
    };
    if (r.NAMAE.isEmpty())
        add(QStringLiteral("NAMAE"), Fault::EmptyName, QStringLiteral("no name"));
    for (int k = 0; k < CategoryTables::kCategoryCount; ++k)
        if (CategoryTables::codeOf(k, r.attribute(k)) == 0)
            add(CategoryTables::fieldName(k), Fault::NotStoredName, notStoredWhy(k, r.attribute(k)));
    for (const FieldLimit& l : kLimits) {
        const int bytes = int(SettingsFile::encode(r.*l.member).size());
        if (bytes > l.maxBytes)
            add(QLatin1String(l.field), Fault::TooLong,
                QStringLiteral("%1 takes %2 bytes; the record editor takes at most %3")
                    .arg(quoted(r.*l.member))
                    .arg(bytes)
                    .arg(l.maxBytes));
    }
    if (r.KA2.isEmpty())
        add(QStringLiteral("KA2"), Fault::EmptyField, QStringLiteral("no family name to show with the picture"));
    if (r.SYASIN.isEmpty())
        add(QStringLiteral("SYASIN"), Fault::MissingPicture, QStringLiteral("no picture file named"));
    else if (!pictureFound(r.SYASIN))
        add(QStringLiteral("SYASIN"), Fault::MissingPicture,
            QStringLiteral("%1 not found in data/ (nor as .jpg, .bmp or .gif)").arg(quoted(r.SYASIN)));
}

void CatalogueChecker::checkRules(int row, const FlowerRecord& r, Report& report)
{
    for (const CatalogueRules::Breach& b : CatalogueRules::check(r))
        report.breaches.push_back({row, r.NAMAE, b.field, Fault::BreaksRule, b.what});
}

void CatalogueChecker::checkLookAlikes(const QVector<FlowerRecord>& records, Report& report)
{
    // Compared among the records the program loads: the comparison grows with
    // the square of the count, and the records beyond them are a problem of
    // their own (TooManyRecords).
    QVector<int> kept(records.size());
    std::iota(kept.begin(), kept.end(), 0);
    if (records.size() > kMaxRecords) {
        const NameOrder order;
        std::stable_sort(kept.begin(), kept.end(),
                         [&](int a, int b) { return order.less(records[a].NAMAE, records[b].NAMAE); });
        kept.resize(kMaxRecords);
        std::sort(kept.begin(), kept.end());
    }
    QVector<FlowerRecord> compared;
    compared.reserve(kept.size());
    for (int i : kept)
        compared << records[i];
    for (const CatalogueRules::RecordBreach& b : CatalogueRules::checkLookAlikes(compared)) {
        const int i = kept[b.record];
        report.breaches.push_back({i + 1, records[i].NAMAE, b.field, Fault::BreaksRule, b.what});
    }
    std::stable_sort(report.breaches.begin(), report.breaches.end(),
                     [](const Problem& a, const Problem& b) { return a.row < b.row; });
}

void CatalogueChecker::checkNames(const QVector<FlowerRecord>& records, Report& report) const
{
    QHash<QString, int> firstRow;
    for (int i = 0; i < records.size(); ++i) {
        const FlowerRecord& r = records[i];
        if (r.NAMAE.isEmpty())
            continue;
        if (const auto it = firstRow.constFind(r.NAMAE); it != firstRow.constEnd())
            report.problems.push_back({i + 1, r.NAMAE, QStringLiteral("NAMAE"), Fault::DuplicateName,
                                       QStringLiteral("the same name as row %1").arg(*it)});
        else
            firstRow.insert(r.NAMAE, i + 1);
    }
}

bool CatalogueChecker::pictureFound(const QString& stored) const
{
    const QStringList candidates = pictureCandidates(stored);
    return std::any_of(candidates.begin(), candidates.end(), pictureExists_);
}

void CatalogueChecker::checkForms(const QVector<FlowerRecord>& records, const FormSource::Result& forms, Report& report)
{
    for (const QString& e : forms.errors)
        report.problems.push_back({0, {}, {}, Fault::BadDescription, e});
    QHash<QString, int> rowOf;
    for (int i = 0; i < records.size(); ++i)
        rowOf.insert(records[i].NAMAE, i + 1);
    QHash<QString, QString> describedAt;  // name -> "file:line" of its first description
    for (const FormSource::Entry& e : forms.entries) {
        const QString at = QStringLiteral("%1:%2").arg(e.file).arg(e.line);
        const int row = rowOf.value(e.form.name);
        auto add = [&](const QString& what) {
            report.problems.push_back({row, e.form.name, at, Fault::BadDescription, what});
        };
        if (row == 0) {
            add(QStringLiteral("describes %1, which is no record").arg(quoted(e.form.name)));
            continue;
        }
        if (describedAt.contains(e.form.name)) {
            add(QStringLiteral("described a second time; the first is at %1").arg(describedAt[e.form.name]));
            continue;
        }
        describedAt.insert(e.form.name, at);
        for (const QString& f : e.faults + FormRules::check(e.form, records[row - 1]))
            add(f);
    }
    for (int i = 0; i < records.size(); ++i)
        if (!describedAt.contains(records[i].NAMAE))
            report.problems.push_back({i + 1, records[i].NAMAE, QStringLiteral("forms"), Fault::NoDescription,
                                       QStringLiteral("no form description in the form files")});
}
