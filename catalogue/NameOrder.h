#pragma once

#include <QCollator>
#include <QString>

// The one name order of the program: Japanese-aware (gojūon order across
// voiced marks, the long vowel mark and small kana) and case-insensitive.
// Names the collator finds equal are ordered by their code units, so that the
// order is total: the catalogue's order and the sorted result list agree even
// on names that differ only in width or case.
class NameOrder {
public:
    NameOrder();
    bool less(const QString& a, const QString& b) const;
    int compare(const QString& a, const QString& b) const;
    bool operator()(const QString& a, const QString& b) const { return less(a, b); }

private:
    QCollator collator_;
};
