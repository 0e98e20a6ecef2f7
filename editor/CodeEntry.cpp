#include "editor/CodeEntry.h"

#include "catalogue/CategoryTables.h"

#include <QStringList>

const char* const CodeEntry::kOtherFamily = "12";

int CodeEntry::maxLength(int box)
{
    return CategoryTables::valueCount(box - 1) >= 10 ? 2 : 1;
}

QString CodeEntry::helpList(int box)
{
    static const char* const lists[kBoxes] = {
        "1…春\n2…夏\n3…秋",
        "1…白系\n2…黄色系\n3…赤紫系\n4…青紫系\n5…その他",
        "1…花弁４枚型  2…花弁５枚型\n3…花弁多数型  4…スミレ型\n5…唇型  6…マメ型\n"
        "7…タンポポ型  8…キク型\n9…穂型  10…その他",
        "1…対生\n2…互生\n3…輪生\n4…根生",
        "1…アブラナ科  2…イグサ科\n3…イネ科  4…カヤツリグサ科\n5…キク科  6…ゴマノハグサ科\n"
        "7…シソ科  8…タデ科\n9…ナデシコ科  10…ヒユ科\n11…マメ科  12…その他",
    };
    return box >= 1 && box <= kBoxes ? QString::fromUtf8(lists[box - 1]) : QString();
}

int CodeEntry::codeValue(int box, const QString& text)
{
    if (box < 1 || box > kBoxes || text.isEmpty() || text.size() > 2 || text.at(0) == u'0')
        return 0;
    int value = 0;
    for (QChar c : text) {
        if (c < u'0' || c > u'9')
            return 0;
        value = value * 10 + (c.unicode() - u'0');
    }
    return value <= CategoryTables::valueCount(box - 1) ? value : 0;
}

void CodeEntry::setCode(int box, const QString& text)
{
    if (code_.at(size_t(box)) == text)
        return;
    code_[size_t(box)] = text;
    codeChanged(box, Origin::Typed);
}

void CodeEntry::setField(int box, const QString& text, Origin origin)
{
    assignField(box, text, origin);
}

void CodeEntry::show(const std::array<QString, 5>& fields, const QString& familyName)
{
    familyName_ = familyName;
    for (int box = 1; box <= kBoxes; ++box)
        assignField(box, fields[size_t(box - 1)], Origin::Shown);
}

void CodeEntry::clear()
{
    code_.fill(QString());
    field_.fill(QString());
    familyName_.clear();
}

void CodeEntry::assignField(int box, const QString& text, Origin origin)
{
    if (field_.at(size_t(box)) == text)
        return;
    field_[size_t(box)] = text;
    fieldChanged(box, origin);
}

void CodeEntry::codeChanged(int box, Origin origin)
{
    const QString& text = code_[size_t(box)];
    if (text.isEmpty()) {
        assignField(box, QString(), origin);
    } else if (const int c = codeValue(box, text); c > 0) {
        assignField(box, CategoryTables::storedName(box - 1, c), origin);
    } else {
        // Not a code: the box empties itself, which empties the field in turn.
        code_[size_t(box)].clear();
        codeChanged(box, origin);
        return;
    }
    if (box == kBoxes && text != QLatin1String(kOtherFamily) && origin == Origin::Typed)
        familyName_ = field_[size_t(box)];
}

void CodeEntry::fieldChanged(int box, Origin origin)
{
    const int c = CategoryTables::codeOf(box - 1, field_[size_t(box)]);
    const QString code = c > 0 ? QString::number(c) : QString();
    if (code == code_[size_t(box)])
        return;
    code_[size_t(box)] = code;
    codeChanged(box, origin);
}
