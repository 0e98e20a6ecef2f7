#pragma once

#include <QString>

class FlowerCatalogue;

// The texts of the message and condition strips. Numbers keep the sign
// position of the classic number format: one space before the digits.
namespace StatusTexts {

extern const char* const kSearching;  // "検索中...少々お待ちください。"
extern const char* const kNotFound;  // "検索しましたが、条件に合う草花は見当たりませんでした。"
extern const char* const kPrompt;  // "目的の箇所をクリックしてください。"
extern const char* const kConditionPrefix;  // "検索条件→"
extern const char* const kAllData;  // "検索条件→データ全部"
// Follows the condition while the gallery shows the near misses.
extern const char* const kNearMissesShown;  // "（一つだけ違う近い草花を表示中）"
// No flower meets all chosen panels but one.
extern const char* const kNoNearMisses;

// "検索完了！ 12個見つけました｡"
QString found(int count);
// "近い草花を 7個見つけました｡"
QString nearMissesFound(int count);
// "全サムネイル：データ数 320件"
QString allDataCount(int count);
// "春：データ数 27件": a button's count label and its record count.
QString attributeCount(const FlowerCatalogue& catalogue, int category, int index);
// The drawing: "サムネイルを表示中... 残りN/M枚。", interrupted, done.
QString drawing(int remaining, int total);
QString interrupted(int drawn, int total);
QString drawn(int total);

}  // namespace StatusTexts
