#include "search/SearchEngine.h"

#include "catalogue/CategoryTables.h"
#include "catalogue/FlowerCatalogue.h"
#include "catalogue/NameOrder.h"

#include <algorithm>
#include <bit>
#include <numeric>

SearchEngine::SearchEngine(const FlowerCatalogue& catalogue)
    : catalogue_(catalogue)
{
    for (int k = 0; k < Selection::kCategories; ++k)
        valueMask_[size_t(k)] = (uint32_t(1) << CategoryTables::valueCount(k)) - 1;
    rebuild();
}

void SearchEngine::rebuild()
{
    count_ = catalogue_.count();
    // Records in name order; the order is total, so records with the same
    // name stand together, in slot order. The store delivers the catalogue
    // in name order, so the sort is seldom needed: a name comparison costs
    // thousands of instructions, and a start does this once.
    QVector<int> inOrder(count_);
    std::iota(inOrder.begin(), inOrder.end(), 1);
    const NameOrder order;
    const auto byName = [&](int a, int b) { return order.less(catalogue_.slot(a).NAMAE, catalogue_.slot(b).NAMAE); };
    if (!std::is_sorted(inOrder.begin(), inOrder.end(), byName))
        std::stable_sort(inOrder.begin(), inOrder.end(), byName);

    names_.clear();
    names_.reserve(count_);
    slots_ = inOrder;
    valueBits_ = {};
    groups_.clear();
    for (int place = 0; place < count_; ++place) {
        const FlowerRecord& r = catalogue_.slot(inOrder[place]);
        names_ << r.NAMAE;
        for (int k = 0; k < Selection::kCategories; ++k) {
            const int code = CategoryTables::codeOf(k, r.attribute(k));
            if (code > 0)
                valueBits_[size_t(k)][size_t(code - 1)].set(place);
        }
        if (place > 0 && names_[place] == names_[place - 1]) {
            if (!groups_.isEmpty() && groups_.back().end == place)
                groups_.back().end = place + 1;
            else
                groups_.push_back({place - 1, place + 1});
        }
    }
}

SearchResult SearchEngine::match(const Selection& selection, int primaryCategory) const
{
    SearchResult result;
    if (primaryCategory < 0 || primaryCategory >= Selection::kCategories || !selection.anyIn(primaryCategory))
        return result;
    result.records = RecordBits::first(count_);
    std::array<RecordBits, Selection::kCategories> matched;
    for (int k = 0; k < Selection::kCategories; ++k) {
        // A category takes part when anything in it is selected, even a
        // bit that names no value: then nothing matches it.
        if (!selection.anyIn(k))
            continue;
        matched[size_t(k)] = selected(selection, k);
        result.records &= matched[size_t(k)];
    }
    if (!groups_.isEmpty())
        applyRepeats(matched, selection, result);
    return result;
}

RecordBits SearchEngine::selected(const Selection& selection, int category) const
{
    RecordBits any;
    for (uint32_t mask = selection.mask(category) & valueMask_[size_t(category)]; mask; mask &= mask - 1)
        any |= valueBits_[size_t(category)][size_t(std::countr_zero(mask))];
    return any;
}

NearMisses SearchEngine::nearMisses(const Selection& selection) const
{
    NearMisses near;
    if (selection.categoriesInUse() < 2)
        return near;
    std::array<RecordBits, Selection::kCategories> matched;
    for (int k = 0; k < Selection::kCategories; ++k)
        if (selection.anyIn(k))
            matched[size_t(k)] = selected(selection, k);
    for (int missed = 0; missed < Selection::kCategories; ++missed) {
        if (!selection.anyIn(missed))
            continue;
        RecordBits others = RecordBits::first(count_);
        for (int k = 0; k < Selection::kCategories; ++k)
            if (k != missed && selection.anyIn(k))
                others &= matched[size_t(k)];
        near.byCategory[size_t(missed)] = others.subtract(matched[size_t(missed)]);
    }
    return near;
}

void SearchEngine::applyRepeats(const std::array<RecordBits, Selection::kCategories>& matched,
                                const Selection& selection, SearchResult& result) const
{
    // The staged search lists a shared name once per matching record of the
    // first stage, times the matching records of each further stage.
    for (const NameGroup& g : groups_) {
        qint64 times = 1;
        for (int k = 0; k < Selection::kCategories && times > 0; ++k)
            if (selection.anyIn(k))
                times = std::min<qint64>(times * matched[size_t(k)].countIn(g.begin, g.end), kMaxResults);
        for (int p = g.begin; p < g.end; ++p)
            result.records.reset(p);
        if (times > 0)
            result.records.set(g.begin);
        if (times > 1)
            result.repeats.push_back({g.begin, times});
    }
}

QStringList SearchEngine::names(const SearchResult& result) const
{
    QStringList list;
    list.reserve(std::min<qint64>(result.size(), kMaxResults));
    auto repeat = result.repeats.cbegin();
    result.records.forEach([&](int place) {
        qint64 times = 1;
        if (repeat != result.repeats.cend() && repeat->place == place)
            times = (repeat++)->times;
        for (qint64 i = 0; i < times && list.size() < kMaxResults; ++i)
            list << names_[place];
    });
    return list;
}
