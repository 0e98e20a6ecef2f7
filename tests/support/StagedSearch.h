#pragma once

#include "catalogue/CategoryTables.h"
#include "catalogue/FlowerCatalogue.h"
#include "catalogue/NameOrder.h"
#include "search/Selection.h"

#include <QStringList>
#include <algorithm>
#include <array>

// A literal transcription of the staged search: a first stage over the
// primary category, then one intersection stage per further active category,
// on names, into a sorted list. The engine must return exactly this.
inline QStringList stagedSearch(const FlowerCatalogue& cat, const Selection& sel, int p)
{
    std::array<QStringList, 5> stages;
    QStringList results;
    const NameOrder order;
    auto sortedAdd = [&](const QString& name) {
        results.insert(std::upper_bound(results.begin(), results.end(), name, order) - results.begin(), name);
    };
    const int N = cat.count();
    int active = 0;
    for (int c = 0; c < 5; ++c)
        active += sel.anyIn(c) ? 1 : 0;
    if (p >= 0 && p <= 4)
        for (int l = 0; l < CategoryTables::valueCount(p); ++l)
            if (sel.isSelected(p, l))
                for (int r = 1; r <= N; ++r)
                    if (cat.slot(r).attribute(p) == CategoryTables::storedName(p, l + 1))
                        stages[0] << cat.slot(r).NAMAE;
    for (const QString& n : stages[0])
        sortedAdd(n);
    if (active != 1) {
        for (int m = 0; m < 5; ++m) {
            if (!sel.anyIn(m) || m == p)
                continue;
            int k = 1;
            while (k < 4 && !stages[size_t(k)].isEmpty())
                ++k;
            for (int a = 0; a < CategoryTables::valueCount(m); ++a)
                if (sel.isSelected(m, a))
                    for (int b = 1; b <= N; ++b)
                        if (cat.slot(b).attribute(m) == CategoryTables::storedName(m, a + 1))
                            for (const QString& e : QStringList(stages[size_t(k - 1)]))
                                if (e == cat.slot(b).NAMAE)
                                    stages[size_t(k)] << cat.slot(b).NAMAE;
            if (stages[size_t(k)].isEmpty())
                for (auto& l : stages)
                    l.clear();
        }
        int h = 4;
        while (h > 0 && stages[size_t(h)].isEmpty())
            --h;
        results.clear();
        for (const QString& n : stages[size_t(h)])
            sortedAdd(n);
    }
    return results;
}
