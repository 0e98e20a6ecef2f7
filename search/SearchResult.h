#pragma once

#include "search/RecordBits.h"

#include <QVector>

// The matches of one search: the matching records by their place in name
// order, and the names that the staged search lists more than once.
//
// A name carried by several records is listed once per combination of its
// matching records across the active categories (the product of their
// counts); for such a name only the first of its records is in `records`,
// and `repeats` says how often the name is listed. With unique names
// `repeats` is empty and the result is simply the set of matching records.
struct SearchResult {
    struct Repeat {
        int place;  // the first record of the name
        qint64 times;  // at least 2
    };

    RecordBits records;
    QVector<Repeat> repeats;

    bool isEmpty() const { return records.none(); }
    // The number of names listed (every repeat counted).
    qint64 size() const
    {
        qint64 n = records.count();
        for (const Repeat& r : repeats)
            n += r.times - 1;
        return n;
    }
};
