#pragma once

#include <QString>
#include <QStringList>

// The five attribute categories with their fixed values. Category index:
// 0 season, 1 colour, 2 petal shape and count, 3 leaf arrangement, 4 family.
// A value's code is 1-based; code - 1 is its list position and button index.
struct CategoryValue {
    const char* storedName;  // exact text kept in the record field
    const char* helpText;  // shown beside a pressed panel button
    const char* countLabel;  // precedes the record count when pointing
};

namespace CategoryTables {

constexpr int kCategoryCount = 5;

int valueCount(int category);  // 3, 5, 10, 4, 12
const CategoryValue& value(int category, int code);  // code 1..valueCount
QString storedName(int category, int code);
QString helpText(int category, int code);
QString countLabel(int category, int code);
QStringList storedNames(int category);  // in code order
int codeOf(int category, const QString& storedName);  // 0 when not a stored name
QString fieldName(int category);  // "KISETU", "IRO", ...
// The name a screen reader speaks for a value: the stored name in full-width
// katakana, and "その他" with its panel ("その他の色", "その他の花弁", "その他の科"),
// since a button's name has to stand alone.
QString spokenName(int category, int code);
// Half-width katakana (with their sound marks) turned into full-width; every
// other character stays as it is.
QString fullWidthKatakana(const QString& text);

}  // namespace CategoryTables
