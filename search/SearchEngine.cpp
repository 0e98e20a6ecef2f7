#include "search/SearchEngine.h"

#include "catalogue/CategoryTables.h"
#include "catalogue/FlowerCatalogue.h"
#include "catalogue/NameOrder.h"

#include <QHash>
#include <algorithm>

SearchEngine::SearchEngine(const FlowerCatalogue& catalogue)
    : catalogue_(catalogue)
{
    rebuild();
}

void SearchEngine::rebuild()
{
    const int n = catalogue_.count();
    QStringList distinct;
    QHash<QString, int> seen;
    for (int i = 1; i <= n; ++i) {
        const QString& name = catalogue_.slot(i).NAMAE;
        if (!seen.contains(name)) {
            seen.insert(name, 0);
            distinct << name;
        }
    }
    const NameOrder order;
    std::sort(distinct.begin(), distinct.end(), order);
    for (int i = 0; i < distinct.size(); ++i)
        seen[distinct[i]] = i;
    names_ = distinct;

    nameOf_.resize(n);
    codeOf_.resize(n);
    for (int i = 0; i < n; ++i) {
        const FlowerRecord& r = catalogue_.slot(i + 1);
        nameOf_[i] = seen.value(r.NAMAE);
        for (int k = 0; k < CategoryTables::kCategoryCount; ++k)
            codeOf_[i][size_t(k)] = int16_t(CategoryTables::codeOf(k, r.attribute(k)) - 1);
    }
}

QStringList SearchEngine::search(const Selection& selection, int primaryCategory) const
{
    QStringList result;
    if (primaryCategory < 0 || primaryCategory >= Selection::kCategories || !selection.anyIn(primaryCategory))
        return result;

    // multiplicity[name] = product over active categories of the number of
    // records with that name matching the category's selection.
    QVector<qint64> product(names_.size(), 1);
    QVector<int> count(names_.size());
    for (int k = 0; k < Selection::kCategories; ++k) {
        const uint32_t mask = selection.mask(k);
        if (!mask)
            continue;
        count.fill(0);
        for (int i = 0; i < nameOf_.size(); ++i) {
            const int code = codeOf_[i][size_t(k)];
            if (code >= 0 && ((mask >> code) & 1u))
                ++count[nameOf_[i]];
        }
        for (int j = 0; j < names_.size(); ++j)
            product[j] *= count[j];
    }
    // Repeated names multiply; a pathological catalogue must not exhaust
    // memory, so the list stops at the size a list box could ever hold.
    for (int j = 0; j < names_.size(); ++j)
        for (qint64 m = 0; m < product[j] && result.size() < kMaxResults; ++m)
            result << names_[j];
    return result;
}
