#include "catalogue/NameOrder.h"

#include <QLocale>

NameOrder::NameOrder()
    : collator_(QLocale(QLocale::Japanese, QLocale::Japan))
{
    collator_.setCaseSensitivity(Qt::CaseInsensitive);
    collator_.setNumericMode(false);
    collator_.setIgnorePunctuation(false);
}

int NameOrder::compare(const QString& a, const QString& b) const
{
    const int c = collator_.compare(a, b);
    if (c != 0)
        return c < 0 ? -1 : 1;
    const int o = a.compare(b);
    return o < 0 ? -1 : (o > 0 ? 1 : 0);
}

bool NameOrder::less(const QString& a, const QString& b) const
{
    return compare(a, b) < 0;
}
