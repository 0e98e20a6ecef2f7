#include "editor/EntryRules.h"

#include "catalogue/CatalogueStore.h"
#include "editor/ShiftJisText.h"

const char* const EntryRules::kIncomplete = "記入もれがあります！";
const char* const EntryRules::kDeleteQuestion = "を削除してよろしいですか？";
const char* const EntryRules::kMaybeRegistered = "すでにデータが登録されている可能性があります。";

namespace {

struct ColumnRule {
    const char* column;
    const char* caption;
};

const ColumnRule kRules[] = {
    {"NAMAE", "名前"}, {"KISETU", "季節"}, {"IRO", "色"},      {"KABEN", "花弁"}, {"HA", "葉"},
    {"KA", "科"},      {"KA2", "科名"},    {"SYASIN", "画像"}, {"NOTE", "説明"},
};

const ColumnRule* ruleOf(const QString& column)
{
    for (const ColumnRule& r : kRules)
        if (column == QLatin1String(r.column))
            return &r;
    return nullptr;
}

QString valueOf(const FlowerRecord& r, const QString& column)
{
    const QString* fields[] = {&r.NAMAE, &r.KISETU, &r.IRO, &r.KABEN, &r.HA, &r.KA, &r.KA2, &r.SYASIN, &r.NOTE};
    const qsizetype i = CatalogueStore::columns().indexOf(column);
    return i >= 0 ? *fields[i] : QString();
}

}  // namespace

int EntryRules::byteLimit(const QString& column)
{
    return CatalogueStore::entryLimit(column);
}

QString EntryRules::caption(const QString& column)
{
    const ColumnRule* r = ruleOf(column);
    return r ? QString::fromUtf8(r->caption) : column;
}

int EntryRules::countEmptyFields(const std::array<QString, 8>& required)
{
    int n = 0;
    for (const QString& s : required)
        n += s.isEmpty() ? 1 : 0;
    return n;
}

QString EntryRules::problem(const FlowerRecord& record)
{
    for (const QString& column : CatalogueStore::columns()) {
        const QString value = valueOf(record, column);
        if (const QString bad = ShiftJisText::firstUnencodable(value); !bad.isEmpty())
            return unencodableText(caption(column), bad);
        if (const int limit = byteLimit(column); limit > 0 && ShiftJisText::bytes(value) > limit)
            return tooLongText(caption(column), limit);
    }
    return {};
}

QString EntryRules::pictureNameProblem(const QString& storedName)
{
    QString path = storedName;
    path.replace(u'\\', u'/');
    const QString file = path.mid(path.lastIndexOf(u'/') + 1);
    if (file.count(u'.') <= 1)
        return {};
    return QStringLiteral(
               "画像ファイルの名前「%1」は、拡張子の前にも「.」があるため、画像を探すときに見つかりません。\n"
               "ファイルの名前を変えてください。")
        .arg(storedName);
}

QString EntryRules::tableFullText()
{
    return QStringLiteral("データは %1件までしか登録できません。\n"
                          "追加するには、先に不要なデータを削除してください。")
        .arg(kMaxRecords);
}

QString EntryRules::lockedText(const QString& sqliteText)
{
    return QStringLiteral("データベース（%1）はほかのプログラムが使用中です。\n"
                          "しばらくしてから、もう一度お試しください。\n（%2）")
        .arg(QString::fromLatin1(CatalogueStore::kFileName), sqliteText);
}

QString EntryRules::unwritableText(const QString& sqliteText)
{
    return QStringLiteral("データベース（%1）に書き込めません。\n（%2）")
        .arg(QString::fromLatin1(CatalogueStore::kFileName), sqliteText);
}

QString EntryRules::goneText()
{
    return QStringLiteral("画面のデータは、ほかのプログラムによって変更または削除されたため、保存できません。");
}

QString EntryRules::noRecordText()
{
    return QStringLiteral("入力した内容を保存するデータがありません。\n新しいデータは「追加」で入力してください。");
}

QString EntryRules::saveChangesQuestion()
{
    return QStringLiteral("表示中のデータの変更が保存されていません。\n保存しますか？");
}

QString EntryRules::unencodableText(const QString& caption, const QString& character)
{
    return QStringLiteral("「%1」の「%2」は、ソノハでは使えない文字です。\n別の文字に書き換えてください。")
        .arg(caption, character);
}

QString EntryRules::tooLongText(const QString& caption, int limit)
{
    return QStringLiteral("「%1」が長すぎます。半角 %2文字（全角 %3文字）までにしてください。")
        .arg(caption)
        .arg(limit)
        .arg(limit / 2);
}
