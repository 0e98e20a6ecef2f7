#pragma once

#include "search/RecordBits.h"
#include "search/Selection.h"

#include <array>

// The flowers that meet every chosen panel but one, by the panel they miss.
// A flower misses at most one panel here, so the sets do not overlap.
struct NearMisses {
    std::array<RecordBits, Selection::kCategories> byCategory;

    RecordBits all() const
    {
        RecordBits any;
        for (const RecordBits& b : byCategory)
            any |= b;
        return any;
    }
    bool isEmpty() const { return all().none(); }
    int count() const { return all().count(); }
    // The panel a record misses, -1 when it is no near miss.
    int categoryOf(int place) const
    {
        for (int k = 0; k < Selection::kCategories; ++k)
            if (byCategory[size_t(k)].test(place))
                return k;
        return -1;
    }
};
