#pragma once

#include "search/NearMisses.h"
#include "search/RecordBits.h"
#include "search/SearchResult.h"
#include "search/Selection.h"

#include <QStringList>
#include <QVector>
#include <array>

class FlowerCatalogue;

// Finds the flowers that match at least one selected value of every active
// category, in the program's name order.
//
// The result is the multiset the classic staged search produces: it works on
// names, so a name carried by several records appears once per combination of
// its matching records across the active categories (the product of their
// counts). With unique names that is simply the set of matching flowers.
//
// Instead of nested scans over the stages, the engine indexes the catalogue
// once: the records are numbered in name order, and each value of each
// category has the set of its records as a bit set. A search is then the
// union of the selected values' sets within a category and the intersection
// across categories, a few hundred word operations, and the set bits give
// the records in name order.
class SearchEngine {
public:
    static constexpr int kMaxResults = 32767;
    static constexpr int kMaxValues = 12;  // the family panel's

    explicit SearchEngine(const FlowerCatalogue& catalogue);

    // Must be called after the catalogue has been (re)loaded.
    void rebuild();

    // primaryCategory: the category the search starts from, 5 for none.
    // Categories with a selected value take part.
    SearchResult match(const Selection& selection, int primaryCategory) const;
    // The names of a result in name order, a repeated name as often as the
    // staged search lists it (at most kMaxResults names in all).
    QStringList names(const SearchResult& result) const;
    QStringList search(const Selection& selection, int primaryCategory) const
    {
        return names(match(selection, primaryCategory));
    }

    // The records that meet every active category but one and fail that
    // one, by the category they fail; none with fewer than two categories
    // active, where failing one would mean matching nothing chosen at all.
    NearMisses nearMisses(const Selection& selection) const;
    // The record at a place of the name order: its name and catalogue slot.
    const QString& nameAt(int place) const { return names_[place]; }
    int slotAt(int place) const { return slots_[place]; }

private:
    // Records that share one name: places begin..end-1 of the name order.
    struct NameGroup {
        int begin;
        int end;
    };

    // The records that carry any value of the category the selection holds.
    RecordBits selected(const Selection& selection, int category) const;
    void applyRepeats(const std::array<RecordBits, Selection::kCategories>& matched, const Selection& selection,
                      SearchResult& result) const;

    const FlowerCatalogue& catalogue_;
    int count_ = 0;
    QStringList names_;  // per place in name order
    QVector<int> slots_;  // per place in name order
    std::array<std::array<RecordBits, kMaxValues>, Selection::kCategories> valueBits_{};
    std::array<uint32_t, Selection::kCategories> valueMask_{};  // the selection bits that name a value
    QVector<NameGroup> groups_;  // names carried by more than one record
};
