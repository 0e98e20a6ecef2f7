#pragma once

#include "search/Selection.h"

#include <QStringList>
#include <QVector>
#include <array>

class FlowerCatalogue;

// Finds the flowers that match at least one selected value of every active
// category, as a name list in the program's name order.
//
// The result is the multiset the classic staged search produces: it works on
// names, so a name carried by several records appears once per combination of
// its matching records across the active categories (the product of their
// counts). With unique names that is simply the set of matching flowers.
// Instead of nested scans over the stages, the engine indexes the catalogue
// once (distinct names in name order, each record's value code per category)
// and counts per name.
class SearchEngine {
public:
    static constexpr int kMaxResults = 32767;

    explicit SearchEngine(const FlowerCatalogue& catalogue);

    // Must be called after the catalogue has been (re)loaded.
    void rebuild();

    // primaryCategory: the category the search starts from, 5 for none.
    // Categories with a selected value take part.
    QStringList search(const Selection& selection, int primaryCategory) const;

private:
    const FlowerCatalogue& catalogue_;
    QStringList names_;  // distinct names, in name order
    QVector<int> nameOf_;  // per record (0-based): index into names_
    QVector<std::array<int16_t, 5>> codeOf_;  // per record: value index per category, -1 = none
};
