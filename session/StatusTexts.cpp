#include "session/StatusTexts.h"

#include "catalogue/CategoryTables.h"
#include "catalogue/FlowerCatalogue.h"

namespace StatusTexts {

const char* const kSearching = "検索中...少々お待ちください。";
const char* const kNotFound = "検索しましたが、条件に合う草花は見当たりませんでした。";
const char* const kPrompt = "目的の箇所をクリックしてください。";
const char* const kConditionPrefix = "検索条件→";
const char* const kAllData = "検索条件→データ全部";
const char* const kNearMissesShown = "（一つだけ違う近い草花を表示中）";
const char* const kNoNearMisses = "条件を一つ外しても、合う草花は見当たりませんでした。";

QString found(int count)
{
    return QStringLiteral("検索完了！ %1個見つけました｡").arg(count);
}

QString nearMissesFound(int count)
{
    return QStringLiteral("近い草花を %1個見つけました｡").arg(count);
}

QString allDataCount(int count)
{
    return QStringLiteral("全サムネイル：データ数 %1件").arg(count);
}

QString attributeCount(const FlowerCatalogue& catalogue, int c, int i)
{
    const int n = catalogue.countWith(c, CategoryTables::storedName(c, i + 1));
    return CategoryTables::countLabel(c, i + 1) + QStringLiteral(" %1件").arg(n);
}

QString drawing(int remaining, int total)
{
    return QStringLiteral("サムネイルを表示中... 残り%1/%2枚。").arg(remaining).arg(total);
}

QString interrupted(int drawn, int total)
{
    return QStringLiteral("サムネイルの表示を中断しました。%1/%2枚。").arg(drawn).arg(total);
}

QString drawn(int total)
{
    return QStringLiteral("%1枚あります。サムネイルのクリックで、写真と解説を表示します。").arg(total);
}

}  // namespace StatusTexts
