#include "session/NearMissNote.h"

#include "catalogue/CategoryTables.h"
#include "catalogue/FlowerRecord.h"

#include <QStringList>

namespace {

const char* const kPanelNames[] = {"季節", "花の色", "花弁の形", "葉のつき方", "科"};

// The flower's own value in the words of its button; a family kept as
// "その他" is named by its real family when the record has one.
QString ownValue(int category, const FlowerRecord& r)
{
    const QString stored = r.attribute(category);
    if (category == 4 && stored == QStringLiteral("その他") && !r.KA2.isEmpty() && r.KA2 != stored)
        return CategoryTables::fullWidthKatakana(r.KA2);
    const int code = CategoryTables::codeOf(category, stored);
    if (code > 0)
        return CategoryTables::spokenName(category, code);
    return CategoryTables::fullWidthKatakana(stored.trimmed());
}

}  // namespace

QString NearMissNote::panelName(int category)
{
    return QString::fromUtf8(kPanelNames[category]);
}

QString NearMissNote::text(int category, const Selection& selection, const FlowerRecord& record)
{
    QStringList chosen;
    for (int i = 0; i < CategoryTables::valueCount(category); ++i)
        if (selection.isSelected(category, i))
            chosen << CategoryTables::spokenName(category, i + 1);
    const QString own = ownValue(category, record);
    // A record without a value in the panel (or with a text no button
    // stores) can only be said not to be what was chosen.
    const QString tail = own.isEmpty() ? QStringLiteral("ではありません") : QStringLiteral("ではなく") + own;
    return panelName(category) + QStringLiteral("が違います（") + chosen.join(u'・') + tail + u'）';
}
